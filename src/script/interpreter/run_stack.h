#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mavu::script {

// What an entry of the run stack stands for. The numbers are stored in save data.
enum class RunKind : uint8_t {
  kPlain = 0,     // just pushed; transparent
  kIfPassed = 1,  // an if met while passing over a block
  kIfTaken = 2,
  kIfNotTaken = 3,
  kForPassed = 4,  // a for met while passing over a block
  kForRunning = 5,
  kForDone = 6,      // finished or broken: pass over to its next
  kForContinue = 7,  // cnt: pass over to next, then iterate
  kCasePassed = 8,   // a case met while passing over a block
  kCaseSelected = 9,
  kCaseNotSelected = 10,
  kCall = 11,  // a sub's return point
};

// One entry (`TScriptRunStack`). The position is the reader's right after the
// command that pushed it.
struct TScriptRunStack {
  static constexpr int kTexts = 8;
  // Text 0: the condition or case value; text 1: the loop step or the
  // case-matched flag.
  static constexpr int kCondition = 0;
  static constexpr int kStep = 1;
  static constexpr int kMatched = 1;

  RunKind kind = RunKind::kPlain;
  std::string fileName;
  std::string labelName;
  int32_t lineOffset = 0;
  int32_t charPosition = 0;
  std::array<std::string, kTexts> texts;
};

// The if/for/case/sub entries of the interpreter. The call depth (the number
// of call entries) is kept up to date on every change; it is the key of the
// local variables.
class RunStack {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  bool Empty() const { return entries_.empty(); }
  size_t Size() const { return entries_.size(); }
  int32_t CallDepth() const { return callDepth_; }
  const std::vector<TScriptRunStack>& Entries() const { return entries_; }
  TScriptRunStack& Top() { return entries_.back(); }
  const TScriptRunStack& Top() const { return entries_.back(); }
  TScriptRunStack& At(size_t index) { return entries_[index]; }

  void Push(TScriptRunStack entry);
  void Pop();
  // Keeps the entries below `size`.
  void CutTo(size_t size);
  void Clear();
  // Replaces the whole stack (a loaded game).
  void Assign(std::vector<TScriptRunStack> entries);
  // Turns an entry into another kind; a call entry cannot be made or unmade
  // this way, so the call depth stays right.
  void SetKind(size_t index, RunKind kind);

  // Whether the commands met now are passed over: the first entry from the top
  // that is not transparent decides; a call entry means execute.
  bool PassingOver() const;
  // The innermost call entry, or kNone.
  size_t InnermostCall() const;
  // The innermost call entry whose label is `label` (letter case ignored; any
  // label when empty), or kNone.
  size_t FindCall(std::string_view label) const;
  // The innermost running loop inside the current call, or kNone.
  size_t InnermostRunningLoop() const;

 private:
  std::vector<TScriptRunStack> entries_;
  int32_t callDepth_ = 0;
};

}  // namespace mavu::script
