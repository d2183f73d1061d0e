#include <string>
#include <string_view>
#include <vector>

#include "base/byte_writer.h"
#include "seed_registry.h"

namespace {

using mavu::base::Bytes;

constexpr size_t kHeadPadding = 244;
constexpr size_t kRecordSize = 268;
constexpr size_t kIdWidth = 256;

struct Entry {
  std::string id;
  Bytes stored;
  uint32_t unpackedLength;
};

// Head, directory, then the bodies in order.
Bytes Archive(uint32_t kind, const std::vector<Entry>& entries) {
  mavu::base::ByteWriter out;
  out.U32(kind).Text("QDA0").U32(static_cast<uint32_t>(entries.size())).Zeros(kHeadPadding);
  auto offset = static_cast<uint32_t>(out.Size() + entries.size() * kRecordSize);
  for (const auto& entry : entries) {
    out.U32(offset).U32(static_cast<uint32_t>(entry.stored.size())).U32(entry.unpackedLength);
    out.FixedText(entry.id, kIdWidth);
    offset += static_cast<uint32_t>(entry.stored.size());
  }
  for (const auto& entry : entries) out.Append(entry.stored);
  return out.Take();
}

Bytes FromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// Pair 128 = ('x','y') in a head-less block with a u32 data length.
Bytes PackedBody() {
  return mavu::base::ByteWriter()
      .Append(Bytes{0xFF, 'x', 'y', 0xFE})
      .U32(3)
      .Append(Bytes{0x80, 0x80, 'z'})
      .Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(qda_reader) {
  return {Archive(0, {{"bg01", FromText("plain body"), 10}, {"Chara\\Face", FromText("face"), 4}}),
          Archive(1, {{"BG01", PackedBody(), 5}}), Archive(0, {})};
}
