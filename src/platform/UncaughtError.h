#pragma once
#include <functional>
#include <string>

// Where errors go that no routine caught: exceptions thrown by a worker's body or by a
// call run on the window thread. The default handler writes a Qt warning; the program
// installs one that writes its log. Thread-safe.
using UncaughtErrorHandler = std::function<void(const std::string &message)>;

// Installs the handler (an empty one restores the default).
void SetUncaughtErrorHandler(UncaughtErrorHandler handler);
// Passes a message to the handler in use. Never throws.
void ReportUncaughtError(const std::string &message);
