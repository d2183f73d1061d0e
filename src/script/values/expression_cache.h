#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "script/values/expression_compiler.h"

namespace mavu::script {

// Compiled expressions by their text. Scripts evaluate the same few texts over
// and over (loop conditions, counters), and compiling is what costs; running a
// compiled expression still looks every variable up and reports every error.
// When full the cache starts again empty, which keeps it simple and bounded.
class ExpressionCache {
 public:
  static constexpr size_t kDefaultCapacity = 4096;
  // Longer texts are compiled each time rather than kept.
  static constexpr size_t kMaxKeptText = 4096;

  // A capacity of 0 keeps nothing.
  explicit ExpressionCache(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // The compiled text; shared, so that it outlives a reset of the cache made
  // while it runs (a nested evaluation may fill the cache).
  std::shared_ptr<const CompiledExpression> Get(std::string_view text);

  size_t Size() const { return entries_.size(); }

 private:
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };

  size_t capacity_;
  std::unordered_map<std::string, std::shared_ptr<const CompiledExpression>, TextHash,
                     std::equal_to<>>
      entries_;
};

}  // namespace mavu::script
