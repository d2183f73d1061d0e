#include "imaging/message/message_lib.h"

#include <gtest/gtest.h>

#include "base/cp932.h"
#include "imaging/kel_log_data.h"
#include "imaging/layers/stage.h"

namespace mavu::imaging {
namespace {

constexpr int32_t kCell = 32;

class MessageLibTest : public ::testing::Test {
 protected:
  MessageLibTest() {
    window_.SetArea({0, 0, 320, 200});
    window_.Enable();
  }
  // Text written in UTF-8 here, CP932 in the window.
  void Add(std::string_view utf8) { window_.AddText(base::Utf8ToCp932(utf8)); }
  void ShowText(std::string_view utf8) {
    Add(utf8);
    window_.ShowAll();
  }
  const MessageLibState::Pair& Pen() const { return window_.Text().pen; }
  int LitPixels(const RectI& box) const {
    int lit = 0;
    const TARGB8888& layer = window_.TextLayer();
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, layer.Height()); ++y) {
      for (int x = std::max(box.left, 0); x < std::min(box.right, layer.Width()); ++x) {
        if ((layer.Pixel(x, y) >> 24) != 0) ++lit;
      }
    }
    return lit;
  }

  Stage stage_;
  TMessageLib window_{stage_.Context()};
};

TEST_F(MessageLibTest, CharactersTypeOutAtTheWindowsSpeed) {
  window_.SetOwnSpeed(50);
  Add("あいう");
  window_.Update(25);  // idle: the first step draws at once
  EXPECT_EQ(Pen().x, kCell);
  EXPECT_EQ(window_.MessageState(), TMessageLib::kTyping);
  window_.Update(49);
  EXPECT_EQ(Pen().x, kCell);
  window_.Update(1);
  EXPECT_EQ(Pen().x, 2 * kCell);
  window_.Update(100);
  EXPECT_EQ(Pen().x, 3 * kCell);
  window_.Update(50);
  EXPECT_EQ(window_.MessageState(), TMessageLib::kIdle);
  window_.SetOwnSpeed(0);  // no interval: everything at once
  Add("えお");
  EXPECT_EQ(Pen().x, 5 * kCell);
}

TEST_F(MessageLibTest, TagsChangeThePenAndBareTagsGoBack) {
  ShowText("[c,$ff00ff00]a[c][f,3][f,9][s,16,20]b[s][pi,4,6]");
  EXPECT_EQ(window_.Text().colour, 0xFFFFFFFFu);
  EXPECT_EQ(window_.Text().previousColour, 0xFF00FF00u);
  EXPECT_EQ(window_.Text().font, 3);  // 9 is no font slot
  EXPECT_EQ(window_.Text().size.x, kCell);
  EXPECT_EQ(window_.Text().pitch.y, 6);
  EXPECT_EQ(Pen().y, 6);  // raised to the line pitch
  ShowText("[p,10,100][i,5][pc,ab]");
  // Centred: the run of two half-width characters and their pitch is 40 wide.
  EXPECT_EQ(Pen().x, (320 - 40) / 2 + 40);
  ShowText("[n][lim,60]あいう");
  EXPECT_EQ(Pen().x, kCell + 4);  // the limit swallows what does not fit
  EXPECT_EQ(Pen().y, 100 + kCell + 6);
}

TEST_F(MessageLibTest, AClosingCharacterHangsOncePerLineAndAnOpeningOneWraps) {
  window_.SetArea({0, 0, 100, 200});
  ShowText("あい、、");
  // The first 、 is drawn past the edge, the second one starts a new line.
  EXPECT_EQ(Pen().y, kCell);
  EXPECT_EQ(Pen().x, kCell);
  window_.ClearPage();
  ShowText("あい「");
  EXPECT_EQ(Pen().y, kCell);
  EXPECT_EQ(Pen().x, kCell);
  window_.ClearPage();
  window_.SetArea({0, 0, 40, 200});  // no line holds a character whole
  ShowText("「あ");
  EXPECT_EQ(window_.MessageState(), TMessageLib::kIdle);
  EXPECT_EQ(Pen().y, kCell);
}

