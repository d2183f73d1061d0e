#include <charconv>
#include <cstdio>
#include <exception>
#include <span>
#include <string>
#include <string_view>

#include "font_builder.h"

namespace {

using mavu::tools::kExitFailed;
using mavu::tools::kExitUsage;

constexpr char kUsage[] =
    "usage: mavu-font build NAME FONT_FILE SIZE OUT_DIR\n"
    "Renders the outline font FONT_FILE at SIZE pixels (4 to 128) into the engine\n"
    "font OUT_DIR/NAME.of (horizontal writing) and OUT_DIR/@NAME.of (vertical).\n"
    "Games load it from system\\font\\ when a font slot is set to NAME.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "mavu-font: %s\n", problem);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

bool ValidName(std::string_view name) {
  return !name.empty() && name.find_first_of("/\\") == std::string_view::npos && name[0] != '@';
}

int Build(std::span<char*> args) {
  if (args.size() != 4) return Usage("build needs NAME, FONT_FILE, SIZE and OUT_DIR");
  const std::string_view name = args[0], sizeText = args[2];
  if (!ValidName(name)) return Usage("NAME must be a plain file name not starting with @");
  int size = 0;
  auto [end, error] = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
  if (error != std::errc() || end != sizeText.data() + sizeText.size() ||
      size < mavu::tools::kMinGlyphSize || size > mavu::tools::kMaxGlyphSize) {
    return Usage("SIZE must be a whole number from 4 to 128");
  }
  return mavu::tools::BuildFont(std::string(name), args[1], size, args[3]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(nullptr);
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return mavu::tools::kExitOk;
  }
  if (command != "build") return Usage("unknown command");
  try {
    return Build(std::span<char*>(argv + 2, static_cast<size_t>(argc - 2)));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mavu-font: %s\n", e.what());
  }
  return kExitFailed;
}
