#pragma once

#include <cstdint>

#include "script/interpreter/interpreter_services.h"
#include "script/interpreter/movie_record.h"

namespace mavu::shell {

// A movie player that never plays: what both back ends have until the movie
// decoder is attached. A saved game's movie block is kept as it was read
// (never playing), so saves pass through it unchanged.
class SilentMedia : public script::MoviePlayer {
 public:
  int32_t MovieState() const override { return 0; }
  int32_t MoviePlayedMs() const override { return 0; }
  bool InMovieRect(int32_t, int32_t) const override { return false; }
  void StopMovie() override {}
  void DrawMovie() override {}
  void ResetMovie() override { record_ = {}; }
  void SaveMovie(base::ByteWriter& out) const override { record_.Write(out); }
  void RestoreMovie(base::ByteReader& in) override {
    record_ = script::MovieRecord::Read(in);
    record_.state = 0;
  }

 private:
  script::MovieRecord record_;
};

}  // namespace mavu::shell
