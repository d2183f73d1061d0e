#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Measurements on interleaved 16-bit stereo at 44100 Hz.
namespace mavu::test {

// The amplitude of one frequency on one side (0 left, 1 right) over frames
// [from, to), Hann-windowed: a sine of amplitude A reads about A.
double ToneAmplitude(std::span<const int16_t> stereo, size_t side, double hz, size_t from,
                     size_t to);

// Upward zero crossings on one side: a tone's frequency over a second.
int32_t RisingZeroCrossings(std::span<const int16_t> stereo, size_t side = 0);

// The largest absolute sample on either side over frames [from, to).
int32_t Peak(std::span<const int16_t> stereo, size_t from, size_t to);

// 20 log10(a / b).
double Decibels(double a, double b);

}  // namespace mavu::test
