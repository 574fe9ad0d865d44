#pragma once
#include <functional>
#include <string>

// The alert pop-ups live in the window layer; the store closes them through
// these hooks, which the pop-up code installs at start-up. Until then closing
// does nothing. A hook runs on the caller's thread, must not call into the
// alert store and must not wait for another thread.
using AlertDialogCloser = std::function<void(const std::string &key)>;

// Closes the pop-ups of the alert with that ID, or every pop-up for "ALL".
void CloseAlertDialogs(const std::string &id);
// Closes the pop-ups whose symbol label shows that symbol.
void CloseSymbolAlertDialogs(const std::string &symbol);

// nullptr removes a hook.
void SetCloseAlertDialogsHook(AlertDialogCloser closeById);
void SetCloseSymbolAlertDialogsHook(AlertDialogCloser closeBySymbol);
