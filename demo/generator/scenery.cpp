#include "scenery.h"

#include <array>
#include <cmath>

#include "demo_palette.h"
#include "painter.h"

namespace mavu::demo {
namespace {

using imaging::TARGB8888;

// The same pictures on every build: a fixed-seed xorshift.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // A whole number in low .. high - 1.
  int Between(int low, int high) { return low + static_cast<int>(Next() % (high - low)); }
  float Unit() { return static_cast<float>(Next() % 10000) / 10000.0f; }

 private:
  uint32_t state_;
};

TARGB8888 Blank(int width, int height) {
  TARGB8888 picture;
  picture.SetSize(width, height);
  return picture;
}

uint32_t WithAlpha(uint32_t colour, int alpha) {
  return (colour & 0x00FFFFFF) | static_cast<uint32_t>(alpha) << 24;
}

// Where a star must not fall: the patch of plain sky a test reads.
struct KeepClear {
  int x = -1000;
  int y = -1000;
  bool Near(float px, float py) const { return std::hypot(px - x, py - y) < 24; }
};

void Stars(Painter& painter, Dice& dice, int count, int width, int height, KeepClear clear = {}) {
  for (int i = 0; i < count; ++i) {
    const float x = static_cast<float>(dice.Between(0, width));
    const float y = static_cast<float>(dice.Between(0, height));
    const float radius = 0.6f + dice.Unit() * 1.2f;
    if (clear.Near(x, y)) continue;
    painter.Fill(Circle({x, y}, radius), WithAlpha(0xFFF8F4FF, dice.Between(140, 256)));
    // One star in eight gets a faint halo.
    if (i % 8 == 0) painter.Fill(Circle({x, y}, radius * 4), 0x20C8D8FF, 6.0f);
  }
}

void Moon(Painter& painter, Point centre, float radius, bool crescent) {
  painter.Fill(Circle(centre, radius * 1.8f), 0x24FFF0C8, radius);
  Shape moon = Circle(centre, radius);
  if (crescent)
    moon = Subtract(moon,
                    Circle({centre.x + radius * 0.45f, centre.y - radius * 0.3f}, radius * 0.9f));
  painter.Fill(moon, 0xFFFFF4D0, 1.5f);
}

// A row of dark buildings from x = `left` to `right` and from `top` down,
// some windows lit.
void Town(Painter& painter, Dice& dice, int left, int right, int top, int bottom, uint32_t colour,
          uint32_t lights) {
  for (int x = left - 10; x < right;) {
    const int w = dice.Between(40, 110);
    const int roof = top + dice.Between(0, 60);
    painter.Fill(RoundedBox(static_cast<float>(x), static_cast<float>(roof),
                            static_cast<float>(x + w), static_cast<float>(bottom), 1.0f),
                 colour);
    for (int wy = roof + 10; wy + 8 < bottom; wy += 18) {
      for (int wx = x + 8; wx + 8 < x + w; wx += 16) {
        if (dice.Between(0, 5) != 0) continue;
        painter.Fill(RoundedBox(static_cast<float>(wx), static_cast<float>(wy),
                                static_cast<float>(wx + 7), static_cast<float>(wy + 9), 1.0f),
                     lights);
      }
    }
    x += w + dice.Between(0, 12);
  }
}

// The rooftop's railing from x = `left` to `right`: two rails and posts.
void Railing(Painter& painter, int left, int right, int top, uint32_t colour) {
  const float l = static_cast<float>(left);
  const float r = static_cast<float>(right);
  const float t = static_cast<float>(top);
  painter.Fill(RoundedBox(l, t, r, t + 8, 3), colour);
  painter.Fill(RoundedBox(l, t + 44, r, t + 50, 3), colour);
  for (int x = 20 + (left / 64) * 64; x < right; x += 64) {
    const float px = static_cast<float>(x);
    painter.Fill(RoundedBox(px, t, px + 7, t + 110, 2), colour);
  }
}

}  // namespace

