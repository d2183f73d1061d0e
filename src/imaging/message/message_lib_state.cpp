#include "imaging/message/message_lib_state.h"

#include <algorithm>

namespace mavu::imaging {
namespace {

void WritePair(base::ByteWriter& out, const MessageLibState::Pair& p) {
  out.I32(p.x).I32(p.y);
}

void BoundPair(MessageLibState::Pair& p) {
  p.x = MessageLibState::Bounded(p.x);
  p.y = MessageLibState::Bounded(p.y);
}

MessageLibState::Pair ReadPair(base::ByteReader& in) {
  MessageLibState::Pair p;
  p.x = in.I32();
  p.y = in.I32();
  return p;
}

}  // namespace

void MessageLibState::Bound() {
  for (Pair* p :
       {&pen, &pitch, &previousPitch, &size, &previousSize, &rubySize, &rubyPitch, &rubyOffset}) {
    BoundPair(*p);
  }
  lineStartIndent = MessageLibState::Bounded(lineStartIndent);
  fadeSpeed = std::clamp(fadeSpeed, 0, kMaxFadeSpeed);
  fadeRate = std::clamp(fadeRate, -kMaxFadeSpeed, kMaxFadeSpeed);
}

void MessageLibState::Write(base::ByteWriter& out) const {
  out.U8(state).U8(vertical ? 1 : 0).I32(font).I32(previousFont);
  out.I32(area.left).I32(area.top).I32(area.right).I32(area.bottom);
  WritePair(out, pen);
  WritePair(out, pitch);
  WritePair(out, previousPitch);
  WritePair(out, size);
  WritePair(out, previousSize);
  out.I32(readPosition).U32(colour).U32(previousColour);
  WritePair(out, rubySize);
  out.U32(rubyColour).U32(previousRubyColour).I32(rubyFont);
  WritePair(out, rubyPitch);
  WritePair(out, rubyOffset);
  out.I32(wait).ShortString(speaker, kNameField).ShortString(voice, kNameField);
  for (int32_t attribute : logAttributes) out.I32(attribute);
  out.I32(textOpacity).I32(fadeRate).I32(fadeSpeed).I32(lineStartIndent).I32(speedOverride);
  out.U32(textBackground).U8(scrollOnFullPage ? 1 : 0).ShortString(iconSheet, kNameField);
  out.I32(iconCellWidth).I32(iconCellHeight).U8(autoWaitCounting ? 1 : 0);
}

MessageLibState MessageLibState::Read(base::ByteReader& in) {
  if (in.Remaining() < kBytes) throw base::FormatError("message state: the block is short");
  MessageLibState s;
  s.state = in.U8();
  s.vertical = in.U8() != 0;
  s.font = in.I32();
  s.previousFont = in.I32();
  s.area = {in.I32(), in.I32(), in.I32(), in.I32()};
  s.pen = ReadPair(in);
  s.pitch = ReadPair(in);
  s.previousPitch = ReadPair(in);
  s.size = ReadPair(in);
  s.previousSize = ReadPair(in);
  s.readPosition = in.I32();
  s.colour = in.U32();
  s.previousColour = in.U32();
  s.rubySize = ReadPair(in);
  s.rubyColour = in.U32();
  s.previousRubyColour = in.U32();
  s.rubyFont = in.I32();
  s.rubyPitch = ReadPair(in);
  s.rubyOffset = ReadPair(in);
  s.wait = in.I32();
  s.speaker = in.ShortString(kNameField);
  s.voice = in.ShortString(kNameField);
  for (int32_t& attribute : s.logAttributes) attribute = in.I32();
  s.textOpacity = in.I32();
  s.fadeRate = in.I32();
  s.fadeSpeed = in.I32();
  s.lineStartIndent = in.I32();
  s.speedOverride = in.I32();
  s.textBackground = in.U32();
  s.scrollOnFullPage = in.U8() != 0;
  s.iconSheet = in.ShortString(kNameField);
  s.iconCellWidth = in.I32();
  s.iconCellHeight = in.I32();
  s.autoWaitCounting = in.U8() != 0;
  return s;
}

}  // namespace mavu::imaging
