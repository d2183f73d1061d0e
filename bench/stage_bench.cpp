// The stage's frame at 800 x 600: a background, 8 characters with alpha and
// 0 or 20 buttons, every layer moved each frame so that every band redraws,
// carried through the layers' Update and Post and TKelGraphic::Compose;
// against pixman compositing the same pictures with OVER (premultiplied once,
// outside the timing). Then the layers' own share of a frame: Update and Post
// of 100 animated objects of 8 layers each.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "imaging/animation/animation_file.h"
#include "imaging/argb8888.h"
#include "imaging/layers/button_lib.h"
#include "imaging/layers/image_lib.h"
#include "imaging/layers/kel_graphic.h"
#include "resource/data_tree.h"
#include "test_images.h"

namespace {

using mavu::imaging::AnimationFile;
using mavu::imaging::AnimationMotion;
using mavu::imaging::KeyDrawType;
using mavu::imaging::TARGB8888;
using mavu::imaging::TButtonLib;
using mavu::imaging::TImageLib;
using mavu::imaging::TKelGraphic;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kCharacters = 8;
constexpr int kCharacterWidth = 200;
constexpr int kCharacterHeight = 480;
constexpr int kButtonWidth = 160;
constexpr int kButtonHeight = 40;
constexpr int kButtonColumns = 4;
constexpr int32_t kFrameMs = 16;
constexpr int kAnimatedObjects = 100;
constexpr int kAnimatedLayers = 8;
constexpr int kSheetSize = 256;
constexpr int kCellSize = 64;

// Noise with, when asked, a sprite's alpha: transparent surroundings, an
// 8-pixel soft edge and an opaque body.
mavu::test::TopDownImage Picture(int width, int height, uint32_t seed, bool withAlpha) {
  mavu::test::TopDownImage image{width, height, std::vector<uint32_t>(size_t(width) * height)};
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t alpha = 255;
      if (withAlpha) {
        const int edge = std::min({x, width - 1 - x, y, height - 1 - y});
        alpha = edge < 16 ? 0 : edge < 24 ? static_cast<uint32_t>((edge - 16) * 32) : 255;
      }
      image.pixels[size_t(y) * width + x] = alpha << 24 | (static_cast<uint32_t>(rng()) & 0xFFFFFF);
    }
  }
  return image;
}

// Motion 0 of "anim.b": layer 0 frames the object and drifts; layers 1 to 7
// draw cells of a 4 x 4 sheet with alpha, moving, changing cells and fading
// through keys 100 ms apart with linear, spline and eased rectangles; the last
// key loops back to the first.
mavu::base::Bytes AnimatedObjectFile() {
  AnimationMotion motion = AnimationMotion::Fresh();
  motion.layers.resize(kAnimatedLayers, mavu::imaging::AnimationLayer::Fresh(0));
  for (int l = 0; l < kAnimatedLayers; ++l) {
    for (int k = 0; k < mavu::imaging::AnimationLayer::kKeys; ++k) {
      mavu::imaging::AnimationKey& key = motion.layers[l].keys[k];
      key.time = k * 100;
      const auto at = static_cast<int16_t>((k * 7 + l * 13) % 40);
      key.destination = {at, at, static_cast<int16_t>(at + kCellSize),
                         static_cast<int16_t>(at + kCellSize), static_cast<int16_t>(l)};
      key.destinationMode = static_cast<uint8_t>(1 + l % 5);
      if (l == 0) continue;
      const auto cell = static_cast<int16_t>(((k + l) % 16) * kCellSize);
      const auto left = static_cast<int16_t>(cell % kSheetSize);
      const auto top = static_cast<int16_t>(cell / kSheetSize * kCellSize);
      key.source = {left, top, static_cast<int16_t>(left + kCellSize),
                    static_cast<int16_t>(top + kCellSize)};
      key.colour = (static_cast<uint32_t>(128 + (k * 37) % 128) << 24) | 0xFFFFFF;
      key.colourMode = 1;
      key.drawType = static_cast<uint8_t>(KeyDrawType::kAlpha);
    }
    mavu::imaging::AnimationKey& last = motion.layers[l].keys.back();
    last.action = static_cast<uint8_t>(mavu::imaging::KeyAction::kJump);
    last.argument = 0;
  }
  AnimationFile file;
  file.motions = {motion};
  file.hasImage = true;
  file.imageFormat = static_cast<uint8_t>(mavu::imaging::EmbeddedImageFormat::kPng);
  file.image = mavu::test::EncodePng(Picture(kSheetSize, kSheetSize, 9, true), true);
  return mavu::imaging::WriteAnimationFile(file);
}

