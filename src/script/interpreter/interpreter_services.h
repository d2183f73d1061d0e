#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"

// The parts of the engine above the script library that the interpreter reads
// and drives: input, sound, the movie player and the player-facing notices.
// The shell implements them, for a window or for a headless run.
namespace mavu::script {

// A click or pointer position that carries no position.
inline constexpr int32_t kNoPosition = -0x10000;

class InputState {
 public:
  virtual ~InputState() = default;
  virtual int32_t PointerX() const = 0;
  virtual int32_t PointerY() const = 0;
  // The action named by the last key binding whose input is active now, or
  // empty when none is.
  virtual std::string ActiveAction() const = 0;
};

class SoundService {
 public:
  // Channel states as the sound system reports them.
  static constexpr int32_t kStopped = 0;
  static constexpr int32_t kPlaying = 2;
  static constexpr int32_t kFading = 3;

  virtual ~SoundService() = default;
  virtual int32_t ChannelCount() const = 0;        // snd channels
  virtual int32_t DirectChannelCount() const = 0;  // dsnd channels
  virtual int32_t ChannelState(int32_t channel) const = 0;
  virtual int32_t PositionMs(int32_t channel) const = 0;
  virtual bool VoicePlaying() const = 0;
  virtual void FadeOut(int32_t channel, int32_t ms) = 0;
  virtual void ResetSounds() = 0;
};

class MoviePlayer {
 public:
  static constexpr int32_t kPlaying = 2;

  virtual ~MoviePlayer() = default;
  virtual int32_t MovieState() const = 0;
  virtual int32_t MoviePlayedMs() const = 0;
  virtual bool InMovieRect(int32_t x, int32_t y) const = 0;
  virtual void StopMovie() = 0;
  virtual void DrawMovie() = 0;
  virtual void ResetMovie() = 0;
};

// Boxes shown to the player.
class InterpreterNotices {
 public:
  virtual ~InterpreterNotices() = default;
  virtual void ShowWarning(const std::string& text) = 0;
  // A box whose text and button caption come from the message table by key.
  virtual void ShowKeyedNotice(std::string_view textKey, std::string_view buttonKey) = 0;
};

// The settings the interpreter reads (user settings).
struct InterpreterSettings {
  int32_t autoClickMs = 3000;  // AutoPlayClickTime
  int32_t movieDecoder = 1;    // MovieDecoder; 0 ends a movie at the first click
};

struct InterpreterServices {
  InputState& input;
  SoundService& sound;
  MoviePlayer& movie;
  InterpreterNotices& notices;
  base::Clock& clock;
};

}  // namespace mavu::script
