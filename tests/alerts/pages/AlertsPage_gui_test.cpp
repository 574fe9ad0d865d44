#include "AlertsPageTestSupport.h"
#include "FileDialogPick.h"

#include "alerts/AlertFile.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QHelpEvent>
#include <QToolTip>

namespace {

int AlertsInFile(const std::string &path) {
  AlertSystemClass store;
  LoadAlertFile(store, path);
  return store.Count();
}

TAlertRecord FirstInFile(const std::string &path) {
  AlertSystemClass store;
  LoadAlertFile(store, path);
  TAlertRecord copy;
  MyLockGuard guard(store.Lock, "TEST");
  if (store.CountLocked() > 0)
    copy.AssignFixed(*store.AlertAt(0));
  return copy;
}

} // namespace

// ---- The tree

TEST_F(AlertsPageTest, NoAlertsGiveAnEmptyTreeAndADisabledEditor) {
  TOPanAlerts *page = Open();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->ATree->topLevelItemCount(), 0);
  EXPECT_FALSE(page->GBAlert->isEnabled());
  EXPECT_EQ(page->EditAlert(), nullptr);
  page->Timer1Timer();
  EXPECT_FALSE(page->pbDelete->isEnabled());
  EXPECT_EQ(page->cmbType->count(), 4);
  EXPECT_EQ(page->cmbType->itemText(3).toStdString(), "Column Alert");
  EXPECT_EQ(page->cmbEmail->itemText(0).toStdString(), "--- No Email Alert ---");
}

TEST_F(AlertsPageTest, TheTreeListsAlertsBySymbol) {
  AddAlert("MSFT", AlertTypeHighPrice, 410);
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 98.5);
  AddAlert("IBM", AlertTypeNews, 2, 0);
  TOPanAlerts *page = Open();
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"IBM", "MSFT"}));
  QTreeWidgetItem *ibm = Root("IBM");
  ASSERT_NE(ibm, nullptr);
  EXPECT_TRUE(ibm->font(0).bold());
  EXPECT_TRUE(ibm->isExpanded());
  ASSERT_EQ(ibm->childCount(), 2);
  EXPECT_EQ(ibm->child(0)->text(0).toStdString(), "IBM: Low Last Price at 98.5");
  EXPECT_EQ(ibm->child(1)->text(0).toStdString(), "IBM: New News less than 2 hours old.");
  QTreeWidgetItem *node = AlertNode(low);
  EXPECT_FALSE(node->isExpanded()); // actions hidden, made when opened
  EXPECT_EQ(node->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  EXPECT_EQ(page->ATree->currentItem(), nullptr);
  ClickNode(node);
  QKeyEvent open(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(page->ATree, &open);
  EXPECT_TRUE(node->isExpanded());
  ASSERT_EQ(node->childCount(), 2);
  EXPECT_EQ(node->child(0)->text(0).toStdString(), "Highlight Stock Row");
  EXPECT_EQ(node->child(1)->text(0).toStdString(), "Pop-up an Alert Window");
  EXPECT_EQ(node->icon(0).pixmap(13).toImage(), TAlertTree::NodeImage(1).pixmap(13).toImage());
  // "*" opens a node with all below it.
  QTreeWidgetItem *msft = Root("MSFT");
  ClickNode(msft);
  QKeyEvent all(QEvent::KeyPress, Qt::Key_Asterisk, Qt::NoModifier, QStringLiteral("*"));
  QApplication::sendEvent(page->ATree, &all);
  ASSERT_EQ(msft->childCount(), 1);
  EXPECT_TRUE(msft->child(0)->isExpanded());
  EXPECT_EQ(msft->child(0)->childCount(), 2);
}

TEST_F(AlertsPageTest, ChoosingAnAlertShowsIt) {
  StoreLast("IBM", 100);
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 98.5, 2.0, 1.0);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  ASSERT_NE(page->EditAlert(), nullptr);
  EXPECT_EQ(page->EditAlert()->ID, id);
  EXPECT_TRUE(page->GBAlert->isEnabled());
  EXPECT_EQ(page->dfSymbol->text().toStdString(), "IBM");
  EXPECT_TRUE(page->dfSymbol->isReadOnly());
  EXPECT_EQ(page->cmbType->currentIndex(), AlertTypeLowPrice);
  EXPECT_EQ(FieldText(1001), "98.5");
  EXPECT_EQ(FieldText(1003), "1"); // Bid
  EXPECT_EQ(FieldText(1005), "0"); // any time
  EXPECT_TRUE(page->cbPop->isChecked());
  EXPECT_TRUE(page->cbHigh->isChecked());
  EXPECT_FALSE(page->cbFlash->isChecked());
  EXPECT_EQ(page->pbSaveIt->text().toStdString(), "&Save Alert");
  EXPECT_EQ(page->pbCancel->text().toStdString(), "&Cancel Changes");
  page->Timer1Timer();
  EXPECT_FALSE(page->pbSaveIt->isEnabled());
  EXPECT_FALSE(page->pbCancel->isEnabled());
  EXPECT_TRUE(page->pbDelete->isEnabled());
}

