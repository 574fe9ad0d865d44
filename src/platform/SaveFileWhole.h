#pragma once
#include <string>
#include <string_view>

// Writes a file whole or not at all: a temporary file in the same folder,
// flushed and checked, then renamed over the old one. QSaveFile alone is not
// enough: when the disk fills up while its buffer is written out at commit,
// it still renames, and the old file is replaced by a cut one.
//
// False on failure, the old file then unchanged and error holding the
// system's reason ("No space left on device"). With ownerOnly the file is
// readable and writable by its owner only (from before the first byte).
bool SaveFileWhole(const std::string &path, std::string_view bytes, std::string &error,
                   bool ownerOnly = false);
