#include <string>

#include "base/byte_writer.h"
#include "resource/hash_table.h"
#include "seed_registry.h"

namespace {

using mavu::base::Bytes;

Bytes SavedTable(uint32_t buckets, int keys, size_t valueSize) {
  mavu::resource::THashTable table(buckets);
  for (int i = 0; i < keys; ++i) {
    const Bytes value(valueSize, static_cast<uint8_t>(i));
    table.Put("Script\\Scene" + std::to_string(i) + ".s", value);
  }
  mavu::base::ByteWriter out;
  table.SaveToStream(out);
  return out.Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(hash_table_stream) {
  return {SavedTable(4, 0, 2), SavedTable(4, 5, 2), SavedTable(256, 40, 4),
          SavedTable(512, 100, 2)};
}
