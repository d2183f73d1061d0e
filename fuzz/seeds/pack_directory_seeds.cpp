#include <string>
#include <string_view>

#include "resource/hand_made_pack.h"
#include "resource/pack_builder.h"
#include "seed_registry.h"
#include "support/hostile_data.h"

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

// A Game.dat of 200 lines, packed; `broken` flips the lowest bit of the
// unpacked length its packed head declares, so that it no longer expands.
mavu::base::Bytes PackedGameDat(bool broken) {
  std::string lines;
  for (int i = 0; i < 200; ++i) lines += "line" + std::to_string(i % 7) + "=value\r\n";
  mavu::resource::PackBuilder builder({.compress = true});
  builder.Add("System\\etc\\Game.dat", FromText(lines));
  mavu::base::Bytes pack = builder.BuildPack();
  constexpr size_t kDeclaredLength = 8;  // the body starts the pack
  if (broken) pack[kDeclaredLength] ^= 1;
  return pack;
}

}  // namespace

MAVU_FUZZ_SEEDS(pack_directory) {
  mavu::base::Bytes upperCase = PackOf({});
  upperCase[upperCase.size() - 28] = 'F';  // the signature ignores letter case
  return {
      mavu::resource::PackBuilder().BuildPack(),
      PackOf({}),
      PackOf({.compress = true}),
      PackOf({.scramble = true}),
      PackOf({.compress = true, .scramble = true}),
      upperCase,
      PackedGameDat(false),
      PackedGameDat(true),
      mavu::test::SharedBodyBomb(4),
      mavu::test::HandMadePack({{"..\\up.txt", FromText("x")}, {"esc\x1B.txt", FromText("y")}})};
}
