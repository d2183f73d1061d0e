#pragma once

#include <string>
#include <vector>

#include "script/values/value_array_custom.h"

namespace mavu::script {

// String elements: reads give the text with its value as a number, writes
// take the text part of any value. In the stream each element is a Str16.
class TValueArrayString final : public TValueArrayCustom {
 public:
  explicit TValueArrayString(std::string name)
      : TValueArrayCustom(ValueKind::kString, std::move(name)) {}

  bool SetCount(int32_t count) override;
  TReturnValue ReadElement(int32_t index) const override;
  void WriteElement(int32_t index, const TReturnValue& value) override;
  bool WriteElements(base::ByteWriter& out) const override;
  void ReadElements(base::ByteReader& in, int32_t count) override;

 private:
  std::vector<std::string> elements_;
};

}  // namespace mavu::script
