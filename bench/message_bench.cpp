// Text in message windows. ShowAll lays out a 4096-character page of Japanese
// with colour tags and 82 ruby runs in an 800 x 600 window that scrolls as it
// fills (one ShowAll stops after 4097 steps, and line breaks and ruby runs
// take steps of their own, so it runs twice); FreeType rendering the same glyphs alone, with no
// layout and no blending, is the floor. Then the frame of a scene with two windows typing a
// character each: their Update and Post and the stage's Compose.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "imaging/face_lookup.h"
#include "imaging/font_table.h"
#include "imaging/layers/stage.h"
#include "imaging/message/message_lib.h"

namespace {

using mavu::imaging::TMessageLib;

constexpr int kPageCharacters = 4096;
constexpr int kRubyEvery = 50;  // characters
constexpr int kColourEvery = 20;
constexpr int kFontSize = 32;
constexpr int kRubySize = 12;
constexpr int32_t kFrameMs = 16;
constexpr mavu::imaging::MessageLibState::Area kPageArea{0, 0, 780, 580};

const char* const kSentence = "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。";

struct Character {
  std::string utf8;
  char32_t point;
};

std::vector<Character> Characters(const std::string& utf8) {
  std::vector<Character> characters;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (size_t k = 1; k < length; ++k) point = point << 6 | (utf8[i + k] & 0x3F);
    characters.push_back({utf8.substr(i, length), point});
    i += length;
  }
  return characters;
}

// The page as the window reads it (CP932 with tags), and the code points of
// the glyphs it draws at the font size and at the ruby size.
struct Page {
  std::string text;
  std::vector<char32_t> glyphs;
  std::vector<char32_t> rubyGlyphs;
};

Page MakePage() {
  const std::vector<Character> sentence = Characters(kSentence);
  const std::vector<Character> base = Characters("漢字");
  const std::vector<Character> ruby = Characters("かんじ");
  Page page;
  std::string utf8;
  size_t next = 0;
  for (int n = 0; n < kPageCharacters;) {
    if (n % kRubyEvery == 0) {
      utf8 += "[rb,漢字,かんじ]";
      for (const Character& c : base) page.glyphs.push_back(c.point);
      for (const Character& c : ruby) page.rubyGlyphs.push_back(c.point);
      n += static_cast<int>(base.size());
      continue;
    }
    if (n % kColourEvery == 0) utf8 += n / kColourEvery % 2 ? "[c,$ffffc080]" : "[c]";
    const Character& c = sentence[next++ % sentence.size()];
    utf8 += c.utf8;
    page.glyphs.push_back(c.point);
    ++n;
  }
  page.text = mavu::base::Utf8ToCp932(utf8);
  return page;
}

const Page& ThePage() {
  static const Page page = MakePage();
  return page;
}

void BM_ShowAllPage(benchmark::State& state) {
  mavu::imaging::Stage stage;
  TMessageLib window{stage.Context()};
  window.SetArea(kPageArea);
  window.SetSkip(true);  // a full page scrolls on, as a skipping player sees it
  window.Enable();
  for (auto _ : state) {
    window.ClearPage();
    window.AddText(ThePage().text);
    for (int n = 0; n < 4 && window.MessageState() != TMessageLib::kIdle; ++n) window.ShowAll();
  }
  if (window.MessageState() != TMessageLib::kIdle) state.SkipWithError("the page was not laid out");
  state.SetItemsProcessed(state.iterations() * kPageCharacters);
}
BENCHMARK(BM_ShowAllPage)->Unit(benchmark::kMillisecond);

// FreeType alone: each glyph of the page loaded and rendered in grey levels
// at its size from the face the window's font slot uses.
void BM_FreeTypeFloor(benchmark::State& state) {
  const auto location = mavu::imaging::FindFace(
      mavu::base::Cp932ToUtf8(mavu::imaging::kDefaultFaceName), false, false);
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (!location || FT_Init_FreeType(&library) != 0 ||
      FT_New_Face(library, location->file.c_str(), location->index, &face) != 0) {
    state.SkipWithError("no face to draw with");
    return;
  }
  const auto renderAll = [&](const std::vector<char32_t>& glyphs, int size) {
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    for (char32_t point : glyphs) {
      FT_Load_Char(face, point, FT_LOAD_RENDER);
      benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    }
  };
  for (auto _ : state) {
    renderAll(ThePage().glyphs, kFontSize);
    renderAll(ThePage().rubyGlyphs, kRubySize);
  }
  state.SetItemsProcessed(state.iterations() * kPageCharacters);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
BENCHMARK(BM_FreeTypeFloor)->Unit(benchmark::kMillisecond);

// Two windows on one stage, each typing a character a frame.
void BM_TwoWindowsTypingFrame(benchmark::State& state) {
  mavu::imaging::Stage stage;
  TMessageLib top{stage.Context()};
  TMessageLib bottom{stage.Context()};
  const mavu::imaging::MessageLibState::Area area{0, 0, 760, 140};
  int32_t y = 20;
  for (TMessageLib* window : {&top, &bottom}) {
    window->SetArea(area);
    window->SetOwnSpeed(kFrameMs);
    window->SetSkip(true);
    window->MoveTo(20, y, 100, 0);
    window->Show();
    window->Enable();
    y += 400;
  }
  for (auto _ : state) {
    for (TMessageLib* window : {&top, &bottom}) {
      if (window->MessageState() == TMessageLib::kIdle) {
        window->ClearPage();
        window->AddText(ThePage().text);
      }
      window->Update(kFrameMs);
      window->Post(-1, 0, 0);
    }
    stage.AdvanceLayers(kFrameMs);
    stage.Compose();
  }
}
BENCHMARK(BM_TwoWindowsTypingFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
