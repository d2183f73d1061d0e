#include "shown_text.h"

#include <cstdio>

#include "base/cp932.h"

namespace mavu::tools {
namespace {

// C1 controls, U+0080 to U+009F, are C2 80 to C2 9F in UTF-8.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

std::string Code(const char* format, unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::string Escaped(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (c < 0x20 || c == 0x7F) {
      out += Code("\\x%02X", c);
    } else if (c == kC1Lead && next >= kC1First && next <= kC1Last) {
      out += Code("\\u%04X", next);
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Shown(std::string_view cp932) {
  return Escaped(base::Cp932ToUtf8(cp932));
}

}  // namespace mavu::tools
