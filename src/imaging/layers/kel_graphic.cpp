#include "imaging/layers/kel_graphic.h"

#include <algorithm>

#include "base/cp932.h"
#include "resource/data_tree.h"

namespace mavu::imaging {
namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr size_t kRuleField = 128;
constexpr size_t kPadding = 2;

}  // namespace

TKelGraphic::TKelGraphic() {
  SetScreenSize(kDefaultWidth, kDefaultHeight);
}

void TKelGraphic::SetScreenSize(int width, int height) {
  if (width == screen_.Width() && height == screen_.Height()) return;
  for (TARGB8888* image : {&screen_, &snapshot_, &output_}) {
    image->SetSize(width, height);
    ClearToBlack(*image);
  }
  compositor_.SetCanvas(screen_);
  repaint_ = true;
}

void TKelGraphic::ClearToBlack(TARGB8888& image) {
  image.FillSolid({0, 0, static_cast<float>(image.Width()), static_cast<float>(image.Height())},
                  kOpaqueBlack);
}

RectF TKelGraphic::WholeScreen() const {
  return {0, 0, static_cast<float>(screen_.Width()), static_cast<float>(screen_.Height())};
}

void TKelGraphic::SetBackground(uint32_t colour) {
  background_ = colour & 0x00FFFFFF;
  compositor_.SetBackground(background_);
}

void TKelGraphic::Freeze() {
  if (mode_ == Mode::kFrozen) return;
  snapshot_.AssignImage(screen_);
  snapshot_.SetBits(kOpaqueBlack, 0xFFFFFFFF);
  mode_ = Mode::kFrozen;
}

void TKelGraphic::Start(Mode mode, int32_t ms) {
  mode_ = mode;
  elapsed_ = 0;
  duration_ = std::max(ms, 0);
}

void TKelGraphic::CrossfadeIn(int32_t ms) {
  Start(Mode::kCrossfadeIn, ms);
}

void TKelGraphic::CrossfadeOut(int32_t ms) {
  Start(Mode::kCrossfadeOut, ms);
}

void TKelGraphic::WipeIn(int32_t ms, std::string_view ruleFile) {
  Start(Mode::kWipeIn, ms);
  LoadRule(ruleFile);
}

void TKelGraphic::WipeOut(int32_t ms, std::string_view ruleFile) {
  Start(Mode::kWipeOut, ms);
  LoadRule(ruleFile);
}

// A rule that cannot be read leaves the wipe running on the alpha it has.
void TKelGraphic::LoadRule(std::string_view ruleFile) {
  ruleFile_ = std::string(base::TruncateWhole(ruleFile, kRuleField - 1));
  std::optional<base::Bytes> bytes = resource::TryOpenDataFile(ruleFile);
  if (!bytes) return;
  base::ByteReader in(*bytes);
  try {
    snapshot_.LoadAlphaMask(in);
  } catch (const std::exception&) {
  }
}

void TKelGraphic::ColourEffect(int32_t ms, uint32_t colour, ColourOperation operation) {
  colourFrom_ = colourTo_;
  colourTo_ = colour;
  operation_ = operation;
  Start(Mode::kColourEffect, ms);
}

void TKelGraphic::AnimatedTransition(int32_t ms, std::string_view file) {
  if (!base::LowerName(file).ends_with(".b")) return;
  // Recorded requests of this layer would never be carried out, and the
  // transition would never end.
  DeferralPause pause(context_);
  // A transition that cannot be read is left out rather than holding the
  // screen frozen for the length of an empty animation.
  if (!transition_.LoadFile(file, {}, true)) {
    transition_.Reset();
    return;
  }
  Start(Mode::kAnimated, ms);
  ruleFile_ = std::string(base::TruncateWhole(file, kRuleField - 1));
  transition_.MoveTo(0, 0, static_cast<int32_t>(kTransitionPriority), 0);
  transition_.Animation().SetOwnImage(snapshot_);
  transition_.PlayMotionAt(0, true);
  transition_.Show();
}

void TKelGraphic::EndTransition() {
  if (mode_ != Mode::kNone) screen_.AssignImage(ShownPicture());
  compositor_.PostInvalidateAll();
  mode_ = Mode::kNone;
  elapsed_ = duration_ = 0;
  colourFrom_ = colourTo_ = 0;
  operation_ = ColourOperation::kOverlay;
  ruleFile_.clear();
  afterimage_ = false;
  transition_.Reset();
  ClearToBlack(snapshot_);
  ClearToBlack(output_);
  repaint_ = true;
}

void TKelGraphic::Advance(int32_t elapsed) {
  if (mode_ == Mode::kNone || mode_ == Mode::kFrozen) return;
  if (mode_ == Mode::kAnimated) {
    transition_.Update(elapsed);
    if (transition_.Animation().IsFinished()) EndMode(Mode::kNone);
    return;
  }
  elapsed_ =
      static_cast<int32_t>(std::min<int64_t>(int64_t{elapsed_} + std::max(elapsed, 0), duration_));
  if (elapsed_ < duration_) return;
  switch (mode_) {
    case Mode::kCrossfadeOut:
    case Mode::kWipeOut:
      return EndMode(Mode::kFrozen);
    case Mode::kColourEffect:
      // A colour that stays visible keeps tinting the screen until the end.
      if ((colourTo_ >> 24) != 0) return;
      return EndMode(Mode::kNone);
    default:
      return EndMode(Mode::kNone);
  }
}

