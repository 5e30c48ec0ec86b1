// SPDX-License-Identifier: MIT
// Compiles a program's texts into expression nodes and actions, accepting exactly what the
// Python, Java and C exports translate, with the types their declaration rule gives, and lays
// the elements out as steps.
#include "language/run_actions.h"
#include "language/run_program.h"
#include "model/texts.h"
#include "model/windows1252.h"

#include <algorithm>
#include <charconv>

using namespace run;

namespace {

// Why a text cannot be run; the compiler names the element.
struct TRefusal {
  std::string Why;
};

[[noreturn]] void Refuse(std::string why) {
  throw TRefusal{std::move(why)};
}

bool IsNumber(TValueType t) {
  return t == TValueType::Integer || t == TValueType::Real;
}

// A compiled expression: the node, of the class its type calls for.
struct TCode {
  TValueType Type = TValueType::Unknown;
  const TNode* Node = nullptr;
};

template <class Node>
const TNode* MakeComparison(TNodeArena& arena, const std::string& op, const Node* a,
                            const Node* b) {
  if (op == "=")
    return arena.Make<TComparison<TCompare::Eq, Node>>(a, b);
  if (op == "<>")
    return arena.Make<TComparison<TCompare::Ne, Node>>(a, b);
  if (op == "<")
    return arena.Make<TComparison<TCompare::Lt, Node>>(a, b);
  if (op == ">")
    return arena.Make<TComparison<TCompare::Gt, Node>>(a, b);
  if (op == "<=")
    return arena.Make<TComparison<TCompare::Le, Node>>(a, b);
  return arena.Make<TComparison<TCompare::Ge, Node>>(a, b);
}

class TCompiler {
public:
  TCompiler(const TBlock& root, TRunProgram& program) : root_(root), texts_(root), p_(program) {
    for (const TVariable& v : texts_.Variables())
      p_.Variables.push_back({v.Name, v.Type});
    p_.CellCount = static_cast<uint32_t>(p_.Variables.size());
  }

  void Run();

private:
  // ---- expressions ----

  // An integer operation, with variables and constants among its operands read in place.
  template <TIntOp Op> const TIntNode* IntBinary(const TIntNode* a, const TIntNode* b) {
    return Operands(a, b, [&](auto l, auto r) -> const TIntNode* {
      return Make<TIntBinary<Op, decltype(l), decltype(r)>>(l, r);
    });
  }
  template <TCompare C> const TNode* IntCompare(const TIntNode* a, const TIntNode* b) {
    return Operands(a, b, [&](auto l, auto r) -> const TNode* {
      return Make<TIntComparison<C, decltype(l), decltype(r)>>(l, r);
    });
  }
  template <class F> static auto Operands(const TIntNode* a, const TIntNode* b, F make) {
    return Operand(a, [&](auto l) { return Operand(b, [&](auto r) { return make(l, r); }); });
  }
  template <class F> static auto Operand(const TIntNode* n, F with) {
    if (n->Leaf == TIntNode::TLeaf::Variable)
      return with(TVarOperand{static_cast<const TIntVar*>(n)->Slot});
    if (n->Leaf == TIntNode::TLeaf::Constant)
      return with(TConstOperand{static_cast<const TIntConst*>(n)->V});
    return with(TNodeOperand{n});
  }
  const TNode* IntComparison(const std::string& op, const TIntNode* a, const TIntNode* b) {
    if (op == "=")
      return IntCompare<TCompare::Eq>(a, b);
    if (op == "<>")
      return IntCompare<TCompare::Ne>(a, b);
    if (op == "<")
      return IntCompare<TCompare::Lt>(a, b);
    if (op == ">")
      return IntCompare<TCompare::Gt>(a, b);
    if (op == "<=")
      return IntCompare<TCompare::Le>(a, b);
    return IntCompare<TCompare::Ge>(a, b);
  }

  TValueType TypeOf(const TExprTree& t, int node) const { return texts_.ExpressionType(t, node); }

  // A name's variable and its type; the texts know each name's variable by index.
  static uint32_t Slot(const TExprNode& name) { return static_cast<uint32_t>(name.Variable); }
  TValueType VariableType(const TExprNode& name) const {
    return name.Kind == TExprKind::Name && name.Variable >= 0
               ? p_.Variables[static_cast<std::size_t>(name.Variable)].Type
               : TValueType::Unknown;
  }

