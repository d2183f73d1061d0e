#pragma once

#include <SDL.h>

#include "shell/sound/audio_output.h"

namespace mavu::shell {

// The sound card through SDL's audio callback: 44100 Hz, 16-bit stereo,
// pulled from the device on SDL's audio thread.
class SdlAudioOutput : public AudioOutput {
 public:
  ~SdlAudioOutput() override { Stop(); }

  bool Start(TDDSD7& device) override;
  void Stop() override;

 private:
  static void Callback(void* self, Uint8* stream, int length);

  TDDSD7* device_ = nullptr;
  SDL_AudioDeviceID id_ = 0;
};

}  // namespace mavu::shell
