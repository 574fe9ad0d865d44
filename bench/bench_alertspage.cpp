// The alerts page of the preferences dialog at the size of a heavy user
// (10,000 alerts on 500 symbols), as the user waits on the window thread:
// - opening the page (the tree is built) against a plain QTreeWidget filled
//   with the same nodes and icons and shown the same way;
// - rebuilding the tree while the page is shown (Delete Orphans, Delete All)
//   against opening it;
// - adding one alert (New, symbol, price, Save) at 10,000 alerts against the
//   same at 1,000;
// - closing the dialog with OK against saving ALERTS.DAT alone.
#include "BenchRatio.h"
#include "alerts/AlertFile.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertsModule.h"
#include "alerts/pages/AlertEditorRules.h"
#include "alerts/pages/AlertParamControls.h"
#include "alerts/pages/AlertTree.h"
#include "alerts/pages/AlertsPage.h"
#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "platform/Prompt.h"
#include "prefs/PrefDialog.h"
#include "prefs/PrefPageRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr int kRepetitions = 5;
constexpr int kAlertsPerSymbol = 20;
constexpr int kAdded = 20; // alerts added per run of the add benchmarks

// A data folder with its settings file, a prompt that answers every question
// with its default button, and a registry holding the alerts page.
struct PageWorld {
  PageWorld() {
    SetProgramFolder(dir.path().toStdString());
    OpenSettingsFile();
    SetAppPrompt(&prompt);
    RegisterAlertsPage(registry);
  }
  ~PageWorld() {
    AlertSystem().ClearAll();
    SetAppPrompt(nullptr);
  }
  QTemporaryDir dir;
  FakePrompt prompt;
  TPrefPageRegistry registry;
};

// count alerts of every type with a random mix of actions (fixed seed).
void FillStore(int count) {
  AlertSystem().ClearAll();
  std::mt19937 rng(26);
  const int symbols = std::max(1, count / kAlertsPerSymbol);
  for (int i = 0; i < count; ++i) {
    auto a = std::make_unique<TAlertRecord>();
    a->Symbol = "S" + std::to_string(rng() % unsigned(symbols));
    a->AlertType = std::uint8_t(rng() % AlertTypeCount);
    a->P1 = a->AlertType == AlertTypeColumn ? double(rng() % 20) : 5 + i * 0.01;
    a->P2 = a->AlertType == AlertTypeColumn ? double(rng() % 2) : 1.0;
    a->P3 = a->AlertType == AlertTypeColumn ? 5 + i * 0.01 : double(rng() % 2);
    a->Enabled = rng() % 5 != 0;
    for (int action : {ActionHighlightRow, ActionFlashWindow, ActionPopup, ActionSound})
      if (rng() % 2)
        a->Actions.Include(action);
    a->SoundIndex = int(rng() % 6);
    AlertSystem().AddAlert(std::move(a));
  }
}

TOPanAlerts *PageOf(TdlgPref &dialog) { return qobject_cast<TOPanAlerts *>(dialog.CurrentPage()); }

// The dialog made and shown at the Alerts tab (the page builds its tree),
// then the events that showing posts.
std::unique_ptr<TdlgPref> OpenDialog(PageWorld &world) {
  auto dialog = std::make_unique<TdlgPref>(nullptr, world.registry);
  dialog->show();
  QApplication::processEvents();
  return dialog;
}

void BM_OpenAlertsPage10k(benchmark::State &state) {
  PageWorld world;
  FillStore(10000);
  for (auto _ : state) {
    auto dialog = OpenDialog(world);
    state.PauseTiming();
    dialog->pbCancel->click();
    dialog.reset();
    state.ResumeTiming();
  }
}

// The same nodes, texts and icons in a plain QTreeWidget of the page's size:
// filled unsorted, sorted once, the symbols expanded, shown. It makes every
// action node; the page makes an alert's action nodes when it opens.
void BM_PlainTreeWidget10k(benchmark::State &state) {
  PageWorld world;
  FillStore(10000);
  struct Node {
    std::string text;
    bool enabled;
    std::vector<std::string> actions;
  };
  std::vector<std::pair<std::string, Node>> nodes;
  AlertSystem().ForEachAlert("BENCH", [&](const TAlertRecord &a) {
    nodes.push_back({a.Symbol, Node{a.ShortDescription(), a.Enabled, ActionNodeTexts(a)}});
  });
  const QIcon enabled = TAlertTree::NodeImage(1);
  const QIcon disabled = TAlertTree::NodeImage(2);
  const QIcon action = TAlertTree::NodeImage(3);
  for (auto _ : state) {
    auto window = std::make_unique<QWidget>();
    window->resize(TdlgPref::PageWidth + 12, TdlgPref::PageHeight + 60);
    auto *layout = new QVBoxLayout(window.get());
    auto *tree = new QTreeWidget(window.get());
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);
    tree->setIconSize(QSize(13, 13));
    layout->addWidget(tree);
    QFont bold = tree->font();
    bold.setBold(true);
    std::map<std::string, QTreeWidgetItem *> symbols;
    for (const auto &[symbol, node] : nodes) {
      QTreeWidgetItem *&root = symbols[symbol];
      if (!root) {
        root = new QTreeWidgetItem(QStringList(QString::fromStdString(symbol)));
        root->setFont(0, bold);
        tree->addTopLevelItem(root);
      }
      auto *item = new QTreeWidgetItem(root, QStringList(QString::fromStdString(node.text)));
      item->setIcon(0, node.enabled ? enabled : disabled);
      for (const std::string &text : node.actions)
        (new QTreeWidgetItem(item, QStringList(QString::fromStdString(text))))->setIcon(0, action);
    }
    tree->sortItems(0, Qt::AscendingOrder);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
      tree->topLevelItem(i)->setExpanded(true);
    window->show();
    QApplication::processEvents();
    state.PauseTiming(); // as for the page, closing is not part of opening
    window.reset();
    state.ResumeTiming();
  }
}

