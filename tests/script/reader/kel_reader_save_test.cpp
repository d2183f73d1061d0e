#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "script/reader/kel_reader.h"
#include "support/script/fake_reader_events.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::FakeReaderEvents;
using test::ScriptGame;

// Save-state bytes put together by hand, field by field.
class StateBytes {
 public:
  StateBytes() : bytes_(585, 0) {}

  StateBytes& Short(size_t offset, std::string_view text) {
    bytes_[offset] = static_cast<uint8_t>(text.size());
    std::copy(text.begin(), text.end(), bytes_.begin() + static_cast<ptrdiff_t>(offset + 1));
    return *this;
  }
  StateBytes& I32(size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i)
      bytes_[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    return *this;
  }
  StateBytes& Byte(size_t offset, uint8_t value) {
    bytes_[offset] = value;
    return *this;
  }
  StateBytes& Record(std::string_view text) {
    bytes_.push_back(static_cast<uint8_t>(text.size() & 0xFF));
    bytes_.push_back(static_cast<uint8_t>(text.size() >> 8));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  const base::Bytes& Bytes() const { return bytes_; }

 private:
  base::Bytes bytes_;
};

// The 64 slot records and 16 marker records after the block and the line text.
StateBytes& TableAndMarkers(StateBytes& state,
                            const std::vector<std::pair<std::string, std::string>>& slots,
                            const std::array<std::string, 16>& markerNames,
                            const std::array<std::string, 16>& markerValues) {
  for (size_t i = 0; i < 64; ++i) {
    state.Record(i < slots.size() ? slots[i].first : "");
    state.Record(i < slots.size() ? slots[i].second : "");
  }
  for (size_t n = 0; n < 16; ++n) state.Record(markerNames[n]).Record(markerValues[n]);
  return state;
}

std::array<std::string, 16> StandardMarkerNames() {
  std::array<std::string, 16> names;
  for (int n = 0; n < 16; ++n) names[n] = "%%%" + std::to_string(n);
  return names;
}

class ReaderStateTest : public ::testing::Test {
 protected:
  ReaderStateTest() { reader_.SetEvents(&events_); }

  void Mount(const std::map<std::string, std::string>& files) { game_.emplace(files); }

  base::Bytes Save(const TKelReader& reader) {
    base::ByteWriter out;
    reader.SaveReaderState(out);
    return out.Take();
  }
  bool Load(TKelReader& reader, const base::Bytes& bytes) {
    base::ByteReader in(bytes);
    bool loaded = reader.LoadReaderState(in);
    EXPECT_TRUE(in.AtEnd());
    return loaded;
  }

