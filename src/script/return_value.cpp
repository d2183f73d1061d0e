#include "script/return_value.h"

#include <utility>

#include "script/script_number.h"

namespace mavu::script {

TReturnValue TReturnValue::FromInteger(int32_t value) {
  return {ValueKind::Integer, value, DecimalText(value)};
}

TReturnValue TReturnValue::FromString(std::string text) {
  int32_t integer = ScriptInteger(text);
  return {ValueKind::String, integer, std::move(text)};
}

TReturnValue TReturnValue::FromObjectName(std::string name) {
  return {ValueKind::ObjectName, 0, std::move(name)};
}

}  // namespace mavu::script
