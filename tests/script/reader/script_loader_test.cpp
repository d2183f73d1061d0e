#include "script/reader/script_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/script/fake_reader_events.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::FakeReaderEvents;
using test::ScriptGame;

std::vector<std::string> Lines(const ScriptLines& script) {
  return script.Lines();
}

class ScriptLoaderTest : public ::testing::Test {
 protected:
  std::optional<ScriptLines> Load(const std::map<std::string, std::string>& files,
                                  std::string_view name) {
    ScriptGame game(files);
    return ScriptLoader(&events_).Load(name);
  }

  FakeReaderEvents events_;
};

TEST_F(ScriptLoaderTest, StripsCommentsAndRecordsLabels) {
  auto script =
      Load({{"main.s", "@@Top\r\n\\a,1 // note\n/* block\nstill */\\b\r  @@!Raw  \n@@\nlast"}},
           "main.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script),
            (std::vector<std::string>{"@@Top", "\\a,1 ", "", "\\b", "  @@!Raw  ", "@@", "last"}));
  ASSERT_EQ(script->Labels().size(), 2u);
  const auto& top = script->Labels()[0];
  EXPECT_EQ(top.name, "@@top");
  EXPECT_EQ(top.line, 0);
  EXPECT_EQ(top.file, "main.s");
  EXPECT_EQ(top.sourceLine, 0);
  EXPECT_FALSE(top.raw);
  const auto& raw = script->Labels()[1];
  EXPECT_EQ(raw.name, "@@!raw");
  EXPECT_EQ(raw.line, 4);
  EXPECT_EQ(raw.sourceLine, 4);
  EXPECT_TRUE(raw.raw);
  EXPECT_TRUE(events_.errors.empty());
}

TEST_F(ScriptLoaderTest, LineEndsOfEveryKind) {
  auto script = Load({{"a.s", "a\r\nb\nc\rd\r\n\n"}}, "a.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script), (std::vector<std::string>{"a", "b", "c", "d", ""}));
  script = Load({{"a.s", "\n\r\r\n"}}, "a.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script), (std::vector<std::string>{"", "", ""}));
}

TEST_F(ScriptLoaderTest, CommentMarksInsideQuotesStillCount) {
  auto script = Load({{"a.s", "\\m,\"a//b\"\n\\m,\"/*\"x\ny*/z"}}, "a.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script), (std::vector<std::string>{"\\m,\"a", "\\m,\"", "z"}));
}

TEST_F(ScriptLoaderTest, SplicesIncludesWithTheirOwnLabels) {
  auto script = Load({{"main.s", "@@a\n@@@inc.s\n\\x\n  @@@INC.S  \n@@@missing.s\n@@@\nend"},
                      {"inc.s", "\\i1\n@@In\n\\i2"}},
                     "main.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script), (std::vector<std::string>{"@@a", "\\i1", "@@In", "\\i2", "\\x", "\\i1",
                                                      "@@In", "\\i2", "end"}));
  ASSERT_EQ(script->Labels().size(), 3u);
  EXPECT_EQ(script->Labels()[1].file, "inc.s");
  EXPECT_EQ(script->Labels()[1].line, 2);
  EXPECT_EQ(script->Labels()[1].sourceLine, 1);
  EXPECT_EQ(script->Labels()[2].file, "INC.S");
  EXPECT_EQ(script->Labels()[2].line, 6);
  EXPECT_EQ(script->FindLabel("@@in"), 1);
  EXPECT_EQ(script->FindLabel("@@a"), 0);
  EXPECT_EQ(script->FindLabel("@@none"), -1);
  // A missing include is skipped without a word.
  EXPECT_TRUE(events_.errors.empty());
}

