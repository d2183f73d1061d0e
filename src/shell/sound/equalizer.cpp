#include "shell/sound/equalizer.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

namespace mavu::shell {

namespace {

constexpr double kFramesPerMs = 44.1;
// Bins whose gains and targets all lie this close to 1 are not worth a transform.
constexpr float kAudible = 0.01f;
// Saved gains beyond this can only come from a damaged file.
constexpr float kLoudestSavedGain = 4;

fftwf_complex* AsFftw(std::complex<float>* buffer) {
  return reinterpret_cast<fftwf_complex*>(buffer);
}

std::complex<float>* AllocateTransformBuffer() {
  auto* buffer = reinterpret_cast<std::complex<float>*>(fftwf_alloc_complex(Equalizer::kBins));
  if (buffer == nullptr) throw std::bad_alloc();
  std::fill_n(buffer, Equalizer::kBins, std::complex<float>{});
  return buffer;
}

// Cubic Hermite spline through the band values, with the bins spread evenly
// from the first band to the last.
float SpreadGain(std::span<const double> bands, size_t bin) {
  const int last = static_cast<int>(bands.size()) - 1;
  const double x = static_cast<double>(bin * last) / (Equalizer::kBins - 1);
  const int k = static_cast<int>(x);
  const double f = x - k;
  const auto at = [&](int i) { return bands[std::clamp(i, 0, last)]; };
  const double p0 = at(k - 1), p1 = at(k), p2 = at(k + 1), p3 = at(k + 2);
  // Flatter tangents on a level stretch keep the overshoot small.
  const double flatten = p1 == p2 ? 0.25 : 1.0;
  const double m1 = (p2 - p0) * flatten, m2 = (p3 - p1) * flatten;
  const double gain = p1 * (f - 1) * (f - 1) * (2 * f + 1) + p2 * f * f * (3 - 2 * f) +
                      f * (1 - f) * (1 - f) * m1 + f * f * (f - 1) * m2;
  return static_cast<float>(std::max(gain, 0.0));
}

float TamedSavedGain(float gain) {
  return std::isfinite(gain) ? std::clamp(gain, 0.0f, kLoudestSavedGain) : 1.0f;
}

std::complex<float> ReadFrame(std::span<const int16_t> samples, size_t frame) {
  return {static_cast<float>(samples[2 * frame]), static_cast<float>(samples[2 * frame + 1])};
}

int16_t ToSample(float value) {
  return static_cast<int16_t>(std::lround(std::clamp(value, -32768.0f, 32767.0f)));
}

}  // namespace

void Equalizer::FftwDeleter::operator()(fftwf_plan_s* plan) const {
  fftwf_destroy_plan(plan);
}

void Equalizer::FftwDeleter::operator()(std::complex<float>* buffer) const {
  fftwf_free(buffer);
}

Equalizer::Equalizer()
    : signal_(AllocateTransformBuffer()),
      spectrum_(AllocateTransformBuffer()),
      filtered_(AllocateTransformBuffer()),
      forward_(fftwf_plan_dft_1d(kBins, AsFftw(signal_.get()), AsFftw(spectrum_.get()),
                                 FFTW_FORWARD, FFTW_ESTIMATE)),
      backward_(fftwf_plan_dft_1d(kBins, AsFftw(spectrum_.get()), AsFftw(filtered_.get()),
                                  FFTW_BACKWARD, FFTW_ESTIMATE)) {
  if (!forward_ || !backward_) throw std::runtime_error("cannot plan the equaliser's transforms");
}

Equalizer::~Equalizer() = default;

bool Equalizer::SetBands(std::span<const int32_t> bandGains, int32_t ms) {
  const size_t count = bandGains.size();
  if (count != 4 && count != 8 && count != 16) return false;
  std::array<double, 16> levels{};
  for (size_t i = 0; i < count; ++i) levels[i] = std::clamp(bandGains[i], 0, 255) / 255.0;
  rampFrames_ = ms < 1 ? 0 : ms * kFramesPerMs;
  for (size_t i = 0; i < kBins; ++i) {
    Bin& bin = bins_[i];
    bin.target = SpreadGain(std::span(levels).first(count), i);
    bin.step = rampFrames_ > 0 ? static_cast<float>((bin.target - bin.current) / rampFrames_) : 0;
    if (rampFrames_ == 0) bin.current = bin.target;
  }
  return true;
}

void Equalizer::SetGainsNow(std::span<const float, kBins> gains) {
  for (size_t i = 0; i < kBins; ++i) {
    const float gain = TamedSavedGain(gains[i]);
    bins_[i] = Bin{gain, gain, 0};
  }
  rampFrames_ = 0;
}

std::array<float, Equalizer::kBins> Equalizer::CurrentGains() const {
  std::array<float, kBins> gains{};
  std::ranges::transform(bins_, gains.begin(), &Bin::current);
  return gains;
}

void Equalizer::Reset() {
  bins_ = {};
  std::fill_n(signal_.get(), kCarried, std::complex<float>{});
  rampFrames_ = 0;
}

bool Equalizer::Active() const {
  return std::ranges::any_of(bins_, [](const Bin& bin) {
    return std::fabs(bin.current - 1) + std::fabs(bin.target - 1) > kAudible;
  });
}

void Equalizer::Process(std::span<int16_t> interleavedStereo) {
  const size_t frames = interleavedStereo.size() / 2;
  for (size_t pos = 0; pos < frames; pos += kStride) {
    ProcessStride(interleavedStereo, pos, std::min(kStride, frames - pos));
  }
}

void Equalizer::ProcessStride(std::span<int16_t> samples, size_t pos, size_t count) {
  std::complex<float>* signal = signal_.get();
  for (size_t i = 0; i < count; ++i) signal[kCarried + i] = ReadFrame(samples, pos + i);
  std::fill(signal + kCarried + count, signal + kBins, std::complex<float>{});
  const std::complex<float>* result = signal;
  if (Active()) {
    Advance(count);
    Filter();
    result = filtered_.get();
  }
  for (size_t i = 0; i < count; ++i) {
    const std::complex<float> frame = result[kLatencyFrames + i];
    samples[2 * (pos + i)] = ToSample(frame.real());
    samples[2 * (pos + i) + 1] = ToSample(frame.imag());
  }
  std::copy(signal + count, signal + count + kCarried, signal);
}

void Equalizer::Filter() {
  fftwf_execute(forward_.get());
  // The backward transform scales by the size; undo that with the gains.
  constexpr float kScale = 1.0f / kBins;
  std::complex<float>* spectrum = spectrum_.get();
  for (size_t k = 0; k < kBins / 2; ++k) {
    spectrum[k] *= bins_[2 * k].current * kScale;
    spectrum[kBins - 1 - k] *= bins_[2 * k + 1].current * kScale;
  }
  fftwf_execute(backward_.get());
}

void Equalizer::Advance(size_t frames) {
  if (rampFrames_ <= static_cast<double>(frames)) {
    for (Bin& bin : bins_) bin.current = bin.target;
    rampFrames_ = 0;
    return;
  }
  for (Bin& bin : bins_) bin.current += bin.step * static_cast<float>(frames);
  rampFrames_ -= static_cast<double>(frames);
}

}  // namespace mavu::shell
