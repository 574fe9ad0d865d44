#include "platform/WebEngineLaunch.h"

#include <gtest/gtest.h>

namespace {

bool Has(const std::string &flags, const std::string &flag) {
  return (" " + flags + " ").find(" " + flag + " ") != std::string::npos;
}

TEST(WebEngineLaunch, SandboxAndGpuSwitchesOnlyWhereTheMachineNeedsThem) {
  const struct {
    const char *name;
    bool root, gpu;
    bool noSandbox, noGpu;
  } cases[] = {
      {"desktop user with a GPU", false, true, false, false},
      {"desktop user without a GPU", false, false, false, true},
      {"root with a GPU", true, true, true, false},
      {"root in CI, no GPU", true, false, true, true},
  };
  for (const auto &c : cases) {
    TWebEngineMachine machine;
    machine.Root = c.root;
    machine.GpuAvailable = c.gpu;
    const TWebEngineLaunch launch = WebEngineLaunchFor(machine);
    EXPECT_EQ(launch.DisableSandbox, c.noSandbox) << c.name;
    EXPECT_EQ(Has(launch.ChromiumFlags, "--disable-gpu"), c.noGpu) << c.name;
    EXPECT_TRUE(Has(launch.ChromiumFlags, "--disable-background-networking")) << c.name;
    EXPECT_TRUE(Has(launch.ChromiumFlags, "--disable-component-update")) << c.name;
  }
}

TEST(WebEngineLaunch, TheUsersFlagsComeFirstAndAreNotRepeated) {
  TWebEngineMachine machine;
  machine.UserFlags = "--lang=de  --disable-gpu --disable-background-networking";
  const std::string flags = WebEngineLaunchFor(machine).ChromiumFlags;
  EXPECT_EQ(flags.rfind("--lang=de --disable-gpu --disable-background-networking ", 0), 0u)
      << flags;
  EXPECT_EQ(flags.find("--disable-gpu", 20), std::string::npos) << flags;
  EXPECT_EQ(flags.find("--disable-background-networking", 30), std::string::npos) << flags;
}

} // namespace
