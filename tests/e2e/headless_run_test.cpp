#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "headless_game.h"

// End-to-end runs of `mavu --headless` on game folders built at test time.
namespace mavu::test {
namespace {

using Strings = std::vector<std::string>;

constexpr int kNormalEnd = 0;
constexpr int kScriptError = 1;
constexpr int kStartupFailure = 2;

std::vector<int64_t> Numbers(const JsonValue& array) {
  std::vector<int64_t> numbers;
  for (const JsonValue& item : array.Items()) numbers.push_back(item.Number());
  return numbers;
}

Strings Texts(const JsonValue& array) {
  Strings texts;
  for (const JsonValue& item : array.Items()) texts.push_back(item.String());
  return texts;
}

class HeadlessRunTest : public ::testing::Test {
 protected:
  // Runs Startup.s and expects a normal end.
  HeadlessRun RunScript(std::string_view script, const std::vector<std::string>& args = {},
                        std::optional<std::string_view> input = std::nullopt) {
    game_.Script(script);
    HeadlessRun run = game_.Run(args, input);
    EXPECT_EQ(run.code, kNormalEnd) << run.err;
    EXPECT_TRUE(run.dump) << run.err;
    return run;
  }

  // Runs Startup.s and expects a script error.
  HeadlessRun RunFailing(std::string_view script, const std::vector<std::string>& args = {}) {
    game_.Script(script);
    HeadlessRun run = game_.Run(args);
    EXPECT_EQ(run.code, kScriptError) << run.err;
    EXPECT_TRUE(run.dump) << run.err;
    return run;
  }

  HeadlessGame game_;
};

// --- Expressions and variables ---

TEST_F(HeadlessRunTest, EvaluatesExpressions) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,a,b,c,d,e,f,g\n"
      "\\gvar,str,s,u\n"
      "\\cal,a=1+2*3,b=(1+2)*3,c=7/2,d=-7%3,e=5&3==1,f=1<<4,g=-1>>28\n"
      "\\cal,s=\"あい\"+\"う\",u=\"x\"+5\n");
  EXPECT_EQ(run.Global("a").Number(), 7);
  EXPECT_EQ(run.Global("b").Number(), 9);
  EXPECT_EQ(run.Global("c").Number(), 3);
  EXPECT_EQ(run.Global("d").Number(), -1);
  EXPECT_EQ(run.Global("e").Number(), 1);
  EXPECT_EQ(run.Global("f").Number(), 16);
  EXPECT_EQ(run.Global("g").Number(), 15);
  EXPECT_EQ(run.Global("s").String(), "あいう");
  EXPECT_EQ(run.Global("u").String(), "x5");
  EXPECT_EQ(run.Errors(), Strings{});
  EXPECT_EQ((*run.dump)["position"].String(), "EOF");
  EXPECT_EQ((*run.dump)["frames"].Number(), 1);
}

TEST_F(HeadlessRunTest, DumpsTheBuiltInVariables) {
  const HeadlessRun run = RunScript("@@TOP\n\\gvar,int,x\n");
  EXPECT_EQ(run.Global("ResultInt").Number(), 0);
  EXPECT_EQ(run.Global("ResultStr").String(), "");
  EXPECT_EQ(run.Global("ResultClkInt").Number(), 0);
  EXPECT_EQ(run.Global("_QuickSaveFilename").String(), "QuickSaveData.svd");
  EXPECT_EQ(run.Global("SelfFileName").String(), "Startup.s");
  EXPECT_EQ(run.Global("sys").String(), "sys,0");
  EXPECT_TRUE(run.Global("snd").IsArray());
  EXPECT_EQ(Texts(run.Global("snd")).front(), "snd,0");
  EXPECT_TRUE((*run.dump)["system"].Members().empty());
}

TEST_F(HeadlessRunTest, ArraysAreDumpedInElementOrder) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,n[4],grid[2,3],i\n"
      "\\gvar,str,names[2]\n"
      "\\for,i=0,i<4,i=i+1\n"
      "\\cal,n[i]=i*i\n"
      "\\next\n"
      "\\cal,grid[1,2]=7,grid[0,1]=5\n"
      "\\cal,names[1]=\"二番\"\n");
  EXPECT_EQ(Numbers(run.Global("n")), (std::vector<int64_t>{0, 1, 4, 9}));
  EXPECT_EQ(Numbers(run.Global("grid")), (std::vector<int64_t>{0, 5, 0, 0, 0, 7}));
  EXPECT_EQ(Texts(run.Global("names")), (Strings{"", "二番"}));
}

