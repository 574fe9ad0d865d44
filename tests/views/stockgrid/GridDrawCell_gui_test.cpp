// The grid's cell painter on the recording canvas: colours by row and column
// kind, marks, frames, signs, arrows, bulbs, sort and drop marks.
#include "views/stockgrid/GridTestSupport.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertsModule.h"
#include "core/NewsBulb.h"
#include "platform/QPainterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "views/stockgrid/GridDrawCell.h"
#include "views/stockgrid/GridShapes.h"
#include "views/stockgrid/StockGrid.h"

#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr int kTag = 1;
const TRect kCell(100, 30, 180, 45);

class GridPaintTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    // Every scheme colour distinct, so that each rule shows which one it used.
    for (int slot = 0; slot < SchemeColorCount; ++slot)
      CurrentScheme.SetSlot(slot, TColor(0x100000 + 0x0101 * (slot + 1)));
    view.FieldCol.fill(-1);
    const int fields[] = {gfSymbol, gfBid,   gfAsk,     gfLast,        gfChange,
                          gfLow,    gfHigh,  gfTick,    gfValueChange, gfGain,
                          gfChart,  gfValue, gfPctPort, gfSeparator};
    for (int c = 0; c < int(std::size(fields)); ++c)
      view.FieldCol[fields[c]] = c;
    grid = std::make_unique<TStockGrid>();
    grid->MeasureLabel = &label;
    grid->View = &view;
    grid->GridKind = gkMainGrid;
    grid->LoadColumnMap();
    grid->SetColCount(int(std::size(fields)));
    grid->SetRowCount(6);
  }
  void TearDown() override {
    grid.reset();
    AlertSystem().ClearAll();
    ResetColorSchemes();
    GridTest::TearDown();
  }

  int Col(int field) const { return grid->ColPos[field]; }

  void SetRow(int row, const std::string &symbol, std::intptr_t tag) {
    grid->SetCells(0, row, symbol);
    grid->SetObjects(0, row, tag);
  }

  // Paints one cell; returns the recording.
  std::unique_ptr<TRecordingCanvas> Paint(int field, int row, const TRect &rect = kCell) {
    auto canvas = std::make_unique<TRecordingCanvas>();
    grid->GridDrawCell(*canvas, field == gfSymbol ? 0 : Col(field), row, rect, 0);
    return canvas;
  }
  static TCanvasCall FirstText(const TRecordingCanvas &c) {
    const auto calls = c.CallsNamed("TextRect");
    return calls.empty() ? TCanvasCall{} : calls.front();
  }
  // The fills laid after the cell's text: its frame.
  static std::vector<TCanvasCall> FrameFills(const TRecordingCanvas &c) {
    std::vector<TCanvasCall> fills;
    for (const TCanvasCall &call : c.Calls()) {
      if (call.Name == "TextRect")
        fills.clear();
      else if (call.Name == "FillRect")
        fills.push_back(call);
    }
    return fills;
  }
  static TColor FrameColor(const TRecordingCanvas &c) {
    const auto fills = FrameFills(c);
    return fills.size() == 4 ? fills[0].Brush.Color : clNone;
  }

  static void AddAlert(const std::string &symbol, TColor color) {
    auto a = TAlertRecord::Create();
    a->Symbol = symbol;
    a->P1 = 10;
    a->P2 = 1;
    a->HighlightColor = std::int32_t(color);
    a->ActiveActions = TActionSet::FromBits(1u << ActionHighlightRow);
    a->ActivationTimes[ActionHighlightRow] = AppClock().Now() - 1.0 / 24;
    AlertSystem().AddAlert(std::move(a));
  }

  void SetMisc(void (*change)(TDisplaySettings &)) {
    TDisplaySettings s = CurrentDisplaySettings();
    change(s);
    SetDisplaySettings(s);
  }

  const ColorScheme &scheme = CurrentScheme;
  ViewRecord view;
  QLabel label{QStringLiteral("A")};
  std::unique_ptr<TStockGrid> grid;
};

