#include "resource/save_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/file_io.h"
#include "resource/sealed_stream.h"
#include "support/failing_writes.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using base::Bytes;
using ::testing::ElementsAre;

constexpr uint32_t kKey = 0x5A17C0DE;
constexpr size_t kThumbnailLengthAt = kSaveHeaderSize;
const std::string kHiragana = "\x82\xa0";  // one double-byte character

Bytes PayloadOf(const Bytes& file) {
  base::ByteReader in(file);
  return UnsealStream(in).value();
}

Bytes Sealed(const Bytes& payload) {
  base::ByteWriter out;
  SealStream(payload, out);
  return out.Take();
}

Bytes WithU32(Bytes bytes, size_t offset, uint32_t value) {
  base::ByteWriter out(std::move(bytes));
  out.PatchU32(offset, value);
  return out.Take();
}

size_t EntryCount(const std::filesystem::path& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Top row red, green, blue; bottom row white, black, a mixed colour.
SaveThumbnail ThreeByTwo() {
  return SaveThumbnail(3, 2, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x1234});
}

TEST(SaveHeader, WritesEachFieldAtItsOffset) {
  SaveHeader header = SaveHeader::Make({"one", "", "t3", kHiragana}, "x", 45293.25);
  header.scrambled = true;
  base::ByteWriter out;
  header.Write(out);

  Bytes expected(kSaveHeaderSize, 0);
  const auto put = [&](size_t at, std::string_view text) {
    std::copy(text.begin(), text.end(), expected.begin() + static_cast<ptrdiff_t>(at));
  };
  put(0, "KELSAVEDATA1");
  expected[16] = 1;
  const auto time = std::bit_cast<uint64_t>(45293.25);
  for (size_t i = 0; i < 8; ++i) expected[18 + i] = static_cast<uint8_t>(time >> (8 * i));
  put(26, "\x03one");
  put(282, "\x02t3");
  put(410, "\x02" + kHiragana);
  put(538, "\x01x");
  EXPECT_EQ(out.Data(), expected);

  base::ByteReader in(out.Data());
  EXPECT_EQ(SaveHeader::Read(in), header);
}

TEST(SaveHeader, CutsTextsOnAWholeCharacter) {
  const std::string halfAtTheEnd = std::string(126, 'a') + kHiragana;
  std::string longExcerpt = "ab";
  for (int i = 0; i < 40; ++i) longExcerpt += kHiragana;
  const SaveHeader header =
      SaveHeader::Make({std::string(200, 't'), halfAtTheEnd, "", ""}, longExcerpt, 0);
  EXPECT_EQ(header.titles[0], std::string(127, 't'));
  EXPECT_EQ(header.titles[1], std::string(126, 'a'));
  std::string thirty = "ab";
  for (int i = 0; i < 28; ++i) thirty += kHiragana;
  EXPECT_EQ(header.excerpt, thirty);
}

TEST(SaveHeader, ReadsAnOverlongLengthAsTheWholeField) {
  base::ByteWriter out;
  SaveHeader::Make({"", "", "", ""}, "", 1).Write(out);
  Bytes bytes = out.Take();
  bytes[26] = 200;
  std::fill_n(bytes.begin() + 27, 127, 'z');
  base::ByteReader in(bytes);
  EXPECT_EQ(SaveHeader::Read(in).value().titles[0], std::string(127, 'z'));
}

// Sets TZ while it lives.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

TEST(SaveTime, CountsDaysFrom1899December30InLocalTime) {
  const double noonish = 45293 + (12 * 3600 + 4 * 60 + 5) / 86400.0;  // 2024-01-02 12:04:05
  std::tm local{};
  local.tm_year = 124;
  local.tm_mon = 0;
  local.tm_mday = 2;
  local.tm_hour = 12;
  local.tm_min = 4;
  local.tm_sec = 5;
  EXPECT_DOUBLE_EQ(SaveTimeOf(local), noonish);
  EXPECT_DOUBLE_EQ(SaveTimeOf(local, 500), noonish + 0.5 / 86400);

  const TimeZone tokyo("JST-9");
  EXPECT_DOUBLE_EQ(LocalSaveTime(1704164645), noonish);  // 03:04:05 UTC
  EXPECT_DOUBLE_EQ(LocalSaveTime(-2209194000), 0);       // 1899-12-30 00:00 JST
}

