#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/bytes.h"

namespace mavu::resource {

// An archive's file beside `stem`: "data0" + ".pack". Appended, not replacing
// an extension, so a stem with a dot in its name keeps it.
std::filesystem::path WithSuffix(const std::filesystem::path& stem, const char* suffix);

struct PackBuildOptions {
  // Bodies are stored packed when that makes them smaller.
  bool compress = false;
  // Bodies are scrambled with the pack entry key.
  bool scramble = false;
};

// Builds a .pack archive and its .hash index: bodies first, in the order
// added, then the directory and the footer. Each body goes to the sink as it
// is added, so only the directory stays in memory; without a sink the bodies
// are kept for BuildPack.
class PackBuilder {
 public:
  static constexpr size_t kMaxEntries = 65535;
  // Takes the next bytes of the archive; false when they could not be kept.
  using Sink = std::function<bool(std::span<const uint8_t> bytes)>;

  explicit PackBuilder(PackBuildOptions options = {});
  PackBuilder(Sink sink, PackBuildOptions options);
  PackBuilder(const PackBuilder&) = delete;
  PackBuilder& operator=(const PackBuilder&) = delete;

  // Stores the name lower-cased. False, and nothing added, for a name that
  // EntryNameProblem refuses, one already present in any letter case, when the
  // archive already holds 65535 entries, or when the sink fails.
  bool Add(std::string_view name, std::span<const uint8_t> contents);
  size_t EntryCount() const { return entries_.size(); }

  // What follows the bodies: the directory and the footer.
  base::Bytes BuildDirectory() const;
  // Without a sink: the whole archive.
  base::Bytes BuildPack() const;
  // The index: every name mapped to its u16 entry number in directory order.
  base::Bytes BuildHash() const;
  // Without a sink: writes STEM.pack and STEM.hash (the extensions are
  // appended to the stem).
  bool WriteFiles(const std::filesystem::path& stem) const;

 private:
  struct Entry {
    std::string name;
    uint64_t offset = 0;
    uint32_t storedLength = 0;
    uint32_t length = 0;  // of the contents, before packing
    bool packed = false;
    uint32_t checksum = 0;
  };

  PackBuildOptions options_;
  Sink sink_;
  base::Bytes bodies_;  // without a sink
  uint64_t written_ = 0;
  std::vector<Entry> entries_;
  std::unordered_set<std::string> names_;
};

}  // namespace mavu::resource
