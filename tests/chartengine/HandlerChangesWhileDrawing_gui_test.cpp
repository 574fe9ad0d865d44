// Handlers that the chart calls while it lays out and draws (texts of marks,
// axis labels and legend, bar and pointer styles, drawing events) may free,
// remove or empty series or clear the chart, at any one of their calls: the
// drawing never reads freed memory, never throws and gets to its end.
#include "ChartScreenSupport.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/chart/ChartLegend.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartComponentClass.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/engine/SeriesMarks.h"
#include "chartengine/series/CustomBarSeries.h"
#include "chartengine/series/CustomSeries.h"
#include "chartengine/series/HorizBarSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/PieSeries.h"
#include "chartengine/series/SeriesRegistration.h"
#include "platform/UncaughtError.h"
#include "support/EventWait.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

enum class Change { FreeSender, FreeOther, ClearSender, RemoveSender, FreeAll, ClearChart };

const struct {
  Change Kind;
  const char *Name;
} Changes[] = {
    {Change::FreeSender, "frees the sender"},   {Change::FreeOther, "frees another series"},
    {Change::ClearSender, "clears the sender"}, {Change::RemoveSender, "removes the sender"},
    {Change::FreeAll, "frees every series"},    {Change::ClearChart, "removes every series"},
};

// A chart with the series under test (the sender of its handlers) and a
// line series beside it. The handler changes the chart at one of its calls.
struct Scene {
  TChart Chart;
  TChartSeries *Tested = nullptr;
  TChartSeries *Other = nullptr;
  Change Kind = Change::FreeSender;
  int ActAt = -1;
  int Calls = 0;
  int Ends = 0;
  bool AfterDrawIsTheHandler = false;

  explicit Scene(const TChartComponentClass &type) {
    Chart.resize(360, 260);
    Tested = dynamic_cast<TChartSeries *>(type.Create(nullptr).release());
    Other = new TLineSeries;
    for (TChartSeries *s : {Tested, Other}) {
      s->FillSampleValues(5);
      for (int t = 0; t < s->Count(); ++t)
        s->SetPointLabel(t, "P" + std::to_string(t));
      s->SetParentChart(&Chart);
    }
    Tested->Marks().SetVisible(true);
    Chart.OnAfterDraw = [this] {
      ++Ends;
      if (AfterDrawIsTheHandler)
        Call();
    };
  }
  ~Scene() {
    delete Tested;
    delete Other;
  }
  Scene(const Scene &) = delete;
  Scene &operator=(const Scene &) = delete;

  // Every handler of the scene calls this.
  void Call() {
    if (++Calls != ActAt)
      return;
    switch (Kind) {
    case Change::FreeSender:
      delete std::exchange(Tested, nullptr);
      break;
    case Change::FreeOther:
      delete std::exchange(Other, nullptr);
      break;
    case Change::ClearSender:
      Tested->Clear();
      break;
    case Change::RemoveSender:
      Chart.RemoveSeries(Tested);
      break;
    case Change::FreeAll:
      delete std::exchange(Tested, nullptr);
      delete std::exchange(Other, nullptr);
      break;
    case Change::ClearChart:
      Chart.RemoveAllSeries();
      break;
    }
  }
};

void SetAxesStyle(TChart &chart, TAxisLabelStyle style) {
  for (TCustomChartAxis *axis : {chart.BottomAxis(), chart.LeftAxis()})
    axis->SetLabelStyle(style);
}

