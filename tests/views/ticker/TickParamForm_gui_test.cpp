#include "views/ticker/TickParamForm.h"

#include "TickerTestSupport.h"
#include "acquisition/QuoteIntake.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"
#include "core/NewsStore.h"
#include "core/Portfolio.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Prompt.h"
#include "platform/RecordingCanvas.h"
#include "support/TestPaths.h"
#include "views/ticker/TickColorPopup.h"
#include "views/ticker/TickControls.h"
#include "views/ticker/TickerForm.h"
#include "views/ticker/TickerQuotes.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class TickerGuiTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetTickerState();
    oldSettings = SettingsFile().FileName();
    SettingsFile().SetFileName(dir.path().toStdString() + "/BOURSE.INI");
    oldIndices = IndexSymbolsText();
    SetIndexSymbolsText("^DJI ^IXIC");
    SetDisplaySettings(TDisplaySettings());
    ResetStockStore();
    ClearUpdatedSymbolSets();
    PortfolioList.Clear();
    PortfolioList.Add("Growth", "PORT1", {Pos("IBM"), Pos("-"), Pos("MSFT"), Pos("$CASH")});
    PortfolioList.Add("Income", "PORT2", {Pos("KO"), Pos("IBM")});
    SetAppPrompt(&prompt);
    QDir().mkpath(QString::fromStdString(TestArtifactPath("")));
  }
  void TearDown() override {
    SetAppPrompt(nullptr);
    PortfolioList.Clear();
    ResetStockStore();
    ClearUpdatedSymbolSets();
    SetIndexSymbolsText(oldIndices);
    SettingsFile().SetFileName(oldSettings);
    ResetTickerState();
  }

  static PortPosition Pos(const std::string &symbol) {
    PortPosition p;
    p.Symbol = symbol;
    p.Quantity = 10;
    return p;
  }

  static void Quote(const std::string &symbol, double last, double prevClose) {
    QuoteFields q;
    q.Last = last;
    q.Bid = last;
    q.Ask = last;
    q.PrevClose = prevClose;
    q.QuoteTime = (12 * 3600 + 5 * 60 + 4) / 86400.0;
    q.DayStamp = 45301;
    StoreQuote(symbol, q);
  }

  std::string IniText() const {
    QFile f(dir.path() + "/BOURSE.INI");
    if (!f.open(QIODevice::ReadOnly))
      return {};
    return f.readAll().toStdString();
  }

  static void SavePng(QWidget &w, const std::string &name) {
    EXPECT_TRUE(w.grab().save(QString::fromStdString(TestArtifactPath(name))));
  }

  QTemporaryDir dir;
  std::string oldSettings;
  std::string oldIndices;
  FakePrompt prompt;
};

