#include "large_game.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <stdexcept>

#include "resource/pack_builder.h"

namespace {

void Add(mavu::resource::PackBuilder& builder, const std::string& name, const std::string& body) {
  builder.Add(name, std::span(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

void BackDate(const std::filesystem::path& folder) {
  const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_directory()) std::filesystem::last_write_time(entry.path(), hourAgo);
  }
  std::filesystem::last_write_time(folder, hourAgo);
}

}  // namespace

LargeGame::LargeGame(int packs, const std::map<std::string, std::string>& extra, bool indexed) {
  std::string pattern = (std::filesystem::temp_directory_path() / "mavu-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
  folder_ = pattern;
  mavu::resource::PackBuilder builder;
  for (size_t i = 0; i < kEntries; ++i)
    Add(builder, EntryName(i), "contents of " + std::to_string(i));
  for (const auto& [name, body] : extra) Add(builder, name, body);
  const std::filesystem::path data = folder_ / "GameData";
  std::filesystem::create_directories(data);
  if (!builder.WriteFiles(data / "data0")) throw std::runtime_error("cannot write a pack");
  for (int pack = 1; pack < packs; ++pack) {
    for (const char* extension : {".pack", ".hash"}) {
      std::filesystem::copy_file(data / ("data0" + std::string(extension)),
                                 data / ("data" + std::to_string(pack) + extension));
    }
  }
  if (!indexed) {
    for (int pack = 0; pack < packs; ++pack) {
      std::filesystem::remove(data / ("data" + std::to_string(pack) + ".hash"));
    }
  }
  BackDate(folder_);
}

LargeGame::~LargeGame() {
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

std::string LargeGame::EntryName(size_t i) {
  char name[48];
  std::snprintf(name, sizeof name, "Event\\Scene%03zu\\Cg%05zu.png", i / 256, i);
  return name;
}
