#pragma once
// The number of modal dialogs open right now. Code that would open a window of
// its own (a heartbeat, a pop-up) can ask it and wait while one is up.
#include <atomic>

int ModalDialogCount();

// Raises the count for its lifetime; a modal dialog holds one while it runs.
class TModalDialogScope {
public:
  TModalDialogScope();
  ~TModalDialogScope();
  TModalDialogScope(const TModalDialogScope &) = delete;
  TModalDialogScope &operator=(const TModalDialogScope &) = delete;
};
