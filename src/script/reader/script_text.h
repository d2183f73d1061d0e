#pragma once

#include <string>
#include <string_view>

// CP932 text helpers shared by the script reader and the word functions. Every
// walker steps over two-byte characters whole, so a trail byte such as 0x5C or
// 0x2F is never taken for a sign.
namespace mavu::script {

// Blanks and control characters (codes up to 0x20) count as white space.
constexpr bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

// The text without white space at either end.
std::string_view TrimBlanks(std::string_view text);

// The text up to the first "//"; quotes are not respected, so a "//" inside a
// quoted argument starts a comment as well.
std::string_view CutLineComment(std::string_view text);

// Drops "/*" ... "*/" comments from one line. `inComment` carries the state
// from line to line.
std::string StripBlockComments(std::string_view line, bool& inComment);

// Every occurrence of `pattern` that starts on a character boundary, compared
// with the single-byte letters folded, replaced by `replacement`. An empty
// pattern changes nothing.
std::string ReplaceAllIgnoreCase(std::string text, std::string_view pattern,
                                 std::string_view replacement);

}  // namespace mavu::script
