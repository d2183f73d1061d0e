#include "imaging/message/message_text.h"

#include <gtest/gtest.h>

#include "base/cp932.h"

namespace mavu::imaging {
namespace {

TEST(MessageText, PlainTextKeepsWhatAReaderSeesOfTagsAndCharacters) {
  const std::string text = base::Utf8ToCp932(
      "[c,$FFFFC070]夕焼け[n][w,300]の[rb,空,そら]と[pc,中央][x,2][pr,右][unclosed");
  EXPECT_EQ(base::Cp932ToUtf8(PlainText(text)), "夕焼けの空と中央右");
  // The second byte of a double-byte character may be "[" (0x5B).
  EXPECT_EQ(PlainText("\x83\x5B"), "\x83\x5B");
}

}  // namespace
}  // namespace mavu::imaging