  std::optional<ScriptGame> game_;
  FakeReaderEvents events_;
  TKelReader reader_;
};

TEST_F(ReaderStateTest, SaveWritesTheBlockTheLineTheTableAndTheMarkers) {
  Mount({{"m.s", "@@Start\n\\a\\b\n\\c"}});
  reader_.AddReplacement("q", "Q", kReplaceText);
  reader_.SetReplacementSlot(63, "s/zz/y/", kReplaceSubstAlt, "");
  reader_.SetTextLinePrefix("P");
  reader_.SetEmptyLineText("E");
  reader_.SetMarker(2, "M");
  ASSERT_TRUE(reader_.JumpToLabel("m.s", "@@START"));
  ASSERT_EQ(reader_.ReadCommand(), "\\a");
  reader_.SetReplacementEnabled(false);

  StateBytes expected;
  expected.Short(0, "m.s").Short(128, "@@start").I32(256, 1).I32(260, 2);
  expected.Byte(264 + 63, 4).Byte(328, 0).Short(329, "P").Short(457, "E");
  expected.Record("\\a\\b");
  std::array<std::string, 16> values;
  values[2] = "M";
  std::vector<std::pair<std::string, std::string>> slots(64);
  slots[0] = {"q", "Q"};
  slots[63] = {"s/zz/y/", ""};
  TableAndMarkers(expected, slots, StandardMarkerNames(), values);
  EXPECT_EQ(Save(reader_), expected.Bytes());
  EXPECT_TRUE(events_.warnings.empty());
}

TEST_F(ReaderStateTest, LoadTakesHandMadeBytesAndReturnsToTheLabel) {
  Mount({{"m.s", "@@Top\n\\x\n@@Next\n\\ab,foo\\cd,foo\n\\end"}});
  StateBytes state;
  state.Short(0, "M.S").Short(128, "@@NEXT").I32(256, 1).I32(260, 7).Byte(264 + 1, 3);
  state.Byte(328, 1).Short(329, "pre").Short(457, "empty");
  state.Record("stale line text");
  std::array<std::string, 16> names;
  names.fill("junk");
  std::array<std::string, 16> values;
  values[3] = "V";
  TableAndMarkers(state, {{"foo", "bar"}, {"/,/", "#"}}, names, values);

  ASSERT_TRUE(Load(reader_, state.Bytes()));
  EXPECT_EQ(reader_.CurrentFileName(), "M.S");
  EXPECT_EQ(reader_.CurrentLine(), 3);
  EXPECT_EQ(reader_.CharacterPosition(), 7);
  EXPECT_EQ(reader_.Replacements().At(0).pattern, "foo");
  EXPECT_EQ(reader_.Replacements().At(1).mode, kReplaceSplit);
  EXPECT_TRUE(reader_.ReplacementEnabled());
  EXPECT_EQ(reader_.TextLinePrefix(), "pre");
  EXPECT_EQ(reader_.EmptyLineText(), "empty");
  // Marker names are fixed by their numbers; only the values come from the save.
  EXPECT_EQ(reader_.MarkerName(3), "%%%3");
  EXPECT_EQ(reader_.MarkerValue(3), "V");
  // The line was rebuilt through the loaded table ("foo" -> "bar", then split
  // at ",") and the loaded prefix.
  EXPECT_EQ(reader_.CurrentLineText(), "pre#\\ab#bar\\cd#bar");
  EXPECT_EQ(reader_.ReadCommand(), "#bar\\cd#bar");
  EXPECT_EQ(reader_.CurrentLabelName(), "@@next");
  ASSERT_EQ(events_.lines.size(), 1u);
  EXPECT_EQ(events_.lines[0], (std::pair<std::string, int32_t>{"M.S@@next", 1}));
}

TEST_F(ReaderStateTest, RoundTripContinuesWhereTheSaveWasMade) {
  Mount({{"main.s", "@@a\n\\one\n@@@inc.s\n\\four\\five\n\\six"},
         {"inc.s", "@@Sub\n\\two\\three,x\n"}});
  reader_.AddReplacement("x", "y", kReplaceText);
  reader_.AddReplacement("s/three/3/", "", kReplaceSubst);
  reader_.SetMarker(1, "m");
  ASSERT_TRUE(reader_.JumpToLabel("main.s", "@@sub"));
  ASSERT_EQ(reader_.ReadCommand(), "\\two");
  base::Bytes saved = Save(reader_);

  TKelReader restored;
  ASSERT_TRUE(Load(restored, saved));
  EXPECT_EQ(restored.CurrentLine(), reader_.CurrentLine());
  EXPECT_EQ(restored.CharacterPosition(), reader_.CharacterPosition());
  EXPECT_EQ(restored.PositionText(), "inc.s(2)");
  EXPECT_EQ(Save(restored), saved);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(restored.ReadCommand(), reader_.ReadCommand());
}

TEST_F(ReaderStateTest, CorruptBytesThrowAndLeaveTheReaderAsItWas) {
  Mount({{"m.s", "@@a\n\\x\\y\n"}});
  reader_.AddReplacement("k", "v", kReplaceText);
  reader_.JumpToLabel("m.s", "@@a");
  base::Bytes saved = Save(reader_);

  TKelReader other;
  other.AddReplacement("other", "o", kReplaceSplit);
  other.SetTextLinePrefix("keep");
  for (size_t cut = 0; cut < saved.size(); cut += 7) {
    base::Bytes shortBytes(saved.begin(), saved.begin() + static_cast<ptrdiff_t>(cut));
    base::ByteReader in(shortBytes);
    ASSERT_THROW(other.LoadReaderState(in), base::FormatError) << cut;
  }
  base::Bytes badLength = saved;
  badLength[128] = 200;
  base::ByteReader in(badLength);
  EXPECT_THROW(other.LoadReaderState(in), base::FormatError);
  EXPECT_EQ(other.Replacements().At(0).pattern, "other");
  EXPECT_EQ(other.TextLinePrefix(), "keep");
  EXPECT_EQ(other.PositionText(), "NOFILE");
}

TEST_F(ReaderStateTest, SaveOutsideALabelWarnsTwiceAndCannotReturn) {
  Mount({{"m.s", "\\x\n@@a\n\\y"}});
  reader_.OpenScript("m.s", false);
  reader_.ReadCommand();
  base::Bytes saved = Save(reader_);
  EXPECT_EQ(events_.warnings.size(), 2u);
  EXPECT_EQ(saved[128], 0);
  EXPECT_EQ(saved[256], 0);
  EXPECT_EQ(saved[260], 2);
  TKelReader restored;
  EXPECT_FALSE(Load(restored, saved));
  EXPECT_EQ(restored.CurrentFileName(), "m.s");
}

TEST_F(ReaderStateTest, GoneLabelOrScriptFailsTheLoad) {
  Mount({{"m.s", "@@a\n\\x\n"}});
  reader_.JumpToLabel("m.s", "@@a");
  base::Bytes saved = Save(reader_);
  Mount({{"m.s", "@@renamed\n\\x\n"}});
  TKelReader restored;
  EXPECT_FALSE(Load(restored, saved));
  Mount({{"other.s", "@@a\n\\x\n"}});
  EXPECT_FALSE(Load(restored, saved));
  EXPECT_EQ(restored.ReadCommand(), "");
}

TEST_F(ReaderStateTest, OffsetsBeyondTheScriptLeaveTheReaderAtTheEnd) {
  Mount({{"m.s", "@@a\n\\x\n"}});
  for (int32_t offset :
       {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), 5}) {
    StateBytes state;
    state.Short(0, "m.s").Short(128, "@@a").I32(256, offset).I32(260, -3).Byte(328, 1);
    state.Record("");
    TableAndMarkers(state, {}, StandardMarkerNames(), {});
    TKelReader restored;
    EXPECT_FALSE(Load(restored, state.Bytes())) << offset;
    EXPECT_EQ(restored.ReadCommand(), "");
    EXPECT_EQ(restored.PositionText(), "EOF");
  }
}

TEST_F(ReaderStateTest, LineLongerThanARecordIsCutInTheSaveOnly) {
  std::string longLine = "\\m," + std::string(70000, 'x');
  Mount({{"m.s", "@@a\n" + longLine}});
  reader_.JumpToLabel("m.s", "@@a");
  base::Bytes saved = Save(reader_);
  EXPECT_EQ(saved[585], 0xFF);
  EXPECT_EQ(saved[586], 0xFF);
  TKelReader restored;
  ASSERT_TRUE(Load(restored, saved));
  EXPECT_EQ(restored.CurrentLineText(), longLine);
}

}  // namespace
}  // namespace mavu::script
