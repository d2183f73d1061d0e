#include <gtest/gtest.h>

#include "resource/data_tree.h"
#include "script/objects/object_swap.h"
#include "support/script/command_recorder.h"
#include "support/script/general_command_test.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

// A registry that swaps objects of the same kind, and records it.
class SwappingRegistry : public FakeObjectRegistry, public ObjectSwap {
 public:
  bool SwapObjects(std::string_view first, std::string_view second) override {
    KelObject* a = FindObject(first);
    KelObject* b = FindObject(second);
    if (a == nullptr || b == nullptr || a->Kind() != b->Kind()) return false;
    swaps.push_back(a->Name() + "/" + b->Name());
    return true;
  }

  Strings swaps;
};

class MiscCommandsTest : public GeneralCommandTest {
 protected:
  MiscCommandsTest() { CommandRecorder::Received().clear(); }

  const TScriptObjectScope& Scope() { return script_->Module().scope; }

  // Starts the interpreter again over a registry that can swap.
  SwappingRegistry& UseSwappingRegistry() {
    auto registry = std::make_unique<SwappingRegistry>();
    SwappingRegistry& swapping = *registry;
    script_.reset();
    script_ = std::make_unique<TKelScript>(services_.Services(), stage_, std::move(registry),
                                           folder_.Path() / "SaveData", 0x1234);
    objects_ = &swapping;
    EXPECT_TRUE(script_->Initialize());
    RegisterGeneralCommands(script_->Commands());
    return swapping;
  }
};

TEST_F(MiscCommandsTest, ScpFillsTheScopeWithTheNamedObjectsInOrder) {
  script_->Module().scope.names[5] = "stale";
  Run(R"(\gvar,img,bg[3]
\scp,bg[2],bg)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Scope().names[0], "bg,2");
  EXPECT_EQ(Scope().names[1], "bg,0");
  for (int i = 2; i < TScriptObjectScope::kSlots; ++i) EXPECT_EQ(Scope().names[i], "") << i;
}

TEST_F(MiscCommandsTest, ScpWithoutArgumentsScopesTheSystemObjectAlone) {
  Run(R"(\gvar,img,bg
\scp,bg
\scp)");
  EXPECT_EQ(Scope().names[0], "sys,0");
  EXPECT_EQ(Scope().names[1], "");
}

TEST_F(MiscCommandsTest, ScpReportsAnArgumentThatIsNoObjectAndFillsTheOtherSlots) {
  Run(R"(\gvar,int,n
\gvar,msg,win
\scp, n ,win)");
  EXPECT_EQ(LastMessageBytes(), Sjis("オブジェクト型以外の変数はスコープ出来ません：") + "n");
  EXPECT_EQ(Scope().names[0], "");
  EXPECT_EQ(Scope().names[1], "win,0");
}

TEST_F(MiscCommandsTest, ScpTakesSixteenObjectsAtMost) {
  std::string line = "\\scp";
  for (int i = 0; i < 20; ++i) line += ",o[" + std::to_string(i) + "]";
  Run("\\gvar,img,o[20]\n" + line);
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Scope().names[15], "o,15");
}

TEST_F(MiscCommandsTest, ObjectCommandsThenReachTheScopedObjects) {
  script_->Commands().AddObjectCommand(FakeObjectRegistry::KindOf("img"), "p",
                                       CommandRecorder::RecordObject);
  Run(R"(\gvar,img,bg[2]
\scp,bg[1],bg[0]
\p,1)");
  EXPECT_EQ(CommandRecorder::Received(), (Strings{"bg,1:\\p,1", "bg,0:\\p,1"}));
}

TEST_F(MiscCommandsTest, SwapExchangesTwoObjectsThroughTheRegistry) {
  SwappingRegistry& registry = UseSwappingRegistry();
  Run(R"(\gvar,img,a,b
\swap,a,b)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(registry.swaps, Strings{"a,0/b,0"});
}

TEST_F(MiscCommandsTest, ASwapTheRegistryRefusesIsReported) {
  UseSwappingRegistry();
  Run(R"(\gvar,img,a
\gvar,msg,m
\swap,a,m)");
  EXPECT_EQ(LastMessageBytes(), Sjis("オブジェクトのスワップに失敗しました:") + "a/m");
}

TEST_F(MiscCommandsTest, ARegistryThatCannotSwapFailsEverySwap) {
  Run(R"(\gvar,img,a,b
\swap,a,b)");
  EXPECT_EQ(Messages(), Strings{"オブジェクトのスワップに失敗しました:a/b"});
}

TEST_F(MiscCommandsTest, SwapReportsEachArgumentThatIsNoObject) {
  SwappingRegistry& registry = UseSwappingRegistry();
  DeclareGlobal("int", "n");
  DeclareGlobal("str", "s");
  Run(R"(\gvar,img,a
\swap,a,n
\swap,s,n)");
  EXPECT_EQ(LastMessageBytes(), Sjis("オブジェクト型を渡してください:") + "n");
  ClearError();
  Frame();
  EXPECT_EQ(Messages(),
            (Strings{"オブジェクト型を渡してください:n", "オブジェクト型を渡してください:s",
                     "オブジェクト型を渡してください:n"}));
  EXPECT_EQ(registry.swaps, Strings{});
}

TEST_F(MiscCommandsTest, FexsTellsWhetherTheDataTreeHasTheFile) {
  Mount({{"main.s", Sjis(R"(@@start
\fexs,"pic\a.png"
\cal,t=t+ResultInt
\fexs,"PIC/A.PNG"
\cal,t=t+ResultInt
\fexs,"pic\b.png"
\cal,t=t+ResultInt
\fexs,""
\cal,t=t+ResultInt)")},
         {"pic\\a.png", "x"}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  Frame();
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "1100");
}

TEST_F(MiscCommandsTest, FexsDoesNotCountInTheFileLog) {
  Mount({{"main.s", "@@start\n\\fexs,\"a.png\""}, {"a.png", "x"}});
  script_->SystemData().OpenedFiles().AddFilter("a.png");
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  Frame();
  EXPECT_EQ(ResultInt(), 1);
  resource::TLabelLog& counts = script_->SystemData().OpenedFiles().Counts();
  EXPECT_EQ(counts.Find("a.png"), std::nullopt);
  // An open is counted: the look above would have been seen.
  ASSERT_TRUE(resource::OpenDataFile("a.png"));
  EXPECT_EQ(counts.Find("a.png"), 1);
}

TEST_F(MiscCommandsTest, DebugCommandsAreAcceptedAndIgnored) {
  script_->Commands().AddObjectCommand(FakeObjectRegistry::KindOf("img"), "dout",
                                       CommandRecorder::RecordObject);
  Run(R"(\gvar,img,bg
\scp,bg
\dout,"x",1
\dbrk
\ddlg,anything
\cal,t="done")");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(CommandRecorder::Received(), Strings{});
  EXPECT_EQ(Trace(), "done");
}

}  // namespace
}  // namespace mavu::script::test
