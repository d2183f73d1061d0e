#include "support/mounted_game.h"

#include <stdexcept>

#include "resource/data_tree.h"
#include "resource/pack_builder.h"

namespace mavu::test {

void WriteGamePack(const std::filesystem::path& folder,
                   const std::map<std::string, std::string>& files) {
  resource::PackBuilder builder;
  for (const auto& [name, contents] : files) {
    auto bytes = reinterpret_cast<const uint8_t*>(contents.data());
    if (!builder.Add(name, {bytes, contents.size()}))
      throw std::runtime_error("cannot add " + name);
  }
  std::filesystem::create_directories(folder / "GameData");
  if (!builder.WriteFiles(folder / "GameData" / "data0")) {
    throw std::runtime_error("cannot write the test pack");
  }
}

MountedGame::MountedGame(const std::map<std::string, std::string>& files) {
  WriteGamePack(Folder(), files);
  if (MountFolder(Folder()) != 1) throw std::runtime_error("cannot mount the test pack");
}

MountedGame::~MountedGame() {
  resource::TheDataTree().UnmountDataPacks();
  resource::TheDataTree().ResetDataDirs();
}

int MountedGame::MountFolder(const std::filesystem::path& folder) {
  auto& tree = resource::TheDataTree();
  tree.UnmountDataPacks();
  tree.ResetDataDirs();
  tree.SetProgramDirectory(folder);
  return tree.MountDataPacks("GameData\\");
}

}  // namespace mavu::test
