#include "chartengine/canvas/GalleryBitmaps.h"

#include <map>

namespace {
struct TGallery {
  TGalleryPictureMaker Maker;
  std::map<std::string, QImage> Pictures;
};

TGallery &Gallery() {
  static TGallery gallery;
  return gallery;
}
} // namespace

void SetGalleryPictureMaker(TGalleryPictureMaker maker) {
  Gallery().Maker = std::move(maker);
  Gallery().Pictures.clear();
}

bool LoadGalleryBitmap(const std::string &name, QImage &bitmap) {
  TGallery &gallery = Gallery();
  auto it = gallery.Pictures.find(name);
  if (it == gallery.Pictures.end()) {
    if (!gallery.Maker)
      return false;
    const QImage picture = gallery.Maker(name);
    if (picture.isNull())
      return false;
    it = gallery.Pictures.emplace(name, picture).first;
  }
  bitmap = it->second;
  return true;
}

