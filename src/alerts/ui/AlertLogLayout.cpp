#include "alerts/ui/AlertLogLayout.h"

#include <algorithm>

AlertLogLayout LayoutAlertLog(QSize client, QSize closeSize, QSize clearSize) {
  AlertLogLayout out;
  const int top = client.height() - AlertLogLayout::Margin - closeSize.height();
  const int closeLeft = client.width() - AlertLogLayout::Margin - closeSize.width();
  out.close = QRect(QPoint(closeLeft, top), closeSize);

  int clearLeft = (client.width() - clearSize.width()) / 2; // truncates toward zero
  if (clearLeft + clearSize.width() > closeLeft - AlertLogLayout::MinGap)
    clearLeft = AlertLogLayout::Margin;
  out.clear = QRect(QPoint(clearLeft, top), clearSize);

  out.list = QRect(0, 0, client.width(), std::max(0, top - AlertLogLayout::Margin));
  return out;
}