TEST_F(GridPaintTest, StripesOnEvenRowsTitleKeepsItsColour) {
  for (int row = 1; row <= 4; ++row) {
    SetRow(row, "S" + std::to_string(row), row);
    grid->SetCells(Col(gfLast), row, "12.5");
  }
  EXPECT_EQ(FirstText(*Paint(gfLast, 2)).Brush.Color, scheme.StripeRow);
  EXPECT_EQ(FirstText(*Paint(gfLast, 2)).Font.Color, scheme.StripeText);
  EXPECT_EQ(FirstText(*Paint(gfLast, 3)).Brush.Color, scheme.NoStripeRow);
  EXPECT_EQ(FirstText(*Paint(gfLast, 4)).Brush.Color, scheme.StripeRow);
  EXPECT_EQ(FirstText(*Paint(gfLast, 0)).Brush.Color, scheme.Title);
  EXPECT_EQ(FirstText(*Paint(gfSymbol, 3)).Brush.Color, scheme.Sym);

  SetMisc([](TDisplaySettings &s) { s.Stripes = false; });
  EXPECT_EQ(FirstText(*Paint(gfLast, 2)).Brush.Color, scheme.NoStripeRow);
}

TEST_F(GridPaintTest, TotalRowAndSeparatorRow) {
  SetRow(1, "-", SeparatorRowTag(1));
  grid->SetCells(Col(gfChange), 1, "+ 1.00");
  SetRow(2, "TOTAL", TotalRowTag);
  grid->SetCells(Col(gfChange), 2, "+ 1.00");
  grid->SetCells(Col(gfGain), 2, "-300");
  const TCanvasCall sep = FirstText(*Paint(gfChange, 1));
  EXPECT_EQ(sep.Brush.Color, scheme.Sep);
  EXPECT_EQ(sep.Font.Color, scheme.SepText);
  const TCanvasCall total = FirstText(*Paint(gfChange, 2));
  EXPECT_EQ(total.Brush.Color, scheme.TotalRow);
  EXPECT_EQ(total.Font.Color, scheme.PosHigh);
  EXPECT_EQ(FirstText(*Paint(gfGain, 2)).Font.Color, scheme.NegHigh);
}

TEST_F(GridPaintTest, HighlightWholeRowOrSymbolOnly) {
  SetRow(3, "IBM", kTag);
  grid->SetCells(Col(gfLast), 3, "12.5");
  grid->HighlightTag = kTag;
  EXPECT_EQ(FirstText(*Paint(gfLast, 3)).Brush.Color, scheme.HighRow);
  EXPECT_EQ(FirstText(*Paint(gfLast, 3)).Font.Color, scheme.HighText);
  EXPECT_EQ(FirstText(*Paint(gfSymbol, 3)).Brush.Color, scheme.HighRow);
  EXPECT_EQ(grid->HighlightSymbol, "IBM");

  grid->HighlightSymbolOnly = true;
  EXPECT_EQ(FirstText(*Paint(gfLast, 3)).Brush.Color, scheme.NoStripeRow);
  EXPECT_EQ(FirstText(*Paint(gfSymbol, 3)).Brush.Color, scheme.HighRow);

  SetMisc([](TDisplaySettings &s) { s.HiWhole = false; });
  EXPECT_EQ(FirstText(*Paint(gfSymbol, 3)).Brush.Color, scheme.HighSymb);
  EXPECT_EQ(FirstText(*Paint(gfSymbol, 3)).Font.Color, scheme.HighSymbText);
  EXPECT_EQ(FirstText(*Paint(gfLast, 3)).Brush.Color, scheme.NoStripeRow);
}

TEST_F(GridPaintTest, RedAlertPaintsTheWholeRowWithWhiteTextAndNoSignColours) {
  SetRow(3, "IBM", kTag);
  grid->SetCells(Col(gfChange), 3, "+ 1.25");
  AddAlert("IBM", clRed);
  grid->HighlightTag = kTag; // an alert colour wins over the highlight
  for (int field : {int(gfSymbol), int(gfChange)}) {
    const TCanvasCall text = FirstText(*Paint(field, 3));
    EXPECT_EQ(text.Brush.Color, clRed) << field;
    EXPECT_EQ(text.Font.Color, clWhite) << field;
  }
}

