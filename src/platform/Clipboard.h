#pragma once
#include <mutex>
#include <string>

// The clipboard's text. Code asks AppClipboard(), so that tests can install a fake.
// Window thread only for the real one.
class Clipboard {
public:
  virtual ~Clipboard() = default;
  virtual void SetText(const std::string &text) = 0;
  virtual std::string Text() const = 0;
};

class QtClipboard final : public Clipboard {
public:
  void SetText(const std::string &text) override;
  std::string Text() const override;
};

// Keeps the text in memory.
class FakeClipboard final : public Clipboard {
public:
  void SetText(const std::string &text) override;
  std::string Text() const override;

private:
  mutable std::mutex m_mutex;
  std::string m_text;
};

// The clipboard in use; the system's unless a test installed another.
Clipboard &AppClipboard();
// Installs a clipboard (nullptr restores the real one). The caller keeps ownership.
void SetAppClipboard(Clipboard *clipboard);
