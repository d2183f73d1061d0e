#include "support/script/script_game.h"

#include <stdexcept>

#include "base/cp932.h"
#include "resource/data_tree.h"
#include "resource/pack_builder.h"

namespace mavu::script::test {

std::string Sjis(std::string_view utf8) {
  return base::Utf8ToCp932(utf8);
}

ScriptGame::ScriptGame(const std::map<std::string, std::string>& files) {
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

ScriptGame::~ScriptGame() {
  resource::TheDataTree().UnmountDataPacks();
  resource::TheDataTree().ResetDataDirs();
}

int ScriptGame::MountFolder(const std::filesystem::path& folder) {
  auto& tree = resource::TheDataTree();
  tree.UnmountDataPacks();
  tree.ResetDataDirs();
  tree.SetProgramDirectory(folder);
  return tree.MountDataPacks("GameData\\");
}

}  // namespace mavu::script::test
