#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "resource/data_tree.h"
#include "resource/hand_made_pack.h"
#include "resource/hash_file_pack.h"
#include "support/hostile_data.h"
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

TEST_F(PackToolTest, EncodesOnlyUtf8TextAndKeepsEverythingElseByteForByte) {
  const base::Bytes table = BytesOf(std::string("\xEF\xBB\xBF\x07\0\x80\xFF random", 14));
  Source("already.txt", BytesOf("\x82\xA0 is CP932 already"));
  Source("RandomTable.dat", table);
  Source("note.txt", BytesOf("\xEF\xBB\xBF\xE3\x81\x82"));  // あ after a byte-order mark
  auto built = Pack({"build", Path("data0"), Path("src"), "--encode-text", "--verbose"});
  ASSERT_EQ(built.code, 0) << built.err;
  EXPECT_EQ(built.out,
            "encoded " + Path("src/note.txt") + "\n" + Path("data0.pack") + ": 3 entries\n");
  resource::THashFilePack pair(dir_.Path() / "data0", false);
  EXPECT_EQ(pair.Open("already.txt"), sources_["already.txt"]);
  EXPECT_EQ(pair.Open("randomtable.dat"), table);
  EXPECT_EQ(pair.Open("note.txt"), BytesOf("\x82\xA0"));

  Source("smile.txt", BytesOf("\xF0\x9F\x98\x80"));  // UTF-8 text, but no CP932 form
  auto refused = Pack({"build", Path("data1"), Path("src"), "--encode-text"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("smile.txt: UTF-8 text with characters CP932 lacks"),
            std::string::npos)
      << refused.err;
  EXPECT_FALSE(std::filesystem::exists(Path("data1.pack")));
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

TEST_F(PackToolTest, ExtractRefusesNamesThatCollideAsTheEngineComparesThem) {
  dir_.Write("clash.pack", test::HandMadePack({{"x.tmp", BytesOf("temp")},
                                               {"x", BytesOf("plain")},
                                               {"dup.txt", BytesOf("first")},
                                               {"dup.txt", BytesOf("second")},
                                               {"a", BytesOf("file")},
                                               {"a\\b", BytesOf("inside")}}));
  auto extracted = Pack({"extract", Path("clash"), Path("out")});
  EXPECT_EQ(extracted.code, 1);
  EXPECT_EQ(extracted.out, "2 of 6 entries extracted\n");
  EXPECT_EQ(base::ReadWholeFile(Path("out/x.tmp")), BytesOf("temp"));
  EXPECT_EQ(base::ReadWholeFile(Path("out/x")), BytesOf("plain"));
  EXPECT_FALSE(std::filesystem::exists(Path("out/dup.txt")));
  EXPECT_FALSE(std::filesystem::exists(Path("out/a")));
  EXPECT_NE(extracted.err.find("dup.txt: a second entry of this name"), std::string::npos);
  EXPECT_NE(extracted.err.find("a: is also the folder of a\\b"), std::string::npos)
      << extracted.err;
}

TEST_F(PackToolTest, ExtractWritesNoMoreThanThePackJustifies) {
  dir_.Write("bomb.pack", test::SharedBodyBomb(8));  // under 400 bytes that would write 512 MiB
  auto extracted = Pack({"extract", Path("bomb"), Path("out")});
  EXPECT_EQ(extracted.code, 1);
  EXPECT_EQ(extracted.out, "0 of 8 entries extracted\n");
  EXPECT_NE(extracted.err.find("0.bin: its body shares bytes with the body of"), std::string::npos)
      << extracted.err;
  EXPECT_FALSE(std::filesystem::exists(Path("out")));
  // Alone, the body still declares more than 512 times its size.
  dir_.Write("alone.pack", test::SharedBodyBomb(1));
  extracted = Pack({"extract", Path("alone"), Path("out")});
  EXPECT_EQ(extracted.out, "0 of 1 entries extracted\n");
  EXPECT_NE(extracted.err.find("0.bin: pack entry \"0.bin\" does not expand"), std::string::npos)
      << extracted.err;
}

TEST_F(PackToolTest, BuildAndVerifyRefuseEveryNameExtractOrTheEngineRefuses) {
  Source("..\\..\\evil.txt", BytesOf("x"));  // one host file name holding backslashes
  auto built = Pack({"build", Path("data0"), Path("src")});
  EXPECT_EQ(built.code, 1);
  EXPECT_NE(built.err.find("evil.txt: no entry may have this name"), std::string::npos)
      << built.err;
  EXPECT_FALSE(std::filesystem::exists(Path("data0.pack")));

  dir_.Write("odd.pack", test::HandMadePack({{"..\\up.txt", BytesOf("1")},
                                             {"\\abs.txt", BytesOf("2")},
                                             {"twice", BytesOf("3")},
                                             {"twice", BytesOf("4")},
                                             {"fine", BytesOf("5")}}));
  auto verified = Pack({"verify", Path("odd")});
  EXPECT_EQ(verified.code, 1);
  for (const char* refused : {"..\\up.txt: no entry may have this name: a \".\" or \"..\" part",
                              "\\abs.txt: no entry may have this name: an empty part",
                              "twice: a second entry of this name"}) {
    EXPECT_NE(verified.err.find(refused), std::string::npos) << refused << "\n" << verified.err;
  }
  EXPECT_EQ(verified.err.find("fine:"), std::string::npos) << verified.err;
}

TEST_F(PackToolTest, BuildFollowsLinksOnlyToFilesInsideTheSourceFolder) {
  Source("real.txt", BytesOf("inside"));
  std::filesystem::create_symlink("real.txt", Path("src/alias.txt"));
  ASSERT_EQ(Pack({"build", Path("data0"), Path("src")}).code, 0);
  resource::THashFilePack pair(dir_.Path() / "data0", false);
  EXPECT_EQ(pair.Open("alias.txt"), BytesOf("inside"));

  dir_.Write("outside.txt", "secret");
  std::filesystem::create_symlink(Path("outside.txt"), Path("src/leak.txt"));
  std::filesystem::create_directory_symlink(Path("src"), Path("src/loop"));
  std::filesystem::create_symlink(Path("gone.txt"), Path("src/dangling.txt"));
  auto built = Pack({"build", Path("data1"), Path("src")});
  EXPECT_EQ(built.code, 1);
  for (const char* refused : {"dangling.txt: a link to nothing",
                              "leak.txt: a link to a file outside", "loop: a link to a folder"}) {
    EXPECT_NE(built.err.find(refused), std::string::npos) << refused << "\n" << built.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("data1.pack")));
}

TEST_F(PackToolTest, ControlCharactersAreEscapedInOutputAndRefusedInNames) {
  const std::string hostile = "esc\x1B]0;title\x07.txt";
  dir_.Write("ctl.pack", test::HandMadePack({{hostile, BytesOf("x")}}));
  auto listed = Pack({"list", Path("ctl")});
  EXPECT_EQ(listed.code, 0);
  EXPECT_NE(listed.out.find("esc\\x1B]0;title\\x07.txt"), std::string::npos) << listed.out;
  EXPECT_EQ(listed.out.find('\x1B'), std::string::npos);
  auto extracted = Pack({"extract", Path("ctl"), Path("out")});
  EXPECT_EQ(extracted.code, 1);
  EXPECT_NE(extracted.err.find("a control character"), std::string::npos) << extracted.err;
  EXPECT_EQ(extracted.err.find('\x1B'), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path("out")));
  Source("tab\there.txt", BytesOf("y"));
  auto built = Pack({"build", Path("data0"), Path("src")});
  EXPECT_EQ(built.code, 1);
  EXPECT_NE(built.err.find("tab\\x09here.txt: no entry may have this name: a control character"),
            std::string::npos)
      << built.err;
}

TEST_F(PackToolTest, BuildKeepsAboutOneEntryInMemory) {
  // Six files of 8 MiB that do not pack: the whole took three times 48 MiB.
  constexpr size_t kFileBytes = size_t{8} << 20;
  std::mt19937_64 random(7);
  base::Bytes noise(kFileBytes);
  for (int file = 0; file < 6; ++file) {
    for (size_t i = 0; i < kFileBytes; i += 8) {
      const uint64_t value = random();
      std::memcpy(noise.data() + i, &value, 8);
    }
    dir_.Write("src/" + std::to_string(file) + ".bin", noise);
  }
  ASSERT_EQ(Pack({"build", Path("data0"), Path("src"), "--compress"}).code, 0);
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(children.ru_maxrss, 64 * 1024);  // KiB: some 35 MiB, an entry read and packed
  EXPECT_EQ(std::filesystem::file_size(Path("data0.pack")) / kFileBytes, 6u);
}

}  // namespace
}  // namespace mavu::tools
