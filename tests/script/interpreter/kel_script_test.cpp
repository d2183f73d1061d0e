#include "script/interpreter/kel_script.h"

#include <gtest/gtest.h>

#include "base/cp932.h"
#include "base/error_log.h"
#include "resource/data_tree.h"
#include "script/interpreter/command_code.h"
#include "support/script/command_recorder.h"
#include "support/script/interpreter_fixture.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

using Recorder = CommandRecorder;

constexpr uint8_t kMessageKind = 7;
constexpr uint8_t kImageKind = 6;

class KelScriptTest : public InterpreterTest {
 protected:
  KelScriptTest() { Recorder::Received().clear(); }

  void Scope(std::initializer_list<std::string> names) {
    int slot = 0;
    for (const std::string& name : names) script_->Module().scope.names[slot++] = name;
  }
};

TEST(CommandCode, PacksUpToFourLowerCasedBytesLittleEndian) {
  EXPECT_EQ(CommandCode("\\jmp"), 0x00706D6A);
  EXPECT_EQ(CommandCode("If"), CommandCode("if"));
  EXPECT_EQ(CommandCode("if"), 0x6669);
  EXPECT_EQ(CommandCode("\\ I\tF\\"), CommandCode("if"));
  EXPECT_EQ(CommandCode("case"), 0x65736163);
  EXPECT_EQ(CommandCode("\\cases"), kNoCommand);
  EXPECT_EQ(CommandCode(""), 0);
  EXPECT_EQ(CommandCode("\x82\xA0"), 0xA082);
}

TEST(SystemVocabulary, ActionNamesMapToTheirNumbersIgnoringCase) {
  EXPECT_EQ(ActionFromName("click"), SystemAction::kClick);
  EXPECT_EQ(ActionFromName("SceneSkipNoLoad"), SystemAction::kSceneSkipNoLoad);
  EXPECT_EQ(ActionFromName("sceneskipload"), SystemAction::kSceneSkipLoad);
  EXPECT_EQ(ActionFromName("scenereturn"), SystemAction::kSceneReturn);
  EXPECT_EQ(static_cast<int>(ActionFromName("quickload")), 20);
  EXPECT_EQ(ActionFromName("jump"), SystemAction::kNone);
  EXPECT_EQ(ActionFromName(""), SystemAction::kNone);
}

TEST_F(KelScriptTest, WordsThatCanMatchNoCommandAreNotRegistered) {
  CommandTable& table = script_->Commands();
  table.AddGeneral("print", Recorder::RecordGeneral);
  table.AddGeneral("\\Prin", Recorder::RecordGeneral);
  script_->ExecuteCommand("\\print");
  script_->ExecuteCommand("\\PRIN");
  EXPECT_EQ(Recorder::Received(), Strings{"general:\\PRIN"});
}

// A stand-in object whose class is not the one the handler was registered for.
class OtherMessage : public FakeObject {
 public:
  using FakeObject::FakeObject;
};

bool RecordTyped(OtherMessage& message, const Command&) {
  Recorder::Received().push_back("typed:" + message.Name());
  return true;
}

TEST_F(KelScriptTest, ATypedCommandReachesOnlyReceiversOfItsClass) {
  script_->Commands().AddObjectCommand<OtherMessage>(kMessageKind, "p", RecordTyped);
  objects_->CreateObject("msg", "m1");
  objects_->objects.push_back(std::make_unique<OtherMessage>("m2", kMessageKind));
  Scope({"m1", "m2"});
  script_->ExecuteCommand("\\p");
  EXPECT_EQ(Recorder::Received(), Strings{"typed:m2"});
  EXPECT_EQ(Messages(), Strings{"未定義の命令：\\p"});
}

TEST_F(KelScriptTest, ControlFlowComesBeforeGeneralCommandsAndLabelsBeforeThem) {
  script_->Commands().AddGeneral("if", Recorder::RecordGeneral);
  script_->Commands().AddGeneral("@@ab", Recorder::RecordGeneral);
  script_->Commands().AddGeneral("zz", Recorder::RecordGeneral);
  script_->ExecuteCommand("\\if,1");
  script_->ExecuteCommand("@@ab");
  script_->ExecuteCommand("\\zz");
  EXPECT_EQ(Recorder::Received(), Strings{"general:\\zz"});
  EXPECT_EQ(script_->Module().runStack.Size(), 1u);
}

