// SPDX-License-Identifier: MIT
#include "language/pascal_lexer.h"

#include "model/texts.h"

#include <algorithm>
#include <cstring>

namespace {

// Words that cannot name a variable; everything the parsers match on is among them.
const char* const kKeywords[] = {"and",        "array",
                                 "asm",        "begin",
                                 "case",       "class",
                                 "const",      "constructor",
                                 "destructor", "div",
                                 "do",         "downto",
                                 "else",       "end",
                                 "except",     "file",
                                 "finally",    "for",
                                 "function",   "goto",
                                 "if",         "implementation",
                                 "in",         "inherited",
                                 "interface",  "is",
                                 "label",      "mod",
                                 "nil",        "not",
                                 "object",     "of",
                                 "or",         "packed",
                                 "procedure",  "program",
                                 "raise",      "record",
                                 "repeat",     "set",
                                 "shl",        "shr",
                                 "then",       "to",
                                 "try",        "type",
                                 "unit",       "until",
                                 "uses",       "var",
                                 "while",      "with",
                                 "xor"};

bool IsKeywordWord(const std::string& word) {
  // The table is in alphabetical order.
  return std::binary_search(std::begin(kKeywords), std::end(kKeywords), word.c_str(),
                            [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

class TLexer {
public:
  explicit TLexer(const std::string& source) : s_(source) {}

  TPascalTokens Run() {
    TPascalTokens out;
    out.Tokens.reserve(s_.size() / 2 + 2); // a token every other byte at most, in short texts
    bool lineStart = true; // nothing but blanks since the last line end
    while (true) {
      const char c = Peek(0);
      if (pos_ >= s_.size()) {
        break;
      } else if (c == '\n' || c == '\r') {
        Advance(1);
        lineStart = true;
      } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
        Advance(1);
      } else if (c == '/' && Peek(1) == '/') {
        const std::size_t start = pos_ + 2;
        while (pos_ < s_.size() && Peek(0) != '\n' && Peek(0) != '\r')
          Advance(1);
        if (lineStart)
          out.LineComments.push_back({s_.substr(start, pos_ - start), out.Tokens.size()});
      } else if (c == '{') {
        SkipComment(1, "}");
      } else if (c == '(' && Peek(1) == '*') {
        SkipComment(2, "*)");
      } else {
        Token(out.Tokens.emplace_back()); // made in place: large programs have millions
        lineStart = false;
      }
    }
    TPascalToken end;
    end.Begin = end.End = pos_;
    end.Line = line_;
    end.Column = Column();
    out.Tokens.push_back(end);
    return out;
  }

private:
  char Peek(std::size_t ahead) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0'; }
  int Column() const { return static_cast<int>(pos_ - lineBegin_) + 1; }

  // Moves over n bytes, counting line ends (CR LF, LF and CR alone each end one line).
  void Advance(std::size_t n) {
    for (; n > 0 && pos_ < s_.size(); --n) {
      const char c = s_[pos_++];
      if (c == '\n' || (c == '\r' && Peek(0) != '\n')) {
        ++line_;
        lineBegin_ = pos_;
      }
    }
  }

  [[noreturn]] void Fail(int line, int column, const std::string& message) const {
    throw TPascalSyntaxError(line, column, message);
  }

  void SkipComment(std::size_t open, const char* close) {
    const int line = line_, column = Column();
    Advance(open);
    const std::size_t end = s_.find(close, pos_);
    if (end == std::string::npos)
      Fail(line, column, Tr("Pascal-Import", "Kommentar nicht abgeschlossen"));
    Advance(end + std::strlen(close) - pos_);
  }

  void Token(TPascalToken& t) {
    t.Begin = pos_;
    t.Line = line_;
    t.Column = Column();
    const char c = Peek(0);
    if (IsLetter(c) || (c == '&' && IsLetter(Peek(1)))) {
      Advance(c == '&' ? 1 : 0);
      const std::size_t start = pos_;
      while (IsLetter(Peek(0)) || IsDigit(Peek(0)))
        Advance(1);
      t.Word.assign(s_, start, pos_ - start);
      for (char& ch : t.Word)
        if (ch >= 'A' && ch <= 'Z')
          ch = static_cast<char>(ch - 'A' + 'a');
      // An identifier written &end is not the keyword.
      t.Kind = c != '&' && IsKeywordWord(t.Word) ? TPascalTokenKind::Keyword
                                                 : TPascalTokenKind::Identifier;
    } else if (IsDigit(c)) {
      Number(t);
    } else if (c == '$' || c == '%' || c == '&') {
      Advance(1);
      const std::size_t start = pos_;
      auto valid = [c](char d) {
        return c == '$'   ? IsHexDigit(d)
               : c == '%' ? (d == '0' || d == '1')
                          : (d >= '0' && d <= '7');
      };
      while (valid(Peek(0)))
        Advance(1);
      if (pos_ == start)
        Fail(t.Line, t.Column,
             Format(Tr("Pascal-Import", "Zahl erwartet nach '%1'"), {std::string(1, c)}));
      t.Kind = TPascalTokenKind::Integer;
    } else if (c == '\'' || c == '#') {
      StringLiteral(t);
    } else {
      Symbol(t);
    }
    t.End = pos_;
    t.Text.assign(s_, t.Begin, t.End - t.Begin);
  }

  void Number(TPascalToken& t) {
    t.Kind = TPascalTokenKind::Integer;
    while (IsDigit(Peek(0)))
      Advance(1);
    // "1..5" is a range, not a real number.
    if (Peek(0) == '.' && IsDigit(Peek(1))) {
      t.Kind = TPascalTokenKind::Real;
      Advance(1);
      while (IsDigit(Peek(0)))
        Advance(1);
    }
    if ((Peek(0) == 'e' || Peek(0) == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
      t.Kind = TPascalTokenKind::Real;
      Advance(2);
      while (IsDigit(Peek(0)))
        Advance(1);
    }
  }

  // A run of quoted parts and character codes: 'ab'#13#$0A'cd' is one literal.
  void StringLiteral(TPascalToken& t) {
    t.Kind = TPascalTokenKind::String;
    while (Peek(0) == '\'' || Peek(0) == '#') {
      if (Peek(0) == '#') {
        const int column = Column();
        Advance(1);
        unsigned long code = 0;
        const bool hex = Peek(0) == '$';
        Advance(hex ? 1 : 0);
        const std::size_t start = pos_;
        while (hex ? IsHexDigit(Peek(0)) : IsDigit(Peek(0))) {
          const char d = Peek(0);
          const unsigned long digit =
              IsDigit(d) ? d - '0' : (d >= 'a' ? d - 'a' + 10 : d - 'A' + 10);
          code = std::min(code * (hex ? 16 : 10) + digit, 0x10000ul);
          Advance(1);
        }
        if (pos_ == start || code > 255)
          Fail(t.Line, column, Tr("Pascal-Import", "ungültiges Zeichen nach '#'"));
        t.Value += static_cast<char>(code);
        continue;
      }
      Advance(1);
      while (true) {
        const char d = Peek(0);
        if (pos_ >= s_.size() || d == '\n' || d == '\r')
          Fail(t.Line, t.Column, Tr("Pascal-Import", "Zeichenkette nicht abgeschlossen"));
        Advance(1);
        if (d == '\'') {
          if (Peek(0) != '\'')
            break;
          Advance(1);
        }
        t.Value += d;
      }
    }
  }

  void Symbol(TPascalToken& t) {
    static const char* const kTwo[] = {":=", "<=", ">=", "<>", "..", "+=", "-=", "*=", "/="};
    for (const char* two : kTwo) {
      if (Peek(0) == two[0] && Peek(1) == two[1]) {
        t.Kind = TPascalTokenKind::Symbol;
        Advance(2);
        return;
      }
    }
    const char c = Peek(0);
    if (c != '\0' && std::strchr("+-*/=<>()[],;:.^@", c)) {
      t.Kind = TPascalTokenKind::Symbol;
      Advance(1);
      return;
    }
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte < 0x7F)
      Fail(t.Line, t.Column,
           Format(Tr("Pascal-Import", "unerwartetes Zeichen '%1'"), {std::string(1, c)}));
    Fail(t.Line, t.Column, Tr("Pascal-Import", "unerwartetes Zeichen"));
  }

  const std::string& s_;
  std::size_t pos_ = 0;
  std::size_t lineBegin_ = 0;
  int line_ = 1;
};

} // namespace

TPascalSyntaxError::TPascalSyntaxError(int line, int column, const std::string& message)
    : TStreamError(Format(Tr("Pascal-Import", "Zeile %1, Spalte %2: %3"),
                          {std::to_string(line), std::to_string(column), message})),
      Line(line), Column(column) {}

TPascalTokens TokenizePascal(const std::string& source) {
  return TLexer(source).Run();
}
