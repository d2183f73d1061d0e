#pragma once

#include <cstddef>

#include "script/values/expression_compiler.h"
#include "script/values/text_cache.h"

namespace mavu::script {

// Compiled expressions by their text. Compiling is what costs; running a
// compiled expression still looks every variable up and reports every error.
class ExpressionCache : public TextCache<CompiledExpression> {
 public:
  static constexpr size_t kDefaultCapacity = 4096;
  static constexpr size_t kMaxKeptText = 4096;

  explicit ExpressionCache(size_t capacity = kDefaultCapacity)
      : TextCache(CompileExpression, capacity, kMaxKeptText) {}
};

}  // namespace mavu::script
