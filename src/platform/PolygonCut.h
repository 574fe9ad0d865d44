#pragma once
#include <QPolygon>
#include <QRect>

// The part of a polygon inside a rectangle (Sutherland-Hodgman: each side of
// the rectangle cuts away what lies beyond it, new corners rounded to whole
// pixels). Points inside the rectangle keep their odd-even inside count, so a
// region or fill of the cut polygon agrees with the whole one there, up to a
// pixel along edges whose ends were cut.
QPolygon CutPolygonToRect(const QPolygon &polygon, const QRect &rect);
