#include <gtest/gtest.h>

#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using ObjectScopeTest = ObjectTest;

TEST_F(ObjectScopeTest, SystemVariablesCreateTheSystemObjects) {
  struct Expected {
    const char* name;
    ObjectKind kind;
  };
  const Expected expected[] = {
      {"sys,0", ObjectKind::kSystem},      {"dat,0", ObjectKind::kGameData},
      {"sdat,0", ObjectKind::kSystemData}, {"snd,0", ObjectKind::kSound},
      {"snd,7", ObjectKind::kSound},       {"dsnd,7", ObjectKind::kDirectSound},
      {"eff,0", ObjectKind::kEffect},      {"csr,0", ObjectKind::kCursor},
      {"scsr,0", ObjectKind::kSysCursor},  {"log,0", ObjectKind::kLog},
      {"cam,0", ObjectKind::kCamera},      {"rep,0", ObjectKind::kReplace},
      {"path,0", ObjectKind::kPath},       {"show,0", ObjectKind::kDirectShow},
      {"tcp,0", ObjectKind::kTcp},         {"dlg,0", ObjectKind::kDialog},
      {"slog,0", ObjectKind::kSkipLog},    {"llog,0", ObjectKind::kSkipLog},
      {"flog,0", ObjectKind::kFileLog},    {"math,0", ObjectKind::kMath},
      {"ext,0", ObjectKind::kExtend},
  };
  for (const Expected& object : expected) {
    TKelObjectDataCustom* found = objects_->Find(object.name);
    ASSERT_NE(found, nullptr) << object.name;
    EXPECT_EQ(found->KindOf(), object.kind) << object.name;
  }
  EXPECT_EQ(objects_->Find("snd,8"), nullptr);
  // sys, dat, sdat, 8 snd, 8 dsnd and the 15 objects after them.
  EXPECT_EQ(objects_->Count(), 3u + 8u + 8u + 15u);
}

TEST_F(ObjectScopeTest, ResetCreatesTheSystemObjectsAgainAndFreesTheOthers) {
  ASSERT_TRUE(Run("\\gvar,file,f[3]\r\n"));
  EXPECT_NE(objects_->Find("f,2"), nullptr);
  script_->Reset();
  EXPECT_EQ(objects_->Find("f,0"), nullptr);
  EXPECT_NE(objects_->Find("sys,0"), nullptr);
  EXPECT_EQ(objects_->Count(), 34u);
}

TEST_F(ObjectScopeTest, ObjectVariablesOwnTheirObjects) {
  ASSERT_TRUE(Run("\\gvar,file,pages[3]\r\n"));
  for (const char* name : {"pages,0", "pages,1", "pages,2"}) {
    ASSERT_NE(objects_->Find(name), nullptr) << name;
    EXPECT_EQ(objects_->Find(name)->KindOf(), ObjectKind::kFile);
  }
  ASSERT_TRUE(Run("\\del,pages\r\n"));
  EXPECT_EQ(objects_->Find("pages,0"), nullptr);
  EXPECT_EQ(objects_->Find("pages,2"), nullptr);
}

TEST_F(ObjectScopeTest, AnObjectOfAnUnknownKindIsNotCreated) {
  VariableSpec spec;
  spec.name = "odd";
  spec.kindName = "nosuchkind";
  spec.valueKind = ValueKind::kObjectName;
  EXPECT_TRUE(script_->Calculation().GlobalTable().Declare(spec));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Objectの生成に失敗しました：odd,0"});
  EXPECT_EQ(objects_->Find("odd,0"), nullptr);
}

TEST_F(ObjectScopeTest, ADeclarationOfAnUnknownKindIsReported) {
  EXPECT_FALSE(Run("\\gvar,widget,w\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"指定されたオブジェクトは生成出来ません：widget"});
  EXPECT_EQ(objects_->Find("w,0"), nullptr);
}

TEST_F(ObjectScopeTest, AWordNoObjectKnowsIsReportedByEveryObjectInScope) {
  EXPECT_FALSE(Run("\\scp,math,path\\zz,1\r\n"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"未定義の命令：\\zz,1", "未定義の命令：\\zz,1"}));
}

TEST_F(ObjectScopeTest, ACommandGoesToTheObjectsInScopeInOrder) {
  // Both answer in ResultInt: the object in the later slot answers last.
  const std::map<std::string, std::string> files = {{"two.txt", "a\nb\n"},
                                                    {"three.txt", "a\nb\nc\n"}};
  ASSERT_TRUE(
      Run("\\gvar,file,f[2]\\gvar,int,a,b\\scp,f[0]\\l,\"two.txt\"\\scp,f[1]\\l,\"three.txt\"\r\n"
          "\\scp,f[0],f[1]\\c\\cal,a=ResultInt\\scp,f[1],f[0]\\c\\cal,b=ResultInt\r\n",
          files));
  EXPECT_EQ(Int("a"), 3);
  EXPECT_EQ(Int("b"), 2);
}

TEST_F(ObjectScopeTest, CommandsOfOneKindAreNotTakenByAnother) {
  EXPECT_FALSE(Run("\\scp,path\\rnd,5\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"未定義の命令：\\rnd,5"});
}

}  // namespace
}  // namespace mavu::script::test