TEST_F(GridPaintTest, AlertColoursAndTheirTextColours) {
  EXPECT_EQ(AlertTextColor(clRed), clWhite);
  EXPECT_EQ(AlertTextColor(clLime), clBlack);
  EXPECT_EQ(AlertTextColor(0x123456), TColor(0xEDCBA9));
  EXPECT_EQ(AlertTextColor(clHighlight), AlertTextColor(ColorToRGB(clHighlight)));

  SetRow(3, "MSFT", kTag);
  grid->SetCells(Col(gfLast), 3, "<20");
  AddAlert("MSFT", 0x123456);
  const TCanvasCall text = FirstText(*Paint(gfLast, 3));
  EXPECT_EQ(text.Brush.Color, TColor(0x123456));
  EXPECT_EQ(text.Font.Color, TColor(0xEDCBA9));
  EXPECT_EQ(text.Text, "20");
}

TEST_F(GridPaintTest, LowMarkFramedOrSolid) {
  SetRow(3, "IBM", kTag);
  grid->SetCells(Col(gfLow), 3, "<12.5");
  SetMisc([](TDisplaySettings &s) { s.SolidHL = false; });
  auto framed = Paint(gfLow, 3);
  EXPECT_EQ(FirstText(*framed).Text, "12.5");
  // The cell's two outer rings of pixels.
  const auto fills = FrameFills(*framed);
  ASSERT_EQ(fills.size(), 4u);
  const std::vector<std::vector<int>> sides = {
      {100, 30, 180, 32}, {100, 43, 180, 45}, {100, 32, 102, 43}, {178, 32, 180, 43}};
  for (std::size_t i = 0; i < fills.size(); ++i) {
    EXPECT_EQ(fills[i].Brush.Color, scheme.RedRect);
    EXPECT_EQ(fills[i].Args, sides[i]);
  }

  SetMisc([](TDisplaySettings &s) { s.SolidHL = true; });
  auto solid = Paint(gfLow, 3);
  EXPECT_EQ(FrameColor(*solid), clNone);
  EXPECT_EQ(FirstText(*solid).Brush.Color, scheme.RedHigh);
  EXPECT_EQ(FirstText(*solid).Font.Color, scheme.RedText);

  grid->SetCells(Col(gfHigh), 3, ">14");
  EXPECT_EQ(FirstText(*Paint(gfHigh, 3)).Brush.Color, scheme.GreenHigh);
  SetMisc([](TDisplaySettings &s) { s.Highs = false; });
  EXPECT_EQ(FirstText(*Paint(gfHigh, 3)).Brush.Color, scheme.NoStripeRow);
  EXPECT_EQ(FirstText(*Paint(gfHigh, 3)).Text, "14");
}

TEST_F(GridPaintTest, TotalValueCarriesTheMarks) {
  SetRow(2, "TOTAL", TotalRowTag);
  grid->SetCells(Col(gfValue), 2, ">10,000");
  const TCanvasCall text = FirstText(*Paint(gfValue, 2));
  EXPECT_EQ(text.Text, "10,000");
  EXPECT_EQ(text.Brush.Color, scheme.GreenHigh);
}

TEST_F(GridPaintTest, DynamicBidAskFrames) {
  SetRow(3, "IBM", kTag);
  grid->SetCells(Col(gfBid), 3, "<10");
  grid->SetCells(Col(gfAsk), 3, ">11");
  auto bid = Paint(gfBid, 3);
  EXPECT_EQ(FrameColor(*bid), scheme.RedDynoRect);
  EXPECT_EQ(FirstText(*bid).Text, "10");
  EXPECT_EQ(FrameColor(*Paint(gfAsk, 3)), scheme.GreenDynoRect);

  SetMisc([](TDisplaySettings &s) { s.HighBidAsk = false; });
  auto plain = Paint(gfBid, 3);
  EXPECT_EQ(FrameColor(*plain), clNone);
  EXPECT_EQ(FirstText(*plain).Text, "10");
}

