#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
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

// The two sound families: stream channels (snd: music, voices) and effect
// channels (dsnd: sounds decoded whole).
enum class SoundFamily { kStream, kEffect };

class SoundService {
 public:
  // Play states: no file, stopped, playing once, playing looped.
  static constexpr int32_t kNoFile = 0;
  static constexpr int32_t kStopped = 1;
  static constexpr int32_t kPlaying = 2;
  static constexpr int32_t kPlayingLooped = 3;

  virtual ~SoundService() = default;
  virtual int32_t ChannelCount() const = 0;        // snd channels
  virtual int32_t DirectChannelCount() const = 0;  // dsnd channels

  // Channels outside a family are ignored. Loads return an empty string on
  // success, else why the file did not load.
  virtual std::string LoadSound(SoundFamily family, int32_t channel, std::string_view file) = 0;
  virtual void FreeSound(SoundFamily family, int32_t channel) = 0;
  virtual void PlaySound(SoundFamily family, int32_t channel, bool loop) = 0;
  virtual void StopSound(SoundFamily family, int32_t channel) = 0;
  // Effects take the volume at their next start; streams fade over `ms`.
  virtual void SetSoundVolume(SoundFamily family, int32_t channel, int32_t volume, int32_t ms) = 0;
  virtual int32_t SoundVolume(SoundFamily family, int32_t channel) const = 0;
  virtual int32_t SoundState(SoundFamily family, int32_t channel) const = 0;
  virtual std::string SoundFile(SoundFamily family, int32_t channel) const = 0;
  // Stream channels only.
  virtual void SetSoundClass(int32_t channel, int32_t soundClass) = 0;
  virtual void SeekSound(int32_t channel, int32_t ms) = 0;
  virtual void SkipSilence(int32_t channel, int32_t threshold) = 0;
  virtual void EqualizeSound(int32_t channel, std::span<const int32_t> bands, int32_t ms) = 0;
  virtual void SwapSounds(SoundFamily family, int32_t channel, int32_t other) = 0;
  // Effect channels only: the class level every channel applies until its
  // next start.
  virtual void SetEffectLevels(int32_t level) = 0;
  // The voice file a message window names for its speaker; a stream channel
  // that loads it plays at the speaker's volume and, when `stopWithMessage`,
  // fades out when the window clears.
  virtual void MarkVoice(std::string_view file, std::string_view speaker, bool stopWithMessage) = 0;

  // Stream channels, for the waits.
  int32_t ChannelState(int32_t channel) const { return SoundState(SoundFamily::kStream, channel); }
  virtual int32_t PositionMs(int32_t channel) const = 0;
  virtual bool VoicePlaying() const = 0;
  virtual void FadeOut(int32_t channel, int32_t ms) = 0;

  // Once per frame: channels whose data failed are reported and cleared.
  virtual void UpdateSounds() = 0;
  // While a scene skip without loading shows, commands are only noted; the
  // end replays them in their final state.
  virtual void BeginDeferral() = 0;
  virtual void EndDeferral() = 0;
  virtual void ResetSounds() = 0;

  // A saved game's sound block, of a fixed size.
  virtual size_t StateBytes() const = 0;
  virtual void SaveState(base::ByteWriter& out) = 0;
  // Reads the whole block before anything changes; throws base::FormatError.
  virtual void RestoreState(base::ByteReader& in) = 0;
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
  // A saved game's movie block (MovieRecord). Restoring throws
  // base::FormatError for a damaged block, changing nothing.
  virtual void SaveMovie(base::ByteWriter& out) const = 0;
  virtual void RestoreMovie(base::ByteReader& in) = 0;
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
  int32_t thumbWidth = 128;    // ThumWidth, ThumHeight: a saved game's picture
  int32_t thumbHeight = 96;
  int32_t quickSaveMode = 0;  // QuickSaveMode; 1 rotates through QuickSaveCount files
  int32_t quickSaveCount = 8;
};

struct InterpreterServices {
  InputState& input;
  SoundService& sound;
  MoviePlayer& movie;
  InterpreterNotices& notices;
  base::Clock& clock;
};

}  // namespace mavu::script