// --- Control flow ---

TEST_F(HeadlessRunTest, RunsEveryControlFlowForm) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,str,t\n"
      "\\gvar,int,k\n"
      "\\if,1\\cal,t=t+\"a\"\\else\\cal,t=t+\"b\"\\fi\n"
      "\\if,2\\cal,t=t+\"c\"\\else\\cal,t=t+\"d\"\\fi\n"
      "\\if,0\\cal,t=t+\"e\"\\else\\cal,t=t+\"f\"\\fi\n"
      "\\for,k=0,k<5,k=k+1\n"
      "\\if,k==1\\cnt\\fi\n"
      "\\if,k==3\\brk\\fi\n"
      "\\cal,t=t+k\n"
      "\\next\n"
      "\\case,\"Ab\"\n"
      "\\ans,\"x\"\\cal,t=t+\"X\"\n"
      "\\ans,\"aB\"\\cal,t=t+\"Y\"\n"
      "\\else\\cal,t=t+\"Z\"\n"
      "\\end\n");
  EXPECT_EQ(run.Global("t").String(), "af02Y");
  EXPECT_EQ(run.Global("k").Number(), 3);
}

TEST_F(HeadlessRunTest, AControlFlowErrorStopsTheRunAndIsLogged) {
  const HeadlessRun run = RunFailing(
      "@@TOP\n"
      "\\gvar,int,x\n"
      "\\cal,x=1\\fi\\cal,x=2\n"
      "\\cal,x=3\n");
  const Strings expected = {
      "Startup.s(3):ERROR:\\end : 対となる制御命令(\\if,\\for,\\swit)が見つかりません"};
  EXPECT_EQ(run.Errors(), expected);
  EXPECT_EQ(run.errorLog, expected);
  EXPECT_EQ(run.Global("x").Number(), 1);
  EXPECT_EQ((*run.dump)["position"].String(), "Startup.s(3)");
}

TEST_F(HeadlessRunTest, AnUndefinedVariableIsAScriptError) {
  const HeadlessRun run = RunFailing("@@TOP\n\\cal,nothing=1\n\\cal,nothing=2\n");
  const Strings expected = {"Startup.s(2):ERROR:変数が宣言されていません:nothing",
                            "Startup.s(2):ERROR:計算中エラーが発生しました",
                            "Startup.s(2):ERROR:計算に失敗しました：nothing=1"};
  EXPECT_EQ(run.Errors(), expected);
  EXPECT_EQ(run.errorLog, expected);
  EXPECT_EQ((*run.dump)["frames"].Number(), 1);
}

TEST_F(HeadlessRunTest, SubPassesItsParameters) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,count,p1,p2,p3\n"
      "\\gvar,str,s2,s3\n"
      "\\sub,@@f,self,10,,\"three\"\n"
      "\\jmp,@@end\n"
      "@@f\n"
      "\\cal,count=ParamCount,p1=ParamInt[0],p2=ParamInt[1],p3=ParamInt[2]\n"
      "\\cal,s2=ParamStr[1],s3=ParamStr[2]\n"
      "\\ret\n"
      "@@end\n");
  EXPECT_EQ(run.Global("count").Number(), 3);
  EXPECT_EQ(run.Global("p1").Number(), 10);
  EXPECT_EQ(run.Global("p2").Number(), 0);
  EXPECT_EQ(run.Global("p3").Number(), 0);
  EXPECT_EQ(run.Global("s2").String(), "");
  EXPECT_EQ(run.Global("s3").String(), "three");
}

TEST_F(HeadlessRunTest, TenThousandNestedCallsReturnInOrder) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,n,a\n"
      "\\gvar,str,t\n"
      "\\scp\\run,1000000\n"
      "\\sub,@@rec\n"
      "\\cal,t=\"done\"\n"
      "\\jmp,@@end\n"
      "@@rec\n"
      "\\if,n<10000\\cal,n=n+1\\sub,@@rec\\fi\n"
      "\\cal,a=a+1\n"
      "\\ret\n"
      "@@end\n");
  EXPECT_EQ(run.Global("n").Number(), 10000);
  EXPECT_EQ(run.Global("a").Number(), 10001);
  EXPECT_EQ(run.Global("t").String(), "done");
  EXPECT_EQ((*run.dump)["frames"].Number(), 1);
}

