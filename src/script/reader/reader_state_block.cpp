#include "script/reader/reader_state_block.h"

#include <algorithm>
#include <string>

#include "base/cp932.h"

namespace mavu::script {
namespace {

void WriteShortString(base::ByteWriter& out, std::string_view text) {
  std::string_view cut = base::TruncateWhole(text, ReaderStateBlock::kShortStringMax);
  out.U8(static_cast<uint8_t>(cut.size()));
  out.FixedText(cut, ReaderStateBlock::kShortStringMax);
}

std::string ReadShortString(base::ByteReader& in) {
  size_t start = in.Position();
  uint8_t length = in.U8();
  std::string field = in.Text(ReaderStateBlock::kShortStringMax);
  if (length > ReaderStateBlock::kShortStringMax) {
    throw base::FormatError("reader state: short string of " + std::to_string(length) +
                            " bytes at offset " + std::to_string(start));
  }
  return field.substr(0, length);
}

}  // namespace

std::string ShortString(std::string_view text) {
  return std::string(base::TruncateWhole(text, ReaderStateBlock::kShortStringMax));
}

void ReaderStateBlock::Write(base::ByteWriter& out) const {
  WriteShortString(out, fileName);
  WriteShortString(out, labelName);
  out.I32(lineOffset).I32(charPosition);
  out.Append(modes);
  out.U8(replacementEnabled ? 1 : 0);
  WriteShortString(out, linePrefix);
  WriteShortString(out, emptyLineText);
}

ReaderStateBlock ReaderStateBlock::Read(base::ByteReader& in) {
  // Check the whole block first, so that a short block leaves the position alone.
  if (in.Remaining() < kSize) {
    throw base::FormatError("reader state: " + std::to_string(kSize) + " bytes needed, " +
                            std::to_string(in.Remaining()) + " left");
  }
  ReaderStateBlock block;
  block.fileName = ReadShortString(in);
  block.labelName = ReadShortString(in);
  block.lineOffset = in.I32();
  block.charPosition = in.I32();
  auto modes = in.Span(kSlots);
  std::copy(modes.begin(), modes.end(), block.modes.begin());
  block.replacementEnabled = in.U8() != 0;
  block.linePrefix = ReadShortString(in);
  block.emptyLineText = ReadShortString(in);
  return block;
}

}  // namespace mavu::script
