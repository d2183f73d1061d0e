#include "script/values/value_array_object.h"

#include "script/values/value_messages.h"

namespace mavu::script {
namespace {

// The length of an empty Str16.
constexpr size_t kMinElementBytes = 2;

}  // namespace

TValueArrayObject::TValueArrayObject(std::string name, std::string kindName, bool reference,
                                     KelObjectHost* host, const ErrorReporter* reporter)
    : TValueArrayCustom(ValueKind::kObjectName, std::move(name)),
      kindName_(std::move(kindName)),
      reference_(reference),
      host_(host),
      reporter_(reporter) {}

bool TValueArrayObject::SetCount(int32_t count) {
  size_t target = static_cast<size_t>(count);
  bool ok = true;
  for (size_t i = target; i < names_.size(); ++i) ok = FreeObjectAt(i) && ok;
  if (target < names_.size()) {
    names_.resize(target);
    owned_.resize(target);
  }
  while (names_.size() < target) {
    size_t index = names_.size();
    names_.push_back(reference_ ? std::string() : Name() + "," + std::to_string(index));
    owned_.emplace_back();
    if (!reference_) ok = CreateObjectAt(index) && ok;
  }
  SetCountField(count);
  return ok;
}

bool TValueArrayObject::CreateObjectAt(size_t index) {
  KelObject* object = host_ ? host_->CreateObject(kindName_, names_[index]) : nullptr;
  if (object == nullptr) {
    reporter_->Report(messages::ObjectCreateFailed() + names_[index]);
    return false;
  }
  owned_[index] = names_[index];
  return true;
}

bool TValueArrayObject::FreeObjectAt(size_t index) {
  if (!owned_[index]) return true;
  if (host_ && host_->FreeObject(*owned_[index])) return true;
  reporter_->Report(messages::ObjectFreeFailed() + *owned_[index]);
  return false;
}

TReturnValue TValueArrayObject::ReadElement(int32_t index) const {
  return TReturnValue::FromObjectName(names_.at(static_cast<size_t>(index)));
}

void TValueArrayObject::WriteElement(int32_t index, const TReturnValue& value) {
  names_.at(static_cast<size_t>(index)) = value.Text();
}

bool TValueArrayObject::WriteElements(base::ByteWriter& out) const {
  bool ok = true;
  for (const std::string& name : names_) {
    out.Str16(name);
    if (reference_ || host_ == nullptr) continue;
    // An element without an object has no state to write.
    if (KelObject* object = host_->FindObject(name)) ok = object->SaveState(out) && ok;
  }
  return ok;
}

void TValueArrayObject::ReadElements(base::ByteReader& in, int32_t count) {
  if (static_cast<size_t>(count) > in.Remaining() / kMinElementBytes) {
    throw base::FormatError("variable " + Name() + ": more elements than the stream holds");
  }
  names_.clear();
  owned_.clear();
  names_.reserve(static_cast<size_t>(count));
  owned_.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    names_.push_back(in.Str16());
    owned_.emplace_back();
    // Counted before the state is read, so a failed read still frees it.
    SetCountField(i + 1);
    if (reference_) continue;
    KelObject* object = LoadObject(names_.back(), owned_.back());
    if (!object->LoadState(in)) {
      throw base::FormatError("object " + names_.back() + ": unreadable state");
    }
  }
  SetCountField(count);
}

// The object an element's state belongs to: the one of that name, or a new
// one of the storage's kind (which the element then owns). Without either the
// length of the state is unknown and nothing after it can be read.
KelObject* TValueArrayObject::LoadObject(const std::string& name,
                                         std::optional<std::string>& owned) {
  KelObject* object = host_ ? host_->FindObject(name) : nullptr;
  if (object != nullptr) return object;
  object = host_ ? host_->CreateObject(kindName_, name) : nullptr;
  if (object == nullptr) {
    reporter_->Report(messages::ObjectCreateFailed() + name);
    throw base::FormatError("object " + name + ": cannot be created");
  }
  owned = name;
  return object;
}

}  // namespace mavu::script
