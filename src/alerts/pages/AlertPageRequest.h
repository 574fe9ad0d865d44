#pragma once
// The alert editor's reading of AlertEditRequest() and where in its tree a
// request leads.
#include <string>
#include <vector>

enum class TAlertRequestKind {
  None,       // empty, or a text the editor does not know
  NewAlert,   // "!" + symbol: create an alert for the symbol
  EditSymbol, // "~" + symbol: edit that symbol's alerts
  EditAlert,  // "=" + alert ID: edit that alert
};

struct TAlertPageRequest {
  TAlertRequestKind Kind = TAlertRequestKind::None;
  std::string Argument; // the symbol or the ID

  bool operator==(const TAlertPageRequest &) const = default;
};

TAlertPageRequest ParseAlertPageRequest(const std::string &text);

// The editor's tree as the request search sees it: symbol nodes in tree
// order, each with its alerts in tree order.
struct TAlertTreeAlert {
  std::string Symbol;
  std::string ID;
};
struct TAlertTreeGroup {
  std::string Text; // the symbol node's text
  std::vector<TAlertTreeAlert> Alerts;
};

// A node of the tree: the group's node when Alert is -1; nothing when Group is -1.
struct TAlertTreeTarget {
  int Group = -1;
  int Alert = -1;
  bool Found() const { return Group >= 0; }
  bool operator==(const TAlertTreeTarget &) const = default;
};

// Walking the nodes in tree order: for EditAlert the first alert node with the
// ID; for EditSymbol the symbol's node when it holds more than one alert,
// otherwise the first alert node of the symbol. Nothing for other kinds.
TAlertTreeTarget FindRequestTarget(const TAlertPageRequest &request,
                                   const std::vector<TAlertTreeGroup> &tree);
