#include "script/values/expression_compiler.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <utility>

#include "base/cp932.h"
#include "script/reader/script_text.h"
#include "script/reader/word_buf.h"
#include "script/values/script_number.h"
#include "script/values/value.h"
#include "script/values/value_messages.h"

namespace mavu::script {
namespace {

constexpr std::string_view kOperatorChars = "!%&*+-/<=>^|";
constexpr std::array<std::string_view, 8> kOperatorPairs = {"==", "!=", "<<", ">>",
                                                            "<=", ">=", "&&", "||"};
constexpr char kQuote = '"';
constexpr char kPostfixSeparator = ';';
constexpr char kIndexSeparator = ',';
// A negation is a multiplication by this operand.
constexpr std::string_view kMinusOne = "-1";
constexpr std::string_view kTimes = "*";
// What compiling may copy besides the text (bracket contents that differ from
// their text, increment assignments): this many times the text, and a little.
constexpr size_t kCopiesPerTextByte = 2;
constexpr size_t kCopiesFloor = 64 * 1024;

bool IsOperatorChar(char c) {
  return kOperatorChars.find(c) != std::string_view::npos;
}

bool IsPair(char first, char second) {
  const char pair[2] = {first, second};
  return std::find(kOperatorPairs.begin(), kOperatorPairs.end(), std::string_view(pair, 2)) !=
         kOperatorPairs.end();
}

// Quotes and brackets as the tokeniser counts them: only outside both are
// blanks dropped and operators recognised, and a text must end outside both.
class Nesting {
 public:
  bool Outside() const { return depth_ == 0 && !quoted_; }
  // Takes a character that belongs to an operand token.
  void Take(char c, size_t length) {
    if (length != 1) return;
    if (c == kQuote) {
      quoted_ = !quoted_;
      depth_ += quoted_ ? 1 : -1;
    } else if (!quoted_ && (c == '(' || c == '[')) {
      ++depth_;
    } else if (!quoted_ && (c == ')' || c == ']')) {
      --depth_;
    }
  }

 private:
  int depth_ = 0;
  bool quoted_ = false;
};

bool IsDroppedBlank(std::string_view text, size_t pos, size_t length, const Nesting& nesting) {
  return length == 1 && nesting.Outside() && IsBlankOrControl(text[pos]);
}

// Postfix items of bound groups, chained, so that binding joins two groups in
// constant time whatever their length.
struct Link {
  PostfixItem item;
  int32_t next = -1;
};

struct Chain {
  int32_t head = -1;
  int32_t tail = -1;
};

// A token of the tokeniser, or a group of tokens already bound into postfix
// order. Operands and operators are spans of their level's text (an operand
// that had blanks dropped inside it is spelt again when it is used), so a
// token costs a few bytes whatever its length.
struct Token {
  enum class Type : uint8_t { kOperand, kOperator, kGroup };

  Type type = Type::kOperand;
  std::optional<Operator> op;  // kOperator: the operator it spells, if any ("!" spells none)
  bool spaced = false;         // kOperand: blanks were dropped inside it
  // The span of the text from `first` to `last` (-1 for the "-1" and "*" of a
  // negation, which are not in the text); for a group, its chain.
  int32_t first = kNotInText;
  int32_t last = kNotInText;

  static constexpr int32_t kNotInText = -1;
};

// Deques: growing never copies what is there, and leaves little unused room.
using Tokens = std::deque<Token>;

Token SpanToken(Token::Type type, size_t first, size_t last) {
  return {type, {}, false, static_cast<int32_t>(first), static_cast<int32_t>(last)};
}

// The "*" that follows the "-1" of a negation.
Token NegationTimes() {
  Token token;
  token.type = Token::Type::kOperator;
  token.op = OperatorFromText(kTimes);
  return token;
}

Token OperatorToken(std::string_view text, size_t first) {
  Token token = SpanToken(Token::Type::kOperator, first, first + text.size());
  token.op = OperatorFromText(text);
  return token;
}

class Compiler {
 public:
  explicit Compiler(size_t textSize) : copyBudget_(kCopiesPerTextByte * textSize + kCopiesFloor) {}

  CompiledExpression Compile(std::string_view text) {
    Chain postfix;
    if (Rewrite(text, 0, postfix)) Collect(postfix);
    return std::move(result_);
  }

