#include <string>

#include "animation_samples.h"
#include "description_printer.h"
#include "seed_registry.h"

MAVU_FUZZ_SEEDS(anim_description) {
  std::vector<mavu::base::Bytes> seeds;
  for (const mavu::imaging::AnimationFile& file : mavu::fuzz::AnimationSamples()) {
    mavu::tools::AnimationDescription description;
    description.motions = file.motions;
    if (file.hasImage) description.image = mavu::tools::ImageReference{"a.png", file.imageFormat};
    for (const mavu::imaging::EmbeddedSound& sound : file.sounds) {
      description.sounds.push_back({sound.name, "\"" + sound.name + "\".ogg"});
    }
    const std::string text = mavu::tools::PrintDescription(description);
    seeds.emplace_back(text.begin(), text.end());
  }
  return seeds;
}