  TCode Expr(const TExprTree& t, int node) {
    const TExprNode& n = t[node];
    TCode code{TypeOf(t, node), nullptr};
    switch (n.Kind) {
    case TExprKind::Integer: {
      int64_t v = 0;
      if (ParseIntegerToken(n.Text, v) != TParse::Ok)
        Refuse(Format(Tr("Ausführung", "die Zahl %1 ist zu groß für eine ganze Zahl"), {n.Text}));
      code.Node = Make<TIntConst>(v);
      break;
    }
    case TExprKind::Real: {
      double v = 0;
      std::from_chars(n.Text.data(), n.Text.data() + n.Text.size(), v);
      code.Node = Make<TRealConst>(v);
      break;
    }
    case TExprKind::String:
      code.Node = Make<TStrConst>(n.Text);
      break;
    case TExprKind::Name:
      code.Node = Name(n);
      break;
    case TExprKind::Paren:
      return Expr(t, n.Children[0]);
    case TExprKind::Unary:
      code.Node = Unary(t, n);
      break;
    case TExprKind::Binary:
      code.Node = Binary(t, n);
      break;
    case TExprKind::Call:
      code.Node = Call(t, n);
      break;
    case TExprKind::Index:
      if (n.Children.size() != 2 || TypeOf(t, n.Children[0]) != TValueType::String ||
          TypeOf(t, n.Children[1]) != TValueType::Integer)
        Refuse(
            Tr("Ausführung", "nur eine Zeichenkette lässt sich mit einer ganzen Zahl indizieren"));
      code.Node = Make<TStrIndex>(Str(t, n.Children[0]), Int(t, n.Children[1]));
      break;
    default:
      Refuse(Tr("Ausführung",
                "Zeiger, Verbunde, Felder und Mengen kann das Programm nicht ausführen"));
    }
    if (code.Type == TValueType::Unknown)
      Refuse(Format(Tr("Ausführung", "der Typ von »%1« ist unbekannt"), {Source(t, node)}));
    return code;
  }

  const TNode* Name(const TExprNode& n) {
    if (n.Op == "true" || n.Op == "false")
      return Make<TBoolConst>(n.Op == "true");
    switch (VariableType(n)) {
    case TValueType::Integer:
      return Make<TIntVar>(Slot(n));
    case TValueType::Real:
      return Make<TRealVar>(Slot(n));
    case TValueType::Boolean:
      return Make<TBoolVar>(Slot(n));
    case TValueType::String:
      return Make<TStrVar>(Slot(n));
    default:
      break;
    }
    if (n.Op == "random")
      return Make<TRealRandom>();
    if (IsKnownFunction(n.Op))
      Refuse(Format(Tr("Ausführung", "»%1« braucht ein Argument in Klammern"), {n.Text}));
    if (IsKnownProcedure(n.Op))
      Refuse(Format(Tr("Ausführung", "»%1« ist eine Prozedur und hat keinen Wert"), {n.Text}));
    Refuse(Format(Tr("Ausführung", "die Funktion »%1« ist unbekannt"), {n.Text}));
  }

  const TNode* Unary(const TExprTree& t, const TExprNode& n) {
    const TValueType a = TypeOf(t, n.Children[0]);
    if ((n.Op == "+" || n.Op == "-") && IsNumber(a)) {
      if (n.Op == "+")
        return Expr(t, n.Children[0]).Node;
      if (a == TValueType::Integer)
        return Make<TIntUnary<TIntFn::Neg>>(Int(t, n.Children[0]));
      return Make<TRealUnary<TRealFn::Neg>>(Real(t, n.Children[0]));
    }
    if (n.Op == "not" && a == TValueType::Boolean)
      return Make<TBoolNot>(Bool(t, n.Children[0]));
    if (n.Op == "not" && a == TValueType::Integer)
      return Make<TIntUnary<TIntFn::Not>>(Int(t, n.Children[0]));
    Refuse(Format(Tr("Ausführung", "»%1« gibt es nicht für den Typ %2"), {n.Op, ValueTypeWord(a)}));
  }

  const TNode* Binary(const TExprTree& t, const TExprNode& n) {
    const int l = n.Children[0], r = n.Children[1];
    const TValueType a = TypeOf(t, l), b = TypeOf(t, r);
    const bool numbers = IsNumber(a) && IsNumber(b);
    const bool integers = a == TValueType::Integer && b == TValueType::Integer;
    const bool booleans = a == TValueType::Boolean && b == TValueType::Boolean;
    const bool strings = a == TValueType::String && b == TValueType::String;
    const TExprOp op = n.Code;
    if (op == TExprOp::Plus && strings)
      return Make<TStrConcat>(Str(t, l), Str(t, r));
    if (integers) {
      switch (op) {
      case TExprOp::Plus:
        return IntBinary<TIntOp::Add>(Int(t, l), Int(t, r));
      case TExprOp::Minus:
        return IntBinary<TIntOp::Sub>(Int(t, l), Int(t, r));
      case TExprOp::Times:
        return IntBinary<TIntOp::Mul>(Int(t, l), Int(t, r));
      case TExprOp::Div:
        return IntBinary<TIntOp::Div>(Int(t, l), Int(t, r));
      case TExprOp::Mod:
        return IntBinary<TIntOp::Mod>(Int(t, l), Int(t, r));
      case TExprOp::Shl:
        return IntBinary<TIntOp::Shl>(Int(t, l), Int(t, r));
      case TExprOp::Shr:
        return IntBinary<TIntOp::Shr>(Int(t, l), Int(t, r));
      case TExprOp::And:
        return IntBinary<TIntOp::And>(Int(t, l), Int(t, r));
      case TExprOp::Or:
        return IntBinary<TIntOp::Or>(Int(t, l), Int(t, r));
      case TExprOp::Xor:
        return IntBinary<TIntOp::Xor>(Int(t, l), Int(t, r));
      default:
        break;
      }
    }
    if (numbers) {
      switch (op) {
      case TExprOp::Plus:
        return Make<TRealBinary<TRealOp::Add>>(Real(t, l), Real(t, r));
      case TExprOp::Minus:
        return Make<TRealBinary<TRealOp::Sub>>(Real(t, l), Real(t, r));
      case TExprOp::Times:
        return Make<TRealBinary<TRealOp::Mul>>(Real(t, l), Real(t, r));
      case TExprOp::Slash:
        return Make<TRealBinary<TRealOp::Div>>(Real(t, l), Real(t, r));
      default:
        break;
      }
    }
    if (booleans) {
      switch (op) {
      case TExprOp::And:
        return Make<TBoolBinary<TBoolOp::And>>(Bool(t, l), Bool(t, r));
      case TExprOp::Or:
        return Make<TBoolBinary<TBoolOp::Or>>(Bool(t, l), Bool(t, r));
      case TExprOp::Xor:
        return Make<TBoolBinary<TBoolOp::Xor>>(Bool(t, l), Bool(t, r));
      default:
        break;
      }
    }
    if (IsComparisonOp(op)) {
      const std::string& p = n.Op;
      if (integers)
        return IntComparison(p, Int(t, l), Int(t, r));
      if (numbers)
        return MakeComparison<TRealNode>(p_.Nodes, p, Real(t, l), Real(t, r));
      if (strings)
        return MakeComparison<TStrNode>(p_.Nodes, p, Str(t, l), Str(t, r));
      if (booleans)
        return MakeComparison<TBoolNode>(p_.Nodes, p, Bool(t, l), Bool(t, r));
    }
    Refuse(Format(Tr("Ausführung", "»%1« gibt es nicht für die Typen %2 und %3"),
                  {n.Op, ValueTypeWord(a), ValueTypeWord(b)}));
  }

