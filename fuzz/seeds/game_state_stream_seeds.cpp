#include "base/byte_writer.h"
#include "game_state_session.h"
#include "seed_registry.h"

// The scene's state as the game writes it, and the same a few frames on.
MAVU_FUZZ_SEEDS(game_state_stream) {
  mavu::fuzz::GameStateSession session;
  std::vector<mavu::base::Bytes> seeds;
  for (int i = 0; i < 2; ++i) {
    mavu::base::ByteWriter out;
    session.Script().WriteGameState(out);
    seeds.push_back(out.Take());
    for (int frame = 0; frame < 8; ++frame) session.Script().UpdateFrame(25, true);
  }
  return seeds;
}