TEST_F(TickerGuiTest, DialogShowsTheLiveParameters) {
  TTickParams p;
  p.Speed = 3;
  p.Sep = 9;
  p.ShowTime = true;
  p.PortfoliosToShow = {"indx", "PORT2"};
  p.ExSymbols = "XOM ";
  p.Elements[teBackground].Colour = clNavy;
  p.Elements[teSymbol].Colour = clAqua;
  SetLiveTickParams(p);

  TfrmTickParam dlg(nullptr);
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "Ticker Configuration Parameters");
  EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(dlg.TickSpeed->value(), 3);
  EXPECT_EQ(dlg.TickSpeed->minimum(), -10);
  EXPECT_EQ(dlg.TickSpeed->maximum(), 10);
  EXPECT_EQ(dlg.dfSep->text(), "9");
  EXPECT_EQ(dlg.UpDown1->Position(), 9);
  EXPECT_TRUE(dlg.cbShowTime->isChecked());
  EXPECT_EQ(dlg.AddSymbols->toPlainText(), "XOM ");
  ASSERT_EQ(dlg.PortListBox->count(), 3);
  EXPECT_EQ(dlg.PortListBox->item(0)->text(), "***Indices***");
  EXPECT_EQ(dlg.PortListBox->item(1)->text(), "Growth");
  EXPECT_EQ(dlg.PortListBox->item(2)->text(), "Income");
  EXPECT_EQ(dlg.PortListBox->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(dlg.PortListBox->item(1)->checkState(), Qt::Unchecked);
  EXPECT_EQ(dlg.PortListBox->item(2)->checkState(), Qt::Checked);
  EXPECT_EQ(dlg.PortKeys(), (std::vector<std::string>{"INDX", "PORT1", "PORT2"}));
  EXPECT_EQ(dlg.colBack->Color(), clNavy);
  EXPECT_EQ(dlg.colSymb->Color(), clAqua);
  EXPECT_EQ(dlg.Panel4->Color(), clLime);
  EXPECT_TRUE(dlg.PreviewPending());

  dlg.Timer1Timer();
  EXPECT_FALSE(dlg.PreviewPending());
  const QImage preview = dlg.Image1->pixmap().toImage();
  ASSERT_FALSE(preview.isNull());
  EXPECT_EQ(preview.pixelColor(0, 0), QColor(0, 0, 128)) << "filled with the background";
  SavePng(dlg, "ticker_dialog.png");
  EXPECT_TRUE(preview.save(QString::fromStdString(TestArtifactPath("ticker_preview.png"))));
}

TEST_F(TickerGuiTest, ControlsCarryTheirNamesAndTags) {
  TfrmTickParam dlg(nullptr);
  for (const char *name :
       {"PortListBox",  "AddSymbols",   "TickSpeed",    "colBack",      "colSymb",
        "colTime",      "Panel1",       "Panel2",       "Panel3",       "Panel4",
        "SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5",
        "SpeedButton6", "SpeedButton7", "Button2",      "Button3",      "Button4",
        "Button5",      "dfSep",        "UpDown1",      "cbShowTime",   "Image1",
        "GroupBox3",    "BitBtn1",      "BitBtn2",      "Timer1",       "FontDlg"})
    EXPECT_TRUE(dlg.findChild<QObject *>(name)) << name;
  struct Row {
    QWidget *w;
    int tag;
  };
  const Row rows[] = {{dlg.colBack, 1},      {dlg.colSymb, 2},      {dlg.colTime, 3},
                      {dlg.Panel1, 4},       {dlg.Panel2, 5},       {dlg.Panel3, 6},
                      {dlg.Panel4, 7},       {dlg.SpeedButton4, 1}, {dlg.SpeedButton1, 2},
                      {dlg.SpeedButton2, 3}, {dlg.SpeedButton3, 4}, {dlg.SpeedButton5, 5},
                      {dlg.SpeedButton6, 6}, {dlg.SpeedButton7, 7}, {dlg.Button2, 2},
                      {dlg.Button3, 3},      {dlg.Button4, 4},      {dlg.Button5, 6}};
  for (const Row &r : rows)
    EXPECT_EQ(r.w->property("Tag").toInt(), r.tag) << r.w->objectName().toStdString();
  EXPECT_EQ(dlg.dfSep->maxLength(), 2);
  EXPECT_EQ(dlg.UpDown1->Min(), 0);
  EXPECT_EQ(dlg.UpDown1->Max(), 40);
  EXPECT_EQ(dlg.Timer1->interval(), 200);
  EXPECT_EQ(dlg.cbShowTime->text(), "Show Time");
}

TEST_F(TickerGuiTest, ChosenColourReachesPanelAndWorkingCopyOnly) {
  TfrmTickParam dlg(nullptr);
  dlg.show();
  dlg.SpeedButton1->click(); // the arrow of the symbol colour
  EXPECT_EQ(dlg.CurrentPanel(), dlg.colSymb);
  QColorDialog *chooser = dlg.ColorPopup()->Dialog();
  ASSERT_TRUE(chooser->isVisible());
  EXPECT_EQ(chooser->currentColor(), QColor(255, 255, 0)) << "starts at the panel's colour";
  chooser->setCurrentColor(QColor(255, 0, 0));
  chooser->accept();
  dlg.Timer1Timer();
  EXPECT_EQ(dlg.colSymb->Color(), clRed);
  EXPECT_EQ(dlg.Working().Elements[teSymbol].Colour, clRed);
  EXPECT_EQ(WorkingTickSet().Elements[teSymbol].Colour, clRed);
  EXPECT_EQ(LiveTickParams().Elements[teSymbol].Colour, clYellow);
}