TEST(SaveThumbnail, WritesABottomUpBmpWithPaddedRows) {
  const Bytes bmp = ThreeByTwo().ToBmp();
  const Bytes expected = base::ByteWriter()
                             .Text("BM")
                             .U32(70)
                             .U32(0)
                             .U32(54)
                             .U32(40)
                             .U32(3)
                             .U32(2)
                             .U16(1)
                             .U16(16)
                             .U32(0)
                             .U32(16)
                             .Zeros(16)
                             .U16(0x7FFF)
                             .U16(0x0000)
                             .U16(0x1234)
                             .U16(0)
                             .U16(0x7C00)
                             .U16(0x03E0)
                             .U16(0x001F)
                             .U16(0)
                             .Take();
  EXPECT_EQ(bmp, expected);
  EXPECT_EQ(SaveThumbnail::FromBmp(bmp), ThreeByTwo());

  Bytes topDown = WithU32(bmp, 22, static_cast<uint32_t>(-2));
  std::rotate(topDown.begin() + 54, topDown.begin() + 62, topDown.end());
  EXPECT_EQ(SaveThumbnail::FromBmp(topDown), ThreeByTwo());
}

TEST(SaveThumbnail, KeepsTheTopFiveBitsOfEachColour) {
  const uint32_t argb[] = {0xFFFF0000, 0x80123456};
  const SaveThumbnail thumbnail = SaveThumbnail::FromArgb(argb, 2, 1);
  EXPECT_THAT(thumbnail.Pixels(), ElementsAre(0x7C00, (2 << 10) | (6 << 5) | 10));
  EXPECT_THROW(SaveThumbnail::FromArgb(argb, 1, 1), std::invalid_argument);
}

TEST(SaveThumbnail, RefusesABmpThatLiesAboutItself) {
  const Bytes bmp = ThreeByTwo().ToBmp();
  const auto refused = [](const Bytes& bytes) { return !SaveThumbnail::FromBmp(bytes); };
  EXPECT_TRUE(refused(WithU32(bmp, 18, 5)));                // rows wider than the bytes
  EXPECT_TRUE(refused(WithU32(bmp, 22, 3)));                // more rows than the bytes
  EXPECT_TRUE(refused(WithU32(bmp, 22, 0x7FFFFFFF)));       // absurd height
  EXPECT_TRUE(refused(WithU32(bmp, 18, 0)));                // no width
  EXPECT_TRUE(refused(WithU32(bmp, 10, 71)));               // pixels past the end
  EXPECT_TRUE(refused(WithU32(bmp, 10, 20)));               // pixels inside the headers
  EXPECT_TRUE(refused(WithU32(bmp, 26, 1 | (24 << 16))));   // 24 bits per pixel
  EXPECT_TRUE(refused(WithU32(bmp, 30, 3)));                // bit fields
  EXPECT_TRUE(refused(Bytes(bmp.begin(), bmp.end() - 1)));  // the last row cut
  EXPECT_TRUE(refused(Bytes(bmp.begin(), bmp.begin() + 30)));
}

class SaveDataTest : public ::testing::Test {
 protected:
  SaveDataTest() {
    saved_.SetHeader({"Chapter 1", "", "", kHiragana}, "Once upon a time");
    Bytes state(3000);
    for (size_t i = 0; i < state.size(); ++i) state[i] = static_cast<uint8_t>(i % 7 * 31);
    saved_.SetState(state);
    saved_.SetThumbnail(ThreeByTwo());
  }

  Bytes Payload(bool compress = true) const {
    return PayloadOf(saved_.BuildFile(compress).value());
  }

  bool Read(const Bytes& file, bool checkHeader, bool loadState, bool loadThumbnail) {
    base::ByteReader in(file);
    return loaded_.ReadSaveStream(in, checkHeader, loadState, loadThumbnail);
  }
  bool ReadAll(const Bytes& file) { return Read(file, true, true, true); }
  bool ReadHeaderOnly(const Bytes& file) { return Read(file, true, false, false); }
  bool IsCleared() const {
    return loaded_.Header() == SaveHeader{} && !loaded_.State() && !loaded_.Thumbnail();
  }

  test::TempDir dir_;
  TKelSaveData saved_{kKey};
  TKelSaveData loaded_{kKey};
};

TEST_F(SaveDataTest, RoundTripsThroughAFilePackedOrNot) {
  for (const bool compress : {true, false}) {
    const auto path = dir_.Path() / "SaveData1.svd";
    ASSERT_TRUE(saved_.WriteSaveFile(path, compress));
    ASSERT_TRUE(loaded_.ReadSaveFile(path, true, true, true));
    EXPECT_EQ(loaded_.State(), saved_.State());
    EXPECT_EQ(loaded_.Thumbnail(), saved_.Thumbnail());
    SaveHeader expected = saved_.Header();
    expected.scrambled = true;
    expected.packed = compress;
    EXPECT_EQ(loaded_.Header(), expected);
  }
  EXPECT_EQ(EntryCount(dir_.Path()), 1u);
}

