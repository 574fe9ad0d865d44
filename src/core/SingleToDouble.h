#pragma once

// Quotes are kept as single-precision numbers. Widening one to double the
// plain way carries its binary error along (187.9f becomes 187.899993896...),
// which shows up as "1.35001" once two prices are subtracted. This gives the
// double of the shortest decimal text that reads back as the same single, so
// 187.9f becomes 187.9.
double SingleToDouble(float value);
// The same, always through the text (the reference for tests).
double SingleToDoubleThroughText(float value);