TEST_F(TickerGuiTest, FontOfTheFallingChangeAlsoSetsTheRisingOne) {
  TfrmTickParam dlg(nullptr);
  dlg.show();
  dlg.Button4->click();
  EXPECT_EQ(dlg.FontElement(), teChangeDown);
  ASSERT_TRUE(dlg.FontDlg->isVisible());
  QFont font(QStringLiteral("Liberation Serif"));
  font.setPointSize(12);
  font.setBold(true);
  dlg.FontDlg->setCurrentFont(font);
  dlg.FontDlg->accept();
  for (int e : {teChangeDown, teChangeUp}) {
    const TTickElement &el = dlg.Working().Elements[e];
    EXPECT_EQ(el.FontName, "Liberation Serif") << e;
    EXPECT_EQ(el.FontSize, 12) << e;
    EXPECT_EQ(el.FontStyle, fsBold) << e;
  }
  EXPECT_EQ(dlg.Working().Elements[tePriceDown].FontSize, 8) << "the price pair untouched";

  // The Apply button of the font dialog for the price pair; sizes above 40 are cut.
  dlg.Button5->click();
  font.setPointSize(60);
  font.setBold(false);
  font.setItalic(true);
  dlg.FontDlg->setCurrentFont(font);
  auto *apply = dlg.FontDlg->findChild<QPushButton *>("FontDlgApply");
  ASSERT_TRUE(apply);
  apply->click();
  for (int e : {tePriceDown, tePriceUp}) {
    EXPECT_EQ(dlg.Working().Elements[e].FontSize, 40) << e;
    EXPECT_EQ(dlg.Working().Elements[e].FontStyle, fsItalic) << e;
  }
  dlg.FontDlg->reject();
}

TEST_F(TickerGuiTest, UnchangedFontFamilyKeepsItsClassicName) {
  TfrmTickParam dlg(nullptr);
  dlg.show();
  dlg.Button2->click();
  dlg.FontDlg->accept(); // as offered: the symbol's own font
  EXPECT_EQ(dlg.Working().Elements[teSymbol].FontName, "Arial");
  EXPECT_EQ(dlg.Working().Elements[teSymbol].FontSize, 10);
}

TEST_F(TickerGuiTest, SeparatorFieldAndUpDown) {
  TfrmTickParam dlg(nullptr);
  dlg.show();
  struct Row {
    const char *typed;
    const char *shown;
    int sep;
  };
  const Row rows[] = {{"0", "1", 1}, {"55", "40", 40}, {"12", "12", 12}};
  for (const Row &r : rows) {
    dlg.dfSep->setText(r.typed);
    EXPECT_TRUE(dlg.dfSepExit()) << r.typed;
    EXPECT_EQ(dlg.dfSep->text(), r.shown) << r.typed;
    EXPECT_EQ(dlg.UpDown1->Position(), r.sep) << r.typed;
    EXPECT_EQ(dlg.Working().Sep, r.sep) << r.typed;
  }

  // Not a number: an error, and the field shows the gap in use again.
  dlg.dfSep->setText("ab");
  EXPECT_FALSE(dlg.dfSepExit());
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text, "'ab' is not a valid integer value");
  EXPECT_EQ(prompt.Questions()[0].icon, mtError);
  EXPECT_EQ(dlg.dfSep->text(), "12");
  EXPECT_EQ(dlg.Working().Sep, 12);

  // The up-down alone reaches 0.
  dlg.dfSep->setText("1");
  dlg.dfSepExit();
  dlg.UpDown1->DownButton()->click();
  EXPECT_EQ(dlg.UpDown1->Position(), 0);
  EXPECT_EQ(dlg.dfSep->text(), "0");
  EXPECT_EQ(dlg.Working().Sep, 0);
  dlg.UpDown1->DownButton()->click();
  EXPECT_EQ(dlg.UpDown1->Position(), 0);
}

