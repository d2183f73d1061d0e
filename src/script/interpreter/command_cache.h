#pragma once

#include <cstddef>
#include <string_view>

#include "script/reader/word_buf.h"
#include "script/values/text_cache.h"

namespace mavu::script {

// A command text split into words, with the code of its command word.
struct ParsedCommand {
  TWordBuf words;
  int32_t code = 0;
};

// `trimmed` must not be blank.
ParsedCommand ParseCommand(std::string_view trimmed);

// Split commands by their text.
class CommandCache : public TextCache<ParsedCommand> {
 public:
  static constexpr size_t kDefaultCapacity = 4096;
  static constexpr size_t kMaxCachedBytes = 1024;

  explicit CommandCache(size_t capacity = kDefaultCapacity)
      : TextCache(ParseCommand, capacity, kMaxCachedBytes) {}
};

}  // namespace mavu::script