TEST_F(HeadlessRunTest, EndlessRecursionEndsInTheDepthError) {
  const HeadlessRun run = RunFailing(
      "@@TOP\n"
      "\\gvar,int,n\n"
      "\\scp\\run,1000000\n"
      "@@f\n"
      "\\cal,n=n+1\n"
      "\\sub,@@f\n"
      "@@end\n");
  // Locals are keyed by a 16-bit call depth: 32767 calls succeed.
  EXPECT_EQ(run.Global("n").Number(), 32768);
  EXPECT_EQ(run.Errors(), Strings{"Startup.s(6):ERROR:\\sub：呼び出しが深すぎます：@@f"});
}

TEST_F(HeadlessRunTest, TheFrameLimitBoundsARunawayLoop) {
  // 256 commands a frame: the first frame spends two before the loop (the
  // start label's own line is not run), then each turn is a cal and a next.
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,n\n"
      "\\for\n"
      "\\cal,n=n+1\n"
      "\\next\n",
      {"--frames", "4"});
  EXPECT_EQ(run.Global("n").Number(), 127 + 3 * 128);
  EXPECT_EQ((*run.dump)["frames"].Number(), 4);
  // Each frame ends on a next, which goes back to the line of the for.
  EXPECT_EQ((*run.dump)["position"].String(), "Startup.s(3)");
}

// --- Waits, clicks and the simulated clock ---

TEST_F(HeadlessRunTest, WaitsAndClicksFollowTheSimulatedClock) {
  // The 100 ms wait starts in frame 1 and ends in frame 5, where the 1000 ms
  // click wait starts; frames 6 to 9 take 100 ms of it, and the click in
  // frame 10 comes before that frame's time.
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,a,b,c\n"
      "\\wait,100\n"
      "\\cal,a=1\n"
      "\\clk,1000\n"
      "\\cal,b=ResultClkInt\n"
      "\\clk\n"
      "\\cal,c=1\n",
      {}, "10 click 5 5\n12 click 400 300\n");
  EXPECT_EQ(run.Global("a").Number(), 1);
  EXPECT_EQ(run.Global("b").Number(), 900);
  EXPECT_EQ(run.Global("c").Number(), 1);
  EXPECT_EQ((*run.dump)["frames"].Number(), 12);
}

TEST_F(HeadlessRunTest, TheFrameTimeSetsTheClock) {
  // With 40 ms frames the 1000 ms wait has 880 ms left at the click in frame 5.
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,b\n"
      "\\clk,1000\n"
      "\\cal,b=ResultClkInt\n",
      {"--frame-ms", "40"}, "5 click 1 1\n");
  EXPECT_EQ(run.Global("b").Number(), 880);
}

TEST_F(HeadlessRunTest, TimeWaitsCountFromTheirClear) {
  // time clears the counter in frame 1 and holds two steps; the 200 ms target
  // is reached eight frames after the clear.
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,f\n"
      "\\time\n"
      "\\time,200,0\n"
      "\\cal,f=1\n");
  EXPECT_EQ(run.Global("f").Number(), 1);
  EXPECT_EQ((*run.dump)["frames"].Number(), 9);
}

TEST_F(HeadlessRunTest, AClickWaitWithoutMoreInputEndsTheRun) {
  game_.Script("@@TOP\n\\gvar,int,c\n\\clk\n\\cal,c=1\n");
  const HeadlessRun run = game_.Run({}, "3 move 10 10\n");
  EXPECT_EQ(run.code, kNormalEnd);
  EXPECT_EQ(run.Global("c").Number(), 0);
  EXPECT_EQ((*run.dump)["frames"].Number(), 3);
  EXPECT_NE(run.err.find("waits for a click"), std::string::npos) << run.err;
}

TEST_F(HeadlessRunTest, OneCommandAFrameSpreadsALineOverFrames) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,n\n"
      "\\scp\\run,1\n"
      "\\cal,n=n+1\\cal,n=n+1\\cal,n=n+1\n",
      {"--frames", "3"});
  EXPECT_EQ(run.Global("n").Number(), 2);
}

