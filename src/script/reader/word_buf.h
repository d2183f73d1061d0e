#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mavu::script {

// The words of one split command. Words at and beyond `count` are empty.
struct TWordBuf {
  static constexpr int kMaxWords = 33;

  std::array<std::string, kMaxWords> words;
  int32_t count = 0;

  void Clear();
};

// Splits a command at `separator` outside braces, quotes and brackets; the
// separators are dropped, everything else (brackets, braces, quotes) is kept.
// A blank text leaves the buffer as it was. A trailing separator adds no empty
// word; words after the 33rd are dropped.
void SplitWords(TWordBuf& buffer, std::string_view text, char separator);

// The text inside the first bracket, quote or brace pair of `word`, with
// blanks removed wherever they are not quoted or inside braces.
std::string BracketContent(std::string_view word);
// The same as a view of `word` where no blank had to go; otherwise the text
// is built in `storage` and the view shows that.
std::string_view BracketContentView(std::string_view word, std::string& storage);

// The text before the first opening bracket, quote or brace, without blanks.
std::string NamePart(std::string_view word);

// x[2,3] becomes the words x, 2 and 3: the name, then the split bracket content.
void ParseIndexedName(TWordBuf& buffer, std::string_view word, char separator);

// Puts `text` at `index` (clamped to the count) and moves the words from there
// up by one. A full buffer loses its last word; an empty text changes nothing.
void InsertWord(TWordBuf& buffer, int index, std::string_view text);

}  // namespace mavu::script
