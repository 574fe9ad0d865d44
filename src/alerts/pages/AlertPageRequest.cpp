#include "alerts/pages/AlertPageRequest.h"

TAlertPageRequest ParseAlertPageRequest(const std::string &text) {
  if (text.size() < 2)
    return {};
  const std::string argument = text.substr(1);
  switch (text[0]) {
  case '!':
    return {TAlertRequestKind::NewAlert, argument};
  case '~':
    return {TAlertRequestKind::EditSymbol, argument};
  case '=':
    return {TAlertRequestKind::EditAlert, argument};
  default:
    return {};
  }
}

TAlertTreeTarget FindRequestTarget(const TAlertPageRequest &request,
                                   const std::vector<TAlertTreeGroup> &tree) {
  for (int g = 0; g < int(tree.size()); ++g) {
    const TAlertTreeGroup &group = tree[std::size_t(g)];
    if (request.Kind == TAlertRequestKind::EditSymbol && group.Text == request.Argument &&
        group.Alerts.size() > 1)
      return {g, -1};
    for (int a = 0; a < int(group.Alerts.size()); ++a) {
      const TAlertTreeAlert &alert = group.Alerts[std::size_t(a)];
      if ((request.Kind == TAlertRequestKind::EditAlert && alert.ID == request.Argument) ||
          (request.Kind == TAlertRequestKind::EditSymbol && alert.Symbol == request.Argument))
        return {g, a};
    }
  }
  return {};
}
