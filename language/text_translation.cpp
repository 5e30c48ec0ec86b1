// SPDX-License-Identifier: MIT
#include "language/text_translation.h"

#include <cstdio>
#include <set>

namespace {

// Thrown where a text cannot be translated with its Pascal meaning.
struct TUntranslatable {};

[[noreturn]] void Refuse() {
  throw TUntranslatable();
}

// Binding strength of a translated expression's top operator; higher binds tighter.
constexpr int kLowest = 0;
constexpr int kNot = 3; // Python's `not` binds looser than comparisons
constexpr int kCompare = 4;
constexpr int kEquality = 7;
constexpr int kRelational = 8;
constexpr int kAdd = 10;
constexpr int kMul = 11;
constexpr int kUnary = 12;
constexpr int kAtom = 14;

int Level(TSourceLanguage language, const std::string& op) {
  const bool python = language == TSourceLanguage::Python;
  if (op == "or" || op == "||")
    return 1;
  if (op == "and" || op == "&&")
    return 2;
  if (op == "==" || op == "!=")
    return python ? kCompare : kEquality;
  if (op == "<" || op == ">" || op == "<=" || op == ">=")
    return python ? kCompare : kRelational;
  if (op == "|")
    return python ? 5 : 4;
  if (op == "^")
    return python ? 6 : 5;
  if (op == "&")
    return python ? 7 : 6;
  if (op == "<<" || op == ">>")
    return 9;
  if (op == "+" || op == "-")
    return kAdd;
  return kMul; // * / // %
}

bool NamesSomething(const TExprTree& tree, int node) {
  if (tree[node].Kind == TExprKind::Name)
    return true;
  for (int child : tree[node].Children)
    if (NamesSomething(tree, child))
      return true;
  return false;
}

bool IsComparison(const std::string& op) {
  return op == "==" || op == "!=" || op == "<" || op == ">" || op == "<=" || op == ">=";
}

// A Pascal integer literal as written: 123, $FF, &17, %101.
bool IntegerValue(const std::string& text, unsigned long long& value) {
  int base = 10;
  std::size_t start = 0;
  if (!text.empty() && (text[0] == '$' || text[0] == '&' || text[0] == '%')) {
    base = text[0] == '$' ? 16 : text[0] == '&' ? 8 : 2;
    start = 1;
  }
  value = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : 99;
    if (digit >= base)
      return false;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull)
      return false;
  }
  return true;
}

