#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/bytes.h"
#include "script/commands/text_format.h"

// Input: u8 argument count (taken modulo 8); per argument a u8 kind (even: an
// int32 follows, odd: a Str16 text); the rest is the format. The result must
// stay within what the format and its arguments can ask for.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kMaxArguments = 8;
  // What one conversion adds beyond its field: sign, "0x", digits of 32 bits.
  constexpr size_t kConversionSlack = 16;
  mavu::base::ByteReader in({data, size});
  std::vector<std::string> texts;
  std::vector<mavu::script::FormatArgument> arguments;
  size_t textBytes = 0;
  try {
    const size_t count = in.U8() % kMaxArguments;
    texts.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      if (in.U8() % 2 == 0) {
        arguments.emplace_back(in.I32());
      } else {
        texts.push_back(in.Str16());
        textBytes += texts.back().size();
        arguments.emplace_back(std::string_view(texts.back()));
      }
    }
  } catch (const mavu::base::FormatError&) {
    return 0;
  }
  const auto rest = in.Rest();
  const std::string_view format(reinterpret_cast<const char*>(rest.data()), rest.size());
  const auto result = mavu::script::FormatText(format, arguments);
  const size_t bound = format.size() + textBytes +
                       arguments.size() * (mavu::script::kMaxFieldWidth + kConversionSlack);
  if (result && result->size() > bound) __builtin_trap();
  if (mavu::script::FormatText(format, arguments) != result) __builtin_trap();
  return 0;
}
