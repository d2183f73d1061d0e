#include "script/interpreter/run_stack.h"

#include <algorithm>

#include "base/cp932.h"

namespace mavu::script {
namespace {

bool IsTransparent(RunKind kind) {
  return kind == RunKind::kPlain || kind == RunKind::kIfTaken || kind == RunKind::kForRunning ||
         kind == RunKind::kCaseSelected;
}

}  // namespace

void RunStack::Push(TScriptRunStack entry) {
  if (entry.kind == RunKind::kCall) ++callDepth_;
  entries_.push_back(std::move(entry));
}

void RunStack::Pop() {
  if (entries_.empty()) return;
  if (entries_.back().kind == RunKind::kCall) --callDepth_;
  entries_.pop_back();
}

void RunStack::CutTo(size_t size) {
  while (entries_.size() > size) Pop();
}

void RunStack::Clear() {
  entries_.clear();
  callDepth_ = 0;
}

void RunStack::Assign(std::vector<TScriptRunStack> entries) {
  entries_ = std::move(entries);
  callDepth_ = static_cast<int32_t>(std::count_if(
      entries_.begin(), entries_.end(), [](const auto& e) { return e.kind == RunKind::kCall; }));
}

void RunStack::SetKind(size_t index, RunKind kind) {
  TScriptRunStack& entry = entries_[index];
  if (entry.kind == RunKind::kCall || kind == RunKind::kCall) return;
  entry.kind = kind;
}

bool RunStack::PassingOver() const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->kind == RunKind::kCall) return false;
    if (!IsTransparent(it->kind)) return true;
  }
  return false;
}

size_t RunStack::InnermostCall() const {
  return FindCall({});
}

size_t RunStack::FindCall(std::string_view label) const {
  for (size_t i = entries_.size(); i-- > 0;) {
    const TScriptRunStack& entry = entries_[i];
    if (entry.kind != RunKind::kCall) continue;
    if (label.empty() || base::EqualsIgnoreCase(entry.labelName, label)) return i;
  }
  return kNone;
}

size_t RunStack::InnermostRunningLoop() const {
  for (size_t i = entries_.size(); i-- > 0;) {
    if (entries_[i].kind == RunKind::kCall) return kNone;
    if (entries_[i].kind == RunKind::kForRunning) return i;
  }
  return kNone;
}

}  // namespace mavu::script
