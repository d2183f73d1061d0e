#include "seed_registry.h"
#include "support/sound/ogg_maker.h"

// A short stereo tone, the same behind a loop block whose points fire within
// the first blocks, and a quiet-then-loud mono file at a rate that resamples.
MAVU_FUZZ_SEEDS(sound_decoder) {
  using mavu::test::LoopEntry;
  const mavu::base::Bytes tone = mavu::test::MakeOgg({.seconds = 0.3});
  const LoopEntry loops[] = {{0.05f, 0.1f, 2}, {0.0f, 0.25f, -1}};
  return {
      tone, mavu::test::WithLoopHeader(loops, tone),
      mavu::test::MakeOgg({.rate = 8000, .channels = 1, .seconds = 0.2, .leadingSilence = 0.5})};
}
