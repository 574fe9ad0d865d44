#pragma once
// TAnimGif: an animated GIF picture for banners and the loading spinner. It
// keeps the bytes it was loaded from and plays them through Qt's image
// reader while animation is on.
#include <QByteArray>
#include <QImage>
#include <QObject>

#include <functional>
#include <memory>

class QBuffer;
class QIODevice;
class QMovie;

class TAnimGif {
public:
  TAnimGif();
  ~TAnimGif();
  TAnimGif(const TAnimGif &) = delete;
  TAnimGif &operator=(const TAnimGif &) = delete;

  // Reads the whole device (or the bytes); false, and empty, when they do not
  // form a picture Qt can read.
  bool LoadFromStream(QIODevice &stream);
  bool LoadFromData(const QByteArray &data);
  bool Empty() const { return !m_movie; }
  int FrameCount() const;
  QImage CurrentFrame() const;

  // Draw option "animate": frames advance while on (and the picture is loaded).
  bool Animate() const { return m_animate; }
  void SetAnimate(bool on);
  // Stops the animation for good and drops the picture.
  void StopPainting();

  // Called on the window thread with each new frame while animating.
  std::function<void(const QImage &frame)> OnFrame;

private:
  void Restart();

  QByteArray m_data;
  std::unique_ptr<QBuffer> m_buffer;
  std::unique_ptr<QMovie> m_movie;
  bool m_animate = false;
};