const std::set<std::string>& Reserved(TSourceLanguage language) {
  static const std::set<std::string> python = {
      "False",    "None",      "True",        "and",       "as",         "assert",  "async",
      "await",    "break",     "class",       "continue",  "def",        "del",     "elif",
      "else",     "except",    "finally",     "for",       "from",       "global",  "if",
      "import",   "in",        "is",          "lambda",    "nonlocal",   "not",     "or",
      "pass",     "raise",     "return",      "try",       "while",      "with",    "yield",
      "match",    "case",      "print",       "input",     "int",        "str",     "len",
      "range",    "format",    "chr",         "ord",       "abs",        "round",   "float",
      "math",     "sys",       "random",      "copy",      "pos",        "any",     "all",
      "list",     "map",       "min",         "max",       "ValueError", "decimal", "real_str",
      "read_int", "read_real", "read_string", "skip_line", "_carry",     "_round",  "_line",
      "_peek",    "_take",     "_number"};
  static const std::set<std::string> java = {"abstract",
                                             "assert",
                                             "boolean",
                                             "break",
                                             "byte",
                                             "case",
                                             "catch",
                                             "char",
                                             "class",
                                             "const",
                                             "continue",
                                             "default",
                                             "do",
                                             "double",
                                             "else",
                                             "enum",
                                             "extends",
                                             "final",
                                             "finally",
                                             "float",
                                             "for",
                                             "goto",
                                             "if",
                                             "implements",
                                             "import",
                                             "instanceof",
                                             "int",
                                             "interface",
                                             "long",
                                             "native",
                                             "new",
                                             "package",
                                             "private",
                                             "protected",
                                             "public",
                                             "return",
                                             "short",
                                             "static",
                                             "strictfp",
                                             "super",
                                             "switch",
                                             "synchronized",
                                             "this",
                                             "throw",
                                             "throws",
                                             "transient",
                                             "try",
                                             "void",
                                             "volatile",
                                             "while",
                                             "true",
                                             "false",
                                             "null",
                                             "var",
                                             "record",
                                             "yield",
                                             "sealed",
                                             "permits",
                                             "exports",
                                             "module",
                                             "String",
                                             "System",
                                             "Math",
                                             "Integer",
                                             "Boolean",
                                             "Double",
                                             "Character",
                                             "Object",
                                             "BigDecimal",
                                             "MathContext",
                                             "RoundingMode",
                                             "PrintStream",
                                             "FileOutputStream",
                                             "FileDescriptor",
                                             "StandardCharsets",
                                             "IOException",
                                             "args",
                                             "main",
                                             "realStr",
                                             "copy",
                                             "pos",
                                             "readInt",
                                             "readReal",
                                             "readString",
                                             "skipLine",
                                             "roundDigits",
                                             "carry",
                                             "peek",
                                             "take",
                                             "number",
                                             "pending"};
  static const std::set<std::string> c = {
      "auto",     "break",    "case",         "char",     "const",     "continue",    "default",
      "do",       "double",   "else",         "enum",     "extern",    "float",       "for",
      "goto",     "if",       "inline",       "int",      "long",      "register",    "restrict",
      "return",   "short",    "signed",       "sizeof",   "static",    "struct",      "switch",
      "typedef",  "union",    "unsigned",     "void",     "volatile",  "while",       "bool",
      "true",     "false",    "main",         "printf",   "putchar",   "getchar",     "ungetc",
      "rand",     "srand",    "time",         "exit",     "sin",       "cos",         "atan",
      "exp",      "log",      "RAND_MAX",     "errno",    "signbit",   "INFINITY",    "NAN",
      "HUGE_VAL", "isnan",    "isinf",        "stderr",   "atoi",      "strchr",      "strspn",
      "memset",   "strcpy",   "snprintf",     "strcmp",   "strlen",    "strtod",      "abs",
      "fabs",     "sqrt",     "nearbyint",    "memmove",  "memcpy",    "stdin",       "stdout",
      "EOF",      "NULL",     "real_str",     "read_int", "read_real", "read_string", "skip_line",
      "str_set",  "str_copy", "str_pos",      "strstr",   "memcpy",    "str_cat",     "str_chr",
      "str_at",   "str_temp", "round_digits", "carry",    "number"};
  static const std::set<std::string> none;
  switch (language) {
  case TSourceLanguage::Python:
    return python;
  case TSourceLanguage::Java:
    return java;
  case TSourceLanguage::C:
    return c;
  default:
    return none;
  }
}

} // namespace

struct TTextTranslator::TCode {
  std::string Text;
  int Level;
  TValueType Type;
  std::string Op; // the top operator, where it matters for parentheses
};

TTextTranslator::TTextTranslator(TSourceLanguage language, const TProgramTexts& texts)
    : language_(language), texts_(texts) {
  const std::set<std::string>& reserved = Reserved(language);
  std::set<std::string> taken;
  for (const TVariable& v : texts.Variables())
    taken.insert(v.Name);
  for (const TVariable& v : texts.Variables()) {
    std::string name = v.Name;
    if (reserved.count(name)) {
      do
        name += '_';
      while (reserved.count(name) || taken.count(name));
      taken.insert(name);
    }
    std::string lower = v.Name;
    for (char& ch : lower)
      if (ch >= 'A' && ch <= 'Z')
        ch = static_cast<char>(ch - 'A' + 'a');
    names_[lower] = name;
  }
}

const std::string& TTextTranslator::VariableName(const std::string& lowerName) const {
  static const std::string kNone;
  const auto found = names_.find(lowerName);
  return found == names_.end() ? kNone : found->second;
}

std::string TTextTranslator::End() const {
  return language_ == TSourceLanguage::Python ? "" : ";";
}

TValueType TTextTranslator::TypeOf(const TExprTree& tree, int node) const {
  return texts_.ExpressionType(tree, node);
}

std::string TTextTranslator::StringLiteral(const std::string& bytes) {
  char buffer[8];
  const bool python = language_ == TSourceLanguage::Python;
  std::string out(1, python ? '\'' : '"');
  char previous = 0;
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    Needs.ByteOutput = Needs.ByteOutput || b >= 0x80;
    if (ch == '\\' || ch == (python ? '\'' : '"')) {
      out += '\\';
      out += ch;
    } else if (b >= 0x20 && b < 0x7F) {
      // A C string must not spell a trigraph (??/ is a backslash in C11).
      if (language_ == TSourceLanguage::C && ch == '?' && previous == '?')
        out += '\\';
      out += ch;
    } else if (python && b >= 0xA0) {
      out += static_cast<char>(0xC0 | (b >> 6)); // U+00A0..U+00FF in UTF-8
      out += static_cast<char>(0x80 | (b & 0x3F));
    } else if (python) {
      std::snprintf(buffer, sizeof buffer, "\\x%02x", b);
      out += buffer;
    } else if (language_ == TSourceLanguage::Java && b >= 0x80) {
      std::snprintf(buffer, sizeof buffer, "\\u%04x", b);
      out += buffer;
    } else {
      // Octal, not \u: Java reads \u000a as a line end even inside a literal.
      std::snprintf(buffer, sizeof buffer, "\\%03o", b);
      out += buffer;
    }
    previous = ch;
  }
  out += python ? '\'' : '"';
  return out;
}

