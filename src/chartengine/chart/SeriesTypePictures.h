#pragma once
#include <QImage>

#include <string>

// Gallery pictures of the registered series types: each type's sample
// (PrepareSample) drawn in a small chart without axes, legend or titles.

constexpr int SeriesTypePictureWidth = 72;
constexpr int SeriesTypePictureHeight = 54;

// The picture of the series type registered under that class name; a null
// image for a name that is no registered series type.
QImage DrawSeriesTypeSample(const std::string &className);

// Makes DrawSeriesTypeSample the maker of the gallery's pictures
// (LoadGalleryBitmap, TChartSeries::LoadTypeBitmap).
void InstallSeriesTypePictures();
