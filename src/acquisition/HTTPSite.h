#pragma once
// The site record of a quote, news or index site, in the least form the
// views need: its display name, its time offset and the optional quote fields
// its pages provide. Site files are read only for those (docs/stand-ins.md).
#include <string>
#include <vector>

struct HTTPSite {
  HTTPSite();

  std::string Name;     // the site's display name
  double GMTOFFSET = 0; // added to quote times before they are shown (days)
  // Upper-case view keys of the optional fields the site's pages provide;
  // all six (TICKCOL ...) unless the site file says otherwise.
  std::vector<std::string> ProvidedFields;

  // True when the view key (letter case ignored) is among ProvidedFields.
  bool Provides(const std::string &viewKey) const;
};

// The upper-case view keys of the six optional site fields.
std::vector<std::string> DefaultProvidedFields();

// The current quote site; a copy, safe from any thread.
HTTPSite CurrentQuoteSite();
void SetCurrentQuoteSite(const HTTPSite &site);

// Reads a site file into site. Lines "NAME=display name", "GMTOFFSET=hours"
// and "PROVIDES=KEY,KEY,..." are understood (keys letter case ignored; other
// lines belong to the page-script language and are skipped). Without a NAME
// line the name is the file name without its extension. flags is 0; tag
// names the caller in log lines. errorText is empty when the file was read
// without error; returns errorText.empty().
bool LoadSiteFile(const std::string &fileName, HTTPSite &site, int flags, std::string &errorText,
                  const std::string &tag);