TEST_F(TickerGuiTest, ExtraSymbolsAreTidiedWhenLeft) {
  TfrmTickParam dlg(nullptr);
  dlg.show();
  dlg.AddSymbols->setPlainText("ibm,KO\n  XOM");
  dlg.AddSymbolsExit();
  EXPECT_EQ(dlg.AddSymbols->toPlainText(), "ibm KO XOM ");
  EXPECT_EQ(LiveTickParams().ExSymbols, "ibm KO XOM ");
}

TEST_F(TickerGuiTest, OkMakesTheChoicesLiveAndSavesThem) {
  TfrmTickParam dlg(nullptr);
  dlg.show();
  dlg.PortListBox->item(0)->setCheckState(Qt::Checked);
  dlg.PortListBox->item(1)->setCheckState(Qt::Checked);
  dlg.PortListBox->item(2)->setCheckState(Qt::Checked);
  dlg.AddSymbols->setPlainText("KO, T -- $X");
  dlg.TickSpeed->setValue(-6);
  dlg.cbShowTime->setChecked(true);
  dlg.dfSep->setText("15");
  dlg.dfSep->setModified(true); // typed, then OK pressed with Enter
  dlg.BitBtn1->click();

  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  const TTickParams live = LiveTickParams();
  EXPECT_EQ(live.Symbols, "|IBM|MSFT|KO|^DJI|^IXIC|T|");
  EXPECT_EQ(live.ExSymbols, "KO T -- $X ");
  EXPECT_EQ(live.Speed, -6);
  EXPECT_EQ(live.Sep, 15);
  EXPECT_TRUE(live.ShowTime);
  EXPECT_EQ(live.PortfoliosToShow, (std::vector<std::string>{"INDX", "PORT1", "PORT2"}));
  const std::string ini = IniText();
  EXPECT_NE(ini.find("Symbols=|IBM|MSFT|KO|^DJI|^IXIC|T|"), std::string::npos) << ini;
  EXPECT_NE(ini.find("PTOSHOW=INDX,PORT1,PORT2"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Sep=15"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Speed=-6"), std::string::npos) << ini;
}

TEST_F(TickerGuiTest, CheckedPortfolioFoundByKeyAfterTheListChanged) {
  TfrmTickParam dlg(nullptr);
  dlg.show();
  dlg.PortListBox->item(2)->setCheckState(Qt::Checked); // "Income", PORT2
  PortfolioList.Delete(1);                              // "Growth" went away meanwhile
  EXPECT_EQ(dlg.BuildTickerSymbols(), "|KO|IBM|");
  PortfolioList.Delete(1);
  EXPECT_EQ(dlg.BuildTickerSymbols(), "|");
}

TEST_F(TickerGuiTest, CancelKeepsTheLiveParameters) {
  TTickParams p;
  p.Speed = 4;
  p.Symbols = "|KO|";
  SetLiveTickParams(p);
  TfrmTickParam dlg(nullptr);
  dlg.show();
  dlg.TickSpeed->setValue(-9);
  dlg.colSymb->SetColor(clRed);
  dlg.BitBtn2->click();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(LiveTickParams(), p);
  EXPECT_EQ(IniText().find("[Ticker]"), std::string::npos);
}

TEST_F(TickerGuiTest, OffScreenDialogOpensFarAbove) {
  TfrmTickParam dlg(nullptr);
  dlg.OffScreen = true;
  dlg.show();
  EXPECT_EQ(dlg.y(), TfrmTickParam::OffScreenTop);
}

// ---- The ticker strip ----------------------------------------------------------------

