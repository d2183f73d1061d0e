#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// PCRE2 matches UTF-8, engine text is CP932. A CP932 text is converted one
// whole character at a time, so a two-byte character becomes one code point
// and its trail byte (0x5C, 0x7B, 0x7D ...) can never match an ASCII pattern.
// Every match offset maps back to the original bytes: results are slices of
// the text as it was, never a lossy round trip through Unicode.
namespace mavu::script {

// A character that CP932 cannot convert (a stray byte, a lead byte with an
// impossible trail) still needs a code point of its own so that it survives
// matching unchanged. Plane 15 private use holds them: U+F0000 plus the byte,
// or plus lead * 256 + trail for a pair. CP932 maps nothing into that plane.
constexpr char32_t kInvalidCharBase = 0xF0000;

std::string EncodeUtf8(char32_t codePoint);

// The code point starting at `pos` of well-formed UTF-8 and its byte length.
// A malformed sequence gives U+FFFD and length 1.
char32_t DecodeUtf8(std::string_view utf8, size_t pos, size_t* length);

// CP932 bytes of a code point: the original bytes of an invalid-character
// stand-in, "?" for a code point CP932 cannot show.
std::string CodePointToCp932(char32_t codePoint);

// A CP932 text beside its UTF-8 form, with the way back from UTF-8 offsets.
// The CP932 bytes are viewed, not copied: they must outlive this object.
class RegexText {
 public:
  explicit RegexText(std::string_view cp932);

  const std::string& Utf8() const { return utf8_; }
  std::string_view Cp932() const { return cp932_; }

  // The original bytes between two UTF-8 offsets on character boundaries.
  std::string_view Cp932Slice(size_t utf8Begin, size_t utf8End) const;
  // The UTF-8 offset of the character after the one starting at `utf8Pos`.
  size_t NextChar(size_t utf8Pos) const;
  std::u32string CodePoints() const;

  // Calls visit(codePoint, originalBytes) for every character in order.
  template <typename Visit>
  void ForEachChar(Visit visit) const {
    for (size_t pos = 0; pos < utf8_.size();) {
      size_t length = 0;
      char32_t codePoint = DecodeUtf8(utf8_, pos, &length);
      visit(codePoint, Cp932Slice(pos, pos + length));
      pos += length;
    }
  }

 private:
  void AppendChar(size_t cp932Pos, std::string_view utf8Char);
  void AppendRun(size_t begin, size_t end);

  std::string_view cp932_;
  std::string utf8_;
  // For every UTF-8 byte, the CP932 offset of the character it belongs to;
  // one more entry for the end.
  std::vector<size_t> cp932At_;
};

}  // namespace mavu::script
