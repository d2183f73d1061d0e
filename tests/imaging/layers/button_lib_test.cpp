#include "imaging/layers/button_lib.h"

#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "support/imaging/layer_fixture.h"

namespace mavu::imaging {
namespace {

class ButtonLibTest : public test::LayerTest {
 protected:
  ButtonLibTest() {
    button_.onClick = [this] { ++clicks_; };
    button_.onChecked = [this] { ++checks_; };
    button_.onUnchecked = [this] { ++unchecks_; };
  }
  std::string Motion() const { return button_.CurrentMotionName(); }

  TButtonLib button_{context_};
  int clicks_ = 0;
  int checks_ = 0;
  int unchecks_ = 0;
};

TEST_F(ButtonLibTest, AClickConsumesThePointAndPlaysOnClickAnew) {
  ShowLoaded(button_, "ui.b");
  int32_t x = 50;
  int32_t y = 5;
  EXPECT_FALSE(button_.Click(-1, x, y));
  EXPECT_EQ(x, 50);
  x = 5;
  EXPECT_TRUE(button_.Click(-1, x, y));
  EXPECT_EQ(x, 65536);
  EXPECT_EQ(y, 65536);
  EXPECT_EQ(Motion(), "*OnClick");
  EXPECT_EQ(clicks_, 1);

  button_.Update(100);
  x = y = 5;
  EXPECT_TRUE(button_.Click(-1, x, y));
  EXPECT_EQ(button_.Animation().LayerClocks()[0], 0);
  EXPECT_EQ(clicks_, 2);
  button_.MouseMove(-1, 50, 50);
  EXPECT_EQ(Motion(), "*OffClick");
}

TEST_F(ButtonLibTest, ALockedButtonShowsOnLockAndLeavesTheClickToLayersBelow) {
  ShowLoaded(button_, "ui.b");
  button_.SetLocked(true);
  EXPECT_EQ(Motion(), "*OnLock");
  int32_t x = 5;
  int32_t y = 5;
  EXPECT_FALSE(button_.Click(-1, x, y));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 5);
  EXPECT_EQ(clicks_, 0);
  button_.MouseMove(-1, 5, 5);
  EXPECT_EQ(Motion(), "*OnLock");
  button_.SetLocked(false);
  EXPECT_EQ(Motion(), "*OffLock");
}

TEST_F(ButtonLibTest, CheckingPlaysTheCheckMotionsAndCallsBackOnChanges) {
  ShowLoaded(button_, "ui.b");
  button_.SetChecked(true);
  button_.SetChecked(true);
  EXPECT_EQ(Motion(), "*OnCheck");
  EXPECT_EQ(checks_, 1);
  int32_t x = 5;
  int32_t y = 5;
  EXPECT_TRUE(button_.Click(-1, x, y));
  EXPECT_EQ(Motion(), "*OnCheck");
  button_.SetChecked(false);
  EXPECT_EQ(Motion(), "*OffCheck");
  EXPECT_EQ(unchecks_, 1);
  button_.SetLocked(true);
  button_.SetChecked(true);
  EXPECT_FALSE(button_.Checked());
  EXPECT_EQ(checks_, 1);
}

TEST_F(ButtonLibTest, WithoutOffCheckUncheckingPlaysOffMouse) {
  ShowLoaded(button_, "bare.b");
  button_.SetChecked(true);
  button_.SetChecked(false);
  EXPECT_EQ(Motion(), "*OffMouse");
}

TEST_F(ButtonLibTest, TheRecordEndsWithCheckedAndLocked) {
  ShowLoaded(button_, "ui.b");
  button_.SetChecked(true);
  button_.SetLocked(true);
  base::ByteWriter out;
  button_.SaveButtonState(out);
  const base::Bytes bytes = out.Take();
  // The layer record, the window record, two empty text buffers, then the flags.
  ASSERT_EQ(bytes.size(), 1331u + 548u + 2u * 2u + 2u);
  EXPECT_EQ(bytes[1883], 1);
  EXPECT_EQ(bytes[1884], 1);

  TButtonLib copy(context_);
  base::ByteReader in(bytes);
  copy.LoadButtonState(in);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_TRUE(copy.Checked());
  EXPECT_TRUE(copy.Locked());
  base::ByteWriter again;
  copy.SaveButtonState(again);
  EXPECT_EQ(again.Take(), bytes);

  TButtonLib other(context_);
  base::ByteReader shortIn(test::Shortened(bytes));
  EXPECT_THROW(other.LoadButtonState(shortIn), base::FormatError);
  EXPECT_FALSE(other.Checked());
}

}  // namespace
}  // namespace mavu::imaging
