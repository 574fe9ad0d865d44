// The sound action, apart from the other activation tests: the platform's
// sound header and the alert name tables cannot share a file.
#include "AlertPassFixture.h"

#include "alerts/AlertActivation.h"
#include "platform/Sound.h"

namespace {

constexpr int kSoundAction = 4; // "Sound Audio Alert"

class SoundActivation : public AlertPassFixture {
protected:
  void SetUp() override {
    AlertPassFixture::SetUp();
    SetAppSound(&sound);
  }
  void TearDown() override {
    SetAppSound(nullptr);
    AlertPassFixture::TearDown();
  }
  std::string AddSoundAlert(int soundIndex, const std::string &wave) {
    Tick("IBM", 10);
    auto a = Alert("IBM", 0, 10);
    a->Actions.Include(kSoundAction);
    a->SoundIndex = soundIndex;
    a->WaveFile = wave;
    return Add(std::move(a));
  }
  FakeSound sound;
  TAlertRecord work;
};

TEST_F(SoundActivation, PlaysOnEveryTriggerAndNeverBecomesActive) {
  const std::string id = AddSoundAlert(ssExclamation, "");
  queue.Push(id);
  ActivatePendingAlerts(store, queue, work);
  queue.Push(id);
  ActivatePendingAlerts(store, queue, work);
  const FakeSound::Call beep{false, ssExclamation, ""};
  EXPECT_EQ(sound.Calls(), (std::vector<FakeSound::Call>{beep, beep}));
  EXPECT_TRUE(Stored(id).ActiveActions.Empty());
}

TEST_F(SoundActivation, StandardSoundThenWaveFile) {
  const std::string id = AddSoundAlert(ssComputerSpeaker, "/sounds/ding.wav");
  queue.Push(id);
  ActivatePendingAlerts(store, queue, work);
  EXPECT_EQ(sound.Calls(), (std::vector<FakeSound::Call>{{false, ssComputerSpeaker, ""},
                                                         {true, -1, "/sounds/ding.wav"}}));
}

TEST_F(SoundActivation, NoStandardSoundForOtherIndexesAndAFailingWaveIsOnlyLogged) {
  sound.FailWave("/missing.wav");
  const std::string id = AddSoundAlert(-1, "/missing.wav");
  const std::string other = AddSoundAlert(9, "");
  queue.Push(id);
  queue.Push(other);
  EXPECT_EQ(ActivatePendingAlerts(store, queue, work), 2);
  EXPECT_EQ(sound.Calls(), (std::vector<FakeSound::Call>{{true, -1, "/missing.wav"}}));
}

} // namespace