TEST_F(AlertsPageTest, ClickingAnActionNodeChoosesItsAlert) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  QTreeWidgetItem *node = AlertNode(id);
  node->setExpanded(true);
  ClickNode(node->child(0));
  EXPECT_EQ(page->ATree->currentItem(), node);
  ASSERT_NE(page->EditAlert(), nullptr);
  EXPECT_EQ(page->EditAlert()->ID, id);
}

TEST_F(AlertsPageTest, ASymbolNodeShowsNoAlert) {
  AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(Root("IBM"));
  EXPECT_EQ(page->EditAlert(), nullptr);
  EXPECT_FALSE(page->GBAlert->isEnabled());
}

// ---- Editing

TEST_F(AlertsPageTest, AnEditReachesTheStoreWhenSaved) {
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 98.5);
  {
    MyLockGuard guard(AlertSystem().Lock, "TEST");
    TAlertRecord *a = AlertSystem().FindByID(id);
    a->ActiveActions.Include(ActionPopup);
    a->ActivationTimes[ActionPopup] = 45300.5;
    a->LastAlertTime = 45300.5;
    a->TickIndex = 12;
  }
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  page->cbFlash->click();
  Retype(FieldEdit(1001), "97.25");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 97.25);
  EXPECT_DOUBLE_EQ(Stored(id).P1, 98.5); // not before saving
  page->Timer1Timer();
  EXPECT_TRUE(page->pbSaveIt->isEnabled());
  EXPECT_TRUE(page->pbCancel->isEnabled());

  page->pbSaveIt->click();
  const TAlertRecord stored = Stored(id);
  EXPECT_DOUBLE_EQ(stored.P1, 97.25);
  EXPECT_TRUE(stored.Actions.Contains(ActionFlashWindow));
  EXPECT_TRUE(stored.ActiveActions.Empty()); // turned off
  EXPECT_DOUBLE_EQ(stored.LastAlertTime, 0); // may trigger again at once
  EXPECT_DOUBLE_EQ(stored.ActivationTimes[ActionPopup], 0);
  EXPECT_EQ(stored.TickIndex, 12); // run-time position kept
  QTreeWidgetItem *node = AlertNode(id);
  EXPECT_EQ(node->text(0).toStdString(), "IBM: Low Last Price at 97.25");
  node->setExpanded(true);
  EXPECT_EQ(node->childCount(), 3);
  page->Timer1Timer();
  EXPECT_FALSE(page->pbSaveIt->isEnabled());
}

TEST_F(AlertsPageTest, TypingThatFormsNoPriceLeavesTheAlert) {
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 98.5);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  Retype(FieldEdit(1001), "abc");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 98.5);
  Retype(FieldEdit(1001), "99 1/2");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 99.5);
}

