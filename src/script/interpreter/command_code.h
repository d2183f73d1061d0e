#pragma once

#include <cstdint>
#include <string_view>

namespace mavu::script {

// A command word as a number, so that dispatch compares integers: the word
// lower-cased, without backslashes and without characters below '!', with at
// most four bytes left, packed little-endian (first byte lowest). A longer word
// gets kNoCommand and never matches a command.
inline constexpr int32_t kNoCommand = -1;
inline constexpr size_t kMaxCommandBytes = 4;

constexpr int32_t CommandCode(std::string_view word) {
  uint32_t code = 0;
  size_t taken = 0;
  for (char c : word) {
    if (c == '\\' || static_cast<unsigned char>(c) < '!') continue;
    if (taken == kMaxCommandBytes) return kNoCommand;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    code |= uint32_t{static_cast<unsigned char>(c)} << (8 * taken);
    ++taken;
  }
  return static_cast<int32_t>(code);
}

}  // namespace mavu::script