std::string TTextTranslator::At(const TExprTree& tree, int node, int minLevel) {
  return Render(tree, node, minLevel).Text;
}

// The expression minus delta (1 for a Pascal string index), folded when it is a literal.
std::string TTextTranslator::MinusOne(const TExprTree& tree, int node, int delta) {
  unsigned long long value = 0;
  if (tree[node].Kind == TExprKind::Integer && IntegerValue(tree[node].Text, value) &&
      static_cast<long long>(value) >= delta)
    return std::to_string(static_cast<long long>(value) - delta);
  return At(tree, node, kAdd) + (delta > 0 ? " - " : " + ") +
         std::to_string(delta > 0 ? delta : -delta);
}

TTextTranslator::TCode TTextTranslator::Render(const TExprTree& tree, int node, int minLevel) {
  const TExprNode& n = tree[node];
  const bool python = language_ == TSourceLanguage::Python;
  TCode code{"", kAtom, TypeOf(tree, node), ""};
  switch (n.Kind) {
  case TExprKind::Integer: {
    unsigned long long value = 0;
    if (!IntegerValue(n.Text, value) || value > 0x7FFFFFFFull)
      Refuse();
    code.Text = n.Text[0] == '$' ? "0x" + n.Text.substr(1) : std::to_string(value);
    break;
  }
  case TExprKind::Real:
    code.Text = n.Text;
    break;
  case TExprKind::String:
    code.Text = StringLiteral(n.Text);
    break;
  case TExprKind::Name:
    if (n.Op == "true" || n.Op == "false") {
      code.Text = python ? (n.Op == "true" ? "True" : "False") : n.Op;
      Needs.Booleans = true;
    } else if (texts_.TypeOf(n.Op) != TValueType::Unknown) {
      code.Text = VariableName(n.Op);
    } else if (n.Op == "random") { // a real from [0, 1)
      code.Text = Random(std::string());
    } else {
      Refuse();
    }
    break;
  case TExprKind::Paren:
    code.Text = "(" + At(tree, n.Children[0], kLowest) + ")";
    break;
  case TExprKind::Unary: {
    const TValueType t = TypeOf(tree, n.Children[0]);
    if (n.Op == "+" && (t == TValueType::Integer || t == TValueType::Real))
      return Render(tree, n.Children[0], minLevel);
    if (n.Op == "-" && (t == TValueType::Integer || t == TValueType::Real)) {
      std::string operand = At(tree, n.Children[0], kUnary);
      if (operand[0] == '-' || operand[0] == '+')
        operand = "(" + operand + ")"; // "--x" would be a decrement in Java and C
      code = {"-" + operand, kUnary, t, "-"};
    } else if (n.Op == "not" && t == TValueType::Boolean) {
      code = python ? TCode{"not " + At(tree, n.Children[0], kNot), kNot, t, "not"}
                    : TCode{"!" + At(tree, n.Children[0], kUnary), kUnary, t, "!"};
    } else if (n.Op == "not" && t == TValueType::Integer) {
      code = {"~" + At(tree, n.Children[0], kUnary), kUnary, t, "~"};
    } else {
      Refuse();
    }
    break;
  }
  case TExprKind::Binary:
    code = RenderBinary(tree, n);
    break;
  case TExprKind::Call:
    code = RenderCall(tree, n);
    break;
  case TExprKind::Index: {
    if (n.Children.size() != 2 || TypeOf(tree, n.Children[0]) != TValueType::String ||
        TypeOf(tree, n.Children[1]) != TValueType::Integer)
      Refuse();
    const std::string text = At(tree, n.Children[0], kAtom);
    if (python) {
      code.Text = text + "[" + MinusOne(tree, n.Children[1], 1) + "]";
    } else if (language_ == TSourceLanguage::Java) {
      code.Text = "String.valueOf(" + text + ".charAt(" + MinusOne(tree, n.Children[1], 1) + "))";
    } else {
      Needs.Helpers.insert("str_at");
      code.Text = "str_at(" + At(tree, n.Children[0], kLowest) + ", " +
                  At(tree, n.Children[1], kLowest) + ")";
    }
    break;
  }
  default:
    Refuse();
  }
  if (code.Type == TValueType::Unknown)
    Refuse();
  if (code.Level < minLevel) {
    code.Text = "(" + code.Text + ")";
    code.Level = kAtom;
    code.Op.clear();
  }
  return code;
}

