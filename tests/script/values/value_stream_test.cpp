#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/values/value.h"
#include "support/script/fake_script_host.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::FakeErrorSink;
using test::FakeObjectHost;
using test::Sjis;

struct Table {
  Table() {
    table.SetErrorSink(&sink);
    table.SetObjectHost(&host);
  }

  FakeErrorSink sink;
  FakeObjectHost host;
  TValue table;
};

void Declare(TValue& table, std::string_view name, ValueKind kind, std::vector<int32_t> sizes,
             std::string_view kindName = {}, bool reference = false,
             int16_t attributes = kValueVariableRights, int32_t key = 0) {
  VariableSpec spec;
  spec.name = name;
  spec.kindName = kindName;
  spec.reference = reference;
  spec.attributes = attributes;
  spec.valueKind = kind;
  spec.key = key;
  spec.sizes = sizes;
  ASSERT_TRUE(table.Declare(spec));
}

ArrayIndex At(int32_t i) {
  ArrayIndex index;
  index.at[0] = i;
  index.count = 1;
  return index;
}

// a = 7; bg: one img object whose state is "st"; s[2] = "x", "yz"; a deleted
// variable that leaves a free slot; two flag words set.
void FillSample(Table& t) {
  Declare(t.table, "a", ValueKind::kInteger, {});
  Declare(t.table, "gone", ValueKind::kInteger, {});
  Declare(t.table, "s", ValueKind::kString, {2});
  Declare(t.table, "bg", ValueKind::kObjectName, {}, "img", false, kObjectVariableRights);
  ASSERT_TRUE(t.table.Delete("gone", 0, false));
  ASSERT_TRUE(t.table.Write("a", 0, {}, TReturnValue::FromInteger(7), false));
  ASSERT_TRUE(t.table.Write("s", 0, At(0), TReturnValue::FromString("x"), false));
  ASSERT_TRUE(t.table.Write("s", 0, At(1), TReturnValue::FromString("yz"), false));
  t.host.Object("bg,0")->state = "st";
  t.table.FlagBits()[0] = 0x01020304;
  t.table.FlagBits()[127] = 0xFFFFFFFF;
}

// The slots after compaction: a (slot 0), bg (slot 29), s (slot 30).
base::Bytes SampleBytes() {
  base::ByteWriter w;
  w.I32(3);
  w.U8(0).U8(0).Str16("a").Str16("").U16(0).U16(255).U32(97);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).I32(7);
  w.U8(2).U8(0).Str16("bg").Str16("img").U16(0).U16(253).U32(98 + 103 * 2);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).Str16("bg,0").Str16("st");
  w.U8(1).U8(0).Str16("s").Str16("").U16(0).U16(255).U32(115);
  w.I32(2).I32(1).I32(1).I32(1).I32(2).Str16("x").Str16("yz");
  w.U32(0x01020304);
  for (int i = 1; i < 127; ++i) w.U32(0);
  w.U32(0xFFFFFFFF);
  return w.Take();
}

base::Bytes Write(TValue& table) {
  base::ByteWriter out;
  EXPECT_TRUE(table.WriteTable(out));
  return out.Take();
}

TEST(ValueTableStream, WritesTheSlotsByteForByte) {
  Table t;
  FillSample(t);
  EXPECT_EQ(Write(t.table), SampleBytes());
  EXPECT_EQ(t.table.Slots().size(), 3u);  // writing compacted the table
  EXPECT_EQ(t.table.FreedCount(), 0);
}

TEST(ValueTableStream, ReadsHandMadeBytesAndRecreatesObjects) {
  Table t;
  base::Bytes bytes = SampleBytes();
  base::ByteReader in(bytes);
  t.table.ReadTable(in);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(t.table.Read("a", 0, {}, false).integer, 7);
  EXPECT_EQ(t.table.Read("s", 0, At(1), false).Text(), "yz");
  EXPECT_EQ(t.table.Read("bg", 0, {}, false).Text(), "bg,0");
  ASSERT_NE(t.host.Object("bg,0"), nullptr);
  EXPECT_EQ(t.host.Object("bg,0")->state, "st");
  EXPECT_EQ(t.host.Object("bg,0")->KindName(), "img");
  EXPECT_EQ(t.table.FlagBits()[0], 0x01020304u);
  EXPECT_EQ(t.table.FlagBits()[127], 0xFFFFFFFFu);
  EXPECT_EQ(Write(t.table), bytes);
  // The read objects belong to the variable.
  ASSERT_TRUE(t.table.Delete("bg", 0, false));
  EXPECT_TRUE(t.host.objects.empty());
  EXPECT_TRUE(t.sink.messages.empty());
}

TEST(ValueTableStream, ReadingReplacesWhatTheTableHeld) {
  Table t;
  Declare(t.table, "old", ValueKind::kObjectName, {}, "img", false, kObjectVariableRights);
  base::Bytes bytes = SampleBytes();
  base::ByteReader in(bytes);
  t.table.ReadTable(in);
  EXPECT_EQ(t.table.Find("old", 0), TValue::kNotFound);
  EXPECT_EQ(t.host.FindObject("old,0"), nullptr);
}

