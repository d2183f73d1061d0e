#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/bytes.h"

namespace mavu::base {

// Bounds-checked little-endian reader over memory. A read past the end throws
// FormatError and leaves the position unchanged.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  size_t Size() const { return data_.size(); }
  size_t Position() const { return pos_; }
  size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ == data_.size(); }

  void Seek(size_t pos);
  void Skip(size_t count);

  // Inline: archive directories and indexes read a million of these at start-up.
  uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
  uint64_t U64() { return Little(8); }
  int32_t I32() { return static_cast<int32_t>(U32()); }

  // A u16 length followed by that many bytes.
  std::string Str16();
  // Exactly `count` bytes as text, unchanged (NULs included).
  std::string Text(size_t count);
  // A fixed field of `width` bytes written by ByteWriter::ShortString. A
  // length byte beyond the field throws FormatError (the position then stays)
  // unless `cutOverlong`, which takes the whole field cut at a character.
  std::string ShortString(size_t width, bool cutOverlong = false);
  std::span<const uint8_t> Span(size_t count);
  Bytes Take(size_t count);
  // Everything from the position to the end; the position moves to the end.
  std::span<const uint8_t> Rest();

 private:
  void Require(size_t count) const {
    if (count > Remaining()) ThrowShort(count);
  }
  [[noreturn]] void ThrowShort(size_t count) const;
  uint64_t Little(size_t bytes) {
    Require(bytes);
    uint64_t value = 0;
    for (size_t i = bytes; i > 0; --i) value = (value << 8) | data_[pos_ + i - 1];
    pos_ += bytes;
    return value;
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace mavu::base
