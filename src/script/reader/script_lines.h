#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mavu::script {

struct ScriptLabel {
  std::string name;        // lower-cased, with the leading "@@"
  int32_t line = 0;        // index of the label's own line in the line list
  std::string file;        // the file it was read from, as named to the loader
  int32_t sourceLine = 0;  // 0-based line inside that file
  bool raw = false;        // "@@!..." labels: their lines skip the line pipeline
  std::string logKey;      // file + name: the key of the read log
};

// A loaded script: its lines after comment removal and include expansion, and
// its labels in reading order.
class ScriptLines {
 public:
  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<ScriptLabel>& Labels() const { return labels_; }
  int32_t LineCount() const { return static_cast<int32_t>(lines_.size()); }

  void AddLine(std::string line) { lines_.push_back(std::move(line)); }
  // Labels are not checked for duplicates; look-ups find the first of equal names.
  void AddLabel(ScriptLabel label);
  // The index of the first label named `lowerName`, or -1.
  int32_t FindLabel(std::string_view lowerName) const;

 private:
  std::vector<std::string> lines_;
  std::vector<ScriptLabel> labels_;
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
  };
  std::unordered_map<std::string, int32_t, NameHash, std::equal_to<>> firstByName_;
};

}  // namespace mavu::script
