#pragma once

#include <cstdint>

#include "script/interpreter/interpreter_services.h"

namespace mavu::shell {

// A movie player that never plays: what both back ends have until the movie
// decoder is attached.
class SilentMedia : public script::MoviePlayer {
 public:
  int32_t MovieState() const override { return 0; }
  int32_t MoviePlayedMs() const override { return 0; }
  bool InMovieRect(int32_t, int32_t) const override { return false; }
  void StopMovie() override {}
  void DrawMovie() override {}
  void ResetMovie() override {}
};

}  // namespace mavu::shell