  const TNode* Call(const TExprTree& t, const TExprNode& n) {
    const TExprNode& callee = t[n.Children[0]];
    const std::size_t args = n.Children.size() - 1;
    auto arg = [&](std::size_t i) { return n.Children[i + 1]; };
    if (callee.Kind != TExprKind::Name)
      Refuse(Tr("Ausführung", "nur benannte Funktionen lassen sich aufrufen"));
    const std::string& f = callee.Op;
    if (f == "copy" || f == "pos") {
      const bool copy = f == "copy";
      if (args != (copy ? 3u : 2u))
        Refuse(
            copy ? Tr("Ausführung", "copy braucht drei Argumente: Zeichenkette, Anfang und Anzahl")
                 : Tr("Ausführung", "pos braucht zwei Zeichenketten"));
      for (std::size_t i = 0; i < args; ++i)
        if (TypeOf(t, arg(i)) != (copy && i > 0 ? TValueType::Integer : TValueType::String))
          Refuse(copy ? Tr("Ausführung", "copy braucht eine Zeichenkette und zwei ganze Zahlen")
                      : Tr("Ausführung", "pos braucht zwei Zeichenketten"));
      if (copy)
        return Make<TStrCopy>(Str(t, arg(0)), Int(t, arg(1)), Int(t, arg(2)));
      return Make<TStrPos>(Str(t, arg(0)), Str(t, arg(1)));
    }
    if (!IsKnownFunction(f)) {
      if (IsKnownProcedure(f))
        Refuse(
            Format(Tr("Ausführung", "»%1« ist eine Prozedur und hat keinen Wert"), {callee.Text}));
      Refuse(Format(Tr("Ausführung", "die Funktion »%1« ist unbekannt"), {callee.Text}));
    }
    if (args != 1 || t[arg(0)].Kind == TExprKind::Formatted)
      Refuse(Format(Tr("Ausführung", "»%1« braucht genau ein Argument"), {callee.Text}));
    const int x = arg(0);
    const TValueType a = TypeOf(t, x);
    const bool number = IsNumber(a), integer = a == TValueType::Integer;
    if (f == "abs" && number)
      return integer ? static_cast<const TNode*>(Make<TIntUnary<TIntFn::Abs>>(Int(t, x)))
                     : Make<TRealUnary<TRealFn::Abs>>(Real(t, x));
    if (f == "sqr" && number)
      return integer ? static_cast<const TNode*>(Make<TIntUnary<TIntFn::Sqr>>(Int(t, x)))
                     : Make<TRealUnary<TRealFn::Sqr>>(Real(t, x));
    if (f == "random" && integer)
      return Make<TIntRandom>(Int(t, x));
    if (number) {
      if (f == "sqrt")
        return Make<TRealUnary<TRealFn::Sqrt>>(Real(t, x));
      if (f == "sin")
        return Make<TRealUnary<TRealFn::Sin>>(Real(t, x));
      if (f == "cos")
        return Make<TRealUnary<TRealFn::Cos>>(Real(t, x));
      if (f == "arctan")
        return Make<TRealUnary<TRealFn::Arctan>>(Real(t, x));
      if (f == "exp")
        return Make<TRealUnary<TRealFn::Exp>>(Real(t, x));
      if (f == "ln")
        return Make<TRealUnary<TRealFn::Ln>>(Real(t, x));
      if (f == "trunc" || f == "round") {
        if (integer)
          return Int(t, x);
        return f == "round" ? static_cast<const TNode*>(Make<TRealToInt<true>>(Real(t, x)))
                            : Make<TRealToInt<false>>(Real(t, x));
      }
    }
    if (f == "odd" && integer)
      return Make<TIntOdd>(Int(t, x));
    if (f == "ord" && integer)
      return Int(t, x);
    if (f == "ord" && a == TValueType::Boolean)
      return Make<TBoolOrd>(Bool(t, x));
    if (f == "ord" && a == TValueType::String)
      return Make<TStrOrd>(Str(t, x));
    if (f == "chr" && integer)
      return Make<TChr>(Int(t, x));
    if (f == "length" && a == TValueType::String)
      return Make<TStrLength>(Str(t, x));
    if ((f == "succ" || f == "pred") && integer)
      return f == "succ" ? static_cast<const TNode*>(Make<TIntUnary<TIntFn::Succ>>(Int(t, x)))
                         : Make<TIntUnary<TIntFn::Pred>>(Int(t, x));
    Refuse(Format(Tr("Ausführung", "»%1« gibt es nicht für den Typ %2"),
                  {callee.Text, ValueTypeWord(a)}));
  }

