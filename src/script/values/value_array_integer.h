#pragma once

#include "script/values/value_array_scalar.h"

namespace mavu::script {

// Integer elements: reads give the value (its text is its decimal digits),
// writes take the integer part of any value. In the stream each element is an
// int32.
struct IntegerElements {
  using Element = int32_t;
  static constexpr ValueKind kKind = ValueKind::kInteger;
  static constexpr size_t kMinBytes = 4;

  static TReturnValue ToValue(int32_t element) { return TReturnValue::FromInteger(element); }
  static int32_t FromValue(const TReturnValue& value) { return value.integer; }
  static void Write(base::ByteWriter& out, int32_t element) { out.I32(element); }
  static int32_t Read(base::ByteReader& in) { return in.I32(); }
};

class TValueArrayInteger final : public ValueArrayScalar<IntegerElements> {
 public:
  using ValueArrayScalar::ValueArrayScalar;
};

}  // namespace mavu::script
