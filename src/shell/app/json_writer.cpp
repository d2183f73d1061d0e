#include "shell/app/json_writer.h"

#include <array>

namespace mavu::shell {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr char kHexDigits[] = "0123456789abcdef";

uint8_t ByteAt(std::string_view text, size_t pos) {
  return static_cast<uint8_t>(text[pos]);
}

bool IsContinuation(uint8_t b) {
  return (b & 0xC0) == 0x80;
}

// The escape of a byte that may not stand in a JSON string as it is; empty
// for the others.
std::string Escape(uint8_t b) {
  switch (b) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\b':
      return "\\b";
    case '\f':
      return "\\f";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      break;
  }
  if (b >= 0x20) return {};
  return std::string("\\u00") + kHexDigits[b >> 4] + kHexDigits[b & 0x0F];
}

}  // namespace

size_t Utf8SequenceLength(std::string_view text, size_t pos) {
  const uint8_t lead = ByteAt(text, pos);
  if (lead < 0x80) return 1;
  // The second byte's range rules out overlong forms, surrogates and values
  // above U+10FFFF.
  struct Form {
    uint8_t firstLead, lastLead, length, secondLow, secondHigh;
  };
  constexpr std::array<Form, 7> kForms = {{{0xC2, 0xDF, 2, 0x80, 0xBF},
                                           {0xE0, 0xE0, 3, 0xA0, 0xBF},
                                           {0xE1, 0xEC, 3, 0x80, 0xBF},
                                           {0xED, 0xED, 3, 0x80, 0x9F},
                                           {0xEE, 0xEF, 3, 0x80, 0xBF},
                                           {0xF0, 0xF0, 4, 0x90, 0xBF},
                                           {0xF1, 0xF4, 4, 0x80, 0xBF}}};
  for (const Form& form : kForms) {
    if (lead < form.firstLead || lead > form.lastLead) continue;
    if (text.size() - pos < form.length) return 0;
    const uint8_t second = ByteAt(text, pos + 1);
    if (second < form.secondLow || second > form.secondHigh) return 0;
    if (lead == 0xF4 && second > 0x8F) return 0;
    for (size_t k = 2; k < form.length; ++k) {
      if (!IsContinuation(ByteAt(text, pos + k))) return 0;
    }
    return form.length;
  }
  return 0;
}

void JsonWriter::BeginObject() {
  Open('{');
}

void JsonWriter::EndObject() {
  Close('}');
}

void JsonWriter::BeginArray() {
  Open('[');
}

void JsonWriter::EndArray() {
  Close(']');
}

void JsonWriter::Key(std::string_view utf8) {
  BeforeValue();
  Quoted(utf8);
  text_ += ':';
  afterKey_ = true;
}

void JsonWriter::Number(int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  Quoted(utf8);
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (empty_.empty()) return;
  if (!empty_.back()) text_ += ',';
  empty_.back() = false;
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  text_ += bracket;
  empty_.push_back(true);
}

void JsonWriter::Close(char bracket) {
  text_ += bracket;
  if (!empty_.empty()) empty_.pop_back();
}

void JsonWriter::Quoted(std::string_view utf8) {
  text_ += '"';
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t length = Utf8SequenceLength(utf8, pos);
    if (length == 0) {
      text_ += kReplacement;
      ++pos;
      continue;
    }
    const std::string escaped = length == 1 ? Escape(ByteAt(utf8, pos)) : std::string();
    if (escaped.empty()) {
      text_.append(utf8.substr(pos, length));
    } else {
      text_ += escaped;
    }
    pos += length;
  }
  text_ += '"';
}

}  // namespace mavu::shell
