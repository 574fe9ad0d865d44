#include "chartengine/canvas/ChartCursors.h"

QCursor ChartCursorShape(int id) {
  switch (id) {
  case crNone:
    return QCursor(Qt::BlankCursor);
  case crCross:
    return QCursor(Qt::CrossCursor);
  case crIBeam:
    return QCursor(Qt::IBeamCursor);
  case crSizeNESW:
    return QCursor(Qt::SizeBDiagCursor);
  case crSizeNS:
  case crVSplit:
    return QCursor(id == crVSplit ? Qt::SplitVCursor : Qt::SizeVerCursor);
  case crSizeNWSE:
    return QCursor(Qt::SizeFDiagCursor);
  case crSizeWE:
  case crHSplit:
    return QCursor(id == crHSplit ? Qt::SplitHCursor : Qt::SizeHorCursor);
  case crUpArrow:
    return QCursor(Qt::UpArrowCursor);
  case crHourGlass:
  case crSQLWait:
    return QCursor(Qt::WaitCursor);
  case crDrag:
  case crMultiDrag:
    return QCursor(Qt::DragCopyCursor);
  case crNoDrop:
  case crNo:
    return QCursor(Qt::ForbiddenCursor);
  case crAppStart:
    return QCursor(Qt::BusyCursor);
  case crHelp:
    return QCursor(Qt::WhatsThisCursor);
  case crHandPoint:
    return QCursor(Qt::PointingHandCursor);
  case crSizeAll:
    return QCursor(Qt::SizeAllCursor);
  case crChartHand:
    return QCursor(Qt::OpenHandCursor);
  default:
    return QCursor(Qt::ArrowCursor);
  }
}
