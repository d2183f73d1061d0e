#include <charconv>
#include <span>
#include <string>
#include <string_view>

#include "font_builder.h"

namespace {

constexpr mavu::tools::ToolUsage kUsage(
    "mavu-font",
    "usage: mavu-font build NAME FONT_FILE SIZE OUT_DIR\n"
    "Renders the outline font FONT_FILE at SIZE pixels (4 to 128) into the engine\n"
    "font OUT_DIR/NAME.of (horizontal writing) and OUT_DIR/@NAME.of (vertical).\n"
    "Games load it from system\\font\\ when a font slot is set to NAME.\n");

bool ValidName(std::string_view name) {
  return !name.empty() && name.find_first_of("/\\") == std::string_view::npos && name[0] != '@';
}

int Build(std::span<char*> args) {
  if (args.size() != 4) return kUsage.Refuse("build needs NAME, FONT_FILE, SIZE and OUT_DIR");
  const std::string_view name = args[0], sizeText = args[2];
  if (!ValidName(name)) return kUsage.Refuse("NAME must be a plain file name not starting with @");
  int size = 0;
  auto [end, error] = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
  if (error != std::errc() || end != sizeText.data() + sizeText.size() ||
      size < mavu::tools::kMinGlyphSize || size > mavu::tools::kMaxGlyphSize) {
    return kUsage.Refuse("SIZE must be a whole number from 4 to 128");
  }
  return mavu::tools::BuildFont(std::string(name), args[1], size, args[3]);
}

int Run(std::string_view command, std::span<char*> args) {
  if (command == "--help" || command == "-h") return kUsage.Help();
  if (command != "build") return kUsage.Refuse("unknown command");
  return Build(args);
}

}  // namespace

int main(int argc, char** argv) {
  return kUsage.Main(argc, argv, Run);
}
