#include <cstddef>
#include <cstdint>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "imaging/kel_log_data.h"
#include "script/headless_system_shell.h"
#include "script/kel_object_manager.h"
#include "script/value.h"

namespace {

// A variable table on the real object registry, so that every object kind
// reads its own state from the stream.
struct TObjectTable {
  TObjectTable() { table.SetObjectHost(&objects); }
  ~TObjectTable() { table.Clear(); }

  mavu::imaging::TKelLogData backlog;
  mavu::script::THeadlessSystemShell shell;
  mavu::script::TKelObjectManager objects{{backlog, shell}};
  mavu::script::TValue table;
};

mavu::base::Bytes Write(mavu::script::TValue& table) {
  mavu::base::ByteWriter out;
  table.WriteTable(out);
  return out.Take();
}

}  // namespace

// Reads arbitrary bytes as a variable table with object elements. A refused
// stream must leave no objects behind; an accepted one must write out a
// stream that reads back and writes out again to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TObjectTable first;
  mavu::base::ByteReader in({data, size});
  try {
    first.table.ReadTable(in);
  } catch (const mavu::base::FormatError&) {
    if (first.objects.Count() != 0) __builtin_trap();
    return 0;
  }
  const mavu::base::Bytes written = Write(first.table);
  TObjectTable second;
  mavu::base::ByteReader again(written);
  second.table.ReadTable(again);  // a FormatError here ends the run as a finding
  if (!again.AtEnd() || Write(second.table) != written) __builtin_trap();
  return 0;
}
