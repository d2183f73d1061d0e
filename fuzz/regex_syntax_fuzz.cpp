#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/regex/bregexp.h"

// The first line is an expression (m//, s///, tr///, split form), the rest the
// subject; every operation runs on both, with one matcher so that its handle
// is reused and swapped between kinds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Each search may take up to the step limit; long inputs only make runs slow.
  constexpr size_t kMaxInput = 2048;
  if (size > kMaxInput) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t newline = input.find('\n');
  std::string_view expression = input.substr(0, newline);
  std::string_view subject = newline == std::string_view::npos ? "" : input.substr(newline + 1);
  int limit = subject.empty() ? 0 : static_cast<int8_t>(subject.front()) / 16;

  mavu::script::TBRegExp re;
  re.Match(expression, subject);
  re.Substitute(expression, subject);
  re.Split(expression, subject, limit);
  re.Translate(expression, subject);
  re.Match(expression, expression);
  re.Substitute(subject, expression);
  return 0;
}
