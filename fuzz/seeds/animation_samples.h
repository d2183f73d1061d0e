#pragma once

#include <vector>

#include "imaging/animation/animation_file.h"

namespace mavu::fuzz {

// Animation files for the seeds of the file reader and the description parser:
// a fresh still, a button (loop, hit areas, a sound, a motion switch) and a
// file of the older eight-layer shape.
inline std::vector<imaging::AnimationFile> AnimationSamples() {
  using imaging::AnimationLayer;
  using imaging::AnimationMotion;
  imaging::AnimationFile still;
  still.motions = {AnimationMotion::Fresh()};

  imaging::AnimationFile button;
  button.hasImage = true;
  button.imageFormat = 2;
  button.image = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  button.sounds = {{"click", {'O', 'g', 'g', 'S'}}};
  for (const char* name : {"*Normal", "*OnMouse", "*OnClick"}) {
    AnimationMotion motion;
    motion.name = name;
    motion.layers = {AnimationLayer::Fresh(0), AnimationLayer::Fresh(1), AnimationLayer::Fresh(2)};
    motion.layers[0].keys[0].destination = {0, 0, 120, 40, 0};
    motion.layers[1].keys[0].source = {0, 0, 120, 40};
    motion.layers[1].keys[0].drawType = 1;
    motion.layers[1].keys[0].colourMode = 1;
    motion.layers[1].keys[1].colour = 0xC0FFFFFF;
    motion.layers[1].keys[1].action = 1;
    motion.layers[2].keys[0].destination = {0, 0, 120, 40, 10};
    motion.layers[2].keys[0].drawType = 19;
    button.motions.push_back(motion);
  }
  button.motions[2].layers[1].keys[0].action = 8;
  button.motions[2].layers[1].keys[1].action = 5;
  button.motions[2].layers[1].keys[1].argument = 1;

  imaging::AnimationFile old;
  old.version = 6;
  AnimationMotion eight;
  eight.name = "\x83\x7B\x83\x5E\x83\x93";
  for (int i = 0; i < imaging::AnimationFile::kOldLayerCount; ++i) {
    eight.layers.push_back(AnimationLayer::Fresh(i));
    eight.layers.back().keys[2].sourceMode = static_cast<uint8_t>(i);
    eight.layers.back().keys[3].drawType = static_cast<uint8_t>(i + 9);
  }
  old.motions = {eight};
  return {still, button, old};
}

}  // namespace mavu::fuzz
