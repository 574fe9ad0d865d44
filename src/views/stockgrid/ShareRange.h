#pragma once
// The raw % Port values that give one % Port text. The text shows a value
// rounded to one decimal, so every value between two rounding boundaries
// gives the same text; the range keeps clear of the boundaries by a margin
// far wider than the error of the arithmetic, so a value inside it is known
// to give the same text without being formatted.

struct TShareRange {
  double Low = 0; // open interval; empty when Low >= High
  double High = 0;

  bool Contains(double value) const { return Low < value && value < High; }
};

// The range of the values whose one-decimal text (OneDecimalText) is that of
// share; empty when share is not finite, too large to reason about, or so
// close to a rounding boundary that only formatting can tell.
TShareRange ShareRangeOf(double share);
