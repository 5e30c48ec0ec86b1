// SPDX-License-Identifier: MIT
#include "language/pascal_expression.h"

#include "model/texts.h"

#include <algorithm>

namespace {

bool IsRelational(const TPascalToken& t) {
  if (t.Kind == TPascalTokenKind::Keyword)
    return t.IsKeyword("in") || t.IsKeyword("is");
  return t.IsSymbol("=") || t.IsSymbol("<>") || t.IsSymbol("<") || t.IsSymbol(">") ||
         t.IsSymbol("<=") || t.IsSymbol(">=");
}

bool IsAdding(const TPascalToken& t) {
  return t.IsSymbol("+") || t.IsSymbol("-") || t.IsKeyword("or") || t.IsKeyword("xor");
}

bool IsMultiplying(const TPascalToken& t) {
  if (t.IsSymbol("*") || t.IsSymbol("/"))
    return true;
  if (t.Kind == TPascalTokenKind::Identifier)
    return TPascalToken::Equals(t.Word, "as");
  return t.IsKeyword("div") || t.IsKeyword("mod") || t.IsKeyword("and") || t.IsKeyword("shl") ||
         t.IsKeyword("shr");
}

TExprOp CodeOf(const std::string& op) {
  static const struct {
    const char* Text;
    TExprOp Code;
  } kCodes[] = {{"=", TExprOp::Eq},     {"<>", TExprOp::Ne},   {"<", TExprOp::Lt},
                {">", TExprOp::Gt},     {"<=", TExprOp::Le},   {">=", TExprOp::Ge},
                {"in", TExprOp::In},    {"is", TExprOp::Is},   {"+", TExprOp::Plus},
                {"-", TExprOp::Minus},  {"*", TExprOp::Times}, {"/", TExprOp::Slash},
                {"div", TExprOp::Div},  {"mod", TExprOp::Mod}, {"shl", TExprOp::Shl},
                {"shr", TExprOp::Shr},  {"and", TExprOp::And}, {"or", TExprOp::Or},
                {"xor", TExprOp::Xor},  {"not", TExprOp::Not}};
  for (const auto& c : kCodes)
    if (TPascalToken::Equals(op, c.Text))
      return c.Code;
  return TExprOp::Other;
}

std::string OperatorOf(const TPascalToken& t) {
  return t.Kind == TPascalTokenKind::Symbol ? t.Text : t.Word;
}

// Counts one level of nesting for as long as it lives.
class TNestingGuard {
public:
  TNestingGuard(int& nesting, const TPascalToken& at) : nesting_(nesting) {
    if (++nesting_ > kMaxExpressionNesting)
      throw TPascalSyntaxError(at.Line, at.Column,
                               Tr("Pascal-Import", "Ausdruck zu tief verschachtelt"));
  }
  ~TNestingGuard() { --nesting_; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;

private:
  int& nesting_;
};

} // namespace

void TExpressionParser::Fail(const std::string& message) const {
  throw TPascalSyntaxError(Cur().Line, Cur().Column, message);
}

void TExpressionParser::Expect(const char* symbol) {
  if (!Cur().IsSymbol(symbol))
    Fail(Format(Tr("Pascal-Import", "'%1' erwartet"), {symbol}));
  ++pos_;
}

int TExpressionParser::Add(TExprKind kind, std::string op, std::size_t first,
                           TChildList children, std::string text) {
  if (!tree_)
    return -1;
  int depth = 1;
  for (int child : children)
    depth = std::max(depth, (*tree_)[child].Depth + 1);
  TExprNode& node = tree_->Nodes.emplace_back(
      TExprNode{kind, std::move(op), std::move(text), first, pos_ > first ? pos_ - 1 : first,
                std::move(children)});
  node.Depth = depth;
  if (kind == TExprKind::Unary || kind == TExprKind::Binary)
    node.Code = CodeOf(node.Op);
  return static_cast<int>(tree_->Nodes.size()) - 1;
}

int TExpressionParser::Expression() {
  const std::size_t first = pos_;
  int left = Simple();
  if (IsRelational(Cur())) {
    const std::string op = OperatorOf(Cur());
    ++pos_;
    const int right = Simple();
    left = Add(TExprKind::Binary, op, first, {left, right});
  }
  return left;
}

int TExpressionParser::Simple() {
  const std::size_t first = pos_;
  int left = Term();
  while (IsAdding(Cur())) {
    const std::string op = OperatorOf(Cur());
    ++pos_;
    const int right = Term();
    left = Add(TExprKind::Binary, op, first, {left, right});
  }
  return left;
}

int TExpressionParser::Term() {
  const std::size_t first = pos_;
  int left = Factor();
  while (IsMultiplying(Cur())) {
    const std::string op = OperatorOf(Cur());
    ++pos_;
    const int right = Factor();
    left = Add(TExprKind::Binary, op, first, {left, right});
  }
  return left;
}

int TExpressionParser::Factor() {
  TNestingGuard guard(nesting_, Cur());
  const std::size_t first = pos_;
  const TPascalToken& t = Cur();
  if (t.IsSymbol("-") || t.IsSymbol("+") || t.IsSymbol("@") || t.IsKeyword("not")) {
    const std::string op = OperatorOf(t);
    ++pos_;
    const int operand = Factor();
    return Add(TExprKind::Unary, op, first, {operand});
  }
  return Primary();
}

int TExpressionParser::Primary() {
  const std::size_t first = pos_;
  const TPascalToken& t = Cur();
  switch (t.Kind) {
  case TPascalTokenKind::Integer:
    ++pos_;
    return Add(TExprKind::Integer, t.Word, first, {}, t.Text);
  case TPascalTokenKind::Real:
    ++pos_;
    return Add(TExprKind::Real, t.Word, first, {}, t.Text);
  case TPascalTokenKind::String:
    ++pos_;
    return Postfix(Add(TExprKind::String, "", first, {}, t.Value), first);
  case TPascalTokenKind::Identifier:
    ++pos_;
    return Postfix(Add(TExprKind::Name, t.Word, first, {}, t.Text), first);
  default:
    break;
  }
  if (t.IsKeyword("nil")) {
    ++pos_;
    return Add(TExprKind::Nil, "nil", first, {});
  }
  if (t.IsKeyword("inherited")) {
    ++pos_;
    TChildList children;
    if (Cur().Kind == TPascalTokenKind::Identifier) {
      const std::size_t at = pos_++;
      children.push_back(Add(TExprKind::Name, tokens_[at].Word, at, {}, tokens_[at].Text));
    }
    return Postfix(Add(TExprKind::Inherited, "inherited", first, children), first);
  }
  if (t.IsSymbol("(")) {
    ++pos_;
    const int inner = Expression();
    Expect(")");
    return Postfix(Add(TExprKind::Paren, "()", first, {inner}), first);
  }
  if (t.IsSymbol("[")) {
    ++pos_;
    TChildList items;
    if (!Cur().IsSymbol("]")) {
      while (true) {
        const std::size_t itemFirst = pos_;
        int item = Expression();
        if (Cur().IsSymbol("..")) {
          ++pos_;
          const int to = Expression();
          item = Add(TExprKind::Range, "..", itemFirst, {item, to});
        }
        items.push_back(item);
        if (!Cur().IsSymbol(","))
          break;
        ++pos_;
      }
    }
    Expect("]");
    return Add(TExprKind::Set, "[]", first, items);
  }
  Fail(Tr("Pascal-Import", "Ausdruck erwartet"));
}

// Selectors after a name: fields, indexes, dereferences and argument lists, any number of them.
int TExpressionParser::Postfix(int node, std::size_t first) {
  while (true) {
    if (Cur().IsSymbol(".") && tokens_[pos_ + 1].Kind == TPascalTokenKind::Identifier) {
      pos_ += 2;
      node = Add(TExprKind::Field, tokens_[pos_ - 1].Word, first, {node});
    } else if (Cur().IsSymbol("^")) {
      ++pos_;
      node = Add(TExprKind::Deref, "^", first, {node});
    } else if (Cur().IsSymbol("[")) {
      TNestingGuard guard(nesting_, Cur());
      ++pos_;
      TChildList children{node};
      do {
        children.push_back(Expression());
      } while (Cur().IsSymbol(",") && ++pos_);
      Expect("]");
      node = Add(TExprKind::Index, "[]", first, children);
    } else if (Cur().IsSymbol("(")) {
      TNestingGuard guard(nesting_, Cur());
      ++pos_;
      TChildList children{node};
      if (!Cur().IsSymbol(")")) {
        do {
          children.push_back(Argument());
        } while (Cur().IsSymbol(",") && ++pos_);
      }
      Expect(")");
      node = Add(TExprKind::Call, "()", first, children);
    } else {
      return node;
    }
  }
}

// A call argument; write and str take a field width and decimals after colons.
int TExpressionParser::Argument() {
  const std::size_t first = pos_;
  const int value = Expression();
  if (!Cur().IsSymbol(":"))
    return value;
  TChildList children{value};
  for (int i = 0; i < 2 && Cur().IsSymbol(":"); ++i) {
    ++pos_;
    children.push_back(Expression());
  }
  return Add(TExprKind::Formatted, ":", first, children);
}

int TExpressionParser::SimpleStatement() {
  const std::size_t first = pos_;
  const TPascalToken& t = Cur();
  if (t.Kind != TPascalTokenKind::Identifier && !t.IsKeyword("inherited") && !t.IsSymbol("(") &&
      !t.IsSymbol("@"))
    Fail(Tr("Pascal-Import", "Anweisung erwartet"));
  const int target = Factor();
  for (const char* op : {":=", "+=", "-=", "*=", "/="}) {
    if (Cur().IsSymbol(op)) {
      ++pos_;
      const int value = Expression();
      return Add(TExprKind::Assign, op, first, {target, value});
    }
  }
  return target;
}
