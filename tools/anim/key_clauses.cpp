#include "key_clauses.h"

#include <array>
#include <bitset>
#include <charconv>
#include <cstdio>
#include <span>
#include <string_view>

#include "key_words.h"

namespace mavu::tools {
namespace {

using imaging::AnimationKey;

// Reads a clause's values from the line, after its word.
class ClauseReader {
 public:
  ClauseReader(LineCursor& in, std::string_view clause) : in_(in), clause_(clause) {}

  template <class T>
  void Value(T& value) {
    value = in_.Number<T>(clause_);
  }
  void Colour(uint32_t& colour) {
    const std::string_view word = in_.Word(clause_);
    const char* end = word.data() + word.size();
    const auto parsed = std::from_chars(word.data(), end, colour, 16);
    if (word.size() != 8 || parsed.ptr != end || parsed.ec != std::errc()) {
      in_.Fail(std::string(clause_) + ": \"" + std::string(word) +
               "\" is not eight hex digits AARRGGBB");
    }
  }
  void Named(KeyWordSet set, uint8_t& value) {
    if (in_.NextIsNumber()) return Value(value);
    const std::string_view word = in_.Word(clause_);
    const std::optional<uint8_t> named = ValueOf(set, word);
    if (!named) {
      in_.Fail(std::string(clause_) + ": unknown word \"" + std::string(word) + "\" (" +
               WordList(set) + ", or a number from 0 to 255)");
    }
    value = *named;
  }
  void OptionalValue(uint8_t& value) {
    if (in_.NextIsNumber()) Value(value);
  }

 private:
  LineCursor& in_;
  std::string_view clause_;
};

// Writes a clause's values, each after a space.
class ClausePrinter {
 public:
  template <class T>
  void Value(T& value) {
    text_ += " " + std::to_string(value);
  }
  void Colour(uint32_t& colour) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", colour);
    text_ += std::string(" ") + hex;
  }
  void Named(KeyWordSet set, uint8_t& value) {
    const std::optional<std::string_view> word = WordOf(set, value);
    if (!word) return Value(value);
    text_ += " " + std::string(*word);
  }
  void OptionalValue(uint8_t& value) { Value(value); }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// One body per clause names the fields it covers, in their written order; it
// serves the reader and the printer alike.
constexpr auto kTime = [](auto& f, AnimationKey& key) { f.Value(key.time); };
constexpr auto kSource = [](auto& f, AnimationKey& key) {
  for (int16_t& v : key.source) f.Value(v);
};
constexpr auto kDestination = [](auto& f, AnimationKey& key) {
  for (int16_t& v : std::span(key.destination).first(4)) f.Value(v);
};
constexpr auto kPriority = [](auto& f, AnimationKey& key) { f.Value(key.destination[4]); };
constexpr auto kColour = [](auto& f, AnimationKey& key) { f.Colour(key.colour); };
constexpr auto kDraw = [](auto& f, AnimationKey& key) {
  f.Named(KeyWordSet::kDrawType, key.drawType);
};
constexpr auto kSourceMode = [](auto& f, AnimationKey& key) {
  f.Named(KeyWordSet::kMode, key.sourceMode);
};
constexpr auto kDestinationMode = [](auto& f, AnimationKey& key) {
  f.Named(KeyWordSet::kMode, key.destinationMode);
};
constexpr auto kColourMode = [](auto& f, AnimationKey& key) {
  f.Named(KeyWordSet::kMode, key.colourMode);
};
constexpr auto kAction = [](auto& f, AnimationKey& key) {
  f.Named(KeyWordSet::kAction, key.action);
  f.OptionalValue(key.argument);
};

struct KeyClause {
  std::string_view word;
  void (*read)(ClauseReader&, AnimationKey&);
  void (*print)(ClausePrinter&, AnimationKey&);
};

template <auto Body>
constexpr KeyClause Clause(std::string_view word) {
  return {word, [](ClauseReader& f, AnimationKey& key) { Body(f, key); },
          [](ClausePrinter& f, AnimationKey& key) { Body(f, key); }};
}

constexpr std::array kClauses = {
    Clause<kTime>("time"),
    Clause<kSource>("src"),
    Clause<kDestination>("dest"),
    Clause<kPriority>("priority"),
    Clause<kColour>("colour"),
    Clause<kDraw>("draw"),
    Clause<kSourceMode>("src-mode"),
    Clause<kDestinationMode>("dest-mode"),
    Clause<kColourMode>("colour-mode"),
    Clause<kAction>("action"),
};

std::string ClauseWords() {
  std::string words;
  for (const KeyClause& clause : kClauses)
    words += (words.empty() ? "" : ", ") + std::string(clause.word);
  return words;
}

std::string Printed(const KeyClause& clause, AnimationKey key) {
  ClausePrinter printer;
  clause.print(printer, key);
  return printer.Text();
}

}  // namespace

void ReadKeyClauses(LineCursor& in, AnimationKey& key) {
  std::bitset<kClauses.size()> seen;
  while (!in.AtEnd()) {
    const std::string_view word = in.Word("a key clause");
    size_t i = 0;
    while (i < kClauses.size() && kClauses[i].word != word) ++i;
    if (i == kClauses.size()) {
      in.Fail("unknown word \"" + std::string(word) + "\" in a key (" + ClauseWords() + ")");
    }
    if (seen[i]) in.Fail(std::string(word) + " given twice in one key");
    seen[i] = true;
    ClauseReader reader(in, word);
    kClauses[i].read(reader, key);
  }
}

std::string PrintKeyClauses(const AnimationKey& key, const AnimationKey& fresh) {
  std::string text;
  for (const KeyClause& clause : kClauses) {
    const std::string values = Printed(clause, key);
    if (values != Printed(clause, fresh)) text += " " + std::string(clause.word) + values;
  }
  return text;
}

}  // namespace mavu::tools
