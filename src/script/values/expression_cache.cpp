#include "script/values/expression_cache.h"

namespace mavu::script {

std::shared_ptr<const CompiledExpression> ExpressionCache::Get(std::string_view text) {
  if (auto found = entries_.find(text); found != entries_.end()) return found->second;
  auto compiled = std::make_shared<const CompiledExpression>(CompileExpression(text));
  if (capacity_ == 0 || text.size() > kMaxKeptText) return compiled;
  if (entries_.size() >= capacity_) entries_.clear();
  entries_.emplace(std::string(text), compiled);
  return compiled;
}

}  // namespace mavu::script
