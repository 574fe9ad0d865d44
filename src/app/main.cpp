// The program: Qt, the data folder, the command-line switches, one copy per
// data folder, the main window.
#include "alerts/AlertsModule.h"
#include "alerts/news/NewsOptionsPage.h"
#include "alerts/pages/AlertOptionPages2.h"
#include "alerts/pages/AlertsPage.h"
#include "chartengine/chart/ChartRegistration.h"
#include "chartengine/series/SeriesRegistration.h"
#include "core/AlertDefaults.h"
#include "core/CommandLine.h"
#include "core/DataFolderAccess.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/ParFile.h"
#include "core/PortfolioFile.h"
#include "core/ProgramFolder.h"
#include "core/SingleInstance.h"
#include "mainwin/MainForm.h"
#include "platform/AppWindow.h"
#include "platform/EmbeddedBrowser.h"
#include "platform/Prompt.h"
#include "platform/UncaughtError.h"
#include "views/ticker/TickParams.h"
#include "webcontent/AdService.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

namespace {
constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 650;
} // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv); // takes Qt's own options out of argv
  QApplication::setApplicationName(QStringLiteral("Tickvane"));
  // The program's texts have one format in every language: Qt's own number
  // and date texts in widgets follow it too, not the user's locale.
  QLocale::setDefault(QLocale::c());

  const std::string folder = ResolveDataFolder();
  const bool prepared = PrepareDataFolder(folder, SeedDataFolder());
  if (!QDir(QString::fromStdString(folder)).exists()) {
    MessageDlg("Cannot create the data folder " + folder + ".", "Tickvane", mtError, mbOK);
    return 1;
  }
  SetProgramFolder(folder);
  const CommandLineSwitches switches = ParseCommandLine(argc, argv);

  // One copy of the program per data folder, unless duplicates are allowed.
  TSingleInstance instance(ProgramFolder());
  if (!instance.Claim()) {
    LoadProgramParams();
    if (!DuplicatesAllowed(switches.AllowDup, GetProgParam("ALLOWDUPS", "NO"))) {
      // The running copy's log stays where it is: this copy only appends.
      LogLevel = switches.LogLevel;
      LoggingOn = switches.Log;
      WriteLog("START");
      if (!instance.AskFirstToComeToFront())
        WriteLog("The running copy did not answer");
      WriteLog("dup found! terminating");
      qInfo("Tickvane is already running on %s.", folder.c_str());
      return 0;
    }
  }
  ApplyCommandLine(switches);

  // Errors that no routine caught go to the log as well as to the console.
  SetUncaughtErrorHandler([](const std::string &message) {
    WriteLog(message);
    qWarning("%s", message.c_str());
  });
  WriteLog("START");
  if (!instance.Claimed())
    WriteLog("Running beside another copy of the program on " + folder);
  if (!prepared)
    WriteLog("Some default files could not be copied into " + folder);
  WarnIfDataFolderReadOnly(folder);

  OpenSettingsFile();
  LoadProgramParams();
  LoadAlertDefaults();
  LoadPortfolios(); // a damaged or missing port.dat is reported and leaves what could be read
  // The alert store; without an alert file the portfolios' old limits become alerts.
  if (!InitAlertsModule(ProgramFolder()).opened)
    AlertSystem().ImportPortfolioLimits();
  LoadTickParams();
  LoadAdSettings(SettingsFile());
  // The news window's browser keeps its cache and cookies in the data folder.
  UseWebEngineBrowser(ProgramFolder() + "browser");
  RegisterAlertsPage();
  RegisterAlertOptionPages2();
  RegisterNewsPage();
  // The chart engine's series types and functions (series first, so the
  // gallery lists them before the functions), then the chart's streamed parts;
  // the financial series types are removed again when the program ends.
  const TChartEngineTypes chartEngineTypes;
  RegisterChartControlClasses();

  TmForm window;
  window.resize(kInitialWidth, kInitialHeight);
  SetAppMainWindow(&window);
  instance.SetOnComeToFront([&window] {
    WriteLog("Another copy was started: coming to the front");
    if (window.isMinimized())
      window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
  });
  window.show();
  const int result = app.exec();
  instance.SetOnComeToFront(nullptr);
  SetAppMainWindow(nullptr);
  return result;
}
