#include "quoted_text.h"

#include <cstdint>

#include "base/cp932.h"

namespace mavu::tools {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct Escape {
  char byte;
  size_t length;
  bool isByte;  // \xHH: a byte of the result, never converted
};

// The escape starting at the backslash at raw[at], or none for a backslash
// that starts none of the three.
std::optional<Escape> EscapeAt(std::string_view raw, size_t at) {
  if (at + 1 >= raw.size()) return std::nullopt;
  const char sign = raw[at + 1];
  if (sign == '"' || sign == '\\') return Escape{sign, 2, false};
  if (sign != 'x' || at + 3 >= raw.size()) return std::nullopt;
  const int high = HexValue(raw[at + 2]), low = HexValue(raw[at + 3]);
  if (high < 0 || low < 0) return std::nullopt;
  return Escape{static_cast<char>(high * 16 + low), 4, true};
}

// Walks `raw`, handing each run of written text to `convert` and putting the
// escaped bytes between the runs; none when `convert` refuses a run.
template <class Convert>
std::optional<std::string> Unquote(std::string_view raw, Convert convert) {
  std::string out, run;
  auto flush = [&] {
    const std::optional<std::string> converted = convert(run);
    if (converted) out += *converted;
    run.clear();
    return converted.has_value();
  };
  for (size_t at = 0; at < raw.size();) {
    const std::optional<Escape> escape = raw[at] == '\\' ? EscapeAt(raw, at) : std::nullopt;
    if (!escape) {
      run += raw[at++];
      continue;
    }
    at += escape->length;
    if (!escape->isByte) {
      run += escape->byte;
      continue;
    }
    if (!flush()) return std::nullopt;
    out += escape->byte;
  }
  if (!flush()) return std::nullopt;
  return out;
}

void AppendEscaped(std::string& out, char byte) {
  const auto value = static_cast<uint8_t>(byte);
  out += "\\x";
  out += kHexDigits[value >> 4];
  out += kHexDigits[value & 15];
}

// Printable ASCII as itself (quote and backslash escaped), control bytes as \xHH.
// False for bytes from 0x80 up, which the caller decides on.
bool AppendAscii(std::string& out, char byte) {
  const auto value = static_cast<uint8_t>(byte);
  if (value >= 0x80) return false;
  if (value < 0x20 || value == 0x7F) {
    AppendEscaped(out, byte);
  } else {
    if (byte == '"' || byte == '\\') out += '\\';
    out += byte;
  }
  return true;
}

}  // namespace

bool HasValidEscapes(std::string_view raw) {
  for (size_t at = 0; at < raw.size(); ++at) {
    if (raw[at] != '\\') continue;
    const std::optional<Escape> escape = EscapeAt(raw, at);
    if (!escape) return false;
    at += escape->length - 1;
  }
  return true;
}

std::optional<std::string> UnquoteName(std::string_view raw) {
  return Unquote(raw, base::StrictUtf8ToCp932);
}

std::string UnquotePath(std::string_view raw) {
  return *Unquote(raw, [](const std::string& run) { return std::optional(run); });
}

std::string QuoteName(std::string_view cp932) {
  std::string out = "\"";
  for (size_t at = 0; at < cp932.size();) {
    const std::string_view character = cp932.substr(at, base::CharLength(cp932, at));
    at += character.size();
    if (AppendAscii(out, character[0])) continue;
    const std::string utf8 = base::Cp932ToUtf8(character);
    if (base::StrictUtf8ToCp932(utf8) == character) {
      out += utf8;
    } else {
      for (char byte : character) AppendEscaped(out, byte);
    }
  }
  return out + '"';
}

std::string QuotePath(std::string_view path) {
  std::string out = "\"";
  for (char byte : path) {
    if (!AppendAscii(out, byte)) out += byte;
  }
  return out + '"';
}

}  // namespace mavu::tools
