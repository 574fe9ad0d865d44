#pragma once
// The switches the embedded browser's engine is started with. The engine reads
// them from the environment once, when the first browser is made, so they are
// worked out here from what the machine offers and set just before that.
#include <string>

struct TWebEngineMachine {
  bool Root = false;         // running as the superuser: the engine's sandbox refuses to start
  bool GpuAvailable = false; // a display with a render device (not offscreen, not a bare X server)
  std::string UserFlags;     // what QTWEBENGINE_CHROMIUM_FLAGS already holds
};

struct TWebEngineLaunch {
  std::string ChromiumFlags; // for QTWEBENGINE_CHROMIUM_FLAGS
  bool DisableSandbox = false; // QTWEBENGINE_DISABLE_SANDBOX=1
};

// The user's flags, then those that keep the engine from talking to the
// network on its own, then --disable-gpu only without a GPU; a flag the user
// already gave is not repeated. The sandbox is turned off only for root.
TWebEngineLaunch WebEngineLaunchFor(const TWebEngineMachine &machine);

// The machine as it is now: the effective user, the Qt platform and the render
// devices under /dev/dri.
TWebEngineMachine CurrentWebEngineMachine();

// Sets the environment from WebEngineLaunchFor(CurrentWebEngineMachine()) once
// per process; later calls do nothing. Call before the first browser is made.
void PrepareWebEngineEnvironment();
