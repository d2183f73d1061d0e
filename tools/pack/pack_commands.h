#pragma once

#include <filesystem>

#include "resource/pack_builder.h"

namespace mavu::tools {

// Process exit codes of mavu-pack.
enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct BuildSettings {
  resource::PackBuildOptions pack;
  // .s, .dat and .txt files are converted from UTF-8 to CP932.
  bool encodeText = false;
};

// STEM is a host path; the commands append ".pack" and ".hash" to it.
int BuildPack(const std::filesystem::path& stem, const std::filesystem::path& sourceDir,
              const BuildSettings& settings);
int ListPack(const std::filesystem::path& stem);
int ExtractPack(const std::filesystem::path& stem, const std::filesystem::path& outDir);
int VerifyPack(const std::filesystem::path& stem);

}  // namespace mavu::tools
