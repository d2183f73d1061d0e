#include "script/commands/text_format.h"

#include <charconv>

#include "base/cp932.h"

namespace mavu::script {
namespace {

constexpr char kMark = '%';

struct Conversion {
  bool left = false;       // '-': pad on the right
  bool zeros = false;      // '0': pad numbers with zeros
  bool plus = false;       // '+': a sign on non-negative signed numbers
  bool space = false;      // ' ': a blank where a '+' would go
  bool alternate = false;  // '#': 0x / 0X before hexadecimal, a leading 0 in octal
  size_t width = 0;
  std::optional<size_t> precision;
  char type = 0;
};

// Reads decimal digits at `pos`; none when the number passes kMaxFieldWidth.
std::optional<size_t> ReadCount(std::string_view format, size_t& pos) {
  size_t count = 0;
  while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
    count = count * 10 + static_cast<size_t>(format[pos] - '0');
    if (count > kMaxFieldWidth) return std::nullopt;
    ++pos;
  }
  return count;
}

void ReadFlags(std::string_view format, size_t& pos, Conversion& conversion) {
  for (; pos < format.size(); ++pos) {
    switch (format[pos]) {
      case '-':
        conversion.left = true;
        break;
      case '0':
        conversion.zeros = true;
        break;
      case '+':
        conversion.plus = true;
        break;
      case ' ':
        conversion.space = true;
        break;
      case '#':
        conversion.alternate = true;
        break;
      default:
        return;
    }
  }
}

bool IsIntegerType(char type) {
  return type == 'd' || type == 'i' || type == 'u' || type == 'x' || type == 'X' || type == 'o';
}

// The conversion after a '%' at `pos` - 1; `pos` ends after it. None when it
// is refused.
std::optional<Conversion> ReadConversion(std::string_view format, size_t& pos) {
  Conversion conversion;
  ReadFlags(format, pos, conversion);
  std::optional<size_t> width = ReadCount(format, pos);
  if (!width) return std::nullopt;
  conversion.width = *width;
  if (pos < format.size() && format[pos] == '.') {
    ++pos;
    conversion.precision = ReadCount(format, pos);
    if (!conversion.precision) return std::nullopt;
  }
  if (pos >= format.size()) return std::nullopt;
  conversion.type = format[pos++];
  if (!IsIntegerType(conversion.type) && conversion.type != 's') return std::nullopt;
  return conversion;
}

int Base(char type) {
  if (type == 'o') return 8;
  return type == 'x' || type == 'X' ? 16 : 10;
}

// A precision of 0 prints no digit for 0.
std::string Digits(uint32_t magnitude, const Conversion& conversion) {
  std::string digits;
  if (magnitude != 0 || conversion.precision != 0) {
    char buffer[16];
    const auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), magnitude, Base(conversion.type));
    digits.assign(buffer, result.ptr);
  }
  if (conversion.type == 'X') {
    for (char& c : digits) c = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (conversion.precision && digits.size() < *conversion.precision) {
    digits.insert(0, *conversion.precision - digits.size(), '0');
  }
  if (conversion.type == 'o' && conversion.alternate && (digits.empty() || digits[0] != '0')) {
    digits.insert(0, 1, '0');
  }
  return digits;
}

// What goes in front of the digits: the sign and the hexadecimal prefix.
std::string Prefix(int32_t value, const Conversion& conversion) {
  const bool isSigned = conversion.type == 'd' || conversion.type == 'i';
  std::string prefix;
  if (isSigned && value < 0) {
    prefix = "-";
  } else if (isSigned && conversion.plus) {
    prefix = "+";
  } else if (isSigned && conversion.space) {
    prefix = " ";
  }
  if (conversion.alternate && value != 0 && (conversion.type == 'x' || conversion.type == 'X')) {
    prefix += conversion.type == 'x' ? "0x" : "0X";
  }
  return prefix;
}

void Pad(std::string& out, std::string_view field, const Conversion& conversion) {
  const size_t fill = conversion.width > field.size() ? conversion.width - field.size() : 0;
  if (!conversion.left) out.append(fill, ' ');
  out.append(field);
  if (conversion.left) out.append(fill, ' ');
}

void AppendInteger(std::string& out, int32_t value, const Conversion& conversion) {
  const bool isSigned = conversion.type == 'd' || conversion.type == 'i';
  const uint32_t bits = static_cast<uint32_t>(value);
  const uint32_t magnitude = isSigned && value < 0 ? 0u - bits : bits;
  const std::string prefix = Prefix(value, conversion);
  std::string digits = Digits(magnitude, conversion);
  const size_t length = prefix.size() + digits.size();
  // Zeros go between the sign and the digits, and only when no precision
  // already fixes the number of digits.
  if (conversion.zeros && !conversion.left && !conversion.precision && conversion.width > length) {
    digits.insert(0, conversion.width - length, '0');
  }
  Pad(out, prefix + digits, conversion);
}

void AppendText(std::string& out, std::string_view text, const Conversion& conversion) {
  Pad(out, conversion.precision ? base::TruncateWhole(text, *conversion.precision) : text,
      conversion);
}

// Formats one conversion with its argument; false when they do not agree.
bool AppendConversion(std::string& out, const Conversion& conversion,
                      const FormatArgument& argument) {
  if (conversion.type == 's') {
    const auto* text = std::get_if<std::string_view>(&argument);
    if (text == nullptr) return false;
    AppendText(out, *text, conversion);
    return true;
  }
  const auto* integer = std::get_if<int32_t>(&argument);
  if (integer == nullptr) return false;
  AppendInteger(out, *integer, conversion);
  return true;
}

}  // namespace

std::optional<std::string> FormatText(std::string_view format,
                                      std::span<const FormatArgument> arguments) {
  std::string out;
  size_t next = 0;
  for (size_t pos = 0; pos < format.size();) {
    if (format[pos] != kMark) {
      const size_t length = base::CharLength(format, pos);
      out.append(format.substr(pos, length));
      pos += length;
      continue;
    }
    ++pos;
    if (pos < format.size() && format[pos] == kMark) {
      out += kMark;
      ++pos;
      continue;
    }
    std::optional<Conversion> conversion = ReadConversion(format, pos);
    if (!conversion || next >= arguments.size()) return std::nullopt;
    if (!AppendConversion(out, *conversion, arguments[next++])) return std::nullopt;
  }
  return out;
}

}  // namespace mavu::script
