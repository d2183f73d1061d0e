#include "shell/sound/ogg_data.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace mavu::shell {

namespace {

constexpr double kBytesPerSecond = TOggData::kRate * TOggData::kBytesPerFrame;
constexpr size_t kReadSamples = 4096;
// The most a read can become at the output rate (8 kHz mono to 44.1 kHz
// stereo, with room for the converter's delay), reserved so that decoding on
// the audio thread does not allocate.
constexpr size_t kPendingSamples = 65536;
constexpr double kSilenceStep = 0.2;
constexpr size_t kSilenceProbeFrames = 128;
constexpr int kLevelShift = 7;

}  // namespace

// The file in memory, read by the decoder through callbacks from `begin`
// (after the loop block) on.
struct TOggData::Source {
  base::Bytes bytes;
  size_t begin = 0;
  size_t pos = 0;

  static size_t Read(void* out, size_t size, size_t count, void* self) {
    auto* s = static_cast<Source*>(self);
    const size_t items = size == 0 ? 0 : std::min(count, (s->bytes.size() - s->pos) / size);
    // An empty file has no data pointer, not even one to copy nothing from.
    if (items == 0) return 0;
    std::memcpy(out, s->bytes.data() + s->pos, items * size);
    s->pos += items * size;
    return items;
  }
  static int Seek(void* self, ogg_int64_t offset, int whence) {
    auto* s = static_cast<Source*>(self);
    const int64_t length = static_cast<int64_t>(s->bytes.size() - s->begin);
    const int64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_CUR ? static_cast<int64_t>(s->pos - s->begin)
                                              : length;
    if (offset > length || offset < -length) return -1;
    const int64_t target = base + offset;
    if (target < 0 || target > length) return -1;
    s->pos = s->begin + static_cast<size_t>(target);
    return 0;
  }
  static long Tell(void* self) {
    auto* s = static_cast<Source*>(self);
    return static_cast<long>(s->pos - s->begin);
  }
};

TOggData::TOggData(size_t blockBytes)
    : raw_(kReadSamples), levels_(2 * (blockBytes / kBytesPerFrame / kLevelSlice + 1)) {
  pending_.reserve(kPendingSamples);
}

TOggData::~TOggData() {
  Close();
}

std::string TOggData::Open(base::Bytes file) {
  std::lock_guard guard(lock_);
  CloseLocked();
  loops_ = ReadLoopHeader(file);
  const size_t begin = loops_.dataOffset;
  source_ = std::make_unique<Source>(Source{std::move(file), begin, begin});
  const ov_callbacks callbacks{Source::Read, Source::Seek, nullptr, Source::Tell};
  if (ov_open_callbacks(source_.get(), &file_, nullptr, 0, callbacks) != 0) {
    source_.reset();
    return "not an Ogg Vorbis stream";
  }
  const vorbis_info* info = ov_info(&file_, -1);
  rate_ = static_cast<int32_t>(info->rate);
  channels_ = info->channels;
  try {
    converter_ = std::make_unique<RateConverter>(static_cast<int32_t>(info->rate), info->channels);
  } catch (const std::exception& e) {
    ov_clear(&file_);
    source_.reset();
    return e.what();
  }
  seekable_ = ov_seekable(&file_) != 0;
  // Sets the decoder up now, so that a file whose codebooks cannot be built
  // is refused here rather than failing on the audio thread.
  if (seekable_ && ov_pcm_seek(&file_, 0) != 0) {
    CloseLocked();
    return "damaged sound data";
  }
  totalSeconds_ = std::max(0.0, ov_time_total(&file_, -1));
  open_ = true;
  return {};
}

void TOggData::Close() {
  std::lock_guard guard(lock_);
  CloseLocked();
}

void TOggData::CloseLocked() {
  if (source_ != nullptr) ov_clear(&file_);
  source_.reset();
  converter_.reset();
  pending_.clear();
  pendingPos_ = 0;
  loops_ = LoopHeader{};
  loopHits_.fill(0);
  open_ = false;
  playing_ = false;
  looping_ = false;
  readFailed_ = false;
  drained_ = false;
  time_ = 0;
  totalSeconds_ = 0;
  seekable_ = false;
  ClearLevels();
}

void TOggData::Play(bool loop) {
  std::lock_guard guard(lock_);
  if (!open_) return;
  playing_ = true;
  looping_ = loop;
}

void TOggData::Stop() {
  std::lock_guard guard(lock_);
  playing_ = false;
  looping_ = false;
  if (open_) SeekLocked(0);
  loopHits_.fill(0);
  ClearLevels();
}

void TOggData::Seek(double seconds) {
  std::lock_guard guard(lock_);
  if (open_) SeekLocked(seconds);
}

