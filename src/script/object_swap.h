#pragma once

#include <string_view>

namespace mavu::script {

// What the swap command needs of the object registry, beside TObjectRegistry:
// exchanging what two objects of the same kind hold (sound channels, layers,
// message windows, buttons, file readers) while their names stay. A registry
// without it makes every swap fail.
class TObjectSwap {
 public:
  virtual ~TObjectSwap() = default;
  // False for unknown names, different kinds, or kinds that hold nothing to swap.
  virtual bool SwapObjects(std::string_view first, std::string_view second) = 0;
};

}  // namespace mavu::script