void TKelGraphic::EndMode(Mode next) {
  mode_ = next;
  compositor_.PostInvalidateAll();
  repaint_ = true;
}

int TKelGraphic::Progress() const {
  if (duration_ <= 0) return 0;
  return static_cast<int>(std::min<int64_t>(255, int64_t{elapsed_} * 255 / duration_));
}

void TKelGraphic::Compose() {
  if (afterimage_) compositor_.PostAfterimage();
  if (mode_ == Mode::kAnimated) transition_.Post(-1, 0, 0);
  compositor_.Render(true);
  BuildOutput();
}

void TKelGraphic::BuildOutput() {
  const int b = Progress();
  const RectF all = WholeScreen();
  switch (mode_) {
    case Mode::kCrossfadeIn:
      return snapshot_.EffectCrossfade(screen_, output_, all, {0, 0}, 255 - b);
    case Mode::kCrossfadeOut:
      return snapshot_.EffectCrossfade(screen_, output_, all, {0, 0}, b);
    case Mode::kWipeIn:
      return snapshot_.EffectRuleWipe(screen_, output_, all, {0, 0}, 255 - b);
    case Mode::kWipeOut:
      return snapshot_.EffectRuleWipe(screen_, output_, all, {0, 0}, b);
    case Mode::kColourEffect:
      break;
    default:
      return;
  }
  const uint32_t colour = MixedColour(b);
  switch (operation_) {
    case ColourOperation::kAdd:
      return screen_.EffectAdd(output_, all, {0, 0}, colour);
    case ColourOperation::kMultiply:
      return screen_.EffectMultiply(output_, all, {0, 0}, colour);
    case ColourOperation::kInvert:
      return screen_.EffectInvert(output_, all, {0, 0}, colour);
    default:
      return screen_.EffectOverlay(output_, all, {0, 0}, colour);
  }
}

uint32_t TKelGraphic::MixedColour(int b) const {
  uint32_t mixed = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t from = (colourFrom_ >> shift) & 0xFF;
    const uint32_t to = (colourTo_ >> shift) & 0xFF;
    mixed |= ((from * static_cast<uint32_t>(255 - b) + to * static_cast<uint32_t>(b)) / 255)
             << shift;
  }
  return mixed;
}

const TARGB8888& TKelGraphic::ShownPicture() const {
  switch (mode_) {
    case Mode::kNone:
    case Mode::kAnimated:
      return screen_;
    case Mode::kFrozen:
      return snapshot_;
    default:
      return output_;
  }
}

void TKelGraphic::PresentToSurface(DisplaySurface& surface, bool full) {
  if (mode_ == Mode::kNone || mode_ == Mode::kAnimated) {
    if (!compositor_.PresentToSurface(surface, full || repaint_)) {
      repaint_ = true;
      return;
    }
  } else {
    PixelSurface target;
    if (surface.Lock(target)) {
      ShownPicture().CopyToSurface(target, {0, 0, Width(), Height()});
      surface.Unlock();
      surface.ShowBackBuffer();
    }
  }
  repaint_ = false;
}

void TKelGraphic::PresentToWindow(DisplaySurface& surface, bool full) {
  if (mode_ == Mode::kNone || mode_ == Mode::kAnimated) {
    compositor_.PresentToWindow(surface, full || repaint_);
  } else {
    surface.CopyToWindow(ShownPicture(), {0, 0, Width(), Height()});
  }
  repaint_ = false;
}

void TKelGraphic::SaveState(base::ByteWriter& out) const {
  out.U32(background_).U8(afterimage_ ? 1 : 0).ShortString(ruleFile_, kRuleField);
  out.U8(static_cast<uint8_t>(mode_)).Zeros(kPadding);
  out.I32(elapsed_).I32(duration_).U32(colourFrom_).U32(colourTo_);
  out.I32(static_cast<int32_t>(operation_));
  transition_.SaveState(out);
}

void TKelGraphic::LoadState(base::ByteReader& in) {
  if (in.Remaining() < kStateBytes + ImageLibState::kBytes) {
    throw base::FormatError("screen state: the record is short");
  }
  const uint32_t background = in.U32();
  const bool afterimage = in.U8() != 0;
  std::string rule = in.ShortString(kRuleField);
  const auto mode = static_cast<Mode>(in.U8());
  in.Skip(kPadding);
  const int32_t elapsed = in.I32();
  const int32_t duration = in.I32();
  const uint32_t from = in.U32();
  const uint32_t to = in.U32();
  const auto operation = static_cast<ColourOperation>(in.I32());
  transition_.LoadState(in);
  SetBackground(background);
  afterimage_ = afterimage;
  ruleFile_ = std::move(rule);
  mode_ = mode;
  elapsed_ = elapsed;
  duration_ = duration;
  colourFrom_ = from;
  colourTo_ = to;
  operation_ = operation;
  repaint_ = true;
}

}  // namespace mavu::imaging
