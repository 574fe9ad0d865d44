#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The alert log: the time-stamped alert and mail events of this run, kept in
// memory only. Any thread may write it; every access takes the log's lock.
// The log window reads it through the snapshot functions below.

// Appends the current time as "hh:mm:ss " followed by text.
void AddAlertLogLine(const std::string &text);
// Empties the log, then adds "--- Log Cleared".
void ClearAlertLog();

// Number of lines.
std::size_t AlertLogCount();
// A copy of every line, in order.
std::vector<std::string> AlertLogLines();
// The lines from index shown to the end; empty when shown is the line count or
// more (a window that shows more lines than the log adds nothing).
std::vector<std::string> AlertLogLinesFrom(std::size_t shown);
