// SPDX-License-Identifier: MIT
// Parses Pascal expressions and simple statements (assignments and calls) from tokens. The
// importer only checks them and takes their extent; the translation of texts reads the tree.
#pragma once

#include "language/pascal_lexer.h"

#include <cstddef>
#include <string>
#include <vector>

enum class TExprKind {
  Integer,
  Real,
  String,
  Name, // an identifier, also a call without arguments
  Nil,
  Call,   // children: callee, arguments
  Index,  // children: array, indexes
  Field,  // children: record; Op: the field name
  Deref,  // children: pointer
  Unary,  // Op: "-", "+", "not", "@"
  Binary, // Op: the operator in lower case; children: left, right
  Paren,
  Set,       // children: items, each an expression or a Range
  Range,     // children: from, to
  Formatted, // a write argument x:w or x:w:d; children: value, width, decimals
  Assign,    // a statement: children: target, value; Op ":=" or "+=" ...
  Inherited  // a statement or call target `inherited [name]`
};

struct TExprNode {
  TExprKind Kind;
  std::string Op;         // operator or word in lower case; for names the lower-case name
  std::string Text;       // names and numbers as written; the bytes a string literal stands for
  std::size_t FirstToken; // the node's token range, for its source text
  std::size_t LastToken;
  std::vector<int> Children;
  int Depth = 1; // nodes on the longest path down, this one included
};

// The nodes of one parse; children are indexes into Nodes, so that no node owns another and a
// long chain a + b + c + ... is freed without recursion.
struct TExprTree {
  std::vector<TExprNode> Nodes;
  const TExprNode& operator[](int i) const { return Nodes[static_cast<std::size_t>(i)]; }
};

// Parses from tokens[pos] on and leaves pos after what it read. Without a tree it only checks
// the syntax and returns -1; with one it returns the index of the new root node. Throws
// TPascalSyntaxError with the place of the first unexpected token.
class TExpressionParser {
public:
  TExpressionParser(const std::vector<TPascalToken>& tokens, std::size_t& pos,
                    TExprTree* tree = nullptr)
      : tokens_(tokens), pos_(pos), tree_(tree) {}

  int Expression();
  // An assignment `target := value` (also +=, -=, *=, /=), a call or a bare name.
  int SimpleStatement();

private:
  int Simple();
  int Term();
  int Factor();
  int Primary();
  int Postfix(int node, std::size_t first);
  int Argument();
  int Add(TExprKind kind, std::string op, std::size_t first, std::vector<int> children,
          std::string text = std::string());
  const TPascalToken& Cur() const { return tokens_[pos_]; }
  [[noreturn]] void Expected(const char* what) const;
  void Expect(const char* symbol);

  const std::vector<TPascalToken>& tokens_;
  std::size_t& pos_;
  TExprTree* tree_;
  int nesting_ = 0;
};

// Nesting of parentheses, calls and operators beyond this is refused as an error.
constexpr int kMaxExpressionNesting = 500;
