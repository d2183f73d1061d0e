// mavu-demo-pictures OUT_DIR: draws the demo game's pictures. What the game
// loads goes below OUT_DIR/pack (the tree its second data pack is made of);
// the pictures that animation descriptions embed go to OUT_DIR/art.
#include <cstdio>
#include <filesystem>

#include "base/byte_writer.h"
#include "demo_palette.h"
#include "imaging/png_writer.h"
#include "output_file.h"
#include "scenery.h"

namespace {

using namespace mavu;
namespace fs = std::filesystem;

constexpr int kRandomTableEntries = 1024;
constexpr int kIconSide = 64;
// The title's crescent moon, the square around it.
constexpr float kMoonLeft = 560;
constexpr float kMoonTop = 30;
constexpr float kMoonSide = 160;

bool Write(const fs::path& path, const base::Bytes& bytes) {
  return demo::WriteOutput("mavu-demo-pictures", path, bytes);
}

bool WritePicture(const fs::path& path, const imaging::TARGB8888& picture) {
  return Write(path, imaging::EncodePng(picture, imaging::PngAlpha::kKeep));
}

// The engine's random table (shakes, random waits): fixed values, so that
// every run of the demo looks the same.
base::Bytes RandomTable() {
  base::ByteWriter out;
  uint32_t state = 0x4D617675;
  for (int i = 0; i < kRandomTableEntries; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    out.U32(state);
  }
  return out.Take();
}

// The window's icon: the title's moon as one 64 x 64 PNG picture.
base::Bytes Icon(const imaging::TARGB8888& title) {
  imaging::TARGB8888 icon;
  icon.SetSize(kIconSide, kIconSide);
  title.DrawCopyStretched(
      icon, {kMoonLeft, kMoonTop, kMoonLeft + kMoonSide, kMoonTop + kMoonSide},
      {0, 0, kIconSide, kIconSide}, 255);
  const base::Bytes png = imaging::EncodePng(icon);
  base::ByteWriter out;
  out.U16(0).U16(1).U16(1);  // an icon file of one picture
  out.U8(kIconSide).U8(kIconSide).U8(0).U8(0).U16(1).U16(32);
  out.U32(static_cast<uint32_t>(png.size())).U32(6 + 16);
  out.Append(png);
  return out.Take();
}

bool WriteAll(const fs::path& out) {
  const fs::path pack = out / "pack";
  const fs::path art = out / "art";
  const imaging::TARGB8888 title = demo::TitleBackground();
  return WritePicture(pack / "bg" / "title.png", title) &&
         WritePicture(pack / "bg" / "rooftop.png", demo::RooftopAtSunset()) &&
         WritePicture(pack / "bg" / "night.png", demo::NightSky()) &&
         WritePicture(pack / "bg" / "room.png", demo::Room()) &&
         WritePicture(pack / "chara" / "mio.png", demo::Character()) &&
         WritePicture(pack / "system" / "window.png", demo::MessageWindow()) &&
         WritePicture(pack / "system" / "nameplate.png", demo::NamePlate()) &&
         Write(pack / "rule" / "diagonal.bmp", demo::EncodeGreyBmp(demo::DiagonalRule())) &&
         Write(pack / "system" / "etc" / "RandomTable.dat", RandomTable()) &&
         Write(pack / "system" / "etc" / "icon.ico", Icon(title)) &&
         WritePicture(art / "button.png",
                      demo::ButtonSheet(demo::kTitleButtonWidth, demo::kTitleButtonHeight)) &&
         WritePicture(pack / "system" / "button_choice.png",
                      demo::ButtonSheet(demo::kChoiceButtonWidth, demo::kChoiceButtonHeight)) &&
         WritePicture(art / "wait_arrow.png", demo::WaitArrow());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mavu-demo-pictures OUT_DIR\n");
    return 2;
  }
  return WriteAll(argv[1]) ? 0 : 1;
}
