#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace mavu::resource {

class THashFilePack;

// "/" becomes "\" and a doubled separator collapses, two-byte characters kept whole.
std::string NormalizeDataPath(std::string_view name);

// The game's resources: loose files below the program directory over up to 16
// archive pairs "dataN.pack"/"dataN.hash", seen through a list of 16 folder prefixes.
class DataTree {
 public:
  static constexpr int kSlots = 16;
  static constexpr int kDirEntries = 16;
  using OpenHook = std::function<void(const std::string& resolvedLowerName)>;
  using ChecksumErrorHandler = std::function<void(const std::string& entryName)>;

  DataTree();
  ~DataTree();

  // Loose files and relative mount folders are looked up below this folder.
  void SetProgramDirectory(std::filesystem::path dir);
  const std::filesystem::path& ProgramDirectory() const { return programDir_; }

  int MountDataPacks(std::string_view dir);
  void UnmountDataPacks();
  void SetPackVerification(bool on);
  bool IsSlotMounted(int slot) const {
    return slot >= 0 && slot < kSlots && slots_[slot] != nullptr;
  }

  std::string ResolveDataPath(std::string_view name) const;
  std::optional<base::Bytes> OpenDataFile(std::string_view name) const;
  // As OpenDataFile, but a file that cannot be read (a damaged archive entry)
  // is no file, for callers that treat both alike.
  std::optional<base::Bytes> TryOpenDataFile(std::string_view name) const;

  void ResetDataDirs();
  bool SetDataDir(int index, std::string_view text);
  bool AddDataDir(std::string_view text);
  bool RemoveDataDir(std::string_view text);
  const std::array<std::string, kDirEntries>& DataDirs() const { return dirs_; }
  // Restores all 16 entries, entry 15 included (loading a saved game).
  void RestoreDataDirs(const std::array<std::string, kDirEntries>& dirs) { dirs_ = dirs; }

  void SetOpenHook(OpenHook hook) { openHook_ = std::move(hook); }
  void SetChecksumErrorHandler(ChecksumErrorHandler handler);

 private:
  // Where a name was found: as a loose file, or in a slot under a name that may
  // carry a directory prefix. An empty name: nowhere.
  struct Location {
    std::string name;
    std::optional<std::filesystem::path> loose;
    int slot = -1;
  };
  // The loose file first when `looseFirst`, then the slots from the highest,
  // each through the directory list in order.
  Location Locate(const std::string& normalized, bool looseFirst) const;

  std::filesystem::path programDir_;
  std::array<std::unique_ptr<THashFilePack>, kSlots> slots_;
  std::array<std::string, kDirEntries> dirs_;
  OpenHook openHook_;
  ChecksumErrorHandler checksumHandler_;
};

// The process-wide tree that the engine reads every resource through.
DataTree& TheDataTree();

inline std::optional<base::Bytes> OpenDataFile(std::string_view name) {
  return TheDataTree().OpenDataFile(name);
}
inline std::optional<base::Bytes> TryOpenDataFile(std::string_view name) {
  return TheDataTree().TryOpenDataFile(name);
}
inline std::string ResolveDataPath(std::string_view name) {
  return TheDataTree().ResolveDataPath(name);
}

}  // namespace mavu::resource
