// SPDX-License-Identifier: MIT
#include "language/pascal_import.h"

#include "model/nesting.h"
#include "language/pascal_expression.h"
#include "model/texts.h"
#include "model/windows1252.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

std::string TooDeep() {
  return Format(Tr("Pascal-Import", "zu tief verschachtelt (mehr als %1 Ebenen)"),
                {std::to_string(kMaxNestingDepth)});
}

// "'end' erwartet" and the like, for a keyword or symbol.
std::string Expected(const std::string& word) {
  return Format(Tr("Pascal-Import", "'%1' erwartet"), {word});
}

// The chain being filled, with the named blocks opened by `// Name` and not yet closed: each
// new element goes to the end of the innermost open block's body.
class TSequence {
public:
  TSequence(TElement** head, int level) : level_(level) {
    levels_.push_back({nullptr, nullptr, head});
  }
  TSequence(const TSequence&) = delete;
  TSequence& operator=(const TSequence&) = delete;

  // The level of the chain that takes the next element (the root's body is level 2).
  int Level() const { return level_ + static_cast<int>(levels_.size()) - 1; }
  std::size_t OpenCount() const { return levels_.size(); }

  template <class T> T* Append(TOwned<T> owned) {
    T* e = owned.release();
    TElement**& tail = levels_.back().Tail;
    while (*tail)
      tail = &(*tail)->Next;
    *tail = e;
    tail = &e->Next;
    lastSimple_ = nullptr;
    return e;
  }

  // Simple statements that share a line stay one element, as the export writes a text that
  // holds several statements; this is the statement a next one on `line` joins.
  TAnweisung* LastSimple(int line, std::size_t& firstToken) const {
    firstToken = lastFirst_;
    return lastLine_ == line ? lastSimple_ : nullptr;
  }
  // A begin or end between two statements keeps them apart.
  void Separate() { lastSimple_ = nullptr; }
  void SetLastSimple(TAnweisung* statement, std::size_t firstToken, int endLine) {
    lastSimple_ = statement;
    lastFirst_ = firstToken;
    lastLine_ = endLine;
  }

  // A block opened by a `// Name` comment: what follows goes into it.
  void Open(const std::string& name) {
    TElement** slot = levels_.back().Tail;
    while (*slot)
      slot = &(*slot)->Next;
    TBlock* block = Append(TBlock::CreateWithText(name));
    levels_.push_back({block, slot, &block->Body});
  }

  // Closes the innermost open block of that name (blocks opened inside it and never closed
  // were plain comments); false when there is none.
  bool Close(const std::string& name) {
    for (std::size_t i = levels_.size(); i-- > 1;) {
      if (levels_[i].Block->Text != name)
        continue;
      while (levels_.size() > i + 1)
        Dissolve();
      levels_.pop_back();
      lastSimple_ = nullptr;
      return true;
    }
    return false;
  }

  // Blocks still open were plain comments: their statements go back into the enclosing chain.
  void Finish(std::size_t keep = 1) {
    while (levels_.size() > keep)
      Dissolve();
  }

private:
  struct TLevel {
    TBlock* Block;
    TElement** Slot; // where the block is linked
    TElement** Tail; // where the block's next element goes
  };

  void Dissolve() {
    const TLevel open = levels_.back();
    levels_.pop_back();
    *open.Slot = open.Block->Body;
    open.Block->Body = nullptr;
    DisposeTree(open.Block);
    levels_.back().Tail = open.Slot;
    lastSimple_ = nullptr;
  }

  int level_;
  std::vector<TLevel> levels_;
  TAnweisung* lastSimple_ = nullptr;
  std::size_t lastFirst_ = 0;
  int lastLine_ = 0;
};

class TImporter {
public:
  explicit TImporter(const std::string& source)
      : source_(source), lexed_(TokenizePascal(source)), tokens_(lexed_.Tokens) {
    for (const TLineComment& c : lexed_.LineComments)
      if (MarkName(c).compare(0, 5, "Ende ") == 0)
        closed_.insert(MarkName(c).substr(5));
  }

