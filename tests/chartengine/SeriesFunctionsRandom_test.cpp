// Functions of every type, period style and alignment over random sources
// (values that are no numbers or infinite in X and Y, short and long ones)
// through random edits, each result checked against a plain calculation over
// the sources' points.
#include "SeriesTestSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/engine/BasicFunctions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

enum class Kind { Add, Subtract, Multiply, Divide, High, Low, Average };
constexpr Kind Kinds[] = {Kind::Add,  Kind::Subtract, Kind::Multiply, Kind::Divide,
                          Kind::High, Kind::Low,      Kind::Average};

std::unique_ptr<TChartFunction> Make(Kind kind) {
  switch (kind) {
  case Kind::Add:
    return std::make_unique<TAddFunction>();
  case Kind::Subtract:
    return std::make_unique<TSubtractFunction>();
  case Kind::Multiply:
    return std::make_unique<TMultiplyFunction>();
  case Kind::Divide:
    return std::make_unique<TDivideFunction>();
  case Kind::High:
    return std::make_unique<THighFunction>();
  case Kind::Low:
    return std::make_unique<TLowFunction>();
  case Kind::Average:
    return std::make_unique<TAverageFunction>();
  }
  return nullptr;
}

struct Settings {
  Kind Function = Kind::Add;
  double Period = 0;
  TFunctionPeriodStyle Style = psNumPoints;
  TFunctionPeriodAlign Align = paCenter;
  bool Moving = false;
};

// A source as plain numbers: only its points whose X and Y are finite.
struct Points {
  std::vector<double> X, Y;
  int Count() const { return static_cast<int>(X.size()); }
};

Points PointsOf(const TChartSeries &s) {
  Points p;
  for (int t = 0; t < s.Count(); ++t) {
    const double x = s.XValues().Value(t);
    const double y = s.YValues().Value(t);
    if (std::isfinite(x) && std::isfinite(y)) {
      p.X.push_back(x);
      p.Y.push_back(y);
    }
  }
  return p;
}

using Result = std::vector<std::pair<double, double>>;

// The whole-series or period result of one source; the functions that only
// fold across sources give 0 there.
double Over(Kind kind, const Points &p, int first, int last) {
  double sum = 0, high = p.Y[first], low = p.Y[first];
  for (int t = first; t <= last; ++t) {
    sum += p.Y[t];
    high = std::max(high, p.Y[t]);
    low = std::min(low, p.Y[t]);
  }
  switch (kind) {
  case Kind::Add:
    return sum;
  case Kind::High:
    return high;
  case Kind::Low:
    return low;
  case Kind::Average:
    return sum / (last - first + 1);
  default:
    return 0;
  }
}

double Across(Kind kind, const std::vector<Points> &sources, int index) {
  double result = 0, sum = 0;
  int count = 0;
  for (const Points &p : sources) {
    if (index >= p.Count())
      continue;
    const double v = p.Y[index];
    sum += v;
    if (count == 0)
      result = v;
    else if (kind == Kind::Subtract)
      result -= v;
    else if (kind == Kind::Multiply)
      result *= v;
    else if (kind == Kind::Divide)
      result = v == 0 ? result : result / v;
    else if (kind == Kind::High)
      result = std::max(result, v);
    else if (kind == Kind::Low)
      result = std::min(result, v);
    ++count;
  }
  if (kind == Kind::Add)
    return sum;
  if (kind == Kind::Average)
    return count == 0 ? 0 : sum / count;
  return result;
}

