#pragma once
// A fresh alert store, portfolio list, data folder and clock for the alert
// window tests, with the pop-up windows installed.
#include "alerts/AlertEditRequest.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertPopupHook.h"
#include "alerts/AlertsModule.h"
#include "alerts/ui/AlertDlg.h"
#include "alerts/ui/AlertPopupWindows.h"
#include "core/AlertDefaults.h"
#include "core/ErrorReport.h"
#include "core/Portfolio.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Clock.h"
#include "support/EventWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class AlertUiTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    SetAppClock(&clock);
    SetAlertDefaults(TAlertDefaults{});
    SetErrorReportSink([this](const std::string &message, const std::string &place) {
      reports.emplace_back(message, place);
    });
    ResetStockStore();
    PortfolioList.Clear();
    AlertEditRequest().Clear();
    PortfolioRequest().Clear();
    InstallAlertPopupWindows();
    AlertSystem().ClearAll();
    FreeClosed();
  }
  void TearDown() override {
    CloseAlertDialogWindows("ALL");
    FreeClosed();
    UninstallAlertPopupWindows();
    AlertSystem().ClearAll();
    PortfolioList.Clear();
    ResetStockStore();
    AlertEditRequest().Clear();
    PortfolioRequest().Clear();
    SetErrorReportSink({});
    SetAppClock(nullptr);
  }

  // Frees the windows that closed (they free themselves on the event loop).
  static void FreeClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Stores an alert and returns its ID.
  static std::string AddAlert(const std::string &symbol, int type, double p1, double trigger = 0) {
    auto alert = std::make_unique<TAlertRecord>();
    alert->Symbol = symbol;
    alert->AlertType = std::uint8_t(type);
    alert->P1 = p1;
    alert->P2 = 1.0;
    alert->P3 = type == AlertTypeColumn ? 2.5 : 0;
    alert->TriggerValue = trigger;
    alert->Actions.Include(ActionPopup);
    alert->Actions.Include(ActionHighlightRow);
    return AlertSystem().AddAlert(std::move(alert));
  }

  // A copy of the stored alert (empty record with no ID when not stored).
  static TAlertRecord Stored(const std::string &id) {
    TAlertRecord copy;
    MyLockGuard guard(AlertSystem().Lock, "TEST");
    if (TAlertRecord *alert = AlertSystem().FindByID(id))
      copy.AssignFixed(*alert);
    return copy;
  }

  // Sets the alert active as activation leaves it after a pop-up.
  static void Activate(const std::string &id) {
    MyLockGuard guard(AlertSystem().Lock, "TEST");
    TAlertRecord *alert = AlertSystem().FindByID(id);
    ASSERT_NE(alert, nullptr);
    alert->ActiveActions.Include(ActionPopup);
    alert->ActiveActions.Include(ActionHighlightRow);
    alert->ActivationTimes[ActionPopup] = 45300.5;
    alert->LastAlertTime = 45300.5;
  }

  // Opens the pop-up of a stored alert as activation does, through the hook.
  static TAlertDlg *Trigger(const std::string &id) {
    const TAlertRecord alert = Stored(id);
    if (!ShowAlertPopup(MakeAlertPopupInfo(alert, id)))
      return nullptr;
    const auto open = TAlertDlg::OpenDialogs();
    return open.empty() ? nullptr : open.back();
  }

  static int AddPortfolio(const std::string &name, const std::string &key,
                          const std::vector<std::string> &symbols) {
    std::vector<PortPosition> positions;
    for (const std::string &symbol : symbols) {
      PortPosition p;
      p.Symbol = symbol;
      p.Quantity = 100;
      positions.push_back(p);
    }
    MyLockGuard guard(PortListLock, "TEST");
    return PortfolioList.Add(name, key, positions);
  }

  QTemporaryDir dir;
  FakeClock clock{45301.4375}; // 2024-01-10 10:30:00
  std::vector<std::pair<std::string, std::string>> reports;
};
