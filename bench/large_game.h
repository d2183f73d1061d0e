#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>

// A game folder under the temporary folder, removed with the object: `packs`
// archives GameData\data0 ... of the same kEntries small entries and `extra`
// files, with or without their .hash indexes.
// Its folders are dated an hour back, as an installed game's are: fresh ones
// would be listed again on every look-up for loose files.
class LargeGame {
 public:
  static constexpr size_t kEntries = 65535;

  LargeGame(int packs, const std::map<std::string, std::string>& extra, bool indexed);
  ~LargeGame();
  LargeGame(const LargeGame&) = delete;
  LargeGame& operator=(const LargeGame&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  static std::string EntryName(size_t i);

 private:
  std::filesystem::path folder_;
};
