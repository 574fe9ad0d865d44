#pragma once
// Opening the news window for a symbol: what the main window's "see news"
// command and the quote grid's bulb clicks call. Window thread.
#include <string>

class TfrmNews;

// The news window when one is open, else nullptr.
TfrmNews *NewsWindow();

// Shows the news of symbol: the open news window is given the symbol, shown
// and restored when minimised; without one a window is created (owned by
// nobody, freed when closed), shown and given the symbol. Returns the window.
TfrmNews *OpenNewsWindow(const std::string &symbol);
