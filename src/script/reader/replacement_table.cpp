#include "script/reader/replacement_table.h"

#include <algorithm>

#include "base/cp932.h"
#include "script/reader/script_text.h"
#include "script/regex/bregexp.h"

namespace mavu::script {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string RemoveLineEnds(std::string text) {
  size_t kept = 0;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    if (text.compare(pos, kLineEnd.size(), kLineEnd) == 0) {
      ++pos;
      continue;
    }
    text[kept++] = text[pos];
  }
  text.resize(kept);
  return text;
}

std::string PrefixOnMatch(std::string text, const ReplacementTable::Slot& slot, TBRegExp& regExp) {
  if (!regExp.Match(slot.pattern, text).empty()) text.insert(0, slot.replacement);
  return text;
}

std::string PrefixEachPiece(std::string text, const ReplacementTable::Slot& slot,
                            TBRegExp& regExp) {
  auto pieces = regExp.Split(slot.pattern, text, ReplacementTable::kSplitLimit);
  if (pieces.empty()) return text;
  std::string joined;
  for (const auto& piece : pieces) joined.append(slot.replacement).append(piece);
  return joined;
}

std::string ApplySlot(std::string text, const ReplacementTable::Slot& slot, TBRegExp& regExp) {
  switch (slot.mode) {
    case kReplaceText:
      return ReplaceAllIgnoreCase(std::move(text), slot.pattern, slot.replacement);
    case kReplacePrefix:
      return PrefixOnMatch(std::move(text), slot, regExp);
    case kReplaceSubst:
    case kReplaceSubstAlt:
      return regExp.Substitute(slot.pattern, text);
    case kReplaceSplit:
      return PrefixEachPiece(std::move(text), slot, regExp);
    default:
      return text;
  }
}

}  // namespace

bool ReplacementTable::Add(std::string_view pattern, std::string_view replacement, uint8_t mode) {
  if (pattern.empty()) return false;
  int slot = FindPattern(pattern);
  if (slot >= 0) {
    slots_[slot] = {std::string(pattern), std::string(replacement), mode};
    return true;
  }
  slot = FindPattern({});
  if (slot < 0) return false;
  slots_[slot] = {std::string(pattern), std::string(replacement), mode};
  Reorder();
  CountUsedSlots();
  return true;
}

bool ReplacementTable::Remove(std::string_view pattern) {
  if (pattern.empty()) return false;
  int slot = FindPattern(pattern);
  if (slot < 0) return false;
  slots_[slot] = Slot();
  Reorder();
  CountUsedSlots();
  return true;
}

bool ReplacementTable::Set(int slot, std::string_view pattern, uint8_t mode,
                           std::string_view replacement) {
  if (slot < 0 || slot >= kSlots) return false;
  slots_[slot] = {std::string(pattern), std::string(replacement), mode};
  CountUsedSlots();
  return true;
}

void ReplacementTable::Clear() {
  slots_.fill(Slot());
  usedSlots_ = 0;
}

void ReplacementTable::CountUsedSlots() {
  usedSlots_ = static_cast<int>(std::count_if(slots_.begin(), slots_.end(),
                                              [](const Slot& s) { return !s.pattern.empty(); }));
}

std::string ReplacementTable::Apply(std::string_view line, TBRegExp& regExp) const {
  if (usedSlots_ == 0) return std::string(line);
  std::string text(line);
  text.append(kLineEnd);
  for (const auto& slot : slots_) {
    if (!slot.pattern.empty()) text = ApplySlot(std::move(text), slot, regExp);
  }
  return RemoveLineEnds(std::move(text));
}

void ReplacementTable::Reorder() {
  // Stable, so patterns of equal length keep the order they were added in.
  std::stable_sort(slots_.begin(), slots_.end(), [](const Slot& a, const Slot& b) {
    return a.pattern.size() > b.pattern.size();
  });
}

int ReplacementTable::FindPattern(std::string_view pattern) const {
  for (int slot = 0; slot < kSlots; ++slot) {
    if (base::EqualsIgnoreCase(slots_[slot].pattern, pattern)) return slot;
  }
  return -1;
}

}  // namespace mavu::script
