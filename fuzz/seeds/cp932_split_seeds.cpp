#include <string_view>

#include "seed_registry.h"

namespace {

mavu::base::Bytes FromText(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace

MAVU_FUZZ_SEEDS(cp932_split) {
  return {FromText("a, (b,c) ,d,"), FromText("112,*F1 // key"), FromText("\"x,y\",\x95\x5C,z"),
          FromText("\x82\xA0\x82\xA2\x81")};
}
