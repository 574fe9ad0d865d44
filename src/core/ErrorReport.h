#pragma once
#include <exception>
#include <functional>
#include <string>

// Reports an error to the user: writes "ERROR REPORT " + place + ": " + message
// to the log, then shows the non-modal error-report window on the window
// thread. Callable from any thread; never throws. While a report window is
// open, further reports go into the same window. The message keeps its line
// breaks; other control bytes and bytes of no UTF-8 character show as "\xNN".
void ShowErrorReport(const std::string &message, const std::string &place);
// Runs fn; an exception it throws goes no further and is shown as an error
// report from place ("unknown error" for one that is no std::exception).
template <class Fn> void RunShowingErrors(const char *place, Fn &&fn) {
  try {
    fn();
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), place);
  } catch (...) {
    ShowErrorReport("unknown error", place);
  }
}

// Receives error reports instead of the window (tests, or a program-wide
// handler). Called on the reporting thread, one call at a time. An empty
// function restores the window.
using ErrorReportSink = std::function<void(const std::string &message, const std::string &place)>;
void SetErrorReportSink(ErrorReportSink sink);

// Shows a status message; the main window installs the hook that puts it on
// its status line. Control bytes and bytes of no UTF-8 character in the
// message show as "\xNN" (VisibleText): the status line is one line. Without a hook the message is logged. Any thread; the hook
// is called on the calling thread and must pass the text on to its window.
void ShowStatusMsg(const std::string &message);
using StatusMsgHook = std::function<void(const std::string &message)>;
void SetStatusMsgHook(StatusMsgHook hook);

// Title of the error-report window.
inline constexpr const char *ErrorReportTitle = "Error Report";
