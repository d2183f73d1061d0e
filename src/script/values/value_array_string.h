#pragma once

#include <string>

#include "script/values/value_array_scalar.h"

namespace mavu::script {

// String elements: reads give the text with its value as a number, writes
// take the text part of any value. In the stream each element is a Str16.
struct StringElements {
  using Element = std::string;
  static constexpr ValueKind kKind = ValueKind::kString;
  static constexpr size_t kMinBytes = 2;  // an empty Str16

  static TReturnValue ToValue(const std::string& element) {
    return TReturnValue::FromString(element);
  }
  static std::string FromValue(const TReturnValue& value) { return value.Text(); }
  static void Write(base::ByteWriter& out, const std::string& element) { out.Str16(element); }
  static std::string Read(base::ByteReader& in) { return in.Str16(); }
};

class TValueArrayString final : public ValueArrayScalar<StringElements> {
 public:
  using ValueArrayScalar::ValueArrayScalar;
};

}  // namespace mavu::script
