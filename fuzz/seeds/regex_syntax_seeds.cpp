#include <string_view>

#include "seed_registry.h"

namespace {

mavu::base::Bytes FromText(std::string_view text) {
  return {text.begin(), text.end()};
}

}  // namespace

// Expression texts as scripts and replacement tables write them, each with a
// CP932 subject whose trail bytes look like signs (0x5C, 0x7B, 0x7D).
MAVU_FUZZ_SEEDS(regex_syntax) {
  return {
      FromText("m/(\\w+)@(\\w+)/i\nmail: bob@example \x95\x5C"),
      FromText("/^\\s*;(.*)$/m\n  ; comment\n\\mes \x83\x7B\x83\x7D"),
      FromText("s/\\\\wait(\\d+)/\\\\w $1/g\n\\wait100\x95\x5C\\wait20"),
      FromText("s{(\\S+)\\s*=\\s*(.*)}{$2=${1}}\nkey = \x83\x5Cvalue"),
      FromText("s/x*/-/g\nxxa\x81\x22"),
      FromText("s#\x95\x5C#\\x{3042}\\t$&#g\na\x95\x5C!"),
      FromText("/,\\s*/\na, b,,\x81\x2C c,,"),
      FromText("m{(-)|(\\s+)}\n1-2 3\x83\x7D"),
      FromText("tr/a-z\\-/A-Z_/cds\nhello-world \x82\xA0"),
      FromText("y/\x82\x9F-\x82\xF1/\x83\x40-\x83\x93/\n\x82\xD0\x82\xE7\x82\xAA\x82\xC8"),
      FromText("/(?:a|a)*c|b/\naaaaaaaaaaaaaaaaaaaaaaaab"),
      FromText("/(/\n("),
  };
}
