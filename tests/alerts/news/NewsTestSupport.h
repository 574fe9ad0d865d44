#pragma once
// A fresh market-data store, settings file, clock, shared news state and
// fake services for the news window and news option tests.
#include "acquisition/NewsThreadState.h"
#include "acquisition/UpdatedSymbols.h"
#include "alerts/news/NewsForm.h"
#include "core/CriticalSection.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/NewsStore.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/EmbeddedBrowser.h"
#include "platform/OpenUrl.h"
#include "platform/Prompt.h"
#include "support/EventWait.h"
#include "views/stockgrid/StockGridGlobals.h"
#include "webcontent/AdService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class NewsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    OpenSettingsFile();
    SetAppClock(&clock);
    LockTimings t;
    t.retryIntervalMs = 0;
    t.giveUpTries = 3;
    t.deadlockTries = 5;
    MyCriticalSection::SetTimings(t);
    MyCriticalSection::SetDeadlockReporter([](const std::string &) {});
    SetNewsLockTimings(NewsLockTimings{3, 0});
    SetDisplaySettings(TDisplaySettings());
    SetErrorReportSink([this](const std::string &message, const std::string &place) {
      reports.emplace_back(message, place);
    });
    SetAppPrompt(&prompt);
    SetAppUrlOpener(&urls);
    SetAppClipboard(&clipboard);
    TNewsWindowTimings timings;
    timings.SelectDelayMs = 0;
    timings.CloseDelayMs = 0;
    timings.CloseFinalDelayMs = 0;
    SetNewsWindowTimings(timings);
    // Three panes by default: a fake browser that records where it is sent.
    SetEmbeddedBrowserFactory([this](QWidget *) {
      auto b = std::make_unique<FakeEmbeddedBrowser>();
      browser = b.get();
      return b;
    });
    ResetAll();
  }
  void TearDown() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetAll();
    SetEmbeddedBrowserFactory({});
    SetNewsWindowTimings(TNewsWindowTimings());
    SetBrowserPrintHooks({});
    SetAppClipboard(nullptr);
    SetAppUrlOpener(nullptr);
    SetAppPrompt(nullptr);
    SetErrorReportSink({});
    SetDisplaySettings(TDisplaySettings());
    SetNewsLockTimings(NewsLockTimings());
    MyCriticalSection::SetDeadlockReporter(nullptr);
    MyCriticalSection::ResetTimings();
    SetAppClock(nullptr);
  }

  static void ResetAll() {
    ResetStockStore();
    ResetNewsThreadState();
    ClearUpdatedSymbolSets();
    NewsRows.Clear();
    NewsRowTimes.Clear();
    ResetAdSlots();
    AdsShowSetting = false;
  }

  // Stores an item for symbol dated days after 2024-01-05 00:00; returns its number.
  static int AddItem(const std::string &symbol, const std::string &title, TDateTime date,
                     const std::string &source = "Wire", const std::string &link = "") {
    IncomingNews n;
    n.Title = title;
    n.Source = source;
    n.Date = date;
    n.Link = link.empty() ? "http://news.example/" + title : link;
    return AddNews(symbol, n, {});
  }

  QTemporaryDir dir;
  FakeClock clock{45296.5}; // 2024-01-05 12:00 UTC
  FakePrompt prompt;
  FakeUrlOpener urls;
  FakeClipboard clipboard;
  FakeEmbeddedBrowser *browser = nullptr; // the last one the factory made
  std::vector<std::pair<std::string, std::string>> reports;
};
