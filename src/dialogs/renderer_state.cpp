#include "dialogs/renderer_state.h"

namespace mavu::dialogs {

RendererState RendererState::Capture(SDL_Renderer* renderer) {
  RendererState state;
  state.target_ = SDL_GetRenderTarget(renderer);
  if (state.target_) {
    state.targetView_ = CaptureView(renderer);
    SDL_SetRenderTarget(renderer, nullptr);
  }
  state.window_ = CaptureView(renderer);
  SDL_Color& c = state.colour_;
  SDL_GetRenderDrawColor(renderer, &c.r, &c.g, &c.b, &c.a);
  SDL_GetRenderDrawBlendMode(renderer, &state.blendMode_);
  state.Restore(renderer);
  return state;
}

// SDL keeps the window's view aside while a texture is the target and brings
// it back when the window is again, so the window's is set first.
void RendererState::Restore(SDL_Renderer* renderer) const {
  SDL_SetRenderTarget(renderer, nullptr);
  ApplyView(renderer, window_);
  if (target_) {
    SDL_SetRenderTarget(renderer, target_);
    ApplyView(renderer, *targetView_);
  }
  SDL_SetRenderDrawColor(renderer, colour_.r, colour_.g, colour_.b, colour_.a);
  SDL_SetRenderDrawBlendMode(renderer, blendMode_);
}

RendererState::View RendererState::CaptureView(SDL_Renderer* renderer) {
  View view;
  view.integerScale = SDL_RenderGetIntegerScale(renderer);
  SDL_RenderGetLogicalSize(renderer, &view.logicalWidth, &view.logicalHeight);
  SDL_RenderGetScale(renderer, &view.scaleX, &view.scaleY);
  SDL_RenderGetViewport(renderer, &view.viewport);
  view.clipped = SDL_RenderIsClipEnabled(renderer) == SDL_TRUE;
  SDL_RenderGetClipRect(renderer, &view.clip);
  return view;
}

void RendererState::ApplyView(SDL_Renderer* renderer, const View& view) {
  const View now = CaptureView(renderer);
  if (now.integerScale != view.integerScale) {
    SDL_RenderSetIntegerScale(renderer, view.integerScale);
  }
  if (now.logicalWidth != view.logicalWidth || now.logicalHeight != view.logicalHeight) {
    SDL_RenderSetLogicalSize(renderer, view.logicalWidth, view.logicalHeight);
  }
  float scaleX = 1;
  float scaleY = 1;
  SDL_RenderGetScale(renderer, &scaleX, &scaleY);
  if (scaleX != view.scaleX || scaleY != view.scaleY) {
    SDL_RenderSetScale(renderer, view.scaleX, view.scaleY);
  }
  SDL_Rect viewport;
  SDL_RenderGetViewport(renderer, &viewport);
  if (!SDL_RectEquals(&viewport, &view.viewport)) SDL_RenderSetViewport(renderer, &view.viewport);
  SDL_Rect clip;
  SDL_RenderGetClipRect(renderer, &clip);
  const bool clipped = SDL_RenderIsClipEnabled(renderer) == SDL_TRUE;
  if (clipped != view.clipped || (view.clipped && !SDL_RectEquals(&clip, &view.clip))) {
    SDL_RenderSetClipRect(renderer, view.clipped ? &view.clip : nullptr);
  }
}

void ResetRendererView(SDL_Renderer* renderer) {
  SDL_SetRenderTarget(renderer, nullptr);
  SDL_RenderSetLogicalSize(renderer, 0, 0);
  SDL_RenderSetClipRect(renderer, nullptr);
}

}  // namespace mavu::dialogs
