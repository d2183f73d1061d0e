#include "dialogs/imgui_session.h"

#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

namespace mavu::dialogs {
namespace {

// Frames are drawn at least this often while nothing happens, so that a
// game controller (read by polling) is heard.
constexpr int kIdleFrameMs = 50;
constexpr ImU32 kDimColour = IM_COL32(0, 0, 0, 80);

// Makes a context current for a scope and the previous one again after it.
class CurrentContext {
 public:
  explicit CurrentContext(ImGuiContext* context) : previous_(ImGui::GetCurrentContext()) {
    ImGui::SetCurrentContext(context);
  }
  ~CurrentContext() { ImGui::SetCurrentContext(previous_); }
  CurrentContext(const CurrentContext&) = delete;
  CurrentContext& operator=(const CurrentContext&) = delete;

 private:
  ImGuiContext* previous_;
};

// The ImGui platform back end sets its own cursor and shows it.
class KeptCursor {
 public:
  KeptCursor() : cursor_(SDL_GetCursor()), shown_(SDL_ShowCursor(SDL_QUERY)) {}
  ~KeptCursor() {
    SDL_SetCursor(cursor_);
    SDL_ShowCursor(shown_);
  }
  KeptCursor(const KeptCursor&) = delete;
  KeptCursor& operator=(const KeptCursor&) = delete;

 private:
  SDL_Cursor* cursor_;
  int shown_;
};

bool ConcernsEngine(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
      return true;
    default:
      return false;
  }
}

// Our headers and the library must agree on the layout of ImGui's structures.
ImGuiContext* NewContext() {
  IMGUI_CHECKVERSION();
  return ImGui::CreateContext();
}

void DimBackground() {
  ImGui::GetBackgroundDrawList()->AddRectFilled(ImVec2(0, 0), ImGui::GetIO().DisplaySize,
                                                kDimColour);
}

}  // namespace

ImGuiSession::ImGuiSession(SDL_Window* window, SDL_Renderer* renderer, FrameDrawer drawFrozenFrame)
    : window_(window),
      renderer_(renderer),
      drawFrozenFrame_(std::move(drawFrozenFrame)),
      context_(NewContext()) {
  CurrentContext current(context_);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // nothing of the dialogs is worth a file in the game folder
  io.LogFilename = nullptr;
  io.ConfigFlags |= ImGuiConfigFlags_NavEnableGamepad;  // the back end reads the pad only then
  ImGui::StyleColorsLight();
  ImGui_ImplSDL2_InitForSDLRenderer(window_);
  ImGui_ImplSDLRenderer_Init(renderer_);
}

ImGuiSession::~ImGuiSession() {
  {
    CurrentContext current(context_);
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
  }
  ImGui::DestroyContext(context_);
}

bool ImGuiSession::RunModal(ModalContent& content, std::string_view texts) {
  CurrentContext current(context_);
  if (font_.Cover(texts)) ImGui_ImplSDLRenderer_DestroyFontsTexture();
  const RendererState engine = RendererState::Capture(renderer_);
  const KeptCursor cursor;
  std::vector<SDL_Event> forEngine;
  bool open = true;
  while (true) {
    DrawFrame(content, engine);
    if (content.Done()) break;
    open = PumpEvents(content, forEngine);
    if (!open || content.Done()) break;
  }
  engine.Restore(renderer_);
  for (SDL_Event& event : forEngine) SDL_PushEvent(&event);
  return open;
}

void ImGuiSession::DrawFrame(ModalContent& content, const RendererState& engine) {
  engine.Restore(renderer_);
  drawFrozenFrame_();
  ResetRendererView(renderer_);
  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  DimBackground();
  content.Build();
  ImGui::Render();
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
  SDL_RenderPresent(renderer_);
}

bool ImGuiSession::PumpEvents(ModalContent& content, std::vector<SDL_Event>& forEngine) {
  SDL_Event event;
  if (!SDL_WaitEventTimeout(&event, kIdleFrameMs)) return true;
  do {
    if (ClosesWindow(event)) {
      // Closing the window during a dialog answers the dialog; the quit
      // request that comes with it must not ask the close question next.
      SDL_FlushEvent(SDL_QUIT);
      return false;
    }
    ImGui_ImplSDL2_ProcessEvent(&event);
    if (ConcernsEngine(event)) forEngine.push_back(event);
    content.HandleEvent(event);
  } while (!content.Done() && SDL_PollEvent(&event));
  return true;
}

bool ImGuiSession::ClosesWindow(const SDL_Event& event) const {
  if (event.type == SDL_QUIT) return true;
  return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE &&
         event.window.windowID == SDL_GetWindowID(window_);
}

}  // namespace mavu::dialogs
