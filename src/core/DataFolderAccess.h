#pragma once
#include <string>

// Whether files can be made in folder: a probe file is created there and
// removed again. On false, reason holds the system's reason.
bool DataFolderWritable(const std::string &folder, std::string &reason);

// At start: when the data folder cannot be written, the program runs without
// saving and without its one-copy lock. The user is told so in a message box,
// and the log where it can be written. Returns whether the folder is writable.
bool WarnIfDataFolderReadOnly(const std::string &folder);
