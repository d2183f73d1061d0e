#include <cstddef>
#include <cstdint>
#include <string_view>

#include "description_parser.h"
#include "description_printer.h"

// Reads arbitrary text as a mavu-anim description. A description that reads
// must print as text that reads back to the same description.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using mavu::tools::ParseDescription;
  mavu::tools::AnimationDescription description;
  try {
    description = ParseDescription({reinterpret_cast<const char*>(data), size});
  } catch (const mavu::tools::DescriptionError&) {
    return 0;
  }
  if (ParseDescription(mavu::tools::PrintDescription(description)) != description) {
    __builtin_trap();
  }
  return 0;
}
