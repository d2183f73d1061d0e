#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "script/reader/reader_events.h"
#include "script/reader/script_lines.h"

namespace mavu::script {

// Reads a script file from the data tree and splices its include files in.
// Lines end at CR LF, LF or CR. "//" and "/* */" comments are removed; a line
// "@@@name" is replaced by the lines of file `name` (a missing one is skipped);
// a line "@@name" is also recorded as a label.
class ScriptLoader {
 public:
  // Include files nested deeper than this are skipped with an error.
  static constexpr size_t kMaxIncludeDepth = 16;
  // A script whose files, includes counted, exceed these fails to load, so a
  // small file that includes others many times over cannot exhaust memory.
  static constexpr size_t kMaxLines = size_t{1} << 20;
  static constexpr size_t kMaxBytes = size_t{64} << 20;

  explicit ScriptLoader(ReaderEvents* events) : events_(events) {}

  // The loaded script, or nothing when `name` cannot be read or is too large.
  std::optional<ScriptLines> Load(std::string_view name);

 private:
  enum class Status { kRead, kMissing, kTooLarge };

  Status LoadFile(const std::string& name);
  Status TakeLine(std::string_view raw, const std::string& file, int32_t sourceLine,
                  bool& inComment);
  Status Include(const std::string& name);
  std::optional<base::Bytes> Open(const std::string& name);
  void Report(const std::string& message) const;

  ReaderEvents* events_;
  ScriptLines script_;
  // Names of the files being read, outermost first, normalised and lower-cased.
  std::vector<std::string> includeChain_;
  size_t bytesRead_ = 0;
};

}  // namespace mavu::script
