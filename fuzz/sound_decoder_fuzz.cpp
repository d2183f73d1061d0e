#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "shell/sound/loop_header.h"
#include "shell/sound/ogg_data.h"
#include "shell/sound/whole_sound.h"
#include "support/sound/ogg_maker.h"

namespace {

// Blocks of the smallest stream buffer: 2048 frames each.
constexpr size_t kBlockBytes = 8192;
constexpr int kBlocks = 6;

void DecodeBlocks(mavu::shell::TOggData& decoder, int count) {
  std::vector<int16_t> block(kBlockBytes / 2);
  for (int i = 0; i < count; ++i) decoder.DecodeBlock(block, i % 2);
}

}  // namespace

// Arbitrary bytes as a sound file (with or without its loop block): played
// looping through its loop points, sought, searched for its first sound and
// decoded whole.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::base::Bytes file(data, data + size);
  mavu::test::RepairPageChecksums(file);
  mavu::shell::ReadLoopHeader(file);
  mavu::shell::TOggData decoder(kBlockBytes);
  if (decoder.Open(file).empty()) {
    decoder.Play(true);
    DecodeBlocks(decoder, kBlocks);
    decoder.Seek(decoder.TotalSeconds() / 2);
    DecodeBlocks(decoder, 1);
    decoder.SkipLeadingSilence(1);
    DecodeBlocks(decoder, 1);
  }
  std::string error;
  const mavu::shell::PcmBuffer pcm = mavu::shell::DecodeWholeSound(std::move(file), error);
  if ((pcm == nullptr) == error.empty()) __builtin_trap();
  if (pcm != nullptr &&
      (pcm->size() % 1024 != 0 || pcm->size() > mavu::shell::kMaxWholeSoundBytes)) {
    __builtin_trap();
  }
  return 0;
}
