#include <cstddef>
#include <cstdint>

#include "imaging/layers/stage.h"
#include "script/objects/kel_object_manager.h"
#include "script/values/value.h"
#include "shell/sound/sound.h"
#include "support/script/recording_system_shell.h"
#include "table_round_trip.h"

namespace {

// A variable table on the real object registry, so that every object kind
// reads its own state from the stream.
struct ObjectTable {
  ObjectTable() { table.SetObjectHost(&objects); }
  ~ObjectTable() { table.Clear(); }

  mavu::imaging::Stage stage;
  mavu::script::RecordingSystemShell shell;
  mavu::base::SimulatedClock clock;
  mavu::shell::TSound sound{clock};
  mavu::script::TKelObjectManager objects{{stage, shell, sound}};
  mavu::script::TValue table;
};

}  // namespace

// Variable tables with object elements: a refused stream leaves no objects behind.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::fuzz::CheckTableRoundTrip<ObjectTable>(
      data, size, [](const ObjectTable& t) { return t.objects.Count() == 0; });
  return 0;
}
