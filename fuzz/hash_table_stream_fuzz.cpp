#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/hash_table.h"

namespace {

mavu::base::Bytes Saved(const mavu::resource::THashTable& table) {
  mavu::base::ByteWriter out;
  table.SaveToStream(out);
  return out.Take();
}

// A table that loaded must save, load and save again to the same bytes, and
// still take new keys.
void CheckLoaded(mavu::resource::THashTable& table) {
  const mavu::base::Bytes first = Saved(table);
  mavu::resource::THashTable again(table.BucketCount());
  mavu::base::ByteReader in(first);
  again.LoadFromStream(in);
  if (Saved(again) != first) std::abort();
  const uint8_t value[4] = {1, 2, 3, 4};
  again.Put("fuzz\\key", value);
  uint8_t back[4] = {};
  again.Get("FUZZ\\KEY", back);
}

}  // namespace

// Reads arbitrary bytes as a hash-table stream into tables of the bucket counts in use.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (uint32_t buckets : {4u, 256u, 512u}) {
    mavu::resource::THashTable table(buckets);
    mavu::base::ByteReader in(std::span<const uint8_t>(data, size));
    try {
      table.LoadFromStream(in);
    } catch (const mavu::base::FormatError&) {
      continue;
    }
    CheckLoaded(table);
  }
  return 0;
}
