#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mavu::base {

inline constexpr std::string_view kErrorLogName = "ERRORLOG.txt";

// Where the position in front of an error line comes from when it is worked
// out only when an error is logged.
class ErrorContextSource {
 public:
  virtual ~ErrorContextSource() = default;
  virtual std::string ErrorContext() const = 0;
};

// The script engine's error log: the errors since the start or the last reset,
// in memory (the script-error screen shows the newest) and in a text file
// beside the game. The file is rewritten by the first error of each such
// period and appended to afterwards, so it holds the same lines as the list.
class ErrorLog {
 public:
  // The file is kErrorLogName in the program folder (the current folder until set).
  void SetDirectory(const std::filesystem::path& dir) { file_ = dir / kErrorLogName; }
  const std::filesystem::path& File() const { return file_; }

  // The script position that prefixes every error line: a fixed text, or
  // what a source says at the time of the error (the source wins while set).
  void SetErrorContext(std::string_view text) { context_ = text; }
  void SetErrorContextSource(const ErrorContextSource* source) { source_ = source; }
  const ErrorContextSource* ContextSource() const { return source_; }
  std::string ErrorContext() const {
    return source_ != nullptr ? source_->ErrorContext() : context_;
  }

  // Raises the error flag and logs "<context>:ERROR:<message>".
  void ScriptError(std::string_view message);
  // Logs the line the same way without raising the flag: a problem the run
  // goes on from (a skipped include, an archive index not trusted).
  void ListError(std::string_view message);
  // Adds the line to the list and writes it to the file with a CR LF. False
  // when the file could not be written; the line is kept in the list all the
  // same, and the next line that can be written brings the file up to date.
  bool AppendErrorLine(std::string_view line);
  // Empties the list (every interpreter reset); the next line rewrites the file.
  void ClearErrors();

  const std::vector<std::string>& Errors() const { return errors_; }
  // Called with every line as it is logged (the shell echoes them to the
  // terminal an author runs the game from).
  void SetEcho(std::function<void(std::string_view)> echo) { echo_ = std::move(echo); }
  // Raised by ScriptError until the system object has shown the error.
  bool ErrorFlag() const { return errorFlag_; }
  void ClearErrorFlag() { errorFlag_ = false; }

 private:
  bool WriteFile(bool rewrite) const;

  std::filesystem::path file_{std::string(kErrorLogName)};
  std::string context_;
  const ErrorContextSource* source_ = nullptr;
  std::vector<std::string> errors_;
  // False until the file holds exactly the lines of the list.
  bool fileInStep_ = false;
  bool errorFlag_ = false;
  std::function<void(std::string_view)> echo_;
};

// The process-wide log, used from the main thread only.
inline ErrorLog& TheErrorLog() {
  static ErrorLog log;
  return log;
}
inline void SetErrorContext(std::string_view text) {
  TheErrorLog().SetErrorContext(text);
}
inline void ScriptError(std::string_view message) {
  TheErrorLog().ScriptError(message);
}
inline void AppendErrorLine(std::string_view line) {
  TheErrorLog().AppendErrorLine(line);
}
inline void ClearErrors() {
  TheErrorLog().ClearErrors();
}

}  // namespace mavu::base
