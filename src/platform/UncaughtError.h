#pragma once
#include <exception>
#include <functional>
#include <string>
#include <string_view>

// Where errors go that no routine caught: exceptions thrown by a worker's body or by a
// call run on the window thread. The default handler writes a Qt warning; the program
// installs one that writes its log. Thread-safe.
using UncaughtErrorHandler = std::function<void(const std::string &message)>;

// Installs the handler (an empty one restores the default).
void SetUncaughtErrorHandler(UncaughtErrorHandler handler);
// Passes a message to the handler in use. Never throws.
void ReportUncaughtError(const std::string &message);

// Runs fn; an exception it throws goes no further and is reported as
// "<where>: <message>" ("unknown error" for one that is no std::exception).
template <class Fn> void RunReportingErrors(std::string_view where, Fn &&fn) {
  try {
    fn();
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string(where) + ": " + e.what());
  } catch (...) {
    ReportUncaughtError(std::string(where) + ": unknown error");
  }
}
