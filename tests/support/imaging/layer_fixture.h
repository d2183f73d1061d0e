#pragma once

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <span>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "imaging/argb8888.h"
#include "imaging/argb8888_cell_draw.h"
#include "imaging/layers/image_lib.h"
#include "imaging/layers/layer_context.h"
#include "support/imaging/animation_files.h"
#include "support/mounted_game.h"
#include "test_images.h"

namespace mavu::test {

// The save record of a layer, camera or screen.
template <class T>
base::Bytes Saved(const T& object) {
  base::ByteWriter out;
  object.SaveState(out);
  return out.Take();
}

// Fields of a record, read where the layout puts them.
inline int32_t I32At(const base::Bytes& record, size_t offset) {
  base::ByteReader in(record);
  in.Seek(offset);
  return in.I32();
}
inline std::string ShortStringAt(const base::Bytes& record, size_t offset) {
  return std::string(reinterpret_cast<const char*>(&record[offset + 1]), record[offset]);
}

// The record without its last byte.
inline std::span<const uint8_t> Shortened(const base::Bytes& record) {
  return std::span(record).first(record.size() - 1);
}

// Layers on an 800 x 600 compositor, over a mounted game whose files are:
//  "ui.b"     "Idle", "Other", then every motion a layer or button plays by name;
//  "bare.b"   "Idle", "Other", "*OnMouse", "*OffMouse", "*OnCheck", "*OnLock";
//  "wide.png" a 200 x 100 picture;
// and whatever the test adds.
class LayerTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kFill = 0xFF00FF00;
  // Where a layer's hit rectangle lies unless the test says otherwise.
  static constexpr imaging::ImageLibState::Rect kHitRect{0, 0, 10, 10};

  explicit LayerTest(std::map<std::string, std::string> files = {}) : game_(WithLayerFiles(files)) {
    canvas_.SetSize(800, 600);
    compositor_.SetCanvas(canvas_);
  }

  // Loads the file, gives the layer its hit rectangle and shows it; the
  // update collects the rectangle.
  static void ShowLoaded(imaging::TImageLib& layer, std::string_view file,
                         const imaging::ImageLibState::Rect& hit = kHitRect) {
    ASSERT_TRUE(layer.LoadFile(file, {}, false));
    layer.SetHitRect(hit);
    layer.Show();
    layer.Update(0);
  }

  imaging::TARGB8888 canvas_;
  imaging::TARGB8888CellDraw compositor_;
  imaging::LayerContext context_{compositor_};

 private:
  static std::map<std::string, std::string> WithLayerFiles(
      std::map<std::string, std::string> files) {
    const std::array<int16_t, 4> rect{0, 0, 10, 10};
    files["ui.b"] = AsText(
        FillAnimation({"Idle", "Other", "*OnMouse", "*OffMouse", "*Enable", "*Disable", "*OnClick",
                       "*OffClick", "*OnCheck", "*OffCheck", "*OnLock", "*OffLock"},
                      rect, kFill));
    files["bare.b"] = AsText(FillAnimation(
        {"Idle", "Other", "*OnMouse", "*OffMouse", "*OnCheck", "*OnLock"}, rect, kFill));
    files["wide.png"] = AsText(EncodePng(Gradient(200, 100, false), false));
    return files;
  }

  MountedGame game_;
};

}  // namespace mavu::test
