#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "seed_registry.h"

namespace mavu::fuzz {

std::map<std::string, SeedMaker>& SeedMakers() {
  static std::map<std::string, SeedMaker> makers;
  return makers;
}

}  // namespace mavu::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mavu-fuzz-seeds OUT_DIR\n");
    return 2;
  }
  std::filesystem::path out = argv[1];
  for (const auto& [target, maker] : mavu::fuzz::SeedMakers()) {
    auto dir = out / target;
    std::filesystem::create_directories(dir);
    int n = 0;
    for (const auto& seed : maker()) {
      if (!mavu::base::WriteFileAtomic(dir / ("seed-" + std::to_string(n++)), seed)) {
        std::fprintf(stderr, "mavu-fuzz-seeds: cannot write into %s\n", dir.c_str());
        return 1;
      }
    }
  }
  return 0;
}
