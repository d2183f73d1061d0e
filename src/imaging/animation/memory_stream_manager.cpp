#include "imaging/animation/memory_stream_manager.h"

namespace mavu::imaging {

TMemoryStreamManager& TheMemoryStreamManager() {
  static TMemoryStreamManager manager;
  return manager;
}

}  // namespace mavu::imaging
