#include "script/values/expression_compiler.h"

#include <algorithm>
#include <iterator>
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

bool IsOperatorChar(char c) {
  return kOperatorChars.find(c) != std::string_view::npos;
}

bool IsPair(char first, char second) {
  const char pair[2] = {first, second};
  return std::find(kOperatorPairs.begin(), kOperatorPairs.end(), std::string_view(pair, 2)) !=
         kOperatorPairs.end();
}

// A token of the tokeniser, or a group of tokens already bound into postfix
// order.
struct Token {
  enum class Type : uint8_t { kOperand, kOperator, kGroup };

  Type type = Type::kOperand;
  std::string text;
  std::optional<Operator> op;      // Operator: the operator it spells, if any ("!" spells none)
  std::vector<PostfixItem> items;  // Group
};

Token OperandToken(std::string_view text) {
  return {Token::Type::kOperand, std::string(text), {}, {}};
}

Token OperatorToken(std::string_view text) {
  return {Token::Type::kOperator, std::string(text), OperatorFromText(text), {}};
}

class Compiler {
 public:
  CompiledExpression Compile(std::string_view text) {
    std::vector<PostfixItem> postfix;
    if (Rewrite(text, 0, postfix)) result_.postfix = std::move(postfix);
    return std::move(result_);
  }

 private:
  bool Rewrite(std::string_view text, int depth, std::vector<PostfixItem>& out);
  bool Tokenise(std::string_view text, std::vector<Token>& tokens);
  bool BindLevel(std::vector<Token>& tokens, int level, int depth);
  bool Emit(Token& token, int depth, std::vector<PostfixItem>& out);
  void EmitPieces(std::string_view text, std::vector<PostfixItem>& out);

  bool Fail(const std::string& message) {
    result_.failure = message;
    return false;
  }

  CompiledExpression result_;
};

// Tokenises, binds level by level and puts the remaining tokens out in order.
bool Compiler::Rewrite(std::string_view text, int depth, std::vector<PostfixItem>& out) {
  if (depth > kMaxBracketNesting) return Fail(messages::CalculationError());
  std::vector<Token> tokens;
  if (!Tokenise(text, tokens)) return false;
  for (int level = kFirstOperatorLevel; level <= kLastOperatorLevel; ++level) {
    if (!BindLevel(tokens, level, depth)) return false;
  }
  for (Token& token : tokens) {
    if (!Emit(token, depth, out)) return false;
  }
  return true;
}

// Walks the text a character at a time. Brackets and quotes raise a nesting
// counter; only outside them are blanks dropped and operators recognised, so a
// bracketed group or a quoted string stays inside its operand token.
bool Compiler::Tokenise(std::string_view text, std::vector<Token>& tokens) {
  std::string current;
  bool expectOperand = true;
  bool quoted = false;
  int nesting = 0;
  auto flush = [&] {
    if (!current.empty()) tokens.push_back(OperandToken(current));
    current.clear();
  };
  for (size_t pos = 0; pos < text.size();) {
    size_t length = base::CharLength(text, pos);
    char c = text[pos];
    if (length == 2 || quoted || nesting != 0 || !(IsBlankOrControl(c) || IsOperatorChar(c))) {
      if (length == 1 && c == kQuote) {
        quoted = !quoted;
        nesting += quoted ? 1 : -1;
      } else if (length == 1 && !quoted && (c == '(' || c == '[')) {
        ++nesting;
      } else if (length == 1 && !quoted && (c == ')' || c == ']')) {
        --nesting;
      }
      current.append(text.substr(pos, length));
      expectOperand = false;
      pos += length;
      continue;
    }
    pos += 1;
    if (IsBlankOrControl(c)) continue;
    flush();
    char next = pos < text.size() ? text[pos] : '\0';
    if (expectOperand && c == '+') continue;  // unary plus
    if (expectOperand && c == '-') {
      tokens.push_back(OperandToken(kMinusOne));
      tokens.push_back(OperatorToken(kTimes));
      continue;
    }
    if (!expectOperand && (c == '+' || c == '-') && next == c) {
      // x++ assigns x=x+1 at once; the operand stays and is read afterwards.
      const std::string& target = tokens.back().text;
      result_.nested.push_back(target + "=" + target + (c == '+' ? "+1" : "-1"));
      pos += 1;
      continue;
    }
    bool pair = IsPair(c, next);
    tokens.push_back(OperatorToken(text.substr(pos - 1, pair ? 2 : 1)));
    pos += pair ? 1 : 0;
    expectOperand = true;
  }
  flush();
  if (nesting != 0 || quoted) return Fail(messages::Unbalanced());
  return true;
}

// Binds the operators of one level from left to right: left, operator and
// right become one group "left right operator". An operator is bound only
// with a token on either side.
bool Compiler::BindLevel(std::vector<Token>& tokens, int level, int depth) {
  std::vector<Token> bound;
  bound.reserve(tokens.size());
  for (size_t i = 0; i < tokens.size(); ++i) {
    Token& token = tokens[i];
    bool binds = token.type == Token::Type::kOperator && token.op &&
                 OperatorLevel(*token.op) == level && !bound.empty() && i + 1 < tokens.size();
    if (!binds) {
      bound.push_back(std::move(token));
      continue;
    }
    Token group{Token::Type::kGroup, {}, {}, {}};
    if (!Emit(bound.back(), depth, group.items)) return false;
    if (!Emit(tokens[i + 1], depth, group.items)) return false;
    group.items.push_back({true, *token.op, 0});
    bound.back() = std::move(group);
    ++i;
  }
  tokens = std::move(bound);
  return true;
}

// Puts a token out in postfix order. A bracketed operand is compiled from its
// content; any other operand is split at semicolons outside quotes, as the
// postfix text it would be part of.
bool Compiler::Emit(Token& token, int depth, std::vector<PostfixItem>& out) {
  if (token.type == Token::Type::kGroup) {
    if (out.empty()) {
      out = std::move(token.items);
    } else {
      out.insert(out.end(), std::make_move_iterator(token.items.begin()),
                 std::make_move_iterator(token.items.end()));
    }
    return true;
  }
  if (token.type == Token::Type::kOperand && !token.text.empty() && token.text.front() == '(') {
    return Rewrite(BracketContent(token.text), depth + 1, out);
  }
  EmitPieces(token.text, out);
  return true;
}

void Compiler::EmitPieces(std::string_view text, std::vector<PostfixItem>& out) {
  auto emit = [&](std::string_view piece) {
    if (piece.empty()) return;
    if (std::optional<Operator> op = OperatorFromText(piece)) {
      out.push_back({true, *op, 0});
      return;
    }
    out.push_back({false, Operator::kAssign, static_cast<int32_t>(result_.operands.size())});
    result_.operands.push_back(ClassifyOperand(piece));
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

}  // namespace

CompiledExpression CompileExpression(std::string_view text) {
  return Compiler().Compile(text);
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
