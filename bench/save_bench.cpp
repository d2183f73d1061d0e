// Saving and loading a game in the middle of a scene: 20 pictures on an
// 800 x 600 screen (7 of them moving), both indicator layers, a message window
// with its text, a full 256-message backlog, 8 looping stream channels and
// 2,000 variables, the game's files in a pack. The floor is the same file's
// bytes written with fwrite (with and without fsync, as a save syncs its file)
// and read with fread. Where the time goes: the same save unpacked
// (packed:0), and the state stream alone, written (BM_WriteGameState) and
// installed (BM_InstallGameState).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_writer.h"
#include "base/cp932.h"
#include "base/error_log.h"
#include "base/file_io.h"
#include "imaging/argb8888.h"
#include "imaging/png_writer.h"
#include "script/interpreter/kel_script.h"
#include "support/script/live_game.h"
#include "support/sound/ogg_maker.h"
#include "support/temp_dir.h"

namespace {

using namespace mavu;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kPictures = 20;
constexpr int kCharacters = 4;  // pictures 1..4; 0 is the background, the rest small parts
constexpr int kMovingPictures = 7;
constexpr int kStreams = 8;
constexpr int kIntegers = 1200;
constexpr int kStrings = 600;
constexpr int kArrays = 200;
constexpr int kArrayLength = 16;
constexpr int kNamesPerLine = 30;  // a command holds 33 words, its name and kind among them
constexpr int kMaxSetUpFrames = 1000;
constexpr const char* kSaveName = "bench.svd";
constexpr const char* kUnpackedSaveName = "unpacked.svd";

// A gradient with a sprite's alpha border, as a game's PNG.
base::Bytes Picture(int width, int height, uint32_t seed) {
  imaging::TARGB8888 image;
  image.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool border = x < 8 || y < 8 || x >= width - 8 || y >= height - 8;
      const auto r = static_cast<uint32_t>(x * 255 / width);
      const auto g = static_cast<uint32_t>(y * 255 / height);
      image.SetPixel(x, y, (border ? 0x40u : 0xFFu) << 24 | r << 16 | g << 8 | (seed * 40 & 0xFF));
    }
  }
  return imaging::EncodePng(image, imaging::PngAlpha::kKeep);
}

std::string PictureName(int i) {
  return "pic" + std::to_string(i) + ".png";
}
std::string StreamName(int i) {
  return "bgm" + std::to_string(i) + ".ogg";
}

// "\gvar,kind,stem0suffix,stem1suffix,..." lines of kNamesPerLine names.
std::string Declare(std::string_view kind, std::string_view stem, int count,
                    std::string_view suffix = {}) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i % kNamesPerLine == 0) text += (i == 0 ? "\\gvar," : "\r\n\\gvar,") + std::string(kind);
    text += "," + std::string(stem) + std::to_string(i) + std::string(suffix);
  }
  return text + "\r\n";
}

std::string Variables() {
  std::string text = Declare("int", "n", kIntegers) + Declare("str", "s", kStrings) +
                     Declare("int", "a", kArrays, "[" + std::to_string(kArrayLength) + "]") +
                     "\\gvar,int,i,ready\r\n";
  for (int i = 0; i < kIntegers; ++i)
    text += "\\cal,n" + std::to_string(i) + "=" + std::to_string(i * 37) + "\r\n";
  const std::string flag = base::Utf8ToCp932("第二章の選択肢を選んだ");
  for (int i = 0; i < kStrings; ++i)
    text += "\\cal,s" + std::to_string(i) + "=\"" + flag + std::to_string(i) + "\"\r\n";
  text += "\\for,i=0,i<" + std::to_string(kArrayLength) + ",i=i+1\r\n";
  for (int i = 0; i < kArrays; ++i)
    text += "\\cal,a" + std::to_string(i) + "[i]=i*" + std::to_string(i) + "\r\n";
  return text + "\\next\r\n";
}

// Pictures 1..kMovingPictures are on their way across the screen.
std::string Scene() {
  std::string text = "\\gvar,img,pic[" + std::to_string(kPictures) + "]\\gvar,msg,m\r\n";
  for (int i = 0; i < kPictures; ++i) {
    const std::string at =
        std::to_string(i * 37 % 600) + "," + std::to_string(i * 23 % 400) + "," + std::to_string(i);
    text += "\\scp,pic[" + std::to_string(i) + "]\\l,\"" + PictureName(i) + "\"\\p," + at + ",0\\e";
    if (i >= 1 && i <= kMovingPictures) text += "\\p,500,100," + std::to_string(i) + ",600000";
    text += "\r\n";
  }
  text +=
      "\\scp,csr\\l,\"wait.png\"\\p,760,560,0,0\\e\\scp,scsr\\l,\"event.png\"\\p,20,20,0,0\\e\r\n";
  for (int i = 0; i < kStreams; ++i) {
    text += "\\scp,snd[" + std::to_string(i) + "]\\l,\"" + StreamName(i) + "\"\\p,1\r\n";
  }
  text += "\\scp,m\\ts,40,440,760,580\\e\\t," +
          base::Utf8ToCp932("「おはよう。今日はいい天気だね」と彼女は窓の外を見ながら言った。") +
          "\r\n";
  return text;
}

std::string MainScript() {
  return "@@start\r\n" + Variables() + Scene() + "\\cal,ready=1\r\n\\wait,100000000\r\n";
}

std::string AsText(const base::Bytes& bytes) {
  return {bytes.begin(), bytes.end()};
}

