#include "resource/label_log.h"

#include <array>

namespace mavu::resource {
namespace {

using ValueBytes = std::array<uint8_t, sizeof(int32_t)>;

ValueBytes Encode(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
          static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

int32_t Decode(const ValueBytes& bytes) {
  return static_cast<int32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                              (uint32_t{bytes[3]} << 24));
}

}  // namespace

bool TLabelLog::RecordCount(std::string_view key, int32_t value, bool force) {
  if (!force) {
    const auto stored = Find(key);
    if (stored && *stored >= value) return false;
  }
  ++changes_;
  return table_.Put(key, Encode(value));
}

std::optional<int32_t> TLabelLog::Find(std::string_view key) {
  ValueBytes bytes{};
  if (!table_.Get(key, bytes)) return std::nullopt;
  return Decode(bytes);
}

}  // namespace mavu::resource
