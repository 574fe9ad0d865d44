#include "views/stockgrid/CellTextsFormat.h"

#include "core/PriceText.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <cmath>

std::string PriceCellText(double price, bool fractions) {
  if (!std::isfinite(price))
    return FailedText;
  return AlignPriceText(PriceToStr(price, fractions), fractions);
}

std::string ShortPriceText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  return FormatPrice(value);
}

std::string WholeNumberText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  return Trim(Format("%20.0n", {value}));
}

std::string OneDecimalText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  return Trim(Format("%20.1n", {value}));
}

std::string PercentNumberText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  return Trim(Format("%7.2f", {value}));
}

std::string SubtotalAmountText(double value) {
  if (!std::isfinite(value))
    return NoDataText;
  return Trim(Format("%12.0n", {value}));
}

std::string SignedText(const std::string &text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+'))
    return text;
  return "+" + text;
}

std::string WithoutPercent(const std::string &text) {
  if (!text.empty() && text.back() == '%')
    return text.substr(0, text.size() - 1);
  return text;
}

std::string QuoteTimeText(TDateTime time, double offset) {
  const double t = time + offset;
  if (!std::isfinite(t))
    return FailedText;
  return FormatDateTime("hh:nn:ss", t);
}

std::string QuoteDateText(TDateTime time, double offset) {
  if (!std::isfinite(time) || std::trunc(time) == 0)
    return "";
  const double t = time + offset;
  if (!std::isfinite(t))
    return "";
  return DateToStr(t);
}

bool Percentage(double value, double base, double &result) {
  if (base == 0 || !std::isfinite(base) || !std::isfinite(value))
    return false;
  const double r = value * 100 / base;
  if (!std::isfinite(r))
    return false;
  result = r;
  return true;
}