TEST_F(MessageLibTest, AFullPageWaitsForAClickThenScrolls) {
  window_.SetArea({0, 0, 100, 40});
  window_.SetOwnSpeed(10);
  Add("あいうえ");
  for (int i = 0; i < 10; ++i) window_.Update(10);
  EXPECT_EQ(window_.MessageState(), TMessageLib::kWaitingForScroll);
  EXPECT_EQ(Pen().y, kCell);
  int32_t x = 0;
  int32_t y = 0;
  EXPECT_TRUE(window_.Click(-1, x, y));
  EXPECT_EQ(window_.MessageState(), TMessageLib::kTyping);
  EXPECT_EQ(Pen().y, 40 - kCell);  // scrolled so that the new line fits
  window_.Update(100);
  EXPECT_EQ(window_.MessageState(), TMessageLib::kIdle);
}

TEST_F(MessageLibTest, WaitsAreIgnoredWhileSkippingOrShowingAll) {
  window_.SetOwnSpeed(10);
  window_.SetSkip(true);
  Add("[w,1000]あ");
  window_.Update(10);
  EXPECT_EQ(window_.Text().wait, 0);
  window_.SetSkip(false);
  Add("[w,1000]い");
  window_.Update(10);  // the wait is read, the character waits
  window_.Update(10);
  EXPECT_EQ(window_.Text().wait, 990);
  window_.ShowAll();  // a click cuts a pending wait short too
  EXPECT_EQ(window_.MessageState(), TMessageLib::kIdle);
  EXPECT_EQ(Pen().x, 2 * kCell);
}

TEST_F(MessageLibTest, RubyIsCentredAboveItsBase) {
  ShowText("[p,0,40][rb,漢字,かな]");
  // Base of 4 bytes: B = 64; ruby of 4 bytes: R = (4 - 1) x 12 / 2 = 18.
  const int start = (64 - 18) / 2;
  EXPECT_GT(LitPixels({start, 40 - 8, start + 24, 40 - 8 + 12}), 0);
  EXPECT_EQ(LitPixels({0, 40 - 8, start - 2, 40}), 0);
  EXPECT_EQ(Pen().x, 2 * kCell);
}

TEST_F(MessageLibTest, VerticalWindowsWriteDownwards) {
  window_.SetVertical(true);
  ShowText("[p,200,0]あい");
  EXPECT_EQ(Pen().x, 200);
  EXPECT_EQ(Pen().y, 2 * kCell);
  EXPECT_GT(LitPixels({200, 0, 232, 64}), 0);
}

TEST_F(MessageLibTest, FinishedMessagesGoToTheBacklogWithoutTrailingLineTags) {
  window_.SetSpeaker("aoi");
  ShowText("こんにちは[n][np]");
  window_.Finish();
  ShowText("[n]");
  window_.Finish();  // nothing visible: no entry
  ASSERT_EQ(stage_.Backlog().Count(), 1);
  EXPECT_EQ(stage_.Backlog().Back(0)->text, base::Utf8ToCp932("こんにちは"));
  EXPECT_EQ(stage_.Backlog().Back(0)->speaker, "aoi");
}

TEST_F(MessageLibTest, ASavedWindowRedrawsTheSamePixels) {
  ShowText("[c,$ffff8000]保存[n]テスト[rb,文字,もじ]");
  base::ByteWriter out;
  window_.SaveMessageState(out);
  const base::Bytes bytes = out.Take();
  TMessageLib restored{stage_.Context()};
  base::ByteReader in(bytes);
  restored.LoadMessageState(in);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(restored.Text(), window_.Text());
  const TARGB8888& a = window_.TextLayer();
  const TARGB8888& b = restored.TextLayer();
  ASSERT_EQ(a.Width(), b.Width());
  for (int y = 0; y < a.Height(); ++y) {
    ASSERT_TRUE(std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) << "row " << y;
  }
}

TEST_F(MessageLibTest, HostileTextEndsQuietly) {
  std::string nested(10000, '[');
  std::string arguments = "[c";
  for (int i = 0; i < 1000; ++i) arguments += ",1";
  for (const std::string& text :
       {std::string("abc[n,1"), nested, arguments + "]", std::string("[rb,,\x82\xA0]"),
        std::string("ab\x82"), std::string("[s,9,2000000000]a[n,2000000000][sp,900000]b")}) {
    window_.AddText(text);
    window_.ShowAll();
    EXPECT_EQ(window_.MessageState(), TMessageLib::kIdle) << text.substr(0, 20);
    window_.ClearPage();
  }
  window_.SetArea({-5, 0, 2000000000, 100000});  // cut to what a layer can hold
  EXPECT_EQ(window_.TextLayer().Width(), MessageLibState::kMaxAreaSide);
  EXPECT_EQ(window_.TextLayer().Height(), MessageLibState::kMaxAreaSide);
}

}  // namespace
}  // namespace mavu::imaging
