#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "base/byte_writer.h"
#include "seed_registry.h"

namespace {

using Argument = std::variant<int32_t, std::string_view>;

// The fuzz target's layout: the argument count, each argument with its kind
// byte, then the format.
mavu::base::Bytes Input(std::string_view format, const std::vector<Argument>& arguments) {
  mavu::base::ByteWriter out;
  out.U8(static_cast<uint8_t>(arguments.size()));
  for (const Argument& argument : arguments) {
    if (const auto* integer = std::get_if<int32_t>(&argument)) {
      out.U8(0).I32(*integer);
    } else {
      out.U8(1).Str16(std::get<std::string_view>(argument));
    }
  }
  out.Text(format);
  return out.Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(format_command) {
  return {Input("%d", {42}),
          Input("[%-8.3d|%+05i|% x]", {-7, 12, 255}),
          Input("%#010X %o %u", {-1, 8, INT32_MIN}),
          Input("%s and %10.3s", {std::string_view("plain"), std::string_view("\x95\x5C\x8E\xA6"
                                                                              "ab")}),
          Input("100%% %d%%", {3}),
          Input("%1024d", {1}),
          Input("%d %d", {1}),
          Input("%s", {5}),
          Input("%n%p%c%ld%*d", {1, 2}),
          Input("\x83\x5C%s\x83\x7B", {std::string_view("{\\}")})};
}
