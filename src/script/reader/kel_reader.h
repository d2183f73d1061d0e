#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "script/reader/reader_events.h"
#include "script/reader/replacement_table.h"
#include "script/reader/script_lines.h"

namespace mavu::script {

class TBRegExp;
class TScriptReplaceDLL;

// Holds the script being run and hands it out one command at a time. Every
// line passes a pipeline on its way out (external replacer, replacement table,
// markers, empty-line text, text-line prefix, "//" comments) unless it lies
// under a raw "@@!" label. Failures are results, never exceptions.
class TKelReader {
 public:
  static constexpr int kMarkers = 16;
  static constexpr int kSlots = ReplacementTable::kSlots;

  TKelReader();
  ~TKelReader();
  TKelReader(const TKelReader&) = delete;
  TKelReader& operator=(const TKelReader&) = delete;

  // Wiring by the owner; each may be null (nothing reported, no external
  // replacer). The objects must outlive the reader.
  void SetEvents(ReaderEvents* events) { events_ = events; }
  void SetExternalReplacer(const TScriptReplaceDLL* replacer) { replacer_ = replacer; }

  // Back to the state after creation: no script, table cleared and enabled,
  // markers empty.
  void Reset();
  // No script, no position; the replacements and markers stay.
  void CloseScript();

  // Loads `name` unless it is already the current file and `force` is off.
  bool OpenScript(std::string_view name, bool force);
  // "self" (any case) keeps the loaded script; any other file is reloaded.
  bool JumpToLabel(std::string_view file, std::string_view label);
  bool GotoLabel(std::string_view label, int32_t lineOffset, int32_t charPosition);
  // A line outside the script fails and leaves the reader past the end.
  bool GotoLine(int32_t line, int32_t charPosition);
  // The next command: from the position up to the second backslash outside
  // quotes and braces, moving to the next line when this one is used up.
  std::string ReadCommand();

  // Where the reader stands, cheap to take: the text comes from it later.
  struct Position {
    int32_t line = -1;
    int32_t label = -1;
  };
  Position CurrentPosition() const { return {currentLine_, currentLabel_}; }
  // "NOFILE", "EOF" or the label's file with the 1-based source line: start.s(10).
  std::string PositionText() const { return PositionText(CurrentPosition()); }
  // A position taken in the script loaded now.
  std::string PositionText(Position position) const;
  const std::string& CurrentFileName() const { return fileName_; }
  // The next two warn through the events when there is no current label.
  std::string CurrentLabelName() const;
  int32_t LineOffsetSinceLabel() const;
  int32_t CharacterPosition() const { return charPosition_; }
  int32_t CurrentLine() const { return currentLine_; }
  // Past the last line: only empty commands follow until the next jump.
  bool AtEnd() const;
  std::string_view CurrentLineText() const { return lineText_; }
  // The file a label was read from; empty for an unknown label.
  std::string LabelFile(std::string_view label) const;

  bool AddReplacement(std::string_view pattern, std::string_view replacement, uint8_t mode);
  bool RemoveReplacement(std::string_view pattern);
  bool SetReplacementSlot(int slot, std::string_view pattern, uint8_t mode,
                          std::string_view replacement);
  void ClearReplacements();
  const ReplacementTable& Replacements() const { return table_; }
  void SetReplacementEnabled(bool on) {
    replacementEnabled_ = on;
    PipelineChanged();
  }
  bool ReplacementEnabled() const { return replacementEnabled_; }
  // Both are kept cut to 127 bytes.
  void SetTextLinePrefix(std::string_view text);
  void SetEmptyLineText(std::string_view text);
  const std::string& TextLinePrefix() const { return linePrefix_; }
  const std::string& EmptyLineText() const { return emptyLineText_; }
  // Marker n (0..15) is named "%%%n"; other numbers are ignored.
  void SetMarker(int n, std::string_view value);
  const std::string& MarkerName(int n) const { return markerNames_[n]; }
  const std::string& MarkerValue(int n) const { return markerValues_[n]; }

  // The position, the table and the markers; see ReaderStateBlock for the
  // fixed block in front.
  void SaveReaderState(base::ByteWriter& out) const;
  // Reads what SaveReaderState wrote, then reloads the script and goes back to
  // the saved label. Throws base::FormatError for short or corrupt bytes, with
  // the reader unchanged; false when the script or its label is gone.
  bool LoadReaderState(base::ByteReader& in);

 private:
  bool HasCurrentLabel() const;
  const ScriptLabel& CurrentLabel() const { return script_->Labels()[currentLabel_]; }
  void MovePastEnd();
  std::string ProcessLine(std::string text) const;
  // The line as commands are read from it, through the pipeline (unless raw)
  // and with its "//" comment cut off.
  const std::string& PreparedLine(int32_t line, bool process);
  // Whatever changes the pipeline's output makes every prepared line stale.
  void PipelineChanged() { ++pipelineGeneration_; }
  std::string ApplyMarkers(std::string text) const;
  void EnterLabelLine(std::string_view command);
  void Warn() const;

  ReaderEvents* events_ = nullptr;
  const TScriptReplaceDLL* replacer_ = nullptr;
  // Absent until the first load; an empty script after a failed one.
  std::optional<ScriptLines> script_;
  int32_t currentLabel_ = -1;
  int32_t linesSinceLabel_ = 0;
  int32_t currentLine_ = -1;
  int32_t charPosition_ = 0;
  ReplacementTable table_;
  std::array<std::string, kMarkers> markerNames_;
  std::array<std::string, kMarkers> markerValues_;
  std::string fileName_;
  bool replacementEnabled_ = true;
  std::string linePrefix_;
  std::string emptyLineText_;
  // Points into prepared_.
  std::string_view lineText_;
  // Owned here: the matcher keeps a compiled pattern between lines.
  std::unique_ptr<TBRegExp> regExp_;
  // Lines run again and again (loops, subroutines) are prepared once per
  // state of the pipeline. An external replacer's output is not known to stay
  // the same, so with one every line is prepared afresh.
  struct PreparedText {
    uint64_t generation = 0;
    std::string text;
  };
  std::vector<PreparedText> prepared_;
  uint64_t pipelineGeneration_ = 1;
};

}  // namespace mavu::script
