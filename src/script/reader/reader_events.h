#pragma once

#include <cstdint>
#include <string>

namespace mavu::script {

// What the script reader reports upwards. The interpreter implements it; a
// reader without one reports nothing.
class ReaderEvents {
 public:
  virtual ~ReaderEvents() = default;

  // A line under a label is about to be handed out. `key` is the label's file
  // followed by its name, `offset` the lines read since the label.
  virtual void LineReached(const std::string& key, int32_t offset) = 0;

  // A position query was made while the reader stands outside any label;
  // `text` is the warning to show.
  virtual void PositionWarning(const std::string& text) = 0;

  // The loaded script is about to be replaced: positions in it are still
  // readable now and no longer afterwards.
  virtual void ScriptReplacing() {}

  // A problem in the script data (include nesting or cycles, a script too
  // large, an unreadable include) for the error list.
  virtual void ReaderError(const std::string& message) = 0;
};

}  // namespace mavu::script
