#pragma once

#include "imaging/animation/cache.h"
#include "imaging/argb8888.h"

namespace mavu::imaging {

// Decoded pictures by file name (`TARGB8888Manager`): the decoder is chosen
// by the name's extension (".bmp", ".jpg", ".png"); each picture is charged
// width x height x 4 bytes.
class TARGB8888Manager : public TCache<TARGB8888> {
 public:
  static constexpr size_t kStartCapacity = 4 * 1024 * 1024;

  TARGB8888Manager() : TCache(kStartCapacity) {}

 protected:
  std::shared_ptr<TARGB8888> Build(std::span<const uint8_t> bytes,
                                   std::string_view lowerName) override;
  size_t SizeOf(const TARGB8888& image) const override;
};

// The process-wide picture cache, used from the main thread only.
TARGB8888Manager& TheARGB8888Manager();

}  // namespace mavu::imaging
