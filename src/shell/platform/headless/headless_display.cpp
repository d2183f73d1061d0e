#include "shell/platform/headless/headless_display.h"

namespace mavu::shell {

bool HeadlessDisplay::ApplyScreenMode(const ScreenMode& mode) {
  mode_ = mode;
  memory_ = std::make_unique<imaging::MemoryDisplaySurface>(mode.width, mode.height,
                                                            mode.fullColour ? 32 : 16);
  return true;
}

bool HeadlessDisplay::Lock(imaging::PixelSurface& memory) {
  return memory_ != nullptr && memory_->Lock(memory);
}

void HeadlessDisplay::Unlock() {
  if (memory_ != nullptr) memory_->Unlock();
}

void HeadlessDisplay::ShowBackBuffer() {
  if (memory_ != nullptr) memory_->ShowBackBuffer();
}

void HeadlessDisplay::CopyToWindow(const imaging::TARGB8888& picture, const imaging::RectI& rect) {
  if (memory_ != nullptr) memory_->CopyToWindow(picture, rect);
}

}  // namespace mavu::shell
