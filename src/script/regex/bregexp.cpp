#include "script/regex/bregexp.h"

#include <algorithm>

#include "script/regex/pcre2_regex.h"
#include "script/regex/regex_syntax.h"
#include "script/regex/regex_text.h"
#include "script/regex/replacement_template.h"
#include "script/regex/transliteration.h"

namespace mavu::script {

struct TBRegExp::Handle {
  RegexExpression syntax;
  std::unique_ptr<Pcre2Regex> regex;               // match and substitution
  std::optional<ReplacementTemplate> replacement;  // substitution
  std::optional<Transliteration> transliteration;  // tr
};

namespace {

using Outcome = Pcre2Regex::Outcome;

uint32_t CompileOptions(const RegexExpression& expression) {
  uint32_t options = 0;
  if (expression.Has('i')) options |= PCRE2_CASELESS;
  if (expression.Has('m')) options |= PCRE2_MULTILINE;
  if (expression.Has('s')) options |= PCRE2_DOTALL;
  auto extended = std::count(expression.flags.begin(), expression.flags.end(), 'x');
  if (extended == 1) options |= PCRE2_EXTENDED;
  if (extended > 1) options |= PCRE2_EXTENDED_MORE;
  // Split treats ^ alone as ^ at every line; a match of it is at the start either way.
  if (expression.kind == RegexKind::kMatch && expression.pattern == "^") options |= PCRE2_MULTILINE;
  return options;
}

// Group `index` of the last match as the original bytes; "" when it took no part.
std::string_view GroupText(const Pcre2Regex& regex, const RegexText& subject, uint32_t index) {
  Pcre2Regex::Span span = regex.Group(index);
  if (!span.Matched() || span.begin > span.end) return {};
  return subject.Cp932Slice(span.begin, span.end);
}

std::string_view Reference(const Pcre2Regex& regex, const RegexText& subject, int reference) {
  Pcre2Regex::Span whole = regex.Group(0);
  if (reference == ReplacementTemplate::kTextBefore) return subject.Cp932Slice(0, whole.begin);
  if (reference == ReplacementTemplate::kTextAfter) {
    return subject.Cp932Slice(whole.end, subject.Utf8().size());
  }
  return GroupText(regex, subject, static_cast<uint32_t>(reference));
}

// s/// over the whole subject; nothing when a search fails. Zero-length
// matches follow Perl: after one, the next match may not be empty at the same
// place, so s/x*/-/g turns "abc" into "-a-b-c-".
std::optional<std::string> ReplaceMatches(Pcre2Regex& regex, const ReplacementTemplate& replacement,
                                          bool global, const RegexText& subject) {
  const std::string& utf8 = subject.Utf8();
  std::string out;
  size_t copied = 0;  // the subject is in `out` up to here
  size_t pos = 0;
  uint32_t options = 0;
  for (;;) {
    Outcome outcome = regex.Find(utf8, pos, options);
    if (outcome == Outcome::kError) return std::nullopt;
    if (outcome == Outcome::kNoMatch) {
      if (options == 0 || pos >= utf8.size()) break;
      pos = subject.NextChar(pos);
      options = 0;
      continue;
    }
    Pcre2Regex::Span whole = regex.Group(0);
    if (whole.begin < copied) return std::nullopt;
    out.append(subject.Cp932Slice(copied, whole.begin));
    replacement.Expand([&](int reference) { return Reference(regex, subject, reference); }, out);
    copied = whole.end;
    if (!global) break;
    pos = whole.end;
    options = whole.begin == whole.end ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
  }
  out.append(subject.Cp932Slice(copied, utf8.size()));
  return out;
}

}  // namespace

TBRegExp::TBRegExp() = default;
TBRegExp::~TBRegExp() = default;

std::unique_ptr<TBRegExp::Handle> TBRegExp::Compile(std::string_view expression) {
  auto syntax = ParseRegexExpression(expression);
  if (!syntax) return nullptr;
  auto handle = std::make_unique<Handle>();
  handle->syntax = std::move(*syntax);
  const RegexExpression& parsed = handle->syntax;
  if (parsed.kind == RegexKind::kTransliterate) {
    handle->transliteration = Transliteration::Create(
        parsed.pattern, parsed.replacement, parsed.Has('c'), parsed.Has('d'), parsed.Has('s'));
    return handle->transliteration ? std::move(handle) : nullptr;
  }
  handle->regex = Pcre2Regex::Compile(RegexText(parsed.pattern).Utf8(), CompileOptions(parsed));
  if (!handle->regex) return nullptr;
  if (parsed.kind == RegexKind::kSubstitute) handle->replacement.emplace(parsed.replacement);
  return handle;
}

TBRegExp::Handle* TBRegExp::Prepare(std::string_view expression) {
  if (handleText_ != expression) {
    handle_.reset();
    handle_ = Compile(expression);
    handleText_ = std::string(expression);
    ++compileCount_;
  }
  return handle_.get();
}

std::vector<std::string> TBRegExp::Match(std::string_view expression, std::string_view text) {
  Handle* handle = Prepare(expression);
  if (handle == nullptr || handle->syntax.kind != RegexKind::kMatch) return {};
  RegexText subject(text);
  if (handle->regex->Find(subject.Utf8(), 0, 0) != Outcome::kMatch) return {};
  std::vector<std::string> groups;
  for (uint32_t i = 0; i <= handle->regex->GroupCount(); ++i) {
    groups.emplace_back(GroupText(*handle->regex, subject, i));
  }
  return groups;
}

std::string TBRegExp::Substitute(std::string_view expression, std::string_view text) {
  Handle* handle = Prepare(expression);
  if (handle == nullptr) return std::string(text);
  if (handle->syntax.kind == RegexKind::kTransliterate) return handle->transliteration->Apply(text);
  if (handle->syntax.kind != RegexKind::kSubstitute) return std::string(text);
  auto replaced = ReplaceMatches(*handle->regex, *handle->replacement, handle->syntax.Has('g'),
                                 RegexText(text));
  return replaced ? std::move(*replaced) : std::string(text);
}

std::vector<std::string> TBRegExp::Split(std::string_view expression, std::string_view text,
                                         int limit) {
  Handle* handle = Prepare(expression);
  if (handle == nullptr || handle->syntax.kind != RegexKind::kMatch) return {};
  Pcre2Regex& regex = *handle->regex;
  RegexText subject(text);
  const size_t end = subject.Utf8().size();
  std::vector<std::string> fields;
  size_t pos = 0;
  // Each separator must end past the start of its field, so a zero-length one
  // never matches where the field begins.
  const bool limited = limit > 0;
  for (int splitsLeft = limited ? limit - 1 : 0; pos < end && (!limited || splitsLeft-- > 0);) {
    Outcome outcome = regex.Find(subject.Utf8(), pos, PCRE2_NOTEMPTY_ATSTART);
    if (outcome == Outcome::kError) return {};
    if (outcome == Outcome::kNoMatch) break;
    Pcre2Regex::Span whole = regex.Group(0);
    if (whole.begin < pos) return {};
    fields.emplace_back(subject.Cp932Slice(pos, whole.begin));
    for (uint32_t i = 1; i <= regex.GroupCount(); ++i) {
      fields.emplace_back(GroupText(regex, subject, i));
    }
    pos = whole.end;
  }
  if (pos < end || (!fields.empty() && limit != 0)) {
    fields.emplace_back(subject.Cp932Slice(pos, end));
  } else if (limit == 0) {
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
  }
  return fields;
}

std::string TBRegExp::Translate(std::string_view expression, std::string_view text) {
  Handle* handle = Prepare(expression);
  if (handle == nullptr || handle->syntax.kind != RegexKind::kTransliterate) {
    return std::string(text);
  }
  return handle->transliteration->Apply(text);
}

}  // namespace mavu::script
