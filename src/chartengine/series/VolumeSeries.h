#pragma once
#include "chartengine/series/CustomSeries.h"

// Volumes as vertical lines from the bottom of the vertical axis (its top
// when inverted) up to each point's value, in the line pen and the point colour.
class TVolumeSeries : public TCustomSeries {
public:
  explicit TVolumeSeries(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  void DrawPoint(int valueIndex) override;
  int SamplePointCount() override { return 40; }
  // Random volumes over the sample range; fewer than one raises ChartException.
  void FillSampleValues(int numValues) override;
  void PrepareSample(bool enabled) override;
  std::string EditorClassName() const override { return "TVolumeSeriesEditor"; }

  TChartValueList &VolumeValues() { return YValues(); }
  void SetVolumeValues(const TChartValueList &value) { SetYValues(value); }
};

// Enters the volume series in the gallery ("Volume" on "Extended").
void RegisterVolumeSeriesType();
