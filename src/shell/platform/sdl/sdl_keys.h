#pragma once

#include <SDL.h>

#include <cstdint>

namespace mavu::shell {

// SDL keys as the Windows-style virtual keys that key tables, pad settings
// and headless input files use (virtual_keys.h); 0 means no virtual key.
//
// Letters and punctuation follow the layout, as virtual keys do: SDL's key
// code (the character the key types) decides, so the key labelled A on an
// AZERTY keyboard is 'A'. Keys whose key code is no such character (on a
// Cyrillic or Greek layout, say) fall back to their position on a US
// keyboard, as Windows gives them; the number row always gives its digits.
// Shift, Ctrl and Alt come as their left and right keys (0xA0 ... 0xA5).
uint8_t VirtualKeyOf(const SDL_Keysym& key);

// The virtual key at a key position, named after the US layout.
uint8_t VirtualKeyOfScancode(SDL_Scancode scancode);

// The virtual key of a key code: the character keys by their character
// (letters, digits, US punctuation), the others by their position.
uint8_t VirtualKeyOfKeycode(SDL_Keycode keycode);

}  // namespace mavu::shell
