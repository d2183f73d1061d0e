#include "script/objects/kel_object_data_sound.h"

#include <charconv>

namespace mavu::script {

namespace {

// A name without a comma or number names channel 0.
int32_t ChannelOf(const std::string& name) {
  const size_t comma = name.find(',');
  int32_t channel = 0;
  if (comma != std::string::npos)
    std::from_chars(name.data() + comma + 1, name.data() + name.size(), channel);
  return channel;
}

}  // namespace

TKelObjectDataSound::TKelObjectDataSound(std::string name, ObjectKind kind, SoundService& sound)
    : TKelObjectDataCustom(std::move(name), kind), sound_(sound), channel_(ChannelOf(Name())) {}

bool TKelObjectDataSound::SwapContents(TKelObjectDataCustom& other) {
  auto* sound = dynamic_cast<TKelObjectDataSound*>(&other);
  if (sound == nullptr || sound->KindOf() != KindOf()) return false;
  sound_.SwapSounds(Family(), channel_, sound->channel_);
  return true;
}

}  // namespace mavu::script
