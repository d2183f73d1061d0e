#include "resource/bpe.h"

#include <memory>
#include <stdexcept>

#include "base/byte_writer.h"
#include "resource/bpe_block_compressor.h"
#include "resource/bpe_block_expander.h"

namespace mavu::resource {
namespace {

constexpr uint32_t kFlagU16Lengths = 1;

}  // namespace

base::Bytes BpeCompress(std::span<const uint8_t> input) {
  if (input.size() > kBpeMaxUnpacked) {
    throw std::length_error("input too large for a packed block stream");
  }
  base::ByteWriter out;
  out.U32(kBpeMagic).U32(kFlagU16Lengths).U32(static_cast<uint32_t>(input.size()));
  // Its tables take some 160 KB: too much for a stack.
  auto block = std::make_unique<BpeBlockCompressor>();
  size_t pos = 0;
  do {
    pos = block->Read(input, pos);
    block->Compress();
    block->Write(out);
  } while (pos < input.size());
  return out.Take();
}

std::optional<base::Bytes> BpeExpand(std::span<const uint8_t> packed) {
  try {
    base::ByteReader in(packed);
    uint32_t length = in.U32();
    bool u16Lengths = false;
    if (length == kBpeMagic) {
      u16Lengths = (in.U32() & kFlagU16Lengths) != 0;
      length = in.U32();
    }
    if (length > uint64_t{kBpeMaxRatio} * packed.size()) return std::nullopt;
    return BpeExpandBlocks(in.Rest(), length, u16Lengths);
  } catch (const base::FormatError&) {
    return std::nullopt;
  }
}

std::optional<base::Bytes> BpeExpandBlocks(std::span<const uint8_t> blocks, uint32_t length,
                                           bool u16Lengths) {
  if (length > kBpeMaxUnpacked) return std::nullopt;
  try {
    base::ByteReader in(blocks);
    BpeOutput out(length, blocks.size());
    size_t used = 0;
    BpeBlockExpander block;
    while (!in.AtEnd()) {
      block.ReadTable(in);
      const uint32_t dataLength = u16Lengths ? in.U16() : in.U32();
      used = block.Expand(in.Span(dataLength), out, used);
    }
    return out.Finish(used);
  } catch (const base::FormatError&) {
    return std::nullopt;
  }
}

}  // namespace mavu::resource
