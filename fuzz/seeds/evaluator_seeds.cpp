#include <string_view>
#include <vector>

#include "seed_registry.h"

namespace {

// The first byte of a seed picks depth and reporting; the rest is the text.
mavu::base::Bytes Expression(std::string_view text) {
  mavu::base::Bytes bytes = {0};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

}  // namespace

MAVU_FUZZ_SEEDS(evaluator) {
  std::vector<mavu::base::Bytes> seeds;
  for (std::string_view text :
       {"1+2*3", "(n>=10)&&(l<5)", "s[1]+\"!\"==\"TEXT!\"", "a[n-1, n]=a[1,2]+$1F", "n++ + n--",
        "-3*-2/0%0", "bg[1]", "4&1==0|2^7<<3>>1", "sv=\"12abc\"", "x=y=3", "\"a;b\";1;2;+",
        "((a[0,0]))", "a[", "!n", "\x82\xA0+\x95\x5C"}) {
    seeds.push_back(Expression(text));
  }
  return seeds;
}