  TOwned<TBlock> Run() {
    TOwned<TBlock> root = TBlock::CreateWithText(
        Utf8ToWindows1252(Tr("Pascal-Import", "gesamtes Programm")));
    root->Independent = false;
    root->Bracketed = false;
    TSequence top(&root->Body, 2);
    bool program = false;
    if (Cur().IsKeyword("program")) {
      program = true;
      SkipPast(";");
    } else if (Cur().IsKeyword("unit") || Cur().IsKeyword("library")) {
      Fail(Cur(), Tr("Pascal-Import", "Programm erwartet"));
    }
    program = Declarations(top) || program;
    if (program) {
      if (!Cur().IsKeyword("begin"))
        Fail(Cur(), Expected("begin"));
      Compound(top);
      Expect(".");
    } else {
      Sequence(top, nullptr);
      if (Cur().IsSymbol(".")) {
        if (pos_ == 0 || !tokens_[pos_ - 1].IsKeyword("end"))
          Fail(Cur(), Expected(";"));
        ++pos_;
      } else if (!AtEnd()) {
        Fail(Cur(), Expected(";"));
      }
    }
    top.Finish();
    if (NestingDepth(*root) > kMaxNestingDepth)
      Fail(tokens_.front(), TooDeep());
    return root;
  }

private:
  const TPascalToken& Cur() const { return tokens_[pos_]; }
  const TPascalToken& Ahead(std::size_t n) const {
    return tokens_[std::min(pos_ + n, tokens_.size() - 1)];
  }
  bool AtEnd() const { return Cur().Kind == TPascalTokenKind::End; }

  [[noreturn]] static void Fail(const TPascalToken& at, const std::string& message) {
    throw TPascalSyntaxError(at.Line, at.Column, message);
  }
  void Expect(const char* symbol) {
    if (!Cur().IsSymbol(symbol))
      Fail(Cur(), Expected(symbol));
    ++pos_;
  }
  void ExpectKeyword(const char* word) {
    if (!Cur().IsKeyword(word))
      Fail(Cur(), Expected(word));
    ++pos_;
  }
  void SkipPast(const char* symbol) {
    while (!AtEnd() && !Cur().IsSymbol(symbol))
      ++pos_;
    Expect(symbol);
  }

  // The source of tokens first..last: as written when on one line; otherwise the tokens joined
  // by single blanks where the source separates them, comments left out, so that a text never
  // holds a line break.
  std::string SourceText(std::size_t first, std::size_t last) const {
    const std::size_t begin = tokens_[first].Begin, end = tokens_[last].End;
    if (tokens_[first].Line == tokens_[last].Line)
      return source_.substr(begin, end - begin);
    std::string text;
    for (std::size_t i = first; i <= last; ++i) {
      const TPascalToken& t = tokens_[i];
      const bool tight =
          t.IsSymbol(")") || t.IsSymbol("]") || t.IsSymbol(",") || t.IsSymbol(";") ||
          t.IsSymbol(".") ||
          (i > first && (tokens_[i - 1].IsSymbol("(") || tokens_[i - 1].IsSymbol("[")));
      if (i > first && t.Begin > tokens_[i - 1].End && !tight)
        text += ' ';
      text += t.Text;
    }
    return text;
  }

  // An expression, checked; returns its source text.
  std::string ExpressionText() {
    const std::size_t first = pos_;
    TExpressionParser(tokens_, pos_).Expression();
    return SourceText(first, pos_ - 1);
  }

  // An expression's tree, for the decisions a case statement becomes.
  int ExpressionTree(TExprTree& tree) {
    return TExpressionParser(tokens_, pos_, &tree).Expression();
  }

