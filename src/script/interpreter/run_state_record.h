#pragma once

#include <array>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "script/interpreter/script_module_data.h"

namespace mavu::script {

// The head of a saved game's state stream: the run state with its run stack
// and scopes, then the data tree's directory list.
struct RunStateRecord {
  static constexpr int kDirEntries = 16;

  TScriptModuleData module;
  std::array<std::string, kDirEntries> dirs;

  static void Write(const TScriptModuleData& module,
                    const std::array<std::string, kDirEntries>& dirs, base::ByteWriter& out);
  // Reads the whole record before returning; throws base::FormatError for a
  // short stream, a kind, wait state or mode out of range, or a call depth
  // that disagrees with the stack.
  static RunStateRecord Read(base::ByteReader& in);
};

}  // namespace mavu::script
