#include "shell/app/startup_splash.h"

#include <memory>
#include <optional>
#include <string>

#include "base/bytes.h"
#include "imaging/system_font.h"
#include "resource/data_tree.h"

namespace mavu::shell {
namespace {

constexpr std::string_view kPictureName = "system\\startup\\WakeUp.png";
constexpr std::string_view kFace = "SYSTEM";
constexpr std::string_view kCompleteText = "System Initialize Complete !";
constexpr int kFontSize = 16;
constexpr int kTextY = 460;
constexpr int kTextX = 20;
constexpr int kPercentX = 580;
constexpr float kBarTop = 457;
constexpr float kBarBottom = 459;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

imaging::RectF Rect(float left, float top, float right, float bottom) {
  return {left, top, right, bottom};
}

}  // namespace

StartupSplash::StartupSplash(Display& display, base::Clock& clock)
    : display_(display), clock_(clock) {
  display_.ApplyScreenMode({kWidth, kHeight, false, true});
  font_.SetSystemFont(std::string(kFace), std::make_unique<imaging::TSystemFont>(kFace, 1, 0));
  canvas_.SetSize(kWidth, kHeight);
  LoadPicture();
}

// A picture that does not load is a splash without a picture, not a reason
// to keep the game from starting.
void StartupSplash::LoadPicture() {
  picture_.SetSize(kWidth, kHeight);
  picture_.FillSolid(Rect(0, 0, kWidth, kHeight), kNoPicture);
  const std::optional<base::Bytes> bytes = resource::TryOpenDataFile(kPictureName);
  if (!bytes) return;
  imaging::TARGB8888 loaded;
  try {
    base::ByteReader in(*bytes);
    loaded.LoadPng(in);
  } catch (const std::exception&) {
    return;
  }
  picture_.FillSolid(Rect(0, 0, kWidth, kHeight), kBlack);
  loaded.DrawCopy(picture_, Rect(0, 0, loaded.Width(), loaded.Height()), {0, 0}, 255);
}

void StartupSplash::Step(std::string_view text, int percent) {
  canvas_.AssignImage(picture_);
  canvas_.FillSolid(Rect(0, kStripTop, kWidth, kHeight), kBlack);
  canvas_.FillSolid(Rect(0, kBarTop, static_cast<float>(percent * kWidth / 100), kBarBottom),
                    kWhite);
  font_.DrawGlyphs(canvas_, text, false, kWhite, kFontSize, kFontSize, kTextX, kTextY);
  font_.DrawGlyphs(canvas_, std::to_string(percent) + " %", false, kWhite, kFontSize, kFontSize,
                   kPercentX, kTextY);
  display_.CopyToWindow(canvas_, {0, 0, kWidth, kHeight});
  display_.Flush();
  clock_.SleepMs(kStepPauseMs);
}

void StartupSplash::Complete() {
  Step(kCompleteText, 100);
  Step(kCompleteText, 100);
  clock_.SleepMs(kCompletePauseMs);
}

}  // namespace mavu::shell
