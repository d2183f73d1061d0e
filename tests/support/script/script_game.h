#pragma once

#include <string>
#include <string_view>

#include "base/cp932.h"
#include "support/mounted_game.h"

namespace mavu::script::test {

// CP932 bytes of a UTF-8 literal, so tests can be written in readable Japanese.
inline std::string Sjis(std::string_view utf8) {
  return base::Utf8ToCp932(utf8);
}

using ScriptGame = mavu::test::MountedGame;

}  // namespace mavu::script::test