TTextTranslator::TCode TTextTranslator::RenderBinary(const TExprTree& tree, const TExprNode& n) {
  const bool python = language_ == TSourceLanguage::Python;
  const TValueType a = TypeOf(tree, n.Children[0]);
  const TValueType b = TypeOf(tree, n.Children[1]);
  const bool numbers = (a == TValueType::Integer || a == TValueType::Real) &&
                       (b == TValueType::Integer || b == TValueType::Real);
  const bool integers = a == TValueType::Integer && b == TValueType::Integer;
  const bool booleans = a == TValueType::Boolean && b == TValueType::Boolean;
  const bool strings = a == TValueType::String && b == TValueType::String;
  auto call = [&](const std::string& name, TValueType type) {
    return TCode{name + "(" + At(tree, n.Children[0], kLowest) + ", " +
                     At(tree, n.Children[1], kLowest) + ")",
                 kAtom, type, ""};
  };
  std::string op;
  TValueType type = TValueType::Unknown;
  const std::string& p = n.Op;
  if (p == "+" && strings) {
    if (language_ == TSourceLanguage::C) {
      Needs.Helpers.insert("str_cat");
      return call("str_cat", TValueType::String);
    }
    op = "+";
    type = TValueType::String;
  } else if ((p == "+" || p == "-" || p == "*") && numbers) {
    op = p;
    type = integers ? TValueType::Integer : TValueType::Real;
  } else if (p == "/" && numbers) {
    op = "/";
    type = TValueType::Real;
    if (!python && integers) // Pascal's / always divides as reals
      return {"(double) " + At(tree, n.Children[0], kUnary) + " / " +
                  At(tree, n.Children[1], kMul + 1),
              kMul, type, "/"};
  } else if ((p == "div" || p == "mod") && integers) {
    op = p == "mod" ? "%" : python ? "//" : "/";
    type = TValueType::Integer;
  } else if ((p == "shl" || p == "shr") && integers) {
    op = p == "shl" ? "<<" : ">>";
    type = TValueType::Integer;
  } else if ((p == "and" || p == "or") && booleans) {
    op = python ? p : p == "and" ? "&&" : "||";
    type = TValueType::Boolean;
  } else if ((p == "and" || p == "or" || p == "xor") && integers) {
    op = p == "and" ? "&" : p == "or" ? "|" : "^";
    type = TValueType::Integer;
  } else if (p == "xor" && booleans) {
    op = "!=";
    type = TValueType::Boolean;
  } else if (p == "=" || p == "<>" || p == "<" || p == ">" || p == "<=" || p == ">=") {
    op = p == "=" ? "==" : p == "<>" ? "!=" : p;
    type = TValueType::Boolean;
    const bool ordered = p != "=" && p != "<>";
    if (strings && language_ == TSourceLanguage::Java) {
      const std::string left = At(tree, n.Children[0], kAtom);
      const std::string right = At(tree, n.Children[1], kLowest);
      if (p == "=")
        return {left + ".equals(" + right + ")", kAtom, type, ""};
      if (p == "<>")
        return {"!" + left + ".equals(" + right + ")", kUnary, type, "!"};
      return {left + ".compareTo(" + right + ") " + op + " 0", Level(language_, op), type, op};
    }
    if (strings && language_ == TSourceLanguage::C) {
      Needs.Strings = true;
      return {call("strcmp", type).Text + " " + op + " 0", Level(language_, op), type, op};
    }
    if (!(numbers || strings || booleans) ||
        (booleans && ordered && language_ == TSourceLanguage::Java))
      Refuse();
  } else {
    Refuse();
  }
  const int level = Level(language_, op);
  // Comparisons do not chain (Python would read a < b == c as a < b and b == c).
  TCode left = Render(tree, n.Children[0], IsComparison(op) ? level + 1 : level);
  const TCode right = Render(tree, n.Children[1], level + 1);
  if (op == "||" && left.Op == "&&") // as compilers suggest, && inside || gets parentheses
    left.Text = "(" + left.Text + ")";
  std::string rightText = right.Text;
  if (op == "||" && right.Op == "&&")
    rightText = "(" + rightText + ")";
  return {left.Text + " " + op + " " + rightText, level, type, op};
}

