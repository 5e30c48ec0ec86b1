// SPDX-License-Identifier: MIT
#include "language/program_texts.h"

#include "model/element_order.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {

const char* const kProcedures[] = {"write", "writeln", "read",  "readln",   "inc",
                                   "dec",   "halt",    "break", "randomize"};
const char* const kFunctions[] = {"abs",    "sqr",    "sqrt", "odd",  "trunc",  "round", "ord",
                                  "chr",    "length", "succ", "pred", "random", "sin",   "cos",
                                  "arctan", "exp",    "ln",   "copy", "pos"};

bool IsEnd(const std::vector<TPascalToken>& tokens, std::size_t pos) {
  return tokens[pos].Kind == TPascalTokenKind::End;
}

bool ShallowEnough(const TParsedText& parsed) {
  for (const TExprNode& node : parsed.Tree.Nodes)
    if (node.Depth > kMaxTranslatedDepth)
      return false;
  return true;
}

// Parses one whole text as an expression into tree; -1 when it is not one.
int ParseExpressionInto(const std::string& text, TExprTree& tree) {
  const TPascalTokens tokens = TokenizePascal(text);
  tree.Nodes.reserve(tree.Nodes.size() + tokens.Tokens.size());
  std::size_t pos = 0;
  const int node = TExpressionParser(tokens.Tokens, pos, &tree).Expression();
  return IsEnd(tokens.Tokens, pos) ? node : -1;
}

// The counting-loop text cut into variable, start and end as the Pascal export cuts it: the
// variable up to the first space, the start from 4 bytes later up to the next space, the end
// from 5 bytes after that (" := " and " bis " of the dialog's text).
void SplitLikeTheExport(const std::string& text, std::string& variable, std::string& from,
                        std::string& to) {
  const std::size_t len = text.size();
  auto upToSpace = [&](std::size_t start, std::size_t& space) {
    if (start >= len) {
      space = len;
      return std::string();
    }
    space = std::min(text.find(' ', start), len);
    return text.substr(start, space - start);
  };
  std::size_t p = 0, q = 0;
  variable = upToSpace(0, p);
  from = upToSpace(p + 4, q);
  to = q + 5 < len ? text.substr(q + 5) : std::string();
}

enum class TRole { Value, Callee, Other };

TValueType Numeric(TValueType a, TValueType b) {
  if (a == TValueType::Real || b == TValueType::Real)
    return TValueType::Real;
  const bool aInt = a == TValueType::Integer || a == TValueType::Unknown;
  const bool bInt = b == TValueType::Integer || b == TValueType::Unknown;
  if (aInt && bInt && (a == TValueType::Integer || b == TValueType::Integer))
    return TValueType::Integer;
  return TValueType::Unknown;
}

// What the texts say about one variable's type; strong evidence beats weak evidence, and within
// each a string beats a boolean, a boolean a real, a real an integer.
struct TEvidence {
  unsigned Strong = 0; // bits 1 << TValueType
  unsigned Weak = 0;

  static unsigned Bit(TValueType t) { return 1u << static_cast<unsigned>(t); }
  TValueType Resolve() const {
    for (unsigned set : {Strong, Weak})
      for (TValueType t :
           {TValueType::String, TValueType::Boolean, TValueType::Real, TValueType::Integer})
        if (set & Bit(t))
          return t;
    return TValueType::Integer;
  }
};

} // namespace

bool IsKnownProcedure(const std::string& lowerName) {
  static const std::unordered_set<std::string> known(std::begin(kProcedures),
                                                     std::end(kProcedures));
  return known.count(lowerName) > 0;
}

bool IsKnownFunction(const std::string& lowerName) {
  static const std::unordered_set<std::string> known(std::begin(kFunctions), std::end(kFunctions));
  return known.count(lowerName) > 0;
}

