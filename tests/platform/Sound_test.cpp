#include "platform/Sound.h"

#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

void Put16(std::string &s, std::uint16_t v) {
  s += char(v & 0xFF);
  s += char(v >> 8);
}
void Put32(std::string &s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    s += char((v >> (8 * i)) & 0xFF);
}

// A short mono 8 kHz wave file with the given sample format tag.
std::string WaveBytes(std::uint16_t format = 1, bool withData = true) {
  const std::string samples(800, '\x80');
  std::string fmt = "fmt ";
  Put32(fmt, 16);
  Put16(fmt, format);
  Put16(fmt, 1);
  Put32(fmt, 8000);
  Put32(fmt, 8000);
  Put16(fmt, 1);
  Put16(fmt, 8);
  std::string body = "WAVE" + fmt;
  if (withData) {
    body += "data";
    Put32(body, std::uint32_t(samples.size()));
    body += samples;
  }
  std::string file = "RIFF";
  Put32(file, std::uint32_t(body.size()));
  return file + body;
}

std::string WriteFile(const std::string &name, const std::string &bytes) {
  const std::string path = TestArtifactPath(name);
  QFile f(QString::fromStdString(path));
  EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes.data(), qint64(bytes.size()));
  return path;
}

TEST(Sound, RecognisesPlayableWaveFiles) {
  EXPECT_TRUE(IsPlayableWaveFile(WriteFile("pcm.wav", WaveBytes())));
  EXPECT_TRUE(IsPlayableWaveFile(WriteFile("float.wav", WaveBytes(3))));
  EXPECT_FALSE(IsPlayableWaveFile(WriteFile("adpcm.wav", WaveBytes(2))));
  EXPECT_FALSE(IsPlayableWaveFile(WriteFile("nodata.wav", WaveBytes(1, false))));
  EXPECT_FALSE(IsPlayableWaveFile(WriteFile("cut.wav", WaveBytes().substr(0, 30))));
  EXPECT_FALSE(IsPlayableWaveFile(WriteFile("text.wav", "This is not a sound.\n")));
  EXPECT_FALSE(IsPlayableWaveFile(TestArtifactPath("no-such-file.wav")));
  EXPECT_FALSE(IsPlayableWaveFile(""));
}

TEST(Sound, RealServiceRefusesBadFilesWithoutThrowing) {
  QtSound sound;
  EXPECT_FALSE(sound.PlayWave(TestArtifactPath("no-such-file.wav")));
  EXPECT_FALSE(sound.PlayWave(WriteFile("text2.wav", "RIFF but not really")));
  EXPECT_FALSE(sound.PlayWave(""));
}

TEST(Sound, OnlyTheSixStandardSoundsExist) {
  QtSound sound;
  EXPECT_TRUE(sound.PlayStandard(ssComputerSpeaker));
  EXPECT_TRUE(sound.PlayStandard(ssDefault));
  EXPECT_FALSE(sound.PlayStandard(-1));
  EXPECT_FALSE(sound.PlayStandard(StandardSoundCount));
}

TEST(Sound, FakeRecordsEveryCall) {
  FakeSound fake;
  SetAppSound(&fake);
  fake.FailWave("/missing.wav");
  EXPECT_TRUE(AppSound().PlayStandard(ssExclamation));
  EXPECT_TRUE(AppSound().PlayWave("/alerts/ding.wav"));
  EXPECT_FALSE(AppSound().PlayWave("/missing.wav"));
  EXPECT_FALSE(AppSound().PlayStandard(9));
  SetAppSound(nullptr);
  const std::vector<FakeSound::Call> expected{
      {false, 2, ""}, {true, -1, "/alerts/ding.wav"}, {true, -1, "/missing.wav"}, {false, 9, ""}};
  EXPECT_EQ(fake.Calls(), expected);
  EXPECT_NE(dynamic_cast<QtSound *>(&AppSound()), nullptr);
}

} // namespace
