#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "resource/settings_list.h"

// Typed values of name=value settings. A value that is missing or cannot be
// read as its type gives the key's default.
namespace mavu::resource {

// Speakers (voice classes) numbered 0..31 in the user settings and the voice table.
inline constexpr int kSpeakerCount = 32;

// Decimal, or hexadecimal after "$", either with an optional sign and nothing
// else around. A decimal number must fit the signed type; a hexadecimal one is
// a bit pattern of at most the type's width, so "$FFFFFFFF" reads as -1.
std::optional<int32_t> ParseInteger(std::string_view text);
std::optional<int64_t> ParseInteger64(std::string_view text);
// "TRUE" or "FALSE" in any letter case.
std::optional<bool> ParseBoolean(std::string_view text);

int32_t ReadInteger(const SettingsList& list, std::string_view key, int32_t fallback);
int64_t ReadInteger64(const SettingsList& list, std::string_view key, int64_t fallback);
bool ReadBoolean(const SettingsList& list, std::string_view key, bool fallback);

// Text that cannot be empty on disk: the word "none" (lower case only) stands
// for empty text.
std::string ReadTextOrNone(const SettingsList& list, std::string_view key);
std::string TextOrNone(std::string_view text);

// The key of entry `index` of a numbered family: "key[3]", "Font[0]".
std::string IndexedKey(std::string_view name, int index);

}  // namespace mavu::resource
