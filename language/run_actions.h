// SPDX-License-Identifier: MIT
// The simple statements a statement text compiles to: assignments, write and read, break, halt
// and randomize.
#pragma once

#include "language/program_texts.h"
#include "language/run_expressions.h"

#include <charconv>
#include <chrono>
#include <string>
#include <vector>

namespace run {

struct TAssignInt final : TAction {
  TAssignInt(uint32_t slot, const TIntNode* v) : Slot(slot), V(v) {}
  TFlow Exec(TRunState& s) const override {
    TCell c;
    c.I = V->Eval(s);
    s.SetCell(Slot, c);
    return TFlow::Next;
  }
  uint32_t Slot;
  const TIntNode* V;
};

struct TAssignReal final : TAction {
  TAssignReal(uint32_t slot, const TRealNode* v) : Slot(slot), V(v) {}
  TFlow Exec(TRunState& s) const override {
    TCell c;
    c.R = V->Eval(s);
    s.SetCell(Slot, c);
    return TFlow::Next;
  }
  uint32_t Slot;
  const TRealNode* V;
};

struct TAssignBool final : TAction {
  TAssignBool(uint32_t slot, const TBoolNode* v) : Slot(slot), V(v) {}
  TFlow Exec(TRunState& s) const override {
    TCell c;
    c.I = 0;
    c.B = V->Eval(s);
    s.SetCell(Slot, c);
    return TFlow::Next;
  }
  uint32_t Slot;
  const TBoolNode* V;
};

struct TAssignStr final : TAction {
  TAssignStr(uint32_t slot, const TStrNode* v) : Slot(slot), V(v) {}
  TFlow Exec(TRunState& s) const override {
    TPasString v;
    V->Eval(s, v);
    s.SetString(Slot, v.View());
    return TFlow::Next;
  }
  uint32_t Slot;
  const TStrNode* V;
};

// One argument of write: a value of its type, with an optional width and decimals.
struct TWriteArg {
  TValueType Type = TValueType::Unknown;
  const TNode* Node = nullptr;
  int Width = -1;
  int Decimals = -1;
  const std::string* Literal = nullptr; // a string literal alone, written whole
};

struct TWrite final : TAction {
  TWrite(std::vector<TWriteArg> args, bool newLine) : Args(std::move(args)), NewLine(newLine) {}
  TFlow Exec(TRunState& s) const override {
    // Each argument is out before the next is computed, as a failing one finds it.
    for (const TWriteArg& a : Args)
      WriteOne(s, a);
    if (NewLine)
      s.Output->Write("\n", 1);
    return TFlow::Next;
  }
  static void WriteOne(TRunState& s, const TWriteArg& a) {
    switch (a.Type) {
    case TValueType::Integer: {
      const int64_t v = static_cast<const TIntNode*>(a.Node)->Eval(s);
      if (a.Width <= 0) {
        char buffer[24];
        const auto done = std::to_chars(buffer, buffer + sizeof buffer, v);
        s.Output->Write(buffer, static_cast<std::size_t>(done.ptr - buffer));
        return;
      }
      const std::string text = IntegerText(v, a.Width);
      s.Output->Write(text.data(), text.size());
      return;
    }
    case TValueType::Real: {
      const std::string text =
          RealText(static_cast<const TRealNode*>(a.Node)->Eval(s), a.Width, a.Decimals);
      s.Output->Write(text.data(), text.size());
      return;
    }
    case TValueType::Boolean: {
      const std::string text = BooleanText(static_cast<const TBoolNode*>(a.Node)->Eval(s), a.Width);
      s.Output->Write(text.data(), text.size());
      return;
    }
    default: {
      if (a.Literal) {
        const std::string text = Padded(*a.Literal, a.Width);
        s.Output->Write(text.data(), text.size());
        return;
      }
      TPasString v;
      static_cast<const TStrNode*>(a.Node)->Eval(s, v);
      if (a.Width <= v.Length) {
        s.Output->Write(v.Data, v.Length);
        return;
      }
      const std::string text = Padded(std::string(v.View()), a.Width);
      s.Output->Write(text.data(), text.size());
      return;
    }
    }
  }
  std::vector<TWriteArg> Args;
  bool NewLine;
};

[[noreturn]] inline void FailReading(TReadResult r, const std::string& text, bool integer) {
  if (r == TReadResult::TooLarge)
    Fail(Format(Tr("Laufzeit", "die Zahl »%1« in der Eingabe ist zu groß"), {text}));
  if (text.empty())
    Fail(integer ? Tr("Laufzeit", "in der Eingabe steht keine ganze Zahl mehr")
                 : Tr("Laufzeit", "in der Eingabe steht keine Zahl mehr"));
  Fail(Format(integer ? Tr("Laufzeit", "in der Eingabe steht »%1«, keine ganze Zahl")
                      : Tr("Laufzeit", "in der Eingabe steht »%1«, keine Zahl"),
              {text}));
}

struct TReadInt final : TAction {
  explicit TReadInt(uint32_t slot) : Slot(slot) {}
  TFlow Exec(TRunState& s) const override {
    uint64_t pos = s.InputPos;
    int64_t v = 0;
    std::string text;
    const TReadResult r = ReadInteger(*s.Input, pos, v, text);
    if (r == TReadResult::Pending)
      return TFlow::Pending;
    if (r != TReadResult::Done)
      FailReading(r, text, true);
    TCell c;
    c.I = v;
    s.SetCell(Slot, c);
    s.SetInputPos(pos);
    return TFlow::Next;
  }
  uint32_t Slot;
};

struct TReadReal final : TAction {
  explicit TReadReal(uint32_t slot) : Slot(slot) {}
  TFlow Exec(TRunState& s) const override {
    uint64_t pos = s.InputPos;
    double v = 0;
    std::string text;
    const TReadResult r = ReadReal(*s.Input, pos, v, text);
    if (r == TReadResult::Pending)
      return TFlow::Pending;
    if (r != TReadResult::Done)
      FailReading(r, text, false);
    TCell c;
    c.R = v;
    s.SetCell(Slot, c);
    s.SetInputPos(pos);
    return TFlow::Next;
  }
  uint32_t Slot;
};

struct TReadStr final : TAction {
  explicit TReadStr(uint32_t slot) : Slot(slot) {}
  TFlow Exec(TRunState& s) const override {
    uint64_t pos = s.InputPos;
    std::string v;
    if (ReadString(*s.Input, pos, v) == TReadResult::Pending)
      return TFlow::Pending;
    s.SetString(Slot, v);
    s.SetInputPos(pos);
    return TFlow::Next;
  }
  uint32_t Slot;
};

struct TSkipLine final : TAction {
  TFlow Exec(TRunState& s) const override {
    uint64_t pos = s.InputPos;
    if (SkipLine(*s.Input, pos) == TReadResult::Pending)
      return TFlow::Pending;
    s.SetInputPos(pos);
    return TFlow::Next;
  }
};

struct TBreak final : TAction {
  TFlow Exec(TRunState&) const override { return TFlow::Break; }
};

struct THalt final : TAction {
  explicit THalt(const TIntNode* code) : Code(code) {}
  TFlow Exec(TRunState& s) const override {
    s.ExitCode = Code ? static_cast<int>(Code->Eval(s) & 0xFF) : 0;
    return TFlow::Halt;
  }
  const TIntNode* Code;
};

// randomize seeds from the clock; with a fixed seed it starts that seed's numbers again.
struct TRandomize final : TAction {
  TFlow Exec(TRunState& s) const override {
    if (s.FixedSeed) {
      s.Reseed(s.Random.Seed);
    } else {
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      s.Reseed(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
    }
    return TFlow::Next;
  }
};

} // namespace run
