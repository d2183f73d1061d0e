#include "base/byte_writer.h"

#include <algorithm>

#include "base/cp932.h"

namespace mavu::base {

ByteWriter& ByteWriter::U8(uint8_t v) {
  data_.push_back(v);
  return *this;
}

ByteWriter& ByteWriter::U16(uint16_t v) {
  data_.push_back(static_cast<uint8_t>(v));
  data_.push_back(static_cast<uint8_t>(v >> 8));
  return *this;
}

ByteWriter& ByteWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) data_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

ByteWriter& ByteWriter::U64(uint64_t v) {
  for (int i = 0; i < 8; ++i) data_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

ByteWriter& ByteWriter::Str16(std::string_view text) {
  text = TruncateWhole(text, 0xFFFF);
  U16(static_cast<uint16_t>(text.size()));
  return Text(text);
}

ByteWriter& ByteWriter::Text(std::string_view text) {
  data_.insert(data_.end(), text.begin(), text.end());
  return *this;
}

ByteWriter& ByteWriter::Append(std::span<const uint8_t> bytes) {
  data_.insert(data_.end(), bytes.begin(), bytes.end());
  return *this;
}

ByteWriter& ByteWriter::Zeros(size_t count) {
  data_.insert(data_.end(), count, 0);
  return *this;
}

ByteWriter& ByteWriter::FixedText(std::string_view text, size_t width) {
  size_t n = std::min(text.size(), width);
  Text(text.substr(0, n));
  return Zeros(width - n);
}

ByteWriter& ByteWriter::ShortString(std::string_view text, size_t width) {
  std::string_view cut = TruncateWhole(text, std::min<size_t>(width - 1, 255));
  U8(static_cast<uint8_t>(cut.size()));
  return FixedText(cut, width - 1);
}

void ByteWriter::PatchU32(size_t offset, uint32_t v) {
  if (offset + 4 > data_.size()) throw FormatError("patch past the end of the stream");
  for (int i = 0; i < 4; ++i) data_[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace mavu::base
