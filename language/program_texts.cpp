// SPDX-License-Identifier: MIT
#include "language/program_texts.h"

#include <algorithm>
#include <set>

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
  std::set<TValueType> Strong;
  std::set<TValueType> Weak;

  TValueType Resolve() const {
    for (const std::set<TValueType>* set : {&Strong, &Weak})
      for (TValueType t :
           {TValueType::String, TValueType::Boolean, TValueType::Real, TValueType::Integer})
        if (set->count(t))
          return t;
    return TValueType::Integer;
  }
};

} // namespace

bool IsKnownProcedure(const std::string& lowerName) {
  return std::find_if(std::begin(kProcedures), std::end(kProcedures),
                      [&](const char* p) { return lowerName == p; }) != std::end(kProcedures);
}

bool IsKnownFunction(const std::string& lowerName) {
  return std::find_if(std::begin(kFunctions), std::end(kFunctions),
                      [&](const char* f) { return lowerName == f; }) != std::end(kFunctions);
}

TParsedText ParseStatementText(const std::string& text) {
  TParsedText parsed;
  try {
    const TPascalTokens tokens = TokenizePascal(text);
    const std::vector<TPascalToken>& t = tokens.Tokens;
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
  return parsed.Valid ? parsed : TParsedText();
}

TParsedText ParseConditionText(const std::string& text) {
  TParsedText parsed;
  try {
    parsed.Condition = ParseExpressionInto(text, parsed.Tree);
  } catch (const TPascalSyntaxError&) {
    return TParsedText();
  }
  parsed.Valid = parsed.Condition >= 0 && ShallowEnough(parsed);
  return parsed.Valid ? parsed : TParsedText();
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
  return parsed.Valid ? parsed : TParsedText();
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

  std::map<std::string, TEvidence> Evidence() const {
    std::map<std::string, TEvidence> evidence;
    auto variable = [&](const TExprTree& tree, int node) -> const std::string* {
      const TExprNode& n = tree[node];
      return n.Kind == TExprKind::Name && IsVariableName(n.Op) ? &n.Op : nullptr;
    };
    for (const TParsedText* text : texts_) {
      const TExprTree& tree = text->Tree;
      for (int statement : text->Statements) {
        const TExprNode& s = tree[statement];
        if (s.Kind == TExprKind::Assign) {
          const TValueType t = program_.ExpressionType(tree, s.Children[1]);
          if (const std::string* v = variable(tree, s.Children[0]); v && t != TValueType::Unknown)
            evidence[*v].Strong.insert(t);
        } else if (s.Kind == TExprKind::Call &&
                   (tree[s.Children[0]].Op == "inc" || tree[s.Children[0]].Op == "dec")) {
          if (const std::string* v =
                  s.Children.size() > 1 ? variable(tree, s.Children[1]) : nullptr)
            evidence[*v].Strong.insert(TValueType::Integer);
        }
      }
      if (text->LoopVariable >= 0)
        if (const std::string* v = variable(tree, text->LoopVariable))
          evidence[*v].Strong.insert(TValueType::Integer);
      if (text->Condition >= 0)
        MarkLogical(tree, text->Condition, evidence);
      for (const TExprNode& node : tree.Nodes) {
        if (node.Kind == TExprKind::Unary && node.Op == "not") {
          if (const std::string* v = variable(tree, node.Children[0]))
            evidence[*v].Weak.insert(TValueType::Boolean);
        } else if (node.Kind == TExprKind::Binary && IsComparison(node.Op)) {
          for (int side = 0; side < 2; ++side) {
            const std::string* v = variable(tree, node.Children[side]);
            const TValueType other = program_.ExpressionType(tree, node.Children[1 - side]);
            if (v && other != TValueType::Unknown)
              evidence[*v].Weak.insert(other);
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
  static bool IsComparison(const std::string& op) {
    return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
  }

  static std::vector<int> Roots(const TParsedText& text) {
    std::vector<int> roots = text.Statements;
    for (int root : {text.Condition, text.LoopVariable, text.LoopFrom, text.LoopTo})
      if (root >= 0)
        roots.push_back(root);
    return roots;
  }

  // A condition's names reached through not, and, or, xor and parentheses are booleans.
  void MarkLogical(const TExprTree& tree, int node,
                   std::map<std::string, TEvidence>& evidence) const {
    const TExprNode& n = tree[node];
    if (n.Kind == TExprKind::Name && IsVariableName(n.Op)) {
      evidence[n.Op].Weak.insert(TValueType::Boolean);
    } else if (n.Kind == TExprKind::Paren || (n.Kind == TExprKind::Unary && n.Op == "not") ||
               (n.Kind == TExprKind::Binary && (n.Op == "and" || n.Op == "or" || n.Op == "xor"))) {
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
  std::set<std::string> called_;
};

} // namespace

TProgramTexts::TProgramTexts(const TBlock& root) {
  // The texts in the order the export writes them: an element, what it owns, its successors.
  std::vector<const TParsedText*> ordered;
  std::vector<const TElement*> chains{&root};
  while (!chains.empty()) {
    const TElement* e = chains.back();
    chains.pop_back();
    for (; e; e = e->Next) {
      TParsedText parsed;
      switch (e->Kind()) {
      case TKind::Anweisung:
        parsed = ParseStatementText(e->Text);
        break;
      case TKind::For:
        parsed = ParseCountingLoopText(e->Text);
        break;
      case TKind::Block:
        break;
      default:
        parsed = ParseConditionText(e->Text);
        break;
      }
      ordered.push_back(&(parsed_[e] = std::move(parsed)));
      std::vector<const TElement*> owned;
      if (const TBlock* block = As<TBlock>(e)) {
        owned = {block->Body};
      } else if (const TBedingung* cond = As<TBedingung>(e)) {
        for (const TBlock* branch : {cond->Branch1, cond->Branch2})
          if (branch)
            owned.insert(owned.end(), {branch->Body, branch->Next});
      }
      if (owned.empty())
        continue;
      chains.push_back(e->Next);
      for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        chains.push_back(*it);
      break;
    }
  }

  TAnalysis analysis(ordered, *this);
  analysis.ForEachVariable([&](const TExprNode& name) {
    if (index_.emplace(name.Op, variables_.size()).second)
      variables_.push_back(
          {name.Text[0] == '&' ? name.Text.substr(1) : name.Text, TValueType::Unknown});
  });
  // Types depend on each other through assignments: settle them by repeating until they stay.
  for (std::size_t round = 0; round <= variables_.size() + 1; ++round) {
    const std::map<std::string, TEvidence> evidence = analysis.Evidence();
    bool changed = false;
    for (const auto& [name, index] : index_) {
      const auto found = evidence.find(name);
      const TValueType t = found == evidence.end() ? TValueType::Integer : found->second.Resolve();
      changed = changed || variables_[index].Type != t;
      variables_[index].Type = t;
    }
    if (!changed)
      break;
  }
}

const TParsedText& TProgramTexts::Of(const TElement& element) const {
  static const TParsedText kNone;
  const auto found = parsed_.find(&element);
  return found == parsed_.end() ? kNone : found->second;
}

TValueType TProgramTexts::TypeOf(const std::string& lowerName) const {
  const auto found = index_.find(lowerName);
  return found == index_.end() ? TValueType::Unknown : variables_[found->second].Type;
}

TValueType TProgramTexts::ExpressionType(const TExprTree& tree, int node) const {
  const TExprNode& n = tree[node];
  auto child = [&](std::size_t i) { return ExpressionType(tree, n.Children[i]); };
  switch (n.Kind) {
  case TExprKind::Integer:
    return TValueType::Integer;
  case TExprKind::Real:
    return TValueType::Real;
  case TExprKind::String:
    return TValueType::String;
  case TExprKind::Name:
    if (n.Op == "true" || n.Op == "false")
      return TValueType::Boolean;
    return n.Op == "random" ? TValueType::Real : TypeOf(n.Op);
  case TExprKind::Paren:
    return child(0);
  case TExprKind::Unary: {
    const TValueType t = child(0);
    if (n.Op == "not")
      return t == TValueType::Boolean || t == TValueType::Integer ? t : TValueType::Unknown;
    return t == TValueType::Integer || t == TValueType::Real ? t : TValueType::Unknown;
  }
  case TExprKind::Binary: {
    const TValueType a = child(0), b = child(1);
    if (n.Op == "=" || n.Op == "<>" || n.Op == "<" || n.Op == ">" || n.Op == "<=" || n.Op == ">=" ||
        n.Op == "in" || n.Op == "is")
      return TValueType::Boolean;
    if (n.Op == "+" && (a == TValueType::String || b == TValueType::String))
      return TValueType::String;
    if (n.Op == "+" || n.Op == "-" || n.Op == "*")
      return Numeric(a, b);
    if (n.Op == "/")
      return TValueType::Real;
    if (n.Op == "div" || n.Op == "mod" || n.Op == "shl" || n.Op == "shr")
      return TValueType::Integer;
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
