#include "base/byte_reader.h"

#include <string>

#include "base/cp932.h"

namespace mavu::base {

void ByteReader::ThrowShort(size_t count) const {
  throw FormatError("unexpected end of data: " + std::to_string(count) +
                    " bytes needed at offset " + std::to_string(pos_) + ", " +
                    std::to_string(Remaining()) + " left");
}

void ByteReader::Seek(size_t pos) {
  if (pos > data_.size()) {
    throw FormatError("seek to offset " + std::to_string(pos) + " past the end (" +
                      std::to_string(data_.size()) + " bytes)");
  }
  pos_ = pos;
}

void ByteReader::Skip(size_t count) {
  Require(count);
  pos_ += count;
}

std::string ByteReader::Str16() {
  size_t start = pos_;
  uint16_t length = U16();
  if (length > Remaining()) {
    pos_ = start;
    Require(size_t{2} + length);
  }
  return Text(length);
}

std::string ByteReader::Text(size_t count) {
  auto bytes = Span(count);
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string ByteReader::ShortString(size_t width, bool cutOverlong) {
  Require(width);
  const uint8_t length = data_[pos_];
  if (length >= width && cutOverlong) {
    std::string field = Text(width).substr(1);
    return std::string(TruncateWhole(field, field.size()));
  }
  if (length >= width) {
    throw FormatError("a short string of " + std::to_string(length) + " bytes in a field of " +
                      std::to_string(width) + " at offset " + std::to_string(pos_));
  }
  std::string field = Text(width);
  return field.substr(1, length);
}

std::span<const uint8_t> ByteReader::Span(size_t count) {
  Require(count);
  auto out = data_.subspan(pos_, count);
  pos_ += count;
  return out;
}

Bytes ByteReader::Take(size_t count) {
  auto bytes = Span(count);
  return Bytes(bytes.begin(), bytes.end());
}

std::span<const uint8_t> ByteReader::Rest() {
  return Span(Remaining());
}

}  // namespace mavu::base
