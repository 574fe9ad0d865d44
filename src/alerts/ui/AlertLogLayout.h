#pragma once
#include <QRect>
#include <QSize>

// Where the alert log window puts its controls for a client size: Close in
// the bottom-right corner 2 pixels in, Clear Log on the same line, centred
// when it then ends at least 5 pixels left of Close, else 2 pixels from the
// left edge; the list fills the width down to 2 pixels above the buttons.
struct AlertLogLayout {
  static constexpr int Margin = 2;
  static constexpr int MinGap = 5;

  QRect list;
  QRect clear;
  QRect close;
};

AlertLogLayout LayoutAlertLog(QSize client, QSize closeSize, QSize clearSize);