// The pictures as loose files of a game folder that the data tree reads.
class GameFolder {
 public:
  GameFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mavu-stage-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    path_ = pattern;
    Write("bg.png", mavu::test::EncodePng(Picture(kWidth, kHeight, 1, false), false));
    for (int i = 0; i < kCharacters; ++i) {
      Write(Character(i),
            mavu::test::EncodePng(Picture(kCharacterWidth, kCharacterHeight, 10 + i, true), true));
    }
    Write("button.png", mavu::test::EncodePng(Picture(kButtonWidth, kButtonHeight, 2, true), true));
    Write("anim.b", AnimatedObjectFile());
    mavu::resource::TheDataTree().ResetDataDirs();
    mavu::resource::TheDataTree().SetProgramDirectory(path_);
  }
  ~GameFolder() { std::filesystem::remove_all(path_); }

  static std::string Character(int i) { return "character" + std::to_string(i) + ".png"; }

 private:
  void Write(const std::string& name, const mavu::base::Bytes& bytes) {
    std::ofstream(path_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  std::filesystem::path path_;
};

GameFolder& Folder() {
  static GameFolder folder;
  return folder;
}

struct Placed {
  std::unique_ptr<TImageLib> layer;
  int32_t x;
  int32_t y;
  int32_t priority;
};

// The scene on its own stage; every layer moves by a pixel each frame.
class Scene {
 public:
  explicit Scene(int buttons) {
    Folder();
    Add(std::make_unique<TImageLib>(graphic_.Context()), "bg.png", 0, 0, 0);
    for (int i = 0; i < kCharacters; ++i) {
      Add(std::make_unique<TImageLib>(graphic_.Context()), GameFolder::Character(i), 10 + i * 90,
          100, 10 + i);
    }
    for (int i = 0; i < buttons; ++i) {
      Add(std::make_unique<TButtonLib>(graphic_.Context()), "button.png",
          20 + (i % kButtonColumns) * 195, 300 + (i / kButtonColumns) * 55, 100 + i);
    }
  }

  void Frame(int n) {
    for (Placed& p : placed_) {
      p.layer->MoveTo(p.x + (n & 1), p.y, p.priority, 0);
      p.layer->Update(kFrameMs);
      p.layer->Post(-1, 0, 0);
    }
    graphic_.Advance(kFrameMs);
    graphic_.Compose();
  }

  int ChangedBands() {
    int changed = 0;
    for (int b = 0; b < graphic_.Compositor().BandCount(); ++b) {
      changed += graphic_.Compositor().BandChanged(b) ? 1 : 0;
    }
    return changed;
  }
  // Each layer's picture and where it lies, for the peer.
  template <class F>
  void ForEachPicture(F f) const {
    for (const Placed& p : placed_) f(*p.layer->Animation().Image(), p.x, p.y);
  }

 private:
  void Add(std::unique_ptr<TImageLib> layer, const std::string& file, int32_t x, int32_t y,
           int32_t priority) {
    if (!layer->LoadFile(file, {}, false)) throw std::runtime_error("cannot load " + file);
    layer->Show();
    placed_.push_back({std::move(layer), x, y, priority});
  }

  TKelGraphic graphic_;
  std::vector<Placed> placed_;
};

uint32_t Premultiply(uint32_t p) {
  const uint32_t a = p >> 24;
  auto channel = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255 << shift; };
  return a << 24 | channel(16) | channel(8) | channel(0);
}

// pixman's view of a buffer: top-down rows with a negative stride over the
// bottom-up memory. An opaque picture is x8r8g8b8, so that OVER takes
// pixman's opaque path as our copy does.
pixman_image_t* PixmanView(TARGB8888& image) {
  const pixman_format_code_t format = image.HasAlpha() ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8;
  return pixman_image_create_bits(format, image.Width(), image.Height(), image.Row(0),
                                  -static_cast<int>(image.Pitch()));
}

void BM_StageFrame(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) scene.Frame(n++);
  state.counters["bands redrawn"] = scene.ChangedBands();
}
BENCHMARK(BM_StageFrame)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_PixmanFrame(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  std::vector<TARGB8888> pictures;
  std::vector<std::pair<int, int>> places;
  scene.ForEachPicture([&](const TARGB8888& picture, int x, int y) {
    TARGB8888& copy = pictures.emplace_back();
    copy.AssignImage(picture);
    for (int row = 0; row < copy.Height(); ++row) {
      for (int col = 0; col < copy.Width(); ++col) {
        copy.Row(row)[col] = Premultiply(copy.Row(row)[col]);
      }
    }
    places.emplace_back(x, y);
  });
  std::vector<pixman_image_t*> sources;
  for (TARGB8888& picture : pictures) sources.push_back(PixmanView(picture));
  TARGB8888 screen;
  screen.SetSize(kWidth, kHeight);
  pixman_image_t* target = PixmanView(screen);
  int n = 0;
  for (auto _ : state) {
    const int shift = n++ & 1;
    for (size_t i = 0; i < sources.size(); ++i) {
      pixman_image_composite32(PIXMAN_OP_OVER, sources[i], nullptr, target, 0, 0, 0, 0,
                               places[i].first + shift, places[i].second, pictures[i].Width(),
                               pictures[i].Height());
    }
    benchmark::DoNotOptimize(screen.Row(0));
  }
  for (pixman_image_t* source : sources) pixman_image_unref(source);
  pixman_image_unref(target);
}
BENCHMARK(BM_PixmanFrame)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);

// The compositor's command list is emptied after each frame's posts, so that
// only the layers' work is measured.
void BM_AnimatedObjectsUpdateAndPost(benchmark::State& state) {
  Folder();
  TKelGraphic graphic;
  std::vector<std::unique_ptr<TImageLib>> objects;
  for (int i = 0; i < kAnimatedObjects; ++i) {
    auto& object = objects.emplace_back(std::make_unique<TImageLib>(graphic.Context()));
    if (!object->LoadFile("anim.b", {}, false)) throw std::runtime_error("cannot load anim.b");
    object->MoveTo((i % 10) * 80, (i / 10) * 60, i, 0);
    object->Show();
    object->Update(i * 37);
  }
  for (auto _ : state) {
    for (auto& object : objects) {
      object->Update(kFrameMs);
      object->Post(-1, 0, 0);
    }
    benchmark::DoNotOptimize(graphic.Compositor().CommandCount());
    graphic.Compositor().Reset();
  }
}
BENCHMARK(BM_AnimatedObjectsUpdateAndPost)->Unit(benchmark::kMicrosecond);

}  // namespace
