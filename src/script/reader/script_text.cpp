#include "script/reader/script_text.h"

#include "base/cp932.h"

namespace mavu::script {
namespace {

char FoldLetter(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsAt(std::string_view text, size_t pos, char first, char second) {
  return text[pos] == first && pos + 1 < text.size() && text[pos + 1] == second;
}

// Whether the characters of `pattern` start at `pos`, single-byte letters
// folded, one character at a time so that a two-byte character only matches
// a whole one.
bool MatchesAt(std::string_view text, size_t pos, std::string_view pattern) {
  size_t i = 0;
  while (i < pattern.size()) {
    if (pos >= text.size()) return false;
    size_t length = base::CharLength(pattern, i);
    if (base::CharLength(text, pos) != length) return false;
    if (length == 1) {
      if (FoldLetter(text[pos]) != FoldLetter(pattern[i])) return false;
    } else if (text.substr(pos, 2) != pattern.substr(i, 2)) {
      return false;
    }
    pos += length;
    i += length;
  }
  return true;
}

// The first byte at or after `from` that equals `first` in either letter case.
size_t FindFirstByte(std::string_view text, size_t from, char first) {
  first = FoldLetter(first);
  char other = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
  if (other == first) return text.find(first, from);
  for (size_t pos = from; pos < text.size(); ++pos) {
    if (text[pos] == first || text[pos] == other) return pos;
  }
  return std::string::npos;
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
  // Most lines have no "//" at all; the others are walked by character, as a
  // "/" right after a lead byte belongs to that character.
  if (text.find("//") == std::string_view::npos) return text;
  for (size_t pos = 0; pos < text.size(); pos += base::CharLength(text, pos)) {
    if (StartsAt(text, pos, '/', '/')) return text.substr(0, pos);
  }
  return text;
}

std::string StripBlockComments(std::string_view line, bool& inComment) {
  if (!inComment && line.find("/*") == std::string_view::npos) return std::string(line);
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
  std::string out;
  bool replaced = false;
  size_t copied = 0;
  // Candidates come from a plain byte scan; only they pay for finding the
  // character boundaries, which `boundary` tracks from the last one known.
  size_t boundary = 0;
  for (size_t pos = FindFirstByte(text, 0, pattern[0]); pos != std::string::npos;
       pos = FindFirstByte(text, pos, pattern[0])) {
    while (boundary < pos) boundary += base::CharLength(text, boundary);
    if (boundary != pos) {
      pos = boundary;  // a trail byte
    } else if (MatchesAt(text, pos, pattern)) {
      out.append(text, copied, pos - copied).append(replacement);
      pos += pattern.size();
      boundary = copied = pos;
      replaced = true;
    } else {
      ++pos;
    }
  }
  if (!replaced) return text;
  out.append(text, copied);
  return out;
}

}  // namespace mavu::script