TTextTranslator::TCode TTextTranslator::RenderCall(const TExprTree& tree, const TExprNode& n) {
  const TExprNode& callee = tree[n.Children[0]];
  if (callee.Kind == TExprKind::Name && (callee.Op == "copy" || callee.Op == "pos")) {
    // copy(s, index, count) and pos(part, s), with Pascal's handling of bounds
    const bool copy = callee.Op == "copy";
    const std::vector<TValueType> wanted =
        copy ? std::vector<TValueType>{TValueType::String, TValueType::Integer, TValueType::Integer}
             : std::vector<TValueType>{TValueType::String, TValueType::String};
    if (n.Children.size() != wanted.size() + 1)
      Refuse();
    std::string args;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      if (TypeOf(tree, n.Children[i + 1]) != wanted[i])
        Refuse();
      args += (i ? ", " : "") + At(tree, n.Children[i + 1], kLowest);
    }
    const std::string name = language_ == TSourceLanguage::C ? "str_" + callee.Op : callee.Op;
    Needs.Helpers.insert(name);
    return {name + "(" + args + ")", kAtom, copy ? TValueType::String : TValueType::Integer, ""};
  }
  if (callee.Kind != TExprKind::Name || n.Children.size() != 2 ||
      tree[n.Children[1]].Kind == TExprKind::Formatted)
    Refuse();
  const std::string& f = callee.Op;
  const int arg = n.Children[1];
  const TValueType t = TypeOf(tree, arg);
  const bool number = t == TValueType::Integer || t == TValueType::Real;
  const TSourceLanguage l = language_;
  const bool python = l == TSourceLanguage::Python, java = l == TSourceLanguage::Java;
  auto wrap = [&](const std::string& name, TValueType type) {
    return TCode{name + "(" + At(tree, arg, kLowest) + ")", kAtom, type, ""};
  };
  auto cast = [&](const std::string& text, TValueType type) {
    return TCode{text, kUnary, type, ""};
  };
  if (f == "abs" && number) {
    if (python)
      return wrap("abs", t);
    if (java)
      return wrap("Math.abs", t);
    (t == TValueType::Real ? Needs.Math : Needs.Stdlib) = true;
    return wrap(t == TValueType::Real ? "fabs" : "abs", t);
  }
  if (f == "sqr" && number) {
    const std::string x = At(tree, arg, kMul + 1);
    return {x + " * " + x, kMul, t, "*"};
  }
  if (f == "random" && t == TValueType::Integer) // an integer from 0 to n - 1
    return {Random(At(tree, arg, python ? kLowest : kMul + 1)),
            python ? kAtom
            : java ? kUnary
                   : kMul,
            t, ""};
  for (const char* real : {"sqrt", "sin", "cos", "arctan", "exp", "ln"}) {
    if (f != real || !number)
      continue;
    const std::string name = f == "arctan" ? "atan" : f == "ln" ? "log" : f;
    Needs.Math = Needs.Math || !java;
    return wrap(python ? "math." + name : java ? "Math." + name : name, TValueType::Real);
  }
  if (f == "odd" && t == TValueType::Integer)
    return {At(tree, arg, kMul + 1) + " % 2 != 0", Level(l, "!="), TValueType::Boolean, "!="};
  if (f == "trunc" && number)
    return python ? wrap("int", TValueType::Integer)
                  : cast("(int) " + At(tree, arg, kUnary), TValueType::Integer);
  if (f == "round" && number) { // Pascal rounds halves to even, as these do
    if (python)
      return wrap("round", TValueType::Integer);
    Needs.Math = !java;
    return cast("(int) " + wrap(java ? "Math.rint" : "nearbyint", TValueType::Real).Text,
                TValueType::Integer);
  }
  if (f == "ord" && t == TValueType::Integer)
    return Render(tree, arg, kLowest);
  if (f == "ord" && t == TValueType::Boolean) {
    if (python)
      return wrap("int", TValueType::Integer);
    if (java)
      return {"(" + At(tree, arg, 1) + " ? 1 : 0)", kAtom, TValueType::Integer, ""};
    return cast("(int) " + At(tree, arg, kUnary), TValueType::Integer);
  }
  if (f == "ord" && t == TValueType::String) {
    if (python)
      return wrap("ord", TValueType::Integer);
    if (java)
      return cast("(int) " + At(tree, arg, kAtom) + ".charAt(0)", TValueType::Integer);
    return cast("(unsigned char) " + At(tree, arg, kAtom) + "[0]", TValueType::Integer);
  }
  if (f == "chr" && t == TValueType::Integer) {
    Needs.ByteOutput = true;
    if (python)
      return wrap("chr", TValueType::String);
    if (java)
      return {"String.valueOf((char) " + At(tree, arg, kUnary) + ")", kAtom, TValueType::String,
              ""};
    Needs.Helpers.insert("str_chr");
    return wrap("str_chr", TValueType::String);
  }
  if (f == "length" && t == TValueType::String) {
    if (python)
      return wrap("len", TValueType::Integer);
    if (java)
      return {At(tree, arg, kAtom) + ".length()", kAtom, TValueType::Integer, ""};
    Needs.Strings = true;
    return cast("(int) strlen(" + At(tree, arg, kLowest) + ")", TValueType::Integer);
  }
  if ((f == "succ" || f == "pred") && t == TValueType::Integer)
    return {At(tree, arg, kAdd) + (f == "succ" ? " + 1" : " - 1"), kAdd, t, "+"};
  Refuse();
}

