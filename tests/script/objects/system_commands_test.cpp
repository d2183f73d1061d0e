#include <gtest/gtest.h>

#include <cctype>

#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using SystemCommandsTest = ObjectTest;

TEST_F(SystemCommandsTest, RequestWordsPostTheirRequests) {
  const std::pair<const char*, SystemRequest> cases[] = {
      {"c", SystemRequest::kConfig},     {"e", SystemRequest::kExitNow},
      {"h", SystemRequest::kBacklog},    {"l", SystemRequest::kLoadScreen},
      {"m", SystemRequest::kMenu},       {"s", SystemRequest::kSaveScreen},
      {"ql", SystemRequest::kQuickLoad}, {"qs", SystemRequest::kQuickSave}};
  script_->Module().scope.names[0] = "sys,0";
  for (const auto& [word, request] : cases) {
    script_->ExecuteLine(std::string("\\") + word);
    EXPECT_EQ(script_->PendingRequest(), request) << word;
  }
}

TEST_F(SystemCommandsTest, ScreenModeAnswersTheSettingAndRequestsOnlyAChange) {
  shell_.fullScreen = 1;
  ASSERT_TRUE(Run("\\gvar,int,a\\scp\\sm\\cal,a=ResultInt\\sm,1\r\n"));
  EXPECT_EQ(Int("a"), 1);
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kNone);
  script_->ExecuteLine("\\sm,0");
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kScreenMode);
}

TEST_F(SystemCommandsTest, AnUnknownWordIsNamedBySysAndThenByTheDispatcher) {
  script_->Module().scope.names[0] = "sys,0";
  script_->ExecuteLine("\\zz,1");
  auto messages = Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "未定義の命令です：(sys)/\\zz");
  EXPECT_EQ(messages[1], "未定義の命令：\\zz,1");
}

TEST_F(SystemCommandsTest, ModeIsSetAndRead) {
  ASSERT_TRUE(Run("\\scp\\p,1\\gvar,int,a\\p\\cal,a=ResultInt\\p,0\\p\r\n"));
  EXPECT_EQ(Int("a"), 1);
  EXPECT_EQ(Int("ResultInt"), 0);
  EXPECT_EQ(script_->Module().mode, SkipMode::kOff);
}

TEST_F(SystemCommandsTest, ModeOutsideTheKnownOnesChangesNothing) {
  script_->Module().scope.names[0] = "sys,0";
  script_->ExecuteLine("\\p,2\\p,6\\p,-1");
  EXPECT_EQ(script_->Module().mode, SkipMode::kSkip);
}

TEST_F(SystemCommandsTest, SkipQueryAnswersOneOnlyWhileSkipping) {
  ASSERT_TRUE(Run("\\gvar,int,a,b\\scp\\p,1\\skp\\cal,a=ResultInt\\p,3\\skp\\cal,b=ResultInt\r\n"));
  EXPECT_EQ(Int("a"), 0);
  EXPECT_EQ(Int("b"), 1);
}

TEST_F(SystemCommandsTest, LocksAndMasksTakeTheirArgumentOrAll) {
  ASSERT_TRUE(Run("\\scp\\lk,$0102\\in,6\\out,8\r\n"));
  EXPECT_EQ(script_->Module().lockFlags, 0x0102u);
  EXPECT_EQ(script_->Module().updateMask, 6);
  EXPECT_EQ(script_->Module().drawMask, 8);
  ASSERT_TRUE(Run("\\scp\\lk\\in\\out\r\n"));
  EXPECT_EQ(script_->Module().lockFlags, 0xFFFFFFFFu);
  EXPECT_EQ(script_->Module().updateMask, -1);
  EXPECT_EQ(script_->Module().drawMask, -1);
}

TEST_F(SystemCommandsTest, CommandsPerFrameFallBackToTheDefaultBelowOne) {
  ASSERT_TRUE(Run("\\scp\\run,3\r\n"));
  EXPECT_EQ(script_->Module().commandsPerFrame, 3);
  ASSERT_TRUE(Run("\\scp\\run,0\r\n"));
  EXPECT_EQ(script_->Module().commandsPerFrame, 256);
}

