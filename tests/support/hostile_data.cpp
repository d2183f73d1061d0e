#include "support/hostile_data.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/byte_writer.h"
#include "base/file_io.h"
#include "resource/bpe.h"
#include "resource/file_pack.h"
#include "resource/hand_made_pack.h"
#include "resource/label_log.h"
#include "resource/scramble.h"
#include "resource/sealed_stream.h"

namespace mavu::test {
namespace {

constexpr unsigned kCodes = 256;
// A count byte above this skips (count - 127) codes and is followed by one entry.
constexpr unsigned kSkipBase = 127;
constexpr unsigned kLongestSkip = 128;
constexpr uint16_t kU16Lengths = 1;
// The packed head: magic, flags, then the unpacked length.
constexpr size_t kDeclaredLengthOffset = 8;

// Skips every code from `code` on as a plain code.
void SkipToTheEnd(base::ByteWriter& table, unsigned code) {
  while (kCodes - code > kLongestSkip) {
    code += kLongestSkip;
    table.U8(kSkipBase + kLongestSkip).U8(static_cast<uint8_t>(code));  // that code, plain
    ++code;
  }
  if (code < kCodes) table.U8(static_cast<uint8_t>(kSkipBase + (kCodes - code)));
}

base::Bytes Block(base::ByteWriter table, std::span<const uint8_t> data) {
  return table.U16(static_cast<uint16_t>(data.size())).Append(data).Take();
}

// The slot record of a string array of 2^20 elements, up to its elements.
base::Bytes StringArrayHead(const std::string& name) {
  constexpr int32_t kElements = 1 << 20;
  base::ByteWriter out;
  out.U8(1).U8(0).Str16(name).Str16("").U16(0).U16(0xFF).U32(0);
  out.I32(kElements).I32(1).I32(1).I32(1).I32(kElements);
  return out.Take();
}

}  // namespace

base::Bytes PackedStream(uint32_t length, std::span<const uint8_t> blocks) {
  return base::ByteWriter()
      .U32(resource::kBpeMagic)
      .U32(kU16Lengths)
      .U32(length)
      .Append(blocks)
      .Take();
}

base::Bytes PlainBlock(std::span<const uint8_t> bytes) {
  base::ByteWriter table;
  SkipToTheEnd(table, 0);
  return Block(std::move(table), bytes);
}

base::Bytes ZeroRunBlock(int doublings) {
  base::ByteWriter table;
  table.U8(static_cast<uint8_t>(doublings)).U8(0);  // codes 0 .. doublings, 0 plain
  for (int code = 1; code <= doublings; ++code) table.U8(code - 1).U8(code - 1);
  SkipToTheEnd(table, static_cast<unsigned>(doublings) + 1);
  const uint8_t data[] = {static_cast<uint8_t>(doublings)};
  return Block(std::move(table), data);
}

base::Bytes SharedBodyBomb(int entries) {
  constexpr int kDoublings = 26;  // 64 MiB
  const base::Bytes body = PackedStream(resource::kBpeMaxUnpacked, ZeroRunBlock(kDoublings));
  std::vector<HandEntry> hand = {{"0.bin", body, true}};
  for (int i = 1; i < entries; ++i)
    hand.push_back({std::to_string(i) + ".bin", {}, true, false, true, 0});
  return HandMadePack(hand);
}

base::Bytes StringArrayBomb(int arrays) {
  constexpr int kElementDoublings = 21;  // 2^20 empty Str16, two zero bytes each
  constexpr int kFlagDoublings = 9;      // the table's 512 flag bytes
  base::ByteWriter blocks;
  uint64_t length = 0;
  for (int i = 0; i < arrays; ++i) {
    base::ByteWriter plain;
    if (i == 0) plain.I32(arrays);  // the slot count
    plain.Append(StringArrayHead("bomb" + std::to_string(i)));
    length += plain.Size() + (uint64_t{1} << kElementDoublings);
    blocks.Append(PlainBlock(plain.Data())).Append(ZeroRunBlock(kElementDoublings));
  }
  blocks.Append(ZeroRunBlock(kFlagDoublings));
  length += uint64_t{1} << kFlagDoublings;
  return PackedStream(static_cast<uint32_t>(length), blocks.Data());
}

base::Bytes SystemDataFile(base::Bytes packedVariables, uint32_t codeKey) {
  resource::ScrambleBlocks(packedVariables, resource::ScrambleDirection::kScramble, codeKey);
  base::ByteWriter emptyLog;
  resource::TLabelLog().SaveLog(emptyLog);
  base::ByteWriter payload;
  payload.U32(static_cast<uint32_t>(packedVariables.size())).Append(packedVariables);
  for (int log = 0; log < 2; ++log) {
    payload.U32(static_cast<uint32_t>(emptyLog.Size())).Append(emptyLog.Data());
  }
  base::ByteWriter file;
  resource::SealStream(payload.Data(), file);
  return file.Take();
}

void BreakPackedEntry(const std::filesystem::path& pack, std::string_view name) {
  uint64_t offset = 0;
  {
    resource::TFilePack archive(pack, false);
    const auto& entries = archive.Entries();
    auto entry = std::ranges::find(entries, name, &resource::PackEntry::name);
    if (entry == entries.end() || !entry->packed || entry->scrambled)
      throw std::runtime_error(std::string(name) + " is no plain packed entry");
    offset = entry->offset;
  }
  base::Bytes bytes = base::ReadWholeFile(pack).value();
  bytes.at(offset + kDeclaredLengthOffset) ^= 1;
  if (!base::WriteFileAtomic(pack, bytes)) throw std::runtime_error("cannot damage the pack");
}

}  // namespace mavu::test