TParsedText ParseStatementText(const std::string& text) {
  TParsedText parsed;
  try {
    const TPascalTokens tokens = TokenizePascal(text);
    const std::vector<TPascalToken>& t = tokens.Tokens;
    parsed.Tree.Nodes.reserve(t.size()); // about a node per token
    std::size_t pos = 0;
    TExpressionParser parser(t, pos, &parsed.Tree);
    while (!IsEnd(t, pos)) {
      if (t[pos].IsSymbol(";")) {
        ++pos;
        continue;
      }
      parsed.Statements.push_back(parser.SimpleStatement());
      if (!IsEnd(t, pos) && !t[pos].IsSymbol(";"))
        return TParsedText();
    }
  } catch (const TPascalSyntaxError&) {
    return TParsedText();
  }
  parsed.Valid = ShallowEnough(parsed);
  if (!parsed.Valid)
    return TParsedText();
  return parsed;
}

TParsedText ParseConditionText(const std::string& text) {
  TParsedText parsed;
  try {
    parsed.Condition = ParseExpressionInto(text, parsed.Tree);
  } catch (const TPascalSyntaxError&) {
    return TParsedText();
  }
  parsed.Valid = parsed.Condition >= 0 && ShallowEnough(parsed);
  if (!parsed.Valid)
    return TParsedText();
  return parsed;
}

TParsedText ParseCountingLoopText(const std::string& text) {
  TParsedText parsed;
  std::string variable, from, to;
  SplitLikeTheExport(text, variable, from, to);
  try {
    parsed.LoopVariable = ParseExpressionInto(variable, parsed.Tree);
    parsed.LoopFrom = ParseExpressionInto(from, parsed.Tree);
    parsed.LoopTo = ParseExpressionInto(to, parsed.Tree);
  } catch (const TPascalSyntaxError&) {
    return TParsedText();
  }
  parsed.Valid = parsed.LoopVariable >= 0 && parsed.LoopFrom >= 0 && parsed.LoopTo >= 0 &&
                 parsed.Tree[parsed.LoopVariable].Kind == TExprKind::Name && ShallowEnough(parsed);
  if (!parsed.Valid)
    return TParsedText();
  return parsed;
}

namespace {

// Walks the parsed texts of a program and tells variables from other names.
class TAnalysis {
public:
  TAnalysis(const std::vector<const TParsedText*>& texts, const TProgramTexts& program)
      : texts_(texts), program_(program) {
    for (const TParsedText* text : texts_)
      for (const TExprNode& node : text->Tree.Nodes)
        if (node.Kind == TExprKind::Call && text->Tree[node.Children[0]].Kind == TExprKind::Name)
          called_.insert(text->Tree[node.Children[0]].Op);
  }

  // Every variable occurrence, texts in order, in each text from left to right.
  template <class F> void ForEachVariable(F use) const {
    for (const TParsedText* text : texts_)
      for (int root : Roots(*text))
        // A name standing alone as a statement is a procedure call.
        if (text->Tree[root].Kind != TExprKind::Name || text->Condition == root ||
            text->LoopVariable == root || text->LoopFrom == root || text->LoopTo == root)
          VisitNames(text->Tree, root, TRole::Value, use);
  }