TEST_F(ScriptLoaderTest, EachFileStartsOutsideBlockComments) {
  auto script = Load({{"main.s", "@@@inc.s\nc"}, {"inc.s", "a /* unclosed\nb"}}, "main.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script), (std::vector<std::string>{"a ", "", "c"}));
}

TEST_F(ScriptLoaderTest, FileIncludingItselfIsReadOnceWithAnError) {
  auto script = Load({{"self.s", "x\n@@@SELF.S\ny"}}, "self.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script), (std::vector<std::string>{"x", "y"}));
  ASSERT_EQ(events_.errors.size(), 1u);
  EXPECT_NE(events_.errors[0].find("SELF.S"), std::string::npos);
}

TEST_F(ScriptLoaderTest, IncludeCycleThroughAnotherFileStops) {
  auto script = Load({{"a.s", "a1\n@@@b.s\na2"}, {"b.s", "b1\n@@@a.s\nb2"}}, "a.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(Lines(*script), (std::vector<std::string>{"a1", "b1", "b2", "a2"}));
  EXPECT_EQ(events_.errors.size(), 1u);
}

TEST_F(ScriptLoaderTest, IncludesNestedTooDeeplyAreSkipped) {
  std::map<std::string, std::string> files;
  for (int i = 0; i < 20; ++i) {
    files["f" + std::to_string(i) + ".s"] =
        "L" + std::to_string(i) + "\n@@@f" + std::to_string(i + 1) + ".s";
  }
  auto script = Load(files, "f0.s");
  ASSERT_TRUE(script);
  ASSERT_EQ(script->Lines().size(), ScriptLoader::kMaxIncludeDepth + 1);
  EXPECT_EQ(script->Lines().back(), "L16");
  ASSERT_EQ(events_.errors.size(), 1u);
  EXPECT_NE(events_.errors[0].find("f17.s"), std::string::npos);
}

TEST_F(ScriptLoaderTest, IncludeFanOutBeyondTheLineLimitFailsTheLoad) {
  std::string big;
  for (int i = 0; i < 1000; ++i) big += "x\n";
  std::string main;
  size_t includes = ScriptLoader::kMaxLines / 1000 + 1;
  for (size_t i = 0; i < includes; ++i) main += "@@@big.s\n";
  EXPECT_FALSE(Load({{"main.s", main}, {"big.s", big}}, "main.s"));
  ASSERT_EQ(events_.errors.size(), 1u);
  events_.errors.clear();
  main.resize((includes - 1) * 9);
  auto script = Load({{"main.s", main}, {"big.s", big}}, "main.s");
  ASSERT_TRUE(script);
  EXPECT_EQ(script->Lines().size(), (includes - 1) * 1000);
  EXPECT_TRUE(events_.errors.empty());
}

TEST_F(ScriptLoaderTest, EmptyFileIsAnEmptyScript) {
  auto script = Load({{"empty.s", ""}}, "empty.s");
  ASSERT_TRUE(script);
  EXPECT_TRUE(script->Lines().empty());
  EXPECT_TRUE(script->Labels().empty());
}

TEST_F(ScriptLoaderTest, MissingFileFailsQuietly) {
  EXPECT_FALSE(Load({{"a.s", "x"}}, "b.s"));
  EXPECT_TRUE(events_.errors.empty());
}

TEST_F(ScriptLoaderTest, BytesThatAreNotCp932AreKeptAsTheyAre) {
  std::string bytes("\x82\n\xFF\xFF\x80\x00@@\x82\n@@x\x82\r\x81", 16);
  auto script = Load({{"bad.s", bytes}}, "bad.s");
  ASSERT_TRUE(script);
  ASSERT_EQ(script->Lines().size(), 4u);
  EXPECT_EQ(script->Lines()[0], "\x82");
  EXPECT_EQ(script->Lines()[1], std::string("\xFF\xFF\x80\x00@@\x82", 7));
  ASSERT_EQ(script->Labels().size(), 1u);
  EXPECT_EQ(script->Labels()[0].name, "@@x\x82");
  EXPECT_EQ(script->Lines()[3], "\x81");
}

TEST_F(ScriptLoaderTest, LineLongerThan64KiBStaysWhole) {
  std::string longLine = "\\m," + std::string(100000, 'x');
  auto script = Load({{"long.s", longLine + "\n@@after"}}, "long.s");
  ASSERT_TRUE(script);
  ASSERT_EQ(script->Lines().size(), 2u);
  EXPECT_EQ(script->Lines()[0], longLine);
  EXPECT_EQ(script->Labels()[0].sourceLine, 1);
}

}  // namespace
}  // namespace mavu::script