TEST_F(AlertsPageTest, CancelChangesRestoresTheAlert) {
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 98.5);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  page->cbPop->click();
  Retype(FieldEdit(1001), "90");
  page->pbCancel->click();
  EXPECT_TRUE(page->cbPop->isChecked());
  EXPECT_EQ(FieldText(1001), "98.5");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 98.5);
  page->Timer1Timer();
  EXPECT_FALSE(page->pbSaveIt->isEnabled());
  EXPECT_DOUBLE_EQ(Stored(id).P1, 98.5);
}

TEST_F(AlertsPageTest, TheEnabledBoxDisablesTheAlert) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  EXPECT_TRUE(page->cbEnabled->isChecked());
  page->cbEnabled->click();
  page->pbSaveIt->click();
  EXPECT_FALSE(Stored(id).Enabled);
  EXPECT_EQ(AlertNode(id)->icon(0).pixmap(13).toImage(),
            TAlertTree::NodeImage(2).pixmap(13).toImage());
  page->cbEnabled->click();
  page->pbSaveIt->click();
  EXPECT_TRUE(Stored(id).Enabled);
}

TEST_F(AlertsPageTest, ChangingTheSelectionAsksToSaveAnEdit) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  const std::string b = AddAlert("MSFT", AlertTypeHighPrice, 410);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(a));
  page->cbFlash->click();
  prompt.PushAnswer(mrCancel);
  ClickNode(AlertNode(b));
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  const PromptQuestion q = prompt.Questions()[0];
  EXPECT_EQ(q.text, "The alert you are editing has not been saved. Save it?");
  EXPECT_EQ(q.caption, "Save Alert");
  EXPECT_EQ(q.buttons, mbYesNoCancel);
  EXPECT_EQ(q.icon, mtWarning);
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(a)); // refused: the selection stays

  prompt.PushAnswer(mrYes);
  ClickNode(AlertNode(b));
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(b));
  EXPECT_TRUE(Stored(a).Actions.Contains(ActionFlashWindow));
  EXPECT_EQ(page->EditAlert()->ID, b);
}

TEST_F(AlertsPageTest, AutoSaveSavesWithoutAsking) {
  TAlertDefaults defaults;
  defaults.AutoSave = true;
  SetAlertDefaults(defaults);
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(a));
  page->cbFlash->click();
  ASSERT_TRUE(dlg->SelectPageNumber(OtherPageNumber));
  EXPECT_EQ(prompt.QuestionCount(), 0u);
  EXPECT_TRUE(Stored(a).Actions.Contains(ActionFlashWindow));
}

// ---- New alerts

TEST_F(AlertsPageTest, ANewAlertIsCreatedThroughTheControls) {
  StoreLast("IBM", 101.5);
  TOPanAlerts *page = Open();
  page->pbNewAlert->click();
  ASSERT_TRUE(page->NewAlertMode());
  ASSERT_NE(page->PlaceholderNode(), nullptr);
  EXPECT_EQ(page->PlaceholderNode()->text(0).toStdString(), "NEW ALERT");
  EXPECT_EQ(page->ATree->currentItem(), page->PlaceholderNode());
  EXPECT_FALSE(page->dfSymbol->isReadOnly());
  EXPECT_EQ(page->dfSymbol->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_EQ(page->pbSaveIt->text().toStdString(), "&Save New Alert");
  EXPECT_EQ(page->pbCancel->text().toStdString(), "&Cancel New Alert");
  EXPECT_EQ(FieldText(1001), "0");

  Type(page->dfSymbol, "ibm");
  emit page->dfSymbol->editingFinished();
  EXPECT_EQ(FieldText(1001), "101.5"); // the symbol's last price
  page->pbSaveIt->click();

  ASSERT_EQ(AlertSystem().Count(), 1);
  const std::string id = AlertSystem().AlertIDs()[0];
  const TAlertRecord stored = Stored(id);
  EXPECT_EQ(stored.Symbol, "IBM");
  EXPECT_EQ(stored.AlertType, AlertTypeLowPrice);
  EXPECT_DOUBLE_EQ(stored.P1, 101.5);
  EXPECT_DOUBLE_EQ(stored.P2, 1.0);
  EXPECT_DOUBLE_EQ(stored.P3, 0);
  EXPECT_TRUE(stored.Actions.Contains(ActionPopup)); // the alert defaults
  EXPECT_TRUE(stored.Actions.Contains(ActionFlashWindow));
  EXPECT_TRUE(stored.Actions.Contains(ActionHighlightRow));
  EXPECT_FALSE(page->NewAlertMode());
  EXPECT_EQ(page->PlaceholderNode(), nullptr);
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"IBM"}));
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(id));
  EXPECT_EQ(page->pbSaveIt->text().toStdString(), "&Save Alert");
  EXPECT_TRUE(page->dfSymbol->isReadOnly());
}

