#pragma once

#include <filesystem>

#include "resource/pack_builder.h"
#include "tool_usage.h"

namespace mavu::tools {

struct BuildSettings {
  resource::PackBuildOptions pack;
  // .s, .dat and .txt files that are UTF-8 text are converted to CP932.
  bool encodeText = false;
  // Says of each such file whether it was converted.
  bool verbose = false;
};

// STEM is a host path; the commands append ".pack" and ".hash" to it.
int BuildPack(const std::filesystem::path& stem, const std::filesystem::path& sourceDir,
              const BuildSettings& settings);
int ListPack(const std::filesystem::path& stem);
int ExtractPack(const std::filesystem::path& stem, const std::filesystem::path& outDir);
int VerifyPack(const std::filesystem::path& stem);

}  // namespace mavu::tools
