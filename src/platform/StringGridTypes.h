#pragma once
// Input and drawing vocabulary of the grid control and the drag manager:
// mouse buttons, shift state, virtual key codes, cell draw state and the
// grid's mouse state.

class QMouseEvent;
class QKeyEvent;
class QWheelEvent;

// ---- Mouse and keyboard ----------------------------------------------------

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier keys and held buttons at the time of an event, or-ed together.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1u << 0;
constexpr TShiftState ssAlt = 1u << 1;
constexpr TShiftState ssCtrl = 1u << 2;
constexpr TShiftState ssLeft = 1u << 3;
constexpr TShiftState ssRight = 1u << 4;
constexpr TShiftState ssMiddle = 1u << 5;
constexpr TShiftState ssDouble = 1u << 6; // the mouse-down of a double click

// Virtual key codes as key handlers see them (letters and digits are their
// upper-case character codes).
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70; // F2..F12 follow

// The shift state of a Qt mouse event (modifiers and held buttons; the button
// that went down is included for a press).
TShiftState ShiftStateOf(const QMouseEvent &e);
TShiftState ShiftStateOf(const QKeyEvent &e);
// The virtual key code of a Qt key event; 0 for keys without one.
int VirtualKeyOf(const QKeyEvent &e);

// ---- Grid ------------------------------------------------------------------

// How a cell is drawn, or-ed together.
using TGridDrawState = unsigned;
constexpr TGridDrawState gdSelected = 1u << 0;
constexpr TGridDrawState gdFocused = 1u << 1;
constexpr TGridDrawState gdFixed = 1u << 2;

// What the mouse is doing to the grid.
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
