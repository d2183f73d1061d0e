#include "shell/platform/sdl/sdl_keys.h"

#include <array>

#include "shell/input/virtual_keys.h"

namespace mavu::shell {
namespace {

struct ScancodeKey {
  SDL_Scancode scancode;
  uint8_t vk;
};

// Keys that are not letters, digits or function keys, by position.
constexpr ScancodeKey kPositionKeys[] = {
    {SDL_SCANCODE_RETURN, kVkReturn},
    {SDL_SCANCODE_RETURN2, kVkReturn},
    {SDL_SCANCODE_KP_ENTER, kVkReturn},
    {SDL_SCANCODE_ESCAPE, kVkEscape},
    {SDL_SCANCODE_BACKSPACE, kVkBackspace},
    {SDL_SCANCODE_TAB, kVkTab},
    {SDL_SCANCODE_SPACE, kVkSpace},
    {SDL_SCANCODE_CLEAR, kVkClear},
    {SDL_SCANCODE_PAUSE, kVkPause},
    {SDL_SCANCODE_CAPSLOCK, kVkCapsLock},
    {SDL_SCANCODE_PAGEUP, kVkPageUp},
    {SDL_SCANCODE_PAGEDOWN, kVkPageDown},
    {SDL_SCANCODE_END, kVkEnd},
    {SDL_SCANCODE_HOME, kVkHome},
    {SDL_SCANCODE_LEFT, kVkLeft},
    {SDL_SCANCODE_UP, kVkUp},
    {SDL_SCANCODE_RIGHT, kVkRight},
    {SDL_SCANCODE_DOWN, kVkDown},
    {SDL_SCANCODE_SELECT, kVkSelect},
    {SDL_SCANCODE_EXECUTE, kVkExecute},
    {SDL_SCANCODE_PRINTSCREEN, kVkPrintScreen},
    {SDL_SCANCODE_INSERT, kVkInsert},
    {SDL_SCANCODE_DELETE, kVkDelete},
    {SDL_SCANCODE_HELP, kVkHelp},
    {SDL_SCANCODE_LGUI, kVkLeftWindows},
    {SDL_SCANCODE_RGUI, kVkRightWindows},
    {SDL_SCANCODE_APPLICATION, kVkApplication},
    {SDL_SCANCODE_MENU, kVkApplication},
    {SDL_SCANCODE_SLEEP, kVkSleep},
    {SDL_SCANCODE_KP_0, kVkNumpad0},
    {SDL_SCANCODE_KP_1, kVkNumpad0 + 1},
    {SDL_SCANCODE_KP_2, kVkNumpad0 + 2},
    {SDL_SCANCODE_KP_3, kVkNumpad0 + 3},
    {SDL_SCANCODE_KP_4, kVkNumpad0 + 4},
    {SDL_SCANCODE_KP_5, kVkNumpad0 + 5},
    {SDL_SCANCODE_KP_6, kVkNumpad0 + 6},
    {SDL_SCANCODE_KP_7, kVkNumpad0 + 7},
    {SDL_SCANCODE_KP_8, kVkNumpad0 + 8},
    {SDL_SCANCODE_KP_9, kVkNumpad0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, kVkMultiply},
    {SDL_SCANCODE_KP_PLUS, kVkAdd},
    {SDL_SCANCODE_KP_COMMA, kVkSeparator},
    {SDL_SCANCODE_KP_MINUS, kVkSubtract},
    {SDL_SCANCODE_KP_PERIOD, kVkDecimal},
    {SDL_SCANCODE_KP_DIVIDE, kVkDivide},
    {SDL_SCANCODE_NUMLOCKCLEAR, kVkNumLock},
    {SDL_SCANCODE_SCROLLLOCK, kVkScrollLock},
    {SDL_SCANCODE_LSHIFT, kVkLeftShift},
    {SDL_SCANCODE_RSHIFT, kVkRightShift},
    {SDL_SCANCODE_LCTRL, kVkLeftControl},
    {SDL_SCANCODE_RCTRL, kVkRightControl},
    {SDL_SCANCODE_LALT, kVkLeftAlt},
    {SDL_SCANCODE_RALT, kVkRightAlt},
    {SDL_SCANCODE_AC_BACK, kVkBrowserBack},
    {SDL_SCANCODE_AC_FORWARD, kVkBrowserForward},
    {SDL_SCANCODE_AC_REFRESH, kVkBrowserRefresh},
    {SDL_SCANCODE_AC_STOP, kVkBrowserStop},
    {SDL_SCANCODE_AC_SEARCH, kVkBrowserSearch},
    {SDL_SCANCODE_AC_BOOKMARKS, kVkBrowserFavorites},
    {SDL_SCANCODE_AC_HOME, kVkBrowserHome},
    {SDL_SCANCODE_MUTE, kVkVolumeMute},
    {SDL_SCANCODE_AUDIOMUTE, kVkVolumeMute},
    {SDL_SCANCODE_VOLUMEDOWN, kVkVolumeDown},
    {SDL_SCANCODE_VOLUMEUP, kVkVolumeUp},
    {SDL_SCANCODE_AUDIONEXT, kVkMediaNext},
    {SDL_SCANCODE_AUDIOPREV, kVkMediaPrevious},
    {SDL_SCANCODE_AUDIOSTOP, kVkMediaStop},
    {SDL_SCANCODE_AUDIOPLAY, kVkMediaPlayPause},
    {SDL_SCANCODE_MAIL, kVkLaunchMail},
    {SDL_SCANCODE_MEDIASELECT, kVkLaunchMediaSelect},
    {SDL_SCANCODE_SEMICOLON, kVkOemSemicolon},
    {SDL_SCANCODE_EQUALS, kVkOemPlus},
    {SDL_SCANCODE_COMMA, kVkOemComma},
    {SDL_SCANCODE_MINUS, kVkOemMinus},
    {SDL_SCANCODE_PERIOD, kVkOemPeriod},
    {SDL_SCANCODE_SLASH, kVkOemSlash},
    {SDL_SCANCODE_GRAVE, kVkOemBackquote},
    {SDL_SCANCODE_LEFTBRACKET, kVkOemOpenBracket},
    {SDL_SCANCODE_BACKSLASH, kVkOemBackslash},
    {SDL_SCANCODE_RIGHTBRACKET, kVkOemCloseBracket},
    {SDL_SCANCODE_APOSTROPHE, kVkOemQuote},
    {SDL_SCANCODE_NONUSHASH, kVkOemQuote},
    {SDL_SCANCODE_NONUSBACKSLASH, kVkOem102},
    // Japanese keyboards: "ろ", katakana/hiragana, yen, henkan, muhenkan.
    {SDL_SCANCODE_INTERNATIONAL1, kVkOem102},
    {SDL_SCANCODE_INTERNATIONAL2, kVkKana},
    {SDL_SCANCODE_INTERNATIONAL3, kVkOemBackslash},
    {SDL_SCANCODE_INTERNATIONAL4, kVkConvert},
    {SDL_SCANCODE_INTERNATIONAL5, kVkNonConvert},
    // Korean keyboards: hangul and hanja, the keys the kana and kanji codes share.
    {SDL_SCANCODE_LANG1, kVkKana},
    {SDL_SCANCODE_LANG2, kVkKanji},
};

constexpr int kLetters = 26;
constexpr int kDigits = 10;
constexpr int kFunctionKeysPerBlock = 12;  // F1-F12 and F13-F24 lie apart

std::array<uint8_t, SDL_NUM_SCANCODES> BuildScancodeTable() {
  std::array<uint8_t, SDL_NUM_SCANCODES> table{};
  for (int i = 0; i < kLetters; ++i) table[SDL_SCANCODE_A + i] = kVkA + i;
  // The number row runs 1 ... 9, 0.
  for (int i = 1; i < kDigits; ++i) table[SDL_SCANCODE_1 + i - 1] = kVk0 + i;
  table[SDL_SCANCODE_0] = kVk0;
  for (int i = 0; i < kFunctionKeysPerBlock; ++i) {
    table[SDL_SCANCODE_F1 + i] = kVkF1 + i;
    table[SDL_SCANCODE_F13 + i] = kVkF1 + kFunctionKeysPerBlock + i;
  }
  for (const ScancodeKey& key : kPositionKeys) table[key.scancode] = key.vk;
  return table;
}

// The punctuation characters of a US keyboard, each with its key.
constexpr struct {
  char character;
  uint8_t vk;
} kPunctuation[] = {
    {';', kVkOemSemicolon},    {'=', kVkOemPlus},        {',', kVkOemComma},
    {'-', kVkOemMinus},        {'.', kVkOemPeriod},      {'/', kVkOemSlash},
    {'`', kVkOemBackquote},    {'[', kVkOemOpenBracket}, {'\\', kVkOemBackslash},
    {']', kVkOemCloseBracket}, {'\'', kVkOemQuote},
};

uint8_t CharacterKey(SDL_Keycode keycode) {
  if (keycode >= SDLK_a && keycode <= SDLK_z) return static_cast<uint8_t>(kVkA + keycode - SDLK_a);
  if (keycode >= SDLK_0 && keycode <= SDLK_9) return static_cast<uint8_t>(kVk0 + keycode - SDLK_0);
  for (const auto& entry : kPunctuation) {
    if (keycode == entry.character) return entry.vk;
  }
  switch (keycode) {
    case SDLK_RETURN:
      return kVkReturn;
    case SDLK_ESCAPE:
      return kVkEscape;
    case SDLK_BACKSPACE:
      return kVkBackspace;
    case SDLK_TAB:
      return kVkTab;
    case SDLK_SPACE:
      return kVkSpace;
    case SDLK_DELETE:
      return kVkDelete;
    default:
      return 0;
  }
}

bool InNumberRow(SDL_Scancode scancode) {
  return scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0;
}

}  // namespace

uint8_t VirtualKeyOfScancode(SDL_Scancode scancode) {
  static const std::array<uint8_t, SDL_NUM_SCANCODES> table = BuildScancodeTable();
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return table[scancode];
}

uint8_t VirtualKeyOfKeycode(SDL_Keycode keycode) {
  if (keycode & SDLK_SCANCODE_MASK) {
    return VirtualKeyOfScancode(static_cast<SDL_Scancode>(keycode & ~SDLK_SCANCODE_MASK));
  }
  return CharacterKey(keycode);
}

uint8_t VirtualKeyOf(const SDL_Keysym& key) {
  if (InNumberRow(key.scancode)) return VirtualKeyOfScancode(key.scancode);
  const uint8_t vk = VirtualKeyOfKeycode(key.sym);
  return vk != 0 ? vk : VirtualKeyOfScancode(key.scancode);
}

}  // namespace mavu::shell
