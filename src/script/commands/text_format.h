#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace mavu::script {

// One argument of FormatText: a script integer or a text.
using FormatArgument = std::variant<int32_t, std::string_view>;

// The printf-style formatter behind the script's fmt command, with the
// platform formatter's syntax but none of its undefined behaviour. A
// conversion is
//   % [flags - 0 + space #] [width] [. precision] conversion
// with the conversions d and i (signed), u, x, X and o (the integer's 32 bits
// unsigned), s (a text) and %% (a percent sign). Widths and precisions follow
// printf: an integer's precision is its least number of digits, a text's
// precision the most bytes it keeps (cut before a two-byte character rather
// than through it). Widths count bytes.
//
// The result is none when the format is refused: a conversion that is not in
// the list above (n, p, c, floating point, length modifiers, '*' widths), a
// conversion cut off by the end of the format, a width or precision above
// kMaxFieldWidth, an argument of the wrong kind (a text for d, an integer for
// s), or a conversion with no argument left. Arguments left over are ignored.
std::optional<std::string> FormatText(std::string_view format,
                                      std::span<const FormatArgument> arguments);

// Keeps one conversion's output within what a script line can ask for.
inline constexpr size_t kMaxFieldWidth = 1024;

}  // namespace mavu::script
