#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// tr/SEARCH/REPLACEMENT/FLAGS with Perl's rules, on code points (PCRE2 has no
// such operation). Lists take ranges (a-z, ぁ-ん by code point; a leading or
// trailing "-" is itself) and the character escapes of replacements plus \-
// and \\. The first mention of a character wins. A replacement list shorter
// than the search list repeats its last character; an empty one means the
// search list itself. Flags: c complements the search list (the complement
// taken in code point order), d deletes searched characters that have no
// replacement, s squeezes a run of characters transliterated to the same
// character into one.
namespace mavu::script {

class Transliteration {
 public:
  // Nothing for a reversed range such as z-a or a code point beyond Unicode.
  static std::optional<Transliteration> Create(std::string_view searchCp932,
                                               std::string_view replacementCp932, bool complement,
                                               bool deleteUnreplaced, bool squeeze);

  // Characters left alone keep their original bytes.
  std::string Apply(std::string_view cp932) const;

 private:
  struct Range {
    char32_t first;
    char32_t last;
    uint64_t Size() const { return uint64_t{last} - first + 1; }
  };
  using List = std::vector<Range>;
  static std::optional<List> ParseList(std::string_view cp932);
  static List Merged(List ranges);

  // The place of `c` in the search list, or nothing when tr leaves it alone.
  std::optional<uint64_t> SearchIndex(char32_t c) const;
  // The character at `index` of the replacement, or nothing to delete.
  std::optional<char32_t> Replacement(char32_t c, uint64_t index) const;

  List search_;
  List replacement_;
  List merged_;  // the search list sorted and merged, for the complement
  uint64_t replacementSize_ = 0;
  bool complement_ = false;
  bool deleteUnreplaced_ = false;
  bool squeeze_ = false;
};

}  // namespace mavu::script
