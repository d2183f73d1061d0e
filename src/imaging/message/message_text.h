#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mavu::imaging {

// A token of message text: one character, or a whole bracketed tag.
struct MessageToken {
  std::string_view text;
  bool tag = false;
};

// The token at `pos`, which moves past it. A character is two bytes after a
// lead byte (0x81-0x9F, 0xE0-0xFC); a "[" takes everything to its matching
// "]", nested brackets counted, or to the end when there is none.
MessageToken ReadMessageToken(std::string_view text, size_t& pos);

// A tag as the window carries it out: the name lower-cased (its first four
// characters decide), the arguments as written.
struct MessageTag {
  std::string name;
  std::vector<std::string> arguments;
};
MessageTag SplitMessageTag(std::string_view tag);

// The characters that may not start or end a line.
bool IsOpeningCharacter(std::string_view character);
bool IsClosingCharacter(std::string_view character);

// Whether the text shows anything: a two-byte character, or any character
// outside brackets.
bool HasVisibleText(std::string_view text);
// What a reader sees of the text, as plain characters: tags dropped, but the
// base text of a ruby ("rb") and a centred or right-aligned run ("pc", "pr")
// kept.
std::string PlainText(std::string_view text);
// The text without the bracketed tags at its end whose names begin with "n".
std::string WithoutTrailingLineTags(std::string_view text);

}  // namespace mavu::imaging
