#include <string_view>

#include "resource/pack_builder.h"
#include "seed_registry.h"

namespace {

mavu::base::Bytes FromText(std::string_view text) {
  return {text.begin(), text.end()};
}

mavu::base::Bytes PackOf(mavu::resource::PackBuildOptions options) {
  mavu::resource::PackBuilder builder(options);
  builder.Add("System\\Menu\\Layout.dat",
              FromText("button=1,2,3\r\nbutton=1,2,3\r\nbutton=1,2,3\r\n"));
  builder.Add("\x89\xE6\x91\x9C\\bg01.png", FromText("\x89PNG\r\n\x1A\n"));
  builder.Add("startup.s", FromText("@@TOP\r\n\\msg hello\r\n"));
  builder.Add("empty", {});
  return builder.BuildPack();
}

}  // namespace

MAVU_FUZZ_SEEDS(pack_directory) {
  mavu::base::Bytes upperCase = PackOf({});
  upperCase[upperCase.size() - 28] = 'F';  // the signature ignores letter case
  return {mavu::resource::PackBuilder().BuildPack(),
          PackOf({}),
          PackOf({.compress = true}),
          PackOf({.scramble = true}),
          PackOf({.compress = true, .scramble = true}),
          upperCase};
}
