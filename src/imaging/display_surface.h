#pragma once

#include "imaging/argb8888.h"

namespace mavu::imaging {

// Where composed frames go: a back buffer that is locked, written and shown,
// and the window itself, which takes rectangles of a picture directly. The
// SDL back end and the in-memory one used headless implement it.
class DisplaySurface {
 public:
  virtual ~DisplaySurface() = default;

  // Locks the back buffer for writing and describes its memory (rows from
  // the top). False when the surface is lost; nothing is locked then.
  virtual bool Lock(PixelSurface& memory) = 0;
  virtual void Unlock() = 0;
  // Puts the back buffer on the screen.
  virtual void ShowBackBuffer() = 0;
  // Copies a rectangle of the picture to the same place in the window at
  // once, bypassing the back buffer.
  virtual void CopyToWindow(const TARGB8888& picture, const RectI& rect) = 0;
};

}  // namespace mavu::imaging