// Pascal's random numbers: from [0, 1) without a limit, else from 0 to limit - 1. The sequences
// differ from Pascal's; a program that prints them cannot print the same anyway.
std::string TTextTranslator::Random(const std::string& limit) {
  Needs.Random = Needs.Random || language_ == TSourceLanguage::Python;
  Needs.Stdlib = Needs.Stdlib || language_ == TSourceLanguage::C;
  switch (language_) {
  case TSourceLanguage::Python:
    return limit.empty() ? "random.random()" : "random.randrange(" + limit + ")";
  case TSourceLanguage::Java:
    return limit.empty() ? "Math.random()" : "(int) (Math.random() * " + limit + ")";
  default:
    return limit.empty() ? "rand() / (RAND_MAX + 1.0)" : "rand() % " + limit;
  }
}

bool TTextTranslator::Statements(const TParsedText& parsed, std::vector<std::string>& lines) {
  if (!parsed.Valid)
    return false;
  const TRuntimeNeeds saved = Needs;
  std::vector<std::string> out;
  try {
    for (int statement : parsed.Statements)
      Statement(parsed.Tree, statement, out);
  } catch (const TUntranslatable&) {
    Needs = saved;
    return false;
  }
  lines.insert(lines.end(), out.begin(), out.end());
  return true;
}

void TTextTranslator::Statement(const TExprTree& tree, int node, std::vector<std::string>& lines) {
  const TExprNode& n = tree[node];
  if (n.Kind == TExprKind::Assign) {
    const TExprNode& target = tree[n.Children[0]];
    if (target.Kind != TExprKind::Name)
      Refuse();
    const TValueType to = texts_.TypeOf(target.Op);
    const TValueType from = TypeOf(tree, n.Children[1]);
    const bool fits = to == from || (to == TValueType::Real && from == TValueType::Integer);
    const std::string& name = VariableName(target.Op);
    if (to == TValueType::Unknown || !fits)
      Refuse();
    if (n.Op != ":=") {
      const bool arithmetic = (to == TValueType::Integer && n.Op != "/=") ||
                              to == TValueType::Real || (to == TValueType::String && n.Op == "+=");
      if (!arithmetic)
        Refuse();
      if (to == TValueType::String && language_ == TSourceLanguage::C) {
        Needs.Helpers.insert({"str_set", "str_cat"});
        lines.push_back("str_set(" + name + ", str_cat(" + name + ", " +
                        At(tree, n.Children[1], kLowest) + "));");
        return;
      }
      lines.push_back(name + " " + n.Op + " " + At(tree, n.Children[1], kLowest) + End());
      return;
    }
    if (to == TValueType::String && language_ == TSourceLanguage::C) {
      Needs.Helpers.insert("str_set");
      lines.push_back("str_set(" + name + ", " + At(tree, n.Children[1], kLowest) + ");");
      return;
    }
    lines.push_back(name + " = " + At(tree, n.Children[1], kLowest) + End());
    return;
  }
  const TExprNode& callee = n.Kind == TExprKind::Call ? tree[n.Children[0]] : n;
  if (callee.Kind != TExprKind::Name)
    Refuse();
  const std::string& p = callee.Op;
  if (p == "write" || p == "writeln")
    return Write(tree, n, p == "writeln", lines);
  if (p == "read" || p == "readln")
    return Read(tree, n, p == "readln", lines);
  if (p == "break" && n.Kind == TExprKind::Name) {
    lines.push_back("break" + End());
    return;
  }
  if (p == "randomize" && n.Kind == TExprKind::Name) {
    if (language_ != TSourceLanguage::Java) { // Java's generator is seeded from the clock
      Needs.Random = true;
      Needs.Stdlib = Needs.Stdlib || language_ == TSourceLanguage::C;
      lines.push_back(language_ == TSourceLanguage::Python ? "random.seed()"
                                                           : "srand((unsigned) time(NULL));");
    }
    return;
  }
  if (p == "halt" && (n.Kind == TExprKind::Name || n.Children.size() == 2)) {
    if (n.Kind == TExprKind::Call && TypeOf(tree, n.Children[1]) != TValueType::Integer)
      Refuse();
    const std::string status = n.Kind == TExprKind::Name ? "0" : At(tree, n.Children[1], kLowest);
    if (language_ == TSourceLanguage::Python) {
      Needs.Exit = true;
      lines.push_back("sys.exit(" + status + ")");
    } else if (language_ == TSourceLanguage::Java) {
      lines.push_back("System.out.flush();");
      lines.push_back("System.exit(" + status + ");");
    } else {
      Needs.Stdlib = true;
      lines.push_back("exit(" + status + ");");
    }
    return;
  }
  if ((p == "inc" || p == "dec") && n.Kind == TExprKind::Call &&
      (n.Children.size() == 2 || n.Children.size() == 3)) {
    const TExprNode& target = tree[n.Children[1]];
    if (target.Kind != TExprKind::Name || texts_.TypeOf(target.Op) != TValueType::Integer ||
        (n.Children.size() == 3 && TypeOf(tree, n.Children[2]) != TValueType::Integer))
      Refuse();
    const std::string& name = VariableName(target.Op);
    const char* op = p == "inc" ? " += " : " -= ";
    if (n.Children.size() == 3)
      lines.push_back(name + op + At(tree, n.Children[2], kLowest) + End());
    else if (language_ == TSourceLanguage::Python)
      lines.push_back(name + op + "1");
    else
      lines.push_back(name + (p == "inc" ? "++;" : "--;"));
    return;
  }
  Refuse();
}

