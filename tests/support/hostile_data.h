#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "base/bytes.h"

// Outside data made to hurt: small files that expand enormously or lie about
// themselves. Tests and fuzz seeds build them at run time; none is checked in.
namespace mavu::test {

// A packed-block stream in the current form (u16 block lengths) declaring
// `length` unpacked bytes.
base::Bytes PackedStream(uint32_t length, std::span<const uint8_t> blocks);
// One block holding `bytes` as they are (an identity pair table).
base::Bytes PlainBlock(std::span<const uint8_t> bytes);
// One block of a few dozen bytes that expands to 2^doublings zero bytes: code k
// is the pair (k-1, k-1).
base::Bytes ZeroRunBlock(int doublings);

// A .pack of `entries` entries "0.bin", "1.bin" … that all share one packed
// body of some 60 bytes declaring 64 MiB.
base::Bytes SharedBodyBomb(int entries);

// The system variable table of `arrays` string variables of 2^20 empty strings
// each, packed into some 100 bytes per variable.
base::Bytes StringArrayBomb(int arrays);
// A system-data file: `packedVariables` (a packed block stream) scrambled with
// `codeKey` as its variable block, and two empty logs.
base::Bytes SystemDataFile(base::Bytes packedVariables, uint32_t codeKey);

// Makes the packed entry `name` of an unscrambled .pack file fail to expand
// by flipping the lowest bit of the unpacked length its packed head declares.
void BreakPackedEntry(const std::filesystem::path& pack, std::string_view name);

}  // namespace mavu::test
