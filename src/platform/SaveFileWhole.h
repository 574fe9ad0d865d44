#pragma once
#include <string>
#include <string_view>

// Writes a file whole or not at all: a temporary file in the same folder,
// flushed to the disk and checked, then renamed over the old one. A write cut
// short by a full disk never replaces the old file.
//
// The temporary file is named SaveTempPrefix(name) followed by six letters or
// digits, a name no user gives a file, so that what a killed save leaves
// behind can be told apart from the user's own copies (IsSaveTempName).
//
// False on failure, the old file then unchanged and error holding the
// system's reason ("No space left on device"). With ownerOnly the file is
// readable and writable by its owner only (from before the first byte);
// otherwise a file that exists keeps its permissions.
bool SaveFileWhole(const std::string &path, std::string_view bytes, std::string &error,
                   bool ownerOnly = false);

// Tests: every save fails with this errno (EROFS stands for a read-only
// folder, which a test running as root cannot make), 0 for none.
void SetSaveFileFault(int error);

// The start of the temporary file names of saves of the file named fileName.
std::string SaveTempPrefix(std::string_view fileName);
// Whether name is the name of a save's temporary file of the file named
// fileName (both without folder).
bool IsSaveTempName(std::string_view fileName, std::string_view name);
