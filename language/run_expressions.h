// SPDX-License-Identifier: MIT
// Expression nodes of the interpreter, one class per operation and type, with Pascal's meaning:
// integers are longint (a result outside it is an overflow), reals are doubles that must stay
// finite, strings hold at most 255 bytes, and/or stop as soon as the result is known.
#pragma once

#include "language/run_nodes.h"
#include "model/texts.h"

#include <cmath>
#include <string>

namespace run {

// Messages are made (and translated) only in the branch that fails, never on a run's way.
[[noreturn]] inline void Fail(const std::string& why) { throw TRunError(why); }

inline int64_t Checked(int64_t v) {
  if (!IsLongint(v))
    Fail(Tr("Laufzeit", "Überlauf (ganze Zahlen reichen von -2147483648 bis 2147483647)"));
  return v;
}

// A real result must stay finite where its operands were.
inline double Finite(double v) {
  if (std::isnan(v))
    Fail(Tr("Laufzeit", "ungültige Rechenoperation"));
  if (std::isinf(v))
    Fail(Tr("Laufzeit", "Überlauf (die Zahl wird zu groß)"));
  return v;
}

// ---- integers ----

struct TIntConst final : TIntNode {
  explicit TIntConst(int64_t v) : V(v) { Leaf = TLeaf::Constant; }
  int64_t Eval(TRunState&) const override { return V; }
  int64_t V;
};

struct TIntVar final : TIntNode {
  explicit TIntVar(uint32_t slot) : Slot(slot) { Leaf = TLeaf::Variable; }
  int64_t Eval(TRunState& s) const override { return s.Cells[Slot].I; }
  uint32_t Slot;
};

enum class TIntOp { Add, Sub, Mul, Div, Mod, Shl, Shr, And, Or, Xor };

template <TIntOp Op> inline int64_t IntOperation(int64_t a, int64_t b) {
  // Both operands are longints, so no result below leaves the 64 bits it is computed in.
  switch (Op) {
  case TIntOp::Add:
    return Checked(a + b);
  case TIntOp::Sub:
    return Checked(a - b);
  case TIntOp::Mul:
    return Checked(a * b);
  case TIntOp::Div:
    if (b == 0)
      Fail(Tr("Laufzeit", "Division durch 0"));
    return Checked(a / b);
  case TIntOp::Mod:
    if (b == 0)
      Fail(Tr("Laufzeit", "Division durch 0"));
    return a % b;
  case TIntOp::Shl: // as on a 64-bit processor: the count taken modulo 64
    return Checked(static_cast<int64_t>(static_cast<uint64_t>(a) << (b & 63)));
  case TIntOp::Shr: {
    const uint64_t r = static_cast<uint64_t>(a) >> (b & 63);
    return Checked(r > static_cast<uint64_t>(kMaxLongint) ? kMaxLongint + 1
                                                          : static_cast<int64_t>(r));
  }
  case TIntOp::And:
    return a & b;
  case TIntOp::Or:
    return a | b;
  case TIntOp::Xor:
    return a ^ b;
  }
  return 0;
}

// Operands of integer operations: a variable and a constant are read in place, saving a call
// per operand in the loops that count and add.
struct TVarOperand {
  uint32_t Slot;
  int64_t Get(TRunState& s) const { return s.Cells[Slot].I; }
};
struct TConstOperand {
  int64_t V;
  int64_t Get(TRunState&) const { return V; }
};
struct TNodeOperand {
  const TIntNode* N;
  int64_t Get(TRunState& s) const { return N->Eval(s); }
};

template <TIntOp Op, class L = TNodeOperand, class R = TNodeOperand>
struct TIntBinary final : TIntNode {
  TIntBinary(L a, R b) : A(a), B(b) {}
  int64_t Eval(TRunState& s) const override { return IntOperation<Op>(A.Get(s), B.Get(s)); }
  L A;
  R B;
};

enum class TIntFn { Neg, Not, Abs, Sqr, Succ, Pred };

template <TIntFn Fn> struct TIntUnary final : TIntNode {
  explicit TIntUnary(const TIntNode* a) : A(a) {}
  int64_t Eval(TRunState& s) const override {
    const int64_t a = A->Eval(s);
    switch (Fn) {
    case TIntFn::Neg:
      return Checked(-a);
    case TIntFn::Not:
      return ~a;
    case TIntFn::Abs:
      return Checked(a < 0 ? -a : a);
    case TIntFn::Sqr:
      return Checked(a * a);
    case TIntFn::Succ:
      return Checked(a + 1);
    case TIntFn::Pred:
      return Checked(a - 1);
    }
    return 0;
  }
  const TIntNode* A;
};

// trunc and round of a real: toward zero, and to the nearest integer with halves to even.
template <bool Round> struct TRealToInt final : TIntNode {
  explicit TRealToInt(const TRealNode* a) : A(a) {}
  int64_t Eval(TRunState& s) const override {
    const double a = A->Eval(s);
    const double r = Round ? std::nearbyint(a) : std::trunc(a);
    if (!(r >= static_cast<double>(kMinLongint) && r <= static_cast<double>(kMaxLongint)))
      Fail(Tr("Laufzeit", "Überlauf (ganze Zahlen reichen von -2147483648 bis 2147483647)"));
    return static_cast<int64_t>(r);
  }
  const TRealNode* A;
};

// random(n): from 0 to n - 1, drawn as Free Pascal draws it.
struct TIntRandom final : TIntNode {
  explicit TIntRandom(const TIntNode* limit) : Limit(limit) {}
  int64_t Eval(TRunState& s) const override {
    int64_t l = Limit->Eval(s);
    if (l < 0)
      ++l;
    const uint32_t v = s.NextRandom();
    return (static_cast<int64_t>(v) * l) >> 32; // the high half, rounded down
  }
  const TIntNode* Limit;
};

struct TStrLength final : TIntNode {
  explicit TStrLength(const TStrNode* a) : A(a) {}
  int64_t Eval(TRunState& s) const override {
    TPasString v;
    A->Eval(s, v);
    return v.Length;
  }
  const TStrNode* A;
};

struct TStrOrd final : TIntNode {
  explicit TStrOrd(const TStrNode* a) : A(a) {}
  int64_t Eval(TRunState& s) const override {
    TPasString v;
    A->Eval(s, v);
    if (v.Length != 1)
      Fail(Format(Tr("Laufzeit", "ord braucht genau ein Zeichen, die Zeichenkette hat %1"),
                  {std::to_string(v.Length)}));
    return static_cast<unsigned char>(v.Data[0]);
  }
  const TStrNode* A;
};

struct TBoolOrd final : TIntNode {
  explicit TBoolOrd(const TBoolNode* a) : A(a) {}
  int64_t Eval(TRunState& s) const override { return A->Eval(s) ? 1 : 0; }
  const TBoolNode* A;
};

struct TStrPos final : TIntNode {
  TStrPos(const TStrNode* part, const TStrNode* in) : Part(part), In(in) {}
  int64_t Eval(TRunState& s) const override {
    TPasString part, in;
    Part->Eval(s, part);
    In->Eval(s, in);
    if (part.Length == 0)
      return 0;
    const std::size_t at = in.View().find(part.View());
    return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
  }
  const TStrNode* Part;
  const TStrNode* In;
};

// ---- reals ----

struct TRealConst final : TRealNode {
  explicit TRealConst(double v) : V(v) {}
  double Eval(TRunState&) const override { return V; }
  double V;
};

struct TRealVar final : TRealNode {
  explicit TRealVar(uint32_t slot) : Slot(slot) {}
  double Eval(TRunState& s) const override { return s.Cells[Slot].R; }
  uint32_t Slot;
};

struct TIntToReal final : TRealNode {
  explicit TIntToReal(const TIntNode* a) : A(a) {}
  double Eval(TRunState& s) const override { return static_cast<double>(A->Eval(s)); }
  const TIntNode* A;
};

enum class TRealOp { Add, Sub, Mul, Div };

template <TRealOp Op> struct TRealBinary final : TRealNode {
  TRealBinary(const TRealNode* a, const TRealNode* b) : A(a), B(b) {}
  double Eval(TRunState& s) const override {
    const double a = A->Eval(s), b = B->Eval(s);
    double r = 0;
    switch (Op) {
    case TRealOp::Add:
      r = a + b;
      break;
    case TRealOp::Sub:
      r = a - b;
      break;
    case TRealOp::Mul:
      r = a * b;
      break;
    case TRealOp::Div:
      if (b == 0)
        Fail(Tr("Laufzeit", "Division durch 0"));
      r = a / b;
      break;
    }
    return std::isfinite(a) && std::isfinite(b) ? Finite(r) : r;
  }
  const TRealNode* A;
  const TRealNode* B;
};

enum class TRealFn { Neg, Abs, Sqr, Sqrt, Sin, Cos, Arctan, Exp, Ln };

template <TRealFn Fn> struct TRealUnary final : TRealNode {
  explicit TRealUnary(const TRealNode* a) : A(a) {}
  double Eval(TRunState& s) const override {
    const double a = A->Eval(s);
    double r = 0;
    switch (Fn) {
    case TRealFn::Neg:
      return -a;
    case TRealFn::Abs:
      return std::fabs(a);
    case TRealFn::Sqr:
      r = a * a;
      break;
    case TRealFn::Sqrt:
      if (a < 0)
        Fail(Tr("Laufzeit", "Wurzel aus einer negativen Zahl"));
      r = std::sqrt(a);
      break;
    case TRealFn::Sin:
      r = std::sin(a);
      break;
    case TRealFn::Cos:
      r = std::cos(a);
      break;
    case TRealFn::Arctan:
      r = std::atan(a);
      break;
    case TRealFn::Exp:
      r = std::exp(a);
      break;
    case TRealFn::Ln:
      if (a <= 0)
        Fail(Tr("Laufzeit", "Logarithmus einer Zahl, die nicht größer als 0 ist"));
      r = std::log(a);
      break;
    }
    return std::isfinite(a) ? Finite(r) : r;
  }
  const TRealNode* A;
};

// random without a limit: a real from 0 up to 1, 1 excluded.
struct TRealRandom final : TRealNode {
  double Eval(TRunState& s) const override { return s.NextRandom() * (1.0 / 4294967296.0); }
};

// ---- booleans ----

struct TBoolConst final : TBoolNode {
  explicit TBoolConst(bool v) : V(v) {}
  bool Eval(TRunState&) const override { return V; }
  bool V;
};

struct TBoolVar final : TBoolNode {
  explicit TBoolVar(uint32_t slot) : Slot(slot) {}
  bool Eval(TRunState& s) const override { return s.Cells[Slot].B; }
  uint32_t Slot;
};

struct TBoolNot final : TBoolNode {
  explicit TBoolNot(const TBoolNode* a) : A(a) {}
  bool Eval(TRunState& s) const override { return !A->Eval(s); }
  const TBoolNode* A;
};

enum class TBoolOp { And, Or, Xor };

template <TBoolOp Op> struct TBoolBinary final : TBoolNode {
  TBoolBinary(const TBoolNode* a, const TBoolNode* b) : A(a), B(b) {}
  bool Eval(TRunState& s) const override {
    switch (Op) {
    case TBoolOp::And:
      return A->Eval(s) && B->Eval(s);
    case TBoolOp::Or:
      return A->Eval(s) || B->Eval(s);
    case TBoolOp::Xor:
      return A->Eval(s) != B->Eval(s);
    }
    return false;
  }
  const TBoolNode* A;
  const TBoolNode* B;
};

struct TIntOdd final : TBoolNode {
  explicit TIntOdd(const TIntNode* a) : A(a) {}
  bool Eval(TRunState& s) const override { return (A->Eval(s) & 1) != 0; }
  const TIntNode* A;
};

enum class TCompare { Eq, Ne, Lt, Gt, Le, Ge };

template <TCompare C, class V> bool Compared(const V& a, const V& b) {
  switch (C) {
  case TCompare::Eq:
    return a == b;
  case TCompare::Ne:
    return a != b;
  case TCompare::Lt:
    return a < b;
  case TCompare::Gt:
    return a > b;
  case TCompare::Le:
    return a <= b;
  case TCompare::Ge:
    return a >= b;
  }
  return false;
}

template <TCompare C, class Node> struct TComparison final : TBoolNode {
  TComparison(const Node* a, const Node* b) : A(a), B(b) {}
  bool Eval(TRunState& s) const override { return Compared<C>(A->Eval(s), B->Eval(s)); }
  const Node* A;
  const Node* B;
};

// Integer comparisons read variables and constants in place, as the integer operations do.
template <TCompare C, class L, class R> struct TIntComparison final : TBoolNode {
  TIntComparison(L a, R b) : A(a), B(b) {}
  bool Eval(TRunState& s) const override { return Compared<C>(A.Get(s), B.Get(s)); }
  L A;
  R B;
};

template <TCompare C> struct TComparison<C, TStrNode> final : TBoolNode {
  TComparison(const TStrNode* a, const TStrNode* b) : A(a), B(b) {}
  bool Eval(TRunState& s) const override {
    TPasString a, b;
    A->Eval(s, a);
    B->Eval(s, b);
    return Compared<C>(CompareStrings(a.View(), b.View()), 0);
  }
  const TStrNode* A;
  const TStrNode* B;
};

// ---- strings ----

struct TStrConst final : TStrNode {
  explicit TStrConst(std::string v) : V(std::move(v)) {}
  void Eval(TRunState&, TPasString& out) const override { out.Assign(V); }
  std::string V; // a literal may be longer than a variable can hold; write prints it whole
};

struct TStrVar final : TStrNode {
  explicit TStrVar(uint32_t slot) : Slot(slot) {}
  void Eval(TRunState& s, TPasString& out) const override { out = s.Strings[Slot]; }
  uint32_t Slot;
};

struct TStrConcat final : TStrNode {
  TStrConcat(const TStrNode* a, const TStrNode* b) : A(a), B(b) {}
  void Eval(TRunState& s, TPasString& out) const override {
    TPasString b;
    A->Eval(s, out);
    B->Eval(s, b);
    out.Append(b.View());
  }
  const TStrNode* A;
  const TStrNode* B;
};

struct TStrIndex final : TStrNode {
  TStrIndex(const TStrNode* a, const TIntNode* i) : A(a), I(i) {}
  void Eval(TRunState& s, TPasString& out) const override {
    A->Eval(s, out);
    const int64_t i = I->Eval(s);
    if (i < 1 || i > out.Length)
      Fail(Format(Tr("Laufzeit", "Index %1 liegt außerhalb der Zeichenkette (Länge %2)"),
                  {std::to_string(i), std::to_string(out.Length)}));
    out.Data[0] = out.Data[i - 1];
    out.Length = 1;
  }
  const TStrNode* A;
  const TIntNode* I;
};

struct TStrCopy final : TStrNode {
  TStrCopy(const TStrNode* a, const TIntNode* index, const TIntNode* count)
      : A(a), Index(index), Count(count) {}
  void Eval(TRunState& s, TPasString& out) const override {
    A->Eval(s, out);
    const int64_t index = Index->Eval(s), count = Count->Eval(s);
    const int64_t start = index > 1 ? index - 1 : 0;
    if (count <= 0 || start >= out.Length) {
      out.Length = 0;
      return;
    }
    const int64_t n = std::min<int64_t>(count, out.Length - start);
    out.Assign(out.View().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(n)));
  }
  const TStrNode* A;
  const TIntNode* Index;
  const TIntNode* Count;
};

struct TChr final : TStrNode {
  explicit TChr(const TIntNode* a) : A(a) {}
  void Eval(TRunState& s, TPasString& out) const override {
    const int64_t v = A->Eval(s);
    if (v < 0 || v > 255)
      Fail(Format(Tr("Laufzeit", "chr(%1) ist kein Zeichen (erlaubt sind 0 bis 255)"),
                  {std::to_string(v)}));
    out.Data[0] = static_cast<char>(v);
    out.Length = 1;
  }
  const TIntNode* A;
};

} // namespace run