TEST_F(AlertsPageTest, NewTakesTheSymbolShown) {
  StoreLast("MSFT", 410);
  const std::string id = AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  page->pbNewAlert->click();
  EXPECT_EQ(page->dfSymbol->text().toStdString(), "MSFT");
  EXPECT_EQ(FieldText(1001), "410");
}

TEST_F(AlertsPageTest, SavingAnAlertEqualToAStoredOneChoosesTheStoredOne) {
  StoreLast("IBM", 101.5);
  TOPanAlerts *page = Open();
  for (int i = 0; i < 2; ++i) {
    page->pbNewAlert->click();
    page->dfSymbol->setText("IBM");
    emit page->dfSymbol->editingFinished();
    page->pbSaveIt->click();
  }
  ASSERT_EQ(AlertSystem().Count(), 1);
  const std::string id = AlertSystem().AlertIDs()[0];
  EXPECT_EQ(Root("IBM")->childCount(), 1);
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(id));
  EXPECT_EQ(page->PlaceholderNode(), nullptr);
}

TEST_F(AlertsPageTest, AnUntouchedNewAlertWithoutSymbolGoesWithoutAQuestion) {
  TOPanAlerts *page = Open();
  page->pbNewAlert->click();
  ASSERT_TRUE(page->NewAlertMode());
  ASSERT_TRUE(dlg->SelectPageNumber(OtherPageNumber));
  EXPECT_EQ(prompt.QuestionCount(), 0u);
  EXPECT_EQ(AlertSystem().Count(), 0);
}

TEST_F(AlertsPageTest, ATouchedNewAlertWithoutSymbolAsks) {
  TOPanAlerts *page = Open();
  page->pbNewAlert->click();
  Choose(page->cmbType, AlertTypeNews);
  EXPECT_EQ(FieldText(1001), "2");
  prompt.PushAnswer(mrCancel);
  EXPECT_FALSE(dlg->SelectPageNumber(OtherPageNumber));
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text, "You have not finished entering the new alert. Remove it?");
  EXPECT_EQ(prompt.Questions()[0].caption, "Editing New Alert");
  EXPECT_EQ(dlg->CurrentPage(), page); // the tab stays
  EXPECT_EQ(dlg->CurrentPageNumber(), PrefPageAlerts);
  EXPECT_TRUE(page->NewAlertMode());

  prompt.PushAnswer(mrYes);
  EXPECT_TRUE(dlg->SelectPageNumber(OtherPageNumber));
  EXPECT_EQ(AlertSystem().Count(), 0);
}

TEST_F(AlertsPageTest, CancelNewAlertDropsIt) {
  TOPanAlerts *page = Open();
  page->pbNewAlert->click();
  page->dfSymbol->setText("IBM");
  page->pbCancel->click();
  EXPECT_FALSE(page->NewAlertMode());
  EXPECT_EQ(page->PlaceholderNode(), nullptr);
  EXPECT_EQ(page->ATree->topLevelItemCount(), 0);
  EXPECT_FALSE(page->GBAlert->isEnabled());
  EXPECT_EQ(AlertSystem().Count(), 0);
}

// ---- Closing the page

