#pragma once
#include "chartengine/engine/ChartSeries.h"

// The base of series drawn in a circle or ellipse inside the chart's plot
// rectangle instead of against axes. While such a series is in a chart the
// chart takes a pie look (no axes, walls, clipping, zoom or panning); it gets
// its look back when the last of them leaves.
class TCircledSeries : public TChartSeries {
public:
  explicit TCircledSeries(TChartComponent *owner = nullptr);
  // Leaves the chart first, so that the chart gets its look back.
  ~TCircledSeries() override;

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Circled, RotationAngle, both custom radii and CircleBackColor, then the series.
  void Assign(TChartSeries &source) override;
  // Leaving a chart restores its look; joining one gives it the pie look.
  void SetParentChart(TCustomAxisPanel *value) override;
  void SetActive(bool value) override;
  bool IsOnAxis(const TCustomChartAxis *) override { return true; }
  bool HasAxes() override { return false; }
  // A circled series never widens an axis: it answers the axes' own ranges.
  double LargestX() override;
  double SmallestX() override;
  double LargestY() override;
  double SmallestY() override;
  // Lays the circle out in the plot rectangle, then fires BeforeDrawValues.
  void FireBeforeDrawValues() override;
  void SetUpLegendCanvas(int valueIndex, TColor &backColor, TBrushStyle &brushStyle) override;
  // The inherited switch, then the oblique view pies are shown in.
  void ChangeView3D(bool is3D) override;

  // ---- the circle of the current drawing
  const TRect &CircleRect() const { return m_circleRect; }
  int CircleXCenter() const { return m_xCenter; }
  int CircleYCenter() const { return m_yCenter; }
  int CircleWidth() const { return m_circleWidth; }
  int CircleHeight() const { return m_circleHeight; }
  int XRadius() const { return m_xRadius; }
  int YRadius() const { return m_yRadius; }
  // The screen point at an angle (radians, counter-clockwise from the
  // rotation origin) on an ellipse of the given radii around the centre.
  TPoint AngleToPos(double angle, int xRadius, int yRadius) const;
  // The angle of a screen point seen from the centre, 0 .. 2 pi from the
  // rotation origin.
  double PointToAngle(int x, int y) const;

  // Width over height of one screen pixel (1 for square pixels).
  static double ScreenAspectRatio();
  // The same from a screen's size in pixels and in millimetres; a screen
  // that does not tell its millimetres has square pixels.
  static double AspectRatioOf(int pixelWidth, int pixelHeight, double mmWidth, double mmHeight);

  // ---- properties (a change repaints)
  // A true circle on the screen whatever the pixel shape; copied to the
  // chart's circled series of this class or an ancestor class, like both
  // custom radii.
  bool Circled() const { return m_circled; }
  void SetCircled(bool value);
  // Degrees; below 0 raises PieException, others are kept modulo 360.
  int RotationAngle() const { return m_rotationAngle; }
  void SetRotationAngle(int value);
  double RotationRadians() const { return m_rotationRadians; }
  // Fixed radii in pixels; 0 takes them from the plot rectangle.
  int CustomXRadius() const { return m_customXRadius; }
  void SetCustomXRadius(int value);
  int CustomYRadius() const { return m_customYRadius; }
  void SetCustomYRadius(int value);
  // The background of pattern fills; clTeeColor takes the chart's.
  TColor CircleBackColor() const { return m_circleBackColor; }
  void SetCircleBackColor(TColor value);

protected:
  // The oblique view a pie is shown in (not orthogonal, seen from above).
  void SetPieView();
  // Gives the chart the pie look (false) or its own look back (true).
  virtual void SetChartLook(bool enable);
  // The circle from the plot rectangle: room for marks, true circle, radii.
  virtual void LayoutCircle();
  // Normalises rect (even sizes, at least 4 x 4), then radii and the circle
  // rectangle around its centre.
  void PlaceCircle(TRect rect);
  bool Is3DChart() const;

private:
  template <typename Fn> void ForEachOfClassOrAncestor(Fn fn);
  static TRect Normalised(TRect rect);

  bool m_circled = false;
  int m_rotationAngle = 0;
  int m_customXRadius = 0;
  int m_customYRadius = 0;
  int m_xRadius = 0;
  int m_yRadius = 0;
  TColor m_circleBackColor;
  double m_rotationRadians = 0.0;
  int m_circleWidth = 0;
  int m_circleHeight = 0;
  int m_xCenter = 0;
  int m_yCenter = 0;
  TRect m_circleRect;
};
