#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

#include "base/clock.h"

namespace mavu::base {

// The real clock a window run keeps time by.
class SteadyClock final : public Clock {
 public:
  uint64_t NowMs() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
  void SleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace mavu::base
