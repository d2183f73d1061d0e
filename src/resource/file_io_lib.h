#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/data_tree.h"
#include "resource/settings_list.h"

namespace mavu::resource {

// A text file of the game read whole through the data tree, for scripts that
// keep their own lists and name=value tables. Read-only.
class TFileIOLib {
 public:
  explicit TFileIOLib(const DataTree& tree = TheDataTree()) : tree_(&tree) {}

  // Replaces the lines with the file's and remembers its resolved name. A file
  // that cannot be opened or read (a damaged archive entry) changes nothing and
  // gives false.
  bool Load(std::string_view name);
  // Forgets the lines and the name.
  void Clear();

  // The value of the first "name=value" line of `key` (letter case ignored),
  // empty when there is none.
  std::string Value(std::string_view key) const { return lines_.Value(key); }
  // Line `index` from 0, empty outside the file.
  std::string Line(int32_t index) const;
  int32_t LineCount() const { return static_cast<int32_t>(lines_.Lines().size()); }
  const std::string& Name() const { return name_; }

  // Saved games keep only the name: reading loads the file again, so the lines
  // are those of the data tree at load time. A file that is gone leaves the
  // object empty.
  void WriteState(base::ByteWriter& out) const { out.Str16(name_); }
  void ReadState(base::ByteReader& in);

 private:
  const DataTree* tree_;
  SettingsList lines_;
  std::string name_;
};

}  // namespace mavu::resource
