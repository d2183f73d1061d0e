#include "loop_block.h"

#include <bit>
#include <stdexcept>

#include "base/byte_writer.h"

namespace mavu::tools {

namespace {

constexpr size_t kLoopEntries = 16;
constexpr size_t kEntryBytes = 12;

}  // namespace

base::Bytes WithLoopHeader(std::span<const LoopEntry> entries, const base::Bytes& ogg) {
  if (entries.size() > kLoopEntries) throw std::invalid_argument("the loop block has 16 entries");
  base::ByteWriter out;
  out.Text("ALPHAOGG");
  for (const LoopEntry& e : entries) {
    out.U32(std::bit_cast<uint32_t>(e.target)).U32(std::bit_cast<uint32_t>(e.trigger)).I32(e.count);
  }
  out.Zeros((kLoopEntries - entries.size()) * kEntryBytes);
  return out.Append(ogg).Take();
}

}  // namespace mavu::tools
