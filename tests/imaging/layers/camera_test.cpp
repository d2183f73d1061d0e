#include "imaging/layers/camera.h"

#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "resource/random_table.h"
#include "support/imaging/layer_fixture.h"

namespace mavu::imaging {
namespace {

using test::I32At;

TEST(Camera, MovesEaseFromWhereTheCameraIs) {
  TCamera camera;
  camera.CameraSetEasing(1);
  camera.CameraMoveTo(100, -40, 1000);
  camera.CameraAdvance(500);
  EXPECT_EQ(camera.OffsetX(), -50);
  EXPECT_EQ(camera.OffsetY(), 20);
  camera.CameraMoveTo(0, 0, 0);
  camera.CameraAdvance(0);
  EXPECT_EQ(camera.X(), 0);
  camera.CameraSetEasing(2);  // no such easing: a jump
  camera.CameraMoveTo(1024, 0, 1024);
  camera.CameraAdvance(1023);
  EXPECT_EQ(camera.X(), 0);
  camera.CameraSetEasing(4);
  camera.CameraMoveTo(0, 1024, 1024);
  camera.CameraAdvance(512);
  EXPECT_EQ(camera.X(), 0);
  EXPECT_EQ(camera.Y(), 194);  // round(512^2.4 / 16384)
}

// Ease-out from 0 to 1024 over 1024 ms gives 830 at 512 ms; the shake adds
// ((1024 - p) x r) >> 10 with r drawn in -20..19: the table's 0 draws -20, its 39 draws 19.
TEST(Camera, AShakeStaysWithinTwentyOfTheEasedPoint) {
  resource::RandomTable& random = resource::TheRandomTable();
  const base::Bytes zeros(resource::RandomTable::kFileBytes, 0);
  ASSERT_TRUE(random.Load(zeros));
  TCamera camera;
  camera.CameraSetEasing(6);
  camera.CameraMoveTo(1024, 1024, 1024);
  camera.CameraAdvance(0);
  EXPECT_EQ(camera.X(), -20);
  camera.CameraAdvance(512);
  EXPECT_EQ(camera.Y(), 830 - 10);

  base::ByteWriter highest;
  for (size_t i = 0; i < resource::RandomTable::kSize; ++i) highest.U32(39);
  ASSERT_TRUE(random.Load(highest.Take()));
  camera.CameraMoveTo(0, 0, 1024);
  camera.CameraAdvance(0);
  EXPECT_EQ(camera.X(), 820 + 19);
  camera.CameraAdvance(1024);
  EXPECT_EQ(camera.X(), 0);
  EXPECT_EQ(camera.Y(), 0);
  ASSERT_TRUE(random.Load(zeros));
}

TEST(Camera, TheRecordIsThirtyThreeBytesThatRoundTrip) {
  TCamera camera;
  camera.CameraSetEasing(3);
  camera.CameraMoveTo(300, -60, 900);
  camera.CameraAdvance(450);
  const base::Bytes bytes = test::Saved(camera);
  ASSERT_EQ(bytes.size(), 33u);
  EXPECT_EQ(I32At(bytes, 16), 300);  // target x
  EXPECT_EQ(I32At(bytes, 24), 450);  // elapsed
  EXPECT_EQ(bytes[32], 3);           // easing

  TCamera copy;
  base::ByteReader in(bytes);
  copy.LoadState(in);
  EXPECT_EQ(test::Saved(copy), bytes);
  base::ByteReader shortIn(test::Shortened(bytes));
  EXPECT_THROW(copy.LoadState(shortIn), base::FormatError);
  EXPECT_EQ(test::Saved(copy), bytes);
}

}  // namespace
}  // namespace mavu::imaging
