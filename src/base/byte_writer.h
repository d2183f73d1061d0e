#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/bytes.h"

namespace mavu::base {

// Little-endian writer that builds a whole stream in memory.
class ByteWriter {
 public:
  ByteWriter() = default;
  explicit ByteWriter(Bytes initial) : data_(std::move(initial)) {}

  ByteWriter& U8(uint8_t v);
  ByteWriter& U16(uint16_t v);
  ByteWriter& U32(uint32_t v);
  ByteWriter& U64(uint64_t v);
  ByteWriter& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  // A u16 length and the bytes. Text over 65535 bytes is cut at the last whole
  // CP932 character that fits, so the stream stays readable.
  ByteWriter& Str16(std::string_view text);
  ByteWriter& Text(std::string_view text);
  ByteWriter& Append(std::span<const uint8_t> bytes);
  // `count` zero bytes, or the text NUL-padded to `width` (cut if longer).
  ByteWriter& Zeros(size_t count);
  ByteWriter& FixedText(std::string_view text, size_t width);
  // A fixed field of `width` bytes: a length byte, then the text cut at a whole
  // CP932 character to width - 1 bytes, then zeros.
  ByteWriter& ShortString(std::string_view text, size_t width);

  void PatchU32(size_t offset, uint32_t v);

  size_t Size() const { return data_.size(); }
  const Bytes& Data() const { return data_; }
  Bytes Take() { return std::move(data_); }

 private:
  Bytes data_;
};

}  // namespace mavu::base
