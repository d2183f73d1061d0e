#include "script/regex/regex_text.h"

#include <cstdint>
#include <optional>

#include "base/cp932.h"

namespace mavu::script {

namespace {

constexpr char32_t kReplacementChar = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kLastInvalidChar = kInvalidCharBase + 0xFFFF;

bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

uint8_t Byte(std::string_view text, size_t pos) {
  return static_cast<uint8_t>(text[pos]);
}

char32_t InvalidCharStandIn(std::string_view ch) {
  char32_t value = Byte(ch, 0);
  if (ch.size() == 2) value = value << 8 | Byte(ch, 1);
  return kInvalidCharBase + value;
}

// One code point per character, or nothing when iconv gave anything else
// (an unconvertible character becomes U+FFFD there).
std::optional<std::vector<std::string_view>> SplitCodePoints(std::string_view utf8) {
  std::vector<std::string_view> codePoints;
  for (size_t pos = 0; pos < utf8.size();) {
    size_t length = 0;
    if (DecodeUtf8(utf8, pos, &length) == kReplacementChar) return std::nullopt;
    codePoints.push_back(utf8.substr(pos, length));
    pos += length;
  }
  return codePoints;
}

std::string CharToUtf8(std::string_view ch) {
  std::string utf8 = base::Cp932ToUtf8(ch);
  auto codePoints = SplitCodePoints(utf8);
  if (codePoints && codePoints->size() == 1) return utf8;
  return EncodeUtf8(InvalidCharStandIn(ch));
}

}  // namespace

std::string EncodeUtf8(char32_t c) {
  if (c > kLastCodePoint || IsSurrogate(c)) c = kReplacementChar;
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

char32_t DecodeUtf8(std::string_view utf8, size_t pos, size_t* length) {
  *length = 1;
  uint8_t lead = Byte(utf8, pos);
  if (lead < 0x80) return lead;
  if (lead < 0xC0 || lead >= 0xF8) return kReplacementChar;
  size_t count = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};  // overlong forms are refused
  char32_t c = lead & (0x7F >> count);
  if (utf8.size() - pos < count) return kReplacementChar;
  for (size_t i = 1; i < count; ++i) {
    uint8_t next = Byte(utf8, pos + i);
    if ((next & 0xC0) != 0x80) return kReplacementChar;
    c = c << 6 | (next & 0x3F);
  }
  if (c < kSmallest[count] || c > kLastCodePoint || IsSurrogate(c)) return kReplacementChar;
  *length = count;
  return c;
}

std::string CodePointToCp932(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  if (c >= kInvalidCharBase && c <= kLastInvalidChar) {
    char32_t value = c - kInvalidCharBase;
    if (value <= 0xFF) return std::string(1, static_cast<char>(value));
    if (base::IsLeadByte(static_cast<uint8_t>(value >> 8))) {
      return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
    }
  }
  return base::Utf8ToCp932(EncodeUtf8(c));
}

RegexText::RegexText(std::string_view cp932) : cp932_(cp932) {
  utf8_.reserve(cp932.size());
  cp932At_.reserve(cp932.size() + 1);
  for (size_t pos = 0; pos < cp932.size();) {
    if (Byte(cp932, pos) < 0x80) {
      AppendChar(pos, cp932.substr(pos, 1));
      ++pos;
      continue;
    }
    size_t end = pos;
    while (end < cp932.size() && Byte(cp932, end) >= 0x80) end += base::CharLength(cp932, end);
    AppendRun(pos, end);
    pos = end;
  }
  cp932At_.push_back(cp932.size());
}

void RegexText::AppendChar(size_t cp932Pos, std::string_view utf8Char) {
  utf8_.append(utf8Char);
  cp932At_.insert(cp932At_.end(), utf8Char.size(), cp932Pos);
}

// A run of non-ASCII characters goes through iconv in one call; only when that
// does not give one clean code point per character is each converted alone.
void RegexText::AppendRun(size_t begin, size_t end) {
  std::vector<size_t> starts;
  for (size_t pos = begin; pos < end; pos += base::CharLength(cp932_, pos)) starts.push_back(pos);
  std::string utf8 = base::Cp932ToUtf8(cp932_.substr(begin, end - begin));
  auto codePoints = SplitCodePoints(utf8);
  if (codePoints && codePoints->size() == starts.size()) {
    for (size_t i = 0; i < starts.size(); ++i) AppendChar(starts[i], (*codePoints)[i]);
    return;
  }
  for (size_t start : starts) {
    AppendChar(start, CharToUtf8(cp932_.substr(start, base::CharLength(cp932_, start))));
  }
}

std::string_view RegexText::Cp932Slice(size_t utf8Begin, size_t utf8End) const {
  size_t begin = cp932At_[utf8Begin];
  return cp932_.substr(begin, cp932At_[utf8End] - begin);
}

size_t RegexText::NextChar(size_t utf8Pos) const {
  if (utf8Pos >= utf8_.size()) return utf8_.size();
  size_t length = 0;
  DecodeUtf8(utf8_, utf8Pos, &length);
  return utf8Pos + length;
}

std::u32string RegexText::CodePoints() const {
  std::u32string codePoints;
  ForEachChar([&](char32_t c, std::string_view) { codePoints += c; });
  return codePoints;
}

}  // namespace mavu::script
