#pragma once
// Stepping the price and value fields of the alert editor by spinner clicks
// and arrow keys. With StepMode on, prices move on a grid whose step grows
// with the price (decimal or fraction display); with it off every step is
// FixedStep.
#include <cstdint>
#include <string>

class TPriceStepper {
public:
  bool StepMode = true;   // the tiered price grid
  double FixedStep = 1.0; // the step when StepMode is off
  bool Fractions = false; // the grid and the texts of the fraction display

  // The step number of a price (sign kept, rounded to the nearest step).
  std::int64_t PriceToStep(double price) const;
  // The price of a step number.
  double StepToPrice(std::int64_t step) const;

  // A price or value as the field shows it: PriceToStr with StepMode, else
  // FormatPrice.
  std::string Format(double value) const;
  // The field text moved by steps (read with StrToPrice).
  std::string Move(const std::string &text, int steps) const;

  // The fixed step of a quote column that is not a price (0 for a price column).
  static double ColumnStep(int column);
};
