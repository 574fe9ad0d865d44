#pragma once
// The preferences dialog with the alert editor page over a fresh alert store,
// data folder, prompt and sound service.
#include "alerts/AlertEditRequest.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertsModule.h"
#include "alerts/EMailRecord.h"
#include "alerts/pages/AlertParamControls.h"
#include "alerts/pages/AlertTree.h"
#include "alerts/pages/AlertsPage.h"
#include "charts/ColorPopup.h"
#include "core/AlertDefaults.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"
#include "core/Portfolio.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Prompt.h"
#include "prefs/OptionPage.h"
#include "prefs/PrefDialog.h"
#include "prefs/PrefPageRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

inline constexpr int OtherPageNumber = 6;

class AlertsPageTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    OpenSettingsFile();
    SetAppPrompt(&prompt);
    SetAlertDefaults(TAlertDefaults{});
    ResetMailSettings();
    ResetStockStore();
    {
      MyLockGuard guard(PortListLock, "TEST");
      PortfolioList.Clear();
    }
    AlertSystem().ClearAll();
    SetFractionDisplay(false);
    PrefGoToPage = false;
    ColorPopupPicked = false;
    RegisterAlertsPage(registry); // also clears a request left over
    registry.Register(OtherPageNumber, "Other",
                      [](QWidget *parent) { return new TOptionPage(parent); });
  }

  void TearDown() override {
    dlg.reset();
    dlgColor().hide();
    ColorPopupPicked = false;
    AlertSystem().ClearAll();
    ResetStockStore();
    ResetMailSettings();
    {
      MyLockGuard guard(PortListLock, "TEST");
      PortfolioList.Clear();
    }
    AlertEditRequest().Clear();
    SetAlertDefaults(TAlertDefaults{});
    SetAppPrompt(nullptr);
  }

  // Opens the dialog; the Alerts tab is its first.
  TOPanAlerts *Open() {
    dlg = std::make_unique<TdlgPref>(nullptr, registry);
    dlg->show();
    return Page();
  }
  TOPanAlerts *Page() const { return qobject_cast<TOPanAlerts *>(dlg->CurrentPage()); }

  template <class W> W *Find(const char *name) const {
    return Page()->findChild<W *>(QString::fromLatin1(name));
  }
  QWidget *Field(int tag) const { return Page()->ParamFields()->Control(tag); }
  QLineEdit *FieldEdit(int tag) const { return qobject_cast<QLineEdit *>(Field(tag)); }
  std::string FieldText(int tag) const { return Page()->ParamFields()->GetField(tag); }

  static std::string AddAlert(const std::string &symbol, int type, double p1, double p2 = 1.0,
                              double p3 = 0, double p4 = 0) {
    auto alert = std::make_unique<TAlertRecord>();
    alert->Symbol = symbol;
    alert->AlertType = std::uint8_t(type);
    alert->P1 = p1;
    alert->P2 = p2;
    alert->P3 = p3;
    alert->P4 = p4;
    alert->Actions.Include(ActionPopup);
    alert->Actions.Include(ActionHighlightRow);
    return AlertSystem().AddAlert(std::move(alert));
  }

  static TAlertRecord Stored(const std::string &id) {
    TAlertRecord copy;
    MyLockGuard guard(AlertSystem().Lock, "TEST");
    if (TAlertRecord *alert = AlertSystem().FindByID(id))
      copy.AssignFixed(*alert);
    return copy;
  }

  static void StoreLast(const std::string &symbol, double last, double low = 0) {
    QuoteFields f;
    f.Last = last;
    f.Bid = last;
    f.Ask = last;
    f.Low = low;
    f.High = last;
    StoreQuote(symbol, f);
  }

  QTreeWidgetItem *Root(const std::string &text) const {
    const auto found = Page()->ATree->findItems(QString::fromStdString(text), Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.first();
  }
  QTreeWidgetItem *AlertNode(const std::string &id) const {
    for (QTreeWidgetItemIterator it(Page()->ATree); *it; ++it)
      if (TAlertTree::Level(*it) == 1 && TAlertTree::AlertID(*it) == id)
        return *it;
    return nullptr;
  }
  std::vector<std::string> RootTexts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < Page()->ATree->topLevelItemCount(); ++i)
      texts.push_back(Page()->ATree->topLevelItem(i)->text(0).toStdString());
    return texts;
  }

  // A left click on a node, as the mouse gives it.
  void ClickNode(QTreeWidgetItem *node) const {
    TAlertTree *tree = Page()->ATree;
    tree->scrollToItem(node);
    const QPoint p = tree->visualItemRect(node).center();
    const QPoint global = tree->viewport()->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &release);
  }

  // Types into a control as the keyboard does.
  static void Type(QWidget *widget, const QString &text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &press);
    }
  }
  static void Key(QWidget *widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
  }
  // Replaces an edit's text by typing.
  static void Retype(QLineEdit *edit, const QString &text) {
    edit->selectAll();
    Type(edit, text);
  }
  static void Choose(QComboBox *combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  std::vector<std::string> QuestionTexts() const {
    std::vector<std::string> texts;
    for (const PromptQuestion &q : prompt.Questions())
      texts.push_back(q.text);
    return texts;
  }

  QTemporaryDir dir;
  FakePrompt prompt;
  TPrefPageRegistry registry;
  std::unique_ptr<TdlgPref> dlg;
};