TARGB8888 TitleBackground() {
  TARGB8888 picture = Blank(kScreenWidth, kScreenHeight);
  Painter painter(picture);
  painter.Gradient(kTitleSky);
  Dice dice(0x5EED0001);
  Stars(painter, dice, 160, kScreenWidth, 420, {kTitleProbeX, kTitleProbeY});
  Moon(painter, {640, 110}, 46, true);
  Town(painter, dice, 0, kScreenWidth, 440, kScreenHeight, 0xFF0E0F26, 0xC0FFD27A);
  Railing(painter, 0, kScreenWidth, 500, 0xFF06070F);
  return picture;
}

TARGB8888 RooftopAtSunset() {
  constexpr int m = kSunsetMargin;
  TARGB8888 picture = Blank(kScreenWidth + 2 * m, kScreenHeight + 2 * m);
  Painter painter(picture, {m, m});
  painter.Gradient(kSunsetSky);
  Dice dice(0x5EED0002);
  painter.Fill(Circle({520, 392}, 110), 0x40FFD080, 60.0f);
  painter.Fill(Circle({520, 392}, 46), 0xFFFFE6A8, 2.0f);
  for (int i = 0; i < 6; ++i) {
    const Point at{static_cast<float>(dice.Between(200, 780)),
                   static_cast<float>(dice.Between(110, 300))};
    painter.Fill(Ellipse(at, 90.0f + dice.Between(0, 60), 12.0f + dice.Between(0, 8)), 0x48FFE4D8,
                 10.0f);
  }
  Town(painter, dice, -m, kScreenWidth + m, 360, 470, 0xFF3A2448, 0x90FFD890);
  painter.Fill(ConvexPolygon({{-m, 460}, {800 + m, 460}, {800 + m, 600 + m}, {-m, 600 + m}}),
               std::array<GradientStop, 2>{{{460, 0xFF5C4A5E}, {600, 0xFF2E2434}}});
  Railing(painter, -m, kScreenWidth + m, 410, 0xFF1E1628);
  return picture;
}

TARGB8888 NightSky() {
  TARGB8888 picture = Blank(kNightWidth, kScreenHeight);
  Painter painter(picture);
  painter.Gradient(kNightSky);
  Dice dice(0x5EED0003);
  // The Milky Way: faint soft patches along a diagonal.
  for (int i = 0; i < 40; ++i) {
    const float t = static_cast<float>(i) / 40;
    const Point at{80 + t * 820 + dice.Between(-30, 30), 420 - t * 380 + dice.Between(-30, 30)};
    painter.Fill(Circle(at, 30.0f + dice.Between(0, 30)), 0x0CD8D0FF, 30.0f);
  }
  Stars(painter, dice, 320, kNightWidth, 460);
  painter.Fill(ConvexPolygon({{300, 90}, {420, 150}, {419, 152}, {299, 92}}), 0xC0FFFFFF, 1.5f);
  Moon(painter, {780, 120}, 40, false);
  Town(painter, dice, 0, kNightWidth, 430, kScreenHeight, 0xFF070A1C, 0xB0FFD27A);
  Railing(painter, 0, kNightWidth, 480, 0xFF04050C);
  return picture;
}

TARGB8888 Room() {
  TARGB8888 picture = Blank(kScreenWidth, kScreenHeight);
  Painter painter(picture);
  painter.Gradient(kRoomWall);
  painter.Fill(ConvexPolygon({{0, 430}, {800, 430}, {800, 600}, {0, 600}}), kRoomFloor, 0.5f);
  // The window and the evening sky in it.
  painter.Fill(RoundedBox(420, 90, 720, 330, 2), kWindowSky);
  Dice dice(0x5EED0004);
  for (int i = 0; i < 40; ++i) {
    painter.Fill(Circle({static_cast<float>(dice.Between(430, 710)),
                         static_cast<float>(dice.Between(100, 250))},
                        0.6f + dice.Unit()),
                 0xE0FFFFFF);
  }
  painter.Fill(Circle({660, 140}, 14), 0xFFFFF4D0, 1.5f);
  painter.Fill(Outline(RoundedBox(412, 82, 728, 338, 4), 10), 0xFFF4ECDC);
  painter.Fill(RoundedBox(566, 86, 574, 334, 1), 0xFFF4ECDC);
  // Curtains, a desk and a lamp's glow.
  painter.Fill(ConvexPolygon({{380, 70}, {440, 70}, {430, 360}, {370, 370}}), 0xFF9C5A5E, 2.0f);
  painter.Fill(ConvexPolygon({{700, 70}, {760, 70}, {770, 370}, {710, 360}}), 0xFF9C5A5E, 2.0f);
  painter.Fill(RoundedBox(40, 380, 360, 404, 4), 0xFF8A6444);
  painter.Fill(RoundedBox(56, 404, 72, 520, 2), 0xFF6A4A32);
  painter.Fill(RoundedBox(328, 404, 344, 520, 2), 0xFF6A4A32);
  painter.Fill(Circle({110, 330}, 90), 0x40FFE8B0, 70.0f);
  painter.Fill(ConvexPolygon({{86, 300}, {134, 300}, {146, 336}, {74, 336}}), 0xFFF0D8A0, 1.5f);
  painter.Fill(RoundedBox(106, 336, 114, 380, 2), 0xFF5A4A3A);
  return picture;
}

