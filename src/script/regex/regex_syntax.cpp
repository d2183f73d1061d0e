#include "script/regex/regex_syntax.h"

#include "base/cp932.h"

namespace mavu::script {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kOpeningBrackets = "([{<";
constexpr std::string_view kClosingBrackets = ")]}>";
constexpr std::string_view kRegexFlags = "imsxgk";
constexpr std::string_view kTransliterationFlags = "cdsrk";

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Visible ASCII signs other than the backslash and the underscore.
bool IsDelimiter(char c) {
  return c > ' ' && c < 0x7F && !IsAsciiAlnum(c) && c != '\\' && c != '_';
}

char ClosingDelimiter(char open) {
  size_t bracket = kOpeningBrackets.find(open);
  return bracket == std::string_view::npos ? open : kClosingBrackets[bracket];
}

// Walks one delimited part of an expression text, by whole characters.
class PartReader {
 public:
  explicit PartReader(std::string_view text) : text_(text) {}

  size_t Position() const { return pos_; }
  void Skip(size_t count) { pos_ += count; }
  void SkipBlanks() {
    while (pos_ < text_.size() && kBlanks.find(text_[pos_]) != std::string_view::npos) ++pos_;
  }
  std::optional<char> ReadDelimiter() {
    if (pos_ >= text_.size() || !IsDelimiter(text_[pos_])) return std::nullopt;
    return text_[pos_++];
  }
  std::string_view Rest() const { return text_.substr(pos_); }

  // The part up to the closing delimiter (consumed), or nothing when the text ends first.
  std::optional<std::string> ReadPart(char open) {
    const char close = ClosingDelimiter(open);
    const bool bracketed = close != open;
    std::string part;
    int depth = 0;
    while (pos_ < text_.size()) {
      std::string_view ch = NextChar();
      if (ch == "\\" && pos_ < text_.size()) {
        std::string_view escaped = NextChar();
        if (bracketed || escaped.size() != 1 || escaped[0] != open) part += '\\';
        part.append(escaped);
        continue;
      }
      if (ch.size() == 1 && ch[0] == close) {
        if (depth == 0) return part;
        --depth;
      } else if (bracketed && ch.size() == 1 && ch[0] == open) {
        ++depth;
      }
      part.append(ch);
    }
    return std::nullopt;
  }

 private:
  std::string_view NextChar() {
    size_t length = base::CharLength(text_, pos_);
    std::string_view ch = text_.substr(pos_, length);
    pos_ += length;
    return ch;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

struct Operator {
  RegexKind kind;
  std::string_view word;
};

constexpr Operator kOperators[] = {{RegexKind::kTransliterate, "tr"},
                                   {RegexKind::kTransliterate, "y"},
                                   {RegexKind::kSubstitute, "s"},
                                   {RegexKind::kMatch, "m"},
                                   {RegexKind::kMatch, ""}};

// The second part of s and tr: after a bracketed first part it has delimiters
// of its own, otherwise it ends at the next of the same delimiter.
std::optional<std::string> ReadSecondPart(PartReader& reader, char open) {
  if (ClosingDelimiter(open) == open) return reader.ReadPart(open);
  reader.SkipBlanks();
  auto second = reader.ReadDelimiter();
  if (!second) return std::nullopt;
  return reader.ReadPart(*second);
}

bool FlagsValid(RegexKind kind, std::string_view flags) {
  std::string_view allowed =
      kind == RegexKind::kTransliterate ? kTransliterationFlags : kRegexFlags;
  return flags.find_first_not_of(allowed) == std::string_view::npos;
}

}  // namespace

std::optional<RegexExpression> ParseRegexExpression(std::string_view text) {
  text = Trim(text);
  for (const Operator& op : kOperators) {
    // A bare expression must open with a slash: "/a/" but not "#a#".
    if (!text.starts_with(op.word) || (op.word.empty() && !text.starts_with('/'))) continue;
    PartReader reader(text);
    reader.Skip(op.word.size());
    auto open = reader.ReadDelimiter();
    if (!open) continue;
    RegexExpression expression;
    expression.kind = op.kind;
    auto pattern = reader.ReadPart(*open);
    if (!pattern) return std::nullopt;
    expression.pattern = std::move(*pattern);
    if (op.kind != RegexKind::kMatch) {
      auto replacement = ReadSecondPart(reader, *open);
      if (!replacement) return std::nullopt;
      expression.replacement = std::move(*replacement);
    }
    expression.flags = reader.Rest();
    if (!FlagsValid(op.kind, expression.flags)) return std::nullopt;
    return expression;
  }
  return std::nullopt;
}

}  // namespace mavu::script
