#include "shell/app/variable_dump.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "base/cp932.h"

namespace mavu::shell {
namespace {

using script::ArrayIndex;
using script::TReturnValue;
using script::TValue;
using script::ValueKind;
using script::VariableSpec;

class VariableDumpTest : public ::testing::Test {
 protected:
  void Declare(TValue& table, std::string_view name, ValueKind kind,
               std::vector<int32_t> sizes = {}) {
    VariableSpec spec;
    spec.name = name;
    spec.valueKind = kind;
    spec.reference = kind == ValueKind::kObjectName;
    spec.sizes = sizes;
    ASSERT_TRUE(table.Declare(spec)) << name;
  }

  void Set(TValue& table, std::string_view name, std::vector<int32_t> at,
           const TReturnValue& value) {
    ArrayIndex index;
    for (int32_t i : at) index.at[index.count++] = i;
    ASSERT_TRUE(table.Write(name, 0, index, value, true)) << name;
  }

  std::string Dump(std::string position = "EOF", int64_t frames = 0) {
    return VariableDumpJson({global_, system_, errors_, std::move(position), frames});
  }

  TValue global_;
  TValue system_;
  std::vector<std::string> errors_;
};

TEST_F(VariableDumpTest, EmptyTables) {
  EXPECT_EQ(Dump("NOFILE", 0),
            R"j({"global":{},"system":{},"errors":[],"position":"NOFILE","frames":0,"dialogs":[]})j"
            "\n");
}

TEST_F(VariableDumpTest, PlainValuesByNameIgnoringCase) {
  Declare(global_, "b", ValueKind::kInteger);
  Declare(global_, "A", ValueKind::kString);
  Declare(global_, "ref", ValueKind::kObjectName);
  Declare(system_, "visits", ValueKind::kInteger);
  Set(global_, "b", {0}, TReturnValue::FromInteger(-7));
  Set(global_, "A", {0}, TReturnValue::FromString("x\"y"));
  Set(global_, "ref", {0}, TReturnValue::FromObjectName("bg"));
  Set(system_, "visits", {0}, TReturnValue::FromInteger(2));
  EXPECT_EQ(Dump("main.s(3)", 12),
            R"j({"global":{"A":"x\"y","b":-7,"ref":"bg"},"system":{"visits":2},)j"
            R"j("errors":[],"position":"main.s(3)","frames":12,"dialogs":[]})j"
            "\n");
}

TEST_F(VariableDumpTest, ArraysListTheirElementsInStorageOrder) {
  Declare(global_, "n", ValueKind::kInteger, {3});
  Declare(global_, "grid", ValueKind::kInteger, {2, 2});
  Declare(global_, "one", ValueKind::kString, {1, 2});
  for (int i = 0; i < 3; ++i) Set(global_, "n", {i}, TReturnValue::FromInteger(10 + i));
  // Row by row: the last index runs fastest.
  for (int i = 0; i < 4; ++i) {
    Set(global_, "grid", {i / 2, i % 2}, TReturnValue::FromInteger(i * i));
  }
  Set(global_, "one", {0, 1}, TReturnValue::FromString("b"));
  EXPECT_EQ(Dump(), R"j({"global":{"grid":[0,1,4,9],"n":[10,11,12],"one":["","b"]},"system":{},)j"
                    R"j("errors":[],"position":"EOF","frames":0,"dialogs":[]})j"
                    "\n");
}

TEST_F(VariableDumpTest, EngineTextBecomesUtf8) {
  const std::string name = base::Utf8ToCp932("名前");
  Declare(global_, name, ValueKind::kString);
  Set(global_, name, {0}, TReturnValue::FromString(base::Utf8ToCp932("あ\tい")));
  errors_ = {base::Utf8ToCp932("main.s(2):ERROR:計算に失敗しました：x"), "second"};
  EXPECT_EQ(Dump(base::Utf8ToCp932("ファイル.s(9)"), 3),
            R"j({"global":{"名前":"あ\tい"},"system":{},)j"
            R"j("errors":["main.s(2):ERROR:計算に失敗しました：x","second"],)j"
            R"j("position":"ファイル.s(9)","frames":3,"dialogs":[]})j"
            "\n");
}

TEST_F(VariableDumpTest, DialogsInTheOrderShown) {
  const std::vector<DialogRecord> dialogs = {
      {4, base::DialogKind::kConfirm, "確認", "保存\nします", {"Yes", "No"}, 1},
      {9, base::DialogKind::kNotice, "Mavu", "\"done\"", {"ＯＫ"}, 0},
      {9, base::DialogKind::kExitChoice, "Mavu", "Quit?", {"No", "Cancel", "Yes"}, -1}};
  EXPECT_EQ(VariableDumpJson({global_, system_, errors_, "EOF", 10, dialogs}),
            R"j({"global":{},"system":{},"errors":[],"position":"EOF","frames":10,"dialogs":[)j"
            R"j({"frame":4,"kind":"confirm","caption":"確認","text":"保存\nします",)j"
            R"j("buttons":["Yes","No"],"answer":1},)j"
            R"j({"frame":9,"kind":"notice","caption":"Mavu","text":"\"done\"",)j"
            R"j("buttons":["ＯＫ"],"answer":0},)j"
            R"j({"frame":9,"kind":"exit","caption":"Mavu","text":"Quit?",)j"
            R"j("buttons":["No","Cancel","Yes"],"answer":-1}]})j"
            "\n");
}

TEST_F(VariableDumpTest, DeletedVariablesAreGone) {
  Declare(global_, "gone", ValueKind::kInteger);
  Declare(global_, "kept", ValueKind::kInteger);
  ASSERT_TRUE(global_.Delete("gone", 0, true));
  EXPECT_EQ(
      Dump(),
      R"j({"global":{"kept":0},"system":{},"errors":[],"position":"EOF","frames":0,"dialogs":[]})j"
      "\n");
}

}  // namespace
}  // namespace mavu::shell
