#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "base/clock.h"
#include "shell/input/input.h"
#include "shell/input/key_table.h"

namespace mavu::shell::test {

inline KeyTable MakeKeyTable(std::initializer_list<resource::KeyBinding> entries) {
  KeyTable::Bindings bindings;
  size_t i = 0;
  for (const auto& entry : entries) bindings[i++] = entry;
  return KeyTable(bindings);
}

// An input state on a simulated clock, an 800 x 600 frame and (until
// UseKeys) an empty key table; Frame moves the clock on by a frame and polls.
class InputFixture : public ::testing::Test {
 protected:
  static constexpr int32_t kWidth = 800;
  static constexpr int32_t kHeight = 600;
  static constexpr uint64_t kFrameMs = 25;

  void UseKeys(std::initializer_list<resource::KeyBinding> entries) {
    input_.emplace(clock_, MakeKeyTable(entries), kWidth, kHeight);
  }
  void Frame(uint64_t ms = kFrameMs) {
    clock_.Advance(ms);
    input_->Poll();
  }
  TInput& Input() { return *input_; }
  const InputSnapshot& State() const { return input_->State(); }
  const ButtonState& Left() const { return State().Button(MouseButton::kLeft); }

  base::SimulatedClock clock_;
  std::optional<TInput> input_{std::in_place, clock_, KeyTable(), kWidth, kHeight};
};

}  // namespace mavu::shell::test
