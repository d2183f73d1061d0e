#include <string>

#include "base/cp932.h"
#include "seed_registry.h"

// An option byte, then text with every kind of tag the window knows.
MAVU_FUZZ_SEEDS(message_text) {
  std::vector<mavu::base::Bytes> seeds;
  const std::string texts[] = {
      "「こんにちは」、世界。[n]二行目[w,100]です",
      "[c,$ff00ff00]色[c][f,3][s,16,16]小[s][pi,4,6][p,10,10]位置[sp,50]半",
      "[rb,漢字,かんじ][rc,$ff0000ff][rs,8,8][rp,0,-8][rb,字,じ][x,1][pc,中][pr,右]",
      "[lim,64]長い長い長い長い長い長い行[n,2]ｱｲｳｴｵ　（括弧）",
  };
  uint8_t options = 0;
  for (const std::string& text : texts) {
    const std::string cp932 = mavu::base::Utf8ToCp932(text);
    mavu::base::Bytes seed{options};
    seed.insert(seed.end(), cp932.begin(), cp932.end());
    seeds.push_back(std::move(seed));
    options += 0x25;
  }
  return seeds;
}
