#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "base/byte_writer.h"
#include "base/error_log.h"
#include "game_state_session.h"

namespace {

mavu::base::Bytes Written(mavu::script::TKelScript& script) {
  mavu::base::ByteWriter out;
  if (!script.WriteGameState(out)) std::abort();
  return out.Take();
}

}  // namespace

// A saved game's state stream installed into a running game: a stream that is
// refused leaves the game exactly as it was; one that is taken is written
// back and taken again unchanged. The game's own state goes back in after.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static mavu::fuzz::GameStateSession session;
  mavu::script::TKelScript& script = session.Script();
  const mavu::base::Bytes before = Written(script);
  std::string why;
  if (script.InstallGameState(std::span(data, size), why)) {
    const mavu::base::Bytes once = Written(script);
    if (!script.InstallGameState(once, why) || Written(script) != once) std::abort();
    if (!script.InstallGameState(before, why)) std::abort();
  } else if (Written(script) != before) {
    std::abort();
  }
  mavu::base::TheErrorLog().ClearErrors();
  mavu::base::TheErrorLog().ClearErrorFlag();
  return 0;
}
