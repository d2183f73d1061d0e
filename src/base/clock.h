#pragma once

#include <cstdint>

namespace mavu::base {

// The program's millisecond clock. The shell's real clock sleeps; the simulated
// one only moves forward, so runs and tests are deterministic.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;           // monotonic milliseconds
  virtual void SleepMs(uint32_t ms) = 0;  // the program pauses
};

class SimulatedClock : public Clock {
 public:
  uint64_t NowMs() override { return now_; }
  void SleepMs(uint32_t ms) override { now_ += ms; }
  void Advance(uint64_t ms) { now_ += ms; }

 private:
  uint64_t now_ = 0;
};

}  // namespace mavu::base
