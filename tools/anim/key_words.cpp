#include "key_words.h"

#include <array>
#include <span>

namespace mavu::tools {
namespace {

// Indexed by value: imaging::KeyDrawType, imaging::KeyAction and the
// interpolation modes of a key's three groups.
// clang-format off
constexpr std::array<std::string_view, 21> kDrawTypes = {
    "none", "alpha", "add", "multiply", "exclusion", "colour-add", "colour-multiply", "copy",
    "fill-blend", "alpha-stretched", "add-stretched", "multiply-stretched", "exclusion-stretched",
    "copy-stretched", "solid", "fill-add", "fill-multiply", "fill-invert", "afterimage", "hit-area",
    "masked"};
constexpr std::array<std::string_view, 11> kActions = {
    "none", "jump", "start-mark", "random-wait-seconds", "jump-while-sounding", "switch-motion",
    "wait-seconds", "end", "play-sound", "random-wait-hundredths", "wait-hundredths"};
constexpr std::array<std::string_view, 7> kModes = {
    "step", "linear", "spline", "ease-out", "ease-in", "hermite", "shake"};
// clang-format on

std::span<const std::string_view> Words(KeyWordSet set) {
  switch (set) {
    case KeyWordSet::kDrawType:
      return kDrawTypes;
    case KeyWordSet::kAction:
      return kActions;
    case KeyWordSet::kMode:
      break;
  }
  return kModes;
}

}  // namespace

std::optional<std::string_view> WordOf(KeyWordSet set, uint8_t value) {
  const auto words = Words(set);
  if (value >= words.size()) return std::nullopt;
  return words[value];
}

std::optional<uint8_t> ValueOf(KeyWordSet set, std::string_view word) {
  const auto words = Words(set);
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == word) return static_cast<uint8_t>(i);
  }
  return std::nullopt;
}

std::string WordList(KeyWordSet set) {
  std::string list;
  for (std::string_view word : Words(set)) {
    if (!list.empty()) list += ", ";
    list += word;
  }
  return list;
}

}  // namespace mavu::tools
