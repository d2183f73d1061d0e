#include "imaging/animation/argb8888_manager.h"

namespace mavu::imaging {

std::shared_ptr<TARGB8888> TARGB8888Manager::Build(std::span<const uint8_t> bytes,
                                                   std::string_view lowerName) {
  auto image = std::make_shared<TARGB8888>();
  base::ByteReader in(bytes);
  try {
    if (lowerName.ends_with(".bmp")) {
      image->LoadBmp(in);
    } else if (lowerName.ends_with(".jpg")) {
      image->LoadJpeg(in);
    } else if (lowerName.ends_with(".png")) {
      image->LoadPng(in);
    } else {
      return nullptr;
    }
  } catch (const ImageLoadError&) {
    return nullptr;
  }
  return image;
}

size_t TARGB8888Manager::SizeOf(const TARGB8888& image) const {
  return static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height()) * 4;
}

TARGB8888Manager& TheARGB8888Manager() {
  static TARGB8888Manager manager;
  return manager;
}

}  // namespace mavu::imaging