TEST(ValueTableStream, WritesMultiDimensionalSizesKeysAndReferenceStorage) {
  Table t;
  Declare(t.table, "m", ValueKind::kInteger, {3, 4}, {}, false, kReadable, 5);
  Declare(t.table, "ResultBtn", ValueKind::kObjectName, {}, "", true, kReadable);
  ASSERT_TRUE(t.table.Write("ResultBtn", 0, {}, TReturnValue::FromObjectName("b,1"), true));
  ArrayIndex last;
  last.at = {2, 3};
  last.count = 2;
  ASSERT_TRUE(t.table.Write("m", 5, last, TReturnValue::FromInteger(-2), true));
  base::ByteWriter w;
  w.I32(2);
  w.U8(0).U8(0).Str16("m").Str16("").U16(5).U16(1).U32(109);
  w.I32(4).I32(3).I32(1).I32(1).I32(12);
  for (int i = 0; i < 11; ++i) w.I32(0);
  w.I32(-2);
  uint32_t hash = 0;
  std::string lower = "resultbtn";
  for (size_t i = 0; i < lower.size(); ++i) hash += static_cast<uint8_t>(lower[i]) * (i + 1);
  w.U8(2).U8(1).Str16("ResultBtn").Str16("").U16(0).U16(1).U32(hash);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).Str16("b,1");
  w.Zeros(512);
  EXPECT_EQ(Write(t.table), w.Data());
}

TEST(ValueTableStream, AnEmptyTableIsACountAndTheFlags) {
  Table t;
  base::Bytes bytes = Write(t.table);
  ASSERT_EQ(bytes.size(), 4u + 512u);
  EXPECT_EQ(bytes, base::Bytes(516, 0));
}

TEST(ValueTableStream, AnObjectThatCannotWriteItsStateFailsTheWrite) {
  Table t;
  Declare(t.table, "bg", ValueKind::kObjectName, {}, "img", false, kObjectVariableRights);
  t.host.Object("bg,0")->failSave = true;
  base::ByteWriter out;
  EXPECT_FALSE(t.table.WriteTable(out));
}

TEST(ValueTableStream, AnElementWithoutAnObjectWritesNoState) {
  Table t;
  Declare(t.table, "bg", ValueKind::kObjectName, {}, "img", false, kObjectVariableRights);
  t.host.objects.clear();
  base::Bytes bytes = Write(t.table);
  base::ByteWriter w;
  w.I32(1).U8(2).U8(0).Str16("bg").Str16("img").U16(0).U16(253).U32(304);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).Str16("bg,0").Zeros(512);
  EXPECT_EQ(bytes, w.Data());
}

// Reading bytes that must fail leaves the table empty and no object behind.
void ExpectRefused(const base::Bytes& bytes) {
  Table t;
  Declare(t.table, "before", ValueKind::kInteger, {});
  base::ByteReader in(bytes);
  EXPECT_THROW(t.table.ReadTable(in), base::FormatError);
  EXPECT_TRUE(t.table.Slots().empty());
  EXPECT_TRUE(t.host.objects.empty());
}

TEST(ValueTableStream, EveryTruncationFailsCleanly) {
  base::Bytes bytes = SampleBytes();
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    ExpectRefused(base::Bytes(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(length)));
  }
}

base::ByteWriter OneSlotHeader(uint8_t kind, std::string_view name) {
  base::ByteWriter w;
  w.I32(1).U8(kind).U8(0).Str16(name).Str16("").U16(0).U16(255).U32(0);
  return w;
}

TEST(ValueTableStream, RefusesSlotCountsBeyondTheStream) {
  base::ByteWriter negative;
  negative.I32(-1).Zeros(512);
  ExpectRefused(negative.Data());
  base::ByteWriter large;
  large.I32(0x7FFFFFFF).Zeros(4096);
  ExpectRefused(large.Data());
  base::ByteWriter noFlags;
  noFlags.I32(0).Zeros(511);
  ExpectRefused(noFlags.Data());
}

TEST(ValueTableStream, ReportsAndRefusesABadValueKind) {
  Table t;
  base::ByteWriter w = OneSlotHeader(3, "odd");
  w.I32(1).I32(1).I32(1).I32(1).I32(1).I32(0).Zeros(512);
  base::ByteReader in(w.Data());
  EXPECT_THROW(t.table.ReadTable(in), base::FormatError);
  EXPECT_EQ(t.sink.messages, std::vector<std::string>{Sjis("変数の型が異常です") + "odd"});
  EXPECT_TRUE(t.table.Slots().empty());
}

