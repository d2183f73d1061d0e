#pragma once

#include <string>

#include "script/interpreter/interpreter_services.h"
#include "script/objects/kel_object_data_custom.h"

namespace mavu::script {

// A sound channel object (`TKelObjectDataSound`, kind snd, a stream channel):
// the channel is the number after the first comma of its name, so element n
// of "snd" drives channel n. Swapping two such objects swaps their channels'
// contents in the sound system.
class TKelObjectDataSound : public TKelObjectDataCustom {
 public:
  TKelObjectDataSound(std::string name, SoundService& sound)
      : TKelObjectDataSound(std::move(name), ObjectKind::kSound, sound) {}

  SoundFamily Family() const {
    return KindOf() == ObjectKind::kSound ? SoundFamily::kStream : SoundFamily::kEffect;
  }
  int32_t Channel() const { return channel_; }
  SoundService& Sound() { return sound_; }

  bool SwapContents(TKelObjectDataCustom& other) override;

 protected:
  TKelObjectDataSound(std::string name, ObjectKind kind, SoundService& sound);

 private:
  SoundService& sound_;
  int32_t channel_;
};

// An effect channel object (`TKelObjectDataDirectSound`, kind dsnd).
class TKelObjectDataDirectSound : public TKelObjectDataSound {
 public:
  TKelObjectDataDirectSound(std::string name, SoundService& sound)
      : TKelObjectDataSound(std::move(name), ObjectKind::kDirectSound, sound) {}
};

}  // namespace mavu::script
