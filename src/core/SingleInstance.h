#pragma once
#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLockFile;

// One program per data folder. The first copy holds a lock file in the folder
// and listens on a local socket named after the folder; a later copy finds
// the lock taken, asks the first one to come to the front and ends. A lock
// left by a copy that crashed is taken over.
class TSingleInstance {
public:
  static constexpr const char *LockFileName = "tickvane.lock";
  static constexpr int DefaultAskTimeoutMs = 10000;

  explicit TSingleInstance(const std::string &folder);
  ~TSingleInstance(); // gives the folder free again
  TSingleInstance(const TSingleInstance &) = delete;
  TSingleInstance &operator=(const TSingleInstance &) = delete;

  // Takes the folder. True when this is now the folder's only copy of the
  // program; it then answers later copies (in the window thread's event loop).
  bool Claim();
  bool Claimed() const { return m_claimed; }
  // Called on the window thread when a later copy asks this one to come to
  // the front.
  void SetOnComeToFront(std::function<void()> handler) { m_onComeToFront = std::move(handler); }

  // From a later copy: asks the copy that holds the folder to come to the
  // front. Blocks up to timeoutMs; false when it could not be reached.
  bool AskFirstToComeToFront(int timeoutMs = DefaultAskTimeoutMs) const;

  // The local socket's name for a folder: the user and a hash of the
  // folder's full path, so that two spellings of one folder meet.
  static std::string ServerName(const std::string &folder);

private:
  void Listen();

  std::string m_folder;
  std::unique_ptr<QLockFile> m_lock;
  std::unique_ptr<QLocalServer> m_server;
  std::function<void()> m_onComeToFront;
  bool m_claimed = false;
};

// Whether this process holds its data folder alone (a TSingleInstance of it
// was claimed and is alive).
bool DataFolderHeldAlone();

// Duplicates are allowed by the ALLOWDUP switch or the program parameter
// ALLOWDUPS "YES" (letter case ignored).
bool DuplicatesAllowed(bool allowDupSwitch, const std::string &allowDupsParam);