void TOggData::SeekLocked(double seconds) {
  if (!seekable_ || readFailed_) return;
  const int result = ov_time_seek(&file_, std::clamp(seconds, 0.0, totalSeconds_));
  // The very end is refused as out of range and changes nothing; any other
  // refusal is a damaged file.
  if (result != 0 && result != OV_EINVAL) {
    readFailed_ = true;
    return Fail();
  }
  pending_.clear();
  pendingPos_ = 0;
  drained_ = false;
  if (!Convert([this] { converter_->Reset(); })) return Fail();
  time_ = TimeLocked();
}

// The resampler reports a failure (out of memory) by throwing, which must not
// leave the audio thread: the channel fails instead.
template <typename Step>
bool TOggData::Convert(Step step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    readFailed_ = true;
    return false;
  }
}

// The decoder stands past what is still waiting in the converted frames.
double TOggData::TimeLocked() {
  const double decoded = ov_time_tell(&file_);
  const double waiting = static_cast<double>(pending_.size() - pendingPos_) / 2 / kRate;
  return std::max(0.0, decoded - waiting);
}

void TOggData::SkipLeadingSilence(int32_t threshold) {
  double t = TimeSeconds();
  std::array<int16_t, kSilenceProbeFrames * 2> probe{};
  while (t < totalSeconds_) {
    int64_t got = 0;
    {
      std::lock_guard guard(lock_);
      if (!open_) return;
      got = ReadFrames(probe.data(), kSilenceProbeFrames);
    }
    if (got <= 0) {
      t = totalSeconds_;  // the data ended before its stated length: nothing loud
      break;
    }
    int64_t sum = 0;
    for (size_t i = 0; i < static_cast<size_t>(got) * 2; ++i) sum += std::abs(int32_t{probe[i]});
    if (sum / static_cast<int64_t>(probe.size()) > threshold) break;
    t += kSilenceStep;
    Seek(t);
  }
  if (t > totalSeconds_ - kSilenceStep) t = 0;
  Seek(std::max(t - kSilenceStep, 0.0));
}

// Decided on the main thread, between script commands: a fade in given
// right after a start at volume 0 must not find the channel stopped by a
// block mixed in between.
bool TOggData::StopIfSilent() {
  if (!playing_) return false;  // most channels, most frames: no lock taken
  std::lock_guard guard(lock_);
  if (!playing_ || !ramp_.Silent()) return false;
  playing_ = false;  // keeps its place: a later start goes on from here
  return true;
}

void TOggData::FadeTo(int32_t volume, int32_t ms) {
  std::lock_guard guard(lock_);
  ramp_.FadeTo(volume, ms);
}

int32_t TOggData::TargetVolume() const {
  std::lock_guard guard(lock_);
  return ramp_.TargetVolume();
}

bool TOggData::SetEqualizer(std::span<const int32_t> bands, int32_t ms) {
  std::lock_guard guard(lock_);
  return equalizer_.SetBands(bands, ms);
}

void TOggData::SetEqualizerNow(std::span<const float, Equalizer::kBins> gains) {
  std::lock_guard guard(lock_);
  equalizer_.SetGainsNow(gains);
}

void TOggData::ResetEqualizer() {
  std::lock_guard guard(lock_);
  equalizer_.Reset();
}

std::array<float, Equalizer::kBins> TOggData::EqualizerGains() const {
  std::lock_guard guard(lock_);
  return equalizer_.CurrentGains();
}

bool TOggData::DecodeBlock(std::span<int16_t> out, int half) {
  std::lock_guard guard(lock_);
  std::fill(out.begin(), out.end(), int16_t{0});
  const bool sounded = DecodeLocked(out);
  if (open_) time_ = TimeLocked();
  NoteLevels(out, half);
  return sounded;
}

bool TOggData::DecodeLocked(std::span<int16_t> out) {
  // Silent, the channel holds its place until the main thread stops it.
  if (!open_ || !playing_ || ramp_.Silent()) return false;
  const size_t frames = out.size() / 2;
  size_t done = 0;
  FireLoopPoint(out, done);
  if (playing_) DecodeFrames(out, done, frames - done);
  // Flat, the equaliser only delays, which keeps the timing the same when it
  // is switched on or off.
  equalizer_.Process(out);
  ramp_.Apply(out, ownGain_, classLevel_);
  return true;
}

