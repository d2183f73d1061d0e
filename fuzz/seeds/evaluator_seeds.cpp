#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "seed_registry.h"

namespace {

// The first byte of a seed picks depth and reporting; the rest is the text.
mavu::base::Bytes Expression(std::string_view text) {
  mavu::base::Bytes bytes(1 + text.size(), 0);
  std::ranges::copy(text, bytes.begin() + 1);
  return bytes;
}

// A sum longer than the texts the cache keeps, and shorter ones inside
// brackets that lose blanks, under increments and inside nested indices.
std::vector<std::string> LongExpressions() {
  auto sum = [](int terms) {
    std::string text = "1";
    for (int i = 1; i < terms; ++i) text += "+1";
    return text;
  };
  std::string indexed = sum(64);
  for (int i = 0; i < 8; ++i) indexed = "a[" + indexed + "]";
  return {sum(2100), std::string(32, '(') + " " + sum(64) + " " + std::string(32, ')'),
          "(" + sum(64) + ")++++++++", indexed};
}

}  // namespace

MAVU_FUZZ_SEEDS(evaluator) {
  std::vector<mavu::base::Bytes> seeds;
  for (const std::string& text : LongExpressions()) seeds.push_back(Expression(text));
  for (std::string_view text :
       {"1+2*3", "(n>=10)&&(l<5)", "s[1]+\"!\"==\"TEXT!\"", "a[n-1, n]=a[1,2]+$1F", "n++ + n--",
        "-3*-2/0%0", "bg[1]", "4&1==0|2^7<<3>>1", "sv=\"12abc\"", "x=y=3", "\"a;b\";1;2;+",
        "((a[0,0]))", "a[", "!n", "\x82\xA0+\x95\x5C"}) {
    seeds.push_back(Expression(text));
  }
  return seeds;
}
