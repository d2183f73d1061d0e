#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Perl-style expression texts that scripts write, taken apart:
//   m/PATTERN/FLAGS   or  /PATTERN/FLAGS           match (flags i m s x g)
//   s/PATTERN/REPLACEMENT/FLAGS                    substitution (flags i m s x g)
//   tr/SEARCH/REPLACEMENT/FLAGS  or  y/…/…/FLAGS   transliteration (flags c d s r)
// The flag k (the "kanji" flag of byte-oriented libraries) is accepted
// everywhere and changes nothing: matching is always by whole CP932 characters.
// m, s, tr and y take any ASCII punctuation as delimiter except the backslash;
// the brackets ( [ { < close with their partner and nest, and a bracketed
// first part may be followed by blanks and a second part with its own
// delimiters: s{a}{b}, s(a)/b/. As in Perl, a backslash before a
// non-bracket delimiter is dropped (m!a\!b! is the pattern "a!b"), while an
// escaped bracket keeps its backslash. Blanks around the whole text are ignored.
// The walk goes by whole CP932 characters, so a trail byte 0x5C or 0x7D never
// ends or escapes anything.
namespace mavu::script {

enum class RegexKind { kMatch, kSubstitute, kTransliterate };

struct RegexExpression {
  RegexKind kind = RegexKind::kMatch;
  std::string pattern;      // the regular expression, or the search list of tr (CP932)
  std::string replacement;  // s and tr only (CP932)
  std::string flags;        // the flag letters as written, all valid for the kind

  bool Has(char flag) const { return flags.find(flag) != std::string::npos; }
};

// The parts of an expression text, or nothing when the text is not one.
std::optional<RegexExpression> ParseRegexExpression(std::string_view text);

}  // namespace mavu::script
