#include "script/reader/word_buf.h"

#include <algorithm>

#include "base/cp932.h"
#include "script/reader/script_text.h"

namespace mavu::script {
namespace {

// Dropped wherever it appears in a command.
constexpr char kUnitSeparator = 0x1F;

bool IsOpener(char c) {
  return c == '(' || c == '[' || c == '"' || c == '{';
}
bool IsOpenBracket(char c) {
  return c == '(' || c == '[';
}
bool IsCloseBracket(char c) {
  return c == ')' || c == ']';
}

size_t FindOpener(std::string_view word) {
  for (size_t pos = 0; pos < word.size(); pos += base::CharLength(word, pos)) {
    if (IsOpener(word[pos])) return pos;
  }
  return std::string_view::npos;
}

// Walks the text after an opener. Braces nest everywhere; quotes toggle only
// outside braces; brackets nest only outside quotes and braces.
class BracketWalker {
 public:
  explicit BracketWalker(char opener)
      : braces_(opener == '{' ? 1 : 0),
        brackets_(IsOpenBracket(opener) ? 1 : 0),
        quoted_(opener == '"') {}

  // Takes one single-byte character; true when it closes the opener.
  bool Closes(char c) {
    if (c == '{') {
      ++braces_;
    } else if (c == '}') {
      return --braces_ == 0 && brackets_ == 0 && !quoted_;
    } else if (braces_ == 0 && c == '"') {
      quoted_ = !quoted_;
      return !quoted_ && brackets_ == 0;
    } else if (braces_ == 0 && !quoted_) {
      if (IsOpenBracket(c)) ++brackets_;
      if (IsCloseBracket(c)) return --brackets_ == 0;
    }
    return false;
  }

  bool KeepsBlanks() const { return quoted_ || braces_ > 0; }

 private:
  int braces_;
  int brackets_;
  bool quoted_;
};

}  // namespace

void TWordBuf::Clear() {
  for (auto& word : words) word.clear();
  count = 0;
}

void SplitWords(TWordBuf& buffer, std::string_view text, char separator) {
  if (TrimBlanks(text).empty()) return;
  buffer.Clear();
  int braces = 0;
  int brackets = 0;
  bool quoted = false;
  for (size_t pos = 0; pos < text.size();) {
    size_t length = base::CharLength(text, pos);
    std::string_view ch = text.substr(pos, length);
    pos += length;
    if (length == 1) {
      char c = ch[0];
      if (c == kUnitSeparator) continue;
      if (c == '{') {
        ++braces;
      } else if (c == '}') {
        --braces;
      } else if (braces == 0 && c == '"') {
        quoted = !quoted;
      } else if (braces == 0 && !quoted) {
        if (IsOpenBracket(c)) ++brackets;
        if (IsCloseBracket(c)) --brackets;
        if (c == separator && brackets == 0) {
          if (buffer.count < TWordBuf::kMaxWords) ++buffer.count;
          continue;
        }
      }
    }
    if (buffer.count < TWordBuf::kMaxWords) buffer.words[buffer.count].append(ch);
  }
  if (buffer.count < TWordBuf::kMaxWords && !buffer.words[buffer.count].empty()) ++buffer.count;
}

std::string BracketContent(std::string_view word) {
  std::string storage;
  const std::string_view content = BracketContentView(word, storage);
  return content.data() == storage.data() ? storage : std::string(content);
}

// Walks without copying until the first blank that must go; only from there
// on is the content built in `storage`.
std::string_view BracketContentView(std::string_view word, std::string& storage) {
  size_t opener = FindOpener(word);
  if (opener == std::string_view::npos) return {};
  BracketWalker walker(word[opener]);
  const size_t start = opener + 1;
  bool copying = false;
  size_t pos = start;
  while (pos < word.size()) {
    size_t length = base::CharLength(word, pos);
    if (length == 1) {
      char c = word[pos];
      if (walker.Closes(c)) break;
      if (IsBlankOrControl(c) && !walker.KeepsBlanks()) {
        if (!copying) storage.assign(word.substr(start, pos - start));
        copying = true;
        ++pos;
        continue;
      }
    }
    if (copying) storage.append(word.substr(pos, length));
    pos += length;
  }
  if (copying) return storage;
  return word.substr(start, pos - start);
}

std::string NamePart(std::string_view word) {
  std::string name;
  std::string_view before = word.substr(0, std::min(FindOpener(word), word.size()));
  for (size_t pos = 0; pos < before.size();) {
    size_t length = base::CharLength(before, pos);
    if (length == 2 || !IsBlankOrControl(before[pos])) name.append(before.substr(pos, length));
    pos += length;
  }
  return name;
}

void ParseIndexedName(TWordBuf& buffer, std::string_view word, char separator) {
  buffer.Clear();
  buffer.words[0] = NamePart(word);
  TWordBuf indices;
  SplitWords(indices, BracketContent(word), separator);
  int taken = std::min(indices.count, TWordBuf::kMaxWords - 1);
  for (int i = 0; i < taken; ++i) buffer.words[i + 1] = std::move(indices.words[i]);
  buffer.count = 1 + taken;
}

void InsertWord(TWordBuf& buffer, int index, std::string_view text) {
  if (text.empty()) return;
  int at = std::clamp(index, 0, static_cast<int>(buffer.count));
  if (at >= TWordBuf::kMaxWords) return;
  for (int i = std::min<int>(buffer.count, TWordBuf::kMaxWords - 1); i > at; --i) {
    buffer.words[i] = std::move(buffer.words[i - 1]);
  }
  buffer.words[at] = std::string(text);
  buffer.count = std::min<int32_t>(buffer.count + 1, TWordBuf::kMaxWords);
}

}  // namespace mavu::script
