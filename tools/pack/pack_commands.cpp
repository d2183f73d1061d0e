#include "pack_commands.h"

#include <cinttypes>
#include <cstdio>
#include <exception>
#include <string>

#include "base/cp932.h"
#include "base/file_io.h"
#include "base/host_path.h"
#include "resource/file_pack.h"
#include "resource/hash_file_pack.h"
#include "resource/hash_table.h"
#include "source_tree.h"

namespace mavu::tools {

namespace {

std::filesystem::path WithSuffix(const std::filesystem::path& stem, const char* suffix) {
  std::filesystem::path path = stem;
  path += suffix;
  return path;
}

void Fail(const std::string& utf8Message) {
  std::fprintf(stderr, "mavu-pack: %s\n", utf8Message.c_str());
}

// Engine messages and entry names are CP932; the terminal wants UTF-8.
std::string Shown(std::string_view cp932) {
  return base::Cp932ToUtf8(cp932);
}

std::optional<base::Bytes> ReadSource(const SourceFile& file, bool encodeText) {
  auto bytes = base::ReadWholeFile(file.path);
  if (!bytes) {
    Fail("cannot read " + file.path.string());
    return std::nullopt;
  }
  if (!encodeText || !IsTextFile(file.path)) return bytes;
  auto encoded = EncodeText(*bytes);
  if (!encoded) Fail(file.path.string() + ": not UTF-8 text, or holds characters CP932 lacks");
  return encoded;
}

// A name that would leave the output folder, or names no file.
bool IsSafeEntryName(const std::string& name) {
  auto relative = base::HostPath(name);
  if (relative.empty()) return false;
  for (const auto& part : relative) {
    if (part == "." || part == "..") return false;
  }
  return true;
}

// Reads every entry with checksum verification; calls `use` with each body.
// Returns the number of entries that failed.
template <class Use>
int ReadAllEntries(resource::TFilePack& pack, Use use) {
  int failures = 0;
  pack.SetVerification(true);
  pack.SetErrorCallback([](const std::string& name) { Fail(Shown(name) + ": checksum mismatch"); });
  for (int i = 0; i < pack.EntryCount(); ++i) {
    const std::string& name = pack.Entries()[static_cast<size_t>(i)].name;
    try {
      auto body = pack.ReadEntry(i);
      if (body && use(name, *body)) continue;
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
    Fail(hashPath.string() + ": the index holds " + std::to_string(index.EntryCount()) +
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

}  // namespace

int BuildPack(const std::filesystem::path& stem, const std::filesystem::path& sourceDir,
              const BuildSettings& settings) {
  std::error_code ec;
  if (!std::filesystem::is_directory(sourceDir, ec)) {
    Fail(sourceDir.string() + " is no folder");
    return kExitFailed;
  }
  resource::PackBuilder builder(settings.pack);
  for (const SourceFile& file : CollectSourceFiles(sourceDir)) {
    auto contents = ReadSource(file, settings.encodeText);
    if (!contents) return kExitFailed;
    if (!builder.Add(file.entryName, *contents)) {
      Fail(Shown(file.entryName) +
           ": a second file of this name (letter case aside), or more than " +
           std::to_string(resource::PackBuilder::kMaxEntries) + " files");
      return kExitFailed;
    }
  }
  std::filesystem::create_directories(stem.parent_path(), ec);
  if (!builder.WriteFiles(stem)) {
    Fail("cannot write " + WithSuffix(stem, ".pack").string() + " and .hash");
    return kExitFailed;
  }
  std::printf("%s: %zu entries\n", WithSuffix(stem, ".pack").c_str(), builder.EntryCount());
  return kExitOk;
}

int ListPack(const std::filesystem::path& stem) {
  resource::TFilePack pack(WithSuffix(stem, ".pack"), false);
  std::printf("%10s %5s %8s  %s\n", "stored", "flags", "checksum", "name");
  for (const resource::PackEntry& e : pack.Entries()) {
    std::printf("%10" PRIu32 " %4c%c %08" PRIx32 "  %s\n", e.storedLength, e.packed ? 'P' : '-',
                e.scrambled ? 'S' : '-', e.checksum, base::Cp932ToUtf8(e.name).c_str());
  }
  std::printf("%d entries\n", pack.EntryCount());
  return kExitOk;
}

int ExtractPack(const std::filesystem::path& stem, const std::filesystem::path& outDir) {
  resource::TFilePack pack(WithSuffix(stem, ".pack"), true);
  int failures = ReadAllEntries(pack, [&](const std::string& name, const base::Bytes& body) {
    if (!IsSafeEntryName(name)) {
      Fail(Shown(name) + ": refusing a name that leaves the output folder");
      return false;
    }
    auto target = outDir / base::HostPath(name);
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec || !base::WriteFileAtomic(target, body)) {
      Fail("cannot write " + target.string());
      return false;
    }
    return true;
  });
  std::printf("%d of %d entries extracted\n", pack.EntryCount() - failures, pack.EntryCount());
  return failures == 0 ? kExitOk : kExitFailed;
}

int VerifyPack(const std::filesystem::path& stem) {
  resource::TFilePack pack(WithSuffix(stem, ".pack"), true);
  int failures = ReadAllEntries(pack, [](const std::string&, const base::Bytes&) { return true; });
  auto hashPath = WithSuffix(stem, ".hash");
  std::error_code ec;
  if (!std::filesystem::exists(hashPath, ec)) {
    std::printf("no %s: look-ups will scan the directory\n", hashPath.c_str());
  } else {
    try {
      failures += CheckIndex(hashPath, pack);
    } catch (const base::FormatError& e) {
      Fail(hashPath.string() + ": " + Shown(e.what()));
      ++failures;
    }
  }
  if (failures > 0) {
    std::fprintf(stderr, "mavu-pack: %s: %d problems found\n", stem.c_str(), failures);
    return kExitFailed;
  }
  std::printf("%s: %d entries OK\n", stem.c_str(), pack.EntryCount());
  return kExitOk;
}

}  // namespace mavu::tools
