#pragma once
#include <mutex>
#include <string>
#include <vector>

// Sounds. Code asks AppSound(), so that tests can install a FakeSound.

// The standard sounds, by the index that alerts store.
enum TStandardSound {
  ssComputerSpeaker = 0, // the simple beep
  ssAsterisk = 1,
  ssExclamation = 2,
  ssStop = 3,
  ssQuestion = 4,
  ssDefault = 5,
};
constexpr int StandardSoundCount = 6;

class Sound {
public:
  virtual ~Sound() = default;
  // Plays standard sound index (0 .. 5). Any other index plays nothing and gives false.
  virtual bool PlayStandard(int index) = 0;
  // Starts playing a wave file and returns at once. False, with nothing played, when
  // the file is missing or is not a playable wave file. Never throws.
  virtual bool PlayWave(const std::string &path) = 0;
};

// Standard sounds as the desktop's beep; wave files through Qt Multimedia, played on
// the window thread (a call from another thread is posted there).
class QtSound final : public Sound {
public:
  bool PlayStandard(int index) override;
  bool PlayWave(const std::string &path) override;
};

// Records every call; PlayWave succeeds unless the path was marked as failing.
class FakeSound final : public Sound {
public:
  struct Call {
    bool wave = false;
    int index = -1;   // standard sounds
    std::string path; // wave files
    bool operator==(const Call &) const = default;
  };

  bool PlayStandard(int index) override;
  bool PlayWave(const std::string &path) override;

  void FailWave(const std::string &path);
  std::vector<Call> Calls() const;
  void Clear();

private:
  mutable std::mutex m_mutex;
  std::vector<Call> m_calls;
  std::vector<std::string> m_failing;
};

// True when path names a readable RIFF/WAVE file with PCM or float samples.
bool IsPlayableWaveFile(const std::string &path);

// The sound service in use; QtSound unless a test installed another.
Sound &AppSound();
// Installs a sound service (nullptr restores the real one). The caller keeps ownership.
void SetAppSound(Sound *sound);
