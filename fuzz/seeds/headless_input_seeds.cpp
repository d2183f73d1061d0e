#include <string_view>

#include "seed_registry.h"

namespace {

mavu::base::Bytes FromText(std::string_view text) {
  return {text.begin(), text.end()};
}

}  // namespace

MAVU_FUZZ_SEEDS(headless_input) {
  return {FromText("1 click 10 20\n2 rclick 5 5\n3 move -1 9999\n4 wheel -120\n"),
          FromText("# keys\r\n5 key 162\n5 key 83\n6 keyup 83\n6 keyup 162\n50 key 17\n"),
          FromText("7 action skip\n7 action SceneSkipNoLoad\n2147483647 click 1 1\n"),
          FromText("1 move 1\n"),
          FromText("\t9\tKEY\t13\t# tab separated"),
          FromText("3 answer 0\n3 answer -1\n4 click 1 1\n8 answer 1\n")};
}
