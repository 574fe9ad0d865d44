#include "chartengine/canvas/ChartPalette.h"

namespace {
constexpr TColor kPalette[SeriesPaletteSize] = {
    clRed,  clGreen,  clYellow, clBlue,  clWhite,  clGray,   clFuchsia, clTeal,
    clNavy, clMaroon, clLime,   clOlive, clPurple, clSilver, clAqua,    clBlack};

constexpr TBrushStyle kHatches[HatchPatternCount] = {bsHorizontal, bsVertical, bsFDiagonal,
                                                     bsBDiagonal,  bsCross,    bsDiagCross};

int Wrap(int index, int size) {
  const int r = index % size;
  return r < 0 ? r + size : r;
}
} // namespace

TColor SeriesPaletteColor(int index) { return kPalette[Wrap(index, SeriesPaletteSize)]; }

TBrushStyle HatchPatternFor(int index) { return kHatches[Wrap(index, HatchPatternCount)]; }
