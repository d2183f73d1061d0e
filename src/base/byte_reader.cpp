#include "base/byte_reader.h"

#include <string>

#include "base/cp932.h"

namespace mavu::base {

void ByteReader::Require(size_t count) const {
  if (count > Remaining()) {
    throw FormatError("unexpected end of data: " + std::to_string(count) +
                      " bytes needed at offset " + std::to_string(pos_) + ", " +
                      std::to_string(Remaining()) + " left");
  }
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

uint8_t ByteReader::U8() {
  Require(1);
  return data_[pos_++];
}

uint16_t ByteReader::U16() {
  Require(2);
  uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
  pos_ += 2;
  return v;
}

uint32_t ByteReader::U32() {
  Require(4);
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | data_[pos_ + i];
  pos_ += 4;
  return v;
}

uint64_t ByteReader::U64() {
  Require(8);
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | data_[pos_ + i];
  pos_ += 8;
  return v;
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
  return std::string(bytes.begin(), bytes.end());
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
