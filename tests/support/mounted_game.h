#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace mavu::test {

// Writes `files` (names as the engine writes them, contents as bytes) into
// the pack GameData\data0 of `folder`.
void WriteGamePack(const std::filesystem::path& folder,
                   const std::map<std::string, std::string>& files);

// A game folder whose GameData\data0 pack holds the given files (names as
// the engine writes them, contents as bytes), mounted in the process-wide
// data tree for the lifetime of the object.
class MountedGame {
 public:
  explicit MountedGame(const std::map<std::string, std::string>& files);
  ~MountedGame();
  MountedGame(const MountedGame&) = delete;
  MountedGame& operator=(const MountedGame&) = delete;

  const std::filesystem::path& Folder() const { return folder_.Path(); }
  // Mounts the packs already in GameData (for archives written by other tools).
  static int MountFolder(const std::filesystem::path& folder);

 private:
  TempDir folder_;
};

}  // namespace mavu::test
