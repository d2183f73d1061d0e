#pragma once

#include <string_view>

namespace mavu::script {

// What the swap command needs of the object registry, beside ObjectRegistry:
// exchanging what two objects of the same kind hold (sound channels, layers,
// message windows, buttons, file readers) while their names stay. A registry
// without it makes every swap fail.
class ObjectSwap {
 public:
  virtual ~ObjectSwap() = default;
  // False for unknown names, different kinds, or kinds that hold nothing to swap.
  virtual bool SwapObjects(std::string_view first, std::string_view second) = 0;
};

}  // namespace mavu::script