  // Evidence for each variable, by its index; names that are no variable have none.
  std::vector<TEvidence> Evidence(std::size_t variables) const {
    std::vector<TEvidence> evidence(variables);
    auto variable = [&](const TExprTree& tree, int node) -> TEvidence* {
      const TExprNode& n = tree[node];
      return n.Kind == TExprKind::Name && n.Variable >= 0 ? &evidence[n.Variable] : nullptr;
    };
    for (const TParsedText* text : texts_) {
      const TExprTree& tree = text->Tree;
      for (int statement : text->Statements) {
        const TExprNode& s = tree[statement];
        if (s.Kind == TExprKind::Assign) {
          const TValueType t = program_.ExpressionType(tree, s.Children[1]);
          if (TEvidence* v = variable(tree, s.Children[0]); v && t != TValueType::Unknown)
            v->Strong |= TEvidence::Bit(t);
        } else if (s.Kind == TExprKind::Call &&
                   (tree[s.Children[0]].Op == "inc" || tree[s.Children[0]].Op == "dec")) {
          if (TEvidence* v = s.Children.size() > 1 ? variable(tree, s.Children[1]) : nullptr)
            v->Strong |= TEvidence::Bit(TValueType::Integer);
        }
      }
      if (text->LoopVariable >= 0)
        if (TEvidence* v = variable(tree, text->LoopVariable))
          v->Strong |= TEvidence::Bit(TValueType::Integer);
      if (text->Condition >= 0)
        MarkLogical(tree, text->Condition, evidence);
      for (const TExprNode& node : tree.Nodes) {
        if (node.Kind == TExprKind::Unary && node.Code == TExprOp::Not) {
          if (TEvidence* v = variable(tree, node.Children[0]))
            v->Weak |= TEvidence::Bit(TValueType::Boolean);
        } else if (node.Kind == TExprKind::Index) {
          // Only strings are indexed; so is what length, copy and pos take.
          if (TEvidence* v = variable(tree, node.Children[0]))
            v->Weak |= TEvidence::Bit(TValueType::String);
        } else if (node.Kind == TExprKind::Call && node.Children.size() > 1) {
          const std::string& f = tree[node.Children[0]].Op;
          const std::size_t last = f == "pos" ? 2 : f == "length" || f == "copy" ? 1 : 0;
          for (std::size_t i = 1; i <= last && i < node.Children.size(); ++i)
            if (TEvidence* v = variable(tree, node.Children[i]))
              v->Weak |= TEvidence::Bit(TValueType::String);
        } else if (node.Kind == TExprKind::Binary && node.Code == TExprOp::Plus) {
          // Joined to a string, it is one.
          for (int side = 0; side < 2; ++side) {
            TEvidence* v = variable(tree, node.Children[side]);
            if (v && program_.ExpressionType(tree, node.Children[1 - side]) == TValueType::String)
              v->Weak |= TEvidence::Bit(TValueType::String);
          }
        } else if (node.Kind == TExprKind::Binary && IsComparisonOp(node.Code)) {
          for (int side = 0; side < 2; ++side) {
            TEvidence* v = variable(tree, node.Children[side]);
            const TValueType other = program_.ExpressionType(tree, node.Children[1 - side]);
            if (v && other != TValueType::Unknown)
              v->Weak |= TEvidence::Bit(other);
          }
        }
      }
    }
    return evidence;
  }

  bool IsVariableName(const std::string& lower) const {
    return lower != "true" && lower != "false" && !IsKnownProcedure(lower) &&
           !IsKnownFunction(lower) && !called_.count(lower);
  }

private:
  static std::vector<int> Roots(const TParsedText& text) {
    std::vector<int> roots = text.Statements;
    for (int root : {text.Condition, text.LoopVariable, text.LoopFrom, text.LoopTo})
      if (root >= 0)
        roots.push_back(root);
    return roots;
  }

  // A condition's names reached through not, and, or, xor and parentheses are booleans.
  void MarkLogical(const TExprTree& tree, int node, std::vector<TEvidence>& evidence) const {
    const TExprNode& n = tree[node];
    if (n.Kind == TExprKind::Name && n.Variable >= 0) {
      evidence[n.Variable].Weak |= TEvidence::Bit(TValueType::Boolean);
    } else if (n.Kind == TExprKind::Paren ||
               (n.Kind == TExprKind::Unary && n.Code == TExprOp::Not) ||
               (n.Kind == TExprKind::Binary &&
                (n.Code == TExprOp::And || n.Code == TExprOp::Or || n.Code == TExprOp::Xor))) {
      for (int child : n.Children)
        MarkLogical(tree, child, evidence);
    }
  }

