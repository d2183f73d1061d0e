#include <span>
#include <string_view>

#include "pack_commands.h"

namespace {

constexpr mavu::tools::ToolUsage kUsage(
    "mavu-pack",
    "usage: mavu-pack build STEM SRC_DIR [--compress] [--scramble] [--encode-text] [--verbose]\n"
    "       mavu-pack list STEM\n"
    "       mavu-pack extract STEM OUT_DIR\n"
    "       mavu-pack verify STEM\n"
    "STEM names the archive pair STEM.pack and STEM.hash. --encode-text converts .s, .dat\n"
    "and .txt files that are UTF-8 text to CP932; --verbose names each one converted.\n");

int Build(std::span<char*> args) {
  if (args.size() < 2) return kUsage.Refuse("build needs STEM and SRC_DIR");
  mavu::tools::BuildSettings settings;
  for (std::string_view option : args.subspan(2)) {
    if (option == "--compress") {
      settings.pack.compress = true;
    } else if (option == "--scramble") {
      settings.pack.scramble = true;
    } else if (option == "--encode-text") {
      settings.encodeText = true;
    } else if (option == "--verbose") {
      settings.verbose = true;
    } else {
      return kUsage.Refuse("unknown build option");
    }
  }
  return mavu::tools::BuildPack(args[0], args[1], settings);
}

int Run(std::string_view command, std::span<char*> args) {
  if (command == "build") return Build(args);
  if (command == "list" && args.size() == 1) return mavu::tools::ListPack(args[0]);
  if (command == "extract" && args.size() == 2) return mavu::tools::ExtractPack(args[0], args[1]);
  if (command == "verify" && args.size() == 1) return mavu::tools::VerifyPack(args[0]);
  if (command == "list" || command == "extract" || command == "verify") {
    return kUsage.Refuse("wrong number of arguments");
  }
  if (command == "--help" || command == "-h") return kUsage.Help();
  return kUsage.Refuse("unknown command");
}

}  // namespace

int main(int argc, char** argv) {
  return kUsage.Main(argc, argv, Run);
}