TEST_F(KelScriptTest, ObjectCommandsGoToEveryObjectInScopeInScopeOrder) {
  objects_->CreateObject("msg", "m1");
  objects_->CreateObject("msg", "m2");
  script_->Commands().AddObjectCommand(kMessageKind, "p", Recorder::RecordObject);
  Scope({"m2", "nosuchobject", "M1"});
  script_->ExecuteCommand("  \\p,1  ");
  EXPECT_EQ(Recorder::Received(), (Strings{"m2:\\p,1", "m1:\\p,1"}));
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(KelScriptTest, EachObjectThatDoesNotTakeACommandReportsIt) {
  objects_->CreateObject("img", "i1");
  objects_->CreateObject("msg", "m1");
  objects_->CreateObject("img", "i2");
  script_->Commands().AddObjectCommand(kMessageKind, "p", Recorder::RecordObject);
  script_->Commands().AddObjectCommand(kImageKind, "p", Recorder::Decline);
  Scope({"i1", "m1", "i2"});
  script_->ExecuteCommand("\\p");
  EXPECT_EQ(Recorder::Received(), (Strings{"declined:\\p", "m1:\\p", "declined:\\p"}));
  EXPECT_EQ(Messages(), (Strings{"未定義の命令：\\p", "未定義の命令：\\p"}));
}

TEST_F(KelScriptTest, AFiveLetterWordMatchesNoCommandAndGoesToTheObjects) {
  objects_->CreateObject("msg", "m1");
  script_->Commands().AddObjectCommand(kMessageKind, "print", Recorder::RecordObject);
  script_->Commands().AddObjectCommand(kMessageKind, "prin", Recorder::RecordObject);
  Scope({"m1"});
  script_->ExecuteCommand("\\print,1");
  EXPECT_EQ(Recorder::Received(), Strings{});
  EXPECT_EQ(Messages(), Strings{"未定義の命令：\\print,1"});
}

TEST_F(KelScriptTest, AGeneralCommandThatDeclinesFallsThroughToTheObjects) {
  objects_->CreateObject("msg", "m1");
  script_->Commands().AddGeneral("p", Recorder::Decline);
  script_->Commands().AddObjectCommand(kMessageKind, "p", Recorder::RecordObject);
  Scope({"m1"});
  script_->ExecuteCommand("\\p");
  EXPECT_EQ(Recorder::Received(), (Strings{"declined:\\p", "m1:\\p"}));
}

TEST_F(KelScriptTest, TextsThatAreNoCommandsDoNothing) {
  objects_->CreateObject("msg", "m1");
  Scope({"m1"});
  script_->ExecuteCommand("");
  script_->ExecuteCommand("  \t ");
  script_->ExecuteCommand("plain text\\p");
  EXPECT_EQ(Messages(), Strings{});
  script_->Module().scope.Clear();
  script_->ExecuteCommand("\\unknown");
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(KelScriptTest, ExecuteLineRunsEveryPieceBetweenBackslashes) {
  script_->ExecuteLine("\\cal,t=t+\"a\"\\\\cal,t=t+\"b\"");
  EXPECT_EQ(Trace(), "ab");
  script_->ExecuteLine("cal,t=t+\"c\"");
  EXPECT_EQ(Trace(), "abc");
}

TEST_F(KelScriptTest, AnErrorLineCarriesThePositionOfItsCommand) {
  Start("@@start\n\n\\cal,t=t+\"a\"\n\\nope\n\\cal,t=t+\"b\"");
  objects_->CreateObject("msg", "m1");
  Scope({"m1"});
  Frame();
  ASSERT_EQ(ErrorLines().size(), 1u);
  EXPECT_EQ(ErrorLines()[0], "main.s(4):ERROR:" + Sjis("未定義の命令：") + "\\nope");
  EXPECT_TRUE(script_->ErrorRaised());
}

TEST_F(KelScriptTest, TheSystemVariablesAreDeclaredWithTheirObjects) {
  EXPECT_EQ(Str("_QuickSaveFilename"), "QuickSaveData.svd");
  EXPECT_EQ(Str("_SelectSaveFilename"), "SelectSaveData.svd");
  EXPECT_EQ(Str("_BackUpSaveFilename"), "BackUpSaveData.svd");
  EXPECT_EQ(Str("sys"), "sys,0");
  EXPECT_EQ(Str("llog"), "llog,0");
  EXPECT_EQ(Str("snd[7]"), "snd,7");
  EXPECT_EQ(Str("NULL"), "");
  EXPECT_NE(objects_->FindObject("dsnd,7"), nullptr);
  EXPECT_EQ(objects_->FindObject("dsnd,8"), nullptr);
  ASSERT_NE(objects_->FindObject("llog,0"), nullptr);
  EXPECT_EQ(objects_->FindObject("llog,0")->Kind(), FakeObjectRegistry::KindOf("slog"));
  // 18 single objects, 8 sound and 8 direct-sound channels.
  EXPECT_EQ(objects_->objects.size(), 34u);
  EXPECT_EQ(objects_->objects.front()->Name(), "sys,0");
  EXPECT_EQ(objects_->objects.back()->Name(), "ext,0");
}

TEST_F(KelScriptTest, ScriptsWriteResultIntButNotTheButtonResults) {
  script_->ExecuteCommand("\\cal,ResultInt=5,ResultStr=\"x\"");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Int("ResultInt"), 5);
  script_->ExecuteCommand("\\cal,ResultBtnInt=5");
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0], "この変数には書き込めません:ResultBtnInt");
  script_->SetResultInteger("ResultBtnInt", 9);
  script_->SetResultObject("ResultBtn", "bt,1");
  script_->SetResultString("ResultBtnStr", "s");
  EXPECT_EQ(Int("ResultBtnInt"), 9);
  EXPECT_EQ(Str("ResultBtn"), "bt,1");
  EXPECT_EQ(script_->Evaluate("ResultBtn").kind, ValueKind::kObjectName);
  EXPECT_EQ(Str("ResultBtnStr"), "s");
}