 private:
  bool Rewrite(std::string_view text, int depth, Chain& out);
  bool Tokenise(std::string_view text, Tokens& tokens);
  bool AddIncrement(std::string_view target, char sign);
  bool BindLevel(Tokens& tokens, std::string_view text, int level, int depth);
  bool Emit(const Token& token, std::string_view text, int depth, Chain& out);
  bool RewriteBracket(std::string_view operand, int depth, Chain& out);
  void EmitPieces(std::string_view text, Chain& out);
  void Append(Chain& chain, PostfixItem item);
  void Append(Chain& chain, Chain tail);
  int32_t OperandNumber(std::string_view piece);
  void Collect(Chain chain);
  bool Spend(size_t bytes);

  bool Fail(const std::string& message) {
    result_.failure = message;
    return false;
  }

  CompiledExpression result_;
  std::deque<Link> links_;
  std::unordered_map<std::string, int32_t> operandNumbers_;
  size_t copyBudget_;
};

// The operand as the tokeniser collected it: its span without the blanks it
// dropped.
std::string_view Spelling(const Token& token, std::string_view text, std::string& storage) {
  if (token.first == Token::kNotInText) {
    return token.type == Token::Type::kOperand ? kMinusOne : kTimes;
  }
  std::string_view span =
      text.substr(static_cast<size_t>(token.first), static_cast<size_t>(token.last - token.first));
  if (!token.spaced) return span;
  storage.clear();
  Nesting nesting;
  for (size_t pos = 0; pos < span.size();) {
    const size_t length = base::CharLength(span, pos);
    if (!IsDroppedBlank(span, pos, length, nesting)) {
      nesting.Take(span[pos], length);
      storage.append(span.substr(pos, length));
    }
    pos += length;
  }
  return storage;
}

bool Compiler::Spend(size_t bytes) {
  if (bytes > copyBudget_) return Fail(messages::CalculationError());
  copyBudget_ -= bytes;
  return true;
}

// Tokenises, binds level by level and puts the remaining tokens out in order.
bool Compiler::Rewrite(std::string_view text, int depth, Chain& out) {
  if (depth > kMaxBracketNesting) return Fail(messages::CalculationError());
  Tokens tokens;
  if (!Tokenise(text, tokens)) return false;
  for (int level = kFirstOperatorLevel; level <= kLastOperatorLevel; ++level) {
    if (!BindLevel(tokens, text, level, depth)) return false;
  }
  for (const Token& token : tokens) {
    if (!Emit(token, text, depth, out)) return false;
  }
  return true;
}

// Walks the text a character at a time. Brackets and quotes raise a nesting
// counter; only outside them are blanks dropped and operators recognised, so a
// bracketed group or a quoted string stays inside its operand token.
bool Compiler::Tokenise(std::string_view text, Tokens& tokens) {
  std::optional<Token> current;
  bool blankInside = false;
  bool expectOperand = true;
  Nesting nesting;
  auto flush = [&] {
    if (current) tokens.push_back(*current);
    current.reset();
    blankInside = false;
  };
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = base::CharLength(text, pos);
    const char c = text[pos];
    if (!nesting.Outside() || length == 2 || !(IsBlankOrControl(c) || IsOperatorChar(c))) {
      nesting.Take(c, length);
      if (!current) current = SpanToken(Token::Type::kOperand, pos, pos);
      current->spaced = current->spaced || blankInside;
      current->last = static_cast<int32_t>(pos + length);
      expectOperand = false;
      pos += length;
      continue;
    }
    pos += 1;
    if (IsBlankOrControl(c)) {
      blankInside = current.has_value();
      continue;
    }
    flush();
    const char next = pos < text.size() ? text[pos] : '\0';
    if (expectOperand && c == '+') continue;  // unary plus
    if (expectOperand && c == '-') {
      tokens.push_back(Token{});  // "-1"
      tokens.push_back(NegationTimes());
      continue;
    }
    if (!expectOperand && (c == '+' || c == '-') && next == c) {
      // x++ assigns x=x+1 at once; the operand stays and is read afterwards.
      std::string storage;
      if (!AddIncrement(Spelling(tokens.back(), text, storage), c)) return false;
      pos += 1;
      continue;
    }
    const bool pair = IsPair(c, next);
    tokens.push_back(OperatorToken(text.substr(pos - 1, pair ? 2 : 1), pos - 1));
    pos += pair ? 1 : 0;
    expectOperand = true;
  }
  flush();
  if (!nesting.Outside()) return Fail(messages::Unbalanced());
  return true;
}

bool Compiler::AddIncrement(std::string_view target, char sign) {
  if (!Spend(2 * target.size())) return false;
  std::string assignment(target);
  assignment.append("=").append(target).append(sign == '+' ? "+1" : "-1");
  result_.nested.push_back(std::move(assignment));
  return true;
}

// Binds the operators of one level from left to right: left, operator and
// right become one group "left right operator". An operator is bound only
// with a token on either side.
bool Compiler::BindLevel(Tokens& tokens, std::string_view text, int level, int depth) {
  size_t kept = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token token = tokens[i];
    const bool binds = token.type == Token::Type::kOperator && token.op &&
                       OperatorLevel(*token.op) == level && kept > 0 && i + 1 < tokens.size();
    if (!binds) {
      tokens[kept++] = token;
      continue;
    }
    Chain group;
    if (!Emit(tokens[kept - 1], text, depth, group)) return false;
    if (!Emit(tokens[i + 1], text, depth, group)) return false;
    Append(group, {true, *token.op, 0});
    tokens[kept - 1] = {Token::Type::kGroup, {}, false, group.head, group.tail};
    ++i;
  }
  tokens.resize(kept);
  return true;
}

