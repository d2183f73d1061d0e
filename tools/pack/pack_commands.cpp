#include "pack_commands.h"

#include <cinttypes>
#include <cstdio>
#include <exception>
#include <string>

#include "base/atomic_file.h"
#include "base/file_io.h"
#include "base/host_path.h"
#include "directory_check.h"
#include "resource/file_pack.h"
#include "resource/hash_file_pack.h"
#include "resource/hash_table.h"
#include "resource/pack_builder.h"
#include "shown_text.h"
#include "source_tree.h"

namespace mavu::tools {

namespace {

void Fail(const std::string& utf8Message) {
  std::fprintf(stderr, "mavu-pack: %s\n", utf8Message.c_str());
}

std::string ShownPath(const std::filesystem::path& path) {
  return Escaped(path.string());
}

std::optional<base::Bytes> ReadSource(const SourceFile& file, const BuildSettings& settings) {
  auto bytes = base::ReadWholeFile(file.path);
  if (!bytes) {
    Fail("cannot read " + ShownPath(file.path));
    return std::nullopt;
  }
  if (!settings.encodeText || !IsUtf8TextFile(file.path, *bytes)) return bytes;
  auto encoded = EncodeText(*bytes);
  if (!encoded) Fail(ShownPath(file.path) + ": UTF-8 text with characters CP932 lacks");
  if (encoded && settings.verbose) std::printf("encoded %s\n", ShownPath(file.path).c_str());
  return encoded;
}

// Reads every entry that DirectoryProblems lets through, with checksum
// verification; calls `use` with each body. Returns the number of entries
// that failed, refused ones included.
template <class Use>
int ReadAllEntries(resource::TFilePack& pack, Use use) {
  int failures = 0;
  pack.SetVerification(true);
  pack.SetErrorCallback([](const std::string& name) { Fail(Shown(name) + ": checksum mismatch"); });
  const auto problems = DirectoryProblems(pack.Entries());
  for (int i = 0; i < pack.EntryCount(); ++i) {
    const std::string& name = pack.Entries()[static_cast<size_t>(i)].name;
    try {
      if (problems[static_cast<size_t>(i)]) {
        Fail(Shown(name) + ": " + *problems[static_cast<size_t>(i)]);
      } else if (auto body = pack.ReadEntry(i); body && use(name, *body)) {
        continue;
      }
    } catch (const base::FormatError& e) {
      Fail(Shown(name) + ": " + Shown(e.what()));
    }
    ++failures;
  }
  return failures;
}

// Every entry must be found in the index under its own number.
int CheckIndex(const std::filesystem::path& hashPath, const resource::TFilePack& pack) {
  resource::THashTable index(resource::THashFilePack::kIndexBuckets);
  index.LoadFromFile(hashPath);
  int failures = 0;
  if (index.EntryCount() != static_cast<uint32_t>(pack.EntryCount())) {
    Fail(ShownPath(hashPath) + ": the index holds " + std::to_string(index.EntryCount()) +
         " names, the pack " + std::to_string(pack.EntryCount()));
    ++failures;
  }
  for (int i = 0; i < pack.EntryCount(); ++i) {
    const std::string& name = pack.Entries()[static_cast<size_t>(i)].name;
    std::array<uint8_t, 2> number{};
    if (!index.Get(name, number) || (number[0] | number[1] << 8) != i) {
      Fail(Shown(name) + ": the index does not point at entry " + std::to_string(i));
      ++failures;
    }
  }
  return failures;
}

// Each file is read, packed and written before the next: only the directory
// grows with the archive.
bool AddSources(const SourceListing& listing, const BuildSettings& settings,
                resource::PackBuilder& builder, const base::AtomicFile& pack) {
  for (const SourceFile& file : listing.files) {
    auto contents = ReadSource(file, settings);
    if (!contents) return false;
    if (builder.Add(file.entryName, *contents)) continue;
    if (!pack.Good()) return false;
    Fail(Shown(file.entryName) + ": a second file of this name (letter case aside), or more than " +
         std::to_string(resource::PackBuilder::kMaxEntries) + " files");
    return false;
  }
  return true;
}

}  // namespace

int BuildPack(const std::filesystem::path& stem, const std::filesystem::path& sourceDir,
              const BuildSettings& settings) {
  std::error_code ec;
  if (!std::filesystem::is_directory(sourceDir, ec)) {
    Fail(ShownPath(sourceDir) + " is no folder");
    return kExitFailed;
  }
  const SourceListing listing = CollectSourceFiles(sourceDir);
  for (const std::string& problem : listing.problems) Fail(problem);
  if (!listing.problems.empty()) return kExitFailed;
  std::filesystem::create_directories(stem.parent_path(), ec);
  const std::filesystem::path packPath = resource::WithSuffix(stem, ".pack");
  base::AtomicFile pack(packPath);
  resource::PackBuilder builder(
      [&pack](std::span<const uint8_t> bytes) { return pack.Append(bytes); }, settings.pack);
  if (!pack.Good() || !AddSources(listing, settings, builder, pack)) {
    if (!pack.Good()) Fail("cannot write " + ShownPath(packPath));
    return kExitFailed;
  }
  if (!pack.Append(builder.BuildDirectory()) || !pack.Commit() ||
      !base::WriteFileAtomic(resource::WithSuffix(stem, ".hash"), builder.BuildHash())) {
    Fail("cannot write " + ShownPath(packPath) + " and .hash");
    return kExitFailed;
  }
  std::printf("%s: %zu entries\n", ShownPath(packPath).c_str(), builder.EntryCount());
  return kExitOk;
}

int ListPack(const std::filesystem::path& stem) {
  resource::TFilePack pack(resource::WithSuffix(stem, ".pack"), false);
  std::printf("%10s %5s %8s  %s\n", "stored", "flags", "checksum", "name");
  for (const resource::PackEntry& e : pack.Entries()) {
    std::printf("%10" PRIu32 " %4c%c %08" PRIx32 "  %s\n", e.storedLength, e.packed ? 'P' : '-',
                e.scrambled ? 'S' : '-', e.checksum, Shown(e.name).c_str());
  }
  std::printf("%d entries\n", pack.EntryCount());
  return kExitOk;
}

int ExtractPack(const std::filesystem::path& stem, const std::filesystem::path& outDir) {
  resource::TFilePack pack(resource::WithSuffix(stem, ".pack"), true);
  int extracted = 0;
  ReadAllEntries(pack, [&](const std::string& name, const base::Bytes& body) {
    auto target = outDir / base::HostPath(name);
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec || !base::WriteFileAtomic(target, body)) {
      Fail("cannot write " + ShownPath(target));
      return false;
    }
    ++extracted;
    return true;
  });
  std::printf("%d of %d entries extracted\n", extracted, pack.EntryCount());
  return extracted == pack.EntryCount() ? kExitOk : kExitFailed;
}

int VerifyPack(const std::filesystem::path& stem) {
  resource::TFilePack pack(resource::WithSuffix(stem, ".pack"), true);
  int failures = ReadAllEntries(pack, [](const std::string&, const base::Bytes&) { return true; });
  auto hashPath = resource::WithSuffix(stem, ".hash");
  std::error_code ec;
  if (!std::filesystem::exists(hashPath, ec)) {
    std::printf("no %s: look-ups will scan the directory\n", ShownPath(hashPath).c_str());
  } else {
    try {
      failures += CheckIndex(hashPath, pack);
    } catch (const base::FormatError& e) {
      Fail(ShownPath(hashPath) + ": " + Shown(e.what()));
      ++failures;
    }
  }
  if (failures > 0) {
    std::fprintf(stderr, "mavu-pack: %s: %d problems found\n", ShownPath(stem).c_str(), failures);
    return kExitFailed;
  }
  std::printf("%s: %d entries OK\n", ShownPath(stem).c_str(), pack.EntryCount());
  return kExitOk;
}

}  // namespace mavu::tools
