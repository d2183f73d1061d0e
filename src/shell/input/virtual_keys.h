#pragma once

#include <cstdint>

namespace mavu::shell {

// The Windows-style virtual-key codes that key tables, pad settings and
// headless input files name keys by. The input state keeps codes below
// kVirtualKeyCount; the platform tables may report higher ones, which match
// nothing.
inline constexpr int kVirtualKeyCount = 176;

inline constexpr uint8_t kVkBackspace = 0x08;
inline constexpr uint8_t kVkTab = 0x09;
inline constexpr uint8_t kVkClear = 0x0C;
inline constexpr uint8_t kVkReturn = 0x0D;
// Either Shift, Ctrl or Alt key: the input state holds these down while one
// of their left or right keys (kVkLeftShift ... kVkRightAlt) is down.
inline constexpr uint8_t kVkShift = 0x10;
inline constexpr uint8_t kVkControl = 0x11;
inline constexpr uint8_t kVkAlt = 0x12;
inline constexpr uint8_t kVkPause = 0x13;
inline constexpr uint8_t kVkCapsLock = 0x14;
inline constexpr uint8_t kVkKana = 0x15;
inline constexpr uint8_t kVkKanji = 0x19;
inline constexpr uint8_t kVkEscape = 0x1B;
inline constexpr uint8_t kVkConvert = 0x1C;
inline constexpr uint8_t kVkNonConvert = 0x1D;
inline constexpr uint8_t kVkSpace = 0x20;
inline constexpr uint8_t kVkPageUp = 0x21;
inline constexpr uint8_t kVkPageDown = 0x22;
inline constexpr uint8_t kVkEnd = 0x23;
inline constexpr uint8_t kVkHome = 0x24;
inline constexpr uint8_t kVkLeft = 0x25;
inline constexpr uint8_t kVkUp = 0x26;
inline constexpr uint8_t kVkRight = 0x27;
inline constexpr uint8_t kVkDown = 0x28;
inline constexpr uint8_t kVkSelect = 0x29;
inline constexpr uint8_t kVkExecute = 0x2B;
inline constexpr uint8_t kVkPrintScreen = 0x2C;
inline constexpr uint8_t kVkInsert = 0x2D;
inline constexpr uint8_t kVkDelete = 0x2E;
inline constexpr uint8_t kVkHelp = 0x2F;
inline constexpr uint8_t kVk0 = 0x30;  // '0' ... '9' up to 0x39
inline constexpr uint8_t kVkA = 0x41;  // 'A' ... 'Z' up to 0x5A
inline constexpr uint8_t kVkLeftWindows = 0x5B;
inline constexpr uint8_t kVkRightWindows = 0x5C;
inline constexpr uint8_t kVkApplication = 0x5D;
inline constexpr uint8_t kVkSleep = 0x5F;
inline constexpr uint8_t kVkNumpad0 = 0x60;  // up to kVkNumpad0 + 9
inline constexpr uint8_t kVkMultiply = 0x6A;
inline constexpr uint8_t kVkAdd = 0x6B;
inline constexpr uint8_t kVkSeparator = 0x6C;
inline constexpr uint8_t kVkSubtract = 0x6D;
inline constexpr uint8_t kVkDecimal = 0x6E;
inline constexpr uint8_t kVkDivide = 0x6F;
inline constexpr uint8_t kVkF1 = 0x70;  // F1 ... F24 up to 0x87
inline constexpr uint8_t kVkNumLock = 0x90;
inline constexpr uint8_t kVkScrollLock = 0x91;
inline constexpr uint8_t kVkLeftShift = 0xA0;
inline constexpr uint8_t kVkRightShift = 0xA1;
inline constexpr uint8_t kVkLeftControl = 0xA2;
inline constexpr uint8_t kVkRightControl = 0xA3;
inline constexpr uint8_t kVkLeftAlt = 0xA4;
inline constexpr uint8_t kVkRightAlt = 0xA5;
inline constexpr uint8_t kVkBrowserBack = 0xA6;
inline constexpr uint8_t kVkBrowserForward = 0xA7;
inline constexpr uint8_t kVkBrowserRefresh = 0xA8;
inline constexpr uint8_t kVkBrowserStop = 0xA9;
inline constexpr uint8_t kVkBrowserSearch = 0xAA;
inline constexpr uint8_t kVkBrowserFavorites = 0xAB;
inline constexpr uint8_t kVkBrowserHome = 0xAC;
inline constexpr uint8_t kVkVolumeMute = 0xAD;
inline constexpr uint8_t kVkVolumeDown = 0xAE;
inline constexpr uint8_t kVkVolumeUp = 0xAF;
// Beyond the keys the input state keeps.
inline constexpr uint8_t kVkMediaNext = 0xB0;
inline constexpr uint8_t kVkMediaPrevious = 0xB1;
inline constexpr uint8_t kVkMediaStop = 0xB2;
inline constexpr uint8_t kVkMediaPlayPause = 0xB3;
inline constexpr uint8_t kVkLaunchMail = 0xB4;
inline constexpr uint8_t kVkLaunchMediaSelect = 0xB5;
// Punctuation keys, named by what they carry on a US keyboard.
inline constexpr uint8_t kVkOemSemicolon = 0xBA;
inline constexpr uint8_t kVkOemPlus = 0xBB;  // "=+"
inline constexpr uint8_t kVkOemComma = 0xBC;
inline constexpr uint8_t kVkOemMinus = 0xBD;
inline constexpr uint8_t kVkOemPeriod = 0xBE;
inline constexpr uint8_t kVkOemSlash = 0xBF;
inline constexpr uint8_t kVkOemBackquote = 0xC0;
inline constexpr uint8_t kVkOemOpenBracket = 0xDB;
inline constexpr uint8_t kVkOemBackslash = 0xDC;
inline constexpr uint8_t kVkOemCloseBracket = 0xDD;
inline constexpr uint8_t kVkOemQuote = 0xDE;
inline constexpr uint8_t kVkOem102 = 0xE2;  // the extra key beside left Shift, or Japanese "ろ"

}  // namespace mavu::shell
