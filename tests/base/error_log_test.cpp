#include "base/error_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/file_io.h"
#include "support/temp_dir.h"

namespace mavu::base {
namespace {

using ::testing::ElementsAre;

class ErrorLogTest : public ::testing::Test {
 protected:
  ErrorLogTest() { log_.SetDirectory(dir_.Path()); }

  std::string FileText() const {
    auto bytes = ReadWholeFile(dir_.Path() / "ERRORLOG.txt");
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
  }

  test::TempDir dir_;
  ErrorLog log_;
};

TEST_F(ErrorLogTest, ScriptErrorWritesContextTagAndMessage) {
  log_.SetErrorContext("start.s(12)");
  log_.ScriptError("bad");
  EXPECT_THAT(log_.Errors(), ElementsAre("start.s(12):ERROR:bad"));
  EXPECT_EQ(FileText(), "start.s(12):ERROR:bad\r\n");
  EXPECT_TRUE(log_.ErrorFlag());
}

TEST_F(ErrorLogTest, KeepsCp932BytesAsTheyAre) {
  // "未定義の命令：" + "\x95\x5C" (a trail byte 0x5C) in CP932.
  const std::string message = "\x96\xa2\x92\xe8\x8b\x60\x82\xcc\x96\xbd\x97\xdf\x81\x46\x95\x5c";
  log_.SetErrorContext("\x83\x65\x83\x58\x83\x67.s(3)");
  log_.ScriptError(message);
  EXPECT_EQ(FileText(), "\x83\x65\x83\x58\x83\x67.s(3):ERROR:" + message + "\r\n");
}

TEST_F(ErrorLogTest, AnEmptyContextStillGivesTheTag) {
  log_.ScriptError("m");
  EXPECT_EQ(FileText(), ":ERROR:m\r\n");
}

TEST_F(ErrorLogTest, TheFirstErrorRewritesAnOldFileAndLaterOnesAppend) {
  dir_.Write("ERRORLOG.txt", "an older run's line\r\n");
  log_.AppendErrorLine("one");
  EXPECT_EQ(FileText(), "one\r\n");
  log_.AppendErrorLine("two");
  log_.AppendErrorLine("three");
  EXPECT_EQ(FileText(), "one\r\ntwo\r\nthree\r\n");
  EXPECT_THAT(log_.Errors(), ElementsAre("one", "two", "three"));
}

TEST_F(ErrorLogTest, AResetStartsTheFileAgain) {
  log_.AppendErrorLine("before");
  log_.ClearErrors();
  EXPECT_TRUE(log_.Errors().empty());
  EXPECT_EQ(FileText(), "before\r\n");  // the file stays until the next error
  log_.AppendErrorLine("after");
  EXPECT_EQ(FileText(), "after\r\n");
  EXPECT_THAT(log_.Errors(), ElementsAre("after"));
}

TEST_F(ErrorLogTest, AppendingALineDoesNotRaiseTheFlag) {
  log_.AppendErrorLine("note");
  EXPECT_FALSE(log_.ErrorFlag());
  log_.ScriptError("x");
  log_.ClearErrorFlag();
  EXPECT_FALSE(log_.ErrorFlag());
  log_.ClearErrors();
  log_.ScriptError("y");
  EXPECT_TRUE(log_.ErrorFlag());
}

TEST_F(ErrorLogTest, AFileThatCannotBeWrittenKeepsTheListAndCatchesUpLater) {
  log_.SetDirectory(dir_.Path() / "later");
  log_.ScriptError("first");
  EXPECT_FALSE(log_.AppendErrorLine("second"));
  EXPECT_TRUE(log_.ErrorFlag());
  EXPECT_THAT(log_.Errors(), ElementsAre(":ERROR:first", "second"));

  std::filesystem::create_directory(dir_.Path() / "later");
  dir_.Write("later/ERRORLOG.txt", "stale\r\n");
  EXPECT_TRUE(log_.AppendErrorLine("third"));
  auto bytes = ReadWholeFile(dir_.Path() / "later" / "ERRORLOG.txt");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), ":ERROR:first\r\nsecond\r\nthird\r\n");
  EXPECT_TRUE(log_.AppendErrorLine("fourth"));
  bytes = ReadWholeFile(dir_.Path() / "later" / "ERRORLOG.txt");
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()),
            ":ERROR:first\r\nsecond\r\nthird\r\nfourth\r\n");
}

TEST_F(ErrorLogTest, TheFileIsNamedErrorLogInTheGivenFolder) {
  EXPECT_EQ(log_.File(), dir_.Path() / "ERRORLOG.txt");
  EXPECT_EQ(ErrorLog().File(), std::filesystem::path("ERRORLOG.txt"));
}

TEST(ProcessErrorLog, TheFreeFunctionsReachOneLog) {
  test::TempDir dir;
  TheErrorLog().SetDirectory(dir.Path());
  ClearErrors();
  TheErrorLog().ClearErrorFlag();
  SetErrorContext("a.s(1)");
  ScriptError("m1");
  AppendErrorLine("plain");
  EXPECT_EQ(TheErrorLog().ErrorContext(), "a.s(1)");
  EXPECT_THAT(TheErrorLog().Errors(), ElementsAre("a.s(1):ERROR:m1", "plain"));
  EXPECT_TRUE(TheErrorLog().ErrorFlag());
  auto bytes = ReadWholeFile(dir.Path() / "ERRORLOG.txt");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "a.s(1):ERROR:m1\r\nplain\r\n");
  ClearErrors();
  TheErrorLog().ClearErrorFlag();
  TheErrorLog().SetErrorContext("");
  TheErrorLog().SetDirectory(".");
}

}  // namespace
}  // namespace mavu::base
