#pragma once
// The view store: the named views of the quote grids, kept as two parallel
// lists (names and spec texts, docs/views.md) and saved in the settings
// section [Views] as View<n>=<name>|<spec>. The main window and the watch list
// share the current view record (the shipped "Standard" view until views are
// loaded). Window thread only.
#include "platform/StringList.h"
#include "views/ViewRecord.h"

#include <string>
#include <vector>

class TMyIniFile;

// The view the main window's and the watch list's grids use.
extern ViewRecord CurrentView;
// Names of the stored views and, at the same index, their spec texts.
extern TStringList ViewNameList;
extern TStringList ViewSpecList;

// ---- Spec text -------------------------------------------------------------

// The spec text of a view (everything but its name and click mode).
std::string ViewSpecText(const ViewRecord &view);
// Reads a spec text into view (FontName .. FieldCol; Name and
// BulbSingleClick are left alone). False, with error set and view unchanged,
// when the text names no column. The symbol field always gets column 0.
bool ParseViewSpec(const std::string &spec, ViewRecord &view, std::string &error);

// The views shipped with the program: "Standard" (the common quote and
// position fields) and "Fundamentals".
std::vector<ViewRecord> DefaultViews();

// ---- Store -------------------------------------------------------------------

// Builds the view's spec and replaces entry Index of the name and spec lists;
// an Index outside the lists appends. A "|" in the name becomes "/"; the name
// is cut to 255 characters.
void StoreColumnView(const ViewRecord &View, int Index, const std::string &Name);
// Erases section [Views] and writes every view as View<n>=<name>|<spec>
// (n from 1). False when the file could not be written.
bool SaveColumnViews(TMyIniFile &ini);
// Reads [Views] into the lists (entries in the order of their numbers; damaged
// ones are logged and skipped; the shipped views when none is usable), makes
// the first one the current view and reads [News] SingleClick (default "Y")
// into its click mode.
void LoadColumnViews(const TMyIniFile &ini);
// [News] SingleClick as the view store reads it: "Y" or "YES" (any letter
// case) is true; a missing key counts as "Y".
bool BulbSingleClickValue(const std::string &value);
bool ReadBulbSingleClick(const TMyIniFile &ini);
// Gives the current view the news-bulb click mode the preferences chose
// (call after applying them).
void ApplyBulbClickSetting(bool singleClick);
// Makes stored view index (0-based) the current view; false when there is no
// such view or its spec cannot be read.
bool SelectView(int index);
// Empties the lists and makes "Standard" the current view (tests).
void ResetViewStore();