// The places a handler is called from, each with the chart set up so that
// the drawing calls it; false when the series type has no such handler.
const struct {
  const char *Name;
  std::function<bool(Scene &)> Install;
} Places[] = {
    {"mark text, marks also on both axes",
     [](Scene &s) {
       SetAxesStyle(s.Chart, talMark);
       s.Tested->OnGetMarkText = [&s](TChartSeries *, int, std::string &) { s.Call(); };
       return true;
     }},
    {"axis label of a point",
     [](Scene &s) {
       SetAxesStyle(s.Chart, talText);
       s.Chart.OnGetAxisLabel = [&s](TCustomChartAxis *, TChartSeries *, int, std::string &) {
         s.Call();
       };
       return true;
     }},
    {"axis label of a value, marks of x values",
     [](Scene &s) {
       SetAxesStyle(s.Chart, talValue);
       s.Tested->Marks().SetStyle(smsXValue);
       s.Chart.OnGetAxisLabel = [&s](TCustomChartAxis *, TChartSeries *, int, std::string &) {
         s.Call();
       };
       return true;
     }},
    {"next axis label",
     [](Scene &s) {
       SetAxesStyle(s.Chart, talValue);
       s.Chart.OnGetNextAxisLabel = [&s](TCustomChartAxis *, int, double &, bool &) { s.Call(); };
       return true;
     }},
    {"legend text, legend values and marks",
     [](Scene &s) {
       s.Chart.Legend().SetLegendStyle(lsValues);
       s.Tested->Marks().SetStyle(smsLegend);
       s.Chart.OnGetLegendText = [&s](TCustomAxisPanel *, TLegendStyle, int, std::string &) {
         s.Call();
       };
       return true;
     }},
    {"legend position",
     [](Scene &s) {
       s.Chart.OnGetLegendPos = [&s](TCustomChart *, int, int &, int &, int &) { s.Call(); };
       return true;
     }},
    {"legend rectangle",
     [](Scene &s) {
       s.Chart.OnGetLegendRect = [&s](TCustomChart *, TRect &) { s.Call(); };
       return true;
     }},
    {"before the values are drawn",
     [](Scene &s) {
       s.Tested->BeforeDrawValues = [&s](TChartSeries *) { s.Call(); };
       return true;
     }},
    {"after the values are drawn",
     [](Scene &s) {
       s.Tested->AfterDrawValues = [&s](TChartSeries *) { s.Call(); };
       return true;
     }},
    {"before the axes are drawn",
     [](Scene &s) {
       s.Chart.OnBeforeDrawAxes = [&s] { s.Call(); };
       return true;
     }},
    {"before the series are drawn",
     [](Scene &s) {
       s.Chart.OnBeforeDrawSeries = [&s] { s.Call(); };
       return true;
     }},
    {"after the chart is drawn",
     [](Scene &s) {
       s.AfterDrawIsTheHandler = true;
       return true;
     }},
    {"bar style",
     [](Scene &s) {
       auto *bars = dynamic_cast<TCustomBarSeries *>(s.Tested);
       if (bars == nullptr)
         return false;
       bars->OnGetBarStyle = [&s](TCustomBarSeries *, int, TBarStyle &) { s.Call(); };
       return true;
     }},
    {"pointer style",
     [](Scene &s) {
       auto *custom = dynamic_cast<TCustomSeries *>(s.Tested);
       if (custom == nullptr)
         return false;
       custom->Pointer().SetVisible(true);
       const TSeriesPointerStyle style = custom->Pointer().Style();
       custom->OnGetPointerStyle = [&s, style](TChartSeries *, int) {
         // Freeing the sender frees this handler too: nothing of it is read after.
         const TSeriesPointerStyle answer = style;
         s.Call();
         return answer;
       };
       return true;
     }},
};

// Calls of one handler acted on per series type and place; the later calls
// of a long drawing repeat places already met.
constexpr int MostCallsTried = 32;

class HandlerChangesWhileDrawing : public ::testing::Test {
protected:
  void SetUp() override { RegisterChartEngineTypes(); }
};

TEST_F(HandlerChangesWhileDrawing, EveryTypePlaceAndCallOfAHandlerMayChangeTheChart) {
  const TChartSeriesTypes &types = *ChartSeriesTypes();
  int drawings = 0;
  int places = 0;
  for (int typeIndex = 0; typeIndex < types.Count(); ++typeIndex) {
    if (types.Item(typeIndex).FunctionClass != nullptr)
      continue;
    const auto *type =
        dynamic_cast<const TChartComponentClass *>(types.Item(typeIndex).SeriesClass);
    if (type == nullptr)
      continue;
    for (const auto &place : Places) {
      // How often the handler is called in one drawing that changes nothing.
      int calls = 0;
      {
        Scene dry(*type);
        if (!place.Install(dry))
          continue;
        dry.Chart.SaveToImage();
        calls = dry.Calls;
      }
      // (A pie hides the axes; financial series draw no pointers.)
      if (calls == 0)
        continue;
      ++places;
      for (const auto &change : Changes) {
        for (int at = 1; at <= std::min(calls, MostCallsTried); ++at) {
          SCOPED_TRACE(type->ClassName() + ", " + place.Name + ", " + change.Name + " at call " +
                       std::to_string(at));
          Scene scene(*type);
          place.Install(scene);
          scene.Kind = change.Kind;
          scene.ActAt = at;
          EXPECT_NO_THROW(scene.Chart.SaveToImage());
          EXPECT_EQ(scene.Ends, 1) << "the drawing did not get to its end";
          // The chart as it was left draws again.
          EXPECT_NO_THROW(scene.Chart.SaveToImage());
          EXPECT_EQ(scene.Ends, 2);
          ++drawings;
        }
      }
    }
  }
  RecordProperty("places", places);
  RecordProperty("drawings", drawings);
  // Nine series types, most of the places each.
  EXPECT_GE(places, 9 * 10);
  EXPECT_GT(drawings, 1000);
}