TEST_F(HeadlessRunTest, SkipModeRaisesTheBudget) {
  // Frame 1 unlocks the actions and runs 126 turns of the loop (the label
  // line counts as a command when it is run into); the skip action of frame 2
  // takes effect from frame 3, whose 2049 commands start with a cal.
  const std::string script =
      "@@TOP\n"
      "\\gvar,int,n\n"
      "\\scp\\lk,0\n"
      "@@L\n"
      "\\cal,n=n+1\\jmp,@@L\n";
  HeadlessRun run = RunScript(script, {"--frames", "3"});
  EXPECT_EQ(run.Global("n").Number(), 126 + 128 + 128);
  run = RunScript(script, {"--frames", "3"}, "2 action skip\n");
  EXPECT_EQ(run.Global("n").Number(), 126 + 128 + 1025);
}

TEST_F(HeadlessRunTest, LockedActionsDoNothing) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,n\n"
      "@@L\n"
      "\\cal,n=n+1\\jmp,@@L\n",
      {"--frames", "3"}, "1 action skip\n2 action exit\n");
  EXPECT_EQ(run.Global("n").Number(), 127 + 128 + 128);
  EXPECT_EQ((*run.dump)["frames"].Number(), 3);
}

// --- Requests ---

TEST_F(HeadlessRunTest, TheExitActionAsksAndEndsTheRunOnYes) {
  // The first question (frame 3) is answered no, the second (frame 7) yes.
  game_.Loose("GameData/System/Message.Dat", "EXIT_Text=終了しますか？\n");
  const HeadlessRun run = RunScript("@@TOP\n\\scp\\lk,0\n\\clk\n", {},
                                    "2 action exit\n3 answer 0\n6 action exit\n9 click 1 1\n");
  EXPECT_EQ((*run.dump)["frames"].Number(), 7);
  const JsonValue::Array& dialogs = (*run.dump)["dialogs"].Items();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0]["frame"].Number(), 3);
  EXPECT_EQ(dialogs[0]["kind"].String(), "confirm");
  EXPECT_EQ(dialogs[0]["text"].String(), "終了しますか？");
  EXPECT_EQ(dialogs[0]["answer"].Number(), 0);
  EXPECT_EQ(dialogs[1]["frame"].Number(), 7);
  EXPECT_EQ(dialogs[1]["answer"].Number(), 1);
}

TEST_F(HeadlessRunTest, TheScriptCanExitAtOnce) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,a\n"
      "\\cal,a=1\n"
      "\\scp\\e\n"
      "\\cal,a=2\n"
      "\\clk\n");
  EXPECT_EQ(run.Global("a").Number(), 1);
  EXPECT_EQ((*run.dump)["frames"].Number(), 1);
}

TEST_F(HeadlessRunTest, ScreensCloseAtOnceAndTheScriptGoesOn) {
  // The menu request ends frame 1's commands; the menu (not there yet) closes
  // in frame 2 and the script goes on in frame 3; the backlog likewise.
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,a\n"
      "\\scp\\m\n"
      "\\cal,a=1\n"
      "\\h\n"
      "\\cal,a=a+1\n");
  EXPECT_EQ(run.Global("a").Number(), 2);
  EXPECT_EQ((*run.dump)["frames"].Number(), 5);
}

TEST_F(HeadlessRunTest, KeysActThroughTheGamesKeyTable) {
  game_.Add("System/etc/Game.dat", "key[0]=27,exit\nkey[1]=13,keyclick\n");
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,c\n"
      "\\scp\\lk,0\n"
      "\\clk\n"
      "\\cal,c=1\n"
      "\\clk\n",
      {}, "2 key 13\n3 keyup 13\n5 key 27\n9 click 1 1\n");
  EXPECT_EQ(run.Global("c").Number(), 1);
  EXPECT_EQ((*run.dump)["frames"].Number(), 6);
}

TEST_F(HeadlessRunTest, AResetRunsTheResetLabelWithFreshVariables) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,before\n"
      "\\cal,before=1\n"
      "\\scp\\r\n"
      "\\cal,before=2\n"
      "@@reset\n"
      "\\gvar,int,after\n"
      "\\cal,after=5\n");
  EXPECT_FALSE((*run.dump)["global"].Has("before"));
  EXPECT_EQ(run.Global("after").Number(), 5);
}

TEST_F(HeadlessRunTest, TheResetActionIsAnsweredYes) {
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,n\n"
      "\\scp\\lk,0\n"
      "\\clk\n"
      "@@reset\n"
      "\\gvar,int,r\n"
      "\\cal,r=7\n",
      {}, "3 action reset\n");
  EXPECT_FALSE((*run.dump)["global"].Has("n"));
  EXPECT_EQ(run.Global("r").Number(), 7);
  EXPECT_EQ((*run.dump)["frames"].Number(), 5);  // confirmed in frame 4, run in 5
}

