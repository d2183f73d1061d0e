#include <gtest/gtest.h>

#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using LogCommandsTest = ObjectTest;

TEST_F(LogCommandsTest, AddsAnEntryFromItsArguments) {
  ASSERT_TRUE(
      Run("\\gvar,str,who\\cal,who=\"Aoi\"\\scp,log\r\n"
          "\\t,who,\"v01.ogg\",\"Hello \"+who,{[n]}\r\n"));
  ASSERT_EQ(stage_.Backlog().Count(), 1);
  const imaging::KelLogEntry& entry = *stage_.Backlog().Back(0);
  EXPECT_EQ(entry.speaker, "Aoi");
  EXPECT_EQ(entry.voice, "v01.ogg");
  EXPECT_EQ(entry.text, "Hello Aoi[n]");
  EXPECT_EQ(entry.attribute1, 0u);
  EXPECT_EQ(entry.attribute2, 0u);
  EXPECT_EQ(entry.byteAttribute, 255);
}

TEST_F(LogCommandsTest, AWordWithoutBracesIsAddedAsWritten) {
  ASSERT_TRUE(Run("\\scp,log\\t,\"\",\"\",\"a\",b[c]\r\n"));
  EXPECT_EQ(stage_.Backlog().Back(0)->text, "ab[c]");
}

TEST_F(LogCommandsTest, ClearEmptiesTheBacklog) {
  ASSERT_TRUE(Run("\\scp,log\\t,\"a\",\"\",\"x\"\\t,\"b\",\"\",\"y\"\r\n"));
  EXPECT_EQ(stage_.Backlog().Count(), 2);
  EXPECT_EQ(stage_.Backlog().Back(1)->speaker, "a");
  ASSERT_TRUE(Run("\\scp,log\\i\r\n"));
  EXPECT_EQ(stage_.Backlog().Count(), 0);
}

}  // namespace
}  // namespace mavu::script::test
