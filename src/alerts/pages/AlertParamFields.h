#pragma once
// The parameter fields of the alert editor: which controls each alert type
// gets (by tag), how they are filled from an alert and read back, how price
// and value fields step, and the rules of the column alert's fields. No
// widgets here: the fields are reached through TParamFieldAccess, which the
// editor implements over its controls.
#include "alerts/pages/PriceStepper.h"

#include <string>
#include <vector>

class TAlertRecord;

// Tags of the created controls; the panel's own controls have smaller tags.
constexpr int ParamTagFirst = 1000;
constexpr int ParamTagLimit = 1001;      // price: limit; news: hours; column: the column list
constexpr int ParamTagLast = 1002;       // price: "Last"; column: the comparison list
constexpr int ParamTagBid = 1003;        // price: "Bid"; column: the value
constexpr int ParamTagAsk = 1004;        // price: "Ask"; column: "Trigger only if crossed"
constexpr int ParamTagPriceCross = 1005; // price: "Trigger only if crossed"
constexpr int ParamTagColumnList = 1001;
constexpr int ParamTagCompare = 1002;
constexpr int ParamTagColumnValue = 1003;
constexpr int ParamTagColumnCross = 1004;
// An up-down steps the edit whose tag is its own minus this.
constexpr int ParamUpDownOffset = 10;

enum class TParamControlKind { Label, Edit, UpDown, RadioButton, CheckBox, ComboBox };

// One created control.
struct TParamFieldSpec {
  int Tag = 0;
  TParamControlKind Kind = TParamControlKind::Label;
  std::string Caption;            // labels, radio buttons and check boxes
  std::string WidthTemplate;      // edits and lists: the text whose width they get
  std::vector<std::string> Items; // lists
  int Row = 0;                    // controls of a row stand side by side
  int TabOrder = -1;              // -1: after the others
};

// The controls of an alert type, in creation order (an unknown type has none).
std::vector<TParamFieldSpec> ParamFieldSpecs(int alertType);

// The fields as texts, by tag.
class TParamFieldAccess {
public:
  virtual ~TParamFieldAccess() = default;
  // Edit: its text; up-down: its position in decimal; check box and radio
  // button: "1" or "0"; list: its item index in decimal; no such control: "".
  virtual std::string GetField(int tag) const = 0;
  // "VIS" shows, "INV" hides, "DIS" disables, "ENA" enables the control;
  // otherwise an edit takes the text, an up-down the position StrToInt(text),
  // a list the item index round(StrToFloat(text)), a check box or radio
  // button is checked exactly when the text is "1".
  virtual void SetField(int tag, const std::string &text) = 0;
};

// What the value of a quote column is computed from.
struct TColumnQuote {
  double Last = 0;
  double PrevClose = 0;
  double Low = 0;
  double High = 0;
  double NumTrades = 0;
  double AvgVolume = 0;
  bool HasTick = false; // the symbol has ticks; the three values below are the latest's
  double TickAsk = 0;
  double TickBid = 0;
  double TickVolume = 0;
};

// The symbol's quote from the market-data store (zeros when it is not there).
TColumnQuote ReadColumnQuote(const std::string &symbol);
// The current value of a column: Change, Change % (0 without a previous
// close), Spread, Low, High, Volume, Vol % (0 without an average volume),
// # Trades. A column without ticks to read gives 0, an unknown column 0.
double ColumnCurrentValue(const TColumnQuote &quote, int column);

// The rules of the fields. Stepper holds the stepping state of the fields
// shown (price grid or fixed step).
class TAlertParamFields {
public:
  TPriceStepper Stepper;

  // Fills the fields from the alert (the fraction display given). A price
  // alert based on an unknown price is shown based on "Last" and its limit
  // becomes lastPrice (the field keeps the old limit's text).
  void Fill(TAlertRecord &alert, TParamFieldAccess &fields, bool fractions, double lastPrice);
  // Copies the fields into the alert's P1 .. P5 (an empty or missing field
  // counts as "0"; a text that is no price as 0).
  static void Read(const TParamFieldAccess &fields, TAlertRecord &alert);

  // The text of the edit with editTag moved by steps.
  std::string Spin(const TParamFieldAccess &fields, int editTag, int steps) const;
  // True when a typed text should be copied into the alert: it forms a price,
  // and a price of 0 only when it is written as a decimal number.
  static bool AcceptsTypedText(const std::string &text);

  // A new alert type (P1 .. P5 cleared when it differs) and the type's
  // defaults: price alerts the symbol's last price (lastPrice, when the
  // symbol is not empty), their colour and "Last"; news 2 hours; column
  // alerts "Volume", ">=", 0 and only when crossed.
  static void ChangeType(TAlertRecord &alert, int newType, double lastPrice);

  // The column alert's dependent fields: the crossing option only for Spread,
  // Volume and Vol %; the comparison forced for Low (<=) and High, Volume,
  // Vol %, # Trades (>=).
  static void EnableDisable(TParamFieldAccess &fields);
  // The stepping of a column's value field.
  void SetColumnStepping(int column);
  // After the column changed: its stepping and its current value in the value field.
  void ColumnChanged(TParamFieldAccess &fields, const TColumnQuote &quote);

  // A new price alert nobody has touched: limit "0", "Last", only when crossed.
  static bool UntouchedPriceFields(const TParamFieldAccess &fields);
};