  const TIntNode* Int(const TExprTree& t, int node) {
    const TCode c = Expr(t, node);
    if (c.Type != TValueType::Integer)
      Refuse(Format(Tr("Ausführung", "»%1« ist keine ganze Zahl, sondern %2"),
                    {Source(t, node), ValueTypeName(c.Type)}));
    return static_cast<const TIntNode*>(c.Node);
  }
  // A real, or an integer taken as one.
  const TRealNode* Real(const TExprTree& t, int node) {
    const TCode c = Expr(t, node);
    if (c.Type == TValueType::Integer)
      return Make<TIntToReal>(static_cast<const TIntNode*>(c.Node));
    if (c.Type != TValueType::Real)
      Refuse(Format(Tr("Ausführung", "»%1« ist keine Zahl, sondern %2"),
                    {Source(t, node), ValueTypeName(c.Type)}));
    return static_cast<const TRealNode*>(c.Node);
  }
  const TBoolNode* Bool(const TExprTree& t, int node) {
    const TCode c = Expr(t, node);
    if (c.Type != TValueType::Boolean)
      Refuse(Format(Tr("Ausführung", "»%1« ist kein Wahrheitswert, sondern %2"),
                    {Source(t, node), ValueTypeName(c.Type)}));
    return static_cast<const TBoolNode*>(c.Node);
  }
  const TStrNode* Str(const TExprTree& t, int node) {
    const TCode c = Expr(t, node);
    if (c.Type != TValueType::String)
      Refuse(Format(Tr("Ausführung", "»%1« ist keine Zeichenkette, sondern %2"),
                    {Source(t, node), ValueTypeName(c.Type)}));
    return static_cast<const TStrNode*>(c.Node);
  }

  // ---- statements ----

  void Statement(const TExprTree& t, int node, std::vector<const TAction*>& out) {
    const TExprNode& n = t[node];
    if (n.Kind == TExprKind::Assign)
      return Assignment(t, n, out);
    const TExprNode& callee = n.Kind == TExprKind::Call ? t[n.Children[0]] : n;
    if (callee.Kind != TExprKind::Name)
      Refuse(Tr("Ausführung", "das ist keine Anweisung, die das Programm ausführen kann"));
    const std::string& p = callee.Op;
    const std::size_t args = n.Kind == TExprKind::Call ? n.Children.size() - 1 : 0;
    if (p == "write" || p == "writeln")
      return out.push_back(Write(t, n, p == "writeln"));
    if (p == "read" || p == "readln")
      return Read(t, n, p == "readln", out);
    if (p == "break" && n.Kind == TExprKind::Name) {
      if (!inLoop_)
        Refuse(Tr("Ausführung", "»break« steht außerhalb jeder Schleife"));
      return out.push_back(Make<TBreak>());
    }
    if (p == "randomize" && n.Kind == TExprKind::Name)
      return out.push_back(Make<TRandomize>());
    if (p == "halt" && (n.Kind == TExprKind::Name || args == 1))
      return out.push_back(Make<THalt>(args ? Int(t, n.Children[1]) : nullptr));
    if ((p == "inc" || p == "dec") && n.Kind == TExprKind::Call && (args == 1 || args == 2)) {
      const TExprNode& target = t[n.Children[1]];
      if (target.Kind != TExprKind::Name || VariableType(target) != TValueType::Integer)
        Refuse(Format(Tr("Ausführung", "»%1« braucht eine Variable, die eine ganze Zahl ist"),
                      {callee.Text}));
      const uint32_t slot = Slot(target);
      const TIntNode* delta = args == 2 ? Int(t, n.Children[2]) : Make<TIntConst>(1);
      const TIntNode* v = Make<TIntVar>(slot);
      return out.push_back(Make<TAssignInt>(
          slot, p == "inc" ? static_cast<const TIntNode*>(IntBinary<TIntOp::Add>(v, delta))
                           : IntBinary<TIntOp::Sub>(v, delta)));
    }
    if (IsKnownProcedure(p) || IsKnownFunction(p))
      Refuse(Format(Tr("Ausführung", "»%1« ist so nicht aufrufbar"), {callee.Text}));
    Refuse(Format(Tr("Ausführung", "die Prozedur »%1« ist unbekannt"), {callee.Text}));
  }

