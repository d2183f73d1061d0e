#pragma once

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/game_settings.h"
#include "resource/system_data.h"

namespace mavu::fuzz {

// The key the system-data seeds are scrambled with and the target reads with.
inline constexpr uint32_t kSystemDataFuzzKey = resource::kBuiltInCodeKey;

// The system variables as opaque bytes: the system-data target checks the file
// and its blocks; the variable table's own stream has its own readers.
class OpaqueVariables : public resource::SystemVariableStream {
 public:
  bool WriteVariables(base::ByteWriter& out) override {
    out.Append(bytes);
    return true;
  }
  void ReadVariables(base::ByteReader& in) override {
    const auto rest = in.Rest();
    bytes.assign(rest.begin(), rest.end());
  }

  base::Bytes bytes;
};

}  // namespace mavu::fuzz
