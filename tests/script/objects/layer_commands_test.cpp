#include <gtest/gtest.h>

#include "script/objects/kel_object_data_button.h"
#include "support/imaging/animation_files.h"
#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class LayerCommandsTest : public ObjectTest {
 protected:
  // A picture file with two motions, each filling 0,0 - 100,50.
  const std::map<std::string, std::string> kFiles = {
      {"pic.b", mavu::test::AsText(mavu::test::FillAnimation(
                    {{"*Default", 0xFFFF0000}, {"walk", 0xFF00FF00}}, {0, 0, 100, 50}))}};
};

TEST_F(LayerCommandsTest, QueriesReportTheLayer) {
  ASSERT_TRUE(
      Run("\\gvar,img,a\\gvar,str,file,state,motion\\gvar,int,loaded,on,index,x,cx,z\\scp,a\r\n"
          "\\l,\"pic.b\"\\e\\alg,1,0\\p,300,20,7,1000\\m,\"walk\"\r\n"
          "\\gf\\cal,loaded=ResultInt,file=ResultStr\\ge\\cal,on=ResultInt,state=ResultStr\r\n"
          "\\gm\\cal,index=ResultInt,motion=ResultStr\r\n"
          "\\gx,0\\cal,x=ResultInt\\gx,1\\cal,cx=ResultInt\\gz\\cal,z=ResultInt\r\n",
          kFiles));
  EXPECT_EQ(Int("loaded"), 1);
  EXPECT_EQ(Str("file"), "pic.b");
  EXPECT_EQ(Str("state"), "Enable");
  EXPECT_EQ(Int("index"), 1);
  EXPECT_EQ(Str("motion"), "walk");
  // A picture-less animation has no width to anchor on; the target counts.
  EXPECT_EQ(Int("x"), 300);
  EXPECT_EQ(Int("cx"), 300);
  EXPECT_EQ(Int("z"), 7);
}

TEST_F(LayerCommandsTest, ButtonsTakeTheirValuesAndReportTheTargetIntoVariables) {
  ASSERT_TRUE(
      Run("\\gvar,btn,b\\gvar,int,x,y,z\\scp,b\\l,\"pic.b\"\\ui,9\\us,\"go\"\\p,5,6,7,0\r\n"
          "\\gp,x,y,z\\lk\\ck,0\r\n",
          kFiles));
  EXPECT_EQ(Int("x") * 100 + Int("y") * 10 + Int("z"), 567);
  auto* button = dynamic_cast<TKelObjectDataButton*>(objects_->Find("b,0"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->ButtonValues()->value, 9);
  EXPECT_EQ(button->ButtonValues()->text, "go");
  EXPECT_TRUE(button->Button().Locked());
}

TEST_F(LayerCommandsTest, LoadFailuresAndChannelsOutOfRangeAreReported) {
  EXPECT_FALSE(Run("\\gvar,img,a\\scp,a\\l,\"none.b\",\"x.png\"\r\n"));
  ClearError();
  EXPECT_FALSE(Run("\\gvar,btn,b\\scp,b\\l,\"none.b\"\r\n"));
  ClearError();
  EXPECT_FALSE(Run("\\gvar,img,c\\scp,c\\sc,8\r\n"));
  ClearError();
  EXPECT_FALSE(Run("\\scp,csr\\dc,6\r\n"));
  ClearError();
  EXPECT_FALSE(Run("\\scp,csr\\dc,5\\scp,eff\\dc,8\r\n"));
  EXPECT_EQ(
      Messages(),
      (Strings{"\\l:画像ファイルのロードに失敗：none.b:x.png",
               "\\l：画像にロードに失敗：none.b:", "\\sc:範囲外のチャンネルを指定しました",
               "\\sd:範囲外のチャンネルを指定しました", "\\dc:範囲外のチャンネルを指定しました"}));
}

TEST_F(LayerCommandsTest, TheEffectObjectRunsTheScreenTransitions) {
  using Mode = imaging::TKelGraphic::Mode;
  imaging::TKelGraphic& screen = stage_.Graphic();
  ASSERT_TRUE(Run("\\scp,eff\\c\\fdo,0,1000\r\n"));
  EXPECT_EQ(screen.CurrentMode(), Mode::kCrossfadeOut);
  Frames(40);
  EXPECT_EQ(screen.CurrentMode(), Mode::kFrozen);
  ASSERT_TRUE(Run("\\scp,eff\\i\\fdo,2,100,$FFFFFFFFFF000000,0\r\n"));
  Frames(5);
  EXPECT_EQ(screen.CurrentMode(), Mode::kColourEffect);  // an opaque colour stays
  ASSERT_TRUE(Run("\\scp,eff\\fdi,2,100,$FFFFFFFFFF000000,0\r\n"));
  Frames(5);
  EXPECT_EQ(screen.CurrentMode(), Mode::kNone);
}

TEST_F(LayerCommandsTest, TheCameraObjectMovesTheCamera) {
  ASSERT_TRUE(Run("\\scp,cam\\mm,1\\p,100,-40,0\r\n"));
  EXPECT_EQ(stage_.Camera().X(), 100);
  EXPECT_EQ(stage_.Camera().Y(), -40);
  ASSERT_TRUE(Run("\\scp,cam\\i\r\n"));
  EXPECT_EQ(stage_.Camera().X(), 0);
}

}  // namespace
}  // namespace mavu::script::test