// A girl seen from behind against the light, in a sailor-collared school
// uniform: shoulder-length hair with a ribbon, a pleated skirt, dark
// stockings. Each part is its own shape so that it takes its own colour.
Shape Hair() {
  Shape hair = SmoothUnion(Circle({180, 104}, 62), Ellipse({128, 190}, 26, 64), 24);
  hair = SmoothUnion(std::move(hair), Ellipse({232, 190}, 26, 64), 24);
  return SmoothUnion(std::move(hair), RoundedBox(122, 110, 238, 236, 30), 12);
}

Shape Torso() {
  Shape torso = ConvexPolygon({{104, 236}, {256, 236}, {228, 380}, {132, 380}});
  torso = SmoothUnion(std::move(torso), Circle({116, 252}, 22), 14);
  torso = SmoothUnion(std::move(torso), Circle({244, 252}, 22), 14);
  torso = SmoothUnion(std::move(torso), RoundedBox(166, 200, 194, 244, 10), 10);
  const Shape leftArm = ConvexPolygon({{96, 250}, {126, 262}, {114, 404}, {88, 400}});
  const Shape rightArm = ConvexPolygon({{234, 262}, {264, 250}, {272, 400}, {246, 404}});
  return SmoothUnion(std::move(torso), Union(leftArm, rightArm), 8);
}

Shape Skirt() {
  return ConvexPolygon({{132, 364}, {228, 364}, {284, 476}, {76, 476}});
}

Shape Legs() {
  return Union(RoundedBox(138, 460, 162, 560, 10), RoundedBox(198, 460, 222, 560, 10));
}

Shape Hands() {
  return Union(Ellipse({101, 412}, 12, 15), Ellipse({259, 412}, 12, 15));
}

Shape Figure() {
  return Union(Union(Hair(), Torso()), Union(Skirt(), Union(Legs(), Hands())));
}

// The pleats: thin lit lines fanning out from the waist.
void Pleats(Painter& painter) {
  for (float x : {140.0f, 160.0f, 180.0f, 200.0f, 220.0f}) {
    const float spread = (x - 180) * 0.9f;
    painter.Fill(
        ConvexPolygon({{x, 368}, {x + 1.5f, 368}, {x + spread + 1.5f, 474}, {x + spread, 474}}),
        0x28FFFFFF, 1.0f);
  }
}

// The sailor collar's square flap over the back, with its two stripes.
void Collar(Painter& painter) {
  const Shape flap = ConvexPolygon({{120, 228}, {240, 228}, {236, 300}, {124, 300}});
  painter.Fill(flap, kCollar, 1.5f);
  painter.Fill(Intersect(Outline(flap, 9.0f), Subtract(flap, Outline(flap, 6.0f))), kCollarStripe,
               1.0f);
  painter.Fill(Intersect(Outline(flap, 14.0f), Subtract(flap, Outline(flap, 12.0f))), kCollarStripe,
               1.0f);
}

