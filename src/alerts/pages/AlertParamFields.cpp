#include "alerts/pages/AlertParamFields.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "core/PriceText.h"
#include "core/StockInfo.h"
#include "core/StockStore.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <cmath>

namespace {

using Kind = TParamControlKind;

std::string FieldOrZero(const TParamFieldAccess &fields, int tag) {
  const std::string text = fields.GetField(tag);
  return text.empty() ? "0" : text;
}

int FieldIndex(const TParamFieldAccess &fields, int tag) {
  return int(StrToIntDef(Trim(fields.GetField(tag)), -1));
}

std::string Checked(bool on) { return on ? "1" : "0"; }

} // namespace

std::vector<TParamFieldSpec> ParamFieldSpecs(int alertType) {
  switch (alertType) {
  case AlertTypeLowPrice:
  case AlertTypeHighPrice:
    return {{1000, Kind::Label, "Price Level ", "", {}, 0},
            {1001, Kind::Edit, "", "12345 12/32", {}, 0, 0},
            {1011, Kind::UpDown, "", "", {}, 0, 1},
            {1010, Kind::Label, "Based on: ", "", {}, 1},
            {1002, Kind::RadioButton, "Last ", "", {}, 1},
            {1003, Kind::RadioButton, "Bid ", "", {}, 1},
            {1004, Kind::RadioButton, "Ask ", "", {}, 1},
            {1005, Kind::CheckBox, "Trigger only if crossed", "", {}, 2}};
  case AlertTypeNews:
    return {{1010, Kind::Label, "Alert if news less than ", "", {}, 0},
            {1001, Kind::Edit, "", "12.5 ", {}, 0, 0},
            {1011, Kind::Label, " hours old", "", {}, 0}};
  case AlertTypeColumn:
    return {{1001, Kind::ComboBox, "", "AAAValue Change", ColumnNames(), 0},
            {1002, Kind::ComboBox, "", "AAAA<=", {">=", "<="}, 0},
            {1003, Kind::Edit, "", "88888888888", {}, 0},
            {1013, Kind::UpDown, "", "", {}, 0, 1},
            {1004, Kind::CheckBox, "Trigger only if crossed", "", {}, 1}};
  default:
    return {};
  }
}

TColumnQuote ReadColumnQuote(const std::string &symbol) {
  TColumnQuote quote;
  StockInfoType *record = FindStoreRecord(symbol);
  if (!record)
    return quote;
  // The alert code reads these fields without the tick-list lock.
  quote.Last = record->Last;
  quote.PrevClose = record->PrevClose;
  quote.Low = record->Low;
  quote.High = record->High;
  quote.NumTrades = record->NumTrades;
  quote.AvgVolume = record->AvgVolume;
  if (record->Ticks.Lock("PCOL")) {
    if (record->Ticks.Count() > 0) {
      const TickEntry &tick = record->Ticks.Entry(record->Ticks.Count() - 1);
      quote.HasTick = true;
      quote.TickAsk = tick.Ask;
      quote.TickBid = tick.Bid;
      quote.TickVolume = tick.Volume;
    }
    record->Ticks.Unlock();
  }
  return quote;
}

double ColumnCurrentValue(const TColumnQuote &q, int column) {
  switch (column) {
  case ColumnChange:
    return q.Last - q.PrevClose;
  case ColumnChangePercent:
    return q.PrevClose == 0 ? 0 : (q.Last - q.PrevClose) * 100 / q.PrevClose;
  case ColumnSpread:
    return q.HasTick ? q.TickAsk - q.TickBid : 0;
  case ColumnLow:
    return q.Low;
  case ColumnHigh:
    return q.High;
  case ColumnVolume:
    return q.HasTick ? q.TickVolume : 0;
  case ColumnVolumePercent:
    return q.HasTick && q.AvgVolume != 0 ? q.TickVolume * 100 / q.AvgVolume : 0;
  case ColumnTrades:
    return q.NumTrades;
  default:
    return 0;
  }
}

void TAlertParamFields::Fill(TAlertRecord &alert, TParamFieldAccess &fields, bool fractions,
                             double lastPrice) {
  Stepper.Fractions = fractions;
  switch (alert.AlertType) {
  case AlertTypeLowPrice:
  case AlertTypeHighPrice: {
    Stepper.StepMode = true;
    fields.SetField(ParamTagLimit, Stepper.Format(alert.P1));
    if (alert.P2 == 2.0) {
      fields.SetField(ParamTagBid, "1");
    } else if (alert.P2 == 3.0) {
      fields.SetField(ParamTagAsk, "1");
    } else {
      fields.SetField(ParamTagLast, "1");
      if (alert.P2 != 1.0)
        alert.P1 = lastPrice;
    }
    fields.SetField(ParamTagPriceCross, Checked(alert.P3 != 1.0));
    break;
  }
  case AlertTypeNews:
    fields.SetField(ParamTagLimit, FormatPrice(alert.P1));
    break;
  case AlertTypeColumn: {
    const std::int64_t column = Round(alert.P1);
    fields.SetField(ParamTagColumnList, IntToStr(column));
    fields.SetField(ParamTagCompare, IntToStr(Round(alert.P2)));
    SetColumnStepping(int(column));
    fields.SetField(ParamTagColumnValue, Stepper.Format(alert.P3));
    fields.SetField(ParamTagColumnCross, IntToStr(Round(alert.P4)));
    break;
  }
  default:
    break;
  }
}

