#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The regular-expression bridge that the reader's replacement table and the
// script commands bmat, bsub, bspl and btra call, on PCRE2.
//
// Expressions are written in Perl's syntax (regex_syntax.h has the details):
//   Match      m/PATTERN/imsx  or  /PATTERN/imsx
//   Substitute s/PATTERN/REPLACEMENT/imsxg, and also tr/…/…/ (as Translate)
//   Split      written like a match: /,\s*/  m{\s+}  /(-)/i
//   Translate  tr/SEARCH/REPLACEMENT/cdsr  or  y/…/…/
// with Perl's meaning, on whole CP932 characters. Patterns are Perl regular
// expressions as PCRE2 reads them in UTF mode; \d \w \s \b stay ASCII (no
// Unicode properties), as they were for scripts matched byte by byte, while
// /i also folds full-width letters. A g on a match or split changes nothing:
// a match reports the first match. An empty pattern is simply empty (it does
// not mean "the last pattern" as in Perl).
//
// Nothing here ever throws or reports: a text that is not a valid expression
// of the operation's kind, a pattern that does not compile, or a search that
// runs into the backtracking limit makes Match and Split give an empty list
// and Substitute and Translate give the text unchanged.
namespace mavu::script {

class TBRegExp {
 public:
  TBRegExp();
  ~TBRegExp();
  TBRegExp(const TBRegExp&) = delete;
  TBRegExp& operator=(const TBRegExp&) = delete;

  // The whole first match and then every group in order (a group that took
  // no part gives ""); empty when nothing matches.
  std::vector<std::string> Match(std::string_view expression, std::string_view text);

  // The text with s/// applied (or tr///, which Translate does).
  std::string Substitute(std::string_view expression, std::string_view text);

  // Perl's split: a separator match at the start gives a leading empty field
  // (a zero-length one does not), each group of a separator adds a field, and
  // a pattern matching the empty string splits into characters. `limit` > 0
  // gives at most that many fields, the last holding the rest; 0 drops
  // trailing empty fields; < 0 keeps them. An empty text gives no fields.
  // The pattern ^ alone means ^ at every line start.
  std::vector<std::string> Split(std::string_view expression, std::string_view text, int limit);

  std::string Translate(std::string_view expression, std::string_view text);

  // The number of expression texts compiled so far. One compiled expression
  // (the handle) is kept and used again while calls pass the same text; a
  // different text replaces it. A text that failed stays remembered as such.
  uint64_t CompileCount() const { return compileCount_; }

 private:
  struct Handle;
  static std::unique_ptr<Handle> Compile(std::string_view expression);
  Handle* Prepare(std::string_view expression);

  std::optional<std::string> handleText_;
  std::unique_ptr<Handle> handle_;  // null while handleText_ does not compile
  uint64_t compileCount_ = 0;
};

}  // namespace mavu::script
