#include "resource/random_table.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace mavu::resource {

bool RandomTable::Load(const std::optional<base::Bytes>& file) {
  if (!file) return false;
  std::array<uint8_t, kFileBytes> bytes{};
  std::copy_n(file->begin(), std::min(file->size(), kFileBytes), bytes.begin());
  base::ByteReader in(bytes);
  for (uint32_t& value : values_) value = in.U32();
  cursor_ = 0;
  return true;
}

int32_t RandomTable::Draw(int32_t n) {
  cursor_ = (cursor_ + 1) % kSize;
  const uint32_t value = values_[cursor_];
  if (n == 0) return 0;
  if (n > 0) return static_cast<int32_t>(value % static_cast<uint32_t>(n));
  // -n of INT32_MIN is 2^31: work in 64 bits.
  const int64_t range = -int64_t{n};
  const auto rest = static_cast<int64_t>(value % static_cast<uint64_t>(range));
  return static_cast<int32_t>(rest - range / 2);
}

RandomTable& TheRandomTable() {
  static RandomTable table;
  return table;
}

}  // namespace mavu::resource
