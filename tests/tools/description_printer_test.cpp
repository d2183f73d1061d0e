#include "description_printer.h"

#include <gtest/gtest.h>

#include <string>

#include "description_parser.h"

namespace mavu::tools {
namespace {

using imaging::AnimationLayer;
using imaging::AnimationMotion;

TEST(DescriptionPrinter, PrintsTheKeysAndFieldsThatDifferFromAFreshLayer) {
  AnimationDescription description;
  description.image = ImageReference{"a.png", 2};
  description.sounds = {{"click", "a-sound0.ogg"}};
  AnimationMotion motion;
  motion.name = "*OnClick";
  motion.layers = {AnimationLayer::Fresh(0)};
  motion.layers[0].keys[1].time = 500;
  motion.layers[0].keys[1].action = 1;
  motion.layers[0].keys[3].destination[4] = 10;
  motion.layers[0].keys[3].drawType = 19;
  motion.layers[0].keys[3].colour = 0x80FF0000;
  description.motions = {motion};
  EXPECT_EQ(PrintDescription(description),
            "image \"a.png\"\n"
            "sound \"click\" \"a-sound0.ogg\"  # sound 0\n"
            "\n"
            "motion \"*OnClick\"  # motion 0\n"
            "  layer \"Layer0\"\n"
            "    key 1 time 500 action jump 0\n"
            "    key 3 priority 10 colour 80FF0000 draw hit-area\n");
}

TEST(DescriptionPrinter, ParsingThePrintGivesTheSameDescription) {
  AnimationDescription description;
  description.image = ImageReference{"dir/ピクチャ-image.png", 3};
  description.sounds = {{"\x83\x7B\x83\x5E\x83\x93", "s \"1\".ogg"}, {"", "\\"}};
  AnimationMotion motion;
  motion.name = std::string("\x01\"\\\x82\xB1\xFF\0", 7);
  AnimationLayer layer = AnimationLayer::Fresh(5);
  layer.name = "\x87\x40\x81\x60\xED\x40";
  for (int k = 0; k < AnimationLayer::kKeys; ++k) {
    imaging::AnimationKey& key = layer.keys[k];
    key.time = k * 77 - 1000;
    key.source = {static_cast<int16_t>(k), -32768, 32767, 1};
    key.destination = {-1, 2, -3, 4, static_cast<int16_t>(-k)};
    key.colour = 0x01020304u * static_cast<uint32_t>(k);
    key.drawType = static_cast<uint8_t>(k * 9);
    key.sourceMode = static_cast<uint8_t>(k);
    key.destinationMode = static_cast<uint8_t>(k * 3);
    key.colourMode = static_cast<uint8_t>(255 - k);
    key.action = static_cast<uint8_t>(k % 12);
    key.argument = static_cast<uint8_t>(k * 8);
  }
  motion.layers = {layer, AnimationLayer::Fresh(1)};
  description.motions = {motion, AnimationMotion()};
  EXPECT_EQ(ParseDescription(PrintDescription(description)), description);
}

}  // namespace
}  // namespace mavu::tools
