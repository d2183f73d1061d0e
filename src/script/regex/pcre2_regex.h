#pragma once

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace mavu::script {

// A compiled PCRE2 pattern in UTF mode with the match data of its last search.
class Pcre2Regex {
 public:
  enum class Outcome { kMatch, kNoMatch, kError };

  // Offsets into the UTF-8 subject; both npos for a group that took no part.
  struct Span {
    size_t begin = npos;
    size_t end = npos;
    bool Matched() const { return begin != npos; }
  };
  static constexpr size_t npos = static_cast<size_t>(-1);

  // Null when the pattern does not compile. `options` adds PCRE2 compile
  // options such as PCRE2_CASELESS to UTF mode.
  static std::unique_ptr<Pcre2Regex> Compile(std::string_view utf8Pattern, uint32_t options);
  ~Pcre2Regex();
  Pcre2Regex(const Pcre2Regex&) = delete;
  Pcre2Regex& operator=(const Pcre2Regex&) = delete;

  // Capturing groups, not counting the whole match.
  uint32_t GroupCount() const { return groupCount_; }

  // Searches `utf8Subject` (well-formed UTF-8, unchecked) from the character
  // boundary `start`. `options` takes PCRE2 match options such as
  // PCRE2_NOTEMPTY_ATSTART. Running into the match limit is an error.
  Outcome Find(std::string_view utf8Subject, size_t start, uint32_t options);
  // Group `index` of the last match; 0 is the whole match.
  Span Group(uint32_t index) const;

 private:
  explicit Pcre2Regex(pcre2_code* code);

  pcre2_code* code_;
  pcre2_match_data* matchData_;
  pcre2_match_context* matchContext_;
  uint32_t groupCount_ = 0;
};

}  // namespace mavu::script
