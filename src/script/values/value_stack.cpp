#include "script/values/value_stack.h"

#include <utility>

namespace mavu::script {

TReturnValue TValueStack::Pop() {
  if (values_.empty()) return TReturnValue::None();
  TReturnValue top = std::move(values_.back());
  values_.pop_back();
  return top;
}

}  // namespace mavu::script