// What the window shows after a handler took a series away while the chart
// was drawn: the series left, drawn whole, and nothing of the one gone.
struct GoneCase {
  const char *Name;
  std::function<TChartSeries *()> Make;
  std::function<void(TChart &, TChartSeries *&gone)> Install;
};

const GoneCase GoneCases[] = {
    {"XValueMarksAsAxisLabelsWithAnAxisLabelHandlerThatFreesTheSeries",
     [] { return new TLineSeries; },
     [](TChart &chart, TChartSeries *&gone) {
       // Its points lie between the ticks: a label asked for one of them is a mark's.
       gone->Clear();
       for (int t = 0; t < 8; ++t)
         gone->AppendPoint(t + 0.37, 5 + t, {}, clRed);
       gone->Marks().SetStyle(smsXValue);
       // The left axis measures the marks' width for its room.
       SetAxesStyle(chart, talMark);
       chart.OnGetAxisLabel = [&gone](TCustomChartAxis *, TChartSeries *, int, std::string &text) {
         if (text.find(".37") != std::string::npos)
           delete std::exchange(gone, nullptr);
       };
     }},
    {"PieFreedByItsMarkTextHandler", [] { return new TPieSeries; },
     [](TChart &, TChartSeries *&gone) {
       gone->OnGetMarkText = [&gone](TChartSeries *, int, std::string &) {
         delete std::exchange(gone, nullptr);
       };
     }},
    {"HorizontalBarsFreedByTheirMarkTextHandler", [] { return new THorizBarSeries; },
     [](TChart &, TChartSeries *&gone) {
       gone->OnGetMarkText = [&gone](TChartSeries *, int, std::string &) {
         delete std::exchange(gone, nullptr);
       };
     }},
    {"MarkTextHandlerClearsItsSender", [] { return new TLineSeries; },
     [](TChart &, TChartSeries *&gone) {
       gone->OnGetMarkText = [](TChartSeries *sender, int, std::string &) { sender->Clear(); };
     }},
};

class WindowAfterAHandlerTookASeries : public HandlerChangesWhileDrawing,
                                       public ::testing::WithParamInterface<GoneCase> {};

TEST_P(WindowAfterAHandlerTookASeries, ShowsWhatIsLeft) {
  const GoneCase &c = GetParam();
  TChart chart;
  chart.resize(420, 300);
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  TLineSeries left;
  for (int t = 0; t < 8; ++t)
    left.AppendPoint(t, 10 + t % 3, "L" + std::to_string(t));
  left.SetSeriesColor(clBlue);
  left.SetParentChart(&chart);
  TChartSeries *gone = c.Make();
  for (int t = 0; t < 8; ++t)
    gone->AppendPoint(t, 5 + t, "G" + std::to_string(t), clRed);
  gone->SetSeriesColor(clRed);
  gone->Marks().SetVisible(true);
  gone->SetParentChart(&chart);
  c.Install(chart, gone);
  std::vector<std::string> errors;
  SetUncaughtErrorHandler([&errors](const std::string &message) { errors.push_back(message); });
  chart.show();
  QImage shown;
  const bool onlyWhatIsLeft = ProcessEventsUntil([&] {
    shown = ShownPicture(chart);
    return ShowsColour(shown, qRgb(0, 0, 255)) && !ShowsColour(shown, qRgb(255, 0, 0));
  });
  SetUncaughtErrorHandler({});
  EXPECT_TRUE(onlyWhatIsLeft);
  EXPECT_EQ(errors, std::vector<std::string>{});
  delete gone;
}

INSTANTIATE_TEST_SUITE_P(IssueExamples, WindowAfterAHandlerTookASeries,
                         ::testing::ValuesIn(GoneCases),
                         [](const auto &info) { return std::string(info.param.Name); });

} // namespace