void TTextTranslator::Write(const TExprTree& tree, const TExprNode& call, bool newLine,
                            std::vector<std::string>& lines) {
  const bool python = language_ == TSourceLanguage::Python;
  const bool java = language_ == TSourceLanguage::Java;
  std::vector<std::string> parts;
  std::string format; // C's printf format
  std::vector<std::string> formatArgs;
  bool firstIsNumber = false;
  for (std::size_t i = 1; call.Kind == TExprKind::Call && i < call.Children.size(); ++i) {
    const TExprNode& arg = tree[call.Children[i]];
    const bool formatted = arg.Kind == TExprKind::Formatted;
    const int value = formatted ? arg.Children[0] : call.Children[i];
    long long width = -1, decimals = -1;
    for (std::size_t k = 1; formatted && k < arg.Children.size(); ++k) {
      unsigned long long v = 0;
      const TExprNode& field = tree[arg.Children[k]];
      if (field.Kind != TExprKind::Integer || !IntegerValue(field.Text, v) || v > 255)
        Refuse();
      (k == 1 ? width : decimals) = static_cast<long long>(v);
    }
    const TValueType t = TypeOf(tree, value);
    if (decimals >= 0 && t != TValueType::Real)
      Refuse();
    const std::string w = std::to_string(width);
    if (t == TValueType::String && tree[value].Kind == TExprKind::String && !formatted && !python &&
        !java) {
      std::string literal = StringLiteral(tree[value].Text);
      for (std::size_t k = 1; k + 1 < literal.size(); ++k)
        format += literal[k] == '%' ? std::string("%%") : std::string(1, literal[k]);
      continue;
    }
    std::string text;
    if (t == TValueType::Real) {
      Needs.Helpers.insert(java ? "realStr" : "real_str");
      const std::string x = At(tree, value, kLowest);
      if (python)
        text = "real_str(" + x + (width >= 0 ? ", " + w : "") +
               (decimals >= 0 ? ", " + std::to_string(decimals) : "") + ")";
      else
        text = std::string(java ? "realStr(" : "real_str(") + x + ", " + w + ", " +
               std::to_string(decimals) + ")";
      format += "%s";
    } else if (t == TValueType::Boolean) {
      const std::string condition = At(tree, value, 1);
      text = python ? "'TRUE' if " + condition + " else 'FALSE'"
             : java ? "(" + condition + " ? \"TRUE\" : \"FALSE\")"
                    : condition + " ? \"TRUE\" : \"FALSE\"";
      format += width > 0 ? "%" + w + "s" : "%s";
      if (width > 0 && python)
        text = "format(" + text + ", '>" + w + "')";
      else if (width > 0 && java)
        text = "String.format(\"%" + w + "s\", " + text + ")";
    } else if (t == TValueType::Integer || t == TValueType::String) {
      const bool number = t == TValueType::Integer;
      text = At(tree, value, python || !java ? kLowest : kMul);
      format += width > 0 ? "%" + w + (number ? "d" : "s") : number ? "%d" : "%s";
      if (width > 0 && python)
        text = "format(" + text + ", '" + (number ? "" : ">") + w + "')";
      else if (width > 0 && java)
        text = "String.format(\"%" + w + (number ? "d" : "s") + "\", " + text + ")";
      else if (parts.empty())
        firstIsNumber = number;
    } else {
      Refuse();
    }
    parts.push_back(text);
    formatArgs.push_back(text);
  }
  if (newLine)
    format += "\\n";
  if (python) {
    if (parts.empty() && !newLine)
      return;
    std::string line = "print(";
    for (std::size_t i = 0; i < parts.size(); ++i)
      line += (i ? ", " : "") + parts[i];
    if (parts.size() > 1)
      line += ", sep=''";
    if (!newLine)
      line += parts.empty() ? "end=''" : ", end=''";
    lines.push_back(line + ")");
  } else if (java) {
    if (parts.empty() && !newLine)
      return;
    std::string line = newLine ? "System.out.println(" : "System.out.print(";
    // "+" between two numbers would add them: start from a string.
    if (parts.size() > 1 && firstIsNumber)
      line += "\"\" + ";
    for (std::size_t i = 0; i < parts.size(); ++i)
      line += (i ? " + " : "") + parts[i];
    lines.push_back(line + ");");
  } else {
    if (format.empty())
      return;
    std::string line = "printf(\"" + format + "\"";
    for (const std::string& arg : formatArgs)
      line += ", " + arg;
    lines.push_back(line + ");");
  }
}

