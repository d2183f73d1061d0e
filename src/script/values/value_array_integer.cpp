#include "script/values/value_array_integer.h"

namespace mavu::script {
namespace {

constexpr size_t kElementBytes = 4;

}  // namespace

bool TValueArrayInteger::SetCount(int32_t count) {
  elements_.resize(static_cast<size_t>(count));
  SetCountField(count);
  return true;
}

TReturnValue TValueArrayInteger::ReadElement(int32_t index) const {
  return TReturnValue::FromInteger(elements_.at(static_cast<size_t>(index)));
}

void TValueArrayInteger::WriteElement(int32_t index, const TReturnValue& value) {
  elements_.at(static_cast<size_t>(index)) = value.integer;
}

bool TValueArrayInteger::WriteElements(base::ByteWriter& out) const {
  for (int32_t element : elements_) out.I32(element);
  return true;
}

void TValueArrayInteger::ReadElements(base::ByteReader& in, int32_t count) {
  if (static_cast<size_t>(count) > in.Remaining() / kElementBytes) {
    throw base::FormatError("variable " + Name() + ": more elements than the stream holds");
  }
  elements_.resize(static_cast<size_t>(count));
  for (int32_t& element : elements_) element = in.I32();
  SetCountField(count);
}

}  // namespace mavu::script
