#pragma once
#include <QImage>

#include <functional>
#include <string>

// The pictures of the gallery of series types, by name (a series class
// name). There are no picture resources: a picture is made at first use by
// the maker the chart control installs, and kept for later asks.

// Makes the picture of a name; a null image when the name has none.
using TGalleryPictureMaker = std::function<QImage(const std::string &name)>;
void SetGalleryPictureMaker(TGalleryPictureMaker maker);

// The picture of that name into bitmap; false, leaving bitmap as it was,
// when there is none. Window thread only.
bool LoadGalleryBitmap(const std::string &name, QImage &bitmap);
