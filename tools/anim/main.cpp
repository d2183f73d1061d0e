#include <optional>
#include <span>
#include <string_view>

#include "anim_commands.h"

namespace {

constexpr mavu::tools::ToolUsage kUsage(
    "mavu-anim",
    "usage: mavu-anim build OUT.b DESCRIPTION.txt\n"
    "       mavu-anim dump FILE.b [-o OUT.txt]\n"
    "build compiles a text description (motions, layers, keys, image, sounds) into\n"
    "an animation file (ABMP7). dump prints the description of an ABMP5, ABMP6 or\n"
    "ABMP7 file; with -o it writes it to OUT.txt and the embedded image and sounds\n"
    "beside it, so that build gives the file back. The format: docs/anim-format.md.\n");

int Dump(std::span<char*> args) {
  if (args.size() == 1) return mavu::tools::DumpAnimation(args[0], std::nullopt);
  if (args.size() == 3 && std::string_view(args[1]) == "-o") {
    return mavu::tools::DumpAnimation(args[0], std::filesystem::path(args[2]));
  }
  return kUsage.Refuse("dump needs FILE.b, optionally followed by -o OUT.txt");
}

int Run(std::string_view command, std::span<char*> args) {
  if (command == "--help" || command == "-h") return kUsage.Help();
  if (command == "build") {
    if (args.size() != 2) return kUsage.Refuse("build needs OUT.b and DESCRIPTION.txt");
    return mavu::tools::BuildAnimation(args[0], args[1]);
  }
  if (command == "dump") return Dump(args);
  return kUsage.Refuse("unknown command");
}

}  // namespace

int main(int argc, char** argv) {
  return kUsage.Main(argc, argv, Run);
}
