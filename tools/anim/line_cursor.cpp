#include "line_cursor.h"

#include <charconv>

#include "animation_description.h"
#include "quoted_text.h"

namespace mavu::tools {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string Shown(std::string_view word) {
  return "\"" + std::string(word) + "\"";
}

}  // namespace

LineCursor::LineCursor(int line, std::string_view text) : line_(line) {
  Lex(text);
}

void LineCursor::Lex(std::string_view text) {
  size_t at = text.find_first_not_of(kBlanks);
  while (at != std::string_view::npos && text[at] != '#') {
    size_t end = 0;
    if (text[at] == '"') {
      end = at + 1;
      while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
      if (end >= text.size()) Fail("a quoted string without its closing quote");
      const std::string_view raw = text.substr(at + 1, end - at - 1);
      if (!HasValidEscapes(raw)) Fail("a quoted string with an escape other than \\\" \\\\ \\xHH");
      tokens_.push_back({true, raw});
      ++end;
    } else {
      end = std::min(text.find_first_of(" \t\"#", at), text.size());
      tokens_.push_back({false, text.substr(at, end - at)});
    }
    at = text.find_first_not_of(kBlanks, end);
  }
}

bool LineCursor::NextIsNumber() const {
  if (AtEnd() || tokens_[next_].quoted) return false;
  const char first = tokens_[next_].text[0];
  return first == '-' || (first >= '0' && first <= '9');
}

const LineCursor::Token& LineCursor::Take(bool quoted, std::string_view what) {
  if (AtEnd()) Fail("missing " + std::string(what) + " at the end of the line");
  const Token& token = tokens_[next_];
  if (token.quoted != quoted) {
    Fail("expected " + std::string(what) + ", found " +
         (token.quoted ? "a quoted string" : Shown(token.text)));
  }
  ++next_;
  return token;
}

std::string_view LineCursor::Word(std::string_view what) {
  return Take(false, what).text;
}

std::string_view LineCursor::Quoted(std::string_view what) {
  return Take(true, what).text;
}

int64_t LineCursor::Integer(std::string_view what, int64_t least, int64_t most) {
  const std::string_view word = Word(what);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (end != word.data() + word.size() || error == std::errc::invalid_argument) {
    Fail(std::string(what) + ": " + Shown(word) + " is not a whole number");
  }
  if (error == std::errc::result_out_of_range || value < least || value > most) {
    Fail(std::string(what) + ": " + std::string(word) + " is out of range (" +
         std::to_string(least) + " to " + std::to_string(most) + ")");
  }
  return value;
}

void LineCursor::ExpectEnd() {
  if (AtEnd()) return;
  const Token& token = tokens_[next_];
  Fail("unexpected " + (token.quoted ? std::string("quoted string") : Shown(token.text)) +
       " at the end of the line");
}

void LineCursor::Fail(const std::string& message) const {
  throw DescriptionError(line_, message);
}

}  // namespace mavu::tools
