#include "platform/BitmapBuffer.h"

#include <QPainter>
#include <algorithm>

TBitmapBuffer::TBitmapBuffer(int width, int height) { SetSize(width, height); }

TBitmapBuffer::~TBitmapBuffer() { m_canvas.End(); }

void TBitmapBuffer::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == Width() && height == Height())
    return;
  m_canvas.End();
  if (width == 0 || height == 0) {
    m_image = QImage();
    return;
  }
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (!m_image.isNull()) {
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(0, 0), m_image);
  }
  m_image = std::move(image);
  m_canvas.Begin(&m_image);
}

TCanvas &TBitmapBuffer::Canvas() { return m_canvas; }
