#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "hostile_games.h"

// Outside data that once ended the engine with a signal or ran it out of
// memory ends in a clear exit.
namespace mavu::test {
namespace {

constexpr int kNormalEnd = 0;
constexpr int kScriptError = 1;
constexpr int kStartupFailure = 2;

// A run of the game `make` builds.
HeadlessRun RunOf(void (*make)(HeadlessGame&)) {
  HeadlessGame game;
  make(game);
  return game.Run();
}

bool Mentions(const std::vector<std::string>& lines, std::string_view text) {
  return std::ranges::any_of(lines, [&](const std::string& l) { return l.find(text) != l.npos; });
}

TEST(HostileGames, ADamagedPackedFileStopsTheStartOrTheScriptWithAMessage) {
  HeadlessGame start;
  MakeDamagedGameDat(start);
  const HeadlessRun startRun = start.Run();
  EXPECT_EQ(startRun.code, kStartupFailure);
  EXPECT_EQ(startRun.err, "mavu: パッケージからの読み込みに失敗しました:System\\etc\\Game.dat\n");
  EXPECT_FALSE(std::filesystem::exists(start.Folder() / "SaveData"));

  const HeadlessRun scriptRun = RunOf(MakeDamagedTextFile);
  EXPECT_EQ(scriptRun.code, kScriptError) << scriptRun.err;
  EXPECT_TRUE(Mentions(scriptRun.Errors(), "\\l:ファイルの読み込みに失敗：data.txt"));
}

TEST(HostileGames, ASystemDataStringBombIsRefusedBeforeItIsBuilt) {
  const HeadlessRun run = RunOf(MakeSystemDataBomb);
  EXPECT_EQ(run.code, kNormalEnd) << run.err;
  EXPECT_LT(run.peakKb, 64 * 1024);  // 1.1 GB when it was built
  EXPECT_FALSE((*run.dump)["system"].Has("bomb0"));
  EXPECT_NE(run.err.find("system data passed over: SystemData.dat.bak"), std::string::npos);
}

TEST(HostileGames, ABadVariableKindInTheMainFileFallsBackToTheCopyWithoutStopping) {
  const HeadlessRun run = RunOf(MakeBadKindBesideAGoodCopy);
  EXPECT_EQ(run.code, kNormalEnd) << run.err;
  EXPECT_EQ(run.System("visits").Number(), 2);
  EXPECT_EQ(run.Errors(), std::vector<std::string>{});
  EXPECT_EQ(run.err,
            "mavu: warning: system data passed over: SystemData.dat: variable visits: bad value "
            "kind\n");
}

TEST(HostileGames, ALongExpressionCostsMemoryInProportionToItsLength) {
  const HeadlessRun run = RunOf(MakeLongExpression);
  EXPECT_EQ(run.code, kNormalEnd) << run.err;
  EXPECT_EQ(run.Global("x").Number(), int64_t{1} << 20);
  // Some 30 bytes a byte of its 2 MiB, the whole engine included (300 before).
  EXPECT_LT(run.peakKb, 48 * 2 * 1024);
}

TEST(HostileGames, AnIndexThatGivesAnotherEntryIsDroppedAndSaidSo) {
  const HeadlessRun run = RunOf(MakeLyingIndex);
  EXPECT_EQ(run.code, kNormalEnd) << run.err;
  EXPECT_EQ(run.Global("ran").Number(), 1);
  ASSERT_EQ(run.Errors().size(), 1u);
  EXPECT_NE(run.Errors()[0].find("data0.hash gives Startup.s entry 0, which has another name"),
            std::string::npos)
      << run.Errors()[0];
}

TEST(HostileGames, EachEndsInAClearExitWithinOneGigabyteOfAddressSpace) {
  for (const HostileGame& hostile : HostileGames()) {
    SCOPED_TRACE(hostile.name);
    HeadlessGame game;
    hostile.make(game);
    game.Limit({.seconds = 60, .addressSpace = uint64_t{1} << 30});
    const HeadlessRun run = game.Run();
    EXPECT_EQ(run.signal, 0) << run.err;
    EXPECT_TRUE(run.code == kNormalEnd || run.code == kScriptError || run.code == kStartupFailure)
        << run.code;
    const bool said = !run.err.empty() || (run.dump && !run.Errors().empty());
    EXPECT_TRUE(run.code == kNormalEnd || said) << "no message for exit code " << run.code;
  }
}

}  // namespace
}  // namespace mavu::test