TEST_F(GridPaintTest, SignColours) {
  SetRow(3, "IBM", kTag);
  struct Case {
    int field;
    const char *text;
    bool negative;
  } cases[] = {{gfChange, "0.00", true},
               {gfChange, "+ 1.25", false},
               {gfChange, "- 1.25", true},
               {gfValueChange, "+1.2% -340", true},
               {gfValueChange, "-1.2% 340", true},
               {gfValueChange, "+1.2% 340", false},
               {gfValueChange, "- +2,000", false}, // no percentage: "-" is no value
               {gfGain, "- -150", true},
               {gfGain, "+300", false}};
  for (const Case &c : cases) {
    grid->SetCells(Col(c.field), 3, c.text);
    EXPECT_EQ(FirstText(*Paint(c.field, 3)).Font.Color, c.negative ? scheme.Neg : scheme.Pos)
        << c.text;
  }
  grid->SetCells(Col(gfChange), 3, "--");
  EXPECT_EQ(FirstText(*Paint(gfChange, 3)).Font.Color, scheme.NoStripeText);
}

TEST_F(GridPaintTest, TwoValuesSplitTheCellAndLoseTheirSignsWithNoSign) {
  SetRow(3, "IBM", kTag);
  grid->SetCells(Col(gfValueChange), 3, "+1.2% -340");
  SetMisc([](TDisplaySettings &s) { s.NoSign = true; });
  auto canvas = Paint(gfValueChange, 3);
  const auto texts = canvas->CallsNamed("TextRect");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "1.2%");
  EXPECT_EQ(texts[1].Text, "340");
  EXPECT_EQ(texts[0].Font.Color, scheme.Neg);
  EXPECT_EQ(texts[0].Args[4], kCell.Left + 2);
  const int middle = kCell.Left + kCell.Width() / 2;
  EXPECT_EQ(texts[1].Args[4] + canvas->TextWidth("340"), kCell.Right - 2);
  const auto line = canvas->CallsNamed("LineTo");
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].Points, (std::vector<TPoint>{{middle, kCell.Top}, {middle, kCell.Bottom}}));

  grid->SetCells(Col(gfChange), 3, "- 1.25");
  EXPECT_EQ(FirstText(*Paint(gfChange, 3)).Text, "1.25");

  // A first value "-" (a zero or missing percentage) is a value of its own.
  grid->SetCells(Col(gfGain), 3, "- 150");
  const auto dash = Paint(gfGain, 3)->CallsNamed("TextRect");
  ASSERT_EQ(dash.size(), 2u);
  EXPECT_EQ(dash[0].Text, "-");
  EXPECT_EQ(dash[1].Text, "150");
}

TEST_F(GridPaintTest, TitlesTakeTheirFieldsStyle) {
  view.FieldStyle[gfSymbol] = 1;  // bold
  view.FieldStyle[gfLast] = 2;    // italic
  view.FieldStyle[gfBid] = 8 | 1; // keeps the font's style
  EXPECT_TRUE(FirstText(*Paint(gfSymbol, 0)).Font.Bold);
  EXPECT_FALSE(FirstText(*Paint(gfSymbol, 0)).Font.Italic);
  EXPECT_TRUE(FirstText(*Paint(gfLast, 0)).Font.Italic);
  EXPECT_FALSE(FirstText(*Paint(gfBid, 0)).Font.Bold);
}

TEST_F(GridPaintTest, TickArrows) {
  SetRow(3, "IBM", kTag);
  grid->SetCells(Col(gfTick), 3, "D");
  auto down = Paint(gfTick, 3);
  ASSERT_EQ(down->CountOf("Polygon"), 1);
  const TCanvasCall arrow = down->CallsNamed("Polygon")[0];
  EXPECT_EQ(arrow.Points, ArrowDownPoints(kCell));
  EXPECT_EQ(arrow.Brush.Color, scheme.DnTickBrush);
  EXPECT_EQ(arrow.Pen.Color, scheme.DnTickPen);
  EXPECT_EQ(down->CountOf("TextRect"), 0);
  grid->SetCells(Col(gfTick), 3, "U");
  const TCanvasCall up = Paint(gfTick, 3)->CallsNamed("Polygon")[0];
  EXPECT_EQ(up.Points, ArrowUpPoints(kCell));
  EXPECT_EQ(up.Brush.Color, scheme.UpTickBrush);
}

