#pragma once
#include <cstdint>
#include <string>

// The program's data folder (settings, log, parameter files, portfolios).
// Start-up in main():
//   const std::string folder = ResolveDataFolder();
//   PrepareDataFolder(folder, SeedDataFolder());
//   SetProgramFolder(folder);
// Until SetProgramFolder is called, ProgramFolder() is ResolveDataFolder().

// The folder as text ending in "/".
std::string ProgramFolder();
// Sets the folder; a missing trailing "/" is added.
void SetProgramFolder(const std::string &folder);

// $TICKVANE_HOME when set, else $XDG_DATA_HOME/tickvane, else
// ~/.local/share/tickvane. No trailing "/".
std::string ResolveDataFolder();
// The data files shipped with the program (the repository's data/ folder).
std::string SeedDataFolder();
// Creates folder (with its parents) and, when it is a new data folder (one
// that holds none of the program's files and nothing the seed ships), copies
// every file of seedDir into it, including subfolders. A folder in use is
// never seeded: a file the user deleted stays deleted, and the user's files
// are never overwritten. Returns false when the folder cannot be created or
// a copy fails (each failure is logged); a missing seed folder copies nothing.
bool PrepareDataFolder(const std::string &folder, const std::string &seedDir);
// Whether folder holds none of the program's files (nor any name the seed
// folder's top level holds): a data folder not used yet.
bool IsNewDataFolder(const std::string &folder, const std::string &seedDir);

// Program version: four 16-bit parts, the major one in the top bits.
using TProgramVersion = std::uint64_t;
TProgramVersion ProgramVersion();
// Dotted text of parts "1.2.3.4" (missing parts 0, extra parts ignored,
// each part cut to 16 bits); unparsable parts count as 0.
TProgramVersion ParseVersionText(const std::string &text);
TProgramVersion MakeVersion(unsigned major, unsigned minor, unsigned release, unsigned build);
// "1.0.0.0".
std::string VersionToStr(TProgramVersion version);