TEST_F(TickerGuiTest, TickerShowsABoxPerSymbolAndScrolls) {
  Quote("IBM", 104.125, 105.375);
  Quote("MSFT", 114.75, 112.4375);
  Quote("KO", 61.5, 61.5);
  TDisplaySettings display;
  display.Fractions = true;
  SetDisplaySettings(display);
  IncomingNews news;
  news.Title = "Earnings";
  news.Source = "Wire";
  news.Date = 45301.5;
  AddNews("MSFT", news);
  SetNewNews("MSFT", true);

  TTickParams p;
  p.Symbols = "|IBM|MSFT|KO|";
  p.ShowTime = true;
  p.Sep = 12;
  p.Speed = -3;
  SetLiveTickParams(p);

  TfrmNewTick ticker;
  ticker.ScrollTimer->stop();
  ticker.RefreshTimer->stop();
  ticker.resize(520, ticker.height());
  EXPECT_EQ(ticker.Edge(), abeFloat);
  EXPECT_TRUE(ticker.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(ticker.windowFlags() & Qt::FramelessWindowHint);
  ASSERT_EQ(ticker.Symbols(), (std::vector<std::string>{"IBM", "MSFT", "KO"}));
  int maxHeight = 0, cycle = 0;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ticker.Box(i)) << i;
    maxHeight = std::max(maxHeight, ticker.Box(i)->Height());
    cycle += ticker.Box(i)->Width() + 12;
  }
  EXPECT_EQ(ticker.Height(), maxHeight);
  EXPECT_EQ(ticker.Tape().CycleLength(), cycle);
  EXPECT_EQ(ticker.Speed(), -3);
  EXPECT_EQ(ticker.Background(), clBlack);

  // The box matches one drawn from the same texts.
  TStockBoxInput in;
  in.Symbol = "MSFT";
  in.Price = "114 3/4";
  in.Change = "+2 5/16";
  in.Time = "12:05:04";
  in.ShowTime = true;
  in.Direction = "U";
  in.Mark = true;
  TRecordingCanvas canvas;
  const TStockBoxLayout b = MeasureStockBox(canvas, TTickElements(), in);
  EXPECT_EQ(ticker.Box(1)->Width(), b.Width);
  EXPECT_EQ(ticker.Box(1)->Height(), b.Height);

  const QImage strip = ticker.RenderStrip();
  EXPECT_TRUE(strip.save(QString::fromStdString(TestArtifactPath("ticker_strip.png"))));
  // Four times larger, to look at the fractions and arrows.
  EXPECT_TRUE(strip.copy(0, 0, 260, strip.height())
                  .scaled(1040, strip.height() * 4)
                  .save(QString::fromStdString(TestArtifactPath("ticker_strip_x4.png"))));
  ticker.ScrollTimerTimer();
  EXPECT_EQ(ticker.Tape().Offset(), 3);
}

TEST_F(TickerGuiTest, UpdatedSymbolGetsANewBox) {
  Quote("IBM", 10, 10);
  TTickParams p;
  p.Symbols = "|IBM|";
  SetLiveTickParams(p);
  TfrmNewTick ticker;
  ticker.ScrollTimer->stop();
  const int before = ticker.Box(0)->Width();
  Quote("IBM", 12345.5, 10);
  MarkSymbolUpdated(usTicker, "IBM");
  ticker.RefreshTimerTimer();
  EXPECT_GT(ticker.Box(0)->Width(), before);
  EXPECT_FALSE(UpdatedSymbolSets.MayHaveSymbols(usTicker)) << "set 4 taken";
}

