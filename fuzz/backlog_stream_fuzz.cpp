#include <cstddef>
#include <cstdint>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "imaging/kel_log_data.h"

namespace {

mavu::base::Bytes Write(const mavu::imaging::TKelLogData& log) {
  mavu::base::ByteWriter out;
  log.WriteState(out);
  return out.Take();
}

}  // namespace

// Reads arbitrary bytes as the backlog part of a saved game. A refused stream
// must leave the backlog as it was; an accepted one must write out the bytes
// it read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::imaging::TKelLogData log;
  log.Add({"kept", "text", "", 0, 0, 255});
  const mavu::base::Bytes before = Write(log);
  mavu::base::ByteReader in({data, size});
  try {
    log.ReadState(in);
  } catch (const mavu::base::FormatError&) {
    if (Write(log) != before) __builtin_trap();
    return 0;
  }
  const mavu::base::Bytes written = Write(log);
  if (written.size() != in.Position() || !std::equal(written.begin(), written.end(), data)) {
    __builtin_trap();
  }
  return 0;
}
