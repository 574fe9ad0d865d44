#pragma once
#include "platform/QPainterCanvas.h"

#include <QImage>

// An off-screen picture (32-bit RGB) with a canvas that draws into it. New
// pixels are white; a change of size keeps the picture's top-left part. The
// canvas keeps its pen, brush and font across size changes; its clip is
// dropped.
class TBitmapBuffer {
public:
  TBitmapBuffer() = default;
  TBitmapBuffer(int width, int height);
  TBitmapBuffer(const TBitmapBuffer &) = delete;
  TBitmapBuffer &operator=(const TBitmapBuffer &) = delete;
  ~TBitmapBuffer();

  int Width() const { return m_image.width(); }
  int Height() const { return m_image.height(); }
  bool Empty() const { return m_image.isNull(); }
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }

  // The canvas drawing into the picture (does nothing while the size is 0).
  TCanvas &Canvas();
  // The picture with everything drawn so far.
  const QImage &Image() const { return m_image; }

private:
  QImage m_image;
  TQPainterCanvas m_canvas;
};
