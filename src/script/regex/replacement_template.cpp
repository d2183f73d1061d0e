#include "script/regex/replacement_template.h"

#include <algorithm>

#include "base/cp932.h"
#include "script/regex/perl_escape.h"
#include "script/regex/regex_text.h"

namespace mavu::script {

namespace {

// Larger reference numbers all mean "a group the pattern does not have".
constexpr int kReferenceCap = 1'000'000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t CountDigits(std::string_view text, size_t pos) {
  size_t count = 0;
  while (pos + count < text.size() && IsDigit(text[pos + count])) ++count;
  return count;
}

int ParseReference(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = std::min(value * 10 + (c - '0'), kReferenceCap);
  return value;
}

}  // namespace

ReplacementTemplate::ReplacementTemplate(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    size_t length = base::CharLength(text, pos);
    if (length == 1 && text[pos] == '$') {
      pos = ReadDollar(text, pos + 1);
    } else if (length == 1 && text[pos] == '\\') {
      pos = ReadEscape(text, pos + 1);
    } else {
      AddLiteral(text.substr(pos, length));
      pos += length;
    }
  }
}

// `pos` is just after the dollar sign; the result is the position after the reference.
size_t ReplacementTemplate::ReadDollar(std::string_view text, size_t pos) {
  if (pos < text.size()) {
    char c = text[pos];
    if (c == '&' || c == '`' || c == '\'') {
      AddReference(c == '&' ? 0 : c == '`' ? kTextBefore : kTextAfter);
      return pos + 1;
    }
    if (size_t digits = CountDigits(text, pos); digits > 0) {
      AddReference(ParseReference(text.substr(pos, digits)));
      return pos + digits;
    }
    size_t digits = c == '{' ? CountDigits(text, pos + 1) : 0;
    if (digits > 0 && pos + 1 + digits < text.size() && text[pos + 1 + digits] == '}') {
      AddReference(ParseReference(text.substr(pos + 1, digits)));
      return pos + digits + 2;
    }
  }
  AddLiteral("$");
  return pos;
}

// `pos` is just after the backslash; the result is the position after the escape.
size_t ReplacementTemplate::ReadEscape(std::string_view text, size_t pos) {
  if (pos >= text.size()) {
    AddLiteral("\\");
    return pos;
  }
  size_t length = base::CharLength(text, pos);
  char c = text[pos];
  if (length == 1 && c >= '1' && c <= '9' && CountDigits(text, pos) == 1) {
    AddReference(c - '0');
    return pos + 1;
  }
  char32_t value = 0;
  size_t end = length == 1 ? ReadCharEscape(text, pos, value) : pos;
  if (end == pos) {
    AddLiteral(text.substr(pos, length));
    return pos + length;
  }
  AddLiteral(CodePointToCp932(value));
  return end;
}

void ReplacementTemplate::AddLiteral(std::string_view text) {
  if (pieces_.empty() || pieces_.back().isReference) pieces_.emplace_back();
  pieces_.back().literal.append(text);
}

void ReplacementTemplate::AddReference(int reference) {
  pieces_.push_back({.literal = {}, .reference = reference, .isReference = true});
}

void ReplacementTemplate::Expand(const std::function<std::string_view(int)>& reference,
                                 std::string& out) const {
  for (const Piece& piece : pieces_) {
    if (piece.isReference) {
      out.append(reference(piece.reference));
    } else {
      out.append(piece.literal);
    }
  }
}

}  // namespace mavu::script
