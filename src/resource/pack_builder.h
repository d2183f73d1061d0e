#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/bytes.h"

namespace mavu::resource {

struct PackBuildOptions {
  // Bodies are stored packed when that makes them smaller.
  bool compress = false;
  // Bodies are scrambled with the pack entry key.
  bool scramble = false;
};

// Builds a .pack archive and its .hash index in memory: bodies first, in the
// order added, then the directory and the footer.
class PackBuilder {
 public:
  static constexpr size_t kMaxEntries = 65535;

  explicit PackBuilder(PackBuildOptions options = {});

  // Stores the name lower-cased. False, and nothing added, for an empty name,
  // one longer than 65535 bytes, one already present in any letter case, or
  // when the archive already holds 65535 entries.
  bool Add(std::string_view name, std::span<const uint8_t> contents);
  size_t EntryCount() const { return entries_.size(); }

  base::Bytes BuildPack() const;
  // The index: every name mapped to its u16 entry number in directory order.
  base::Bytes BuildHash() const;
  // Writes STEM.pack and STEM.hash (the extensions are appended to the stem).
  bool WriteFiles(const std::filesystem::path& stem) const;

 private:
  struct Entry {
    std::string name;
    base::Bytes stored;
    uint32_t length = 0;  // of the contents, before packing
    bool packed = false;
  };
  PackBuildOptions options_;
  std::vector<Entry> entries_;
  std::unordered_set<std::string> names_;
};

}  // namespace mavu::resource
