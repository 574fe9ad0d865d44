#include "platform/StringGridTypes.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {
TShiftState ModifierState(Qt::KeyboardModifiers m) {
  TShiftState s = 0;
  if (m & Qt::ShiftModifier)
    s |= ssShift;
  if (m & Qt::ControlModifier)
    s |= ssCtrl;
  if (m & Qt::AltModifier)
    s |= ssAlt;
  return s;
}
} // namespace

TShiftState ShiftStateOf(const QMouseEvent &e) {
  TShiftState s = ModifierState(e.modifiers());
  const Qt::MouseButtons b = e.buttons();
  if (b & Qt::LeftButton)
    s |= ssLeft;
  if (b & Qt::RightButton)
    s |= ssRight;
  if (b & Qt::MiddleButton)
    s |= ssMiddle;
  return s;
}

TShiftState ShiftStateOf(const QKeyEvent &e) { return ModifierState(e.modifiers()); }

int VirtualKeyOf(const QKeyEvent &e) {
  const int k = e.key();
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
    return k; // the same codes
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
    return VK_F1 + (k - Qt::Key_F1);
  switch (k) {
  case Qt::Key_Backspace:
    return VK_BACK;
  case Qt::Key_Tab:
  case Qt::Key_Backtab:
    return VK_TAB;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return VK_RETURN;
  case Qt::Key_Shift:
    return VK_SHIFT;
  case Qt::Key_Control:
    return VK_CONTROL;
  case Qt::Key_Alt:
    return VK_MENU;
  case Qt::Key_Escape:
    return VK_ESCAPE;
  case Qt::Key_Space:
    return VK_SPACE;
  case Qt::Key_PageUp:
    return VK_PRIOR;
  case Qt::Key_PageDown:
    return VK_NEXT;
  case Qt::Key_End:
    return VK_END;
  case Qt::Key_Home:
    return VK_HOME;
  case Qt::Key_Left:
    return VK_LEFT;
  case Qt::Key_Up:
    return VK_UP;
  case Qt::Key_Right:
    return VK_RIGHT;
  case Qt::Key_Down:
    return VK_DOWN;
  case Qt::Key_Insert:
    return VK_INSERT;
  case Qt::Key_Delete:
    return VK_DELETE;
  default:
    return 0;
  }
}
