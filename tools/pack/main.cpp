#include <cstdio>
#include <exception>
#include <span>
#include <string_view>

#include "base/bytes.h"
#include "pack_commands.h"
#include "shown_text.h"

namespace {

using mavu::tools::kExitFailed;
using mavu::tools::kExitUsage;

constexpr char kUsage[] =
    "usage: mavu-pack build STEM SRC_DIR [--compress] [--scramble] [--encode-text] [--verbose]\n"
    "       mavu-pack list STEM\n"
    "       mavu-pack extract STEM OUT_DIR\n"
    "       mavu-pack verify STEM\n"
    "STEM names the archive pair STEM.pack and STEM.hash. --encode-text converts .s, .dat\n"
    "and .txt files that are UTF-8 text to CP932; --verbose names each one converted.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "mavu-pack: %s\n", problem);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

int Build(std::span<char*> args) {
  if (args.size() < 2) return Usage("build needs STEM and SRC_DIR");
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
      return Usage("unknown build option");
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
    return Usage("wrong number of arguments");
  }
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return mavu::tools::kExitOk;
  }
  return Usage("unknown command");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(nullptr);
  try {
    return Run(argv[1], std::span<char*>(argv + 2, static_cast<size_t>(argc - 2)));
  } catch (const mavu::base::FormatError& e) {
    // The engine's messages are CP932.
    std::fprintf(stderr, "mavu-pack: %s\n", mavu::tools::Shown(e.what()).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mavu-pack: %s\n", mavu::tools::Escaped(e.what()).c_str());
  }
  return kExitFailed;
}
