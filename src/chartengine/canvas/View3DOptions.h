#pragma once
#include <functional>

// The 3-D look of a chart: angles in degrees, offsets in pixels, zoom in
// percent. A changed value is stored and the owner is asked to repaint.
class TView3DOptions {
public:
  TView3DOptions() = default;
  explicit TView3DOptions(std::function<void()> onChange) : m_onChange(std::move(onChange)) {}
  TView3DOptions(const TView3DOptions &) = delete;
  TView3DOptions &operator=(const TView3DOptions &) = delete;

  // Copies every setting (not the notifications); repaints once when any
  // setting changed.
  void Assign(const TView3DOptions &source);

  int Elevation() const { return m_elevation; }
  void SetElevation(int value);
  int HorizOffset() const { return m_horizOffset; }
  void SetHorizOffset(int value);
  bool Orthogonal() const { return m_orthogonal; }
  void SetOrthogonal(bool value);
  int Perspective() const { return m_perspective; }
  void SetPerspective(int value);
  int Rotation() const { return m_rotation; }
  void SetRotation(int value);
  int Tilt() const { return m_tilt; }
  void SetTilt(int value);
  int VertOffset() const { return m_vertOffset; }
  void SetVertOffset(int value);
  int Zoom() const { return m_zoom; }
  void SetZoom(int value);
  bool ZoomText() const { return m_zoomText; }
  void SetZoomText(bool value);

  void SetOnChange(std::function<void()> fn) { m_onChange = std::move(fn); }
  // Told after an offset changed (true: horizontal) and before a zoom is stored.
  std::function<void(bool isHorizontal)> OnScrolled;
  std::function<void(int newZoom)> OnZoomed;

private:
  template <typename T> bool Store(T &field, T value);
  void Changed();

  int m_elevation = 345;
  int m_horizOffset = 0;
  bool m_orthogonal = true;
  int m_perspective = 15;
  int m_rotation = 345;
  int m_tilt = 0;
  int m_vertOffset = 0;
  int m_zoom = 100;
  bool m_zoomText = true;
  std::function<void()> m_onChange;
};
