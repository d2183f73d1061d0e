#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/bytes.h"

namespace mavu::resource {

// Raised for an archive of the older "QDA0" form that cannot be read; carries
// only its message.
class EQDAError : public base::FormatError {
 public:
  using base::FormatError::FormatError;
};

// The body of the first entry whose ID matches `id` ignoring letter case, read
// from a whole archive in memory. Throws EQDAError for a wrong head, a missing
// ID or a damaged directory or body.
base::Bytes ReadQDAEntry(std::span<const uint8_t> archive, std::string_view id);

}  // namespace mavu::resource
