// SPDX-License-Identifier: MIT
// Splits Pascal source (Windows-1252 bytes) into tokens, for the importer and the translation of
// the Pascal-like texts of statements and conditions.
#pragma once

#include "model/stream.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

// A syntax error with its place; what() is the user's message "Zeile L, Spalte C: ...".
class TPascalSyntaxError : public TStreamError {
public:
  TPascalSyntaxError(int line, int column, const std::string& message);
  int Line;
  int Column;
};

enum class TPascalTokenKind { Identifier, Keyword, Integer, Real, String, Symbol, End };

struct TPascalToken {
  TPascalTokenKind Kind = TPascalTokenKind::End;
  // As written; for identifiers and keywords `Word` holds the lower-case spelling to match on.
  std::string Text;
  std::string Word;
  // The bytes a string literal stands for ('it''s'#10 gives "it's" and a line feed).
  std::string Value;
  std::size_t Begin = 0; // byte range in the source
  std::size_t End = 0;
  int Line = 1;
  int Column = 1;

  bool IsKeyword(const char* word) const {
    return Kind == TPascalTokenKind::Keyword && Equals(Word, word);
  }
  bool IsSymbol(const char* symbol) const {
    return Kind == TPascalTokenKind::Symbol && Equals(Text, symbol);
  }
  // Inline, so that the parsers' many comparisons with short literals cost a few instructions.
  static bool Equals(const std::string& a, const char* b) {
    const std::size_t n = std::char_traits<char>::length(b);
    return a.size() == n && std::memcmp(a.data(), b, n) == 0;
  }
};

// A `//` comment that starts its line: named blocks are framed by such comments.
struct TLineComment {
  std::string Text;      // after the slashes, up to the line end
  std::size_t NextToken; // index of the first token after it
};

struct TPascalTokens {
  std::vector<TPascalToken> Tokens; // ends with one token of kind End
  std::vector<TLineComment> LineComments;
};

// Tokens of the source; comments ({ }, (* *), //) and compiler directives are skipped. Throws
// TPascalSyntaxError for an unterminated string or comment and for characters Pascal does not
// use outside strings and comments.
TPascalTokens TokenizePascal(const std::string& source);
