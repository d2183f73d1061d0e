#include "script/reader/kel_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "resource/data_tree.h"
#include "script/reader/script_replace_dll.h"
#include "support/script/fake_reader_events.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::FakeReaderEvents;
using test::ScriptGame;
using test::Sjis;

class KelReaderTest : public ::testing::Test {
 protected:
  KelReaderTest() {
    reader_.SetEvents(&events_);
    resource::TheDataTree().SetOpenHook([this](const std::string&) { ++opens_; });
  }
  ~KelReaderTest() override { resource::TheDataTree().SetOpenHook(nullptr); }

  void Mount(const std::map<std::string, std::string>& files) { game_.emplace(files); }

  std::vector<std::string> Read(int count) {
    std::vector<std::string> commands;
    for (int i = 0; i < count; ++i) commands.push_back(reader_.ReadCommand());
    return commands;
  }

  std::optional<ScriptGame> game_;
  FakeReaderEvents events_;
  TKelReader reader_;
  int opens_ = 0;
};

using Commands = std::vector<std::string>;

TEST_F(KelReaderTest, SecondBackslashStartsTheNextCommand) {
  Mount({{"a.s", "\\a,1\\b,2\n\\t,\"x\\y\"\ntext\\c\n\t\\d\t,1\n\\if{\\x}\\y"}});
  ASSERT_TRUE(reader_.OpenScript("a.s", false));
  EXPECT_EQ(Read(8), (Commands{"\\a,1", "\\b,2", "\\t,\"x\\y\"", "text\\c", "\\d,1", "\\if{\\x}",
                               "\\y", ""}));
}

TEST_F(KelReaderTest, EmptyLinesGiveEmptyCommands) {
  Mount({{"a.s", "\\a\n\n\\b"}});
  reader_.OpenScript("a.s", false);
  EXPECT_EQ(Read(5), (Commands{"\\a", "", "\\b", "", ""}));
}

TEST_F(KelReaderTest, AtEndOnlyOnceTheLastLineIsPassed) {
  EXPECT_FALSE(reader_.AtEnd());  // no script at all
  Mount({{"a.s", "\\a\n\\b"}});
  ASSERT_TRUE(reader_.OpenScript("a.s", false));
  EXPECT_EQ(Read(2), (Commands{"\\a", "\\b"}));
  EXPECT_FALSE(reader_.AtEnd());  // standing on the last line, which reads "EOF"
  EXPECT_EQ(reader_.PositionText(), "EOF");
  EXPECT_EQ(Read(1), Commands{""});
  EXPECT_TRUE(reader_.AtEnd());
}

TEST_F(KelReaderTest, TrailBytesNeverSplitOrNest) {
  // ソ and 表 end in 0x5C (backslash), ボ in 0x7B ({), マ in 0x7D (}).
  Mount({{"a.s", Sjis("\\m,ソ\\n,表\n\\m,ボ\\x\n\\m,{マ\\x}\\y\n\\m,\"ソ\\z\"")}});
  reader_.OpenScript("a.s", false);
  EXPECT_EQ(Read(7), (Commands{Sjis("\\m,ソ"), Sjis("\\n,表"), Sjis("\\m,ボ"), "\\x",
                               Sjis("\\m,{マ\\x}"), "\\y", Sjis("\\m,\"ソ\\z\"")}));
}

TEST_F(KelReaderTest, LeadByteTakesAQuoteWithIt) {
  Mount({{"a.s", "\\a,\x82\"\\b\n\\a,\"\x82\"\\b"}});
  reader_.OpenScript("a.s", false);
  EXPECT_EQ(Read(3), (Commands{"\\a,\x82\"", "\\b", "\\a,\"\x82\"\\b"}));
}

TEST_F(KelReaderTest, PositionTextNamesTheSourceLine) {
  Mount({{"main.s", "\\pre\n@@Start\n\\a\n@@@inc.s\n\\b\n\\c"}, {"inc.s", "\\i\n@@Sub\n\\s1\n"}});
  EXPECT_EQ(reader_.PositionText(), "NOFILE");
  reader_.OpenScript("main.s", false);
  Commands positions;
  for (int i = 0; i < 8; ++i) {
    reader_.ReadCommand();
    positions.push_back(reader_.PositionText());
  }
  EXPECT_EQ(positions, (Commands{"(0)", "main.s(2)", "main.s(3)", "main.s(4)", "inc.s(2)",
                                 "inc.s(3)", "inc.s(4)", "EOF"}));
}