// What the function series holds over these sources; nothing when the fill
// is refused (a period too small for the range).
std::optional<Result> Expected(const Settings &f, const std::vector<Points> &sources) {
  Result out;
  if (sources.empty())
    return out;
  const Points &s = sources.front();
  const int n = s.Count();
  if (sources.size() > 1) {
    for (int k = 0; k < n; ++k)
      out.emplace_back(s.X[k], Across(f.Function, sources, k));
  } else if (n == 0) {
  } else if (f.Moving) {
    const int period = std::max(1, static_cast<int>(std::lround(f.Period)));
    for (int k = period - 1; k < n; ++k)
      out.emplace_back(s.X[k], Over(f.Function, s, k - period + 1, k));
  } else if (f.Period == 0) {
    const double low = *std::min_element(s.X.begin(), s.X.end());
    const double high = *std::max_element(s.X.begin(), s.X.end());
    out.emplace_back(low + (high - low) * 0.5, Over(f.Function, s, 0, n - 1));
  } else {
    const double low = *std::min_element(s.X.begin(), s.X.end());
    const double high = *std::max_element(s.X.begin(), s.X.end());
    if (f.Style == psRange && !((high - low) / f.Period <= std::max(10000, 10 * n)))
      return std::nullopt;
    const int period = std::max(1, static_cast<int>(std::lround(f.Period)));
    int t = 0;
    double end = s.X[0];
    while (t < n) {
      int last = t;
      double firstX = 0, lastX = 0;
      if (f.Style == psNumPoints) {
        last = t + period - 1;
        firstX = s.X[t];
        lastX = last < n ? s.X[last] : 0;
      } else {
        firstX = end;
        end += f.Period;
        lastX = end - 0.001 * f.Period;
        while (last < n - 1 && s.X[last + 1] < end)
          ++last;
      }
      const bool held = f.Style == psNumPoints || s.X[t] < end;
      const double x = f.Align == paFirst  ? firstX
                       : f.Align == paLast ? lastX
                                           : (firstX + lastX) * 0.5;
      if (last < n)
        out.emplace_back(x, held ? Over(f.Function, s, t, last) : 0.0);
      if (held)
        t = last + 1;
    }
  }
  // The results series keeps its X in order, equal ones in order of arrival.
  std::stable_sort(out.begin(), out.end(),
                   [](const auto &a, const auto &b) { return a.first < b.first; });
  return out;
}

Result Held(const TChartSeries &s) {
  Result r;
  for (int t = 0; t < s.Count(); ++t)
    r.emplace_back(s.XValues().Value(t), s.YValues().Value(t));
  return r;
}

bool Same(const Result &a, const Result &b) {
  if (a.size() != b.size())
    return false;
  auto near = [](double p, double q) {
    return p == q || std::fabs(p - q) <= 1e-9 * std::max(std::fabs(p), std::fabs(q));
  };
  for (std::size_t t = 0; t < a.size(); ++t)
    if (!near(a[t].first, b[t].first) || !near(a[t].second, b[t].second))
      return false;
  return true;
}

std::string Show(const Result &r) {
  std::string text;
  for (std::size_t t = 0; t < r.size() && t < 12; ++t)
    text += "(" + std::to_string(r[t].first) + ", " + std::to_string(r[t].second) + ") ";
  return text + "[" + std::to_string(r.size()) + " points]";
}

// What the checks covered, so that a change of the generator cannot leave
// the interesting cases out unnoticed.
struct Tally {
  int Checks = 0;
  int WithResults = 0;
  int Refused = 0;
  int SeveralSources = 0;
  int NoNumbers = 0;
};

class EditRun {
public:
  EditRun(const Settings &settings, std::uint32_t seed) : m_settings(settings), m_random(seed) {
    m_result.SetParentChart(&m_chart);
    std::unique_ptr<TChartFunction> f = Make(settings.Function);
    f->BeginUpdate();
    f->SetPeriodStyle(settings.Style);
    f->SetPeriodAlign(settings.Align);
    f->SetPeriod(settings.Period);
    f->SetMoving(settings.Moving);
    f->EndUpdate();
    m_result.SetFunction(std::move(f));
  }

  // Random edits, each followed by a check; false at the first difference.
  bool Steps(int steps, Tally &tally) {
    for (int step = 0; step < steps; ++step) {
      const Result before = Held(m_result);
      m_what = Edit();
      const std::optional<Result> expected = Expected(m_settings, LinkedPoints());
      const Result &want = expected ? *expected : before;
      ++tally.Checks;
      tally.WithResults += !want.empty();
      tally.Refused += !expected;
      tally.SeveralSources += m_result.DataSources().size() > 1 && !want.empty();
      for (TChartSeries *s : Linked())
        if (PointsOf(*s).Count() < s->Count()) {
          ++tally.NoNumbers;
          break;
        }
      if (!Same(Held(m_result), want)) {
        ADD_FAILURE() << "after step " << step << " (" << m_what << ")\n  holds    "
                      << Show(Held(m_result)) << "\n  expected " << Show(want);
        return false;
      }
    }
    return true;
  }

private:
  double Pick(std::initializer_list<double> values) {
    return values.begin()[Below(static_cast<int>(values.size()))];
  }
  int Below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
  // Mostly ordinary numbers, now and then no number or an infinity.
  double Value(double span) {
    const int roll = Below(20);
    if (roll == 0)
      return NaN;
    if (roll == 1)
      return Pick({Inf, -Inf});
    return std::round(std::uniform_real_distribution<double>(-span, span)(m_random) * 4) / 4;
  }

