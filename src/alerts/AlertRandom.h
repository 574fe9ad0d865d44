#pragma once
#include <string>

// Draws count characters, each map(Random(n)), under one hold of the
// program's random-number lock (IDs of alerts and e-mail setups). Tests make
// the draws known through SetRandomSource (core/StringRoutines.h).
std::string DrawRandomText(int count, int n, char (*map)(int value));
