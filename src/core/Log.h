#pragma once
#include <atomic>
#include <exception>
#include <string>

// The program log, ProgramFolder() + "bourse.log". Off unless a LOG switch
// turned it on. Each line is "hh:mm:ss.zzz" + " " + text.

// Logging is on (a LOG switch was given). Callers test it before building text.
extern std::atomic<bool> LoggingOn;
// Lines with a level above this are not written.
extern std::atomic<int> LogLevel;
// Extra diagnostics (start-up messages and some traces) are logged only when on.
extern std::atomic<bool> DebugLogging;

inline constexpr const char *LogFileName = "bourse.log";
inline constexpr const char *LogBackupFileName = "bourse.log.bak";

// Appends one line when logging is on and level <= LogLevel. Each call opens,
// appends and closes the file under one lock; it never throws. Control bytes
// and bytes of no UTF-8 character in text are written as "\xNN" (VisibleText).
void WriteLog(const std::string &text, int level = 0);
// Runs fn; an exception it throws goes no further and is logged as
// "<label> Exception: <message>" ("unknown error" for one that is no std::exception).
template <class Fn> void RunLoggingErrors(const char *label, Fn &&fn) {
  try {
    fn();
  } catch (const std::exception &e) {
    WriteLog(std::string(label) + " Exception: " + e.what());
  } catch (...) {
    WriteLog(std::string(label) + " Exception: unknown error");
  }
}

// Turns logging on at the given level and moves the previous log to
// bourse.log.bak (an older backup is deleted first).
void StartLogging(int level);
// Turns logging off (tests).
void StopLogging();

// The time stamp of a log line for a date-time: "hh:mm:ss.zzz".
std::string LogTimeStamp(double dateTime);
