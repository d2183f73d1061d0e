#include "script/reader/script_lines.h"

namespace mavu::script {

void ScriptLines::AddLabel(ScriptLabel label) {
  label.logKey = label.file + label.name;
  firstByName_.emplace(label.name, static_cast<int32_t>(labels_.size()));
  labels_.push_back(std::move(label));
}

int32_t ScriptLines::FindLabel(std::string_view lowerName) const {
  auto found = firstByName_.find(lowerName);
  return found == firstByName_.end() ? -1 : found->second;
}

}  // namespace mavu::script