  // A new element's blocks sit at the level of the chain it joins.
  void CheckLevel(const TSequence& seq, const TPascalToken& at) const {
    if (seq.Level() > kMaxNestingDepth)
      Fail(at, TooDeep());
  }

  // Nesting of statements in the source, whether or not it nests the diagram.
  class TDepth {
  public:
    TDepth(int& depth, const TPascalToken& at) : depth_(depth) {
      if (++depth_ > kMaxNestingDepth)
        Fail(at, TooDeep());
    }
    ~TDepth() { --depth_; }
    TDepth(const TDepth&) = delete;
    TDepth& operator=(const TDepth&) = delete;

  private:
    int& depth_;
  };

  // --- Declarations -----------------------------------------------------------------------

  // t is the current token.
  bool IsSectionWord(const TPascalToken& t) const {
    for (const char* w : {"const", "type", "var", "label", "uses", "procedure", "function",
                          "constructor", "destructor", "begin", "resourcestring", "threadvar"})
      if (t.Word == w && t.Kind == TPascalTokenKind::Keyword)
        return true;
    return (t.Kind == TPascalTokenKind::Identifier &&
            (t.Word == "resourcestring" || t.Word == "threadvar")) ||
           IsOperatorDeclaration();
  }

  bool IsRoutineStart() const {
    const TPascalToken& t = Cur();
    if (t.IsKeyword("class"))
      return Ahead(1).IsKeyword("procedure") || Ahead(1).IsKeyword("function") ||
             Ahead(1).IsKeyword("constructor") || Ahead(1).IsKeyword("destructor") ||
             Ahead(1).Word == "operator";
    return t.IsKeyword("procedure") || t.IsKeyword("function") || t.IsKeyword("constructor") ||
           t.IsKeyword("destructor") || IsOperatorDeclaration();
  }

  // "operator" is an ordinary name too: it declares an operator only where an operator and its
  // parameters follow (operator + (a, b: T) r: T), else it is a statement (operator := 5).
  bool IsOperatorDeclaration() const {
    const TPascalToken& t = Cur();
    if (t.Kind != TPascalTokenKind::Identifier || t.Word != "operator")
      return false;
    const TPascalToken& op = Ahead(1);
    if (op.IsSymbol(";") || op.IsSymbol("(") || op.Kind == TPascalTokenKind::End ||
        !Ahead(2).IsSymbol("("))
      return false;
    // operator := (x) is an assignment; operator := (a: T) r: U declares one.
    return !op.IsSymbol(":=") ||
           (Ahead(3).Kind == TPascalTokenKind::Identifier &&
            (Ahead(4).IsSymbol(":") || Ahead(4).IsSymbol(",")));
  }

  // Skips the declarations before a body; routines found there become named blocks in seq.
  // Returns whether there were any.
  bool Declarations(TSequence& seq) {
    bool any = false;
    while (true) {
      if (IsRoutineStart()) {
        Routine(seq);
      } else if (Cur().IsKeyword("uses") || Cur().IsKeyword("label")) {
        SkipPast(";");
      } else if (Cur().IsKeyword("const") || Cur().IsKeyword("type") || Cur().IsKeyword("var") ||
                 (Cur().Kind == TPascalTokenKind::Identifier &&
                  (Cur().Word == "resourcestring" || Cur().Word == "threadvar"))) {
        ++pos_;
        SkipSection();
      } else {
        return any;
      }
      any = true;
    }
  }

