#pragma once

#include <array>
#include <cstdint>
#include <span>

// The demo's colours and the gradients its backgrounds are made of. The
// end-to-end test of the demo reads the screen against these same formulas.
namespace mavu::demo {

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;

// A colour at a row of a vertical gradient.
struct GradientStop {
  int y;
  uint32_t colour;  // 0xAARRGGBB
};

// Channel by channel, a + (b - a) * t / span, rounded toward zero.
constexpr uint32_t Mix(uint32_t a, uint32_t b, int t, int span) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int from = static_cast<int>((a >> shift) & 0xFF);
    const int to = static_cast<int>((b >> shift) & 0xFF);
    out |= static_cast<uint32_t>(from + (to - from) * t / span) << shift;
  }
  return out;
}

// The colour of row y: linear between the stops around it, the end stops'
// colours beyond them. Stops are in rising y.
constexpr uint32_t GradientAt(std::span<const GradientStop> stops, int y) {
  if (y <= stops.front().y) return stops.front().colour;
  for (size_t i = 1; i < stops.size(); ++i) {
    if (y <= stops[i].y) {
      return Mix(stops[i - 1].colour, stops[i].colour, y - stops[i - 1].y,
                 stops[i].y - stops[i - 1].y);
    }
  }
  return stops.back().colour;
}

// Title: a night sky over the town, stars, a crescent moon.
inline constexpr std::array<GradientStop, 3> kTitleSky = {
    {{0, 0xFF0A0F2E}, {380, 0xFF2B2460}, {600, 0xFF4A2F6E}}};
// A patch of the title sky kept free of stars and shapes, which the test reads.
inline constexpr int kTitleProbeX = 60;
inline constexpr int kTitleProbeY = 300;

// The rooftop at sunset, drawn with a margin all round so that a shaking
// camera never shows its edge: the picture's (kSunsetMargin, kSunsetMargin)
// is the scene's (0, 0), and the game places it at (-kSunsetMargin, -kSunsetMargin).
// Gradient rows are the scene's.
inline constexpr int kSunsetMargin = 20;
inline constexpr std::array<GradientStop, 4> kSunsetSky = {
    {{0, 0xFF2C3170}, {200, 0xFF8C4F86}, {360, 0xFFE8875A}, {430, 0xFFF6C67A}}};
inline constexpr int kSunsetProbeX = 40;
inline constexpr int kSunsetProbeY = 60;

// The night sky the first ending looks at; wider than the screen for the camera.
inline constexpr int kNightWidth = 960;
inline constexpr std::array<GradientStop, 3> kNightSky = {
    {{0, 0xFF03061A}, {300, 0xFF101A46}, {600, 0xFF283A6E}}};

// The room of the second ending: wall, floor, and the evening sky in the window.
inline constexpr std::array<GradientStop, 2> kRoomWall = {{{0, 0xFFE6D5B8}, {430, 0xFFC9B08E}}};
inline constexpr std::array<GradientStop, 2> kRoomFloor = {{{430, 0xFF7A5A40}, {600, 0xFF5A3F2C}}};
inline constexpr std::array<GradientStop, 2> kWindowSky = {{{90, 0xFF141C4A}, {330, 0xFF46407A}}};

// The character: a girl seen from behind, dark against the sky.
inline constexpr int kCharacterWidth = 360;
inline constexpr int kCharacterHeight = 560;
inline constexpr uint32_t kHairTop = 0xFF3A2C3A;
inline constexpr uint32_t kHairBottom = 0xFF241A28;
inline constexpr uint32_t kRibbon = 0xFFD05078;
inline constexpr uint32_t kUniformTop = 0xFF2A2E5C;
inline constexpr uint32_t kUniformBottom = 0xFF181B3A;
inline constexpr uint32_t kCollar = 0xFF343A72;
inline constexpr uint32_t kCollarStripe = 0xD0E8E4F0;
inline constexpr uint32_t kStockings = 0xFF16131F;
inline constexpr uint32_t kSkinInShade = 0xFF9A7478;

// The wipe's rule picture: a diagonal from the top left (255, shown first by
// a wipe in) to the bottom right (0, last).
constexpr uint8_t RuleLevel(int x, int y) {
  return static_cast<uint8_t>(255 - (x + y) * 255 / (kScreenWidth + kScreenHeight - 2));
}

// The message window and the name plate.
inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 180;
inline constexpr uint32_t kWindowFill = 0xD0101830;
inline constexpr uint32_t kWindowEdge = 0xF0B8C4E8;
inline constexpr int kPlateWidth = 200;
inline constexpr int kPlateHeight = 40;

// Buttons: three states side by side (rest, under the mouse, pressed).
inline constexpr int kTitleButtonWidth = 300;
inline constexpr int kTitleButtonHeight = 64;
inline constexpr int kChoiceButtonWidth = 560;
inline constexpr int kChoiceButtonHeight = 60;
inline constexpr uint32_t kButtonRest = 0xB0202A58;
inline constexpr uint32_t kButtonLit = 0xE0404E9C;
inline constexpr uint32_t kButtonPressed = 0xF0705098;
inline constexpr uint32_t kButtonEdge = 0xFFC8D0F4;
inline constexpr uint32_t kButtonLitEdge = 0xFFFFE6A0;

// The wait indicator: a small downward arrow.
inline constexpr int kCursorSize = 32;
inline constexpr uint32_t kCursorColour = 0xFFFFE6A0;

}  // namespace mavu::demo
