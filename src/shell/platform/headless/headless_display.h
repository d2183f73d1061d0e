#pragma once

#include <memory>

#include "imaging/memory_display_surface.h"
#include "shell/display/display.h"

namespace mavu::shell {

// The display of a headless run: frames go to memory (in the back buffer's
// format the colour mode asks for), and the window always has the focus.
class HeadlessDisplay final : public Display {
 public:
  bool ApplyScreenMode(const ScreenMode& mode) override;
  const ScreenMode& CurrentMode() const override { return mode_; }
  void Flush() override {}
  void SetCaption(std::string_view) override {}
  void SetIcon(const imaging::TARGB8888&) override {}
  bool Active() const override { return true; }
  bool TakeContentsLost() override { return false; }

  bool Lock(imaging::PixelSurface& memory) override;
  void Unlock() override;
  void ShowBackBuffer() override;
  void CopyToWindow(const imaging::TARGB8888& picture, const imaging::RectI& rect) override;

  // Nothing before the first ApplyScreenMode.
  const imaging::MemoryDisplaySurface* Memory() const { return memory_.get(); }

 private:
  ScreenMode mode_;
  std::unique_ptr<imaging::MemoryDisplaySurface> memory_;
};

}  // namespace mavu::shell