  // A const, type or var section, up to the next section or body. Records, objects and classes
  // are skipped to their `end`; a procedure type after ':' or '=' is part of the section.
  void SkipSection() {
    int depth = 0;
    while (!AtEnd()) {
      const TPascalToken& t = Cur();
      const TPascalToken& before = tokens_[pos_ - 1];
      const bool typed = before.IsSymbol(":") || before.IsSymbol("=");
      // A statement here means the program's begin is missing.
      if (depth == 0 && ((!typed && (IsSectionWord(t) || IsRoutineStart())) || t.IsSymbol(":=")))
        return;
      if (t.IsSymbol("(") || t.IsSymbol("[") || t.IsKeyword("record") ||
          (t.IsKeyword("object") && !before.IsKeyword("of")) ||
          (t.IsKeyword("class") && !Ahead(1).IsKeyword("of") && !Ahead(1).IsSymbol(";")) ||
          (t.IsKeyword("interface") && typed))
        ++depth;
      else if (t.IsSymbol(")") || t.IsSymbol("]") || t.IsKeyword("end"))
        depth = std::max(0, depth - 1);
      ++pos_;
    }
  }

  void Routine(TSequence& seq) {
    const std::size_t first = pos_;
    if (Cur().IsKeyword("class"))
      ++pos_;
    ++pos_; // procedure, function, ...
    if (Cur().Kind != TPascalTokenKind::Identifier && !tokens_[first].IsKeyword("class") &&
        tokens_[pos_ - 1].Word != "operator")
      Fail(Cur(), Tr("Pascal-Import", "Bezeichner erwartet"));
    while (!AtEnd() && !Cur().IsSymbol("(") && !Cur().IsSymbol(":") && !Cur().IsSymbol(";"))
      ++pos_;
    if (Cur().IsSymbol("("))
      SkipBalanced();
    if (Cur().IsSymbol(":")) {
      ++pos_;
      while (!AtEnd() && !Cur().IsSymbol(";"))
        ++pos_;
    }
    const std::size_t last = pos_ - 1;
    Expect(";");
    bool body = true;
    static const std::set<std::string> directives = {
        "forward",  "external",     "cdecl",     "stdcall",      "inline",     "overload",
        "register", "pascal",       "assembler", "virtual",      "override",   "abstract",
        "static",   "reintroduce",  "export",    "far",          "near",       "public",
        "alias",    "nostackframe", "varargs",   "safecall",     "deprecated", "platform",
        "local",    "message",      "dynamic",   "compilerproc", "interrupt",  "noreturn"};
    while (Cur().Kind == TPascalTokenKind::Identifier && directives.count(Cur().Word)) {
      body = body && Cur().Word != "forward" && Cur().Word != "external";
      SkipPast(";");
    }
    if (!body)
      return;
    CheckLevel(seq, tokens_[first]);
    const TDepth depth(depth_, tokens_[first]);
    TBlock* block = seq.Append(TBlock::CreateWithText(SourceText(first, last)));
    TSequence inner(&block->Body, seq.Level() + 1);
    Declarations(inner);
    if (Cur().IsKeyword("asm")) {
      inner.Append(TAnweisung::CreateWithText(SkipToEnd()));
    } else {
      if (!Cur().IsKeyword("begin"))
        Fail(Cur(), Expected("begin"));
      Compound(inner);
    }
    inner.Finish();
    Expect(";");
  }

  void SkipBalanced() {
    int depth = 0;
    do {
      if (Cur().IsSymbol("(") || Cur().IsSymbol("["))
        ++depth;
      else if (Cur().IsSymbol(")") || Cur().IsSymbol("]"))
        --depth;
      else if (AtEnd())
        Fail(Cur(), Expected(")"));
      ++pos_;
    } while (depth > 0);
  }

  // From `asm` or `try` to its matching `end`, as one text.
  std::string SkipToEnd() {
    const std::size_t first = pos_;
    int depth = 0;
    do {
      const TPascalToken& t = Cur();
      if (AtEnd())
        Fail(t, Expected("end"));
      if (t.IsKeyword("begin") || t.IsKeyword("case") || t.IsKeyword("try") || t.IsKeyword("asm") ||
          t.IsKeyword("record"))
        ++depth;
      else if (t.IsKeyword("end"))
        --depth;
      ++pos_;
    } while (depth > 0);
    return SourceText(first, pos_ - 1);
  }

