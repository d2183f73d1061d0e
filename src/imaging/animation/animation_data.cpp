#include "imaging/animation/animation_data.h"

namespace mavu::imaging {

void AnimationKey::Write(base::ByteWriter& out) const {
  out.I32(time);
  for (int16_t v : source) out.U16(static_cast<uint16_t>(v));
  for (int16_t v : destination) out.U16(static_cast<uint16_t>(v));
  out.U32(colour);
  out.U8(drawType).U8(sourceMode).U8(destinationMode).U8(colourMode).U8(action).U8(argument);
}

AnimationKey AnimationKey::Read(base::ByteReader& in) {
  AnimationKey key;
  key.time = in.I32();
  for (int16_t& v : key.source) v = static_cast<int16_t>(in.U16());
  for (int16_t& v : key.destination) v = static_cast<int16_t>(in.U16());
  key.colour = in.U32();
  key.drawType = in.U8();
  key.sourceMode = in.U8();
  key.destinationMode = in.U8();
  key.colourMode = in.U8();
  key.action = in.U8();
  key.argument = in.U8();
  return key;
}

AnimationLayer AnimationLayer::Fresh(int number) {
  AnimationLayer layer;
  layer.name = "Layer" + std::to_string(number);
  for (int k = 0; k < kKeys; ++k) {
    layer.keys[static_cast<size_t>(k)].time = k * 1000;
  }
  return layer;
}

void AnimationLayer::Write(base::ByteWriter& out) const {
  out.ShortString(name, kNameField);
  for (const AnimationKey& key : keys) key.Write(out);
}

AnimationLayer AnimationLayer::Read(base::ByteReader& in) {
  AnimationLayer layer;
  layer.name = in.ShortString(kNameField);
  for (AnimationKey& key : layer.keys) key = AnimationKey::Read(in);
  return layer;
}

AnimationMotion AnimationMotion::Fresh() {
  AnimationMotion motion;
  for (int i = 0; i < kFreshLayers; ++i) motion.layers.push_back(AnimationLayer::Fresh(i));
  return motion;
}

}  // namespace mavu::imaging
