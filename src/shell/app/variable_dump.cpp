#include "shell/app/variable_dump.h"

#include <algorithm>
#include <vector>

#include "base/cp932.h"
#include "shell/app/json_writer.h"

namespace mavu::shell {
namespace {

void WriteElement(JsonWriter& json, const script::TReturnValue& value) {
  if (value.kind == script::ValueKind::kInteger) {
    json.Number(value.integer);
  } else {
    json.String(base::Cp932ToUtf8(value.Text()));
  }
}

bool IsPlain(const script::TValueArrayCustom& storage) {
  const auto& sizes = storage.StoredSizes();
  return storage.Count() == 1 &&
         std::all_of(sizes.begin(), sizes.end(), [](int32_t size) { return size == 1; });
}

void WriteVariable(JsonWriter& json, const script::TValueArrayCustom& storage) {
  json.Key(base::Cp932ToUtf8(storage.Name()));
  if (IsPlain(storage)) return WriteElement(json, storage.ReadElement(0));
  json.BeginArray();
  for (int32_t i = 0; i < storage.Count(); ++i) WriteElement(json, storage.ReadElement(i));
  json.EndArray();
}

// Sorted by name, letter case ignored: the slot order follows the table's
// free-slot rules and means nothing to a reader.
void WriteTable(JsonWriter& json, std::string_view key, const script::TValue& table) {
  std::vector<const script::TValueArrayCustom*> variables;
  for (const script::ValueSlot& slot : table.Slots()) {
    if (!slot.IsFree() && slot.storage) variables.push_back(slot.storage.get());
  }
  std::stable_sort(variables.begin(), variables.end(), [](const auto* a, const auto* b) {
    return base::LowerName(a->Name()) < base::LowerName(b->Name());
  });
  json.Key(key);
  json.BeginObject();
  for (const script::TValueArrayCustom* variable : variables) WriteVariable(json, *variable);
  json.EndObject();
}

std::string_view KindName(base::DialogKind kind) {
  switch (kind) {
    case base::DialogKind::kConfirm:
      return "confirm";
    case base::DialogKind::kNotice:
      return "notice";
    case base::DialogKind::kExitChoice:
      return "exit";
  }
  return {};
}

void WriteDialog(JsonWriter& json, const DialogRecord& dialog) {
  json.BeginObject();
  json.Key("frame");
  json.Number(dialog.frame);
  json.Key("kind");
  json.String(KindName(dialog.kind));
  json.Key("caption");
  json.String(dialog.caption);
  json.Key("text");
  json.String(dialog.text);
  json.Key("buttons");
  json.BeginArray();
  for (const std::string& button : dialog.buttons) json.String(button);
  json.EndArray();
  json.Key("answer");
  json.Number(dialog.answer);
  json.EndObject();
}

}  // namespace

std::string VariableDumpJson(const RunState& state) {
  JsonWriter json;
  json.BeginObject();
  WriteTable(json, "global", state.global);
  WriteTable(json, "system", state.system);
  json.Key("errors");
  json.BeginArray();
  for (const std::string& line : state.errors) json.String(base::Cp932ToUtf8(line));
  json.EndArray();
  json.Key("position");
  json.String(base::Cp932ToUtf8(state.position));
  json.Key("frames");
  json.Number(state.frames);
  json.Key("dialogs");
  json.BeginArray();
  for (const DialogRecord& dialog : state.dialogs) WriteDialog(json, dialog);
  json.EndArray();
  json.EndObject();
  return json.Text() + "\n";
}

}  // namespace mavu::shell
