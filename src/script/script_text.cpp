#include "script/script_text.h"

#include "base/cp932.h"

namespace mavu::script {
namespace {

char FoldLetter(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsAt(std::string_view text, size_t pos, char first, char second) {
  return text[pos] == first && pos + 1 < text.size() && text[pos + 1] == second;
}

// Whether the characters of `pattern` (already folded) start at `pos`, one
// character at a time so that a two-byte character only matches a whole one.
bool MatchesAt(std::string_view text, size_t pos, std::string_view foldedPattern) {
  size_t i = 0;
  while (i < foldedPattern.size()) {
    if (pos >= text.size()) return false;
    size_t length = base::CharLength(foldedPattern, i);
    if (base::CharLength(text, pos) != length) return false;
    if (length == 1) {
      if (FoldLetter(text[pos]) != foldedPattern[i]) return false;
    } else if (text.substr(pos, 2) != foldedPattern.substr(i, 2)) {
      return false;
    }
    pos += length;
    i += length;
  }
  return true;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view CutLineComment(std::string_view text) {
  for (size_t pos = 0; pos < text.size(); pos += base::CharLength(text, pos)) {
    if (StartsAt(text, pos, '/', '/')) return text.substr(0, pos);
  }
  return text;
}

std::string StripBlockComments(std::string_view line, bool& inComment) {
  std::string kept;
  for (size_t pos = 0; pos < line.size();) {
    if (!inComment && StartsAt(line, pos, '/', '*')) {
      inComment = true;
      pos += 2;
    } else if (inComment && StartsAt(line, pos, '*', '/')) {
      inComment = false;
      pos += 2;
    } else {
      size_t length = base::CharLength(line, pos);
      if (!inComment) kept.append(line.substr(pos, length));
      pos += length;
    }
  }
  return kept;
}

std::string ReplaceAllIgnoreCase(std::string text, std::string_view pattern,
                                 std::string_view replacement) {
  if (pattern.empty()) return text;
  std::string folded = base::LowerName(pattern);
  std::string out;
  bool replaced = false;
  size_t copied = 0;
  for (size_t pos = 0; pos < text.size();) {
    if (FoldLetter(text[pos]) == folded[0] && MatchesAt(text, pos, folded)) {
      out.append(text, copied, pos - copied).append(replacement);
      pos += folded.size();
      copied = pos;
      replaced = true;
    } else {
      pos += base::CharLength(text, pos);
    }
  }
  if (!replaced) return text;
  out.append(text, copied);
  return out;
}

}  // namespace mavu::script
