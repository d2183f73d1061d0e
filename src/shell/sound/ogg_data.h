#pragma once

#include <vorbis/vorbisfile.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "shell/sound/equalizer.h"
#include "shell/sound/loop_header.h"
#include "shell/sound/rate_converter.h"
#include "shell/sound/volume_ramp.h"

namespace mavu::shell {

// One Ogg Vorbis stream decoded on demand into 44100 Hz 16-bit stereo, with
// its loop points, volume ramp and equaliser. The main thread opens, seeks
// and sets targets; the mixer decodes blocks on the audio thread. One lock
// serialises the two; the flags the main thread polls are atomics so that a
// query never waits for a block to decode.
class TOggData {
 public:
  static constexpr int32_t kRate = 44100;
  static constexpr int32_t kBytesPerFrame = 4;
  static constexpr size_t kLevelSlice = 1024;  // frames per loudness reading

  // `blockBytes` is the largest block the mixer asks for (half the stream
  // buffer); loudness readings are kept for two such blocks.
  explicit TOggData(size_t blockBytes);
  ~TOggData();
  TOggData(const TOggData&) = delete;
  TOggData& operator=(const TOggData&) = delete;

  // Takes the file (with its optional loop block). An empty string on
  // success, else why it does not play.
  std::string Open(base::Bytes file);
  void Close();
  bool IsOpen() const { return open_; }

  void Play(bool loop);
  // Not playing, not looping, back at the start, loop points re-armed.
  void Stop();
  bool Playing() const { return playing_; }
  bool Looping() const { return looping_; }

  double TotalSeconds() const { return totalSeconds_; }
  // Where decoding stands, in seconds of the file.
  double TimeSeconds() const { return time_; }
  void Seek(double seconds);
  // Moves to 0.2 s before the first 256-sample stretch louder than
  // `threshold` (mean absolute value), or to the start when none is.
  void SkipLeadingSilence(int32_t threshold);

  void FadeTo(int32_t volume, int32_t ms);
  // A channel whose level and target are both below 1 % stops where it is.
  bool StopIfSilent();
  int32_t TargetVolume() const;
  void SetClassLevel(int32_t level) { classLevel_ = level; }
  void SetOwnGain(int32_t gain) { ownGain_ = gain; }
  bool SetEqualizer(std::span<const int32_t> bands, int32_t ms);
  void SetEqualizerNow(std::span<const float, Equalizer::kBins> gains);
  std::array<float, Equalizer::kBins> EqualizerGains() const;
  void ResetEqualizer();

  // Audio thread: the next block of the stream into `out` (zeros when not
  // playing), its loudness kept under `half` (0 or 1). False when the block
  // is silence because the channel does not play.
  bool DecodeBlock(std::span<int16_t> out, int half);
  // Loudness 0..255 of the stretch of block `half` that holds `frame`.
  int32_t Level(int half, size_t frame) const;
  // True once after decoding failed; the channel has stopped by then.
  bool TakeDecodeError() { return decodeError_.exchange(false); }

 private:
  struct Source;

  void CloseLocked();
  bool DecodeLocked(std::span<int16_t> out);
  void FireLoopPoint(std::span<int16_t> out, size_t& done);
  // Fills out[done...] up to `frames`; at the end of the file loops or stops.
  void DecodeFrames(std::span<int16_t> out, size_t& done, size_t frames);
  // Up to `frames` frames of the file from where it stands; fewer at its end,
  // -1 on a decoding error.
  int64_t ReadFrames(int16_t* out, size_t frames);
  bool Refill();
  void SeekLocked(double seconds);
  double TimeLocked();
  void NoteLevels(std::span<const int16_t> block, int half);
  void ClearLevels();
  bool SameFormat(const vorbis_info* info) const;
  template <typename Step>
  bool Convert(Step step);
  void Fail();

  mutable std::mutex lock_;
  std::unique_ptr<Source> source_;
  OggVorbis_File file_{};
  LoopHeader loops_;
  std::array<int32_t, LoopHeader::kEntries> loopHits_{};
  std::unique_ptr<RateConverter> converter_;
  std::vector<int16_t> raw_;      // one read of the decoder
  std::vector<int16_t> pending_;  // converted frames not yet handed out
  size_t pendingPos_ = 0;
  VolumeRamp ramp_;
  Equalizer equalizer_;
  std::vector<std::atomic<uint8_t>> levels_;  // two blocks of loudness readings
  int32_t rate_ = 0;
  int32_t channels_ = 0;
  bool readFailed_ = false;
  bool drained_ = false;

  std::atomic<bool> open_ = false;
  std::atomic<bool> playing_ = false;
  std::atomic<bool> looping_ = false;
  std::atomic<bool> decodeError_ = false;
  std::atomic<double> time_ = 0;
  std::atomic<int32_t> classLevel_ = 255;
  std::atomic<int32_t> ownGain_ = 255;
  double totalSeconds_ = 0;
  bool seekable_ = false;
};

}  // namespace mavu::shell