TEST_F(SystemCommandsTest, ABudgetOfOneRunsOneCommandPerStep) {
  // Set up in the first step; each later step runs exactly one \cal.
  game_.emplace(std::map<std::string, std::string>{
      {"main.s", "@@start\r\n\\gvar,int,n\\scp\\run,1\r\n\\cal,n=n+1\\cal,n=n+1\\cal,n=n+1\r\n"}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  script_->UpdateFrame(25, true);
  const int32_t after = Int("n");
  script_->UpdateFrame(25, true);
  EXPECT_EQ(Int("n"), after + 1);
}

TEST_F(SystemCommandsTest, SceneSkipPermissionEndsASceneSkipUnderWay) {
  ASSERT_TRUE(Run("\\scp\\sskp,1\r\n"));
  EXPECT_TRUE(script_->Module().sceneSkipAllowed);
  script_->SetMode(SkipMode::kSceneSkip);
  script_->ExecuteLine("\\sskp,0");
  EXPECT_FALSE(script_->Module().sceneSkipAllowed);
  EXPECT_EQ(script_->Module().mode, SkipMode::kOff);
  script_->SetMode(SkipMode::kSkip);
  script_->ExecuteLine("\\sskp,1");
  EXPECT_EQ(script_->Module().mode, SkipMode::kSkip);  // other modes stay
}

TEST_F(SystemCommandsTest, SceneReturnLabelMustBeALabel) {
  ASSERT_TRUE(Run("\\scp\\sret,@@scene2\r\n"));
  EXPECT_EQ(script_->Module().texts[TScriptModuleData::kSceneReturnLabel], "@@scene2");
  ASSERT_TRUE(Run("\\scp\\sret,\"plain\"\r\n"));
  EXPECT_EQ(script_->Module().texts[TScriptModuleData::kSceneReturnLabel], "");
}

TEST_F(SystemCommandsTest, SaveTitlesLoseTheirBracketedParts) {
  ASSERT_TRUE(Run("\\scp\\n,\"Chapter [c,$FF]1\",\"a[b[c]d]e\",\"\"\r\n"));
  const auto& titles = script_->Module().saveTitles;
  EXPECT_EQ(titles[0], "Chapter 1");
  EXPECT_EQ(titles[1], "ae");
  EXPECT_EQ(titles[2], "");
  EXPECT_EQ(titles[3], "");
}

TEST_F(SystemCommandsTest, LayoutFilesGoToTheirTexts) {
  ASSERT_TRUE(Run("\\scp\\lf,\"load.dat\"\\sf,\"save.dat\"\\mf,\"menu.dat\"\\hf,\"log.dat\"\r\n"));
  const auto& texts = script_->Module().texts;
  EXPECT_EQ(texts[TScriptModuleData::kLoadLayout], "load.dat");
  EXPECT_EQ(texts[TScriptModuleData::kSaveLayout], "save.dat");
  EXPECT_EQ(texts[TScriptModuleData::kMenuLayout], "menu.dat");
  EXPECT_EQ(texts[TScriptModuleData::kBacklogLayout], "log.dat");
}

TEST_F(SystemCommandsTest, VersionTextGoesToTheShell) {
  ASSERT_TRUE(Run("\\scp\\v,\"1.\"+\"02\"\r\n"));
  EXPECT_EQ(shell_.versionText, "1.02");
}

TEST_F(SystemCommandsTest, IdentifiersAreThirtyTwoHexDigitsAndNew) {
  ASSERT_TRUE(Run("\\gvar,str,a\\scp\\di\\cal,a=ResultStr\\di\r\n"));
  const std::string first = Str("a");
  const std::string second = Str("ResultStr");
  ASSERT_EQ(first.size(), 32u);
  for (char c : first)
    EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c)) && !std::islower(c));
  EXPECT_EQ(first[12], '4');  // a random GUID
  EXPECT_NE(first, second);
}

TEST_F(SystemCommandsTest, InterlaceIsReadAndSwitchedWhenItDiffers) {
  shell_.interlace = 0;
  ASSERT_TRUE(Run("\\gvar,int,a\\scp\\il\\cal,a=ResultInt\\il,0\r\n"));
  EXPECT_EQ(Int("a"), 0);
  EXPECT_EQ(shell_.interlace, 0);
  ASSERT_TRUE(Run("\\scp\\il,1\r\n"));
  EXPECT_EQ(shell_.interlace, 1);
  ASSERT_TRUE(Run("\\scp\\il,1\\il\r\n"));
  EXPECT_EQ(shell_.interlace, 1);
  EXPECT_EQ(Int("ResultInt"), 1);
}

TEST_F(SystemCommandsTest, ResetRunsTheResetLabelOfTheStartScript) {
  script_->SetStartScript("main.s");
  ASSERT_TRUE(
      Run("\\gvar,int,before\\cal,before=1\\scp\\r\\cal,before=2\r\n"
          "@@reset\r\n\\gvar,int,after\\cal,after=7\r\n"));
  EXPECT_EQ(Int("after"), 7);
  // The globals were cleared, so "before" is gone.
  EXPECT_EQ(script_->Calculation().Visibility("before", 0), VariableScope::kNone);
  EXPECT_TRUE(script_->Module().scope.names[0].empty());
}

}  // namespace
}  // namespace mavu::script::test
