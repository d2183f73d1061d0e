#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "resource/data_tree.h"
#include "resource/hand_made_pack.h"
#include "resource/hash_file_pack.h"
#include "support/temp_dir.h"

namespace mavu::tools {
namespace {

using test::BytesOf;

struct RunResult {
  int code = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class PackToolTest : public ::testing::Test {
 protected:
  RunResult Pack(const std::vector<std::string>& args) {
    const char* tools = std::getenv("MAVU_TOOLS_DIR");
    if (!tools) throw std::runtime_error("MAVU_TOOLS_DIR is not set");
    std::string command = Quoted((std::filesystem::path(tools) / "mavu-pack").string());
    for (const auto& arg : args) command += " " + Quoted(arg);
    auto out = dir_.Path() / "stdout.txt";
    auto err = dir_.Path() / "stderr.txt";
    int status = std::system((command + " >" + Quoted(out) + " 2>" + Quoted(err)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
  }

  std::string Path(const std::string& relative) const { return (dir_.Path() / relative).string(); }

  // Writes the sources and remembers them for comparison.
  void Source(const std::string& relative, const base::Bytes& contents) {
    dir_.Write(std::filesystem::path("src") / relative, contents);
    sources_[relative] = contents;
  }

  void MakeSources() {
    std::string layout;
    for (int i = 0; i < 200; ++i) layout += "button=" + std::to_string(i % 7) + ",x,y\r\n";
    Source("System/Menu/Layout.dat", BytesOf(layout));
    // Noise from a linear congruential generator: nothing for packing to gain.
    base::Bytes allBytes(256 * 9);
    uint32_t state = 12345;
    for (auto& b : allBytes) {
      state = state * 1103515245u + 12345u;
      b = static_cast<uint8_t>(state >> 16);
    }
    Source("BG/Title.PNG", allBytes);
    Source("画像/背景.png", BytesOf("picture"));
    Source("empty.txt", {});
  }

  static void ExpectEngineReadsSources(resource::THashFilePack& pair, const base::Bytes& allBytes,
                                       const std::string& layout) {
    EXPECT_EQ(pair.Open("System\\Menu\\Layout.dat"), BytesOf(layout));
    EXPECT_EQ(pair.Open("bg\\title.png"), allBytes);
    EXPECT_EQ(pair.Open("\x89\xE6\x91\x9C\\\x94\x77\x8C\x69.PNG"),
              BytesOf("picture"));  // 画像\背景
    EXPECT_EQ(pair.Open("EMPTY.TXT"), base::Bytes());
  }

  test::TempDir dir_;
  std::map<std::string, base::Bytes> sources_;
};

TEST_F(PackToolTest, BuildsPairsTheEngineReadsThroughIndexAndScan) {
  MakeSources();
  const std::vector<std::vector<std::string>> optionSets = {
      {}, {"--compress"}, {"--scramble"}, {"--compress", "--scramble"}};
  for (const auto& options : optionSets) {
    SCOPED_TRACE(::testing::PrintToString(options));
    std::vector<std::string> args = {"build", Path("data0"), Path("src")};
    args.insert(args.end(), options.begin(), options.end());
    auto built = Pack(args);
    ASSERT_EQ(built.code, 0) << built.err;
    EXPECT_NE(built.out.find("4 entries"), std::string::npos) << built.out;
    {
      resource::THashFilePack pair(dir_.Path() / "data0", false);
      ASSERT_TRUE(pair.HasIndex());
      pair.Pack()->SetVerification(true);
      ExpectEngineReadsSources(pair, sources_["BG/Title.PNG"],
                               Slurp(Path("src/System/Menu/Layout.dat")));
    }
    std::filesystem::remove(dir_.Path() / "data0.hash");
    resource::THashFilePack scanned(dir_.Path() / "data0", false);
    ASSERT_FALSE(scanned.HasIndex());
    ExpectEngineReadsSources(scanned, sources_["BG/Title.PNG"],
                             Slurp(Path("src/System/Menu/Layout.dat")));
  }
}

TEST_F(PackToolTest, ListsEntriesWithTheirFlags) {
  MakeSources();
  ASSERT_EQ(Pack({"build", Path("data0"), Path("src"), "--compress", "--scramble"}).code, 0);
  auto listed = Pack({"list", Path("data0")});
  ASSERT_EQ(listed.code, 0) << listed.err;
  EXPECT_NE(listed.out.find("PS"), std::string::npos) << listed.out;  // the layout packs well
  EXPECT_NE(listed.out.find("-S"), std::string::npos) << listed.out;  // the picture does not
  EXPECT_NE(listed.out.find("system\\menu\\layout.dat"), std::string::npos);
  EXPECT_NE(listed.out.find("画像\\背景.png"), std::string::npos);
  EXPECT_NE(listed.out.find("4 entries"), std::string::npos);
}

TEST_F(PackToolTest, TheGameReadsWhatTheToolPacked) {
  MakeSources();
  ASSERT_EQ(Pack({"build", Path("GameData/data3"), Path("src"), "--compress"}).code, 0);
  resource::DataTree tree;
  tree.SetProgramDirectory(dir_.Path());
  ASSERT_EQ(tree.MountDataPacks("GameData\\"), 1);
  EXPECT_EQ(tree.OpenDataFile("\x89\xE6\x91\x9C/\x94\x77\x8C\x69.png"), BytesOf("picture"));
  EXPECT_EQ(tree.OpenDataFile("bg/title.png"), sources_["BG/Title.PNG"]);
}

TEST_F(PackToolTest, EncodesTextFilesOnlyWhenAsked) {
  // "こんにちは" in UTF-8 with a byte-order mark, and in CP932.
  const std::string utf8 =
      "\xEF\xBB\xBF\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF?\n";
  const std::string cp932 = "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD?\n";
  for (const char* name : {"startup.s", "Conf.DAT", "note.txt", "pic.png"})
    Source(name, BytesOf(utf8));
  ASSERT_EQ(Pack({"build", Path("plain"), Path("src")}).code, 0);
  ASSERT_EQ(Pack({"build", Path("text"), Path("src"), "--encode-text"}).code, 0);
  resource::THashFilePack plain(dir_.Path() / "plain", false);
  resource::THashFilePack text(dir_.Path() / "text", false);
  for (const char* name : {"startup.s", "conf.dat", "note.txt"}) {
    EXPECT_EQ(plain.Open(name), BytesOf(utf8)) << name;
    EXPECT_EQ(text.Open(name), BytesOf(cp932)) << name;
  }
  EXPECT_EQ(text.Open("pic.png"), BytesOf(utf8));
}

TEST_F(PackToolTest, RefusesTextThatIsNotUtf8) {
  Source("broken.txt", BytesOf("\x82\xA0 is CP932 already"));
  auto built = Pack({"build", Path("data0"), Path("src"), "--encode-text"});
  EXPECT_EQ(built.code, 1);
  EXPECT_NE(built.err.find("broken.txt"), std::string::npos) << built.err;
  EXPECT_FALSE(std::filesystem::exists(Path("data0.pack")));
}

TEST_F(PackToolTest, ExtractGivesBackTheOriginalBytes) {
  MakeSources();
  Source("main.s", BytesOf("\xE3\x81\x82\n"));  // あ
  ASSERT_EQ(
      Pack({"build", Path("data0"), Path("src"), "--compress", "--scramble", "--encode-text"}).code,
      0);
  auto extracted = Pack({"extract", Path("data0"), Path("out")});
  ASSERT_EQ(extracted.code, 0) << extracted.err;
  EXPECT_EQ(base::ReadWholeFile(Path("out/system/menu/layout.dat")),
            sources_["System/Menu/Layout.dat"]);
  EXPECT_EQ(base::ReadWholeFile(Path("out/bg/title.png")), sources_["BG/Title.PNG"]);
  EXPECT_EQ(base::ReadWholeFile(Path("out/画像/背景.png")), sources_["画像/背景.png"]);
  EXPECT_EQ(base::ReadWholeFile(Path("out/empty.txt")), base::Bytes());
  EXPECT_EQ(base::ReadWholeFile(Path("out/main.s")), BytesOf("\x82\xA0\n"));
}

TEST_F(PackToolTest, ExtractKeepsNamesInsideTheOutputFolder) {
  dir_.Write("evil.pack",
             test::HandMadePack({{"..\\escaped.txt", BytesOf("x")}, {"fine.txt", BytesOf("y")}}));
  auto extracted = Pack({"extract", Path("evil"), Path("out")});
  EXPECT_EQ(extracted.code, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("escaped.txt")));
  EXPECT_EQ(base::ReadWholeFile(Path("out/fine.txt")), BytesOf("y"));
}

TEST_F(PackToolTest, VerifyFindsAFlippedByte) {
  MakeSources();
  ASSERT_EQ(Pack({"build", Path("data0"), Path("src"), "--compress"}).code, 0);
  auto good = Pack({"verify", Path("data0")});
  EXPECT_EQ(good.code, 0) << good.err;
  EXPECT_NE(good.out.find("4 entries OK"), std::string::npos) << good.out;

  // Bodies are stored in name order: bg\title.png comes first.
  auto pack = *base::ReadWholeFile(Path("data0.pack"));
  pack[9] ^= 0x01;
  ASSERT_TRUE(base::WriteFileAtomic(Path("data0.pack"), pack));
  auto bad = Pack({"verify", Path("data0")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("bg\\title.png: checksum mismatch"), std::string::npos) << bad.err;
}

TEST_F(PackToolTest, VerifyChecksTheIndex) {
  MakeSources();
  ASSERT_EQ(Pack({"build", Path("data0"), Path("src")}).code, 0);
  dir_.Write("data0.hash", "HashVer1.2");
  auto bad = Pack({"verify", Path("data0")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("data0.hash"), std::string::npos) << bad.err;
  std::filesystem::remove(Path("data0.hash"));
  auto unindexed = Pack({"verify", Path("data0")});
  EXPECT_EQ(unindexed.code, 0) << unindexed.err;
}

TEST_F(PackToolTest, RefusesTwoFilesThatDifferOnlyInLetterCase) {
  Source("A.txt", BytesOf("1"));
  Source("a.txt", BytesOf("2"));
  auto built = Pack({"build", Path("data0"), Path("src")});
  EXPECT_EQ(built.code, 1);
  EXPECT_NE(built.err.find("a.txt"), std::string::npos) << built.err;
}

TEST_F(PackToolTest, ExplainsItsUsage) {
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {"build"},
                                                                {"build", "x"},
                                                                {"build", "x", "y", "--fast"},
                                                                {"list"},
                                                                {"list", "a", "b"},
                                                                {"extract", "a"},
                                                                {"verify"},
                                                                {"frobnicate"}}) {
    auto run = Pack(args);
    EXPECT_EQ(run.code, 2) << ::testing::PrintToString(args);
    EXPECT_NE(run.err.find("usage: mavu-pack"), std::string::npos);
  }
}

TEST_F(PackToolTest, ReportsMissingAndDamagedInput) {
  auto missingPack = Pack({"list", Path("nothing")});
  EXPECT_EQ(missingPack.code, 1);
  EXPECT_NE(missingPack.err.find("nothing.pack"), std::string::npos) << missingPack.err;
  auto missingSource = Pack({"build", Path("data0"), Path("no-such-folder")});
  EXPECT_EQ(missingSource.code, 1);
  EXPECT_NE(missingSource.err.find("no-such-folder"), std::string::npos) << missingSource.err;
  dir_.Write("short.pack", "tiny");
  auto damaged = Pack({"verify", Path("short")});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_NE(damaged.err.find("footer"), std::string::npos) << damaged.err;
}

}  // namespace
}  // namespace mavu::tools