  std::unique_ptr<TChartSeries> NewSource() {
    auto s = std::make_unique<TChartSeries>();
    s->SetParentChart(&m_chart);
    if (Below(3) == 0)
      s->XValues().SetOrder(loNone);
    const int length = static_cast<int>(Pick({0, 1, 2, 3, 150, 400}));
    const double span = Below(4) == 0 ? 20000 : 60;
    for (int t = 0; t < length; ++t)
      s->AppendPoint(Value(span), Value(100));
    return s;
  }

  std::vector<TChartSeries *> Linked() {
    std::vector<TChartSeries *> out;
    for (TChartComponent *c : m_result.DataSources())
      out.push_back(dynamic_cast<TChartSeries *>(c));
    return out;
  }
  std::vector<Points> LinkedPoints() {
    std::vector<Points> out;
    for (TChartSeries *s : Linked())
      out.push_back(PointsOf(*s));
    return out;
  }
  TChartSeries *AnySource() {
    return m_sources.empty() ? nullptr : m_sources[Below(static_cast<int>(m_sources.size()))].get();
  }

  std::string Edit() {
    TChartSeries *s = AnySource();
    switch (Below(11)) {
    case 0:
    case 9:
    case 10: {
      // A new or an unlinked source joins (refused fills keep the results).
      if (m_sources.size() < 4 || s == nullptr) {
        m_sources.push_back(NewSource());
        s = m_sources.back().get();
      }
      try {
        m_result.AddDataSource(s);
      } catch (const ChartException &) {
      }
      return "add source";
    }
    case 1:
    case 2:
      if (s != nullptr && s->Count() > 0) {
        const int index = Below(s->Count());
        TChartValueList &list = Below(2) ? s->XValues() : s->YValues();
        list.SetValue(index, Value(&list == &s->XValues() ? 60 : 100));
      }
      return "modify";
    case 3:
      if (s != nullptr)
        s->Clear();
      return "clear";
    case 4:
      if (s != nullptr) {
        try {
          m_result.RemoveDataSource(s);
        } catch (const ChartException &) {
        }
      }
      return "remove";
    case 5:
      if (s != nullptr)
        std::erase_if(m_sources, [s](const auto &p) { return p.get() == s; });
      return "free";
    case 6:
      try {
        m_result.RefreshFromSource();
      } catch (const ChartException &) {
      }
      return "refresh";
    case 7:
      if (s != nullptr) {
        // Added points wait for a refresh (a function takes no single point).
        for (int t = Below(5); t >= 0; --t)
          s->AppendPoint(Value(60), Value(100));
        s->NotifyValueChange(snRefresh, -1);
      }
      return "append and refresh";
    default:
      if (s != nullptr && s->Count() > 0) {
        s->Delete(Below(s->Count()));
        try {
          m_result.RefreshFromSource();
        } catch (const ChartException &) {
        }
      }
      return "delete and refresh";
    }
  }

  Settings m_settings;
  std::mt19937 m_random;
  StubAxisPanel m_chart;
  std::vector<std::unique_ptr<TChartSeries>> m_sources;
  TChartSeries m_result;
  std::string m_what;
};

TEST(SeriesFunctionsRandom, EveryResultEqualsThePlainCalculation) {
  std::uint32_t seed = 1;
  int runs = 0;
  Tally tally;
  for (Kind kind : Kinds)
    for (TFunctionPeriodStyle style : {psNumPoints, psRange})
      for (TFunctionPeriodAlign align : {paFirst, paCenter, paLast})
        for (double period : {0.0, 0.4, 1.0, 3.0, 7.5})
          for (bool moving : {false, true}) {
            if (moving && (style == psRange || align != paCenter))
              continue; // a moving function knows neither
            const Settings settings{kind, period, style, align, moving};
            EditRun run(settings, seed++);
            ++runs;
            if (!run.Steps(60, tally)) {
              ADD_FAILURE() << "function " << static_cast<int>(kind) << " period " << period
                            << " style " << style << " align " << align << " moving " << moving
                            << " seed " << seed - 1;
              return;
            }
          }
  EXPECT_GT(runs, 200);
  EXPECT_GT(tally.WithResults, tally.Checks * 2 / 5);
  EXPECT_GT(tally.SeveralSources, tally.Checks / 10);
  EXPECT_GT(tally.NoNumbers, tally.Checks / 4);
  EXPECT_GT(tally.Refused, 5);
  std::printf("%d checks: %d with results, %d over several sources, %d with sources holding "
              "no numbers, %d refused\n",
              tally.Checks, tally.WithResults, tally.SeveralSources, tally.NoNumbers,
              tally.Refused);
}

} // namespace
