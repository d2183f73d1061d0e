#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "script/objects/kel_object_data_file.h"
#include "script/values/value.h"
#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

class ObjectStateStreamTest : public ObjectTest {
 protected:
  ObjectStateStreamTest() {
    table_.SetObjectHost(objects_);
    game_.emplace(std::map<std::string, std::string>{{"other.txt", "one\ntwo\n"}});
  }
  ~ObjectStateStreamTest() override { table_.Clear(); }

  void DeclareFileVariable() {
    VariableSpec spec;
    spec.name = "doc";
    spec.kindName = "file";
    spec.attributes = kObjectVariableRights;
    spec.valueKind = ValueKind::kObjectName;
    ASSERT_TRUE(table_.Declare(spec));
  }

  TKelObjectDataFile* Document() {
    return dynamic_cast<TKelObjectDataFile*>(objects_->Find("doc,0"));
  }

  base::Bytes Written() {
    base::ByteWriter out;
    EXPECT_TRUE(table_.WriteTable(out));
    return out.Take();
  }

  TValue table_;
};

TEST_F(ObjectStateStreamTest, AFileObjectWritesItsFileNameAfterItsElementName) {
  DeclareFileVariable();
  ASSERT_NE(Document(), nullptr);
  ASSERT_TRUE(Document()->File().Load("other.txt"));

  base::ByteWriter expected;
  expected.U32(1);                           // one slot
  expected.U8(2).U8(0);                      // object names, not a reference
  expected.U16(3).Text("doc");               // variable name
  expected.U16(4).Text("file");              // kind name
  expected.U16(0).U16(253);                  // key, attributes
  expected.U32(100 * 1 + 111 * 2 + 99 * 3);  // the hash of "doc"
  expected.U32(1).U32(1).U32(1).U32(1);      // S0..S3
  expected.U32(1);                           // elements
  expected.U16(5).Text("doc,0");             // the element's object name ...
  expected.U16(9).Text("other.txt");         // ... and the file object's state
  expected.Zeros(512);                       // the flag bits
  EXPECT_EQ(Written(), expected.Data());
}

TEST_F(ObjectStateStreamTest, AnEmptyFileObjectWritesAnEmptyName) {
  DeclareFileVariable();
  const base::Bytes bytes = Written();
  // ... "doc,0" then the empty Str16, then the flags.
  const size_t state = bytes.size() - 512 - 2;
  EXPECT_EQ(bytes[state], 0);
  EXPECT_EQ(bytes[state + 1], 0);
  EXPECT_EQ(bytes[state - 1], '0');
}

TEST_F(ObjectStateStreamTest, ObjectsComeBackFromTheStreamByteForByte) {
  DeclareFileVariable();
  ASSERT_TRUE(Document()->File().Load("other.txt"));
  const base::Bytes first = Written();

  table_.Clear();
  ASSERT_EQ(objects_->Find("doc,0"), nullptr);
  base::ByteReader in(first);
  table_.ReadTable(in);
  EXPECT_TRUE(in.AtEnd());
  ASSERT_NE(Document(), nullptr);
  EXPECT_EQ(Document()->File().LineCount(), 2);
  EXPECT_EQ(Written(), first);
}

TEST_F(ObjectStateStreamTest, TheGlobalTableWithEverySystemObjectRoundTrips) {
  ASSERT_TRUE(
      Run("\\gvar,file,f[2]\\scp,f[1]\\l,\"other.txt\"\r\n", {{"other.txt", "one\ntwo\n"}}));
  TValue& globals = script_->Calculation().GlobalTable();
  base::ByteWriter first;
  ASSERT_TRUE(globals.WriteTable(first));
  base::ByteReader in(first.Data());
  globals.ReadTable(in);
  EXPECT_TRUE(in.AtEnd());
  base::ByteWriter second;
  ASSERT_TRUE(globals.WriteTable(second));
  EXPECT_EQ(first.Data(), second.Data());
  auto* file = dynamic_cast<TKelObjectDataFile*>(objects_->Find("f,1"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->File().Name(), "other.txt");
  EXPECT_NE(objects_->Find("sys,0"), nullptr);
}

}  // namespace
}  // namespace mavu::script::test
