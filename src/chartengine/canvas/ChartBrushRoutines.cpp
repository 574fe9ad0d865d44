#include "chartengine/canvas/ChartBrushRoutines.h"

#include "chartengine/canvas/ChartCanvas.h"

void SetBrushWithBackground(TChartCanvas &canvas, TColor color, TBrushStyle style,
                            TColor backColor) {
  TBrush &brush = canvas.Brush();
  brush.Color = color;
  if (style != bsSolid && color == backColor)
    brush.Color = backColor != clBlack ? clBlack : clWhite;
  brush.Style = style;
  if (style != bsSolid) {
    canvas.SetBackMode(OPAQUE);
    canvas.SetBackColor(backColor);
  } else {
    canvas.SetBackMode(TRANSPARENT);
  }
}

void AdjustPenForPrinting(bool printing, TPen &pen) {
  if (printing && pen.Style != psSolid && pen.Width == 1)
    pen.Width = 0;
}