TEST(ValueTableStream, RefusesSizesNoDeclarationGives) {
  auto withSizes = [](std::array<int32_t, 4> sizes, int32_t count) {
    base::ByteWriter w = OneSlotHeader(0, "x");
    for (int32_t size : sizes) w.I32(size);
    w.I32(count).Zeros(4096);
    return w.Take();
  };
  ExpectRefused(withSizes({65536, 65536, 65536, 65536}, 0));  // product overflows
  ExpectRefused(withSizes({2048, 1024, 1, 1}, 2048 * 1024));  // beyond the element limit
  ExpectRefused(withSizes({0, 1, 1, 1}, 0));
  ExpectRefused(withSizes({-1, -1, 1, 1}, 1));
  ExpectRefused(withSizes({2, 2, 1, 1}, 3));        // count is not the product
  ExpectRefused(withSizes({2000, 1, 1, 1}, 2000));  // more elements than bytes
}

TEST(ValueTableStream, StopsAtTheElementBudget) {
  // Two stream bytes of an empty string are some 32 in memory.
  constexpr int32_t kElements = TValueArrayCustom::kMaxElements;
  const size_t arrays = TValue::kReadBudgetBytes / (kElements * sizeof(std::string)) + 1;
  base::ByteWriter w;
  w.I32(static_cast<int32_t>(arrays));
  for (size_t i = 0; i < arrays; ++i) {
    w.U8(1).U8(0).Str16("s" + std::to_string(i)).Str16("").U16(0).U16(255).U32(0);
    w.I32(kElements).I32(1).I32(1).I32(1).I32(kElements).Zeros(2 * kElements);
  }
  w.Zeros(512);
  ExpectRefused(w.Data());
}

TEST(ValueTableStream, RefusesAFreeSlotKey) {
  base::ByteWriter w;
  w.I32(1).U8(0).U8(0).Str16("x").Str16("").U16(0xFFFF).U16(255).U32(120);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).I32(0).Zeros(512);
  ExpectRefused(w.Data());
}

TEST(ValueTableStream, AnUnreadableObjectStateFailsAndFreesTheObjectsMadeSoFar) {
  base::ByteWriter w;
  w.I32(1).U8(2).U8(0).Str16("bg").Str16("img").U16(0).U16(253).U32(304);
  w.I32(2).I32(1).I32(1).I32(1).I32(2);
  w.Str16("bg,0").Str16("fine").Str16("bg,1").Str16("unloadable").Zeros(512);
  Table t;
  base::ByteReader in(w.Data());
  EXPECT_THROW(t.table.ReadTable(in), base::FormatError);
  EXPECT_TRUE(t.host.objects.empty());
  EXPECT_EQ(t.host.log, (std::vector<std::string>{"create img bg,0", "create img bg,1", "free bg,0",
                                                  "free bg,1"}));
}

TEST(ValueTableStream, AnObjectOfUnknownKindIsReportedAndRefusesTheStream) {
  base::ByteWriter w;
  w.I32(2).U8(2).U8(0).Str16("bg").Str16("img").U16(0).U16(253).U32(304);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).Str16("bg,0").Str16("st");
  w.U8(2).U8(0).Str16("q").Str16("nokind").U16(0).U16(253).U32(113);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).Str16("q,0").Str16("st").Zeros(512);
  Table t;
  base::ByteReader in(w.Data());
  EXPECT_THROW(t.table.ReadTable(in), base::FormatError);
  EXPECT_EQ(t.sink.messages,
            std::vector<std::string>{Sjis("Objectの生成に失敗しました：") + "q,0"});
  EXPECT_TRUE(t.table.Slots().empty());
  EXPECT_TRUE(t.host.objects.empty());
}

TEST(ValueTableStream, AnObjectThatExistsAlreadyReadsTheStateWithoutBeingOwned) {
  base::ByteWriter w;
  w.I32(1).U8(2).U8(0).Str16("bg").Str16("img").U16(0).U16(253).U32(304);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).Str16("bg,0").Str16("new").Zeros(512);
  Table t;
  ASSERT_TRUE(t.host.CreateObject("img", "bg,0"));
  base::ByteReader in(w.Data());
  t.table.ReadTable(in);
  EXPECT_EQ(t.host.Object("bg,0")->state, "new");
  t.table.Clear();
  EXPECT_NE(t.host.FindObject("bg,0"), nullptr);
}

TEST(ValueTableStream, ObjectsWithEmptyNamesAreOwnedAndFreedToo) {
  base::ByteWriter w;
  w.I32(1).U8(2).U8(0).Str16("e").Str16("img").U16(0).U16(253).U32(101);
  w.I32(1).I32(1).I32(1).I32(1).I32(1).Str16("").Str16("st").Zeros(512);
  Table t;
  base::ByteReader in(w.Data());
  t.table.ReadTable(in);
  EXPECT_EQ(t.host.objects.size(), 1u);
  t.table.Clear();
  EXPECT_TRUE(t.host.objects.empty());
}

}  // namespace
}  // namespace mavu::script
