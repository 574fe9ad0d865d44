#include "NewsTestSupport.h"
#include "platform/StringGridTestEvents.h"

#include "alerts/news/NewsOptionsPage.h"
#include "alerts/news/RulesEditor.h"
#include "platform/StringGrid.h"
#include "prefs/PrefDialog.h"
#include "prefs/PrefPageRegistry.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {

class NewsOptionsTest : public NewsTest {
protected:
  void SetUp() override {
    NewsTest::SetUp();
    WriteSite("daily.NWS", "NAME=Daily Wire\n");
    WriteSite("alpha.NWS", "NAME=Alpha News\n");
    TDisplaySettings s;
    s.NewsSource = "daily.NWS";
    s.HighRefresh = 10;
    s.LowRefresh = 45;
    s.MaxItems = 30;
    s.FilterTitles = false;
    s.SingleClick = true;
    s.NewsOn = true;
    s.TwoPanes = false;
    s.HighPriority = "IBM MSFT";
    s.ExcludeRules = {"S:Wire", "T:IPO"};
    SetDisplaySettings(s);
    BeginPendingDisplaySettings();
  }

  void WriteSite(const char *name, const char *text) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }

  // Runs action on the modal dialog that opens next.
  static void OnNextModal(std::function<void(QWidget *)> action) {
    QTimer::singleShot(0, [action] {
      QWidget *modal = nullptr;
      ProcessEventsUntil([&] { return (modal = QApplication::activeModalWidget()) != nullptr; });
      action(modal);
    });
  }

  TOPanNews page;
};

TEST_F(NewsOptionsTest, ShowsThePendingSettings) {
  page.FormShow();
  ASSERT_EQ(page.cmbSources->count(), 2);
  EXPECT_EQ(page.cmbSources->itemText(0), QStringLiteral("Alpha News"));
  EXPECT_EQ(page.cmbSources->itemText(1), QStringLiteral("Daily Wire"));
  EXPECT_EQ(page.cmbSources->currentIndex(), 1);
  EXPECT_EQ(page.dfRefresh->text(), QStringLiteral("10"));
  EXPECT_EQ(page.dfLowRefresh->text(), QStringLiteral("45"));
  EXPECT_EQ(page.dfMax->text(), QStringLiteral("30"));
  EXPECT_EQ(page.dfMax->maxLength(), 3);
  EXPECT_FALSE(page.cbFilterTitles->isChecked());
  EXPECT_TRUE(page.rbSingle->isChecked());
  EXPECT_FALSE(page.rbDouble->isChecked());
  EXPECT_TRUE(page.cbOn->isChecked());
  EXPECT_FALSE(page.spTwo->isChecked());
  EXPECT_TRUE(page.spThree->isChecked());
  EXPECT_TRUE(page.spThree->isEnabled());
  EXPECT_EQ(page.memHigh->toPlainText(), QStringLiteral("IBM MSFT"));
  EXPECT_EQ(page.memExclude->toPlainText(), QStringLiteral("S:Wire\nT:IPO"));
  EXPECT_TRUE(page.memExclude->isReadOnly());
}

