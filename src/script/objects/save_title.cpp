#include "script/objects/save_title.h"

#include "base/cp932.h"

namespace mavu::script {

std::string StripBracketedParts(std::string_view text) {
  std::string kept;
  int depth = 0;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = base::CharLength(text, pos);
    if (length == 1 && text[pos] == '[') {
      ++depth;
    } else if (length == 1 && text[pos] == ']' && depth > 0) {
      --depth;
    } else if (depth == 0) {
      kept.append(text.substr(pos, length));
    }
    pos += length;
  }
  return kept;
}

}  // namespace mavu::script