TEST_F(GridPaintTest, SortMarkAndTitleFallback) {
  grid->RowsSorted = true;
  grid->SortCol = Col(gfLast);
  grid->SortDown = true;
  auto title = Paint(gfLast, 0);
  EXPECT_EQ(FirstText(*title).Args[4], kCell.Left + 2);
  ASSERT_EQ(title->CountOf("Polygon"), 1);
  EXPECT_EQ(title->CallsNamed("Polygon")[0].Points, SortMarkDownPoints(kCell));
  EXPECT_EQ(title->CallsNamed("Polygon")[0].Brush.Color, scheme.SortArrow);
  grid->SortDown = false;
  EXPECT_EQ(Paint(gfLast, 0)->CallsNamed("Polygon")[0].Points, SortMarkUpPoints(kCell));

  // Without a sorted order no column shows the mark.
  grid->RowsSorted = false;
  EXPECT_EQ(Paint(gfLast, 0)->CountOf("Polygon"), 0);
  EXPECT_EQ(grid->SortCol, -1);

  // Long, then medium, then short titles as the cell narrows.
  TRecordingCanvas m;
  m.Font() = grid->ViewFont();
  const int longW = m.TextWidth(FieldLongTitle(gfValueChange));
  const int mediumW = m.TextWidth(FieldMediumTitle(gfValueChange));
  auto titleIn = [&](int width) {
    return FirstText(*Paint(gfValueChange, 0, TRect(0, 0, width, 16))).Text;
  };
  EXPECT_EQ(titleIn(longW + 3), FieldLongTitle(gfValueChange));
  if (mediumW < longW) {
    EXPECT_EQ(titleIn(mediumW + 3), FieldMediumTitle(gfValueChange));
  }
  EXPECT_EQ(titleIn(2), FieldShortTitle(gfValueChange));

  // The sort column's title leaves room for the mark.
  grid->RowsSorted = true;
  grid->SortCol = Col(gfValueChange);
  EXPECT_NE(titleIn(longW + 3), FieldLongTitle(gfValueChange));
  EXPECT_EQ(titleIn(longW + 3 + SortMarkRoom), FieldLongTitle(gfValueChange));
}

TEST_F(GridPaintTest, NewsAndAlertBulbsOfTheSymbolCell) {
  SetRow(3, "IBM", kTag);
  NewsRows.Set(gkMainGrid, 3, true);
  GridNow = 45300.0;
  NewsRowTimes.Set(gkMainGrid, 3, GridNow - 1.0);
  auto news = Paint(gfSymbol, 3);
  auto polygons = news->CallsNamed("Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(polygons[0].Points, RowNewsBulbOutline(kCell.Right - 8, kCell.Top));
  EXPECT_EQ(polygons[0].Pen.Color, BlendColor(0, 0x808080, 1.0 / 3));
  EXPECT_EQ(polygons[1].Pen.Color, TColor(0xC0C0C0));
  EXPECT_EQ(polygons[0].Brush.Color, scheme.Sym);

  NewsRowTimes.Set(gkMainGrid, 3, GridNow);
  polygons = Paint(gfSymbol, 3)->CallsNamed("Polygon");
  EXPECT_EQ(polygons[0].Pen.Color, scheme.BulbOutline);
  EXPECT_EQ(polygons[1].Pen.Color, TColor(0x00FFFF));

  // An active alert adds its bulb left of the news bulb.
  AddAlert("IBM", clLime);
  TRecordingCanvas reference;
  DrawNewsBulb(reference, kCell.Right - 8 - 9 + 3, kCell.Bottom - 13, 1.0 / 24);
  auto both = Paint(gfSymbol, 3);
  const auto all = both->CallsNamed("Polygon");
  ASSERT_GT(all.size(), 2u);
  const auto ref = reference.CallsNamed("Polygon");
  ASSERT_FALSE(ref.empty());
  EXPECT_EQ(all[2].Points, ref[0].Points);

  // No bulbs on the cash row.
  SetRow(4, "$CASH", 2);
  NewsRows.Set(gkMainGrid, 4, true);
  EXPECT_EQ(Paint(gfSymbol, 4)->CountOf("Polygon"), 0);
}

TEST_F(GridPaintTest, TotalChartUsesTheGridsOwnPortfolioOrDrawsNothing) {
  SetRow(2, "TOTAL", TotalRowTag);
  grid->PortfolioIndex = 7; // not in the list
  std::string list;
  CurrentPortfolio.store(7);
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "");
  EXPECT_EQ(grid->PortfolioKey, "");
  auto none = Paint(gfChart, 2);
  EXPECT_EQ(none->CountOf("Polygon") + none->CountOf("Polyline"), 0);
  ASSERT_EQ(none->CountOf("FillRect"), 1);
  EXPECT_EQ(none->CallsNamed("FillRect")[0].Brush.Color, scheme.SmallGraphBack);

  const int index = PortfolioList.Add("Mine", "MYPORT", {Pos("AAA")});
  grid->PortfolioIndex = index;
  CurrentPortfolio.store(index);
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(grid->PortfolioKey, "MYPORT");
  for (int i = 0; i < 3; ++i) {
    QuoteFields q;
    q.Last = 100 + i;
    q.QuoteTime = (10.0 + i) / 24;
    q.DayStamp = 45301;
    StoreQuote("MYPORT", q);
  }
  auto graph = Paint(gfChart, 2);
  EXPECT_GE(graph->CountOf("Polygon") + graph->CountOf("Polyline"), 1);
}