TEST_F(KelScriptTest, ResetClearsGlobalsLocalsObjectsAndStateButKeepsTheSystemTable) {
  script_->Calculation().DeclareVariable(VariableScope::kSystem, "int", "kept", 0);
  script_->ExecuteCommand("\\cal,kept=4,t=\"x\"");
  Start("@@start\n\\sub,@@f,,1\n@@f\n\\clk");
  Frame();
  objects_->CreateObject("img", "bg,0");
  TScriptModuleData& module = script_->Module();
  module.scope.names[0] = "bg,0";
  module.lockFlags = 0;
  module.commandsPerFrame = 3;
  module.updateMask = 5;
  module.sceneSkipAllowed = true;
  module.texts[TScriptModuleData::kSceneReturnLabel] = "@@x";
  script_->SystemData().ReadLines().SetLocked(true);
  script_->SystemData().OpenedFiles().AddFilter("bg");
  ASSERT_TRUE(resource::TheDataTree().AddDataDir("extra\\"));
  ASSERT_EQ(module.waitState, WaitState::kClick);
  int resets = 0;
  script_->SetResetEvent([&] { ++resets; });
  stage_.Camera().CameraMoveTo(50, 0, 0);
  stage_.Camera().CameraAdvance(0);
  stage_.Backlog().Add({});
  const int soundResets = services_.soundResets;

  script_->Reset();
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(Int("kept"), 4);
  EXPECT_EQ(script_->Calculation().Visibility("t", 0), VariableScope::kNone);
  EXPECT_EQ(script_->Calculation().LocalTable().Slots().size(), 0u);
  EXPECT_EQ(objects_->FindObject("bg,0"), nullptr);
  EXPECT_NE(objects_->FindObject("sys,0"), nullptr);
  EXPECT_TRUE(module.runStack.Empty());
  EXPECT_EQ(module.scope.names[0], "");
  EXPECT_EQ(module.waitState, WaitState::kRunning);
  EXPECT_EQ(module.lockFlags, lock::kAll);
  EXPECT_EQ(module.commandsPerFrame, 256);
  EXPECT_EQ(module.updateMask, -1);
  EXPECT_FALSE(module.sceneSkipAllowed);
  EXPECT_EQ(module.texts[TScriptModuleData::kSceneReturnLabel], "");
  EXPECT_EQ(script_->Reader().PositionText(), "NOFILE");
  EXPECT_FALSE(script_->SystemData().ReadLines().Locked());
  EXPECT_EQ(script_->SystemData().OpenedFiles().Filters()[0], "");
  EXPECT_EQ(resource::TheDataTree().DataDirs()[0], "");
  EXPECT_EQ(resource::TheDataTree().DataDirs()[15], "root");
  EXPECT_EQ(stage_.Camera().X(), 0);
  EXPECT_EQ(stage_.Backlog().Count(), 0);  // a new game starts with an empty backlog
  EXPECT_EQ(services_.soundResets, soundResets + 1);
}

