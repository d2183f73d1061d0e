#pragma once

#include <cstdint>
#include <string_view>

#include "script/reader/word_buf.h"

namespace mavu::script {

// A command text split into words, with the code of its command word.
struct ParsedCommand {
  TWordBuf words;
  int32_t code = 0;
};

// `trimmed` must not be blank.
ParsedCommand ParseCommand(std::string_view trimmed);

}  // namespace mavu::script
