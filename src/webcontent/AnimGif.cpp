#include "webcontent/AnimGif.h"

#include <QBuffer>
#include <QIODevice>
#include <QImageReader>
#include <QMovie>

TAnimGif::TAnimGif() = default;

TAnimGif::~TAnimGif() { StopPainting(); }

bool TAnimGif::LoadFromStream(QIODevice &stream) {
  if (!stream.isOpen() && !stream.open(QIODevice::ReadOnly)) {
    StopPainting();
    return false;
  }
  return LoadFromData(stream.readAll());
}

bool TAnimGif::LoadFromData(const QByteArray &data) {
  StopPainting();
  if (data.isEmpty())
    return false;
  auto buffer = std::make_unique<QBuffer>();
  buffer->setData(data);
  buffer->open(QIODevice::ReadOnly);
  auto movie = std::make_unique<QMovie>(buffer.get());
  if (!movie->isValid() || !movie->jumpToFrame(0))
    return false;
  m_data = data;
  m_buffer = std::move(buffer);
  m_movie = std::move(movie);
  QObject::connect(m_movie.get(), &QMovie::frameChanged, [this](int) {
    if (OnFrame && m_movie)
      OnFrame(m_movie->currentImage());
  });
  Restart();
  return true;
}

int TAnimGif::FrameCount() const { return m_movie ? m_movie->frameCount() : 0; }

QImage TAnimGif::CurrentFrame() const { return m_movie ? m_movie->currentImage() : QImage(); }

void TAnimGif::SetAnimate(bool on) {
  if (m_animate == on)
    return;
  m_animate = on;
  Restart();
}

void TAnimGif::Restart() {
  if (!m_movie)
    return;
  if (m_animate && m_movie->frameCount() != 1)
    m_movie->start();
  else
    m_movie->stop();
}

void TAnimGif::StopPainting() {
  m_animate = false;
  if (m_movie)
    m_movie->stop();
  m_movie.reset();
  m_buffer.reset();
  m_data.clear();
}
