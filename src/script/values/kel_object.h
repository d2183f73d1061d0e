#pragma once

#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::script {

// What the variable tables need of a script object. The object registry's base
// class derives from it and adds the per-frame operations; the two virtual
// operations here keep their place at the front of the object's slot order
// (write state, read state), right after reset.
class KelObject {
 public:
  virtual ~KelObject() = default;

  // The object's name, such as bg,0 for the first element of a variable bg.
  virtual const std::string& Name() const = 0;
  // The kind number of the object's class (1 sys ... 26 ext).
  virtual uint8_t Kind() const = 0;

  // Its own state, written right after its name inside a variable table.
  // False when the object cannot describe itself; the save is then unusable.
  virtual bool SaveState(base::ByteWriter& out) = 0;
  // Reads back exactly what SaveState wrote. False (or a FormatError from the
  // reader) when the bytes are not a state of this kind.
  virtual bool LoadState(base::ByteReader& in) = 0;
};

}  // namespace mavu::script