TEST_F(NewsOptionsTest, SettingsRoundTripThroughTheSettingsFile) {
  page.FormShow();
  page.cmbSources->setCurrentIndex(0);
  page.dfRefresh->setText("5");
  page.dfLowRefresh->setText("120");
  page.dfMax->setText("99");
  page.cbFilterTitles->setChecked(true);
  page.rbDouble->setChecked(true);
  page.cbOn->setChecked(false);
  page.spTwo->click();
  page.memHigh->setPlainText("aapl, t/ge");
  page.memExclude->setPlainText("press release\n\ns:Ledger\n/promo/");
  page.FormClose();

  const TDisplaySettings &p = PendingDisplaySettings();
  EXPECT_EQ(p.NewsSource, "alpha.NWS");
  EXPECT_EQ(p.HighRefresh, 5);
  EXPECT_EQ(p.LowRefresh, 120);
  EXPECT_EQ(p.MaxItems, 99);
  EXPECT_TRUE(p.FilterTitles);
  EXPECT_FALSE(p.SingleClick);
  EXPECT_FALSE(p.NewsOn);
  EXPECT_TRUE(p.TwoPanes);
  EXPECT_EQ(p.HighPriority, "AAPL T GE");
  EXPECT_EQ(p.ExcludeRules, (std::vector<std::string>{"T:Press release", "S:Ledger", "U:/promo/"}));
  EXPECT_EQ(CurrentDisplaySettings().MaxItems, 30) << "the live record waits for OK";

  ApplyPendingDisplaySettings();
  ASSERT_TRUE(WriteDisplaySettings(SettingsFile(), CurrentDisplaySettings()));
  TMyIniFile &ini = SettingsFile();
  EXPECT_EQ(ini.ReadString("News", "Source", ""), "alpha.NWS");
  EXPECT_EQ(ini.ReadString("News", "Refresh", ""), "5");
  EXPECT_EQ(ini.ReadString("News", "LowRefresh", ""), "120");
  EXPECT_EQ(ini.ReadString("News", "MaxItems", ""), "99");
  EXPECT_EQ(ini.ReadString("News", "HighPriority", ""), "AAPL T GE");
  EXPECT_EQ(ini.ReadString("ExNews", "Rule3", ""), "U:/promo/");
  const TDisplaySettings back = ReadDisplaySettings(ini);
  EXPECT_EQ(back.ExcludeRules, p.ExcludeRules);
  EXPECT_EQ(back.TwoPanes, true);
  EXPECT_EQ(back.SingleClick, false);

  // The page shows what was stored.
  BeginPendingDisplaySettings();
  TOPanNews again;
  again.FormShow();
  EXPECT_EQ(again.cmbSources->currentText(), QStringLiteral("Alpha News"));
  EXPECT_TRUE(again.spTwo->isChecked());
  EXPECT_TRUE(again.rbDouble->isChecked());
}

TEST_F(NewsOptionsTest, NumberThatIsNoIntegerIsReportedAndKeepsTheOldValue) {
  page.FormShow();
  page.dfMax->setText("1x");
  page.dfRefreshExit(page.dfMax);
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions().front().text, "'1x' is not a valid integer value");
  EXPECT_EQ(prompt.Questions().front().icon, mtError);
  page.dfRefresh->setText("7");
  page.dfRefreshExit(page.dfRefresh);
  EXPECT_EQ(prompt.QuestionCount(), 1u);
  page.FormClose();
  EXPECT_EQ(PendingDisplaySettings().MaxItems, 30);
  EXPECT_EQ(PendingDisplaySettings().HighRefresh, 7);
}

TEST_F(NewsOptionsTest, LeavingTheMemosTidiesThem) {
  page.FormShow();
  page.memHigh->setPlainText("ibm, msft/csco");
  page.memHighExit();
  EXPECT_EQ(page.memHigh->toPlainText(), QStringLiteral("IBM MSFT CSCO"));
  page.memExclude->setPlainText("stock exchange\n/press/\ns:Wire\nT:a#b");
  page.memExcludeExit();
  EXPECT_EQ(page.memExclude->toPlainText(),
            QStringLiteral("T:Stock exchange\nU:/press/\nS:Wire\nT:a?b"));
}

TEST_F(NewsOptionsTest, WithoutABrowserTwoPanesAreForced) {
  SetEmbeddedBrowserFactory({});
  page.FormShow();
  EXPECT_TRUE(page.spTwo->isChecked());
  EXPECT_FALSE(page.spThree->isEnabled());
  page.FormClose();
  EXPECT_TRUE(PendingDisplaySettings().TwoPanes);
}

