#pragma once

#include <optional>
#include <string>
#include <vector>

#include "script/values/kel_object_host.h"
#include "script/values/script_error_sink.h"
#include "script/values/value_array_custom.h"

namespace mavu::script {

// Object-name elements. A non-reference variable owns one object per element:
// growing creates the object named after the variable and the element number
// (bg,0 bg,1 ...), shrinking or deleting frees it again. A reference variable
// (the result and null variables) only holds names of objects owned elsewhere.
//
// Writing a name into an element changes only the stored name. An element
// frees only the object it created itself, so an element whose creation
// failed (the name was taken) never frees another variable's object.
//
// In the stream each element is its name as a Str16; for non-reference
// storage the object's own state follows right after its name.
class TValueArrayObject final : public TValueArrayCustom {
 public:
  // `host` may be null (then no object can be created); `reporter` must
  // outlive the storage.
  TValueArrayObject(std::string name, std::string kindName, bool reference, KelObjectHost* host,
                    const ErrorReporter* reporter);

  bool SetCount(int32_t count) override;
  TReturnValue ReadElement(int32_t index) const override;
  void WriteElement(int32_t index, const TReturnValue& value) override;
  bool WriteElements(base::ByteWriter& out) const override;
  // Each object is found by name (an object whose creation failed for a
  // taken name wrote that object's state), or created by kind when there is
  // none, and reads its state. An object that can be neither found nor
  // created is reported and refuses the stream.
  void ReadElements(base::ByteReader& in, int32_t count) override;

  const std::string& KindName() const override { return kindName_; }
  bool IsReference() const override { return reference_; }

 private:
  bool CreateObjectAt(size_t index);
  bool FreeObjectAt(size_t index);
  KelObject* LoadObject(const std::string& name, std::optional<std::string>& owned);

  std::string kindName_;
  bool reference_;
  KelObjectHost* host_;
  const ErrorReporter* reporter_;
  std::vector<std::string> names_;
  // The name of the object each element created and must free, if any.
  std::vector<std::optional<std::string>> owned_;
};

}  // namespace mavu::script
