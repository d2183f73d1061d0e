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
  if (kind == ValueKind::kInteger) return DecimalText(integer);
  return text_ ? *text_ : std::string();
}

}  // namespace mavu::script
