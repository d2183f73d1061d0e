#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/animation/animation_file.h"

namespace mavu::test {

// An animation file with one motion per name, each filling the rectangle
// (destination left, top, right, bottom) with the colour on layer 1, looping.
inline base::Bytes FillAnimation(const std::vector<std::string>& motionNames,
                                 std::array<int16_t, 4> rect, uint32_t colour) {
  imaging::AnimationFile file;
  for (const std::string& name : motionNames) {
    imaging::AnimationMotion motion = imaging::AnimationMotion::Fresh();
    motion.name = name;
    imaging::AnimationKey& fill = motion.layers[1].keys[0];
    fill.destination = {rect[0], rect[1], rect[2], rect[3], 0};
    fill.colour = colour;
    fill.drawType = static_cast<uint8_t>(imaging::KeyDrawType::kFillBlend);
    motion.layers[1].keys[1].action = static_cast<uint8_t>(imaging::KeyAction::kJump);
    file.motions.push_back(std::move(motion));
  }
  return imaging::WriteAnimationFile(file);
}

// Bytes as the text a test game folder's file map holds.
inline std::string AsText(const base::Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace mavu::test