TEST_F(AlertsPageTest, OKSavesAChangedAlertWithoutAskingAndWritesTheFile) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  page->cbFlash->click();
  dlg->pbOK->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(prompt.QuestionCount(), 0u);
  EXPECT_TRUE(Stored(id).Actions.Contains(ActionFlashWindow));
  const std::string file = ProgramFolder() + AlertFileName;
  EXPECT_EQ(AlertsInFile(file), 1);
  EXPECT_TRUE(FirstInFile(file).Actions.Contains(ActionFlashWindow));
}

TEST_F(AlertsPageTest, CancelAsksAboutAChangedAlert) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  page->cbFlash->click();
  prompt.PushAnswer(mrCancel);
  dlg->pbCancel->click();
  EXPECT_TRUE(dlg->isVisible()); // Cancel in the question keeps the dialog
  EXPECT_EQ(dlg->CurrentPage(), page);
  prompt.PushAnswer(mrNo);
  dlg->pbCancel->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(prompt.QuestionCount(), 2u);
  EXPECT_FALSE(Stored(id).Actions.Contains(ActionFlashWindow));
  EXPECT_EQ(AlertsInFile(ProgramFolder() + AlertFileName), 1); // written either way
}

TEST_F(AlertsPageTest, AFileThatCannotBeWrittenIsReported) {
  AddAlert("IBM", AlertTypeHighPrice, 120);
  Open();
  // A folder in the file's place: the file cannot be replaced.
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(ProgramFolder() + AlertFileName)));
  dlg->pbOK->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].icon, mtError);
  EXPECT_EQ(prompt.Questions()[0].caption, "Alerts");
  EXPECT_NE(prompt.Questions()[0].text.find("could not be saved"), std::string::npos);
  EXPECT_FALSE(dlg->isVisible());
}

// ---- Requests

TEST_F(AlertsPageTest, TheDialogOpensAtTheAlertsTabForARequest) {
  registry.Register(1, "First", [](QWidget *parent) { return new TOptionPage(parent); });
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  AlertEditRequest().Set("=" + id);
  TOPanAlerts *page = Open();
  ASSERT_NE(page, nullptr);
  page->Timer1Timer();
  EXPECT_TRUE(AlertEditRequest().Empty());
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(id));
  EXPECT_EQ(page->EditAlert()->ID, id);
}

TEST_F(AlertsPageTest, EditRequestsForASymbol) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  AddAlert("IBM", AlertTypeLowPrice, 90);
  const std::string m = AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  AlertEditRequest().Set("~MSFT");
  page->Timer1Timer();
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(m)); // its only alert
  AlertEditRequest().Set("~IBM");
  page->Timer1Timer();
  EXPECT_EQ(page->ATree->currentItem(), Root("IBM")); // several: the symbol
  EXPECT_EQ(page->EditAlert(), nullptr);
  AlertEditRequest().Set("=" + a);
  page->Timer1Timer();
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(a));
}

TEST_F(AlertsPageTest, ACreateRequestOpensANewAlertForTheSymbol) {
  StoreLast("AAPL", 150.25);
  TOPanAlerts *page = Open();
  AlertEditRequest().Set("!AAPL");
  page->Timer1Timer();
  EXPECT_TRUE(AlertEditRequest().Empty());
  ASSERT_TRUE(page->NewAlertMode());
  EXPECT_EQ(page->dfSymbol->text().toStdString(), "AAPL");
  EXPECT_EQ(page->EditAlert()->Symbol, "AAPL");
  EXPECT_EQ(FieldText(1001), "150.25");
}

TEST_F(AlertsPageTest, ACreateRequestRefusedLeavesTheEditedAlert) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  page->cbFlash->click();
  prompt.PushAnswer(mrCancel); // keep editing
  AlertEditRequest().Set("!AAPL");
  page->Timer1Timer();
  EXPECT_FALSE(page->NewAlertMode());
  EXPECT_EQ(page->dfSymbol->text().toStdString(), "IBM");
  EXPECT_EQ(page->EditAlert()->Symbol, "IBM");
}

