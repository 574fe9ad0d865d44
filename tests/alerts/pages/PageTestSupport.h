#pragma once
// A fresh data folder, settings file, alert store, mail settings, portfolio
// list, clock, prompt and sound for the tests of the alert option pages.
#include "alerts/AlertNames.h"
#include "alerts/AlertsModule.h"
#include "alerts/EMailRecord.h"
#include "core/AlertDefaults.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"
#include "core/ParFile.h"
#include "core/Portfolio.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "platform/Sound.h"
#include "platform/StringList.h"
#include "support/EventWait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <charconv>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class PageTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    OpenSettingsFile();
    SetProgramParams(TStringList());
    SetAppClock(&clock);
    SetAppPrompt(&prompt);
    SetAppSound(&sound);
    SetFractionDisplay(false);
    SetAlertDefaults(TAlertDefaults{});
    ResetStockStore();
    ResetMailSettings();
    AlertSystem().ClearAll();
    MyLockGuard guard(PortListLock, "TEST");
    PortfolioList.Clear();
  }
  void TearDown() override {
    AlertSystem().ClearAll();
    ResetMailSettings();
    {
      MyLockGuard guard(PortListLock, "TEST");
      PortfolioList.Clear();
    }
    ResetStockStore();
    SetAlertDefaults(TAlertDefaults{});
    SetAppSound(nullptr);
    SetAppPrompt(nullptr);
    SetAppClock(nullptr);
  }

  std::string Folder() const { return dir.path().toStdString() + "/"; }

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

  // Stores an alert; returns its ID.
  static std::string AddAlert(const std::string &symbol, int type, double p1, double p3 = 0) {
    auto alert = std::make_unique<TAlertRecord>();
    alert->Symbol = symbol;
    alert->AlertType = std::uint8_t(type);
    alert->P1 = p1;
    alert->P2 = type == AlertTypeColumn ? 0 : 1.0;
    alert->P3 = p3;
    alert->Actions.Include(ActionPopup);
    return AlertSystem().AddAlert(std::move(alert));
  }

  // A copy of the stored alert, or nothing.
  static std::optional<TAlertRecord> Stored(const std::string &id) {
    MyLockGuard guard(AlertSystem().Lock, "TEST");
    TAlertRecord *alert = AlertSystem().FindByID(id);
    if (!alert)
      return std::nullopt;
    TAlertRecord copy;
    copy.AssignFixed(*alert);
    return copy;
  }

  static void Activate(const std::string &id) {
    MyLockGuard guard(AlertSystem().Lock, "TEST");
    TAlertRecord *alert = AlertSystem().FindByID(id);
    ASSERT_NE(alert, nullptr);
    alert->ActiveActions.Include(ActionPopup);
    alert->ActivationTimes[ActionPopup] = 45300.5;
  }

  // Every stored alert as "SYMBOL type P1 P3".
  static std::vector<std::string> StoreSummary() {
    std::vector<std::string> lines;
    AlertSystem().ForEachAlert("TEST", [&](const TAlertRecord &a) {
      // As printf's %g writes them, with a point in every locale.
      const auto g = [](double v) {
        char buffer[32];
        return std::string(
            buffer,
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6).ptr);
      };
      lines.push_back(a.Symbol + " " + std::to_string(int(a.AlertType)) + " " + g(a.P1) + " " +
                      g(a.P3));
    });
    return lines;
  }

  QTemporaryDir dir;
  FakeClock clock{45301.4375}; // 2024-01-10 10:30:00
  FakePrompt prompt;
  FakeSound sound;
};
