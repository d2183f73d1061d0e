#include "script/values/value.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "support/script/fake_script_host.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::FakeErrorSink;
using test::FakeObjectHost;
using test::Sjis;

ArrayIndex At(std::initializer_list<int32_t> indices) {
  ArrayIndex index;
  for (int32_t i : indices) index.at[static_cast<size_t>(index.count++)] = i;
  return index;
}

// What a scan of the slots in order finds; the table's index must agree.
int32_t ScanFor(const TValue& table, std::string_view name, int32_t key) {
  const std::vector<ValueSlot>& slots = table.Slots();
  for (size_t i = 0; i < slots.size(); ++i) {
    const ValueSlot& slot = slots[i];
    if (!slot.IsFree() && slot.key == key && slot.hash == NameHash(name) &&
        base::EqualsIgnoreCase(slot.storage->Name(), name)) {
      return static_cast<int32_t>(i);
    }
  }
  return TValue::kNotFound;
}

std::string Upper(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

class ValueTableTest : public ::testing::Test {
 protected:
  ValueTableTest() {
    table.SetErrorSink(&sink);
    table.SetObjectHost(&host);
  }

  bool Declare(std::string_view name, ValueKind kind, std::vector<int32_t> sizes = {},
               int32_t key = 0, int16_t attributes = kValueVariableRights) {
    VariableSpec spec;
    spec.name = name;
    spec.valueKind = kind;
    spec.key = key;
    spec.attributes = attributes;
    spec.sizes = sizes;
    return table.Declare(spec);
  }

  bool DeclareObjects(std::string_view name, std::string_view kind, std::vector<int32_t> sizes,
                      bool reference = false) {
    VariableSpec spec;
    spec.name = name;
    spec.kindName = kind;
    spec.valueKind = ValueKind::kObjectName;
    spec.reference = reference;
    spec.attributes = kObjectVariableRights;
    spec.sizes = sizes;
    return table.Declare(spec);
  }

  TReturnValue Read(std::string_view name, ArrayIndex index = {}) {
    return table.Read(name, 0, index, false);
  }
  bool Write(std::string_view name, ArrayIndex index, TReturnValue value) {
    return table.Write(name, 0, index, value, false);
  }
  const TValueArrayCustom& Storage(std::string_view name) {
    return *table.Slots().at(static_cast<size_t>(table.Find(name, 0))).storage;
  }

  // Every name, in both letter cases, under keys 0..maxKey.
  void ExpectLookupsMatchAScan(const std::vector<std::string>& names, int32_t maxKey) {
    for (const std::string& name : names) {
      for (const std::string& spelling : {name, Upper(name)}) {
        for (int32_t key = 0; key <= maxKey; ++key) {
          EXPECT_EQ(table.Find(spelling, key), ScanFor(table, spelling, key))
              << spelling << " under key " << key;
        }
      }
    }
  }

  FakeErrorSink sink;
  FakeObjectHost host;
  TValue table;
};

TEST(NameHash, SumsLowerCasedBytesTimesTheirPosition) {
  EXPECT_EQ(NameHash("ab"), 97u * 1 + 98u * 2);
  EXPECT_EQ(NameHash("AB"), NameHash("ab"));
  EXPECT_EQ(NameHash(""), 0u);
  // A trail byte that looks like a capital is not lower-cased.
  EXPECT_EQ(NameHash("\x83\x41"), 0x83u * 1 + 0x41u * 2);
  // The factor is (i + 1) mod 256: the 256th byte counts nothing.
  EXPECT_EQ(NameHash(std::string(255, 'a') + "z"), 97u * (255 * 256 / 2));
}

TEST(NameHash, WrapsAt32Bits) {
  std::string name(200000, '\xFF');
  uint64_t sum = 0;
  for (size_t i = 0; i < name.size(); ++i) sum += 255u * ((i + 1) % 256);
  ASSERT_GT(sum, 0xFFFFFFFFull);
  EXPECT_EQ(NameHash(name), static_cast<uint32_t>(sum));
}

TEST_F(ValueTableTest, AVariableWithoutSizesHasOneElement) {
  ASSERT_TRUE(Declare("x", ValueKind::kInteger));
  EXPECT_EQ(Storage("x").Count(), 1);
  EXPECT_EQ(Read("x").integer, 0);
  EXPECT_TRUE(Read("x", At({3})).IsNone());
  EXPECT_EQ(sink.messages, std::vector<std::string>{Sjis("範囲外の配列にアクセスしました") + "x"});
}

TEST_F(ValueTableTest, StoresSizesFromTheLastDeclaredOne) {
  ASSERT_TRUE(Declare("a", ValueKind::kInteger, {3, 4}));
  ASSERT_TRUE(Declare("b", ValueKind::kInteger, {2, 3, 4}));
  ASSERT_TRUE(Declare("c", ValueKind::kInteger, {2, 3, 4, 5}));
  ASSERT_TRUE(Declare("d", ValueKind::kInteger, {2, 3, 4, 5, 6}));  // a fifth size is ignored
  ASSERT_TRUE(Declare("e", ValueKind::kInteger, {0, -5}));
  using Sizes = TValueArrayCustom::Sizes;
  EXPECT_EQ(Storage("a").StoredSizes(), (Sizes{4, 3, 1, 1}));
  EXPECT_EQ(Storage("b").StoredSizes(), (Sizes{4, 3, 1, 2}));
  EXPECT_EQ(Storage("c").StoredSizes(), (Sizes{5, 4, 2, 3}));
  EXPECT_EQ(Storage("d").StoredSizes(), (Sizes{5, 4, 2, 3}));
  EXPECT_EQ(Storage("e").StoredSizes(), (Sizes{1, 1, 1, 1}));
  EXPECT_EQ(Storage("a").Count(), 12);
  EXPECT_EQ(Storage("c").Count(), 120);
  EXPECT_EQ(Storage("e").Count(), 1);
}

TEST_F(ValueTableTest, CombinesIndicesRowMajor) {
  ASSERT_TRUE(Declare("a", ValueKind::kInteger, {3, 4}));
  const TValueArrayCustom& a = Storage("a");
  EXPECT_EQ(a.CombinedIndex(At({1, 2})), 6);
  EXPECT_EQ(a.CombinedIndex(At({0, 5})), 5);
  EXPECT_EQ(a.CombinedIndex(At({1, 1})), 5);
  EXPECT_EQ(a.CombinedIndex(At({2})), 8);        // omitted trailing index counts as 0
  EXPECT_EQ(a.CombinedIndex(At({1, 2, 1})), 7);  // an extra dimension has size 1
  EXPECT_EQ(a.CombinedIndex(At({-1, 5})), 1);    // only the combined index is checked
  EXPECT_EQ(a.CombinedIndex(At({})), 0);
  EXPECT_EQ(a.CombinedIndex(At({2, 3})), 11);
  EXPECT_FALSE(a.CombinedIndex(At({3, 0})));
  EXPECT_FALSE(a.CombinedIndex(At({0, -1})));
  EXPECT_FALSE(a.CombinedIndex(At({2147483647, 2147483647, 2147483647, 2147483647})));
  ASSERT_TRUE(Declare("b", ValueKind::kInteger, {2, 3, 4}));
  EXPECT_EQ(Storage("b").CombinedIndex(At({1, 2, 3})), (1 * 3 + 2) * 4 + 3);
  ASSERT_TRUE(Declare("c", ValueKind::kInteger, {2, 3, 4, 5}));
  EXPECT_EQ(Storage("c").CombinedIndex(At({1, 2, 3, 4})), ((1 * 3 + 2) * 4 + 3) * 5 + 4);
  EXPECT_EQ(Storage("c").CombinedIndex(At({1})), 60);
}

// Leading sizes of 1 are sizes like any other, and an access giving all of a
// variable's indices reaches the same element once the table is read back.
TEST_F(ValueTableTest, LeadingSizesOfOneAddressExactlyBeforeAndAfterALoad) {
  ASSERT_TRUE(Declare("a", ValueKind::kInteger, {1, 3, 4}));
  ASSERT_TRUE(Declare("b", ValueKind::kInteger, {1, 2, 3, 4}));
  ASSERT_TRUE(Write("a", At({0, 1, 2}), TReturnValue::FromInteger(77)));
  ASSERT_TRUE(Write("b", At({0, 1, 2, 3}), TReturnValue::FromInteger(99)));
  const auto check = [](TValue& t) {
    EXPECT_EQ(t.Read("a", 0, At({0, 0, 6}), false).integer, 77);
    EXPECT_EQ(t.Read("a", 0, At({0, 1, 2}), false).integer, 77);
    EXPECT_EQ(t.Read("b", 0, At({0, 0, 0, 23}), false).integer, 99);
    EXPECT_EQ(t.Read("b", 0, At({0, 1, 2, 3}), false).integer, 99);
  };
  check(table);
  EXPECT_EQ(Storage("a").CombinedIndex(At({0, 1, 2})), 6);
  EXPECT_EQ(Storage("b").CombinedIndex(At({0, 1, 2, 3})), 23);
  EXPECT_EQ(Storage("a").CombinedIndex(At({0, 2})), 8);  // the omitted last index counts as 0
  base::ByteWriter out;
  ASSERT_TRUE(table.WriteTable(out));
  const base::Bytes bytes = out.Take();
  base::ByteReader in(bytes);
  TValue loaded;
  loaded.ReadTable(in);
  check(loaded);
}

TEST_F(ValueTableTest, ElementsAddressedTwoWaysAreTheSame) {
  ASSERT_TRUE(Declare("a", ValueKind::kInteger, {3, 4}));
  ASSERT_TRUE(Write("a", At({1, 1}), TReturnValue::FromInteger(42)));
  EXPECT_EQ(Read("a", At({0, 5})).integer, 42);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ValueTableTest, RefusesArraysBeyondTheElementLimit) {
  EXPECT_FALSE(Declare("big", ValueKind::kString, {1024, 1025}));
  EXPECT_FALSE(Declare("huge", ValueKind::kInteger, {65536, 65536, 65536, 65536}));
  EXPECT_TRUE(Declare("fits", ValueKind::kInteger, {1024, 1024}));
  EXPECT_EQ(table.Find("big", 0), TValue::kNotFound);
  EXPECT_EQ(sink.messages, (std::vector<std::string>{Sjis("配列の要素数が多すぎます：") + "big",
                                                     Sjis("配列の要素数が多すぎます：") + "huge"}));
}

TEST_F(ValueTableTest, DeclarationFailsForBadNamesKeysKindsAndDuplicates) {
  EXPECT_FALSE(Declare("", ValueKind::kInteger));
  EXPECT_FALSE(Declare(std::string(TValue::kMaxNameBytes + 1, 'n'), ValueKind::kInteger));
  EXPECT_FALSE(Declare("k", ValueKind::kInteger, {}, -1));
  EXPECT_FALSE(Declare("k", ValueKind::kInteger, {}, 32768));
  EXPECT_FALSE(Declare("k", ValueKind::kRawToken));
  EXPECT_FALSE(Declare("k", ValueKind::kNone));
  ASSERT_TRUE(Declare("k", ValueKind::kInteger));
  EXPECT_FALSE(Declare("K", ValueKind::kString));
  EXPECT_TRUE(Declare("K", ValueKind::kString, {}, 1));  // another key is another variable
  EXPECT_TRUE(Declare("k2", ValueKind::kInteger, {}, 32767));
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ValueTableTest, NewVariablesTakeTheLastFreeSlot) {
  for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(Declare(name, ValueKind::kInteger));
  ASSERT_EQ(table.Slots().size(), 32u);
  EXPECT_EQ(table.Find("a", 0), 0);
  EXPECT_EQ(table.Find("b", 0), 31);
  EXPECT_EQ(table.Find("c", 0), 30);
  ASSERT_TRUE(table.Delete("b", 0, false));
  ASSERT_TRUE(Declare("d", ValueKind::kInteger));
  EXPECT_EQ(table.Find("d", 0), 31);
}

TEST_F(ValueTableTest, GrowsByThirtyTwoSlotsAndUsesTheFirstNewOne) {
  for (int i = 0; i < 33; ++i) ASSERT_TRUE(Declare("v" + std::to_string(i), ValueKind::kInteger));
  ASSERT_EQ(table.Slots().size(), 64u);
  EXPECT_EQ(table.Find("v31", 0), 1);
  EXPECT_EQ(table.Find("v32", 0), 32);
}

TEST_F(ValueTableTest, FindsNamesIgnoringLetterCaseAndByKey) {
  ASSERT_TRUE(Declare("Counter", ValueKind::kInteger, {}, 2));
  EXPECT_NE(table.Find("cOUNTER", 2), TValue::kNotFound);
  EXPECT_EQ(table.Find("counter", 0), TValue::kNotFound);
  EXPECT_EQ(table.Find("counte", 2), TValue::kNotFound);
}

TEST_F(ValueTableTest, ReadsGiveTheKindOfTheStorage) {
  ASSERT_TRUE(Declare("i", ValueKind::kInteger));
  ASSERT_TRUE(Declare("s", ValueKind::kString));
  ASSERT_TRUE(Write("i", {}, TReturnValue::FromInteger(-12)));
  ASSERT_TRUE(Write("s", {}, TReturnValue::FromString("$1F")));
  TReturnValue i = Read("i");
  EXPECT_EQ(i.kind, ValueKind::kInteger);
  EXPECT_EQ(i.integer, -12);
  EXPECT_EQ(i.Text(), "-12");
  TReturnValue s = Read("s");
  EXPECT_EQ(s.kind, ValueKind::kString);
  EXPECT_EQ(s.Text(), "$1F");
  EXPECT_EQ(s.integer, 31);
}

TEST_F(ValueTableTest, WritesConvertToTheKindOfTheStorage) {
  ASSERT_TRUE(Declare("i", ValueKind::kInteger));
  ASSERT_TRUE(Declare("s", ValueKind::kString));
  ASSERT_TRUE(Write("i", {}, TReturnValue::FromString("12abc")));
  EXPECT_EQ(Read("i").integer, 0);
  ASSERT_TRUE(Write("i", {}, TReturnValue::FromString("$1F")));
  EXPECT_EQ(Read("i").integer, 31);
  ASSERT_TRUE(Write("s", {}, TReturnValue::FromInteger(77)));
  EXPECT_EQ(Read("s").Text(), "77");
  ASSERT_TRUE(Write("s", {}, TReturnValue::FromObjectName("bg,0")));
  EXPECT_EQ(Read("s").Text(), "bg,0");
}

TEST_F(ValueTableTest, ReportsMissingVariablesRightsAndRanges) {
  ASSERT_TRUE(Declare("ro", ValueKind::kInteger, {2}, 0, kReadable));
  ASSERT_TRUE(Declare("wo", ValueKind::kInteger, {2}, 0, kWritable));
  EXPECT_TRUE(Read("none").IsNone());
  EXPECT_FALSE(Write("none", {}, TReturnValue::FromInteger(1)));
  EXPECT_TRUE(Read("wo").IsNone());
  EXPECT_FALSE(Write("ro", {}, TReturnValue::FromInteger(1)));
  EXPECT_FALSE(Write("wo", At({2}), TReturnValue::FromInteger(1)));
  EXPECT_TRUE(Read("ro", At({2})).IsNone());
  EXPECT_EQ(sink.messages, (std::vector<std::string>{
                               Sjis("変数が宣言されていません:") + "none",
                               Sjis("変数が宣言されていません:") + "none",
                               Sjis("この変数は読み込めません:") + "wo",
                               Sjis("この変数には書き込めません:") + "ro",
                               Sjis("変数の書き込みに失敗しました:") + "wo",
                               Sjis("範囲外の配列にアクセスしました") + "ro",
                           }));
}

TEST_F(ValueTableTest, IgnoringRightsReadsAndWritesAnyVariable) {
  ASSERT_TRUE(Declare("sealed", ValueKind::kInteger, {}, 0, 0));
  EXPECT_TRUE(table.Write("sealed", 0, {}, TReturnValue::FromInteger(9), true));
  EXPECT_EQ(table.Read("sealed", 0, {}, true).integer, 9);
  EXPECT_FALSE(table.Write("sealed", 0, At({1}), TReturnValue::FromInteger(9), true));
  EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(ValueTableTest, ReportsNothingWhileReportingIsOff) {
  table.SetReporting(false);
  ASSERT_TRUE(Declare("ro", ValueKind::kInteger, {}, 0, kReadable));
  EXPECT_TRUE(Read("none").IsNone());
  EXPECT_FALSE(Write("ro", {}, TReturnValue::FromInteger(1)));
  EXPECT_FALSE(table.Delete("ro", 0, false));
  EXPECT_FALSE(Declare("big", ValueKind::kInteger, {2000, 2000}));
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ValueTableTest, DeletesOnlyDeletableVariablesUnlessForced) {
  ASSERT_TRUE(Declare("keep", ValueKind::kInteger, {}, 0, kReadable | kWritable));
  ASSERT_TRUE(Declare("drop", ValueKind::kInteger));
  EXPECT_FALSE(table.Delete("missing", 0, false));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_FALSE(table.Delete("keep", 0, false));
  EXPECT_EQ(sink.messages, std::vector<std::string>{Sjis("この変数は削除出来ません:") + "keep"});
  EXPECT_TRUE(table.Delete("DROP", 0, false));
  EXPECT_TRUE(table.Delete("keep", 0, true));
  EXPECT_EQ(table.Find("keep", 0), TValue::kNotFound);
  EXPECT_EQ(table.FreedCount(), 2);
}

TEST_F(ValueTableTest, DeletingThirtyTwoVariablesCompactsAndKeepsOrderAndValues) {
  for (int i = 0; i < 40; ++i) {
    std::string name = "v" + std::to_string(i);
    ASSERT_TRUE(Declare(name, ValueKind::kInteger));
    ASSERT_TRUE(Write(name, {}, TReturnValue::FromInteger(i * 10)));
  }
  for (int i = 0; i < 31; ++i) ASSERT_TRUE(table.Delete("v" + std::to_string(i), 0, false));
  EXPECT_EQ(table.FreedCount(), 31);
  EXPECT_EQ(table.Slots().size(), 64u);
  ASSERT_TRUE(table.Delete("v31", 0, false));
  EXPECT_EQ(table.FreedCount(), 0);
  ASSERT_EQ(table.Slots().size(), 8u);
  std::vector<std::string> remaining;
  for (const ValueSlot& slot : table.Slots()) remaining.push_back(slot.storage->Name());
  // v32..v39 were given slots 32, 63, 62 ... 57 and keep that order.
  EXPECT_EQ(remaining,
            (std::vector<std::string>{"v32", "v39", "v38", "v37", "v36", "v35", "v34", "v33"}));
  for (int i = 32; i < 40; ++i) EXPECT_EQ(Read("v" + std::to_string(i)).integer, i * 10);
}

TEST_F(ValueTableTest, DeleteDeeperLocalsFreesKeysAboveTheDepth) {
  for (int key = 0; key < 4; ++key) ASSERT_TRUE(Declare("l", ValueKind::kInteger, {}, key));
  table.DeleteDeeperLocals(1);
  EXPECT_NE(table.Find("l", 0), TValue::kNotFound);
  EXPECT_NE(table.Find("l", 1), TValue::kNotFound);
  EXPECT_EQ(table.Find("l", 2), TValue::kNotFound);
  EXPECT_EQ(table.Find("l", 3), TValue::kNotFound);
  EXPECT_EQ(table.FreedCount(), 2);
}

TEST_F(ValueTableTest, ClearFreesEverythingAndZeroesTheFlags) {
  ASSERT_TRUE(Declare("x", ValueKind::kInteger));
  ASSERT_TRUE(DeclareObjects("bg", "img", {2}));
  table.FlagBits()[5] = 0x80;
  table.Clear();
  EXPECT_TRUE(table.Slots().empty());
  EXPECT_EQ(table.FlagBits()[5], 0u);
  EXPECT_TRUE(host.objects.empty());
}

TEST_F(ValueTableTest, ObjectVariablesCreateAndFreeTheirObjects) {
  ASSERT_TRUE(DeclareObjects("bg", "img", {2}));
  EXPECT_EQ(host.log, (std::vector<std::string>{"create img bg,0", "create img bg,1"}));
  TReturnValue second = Read("bg", At({1}));
  EXPECT_EQ(second.kind, ValueKind::kObjectName);
  EXPECT_EQ(second.Text(), "bg,1");
  EXPECT_EQ(second.integer, 0);
  ASSERT_TRUE(table.Delete("bg", 0, false));
  EXPECT_EQ(host.log, (std::vector<std::string>{"create img bg,0", "create img bg,1", "free bg,0",
                                                "free bg,1"}));
  EXPECT_TRUE(host.objects.empty());
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ValueTableTest, ObjectVariablesAreNotWritableForScripts) {
  ASSERT_TRUE(DeclareObjects("bg", "img", {}));
  EXPECT_FALSE(Write("bg", {}, TReturnValue::FromString("other")));
  EXPECT_EQ(sink.messages, std::vector<std::string>{Sjis("この変数には書き込めません:") + "bg"});
}

TEST_F(ValueTableTest, FailedCreationIsReportedAndNeverFreesAnotherObject) {
  ASSERT_TRUE(host.CreateObject("msg", "win,0"));
  ASSERT_TRUE(DeclareObjects("win", "img", {2}));
  ASSERT_TRUE(DeclareObjects("odd", "nokind", {}));
  EXPECT_EQ(sink.messages,
            (std::vector<std::string>{Sjis("Objectの生成に失敗しました：") + "win,0",
                                      Sjis("Objectの生成に失敗しました：") + "odd,0"}));
  ASSERT_TRUE(table.Delete("win", 0, false));
  ASSERT_TRUE(table.Delete("odd", 0, false));
  EXPECT_NE(host.FindObject("win,0"), nullptr);
  EXPECT_EQ(host.FindObject("win,1"), nullptr);
  EXPECT_EQ(sink.messages.size(), 2u);
}

TEST_F(ValueTableTest, FreeingAnObjectThatIsGoneIsReported) {
  ASSERT_TRUE(DeclareObjects("bg", "img", {}));
  host.objects.clear();
  ASSERT_TRUE(table.Delete("bg", 0, false));
  EXPECT_EQ(sink.messages, std::vector<std::string>{Sjis("Objectの解放に失敗しました：") + "bg,0"});
}

TEST_F(ValueTableTest, ReferenceObjectVariablesOnlyHoldNames) {
  ASSERT_TRUE(DeclareObjects("ResultBtn", "", {2}, true));
  EXPECT_TRUE(host.log.empty());
  EXPECT_EQ(Read("resultbtn", At({1})).Text(), "");
  ASSERT_TRUE(table.Write("ResultBtn", 0, At({1}), TReturnValue::FromObjectName("btn,3"), true));
  EXPECT_EQ(Read("ResultBtn", At({1})).Text(), "btn,3");
  ASSERT_TRUE(table.Delete("ResultBtn", 0, true));
  EXPECT_TRUE(host.log.empty());
}

TEST_F(ValueTableTest, WritingANameIntoObjectStorageCreatesAndFreesNothing) {
  ASSERT_TRUE(DeclareObjects("bg", "img", {}));
  ASSERT_TRUE(table.Write("bg", 0, {}, TReturnValue::FromString("elsewhere"), true));
  EXPECT_EQ(Read("bg").Text(), "elsewhere");
  EXPECT_EQ(host.log, std::vector<std::string>{"create img bg,0"});
  ASSERT_TRUE(table.Delete("bg", 0, false));
  // The element still owns the object it created.
  EXPECT_EQ(host.log.back(), "free bg,0");
}

TEST_F(ValueTableTest, LookupsStayInStepThroughDeletesCompactionLoadsAndUnwinding) {
  constexpr int kGlobals = 40;
  constexpr int kDeepest = 5;
  std::vector<std::string> names;
  for (int i = 0; i < kGlobals; ++i) {
    names.push_back("g" + std::to_string(i));
    ASSERT_TRUE(Declare(names.back(), ValueKind::kInteger));
    ASSERT_TRUE(Write(names.back(), {}, TReturnValue::FromInteger(i)));
  }
  names.push_back("Param");
  for (int key = 1; key <= kDeepest; ++key) {
    ASSERT_TRUE(Declare("Param", ValueKind::kInteger, {}, key));
    ASSERT_TRUE(table.Write("param", key, {}, TReturnValue::FromInteger(100 + key), false));
  }
  ExpectLookupsMatchAScan(names, kDeepest + 1);
  ASSERT_TRUE(table.Delete("g5", 0, false));  // a hole in the middle
  ExpectLookupsMatchAScan(names, kDeepest + 1);
  for (int i = 6; i < 37; ++i) ASSERT_TRUE(table.Delete(names[i], 0, false));
  ASSERT_EQ(table.FreedCount(), 0);  // compacted: the later slots moved down
  ExpectLookupsMatchAScan(names, kDeepest + 1);
  ASSERT_TRUE(Declare("G5", ValueKind::kString));
  ASSERT_TRUE(Declare("g20", ValueKind::kInteger));
  ExpectLookupsMatchAScan(names, kDeepest + 1);

  base::ByteWriter out;
  ASSERT_TRUE(table.WriteTable(out));
  base::Bytes bytes = out.Take();
  ASSERT_TRUE(Declare("g6", ValueKind::kInteger));  // loading the stream drops it again
  base::ByteReader in(bytes);
  table.ReadTable(in);
  ExpectLookupsMatchAScan(names, kDeepest + 1);
  table.DeleteDeeperLocals(2);
  ExpectLookupsMatchAScan(names, kDeepest + 1);

  for (int i : {0, 4, 37, 39}) EXPECT_EQ(Read(names[i]).integer, i);
  EXPECT_EQ(Read("g5").kind, ValueKind::kString);
  EXPECT_EQ(Read("g20").integer, 0);
  for (int i = 6; i < 37; ++i) {
    if (i != 20) {
      EXPECT_EQ(table.Find(names[i], 0), TValue::kNotFound) << names[i];
    }
  }
  for (int key = 1; key <= 2; ++key) {
    EXPECT_EQ(table.Read("PARAM", key, {}, false).integer, 100 + key);
  }
  for (int key = 3; key <= kDeepest; ++key) EXPECT_EQ(table.Find("param", key), TValue::kNotFound);
  EXPECT_TRUE(sink.messages.empty());

  table.Clear();
  ExpectLookupsMatchAScan(names, kDeepest + 1);
  for (const std::string& name : names) EXPECT_TRUE(Declare(name, ValueKind::kInteger)) << name;
}

// A loaded table may repeat a name under one key, or store a hash that is not
// the name's own: the first slot in order whose hash matches is the one found.
TEST_F(ValueTableTest, LoadedRepeatsAndForeignHashesFindTheFirstMatchingSlot) {
  constexpr uint32_t kForeignHash = 12345;
  base::ByteWriter w;
  w.I32(3);
  const auto slot = [&w](std::string_view name, uint32_t hash, int32_t value) {
    w.U8(0).U8(0).Str16(name).Str16("").U16(0).U16(255).U32(hash);
    w.I32(1).I32(1).I32(1).I32(1).I32(1).I32(value);
  };
  slot("Dup", NameHash("dup"), 1);
  slot("dup", NameHash("dup"), 2);
  slot("odd", kForeignHash, 3);
  w.Zeros(TValue::kFlagWords * 4);
  base::Bytes bytes = w.Take();
  base::ByteReader in(bytes);
  table.ReadTable(in);

  EXPECT_EQ(table.Find("DUP", 0), 0);
  EXPECT_EQ(Read("dup").integer, 1);
  EXPECT_EQ(table.Find("odd", 0), TValue::kNotFound);
  EXPECT_EQ(table.Find("ODD", kForeignHash, 0), 2);
  ASSERT_TRUE(Declare("Odd", ValueKind::kInteger));  // the loaded one is invisible by name
  EXPECT_EQ(table.Find("odd", 0), 3);
  ASSERT_TRUE(table.Delete("dup", 0, false));
  EXPECT_EQ(table.Find("dup", 0), 1);
  EXPECT_EQ(Read("dup").integer, 2);
  ASSERT_TRUE(table.Delete("odd", 0, false));
  EXPECT_EQ(table.Find("odd", 0), TValue::kNotFound);
  EXPECT_EQ(table.Find("odd", kForeignHash, 0), 2);
  // Keys no slot can hold, including ones that would wrap to 0 as 16 bits.
  EXPECT_EQ(table.Find("dup", ValueSlot::kFreeKey), TValue::kNotFound);
  EXPECT_EQ(table.Find("dup", 65536), TValue::kNotFound);
  ExpectLookupsMatchAScan({"dup", "odd"}, 1);
}

}  // namespace
}  // namespace mavu::script
