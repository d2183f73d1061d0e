#include "base/error_log.h"

#include <fstream>

namespace mavu::base {
namespace {

constexpr std::string_view kErrorTag = ":ERROR:";
constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

void ErrorLog::ScriptError(std::string_view message) {
  errorFlag_ = true;
  ListError(message);
}

void ErrorLog::ListError(std::string_view message) {
  std::string line = ErrorContext();
  line.append(kErrorTag).append(message);
  AppendErrorLine(line);
}

bool ErrorLog::AppendErrorLine(std::string_view line) {
  errors_.emplace_back(line);
  if (echo_) echo_(line);
  fileInStep_ = WriteFile(!fileInStep_);
  return fileInStep_;
}

void ErrorLog::ClearErrors() {
  errors_.clear();
  fileInStep_ = false;
}

// Appends the newest line, or rewrites the file with the whole list.
bool ErrorLog::WriteFile(bool rewrite) const {
  std::ofstream out(file_, std::ios::binary | (rewrite ? std::ios::trunc : std::ios::app));
  if (!out) return false;
  const size_t first = rewrite ? 0 : errors_.size() - 1;
  for (size_t i = first; i < errors_.size(); ++i) out << errors_[i] << kLineEnd;
  out.close();
  return !out.fail();
}

}  // namespace mavu::base
