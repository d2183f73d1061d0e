#include "shell/platform/sdl/sdl_display.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace mavu::shell {
namespace {

constexpr uint32_t kGreen565 = 0x07E0;

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

}  // namespace

SdlDisplay::SdlDisplay() {
  window_ = SDL_CreateWindow("Mavu", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kStartWidth,
                             kStartHeight, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) Fail("cannot open a window");
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) Fail("cannot draw into the window");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  CreateTexture();
}

SdlDisplay::~SdlDisplay() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

// Going back to a window gives it the game's size again, centred.
bool SdlDisplay::ApplyScreenMode(const ScreenMode& wanted) {
  const ScreenMode mode = wanted.Limited();
  const bool resized = mode.width != mode_.width || mode.height != mode_.height;
  const bool reformat = mode.fullColour != mode_.fullColour;
  const bool leavingFullScreen = mode_.fullScreen && !mode.fullScreen;
  mode_ = mode;
  SDL_SetWindowFullscreen(window_, mode.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  if (!mode.fullScreen && (resized || leavingFullScreen)) {
    SDL_SetWindowSize(window_, mode.width, mode.height);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  if (resized || reformat || texture_ == nullptr) CreateTexture();
  SDL_ShowWindow(window_);
  contentsLost_ = true;
  dirty_ = true;
  return true;
}

void SdlDisplay::CreateTexture() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  const Uint32 format = mode_.fullColour ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
  texture_ =
      SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, mode_.width, mode_.height);
  if (texture_ == nullptr) Fail("cannot make the frame texture");
  SDL_RenderSetLogicalSize(renderer_, mode_.width, mode_.height);
  frame_.assign(static_cast<size_t>(mode_.width) * mode_.height * BytesPerPixel(), 0);
  Upload({0, 0, mode_.width, mode_.height});
}

imaging::PixelSurface SdlDisplay::FrameSurface() {
  imaging::PixelSurface surface;
  surface.bits = frame_.data();
  surface.pitch = static_cast<ptrdiff_t>(mode_.width) * BytesPerPixel();
  surface.width = mode_.width;
  surface.height = mode_.height;
  surface.bitsPerPixel = mode_.fullColour ? 32 : 16;
  if (!mode_.fullColour) surface.greenMask = kGreen565;
  return surface;
}

bool SdlDisplay::Lock(imaging::PixelSurface& memory) {
  memory = FrameSurface();
  return true;
}

void SdlDisplay::ShowBackBuffer() {
  Upload({0, 0, mode_.width, mode_.height});
}

void SdlDisplay::CopyToWindow(const imaging::TARGB8888& picture, const imaging::RectI& rect) {
  const imaging::RectI clipped{std::max(rect.left, 0), std::max(rect.top, 0),
                               std::min({rect.right, mode_.width, picture.Width()}),
                               std::min({rect.bottom, mode_.height, picture.Height()})};
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return;
  imaging::PixelSurface surface = FrameSurface();
  // The window path always copies whole rows; only the back-buffer path
  // spreads a frame over two fields.
  const bool interlaced = std::exchange(imaging::TARGB8888::InterlaceActive, false);
  picture.CopyToSurface(surface, clipped);
  imaging::TARGB8888::InterlaceActive = interlaced;
  Upload(clipped);
}

void SdlDisplay::Upload(const imaging::RectI& rect) {
  const SDL_Rect area{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  const int pitch = mode_.width * BytesPerPixel();
  const uint8_t* first = frame_.data() + static_cast<size_t>(rect.top) * pitch +
                         static_cast<size_t>(rect.left) * BytesPerPixel();
  SDL_UpdateTexture(texture_, &area, first, pitch);
  dirty_ = true;
}

void SdlDisplay::DrawFrame() {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
}

// Nothing new, nothing drawn: a waiting game costs no rendering.
void SdlDisplay::Flush() {
  if (!dirty_) return;
  DrawFrame();
  SDL_RenderPresent(renderer_);
  dirty_ = false;
}

void SdlDisplay::SetCaption(std::string_view utf8) {
  SDL_SetWindowTitle(window_, std::string(utf8).c_str());
}

void SdlDisplay::SetIcon(const imaging::TARGB8888& picture) {
  std::vector<uint32_t> pixels;  // top row first, as SDL wants them
  pixels.reserve(static_cast<size_t>(picture.Width()) * picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    pixels.insert(pixels.end(), picture.Row(y), picture.Row(y) + picture.Width());
  }
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), picture.Width(), picture.Height(), 32,
                                         picture.Width() * 4, SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return;
  SDL_SetWindowIcon(window_, surface);
  SDL_FreeSurface(surface);
}

bool SdlDisplay::Active() const {
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlDisplay::TakeContentsLost() {
  return std::exchange(contentsLost_, false);
}

void SdlDisplay::HandleEvent(const SDL_Event& event) {
  if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
    CreateTexture();
    contentsLost_ = true;
  } else if (event.type == SDL_WINDOWEVENT) {
    switch (event.window.event) {
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_RESTORED:
        dirty_ = true;
        break;
      default:
        break;
    }
  }
}

}  // namespace mavu::shell
