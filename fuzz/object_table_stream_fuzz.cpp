#include <cstddef>
#include <cstdint>

#include "imaging/kel_log_data.h"
#include "script/headless_system_shell.h"
#include "script/kel_object_manager.h"
#include "script/value.h"
#include "table_round_trip.h"

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

}  // namespace

// Variable tables with object elements: a refused stream leaves no objects behind.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::fuzz::CheckTableRoundTrip<TObjectTable>(
      data, size, [](const TObjectTable& t) { return t.objects.Count() == 0; });
  return 0;
}
