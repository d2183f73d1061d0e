#include "script/values/return_value.h"

#include <utility>

#include "script/values/script_number.h"

namespace mavu::script {

TReturnValue TReturnValue::FromInteger(int32_t value) {
  return {ValueKind::kInteger, value, DecimalText(value)};
}

TReturnValue TReturnValue::FromString(std::string text) {
  int32_t integer = ScriptInteger(text);
  return {ValueKind::kString, integer, std::move(text)};
}

TReturnValue TReturnValue::FromObjectName(std::string name) {
  return {ValueKind::kObjectName, 0, std::move(name)};
}

}  // namespace mavu::script
