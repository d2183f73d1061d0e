#pragma once

#include <span>
#include <string_view>

#include "headless_game.h"

// Game folders of outside data that once ended the engine with a signal or ran
// it out of memory. Each maker fills a fresh HeadlessGame; its tests say what a
// run of it must give.
namespace mavu::test {

// The code key of the hostile games' system data.
inline constexpr uint32_t kHostileCodeKey = 0x123456;

// A Game.dat of 200 lines packed with --compress whose packed entry does not expand.
void MakeDamagedGameDat(HeadlessGame& game);
// The same for "data.txt", which Startup.s loads into a file object (checksums off).
void MakeDamagedTextFile(HeadlessGame& game);
// SystemData.dat and its copy: 31 string arrays of 2^20 empty strings in 3.5 KB.
void MakeSystemDataBomb(HeadlessGame& game);
// SystemData.dat whose variable has kind 9 beside a good ".bak" with visits=1;
// Startup.s counts visits.
void MakeBadKindBesideAGoodCopy(HeadlessGame& game);
// Startup.s sets x to a sum of 2^20 ones inside 64 brackets, 2 MiB long.
void MakeLongExpression(HeadlessGame& game);
// Startup.s sets ran=1 and Other.s ran=2; the .hash index gives each the other's entry.
void MakeLyingIndex(HeadlessGame& game);

struct HostileGame {
  std::string_view name;
  void (*make)(HeadlessGame&);
};
std::span<const HostileGame> HostileGames();

}  // namespace mavu::test
