#pragma once

#include <map>
#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace mavu::script::test {

// CP932 bytes of a UTF-8 literal, so tests can be written in readable Japanese.
std::string Sjis(std::string_view utf8);

// A game folder whose GameData\data0 pack holds the given files (names as
// the engine writes them, contents as bytes), mounted in the process-wide
// data tree for the lifetime of the object.
class ScriptGame {
 public:
  explicit ScriptGame(const std::map<std::string, std::string>& files);
  ~ScriptGame();
  ScriptGame(const ScriptGame&) = delete;
  ScriptGame& operator=(const ScriptGame&) = delete;

  const std::filesystem::path& Folder() const { return folder_.Path(); }
  // Mounts the packs already in GameData (for archives written by other tools).
  static int MountFolder(const std::filesystem::path& folder);

 private:
  mavu::test::TempDir folder_;
};

}  // namespace mavu::script::test
