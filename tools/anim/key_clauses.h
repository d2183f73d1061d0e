#pragma once

#include <string>

#include "imaging/animation/animation_data.h"
#include "line_cursor.h"

namespace mavu::tools {

// The clauses after "key N" ("time 500 src 0 0 64 64 draw alpha"), each at
// most once, into `key`.
void ReadKeyClauses(LineCursor& in, imaging::AnimationKey& key);

// The clauses in which `key` differs from `fresh`, each after a space.
std::string PrintKeyClauses(const imaging::AnimationKey& key, const imaging::AnimationKey& fresh);

}  // namespace mavu::tools