  // --- Statements -------------------------------------------------------------------------

  // The export writes "// " before the name; one blank is part of the comment mark.
  static std::string MarkName(const TLineComment& c) {
    return c.Text.compare(0, 1, " ") == 0 ? c.Text.substr(1) : c.Text;
  }

  // `// Name` and `// Ende Name` comments that stand right before token index `at`.
  // Comments passed over inside statements or declarations frame nothing.
  void MarkersBefore(std::size_t at, TSequence& seq) {
    const std::vector<TLineComment>& comments = lexed_.LineComments;
    while (marker_ < comments.size() && comments[marker_].NextToken <= at) {
      const TLineComment& c = comments[marker_++];
      if (c.NextToken != at)
        continue;
      const std::string name = MarkName(c);
      if (name.compare(0, 5, "Ende ") == 0 && seq.Close(name.substr(5)))
        continue;
      // A comment no "// Ende" comment answers is just a comment.
      if (!closed_.count(name))
        continue;
      CheckLevel(seq, Cur());
      seq.Open(name);
    }
  }

  // Statements separated by ';' up to the terminator keyword (or the end of the source).
  void Sequence(TSequence& seq, const char* terminator) {
    const std::size_t scope = seq.OpenCount();
    while (true) {
      MarkersBefore(pos_, seq);
      if (AtEnd() || (terminator ? Cur().IsKeyword(terminator) : Cur().IsSymbol(".")))
        break;
      if (Cur().IsSymbol(";")) {
        if (AloneOnItsLine())
          seq.Append(TAnweisung::CreateWithText(LineBefore(Cur())));
        ++pos_;
        continue;
      }
      Statement(seq);
      if (Cur().IsSymbol(";")) {
        ++pos_;
      } else if (!AtEnd() && !(terminator ? Cur().IsKeyword(terminator) : Cur().IsSymbol("."))) {
        Fail(Cur(), Expected(";"));
      }
    }
    if (terminator && AtEnd())
      Fail(Cur(), Expected(terminator));
    seq.Finish(scope);
  }

  // A ';' with no other token on its line: the export writes an empty statement text so.
  bool AloneOnItsLine() const {
    return (pos_ == 0 || tokens_[pos_ - 1].Line < Cur().Line) &&
           (Ahead(1).Line > Cur().Line || Ahead(1).Kind == TPascalTokenKind::End);
  }

  // What stands on the token's line before it (comments, or nothing), without blanks. The tail
  // of a comment begun on an earlier line is nothing, even where it reads as a comment of its
  // own ("{ a\n // b };"): written back before a ';' it would swallow the ';'.
  std::string LineBefore(const TPascalToken& t) const {
    const std::size_t lineStart = t.Begin - (t.Column - 1);
    const std::size_t gapBegin = pos_ == 0 ? 0 : tokens_[pos_ - 1].End;
    if (gapBegin < lineStart) {
      try {
        TokenizePascal(source_.substr(gapBegin, lineStart - gapBegin));
      } catch (const TPascalSyntaxError&) {
        return std::string(); // the line starts inside a comment
      }
    }
    std::string text = source_.substr(lineStart, t.Column - 1);
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
      return std::string();
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    try {
      if (TokenizePascal(text).Tokens.size() == 1)
        return text;
    } catch (const TPascalSyntaxError&) {
    }
    return std::string();
  }

  void Compound(TSequence& seq) {
    const TDepth depth(depth_, Cur());
    ExpectKeyword("begin");
    seq.Separate();
    Sequence(seq, "end");
    ExpectKeyword("end");
    seq.Separate();
  }

  // One statement as the only content of a branch or loop body; nothing for an empty one.
  void Body(TBlock* block, int level) {
    TSequence seq(&block->Body, level);
    if (!Cur().IsSymbol(";") && !Cur().IsKeyword("else") && !Cur().IsKeyword("end") &&
        !Cur().IsKeyword("until") && !AtEnd())
      Statement(seq);
    seq.Finish();
  }

