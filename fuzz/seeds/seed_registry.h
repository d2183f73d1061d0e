#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace mavu::fuzz {

using SeedMaker = std::vector<base::Bytes> (*)();

std::map<std::string, SeedMaker>& SeedMakers();

struct SeedRegistration {
  SeedRegistration(const char* target, SeedMaker maker) { SeedMakers()[target] = maker; }
};

}  // namespace mavu::fuzz

// Defines the seed maker of fuzz target `target`: a function body returning
// std::vector<base::Bytes>.
#define MAVU_FUZZ_SEEDS(target)                                                       \
  static std::vector<::mavu::base::Bytes> MakeSeeds_##target();                       \
  static ::mavu::fuzz::SeedRegistration registration_##target(#target, MakeSeeds_##target); \
  static std::vector<::mavu::base::Bytes> MakeSeeds_##target()