// --- System data ---

constexpr std::string_view kCountVisits =
    "@@TOP\n"
    "\\vexs,visits\n"
    "\\if,ResultInt==0\\svar,int,visits\\fi\n"
    "\\cal,visits=visits+1\n";

TEST_F(HeadlessRunTest, SystemVariablesSurviveARestart) {
  game_.Script(kCountVisits);
  EXPECT_EQ(game_.Run().System("visits").Number(), 1);
  EXPECT_TRUE(std::filesystem::exists(game_.Folder() / "SaveData" / "SystemData.dat"));
  EXPECT_EQ(game_.Run().System("visits").Number(), 2);
  EXPECT_EQ(game_.Run().System("visits").Number(), 3);
}

TEST_F(HeadlessRunTest, ADamagedSystemDataFileFallsBackToItsCopy) {
  game_.Script(std::string(kCountVisits) + "\\scp,sdat\\s,\"SystemData.dat.bak\"\n");
  EXPECT_EQ(game_.Run().System("visits").Number(), 1);
  EXPECT_EQ(game_.Run().System("visits").Number(), 2);
  const std::filesystem::path saves = game_.Folder() / "SaveData";
  {
    std::ofstream damage(saves / "SystemData.dat", std::ios::binary | std::ios::trunc);
    damage << "not system data";
  }
  HeadlessRun run = game_.Run();
  EXPECT_EQ(run.code, kNormalEnd) << run.err;
  EXPECT_EQ(run.System("visits").Number(), 3);
  std::filesystem::remove(saves / "SystemData.dat.bak");
  {
    std::ofstream damage(saves / "SystemData.dat", std::ios::binary | std::ios::trunc);
    damage << "not system data";
  }
  run = game_.Run();
  EXPECT_EQ(run.System("visits").Number(), 1);
}

TEST_F(HeadlessRunTest, TheSaveFolderCanLieElsewhere) {
  game_.Script(kCountVisits);
  TempDir saves;
  EXPECT_EQ(game_.Run({"--save-dir", saves.Path().string()}).System("visits").Number(), 1);
  EXPECT_TRUE(std::filesystem::exists(saves.Path() / "SaveData" / "SystemData.dat"));
  EXPECT_FALSE(std::filesystem::exists(game_.Folder() / "SaveData"));
  EXPECT_EQ(game_.Run({"--save-dir", saves.Path().string()}).System("visits").Number(), 2);
}

// --- Start-up and exit codes ---

TEST_F(HeadlessRunTest, AMissingStartScriptIsAScriptError) {
  game_.Add("other.s", "@@TOP\n");
  const HeadlessRun run = game_.Run();
  EXPECT_EQ(run.code, kScriptError);
  ASSERT_EQ(run.Errors().size(), 1u);
  EXPECT_NE(run.Errors()[0].find("\\go：ジャンプ先が見つかりません：\"@@TOP\":\"Startup.s\""),
            std::string::npos)
      << run.Errors()[0];
  EXPECT_EQ((*run.dump)["frames"].Number(), 0);
}

TEST_F(HeadlessRunTest, NoFramesRunsOnlyTheStart) {
  const HeadlessRun run = RunScript("@@TOP\n\\gvar,int,x\n", {"--frames", "0"});
  EXPECT_FALSE((*run.dump)["global"].Has("x"));
  EXPECT_EQ((*run.dump)["frames"].Number(), 0);
}

TEST_F(HeadlessRunTest, AMissingGameFolderIsAStartupFailure) {
  TempDir scratch;
  const ProgramResult result =
      RunProgram(ProgramFrom("MAVU_BIN_DIR", "mavu"),
                 {"--game", (scratch.Path() / "nowhere").string(), "--headless", "--dump-vars",
                  (scratch.Path() / "d.json").string()},
                 scratch.Path());
  EXPECT_EQ(result.code, kStartupFailure);
  EXPECT_NE(result.err.find("does not exist"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "d.json"));
}

TEST_F(HeadlessRunTest, AGameWithoutPacksShowsTheMessageTablesText) {
  HeadlessRun run = game_.Run();
  EXPECT_EQ(run.code, kStartupFailure);
  EXPECT_NE(run.err.find("no data packs could be mounted"), std::string::npos) << run.err;
  EXPECT_FALSE(run.dump);
  game_.Loose("GameData/System/Message.Dat", "FILEPACKERROR_Text=データがありません%%%n%%%app\n");
  run = game_.Run();
  EXPECT_EQ(run.code, kStartupFailure);
  EXPECT_EQ(run.err, "mavu: データがありません\nMavu\n");
}

