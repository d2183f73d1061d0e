#include <span>
#include <string_view>
#include <vector>

#include "base/byte_writer.h"
#include "script/values/value.h"
#include "seed_registry.h"
#include "support/script/fake_script_host.h"

namespace {

using mavu::script::TValue;
using mavu::script::ValueKind;
using mavu::script::VariableSpec;

void Declare(TValue& table, std::string_view name, ValueKind kind, std::span<const int32_t> sizes,
             std::string_view kindName = {}, bool reference = false, int32_t key = 0) {
  VariableSpec spec;
  spec.name = name;
  spec.valueKind = kind;
  spec.sizes = sizes;
  spec.kindName = kindName;
  spec.reference = reference;
  spec.key = key;
  table.Declare(spec);
}

mavu::base::Bytes Written(TValue& table) {
  mavu::base::ByteWriter out;
  table.WriteTable(out);
  return out.Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(value_table_stream) {
  mavu::script::test::FakeObjectHost host;
  TValue table;
  table.SetObjectHost(&host);
  std::vector<mavu::base::Bytes> seeds = {Written(table)};
  const int32_t matrix[] = {3, 4};
  const int32_t pair[] = {2};
  Declare(table, "n", ValueKind::kInteger, {});
  Declare(table, "m", ValueKind::kInteger, matrix, {}, false, 2);
  table.Write("m", 2, {}, mavu::script::TReturnValue::FromInteger(-7), true);
  seeds.push_back(Written(table));
  Declare(table, "s", ValueKind::kString, pair);
  table.Write("s", 0, {}, mavu::script::TReturnValue::FromString("\x82\xA0text"), true);
  Declare(table, "bg", ValueKind::kObjectName, pair, "img");
  host.Object("bg,1")->state = "state";
  Declare(table, "ResultBtn", ValueKind::kObjectName, {}, {}, true);
  table.Write("ResultBtn", 0, {}, mavu::script::TReturnValue::FromObjectName("bg,1"), true);
  table.FlagBits()[3] = 0x80000001;
  seeds.push_back(Written(table));
  return seeds;
}