  void Statement(TSequence& seq) {
    const TDepth depth(depth_, Cur());
    const TPascalToken& t = Cur();
    if ((t.Kind == TPascalTokenKind::Integer || t.Kind == TPascalTokenKind::Identifier) &&
        Ahead(1).IsSymbol(":")) {
      pos_ += 2; // a label: kept as a statement of its own, so that goto still finds it
      seq.Append(TAnweisung::CreateWithText(SourceText(pos_ - 2, pos_ - 1)));
      if (!Cur().IsSymbol(";") && !Cur().IsKeyword("end") && !AtEnd())
        Statement(seq);
      return;
    }
    if (t.IsKeyword("begin"))
      return Compound(seq);
    if (t.IsKeyword("if"))
      return If(seq);
    if (t.IsKeyword("while"))
      return While(seq);
    if (t.IsKeyword("for"))
      return For(seq);
    if (t.IsKeyword("repeat"))
      return Repeat(seq);
    if (t.IsKeyword("case"))
      return Case(seq);
    if (t.IsKeyword("with"))
      return Whole(seq);
    if (t.IsKeyword("try") || t.IsKeyword("asm")) {
      seq.Append(TAnweisung::CreateWithText(SkipToEnd()));
      return;
    }
    Simple(seq);
  }

  void Simple(TSequence& seq) {
    const std::size_t first = pos_;
    const TPascalToken& t = Cur();
    if (t.IsKeyword("goto")) {
      ++pos_;
      if (Cur().Kind != TPascalTokenKind::Integer && Cur().Kind != TPascalTokenKind::Identifier)
        Fail(Cur(), Tr("Pascal-Import", "Marke erwartet"));
      ++pos_;
    } else if (t.IsKeyword("raise")) {
      ++pos_;
      if (!Cur().IsSymbol(";") && !Cur().IsKeyword("end") && !Cur().IsKeyword("else") && !AtEnd())
        ExpressionText();
    } else {
      TExpressionParser(tokens_, pos_).SimpleStatement();
    }
    std::size_t start = first;
    TAnweisung* statement = seq.LastSimple(tokens_[first].Line, start);
    if (statement)
      statement->Text = SourceText(start, pos_ - 1);
    else
      statement = seq.Append(TAnweisung::CreateWithText(SourceText(start = first, pos_ - 1)));
    seq.SetLastSimple(statement, start, tokens_[pos_ - 1].Line);
  }

  // `with ... do statement` is kept whole as one statement.
  void Whole(TSequence& seq) {
    const std::size_t first = pos_;
    ++pos_;
    do {
      ExpressionText();
    } while (Cur().IsSymbol(",") && ++pos_);
    ExpectKeyword("do");
    TOwned<TBlock> scratch = TBlock::CreateWithText("");
    Body(scratch.get(), seq.Level());
    seq.Append(TAnweisung::CreateWithText(SourceText(first, pos_ - 1)));
  }

  template <class T> T* Add(TSequence& seq, const TPascalToken& at, std::string text) {
    CheckLevel(seq, at);
    return seq.Append(T::CreateWithText(std::move(text)));
  }

  void If(TSequence& seq) {
    const TPascalToken& at = Cur();
    ++pos_;
    TIf* decision = Add<TIf>(seq, at, ExpressionText());
    ExpectKeyword("then");
    Body(decision->Branch1, seq.Level() + 1);
    if (Cur().IsKeyword("else")) {
      ++pos_;
      Body(decision->Branch2, seq.Level() + 1);
    }
  }

  void While(TSequence& seq) {
    const TPascalToken& at = Cur();
    ++pos_;
    TWhile* loop = Add<TWhile>(seq, at, ExpressionText());
    ExpectKeyword("do");
    Body(loop->Branch1, seq.Level() + 1);
  }

