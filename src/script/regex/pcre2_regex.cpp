#include "script/regex/pcre2_regex.h"

namespace mavu::script {

namespace {

// Steps one search may take before it gives up: far beyond any pattern a
// script line needs, small enough that a runaway backtracking pattern ends in
// well under a second instead of hanging the game.
constexpr uint32_t kMatchLimit = 1'000'000;

// UTF mode so that a character is one unit; \C could match half of one.
constexpr uint32_t kBaseOptions = PCRE2_UTF | PCRE2_NEVER_BACKSLASH_C;

}  // namespace

std::unique_ptr<Pcre2Regex> Pcre2Regex::Compile(std::string_view utf8Pattern, uint32_t options) {
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8Pattern.data()), utf8Pattern.size(),
                    kBaseOptions | options, &errorCode, &errorOffset, nullptr);
  if (code == nullptr) return nullptr;
  return std::unique_ptr<Pcre2Regex>(new Pcre2Regex(code));
}

Pcre2Regex::Pcre2Regex(pcre2_code* code)
    : code_(code),
      matchData_(pcre2_match_data_create_from_pattern(code, nullptr)),
      matchContext_(pcre2_match_context_create(nullptr)) {
  pcre2_pattern_info(code_, PCRE2_INFO_CAPTURECOUNT, &groupCount_);
  pcre2_set_match_limit(matchContext_, kMatchLimit);
}

Pcre2Regex::~Pcre2Regex() {
  pcre2_match_context_free(matchContext_);
  pcre2_match_data_free(matchData_);
  pcre2_code_free(code_);
}

Pcre2Regex::Outcome Pcre2Regex::Find(std::string_view utf8Subject, size_t start, uint32_t options) {
  if (matchData_ == nullptr || matchContext_ == nullptr) return Outcome::kError;
  int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(utf8Subject.data()), utf8Subject.size(),
                       start, options | PCRE2_NO_UTF_CHECK, matchData_, matchContext_);
  if (rc == PCRE2_ERROR_NOMATCH) return Outcome::kNoMatch;
  if (rc <= 0) return Outcome::kError;
  // \K can place a match's start after its end; no caller can use that.
  Span whole = Group(0);
  return whole.begin <= whole.end ? Outcome::kMatch : Outcome::kError;
}

Pcre2Regex::Span Pcre2Regex::Group(uint32_t index) const {
  if (index > groupCount_) return {};
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData_);
  if (ovector[2 * index] == PCRE2_UNSET) return {};
  return {ovector[2 * index], ovector[2 * index + 1]};
}

}  // namespace mavu::script