void TTextTranslator::Read(const TExprTree& tree, const TExprNode& call, bool newLine,
                           std::vector<std::string>& lines) {
  const bool java = language_ == TSourceLanguage::Java;
  auto use = [&](const char* snake, const char* camel) {
    Needs.Helpers.insert(java ? camel : snake);
    return std::string(java ? camel : snake);
  };
  for (std::size_t i = 1; call.Kind == TExprKind::Call && i < call.Children.size(); ++i) {
    const TExprNode& target = tree[call.Children[i]];
    const TValueType t =
        target.Kind == TExprKind::Name ? texts_.TypeOf(target.Op) : TValueType::Unknown;
    const std::string& name = VariableName(target.Op);
    if (t == TValueType::Integer) {
      lines.push_back(name + " = " + use("read_int", "readInt") + "()" + End());
    } else if (t == TValueType::Real) {
      lines.push_back(name + " = " + use("read_real", "readReal") + "()" + End());
    } else if (t == TValueType::String) {
      Needs.ByteOutput = true; // what is read may be printed again
      if (language_ == TSourceLanguage::C)
        lines.push_back(use("read_string", "") + "(" + name + ");");
      else
        lines.push_back(name + " = " + use("read_string", "readString") + "()" + End());
    } else {
      Refuse();
    }
  }
  if (newLine)
    lines.push_back(use("skip_line", "skipLine") + "()" + End());
}

bool TTextTranslator::Condition(const TParsedText& parsed, std::string& code) {
  if (!parsed.Valid || TypeOf(parsed.Tree, parsed.Condition) != TValueType::Boolean)
    return false;
  const TRuntimeNeeds saved = Needs;
  int root = parsed.Condition;
  while (parsed.Tree[root].Kind == TExprKind::Paren)
    root = parsed.Tree[root].Children[0];
  try {
    code = At(parsed.Tree, root, kLowest);
  } catch (const TUntranslatable&) {
    Needs = saved;
    return false;
  }
  return true;
}

bool TTextTranslator::IsConstant(const TParsedText& parsed) {
  for (const TExprNode& node : parsed.Tree.Nodes)
    if (node.Kind == TExprKind::Name && node.Op != "true" && node.Op != "false")
      return false;
  return true;
}

bool TTextTranslator::CountingLoop(const TParsedText& parsed, TLoop& loop) {
  if (!parsed.Valid)
    return false;
  const TExprTree& tree = parsed.Tree;
  const std::string& variable = tree[parsed.LoopVariable].Op;
  if (texts_.TypeOf(variable) != TValueType::Integer ||
      TypeOf(tree, parsed.LoopFrom) != TValueType::Integer ||
      TypeOf(tree, parsed.LoopTo) != TValueType::Integer)
    return false;
  const TRuntimeNeeds saved = Needs;
  try {
    loop.Variable = VariableName(variable);
    loop.From = At(tree, parsed.LoopFrom, kLowest);
    loop.To = At(tree, parsed.LoopTo, kRelational + 1);
    loop.ToPlusOne = MinusOne(tree, parsed.LoopTo, -1);
    loop.ConstantEnd = !NamesSomething(tree, parsed.LoopTo);
  } catch (const TUntranslatable&) {
    Needs = saved;
    return false;
  }
  return true;
}
