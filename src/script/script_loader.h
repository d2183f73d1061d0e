#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "script/reader_events.h"
#include "script/script_lines.h"

namespace mavu::script {

// Reads a script file from the data tree and splices its include files in.
// Lines end at CR LF, LF or CR. "//" and "/* */" comments are removed; a line
// "@@@name" is replaced by the lines of file `name` (a missing one is skipped);
// a line "@@name" is also recorded as a label.
class TScriptLoader {
 public:
  // Include files nested deeper than this are skipped with an error.
  static constexpr size_t kMaxIncludeDepth = 16;
  // A script whose files, includes counted, exceed these fails to load, so a
  // small file that includes others many times over cannot exhaust memory.
  static constexpr size_t kMaxLines = size_t{1} << 20;
  static constexpr size_t kMaxBytes = size_t{64} << 20;

  explicit TScriptLoader(TReaderEvents* events) : events_(events) {}

  // The loaded script, or nothing when `name` cannot be read or is too large.
  std::optional<TScriptLines> Load(std::string_view name);

 private:
  enum class TStatus { kRead, kMissing, kTooLarge };

  TStatus LoadFile(const std::string& name);
  TStatus TakeLine(std::string_view raw, const std::string& file, int32_t sourceLine,
                   bool& inComment);
  TStatus Include(const std::string& name);
  std::optional<base::Bytes> Open(const std::string& name);
  void Report(const std::string& message) const;

  TReaderEvents* events_;
  TScriptLines script_;
  // Names of the files being read, outermost first, normalised and lower-cased.
  std::vector<std::string> includeChain_;
  size_t bytesRead_ = 0;
};

}  // namespace mavu::script
