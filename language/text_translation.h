// SPDX-License-Identifier: MIT
// Translates the Pascal-like texts of statements, conditions and counting loops into Python, Java
// or C, with the meaning Pascal gives them. What cannot be translated faithfully is refused, and
// the caller writes the text unchanged with a marker.
#pragma once

#include "language/program_texts.h"
#include "language/source_language.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// What translated code uses beyond the language's core, so that the program includes it.
struct TRuntimeNeeds {
  std::set<std::string> Helpers; // helper functions called, by their name in the language
  bool ByteOutput = false;       // bytes from 0x80 up may be printed and must come out unchanged
  bool Math = false;             // Python's math module, C's math.h
  bool Strings = false;          // C's string.h
  bool Stdlib = false;           // C's stdlib.h
  bool Booleans = false;         // C's stdbool.h for true and false
  bool Random = false;           // Python's random module, C's time.h for randomize
  bool Exit = false;             // Python's sys module for halt
};

class TTextTranslator {
public:
  TTextTranslator(TSourceLanguage language, const TProgramTexts& texts);

  // The variable's name in the target language (keywords and the helpers' names get a '_').
  const std::string& VariableName(const std::string& lowerName) const;

  // Lines of code, without indent, for a statement text.
  bool Statements(const TParsedText& parsed, std::vector<std::string>& lines);
  // A boolean condition, without the parentheses an if or a loop puts around it.
  bool Condition(const TParsedText& parsed, std::string& code);
  // Whether a condition names no variable (Java refuses code after a constant infinite loop).
  static bool IsConstant(const TParsedText& parsed);

  // A counting loop v := a bis b: both bounds inclusive.
  struct TLoop {
    std::string Variable;
    std::string From;
    std::string To;           // fit to stand after "<="
    std::string ToPlusOne;    // Python's exclusive end of range()
    bool ConstantEnd = false; // the end names no variable, so reading it again changes nothing
  };
  bool CountingLoop(const TParsedText& parsed, TLoop& loop);

  // A literal in the target language for a Windows-1252 text (Python and Java write the bytes
  // from 0x80 up as the characters U+0080..U+00FF, printed again as single bytes).
  std::string StringLiteral(const std::string& bytes);

  TRuntimeNeeds Needs;

private:
  struct TCode;
  TCode Render(const TExprTree& tree, int node, int minPrecedence);
  TCode RenderBinary(const TExprTree& tree, const TExprNode& n);
  TCode RenderCall(const TExprTree& tree, const TExprNode& n);
  std::string At(const TExprTree& tree, int node, int minPrecedence);
  std::string MinusOne(const TExprTree& tree, int node, int delta);
  void Statement(const TExprTree& tree, int node, std::vector<std::string>& lines);
  void Write(const TExprTree& tree, const TExprNode& call, bool newLine,
             std::vector<std::string>& lines);
  void Read(const TExprTree& tree, const TExprNode& call, bool newLine,
            std::vector<std::string>& lines);
  TValueType TypeOf(const TExprTree& tree, int node) const;
  std::string End() const; // ";" or nothing
  std::string Random(const std::string& limit);

  TSourceLanguage language_;
  const TProgramTexts& texts_;
  std::map<std::string, std::string> names_;
};
