#include "resource/voice_table.h"

#include <gtest/gtest.h>

#include <string_view>

namespace mavu::resource {
namespace {

using Items = std::vector<std::string>;

std::optional<base::Bytes> File(std::string_view text) {
  return base::Bytes(text.begin(), text.end());
}

TEST(VoiceTable, AMissingFileGivesEmptyLists) {
  auto table = ReadVoiceTable(std::nullopt);
  for (const auto& speaker : table.Speakers) EXPECT_TRUE(speaker.empty());
}

TEST(VoiceTable, SplitsEachSpeakersLine) {
  auto table =
      ReadVoiceTable(File("act[0]=a, b ,c\r\nACT[1]=\x83\x41\x83\x43 // heroine\r\nact[2]=\r\n"
                          "act[31]=x,,\"y,z\"\r\nact[32]=ignored\r\n"));
  EXPECT_EQ(table.Speakers[0], (Items{"a", "b", "c"}));
  EXPECT_EQ(table.Speakers[1], Items{"\x83\x41\x83\x43"});
  EXPECT_EQ(table.Speakers[2], Items{});
  EXPECT_EQ(table.Speakers[3], Items{});
  EXPECT_EQ(table.Speakers[31], (Items{"x", "", "\"y,z\""}));
}

}  // namespace
}  // namespace mavu::resource
