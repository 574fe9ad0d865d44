#pragma once
// The news sources the user can choose: the news site files (extension .NWS,
// letter case ignored) in a folder, each named by its site name.
#include <string>
#include <vector>

struct TNewsSource {
  std::string Name;     // the site's name
  std::string FileName; // the file's name, without folder
};

// The readable site files of the folder, sorted by name (letter case
// ignored; equal names in file-name order). Files that cannot be read as site
// files are left out.
std::vector<TNewsSource> ListNewsSources(const std::string &folder);
// Index of the file name among the sources, -1 when absent.
int FindNewsSource(const std::vector<TNewsSource> &sources, const std::string &fileName);
