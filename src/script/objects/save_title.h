#pragma once

#include <string>
#include <string_view>

namespace mavu::script {

// A save-title text as sys.n stores it: every part enclosed in square
// brackets is removed, brackets included and nesting counted, two-byte
// characters kept whole. An unclosed bracket removes the rest of the text.
std::string StripBracketedParts(std::string_view text);

}  // namespace mavu::script