  void Repeat(TSequence& seq) {
    const TPascalToken& at = Cur();
    ++pos_;
    TRepeat* loop = Add<TRepeat>(seq, at, "");
    TSequence body(&loop->Branch1->Body, seq.Level() + 1);
    Sequence(body, "until");
    ExpectKeyword("until");
    loop->Text = ExpressionText();
  }

  // `for v := a to b` becomes the counting loop "v := a bis b". The Pascal export cuts that
  // text at blanks, so the start value must hold none: blanks are dropped where tokens stay
  // apart without them, else v gets the start value in a statement before the loop.
  void For(TSequence& seq) {
    const TPascalToken& at = Cur();
    ++pos_;
    if (Cur().Kind != TPascalTokenKind::Identifier)
      Fail(Cur(), Tr("Pascal-Import", "Bezeichner erwartet"));
    const std::string variable = Cur().Text;
    ++pos_;
    if (Cur().IsKeyword("in")) { // for x in list do: kept whole
      pos_ = &at - tokens_.data();
      return Whole(seq);
    }
    Expect(":=");
    const std::size_t fromFirst = pos_;
    std::string from = ExpressionText();
    const std::size_t fromLast = pos_ - 1;
    const bool down = Cur().IsKeyword("downto");
    if (!down && !Cur().IsKeyword("to"))
      Fail(Cur(), Expected("to"));
    ++pos_;
    TExprTree toTree;
    const std::size_t toFirst = pos_;
    const int toRoot = ExpressionTree(toTree);
    const std::string to = SourceText(toFirst, pos_ - 1);
    const std::size_t headerLast = pos_ - 1;
    ExpectKeyword("do");
    if (down) {
      // The diagram has no loop counting down: a while loop, named after the loop's header.
      CheckLevel(seq, at);
      TBlock* named =
          seq.Append(TBlock::CreateWithText(SourceText(&at - tokens_.data(), headerLast)));
      TSequence inner(&named->Body, seq.Level() + 1);
      inner.Append(TAnweisung::CreateWithText(variable + " := " + from));
      TWhile* loop = Add<TWhile>(
          inner, at, variable + " >= " + (IsComparison(toTree[toRoot]) ? "(" + to + ")" : to));
      Body(loop->Branch1, inner.Level() + 1);
      TSequence(&loop->Branch1->Body, inner.Level() + 1)
          .Append(TAnweisung::CreateWithText("dec(" + variable + ")"));
      return;
    }
    std::string compact;
    bool fits = true;
    for (std::size_t i = fromFirst; i <= fromLast; ++i) {
      const bool word = tokens_[i].Kind != TPascalTokenKind::Symbol;
      if (i > fromFirst && word && tokens_[i - 1].Kind != TPascalTokenKind::Symbol)
        fits = false;
      compact += tokens_[i].Text;
    }
    fits = fits && compact.find(' ') == std::string::npos;
    if (!fits) {
      seq.Append(TAnweisung::CreateWithText(variable + " := " + from));
      compact = variable;
    }
    TFor* loop = Add<TFor>(seq, at, variable + " := " + compact + " bis " + to);
    Body(loop->Branch1, seq.Level() + 1);
  }

  // Pascal does not chain comparisons ("x = 3 < 4" is no expression).
  static bool IsComparison(const TExprNode& top) {
    return top.Kind == TExprKind::Binary &&
           (top.Op == "=" || top.Op == "<>" || top.Op == "<" || top.Op == ">" ||
            top.Op == "<=" || top.Op == ">=" || top.Op == "in");
  }

  // An expression's text, bracketed where it is a comparison, to stand beside another one.
  std::string OperandText() {
    TExprTree tree;
    const std::size_t first = pos_;
    const int root = ExpressionTree(tree);
    const std::string text = SourceText(first, pos_ - 1);
    return IsComparison(tree[root]) ? "(" + text + ")" : text;
  }

