#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/cp932.h"

// Walks arbitrary bytes as CP932 through the list splitter and the converters.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  mavu::base::SplitList(",", text, true, true);
  mavu::base::SplitList("\x95\x5C", text, false, false);
  auto utf8 = mavu::base::Cp932ToUtf8(text);
  mavu::base::Utf8ToCp932(utf8);
  mavu::base::Utf8ToCp932(text);
  mavu::base::LowerName(text);
  mavu::base::MbcsCopy(text, 2, 5);
  return 0;
}
