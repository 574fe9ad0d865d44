#pragma once
#include <QCursor>

// Mouse cursor ids as charts and series store them (0 is the default arrow).
constexpr int crDefault = 0;
constexpr int crNone = -1;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crSizeNESW = -6;
constexpr int crSizeNS = -7;
constexpr int crSizeNWSE = -8;
constexpr int crSizeWE = -9;
constexpr int crUpArrow = -10;
constexpr int crHourGlass = -11;
constexpr int crDrag = -12;
constexpr int crNoDrop = -13;
constexpr int crHSplit = -14;
constexpr int crVSplit = -15;
constexpr int crMultiDrag = -16;
constexpr int crSQLWait = -17;
constexpr int crNo = -18;
constexpr int crAppStart = -19;
constexpr int crHelp = -20;
constexpr int crHandPoint = -21;
constexpr int crSizeAll = -22;
// The chart's own hand (a series may show it over its points).
constexpr int crChartHand = 2020;

// The Qt cursor shown for an id; unknown ids show the default arrow.
QCursor ChartCursorShape(int id);
