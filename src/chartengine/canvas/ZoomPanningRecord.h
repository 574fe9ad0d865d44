#pragma once

// A zoom rectangle or a panning drag being made with the mouse.
struct TZoomPanningRecord {
  bool Active = false;
  int X0 = 0;
  int Y0 = 0;
  int X1 = 0;
  int Y1 = 0;
};
