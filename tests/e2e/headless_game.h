#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/argb8888.h"
#include "json_value.h"
#include "support/temp_dir.h"

namespace mavu::test {

// What one run of a program left behind.
struct ProgramResult {
  int code = -1;    // -1 when it did not exit normally
  int signal = 0;   // the signal that ended it, if one did
  long peakKb = 0;  // its largest resident set, in KiB
  std::string out;
  std::string err;
};

// What a run may take: it is killed after `seconds`; `addressSpace` bytes of
// virtual memory (0: no limit) make an allocation beyond them fail.
struct RunLimits {
  unsigned seconds = 120;
  uint64_t addressSpace = 0;
};

// Runs `program` with `args`, without a shell, its output captured through
// files in `scratch`.
ProgramResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& scratch, RunLimits limits = {});

// The program `name` from the folder that the environment variable `variable` names.
std::filesystem::path ProgramFrom(const char* variable, const std::string& name);

struct HeadlessRun {
  int code = -1;
  int signal = 0;
  long peakKb = 0;
  std::string err;
  std::optional<JsonValue> dump;      // the --dump-vars file, when one was written
  std::vector<std::string> errorLog;  // "ERRORLOG.txt" as UTF-8 lines, when present

  const JsonValue& Global(std::string_view name) const { return (*dump)["global"][name]; }
  const JsonValue& System(std::string_view name) const { return (*dump)["system"][name]; }
  std::vector<std::string> Errors() const;  // the dump's error lines
};

// The picture of a PNG the run wrote (--screenshot, --shots); empty when
// there is none.
imaging::TARGB8888 ReadShot(const std::filesystem::path& png);

// A game folder built at test time: files packed with the real mavu-pack
// (UTF-8 texts converted to CP932 on the way) and run with the real mavu.
class HeadlessGame {
 public:
  HeadlessGame();

  const std::filesystem::path& Folder() const { return game_; }
  // A file of the data pack GameData\data0 (written as UTF-8, packed with --encode-text).
  void Add(const std::string& name, std::string_view utf8);
  // mavu-pack build options besides --encode-text.
  void PackWith(std::vector<std::string> options);
  void Limit(RunLimits limits) { limits_ = limits; }
  // Startup.s.
  void Script(std::string_view utf8) { Add("Startup.s", utf8); }
  // A file below the game folder, converted to CP932.
  void Loose(const std::filesystem::path& relative, std::string_view utf8) const;
  // Copies a game folder built elsewhere (its packs included) into the game
  // folder, so that runs write their saves and logs into the copy.
  void CopyGame(const std::filesystem::path& folder) const;

  // mavu --game FOLDER --headless --dump-vars FILE ARGS (and --input FILE when
  // `input` is given); packs first when files were added.
  HeadlessRun Run(const std::vector<std::string>& args = {},
                  std::optional<std::string_view> input = std::nullopt);
  // Writes GameData\data0 now; returns the path of its .pack file.
  std::filesystem::path Pack();

 private:
  TempDir dir_;
  std::filesystem::path source_;
  std::filesystem::path game_;
  std::vector<std::string> packOptions_;
  RunLimits limits_;
  bool packed_ = true;
  int runs_ = 0;
};

}  // namespace mavu::test
