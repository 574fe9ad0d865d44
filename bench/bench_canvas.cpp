// A 1-px polyline of 100,000 points into a 1280x720 picture: through TCanvas
// and with QPainter directly (cosmetic pen, antialiasing off).
#include "platform/Canvas.h"
#include "platform/QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kPoints = 100000;

// A price-like trace: a slow wave plus a deterministic jitter, spread over the
// width so that neighbouring points are a few pixels apart vertically.
const std::vector<TPoint> &Trace() {
  static const std::vector<TPoint> points = [] {
    std::vector<TPoint> p;
    p.reserve(kPoints);
    unsigned seed = 12345;
    for (int i = 0; i < kPoints; ++i) {
      seed = seed * 1103515245u + 12345u;
      const double jitter = int((seed >> 16) % 41) - 20;
      const double y = kHeight / 2.0 + 250.0 * std::sin(i * 0.0007) + jitter;
      p.emplace_back(int(i * double(kWidth - 1) / (kPoints - 1)), int(y));
    }
    return p;
  }();
  return points;
}

void BM_PolylineThroughCanvas(benchmark::State &state) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  TQPainterCanvas canvas(&image);
  canvas.Pen().Color = clNavy;
  const std::vector<TPoint> &points = Trace();
  for (auto _ : state) {
    canvas.Polyline(points);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PolylineThroughCanvas)->Unit(benchmark::kMillisecond);

// The same through the raster-mode path (not-xor), which hands its pixels to
// QPainter instead of writing them itself.
void BM_PolylineThroughCanvasNotXor(benchmark::State &state) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  TQPainterCanvas canvas(&image);
  canvas.Pen().Color = clNavy;
  canvas.Pen().Mode = pmNotXor;
  const std::vector<TPoint> &points = Trace();
  for (auto _ : state) {
    canvas.Polyline(points);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PolylineThroughCanvasNotXor)->Unit(benchmark::kMillisecond);

void BM_PolylineQPainterDirect(benchmark::State &state) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(ToQColor(clNavy), 1, Qt::SolidLine, Qt::FlatCap);
  pen.setCosmetic(true);
  painter.setPen(pen);
  std::vector<QPoint> points;
  points.reserve(kPoints);
  for (const TPoint &p : Trace())
    points.emplace_back(p.X, p.Y);
  for (auto _ : state) {
    painter.drawPolyline(points.data(), int(points.size()));
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PolylineQPainterDirect)->Unit(benchmark::kMillisecond);

} // namespace
