#include "shell/sound/loop_header.h"

#include <bit>
#include <cmath>
#include <string_view>

#include "base/byte_reader.h"

namespace mavu::shell {

namespace {

constexpr std::string_view kMagic = "ALPHAOGG";

float F32(base::ByteReader& in) {
  return std::bit_cast<float>(in.U32());
}

bool Usable(const LoopPoint& p) {
  return std::isfinite(p.target) && std::isfinite(p.trigger) && p.target >= 0 && p.trigger >= 0;
}

}  // namespace

LoopHeader ReadLoopHeader(std::span<const uint8_t> file) {
  LoopHeader header;
  if (file.size() < LoopHeader::kSize ||
      std::string_view(reinterpret_cast<const char*>(file.data()), kMagic.size()) != kMagic) {
    return header;
  }
  base::ByteReader in(file.first(LoopHeader::kSize));
  in.Skip(kMagic.size());
  for (LoopPoint& point : header.points) {
    point.target = F32(in);
    point.trigger = F32(in);
    point.count = in.I32();
    if (!Usable(point)) point = LoopPoint{};
  }
  header.dataOffset = LoopHeader::kSize;
  return header;
}

}  // namespace mavu::shell
