#include "animation_samples.h"
#include "seed_registry.h"
#include "support/imaging/hand_made_animation.h"

MAVU_FUZZ_SEEDS(animation_file) {
  std::vector<mavu::base::Bytes> seeds;
  for (mavu::imaging::AnimationFile file : mavu::fuzz::AnimationSamples()) {
    if (file.version != mavu::imaging::AnimationFile::kVersion7) {
      seeds.push_back(mavu::test::HandMadeAnimation(file));
      file.version = 5;
      seeds.push_back(mavu::test::HandMadeAnimation(file));
    }
    seeds.push_back(mavu::imaging::WriteAnimationFile(file));
  }
  return seeds;
}