TEST_F(KelReaderTest, TenthLineOfStartReadsStartTen) {
  std::string script = "@@top\n";
  for (int i = 2; i <= 11; ++i) script += "\\line" + std::to_string(i) + "\n";
  Mount({{"start.s", script}});
  reader_.OpenScript("start.s", false);
  ASSERT_TRUE(reader_.GotoLabel("@@top", 9, 0));
  EXPECT_EQ(reader_.ReadCommand(), "\\line10");
  EXPECT_EQ(reader_.PositionText(), "start.s(10)");
  EXPECT_EQ(reader_.LineOffsetSinceLabel(), 9);
}

TEST_F(KelReaderTest, LabelsAreFoundInAnyCase) {
  Mount({{"a.s", "\\x\n@@Start\n\\first\n\\second"}});
  ASSERT_TRUE(reader_.JumpToLabel("a.s", "@@START"));
  EXPECT_EQ(reader_.ReadCommand(), "\\first");
  ASSERT_TRUE(reader_.JumpToLabel("SELF", "@@start"));
  EXPECT_EQ(reader_.CurrentLabelName(), "@@start");
  EXPECT_EQ(reader_.LineOffsetSinceLabel(), 1);
  EXPECT_EQ(reader_.LabelFile("@@START"), "a.s");
  EXPECT_EQ(reader_.LabelFile("@@none"), "");
}

TEST_F(KelReaderTest, SelfKeepsTheScriptAndOtherNamesReload) {
  Mount({{"a.s", "@@a\n\\x\n"}});
  ASSERT_TRUE(reader_.OpenScript("a.s", false));
  EXPECT_EQ(opens_, 1);
  EXPECT_TRUE(reader_.OpenScript("A.S", false));
  EXPECT_EQ(opens_, 1);
  EXPECT_TRUE(reader_.JumpToLabel("self", "@@a"));
  EXPECT_EQ(opens_, 1);
  EXPECT_TRUE(reader_.JumpToLabel("a.s", "@@a"));
  EXPECT_EQ(opens_, 2);
  EXPECT_TRUE(reader_.OpenScript("a.s", true));
  EXPECT_EQ(opens_, 3);
  EXPECT_EQ(reader_.CurrentLine(), -1);
}

TEST_F(KelReaderTest, UnknownLabelLeavesThePositionAlone) {
  Mount({{"a.s", "@@a\n\\x\\y\n\\z"}});
  reader_.JumpToLabel("a.s", "@@a");
  reader_.ReadCommand();
  EXPECT_FALSE(reader_.GotoLabel("@@b", 0, 0));
  EXPECT_FALSE(reader_.JumpToLabel("self", "@@b"));
  EXPECT_EQ(reader_.CurrentLine(), 1);
  EXPECT_EQ(reader_.CharacterPosition(), 2);
  EXPECT_EQ(reader_.ReadCommand(), "\\y");
}

TEST_F(KelReaderTest, DuplicateLabelsFromAnIncludeUsedTwiceFindTheFirst) {
  Mount({{"a.s", "@@@inc.s\n\\mid\n@@@inc.s"}, {"inc.s", "@@Dup\n\\in"}});
  ASSERT_TRUE(reader_.JumpToLabel("a.s", "@@dup"));
  EXPECT_EQ(reader_.CurrentLine(), 1);
}

TEST_F(KelReaderTest, LabelOnTheLastLineLeadsPastTheEnd) {
  Mount({{"a.s", "\\a\n@@End"}});
  EXPECT_FALSE(reader_.JumpToLabel("a.s", "@@end"));
  EXPECT_EQ(reader_.ReadCommand(), "");
  EXPECT_EQ(reader_.ReadCommand(), "");
  EXPECT_EQ(reader_.PositionText(), "EOF");
}

TEST_F(KelReaderTest, LastLineAndBeyondReadAsEof) {
  Mount({{"a.s", "@@a\n\\x\n\\y"}});
  reader_.OpenScript("a.s", false);
  EXPECT_EQ(Read(2), (Commands{"@@a", "\\x"}));
  EXPECT_EQ(reader_.PositionText(), "a.s(2)");
  reader_.ReadCommand();
  EXPECT_EQ(reader_.PositionText(), "EOF");
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(reader_.ReadCommand(), "");
  EXPECT_EQ(reader_.PositionText(), "EOF");
  EXPECT_EQ(reader_.CurrentLine(), 3);
}

