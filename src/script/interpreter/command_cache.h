#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "script/reader/word_buf.h"

namespace mavu::script {

// A command text split into words, with the code of its command word.
struct ParsedCommand {
  TWordBuf words;
  int32_t code = 0;
};

// Scripts run the same command texts over and over (loops, subroutines, every
// frame of a wait loop), so the split is kept by text. When the cache is full
// it starts afresh; long texts (rare, and costly to keep) are split every
// time. Entries are shared: a command that runs other commands
// keeps its own words alive while they are parsed.
class CommandCache {
 public:
  static constexpr size_t kDefaultCapacity = 4096;
  static constexpr size_t kMaxCachedBytes = 1024;

  explicit CommandCache(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // `trimmed` must not be blank.
  std::shared_ptr<const ParsedCommand> Parse(std::string_view trimmed);
  size_t Size() const { return entries_.size(); }

 private:
  size_t capacity_;
  std::unordered_map<std::string, std::shared_ptr<const ParsedCommand>> entries_;
};

}  // namespace mavu::script
