#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mavu::tools {

// The numbered values of a key that a description may also give by name.
enum class KeyWordSet { kDrawType, kAction, kMode };

// The word for `value`, or none when the set has no word for it.
std::optional<std::string_view> WordOf(KeyWordSet set, uint8_t value);
// The value `word` names in the set, or none.
std::optional<uint8_t> ValueOf(KeyWordSet set, std::string_view word);
// "alpha, add, ..." for messages.
std::string WordList(KeyWordSet set);

}  // namespace mavu::tools
