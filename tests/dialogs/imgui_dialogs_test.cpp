#include "dialogs/imgui_dialogs.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <optional>

namespace mavu::dialogs {
namespace {

using base::DialogDescription;
using base::DialogKind;

const DialogDescription kConfirm{.kind = DialogKind::kConfirm,
                                 .caption = "確認",
                                 .text = "上書きしますか？",
                                 .buttons = {{"はい", 1}, {"いいえ", 0}}};
const DialogDescription kExit{
    .kind = DialogKind::kExitChoice,
    .caption = "Mavu",
    .text = "現在のゲーム内容が失われますがよろしいですか？",
    .buttons = {{"タイトルに戻る", 0}, {"キャンセル", -1}, {"ゲームの終了", 1}},
    .focus = 1,
    .closedValue = -1};

struct Key {
  SDL_Keycode code;
  Uint16 modifiers = KMOD_NONE;
};

// A window with a software renderer under SDL's dummy video driver.
class ImGuiDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_ = SDL_CreateWindow("test", 0, 0, 800, 600, 0);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
      GTEST_SKIP() << "SDL's dummy video driver cannot make a software renderer here: "
                   << SDL_GetError();
    }
    dialogs_ = std::make_unique<ImGuiDialogs>(window_, renderer_, [this] { DrawFrozenFrame(); });
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  void TearDown() override {
    dialogs_.reset();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  void Press(std::initializer_list<Key> keys) {
    for (const Key& key : keys) {
      SDL_Event event{};
      event.type = SDL_KEYDOWN;
      event.key.windowID = SDL_GetWindowID(window_);
      event.key.state = SDL_PRESSED;
      event.key.keysym.sym = key.code;
      event.key.keysym.scancode = SDL_GetScancodeFromKey(key.code);
      event.key.keysym.mod = key.modifiers;
      ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
  }

  std::optional<size_t> Show(const DialogDescription& dialog, std::initializer_list<Key> keys) {
    Press(keys);
    return dialogs_->ShowModal(dialog);
  }

  virtual void DrawFrozenFrame() {
    ++frozenFrames_;
    SDL_SetRenderDrawColor(renderer_, 40, 80, 120, 255);
    SDL_RenderClear(renderer_);
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<ImGuiDialogs> dialogs_;
  int frozenFrames_ = 0;
};

TEST_F(ImGuiDialogsTest, KeysMoveTheFocusAndChoose) {
  EXPECT_EQ(Show(kConfirm, {{SDLK_RETURN}}), 0u);
  EXPECT_EQ(Show(kConfirm, {{SDLK_RIGHT}, {SDLK_RETURN}}), 1u);
  EXPECT_EQ(Show(kExit, {{SDLK_KP_ENTER}}), 1u);  // the cancel button has the focus
  EXPECT_EQ(Show(kExit, {{SDLK_TAB}, {SDLK_SPACE}}), 2u);
  EXPECT_EQ(Show(kExit, {{SDLK_TAB, KMOD_LSHIFT}, {SDLK_RETURN}}), 0u);
  EXPECT_EQ(Show(kExit, {{SDLK_UP}, {SDLK_LEFT}, {SDLK_RETURN}}), 2u);  // round the end
  EXPECT_GT(frozenFrames_, 0);
}

TEST_F(ImGuiDialogsTest, EscapeAndClosingTheWindowCloseTheDialog) {
  EXPECT_EQ(Show(kConfirm, {{SDLK_RIGHT}, {SDLK_ESCAPE}}), std::nullopt);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_EQ(dialogs_->ShowModal(kExit), std::nullopt);
  EXPECT_FALSE(SDL_HasEvent(SDL_QUIT)) << "the engine would ask the close question next";
}

// The engine draws into a texture with its own viewport, and to a window of
// logical size 400 x 300 with a clip, a draw colour and a blend mode.
class EngineStateTest : public ImGuiDialogsTest {
 protected:
  void DrawFrozenFrame() override {
    ++frozenFrames_;
    framesSeenOnTarget_ += SDL_GetRenderTarget(renderer_) == target_;
  }

  SDL_Texture* target_ = nullptr;
  int framesSeenOnTarget_ = 0;
};

TEST_F(EngineStateTest, IsTheEnginesAgainWhileAndAfterADialogDraws) {
  const SDL_Rect clip{20, 30, 40, 50};
  const SDL_Rect targetViewport{5, 6, 70, 80};
  SDL_RenderSetLogicalSize(renderer_, 400, 300);
  SDL_RenderSetClipRect(renderer_, &clip);
  target_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 128, 128);
  ASSERT_NE(target_, nullptr) << SDL_GetError();
  SDL_SetRenderTarget(renderer_, target_);
  SDL_RenderSetViewport(renderer_, &targetViewport);
  SDL_SetRenderDrawColor(renderer_, 1, 2, 3, 4);
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_ADD);

  EXPECT_EQ(Show(kConfirm, {{SDLK_ESCAPE}}), std::nullopt);

  EXPECT_GT(frozenFrames_, 0);
  EXPECT_EQ(framesSeenOnTarget_, frozenFrames_);
  EXPECT_EQ(SDL_GetRenderTarget(renderer_), target_);
  SDL_Rect viewport;
  SDL_RenderGetViewport(renderer_, &viewport);
  EXPECT_TRUE(SDL_RectEquals(&viewport, &targetViewport));
  SDL_Color colour;
  SDL_GetRenderDrawColor(renderer_, &colour.r, &colour.g, &colour.b, &colour.a);
  EXPECT_EQ((std::array{colour.r, colour.g, colour.b, colour.a}),
            (std::array<Uint8, 4>{1, 2, 3, 4}));
  SDL_BlendMode blend;
  SDL_GetRenderDrawBlendMode(renderer_, &blend);
  EXPECT_EQ(blend, SDL_BLENDMODE_ADD);

  SDL_SetRenderTarget(renderer_, nullptr);
  int width = 0;
  int height = 0;
  SDL_RenderGetLogicalSize(renderer_, &width, &height);
  EXPECT_EQ(width, 400);
  EXPECT_EQ(height, 300);
  SDL_Rect windowClip;
  SDL_RenderGetClipRect(renderer_, &windowClip);
  EXPECT_TRUE(SDL_RectEquals(&windowClip, &clip));
  SDL_DestroyTexture(target_);
}

}  // namespace
}  // namespace mavu::dialogs
