// SPDX-License-Identifier: MIT
// Parses Pascal expressions and simple statements (assignments and calls) from tokens. The
// importer only checks them and takes their extent; the translation of texts reads the tree.
#pragma once

#include "language/pascal_lexer.h"

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
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

// The operator of a Unary or Binary node, coded once, for those who ask about it often.
enum class TExprOp : uint8_t {
  Other, Eq, Ne, Lt, Gt, Le, Ge, In, Is, Plus, Minus, Times, Slash, Div, Mod, Shl, Shr, And, Or,
  Xor, Not
};

// Comparisons: =, <>, <, >, <=, >=.
inline bool IsComparisonOp(TExprOp op) {
  return op >= TExprOp::Eq && op <= TExprOp::Ge;
}

// A node's children. Nearly every node has at most three; they stay inside the node, so that a
// large program's texts are parsed without an allocation per node.
class TChildList {
public:
  TChildList() = default;
  TChildList(std::initializer_list<int> items) {
    for (int i : items)
      push_back(i);
  }
  TChildList(const TChildList& other) { *this = other; }
  TChildList& operator=(const TChildList& other) {
    if (this != &other) {
      size_ = 0;
      for (int i : other)
        push_back(i);
    }
    return *this;
  }
  TChildList(TChildList&& other) noexcept { *this = std::move(other); }
  TChildList& operator=(TChildList&& other) noexcept {
    if (this != &other) {
      size_ = other.size_;
      capacity_ = other.capacity_;
      heap_ = std::move(other.heap_);
      std::copy(other.inline_, other.inline_ + kInline, inline_);
      other.size_ = 0;
      other.capacity_ = kInline;
    }
    return *this;
  }

  void push_back(int v) {
    if (size_ == capacity_) {
      auto grown = std::make_unique<int[]>(capacity_ * 2);
      std::copy(begin(), end(), grown.get());
      heap_ = std::move(grown);
      capacity_ *= 2;
    }
    data()[size_++] = v;
  }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  int& operator[](std::size_t i) { return data()[i]; }
  int operator[](std::size_t i) const { return data()[i]; }
  int* begin() { return data(); }
  int* end() { return data() + size_; }
  const int* begin() const { return data(); }
  const int* end() const { return data() + size_; }

private:
  static constexpr uint32_t kInline = 3;
  int* data() { return heap_ ? heap_.get() : inline_; }
  const int* data() const { return heap_ ? heap_.get() : inline_; }
  uint32_t size_ = 0;
  uint32_t capacity_ = kInline;
  int inline_[kInline] = {};
  std::unique_ptr<int[]> heap_;
};

struct TExprNode {
  TExprKind Kind;
  std::string Op;         // operator or word in lower case; for names the lower-case name
  std::string Text;       // names and numbers as written; the bytes a string literal stands for
  std::size_t FirstToken; // the node's token range, for its source text
  std::size_t LastToken;
  TChildList Children;
  int Depth = 1; // nodes on the longest path down, this one included
  // The program's variable a name stands for (its index), -1 for none; set where the tree is
  // one of a program's texts (see TExprTree::Resolved).
  int Variable = -1;
  TExprOp Code = TExprOp::Other;
  uint8_t Type = 0; // a TValueType once the tree is Typed
};

// The nodes of one parse; children are indexes into Nodes, so that no node owns another and a
// long chain a + b + c + ... is freed without recursion.
struct TExprTree {
  std::vector<TExprNode> Nodes;
  bool Resolved = false; // every name's Variable is set
  int TypedUpTo = 0;     // the nodes before this one have their Type set
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
  int Add(TExprKind kind, std::string op, std::size_t first, TChildList children,
          std::string text = std::string());
  const TPascalToken& Cur() const { return tokens_[pos_]; }
  // A syntax error at the current token.
  [[noreturn]] void Fail(const std::string& message) const;
  void Expect(const char* symbol);

  const std::vector<TPascalToken>& tokens_;
  std::size_t& pos_;
  TExprTree* tree_;
  int nesting_ = 0;
};

// Nesting of parentheses, calls and operators beyond this is refused as an error.
constexpr int kMaxExpressionNesting = 500;
