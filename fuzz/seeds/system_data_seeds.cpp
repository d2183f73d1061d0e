#include <string>

#include "../system_data_variables.h"
#include "base/byte_writer.h"
#include "resource/system_data.h"
#include "seed_registry.h"
#include "support/hostile_data.h"

namespace {

using mavu::base::Bytes;

// A file from the system-data writer, with `keys` entries in each log and a
// variable block holding `variables`.
Bytes SystemDataFile(const Bytes& variables, int keys) {
  mavu::fuzz::OpaqueVariables stream;
  stream.bytes = variables;
  mavu::resource::SystemData data("", mavu::fuzz::kSystemDataFuzzKey, stream);
  for (int i = 0; i < keys; ++i) {
    const std::string n = std::to_string(i);
    data.OpenedFiles().Counts().RecordCount("cg\\ev" + n + ".png", i + 1, true);
    data.ReadLines().Counts().RecordCount("scene" + n + ".s@@top", i * 7 - 3, true);
  }
  return data.BuildFile().value_or(Bytes{});
}

// Shaped like a small variable table: a slot count, one integer slot, flag bits.
Bytes VariableTable() {
  mavu::base::ByteWriter out;
  out.U32(1).U8(0).U8(0).Str16("Flag").Str16("").U16(0).U16(255).U32(0x1A2);
  out.U32(1).U32(1).U32(1).U32(1).U32(1).U32(42);
  return out.Zeros(512).Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(system_data) {
  // 31 string arrays of 2^20 empty strings packed into 3 KB.
  const Bytes bomb =
      mavu::test::SystemDataFile(mavu::test::StringArrayBomb(31), mavu::fuzz::kSystemDataFuzzKey);
  return {SystemDataFile({}, 0), SystemDataFile(VariableTable(), 3),
          SystemDataFile(Bytes(300, 0x41), 40), bomb};
}
