#include <cstddef>
#include <cstdint>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "fake_script_host.h"
#include "script/value.h"

namespace {

struct TTable {
  TTable() {
    table.SetErrorSink(&sink);
    table.SetObjectHost(&host);
  }

  mavu::script::test::FakeErrorSink sink;
  mavu::script::test::FakeObjectHost host;
  mavu::script::TValue table;
};

mavu::base::Bytes Write(mavu::script::TValue& table) {
  mavu::base::ByteWriter out;
  table.WriteTable(out);
  return out.Take();
}

}  // namespace

// Reads arbitrary bytes as a variable table. A refused stream must leave the
// table and the object registry empty; an accepted one must write out a stream
// that reads back and writes out again to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TTable first;
  mavu::base::ByteReader in({data, size});
  try {
    first.table.ReadTable(in);
  } catch (const mavu::base::FormatError&) {
    if (!first.table.Slots().empty() || !first.host.objects.empty()) __builtin_trap();
    return 0;
  }
  mavu::base::Bytes written = Write(first.table);
  TTable second;
  mavu::base::ByteReader again(written);
  second.table.ReadTable(again);  // a FormatError here ends the run as a finding
  if (!again.AtEnd() || Write(second.table) != written) __builtin_trap();
  return 0;
}
