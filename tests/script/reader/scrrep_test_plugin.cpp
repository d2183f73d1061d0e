// A replacer for the tests: upper-cases ASCII letters (leaving two-byte
// characters alone) and answers a few command lines that probe the buffer.
#include <cstddef>
#include <cstring>

namespace {

constexpr size_t kBufferSize = 1024;

bool IsLead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || b >= 0xE0;
}

void Write(char* buffer, const char* text) {
  std::memset(buffer, 0, kBufferSize);
  std::strcpy(buffer, text);
}

}  // namespace

extern "C" void SRReplace(char* buffer) {
  size_t length = std::strlen(buffer);
  for (size_t i = length; i < kBufferSize; ++i) {
    if (buffer[i] != 0) return Write(buffer, "DIRTY");
  }
  if (std::strcmp(buffer, "fill") == 0) {
    std::memset(buffer, 'x', kBufferSize);  // no terminator left
    return;
  }
  if (std::strcmp(buffer, "erase") == 0) return Write(buffer, "");
  for (size_t i = 0; i < length; ++i) {
    auto b = static_cast<unsigned char>(buffer[i]);
    if (IsLead(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      buffer[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
}