TEST_F(KelReaderTest, MissingScriptLeavesAnEmptyOneUnderNoName) {
  Mount({{"a.s", "\\a\n\\b"}});
  reader_.OpenScript("a.s", false);
  reader_.ReadCommand();
  EXPECT_FALSE(reader_.OpenScript("gone.s", true));
  EXPECT_EQ(reader_.CurrentFileName(), "");
  EXPECT_EQ(reader_.ReadCommand(), "");
  EXPECT_EQ(reader_.PositionText(), "EOF");
  // Asking for the old script again reloads it rather than finding it open.
  int before = opens_;
  EXPECT_TRUE(reader_.OpenScript("a.s", false));
  EXPECT_EQ(opens_, before + 1);
  EXPECT_EQ(reader_.ReadCommand(), "\\a");
}

TEST_F(KelReaderTest, EmptyScript) {
  Mount({{"empty.s", ""}});
  ASSERT_TRUE(reader_.OpenScript("empty.s", false));
  EXPECT_EQ(reader_.PositionText(), "EOF");
  EXPECT_EQ(reader_.ReadCommand(), "");
  EXPECT_FALSE(reader_.GotoLabel("@@a", 1, 0));
  EXPECT_FALSE(reader_.GotoLine(0, 0));
}

TEST_F(KelReaderTest, NothingLoadedReadsNothing) {
  EXPECT_EQ(reader_.ReadCommand(), "");
  EXPECT_FALSE(reader_.GotoLine(0, 0));
  EXPECT_FALSE(reader_.JumpToLabel("self", "@@a"));
  EXPECT_EQ(reader_.PositionText(), "NOFILE");
}

TEST_F(KelReaderTest, NegativeCharacterPositionStartsTheLine) {
  Mount({{"a.s", "@@a\n\\x\\y"}});
  reader_.OpenScript("a.s", false);
  ASSERT_TRUE(reader_.GotoLabel("@@a", 1, -5));
  EXPECT_EQ(reader_.CharacterPosition(), 0);
  EXPECT_EQ(reader_.ReadCommand(), "\\x");
  // A position past the line moves on to the next line.
  ASSERT_TRUE(reader_.GotoLabel("@@a", 0, 99));
  EXPECT_EQ(reader_.ReadCommand(), "\\x");
}

TEST_F(KelReaderTest, PositionQueriesOutsideALabelWarnOncePerQuery) {
  Mount({{"a.s", "\\x\n@@a\n\\y"}});
  reader_.OpenScript("a.s", false);
  reader_.ReadCommand();
  EXPECT_EQ(reader_.CurrentLabelName(), "");
  EXPECT_EQ(reader_.LineOffsetSinceLabel(), 0);
  ASSERT_EQ(events_.warnings.size(), 2u);
  EXPECT_EQ(events_.warnings[0], Sjis("警告：ラベル外の位置を検知しました"));
  reader_.ReadCommand();
  reader_.ReadCommand();
  EXPECT_EQ(reader_.CurrentLabelName(), "@@a");
  EXPECT_EQ(reader_.LineOffsetSinceLabel(), 1);
  EXPECT_EQ(events_.warnings.size(), 2u);
}

TEST_F(KelReaderTest, LineReachedReportsLinesUnderOrdinaryLabels) {
  Mount({{"m.s", "@@a\n\\x\n\\y\n@@!r\n\\z\n@@b\n\\w"}});
  reader_.OpenScript("m.s", false);
  Read(8);
  using Reached = std::vector<std::pair<std::string, int32_t>>;
  EXPECT_EQ(events_.lines, (Reached{{"m.s@@a", 1}, {"m.s@@a", 2}, {"m.s@@a", 3}, {"m.s@@b", 1}}));
  events_.lines.clear();
  reader_.JumpToLabel("self", "@@b");
  reader_.JumpToLabel("self", "@@!r");
  EXPECT_EQ(events_.lines, (Reached{{"m.s@@b", 1}}));
}

