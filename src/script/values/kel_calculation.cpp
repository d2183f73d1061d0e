#include "script/values/kel_calculation.h"

#include <utility>

#include "base/cp932.h"
#include "script/reader/word_buf.h"
#include "script/values/value_messages.h"

namespace mavu::script {
namespace {

constexpr std::string_view kIntegerType = "int";
constexpr std::string_view kStringType = "str";
constexpr char kIndexSeparator = ',';

// A raw operand on the stack carries the number of its operand in the
// compiled expression; it is resolved when an operator takes it.
TReturnValue RawOperand(int32_t operand) {
  return {ValueKind::kRawToken, operand};
}

}  // namespace

TKelCalculation::TKelCalculation(size_t cacheCapacity)
    : cache_(CompileExpression, cacheCapacity, kLongestKeptExpression) {}

TKelCalculation::~TKelCalculation() = default;

void TKelCalculation::SetErrorSink(ScriptErrorSink* sink) {
  reporter_.SetSink(sink);
  for (TValue* table : {&system_, &global_, &local_}) table->SetErrorSink(sink);
}

void TKelCalculation::SetObjectHost(KelObjectHost* host) {
  for (TValue* table : {&system_, &global_, &local_}) table->SetObjectHost(host);
}

void TKelCalculation::SetReporting(bool on) {
  reporter_.SetEnabled(on);
  for (TValue* table : {&system_, &global_, &local_}) table->SetReporting(on);
}

void TKelCalculation::Report(const std::string& message) const {
  if (!aborted_) reporter_.Report(message);
}

TReturnValue TKelCalculation::Failed() {
  Report(messages::CalculationError());
  return TReturnValue::None();
}

TReturnValue TKelCalculation::Evaluate(std::string_view text, int32_t depth) {
  if (text.empty()) return TReturnValue::None();
  bool outermost = nesting_ == 0;
  if (aborted_) return TReturnValue::None();
  if (outermost) textBudget_ = kNestedTextsPerByte * text.size() + kNestedTextFloor;
  if (nesting_ >= kMaxEvaluationDepth || ++evaluations_ > kMaxNestedEvaluations ||
      text.size() > textBudget_) {
    aborted_ = true;
    return TReturnValue::None();
  }
  textBudget_ -= text.size();
  ++nesting_;
  TReturnValue result = EvaluateText(text, depth);
  --nesting_;
  if (!outermost) return aborted_ ? TReturnValue::None() : result;
  bool limitHit = aborted_;
  aborted_ = false;
  evaluations_ = 0;
  return limitHit ? Failed() : result;
}

TReturnValue TKelCalculation::EvaluateText(std::string_view text, int32_t depth) {
  std::shared_ptr<const CompiledExpression> compiled = cache_.Get(text);
  for (const std::string& nested : compiled->nested) Evaluate(nested, depth);
  if (compiled->failure) {
    Report(*compiled->failure);
    return TReturnValue::None();
  }
  return Run(*compiled, depth);
}

TValueStack& TKelCalculation::StackAt(int level) {
  while (stacks_.size() <= static_cast<size_t>(level)) {
    stacks_.push_back(std::make_unique<TValueStack>());
  }
  return *stacks_[static_cast<size_t>(level)];
}

// An operator takes its right operand, then its left, and resolves both (only
// the right for an assignment); its result takes their place. An operator that
// fails ends the run. Exactly one value must remain.
TReturnValue TKelCalculation::Run(const CompiledExpression& compiled, int32_t depth) {
  TValueStack& stack = StackAt(nesting_);
  stack.Clear();
  for (const PostfixItem& item : compiled.postfix) {
    if (!item.isOperator) {
      stack.Push(RawOperand(item.operand));
      continue;
    }
    // A well-formed expression always has both operands; a missing one is no value.
    while (stack.Count() < 2) stack.Push(TReturnValue::None());
    TReturnValue& right = stack.Top(0);
    TReturnValue& left = stack.Top(1);
    Resolve(right, compiled, depth);
    std::optional<TReturnValue> result;
    if (item.op == Operator::kAssign) {
      result = Assign(left, right, compiled, depth);
    } else {
      Resolve(left, compiled, depth);
      result = ApplyOperator(item.op, left, right);
    }
    if (!result) return Failed();
    stack.Drop();
    stack.Top(0) = std::move(*result);
  }
  if (stack.Count() != 1) return Failed();
  TReturnValue& result = stack.Top(0);
  Resolve(result, compiled, depth);
  if (result.IsNone()) return Failed();
  return std::move(result);
}

void TKelCalculation::Resolve(TReturnValue& value, const CompiledExpression& compiled,
                              int32_t depth) {
  if (value.kind != ValueKind::kRawToken) return;
  const Operand& operand = compiled.operands[static_cast<size_t>(value.integer)];
  value = operand.form == Operand::Form::kLiteral ? operand.literal : ReadVariable(operand, depth);
}

// The left side must be a variable reference still unresolved: a number, a
// quoted string or a computed value cannot be assigned to (so a=b=3 fails).
std::optional<TReturnValue> TKelCalculation::Assign(const TReturnValue& left,
                                                    const TReturnValue& right,
                                                    const CompiledExpression& compiled,
                                                    int32_t depth) {
  if (right.IsNone() || left.kind != ValueKind::kRawToken) return std::nullopt;
  const Operand& target = compiled.operands[static_cast<size_t>(left.integer)];
  if (target.form == Operand::Form::kLiteral) return std::nullopt;
  if (!WriteVariable(target, right, depth)) return std::nullopt;
  return TReturnValue::FromInteger(1);
}

TReturnValue TKelCalculation::ReadVariable(const Operand& operand, int32_t depth) {
  Location at = Locate(operand, depth);
  if (at.scope == VariableScope::kNone) {
    Report(messages::UndefinedVariable() + operand.text);
    return TReturnValue::None();
  }
  // Evaluating the indices never adds or removes a variable, so the slot holds.
  std::optional<ArrayIndex> index = EvaluateIndices(operand, depth);
  TReturnValue value = index ? TableOf(at.scope).ReadSlot(at.slot, operand.name, *index, false)
                             : TReturnValue::None();
  if (value.IsNone()) Report(messages::UndefinedVariable() + operand.text);
  return value;
}

bool TKelCalculation::WriteVariable(const Operand& target, const TReturnValue& value,
                                    int32_t depth) {
  Location at = Locate(target, depth);
  if (at.scope == VariableScope::kNone) {
    Report(messages::NotDeclared() + target.name);
    return false;
  }
  std::optional<ArrayIndex> index = EvaluateIndices(target, depth);
  return index && TableOf(at.scope).WriteSlot(at.slot, target.name, *index, value, false);
}

// An index expression that fails makes the access fail rather than address
// element 0.
std::optional<ArrayIndex> TKelCalculation::EvaluateIndices(const Operand& operand, int32_t depth) {
  ArrayIndex index;
  for (const std::string& text : operand.indices) {
    TReturnValue value = Evaluate(text, depth);
    if (value.IsNone()) return std::nullopt;
    index.at[static_cast<size_t>(index.count++)] = value.integer;
  }
  return index;
}

TKelCalculation::Location TKelCalculation::Locate(std::string_view name, uint32_t hash,
                                                  int32_t depth) const {
  for (VariableScope scope :
       {VariableScope::kLocal, VariableScope::kGlobal, VariableScope::kSystem}) {
    const TValue& table = scope == VariableScope::kLocal    ? local_
                          : scope == VariableScope::kGlobal ? global_
                                                            : system_;
    int32_t slot = table.Find(name, hash, KeyOf(scope, depth));
    if (slot != TValue::kNotFound) return {scope, slot};
  }
  return {};
}

// The tables only ever count their generations up, so their sum changes
// whenever any of them gains or loses a variable.
TKelCalculation::Location TKelCalculation::Locate(const Operand& operand, int32_t depth) const {
  uint64_t generation = system_.Generation() + global_.Generation() + local_.Generation();
  Operand::LookupMemo& memo = operand.memo;
  if (memo.generation == generation && memo.depth == depth) {
    return {static_cast<VariableScope>(memo.scope), memo.slot};
  }
  Location at = Locate(operand.name, operand.hash, depth);
  memo = {generation, depth, static_cast<uint8_t>(at.scope), at.slot};
  return at;
}

TValue& TKelCalculation::TableOf(VariableScope scope) {
  if (scope == VariableScope::kLocal) return local_;
  return scope == VariableScope::kGlobal ? global_ : system_;
}

int32_t TKelCalculation::KeyOf(VariableScope scope, int32_t depth) {
  return scope == VariableScope::kLocal ? depth : 0;
}

VariableScope TKelCalculation::Visibility(std::string_view name, int32_t depth) const {
  return Locate(name, NameHash(name), depth).scope;
}

bool TKelCalculation::AssignInteger(std::string_view reference, int32_t depth, int32_t value) {
  Operand target = ClassifyOperand(reference);
  return target.form == Operand::Form::kVariable &&
         WriteVariable(target, TReturnValue::FromInteger(value), depth);
}

bool TKelCalculation::AssignString(std::string_view reference, int32_t depth,
                                   std::string_view value) {
  Operand target = ClassifyOperand(reference);
  return target.form == Operand::Form::kVariable &&
         WriteVariable(target, TReturnValue::FromString(std::string(value)), depth);
}

bool TKelCalculation::DeclareVariable(VariableScope scope, std::string_view type,
                                      std::string_view reference, int32_t depth) {
  if (scope == VariableScope::kNone) return false;
  TWordBuf words;
  ParseIndexedName(words, reference, kIndexSeparator);
  const std::string& name = words.words[0];
  if (Visibility(name, depth) != VariableScope::kNone) {
    reporter_.Report(messages::AlreadyDeclared() + name);
    return false;
  }
  bool isInteger = base::EqualsIgnoreCase(type, kIntegerType);
  bool isObject = !isInteger && !base::EqualsIgnoreCase(type, kStringType);
  if (isObject && scope == VariableScope::kSystem) return false;
  std::vector<int32_t> sizes;
  for (int i = 1; i < words.count && sizes.size() < ArrayIndex::kMaxIndices; ++i) {
    sizes.push_back(Evaluate(words.words[static_cast<size_t>(i)], depth).integer);
  }
  VariableSpec spec;
  spec.name = name;
  spec.kindName = isObject ? type : std::string_view();
  spec.attributes = isObject ? kObjectVariableRights : kValueVariableRights;
  spec.valueKind = isObject    ? ValueKind::kObjectName
                   : isInteger ? ValueKind::kInteger
                               : ValueKind::kString;
  spec.key = KeyOf(scope, depth);
  spec.sizes = sizes;
  return TableOf(scope).Declare(spec);
}

bool TKelCalculation::DeleteVariable(std::string_view name, int32_t depth) {
  std::string plain = NamePart(name);
  Location at = Locate(plain, NameHash(plain), depth);
  if (at.scope == VariableScope::kNone) return false;
  return TableOf(at.scope).Delete(plain, KeyOf(at.scope, depth), false);
}

void TKelCalculation::ResetTables() {
  global_.Clear();
  local_.Clear();
}

}  // namespace mavu::script