// The engine's page process is missing: before any news window was opened,
// the page already offers Two Panes only, as the window then shows.
TEST_F(NewsOptionsTest, AnEngineThatCannotStartIsKnownBeforeTheFirstWindow) {
  if (!WebEngineBrowserBuilt())
    GTEST_SKIP() << "built without the WebEngine browser";
  const QByteArray oldPath = qgetenv("QTWEBENGINE_PROCESS_PATH");
  qputenv("QTWEBENGINE_PROCESS_PATH", dir.filePath(QStringLiteral("missing")).toUtf8());
  const bool installed = UseWebEngineBrowser(dir.filePath(QStringLiteral("browser")).toStdString());
  if (oldPath.isEmpty())
    qunsetenv("QTWEBENGINE_PROCESS_PATH");
  else
    qputenv("QTWEBENGINE_PROCESS_PATH", oldPath);
  EXPECT_FALSE(installed);
  page.FormShow();
  EXPECT_TRUE(page.spTwo->isChecked());
  EXPECT_FALSE(page.spThree->isEnabled());
  TfrmNews window;
  EXPECT_TRUE(window.TwoPaneMode());
}

TEST_F(NewsOptionsTest, MissingSourceFileKeepsTheSetting) {
  PendingDisplaySettings().NewsSource = "gone.NWS";
  page.FormShow();
  EXPECT_EQ(page.cmbSources->currentIndex(), -1);
  page.FormClose();
  EXPECT_EQ(PendingDisplaySettings().NewsSource, "gone.NWS");
}

TEST_F(NewsOptionsTest, EditTheRulesPutsTheEditorsRulesBack) {
  page.FormShow();
  OnNextModal([](QWidget *modal) {
    auto *editor = qobject_cast<TRulesEditor *>(modal);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("News Filtering Rules Editor"));
    editor->pbAdd->click();
    editor->dfRule->setText("merger");
    editor->pbOK->click();
  });
  page.Button1->click();
  EXPECT_EQ(page.memExclude->toPlainText(),
            QStringLiteral("S:Wire\r\nT:merger\r\nT:IPO")
                .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

TEST_F(NewsOptionsTest, CancelInTheEditorLeavesTheRules) {
  page.FormShow();
  OnNextModal([](QWidget *modal) {
    auto *editor = qobject_cast<TRulesEditor *>(modal);
    ASSERT_NE(editor, nullptr);
    editor->dfRule->setText("changed");
    editor->pbCancel->click();
  });
  page.Button1->click();
  EXPECT_EQ(page.memExclude->toPlainText(), QStringLiteral("S:Wire\nT:IPO"));
}

TEST_F(NewsOptionsTest, RulesEditorControls) {
  TRulesEditor editor;
  editor.RulesText = "S:Wire\r\nT:IPO\r\nU:/promo/";
  editor.show();
  TStringGrid *grid = editor.tbRules;
  ASSERT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Cells(1, 0), "What");
  EXPECT_EQ(grid->Cells(2, 0), "Filter Expression");
  EXPECT_EQ(grid->Cells(1, 3), "URL");
  EXPECT_EQ(grid->Cells(2, 3), "/promo/");
  EXPECT_EQ(editor.cmbWhich->currentText(), QStringLiteral("Source"));
  EXPECT_EQ(editor.dfRule->text(), QStringLiteral("Wire"));
  EXPECT_FALSE(editor.pbSave->isEnabled());
  EXPECT_FALSE(editor.pbCancelChanges->isEnabled());
  EXPECT_TRUE(editor.pbDeleteRule->isEnabled());
  // The expression column fills the grid without needing a horizontal scroll bar.
  const int widths =
      grid->ColWidths(0) + grid->ColWidths(1) + grid->ColWidths(2) + 3 * grid->GridLineWidth();
  EXPECT_LE(widths, grid->viewport()->width());
  EXPECT_GE(widths, grid->viewport()->width() - 4);

  editor.dfRule->setText("Wire$");
  EXPECT_TRUE(editor.pbSave->isEnabled());
  editor.pbSave->click();
  EXPECT_EQ(grid->Cells(2, 1), "Wire?");
  EXPECT_FALSE(editor.pbSave->isEnabled());

  grid->SetRow(2);
  editor.tbRulesClick();
  EXPECT_EQ(editor.dfRule->text(), QStringLiteral("IPO"));
  prompt.PushAnswer(mrYes);
  editor.pbDeleteRule->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions().front().text,
            "You're about to delete the highlighted news filtering rule - are you sure you want "
            "to do that?");
  EXPECT_EQ(prompt.Questions().front().caption, "Delete Rule");
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(editor.dfRule->text(), QStringLiteral("/promo/"));
  editor.pbOK->click();
  EXPECT_EQ(editor.RulesText, "S:Wire?\r\nU:/promo/");
}

