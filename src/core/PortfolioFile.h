#pragma once
// The portfolio file port.dat: a plain text file of tab-separated records
// (docs/portfolio-file.md). Reading reports and skips a damaged line and
// keeps the rest; writing replaces the whole file or leaves it untouched.
#include "core/Portfolio.h"

#include <string>
#include <vector>

inline constexpr const char *PortfolioFileBaseName = "port.dat";

// One portfolio as the file holds it.
struct PortfolioFileEntry {
  std::string Name;
  std::string Key;
  std::vector<PortPosition> Positions;
  friend bool operator==(const PortfolioFileEntry &, const PortfolioFileEntry &) = default;
};

struct PortfolioFileContent {
  std::vector<PortfolioFileEntry> Portfolios;
  // One text per damaged line: "port.dat line 7: ...".
  std::vector<std::string> Problems;
};

// The file's text for a set of portfolios, and the parse of such a text.
std::string PortfolioFileText(const std::vector<PortfolioFileEntry> &portfolios);
PortfolioFileContent ParsePortfolioFileText(const std::string &text);

// Reads a file; false with error set when it cannot be read (a missing file
// included).
bool ReadPortfolioFile(const std::string &path, PortfolioFileContent &content, std::string &error);
// Writes the whole file (temporary file and rename); false with error set
// when it could not be written, the old file then being unchanged.
bool WritePortfolioFile(const std::string &path, const std::vector<PortfolioFileEntry> &portfolios,
                        std::string &error);

// ProgramFolder() + "port.dat".
std::string PortfolioFilePath();

// Loads the file into PortfolioList (under "PORT"), replacing its contents,
// after removing the temporary files that a killed save left beside it.
// Damaged lines are logged and shown in one error report; a missing file
// gives an empty list. False when the file exists but cannot be read (the
// list is then unchanged) or the lock was not taken.
bool LoadPortfolios(const std::string &path = PortfolioFilePath());
// Writes PortfolioList (copied under "PORT") to the file. False on failure,
// which is logged and told to the user (ReportSaveFailure: "the portfolios").
bool SavePortfolios(const std::string &path = PortfolioFilePath());