TEST_F(KelScriptTest, ResetInterpreterStartsAtTheResetLabelWithAnEmptyErrorList) {
  Mount({{"boot.s", "@@start\n@@reset\n\\cal,ResultInt=12"}});
  script_->ExecuteCommand("\\nothing,1");
  objects_->CreateObject("msg", "m");
  script_->Module().scope.names[0] = "m";
  script_->ExecuteCommand("\\nothing,1");
  ASSERT_EQ(Messages().size(), 1u);
  script_->SetStartScript("boot.s");
  script_->ResetInterpreter();
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(objects_->draws, 1);
  ClearError();
  Frame();
  EXPECT_EQ(Int("ResultInt"), 12);
}

TEST_F(KelScriptTest, ReadSkipStopsAtTheFirstLineNotReadBefore) {
  Start("@@start\n\\cal,t=t+\"a\"\n\\clk\n\\cal,t=t+\"b\"\n\\clk\n\\cal,t=t+\"c\"");
  script_->Module().lockFlags = 0;
  Frame();
  script_->Click(kNoPosition, kNoPosition, false);
  Frame();
  EXPECT_EQ(Trace(), "ab");
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  script_->SetMode(SkipMode::kReadSkip);
  Frame();
  // Skipping clicks through the read lines and stops at the first new one.
  EXPECT_EQ(script_->Module().mode, SkipMode::kOff);
  EXPECT_EQ(Trace(), "ababc");
  const int32_t offset = script_->SystemData().ReadLines().Counts().LookupCount("main.s@@start");
  EXPECT_EQ(offset, 5);
}

TEST_F(KelScriptTest, ALockedLineLogStopsReadSkipAtOnce) {
  Start("@@start\n\\cal,t=t+\"a\"\n\\cal,t=t+\"b\"");
  Frame();
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  script_->SystemData().ReadLines().SetLocked(true);
  script_->Module().lockFlags = 0;
  script_->SetMode(SkipMode::kReadSkip);
  Frame();
  EXPECT_EQ(script_->Module().mode, SkipMode::kOff);
}

TEST_F(KelScriptTest, TheFileLogCountsOpenedFilesThatAFilterSelects) {
  script_->SystemData().OpenedFiles().AddFilter("MAIN");
  Start("@@start");
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  EXPECT_EQ(script_->SystemData().OpenedFiles().Counts().LookupCount("main.s"), 2);
}

TEST_F(KelScriptTest, PositionWarningsOutsideALabelAreShown) {
  Mount({{"a.s", "\\if,1\n\\fi"}});
  script_->Reader().OpenScript("a.s", false);
  Frame();
  EXPECT_EQ(services_.warnings.size(), 2u);
  EXPECT_EQ(base::Cp932ToUtf8(services_.warnings[0]), "警告：ラベル外の位置を検知しました");
}

TEST_F(KelScriptTest, SystemVariablesComeBackFromTheSavedSystemData) {
  script_->Calculation().DeclareVariable(VariableScope::kSystem, "int", "cleared", 0);
  script_->ExecuteCommand("\\cal,cleared=9");
  ASSERT_TRUE(script_->SystemData().SaveWithBackup());
  auto registry = std::make_unique<FakeObjectRegistry>();
  TKelScript other(services_.Services(), stage_, std::move(registry), folder_.Path() / "SaveData",
                   0x1234);
  ASSERT_TRUE(other.Initialize());
  EXPECT_EQ(other.Evaluate("cleared").integer, 9);
  EXPECT_EQ(other.Evaluate("sys").Text(), "sys,0");
}

