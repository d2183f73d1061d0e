#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/animation/animation_file.h"

namespace mavu::test {

struct FillMotion {
  std::string name;
  uint32_t colour = 0;
};

// An animation file whose motions each fill the rectangle (destination left,
// top, right, bottom) with their colour on layer 1, looping.
inline base::Bytes FillAnimation(const std::vector<FillMotion>& motions,
                                 std::array<int16_t, 4> rect) {
  imaging::AnimationFile file;
  for (const auto& [name, colour] : motions) {
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

// The same with one colour for every motion.
inline base::Bytes FillAnimation(const std::vector<std::string>& motionNames,
                                 std::array<int16_t, 4> rect, uint32_t colour) {
  std::vector<FillMotion> motions;
  for (const std::string& name : motionNames) motions.push_back({name, colour});
  return FillAnimation(motions, rect);
}

// Bytes as the text a test game folder's file map holds.
inline std::string AsText(const base::Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace mavu::test
