#include "imaging/layers/image_lib_state.h"

namespace mavu::imaging {
namespace {

void WriteRect(base::ByteWriter& out, const ImageLibState::Rect& r) {
  out.I32(r.left).I32(r.top).I32(r.right).I32(r.bottom);
}

ImageLibState::Rect ReadRect(base::ByteReader& in) {
  ImageLibState::Rect r;
  r.left = in.I32();
  r.top = in.I32();
  r.right = in.I32();
  r.bottom = in.I32();
  return r;
}

void WritePlace(base::ByteWriter& out, const ImageLibState::Place& p) {
  out.I32(p.x).I32(p.y).I32(p.priority);
}

ImageLibState::Place ReadPlace(base::ByteReader& in) {
  ImageLibState::Place p;
  p.x = in.I32();
  p.y = in.I32();
  p.priority = in.I32();
  return p;
}

}  // namespace

void ImageLibState::Write(base::ByteWriter& out) const {
  out.U8(shown ? 1 : 0).U8(enabled ? 1 : 0).I32(volume).I32(motion);
  for (int32_t clock : clocks) out.I32(clock);
  for (int32_t wait : waits) out.I32(wait);
  WritePlace(out, at);
  out.I32(opacity).I32(levelChannel).I32(playChannel);
  out.ShortString(file, kNameField).ShortString(imageFile, kNameField);
  WriteRect(out, hit);
  out.I32(mouseX).I32(mouseY);
  WriteRect(out, hover);
  WritePlace(out, moveStart);
  WritePlace(out, moveTarget);
  out.I32(moveLeft).I32(moveDuration);
  out.I32(fadeStart).I32(fadeTarget).I32(fadeLeft).I32(fadeDuration);
  out.U8(easing).ShortString(tag, kNameField).I32(userValue);
  out.I32(anchorH).I32(anchorV).I32(mouseMask).I32(drawMask).I32(motionSeen);
  out.ShortString(watchedMotion, kMotionField).ShortString(watchedLabel, kLabelField);
}

ImageLibState ImageLibState::Read(base::ByteReader& in) {
  if (in.Remaining() < kBytes) throw base::FormatError("layer state: the block is short");
  ImageLibState s;
  s.shown = in.U8() != 0;
  s.enabled = in.U8() != 0;
  s.volume = in.I32();
  s.motion = in.I32();
  for (int32_t& clock : s.clocks) clock = in.I32();
  for (int32_t& wait : s.waits) wait = in.I32();
  s.at = ReadPlace(in);
  s.opacity = in.I32();
  s.levelChannel = in.I32();
  s.playChannel = in.I32();
  s.file = in.ShortString(kNameField);
  s.imageFile = in.ShortString(kNameField);
  s.hit = ReadRect(in);
  s.mouseX = in.I32();
  s.mouseY = in.I32();
  s.hover = ReadRect(in);
  s.moveStart = ReadPlace(in);
  s.moveTarget = ReadPlace(in);
  s.moveLeft = in.I32();
  s.moveDuration = in.I32();
  s.fadeStart = in.I32();
  s.fadeTarget = in.I32();
  s.fadeLeft = in.I32();
  s.fadeDuration = in.I32();
  s.easing = in.U8();
  s.tag = in.ShortString(kNameField);
  s.userValue = in.I32();
  s.anchorH = in.I32();
  s.anchorV = in.I32();
  s.mouseMask = in.I32();
  s.drawMask = in.I32();
  s.motionSeen = in.I32();
  s.watchedMotion = in.ShortString(kMotionField);
  s.watchedLabel = in.ShortString(kLabelField);
  return s;
}

}  // namespace mavu::imaging