  template <class F> void VisitNames(const TExprTree& tree, int node, TRole role, F& use) const {
    const TExprNode& n = tree[node];
    switch (n.Kind) {
    case TExprKind::Name:
      if (role == TRole::Value && IsVariableName(n.Op))
        use(n);
      return;
    case TExprKind::Call:
      VisitNames(tree, n.Children[0], TRole::Callee, use);
      for (std::size_t i = 1; i < n.Children.size(); ++i)
        VisitNames(tree, n.Children[i], TRole::Value, use);
      return;
    case TExprKind::Index:
    case TExprKind::Field:
    case TExprKind::Deref:
      VisitNames(tree, n.Children[0], TRole::Other, use);
      for (std::size_t i = 1; i < n.Children.size(); ++i)
        VisitNames(tree, n.Children[i], TRole::Value, use);
      return;
    default:
      for (int child : n.Children)
        VisitNames(tree, child, TRole::Value, use);
    }
  }

  const std::vector<const TParsedText*>& texts_;
  const TProgramTexts& program_;
  std::unordered_set<std::string> called_;
};

} // namespace

TProgramTexts::TProgramTexts(const TBlock& root) {
  // The texts in the order the export writes them: an element, what it owns, its successors.
  // Elements of one kind with the same text share one parse: it cannot differ, and large
  // programs repeat their texts.
  std::unordered_map<std::string_view, uint32_t> seen[3]; // the texts live in the elements
  texts_.emplace_back();                                  // for blocks, which have no text to read
  // Branch blocks are among them too; like every block they have no text.
  const std::vector<const TElement*> order = ElementsInOrder(root);
  index_of_.Reserve(order.size());
  for (auto& kind : seen)
    kind.reserve(order.size());
  for (const TElement* e : order) {
    const int kind = e->Kind() == TKind::Block       ? -1
                     : e->Kind() == TKind::Anweisung ? 0
                     : e->Kind() == TKind::For       ? 1
                                                     : 2;
    if (kind < 0) {
      index_of_.Add(e, 0);
      continue;
    }
    const auto [at, added] =
        seen[kind].try_emplace(std::string_view(e->Text), static_cast<uint32_t>(texts_.size()));
    if (added)
      texts_.push_back(kind == 0   ? ParseStatementText(e->Text)
                       : kind == 1 ? ParseCountingLoopText(e->Text)
                                   : ParseConditionText(e->Text));
    index_of_.Add(e, at->second);
  }
  std::vector<const TParsedText*> ordered;
  ordered.reserve(texts_.size());
  for (const TParsedText& text : texts_)
    ordered.push_back(&text);

  TAnalysis analysis(ordered, *this);
  analysis.ForEachVariable([&](const TExprNode& name) {
    if (index_.try_emplace(name.Op, variables_.size()).second)
      variables_.push_back(
          {name.Text[0] == '&' ? name.Text.substr(1) : name.Text, TValueType::Unknown});
  });
  // Each name looked up once: the type rounds below and every later question about a type go
  // by the variable's index.
  for (TParsedText& parsed : texts_) {
    for (TExprNode& node : parsed.Tree.Nodes) {
      if (node.Kind != TExprKind::Name)
        continue;
      const auto found = index_.find(node.Op);
      node.Variable = found == index_.end() ? -1 : static_cast<int>(found->second);
    }
    parsed.Tree.Resolved = true;
  }
  // Types depend on each other through assignments: settle them by repeating until they stay.
  for (std::size_t round = 0; round <= variables_.size() + 1; ++round) {
    const std::vector<TEvidence> evidence = analysis.Evidence(variables_.size());
    bool changed = false;
    for (std::size_t index = 0; index < variables_.size(); ++index) {
      const TValueType t = evidence[index].Resolve();
      changed = changed || variables_[index].Type != t;
      variables_[index].Type = t;
    }
    if (!changed)
      break;
  }
  // The types stand now: each node's is kept, children before parents as the parser made them.
  for (TParsedText& parsed : texts_) {
    for (std::size_t i = 0; i < parsed.Tree.Nodes.size(); ++i) {
      parsed.Tree.Nodes[i].Type =
          static_cast<uint8_t>(ExpressionType(parsed.Tree, static_cast<int>(i)));
      parsed.Tree.TypedUpTo = static_cast<int>(i) + 1;
    }
  }
}

