#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::resource {

constexpr uint32_t kSealMagic = 0xFD324D4E;

// Appends magic, checksum, length and the payload.
void SealStream(std::span<const uint8_t> payload, base::ByteWriter& out);
// Reads a sealed payload from the reader's position; nothing on a wrong magic,
// a short stream or a checksum mismatch.
std::optional<base::Bytes> UnsealStream(base::ByteReader& in);

}  // namespace mavu::resource
