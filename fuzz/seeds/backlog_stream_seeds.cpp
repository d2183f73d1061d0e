#include <string>

#include "base/byte_writer.h"
#include "imaging/kel_log_data.h"
#include "seed_registry.h"

namespace {

mavu::base::Bytes Write(const mavu::imaging::TKelLogData& log) {
  mavu::base::ByteWriter out;
  log.WriteState(out);
  return out.Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(backlog_stream) {
  mavu::imaging::TKelLogData log;
  std::vector<mavu::base::Bytes> seeds = {Write(log)};
  log.Add({"\x88\xA2", "[c,$FF0000]Hello[n]", "v01.ogg", 3, 1500, 200});
  seeds.push_back(Write(log));
  for (int i = 0; i < 300; ++i) log.Add({"s", "line " + std::to_string(i), "", 0, 0, 255});
  seeds.push_back(Write(log));
  return seeds;
}
