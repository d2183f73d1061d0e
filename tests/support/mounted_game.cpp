#include "support/mounted_game.h"

#include <stdexcept>

#include "resource/data_tree.h"
#include "resource/pack_builder.h"

namespace mavu::test {

MountedGame::MountedGame(const std::map<std::string, std::string>& files) {
  resource::PackBuilder builder;
  for (const auto& [name, contents] : files) {
    auto bytes = reinterpret_cast<const uint8_t*>(contents.data());
    if (!builder.Add(name, {bytes, contents.size()}))
      throw std::runtime_error("cannot add " + name);
  }
  std::filesystem::create_directories(Folder() / "GameData");
  if (!builder.WriteFiles(Folder() / "GameData" / "data0")) {
    throw std::runtime_error("cannot write the test pack");
  }
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