// The rules grid allows row moving: a rule dragged by its row head, or moved
// with Ctrl+Up and Ctrl+Down, keeps its place in the rules given back.
TEST_F(NewsOptionsTest, RulesMoveByTheirRowHead) {
  TRulesEditor editor;
  editor.RulesText = "S:Wire\r\nT:IPO\r\nU:/promo/";
  editor.show();
  TStringGrid *grid = editor.tbRules;
  QWidget *view = grid->viewport();
  auto centre = [&](int col, int row) {
    const TRect r = grid->CellRect(col, row);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  };
  gridtest::Press(view, centre(0, 3));
  gridtest::Move(view, centre(0, 2), Qt::LeftButton);
  gridtest::Release(view, centre(0, 1));
  EXPECT_EQ(grid->Cells(1, 1), "URL");
  EXPECT_EQ(grid->Cells(2, 2), "Wire");
  EXPECT_EQ(grid->Cells(2, 3), "IPO");
  EXPECT_EQ(editor.dfRule->text(), QStringLiteral("/promo/")) << "the moved rule is selected";

  gridtest::Key(grid, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(grid->Cells(2, 1), "Wire");
  EXPECT_EQ(grid->Cells(2, 2), "/promo/");
  gridtest::Key(grid, Qt::Key_Down, Qt::ControlModifier);
  gridtest::Key(grid, Qt::Key_Down, Qt::ControlModifier); // already last: stays
  editor.pbOK->click();
  EXPECT_EQ(editor.RulesText, "S:Wire\r\nT:IPO\r\nU:/promo/");
}

TEST_F(NewsOptionsTest, RegisteredAsPageNine) {
  RegisterNewsPage();
  const PrefPageEntry *entry = PrefPageRegistry().Find(PrefPageNews);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Caption, "News");
  std::unique_ptr<TOptionPage> made(entry->Create(nullptr));
  EXPECT_NE(dynamic_cast<TOPanNews *>(made.get()), nullptr);
  PrefPageRegistry().Unregister(PrefPageNews);
}

TEST_F(NewsOptionsTest, OkInThePreferencesDialogStoresTheNewsSettings) {
  TPrefPageRegistry registry;
  registry.Register(PrefPageNews, "News", [](QWidget *parent) { return new TOPanNews(parent); });
  TdlgPref dialog(nullptr, registry);
  PrefGoToPage = true;
  PrefPageNumber = PrefPageNews;
  OnNextModal([&dialog](QWidget *) {
    auto *page = qobject_cast<TOPanNews *>(dialog.CurrentPage());
    ASSERT_NE(page, nullptr);
    page->dfMax->setText("25");
    page->memHigh->setPlainText("ge,f");
    dialog.pbOK->click();
  });
  dialog.Execute();
  EXPECT_EQ(SettingsFile().ReadString("News", "MaxItems", ""), "25");
  EXPECT_EQ(SettingsFile().ReadString("News", "HighPriority", ""), "GE F");
  EXPECT_EQ(CurrentDisplaySettings().MaxItems, 25);
}

TEST_F(NewsOptionsTest, PicturesOfThePageAndTheEditor) {
  page.resize(TdlgPref::PageWidth, TdlgPref::PageHeight);
  page.FormShow();
  page.show();
  ASSERT_TRUE(page.grab().toImage().save(
      QString::fromStdString(TestArtifactPath("news_options_page.png"))));
  TRulesEditor editor;
  editor.RulesText = "S:Wire\r\nT:IPO\r\nU:*/promo/*";
  editor.show();
  editor.dfRule->setText("Wire service");
  QCoreApplication::processEvents(); // scroll bars show or hide on the next event
  ASSERT_TRUE(editor.grab().toImage().save(
      QString::fromStdString(TestArtifactPath("news_rules_editor.png"))));
}

} // namespace
