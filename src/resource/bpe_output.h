#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/bytes.h"

namespace mavu::resource {

// The expanded bytes of a stream, grown as blocks produce them up to the
// declared length, so that a short stream declaring a large length costs
// little. The buffer keeps kSlack bytes behind its usable end.
class BpeOutput {
 public:
  static constexpr size_t kSlack = 16;

  BpeOutput(uint32_t length, size_t packedSize);

  uint8_t* Begin() { return bytes_.data(); }
  uint8_t* UsableEnd() { return bytes_.data() + bytes_.size() - kSlack; }
  // Makes room for `count` bytes after `used`; throws base::FormatError when
  // that would pass the declared length.
  void Reserve(size_t used, uint64_t count);
  // The bytes, when exactly the declared length was produced.
  std::optional<base::Bytes> Finish(size_t used);

 private:
  base::Bytes bytes_;
  size_t limit_;
};

}  // namespace mavu::resource
