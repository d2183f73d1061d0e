#include <gtest/gtest.h>

#include "base/cp932.h"
#include "imaging/png_writer.h"
#include "script/objects/kel_object_data_message.h"
#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class MessageCommandsTest : public ObjectTest {
 protected:
  // Script lines written in UTF-8 here, CP932 in the game.
  bool RunText(std::string_view utf8, std::map<std::string, std::string> files = {}) {
    return Run(base::Utf8ToCp932(utf8), std::move(files));
  }
  imaging::TMessageLib& Window(const std::string& name) {
    auto* message = dynamic_cast<TKelObjectDataMessage*>(objects_->Find(name));
    if (message == nullptr) throw std::runtime_error("no message object " + name);
    return message->Window();
  }
};

TEST_F(MessageCommandsTest, TextCommandsQueueTextAndTags) {
  ASSERT_TRUE(
      RunText("\\gvar,msg,m\\gvar,str,s\\scp,m\\sv,1000\r\n"
              "\\t,あ\\t,{a,b}\\o,1+2\\o,\"い\"\\n\\n,2\\w,100\\oc,$FFFFFFFFFF00FF00\r\n"
              "\\orc,$FFFFFFFFFF0000FF\\opc,\"中\"\\opr,\"右\"\\orb,\"字\",\"じ\"\\gt\\cal,s="
              "ResultStr\r\n"));
  EXPECT_EQ(base::Cp932ToUtf8(Str("s")),
            "あa,b3い[n][n,2][w,100][c,$ff00ff00][rc,$ff0000ff][pc,中][pr,右][rb,字,じ]");
  EXPECT_FALSE(RunText("\\gvar,msg,w\\scp,w\\o,nothing\r\n"));
  // After the evaluator's own report of the unknown name.
  EXPECT_EQ(Messages().back(), "\\o：不正な値が入力されました：nothing");
}

TEST_F(MessageCommandsTest, OptionWordsSetTheWindow) {
  ASSERT_TRUE(
      RunText("\\gvar,msg,m\\scp,m\\ts,10,20,330,220\\bg,$123456\\ls,8\\wv\\ap,0\\sk\\as\\ns\r\n"
              "\\sv,0\r\n"));
  imaging::TMessageLib& window = Window("m,0");
  EXPECT_EQ(window.Text().area, (imaging::MessageLibState::Area{10, 20, 330, 220}));
  EXPECT_EQ(window.Text().textBackground, 0x123456u);
  EXPECT_EQ(window.Text().lineStartIndent, 8);
  EXPECT_TRUE(window.Text().vertical);
  EXPECT_TRUE(window.Text().autoWaitCounting);
  ASSERT_TRUE(RunText("\\scp,m\\ts,100,50\\wv,0\r\n"));
  EXPECT_EQ(window.Text().area, (imaging::MessageLibState::Area{0, 0, 100, 50}));
  EXPECT_FALSE(window.Text().vertical);
}

TEST_F(MessageCommandsTest, TheSpeakerAndVoiceGoToTheBacklog) {
  ASSERT_TRUE(
      RunText("\\gvar,msg,m\\scp,m\\ts,320,200\\sv,1000\\ac,\"太郎\"\\wf,\"v01.ogg\"\\t,"
              "こんにちは\\n\\lg\r\n"
              "\\lg\r\n"));
  const imaging::TKelLogData& log = stage_.Backlog();
  ASSERT_EQ(log.Count(), 1);  // the second lg had nothing new to write
  EXPECT_EQ(base::Cp932ToUtf8(log.Back(0)->speaker), "太郎");
  EXPECT_EQ(log.Back(0)->voice, "v01.ogg");
  EXPECT_EQ(base::Cp932ToUtf8(log.Back(0)->text), "こんにちは");
}

TEST_F(MessageCommandsTest, IconsComeFromTheSheetCellByCell) {
  imaging::TARGB8888 sheet;
  sheet.SetSize(32, 16);
  sheet.FillSolid({0, 0, 16, 16}, 0xFFFF0000);
  sheet.FillSolid({16, 0, 32, 16}, 0xFF00FF00);
  const base::Bytes png = imaging::EncodePng(sheet);
  ASSERT_TRUE(RunText("\\gvar,msg,m\\scp,m\\ts,320,200\\bl,\"icons.png\",16,16\\t,[x,1][x,0]\r\n",
                      {{"icons.png", std::string(png.begin(), png.end())}}));
  const imaging::TARGB8888& layer = Window("m,0").TextLayer();
  // Cell 1 then cell 0, each stretched into the 32-pixel glyph box.
  EXPECT_EQ(layer.Pixel(16, 16) & 0x80808080u, 0x80008000u);
  EXPECT_EQ(layer.Pixel(48, 16) & 0x80808080u, 0x80800000u);
  EXPECT_FALSE(RunText("\\scp,m\\bl,\"none.png\",16,16\r\n"));
  EXPECT_EQ(Messages(), Strings{"\\bl:外部定義ビットマップフォントのロードに失敗：none.png"});
}

}  // namespace
}  // namespace mavu::script::test
