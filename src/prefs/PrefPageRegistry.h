#pragma once
// The tabs of the preferences dialog. Each option page registers a factory
// under its page number at start-up, from a registration function of its own
// module (RegisterAlertsPage() and the like, called by the program before the
// dialog is first opened); the dialog shows one tab per registered page, in
// page-number order, and never needs editing when a page is added.
//
//   RegisterPrefPage(PrefPageQuickAlerts, "Quick Alerts",
//                    [](QWidget *parent) { return new TOQuickAlerts(parent); });
#include <functional>
#include <string>
#include <vector>

class QWidget;
class TOptionPage;

// Page numbers of the known pages (the dialog's start page is chosen by them).
constexpr int PrefPageAlerts = 5;
constexpr int PrefPageAlertDefaults = 6;
constexpr int PrefPageQuickAlerts = 7;
constexpr int PrefPageEMail = 8;
constexpr int PrefPageNews = 9;

// Makes a page's form as a child of parent (the dialog's page panel).
using PrefPageFactory = std::function<TOptionPage *(QWidget *parent)>;

struct PrefPageEntry {
  int PageNumber = 0;
  std::string Caption; // the tab's text
  PrefPageFactory Create;
};

// Window thread.
class TPrefPageRegistry {
public:
  // Adds a page, or replaces the page registered under the same number. A
  // page without a factory is not added.
  void Register(int pageNumber, const std::string &caption, PrefPageFactory factory);
  void Unregister(int pageNumber);
  void Clear();

  // In page-number order.
  const std::vector<PrefPageEntry> &Pages() const { return m_pages; }
  // nullptr when no page has that number.
  const PrefPageEntry *Find(int pageNumber) const;

private:
  std::vector<PrefPageEntry> m_pages; // sorted by PageNumber
};

// The program's registry, which TdlgPref shows.
TPrefPageRegistry &PrefPageRegistry();
void RegisterPrefPage(int pageNumber, const std::string &caption, PrefPageFactory factory);
