#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/png_writer.h"
#include "shell/app/game_app.h"
#include "shell/app/silent_media.h"
#include "shell/input/input.h"
#include "shell/platform/headless/headless_audio.h"
#include "shell/platform/headless/headless_display.h"
#include "shell/platform/headless/scripted_dialogs.h"
#include "shell/platform/sdl/sdl_display.h"
#include "shell/platform/sdl/sdl_input_events.h"
#include "shell/system/standard_dialogs.h"
#include "support/mounted_game.h"

// The game window on a real X server (the test runs under Xvfb): what it
// shows, its modes, and where its pointer events land.
namespace mavu::shell {
namespace {

uint32_t Channel(uint32_t argb, int shift) {
  return (argb >> shift) & 0xFF;
}

// Each channel within `tolerance` of the other picture's.
void ExpectSamePicture(const std::vector<uint32_t>& window, const imaging::TARGB8888& expected,
                       uint32_t tolerance) {
  ASSERT_EQ(window.size(), static_cast<size_t>(expected.Width()) * expected.Height());
  int wrong = 0;
  for (int y = 0; y < expected.Height(); ++y) {
    for (int x = 0; x < expected.Width(); ++x) {
      const uint32_t got = window[static_cast<size_t>(y) * expected.Width() + x];
      const uint32_t want = expected.Pixel(x, y);
      for (int shift : {0, 8, 16}) {
        const uint32_t a = Channel(got, shift);
        const uint32_t b = Channel(want, shift);
        if ((a > b ? a - b : b - a) > tolerance && ++wrong <= 3) {
          ADD_FAILURE() << "at " << x << "," << y << std::hex << ": window " << got << ", expected "
                        << want;
        }
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

imaging::TARGB8888 Gradient(int width, int height) {
  imaging::TARGB8888 picture;
  picture.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.SetPixel(
          x, y, 0xFF000000u | (x * 255 / width) << 16 | (y * 255 / height) << 8 | ((x ^ y) & 0xFF));
    }
  }
  return picture;
}

class SdlWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) FAIL() << "no display: " << SDL_GetError();
  }
  static void TearDownTestSuite() { SDL_Quit(); }