  void Assignment(const TExprTree& t, const TExprNode& n, std::vector<const TAction*>& out) {
    const TExprNode& target = t[n.Children[0]];
    const int value = n.Children[1];
    if (target.Kind != TExprKind::Name)
      Refuse(Tr("Ausführung", "zuweisen lässt sich nur an eine Variable"));
    const TValueType to = VariableType(target);
    const TValueType from = TypeOf(t, value);
    if (to == TValueType::Unknown)
      Refuse(Format(Tr("Ausführung", "»%1« ist keine Variable"), {target.Text}));
    if (from == TValueType::Unknown)
      Expr(t, value); // refuses with the reason its part gives
    if (!(to == from || (to == TValueType::Real && from == TValueType::Integer)))
      Refuse(Format(Tr("Ausführung", "»%1« ist %2, »%3« aber %4"),
                    {target.Text, ValueTypeName(to), Source(t, value), ValueTypeName(from)}));
    const uint32_t slot = Slot(target);
    const std::string& op = n.Op;
    if (op != ":=") {
      const bool arithmetic = (to == TValueType::Integer && op != "/=") || to == TValueType::Real ||
                              (to == TValueType::String && op == "+=");
      if (!arithmetic)
        Refuse(
            Format(Tr("Ausführung", "»%1« gibt es nicht für den Typ %2"), {op, ValueTypeWord(to)}));
    }
    switch (to) {
    case TValueType::Integer: {
      const TIntNode* v = Int(t, value);
      if (op != ":=") {
        const TIntNode* x = Make<TIntVar>(slot);
        v = op == "+="   ? static_cast<const TIntNode*>(IntBinary<TIntOp::Add>(x, v))
            : op == "-=" ? static_cast<const TIntNode*>(IntBinary<TIntOp::Sub>(x, v))
                         : IntBinary<TIntOp::Mul>(x, v);
      }
      return out.push_back(Make<TAssignInt>(slot, v));
    }
    case TValueType::Real: {
      const TRealNode* v = Real(t, value);
      if (op != ":=") {
        const TRealNode* x = Make<TRealVar>(slot);
        v = op == "+="   ? static_cast<const TRealNode*>(Make<TRealBinary<TRealOp::Add>>(x, v))
            : op == "-=" ? static_cast<const TRealNode*>(Make<TRealBinary<TRealOp::Sub>>(x, v))
            : op == "*=" ? static_cast<const TRealNode*>(Make<TRealBinary<TRealOp::Mul>>(x, v))
                         : Make<TRealBinary<TRealOp::Div>>(x, v);
      }
      return out.push_back(Make<TAssignReal>(slot, v));
    }
    case TValueType::Boolean:
      return out.push_back(Make<TAssignBool>(slot, Bool(t, value)));
    default: {
      const TStrNode* v = Str(t, value);
      if (op == "+=")
        v = Make<TStrConcat>(Make<TStrVar>(slot), v);
      return out.push_back(Make<TAssignStr>(slot, v));
    }
    }
  }

  const TAction* Write(const TExprTree& t, const TExprNode& call, bool newLine) {
    std::vector<TWriteArg> args;
    for (std::size_t i = 1; call.Kind == TExprKind::Call && i < call.Children.size(); ++i) {
      const TExprNode& a = t[call.Children[i]];
      const bool formatted = a.Kind == TExprKind::Formatted;
      const int value = formatted ? a.Children[0] : call.Children[i];
      TWriteArg out;
      for (std::size_t k = 1; formatted && k < a.Children.size(); ++k) {
        const TExprNode& field = t[a.Children[k]];
        int64_t v = -1;
        if (field.Kind != TExprKind::Integer || ParseIntegerToken(field.Text, v) != TParse::Ok ||
            v > 255)
          Refuse(Tr("Ausführung", "Breite und Nachkommastellen müssen Zahlen von 0 bis 255 sein"));
        (k == 1 ? out.Width : out.Decimals) = static_cast<int>(v);
      }
      const TCode code = Expr(t, value);
      if (out.Decimals >= 0 && code.Type != TValueType::Real)
        Refuse(Tr("Ausführung", "Nachkommastellen gibt es nur bei Kommazahlen"));
      out.Type = code.Type;
      out.Node = code.Node;
      if (t[value].Kind == TExprKind::String)
        out.Literal = &static_cast<const TStrConst*>(code.Node)->V;
      args.push_back(out);
    }
    return Make<TWrite>(std::move(args), newLine);
  }

  void Read(const TExprTree& t, const TExprNode& call, bool newLine,
            std::vector<const TAction*>& out) {
    for (std::size_t i = 1; call.Kind == TExprKind::Call && i < call.Children.size(); ++i) {
      const TExprNode& target = t[call.Children[i]];
      const TValueType type =
          target.Kind == TExprKind::Name ? VariableType(target) : TValueType::Unknown;
      if (type == TValueType::Integer)
        out.push_back(Make<TReadInt>(Slot(target)));
      else if (type == TValueType::Real)
        out.push_back(Make<TReadReal>(Slot(target)));
      else if (type == TValueType::String)
        out.push_back(Make<TReadStr>(Slot(target)));
      else
        Refuse(Tr("Ausführung", "read liest nur in Variablen, die ganze Zahlen, Kommazahlen "
                                "oder Zeichenketten sind"));
    }
    if (newLine)
      out.push_back(Make<TSkipLine>());
  }

