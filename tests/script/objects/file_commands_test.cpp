#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "script/objects/kel_object_data_file.h"
#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

class FileCommandsTest : public ObjectTest {
 protected:
  const std::map<std::string, std::string> kFiles = {
      {"data\\list.txt", "name=Aoi\r\nage=17\r\nName=second\r\n$1F\r\nlast"},
      {"other.txt", "one\ntwo\n"}};
};

TEST_F(FileCommandsTest, LooksUpKeysAndLines) {
  ASSERT_TRUE(
      Run("\\gvar,file,f\\gvar,str,s1,s2,s3\\gvar,int,i1,i2,i3,n\\scp,f\r\n"
          "\\l,\"data/list.txt\"\\c\\cal,n=ResultInt\r\n"
          "\\g,\"NAME\"\\cal,s1=ResultStr,i1=ResultInt\r\n"
          "\\g,\"age\"\\cal,s2=ResultStr,i2=ResultInt\r\n"
          "\\gl,3\\cal,s3=ResultStr,i3=ResultInt\r\n",
          kFiles));
  EXPECT_EQ(Int("n"), 5);
  EXPECT_EQ(Str("s1"), "Aoi");  // the first line of the key, letter case ignored
  EXPECT_EQ(Int("i1"), 0);
  EXPECT_EQ(Str("s2"), "17");
  EXPECT_EQ(Int("i2"), 17);
  EXPECT_EQ(Str("s3"), "$1F");
  EXPECT_EQ(Int("i3"), 31);
}

TEST_F(FileCommandsTest, MissingKeysAndLinesGiveEmptyTextAndZero) {
  ASSERT_TRUE(
      Run("\\gvar,file,f\\scp,f\\l,\"other.txt\"\r\n"
          "\\gvar,str,a,b\\gvar,int,x,y\r\n"
          "\\g,\"none\"\\cal,a=ResultStr,x=ResultInt\r\n"
          "\\gl,-1\\cal,b=ResultStr,y=ResultInt\r\n"
          "\\gl,2\r\n",
          kFiles));
  EXPECT_EQ(Str("a"), "");
  EXPECT_EQ(Int("x"), 0);
  EXPECT_EQ(Str("b"), "");
  EXPECT_EQ(Int("y"), 0);
  EXPECT_EQ(Str("ResultStr"), "");
  EXPECT_EQ(Int("ResultInt"), 0);
}

TEST_F(FileCommandsTest, AMissingFileIsReportedAndTheOldContentsStay) {
  EXPECT_FALSE(Run("\\gvar,file,f\\scp,f\\l,\"other.txt\"\\l,\"gone.txt\"\r\n", kFiles));
  EXPECT_EQ(Messages(), std::vector<std::string>{"\\l:ファイルの読み込みに失敗：gone.txt"});
  ClearError();
  script_->ExecuteLine("\\c");
  EXPECT_EQ(Int("ResultInt"), 2);
}

TEST_F(FileCommandsTest, ClearForgetsLinesAndName) {
  ASSERT_TRUE(Run("\\gvar,file,f\\scp,f\\l,\"other.txt\"\\i\\c\r\n", kFiles));
  EXPECT_EQ(Int("ResultInt"), 0);
  auto* file = dynamic_cast<TKelObjectDataFile*>(objects_->Find("f,0"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->File().Name(), "");
}

TEST_F(FileCommandsTest, OneCommandReachesEveryFileInScope) {
  ASSERT_TRUE(Run("\\gvar,file,f[2]\\scp,f[0],f[1]\\l,\"other.txt\"\r\n", kFiles));
  for (const char* name : {"f,0", "f,1"}) {
    auto* file = dynamic_cast<TKelObjectDataFile*>(objects_->Find(name));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->File().LineCount(), 2) << name;
  }
}

TEST_F(FileCommandsTest, SwapExchangesTheFilesNotTheNames) {
  ASSERT_TRUE(
      Run("\\gvar,file,a,b\\gvar,int,x,y\\scp,a\\l,\"other.txt\"\\scp,b\\l,\"data\\list.txt\"\r\n"
          "\\swap,a,b\\scp,a\\c\\cal,x=ResultInt\\scp,b\\c\\cal,y=ResultInt\r\n",
          kFiles));
  EXPECT_EQ(Int("x"), 5);
  EXPECT_EQ(Int("y"), 2);
  EXPECT_EQ(Str("a"), "a,0");
}

TEST_F(FileCommandsTest, SwapOfObjectsThatOwnNothingFails) {
  EXPECT_FALSE(Run("\\swap,math,path\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"オブジェクトのスワップに失敗しました:math/path"});
}

TEST_F(FileCommandsTest, StateIsTheResolvedNameAsStr16) {
  ASSERT_TRUE(Run("\\gvar,file,f\\scp,f\\l,\"data/list.txt\"\r\n", kFiles));
  base::ByteWriter out;
  ASSERT_TRUE(objects_->Find("f,0")->SaveState(out));
  base::ByteWriter expected;
  expected.U16(13).Text("data\\list.txt");
  EXPECT_EQ(out.Data(), expected.Data());
}

TEST_F(FileCommandsTest, LoadingStateReadsTheFileAsTheDataTreeHasItNow) {
  ASSERT_TRUE(Run("\\gvar,file,f\\scp,f\\l,\"other.txt\"\r\n", kFiles));
  base::ByteWriter saved;
  ASSERT_TRUE(script_->Calculation().GlobalTable().WriteTable(saved));

  // The game comes back with another other.txt.
  game_.reset();
  game_.emplace(std::map<std::string, std::string>{{"other.txt", "a\nb\nc\n"}});
  base::ByteReader in(saved.Data());
  script_->Calculation().GlobalTable().ReadTable(in);
  auto* file = dynamic_cast<TKelObjectDataFile*>(objects_->Find("f,0"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->File().LineCount(), 3);
  EXPECT_EQ(file->File().Line(2), "c");
}

}  // namespace
}  // namespace mavu::script::test
