#include "script/regex/transliteration.h"

#include <algorithm>

#include "script/regex/perl_escape.h"
#include "script/regex/regex_text.h"

namespace mavu::script {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// One list character at `pos`, escapes resolved; `pos` moves past it.
char32_t ReadListChar(std::u32string_view list, size_t& pos) {
  char32_t c = list[pos++];
  if (c != '\\' || pos >= list.size()) return c;
  char32_t value = 0;
  size_t end = ReadCharEscape(list, pos, value);
  if (end == pos) return list[pos++];
  pos = end;
  return value;
}

}  // namespace

std::optional<Transliteration> Transliteration::Create(std::string_view searchCp932,
                                                       std::string_view replacementCp932,
                                                       bool complement, bool deleteUnreplaced,
                                                       bool squeeze) {
  auto search = ParseList(searchCp932);
  auto replacement = ParseList(replacementCp932);
  if (!search || !replacement) return std::nullopt;
  Transliteration tr;
  tr.search_ = std::move(*search);
  tr.replacement_ = std::move(*replacement);
  tr.complement_ = complement;
  tr.deleteUnreplaced_ = deleteUnreplaced;
  tr.squeeze_ = squeeze;
  for (const Range& range : tr.replacement_) tr.replacementSize_ += range.Size();
  tr.merged_ = Merged(tr.search_);
  return tr;
}

Transliteration::List Transliteration::Merged(List ranges) {
  std::sort(ranges.begin(), ranges.end(),
            [](const Range& a, const Range& b) { return a.first < b.first; });
  List merged;
  for (const Range& range : ranges) {
    if (!merged.empty() && range.first <= merged.back().last + uint64_t{1}) {
      merged.back().last = std::max(merged.back().last, range.last);
    } else {
      merged.push_back(range);
    }
  }
  return merged;
}

std::optional<Transliteration::List> Transliteration::ParseList(std::string_view cp932) {
  std::u32string codePoints = RegexText(cp932).CodePoints();
  std::u32string_view list = codePoints;
  List ranges;
  for (size_t pos = 0; pos < list.size();) {
    char32_t first = ReadListChar(list, pos);
    char32_t last = first;
    if (pos + 1 < list.size() && list[pos] == '-') {
      ++pos;
      last = ReadListChar(list, pos);
    }
    if (last < first || last > kLastCodePoint) return std::nullopt;
    ranges.push_back({first, last});
  }
  return ranges;
}

std::optional<uint64_t> Transliteration::SearchIndex(char32_t c) const {
  uint64_t index = 0;
  if (!complement_) {
    for (const Range& range : search_) {
      if (c >= range.first && c <= range.last) return index + (c - range.first);
      index += range.Size();
    }
    return std::nullopt;
  }
  // The complement in code point order: c's place is c less the searched code points below it.
  for (const Range& range : merged_) {
    if (c >= range.first && c <= range.last) return std::nullopt;
    if (range.last < c) index += range.Size();
  }
  return c - index;
}

std::optional<char32_t> Transliteration::Replacement(char32_t c, uint64_t index) const {
  if (replacement_.empty()) return deleteUnreplaced_ ? std::nullopt : std::optional(c);
  if (index >= replacementSize_) {
    return deleteUnreplaced_ ? std::nullopt : std::optional(replacement_.back().last);
  }
  for (const Range& range : replacement_) {
    if (index < range.Size()) return static_cast<char32_t>(range.first + index);
    index -= range.Size();
  }
  return std::nullopt;
}

std::string Transliteration::Apply(std::string_view cp932) const {
  std::string out;
  std::optional<char32_t> lastOut;  // the last character tr wrote, for squeezing
  RegexText(cp932).ForEachChar([&](char32_t c, std::string_view bytes) {
    auto index = SearchIndex(c);
    if (!index) {
      out.append(bytes);
      lastOut.reset();
      return;
    }
    auto to = Replacement(c, *index);
    if (!to || (squeeze_ && lastOut == to)) return;
    lastOut = to;
    out.append(*to == c ? std::string(bytes) : CodePointToCp932(*to));
  });
  return out;
}

}  // namespace mavu::script