  const TBoolNode* CachedCondition(const TElement& e) {
    // No structured binding: a lambda may not capture one.
    const auto found = conditions_.try_emplace(&texts_.Of(e), nullptr);
    const auto cached = found.first;
    if (found.second)
      Compiling(
          e, [&] { cached->second = Condition(e); }, &texts_.Of(e));
    else
      Refused(e, &texts_.Of(e));
    return cached->second;
  }

  const TBoolNode* Condition(const TElement& e) {
    const TParsedText& parsed = texts_.Of(e);
    if (!parsed.Valid)
      Refuse(Tr("Ausführung", "die Bedingung lässt sich nicht als Pascal lesen"));
    const TValueType type = TypeOf(parsed.Tree, parsed.Condition);
    if (type != TValueType::Boolean)
      Refuse(Format(Tr("Ausführung", "die Bedingung ist %1, kein Wahrheitswert"),
                    {ValueTypeName(type)}));
    return Bool(parsed.Tree, parsed.Condition);
  }

  // ---- steps ----

  template <class T, class... A> T* Make(A&&... args) {
    return p_.Nodes.Make<T>(std::forward<A>(args)...);
  }

  std::string Source(const TExprTree& t, int node) const {
    // The tokens' text is not kept; a node's own text serves for names and literals.
    const TExprNode& n = t[node];
    if (n.Kind == TExprKind::Name || n.Kind == TExprKind::Integer || n.Kind == TExprKind::Real)
      return n.Text;
    if (n.Kind == TExprKind::String)
      return "'" + Windows1252ToUtf8(n.Text) + "'";
    return QuotedElementText(*current_);
  }

public:
  // Refusals are collected here instead of ending the compilation.
  void CollectProblems(std::vector<TTextProblem>& problems) { problems_ = &problems; }

private:
  // Runs body(), naming element e in the error when it refuses; key names what equal texts
  // share, so that a refusal collected once is collected for each of them.
  template <class F> void Compiling(const TElement& e, F body, const void* key = nullptr) {
    current_ = &e;
    try {
      body();
    } catch (const TRefusal& refusal) {
      if (!problems_)
        throw TCompileError(&e, Format(Tr("Ausführung", "Nicht ausführbar: »%1«: %2"),
                                       {QuotedElementText(e), refusal.Why}));
      problems_->push_back({&e, refusal.Why});
      if (key)
        refused_[key] = refusal.Why;
    }
  }
  // An element whose text shares the compilation of an earlier one shares its refusal.
  void Refused(const TElement& e, const void* key) {
    if (!problems_)
      return;
    const auto found = refused_.find(key);
    if (found != refused_.end())
      problems_->push_back({&e, found->second});
  }

  uint32_t NewLabel() {
    labels_.push_back(UINT32_MAX);
    return static_cast<uint32_t>(labels_.size() - 1);
  }
  void Place(uint32_t label) { labels_[label] = static_cast<uint32_t>(p_.Steps.size()); }

  struct TWork {
    enum TKind { Chain, Place, Emit } Kind;
    const TElement* Head = nullptr;
    int32_t Parent = -1;
    uint32_t LoopEnd = UINT32_MAX; // label of the innermost loop's end
    uint32_t Label = 0;
    TRunStep Step;
  };

  void Later(std::vector<TWork>& work, const TElement* head, int32_t parent, uint32_t loopEnd) {
    if (head)
      work.push_back({TWork::Chain, head, parent, loopEnd, 0, {}});
  }
  void LaterLabel(std::vector<TWork>& work, uint32_t label) {
    work.push_back({TWork::Place, nullptr, -1, UINT32_MAX, label, {}});
  }
  void LaterStep(std::vector<TWork>& work, TRunStep step) {
    work.push_back({TWork::Emit, nullptr, -1, UINT32_MAX, 0, step});
  }
  // A branch block's body and then what follows the block, as the export writes them.
  void LaterBranch(std::vector<TWork>& work, const TBlock* branch, int32_t owner,
                   uint32_t loopEnd) {
    if (!branch)
      return;
    p_.AddElement(branch, owner);
    const int32_t index = static_cast<int32_t>(p_.Elements.size() - 1);
    Later(work, branch->Next, owner, loopEnd);
    Later(work, branch->Body, index, loopEnd);
  }

  void Chain(std::vector<TWork>& work, const TWork& item);
  void ResolveLabels();

