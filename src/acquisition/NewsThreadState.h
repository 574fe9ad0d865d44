#pragma once
// State the news thread shares with the windows that steer it: the force
// list (symbols to fetch next) under the force lock, and the symbol being
// fetched at the moment.
#include "core/CriticalSection.h"

#include <string>

// The news thread's force lock; the windows append with the tags "EXE" (one
// symbol) and "EXE1" (all symbols).
extern MyCriticalSection ForceLock;

// Appends blank-separated symbols to the force list, each unless it is there
// already. Allowed to give up: false when the lock was not taken (nothing
// added).
bool AddToForceList(const std::string &symbols, const std::string &tag);
// A copy of the force list (symbols separated by blanks); "" when the lock
// was not taken.
std::string ForceListText(const std::string &tag = "FLST");
// Takes the force list and empties it (the news thread); "" when the lock was
// not taken.
std::string TakeForceList(const std::string &tag = "FTAKE");

// The symbol the news thread is fetching ("" when none); cut to 15 characters.
void SetSymbolBeingFetched(const std::string &symbol);
std::string SymbolBeingFetched();

// Empties the force list and the symbol being fetched (tests).
void ResetNewsThreadState();
