#pragma once
#include <string>

class TStringList;

// Parameter files (params.par, schemes.par, ...): NAME=value lines.

// Reads the file into list (cleared first), one item per line, line ends
// removed. A relative name is taken in ProgramFolder(). Every line passes
// through UnscrambleParLine. Raises Exception("Cannot read " + name) when the
// file cannot be read; the list is then empty.
void ReadParFile(const std::string &fileName, TStringList &list);

// Lines may be stored scrambled; their form is not known here, so the line is
// returned as it stands. The single place to add unscrambling.
std::string UnscrambleParLine(const std::string &line);

// The value of the first NAME=value item whose name, trimmed and upper-cased,
// equals name upper-cased; the default when there is none. The value is
// trimmed. Logs "GETPROGPARAM Error: " + message on a failure and returns the
// default.
std::string GetProgParam(const TStringList &list, const std::string &name,
                         const std::string &defaultValue);

// The program parameters, read from ProgramFolder() + "params.par" at
// start-up. Loading replaces the list; call it before other threads start.
const TStringList &ProgramParams();
// Reads params.par; a missing or unreadable file leaves the list empty and is
// logged. False in that case.
bool LoadProgramParams();
void SetProgramParams(const TStringList &list);
// GetProgParam on ProgramParams().
std::string GetProgParam(const std::string &name, const std::string &defaultValue);