TEST_F(HeadlessRunTest, ASaveFolderThatCannotBeMadeStopsTheStartWritingNothing) {
  game_.Script("@@TOP\n");
  game_.Loose("SaveData", "a file where the folder should be");
  const HeadlessRun run = game_.Run();
  EXPECT_EQ(run.code, kStartupFailure);
  EXPECT_NE(run.err.find("the script engine could not start"), std::string::npos) << run.err;
  EXPECT_FALSE(run.dump);
  EXPECT_FALSE(std::filesystem::exists(game_.Folder() / "GameData" / "System" / "config.txt"));
}

TEST_F(HeadlessRunTest, AnIconThatDoesNotLoadStopsTheStart) {
  game_.Script("@@TOP\n");
  game_.Add("system/etc/icon.ico", "not an icon");
  game_.Loose("GameData/System/Message.Dat", "ICONERROR=アイコンが読めません\n");
  const HeadlessRun run = game_.Run();
  EXPECT_EQ(run.code, kStartupFailure);
  EXPECT_EQ(run.err, "mavu: アイコンが読めません\n");
}

TEST_F(HeadlessRunTest, ABadInputFileIsAStartupFailure) {
  game_.Script("@@TOP\n");
  const HeadlessRun run = game_.Run({}, "1 click 1 1\n2 press 3\n");
  EXPECT_EQ(run.code, kStartupFailure);
  EXPECT_NE(run.err.find("line 2: unknown event \"press\""), std::string::npos) << run.err;
}

TEST_F(HeadlessRunTest, ACleanEndRemovesTheBackupSave) {
  game_.Script("@@TOP\n");
  game_.Loose("SaveData/BackUpSaveData.svd", "x");
  game_.Loose("SaveData/QuickSaveData.svd", "x");
  EXPECT_EQ(game_.Run().code, kNormalEnd);
  EXPECT_FALSE(std::filesystem::exists(game_.Folder() / "SaveData" / "BackUpSaveData.svd"));
  EXPECT_TRUE(std::filesystem::exists(game_.Folder() / "SaveData" / "QuickSaveData.svd"));
}

TEST_F(HeadlessRunTest, TheRandomTableComesFromTheGame) {
  // Values 7, 12, 100 little-endian; rnd draws from the second entry on.
  std::string table;
  for (uint32_t value : {7u, 12u, 100u}) {
    for (int shift = 0; shift < 32; shift += 8) table += static_cast<char>((value >> shift) & 0xFF);
  }
  game_.Add("system/etc/RandomTable.dat", table);
  const HeadlessRun run = RunScript(
      "@@TOP\n"
      "\\gvar,int,a,b\n"
      "\\scp,math\\rnd,10\\cal,a=ResultInt\\rnd,10\\cal,b=ResultInt\n");
  EXPECT_EQ(run.Global("a").Number(), 2);
  EXPECT_EQ(run.Global("b").Number(), 0);
}

TEST_F(HeadlessRunTest, ADamagedPackEntryStopsTheRunUnlessChecksumsAreOff) {
  // The marker lies in the checksummed 8-byte blocks of the entry.
  game_.Script("@@TOP\n\\gvar,int,zzzqqq\n\\gvar,int,padding_padding_padding\n");
  const std::filesystem::path pack = game_.Pack();
  std::string bytes;
  {
    std::ifstream in(pack, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const size_t marker = bytes.find("zzzqqq");
  ASSERT_NE(marker, std::string::npos);
  bytes[marker + 5] = 'r';
  {
    std::ofstream out(pack, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  HeadlessRun run = game_.Run();
  EXPECT_EQ(run.code, kStartupFailure);
  EXPECT_NE(run.err.find("a data pack is damaged: startup.s"), std::string::npos) << run.err;
  EXPECT_FALSE(run.dump);
  game_.Loose("GameData/System/config.txt", "CRCCheck=0\n");
  run = game_.Run();
  EXPECT_EQ(run.code, kNormalEnd) << run.err;
  EXPECT_TRUE((*run.dump)["global"].Has("zzzqqr"));
}

}  // namespace
}  // namespace mavu::test
