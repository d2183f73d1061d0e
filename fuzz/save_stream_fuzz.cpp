#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/game_settings.h"
#include "resource/save_data.h"
#include "resource/sealed_stream.h"

namespace {

using mavu::base::ByteReader;
using mavu::resource::TKelSaveData;

// Magic, checksum and length ahead of a sealed payload.
constexpr size_t kSealHead = 12;
constexpr uint32_t kKey = mavu::resource::kBuiltInCodeKey;

bool SameContents(const TKelSaveData& a, const TKelSaveData& b) {
  return a.Header().titles == b.Header().titles && a.Header().excerpt == b.Header().excerpt &&
         a.Header().saveTime == b.Header().saveTime && a.State() == b.State() &&
         a.Thumbnail() == b.Thumbnail();
}

// What read whole must build a file, packed or not, that reads back the same.
void CheckRebuilt(const TKelSaveData& loaded) {
  for (const bool compress : {true, false}) {
    const auto file = loaded.BuildFile(compress);
    if (!file) std::abort();
    TKelSaveData again(kKey);
    ByteReader in(*file);
    if (!again.ReadSaveStream(in, true, true, true) || !SameContents(loaded, again)) std::abort();
  }
}

void ReadEveryWay(std::span<const uint8_t> file) {
  for (int asked = 0; asked < 8; ++asked) {
    TKelSaveData saveData(kKey);
    ByteReader in(file);
    const bool read =
        saveData.ReadSaveStream(in, (asked & 1) != 0, (asked & 2) != 0, (asked & 4) != 0);
    if (read && asked == 7) CheckRebuilt(saveData);
  }
}

}  // namespace

// Reads arbitrary bytes as a saved game with every choice of what to load, and
// once more with everything after the seal's head sealed afresh, so that
// damaged payloads get past the checksum.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  ReadEveryWay(input);
  if (size >= kSealHead) {
    mavu::base::ByteWriter resealed;
    mavu::resource::SealStream(input.subspan(kSealHead), resealed);
    ReadEveryWay(resealed.Data());
  }
  return 0;
}
