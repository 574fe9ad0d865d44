#include "chartengine/canvas/View3DOptions.h"

template <typename T> bool TView3DOptions::Store(T &field, T value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

void TView3DOptions::Changed() {
  if (m_onChange)
    m_onChange();
}

void TView3DOptions::Assign(const TView3DOptions &s) {
  bool changed = false;
  changed |= Store(m_elevation, s.m_elevation);
  changed |= Store(m_horizOffset, s.m_horizOffset);
  changed |= Store(m_orthogonal, s.m_orthogonal);
  changed |= Store(m_perspective, s.m_perspective);
  changed |= Store(m_rotation, s.m_rotation);
  changed |= Store(m_tilt, s.m_tilt);
  changed |= Store(m_vertOffset, s.m_vertOffset);
  changed |= Store(m_zoom, s.m_zoom);
  changed |= Store(m_zoomText, s.m_zoomText);
  if (changed)
    Changed();
}

void TView3DOptions::SetElevation(int value) {
  if (Store(m_elevation, value))
    Changed();
}

void TView3DOptions::SetHorizOffset(int value) {
  if (Store(m_horizOffset, value)) {
    Changed();
    if (OnScrolled)
      OnScrolled(true);
  }
}

void TView3DOptions::SetOrthogonal(bool value) {
  if (Store(m_orthogonal, value))
    Changed();
}

void TView3DOptions::SetPerspective(int value) {
  if (Store(m_perspective, value))
    Changed();
}

void TView3DOptions::SetRotation(int value) {
  if (Store(m_rotation, value))
    Changed();
}

void TView3DOptions::SetTilt(int value) {
  if (Store(m_tilt, value))
    Changed();
}

void TView3DOptions::SetVertOffset(int value) {
  if (Store(m_vertOffset, value)) {
    Changed();
    if (OnScrolled)
      OnScrolled(false);
  }
}

void TView3DOptions::SetZoom(int value) {
  if (m_zoom == value)
    return;
  if (OnZoomed)
    OnZoomed(value);
  m_zoom = value;
  Changed();
}

void TView3DOptions::SetZoomText(bool value) {
  if (Store(m_zoomText, value))
    Changed();
}