  // The frame as the window shows it, in window pixels.
  static std::vector<uint32_t> WindowPixels(SdlDisplay& display) {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(display.Renderer(), &width, &height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    display.DrawFrame();
    SDL_RenderReadPixels(display.Renderer(), nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                         width * 4);
    return pixels;
  }

  static void Settle() {
    for (int i = 0; i < 20; ++i) {
      SDL_PumpEvents();
      SDL_Delay(10);
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
};

TEST_F(SdlWindowTest, ShowsTheFrameAsTheHeadlessDisplayDoesInBothColourModes) {
  const imaging::TARGB8888 picture = Gradient(320, 240);
  for (bool fullColour : {true, false}) {
    SdlDisplay window;
    HeadlessDisplay memory;
    const ScreenMode mode{320, 240, false, fullColour};
    window.ApplyScreenMode(mode);
    memory.ApplyScreenMode(mode);
    Settle();
    for (Display* display : std::initializer_list<Display*>{&window, &memory}) {
      display->CopyToWindow(picture, {0, 0, 320, 240});
      display->Flush();
    }
    // 16-bit frames lose the same low bits in both; SDL widens them its own way.
    ExpectSamePicture(WindowPixels(window), memory.Memory()->Window(), fullColour ? 0 : 7);
    if (!fullColour) {
      EXPECT_NE(Channel(WindowPixels(window)[7], 0), Channel(picture.Pixel(7, 0), 0));
    }
  }
}

TEST_F(SdlWindowTest, FullScreenTwiceGivesTheWindowBackAtItsSize) {
  SdlDisplay window;
  window.ApplyScreenMode({800, 600, false, true});
  Settle();
  window.ToggleScreenMode();
  Settle();
  EXPECT_TRUE(window.CurrentMode().fullScreen);
  EXPECT_NE(SDL_GetWindowFlags(window.Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
  window.ToggleScreenMode();
  Settle();
  EXPECT_FALSE(window.CurrentMode().fullScreen);
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window.Window(), &width, &height);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
}

// A 400 x 300 frame in a 1000 x 600 window is drawn twice as large with
// 100-pixel bars at the sides.
TEST_F(SdlWindowTest, PointerEventsArriveInFrameCoordinatesAtAnyWindowSize) {
  SdlDisplay window;
  window.ApplyScreenMode({400, 300, false, true});
  SDL_SetWindowSize(window.Window(), 1000, 600);
  Settle();
  base::SimulatedClock clock;
  TInput input(clock, KeyTable(), 400, 300);
  const auto push = [&](SDL_Event event) {
    event.button.windowID = SDL_GetWindowID(window.Window());  // the same place in each kind
    SDL_PushEvent(&event);
    SDL_Event arrived;
    while (SDL_PollEvent(&arrived)) FeedInputEvent(arrived, input);
  };
  SDL_Event press{};
  press.button.type = SDL_MOUSEBUTTONDOWN;
  press.button.button = SDL_BUTTON_LEFT;
  press.button.x = 500;
  press.button.y = 300;
  push(press);
  press.button.type = SDL_MOUSEBUTTONUP;
  push(press);
  SDL_Event wheel{};
  wheel.wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = 2;
  push(wheel);
  input.Poll();
  EXPECT_EQ(input.PointerX(), 200);
  EXPECT_EQ(input.PointerY(), 150);
  EXPECT_TRUE(input.Clicked(MouseButton::kLeft));
  EXPECT_EQ(input.Wheel(), 2 * kWheelNotch);

  SDL_Event motion{};
  motion.motion.type = SDL_MOUSEMOTION;
  motion.motion.x = 50;  // in the left bar
  motion.motion.y = 300;
  push(motion);
  input.Poll();
  EXPECT_EQ(input.PointerX(), 0);
}

// A game run frame by frame on the simulated clock as the back ends run it;
// `feed` passes each frame's input (frames count from 1) before the frame.
void PlayFrames(const std::filesystem::path& game, Display& display, int frames,
                const std::function<void(int, TInput&)>& feed) {
  base::SimulatedClock clock;
  TInput input(clock, KeyTable(), 1, 1);
  ScriptedDialogs answers;
  StandardDialogs dialogs(answers);
  SilentMedia media;
  HeadlessAudio audio(clock);
  GameApp app({clock, display, input, dialogs, audio, media}, game, game);
  app.ReadGame();
  app.StartSound();
  app.CreateSystem();
  app.StartStory();
  for (int frame = 1; frame <= frames; ++frame) {
    clock.Advance(25);
    audio.CatchUp();
    feed(frame, input);
    app.System().StepFrame(25);
  }
}

void NoInput(int, TInput&) {}

// The same game in a window and headless: the window shows what the
// headless screenshots show, whether frames go through the back buffer
// (interlaced) or straight to the window.
TEST_F(SdlWindowTest, AGameLooksTheSameInAWindowAsHeadless) {
  test::TempDir game;
  const auto png = [](const imaging::TARGB8888& picture) {
    const base::Bytes bytes = imaging::EncodePng(picture);
    return std::string(bytes.begin(), bytes.end());
  };
  test::WriteGamePack(game.Path(),
                      {{"bg.png", png(Gradient(800, 600))},
                       {"a.png", png(Gradient(100, 60))},
                       {"Startup.s",
                        "@@TOP\n\\gvar,img,bg,a\n\\scp,bg\\l,\"bg.png\"\\e\n"
                        "\\scp,a\\l,\"a.png\"\\e\\p,10,10,10,0\\p,400,300,10,1000\\a,0,1000\n"
                        "\\clk\n"}});
  for (int interlace : {0, 1}) {
    game.Write("GameData/System/config.txt", "Interlace=" + std::to_string(interlace) + "\n");
    SdlDisplay window;
    HeadlessDisplay memory;
    PlayFrames(game.Path(), window, 20, NoInput);
    PlayFrames(game.Path(), memory, 20, NoInput);
    ExpectSamePicture(WindowPixels(window), memory.Memory()->Window(), 0);
  }
}

#ifdef MAVU_DEMO_GAME_DIR
// The demo: "はじめる" clicked on the title, through SDL's event queue in the
// window and straight into the input state headless; 160 frames later the
// first page of the rooftop scene is up in both, pixel for pixel.
TEST_F(SdlWindowTest, TheDemoPlaysTheSameInAWindowAsHeadless) {
  constexpr int kClickFrame = 40;
  constexpr int kStartX = 400;
  constexpr int kStartY = 362;
  test::TempDir game;
  std::filesystem::copy(MAVU_DEMO_GAME_DIR, game.Path(), std::filesystem::copy_options::recursive);
  SdlDisplay window;
  PlayFrames(game.Path(), window, 200, [&](int frame, TInput& input) {
    if (frame == kClickFrame) {
      SDL_Event click{};
      click.button.windowID = SDL_GetWindowID(window.Window());
      click.button.button = SDL_BUTTON_LEFT;
      click.button.x = kStartX;
      click.button.y = kStartY;
      for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        click.button.type = type;
        SDL_PushEvent(&click);
      }
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      window.HandleEvent(event);
      FeedInputEvent(event, input);
    }
  });
  HeadlessDisplay memory;
  PlayFrames(game.Path(), memory, 200, [&](int frame, TInput& input) {
    if (frame != kClickFrame) return;
    input.MouseDown(MouseButton::kLeft, kStartX, kStartY);
    input.MouseUp(MouseButton::kLeft, kStartX, kStartY);
  });
  const imaging::TARGB8888& headless = memory.Memory()->Window();
  ASSERT_EQ(headless.Width(), 800);
  // The message window's translucent navy over the rooftop's floor: the click started the story.
  EXPECT_EQ(headless.Pixel(100, 560) & 0xFFFFFF, 0x181C33u);
  ExpectSamePicture(WindowPixels(window), headless, 0);
}
#endif

}  // namespace
}  // namespace mavu::shell
