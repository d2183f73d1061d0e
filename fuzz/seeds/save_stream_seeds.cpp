#include <optional>

#include "resource/game_settings.h"
#include "resource/save_data.h"
#include "seed_registry.h"

namespace {

using mavu::base::Bytes;
using mavu::resource::SaveThumbnail;

// A saved game from the project's writer, with a two-line excerpt source.
Bytes SaveFile(bool compress, const std::optional<SaveThumbnail>& thumbnail, const Bytes& state) {
  mavu::resource::TKelSaveData saveData(mavu::resource::kBuiltInCodeKey);
  saveData.SetHeader({"Chapter 1", "\x91\xe6\x88\xea\x98\x62", "", "Day 3"},
                     "\x82\xa0\x82\xa2\x82\xa4 first line\r\nsecond line");
  if (thumbnail) saveData.SetThumbnail(*thumbnail);
  saveData.SetState(state);
  return saveData.BuildFile(compress).value_or(Bytes{});
}

}  // namespace

MAVU_FUZZ_SEEDS(save_stream) {
  const SaveThumbnail thumbnail(3, 2, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x1234});
  Bytes state(600);
  for (size_t i = 0; i < state.size(); ++i) state[i] = static_cast<uint8_t>(i * i % 251);
  return {SaveFile(true, thumbnail, state), SaveFile(false, thumbnail, state),
          SaveFile(true, std::nullopt, {})};
}
