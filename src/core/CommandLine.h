#pragma once
#include <string>
#include <vector>

// Switches of the command line, letter case ignored; a leading "-", "--" or
// "/" is allowed. An argument beginning with LOG turns logging on with the
// number that follows as level (0 when none).
struct CommandLineSwitches {
  bool Log = false;       // LOG[n]
  int LogLevel = 0;       // n of LOG[n]
  bool AllowDup = false;  // ALLOWDUP: allow a second instance
  bool Debug = false;     // DEBUG: debug window and traces
  bool Demo = false;      // DEMO: store quotes at any hour, moved by a random amount
  bool KeepAlive = false; // KA: HTTP keep-alive for the first site records
  bool Prophet = false;   // PROPHET
};

// Parses the arguments (without the program name); unknown arguments are ignored.
CommandLineSwitches ParseCommandLine(const std::vector<std::string> &args);
// The same from main()'s argc/argv (argv[0] skipped).
CommandLineSwitches ParseCommandLine(int argc, char **argv);

// The switches of this run (all off until ApplyCommandLine).
const CommandLineSwitches &CommandLine();
// Makes switches the switches of this run; with Log it calls StartLogging,
// which moves the previous log aside, so call it after SetProgramFolder:
//   ApplyCommandLine(ParseCommandLine(argc, argv));
void ApplyCommandLine(const CommandLineSwitches &switches);
