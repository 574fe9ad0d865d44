#pragma once
#include "chartengine/canvas/ChartFontObject.h"

#include <string>

class TCustomChartAxis;

// The title of an axis: a caption written along the axis at an angle with
// its own font.
class TChartAxisTitle : public TChartFontObject {
public:
  // The default angle is the one the chart gives the axis (90 for a left
  // axis, 270 for a right one, else 0).
  TChartAxisTitle(TCustomChartPanel *parent, TCustomChartAxis *axis, int defaultAngle = 0);

  // Copies the angle, the caption and the font.
  void Assign(const TChartAxisTitle &source);

  int Angle() const { return m_angle; }
  // 0 .. 360; others raise ChartException "Axis Title Angle must be ...".
  void SetAngle(int value);
  bool IsAngleStored() const { return m_angle != m_defaultAngle; }
  int DefaultAngle() const { return m_defaultAngle; }
  void SetDefaultAngle(int value) { m_defaultAngle = value; }
  const std::string &Caption() const { return m_caption; }
  void SetCaption(const std::string &value);
  TCustomChartAxis *Axis() const { return m_axis; }

private:
  TCustomChartAxis *m_axis;
  int m_angle;
  int m_defaultAngle;
  std::string m_caption;
};