// Delete Orphans and Delete All rebuild the tree of the page shown.
void BM_RebuildAlertsTree10k(benchmark::State &state) {
  PageWorld world;
  FillStore(10000);
  auto dialog = OpenDialog(world);
  TOPanAlerts *page = PageOf(*dialog);
  for (auto _ : state) {
    page->BuildTree();
    QApplication::processEvents();
  }
  dialog->pbCancel->click();
}

// New, a symbol that has alerts already, a price of its own, Save; then the
// events the change posted (the tree is laid out and painted).
void AddAlerts(benchmark::State &state, int count) {
  PageWorld world;
  FillStore(count);
  auto dialog = OpenDialog(world);
  TOPanAlerts *page = PageOf(*dialog);
  int added = 0;
  for (auto _ : state) {
    page->pbNewAlert->click();
    page->dfSymbol->setText(QStringLiteral("S1"));
    page->dfSymbolExit();
    page->ParamFields()->SetField(1001, std::to_string(1000 + ++added) + ".25");
    page->ParamEditFieldExit(1001);
    page->pbSaveIt->click();
    QApplication::processEvents();
  }
  if (AlertSystem().Count() != count + added)
    state.SkipWithError("not every alert was added");
  dialog->pbCancel->click();
}

void BM_AddOneAlert1k(benchmark::State &state) { AddAlerts(state, 1000); }
void BM_AddOneAlert10k(benchmark::State &state) { AddAlerts(state, 10000); }

// OK: the page closes (ALERTS.DAT is written) and the dialog goes.
void BM_CloseAlertsDialogOK10k(benchmark::State &state) {
  PageWorld world;
  FillStore(10000);
  for (auto _ : state) {
    state.PauseTiming();
    auto dialog = OpenDialog(world);
    state.ResumeTiming();
    dialog->pbOK->click();
    dialog.reset();
    QApplication::processEvents();
  }
}

void BM_SaveAlertFile10kAlone(benchmark::State &state) {
  PageWorld world;
  FillStore(10000);
  const std::string path = world.dir.filePath(AlertFileName).toStdString();
  for (auto _ : state)
    SaveAlertFile(AlertSystem(), path);
}

#define RATIO_BENCHMARK(fn)                                                                        \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly()

RATIO_BENCHMARK(BM_OpenAlertsPage10k)->Iterations(2);
RATIO_BENCHMARK(BM_PlainTreeWidget10k)->Iterations(2);
RATIO_BENCHMARK(BM_RebuildAlertsTree10k)->Iterations(2);
RATIO_BENCHMARK(BM_AddOneAlert1k)->Iterations(kAdded);
RATIO_BENCHMARK(BM_AddOneAlert10k)->Iterations(kAdded);
RATIO_BENCHMARK(BM_CloseAlertsDialogOK10k)->Iterations(2);
RATIO_BENCHMARK(BM_SaveAlertFile10kAlone)->Iterations(10);

const bool registered = [] {
  RegisterRatio("open the Alerts page, 10,000 alerts / plain QTreeWidget, same nodes",
                "BM_OpenAlertsPage10k", "BM_PlainTreeWidget10k", 2.0);
  RegisterRatio("rebuild the tree of the page shown / open the page, 10,000 alerts",
                "BM_RebuildAlertsTree10k", "BM_OpenAlertsPage10k", 1.5);
  RegisterRatio("add one alert at 10,000 alerts / at 1,000", "BM_AddOneAlert10k",
                "BM_AddOneAlert1k", 2.0);
  RegisterRatio("close the dialog with OK, 10,000 alerts / save ALERTS.DAT alone",
                "BM_CloseAlertsDialogOK10k", "BM_SaveAlertFile10kAlone", 4.0);
  return true;
}();

} // namespace