  // `case` as decisions nested in each other's no-branch: "x = 1", "(x = 2) or (x = 3)",
  // "(x >= 4) and (x <= 6)"; the else part fills the last no-branch.
  void Case(TSequence& seq) {
    const TPascalToken& at = Cur();
    ++pos_;
    TExprTree tree;
    const std::size_t selectorFirst = pos_;
    const int selectorRoot = ExpressionTree(tree);
    std::string selector = SourceText(selectorFirst, pos_ - 1);
    const TExprKind kind = tree[selectorRoot].Kind;
    if (kind != TExprKind::Name && kind != TExprKind::Field && kind != TExprKind::Index &&
        kind != TExprKind::Call && kind != TExprKind::Paren && kind != TExprKind::Deref)
      selector = "(" + selector + ")";
    ExpectKeyword("of");
    TSequence* target = &seq;
    std::vector<std::unique_ptr<TSequence>> branches; // the no-branches, innermost last
    while (!Cur().IsKeyword("end") && !Cur().IsKeyword("else") &&
           !(Cur().Kind == TPascalTokenKind::Identifier && Cur().Word == "otherwise")) {
      if (AtEnd())
        Fail(Cur(), Expected("end"));
      if (Cur().IsSymbol(";")) {
        ++pos_;
        continue;
      }
      std::vector<std::string> parts;
      do {
        std::string from = OperandText();
        if (Cur().IsSymbol("..")) {
          ++pos_;
          const std::string to = OperandText();
          parts.push_back("(" + selector + " >= " + from + ") and (" + selector + " <= " + to +
                          ")");
        } else {
          parts.push_back(selector + " = " + from);
        }
      } while (Cur().IsSymbol(",") && ++pos_);
      Expect(":");
      std::string condition;
      for (const std::string& part : parts)
        condition +=
            parts.size() == 1 ? part : (condition.empty() ? "" : " or ") + ("(" + part + ")");
      TIf* decision = Add<TIf>(*target, at, condition);
      Body(decision->Branch1, target->Level() + 1);
      branches.push_back(
          std::make_unique<TSequence>(&decision->Branch2->Body, target->Level() + 1));
      target = branches.back().get();
      if (!Cur().IsSymbol(";") && !Cur().IsKeyword("end") && !Cur().IsKeyword("else"))
        Fail(Cur(), Expected(";"));
    }
    if (!Cur().IsKeyword("end")) {
      ++pos_; // else, otherwise
      Sequence(*target, "end");
    }
    ExpectKeyword("end");
  }

  const std::string& source_;
  TPascalTokens lexed_;
  const std::vector<TPascalToken>& tokens_;
  std::size_t pos_ = 0;
  std::size_t marker_ = 0;
  std::set<std::string> closed_; // names some "// Ende Name" comment closes
  int depth_ = 0;
};

// The source as Windows-1252: UTF-8 (with or without its byte-order mark) is converted.
std::string AsWindows1252(std::string source) {
  if (source.compare(0, 3, "\xEF\xBB\xBF") == 0)
    source.erase(0, 3);
  const bool wide = std::any_of(source.begin(), source.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return wide && IsUtf8(source) ? Utf8ToWindows1252(source) : source;
}

} // namespace

TOwned<TBlock> ImportPascal(const std::string& source) {
  const std::string text = AsWindows1252(source);
  // The file format cannot hold the bytes 0 and 1 in a text.
  int line = 1, column = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\0' || c == '\x01')
      throw TPascalSyntaxError(line, column, Tr("Pascal-Import", "unerlaubtes Zeichen"));
    if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return TImporter(text).Run();
}

TOwned<TBlock> ImportPascalFile(const std::string& path) {
  TFileReadStream stream(path);
  std::string source;
  char buffer[65536];
  for (std::size_t got; (got = stream.Read(buffer, sizeof buffer)) > 0;)
    source.append(buffer, got);
  return ImportPascal(source);
}
