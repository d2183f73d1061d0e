#include "hostile_games.h"

#include <array>
#include <stdexcept>
#include <string>

#include "base/byte_writer.h"
#include "base/file_io.h"
#include "resource/bpe.h"
#include "resource/hash_file_pack.h"
#include "resource/hash_table.h"
#include "support/hostile_data.h"

namespace mavu::test {
namespace {

constexpr int kBombArrays = 31;

void Write(const std::filesystem::path& path, const base::Bytes& bytes) {
  if (!base::WriteFileAtomic(path, bytes))
    throw std::runtime_error("cannot write " + path.string());
}

std::filesystem::path SaveFile(const HeadlessGame& game, std::string_view name) {
  return game.Folder() / "SaveData" / name;
}

void UseCodeKey(HeadlessGame& game) {
  game.Add("System/etc/Game.dat", "CodeKey=" + std::to_string(kHostileCodeKey) + "\n");
}

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line" + std::to_string(i % 7) + "=value\n";
  return text;
}

void PackAndBreak(HeadlessGame& game, std::string_view entry) {
  game.PackWith({"--compress"});
  BreakPackedEntry(game.Pack(), entry);
}

// A table of one variable of kind 9: the reader stops at the kind.
base::Bytes BadKindTable() {
  return base::ByteWriter().I32(1).U8(9).U8(0).Str16("visits").Zeros(600).Take();
}

void PointIndexAt(const std::filesystem::path& hash, std::string_view name, uint16_t entry) {
  resource::THashTable index(resource::THashFilePack::kIndexBuckets);
  if (!index.LoadFromFile(hash)) throw std::runtime_error("no index");
  index.Put(name, base::ByteWriter().U16(entry).Data());
  base::ByteWriter out;
  index.SaveToStream(out);
  Write(hash, out.Data());
}

}  // namespace

void MakeDamagedGameDat(HeadlessGame& game) {
  game.Script("@@TOP\n");
  game.Add("System/etc/Game.dat", "GameTitle=Damaged\n" + Lines(199));
  PackAndBreak(game, "system\\etc\\game.dat");
}

void MakeDamagedTextFile(HeadlessGame& game) {
  // Checksums on, the damage would end the run before the script sees it.
  game.Loose("GameData/System/config.txt", "CRCCheck=0\n");
  game.Script("@@TOP\n\\gvar,file,f\\scp,f\\l,\"data.txt\"\n");
  game.Add("data.txt", Lines(200));
  PackAndBreak(game, "data.txt");
}

void MakeSystemDataBomb(HeadlessGame& game) {
  UseCodeKey(game);
  game.Script("@@TOP\n");
  const base::Bytes bomb = SystemDataFile(StringArrayBomb(kBombArrays), kHostileCodeKey);
  std::filesystem::create_directories(game.Folder() / "SaveData");
  Write(SaveFile(game, "SystemData.dat"), bomb);
  Write(SaveFile(game, "SystemData.dat.bak"), bomb);
}

void MakeBadKindBesideAGoodCopy(HeadlessGame& game) {
  UseCodeKey(game);
  game.Script(
      "@@TOP\n"
      "\\vexs,visits\n"
      "\\if,ResultInt==0\\svar,int,visits\\fi\n"
      "\\cal,visits=visits+1\n");
  if (game.Run().code != 0) throw std::runtime_error("the first run failed");
  std::filesystem::copy_file(SaveFile(game, "SystemData.dat"),
                             SaveFile(game, "SystemData.dat.bak"));
  Write(SaveFile(game, "SystemData.dat"),
        SystemDataFile(resource::BpeCompress(BadKindTable()), kHostileCodeKey));
}

void MakeLongExpression(HeadlessGame& game) {
  constexpr int kBrackets = 64;
  constexpr size_t kOnes = size_t{1} << 20;
  std::string sum = "1";
  sum.reserve(2 * kOnes + 2 * kBrackets);
  for (size_t i = 1; i < kOnes; ++i) sum += "+1";
  game.Script("@@TOP\n\\gvar,int,x\n\\cal,x=" + std::string(kBrackets, '(') + sum +
              std::string(kBrackets, ')') + "\n");
}

void MakeLyingIndex(HeadlessGame& game) {
  game.Script("@@TOP\n\\gvar,int,ran\\cal,ran=1\n");
  game.Add("Other.s", "@@TOP\n\\gvar,int,ran\\cal,ran=2\n");
  game.Pack();
  // Entries in host-path order: other.s is entry 0, startup.s entry 1.
  const std::filesystem::path hash = game.Folder() / "GameData" / "data0.hash";
  PointIndexAt(hash, "startup.s", 0);
  PointIndexAt(hash, "other.s", 1);
}

std::span<const HostileGame> HostileGames() {
  static constexpr std::array<HostileGame, 6> kGames = {{
      {"damaged Game.dat", MakeDamagedGameDat},
      {"damaged text file", MakeDamagedTextFile},
      {"system-data string bomb", MakeSystemDataBomb},
      {"bad kind beside a good copy", MakeBadKindBesideAGoodCopy},
      {"long expression", MakeLongExpression},
      {"lying index", MakeLyingIndex},
  }};
  return kGames;
}

}  // namespace mavu::test