TEST_F(SaveDataTest, AHeaderOnlyReadLeavesThumbnailAndStateOut) {
  ASSERT_TRUE(ReadHeaderOnly(*saved_.BuildFile(true)));
  EXPECT_EQ(loaded_.Header().titles, saved_.Header().titles);
  EXPECT_FALSE(loaded_.State());
  EXPECT_FALSE(loaded_.Thumbnail());
}

TEST_F(SaveDataTest, ASealThatDoesNotMatchIsRefusedWhateverIsAsked) {
  ASSERT_TRUE(ReadAll(*saved_.BuildFile(true)));
  Bytes file = *saved_.BuildFile(true);
  file[12 + 26 + 1] ^= 1;  // a title letter, under the checksum
  for (const int asked : {0, 1, 2, 4, 7}) {
    EXPECT_FALSE(Read(file, (asked & 1) != 0, (asked & 2) != 0, (asked & 4) != 0)) << asked;
    EXPECT_TRUE(IsCleared());
  }
  file = *saved_.BuildFile(true);
  file[0] ^= 1;  // the magic
  EXPECT_FALSE(Read(file, false, false, false));
}

TEST_F(SaveDataTest, AnotherSignatureIsRefusedWhenTheHeaderCounts) {
  Bytes payload = Payload();
  payload[11] = '0';  // "KELSAVEDATA0", an older engine's
  const Bytes file = Sealed(payload);
  EXPECT_FALSE(ReadHeaderOnly(file));
  EXPECT_FALSE(Read(file, false, true, false));
  EXPECT_TRUE(IsCleared());
  EXPECT_TRUE(Read(file, false, false, true));
  EXPECT_EQ(loaded_.Thumbnail(), ThreeByTwo());
}

TEST_F(SaveDataTest, LengthsPastTheEndAreRefusedEvenForTheHeader) {
  const Bytes payload = Payload();
  const size_t stateLengthAt = kThumbnailLengthAt + 4 + ThreeByTwo().ToBmp().size();
  const uint32_t pastTheEnd = static_cast<uint32_t>(payload.size());
  EXPECT_FALSE(ReadHeaderOnly(Sealed(WithU32(payload, kThumbnailLengthAt, pastTheEnd))));
  EXPECT_FALSE(ReadHeaderOnly(Sealed(WithU32(payload, stateLengthAt, 0xFFFFFFFF))));
  EXPECT_FALSE(ReadHeaderOnly(Sealed(Bytes(payload.begin(), payload.begin() + 1000))));
  EXPECT_TRUE(IsCleared());
}

TEST_F(SaveDataTest, DamagedContentsFailOnlyTheReadsThatWantThem) {
  Bytes packedFlagOnRawState = Payload(false);
  packedFlagOnRawState[17] = 1;
  const Bytes file = Sealed(packedFlagOnRawState);
  EXPECT_FALSE(ReadAll(file));
  EXPECT_TRUE(IsCleared());
  EXPECT_TRUE(Read(file, true, false, true));

  const Bytes widerThumbnail = WithU32(Payload(), kThumbnailLengthAt + 4 + 18, 300);
  EXPECT_FALSE(Read(Sealed(widerThumbnail), false, false, true));
  EXPECT_TRUE(Read(Sealed(widerThumbnail), true, true, false));
  EXPECT_EQ(loaded_.State(), saved_.State());
}

TEST_F(SaveDataTest, AFailedWriteKeepsThePreviousFile) {
  const auto path = dir_.Path() / "QuickSaveData.svd";
  ASSERT_TRUE(saved_.WriteSaveFile(path, true));
  const auto before = base::ReadWholeFile(path);
  saved_.SetHeader({"newer", "", "", ""}, "");
  {
    test::FailingWrites failing;
    EXPECT_FALSE(saved_.WriteSaveFile(path, true));
  }
  EXPECT_EQ(base::ReadWholeFile(path), before);
  EXPECT_EQ(EntryCount(dir_.Path()), 1u);

  const auto folder = dir_.Path() / "SaveData1.svd";
  std::filesystem::create_directories(folder / "inside");
  EXPECT_FALSE(saved_.WriteSaveFile(folder, true));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
  EXPECT_EQ(EntryCount(dir_.Path()), 2u);
  EXPECT_FALSE(loaded_.ReadSaveFile(dir_.Path() / "missing.svd", true, false, false));
}

}  // namespace
}  // namespace mavu::resource
