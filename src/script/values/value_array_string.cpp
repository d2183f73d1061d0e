#include "script/values/value_array_string.h"

namespace mavu::script {
namespace {

// The length of an empty Str16.
constexpr size_t kMinElementBytes = 2;

}  // namespace

bool TValueArrayString::SetCount(int32_t count) {
  elements_.resize(static_cast<size_t>(count));
  SetCountField(count);
  return true;
}

TReturnValue TValueArrayString::ReadElement(int32_t index) const {
  return TReturnValue::FromString(elements_.at(static_cast<size_t>(index)));
}

void TValueArrayString::WriteElement(int32_t index, const TReturnValue& value) {
  elements_.at(static_cast<size_t>(index)) = value.Text();
}

bool TValueArrayString::WriteElements(base::ByteWriter& out) const {
  for (const std::string& element : elements_) out.Str16(element);
  return true;
}

void TValueArrayString::ReadElements(base::ByteReader& in, int32_t count) {
  if (static_cast<size_t>(count) > in.Remaining() / kMinElementBytes) {
    throw base::FormatError("variable " + Name() + ": more elements than the stream holds");
  }
  elements_.assign(static_cast<size_t>(count), std::string());
  for (std::string& element : elements_) element = in.Str16();
  SetCountField(count);
}

}  // namespace mavu::script
