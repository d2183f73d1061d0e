#include "shell/platform/sdl/sdl_audio_output.h"

#include <span>

#include "shell/sound/dd_sound_device.h"

namespace mavu::shell {

namespace {

// 23 ms per callback: short enough for effects to start on time, long
// enough that a busy machine does not run dry.
constexpr Uint16 kCallbackFrames = 1024;

}  // namespace

bool SdlAudioOutput::Start(TDDSD7& device) {
  Stop();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  device_ = &device;
  SDL_AudioSpec want{};
  want.freq = TDDSD7::kRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kCallbackFrames;
  want.callback = Callback;
  want.userdata = this;
  id_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (id_ == 0) {
    device_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(id_, 0);
  return true;
}

void SdlAudioOutput::Stop() {
  if (id_ == 0) return;
  SDL_CloseAudioDevice(id_);  // waits for a callback in progress
  id_ = 0;
  device_ = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOutput::Callback(void* self, Uint8* stream, int length) {
  auto* output = static_cast<SdlAudioOutput*>(self);
  auto* samples = reinterpret_cast<int16_t*>(stream);
  output->device_->Render(std::span(samples, static_cast<size_t>(length) / sizeof(int16_t)));
}

}  // namespace mavu::shell