void TAlertParamFields::Read(const TParamFieldAccess &fields, TAlertRecord &alert) {
  if (alert.AlertType == AlertTypeLowPrice || alert.AlertType == AlertTypeHighPrice) {
    alert.P1 = StrToPrice(FieldOrZero(fields, ParamTagLimit));
    if (fields.GetField(ParamTagLast) == "1")
      alert.P2 = 1.0;
    else if (fields.GetField(ParamTagBid) == "1")
      alert.P2 = 2.0;
    else if (fields.GetField(ParamTagAsk) == "1")
      alert.P2 = 3.0;
    alert.P3 = fields.GetField(ParamTagPriceCross) == "1" ? 0.0 : 1.0;
    return;
  }
  double *params[] = {&alert.P1, &alert.P2, &alert.P3, &alert.P4, &alert.P5};
  for (int i = 0; i < 5; ++i)
    *params[i] = StrToPrice(FieldOrZero(fields, ParamTagLimit + i));
}

std::string TAlertParamFields::Spin(const TParamFieldAccess &fields, int editTag, int steps) const {
  return Stepper.Move(fields.GetField(editTag), steps);
}

bool TAlertParamFields::AcceptsTypedText(const std::string &text) {
  if (ParseFractionPrice(text))
    return false;
  if (StrToPrice(text) == 0 && std::isnan(StrToFloatDef(Trim(text), NAN)))
    return false;
  return true;
}

void TAlertParamFields::ChangeType(TAlertRecord &alert, int newType, double lastPrice) {
  if (newType < 0 || newType >= AlertTypeCount)
    return;
  if (newType != alert.AlertType) {
    alert.AlertType = std::uint8_t(newType);
    alert.P1 = alert.P2 = alert.P3 = alert.P4 = alert.P5 = 0;
  }
  switch (newType) {
  case AlertTypeLowPrice:
  case AlertTypeHighPrice:
    if (!alert.Symbol.empty())
      alert.P1 = lastPrice;
    alert.HighlightColor = newType == AlertTypeLowPrice ? 255 : 65280;
    alert.P2 = 1.0;
    break;
  case AlertTypeNews:
    alert.P1 = 2;
    break;
  case AlertTypeColumn:
    alert.P1 = ColumnVolume;
    alert.P2 = 0;
    alert.P3 = 0;
    alert.P4 = 1.0;
    break;
  default:
    break;
  }
}

void TAlertParamFields::EnableDisable(TParamFieldAccess &fields) {
  const int column = FieldIndex(fields, ParamTagColumnList);
  fields.SetField(ParamTagColumnCross, IsCrossingColumn(column) ? "VIS" : "INV");
  switch (column) {
  case ColumnHigh:
  case ColumnVolume:
  case ColumnVolumePercent:
  case ColumnTrades:
    fields.SetField(ParamTagCompare, "0");
    fields.SetField(ParamTagCompare, "DIS");
    break;
  case ColumnLow:
    fields.SetField(ParamTagCompare, "1");
    fields.SetField(ParamTagCompare, "DIS");
    break;
  default:
    fields.SetField(ParamTagCompare, "ENA");
    break;
  }
}

void TAlertParamFields::SetColumnStepping(int column) {
  Stepper.StepMode = IsPriceColumn(column);
  if (const double step = TPriceStepper::ColumnStep(column); step > 0)
    Stepper.FixedStep = step;
}

void TAlertParamFields::ColumnChanged(TParamFieldAccess &fields, const TColumnQuote &quote) {
  const int column = FieldIndex(fields, ParamTagColumnList);
  SetColumnStepping(column);
  fields.SetField(ParamTagColumnValue, Stepper.Format(ColumnCurrentValue(quote, column)));
}

bool TAlertParamFields::UntouchedPriceFields(const TParamFieldAccess &fields) {
  return fields.GetField(ParamTagLimit) == "0" && fields.GetField(ParamTagLast) == "1" &&
         fields.GetField(ParamTagPriceCross) == "1";
}
