#pragma once
// Text rules of the quote grid's painter that need no canvas: the colour of
// signed values, removing their signs, and the text colour shown over an
// alert's highlight colour. TStockGrid::GridDrawCell applies them.
#include "platform/Color.h"

#include <string>

// Fields whose texts are coloured by their sign (Change, the value change
// and gain fields).
bool IsSignedField(int field);
// Fields whose cells can hold two values separated by a blank.
bool IsTwoValueField(int field);

// The sign colour of a signed field's text. Two values (a blank between):
// negative when the second value is, else when the first is; one value (and
// Change always): positive when the text holds a "+" anywhere.
bool SignedTextNegative(int field, const std::string &text);
// The text with a leading "+", or a leading "-" not followed by "-", taken
// from each value; two values are joined again with one blank.
std::string RemoveSigns(int field, const std::string &text);

// The text colour over an alert's row colour: white on red, black on lime,
// else the colour's complement.
TColor AlertTextColor(TColor alertColor);