const TParsedText& TProgramTexts::Of(const TElement& element) const {
  return texts_[index_of_.Find(&element, 0)];
}

TValueType TProgramTexts::TypeOf(const std::string& lowerName) const {
  const auto found = index_.find(lowerName);
  return found == index_.end() ? TValueType::Unknown : variables_[found->second].Type;
}

TValueType TProgramTexts::ExpressionType(const TExprTree& tree, int node) const {
  const TExprNode& n = tree[node];
  if (node < tree.TypedUpTo)
    return static_cast<TValueType>(n.Type);
  auto child = [&](std::size_t i) { return ExpressionType(tree, n.Children[i]); };
  switch (n.Kind) {
  case TExprKind::Integer:
    return TValueType::Integer;
  case TExprKind::Real:
    return TValueType::Real;
  case TExprKind::String:
    return TValueType::String;
  case TExprKind::Name:
    if (tree.Resolved && n.Variable >= 0)
      return variables_[static_cast<std::size_t>(n.Variable)].Type;
    if (n.Op == "true" || n.Op == "false")
      return TValueType::Boolean;
    return n.Op == "random" ? TValueType::Real : tree.Resolved ? TValueType::Unknown : TypeOf(n.Op);
  case TExprKind::Paren:
    return child(0);
  case TExprKind::Unary: {
    const TValueType t = child(0);
    if (n.Code == TExprOp::Not)
      return t == TValueType::Boolean || t == TValueType::Integer ? t : TValueType::Unknown;
    return t == TValueType::Integer || t == TValueType::Real ? t : TValueType::Unknown;
  }
  case TExprKind::Binary: {
    const TValueType a = child(0), b = child(1);
    switch (n.Code) {
    case TExprOp::Eq:
    case TExprOp::Ne:
    case TExprOp::Lt:
    case TExprOp::Gt:
    case TExprOp::Le:
    case TExprOp::Ge:
    case TExprOp::In:
    case TExprOp::Is:
      return TValueType::Boolean;
    case TExprOp::Plus:
      if (a == TValueType::String || b == TValueType::String)
        return TValueType::String;
      return Numeric(a, b);
    case TExprOp::Minus:
    case TExprOp::Times:
      return Numeric(a, b);
    case TExprOp::Slash:
      return TValueType::Real;
    case TExprOp::Div:
    case TExprOp::Mod:
    case TExprOp::Shl:
    case TExprOp::Shr:
      return TValueType::Integer;
    default:
      break;
    }
    if (a == TValueType::Boolean || b == TValueType::Boolean)
      return TValueType::Boolean;
    return a == TValueType::Integer || b == TValueType::Integer ? TValueType::Integer
                                                                : TValueType::Unknown;
  }
  case TExprKind::Call: {
    const std::string& f = tree[n.Children[0]].Op;
    if (tree[n.Children[0]].Kind == TExprKind::Name && (f == "copy" || f == "pos"))
      return f == "copy" ? TValueType::String : TValueType::Integer;
    if (tree[n.Children[0]].Kind != TExprKind::Name || n.Children.size() != 2)
      return TValueType::Unknown;
    if (f == "abs" || f == "sqr" || f == "succ" || f == "pred")
      return child(1);
    if (f == "sqrt" || f == "sin" || f == "cos" || f == "arctan" || f == "exp" || f == "ln")
      return TValueType::Real;
    if (f == "trunc" || f == "round" || f == "ord" || f == "length" || f == "random")
      return TValueType::Integer;
    if (f == "odd")
      return TValueType::Boolean;
    return f == "chr" ? TValueType::String : TValueType::Unknown;
  }
  case TExprKind::Index:
    return n.Children.size() == 2 && child(0) == TValueType::String ? TValueType::String
                                                                    : TValueType::Unknown;
  default:
    return TValueType::Unknown;
  }
}
