#include "resource/file_io_lib.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

class FileIOLibTest : public ::testing::Test {
 protected:
  FileIOLibTest() { tree_.SetProgramDirectory(dir_.Path()); }

  test::TempDir dir_;
  DataTree tree_;
  TFileIOLib file_{tree_};
};

TEST_F(FileIOLibTest, SplitsLinesAtEveryKindOfLineEnd) {
  dir_.Write("Data/List.txt", "a=1\r\nb=two\nA=3\rlast\r\n");
  ASSERT_TRUE(file_.Load("data/list.TXT"));
  EXPECT_EQ(file_.LineCount(), 4);
  EXPECT_EQ(file_.Line(0), "a=1");
  EXPECT_EQ(file_.Line(2), "A=3");
  EXPECT_EQ(file_.Line(3), "last");
  EXPECT_EQ(file_.Name(), "data\\list.TXT");
}

TEST_F(FileIOLibTest, LooksUpTheFirstLineOfAKeyInAnyCase) {
  dir_.Write("t.txt", "Name=first\r\nname=second\r\nempty=\r\nplain line\r\nx = spaced ");
  ASSERT_TRUE(file_.Load("t.txt"));
  EXPECT_EQ(file_.Value("NAME"), "first");
  EXPECT_EQ(file_.Value("empty"), "");
  EXPECT_EQ(file_.Value("plain line"), "");
  EXPECT_EQ(file_.Value("x "), " spaced ");
  EXPECT_EQ(file_.Value("missing"), "");
}

TEST_F(FileIOLibTest, LinesOutsideTheFileAreEmpty) {
  dir_.Write("t.txt", "one\r\ntwo");
  ASSERT_TRUE(file_.Load("t.txt"));
  EXPECT_EQ(file_.Line(-1), "");
  EXPECT_EQ(file_.Line(2), "");
  EXPECT_EQ(file_.Line(1), "two");
}

TEST_F(FileIOLibTest, AFailedLoadKeepsThePreviousFile) {
  dir_.Write("t.txt", "one\r\ntwo\r\nthree");
  ASSERT_TRUE(file_.Load("t.txt"));
  EXPECT_FALSE(file_.Load("missing.txt"));
  EXPECT_EQ(file_.LineCount(), 3);
  EXPECT_EQ(file_.Name(), "t.txt");
}

TEST_F(FileIOLibTest, ClearForgetsLinesAndName) {
  dir_.Write("t.txt", "k=v");
  ASSERT_TRUE(file_.Load("t.txt"));
  file_.Clear();
  EXPECT_EQ(file_.LineCount(), 0);
  EXPECT_EQ(file_.Name(), "");
  EXPECT_EQ(file_.Value("k"), "");
}

TEST_F(FileIOLibTest, AnEmptyFileHasNoLines) {
  dir_.Write("e.txt", "");
  ASSERT_TRUE(file_.Load("e.txt"));
  EXPECT_EQ(file_.LineCount(), 0);
  EXPECT_EQ(file_.Name(), "e.txt");
}

TEST_F(FileIOLibTest, StateIsTheNameAsStr16) {
  dir_.Write("Tables/t.txt", "x");
  ASSERT_TRUE(file_.Load("Tables/t.txt"));
  base::ByteWriter out;
  file_.WriteState(out);
  EXPECT_EQ(out.Data(), base::ByteWriter().U16(12).Text("Tables\\t.txt").Data());
}

TEST_F(FileIOLibTest, ReadingStateLoadsTheFileAsItIsNow) {
  dir_.Write("t.txt", "old");
  const base::Bytes state = base::ByteWriter().Str16("t.txt").Take();
  dir_.Write("t.txt", "new\r\nlines");
  base::ByteReader in(state);
  file_.ReadState(in);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(file_.LineCount(), 2);
  EXPECT_EQ(file_.Line(0), "new");
}

TEST_F(FileIOLibTest, ReadingStateOfAGoneOrEmptyNameLeavesTheObjectEmpty) {
  dir_.Write("t.txt", "x");
  ASSERT_TRUE(file_.Load("t.txt"));
  const base::Bytes gone = base::ByteWriter().Str16("gone.txt").Take();
  base::ByteReader in(gone);
  file_.ReadState(in);
  EXPECT_EQ(file_.LineCount(), 0);
  EXPECT_EQ(file_.Name(), "");

  ASSERT_TRUE(file_.Load("t.txt"));
  const base::Bytes empty = base::ByteWriter().Str16("").Take();
  base::ByteReader emptyIn(empty);
  file_.ReadState(emptyIn);
  EXPECT_EQ(file_.LineCount(), 0);
}

TEST_F(FileIOLibTest, ATruncatedStateThrows) {
  const base::Bytes bad{5, 0, 'a'};
  base::ByteReader in(bad);
  EXPECT_THROW(file_.ReadState(in), base::FormatError);
}

}  // namespace
}  // namespace mavu::resource
