#pragma once

#include <string>

#include "animation_description.h"

namespace mavu::tools {

// The description as text that ParseDescription reads back to the same
// description: every key that differs from a fresh layer's, with the clauses
// in which it differs.
std::string PrintDescription(const AnimationDescription& description);

}  // namespace mavu::tools
