#include "resource/data_tree.h"

#include <system_error>

#include "base/cp932.h"
#include "base/file_io.h"
#include "base/host_path.h"
#include "resource/hash_file_pack.h"

namespace mavu::resource {

namespace {

constexpr int kLastScriptDir = DataTree::kDirEntries - 2;  // entry 15 is not the scripts' to change
constexpr char kRootDir[] = "root";
constexpr char kScriptExtension[] = ".s";

bool IsSeparatorAt(std::string_view text, size_t pos) {
  return base::CharLength(text, pos) == 1 && (text[pos] == '\\' || text[pos] == '/');
}

// The extension of the last path component (from its last dot), lower-cased.
std::string ExtensionOf(std::string_view name) {
  size_t dot = std::string_view::npos;
  for (size_t pos = 0; pos < name.size(); pos += base::CharLength(name, pos)) {
    if (IsSeparatorAt(name, pos)) dot = std::string_view::npos;
    if (name[pos] == '.') dot = pos;
  }
  return dot == std::string_view::npos ? std::string() : base::LowerName(name.substr(dot));
}

// Script files always come from the archives, never from loose files.
bool IsScriptName(std::string_view name) {
  return ExtensionOf(name) == kScriptExtension;
}

bool EndsWithSeparator(std::string_view text) {
  bool last = false;
  for (size_t pos = 0; pos < text.size(); pos += base::CharLength(text, pos))
    last = IsSeparatorAt(text, pos);
  return last;
}

}  // namespace

std::string NormalizeDataPath(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  bool afterSeparator = false;
  for (size_t pos = 0; pos < name.size();) {
    size_t len = base::CharLength(name, pos);
    bool separator = IsSeparatorAt(name, pos);
    if (separator && afterSeparator) {
      afterSeparator = false;  // a doubled separator collapses; of four, two remain
    } else if (separator) {
      out += '\\';
      afterSeparator = true;
    } else {
      out.append(name.substr(pos, len));
      afterSeparator = false;
    }
    pos += len;
  }
  return out;
}

DataTree::DataTree() {
  std::error_code ec;
  programDir_ = std::filesystem::current_path(ec);
  ResetDataDirs();
}

DataTree::~DataTree() = default;

void DataTree::SetProgramDirectory(std::filesystem::path dir) {
  programDir_ = std::move(dir);
}

int DataTree::MountDataPacks(std::string_view dir) {
  UnmountDataPacks();
  std::string folder(dir);
  if (!folder.empty() && !EndsWithSeparator(folder)) folder += '\\';
  const bool absolute = !folder.empty() && folder[0] == '/';
  const std::filesystem::path root = absolute ? std::filesystem::path("/") : programDir_;
  int mounted = 0;
  for (int n = 0; n < kSlots; ++n) {
    const std::string stem = folder + "data" + std::to_string(n);
    auto packPath = base::FindLooseFile(root, stem + ".pack");
    if (!packPath) continue;
    auto hashPath = base::FindLooseFile(root, stem + ".hash");
    try {
      slots_[n] = std::make_unique<THashFilePack>(*packPath,
                                                  hashPath.value_or(std::filesystem::path()), true);
    } catch (const std::exception&) {
      // A broken pair makes the whole data tree unusable; none stays mounted.
      UnmountDataPacks();
      return 0;
    }
    slots_[n]->Pack()->SetErrorCallback([this](const std::string& entryName) {
      if (checksumHandler_) checksumHandler_(entryName);
    });
    ++mounted;
  }
  SetPackVerification(false);
  return mounted;
}

void DataTree::UnmountDataPacks() {
  for (auto& slot : slots_) slot.reset();
}

void DataTree::SetPackVerification(bool on) {
  for (auto& slot : slots_) {
    if (slot) slot->Pack()->SetVerification(on);
  }
}

void DataTree::SetChecksumErrorHandler(ChecksumErrorHandler handler) {
  checksumHandler_ = std::move(handler);
}

DataTree::Location DataTree::Locate(const std::string& normalized, bool looseFirst) const {
  if (looseFirst) {
    if (auto loose = base::FindLooseFile(programDir_, normalized)) return {normalized, loose};
  }
  for (int n = kSlots - 1; n >= 0; --n) {
    if (!slots_[n]) continue;
    for (const std::string& dir : dirs_) {
      if (dir.empty()) continue;
      std::string candidate = (dir == kRootDir ? std::string() : dir) + normalized;
      if (slots_[n]->Exists(candidate)) return {candidate, std::nullopt, n};
    }
  }
  return {};
}

std::string DataTree::ResolveDataPath(std::string_view name) const {
  std::string normalized = NormalizeDataPath(name);
  return Locate(normalized, !IsScriptName(normalized)).name;
}

// The slot that resolved the name is the first, from the highest, to hold it:
// every higher slot was already asked for it under every prefix.
std::optional<base::Bytes> DataTree::TryOpenDataFile(std::string_view name) const {
  try {
    return OpenDataFile(name);
  } catch (const std::exception&) {  // FormatError, or a length that cannot expand
    return std::nullopt;
  }
}

std::optional<base::Bytes> DataTree::OpenDataFile(std::string_view name) const {
  std::string normalized = NormalizeDataPath(name);
  const bool script = IsScriptName(normalized);
  Location found = Locate(normalized, !script);
  if (found.name.empty()) return std::nullopt;
  // A loose file also overrides an archived name found under a prefix.
  if (!script && !found.loose && found.name != normalized) {
    found.loose = base::FindLooseFile(programDir_, found.name);
  }
  auto contents =
      found.loose ? base::ReadWholeFile(*found.loose) : slots_[found.slot]->Open(found.name);
  if (contents && openHook_) openHook_(base::LowerName(found.name));
  return contents;
}

void DataTree::ResetDataDirs() {
  dirs_.fill(std::string());
  dirs_.back() = kRootDir;
}

bool DataTree::SetDataDir(int index, std::string_view text) {
  if (index < 0 || index > kLastScriptDir) return false;
  dirs_[index] = text;
  return true;
}

bool DataTree::AddDataDir(std::string_view text) {
  for (std::string& dir : dirs_) {
    if (base::EqualsIgnoreCase(dir, text)) {
      dir = text;
      return true;
    }
  }
  for (int i = 0; i <= kLastScriptDir; ++i) {
    if (dirs_[i].empty()) {
      dirs_[i] = text;
      return true;
    }
  }
  return false;
}

bool DataTree::RemoveDataDir(std::string_view text) {
  for (int i = 0; i <= kLastScriptDir; ++i) {
    if (base::EqualsIgnoreCase(dirs_[i], text)) {
      dirs_[i].clear();
      return true;
    }
  }
  return false;
}

DataTree& TheDataTree() {
  static DataTree tree;
  return tree;
}

}  // namespace mavu::resource
