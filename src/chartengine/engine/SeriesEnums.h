#pragma once
#include "platform/StringGridTypes.h"

#include <functional>
#include <string>

class TChartSeries;

// The axes a series is drawn against.
enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// What a mark shows.
enum TSeriesMarksStyle {
  smsValue,
  smsPercent,
  smsLabel,
  smsLabelPercent,
  smsLabelValue,
  smsLegend,
  smsPercentTotal,
  smsLabelPercentTotal,
  smsXValue
};

// What a legend row of a point shows.
enum TLegendTextStyle {
  ltsPlain,
  ltsLeftValue,
  ltsRightValue,
  ltsLeftPercent,
  ltsRightPercent,
  ltsXValue
};

// Which changes of a source reach a dependent series.
using TSeriesRecalcOptions = unsigned;
constexpr TSeriesRecalcOptions rOnDelete = 1u << 0;
constexpr TSeriesRecalcOptions rOnModify = 1u << 1;
constexpr TSeriesRecalcOptions rOnInsert = 1u << 2;
constexpr TSeriesRecalcOptions rOnClear = 1u << 3;
constexpr TSeriesRecalcOptions rAllRecalcOptions = rOnDelete | rOnModify | rOnInsert | rOnClear;

// Six flags (bits 0 .. 5) streamed and copied with a series for the tools
// that edit series; the engine itself does not read them.
using TSeriesStyleFlags = unsigned;
constexpr TSeriesStyleFlags SeriesStyleFlagsMask = 0x3F;

// Events of a series.
using TSeriesNotifyEvent = std::function<void(TChartSeries *sender)>;
// Answers false to refuse the point about to be added.
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries *sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries *sender, int valueIndex)>;
using TSeriesOnGetMarkText =
    std::function<void(TChartSeries *sender, int valueIndex, std::string &markText)>;
using TSeriesClick = std::function<void(TChartSeries *sender, int valueIndex, TMouseButton button,
                                        TShiftState shift, int x, int y)>;
