#include "resource/system_data.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "base/file_io.h"
#include "base/host_path.h"
#include "resource/bpe.h"
#include "resource/scramble.h"
#include "resource/sealed_stream.h"

namespace mavu::resource {
namespace {

void AppendBlock(base::ByteWriter& payload, std::span<const uint8_t> block) {
  payload.U32(static_cast<uint32_t>(block.size())).Append(block);
}

base::Bytes ReadBlock(base::ByteReader& payload, std::string_view what) {
  if (payload.Remaining() < sizeof(uint32_t)) {
    throw base::FormatError(std::string(what) + " block missing");
  }
  const uint32_t length = payload.U32();
  if (length > payload.Remaining()) {
    throw base::FormatError(std::string(what) + " block runs past the end");
  }
  return payload.Take(length);
}

TLabelLog ReadLogBlock(base::ByteReader& payload, std::string_view what) {
  const base::Bytes block = ReadBlock(payload, what);
  base::ByteReader in(block);
  TLabelLog log;
  try {
    log.LoadLog(in);
  } catch (const base::FormatError& e) {
    throw base::FormatError(std::string(what) + ": " + e.what());
  }
  return log;
}

base::Bytes SaveLogBlock(const TLabelLog& log) {
  base::ByteWriter out;
  log.SaveLog(out);
  return out.Take();
}

}  // namespace

SystemData::SystemData(std::filesystem::path saveFolder, uint32_t codeKey,
                       SystemVariableStream& variables)
    : saveFolder_(std::move(saveFolder)), codeKey_(codeKey), variables_(variables) {}

bool SystemData::LoadAtStartup() {
  startupWarnings_.clear();
  bool loaded = false;
  for (std::string_view name : {kSystemDataName, kSystemDataBackupName}) {
    loaded = LoadSystemData(name);
    if (loaded) break;
    std::error_code error;
    if (std::filesystem::exists(saveFolder_ / name, error)) startupWarnings_.push_back(lastError_);
  }
  savingEnabled_ = true;
  return loaded;
}

std::optional<base::Bytes> SystemData::BuildFile() {
  base::ByteWriter variables;
  if (!variables_.WriteVariables(variables)) return std::nullopt;
  base::Bytes packed;
  try {
    packed = BpeCompress(variables.Data());
  } catch (const std::length_error&) {
    return std::nullopt;
  }
  ScrambleBlocks(packed, ScrambleDirection::kScramble, codeKey_);
  base::ByteWriter payload;
  AppendBlock(payload, packed);
  AppendBlock(payload, SaveLogBlock(fileLog_.Counts()));
  AppendBlock(payload, SaveLogBlock(lineLog_.Counts()));
  base::ByteWriter file;
  SealStream(payload.Data(), file);
  return file.Take();
}

bool SystemData::SaveSystemData(std::string_view name) {
  lastError_.clear();
  if (!savingEnabled_) return true;
  const auto bytes = BuildFile();
  if (!bytes) return Fail(name, "the system variables could not be written");
  return WriteFile(name, *bytes);
}

bool SystemData::SaveWithBackup() {
  lastError_.clear();
  if (!savingEnabled_) return true;
  const auto bytes = BuildFile();
  if (!bytes) return Fail(kSystemDataName, "the system variables could not be written");
  const bool main = WriteFile(kSystemDataName, *bytes);
  const bool backup = WriteFile(kSystemDataBackupName, *bytes);
  return main && backup;
}

bool SystemData::WriteFile(std::string_view name, std::span<const uint8_t> bytes) {
  const auto path = PathOf(name);
  if (!path) return Fail(name, "not a file name inside the save folder");
  if (!base::WriteFileAtomic(*path, bytes)) return Fail(name, "could not be written");
  return true;
}

bool SystemData::LoadSystemData(std::string_view name) {
  const auto path = PathOf(name);
  if (!path) return Fail(name, "not a file name inside the save folder");
  const auto file = base::ReadWholeFile(*path);
  if (!file) return Fail(name, "missing or unreadable");
  if (!LoadFromBytes(*file)) return Fail(name, lastError_);
  return true;
}

bool SystemData::LoadFromBytes(std::span<const uint8_t> file) {
  try {
    ReadFile(file);
  } catch (const base::FormatError& e) {
    lastError_ = e.what();
    return false;
  } catch (const std::bad_alloc&) {
    lastError_ = "not enough memory for what it holds";
    return false;
  }
  lastError_.clear();
  return true;
}

// Both logs are read into fresh tables first, so that a damaged file leaves
// them as they were.
void SystemData::ReadFile(std::span<const uint8_t> file) {
  base::ByteReader in(file);
  const auto payload = UnsealStream(in);
  if (!payload) throw base::FormatError("not system data (wrong signature, length or checksum)");
  base::ByteReader blocks(*payload);
  base::Bytes packed = ReadBlock(blocks, "system variable");
  TLabelLog fileCounts = ReadLogBlock(blocks, "file log");
  TLabelLog lineCounts = ReadLogBlock(blocks, "line log");
  ScrambleBlocks(packed, ScrambleDirection::kUnscramble, codeKey_);
  const auto variables = BpeExpand(packed);
  if (!variables) throw base::FormatError("system variable block does not unpack");
  base::ByteReader variableStream(*variables);
  variables_.ReadVariables(variableStream);
  fileLog_.Counts() = std::move(fileCounts);
  lineLog_.Counts() = std::move(lineCounts);
}

std::optional<std::filesystem::path> SystemData::PathOf(std::string_view name) const {
  return base::PathInsideFolder(saveFolder_, name);
}

bool SystemData::Fail(std::string_view name, std::string_view reason) {
  lastError_ = std::string(name) + ": " + std::string(reason);
  return false;
}

}  // namespace mavu::resource
