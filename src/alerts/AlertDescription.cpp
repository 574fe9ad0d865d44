// The short and the full text that describe an alert to the user.
#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "core/PriceText.h"
#include "platform/Format.h"

namespace {

// " Last Price", " Bid", " Ask" by P2; nothing for other values.
std::string PriceFieldName(double p2) {
  if (p2 == 1.0)
    return "Last Price";
  if (p2 == 2.0)
    return "Bid";
  if (p2 == 3.0)
    return "Ask";
  return "";
}

// The limit of a column alert: a price for the price columns, else a plain number.
std::string ColumnValueText(long long column, double value) {
  return IsPriceColumn(column) ? PriceToStr(value) : FormatPrice(value);
}

std::string ComparisonSign(double p2) {
  if (p2 == 0.0)
    return ">";
  if (p2 == 1.0)
    return "<";
  return "";
}

std::string ComparisonWords(double p2) {
  if (p2 == 0.0)
    return "greater than";
  if (p2 == 1.0)
    return "less than";
  return "";
}

std::string ActionsSentence(TActionSet actions) {
  std::vector<int> present;
  for (int e = ActionHighlightRow; e <= ActionEMail; ++e)
    if (actions.Contains(e))
      present.push_back(e);
  std::string text;
  for (std::size_t i = 0; i < present.size(); ++i) {
    const bool lastOfSeveral = present.size() >= 2 && i + 1 == present.size();
    text += (lastOfSeveral ? " and " : ", ") + ActionNames()[std::size_t(present[i])];
  }
  return text;
}

} // namespace

std::string TAlertRecord::ShortDescription() const {
  std::string text = Symbol + ": ";
  switch (AlertType) {
  case AlertTypeLowPrice:
  case AlertTypeHighPrice: {
    text += AlertType == AlertTypeLowPrice ? "Low" : "High";
    const std::string field = PriceFieldName(P2);
    if (!field.empty())
      text += " " + field;
    text += " at " + PriceToStr(P1);
    break;
  }
  case AlertTypeNews:
    text += "New News less than " + FormatPrice(P1) + " hours old.";
    break;
  case AlertTypeColumn: {
    const long long column = Round(P1);
    if (IsValidColumnIndex(column))
      text += ColumnNames()[std::size_t(column)] + " " + ComparisonSign(P2);
    else
      text = "---";
    text += " " + ColumnValueText(column, P3);
    break;
  }
  default:
    break;
  }
  return text;
}

std::string TAlertRecord::FullDescription(bool future) const {
  std::string text;
  switch (AlertType) {
  case AlertTypeLowPrice:
  case AlertTypeHighPrice:
    text = std::string(future ? "When " : "") + PriceFieldName(P2) + " for " + Symbol +
           (future ? " reaches " : " reached ") + PriceToStr(P1) + " or " +
           (AlertType == AlertTypeLowPrice ? "below" : "above");
    break;
  case AlertTypeNews:
    text = std::string(future ? "When new" : "New") + " news that is less than " + FormatPrice(P1) +
           " hours old " + (future ? "comes in for " : "came in for ") + Symbol;
    break;
  case AlertTypeColumn: {
    const long long column = Round(P1);
    if (IsValidColumnIndex(column))
      text = (future ? "When " + Symbol + "'s " : Symbol + "'s ") +
             ColumnNames()[std::size_t(column)] + (future ? " is " : " became ") +
             ComparisonWords(P2);
    else
      text = "---";
    text += " " + ColumnValueText(column, P3);
    break;
  }
  default:
    break;
  }

  if (future)
    text += ActionsSentence(Actions);
  text += ".";

  if (AlertType == AlertTypeLowPrice || AlertType == AlertTypeHighPrice) {
    const bool low = AlertType == AlertTypeLowPrice;
    if (P3 == 0.0)
      text += std::string(" Trigger alarm only when the limit is crossed ") +
              (low ? "on a down tick." : "on an up tick.");
    else if (future)
      text += std::string(" Trigger alarm any time the value is ") + (low ? "below" : "above") +
              " the limit.";
  } else if (AlertType == AlertTypeColumn && IsCrossingColumn(Round(P1))) {
    if (P4 == 1.0)
      text += std::string(" Trigger alarm only when the limit is crossed ") +
              (P2 == 0.0 ? "on the way up." : "on the way down.");
    else if (future)
      text += std::string(" Trigger alarm any time the value is ") +
              (P2 == 0.0 ? "above" : "below") + " the limit.";
  }
  return text;
}