// The game's files: the script, the pictures and the streams.
std::map<std::string, std::string> GameFiles() {
  std::map<std::string, std::string> files = {
      {"main.s", MainScript()},
      {PictureName(0), AsText(Picture(kScreenWidth, kScreenHeight, 0))},
      {"wait.png", AsText(Picture(32, 32, 21))},
      {"event.png", AsText(Picture(64, 64, 22))}};
  for (int i = 1; i < kPictures; ++i) {
    files[PictureName(i)] = AsText(i <= kCharacters ? Picture(240, 480, i) : Picture(160, 60, i));
  }
  for (int i = 0; i < kStreams; ++i) {
    files[StreamName(i)] =
        AsText(test::MakeOgg({.seconds = 1.0, .frequency = 220.0 * (i + 2) / 2, .serial = i + 1}));
  }
  return files;
}

void FillBacklog(imaging::TKelLogData& backlog) {
  const std::string speaker = base::Utf8ToCp932("美咲");
  const std::string text = base::Utf8ToCp932(
      "「ねえ、この前の話の続きなんだけど、やっぱり週末は海に行かない？天気予報も晴れだって」");
  for (int i = 0; i < imaging::TKelLogData::kEntries; ++i) {
    backlog.Add({.speaker = speaker,
                 .text = text + std::to_string(i),
                 .voice = "voice\\m" + std::to_string(i) + ".ogg",
                 .attribute1 = static_cast<uint32_t>(i)});
  }
}

// The game run to the scene's wait, saved once so that every benchmark finds
// the file.
class SavedGame {
 public:
  SavedGame() {
    base::TheErrorLog().SetDirectory(folder_.Path());
    RunToWait();
    FillBacklog(game_.Stage().Backlog());
    if (!Script().SaveGame(kSaveName, true)) throw std::runtime_error("the first save failed");
  }

  script::TKelScript& Script() { return game_.Script(); }
  std::filesystem::path SaveFolder() const { return folder_.Path() / "SaveData"; }
  std::filesystem::path SaveFile() const { return SaveFolder() / kSaveName; }

 private:
  void RunToWait() {
    for (int frame = 0;
         frame < kMaxSetUpFrames && Script().CurrentWaitState() != script::WaitState::kTimed;
         ++frame) {
      game_.Frames(1);
    }
    game_.Frames(4);  // on their way
    const std::vector<std::string>& errors = base::TheErrorLog().Errors();
    if (!errors.empty()) throw std::runtime_error(base::Cp932ToUtf8(errors.front()));
    if (Script().Evaluate("ready").integer == 0)
      throw std::runtime_error("the scene did not reach its wait");
  }

  test::TempDir folder_;
  test::LiveGame game_{GameFiles(), SaveFolder(), kScreenWidth, kScreenHeight};
};

SavedGame& Game() {
  static SavedGame game;
  return game;
}

base::Bytes GameState() {
  base::ByteWriter out;
  if (!Game().Script().WriteGameState(out))
    throw std::runtime_error("the state was not written whole");
  return out.Take();
}

base::Bytes SaveFileBytes() {
  std::optional<base::Bytes> bytes = base::ReadWholeFile(Game().SaveFile());
  if (!bytes) throw std::runtime_error("the save file cannot be read");
  return *bytes;
}

// Unpacked to a file of its own, so that the others find the packed one.
void BM_SaveGame(benchmark::State& state) {
  const bool packed = state.range(0) != 0;
  const char* name = packed ? kSaveName : kUnpackedSaveName;
  for (auto _ : state) {
    if (!Game().Script().SaveGame(name, packed)) state.SkipWithError("the save failed");
  }
  state.counters["file_bytes"] =
      static_cast<double>(std::filesystem::file_size(Game().SaveFolder() / name));
  state.counters["state_bytes"] = static_cast<double>(GameState().size());
}

void BM_LoadGame(benchmark::State& state) {
  for (auto _ : state) {
    if (!Game().Script().LoadGame(kSaveName)) state.SkipWithError("the load failed");
  }
}

void BM_WriteGameState(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(GameState());
}

// The running game's own stream is written first, to go back to on damage.
void BM_InstallGameState(benchmark::State& state) {
  const base::Bytes saved = GameState();
  std::string why;
  for (auto _ : state) {
    if (!Game().Script().InstallGameState(saved, why)) state.SkipWithError(why.c_str());
  }
}

void BM_FwriteFloor(benchmark::State& state) {
  const bool sync = state.range(0) != 0;
  const base::Bytes bytes = SaveFileBytes();
  const std::string path = (Game().SaveFolder() / "floor.svd").string();
  for (auto _ : state) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        (sync && (std::fflush(file) != 0 || fsync(fileno(file)) != 0))) {
      state.SkipWithError("the floor's write failed");
    }
    if (file != nullptr) std::fclose(file);
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void BM_FreadFloor(benchmark::State& state) {
  const std::string path = Game().SaveFile().string();
  base::Bytes bytes(std::filesystem::file_size(path));
  for (auto _ : state) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      state.SkipWithError("the floor's read failed");
    }
    if (file != nullptr) std::fclose(file);
    benchmark::DoNotOptimize(bytes.data());
  }
}

}  // namespace

BENCHMARK(BM_SaveGame)->ArgName("packed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FwriteFloor)->ArgName("fsync")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreadFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteGameState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallGameState)->Unit(benchmark::kMillisecond);