// Puts a token out in postfix order. A bracketed operand is compiled from its
// content; any other operand is split at semicolons outside quotes, as the
// postfix text it would be part of.
bool Compiler::Emit(const Token& token, std::string_view text, int depth, Chain& out) {
  if (token.type == Token::Type::kGroup) {
    Append(out, Chain{token.first, token.last});
    return true;
  }
  std::string storage;
  const std::string_view spelling = Spelling(token, text, storage);
  if (token.type == Token::Type::kOperand && spelling.starts_with('(')) {
    return RewriteBracket(spelling, depth, out);
  }
  EmitPieces(spelling, out);
  return true;
}

// The content is compiled in place where it is the operand's own text, as in
// nested brackets without blanks; a copy is made only where blanks went.
bool Compiler::RewriteBracket(std::string_view operand, int depth, Chain& out) {
  std::string storage;
  const std::string_view content = BracketContentView(operand, storage);
  return Spend(storage.size()) && Rewrite(content, depth + 1, out);
}

void Compiler::EmitPieces(std::string_view text, Chain& out) {
  auto emit = [&](std::string_view piece) {
    if (piece.empty()) return;
    if (std::optional<Operator> op = OperatorFromText(piece)) {
      Append(out, {true, *op, 0});
      return;
    }
    Append(out, {false, Operator::kAssign, OperandNumber(piece)});
  };
  bool quoted = false;
  size_t start = 0;
  for (size_t pos = 0; pos < text.size(); pos += base::CharLength(text, pos)) {
    if (text[pos] == kQuote) quoted = !quoted;
    if (text[pos] == kPostfixSeparator && !quoted) {
      emit(text.substr(start, pos - start));
      start = pos + 1;
    }
  }
  emit(text.substr(start));
}

// Operands of the same text are classified once and share one number.
int32_t Compiler::OperandNumber(std::string_view piece) {
  const auto next = static_cast<int32_t>(result_.operands.size());
  const auto [entry, added] = operandNumbers_.try_emplace(std::string(piece), next);
  if (added) result_.operands.push_back(ClassifyOperand(piece));
  return entry->second;
}

void Compiler::Append(Chain& chain, PostfixItem item) {
  links_.push_back({item, -1});
  const auto link = static_cast<int32_t>(links_.size() - 1);
  Append(chain, Chain{link, link});
}

void Compiler::Append(Chain& chain, Chain tail) {
  if (chain.head < 0) {
    chain = tail;
    return;
  }
  links_[static_cast<size_t>(chain.tail)].next = tail.head;
  chain.tail = tail.tail;
}

void Compiler::Collect(Chain chain) {
  result_.postfix.reserve(links_.size());  // every link is in the chain
  for (int32_t link = chain.head; link >= 0; link = links_[static_cast<size_t>(link)].next) {
    result_.postfix.push_back(links_[static_cast<size_t>(link)].item);
  }
}

}  // namespace

CompiledExpression CompileExpression(std::string_view text) {
  return Compiler(text.size()).Compile(text);
}

Operand ClassifyOperand(std::string_view token) {
  Operand operand;
  operand.text = std::string(token);
  if (!token.empty() && token.front() == kQuote) {
    operand.form = Operand::Form::kLiteral;
    operand.literal = TReturnValue::FromString(BracketContent(token));
    return operand;
  }
  if (std::optional<int64_t> number = ParseInteger64(token)) {
    operand.form = Operand::Form::kLiteral;
    operand.literal = TReturnValue::FromInteger(FitInteger32(*number));
    return operand;
  }
  TWordBuf words;
  ParseIndexedName(words, token, kIndexSeparator);
  operand.name = words.words[0];
  operand.hash = NameHash(operand.name);
  int indices = std::min<int>(words.count - 1, ArrayIndex::kMaxIndices);
  for (int i = 1; i <= indices; ++i) operand.indices.push_back(words.words[i]);
  return operand;
}

}  // namespace mavu::script
