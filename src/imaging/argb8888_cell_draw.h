#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/argb8888.h"
#include "imaging/cell_band.h"
#include "imaging/display_surface.h"

namespace mavu::imaging {

// The frame compositor. During a frame everything visible posts draw commands
// with a priority (higher draws later, on top); Render sorts them, cuts them
// into horizontal bands of the canvas and redraws only the bands whose
// command lists differ from the previous frame's, and the presenters hand the
// redrawn bands to the display.
//
// A band that changes is redrawn in three consecutive frames, so that both
// interlace fields and both display buffers catch up with it.
class TARGB8888CellDraw {
 public:
  static constexpr int kBandHeight = 60;
  static constexpr int kMaxCommands = 1024;   // further posts of a frame are dropped
  static constexpr int kMaxBandEntries = 32;  // further parts in a band are dropped
  static constexpr int kRedrawRepeat = 3;     // frames a changed band is drawn in
  static constexpr int kAfterimageFrames = 16;
  // Priority of the background fill of Render(true), below anything posted.
  static constexpr float kBackgroundPriority = -65535;

  TARGB8888CellDraw();
  TARGB8888CellDraw(const TARGB8888CellDraw&) = delete;
  TARGB8888CellDraw& operator=(const TARGB8888CellDraw&) = delete;

  // Binds the canvas (owned by the caller) and forgets every band. A canvas
  // whose size changes later is bound again by the next Render.
  void SetCanvas(TARGB8888& canvas);
  void SetBackground(uint32_t colour) { background_ = colour; }
  // Drops the posted commands, both band lists and the afterimages: the next
  // Render redraws every band that has commands.
  void Reset();

  // --- posts ----------------------------------------------------------------
  // Unstretched posts draw the source rectangle at a point; stretched posts
  // map it onto a destination rectangle. An opacity of 0 posts nothing.
  void PostCopy(const TARGB8888& image, const RectF& src, PointF at, int opacity, float priority);
  void PostCopyStretched(const TARGB8888& image, const RectF& src, const RectF& dst, int opacity,
                         float priority);
  void PostAdd(const TARGB8888& image, const RectF& src, PointF at, int opacity, float priority);
  void PostAddStretched(const TARGB8888& image, const RectF& src, const RectF& dst, int opacity,
                        float priority);
  void PostMultiply(const TARGB8888& image, const RectF& src, PointF at, int opacity,
                    float priority);
  void PostMultiplyStretched(const TARGB8888& image, const RectF& src, const RectF& dst,
                             int opacity, float priority);
  void PostExclusion(const TARGB8888& image, const RectF& src, PointF at, int opacity,
                     float priority);
  void PostExclusionStretched(const TARGB8888& image, const RectF& src, const RectF& dst,
                              int opacity, float priority);
  void PostAlpha(const TARGB8888& image, const RectF& src, PointF at, int opacity, float priority);
  void PostAlphaStretched(const TARGB8888& image, const RectF& src, const RectF& dst, int opacity,
                          float priority);
  // Tinted draws; the colour's alpha is the opacity.
  void PostColourAdd(const TARGB8888& image, const RectF& src, PointF at, uint32_t colour,
                     float priority);
  void PostColourMultiply(const TARGB8888& image, const RectF& src, PointF at, uint32_t colour,
                          float priority);
  // The mask's blue channel scales the tinted image; maskOrigin is the mask
  // pixel under the source's top-left corner. Posted when the colour's alpha
  // is above 0.
  void PostMasked(const TARGB8888& image, const RectF& src, PointF at, const TARGB8888& mask,
                  PointF maskOrigin, uint32_t colour, float priority);
  void PostFillSolid(const RectF& rect, uint32_t colour, float priority);
  // These fills are posted when the colour's alpha is above 0.
  void PostFillBlend(const RectF& rect, uint32_t colour, float priority);
  void PostFillAdd(const RectF& rect, uint32_t colour, float priority);
  void PostFillMultiply(const RectF& rect, uint32_t colour, float priority);
  void PostFillInvert(const RectF& rect, uint32_t colour, float priority);
  // Lists a rectangle in its bands without drawing anything, so that those
  // bands redraw whenever `extra` changes from one frame to the next.
  void PostMark(const RectF& rect, uint32_t extra, float priority);
  // Forces the bands under the rectangle (or every band) to redraw, for
  // pictures whose pixels changed in place without a new serial.
  void PostInvalidate(const RectF& rect);
  void PostInvalidateAll();
  // The bands redrawn this frame show the average of their old and new
  // contents, and keep blending for 16 more frames: a motion trail.
  void PostAfterimage();

  // --- frames ---------------------------------------------------------------
  // Draws the changed bands of the posted commands onto the canvas, after a
  // fill with the background colour when `clear` is set, and empties the
  // command list.
  void Render(bool clear);
  // Copies the bands the last Render drew (or the whole canvas when `full`)
  // into the locked back buffer, interlaced unless full, and shows it. False
  // when the back buffer could not be locked: the display must be restored
  // and a full frame presented.
  bool PresentToSurface(DisplaySurface& display, bool full);
  // Copies the bands the last Render drew (or all) straight to the window:
  // band by band while fewer than three quarters of them changed, otherwise
  // as one rectangle from the first to the last changed band.
  void PresentToWindow(DisplaySurface& display, bool full);

  int BandCount() const { return static_cast<int>(previous_.size()); }
  // Whether the last Render drew band `band`.
  bool BandChanged(int band) const;
  int CommandCount() const { return static_cast<int>(commands_.size()); }

 private:
  struct BandList {
    uint32_t count = 0;
    bool changed = false;
    std::array<detail::BandEntry, kMaxBandEntries> entries;
    bool SameEntries(const BandList& other) const;
  };

  // Records a command unless the frame is full or its rectangles are
  // unusable; PostDraw also drops it at opacity 0.
  void Post(detail::CellCommand command, float priority);
  void PostDraw(const detail::CellCommand& command, float priority);
  void PostFill(DrawKind kind, const RectF& rect, uint32_t colour, float priority);
  void Append(const detail::CellCommand& command, float priority);
  RectF CanvasRect() const;
  detail::BandRect BandOf(int band) const;
  int BandIndex(float y) const;

  void BindCanvas();
  void SortCommands();
  void Distribute(const detail::CellCommand& command);
  void AddToBand(const detail::BandEntry& entry, int band);
  void DrawBands();
  void DrawBand(int band);
  void BlendAfterimage(int band);
  RectI BandPixels(int band) const;
  RectI BandSpan(int first, int last) const;

  TARGB8888* canvas_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  TARGB8888 bandBuffer_;
  uint32_t background_ = 0;
  bool afterimageFlag_ = false;
  std::vector<detail::CellCommand> commands_;
  std::vector<int64_t> keys_;
  std::vector<uint16_t> order_;
  std::vector<BandList> current_;
  std::vector<BandList> previous_;
  std::vector<uint8_t> repeat_;
  std::vector<uint8_t> afterimage_;
};

}  // namespace mavu::imaging
