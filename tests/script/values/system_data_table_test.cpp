#include <gtest/gtest.h>

#include <vector>

#include "base/file_io.h"
#include "resource/bpe.h"
#include "resource/scramble.h"
#include "resource/sealed_stream.h"
#include "resource/system_data.h"
#include "script/values/value.h"
#include "support/hostile_data.h"
#include "support/script/fake_script_host.h"
#include "support/temp_dir.h"

namespace mavu::script {
namespace {

using base::Bytes;

constexpr uint32_t kKey = 0xABCDEF;

// The system table as the interpreter hands it to system data.
class TableStream : public resource::SystemVariableStream {
 public:
  explicit TableStream(TValue& table) : table_(table) {}
  bool WriteVariables(base::ByteWriter& out) override { return table_.WriteTable(out); }
  void ReadVariables(base::ByteReader& in) override { table_.ReadTable(in); }

 private:
  TValue& table_;
};

class SystemDataTableTest : public ::testing::Test {
 protected:
  SystemDataTableTest() {
    table_.SetErrorSink(&sink_);
    Declare("Cleared", ValueKind::kInteger, {3});
    Declare("Name", ValueKind::kString, {});
    table_.Write("Cleared", 0, Index(2), TReturnValue::FromInteger(-7), false);
    table_.Write("Name", 0, Index(0), TReturnValue::FromString("abc"), false);
  }

  void Declare(std::string_view name, ValueKind kind, std::vector<int32_t> sizes) {
    VariableSpec spec;
    spec.name = name;
    spec.valueKind = kind;
    spec.sizes = sizes;
    ASSERT_TRUE(table_.Declare(spec));
  }

  static ArrayIndex Index(int32_t at) {
    ArrayIndex index;
    index.at[0] = at;
    index.count = 1;
    return index;
  }

  test::FakeErrorSink sink_;
  TValue table_;
  TableStream stream_{table_};
  ::mavu::test::TempDir dir_;
};

TEST_F(SystemDataTableTest, TheVariableBlockIsTheTableStreamPackedAndScrambled) {
  resource::SystemData data(dir_.Path(), kKey, stream_);
  const auto file = data.BuildFile();
  ASSERT_TRUE(file);
  base::ByteReader in(*file);
  const auto payload = resource::UnsealStream(in);
  ASSERT_TRUE(payload);
  base::ByteReader blocks(*payload);
  Bytes packed = blocks.Take(blocks.U32());
  resource::ScrambleBlocks(packed, resource::ScrambleDirection::kUnscramble, kKey);
  base::ByteWriter expected;
  ASSERT_TRUE(table_.WriteTable(expected));
  EXPECT_EQ(resource::BpeExpand(packed), expected.Data());
}

TEST_F(SystemDataTableTest, SystemVariablesSurviveAFile) {
  resource::SystemData data(dir_.Path(), kKey, stream_);
  data.EnableSaving();
  ASSERT_TRUE(data.SaveSystemData("SystemData.dat"));

  TValue loaded;
  TableStream loadedStream(loaded);
  resource::SystemData other(dir_.Path(), kKey, loadedStream);
  ASSERT_TRUE(other.LoadSystemData("SystemData.dat")) << other.LastError();
  EXPECT_EQ(loaded.Read("cleared", 0, Index(2), false).integer, -7);
  EXPECT_EQ(loaded.Read("NAME", 0, Index(0), false).Text(), "abc");
  EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(SystemDataTableTest, ADamagedTableStreamFailsTheLoadAndLeavesTheTableEmpty) {
  base::ByteWriter variables;
  variables.U32(1).U8(0);  // one slot, cut short after its value kind
  const Bytes file = ::mavu::test::SystemDataFile(resource::BpeCompress(variables.Data()), kKey);

  resource::SystemData data(dir_.Path(), kKey, stream_);
  EXPECT_FALSE(data.LoadFromBytes(file));
  EXPECT_FALSE(data.LastError().empty());
  EXPECT_EQ(table_.Find("Name", 0), TValue::kNotFound);
}

}  // namespace
}  // namespace mavu::script
