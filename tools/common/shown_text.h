#pragma once

#include <string>
#include <string_view>

namespace mavu::tools {

// UTF-8 text for the terminal with every control character (C0, DEL, C1)
// written as \xNN or \u00NN, so that a name can never move the cursor, clear
// the screen or retitle the window.
std::string Escaped(std::string_view utf8);

// A CP932 engine text (an entry name, a message) for the terminal.
std::string Shown(std::string_view cp932);

}  // namespace mavu::tools
