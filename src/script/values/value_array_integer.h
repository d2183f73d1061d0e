#pragma once

#include <vector>

#include "script/values/value_array_custom.h"

namespace mavu::script {

// Integer elements: reads give the value with its decimal text, writes take
// the integer part of any value. In the stream each element is an int32.
class TValueArrayInteger final : public TValueArrayCustom {
 public:
  explicit TValueArrayInteger(std::string name)
      : TValueArrayCustom(ValueKind::kInteger, std::move(name)) {}

  bool SetCount(int32_t count) override;
  TReturnValue ReadElement(int32_t index) const override;
  void WriteElement(int32_t index, const TReturnValue& value) override;
  bool WriteElements(base::ByteWriter& out) const override;
  void ReadElements(base::ByteReader& in, int32_t count) override;

 private:
  std::vector<int32_t> elements_;
};

}  // namespace mavu::script