TEST_F(TickerGuiTest, ASymbolTypedInLowerCaseFollowsItsQuotes) {
  SetProgramFolder(dir.path().toStdString());
  const auto writeQuotes = [this](const char *text) {
    QSaveFile csv(dir.filePath(QStringLiteral("quotes.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(text);
    ASSERT_TRUE(csv.commit());
  };
  writeQuotes("Symbol,Last,PrevClose\nKO,61.5,61\nXOM,104,103\n");
  AppQuoteIntake().Reset();
  ASSERT_EQ(AppQuoteIntake().Refresh(), (std::vector<std::string>{"KO", "XOM"}));
  TfrmNewTick ticker;
  ticker.ScrollTimer->stop();
  ticker.RefreshTimer->stop();
  ticker.show();
  ticker.miTickParams->trigger();
  auto *dlg = ticker.findChild<TfrmTickParam *>();
  ASSERT_TRUE(dlg);
  dlg->AddSymbols->setPlainText("ko, xom");
  dlg->BitBtn1->click();
  ASSERT_EQ(ticker.Symbols(), (std::vector<std::string>{"KO", "XOM"}));
  EXPECT_NE(IniText().find("Symbols=|KO|XOM|"), std::string::npos) << IniText();

  // The next quote of KO: its box shows the new price after one refresh.
  writeQuotes("Symbol,Last,PrevClose\nKO,62.25,61\n");
  ASSERT_EQ(AppQuoteIntake().Refresh(), (std::vector<std::string>{"KO"}));
  const TStockBoxInput in = ReadTickerBoxInput("KO", false);
  ASSERT_EQ(in.Price, "62.25");
  std::unique_ptr<TBitmapBuffer> expected;
  TBitmapBuffer measure(1, 1);
  std::string progress;
  MakeStockBox(in.ShowTime, false, in.Symbol, in.Price, in.Time, in.Change, in.Direction, in.Mark,
               in.MarkTime, &ticker, expected, measure.Canvas(), progress);
  ASSERT_TRUE(expected);
  EXPECT_NE(ticker.Box(0)->Image(), expected->Image());
  ticker.RefreshTimerTimer();
  EXPECT_EQ(ticker.Box(0)->Image(), expected->Image());
  AppQuoteIntake().Reset();
  SetProgramFolder("");
}

TEST_F(TickerGuiTest, TickerWithoutSymbolsShowsTheSetUpHint) {
  TTickParams p;
  p.Speed = 7;
  p.Elements[teBackground].Colour = clBlue;
  SetLiveTickParams(p);
  TfrmNewTick ticker;
  ticker.ScrollTimer->stop();
  ticker.resize(400, ticker.height());
  EXPECT_EQ(ticker.Symbols(), (std::vector<std::string>{"VELKAR"}));
  EXPECT_EQ(ticker.Speed(), -2);
  EXPECT_EQ(ticker.Background(), clBlack);
  EXPECT_EQ(LiveTickParams(), p) << "the stored choices stay";
  EXPECT_TRUE(
      ticker.RenderStrip().save(QString::fromStdString(TestArtifactPath("ticker_marker.png"))));
}

TEST_F(TickerGuiTest, TickerOpensTheDialogMovesAsideAndAppliesOk) {
  Quote("KO", 61.5, 61);
  TfrmNewTick ticker;
  ticker.ScrollTimer->stop();
  ticker.show();
  ticker.setGeometry(0, 250, 600, ticker.height());
  QApplication::processEvents();
  const int top = ticker.Top();

  ASSERT_TRUE(ticker.miTickParams);
  ticker.miTickParams->trigger();
  auto *dlg = ticker.findChild<TfrmTickParam *>();
  ASSERT_TRUE(dlg);
  ASSERT_TRUE(dlg->isVisible());
  const QRect d = dlg->frameGeometry();
  const QRect t(ticker.Left(), ticker.Top(), ticker.Width(), ticker.Height());
  EXPECT_EQ(dlg->SavedTickerTop(), top);
  EXPECT_FALSE(d.intersects(t)) << "the ticker moved clear of the dialog";
  EXPECT_EQ(ticker.Top(), d.top() - ticker.Height()) << "just above it";

  dlg->AddSymbols->setPlainText("KO");
  dlg->BitBtn1->click();
  EXPECT_EQ(ticker.Symbols(), (std::vector<std::string>{"KO"}));
  EXPECT_EQ(ticker.Top(), top) << "back in its place";
}

} // namespace