TEST_F(KelReaderTest, ReaderWithoutEventsStillReads) {
  Mount({{"m.s", "@@a\n\\x"}});
  TKelReader quiet;
  ASSERT_TRUE(quiet.JumpToLabel("m.s", "@@a"));
  EXPECT_EQ(quiet.ReadCommand(), "\\x");
  EXPECT_EQ(quiet.CurrentLabelName(), "@@a");
}

class LinePipelineTest : public KelReaderTest {
 protected:
  // The line after the pipeline, as the reader hands it out.
  std::string Through(const std::string& line) {
    Mount({{"p.s", "@@p\n" + line + "\n@@!raw\n" + line}});
    reader_.JumpToLabel("p.s", "@@p");
    return std::string(reader_.CurrentLineText());
  }
  std::string Raw(const std::string& line) {
    Mount({{"p.s", "@@p\n" + line + "\n@@!raw\n" + line}});
    reader_.JumpToLabel("p.s", "@@!raw");
    return std::string(reader_.CurrentLineText());
  }
};

TEST_F(LinePipelineTest, ReplacementTableAppliesWhileEnabled) {
  reader_.AddReplacement("hello", "bye", kReplaceText);
  EXPECT_EQ(Through("\\m,HeLLo"), "\\m,bye");
  reader_.SetReplacementEnabled(false);
  EXPECT_EQ(Through("\\m,HeLLo"), "\\m,HeLLo");
}

TEST_F(LinePipelineTest, MarkerNamesAreRemovedOneAfterAnother) {
  EXPECT_EQ(Through("\\m,a%%%12b%%%3c%%%0"), "\\m,a2bc");
  reader_.SetMarker(3, "V");
  reader_.SetMarker(16, "ignored");
  EXPECT_EQ(Through("\\m,%%%3"), "\\m,V");
  EXPECT_EQ(reader_.MarkerName(15), "%%%15");
}

TEST_F(LinePipelineTest, PlainTextLinesGetThePrefix) {
  reader_.SetTextLinePrefix("\\mes,");
  EXPECT_EQ(Through("Hello"), "\\mes,Hello");
  EXPECT_EQ(Through(Sjis("表")), Sjis("\\mes,表"));
  for (const char* kept : {"\tx", " x", "/x", "@x", "\\x"}) EXPECT_EQ(Through(kept), kept);
}

TEST_F(LinePipelineTest, EmptyLinesBecomeTheEmptyLineTextWhichMayBePrefixed) {
  reader_.SetEmptyLineText("\\wait");
  EXPECT_EQ(Through(""), "\\wait");
  reader_.SetEmptyLineText("(none)");
  reader_.SetTextLinePrefix("\\mes,");
  EXPECT_EQ(Through(""), "\\mes,(none)");
  // A line emptied by the table counts as empty.
  reader_.AddReplacement("gone", "", kReplaceText);
  EXPECT_EQ(Through("gone"), "\\mes,(none)");
}

TEST_F(LinePipelineTest, ShortTextsAreCutTo127Bytes) {
  reader_.SetTextLinePrefix(std::string(200, 'p'));
  reader_.SetEmptyLineText(std::string(126, 'e') + Sjis("表"));
  EXPECT_EQ(reader_.TextLinePrefix(), std::string(127, 'p'));
  EXPECT_EQ(reader_.EmptyLineText(), std::string(126, 'e'));
}

TEST_F(LinePipelineTest, CommentsMadeByTheTableAreRemovedAgain) {
  reader_.AddReplacement("#", "//", kReplaceText);
  EXPECT_EQ(Through("\\a#note"), "\\a");
}

TEST_F(LinePipelineTest, RawLabelLinesSkipThePipeline) {
  reader_.AddReplacement("hello", "bye", kReplaceText);
  reader_.SetTextLinePrefix("P");
  reader_.SetEmptyLineText("E");
  EXPECT_EQ(Raw("hello %%%1x"), "hello %%%1x");
  EXPECT_EQ(Raw(""), "");
  EXPECT_EQ(Through("hello %%%1x"), "Pbye x");
}

TEST_F(LinePipelineTest, RegularExpressionModesRunInTableOrder) {
  reader_.AddReplacement("s/(\\w+)@/[$1]/", "", kReplaceSubst);
  reader_.AddReplacement("/^\\[/", "\\name,", kReplacePrefix);
  EXPECT_EQ(Through("ann@hello"), "\\name,[ann]hello");
}