// At most one jump per block, so that points that lead into each other
// cannot hold the audio thread.
void TOggData::FireLoopPoint(std::span<int16_t> out, size_t& done) {
  const double d = TimeLocked();
  const double end = d + static_cast<double>(out.size() * 2) / kBytesPerSecond;
  for (size_t i = 0; i < LoopHeader::kEntries; ++i) {
    if (d > loops_.points[i].trigger) loopHits_[i] = 0;
  }
  for (size_t i = 0; i < LoopHeader::kEntries; ++i) {
    const LoopPoint& point = loops_.points[i];
    const bool always = point.count == -1;
    if (point.trigger < d || point.trigger > end || (!always && loopHits_[i] >= point.count)) {
      continue;
    }
    if (!always) ++loopHits_[i];
    const auto bytes = static_cast<int64_t>(std::nearbyint((point.trigger - d) * kBytesPerSecond));
    const auto frames = static_cast<size_t>(bytes & ~int64_t{3}) / kBytesPerFrame;
    DecodeFrames(out, done, std::min(frames, out.size() / 2));
    if (playing_) SeekLocked(point.target);
    return;
  }
}

void TOggData::DecodeFrames(std::span<int16_t> out, size_t& done, size_t frames) {
  const size_t target = done + frames;
  bool wrapped = false;
  while (done < target) {
    const int64_t got = ReadFrames(out.data() + done * 2, target - done);
    if (got < 0) return Fail();
    done += static_cast<size_t>(got);
    if (done == target) return;
    // The end of the file; a file that gives nothing even from its start
    // stops instead of spinning.
    if (got > 0) wrapped = false;
    if (!looping_ || wrapped) {
      playing_ = false;
      SeekLocked(0);
      return;
    }
    wrapped = true;
    SeekLocked(0);
  }
}

int64_t TOggData::ReadFrames(int16_t* out, size_t frames) {
  size_t done = 0;
  while (done < frames) {
    const size_t waiting = (pending_.size() - pendingPos_) / 2;
    if (waiting == 0) {
      if (!Refill()) break;
      continue;
    }
    const size_t take = std::min(waiting, frames - done);
    std::copy_n(pending_.begin() + static_cast<ptrdiff_t>(pendingPos_), take * 2, out + done * 2);
    pendingPos_ += take * 2;
    done += take;
  }
  return readFailed_ ? -1 : static_cast<int64_t>(done);
}

// One read of the decoder, converted; false at the end of the data or on an
// error (then readFailed_).
bool TOggData::Refill() {
  pending_.clear();
  pendingPos_ = 0;
  // After a failure libvorbis is not asked again: a second attempt to set up
  // a stream's decoder builds on the codebooks the first left half made.
  if (readFailed_) return false;
  int section = 0;
  long got = OV_HOLE;
  while (got == OV_HOLE) {
    got = ov_read(&file_, reinterpret_cast<char*>(raw_.data()),
                  static_cast<int>(raw_.size() * sizeof(int16_t)), 0, 2, 1, &section);
  }
  if (got < 0 || (got > 0 && !SameFormat(ov_info(&file_, section)))) {
    readFailed_ = true;
    return false;
  }
  if (got == 0) {
    if (drained_) return false;
    drained_ = true;  // the converter's last frames close the stream
    return Convert([this] { converter_->Finish(pending_); }) && !pending_.empty();
  }
  const std::span<const int16_t> read(raw_.data(), static_cast<size_t>(got) / 2);
  return Convert([this, read] { converter_->Convert(read, pending_); });
}

// A chained stream whose later part changes rate or channels is not played on.
bool TOggData::SameFormat(const vorbis_info* info) const {
  return info != nullptr && info->rate == rate_ && info->channels == channels_;
}

void TOggData::Fail() {
  playing_ = false;
  looping_ = false;
  decodeError_ = true;
}

void TOggData::ClearLevels() {
  for (auto& level : levels_) level = 0;
}

void TOggData::NoteLevels(std::span<const int16_t> block, int half) {
  const size_t slices = levels_.size() / 2;
  const size_t frames = block.size() / 2;
  for (size_t s = 0; s < slices; ++s) {
    int32_t peak = 0;
    const size_t first = s * kLevelSlice;
    for (size_t f = first; f < std::min(first + kLevelSlice, frames); ++f) {
      peak = std::max({peak, std::abs(int32_t{block[2 * f]}), std::abs(int32_t{block[2 * f + 1]})});
    }
    levels_[static_cast<size_t>(half) * slices + s] =
        static_cast<uint8_t>(std::min(peak >> kLevelShift, 255));
  }
}

int32_t TOggData::Level(int half, size_t frame) const {
  const size_t slices = levels_.size() / 2;
  const size_t slice = frame / kLevelSlice;
  if (slice >= slices) return 0;
  return levels_[static_cast<size_t>(half) * slices + slice];
}

}  // namespace mavu::shell
