#include <cstddef>
#include <cstdint>

#include "script/values/value.h"
#include "support/script/fake_script_host.h"
#include "table_round_trip.h"

namespace {

struct Table {
  Table() {
    table.SetErrorSink(&sink);
    table.SetObjectHost(&host);
  }

  mavu::script::test::FakeErrorSink sink;
  mavu::script::test::FakeObjectHost host;
  mavu::script::TValue table;
};

}  // namespace

// Variable tables on a fake registry: a refused stream leaves the table and
// the registry empty.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::fuzz::CheckTableRoundTrip<Table>(
      data, size, [](const Table& t) { return t.table.Slots().empty() && t.host.objects.empty(); });
  return 0;
}
