#pragma once

#include <cstddef>
#include <vector>

#include "script/values/return_value.h"

namespace mavu::script {

// The evaluator's operand stack. It grows as an expression needs, so a long
// expression never loses a value; popping an empty stack gives a None value.
class TValueStack {
 public:
  // Room for what ordinary expressions need without growing.
  static constexpr size_t kReserved = 64;

  TValueStack() { values_.reserve(kReserved); }

  void Push(TReturnValue value) { values_.push_back(std::move(value)); }
  TReturnValue Pop();
  // The value `depth` places below the top (0 = the top); the stack must hold it.
  TReturnValue& Top(size_t depth) { return values_[values_.size() - 1 - depth]; }
  void Drop() { values_.pop_back(); }
  size_t Count() const { return values_.size(); }
  void Clear() { values_.clear(); }

 private:
  std::vector<TReturnValue> values_;
};

}  // namespace mavu::script
