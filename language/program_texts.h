// SPDX-License-Identifier: MIT
// The texts of a program read as Pascal (statement texts, conditions, counting-loop texts), the
// variables they use, and the type each variable must have in a language that declares it.
#pragma once

#include "model/element.h"
#include "model/element_index.h"
#include "language/pascal_expression.h"

#include <unordered_map>
#include <string>
#include <vector>

enum class TValueType { Unknown, Integer, Real, Boolean, String };

// One text read as Pascal of its kind; Valid is false when it is not.
struct TParsedText {
  bool Valid = false;
  TExprTree Tree;
  std::vector<int> Statements; // a statement text: one node per simple statement
  int Condition = -1;          // a condition
  int LoopVariable = -1;       // a counting loop "v := a bis b": three nodes
  int LoopFrom = -1;
  int LoopTo = -1;
};

// Statements separated by ';' (an empty text is an empty statement), an expression, or a
// counting-loop text split exactly as the Pascal export splits it, so that every language
// counts over the same bounds.
TParsedText ParseStatementText(const std::string& text);
TParsedText ParseConditionText(const std::string& text);
TParsedText ParseCountingLoopText(const std::string& text);

// Predefined procedures, functions and constants that the translation knows; a name among them
// is never taken for a variable.
bool IsKnownProcedure(const std::string& lowerName);
bool IsKnownFunction(const std::string& lowerName);

struct TVariable {
  std::string Name; // spelled as at its first use (Pascal ignores case, the others do not)
  TValueType Type;
};

// Every text of a tree parsed once, and the program's variables: every name that is assigned,
// read, or counted with, except names that are called. A variable is an Integer unless a text
// makes another type obvious: a string, real or true/false value assigned to it (directly or
// through another variable), `not` applied to it, or it standing alone as a condition.
class TProgramTexts {
public:
  explicit TProgramTexts(const TBlock& root);

  // The parse of an element's text as its kind needs it (statements and blocks: statements);
  // elements of one kind with equal texts get the same one.
  const TParsedText& Of(const TElement& element) const;
  // In order of first use (in the order the export writes the texts).
  const std::vector<TVariable>& Variables() const { return variables_; }
  // Unknown for names that are no variable.
  TValueType TypeOf(const std::string& lowerName) const;
  // The type of an expression; Unknown where it cannot be told.
  TValueType ExpressionType(const TExprTree& tree, int node) const;

private:
  std::vector<TParsedText> texts_; // each text once, in order of first use; [0] is no text
  TElementIndex index_of_;
  std::vector<TVariable> variables_;
  std::unordered_map<std::string, std::size_t> index_; // lower-case name -> position in variables_
};

// Expression trees deeper than this are not translated (their translation would recurse).
constexpr int kMaxTranslatedDepth = 200;
