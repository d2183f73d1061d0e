#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mavu::script {

class TBRegExp;

// How a replacement slot rewrites a line.
enum ReplaceMode : uint8_t {
  kReplaceText = 0,      // every occurrence of the pattern, ignoring case
  kReplacePrefix = 1,    // a matching regular expression puts the text in front
  kReplaceSubst = 2,     // the pattern is a whole substitution expression
  kReplaceSplit = 3,     // each split piece gets the text in front
  kReplaceSubstAlt = 4,  // the same as kReplaceSubst
};

// The reader's 64-slot text replacement table. Slots are kept ordered by
// pattern length, longest first, free slots (empty pattern) last, so a long
// pattern is replaced before a shorter one inside it.
class ReplacementTable {
 public:
  static constexpr int kSlots = 64;
  // Split pieces a kReplaceSplit slot works on.
  static constexpr int kSplitLimit = 32;

  struct Slot {
    std::string pattern;
    std::string replacement;
    uint8_t mode = kReplaceText;
  };

  // Overwrites the slot with the same pattern (ignoring case), else fills the
  // first free slot and reorders. False when the table is full or the pattern empty.
  bool Add(std::string_view pattern, std::string_view replacement, uint8_t mode);
  // Empties the slot with this pattern (ignoring case) and reorders.
  bool Remove(std::string_view pattern);
  // Writes a slot as it is, without reordering; false outside 0..63.
  bool Set(int slot, std::string_view pattern, uint8_t mode, std::string_view replacement);
  void Clear();

  const Slot& At(int slot) const { return slots_[slot]; }

  // The line after every slot in order; `regExp` serves the regular-expression modes.
  std::string Apply(std::string_view line, TBRegExp& regExp) const;

 private:
  void Reorder();
  void CountUsedSlots();
  int FindPattern(std::string_view pattern) const;

  std::array<Slot, kSlots> slots_;
  // Most games use no replacements: with none, a line passes unchanged at once.
  int usedSlots_ = 0;
};

}  // namespace mavu::script