  const TBlock& root_;
  const TProgramTexts texts_;
  TRunProgram& p_;
  std::vector<uint32_t> labels_;
  bool inLoop_ = false;
  const TElement* current_ = nullptr;
  std::vector<TTextProblem>* problems_ = nullptr;
  std::unordered_map<const void*, std::string> refused_;
  // What equal texts compiled to: a statement's actions (apart, and inside a loop, where break
  // is allowed), a condition's node.
  std::unordered_map<const TParsedText*, std::pair<uint32_t, uint32_t>> statements_[2];
  std::unordered_map<const TParsedText*, const TBoolNode*> conditions_;
};

void TCompiler::Run() {
  p_.AddElement(&root_, -1);
  std::vector<TWork> work;
  Later(work, root_.Body, 0, UINT32_MAX);
  while (!work.empty()) {
    TWork item = std::move(work.back());
    work.pop_back();
    switch (item.Kind) {
    case TWork::Chain:
      Chain(work, item);
      break;
    case TWork::Place:
      Place(item.Label);
      break;
    case TWork::Emit:
      p_.Steps.push_back(item.Step);
      break;
    }
  }
  TRunStep end;
  end.Kind = TStepKind::End;
  p_.Steps.push_back(end);
  ResolveLabels();
}

void TCompiler::Chain(std::vector<TWork>& work, const TWork& item) {
  for (const TElement* e = item.Head; e; e = e->Next) {
    p_.AddElement(e, item.Parent);
    const uint32_t index = static_cast<uint32_t>(p_.Elements.size() - 1);
    TRunStep step;
    step.Element = index;
    switch (e->Kind()) {
    case TKind::Anweisung: {
      step.Kind = TStepKind::Statement;
      step.BreakTarget = item.LoopEnd;
      step.First = static_cast<uint32_t>(p_.Actions.size());
      const TParsedText& parsed = texts_.Of(*e);
      inLoop_ = item.LoopEnd != UINT32_MAX;
      // Equal texts compile to equal actions, which hold no state: they are shared.
      const auto found = statements_[inLoop_ ? 1 : 0].try_emplace(&parsed);
      const auto cached = found.first;
      // Inside a loop break is allowed: that is another compilation of the text.
      const void* key = reinterpret_cast<const char*>(&parsed) + (inLoop_ ? 1 : 0);
      if (found.second) {
        Compiling(
            *e,
            [&] {
              if (!parsed.Valid)
                Refuse(Tr("Ausführung", "der Text lässt sich nicht als Pascal-Anweisung lesen"));
              std::vector<const TAction*> actions;
              for (int statement : parsed.Statements)
                Statement(parsed.Tree, statement, actions);
              p_.Actions.insert(p_.Actions.end(), actions.begin(), actions.end());
            },
            key);
        cached->second = {step.First, static_cast<uint32_t>(p_.Actions.size()) - step.First};
      } else {
        Refused(*e, key);
      }
      step.First = cached->second.first;
      step.Count = cached->second.second;
      p_.Steps.push_back(step);
      continue;
    }
    case TKind::Block: {
      const auto& block = static_cast<const TBlock&>(*e);
      Later(work, e->Next, item.Parent, item.LoopEnd);
      Later(work, block.Body, static_cast<int32_t>(index), item.LoopEnd);
      return;
    }
    case TKind::If: {
      const auto& decision = static_cast<const TIf&>(*e);
      const uint32_t no = NewLabel(), end = NewLabel();
      step.Condition = CachedCondition(*e);
      step.Kind = TStepKind::Test;
      step.JumpIf = false;
      step.Target = no;
      p_.Steps.push_back(step);
      TRunStep jump;
      jump.Kind = TStepKind::Jump;
      jump.Element = index;
      jump.Target = end;
      Later(work, e->Next, item.Parent, item.LoopEnd);
      LaterLabel(work, end);
      LaterBranch(work, decision.Branch2, static_cast<int32_t>(index), item.LoopEnd);
      LaterLabel(work, no);
      LaterStep(work, jump);
      LaterBranch(work, decision.Branch1, static_cast<int32_t>(index), item.LoopEnd);
      return;
    }
    case TKind::While: {
      const uint32_t top = NewLabel(), end = NewLabel();
      Place(top);
      step.Condition = CachedCondition(*e);
      step.Kind = TStepKind::Test;
      step.JumpIf = false;
      step.Target = end;
      p_.Steps.push_back(step);
      TRunStep jump;
      jump.Kind = TStepKind::Jump;
      jump.Element = index;
      jump.Target = top;
      Later(work, e->Next, item.Parent, item.LoopEnd);
      LaterLabel(work, end);
      LaterStep(work, jump);
      LaterBranch(work, static_cast<const TWhile&>(*e).Branch1, static_cast<int32_t>(index), end);
      return;
    }
    case TKind::For: {
      const uint32_t body = NewLabel(), end = NewLabel();
      Compiling(*e, [&] {
        const TParsedText& parsed = texts_.Of(*e);
        if (!parsed.Valid)
          Refuse(Tr("Ausführung", "eine Zählschleife hat die Form »i := 1 bis 10«"));
        const TExprNode& v = parsed.Tree[parsed.LoopVariable];
        if (VariableType(v) != TValueType::Integer)
          Refuse(Format(Tr("Ausführung", "die Zählvariable »%1« ist %2, keine ganze Zahl"),
                        {v.Text, ValueTypeName(VariableType(v))}));
        step.Variable = Slot(v);
        step.From = Int(parsed.Tree, parsed.LoopFrom);
        step.To = Int(parsed.Tree, parsed.LoopTo);
      });
      step.Counter = p_.CellCount++;
      step.Last = p_.CellCount++;
      step.Kind = TStepKind::ForStart;
      step.Target = end;
      p_.Steps.push_back(step);
      Place(body);
      TRunStep next = step;
      next.Kind = TStepKind::ForNext;
      next.Target = body;
      Later(work, e->Next, item.Parent, item.LoopEnd);
      LaterLabel(work, end);
      LaterStep(work, next);
      LaterBranch(work, static_cast<const TFor&>(*e).Branch1, static_cast<int32_t>(index), end);
      return;
    }
    case TKind::DoWhile:
    case TKind::Repeat: {
      const uint32_t top = NewLabel(), end = NewLabel();
      Place(top);
      step.Condition = CachedCondition(*e);
      step.Kind = TStepKind::Test;
      // While yes: back to the top on yes; until yes: back on no.
      step.JumpIf = e->Kind() == TKind::DoWhile;
      step.Target = top;
      Later(work, e->Next, item.Parent, item.LoopEnd);
      LaterLabel(work, end);
      LaterStep(work, step);
      LaterBranch(work, static_cast<const TDoWhile&>(*e).Branch1, static_cast<int32_t>(index), end);
      return;
    }
    }
  }
}

void TCompiler::ResolveLabels() {
  const std::size_t n = p_.Steps.size();
  // Where control really arrives when it comes to step i: past every jump.
  std::vector<uint32_t> arrive(n);
  for (std::size_t i = n; i-- > 0;) {
    const TRunStep& s = p_.Steps[i];
    arrive[i] = static_cast<uint32_t>(i);
    if (s.Kind == TStepKind::Jump) {
      const uint32_t target = labels_[s.Target];
      // A jump forward leads to a step whose arrival is known; a jump back leads to a loop's
      // test, which is no jump.
      arrive[i] = target > i ? arrive[target] : target;
    }
  }
  auto at = [&](uint32_t label) { return arrive[labels_[label]]; };
  for (std::size_t i = 0; i < n; ++i) {
    TRunStep& s = p_.Steps[i];
    s.Next = i + 1 < n ? arrive[i + 1] : static_cast<uint32_t>(i);
    switch (s.Kind) {
    case TStepKind::Statement:
      s.BreakTarget = s.BreakTarget == UINT32_MAX ? UINT32_MAX : at(s.BreakTarget);
      break;
    case TStepKind::Test:
    case TStepKind::ForStart:
    case TStepKind::ForNext:
      s.Target = at(s.Target);
      break;
    case TStepKind::Jump:
      s.Target = labels_[s.Target];
      break;
    case TStepKind::End:
      break;
    }
  }
  p_.Start = arrive[0];
}

} // namespace