TEST_F(GridPaintTest, DropMarkOnBothSidesOfTheGap) {
  grid->DropCol = 3;
  auto left = std::make_unique<TRecordingCanvas>();
  grid->GridDrawCell(*left, 2, 0, kCell, 0);
  auto right = std::make_unique<TRecordingCanvas>();
  grid->GridDrawCell(*right, 3, 0, kCell, 0);
  ASSERT_EQ(left->CountOf("Polygon"), 1);
  EXPECT_EQ(left->CallsNamed("Polygon")[0].Points, InsertMarkPoints(kCell, 1));
  EXPECT_EQ(left->CallsNamed("Polygon")[0].Brush.Color, scheme.Insert);
  ASSERT_EQ(right->CountOf("Polygon"), 1);
  EXPECT_EQ(right->CallsNamed("Polygon")[0].Points, InsertMarkPoints(kCell, 0));
  // Data rows and a grid with no drag show none.
  EXPECT_EQ(Paint(gfLast, 2)->CountOf("Polygon"), 0);
  grid->DropCol = -1;
  EXPECT_EQ(Paint(gfAsk, 0)->CountOf("Polygon"), 0);
}

TEST_F(GridPaintTest, PctPortAndDisabledGrid) {
  SetRow(3, "IBM", kTag);
  grid->SetCells(Col(gfPctPort), 3, "-5.2");
  const TCanvasCall text = FirstText(*Paint(gfPctPort, 3));
  EXPECT_EQ(text.Text, "5.2");
  EXPECT_EQ(text.Font.Color, scheme.Neg);
  grid->setEnabled(false);
  EXPECT_EQ(Paint(gfPctPort, 3)->CountOf("TextRect"), 0);
}

// The frame's fills lay the very pixels of a 2-px pen's rectangle through
// the corners 1 px inside the cell, for cells of every small size.
TEST(GridCellFrame, LaysThePixelsOfTheWidePensRectangle) {
  for (int w = 0; w <= 9; ++w)
    for (int h = 0; h <= 9; ++h) {
      const TRect cell(10, 12, 10 + w, 12 + h);
      const auto drawn = [&](const std::function<void(TCanvas &)> &draw) {
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        TQPainterCanvas canvas(&image);
        draw(canvas);
        canvas.End();
        return image;
      };
      const QImage stroked = drawn([&](TCanvas &c) {
        c.Pen().Color = clRed;
        c.Pen().Width = 2;
        c.Polyline({TPoint(cell.Left + 1, cell.Top + 1), TPoint(cell.Left + 1, cell.Bottom - 1),
                    TPoint(cell.Right - 1, cell.Bottom - 1), TPoint(cell.Right - 1, cell.Top + 1),
                    TPoint(cell.Left + 1, cell.Top + 1)});
      });
      const QImage filled = drawn([&](TCanvas &c) { SGDrawCellFrame(c, cell, clRed); });
      EXPECT_EQ(stroked, filled) << w << "x" << h;
    }
}

} // namespace