TEST_F(KelScriptTest, InitializeFailsWhenTheSaveFolderCannotBeMade) {
  folder_.Write("blocked", "a file");
  auto registry = std::make_unique<FakeObjectRegistry>();
  TKelScript other(services_.Services(), stage_, std::move(registry), folder_.Path() / "blocked",
                   0);
  EXPECT_FALSE(other.Initialize());
  EXPECT_EQ(services_.notices, Strings{"SaveDirectoryERROR"});
}

TEST_F(KelScriptTest, AvailabilityFollowsTheLockBitsAndTheWaitState) {
  TScriptModuleData& module = script_->Module();
  EXPECT_FALSE(script_->AutoAvailable());
  EXPECT_FALSE(script_->SkipAvailable());
  module.lockFlags = lock::kSkip;
  EXPECT_TRUE(script_->AutoAvailable());
  EXPECT_FALSE(script_->LogSkipAvailable());
  module.lockFlags = 0;
  EXPECT_TRUE(script_->SkipAvailable());
  EXPECT_FALSE(script_->SceneSkipAvailable());
  module.sceneSkipAllowed = true;
  EXPECT_TRUE(script_->SceneSkipAvailable());
  module.waitState = WaitState::kButton;
  EXPECT_FALSE(script_->AutoAvailable());
  EXPECT_FALSE(script_->SceneSkipAvailable());
  EXPECT_FALSE(script_->StartSceneSkip(true));
  module.waitState = WaitState::kRunning;
  EXPECT_TRUE(script_->StartSceneSkip(true));
  EXPECT_EQ(module.mode, SkipMode::kSceneSkipNoLoad);
  EXPECT_TRUE(script_->StartSceneSkip(false));
  EXPECT_EQ(module.mode, SkipMode::kSceneSkip);
}

TEST_F(KelScriptTest, SceneReturnReturnsToTheFrameCalledFromTheReturnLabel) {
  Start(
      "@@start\n\\sub,@@scene\n\\cal,t=t+\"r\"\n\\jmp,@@done\n@@scene\n\\sub,@@inner\n"
      "@@inner\n\\clk\n@@done");
  script_->Module().lockFlags = 0;
  Frame();
  EXPECT_EQ(script_->Module().waitState, WaitState::kClick);
  EXPECT_FALSE(script_->SceneReturnAvailable());
  script_->Module().texts[TScriptModuleData::kSceneReturnLabel] = "@@START";
  EXPECT_TRUE(script_->SceneReturnAvailable());
  script_->Module().lockFlags = lock::kSceneSkip;
  EXPECT_FALSE(script_->SceneReturn());
  script_->Module().lockFlags = 0;
  EXPECT_TRUE(script_->SceneReturn());
  EXPECT_EQ(script_->Module().waitState, WaitState::kRunning);
  EXPECT_EQ(script_->CallDepth(), 0);
  Frame();
  EXPECT_EQ(Trace(), "r");
}

TEST_F(KelScriptTest, SaveFilePresenceIsCheckedAgainEveryFortiethCall) {
  EXPECT_FALSE(script_->QuickSavePresent(false));
  folder_.Write("SaveData/QuickSaveData.svd", "x");
  for (int call = 1; call < TKelScript::kPresenceCheckInterval; ++call) {
    EXPECT_FALSE(script_->QuickSavePresent(false)) << call;
  }
  EXPECT_TRUE(script_->QuickSavePresent(false));
  EXPECT_FALSE(script_->SelectSavePresent(false));
  folder_.Write("SaveData/SelectSaveData.svd", "x");
  EXPECT_FALSE(script_->SelectSavePresent(false));
  EXPECT_TRUE(script_->SelectSavePresent(true));
  // Rotating quick saves always have somewhere to go.
  std::filesystem::remove(folder_.Path() / "SaveData" / "QuickSaveData.svd");
  script_->Settings().quickSaveMode = 1;
  EXPECT_TRUE(script_->QuickSavePresent(true));
}

TEST(ParseCommand, SplitsAtCommasOutsideQuotesAndCodesTheWord) {
  const ParsedCommand parsed = ParseCommand("\\a,1,\"x,y\"");
  EXPECT_EQ(parsed.words.count, 3);
  EXPECT_EQ(parsed.words.words[2], "\"x,y\"");
  EXPECT_EQ(parsed.code, CommandCode("a"));
}

}  // namespace
}  // namespace mavu::script::test