void TRunProgram::AddElement(const TElement* e, int32_t parent) {
  Elements.push_back({e, parent});
}

int32_t TRunProgram::IndexOf(const TElement* e) const {
  // Built when first asked for: a run from the command line never asks.
  if (index_.Empty()) {
    index_.Reserve(Elements.size());
    for (std::size_t i = 0; i < Elements.size(); ++i)
      index_.Add(Elements[i].Element, static_cast<uint32_t>(i));
  }
  return static_cast<int32_t>(index_.Find(e, UINT32_MAX));
}

bool TRunProgram::Within(int32_t inner, int32_t outer) const {
  for (int32_t i = inner; i >= 0; i = Elements[static_cast<std::size_t>(i)].Parent)
    if (i == outer)
      return true;
  return false;
}

std::unique_ptr<TRunProgram> CompileProgram(const TBlock& root) {
  auto program = std::make_unique<TRunProgram>();
  TCompiler(root, *program).Run();
  return program;
}

std::vector<TTextProblem> FindTextProblems(const TBlock& root) {
  std::vector<TTextProblem> problems;
  TRunProgram program;
  TCompiler compiler(root, program);
  compiler.CollectProblems(problems);
  compiler.Run();
  return problems;
}

std::string ValueTypeWord(TValueType t) {
  switch (t) {
  case TValueType::Integer:
    return Tr("Ausführung", "ganze Zahl");
  case TValueType::Real:
    return Tr("Ausführung", "Kommazahl");
  case TValueType::Boolean:
    return Tr("Ausführung", "Wahrheitswert");
  case TValueType::String:
    return Tr("Ausführung", "Zeichenkette");
  default:
    return Tr("Ausführung", "unbekannt");
  }
}

std::string ValueTypeName(TValueType t) {
  switch (t) {
  case TValueType::Integer:
    return Tr("Ausführung", "eine ganze Zahl");
  case TValueType::Real:
    return Tr("Ausführung", "eine Kommazahl");
  case TValueType::Boolean:
    return Tr("Ausführung", "ein Wahrheitswert");
  case TValueType::String:
    return Tr("Ausführung", "eine Zeichenkette");
  default:
    return Tr("Ausführung", "ohne bekannten Typ");
  }
}

std::string QuotedElementText(const TElement& e) {
  std::string text = e.Text;
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20)
      c = ' ';
  return Windows1252ToUtf8(text);
}
