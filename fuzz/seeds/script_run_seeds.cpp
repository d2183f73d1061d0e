#include <string>
#include <string_view>

#include "base/cp932.h"
#include "seed_registry.h"

namespace {

using namespace mavu;

constexpr std::string_view kPartSeparator = "\xFE\xFE\xFE";

base::Bytes Seed(std::string_view main, std::string_view other) {
  std::string text(main);
  text.append(kPartSeparator).append(other);
  return {text.begin(), text.end()};
}

}  // namespace

// Scripts that walk every control-flow form, call into the other file, wait
// and fail in the documented ways.
MAVU_FUZZ_SEEDS(script_run) {
  return {
      Seed("@@start\n\\if,1\n\\for,i=0,i<3,i=i+1\n\\case,i\n\\ans,1\n\\brk\n\\else\n\\cnt\n\\fi\n"
           "\\next\n\\else\n\\then\n\\fi\n\\sub,@@f,\"other.s\",1,,\"x\"\n\\jmp,@@start",
           "@@f\n\\if,ParamCount==3\n\\ret\n\\fi\n\\go,@@start,\"main.s\""),
      Seed("@@a\n\\clk\\wait,50\\time\\time,100,1,@@b\n@@b\n\\btn,40\\msg\\sndt,1,10,@@a\\wav,1",
           ""),
      Seed("@@r\n\\sub,@@r\n\\ret,@@nowhere\n\\fi\n\\ans,2\n\\jmp,@@x,\"gone.s\"", "@@x"),
      Seed(base::Utf8ToCp932("@@開始\n\\if,\"ソ\"\n@@中\n\\fi\n\\for,1,2,3,4\n\\next\n\\draw"), ""),
  };
}
