#include "imaging/message/message_text.h"

#include <algorithm>
#include <set>

#include "base/cp932.h"

namespace mavu::imaging {
namespace {

constexpr size_t kTagNameLength = 4;

bool IsMessageLead(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Splits CP932 text into its characters.
std::set<std::string> CharactersOf(std::string_view utf8) {
  const std::string text = base::Utf8ToCp932(utf8);
  std::set<std::string> characters;
  size_t pos = 0;
  while (pos < text.size()) {
    const MessageToken token = ReadMessageToken(text, pos);
    characters.emplace(token.text);
  }
  return characters;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

MessageToken ReadMessageToken(std::string_view text, size_t& pos) {
  const size_t start = pos;
  if (text[pos] != '[') {
    pos += IsMessageLead(static_cast<uint8_t>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
    return {text.substr(start, pos - start), false};
  }
  int depth = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsMessageLead(static_cast<uint8_t>(c)) && pos + 1 < text.size()) {
      pos += 2;
      continue;
    }
    ++pos;
    if (c == '[') ++depth;
    if (c == ']' && --depth == 0) break;
  }
  return {text.substr(start, pos - start), true};
}

MessageTag SplitMessageTag(std::string_view tag) {
  std::string_view inner = Trim(tag);
  if (inner.starts_with('[')) inner.remove_prefix(1);
  if (inner.ends_with(']')) inner.remove_suffix(1);
  MessageTag parsed;
  size_t start = 0;
  bool first = true;
  while (true) {
    const size_t comma = inner.find(',', start);
    const std::string_view part = inner.substr(start, comma - start);
    if (first) {
      parsed.name = base::LowerName(Trim(part)).substr(0, kTagNameLength);
      first = false;
    } else {
      parsed.arguments.emplace_back(part);
    }
    if (comma == std::string_view::npos) return parsed;
    start = comma + 1;
  }
}

bool IsOpeningCharacter(std::string_view character) {
  static const std::set<std::string> kOpening = CharactersOf("([{<（「〔［｛〈《『【＜");
  return kOpening.contains(std::string(character));
}

bool IsClosingCharacter(std::string_view character) {
  static const std::set<std::string> kClosing = CharactersOf(
      "　),.>]}、。，＞」〕］｝〉》』】：；:;"
      "ゝゞヽヾ々っゃゅょぁぃぅぇぉゎッャュョァィゥェォヮヵヶ・♪♭♯"
      "￥＄Σ☆★※！？!?＄～-－－―～");
  return kClosing.contains(std::string(character));
}

bool HasVisibleText(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const MessageToken token = ReadMessageToken(text, pos);
    if (!token.tag) return true;
  }
  return false;
}

std::string WithoutTrailingLineTags(std::string_view text) {
  std::vector<MessageToken> tokens;
  size_t pos = 0;
  while (pos < text.size()) tokens.push_back(ReadMessageToken(text, pos));
  size_t keep = tokens.size();
  while (keep > 0 && tokens[keep - 1].tag &&
         SplitMessageTag(tokens[keep - 1].text).name.starts_with('n')) {
    --keep;
  }
  if (keep == tokens.size()) return std::string(text);
  if (keep == 0) return {};
  const MessageToken& last = tokens[keep - 1];
  return std::string(
      text.substr(0, static_cast<size_t>(last.text.data() - text.data()) + last.text.size()));
}

std::string PlainText(std::string_view text) {
  std::string plain;
  for (size_t pos = 0; pos < text.size();) {
    const MessageToken token = ReadMessageToken(text, pos);
    if (!token.tag) {
      plain += token.text;
      continue;
    }
    const MessageTag tag = SplitMessageTag(token.text);
    const bool carriesText = tag.name == "rb" || tag.name == "pc" || tag.name == "pr";
    if (carriesText && !tag.arguments.empty()) plain += tag.arguments.front();
  }
  return plain;
}

}  // namespace mavu::imaging
