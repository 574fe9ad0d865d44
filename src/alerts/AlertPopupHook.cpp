#include "alerts/AlertPopupHook.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "core/Log.h"
#include "core/PriceText.h"
#include "core/StockStore.h"

#include <exception>
#include <mutex>

namespace {

std::mutex g_mutex;
AlertPopupShower g_shower;

} // namespace

void SetAlertPopupHook(AlertPopupShower shower) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_shower = std::move(shower);
}

bool ShowAlertPopup(const AlertPopupInfo &info) {
  AlertPopupShower shower;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    shower = g_shower;
  }
  if (!shower)
    return false;
  try {
    shower(info);
    return true;
  } catch (const std::exception &e) {
    WriteLog(std::string("ShowAlertPopup Error: ") + e.what(), 0);
  } catch (...) {
    WriteLog("ShowAlertPopup Error: unknown exception", 0);
  }
  return false;
}

AlertPopupInfo MakeAlertPopupInfo(const TAlertRecord &alert, const std::string &id) {
  AlertPopupInfo info;
  info.ID = id.substr(0, TAlertRecord::IDMax);
  info.Symbol = alert.Symbol;
  info.PriceText = PriceToStr(alert.TriggerValue);
  if (alert.AlertType == AlertTypeHighPrice)
    info.PriceColor = clGreen;
  else if (alert.AlertType == AlertTypeLowPrice)
    info.PriceColor = clRed;
  else
    info.PriceColor = clBlack;
  info.Description = alert.ShortDescription();
  info.NameLine = GetFundText(alert.Symbol);
  const auto &types = AlertTypeNames();
  const std::string typeName = alert.AlertType < types.size() ? types[alert.AlertType] : "";
  info.Caption = typeName + " alert";
  info.Limit = float(alert.P1);
  return info;
}
