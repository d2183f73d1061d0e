#include "resource/sealed_stream.h"

#include <stdexcept>

#include "resource/block_checksum.h"

namespace mavu::resource {

void SealStream(std::span<const uint8_t> payload, base::ByteWriter& out) {
  if (payload.size() > UINT32_MAX) throw std::length_error("sealed payload over 4 GiB");
  out.U32(kSealMagic).U32(BlockChecksum(payload)).U32(static_cast<uint32_t>(payload.size()));
  out.Append(payload);
}

std::optional<base::Bytes> UnsealStream(base::ByteReader& in) {
  const size_t start = in.Position();
  constexpr size_t kHeadSize = 12;
  if (in.Remaining() < kHeadSize || in.U32() != kSealMagic) {
    in.Seek(start);
    return std::nullopt;
  }
  const uint32_t checksum = in.U32();
  const uint32_t length = in.U32();
  if (length > in.Remaining()) {
    in.Seek(start);
    return std::nullopt;
  }
  auto payload = in.Take(length);
  if (BlockChecksum(payload) != checksum) {
    in.Seek(start);
    return std::nullopt;
  }
  return payload;
}

}  // namespace mavu::resource
