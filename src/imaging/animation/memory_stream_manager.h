#pragma once

#include "base/bytes.h"
#include "imaging/animation/cache.h"

namespace mavu::imaging {

// Raw bytes by name (`TMemoryStreamManager`): the sounds embedded in animation
// files and their decoded forms.
class TMemoryStreamManager : public TCache<const base::Bytes> {
 public:
  static constexpr size_t kStartCapacity = 2 * 1024 * 1024;

  TMemoryStreamManager() : TCache(kStartCapacity) {}

 protected:
  std::shared_ptr<const base::Bytes> Build(std::span<const uint8_t> bytes,
                                           std::string_view) override {
    return std::make_shared<const base::Bytes>(bytes.begin(), bytes.end());
  }
  size_t SizeOf(const base::Bytes& bytes) const override { return bytes.size(); }
};

// The process-wide stream cache, used from the main thread only.
TMemoryStreamManager& TheMemoryStreamManager();

}  // namespace mavu::imaging
