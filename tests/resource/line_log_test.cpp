#include "resource/line_log.h"

#include <gtest/gtest.h>

#include <string>

namespace mavu::resource {
namespace {

TEST(LineLog, AFirstVisitIsNewAndRecorded) {
  LineLog log;
  EXPECT_TRUE(log.ReportLine("start.s@@TOP", 0));
  EXPECT_EQ(log.Counts().LookupCount("start.s@@top"), 0);
  EXPECT_TRUE(log.ReportLine("start.s@@TOP", 4));
  EXPECT_EQ(log.Counts().LookupCount("start.s@@top"), 4);
}

TEST(LineLog, LinesUpToTheStoredOffsetCountAsRead) {
  LineLog log;
  log.ReportLine("a.s@@x", 10);
  EXPECT_FALSE(log.ReportLine("A.S@@X", 10));
  EXPECT_FALSE(log.ReportLine("a.s@@x", 3));
  EXPECT_EQ(log.Counts().LookupCount("a.s@@x"), 10);
  EXPECT_TRUE(log.ReportLine("a.s@@x", 11));
  EXPECT_EQ(log.Counts().LookupCount("a.s@@x"), 11);
}

TEST(LineLog, ALockedLogRecordsNothingAndStopsSkippingEverywhere) {
  LineLog log;
  log.ReportLine("a.s@@x", 10);
  log.SetLocked(true);
  EXPECT_TRUE(log.ReportLine("a.s@@x", 2));
  EXPECT_TRUE(log.ReportLine("a.s@@x", 20));
  EXPECT_TRUE(log.ReportLine("b.s@@y", 0));
  EXPECT_EQ(log.Counts().LookupCount("a.s@@x"), 10);
  EXPECT_EQ(log.Counts().LookupCount("b.s@@y"), -1);
}

TEST(LineLog, AFullLogDoesNotPassUnknownLinesAsRead) {
  LineLog log;
  for (uint32_t i = 0; i < THashTable::kMaxEntries; ++i) {
    ASSERT_TRUE(log.Counts().RecordCount("k" + std::to_string(i), 5, true));
  }
  EXPECT_TRUE(log.ReportLine("unknown", 0));
  EXPECT_EQ(log.Counts().LookupCount("unknown"), -1);
  EXPECT_FALSE(log.ReportLine("k7", 5));
  EXPECT_TRUE(log.ReportLine("k7", 6));
}

TEST(LineLog, StateIsOneLockByte) {
  LineLog log;
  base::ByteWriter out;
  log.WriteState(out);
  log.SetLocked(true);
  log.WriteState(out);
  EXPECT_EQ(out.Data(), (base::Bytes{0, 1}));
  const base::Bytes bytes{7};
  base::ByteReader in(bytes);
  log.SetLocked(false);
  log.ReadState(in);
  EXPECT_TRUE(log.Locked());
}

}  // namespace
}  // namespace mavu::resource
