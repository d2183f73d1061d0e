#include "script/interpreter/run_context.h"

#include "base/cp932.h"
#include "base/error_log.h"

namespace mavu::script {
namespace {

constexpr std::string_view kSelfFilePath = "SelfFilePath";
constexpr std::string_view kSelfFileName = "SelfFileName";

// The folder part of a resource name, its last separator included.
std::string FolderOf(std::string_view name) {
  size_t end = 0;
  for (size_t pos = 0; pos < name.size(); pos += base::CharLength(name, pos)) {
    if (name[pos] == '\\' || name[pos] == '/') end = pos + 1;
  }
  return std::string(name.substr(0, end));
}

ArrayIndex FirstElement() {
  ArrayIndex index;
  index.count = 1;
  return index;
}

}  // namespace

TReturnValue RunContext::Evaluate(std::string_view text) {
  return calculation_.Evaluate(text, CallDepth());
}

void RunContext::ReportError(const std::string& message) {
  base::ScriptError(message);
}

void RunContext::RefreshSelfFile() {
  const std::string file = QuietLabelFile();
  SetResultString(kSelfFileName, file);
  SetResultString(kSelfFilePath, FolderOf(file));
}

void RunContext::DropDeeperLocals() {
  calculation_.LocalTable().DeleteDeeperLocals(CallDepth());
}

void RunContext::SetResultInteger(std::string_view name, int32_t value) {
  SetResult(name, TReturnValue::FromInteger(value));
}

void RunContext::SetResultString(std::string_view name, std::string_view value) {
  SetResult(name, TReturnValue::FromString(std::string(value)));
}

void RunContext::SetResultObject(std::string_view name, std::string_view objectName) {
  SetResult(name, TReturnValue::FromObjectName(std::string(objectName)));
}

void RunContext::SetResult(std::string_view name, const TReturnValue& value) {
  calculation_.GlobalTable().Write(name, 0, FirstElement(), value, true);
}

std::string RunContext::QuietLabelName() {
  muteWarnings_ = true;
  std::string name = reader_.CurrentLabelName();
  muteWarnings_ = false;
  return name;
}

std::string RunContext::QuietLabelFile() {
  muteWarnings_ = true;
  std::string file = reader_.LabelFile(reader_.CurrentLabelName());
  muteWarnings_ = false;
  return file;
}

}  // namespace mavu::script
