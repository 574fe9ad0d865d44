#pragma once
// A sample portfolio for the grid benchmarks: every tenth position a
// separator, the others with quotes and fundamentals for every field.
#include "views/stockgrid/GridFill.h"

#include <string>
#include <vector>

// The portfolio's index in PortfolioList (made once per row count).
int SamplePortfolio(int rows);
// The symbol of position i of the sample ("S0001").
std::string SampleSymbol(int i);
// A new quote for position i: its last price moved by step.
void MoveSampleQuote(int i, double step);
// A print-grid fill of portfolio index showing all 45 fields.
TFillRequest SampleRequest(int index);
// The texts a pass over the sample portfolio of rows positions writes into a
// grid of 45 columns, row by row (title row first).
std::vector<std::vector<std::string>> SampleGridTexts(int rows);
