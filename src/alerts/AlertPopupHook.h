#pragma once
#include "platform/Color.h"

#include <functional>
#include <string>

class TAlertRecord;

// What an alert pop-up shows, worked out by the activation step so that the
// window only copies it into its controls.
struct AlertPopupInfo {
  std::string ID;          // the queued alert ID (the window's alert ID)
  std::string Symbol;      // symbol label
  std::string PriceText;   // price label: the triggering value as a price
  TColor PriceColor = 0;   // green for "High Price", red for "Low Price", else black
  std::string Description; // the alert's short description
  std::string NameLine;    // the symbol's fundamentals line
  std::string Caption;     // type name + " alert"
  float Limit = 0;         // the alert's P1
};

// The pop-up window code installs this at start-up; activation calls it on the
// window thread to open one pop-up. It must not call into the alert store
// (activation holds no lock while calling, but keeps a working copy).
using AlertPopupShower = std::function<void(const AlertPopupInfo &info)>;

// nullptr removes the hook; without a hook no pop-up is shown.
void SetAlertPopupHook(AlertPopupShower shower);
// Runs the hook; false when none is installed or it threw (logged).
bool ShowAlertPopup(const AlertPopupInfo &info);

// The pop-up contents for an alert queued under id.
AlertPopupInfo MakeAlertPopupInfo(const TAlertRecord &alert, const std::string &id);