// ---- Expanding and collapsing

TEST_F(AlertsPageTest, ExpandAndCollapseButtons) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(a));
  page->pbCollapse->click();
  EXPECT_FALSE(Root("IBM")->isExpanded());
  EXPECT_FALSE(Root("MSFT")->isExpanded());
  page->pbExpand->click();
  EXPECT_TRUE(AlertNode(a)->isExpanded());
  page->pbExpand1->click();
  EXPECT_TRUE(Root("IBM")->isExpanded());
  EXPECT_FALSE(AlertNode(a)->isExpanded());
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(a));
  EXPECT_EQ(prompt.QuestionCount(), 0u);
}

TEST_F(AlertsPageTest, ExpandingAnotherNodeChoosesIt) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  const std::string b = AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(a));
  page->ATree->expandItem(AlertNode(b));
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(b));
  EXPECT_EQ(page->EditAlert()->ID, b);
}

TEST_F(AlertsPageTest, AStoredLowerCaseSymbolIsNoChange) {
  const std::string id = AddAlert("ibm", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  emit page->dfSymbol->editingFinished();
  EXPECT_EQ(page->EditAlert()->Symbol, "ibm");
  page->Timer1Timer();
  EXPECT_FALSE(page->pbSaveIt->isEnabled());
}

// ---- Seen in use

TEST_F(AlertsPageTest, TheDisabledEditorIsSilverThroughoutAndTheWavePickerListsAnyFile) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 410);
  TOPanAlerts *page = Open();
  ASSERT_FALSE(page->GBAlert->isEnabled());
  const QColor silver(192, 192, 192);
  EXPECT_TRUE(page->ParamPan->autoFillBackground());
  EXPECT_EQ(page->ParamPan->palette().color(QPalette::Window), silver);
  EXPECT_EQ(page->panHigh->palette().color(QPalette::Window), silver);
  ASSERT_TRUE(page->ATree->SelectNode(AlertNode(id)));
  ASSERT_TRUE(page->GBAlert->isEnabled());
  EXPECT_FALSE(page->ParamPan->autoFillBackground());
  EXPECT_NE(page->ParamPan->palette().color(QPalette::Window), silver);
  const QString alarm = dir.filePath(QStringLiteral("alarm"));
  {
    QFile f(alarm);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF");
  }
  if (!page->cbAudio->isChecked())
    page->cbAudio->click();
  page->rbCustom->click();
  ASSERT_TRUE(page->pbWaveFile->isEnabled());
  PickInNextFileDialog(alarm);
  page->pbWaveFile->click();
  EXPECT_EQ(page->dfWaveFile->text(), alarm);
  // Wave files named without an extension can be picked too, as they are named.
  ASSERT_NE(page->dlgGetFile, nullptr);
  EXPECT_TRUE(page->dlgGetFile->nameFilters().contains(QStringLiteral("Any File (*)")));
  EXPECT_TRUE(page->dlgGetFile->nameFilters().contains(QStringLiteral("Any File (*.*)")));
}

TEST_F(AlertsPageTest, ADescriptionCutAtTheTreesEdgeShowsWholeAsATooltip) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 410);
  TOPanAlerts *page = Open();
  TAlertTree *tree = page->ATree;
  QTreeWidgetItem *node = AlertNode(id);
  ASSERT_NE(node, nullptr);
  EXPECT_TRUE(tree->TextFits(Root("IBM")));
  tree->setFixedWidth(90);
  QCoreApplication::processEvents();
  ASSERT_FALSE(tree->TextFits(node)) << tree->viewport()->width();
  const QPoint at = tree->visualItemRect(node).center();
  QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(tree->viewport(), &help);
  EXPECT_EQ(QToolTip::text(), node->text(0));
  EXPECT_TRUE(tree->TextFits(Root("IBM"))) << "a text that fits needs no tooltip";
  QToolTip::hideText();
}
