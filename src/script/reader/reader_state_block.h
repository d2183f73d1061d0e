#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::script {

// The fixed 585-byte block at the start of the reader's save state:
//   0  128  file name: length byte + up to 127 bytes
//   128 128 label name (lower-case, with "@@"): length byte + up to 127 bytes
//   256  4  line offset from the label line (int32)
//   260  4  character position in that line (int32)
//   264 64  replacement modes, one byte per slot
//   328  1  replacement enabled (0/1)
//   329 128 text-line prefix: length byte + up to 127 bytes
//   457 128 empty-line text: length byte + up to 127 bytes
// Bytes after a short string's length are written as zeros and ignored on reading.
struct ReaderStateBlock {
  static constexpr size_t kSize = 585;
  static constexpr size_t kShortStringField = 128;
  static constexpr size_t kShortStringMax = kShortStringField - 1;
  static constexpr int kSlots = 64;

  std::string fileName;
  std::string labelName;
  int32_t lineOffset = 0;
  int32_t charPosition = 0;
  std::array<uint8_t, kSlots> modes{};
  bool replacementEnabled = true;
  std::string linePrefix;
  std::string emptyLineText;

  // Short strings longer than 127 bytes are cut at a character boundary.
  void Write(base::ByteWriter& out) const;
  // Throws base::FormatError when the block is short or a length byte is over 127.
  static ReaderStateBlock Read(base::ByteReader& in);
};

// A short-string field's text: at most 127 bytes, never ending inside a
// two-byte character.
std::string ShortString(std::string_view text);

}  // namespace mavu::script