void HairAndRibbon(Painter& painter) {
  painter.Fill(Hair(), std::array<GradientStop, 2>{{{40, kHairTop}, {250, kHairBottom}}}, 1.5f);
  // The sheen of the evening light across the crown.
  const Shape ring = Subtract(Ellipse({190, 96}, 54, 30), Ellipse({186, 104}, 50, 26));
  painter.Fill(Intersect(ring, Hair()), 0x40FFD8B0, 4.0f);
  const Shape bow = Union(ConvexPolygon({{226, 70}, {206, 56}, {208, 86}}),
                          ConvexPolygon({{226, 70}, {246, 54}, {248, 86}}));
  painter.Fill(Union(bow, Circle({226, 71}, 6)), kRibbon, 1.5f);
}

TARGB8888 Character() {
  TARGB8888 picture = Blank(kCharacterWidth, kCharacterHeight);
  Painter painter(picture);
  painter.Fill(Legs(), kStockings, 1.5f);
  painter.Fill(Hands(), kSkinInShade, 1.5f);
  painter.Fill(Torso(), std::array<GradientStop, 2>{{{200, kUniformTop}, {400, kUniformBottom}}},
               1.5f);
  painter.Fill(Skirt(), std::array<GradientStop, 2>{{{364, kUniformTop}, {476, kUniformBottom}}},
               1.5f);
  Pleats(painter);
  Collar(painter);
  HairAndRibbon(painter);
  // The sun is low on her right: its light rims that side of the outline.
  const Shape sunSide = ConvexPolygon({{200, 0}, {360, 0}, {360, 470}, {200, 470}});
  painter.Fill(Intersect(Outline(Figure(), 3.0f), sunSide), 0x90FFC890, 2.0f);
  return picture;
}

TARGB8888 MessageWindow() {
  TARGB8888 picture = Blank(kWindowWidth, kWindowHeight);
  Painter painter(picture);
  const Shape frame = RoundedBox(10, 8, kWindowWidth - 10, kWindowHeight - 6, 16);
  painter.Fill(frame, kWindowFill, 1.5f);
  painter.Fill(Outline(RoundedBox(10, 8, kWindowWidth - 10, kWindowHeight - 6, 16), 2.5f),
               kWindowEdge, 1.0f);
  painter.Fill(RoundedBox(30, 20, kWindowWidth - 30, 22, 1), 0x40FFFFFF, 1.0f);
  return picture;
}

TARGB8888 NamePlate() {
  TARGB8888 picture = Blank(kPlateWidth, kPlateHeight);
  Painter painter(picture);
  const float w = static_cast<float>(kPlateWidth);
  const float h = static_cast<float>(kPlateHeight);
  painter.Fill(RoundedBox(2, 2, w - 2, h - 2, 10), 0xE0283868, 1.5f);
  painter.Fill(Outline(RoundedBox(2, 2, w - 2, h - 2, 10), 2.0f), kWindowEdge, 1.0f);
  return picture;
}

TARGB8888 ButtonSheet(int width, int height) {
  TARGB8888 picture = Blank(width * 3, height);
  Painter painter(picture);
  const std::array<uint32_t, 3> fills = {kButtonRest, kButtonLit, kButtonPressed};
  const std::array<uint32_t, 3> edges = {kButtonEdge, kButtonLitEdge, kButtonLitEdge};
  const float h = static_cast<float>(height);
  for (int state = 0; state < 3; ++state) {
    const float left = static_cast<float>(state * width);
    const float right = left + static_cast<float>(width);
    painter.Fill(RoundedBox(left + 4, 4, right - 4, h - 4, 14), fills[state], 1.5f);
    painter.Fill(Outline(RoundedBox(left + 4, 4, right - 4, h - 4, 14), 2.0f), edges[state], 1.0f);
  }
  return picture;
}

TARGB8888 WaitArrow() {
  TARGB8888 picture = Blank(kCursorSize, kCursorSize);
  Painter painter(picture);
  painter.Fill(Circle({16, 14}, 12), 0x30FFE6A0, 8.0f);
  painter.Fill(ConvexPolygon({{6, 8}, {26, 8}, {16, 24}}), kCursorColour, 1.5f);
  return picture;
}

GreyPicture DiagonalRule() {
  GreyPicture rule{kScreenWidth, kScreenHeight, {}};
  rule.levels.reserve(static_cast<size_t>(kScreenWidth) * kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) rule.levels.push_back(RuleLevel(x, y));
  }
  return rule;
}

}  // namespace mavu::demo
