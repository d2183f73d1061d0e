#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/file_log.h"
#include "resource/line_log.h"

namespace mavu::resource {

// In the save folder, beside the saved games.
inline constexpr std::string_view kSystemDataName = "SystemData.dat";
inline constexpr std::string_view kSystemDataBackupName = "SystemData.dat.bak";

// The system variables as system data stores them. The interpreter implements
// it over its system variable table.
class SystemVariableStream {
 public:
  virtual ~SystemVariableStream() = default;
  // False when the variables cannot be written whole.
  virtual bool WriteVariables(base::ByteWriter& out) = 0;
  // Replaces the variables with the stream's. Throws base::FormatError for a
  // damaged stream; the variables may then be left cleared.
  virtual void ReadVariables(base::ByteReader& in) = 0;
};

// What a game keeps across all plays: the system variables, the file log and
// the line log. The file is a sealed stream of three blocks, each a u32 length
// and its bytes: the variable stream packed and scrambled with the game's code
// key, then the file log and the line log as hash-table streams.
class SystemData {
 public:
  // `saveFolder` is the game's "SaveData" folder.
  SystemData(std::filesystem::path saveFolder, uint32_t codeKey, SystemVariableStream& variables);

  // The first load of a run: the file, else its ".bak" copy, else nothing
  // (empty logs). Saving is enabled afterwards in every case. True when a copy
  // was loaded.
  bool LoadAtStartup();
  // Why each copy that LoadAtStartup found could not be read: for the player a
  // warning, not an error, as the next copy or empty data takes its place.
  const std::vector<std::string>& StartupWarnings() const { return startupWarnings_; }
  void EnableSaving() { savingEnabled_ = true; }
  bool SavingEnabled() const { return savingEnabled_; }

  // `name` is a file inside the save folder. Before saving is enabled a save
  // writes nothing and succeeds. The file is replaced whole or not at all; a
  // failure changes nothing in memory.
  bool SaveSystemData(std::string_view name);
  // A game save: the file and its ".bak" copy, with the same bytes. False when
  // either could not be written.
  bool SaveWithBackup();
  // Takes nothing from a damaged file: the logs change only when the whole file
  // reads; the variables are replaced last (and may be left cleared by a damaged
  // variable stream, as the stream's reader leaves them).
  bool LoadSystemData(std::string_view name);

  // The file's bytes, or nothing when the variables cannot be written.
  std::optional<base::Bytes> BuildFile();
  bool LoadFromBytes(std::span<const uint8_t> file);

  // Why the last save or load failed (empty after a success).
  const std::string& LastError() const { return lastError_; }

  FileLog& OpenedFiles() { return fileLog_; }
  LineLog& ReadLines() { return lineLog_; }

 private:
  std::optional<std::filesystem::path> PathOf(std::string_view name) const;
  bool WriteFile(std::string_view name, std::span<const uint8_t> bytes);
  void ReadFile(std::span<const uint8_t> file);
  bool Fail(std::string_view name, std::string_view reason);

  std::filesystem::path saveFolder_;
  uint32_t codeKey_;
  SystemVariableStream& variables_;
  FileLog fileLog_;
  LineLog lineLog_;
  bool savingEnabled_ = false;
  std::string lastError_;
  std::vector<std::string> startupWarnings_;
};

}  // namespace mavu::resource
