#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mavu::shell {

// Builds compact JSON text (RFC 8259) in memory. The caller opens and closes
// objects and arrays in order and names every member of an object with Key
// before its value; commas are placed here. Text goes in as UTF-8: quotes,
// backslashes and control characters are escaped, and bytes that are not
// valid UTF-8 become U+FFFD, so the result is always valid UTF-8 JSON.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  void Key(std::string_view utf8);
  void Number(int64_t value);
  void String(std::string_view utf8);

  const std::string& Text() const { return text_; }

 private:
  // Before a value: a comma unless it is the first of its container; a
  // member's comma came with its key.
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);
  void Quoted(std::string_view utf8);

  std::string text_;
  // One entry per open container: whether it holds no element yet.
  std::vector<bool> empty_;
  bool afterKey_ = false;
};

// The length of the valid UTF-8 sequence at `pos` (1 to 4), or 0 when the bytes
// there are not one: a stray continuation byte, a truncated or overlong
// sequence, a surrogate or a code point above U+10FFFF.
size_t Utf8SequenceLength(std::string_view text, size_t pos);

}  // namespace mavu::shell
