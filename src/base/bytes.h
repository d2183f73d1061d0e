#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace mavu::base {

// A whole file or stream held in memory; every outside format is read from one.
using Bytes = std::vector<uint8_t>;

// Raised by format readers when outside data is short, inconsistent or hostile.
// Callers catch it at the boundary and turn it into a clear message.
class FormatError : public std::runtime_error {
 public:
  explicit FormatError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace mavu::base
