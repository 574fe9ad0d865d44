#include "platform/Sound.h"

#include "platform/UncaughtError.h"
#include "platform/WindowThread.h"

#include <QApplication>
#include <QFile>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cstdint>

namespace {
// A wave effect that neither finished nor failed by then (no audio device answering)
// is freed anyway, so that repeated alerts cannot pile effects up.
constexpr int kWaveLifetimeMs = 120000;

std::uint32_t Le32(const char *p) {
  const auto *u = reinterpret_cast<const unsigned char *>(p);
  return std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 |
         std::uint32_t(u[3]) << 24;
}

std::uint16_t Le16(const char *p) {
  const auto *u = reinterpret_cast<const unsigned char *>(p);
  return std::uint16_t(u[0] | u[1] << 8);
}

bool Skip(QFile &file, qint64 bytes) { return bytes == 0 || file.skip(bytes) == bytes; }

// Starts one wave file on the window thread. The effect frees itself when it has
// played or failed to load.
void StartWave(const QString &path) {
  auto *effect = new QSoundEffect(QCoreApplication::instance());
  QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, path] {
    if (effect->status() == QSoundEffect::Error) {
      ReportUncaughtError("Sound Error: cannot play " + path.toStdString());
      effect->deleteLater();
    }
  });
  QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
    if (!effect->isPlaying())
      effect->deleteLater();
  });
  QTimer::singleShot(kWaveLifetimeMs, effect, &QObject::deleteLater);
  effect->setSource(QUrl::fromLocalFile(path));
  effect->play(); // starts once loaded
}

void Beep() {
  if (qobject_cast<QApplication *>(QCoreApplication::instance()))
    QApplication::beep();
}

QtSound g_qtSound;
std::atomic<Sound *> g_sound{&g_qtSound};

} // namespace

bool IsPlayableWaveFile(const std::string &path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly))
    return false;
  char header[12];
  if (file.read(header, 12) != 12 || std::string(header, 4) != "RIFF" ||
      std::string(header + 8, 4) != "WAVE")
    return false;
  bool formatOk = false;
  char chunk[8];
  while (file.read(chunk, 8) == 8) {
    const std::string id(chunk, 4);
    const std::uint32_t size = Le32(chunk + 4);
    if (id == "fmt ") {
      if (size < 16)
        return false;
      char fmt[16];
      if (file.read(fmt, 16) != 16)
        return false;
      const std::uint16_t format = Le16(fmt);
      const std::uint16_t channels = Le16(fmt + 2);
      const std::uint32_t rate = Le32(fmt + 4);
      const std::uint16_t bits = Le16(fmt + 14);
      formatOk =
          (format == 1 || format == 3 || format == 0xFFFE) && channels > 0 && rate > 0 && bits > 0;
      if (!formatOk)
        return false;
      if (!Skip(file, qint64(size) - 16 + (size & 1)))
        return false;
    } else if (id == "data") {
      return formatOk && size > 0;
    } else if (!Skip(file, qint64(size) + (size & 1))) {
      return false;
    }
  }
  return false;
}

bool QtSound::PlayStandard(int index) {
  if (index < 0 || index >= StandardSoundCount)
    return false;
  // The desktop offers one beep; every standard sound uses it.
  if (IsWindowThread())
    Beep();
  else
    PostToWindowThread(&Beep);
  return true;
}

bool QtSound::PlayWave(const std::string &path) {
  try {
    if (!IsPlayableWaveFile(path))
      return false;
    const QString file = QString::fromStdString(path);
    if (IsWindowThread())
      StartWave(file);
    else if (!PostToWindowThread([file] { StartWave(file); }))
      return false;
    return true;
  } catch (...) {
    return false;
  }
}

bool FakeSound::PlayStandard(int index) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back(Call{false, index, {}});
  return index >= 0 && index < StandardSoundCount;
}

bool FakeSound::PlayWave(const std::string &path) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back(Call{true, -1, path});
  return std::find(m_failing.begin(), m_failing.end(), path) == m_failing.end();
}

void FakeSound::FailWave(const std::string &path) {
  std::lock_guard lock(m_mutex);
  m_failing.push_back(path);
}

std::vector<FakeSound::Call> FakeSound::Calls() const {
  std::lock_guard lock(m_mutex);
  return m_calls;
}

void FakeSound::Clear() {
  std::lock_guard lock(m_mutex);
  m_calls.clear();
  m_failing.clear();
}

Sound &AppSound() { return *g_sound.load(); }

void SetAppSound(Sound *sound) { g_sound.store(sound ? sound : &g_qtSound); }