TEST_F(LinePipelineTest, ExternalReplacerRunsBeforeTheTable) {
  auto loaded = TScriptReplaceDLL::Load(MAVU_SCRREP_TEST_PLUGIN);
  ASSERT_TRUE(loaded.replacer) << loaded.error;
  reader_.SetExternalReplacer(loaded.replacer.get());
  // The test replacer upper-cases; the case-sensitive substitution only
  // matches when it runs after the replacer.
  reader_.AddReplacement("s/HELLO/bye/", "", kReplaceSubst);
  EXPECT_EQ(Through(Sjis("\\mes,hello ソ")), Sjis("\\MES,bye ソ"));
  EXPECT_EQ(Raw("\\mes,hello"), "\\mes,hello");
  reader_.SetReplacementEnabled(false);
  EXPECT_EQ(Through("\\mes,hello"), "\\mes,hello");
  reader_.SetExternalReplacer(nullptr);
}

TEST_F(KelReaderTest, ClearReplacementsResetsTableTextsAndSwitch) {
  reader_.AddReplacement("a", "b", kReplaceSplit);
  reader_.SetTextLinePrefix("p");
  reader_.SetEmptyLineText("e");
  reader_.SetReplacementEnabled(false);
  reader_.ClearReplacements();
  EXPECT_EQ(reader_.Replacements().At(0).pattern, "");
  EXPECT_EQ(reader_.Replacements().At(0).mode, 0);
  EXPECT_EQ(reader_.TextLinePrefix(), "");
  EXPECT_EQ(reader_.EmptyLineText(), "");
  EXPECT_TRUE(reader_.ReplacementEnabled());
}

TEST_F(KelReaderTest, ReaderTableOperations) {
  EXPECT_TRUE(reader_.AddReplacement("ab", "1", kReplaceText));
  EXPECT_TRUE(reader_.AddReplacement("abc", "2", kReplaceText));
  EXPECT_EQ(reader_.Replacements().At(0).pattern, "abc");
  EXPECT_TRUE(reader_.RemoveReplacement("ABC"));
  EXPECT_FALSE(reader_.RemoveReplacement("abc"));
  EXPECT_TRUE(reader_.SetReplacementSlot(10, "z", kReplacePrefix, "y"));
  EXPECT_FALSE(reader_.SetReplacementSlot(64, "z", kReplacePrefix, "y"));
  EXPECT_EQ(reader_.Replacements().At(10).replacement, "y");
}

TEST_F(KelReaderTest, ResetForgetsEverything) {
  Mount({{"a.s", "@@a\n\\x"}});
  reader_.JumpToLabel("a.s", "@@a");
  reader_.AddReplacement("a", "b", kReplaceText);
  reader_.SetMarker(0, "v");
  reader_.Reset();
  EXPECT_EQ(reader_.PositionText(), "NOFILE");
  EXPECT_EQ(reader_.CurrentFileName(), "");
  EXPECT_EQ(reader_.Replacements().At(0).pattern, "");
  EXPECT_EQ(reader_.MarkerValue(0), "");
  EXPECT_EQ(reader_.CurrentLine(), -1);
}

TEST_F(KelReaderTest, LongLineReadsWhole) {
  std::string longLine = "\\m," + std::string(70000, 'x');
  Mount({{"a.s", "@@a\n" + longLine + "\\next\n\\after"}});
  reader_.JumpToLabel("a.s", "@@a");
  EXPECT_EQ(reader_.ReadCommand(), longLine);
  EXPECT_EQ(reader_.ReadCommand(), "\\next");
  EXPECT_EQ(reader_.ReadCommand(), "\\after");
}

TEST_F(KelReaderTest, BytesThatAreNotCp932ReadToTheEnd) {
  Mount({{"bad.s", std::string("\\a\x82\n\xFF\\\x80\x00\\b\n@@\x82\n\"\\x\n\x81", 20)}});
  reader_.OpenScript("bad.s", false);
  int commands = 0;
  while (reader_.PositionText() != "EOF" && commands < 100) {
    reader_.ReadCommand();
    ++commands;
  }
  EXPECT_LT(commands, 100);
  EXPECT_EQ(reader_.ReadCommand(), "");
}

}  // namespace
}  // namespace mavu::script
