#include "shell/platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include "shell/input/virtual_keys.h"

namespace mavu::shell {
namespace {

SDL_Keysym Key(SDL_Scancode scancode, SDL_Keycode keycode) {
  SDL_Keysym key{};
  key.scancode = scancode;
  key.sym = keycode;
  return key;
}

// SDL's own key map, a US layout, comes with its (dummy) video driver.
class SdlKeys : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
  static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

  static SDL_Keysym UsKey(SDL_Scancode scancode) {
    return Key(scancode, SDL_GetKeyFromScancode(scancode));
  }
};

TEST_F(SdlKeys, LettersDigitsAndFunctionKeys) {
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(VirtualKeyOfKeycode(SDLK_a + i), 'A' + i);
    EXPECT_EQ(VirtualKeyOf(UsKey(static_cast<SDL_Scancode>(SDL_SCANCODE_A + i))), 'A' + i);
  }
  for (int i = 0; i < 10; ++i) EXPECT_EQ(VirtualKeyOfKeycode(SDLK_0 + i), '0' + i);
  EXPECT_EQ(VirtualKeyOf(UsKey(SDL_SCANCODE_1)), '1');
  EXPECT_EQ(VirtualKeyOf(UsKey(SDL_SCANCODE_0)), '0');
  const SDL_Keycode functionKeys[] = {SDLK_F1,  SDLK_F2,  SDLK_F3,  SDLK_F4,  SDLK_F5,  SDLK_F6,
                                      SDLK_F7,  SDLK_F8,  SDLK_F9,  SDLK_F10, SDLK_F11, SDLK_F12,
                                      SDLK_F13, SDLK_F14, SDLK_F15, SDLK_F16, SDLK_F17, SDLK_F18,
                                      SDLK_F19, SDLK_F20, SDLK_F21, SDLK_F22, SDLK_F23, SDLK_F24};
  for (int i = 0; i < 24; ++i) EXPECT_EQ(VirtualKeyOfKeycode(functionKeys[i]), kVkF1 + i) << i;
}

TEST_F(SdlKeys, NamedKeys) {
  const std::pair<SDL_Keycode, int> keys[] = {
      {SDLK_RETURN, 0x0D},      {SDLK_KP_ENTER, 0x0D},    {SDLK_ESCAPE, 0x1B},
      {SDLK_SPACE, 0x20},       {SDLK_TAB, 0x09},         {SDLK_BACKSPACE, 0x08},
      {SDLK_LSHIFT, 0xA0},      {SDLK_RSHIFT, 0xA1},      {SDLK_LCTRL, 0xA2},
      {SDLK_RCTRL, 0xA3},       {SDLK_LALT, 0xA4},        {SDLK_RALT, 0xA5},
      {SDLK_LEFT, 0x25},        {SDLK_UP, 0x26},          {SDLK_RIGHT, 0x27},
      {SDLK_DOWN, 0x28},        {SDLK_INSERT, 0x2D},      {SDLK_DELETE, 0x2E},
      {SDLK_HOME, 0x24},        {SDLK_END, 0x23},         {SDLK_PAGEUP, 0x21},
      {SDLK_PAGEDOWN, 0x22},    {SDLK_KP_0, 0x60},        {SDLK_KP_9, 0x69},
      {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B},     {SDLK_KP_MINUS, 0x6D},
      {SDLK_KP_PERIOD, 0x6E},   {SDLK_KP_DIVIDE, 0x6F},   {SDLK_NUMLOCKCLEAR, 0x90},
      {SDLK_CAPSLOCK, 0x14},    {SDLK_PAUSE, 0x13},       {SDLK_PRINTSCREEN, 0x2C},
      {SDLK_SCROLLLOCK, 0x91},  {SDLK_APPLICATION, 0x5D}, {SDLK_SEMICOLON, 0xBA},
      {SDLK_EQUALS, 0xBB},      {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},
      {SDLK_PERIOD, 0xBE},      {SDLK_SLASH, 0xBF},       {SDLK_BACKQUOTE, 0xC0},
      {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC},   {SDLK_RIGHTBRACKET, 0xDD},
      {SDLK_QUOTE, 0xDE},
  };
  for (const auto& [keycode, vk] : keys) EXPECT_EQ(VirtualKeyOfKeycode(keycode), vk) << keycode;
}

TEST_F(SdlKeys, LettersFollowTheLayoutAndOtherScriptsFallBackToThePosition) {
  // AZERTY: the key at the US position of Q types "a".
  EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_Q, SDLK_a)), 'A');
  // Russian: the key at the US position of S types "ы".
  EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_S, 0x44B)), 'S');
  // AZERTY's number row types "&" unshifted, but still gives its digit.
  EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_1, SDLK_AMPERSAND)), '1');
  // Japanese keys have no key code of their own.
  EXPECT_EQ(VirtualKeyOf(UsKey(SDL_SCANCODE_INTERNATIONAL4)), kVkConvert);
  EXPECT_EQ(VirtualKeyOf(UsKey(SDL_SCANCODE_INTERNATIONAL5)), kVkNonConvert);
  EXPECT_EQ(VirtualKeyOf(UsKey(SDL_SCANCODE_INTERNATIONAL2)), kVkKana);
}

TEST_F(SdlKeys, KeysWithoutAVirtualKeyGiveZero) {
  EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN)), 0);
  EXPECT_EQ(VirtualKeyOf(UsKey(SDL_SCANCODE_POWER)), 0);
  EXPECT_EQ(VirtualKeyOfKeycode(SDLK_EXCLAIM), 0);
  EXPECT_EQ(VirtualKeyOfScancode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
  EXPECT_EQ(VirtualKeyOfKeycode(SDLK_SCANCODE_MASK | 0x7FFF), 0);
}

// Every key SDL names on a US layout that the table knows gives the same
// virtual key through its key code as through its position.
TEST_F(SdlKeys, KeyCodesAndPositionsAgree) {
  for (int s = SDL_SCANCODE_A; s < SDL_NUM_SCANCODES; ++s) {
    const auto scancode = static_cast<SDL_Scancode>(s);
    const uint8_t byPosition = VirtualKeyOfScancode(scancode);
    const uint8_t byCode = VirtualKeyOfKeycode(SDL_GetKeyFromScancode(scancode));
    if (byCode != 0) {
      EXPECT_EQ(byCode, byPosition) << SDL_GetScancodeName(scancode);
    }
  }
}

}  // namespace
}  // namespace mavu::shell
