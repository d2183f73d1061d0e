#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "imaging/argb8888.h"
#include "imaging/argb8888_cell_draw.h"
#include "imaging/display_surface.h"
#include "imaging/layers/image_lib.h"
#include "imaging/layers/layer_context.h"

namespace mavu::imaging {

// The screen (`TKelGraphic`): the compositor and its canvas, and the screen
// transitions: freeze, crossfade, rule wipe, colour effects and animated
// transitions, each going from the frozen snapshot towards the live screen (in)
// or from the live screen to the snapshot (out). The frame loop composes
// and presents through it.
class TKelGraphic {
 public:
  enum class Mode : uint8_t {
    kNone = 0,
    kFrozen = 1,
    kCrossfadeIn = 2,
    kCrossfadeOut = 3,
    kWipeIn = 4,
    kWipeOut = 5,
    kColourEffect = 8,
    kAnimated = 9,
  };
  enum class ColourOperation : int32_t { kOverlay = 0, kAdd = 1, kMultiply = 2, kInvert = 3 };

  static constexpr int kDefaultWidth = 800;
  static constexpr int kDefaultHeight = 600;
  // The state block: 0 background colour u32, 4 afterimage u8, 5 rule file
  // (128-byte short string), 133 mode u8, 134 two padding bytes, 136 elapsed,
  // 140 duration, 144 colour from, 148 colour to, 152 operation (int32 each).
  static constexpr size_t kStateBytes = 156;
  static constexpr float kTransitionPriority = 100000;

  TKelGraphic();
  TKelGraphic(const TKelGraphic&) = delete;
  TKelGraphic& operator=(const TKelGraphic&) = delete;

  // New buffers of the size (nothing changes for the same size).
  void SetScreenSize(int width, int height);
  void SetBackground(uint32_t colour);
  void SetAfterimage(bool on) { afterimage_ = on; }

  void Freeze();
  void CrossfadeIn(int32_t ms);
  void CrossfadeOut(int32_t ms);
  void WipeIn(int32_t ms, std::string_view ruleFile);
  void WipeOut(int32_t ms, std::string_view ruleFile);
  // From the previous target colour to this one.
  void ColourEffect(int32_t ms, uint32_t colour, ColourOperation operation);
  // ".b" files only.
  void AnimatedTransition(int32_t ms, std::string_view file);
  void EndTransition();

  void Advance(int32_t elapsed);
  // Renders what the layers posted this frame and builds the transition picture.
  void Compose();
  // What a window shows now: the live screen, the frozen snapshot or the
  // transition picture.
  const TARGB8888& ShownPicture() const;
  void PresentToSurface(DisplaySurface& surface, bool full);
  // The same straight to the window, without the back buffer.
  void PresentToWindow(DisplaySurface& surface, bool full);

  void SaveState(base::ByteWriter& out) const;
  // Throws base::FormatError for a damaged record, with the screen unchanged.
  void LoadState(base::ByteReader& in);

  TARGB8888CellDraw& Compositor() { return compositor_; }
  LayerContext& Context() { return context_; }
  TImageLib& TransitionLayer() { return transition_; }
  Mode CurrentMode() const { return mode_; }
  int Width() const { return screen_.Width(); }
  int Height() const { return screen_.Height(); }

 private:
  void Start(Mode mode, int32_t ms);
  void LoadRule(std::string_view ruleFile);
  void EndMode(Mode next);
  int Progress() const;
  void BuildOutput();
  uint32_t MixedColour(int b) const;
  RectF WholeScreen() const;
  void ClearToBlack(TARGB8888& image);

  TARGB8888CellDraw compositor_;
  LayerContext context_{compositor_};
  TARGB8888 screen_;
  TARGB8888 snapshot_;
  TARGB8888 output_;
  TImageLib transition_{context_};
  uint32_t background_ = 0;
  bool afterimage_ = false;
  std::string ruleFile_;
  Mode mode_ = Mode::kNone;
  int32_t elapsed_ = 0;
  int32_t duration_ = 0;
  uint32_t colourFrom_ = 0;
  uint32_t colourTo_ = 0;
  ColourOperation operation_ = ColourOperation::kOverlay;
  bool repaint_ = true;
};

}  // namespace mavu::imaging
