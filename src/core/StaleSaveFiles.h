#pragma once
#include <chrono>
#include <string>

// A save that is killed half-way can leave its temporary file beside the file
// it was to replace, named as SaveFileWhole names it (IsSaveTempName). Only
// such names are removed: a user's copy of a file, whatever its name, stays.

// While another copy of the program may share the data folder, a temporary
// file younger than this may belong to a save that is running right now.
inline constexpr std::chrono::minutes SharedFolderStaleAge{10};

// Removes the temporary files left beside path. When this process holds the
// data folder alone (DataFolderHeldAlone) every one goes; otherwise only those
// not changed for SharedFolderStaleAge. Each removal is logged. Returns the
// number removed.
int RemoveStaleSaveFiles(const std::string &path);
// The same with an explicit minimum age.
int RemoveStaleSaveFiles(const std::string &path, std::chrono::seconds minAge);
