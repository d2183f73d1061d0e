#include "script/reader/reader_state_block.h"

#include <algorithm>
#include <string>

#include "base/cp932.h"

namespace mavu::script {

std::string ShortString(std::string_view text) {
  return std::string(base::TruncateWhole(text, ReaderStateBlock::kShortStringMax));
}

void ReaderStateBlock::Write(base::ByteWriter& out) const {
  out.ShortString(fileName, kShortStringField);
  out.ShortString(labelName, kShortStringField);
  out.I32(lineOffset).I32(charPosition);
  out.Append(modes);
  out.U8(replacementEnabled ? 1 : 0);
  out.ShortString(linePrefix, kShortStringField);
  out.ShortString(emptyLineText, kShortStringField);
}

ReaderStateBlock ReaderStateBlock::Read(base::ByteReader& in) {
  // Check the whole block first, so that a short block leaves the position alone.
  if (in.Remaining() < kSize) {
    throw base::FormatError("reader state: " + std::to_string(kSize) + " bytes needed, " +
                            std::to_string(in.Remaining()) + " left");
  }
  ReaderStateBlock block;
  block.fileName = in.ShortString(kShortStringField);
  block.labelName = in.ShortString(kShortStringField);
  block.lineOffset = in.I32();
  block.charPosition = in.I32();
  auto modes = in.Span(kSlots);
  std::copy(modes.begin(), modes.end(), block.modes.begin());
  block.replacementEnabled = in.U8() != 0;
  block.linePrefix = in.ShortString(kShortStringField);
  block.emptyLineText = in.ShortString(kShortStringField);
  return block;
}

}  // namespace mavu::script
