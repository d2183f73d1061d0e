#pragma once

#include <string>
#include <vector>

#include "script/values/value_array_custom.h"

namespace mavu::script {

// The storage of plain values, integer or string: what tells them apart is
// the element type, how a value becomes an element and back, and its stream
// form, all given by `Elements` (see TValueArrayInteger, TValueArrayString).
template <typename Elements>
class ValueArrayScalar : public TValueArrayCustom {
 public:
  using Element = typename Elements::Element;

  explicit ValueArrayScalar(std::string name)
      : TValueArrayCustom(Elements::kKind, std::move(name)) {}

  bool SetCount(int32_t count) override {
    elements_.resize(static_cast<size_t>(count));
    SetCountField(count);
    return true;
  }
  TReturnValue ReadElement(int32_t index) const override {
    return Elements::ToValue(elements_.at(static_cast<size_t>(index)));
  }
  void WriteElement(int32_t index, const TReturnValue& value) override {
    elements_.at(static_cast<size_t>(index)) = Elements::FromValue(value);
  }
  bool WriteElements(base::ByteWriter& out) const override {
    for (const Element& element : elements_) Elements::Write(out, element);
    return true;
  }
  void ReadElements(base::ByteReader& in, int32_t count) override {
    if (static_cast<size_t>(count) > in.Remaining() / Elements::kMinBytes) {
      throw base::FormatError("variable " + Name() + ": more elements than the stream holds");
    }
    elements_.assign(static_cast<size_t>(count), Element{});
    for (Element& element : elements_) element = Elements::Read(in);
    SetCountField(count);
  }

 private:
  std::vector<Element> elements_;
};

}  // namespace mavu::script
