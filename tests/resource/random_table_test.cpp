#include "resource/random_table.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "base/byte_writer.h"
#include "resource/data_tree.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using base::Bytes;

// A whole table file whose entry i is first + i * step (wrapping).
Bytes TableFile(uint32_t first, uint32_t step) {
  base::ByteWriter out;
  for (uint32_t i = 0; i < RandomTable::kSize; ++i) out.U32(first + i * step);
  return out.Take();
}

// A whole table file with the given leading entries, the rest 0.
Bytes TableFile(std::initializer_list<uint32_t> values) {
  base::ByteWriter out;
  for (uint32_t v : values) out.U32(v);
  out.Zeros(RandomTable::kFileBytes - out.Size());
  return out.Take();
}

TEST(RandomTable, StartsZeroed) {
  RandomTable table;
  EXPECT_EQ(table.Draw(0), 0);
  EXPECT_EQ(table.Draw(100), 0);
  // 0 mod 10 minus 10 / 2.
  EXPECT_EQ(table.Draw(-10), -5);
  EXPECT_EQ(table.Draw(-7), -3);
}

TEST(RandomTable, AMissingFileChangesNothing) {
  RandomTable table;
  ASSERT_TRUE(table.Load(TableFile({0, 42})));
  table.Draw(0);
  EXPECT_FALSE(table.Load(std::nullopt));
  EXPECT_EQ(table.Value(1), 42u);
  EXPECT_EQ(table.Cursor(), 1u);
}

TEST(RandomTable, ADrawAdvancesFirstThenReadsTheEntry) {
  RandomTable table;
  table.Load(TableFile({999, 1000, 7, 17, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}));
  EXPECT_EQ(table.Draw(7), 6);                   // entry 1: 1000 mod 7
  EXPECT_EQ(table.Draw(0), 0);                   // entry 2 is used up all the same
  EXPECT_EQ(table.Draw(-10), 2);                 // entry 3: 17 mod 10 - 5
  EXPECT_EQ(table.Draw(1), 0);                   // entry 4
  EXPECT_EQ(table.Draw(INT32_MAX), 1);           // 0xFFFFFFFF mod 0x7FFFFFFF
  EXPECT_EQ(table.Draw(INT32_MIN), 1073741823);  // 0x7FFFFFFF - 0x40000000
  EXPECT_EQ(table.Draw(-1), 0);                  // 0 - 0
  EXPECT_EQ(table.Cursor(), 7u);
}

TEST(RandomTable, NegativeBoundsCentreOnZero) {
  RandomTable table;
  table.Load(TableFile({0, 0, 6, 3, 2}));
  EXPECT_EQ(table.Draw(-7), -3);  // 0 mod 7 - 3
  EXPECT_EQ(table.Draw(-7), 3);   // 6 mod 7 - 3
  EXPECT_EQ(table.Draw(-3), -1);  // 3 mod 3 - 1
  EXPECT_EQ(table.Draw(-3), 1);   // 2 mod 3 - 1
}

TEST(RandomTable, TheCursorWrapsAt1024) {
  RandomTable table;
  table.Load(TableFile(5, 3));
  for (int i = 0; i < 1022; ++i) table.Draw(0);
  EXPECT_EQ(table.Cursor(), 1022u);
  EXPECT_EQ(table.Draw(100000), static_cast<int32_t>(5 + 1023 * 3));
  EXPECT_EQ(table.Draw(100000), 5);  // entry 0 comes last in each round
  EXPECT_EQ(table.Cursor(), 0u);
  EXPECT_EQ(table.Draw(100000), 8);
}

TEST(RandomTable, AShortFileFillsWhatItReaches) {
  RandomTable table;
  table.Load(TableFile(1, 1));
  table.Draw(0);
  table.Load(Bytes{0x01, 0x02, 0x03, 0x04, 0xAA, 0xBB});
  EXPECT_EQ(table.Value(0), 0x04030201u);
  EXPECT_EQ(table.Value(1), 0xBBAAu);
  EXPECT_EQ(table.Value(2), 0u);
  EXPECT_EQ(table.Value(1023), 0u);
  EXPECT_EQ(table.Cursor(), 0u);
}

TEST(RandomTable, ALongerFileUsesTheFirst4096Bytes) {
  Bytes file = TableFile(10, 1);
  base::ByteWriter tail;
  tail.U32(77);
  file.insert(file.end(), tail.Data().begin(), tail.Data().end());
  RandomTable table;
  table.Load(file);
  EXPECT_EQ(table.Value(0), 10u);
  EXPECT_EQ(table.Value(1023), 1033u);
}

TEST(RandomTable, LoadsThroughTheDataTree) {
  test::TempDir dir;
  dir.Write("System/ETC/randomtable.dat", TableFile({0, 31}));
  DataTree tree;
  tree.SetProgramDirectory(dir.Path());
  RandomTable table;
  ASSERT_TRUE(table.Load(tree.OpenDataFile(kRandomTablePath)));
  EXPECT_EQ(table.Draw(100), 31);
}

TEST(RandomTable, OneTableForTheProcess) {
  EXPECT_EQ(&TheRandomTable(), &TheRandomTable());
}

}  // namespace
}  // namespace mavu::resource
