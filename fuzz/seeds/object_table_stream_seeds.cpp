#include <array>

#include "base/byte_writer.h"
#include "imaging/layers/stage.h"
#include "script/objects/kel_object_manager.h"
#include "script/values/value.h"
#include "seed_registry.h"
#include "shell/sound/sound.h"
#include "support/script/recording_system_shell.h"

namespace {

using mavu::script::ValueKind;
using mavu::script::VariableSpec;

void DeclareObjects(mavu::script::TValue& table, std::string_view name, std::string_view kind,
                    int32_t count) {
  const std::array<int32_t, 1> sizes = {count};
  VariableSpec spec;
  spec.name = name;
  spec.kindName = kind;
  spec.attributes = mavu::script::kObjectVariableRights;
  spec.valueKind = ValueKind::kObjectName;
  spec.sizes = sizes;
  table.Declare(spec);
}

}  // namespace

MAVU_FUZZ_SEEDS(object_table_stream) {
  mavu::imaging::Stage stage;
  mavu::script::RecordingSystemShell shell;
  mavu::base::SimulatedClock clock;
  mavu::shell::TSound sound(clock);
  mavu::script::TKelObjectManager objects({stage, shell, sound});
  mavu::script::TValue table;
  table.SetObjectHost(&objects);
  std::vector<mavu::base::Bytes> seeds;
  auto write = [&] {
    mavu::base::ByteWriter out;
    table.WriteTable(out);
    seeds.push_back(out.Take());
  };
  DeclareObjects(table, "doc", "file", 2);
  write();
  DeclareObjects(table, "sys", "sys", 1);
  DeclareObjects(table, "snd", "snd", 3);
  DeclareObjects(table, "math", "math", 1);
  DeclareObjects(table, "log", "log", 1);
  write();
  table.Clear();
  return seeds;
}
