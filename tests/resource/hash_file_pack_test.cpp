#include "resource/hash_file_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/byte_writer.h"
#include "base/error_log.h"
#include "hand_made_pack.h"
#include "resource/pack_builder.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using test::BytesOf;

// "パッケージからの読み込みに失敗しました:"
constexpr char kReadFailed[] =
    "\x83\x70\x83\x62\x83\x50\x81\x5B\x83\x57\x82\xA9\x82\xE7\x82\xCC\x93\xC7\x82\xDD\x8D\x9E"
    "\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD:";

class HashFilePackTest : public ::testing::Test {
 protected:
  HashFilePackTest() {
    PackBuilder builder;
    builder.Add("System\\Menu\\Layout.dat", BytesOf("layout"));
    builder.Add("bg\\a.png", BytesOf("picture"));
    builder.Add("startup.s", BytesOf("script"));
    EXPECT_TRUE(builder.WriteFiles(Stem()));
  }

  std::filesystem::path Stem() const { return dir_.Path() / "data0"; }
  std::filesystem::path PackPath() const { return dir_.Path() / "data0.pack"; }
  std::filesystem::path HashPath() const { return dir_.Path() / "data0.hash"; }

  // Looks up every name in another letter case.
  static void ExpectFoundInAnyCase(THashFilePack& pair) {
    EXPECT_TRUE(pair.Exists("system\\menu\\layout.dat"));
    EXPECT_TRUE(pair.Exists("System\\Menu\\Layout.dat"));
    EXPECT_TRUE(pair.Exists("BG\\A.PNG"));
    EXPECT_FALSE(pair.Exists("bg\\b.png"));
    EXPECT_EQ(pair.Open("SYSTEM\\MENU\\LAYOUT.DAT"), BytesOf("layout"));
    EXPECT_EQ(pair.Open("Bg\\A.png"), BytesOf("picture"));
    EXPECT_EQ(pair.Open("StartUp.S"), BytesOf("script"));
    EXPECT_FALSE(pair.Open("missing.s"));
  }

  test::TempDir dir_;
};

TEST_F(HashFilePackTest, FindsNamesThroughTheIndex) {
  THashFilePack pair(Stem(), true);
  EXPECT_TRUE(pair.HasIndex());
  ExpectFoundInAnyCase(pair);
}

TEST_F(HashFilePackTest, ScansTheDirectoryWithoutAnIndex) {
  std::filesystem::remove(HashPath());
  THashFilePack pair(Stem(), true);
  EXPECT_FALSE(pair.HasIndex());
  ExpectFoundInAnyCase(pair);
}

TEST_F(HashFilePackTest, TheIndexDecidesWhatExistsUntilItGivesAnotherEntry) {
  // An index without bg\a.png that gives ghost.png an entry the pack does not have.
  THashTable index(THashFilePack::kIndexBuckets);
  index.Put("ghost.png", base::ByteWriter().U16(7).Data());
  base::ByteWriter out;
  index.SaveToStream(out);
  dir_.Write("data0.hash", out.Take());
  base::TheErrorLog().SetDirectory(dir_.Path());
  THashFilePack pair(Stem(), true);
  EXPECT_FALSE(pair.Exists("bg\\a.png"));
  EXPECT_FALSE(pair.Exists("ghost.png"));
  EXPECT_FALSE(pair.HasIndex());
  EXPECT_EQ(pair.Open("bg\\a.png"), BytesOf("picture"));
  EXPECT_NE(base::TheErrorLog().Errors().back().find("gives ghost.png entry 7"), std::string::npos);
}

TEST_F(HashFilePackTest, ReplacesTheStemsExtension) {
  THashFilePack pair(dir_.Path() / "data0.bin", true);
  EXPECT_TRUE(pair.HasIndex());
  EXPECT_TRUE(pair.Exists("bg\\a.png"));
}

TEST_F(HashFilePackTest, WithoutThePackNothingExists) {
  std::filesystem::remove(PackPath());
  THashFilePack pair(Stem(), true);
  EXPECT_EQ(pair.Pack(), nullptr);
  EXPECT_FALSE(pair.Exists("bg\\a.png"));
  EXPECT_FALSE(pair.Open("bg\\a.png"));
}

TEST_F(HashFilePackTest, ADamagedFileFailsTheCreation) {
  dir_.Write("data0.hash", "HashVer9.9");
  EXPECT_THROW(THashFilePack(Stem(), true), base::FormatError);
  std::filesystem::remove(HashPath());
  dir_.Write("data0.pack", "too short");
  EXPECT_THROW(THashFilePack(Stem(), true), base::FormatError);
}

TEST_F(HashFilePackTest, AReadErrorNamesTheRequestedFile) {
  dir_.Write("data0.pack", test::HandMadePack({{"broken.b", BytesOf("not packed"), true}}));
  std::filesystem::remove(HashPath());
  THashFilePack pair(Stem(), true);
  try {
    pair.Open("Broken.B");
    FAIL() << "no error";
  } catch (const base::FormatError& e) {
    EXPECT_EQ(std::string(e.what()), std::string(kReadFailed) + "Broken.B");
  }
}

TEST_F(HashFilePackTest, AChecksumMismatchGivesNothingWithoutAnError) {
  dir_.Write("data0.pack",
             test::HandMadePack({{"a.png", BytesOf("12345678"), false, false, false}}));
  std::filesystem::remove(HashPath());
  THashFilePack pair(Stem(), true);
  std::string reported;
  pair.Pack()->SetErrorCallback([&](const std::string& name) { reported = name; });
  pair.Pack()->SetVerification(true);
  EXPECT_FALSE(pair.Open("a.png"));
  EXPECT_EQ(reported, "a.png");
}

}  // namespace
}  // namespace mavu::resource
