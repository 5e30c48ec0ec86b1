// SPDX-License-Identifier: MIT
// A program compiled for running: its texts parsed and typed once (by the declaration rule of the
// exports), the elements laid out as a flat list of steps with jumps, so that running walks
// neither texts nor the element tree.
#pragma once

#include "model/element_index.h"
#include "language/program_texts.h"
#include "language/run_nodes.h"
#include "model/element.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

enum class TStepKind : uint8_t {
  Statement, // the element's simple statements, one after the other
  Test,      // a condition: jumps to Target when it equals JumpIf, else goes on
  ForStart,  // a counting loop begins: bounds read once, past the loop when none is counted
  ForNext,   // a counting loop counts on: back to the body, or on past the loop
  Jump,      // no element of its own: goes to Target
  End        // the program's end
};

struct TRunStep {
  TStepKind Kind = TStepKind::End;
  bool JumpIf = false;
  uint32_t Next = 0;        // where the step goes on when it does not jump (jumps followed)
  uint32_t Target = 0;
  uint32_t BreakTarget = 0; // Statement: where a break leads (the end of the loop around it)
  uint32_t Element = 0;     // index into TRunProgram::Elements
  uint32_t First = 0;       // Statement: its actions
  uint32_t Count = 0;
  const TBoolNode* Condition = nullptr;
  const TIntNode* From = nullptr; // ForStart
  const TIntNode* To = nullptr;
  uint32_t Variable = 0; // counting loop: the variable, the hidden counter and end value
  uint32_t Counter = 0;
  uint32_t Last = 0;
};

struct TRunElement {
  const TElement* Element = nullptr;
  int32_t Parent = -1; // the element (block, decision or loop) it lies in; -1 for the root
};

struct TRunVariable {
  std::string Name; // as spelled at its first use
  TValueType Type = TValueType::Integer;
};

// A text that cannot be run; what() says which element and why.
class TCompileError : public std::runtime_error {
public:
  TCompileError(const TElement* element, const std::string& message)
      : std::runtime_error(message), Element(element) {}
  const TElement* Element;
};

class TRunProgram {
public:
  std::vector<TRunStep> Steps; // the last is the End step
  uint32_t Start = 0;          // the first step that runs
  std::vector<const TAction*> Actions;
  std::vector<TRunElement> Elements; // every element of the tree, the root first
  std::vector<TRunVariable> Variables;
  uint32_t CellCount = 0; // the variables' slots, then the counting loops' hidden ones
  TNodeArena Nodes;

  // The element's index in Elements, or -1 when it is not part of the program.
  int32_t IndexOf(const TElement* e) const;
  // Whether element index `inner` is `outer` or lies inside it.
  bool Within(int32_t inner, int32_t outer) const;
  void AddElement(const TElement* e, int32_t parent);

private:
  mutable TElementIndex index_;
};

// Compiles the program under root; throws TCompileError for the first text (in the order the
// export writes them) that cannot be run, and for a break outside every loop.
std::unique_ptr<TRunProgram> CompileProgram(const TBlock& root);

// A text that cannot be run, and why (for the checks while editing).
struct TTextProblem {
  const TElement* Element;
  std::string Why;
};
// Every text of the program that cannot be run, in the export's order.
std::vector<TTextProblem> FindTextProblems(const TBlock& root);

// The element's text in one line, as a message quotes it: control characters as blanks.
std::string QuotedElementText(const TElement& e);

// The type's name with its article as messages use it ("eine ganze Zahl"), in the user's
// language.
std::string ValueTypeName(TValueType t);
// The type's name without article, for "für den Typ …" and the variables' list: "ganze Zahl".
std::string ValueTypeWord(TValueType t);
