#include "script/reader/script_loader.h"

#include <algorithm>
#include <exception>

#include "base/cp932.h"
#include "resource/data_tree.h"
#include "script/reader/script_text.h"

namespace mavu::script {
namespace {

constexpr std::string_view kIncludeMark = "@@@";
constexpr std::string_view kLabelMark = "@@";
constexpr char kRawLabelMark = '!';

std::string ChainKey(std::string_view name) {
  return base::LowerName(resource::NormalizeDataPath(name));
}

// Calls `take` with each line of `text`; a final line break adds no empty line.
template <typename Take>
bool ForEachLine(std::string_view text, Take take) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    if (!take(text.substr(start, end - start))) return false;
    bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return true;
}

}  // namespace

std::optional<ScriptLines> ScriptLoader::Load(std::string_view name) {
  script_ = ScriptLines();
  includeChain_.clear();
  bytesRead_ = 0;
  if (LoadFile(std::string(name)) != Status::kRead) return std::nullopt;
  return std::move(script_);
}

ScriptLoader::Status ScriptLoader::LoadFile(const std::string& name) {
  auto bytes = Open(name);
  if (!bytes) return Status::kMissing;
  bytesRead_ += bytes->size();
  if (bytesRead_ > kMaxBytes) {
    Report("script larger than " + std::to_string(kMaxBytes) + " bytes with its includes: " + name);
    return Status::kTooLarge;
  }
  includeChain_.push_back(ChainKey(name));
  std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  bool inComment = false;
  int32_t sourceLine = 0;
  bool complete = ForEachLine(text, [&](std::string_view line) {
    return TakeLine(line, name, sourceLine++, inComment) == Status::kRead;
  });
  includeChain_.pop_back();
  return complete ? Status::kRead : Status::kTooLarge;
}

ScriptLoader::Status ScriptLoader::TakeLine(std::string_view raw, const std::string& file,
                                            int32_t sourceLine, bool& inComment) {
  std::string line = StripBlockComments(CutLineComment(raw), inComment);
  std::string_view trimmed = TrimBlanks(line);
  if (trimmed.starts_with(kIncludeMark)) {
    return Include(std::string(trimmed.substr(kIncludeMark.size())));
  }
  if (script_.Lines().size() >= kMaxLines) {
    Report("script longer than " + std::to_string(kMaxLines) + " lines with its includes: " + file);
    return Status::kTooLarge;
  }
  if (trimmed.size() > kLabelMark.size() && trimmed.starts_with(kLabelMark)) {
    script_.AddLabel({base::LowerName(trimmed),
                      script_.LineCount(),
                      file,
                      sourceLine,
                      trimmed[kLabelMark.size()] == kRawLabelMark,
                      {}});
  }
  script_.AddLine(std::move(line));
  return Status::kRead;
}

ScriptLoader::Status ScriptLoader::Include(const std::string& name) {
  if (includeChain_.size() > kMaxIncludeDepth) {
    Report("include nested deeper than " + std::to_string(kMaxIncludeDepth) + " files: " + name);
    return Status::kRead;
  }
  for (const auto& open : includeChain_) {
    if (open == ChainKey(name)) {
      Report("include cycle: " + name + " includes itself");
      return Status::kRead;
    }
  }
  return LoadFile(name) == Status::kTooLarge ? Status::kTooLarge : Status::kRead;
}

std::optional<base::Bytes> ScriptLoader::Open(const std::string& name) {
  try {
    return resource::OpenDataFile(name);
  } catch (const std::exception& error) {
    Report("cannot read script " + name + ": " + error.what());
    return std::nullopt;
  }
}

void ScriptLoader::Report(const std::string& message) const {
  if (events_ != nullptr) events_->ReaderError(message);
}

}  // namespace mavu::script
