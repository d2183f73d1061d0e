#include <optional>
#include <string>
#include <vector>

#include "resource/scramble.h"
#include "script/commands/general_commands.h"
#include "script/commands/text_format.h"
#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"

namespace mavu::script {
namespace {

constexpr std::string_view kUpperDigits = "0123456789ABCDEF";

// The 16-stage shift register of crc: the polynomial x^16 + x^12 + x^5 + 1 as
// the stages the feedback is XORed into (0, 5 and 12, with bit k = stage k).
constexpr uint16_t kFeedbackStages = 0x1021;
constexpr int kStages = 16;
// code scrambles with the name scrambler under this fixed key.
constexpr uint8_t kCodeKey = 0x3D;

// fmt,format,expr: an integer value is an integer argument, any other value
// a text; a None value (a missing or failed expression) is no argument.
bool Fmt(const Command& command) {
  const std::string format = arguments::Text(command, 1);
  const TReturnValue value = arguments::Value(command, 2);
  const std::string text = value.Text();
  std::vector<FormatArgument> arguments;
  if (value.kind == ValueKind::kInteger) {
    arguments.emplace_back(value.integer);
  } else if (!value.IsNone()) {
    arguments.emplace_back(std::string_view(text));
  }
  arguments::SetResultStr(command, FormatText(format, arguments).value_or(""));
  return true;
}

// Bits enter least significant first at stage 0; the feedback is stage 15.
uint16_t ShiftRegisterChecksum(std::string_view bytes) {
  uint16_t stages = 0;
  for (char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) {
      const bool feedback = (stages >> (kStages - 1)) != 0;
      stages = static_cast<uint16_t>((stages << 1) | ((byte >> bit) & 1));
      if (feedback) stages ^= kFeedbackStages;
    }
  }
  return stages;
}

// crc,str: read with stage 0 as the most significant bit.
bool Crc(const Command& command) {
  const uint16_t stages = ShiftRegisterChecksum(arguments::Text(command, 1));
  std::string text;
  for (int digit = 0; digit < kStages / 4; ++digit) {
    int value = 0;
    for (int bit = 0; bit < 4; ++bit) value = (value << 1) | ((stages >> (digit * 4 + bit)) & 1);
    text += kUpperDigits[static_cast<size_t>(value)];
  }
  arguments::SetResultStr(command, text);
  return true;
}

// Two digits per byte, the low digit first.
std::string LowFirstHex(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    text += kUpperDigits[byte & 0x0F];
    text += kUpperDigits[byte >> 4];
  }
  return text;
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

// None when the text is not whole digit pairs.
std::optional<std::string> FromLowFirstHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (size_t pos = 0; pos < text.size(); pos += 2) {
    std::optional<int> low = HexDigit(text[pos]);
    std::optional<int> high = HexDigit(text[pos + 1]);
    if (!low || !high) return std::nullopt;
    bytes += static_cast<char>(*high << 4 | *low);
  }
  return bytes;
}

// code,mode,str: 0 scrambles and writes hexadecimal; any other mode reads
// such text back. Text that is not hexadecimal digit pairs gives "".
bool Code(const Command& command) {
  const std::string text = arguments::Text(command, 2);
  std::string result;
  if (arguments::Integer(command, 1) == 0) {
    result = LowFirstHex(resource::ScrambleName(text, kCodeKey));
  } else if (std::optional<std::string> bytes = FromLowFirstHex(text)) {
    result = resource::ScrambleName(*bytes, kCodeKey);
  }
  arguments::SetResultStr(command, result);
  return true;
}

}  // namespace

void RegisterFormatCommands(CommandTable& table) {
  table.AddGeneral("fmt", Fmt);
  table.AddGeneral("crc", Crc);
  table.AddGeneral("code", Code);
}

}  // namespace mavu::script
