#include "script/reader/kel_reader.h"

#include <algorithm>
#include <limits>

#include "base/cp932.h"
#include "script/reader/reader_state_block.h"
#include "script/reader/script_loader.h"
#include "script/reader/script_replace_dll.h"
#include "script/reader/script_text.h"
#include "script/regex/bregexp.h"

namespace mavu::script {
namespace {

constexpr std::string_view kSelfFile = "self";
constexpr std::string_view kNoFile = "NOFILE";
constexpr std::string_view kEndOfFile = "EOF";
constexpr std::string_view kLabelMark = "@@";
constexpr std::string_view kMarkerMark = "%%%";
// "警告：ラベル外の位置を検知しました" (a position query outside any label)
constexpr std::string_view kOutsideLabelWarning =
    "\x8C\x78\x8D\x90\x81\x46\x83\x89\x83\x78\x83\x8B\x8A\x4F\x82\xCC\x88\xCA\x92\x75\x82\xF0"
    "\x8C\x9F\x92\x6D\x82\xB5\x82\xDC\x82\xB5\x82\xBD";

// Lines starting with one of these are commands, labels or indented text;
// every other line is plain text and gets the text-line prefix.
bool KeepsUnprefixed(char first) {
  return first == '\t' || first == ' ' || first == '/' || first == '@' || first == '\\';
}

// Where the command starting at `pos` ends: at the second backslash outside
// quotes and braces, or at the end of the line.
size_t CommandEnd(std::string_view line, size_t pos) {
  int braces = 0;
  bool quoted = false;
  int backslashes = 0;
  while (pos < line.size()) {
    const size_t length = base::CharLength(line, pos);
    if (length == 1) {
      const char c = line[pos];
      if (c == '{') {
        ++braces;
      } else if (c == '}') {
        --braces;
      } else if (braces == 0 && c == '"') {
        quoted = !quoted;
      } else if (braces == 0 && !quoted && c == '\\' && ++backslashes == 2) {
        break;
      }
    }
    pos += length;
  }
  return pos;
}

int32_t ClampToLine(int64_t line) {
  return static_cast<int32_t>(std::clamp<int64_t>(line, -1, std::numeric_limits<int32_t>::max()));
}

}  // namespace

TKelReader::TKelReader() : regExp_(std::make_unique<TBRegExp>()) {
  Reset();
}

TKelReader::~TKelReader() = default;

void TKelReader::Reset() {
  CloseScript();
  ClearReplacements();
  for (int n = 0; n < kMarkers; ++n) {
    markerNames_[n] = std::string(kMarkerMark) + std::to_string(n);
    markerValues_[n].clear();
  }
}

bool TKelReader::OpenScript(std::string_view name, bool force) {
  if (!force && base::EqualsIgnoreCase(name, fileName_)) return true;
  if (events_ != nullptr) events_->ScriptReplacing();
  // A failed load leaves an empty script under no name, so that asking for
  // the old file again reloads it instead of finding it "already open".
  script_.emplace();
  currentLabel_ = -1;
  linesSinceLabel_ = 0;
  currentLine_ = -1;
  charPosition_ = 0;
  lineText_ = {};
  fileName_.clear();
  prepared_.clear();
  auto loaded = ScriptLoader(events_).Load(name);
  if (!loaded) return false;
  script_ = std::move(*loaded);
  fileName_ = ShortString(name);
  return true;
}

bool TKelReader::JumpToLabel(std::string_view file, std::string_view label) {
  if (!base::EqualsIgnoreCase(file, kSelfFile) && !OpenScript(file, true)) return false;
  return GotoLabel(label, 1, 0);
}

bool TKelReader::GotoLabel(std::string_view label, int32_t lineOffset, int32_t charPosition) {
  if (!script_) return false;
  int32_t index = script_->FindLabel(base::LowerName(label));
  if (index < 0) return false;
  currentLabel_ = index;
  linesSinceLabel_ = lineOffset;
  return GotoLine(ClampToLine(int64_t{CurrentLabel().line} + lineOffset), charPosition);
}

bool TKelReader::GotoLine(int32_t line, int32_t charPosition) {
  lineText_ = {};
  if (!script_ || line < 0 || line >= script_->LineCount()) {
    MovePastEnd();
    return false;
  }
  bool process = !(HasCurrentLabel() && CurrentLabel().raw);
  if (process && HasCurrentLabel() && events_ != nullptr) {
    events_->LineReached(CurrentLabel().logKey, linesSinceLabel_);
  }
  currentLine_ = line;
  charPosition_ = std::max(charPosition, 0);
  lineText_ = PreparedLine(line, process);
  return true;
}

const std::string& TKelReader::PreparedLine(int32_t line, bool process) {
  // Raw lines and processed lines are told apart by the low bit.
  const uint64_t generation = pipelineGeneration_ * 2 + (process ? 1 : 0);
  if (prepared_.size() != script_->Lines().size()) prepared_.assign(script_->Lines().size(), {});
  PreparedText& entry = prepared_[static_cast<size_t>(line)];
  if (entry.generation == generation && replacer_ == nullptr) return entry.text;
  std::string text = script_->Lines()[static_cast<size_t>(line)];
  if (process) text = ProcessLine(std::move(text));
  entry.text = CutLineComment(text);
  entry.generation = generation;
  return entry.text;
}

void TKelReader::MovePastEnd() {
  currentLine_ = script_ ? script_->LineCount() : -1;
  charPosition_ = 0;
}

std::string TKelReader::ProcessLine(std::string text) const {
  if (replacementEnabled_) {
    if (replacer_ != nullptr) text = replacer_->Replace(text);
    text = table_.Apply(text, *regExp_);
  }
  text = ApplyMarkers(std::move(text));
  if (text.empty()) text = emptyLineText_;
  if (!text.empty() && !KeepsUnprefixed(text[0])) text.insert(0, linePrefix_);
  return text;
}

std::string TKelReader::ApplyMarkers(std::string text) const {
  if (text.find(kMarkerMark) == std::string::npos) return text;
  // In number order, so the name of marker 1 also eats the front of markers 10 to 15.
  for (int n = 0; n < kMarkers; ++n) {
    text = ReplaceAllIgnoreCase(std::move(text), markerNames_[n], markerValues_[n]);
  }
  return text;
}

std::string TKelReader::ReadCommand() {
  if (!script_) return {};
  if (static_cast<size_t>(charPosition_) >= lineText_.size()) {
    if (currentLine_ < script_->LineCount()) ++linesSinceLabel_;
    GotoLine(currentLine_ + 1, 0);
  }
  const size_t start = std::min(static_cast<size_t>(charPosition_), lineText_.size());
  const size_t end = CommandEnd(lineText_, start);
  charPosition_ = std::max(charPosition_, static_cast<int32_t>(end));
  // A tab byte is never part of a two-byte character, so it can go bytewise.
  std::string command(lineText_.substr(start, end - start));
  std::erase(command, '\t');
  if (TrimBlanks(command).starts_with(kLabelMark)) EnterLabelLine(command);
  return command;
}

void TKelReader::EnterLabelLine(std::string_view command) {
  currentLabel_ = script_->FindLabel(base::LowerName(TrimBlanks(command)));
  linesSinceLabel_ = 0;
}

std::string TKelReader::PositionText(Position position) const {
  if (!script_) return std::string(kNoFile);
  // Standing on the last line already reads as the end of the script.
  if (position.line >= script_->LineCount() - 1) return std::string(kEndOfFile);
  if (position.label < 0 || position.label >= static_cast<int32_t>(script_->Labels().size())) {
    return "(0)";
  }
  const ScriptLabel& label = script_->Labels()[static_cast<size_t>(position.label)];
  int64_t sourceLine = int64_t{position.line} - label.line + label.sourceLine + 1;
  return label.file + "(" + std::to_string(sourceLine) + ")";
}

bool TKelReader::AtEnd() const {
  return script_ && currentLine_ >= script_->LineCount();
}

bool TKelReader::HasCurrentLabel() const {
  return script_ && currentLabel_ >= 0 &&
         currentLabel_ < static_cast<int32_t>(script_->Labels().size());
}

void TKelReader::Warn() const {
  if (events_ != nullptr) events_->PositionWarning(std::string(kOutsideLabelWarning));
}

std::string TKelReader::CurrentLabelName() const {
  if (!HasCurrentLabel()) {
    Warn();
    return {};
  }
  return CurrentLabel().name;
}

int32_t TKelReader::LineOffsetSinceLabel() const {
  if (!HasCurrentLabel()) {
    Warn();
    return 0;
  }
  return currentLine_ - CurrentLabel().line;
}

std::string TKelReader::LabelFile(std::string_view label) const {
  int32_t index = script_ ? script_->FindLabel(base::LowerName(label)) : -1;
  return index < 0 ? std::string() : script_->Labels()[index].file;
}

bool TKelReader::AddReplacement(std::string_view pattern, std::string_view replacement,
                                uint8_t mode) {
  PipelineChanged();
  return table_.Add(pattern, replacement, mode);
}

bool TKelReader::RemoveReplacement(std::string_view pattern) {
  PipelineChanged();
  return table_.Remove(pattern);
}

bool TKelReader::SetReplacementSlot(int slot, std::string_view pattern, uint8_t mode,
                                    std::string_view replacement) {
  PipelineChanged();
  return table_.Set(slot, pattern, mode, replacement);
}

void TKelReader::ClearReplacements() {
  PipelineChanged();
  table_.Clear();
  linePrefix_.clear();
  emptyLineText_.clear();
  replacementEnabled_ = true;
}

void TKelReader::SetTextLinePrefix(std::string_view text) {
  PipelineChanged();
  linePrefix_ = ShortString(text);
}

void TKelReader::SetEmptyLineText(std::string_view text) {
  PipelineChanged();
  emptyLineText_ = ShortString(text);
}

void TKelReader::SetMarker(int n, std::string_view value) {
  PipelineChanged();
  if (n >= 0 && n < kMarkers) markerValues_[n] = std::string(value);
}

void TKelReader::CloseScript() {
  if (events_ != nullptr) events_->ScriptReplacing();
  script_.reset();
  prepared_.clear();
  currentLabel_ = -1;
  linesSinceLabel_ = 0;
  currentLine_ = -1;
  charPosition_ = 0;
  fileName_.clear();
  lineText_ = {};
}

void TKelReader::SaveReaderState(base::ByteWriter& out) const {
  ReaderStateBlock block;
  block.fileName = fileName_;
  block.labelName = CurrentLabelName();
  block.lineOffset = LineOffsetSinceLabel();
  block.charPosition = charPosition_;
  for (int i = 0; i < kSlots; ++i) block.modes[i] = table_.At(i).mode;
  block.replacementEnabled = replacementEnabled_;
  block.linePrefix = linePrefix_;
  block.emptyLineText = emptyLineText_;
  block.Write(out);
  out.Str16(lineText_);
  for (int i = 0; i < kSlots; ++i) out.Str16(table_.At(i).pattern).Str16(table_.At(i).replacement);
  for (int n = 0; n < kMarkers; ++n) out.Str16(markerNames_[n]).Str16(markerValues_[n]);
}

bool TKelReader::LoadReaderState(base::ByteReader& in) {
  // Everything is read before anything changes, so corrupt bytes leave the reader as it was.
  ReaderStateBlock block = ReaderStateBlock::Read(in);
  in.Str16();  // the line text as it was; the line is rebuilt from the script
  std::array<ReplacementTable::Slot, kSlots> slots;
  for (auto& slot : slots) {
    slot.pattern = in.Str16();
    slot.replacement = in.Str16();
  }
  std::array<std::string, kMarkers> values;
  for (auto& value : values) {
    in.Str16();  // the marker's name, which is fixed by its number
    value = in.Str16();
  }
  PipelineChanged();
  for (int i = 0; i < kSlots; ++i)
    table_.Set(i, slots[i].pattern, block.modes[i], slots[i].replacement);
  replacementEnabled_ = block.replacementEnabled;
  linePrefix_ = block.linePrefix;
  emptyLineText_ = block.emptyLineText;
  markerValues_ = std::move(values);
  // Saved before any script ran.
  if (block.fileName.empty()) {
    CloseScript();
    return true;
  }
  if (!OpenScript(block.fileName, true)) return false;
  return GotoLabel(block.labelName, block.lineOffset, block.charPosition);
}

}  // namespace mavu::script
