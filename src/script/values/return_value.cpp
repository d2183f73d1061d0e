#include "script/values/return_value.h"

#include <utility>

#include "script/values/script_number.h"

namespace mavu::script {

TReturnValue TReturnValue::FromString(std::string text) {
  int32_t integer = ScriptInteger(text);
  return {ValueKind::kString, integer, std::move(text)};
}

TReturnValue TReturnValue::FromObjectName(std::string name) {
  return {ValueKind::kObjectName, 0, std::move(name)};
}

std::string TReturnValue::Text() const {
  return kind == ValueKind::kInteger ? DecimalText(integer) : text_;
}

}  // namespace mavu::script
