#include "script/run_stack.h"

#include <algorithm>

#include "base/cp932.h"

namespace mavu::script {
namespace {

bool IsTransparent(RunKind kind) {
  return kind == RunKind::Plain || kind == RunKind::IfTaken || kind == RunKind::ForRunning ||
         kind == RunKind::CaseSelected;
}

}  // namespace

void TRunStack::Push(TScriptRunStack entry) {
  if (entry.kind == RunKind::Call) ++callDepth_;
  entries_.push_back(std::move(entry));
}

void TRunStack::Pop() {
  if (entries_.empty()) return;
  if (entries_.back().kind == RunKind::Call) --callDepth_;
  entries_.pop_back();
}

void TRunStack::CutTo(size_t size) {
  while (entries_.size() > size) Pop();
}

void TRunStack::Clear() {
  entries_.clear();
  callDepth_ = 0;
}

void TRunStack::Assign(std::vector<TScriptRunStack> entries) {
  entries_ = std::move(entries);
  callDepth_ = static_cast<int32_t>(std::count_if(
      entries_.begin(), entries_.end(), [](const auto& e) { return e.kind == RunKind::Call; }));
}

void TRunStack::SetKind(size_t index, RunKind kind) {
  TScriptRunStack& entry = entries_[index];
  if (entry.kind == RunKind::Call || kind == RunKind::Call) return;
  entry.kind = kind;
}

bool TRunStack::PassingOver() const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->kind == RunKind::Call) return false;
    if (!IsTransparent(it->kind)) return true;
  }
  return false;
}

size_t TRunStack::InnermostCall() const {
  return FindCall({});
}

size_t TRunStack::FindCall(std::string_view label) const {
  for (size_t i = entries_.size(); i-- > 0;) {
    const TScriptRunStack& entry = entries_[i];
    if (entry.kind != RunKind::Call) continue;
    if (label.empty() || base::EqualsIgnoreCase(entry.labelName, label)) return i;
  }
  return kNone;
}

size_t TRunStack::InnermostRunningLoop() const {
  for (size_t i = entries_.size(); i-- > 0;) {
    if (entries_[i].kind == RunKind::Call) return kNone;
    if (entries_[i].kind == RunKind::ForRunning) return i;
  }
  return kNone;
}

}  // namespace mavu::script
