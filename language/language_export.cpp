// SPDX-License-Identifier: MIT
#include "language/language_export.h"

#include "language/language_runtime.h"
#include "language/program_texts.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "language/text_translation.h"
#include "model/windows1252.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace {

const char kLineEnd[] = "\r\n";

// A text written as it stands: one line, in the file's encoding. Java files stay ASCII (javac
// reads them in the platform's encoding), so other characters become \u escapes there; a
// backslash too, so that no escape in the text is read as one.
std::string Unchanged(const std::string& text, TSourceLanguage language) {
  std::string out;
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20) {
      out += ' ';
    } else if (language == TSourceLanguage::Java && (b >= 0x80 || ch == '\\')) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x",
                    static_cast<unsigned>(Windows1252CodePoint(b)));
      out += buffer;
    } else {
      out += Windows1252ToUtf8(std::string(1, ch));
    }
  }
  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos)
    return std::string();
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

class TSourceWriter {
public:
  // taken: the names the program's variables have in the language.
  TSourceWriter(TSourceLanguage language, const TProgramTexts& texts, TTextTranslator& translator,
                std::set<std::string> loopVariablesReadAfter, std::set<std::string> taken)
      : taken_(std::move(taken)), language_(language), texts_(texts), translator_(translator),
        readAfter_(std::move(loopVariablesReadAfter)) {}

  // The integer variables Run introduced to hold end values of counting loops.
  const std::vector<std::string>& EndVariables() const { return ends_; }

  std::vector<std::string> Run(const TElement* head, int depth) {
    Later(head, depth);
    while (!steps_.empty()) {
      TStep step = std::move(steps_.back());
      steps_.pop_back();
      switch (step.Kind) {
      case TStep::Chain:
        WriteChain(step.Head, step.Depth);
        break;
      case TStep::Line:
        Emit(step.Depth, step.Text, step.Statement);
        break;
      case TStep::Open:
        open_.push_back(statements_);
        break;
      case TStep::Close:
        // An empty body still needs a statement.
        if (statements_ == open_.back())
          Emit(step.Depth, python() ? "pass" : ";", true);
        open_.pop_back();
        break;
      }
    }
    return lines_;
  }

private:
  struct TStep {
    enum TKind { Chain, Line, Open, Close } Kind;
    const TElement* Head;
    int Depth;
    std::string Text;
    bool Statement;
  };

  bool python() const { return language_ == TSourceLanguage::Python; }
  std::string Marker() const { return python() ? "  # nicht übersetzt" : "  // nicht übersetzt"; }

  std::string Comment(const std::string& text) const {
    std::string comment = (python() ? "# " : "// ") + Unchanged(text, language_);
    // In C a backslash (or the trigraph ??/) at the end would join the next line to the comment.
    if (language_ == TSourceLanguage::C &&
        (comment.back() == '\\' || comment.compare(comment.size() - 3, 3, "?\?/") == 0))
      comment += '.';
    return comment;
  }

  void Emit(int depth, const std::string& text, bool statement) {
    lines_.push_back(text.empty() ? text : std::string(4 * depth, ' ') + text);
    statements_ += statement ? 1 : 0;
  }

  void Later(const TElement* head, int depth) {
    if (head)
      steps_.push_back({TStep::Chain, head, depth, {}, false});
  }
  void LaterLine(int depth, std::string text, bool statement = false) {
    steps_.push_back({TStep::Line, nullptr, depth, std::move(text), statement});
  }
  // A body: what the block holds, then what follows the block itself, one level deeper.
  void LaterBody(const TBlock* block, int depth) {
    steps_.push_back({TStep::Close, nullptr, depth, {}, false});
    if (block) {
      Later(block->Next, depth);
      Later(block->Body, depth);
    }
    steps_.push_back({TStep::Open, nullptr, depth, {}, false});
  }

  // The condition in the language, or the text unchanged with the marker after the line.
  bool Condition(const TElement& e, std::string& code) {
    if (translator_.Condition(texts_.Of(e), code)) {
      // Java refuses code behind a loop whose condition is constant.
      if (language_ == TSourceLanguage::Java && e.Kind() != TKind::If &&
          TTextTranslator::IsConstant(texts_.Of(e)))
        code = "Boolean.valueOf(" + code + ")";
      return true;
    }
    code = Unchanged(e.Text, language_);
    return false;
  }

  std::string Header(const std::string& head, const std::string& code, bool translated) {
    const std::string text = python() ? head + " " + code + ":" : head + " (" + code + ") {";
    return translated ? text : text + Marker();
  }

  void WriteChain(const TElement* e, int d) {
    for (; e; e = e->Next) {
      std::string code;
      switch (e->Kind()) {
      case TKind::Anweisung: {
        std::vector<std::string> lines;
        if (!translator_.Statements(texts_.Of(*e), lines)) {
          Emit(d, Unchanged(e->Text, language_) + Marker(), true);
          continue;
        }
        for (const std::string& line : lines)
          Emit(d, line, true);
        continue;
      }
      case TKind::Block: {
        const TBlock& block = static_cast<const TBlock&>(*e);
        Later(e->Next, d);
        if (block.Independent) {
          Emit(d, "", false);
          Emit(d, Comment(block.Text), false);
          LaterLine(d, "");
          LaterLine(d, Comment("Ende " + block.Text));
        }
        Later(block.Body, d);
        return;
      }
      case TKind::If: {
        const TIf& decision = static_cast<const TIf&>(*e);
        const bool translated = Condition(*e, code);
        Emit(d, Header("if", code, translated), true);
        Later(e->Next, d);
        if (!python())
          LaterLine(d, "}");
        const TBlock* no = decision.Branch2;
        if (no && (no->Body || no->Next)) {
          LaterBody(no, d + 1);
          LaterLine(d, python() ? "else:" : "} else {");
        }
        LaterBody(decision.Branch1, d + 1);
        return;
      }
      case TKind::While: {
        const bool translated = Condition(*e, code);
        Emit(d, Header("while", code, translated), true);
        Later(e->Next, d);
        if (!python())
          LaterLine(d, "}");
        LaterBody(static_cast<const TWhile&>(*e).Branch1, d + 1);
        return;
      }
      case TKind::For:
        WriteCountingLoop(static_cast<const TFor&>(*e), d);
        return;
      case TKind::DoWhile:
      case TKind::Repeat:
        WriteLoopTestingAfter(static_cast<const TDoWhile&>(*e), d);
        return;
      }
    }
  }

  void WriteCountingLoop(const TFor& loop, int d) {
    TTextTranslator::TLoop parts;
    const bool translated = translator_.CountingLoop(texts_.Of(loop), parts);
    std::string header;
    if (!translated)
      header = Header("for", Unchanged(loop.Text, language_), false);
    else if (python())
      header = "for " + parts.Variable + " in range(" + parts.From + ", " + parts.ToPlusOne + "):";
    std::string end = parts.To;
    if (translated && !python() && !parts.ConstantEnd) {
      // Pascal reads the end value once, before the first round.
      end = EndVariable(parts.Variable);
      header = "for (" + parts.Variable + " = " + parts.From + ", " + end + " = " + parts.To +
               "; " + parts.Variable + " <= " + end + "; " + parts.Variable + "++) {";
    } else if (translated && !python()) {
      header = "for (" + parts.Variable + " = " + parts.From + "; " + parts.Variable +
               " <= " + end + "; " + parts.Variable + "++) {";
    }
    Emit(d, header, true);
    Later(loop.Next, d);
    if (!python())
      LaterLine(d, "}");
    steps_.push_back({TStep::Close, nullptr, d + 1, {}, false});
    // Pascal leaves the variable at the end value; where the program reads it after the loop,
    // the loop stops there instead of counting once more.
    if (translated && !python() &&
        readAfter_.count(texts_.Of(loop).Tree[texts_.Of(loop).LoopVariable].Op))
      LaterLine(d + 1, "if (" + parts.Variable + " == " + end + ") break;", true);
    if (loop.Branch1) {
      Later(loop.Branch1->Next, d + 1);
      Later(loop.Branch1->Body, d + 1);
    }
    steps_.push_back({TStep::Open, nullptr, d + 1, {}, false});
  }

  void WriteLoopTestingAfter(const TDoWhile& loop, int d) {
    std::string code;
    const bool translated = Condition(loop, code);
    const bool untilYes = loop.Kind() == TKind::Repeat;
    Later(loop.Next, d);
    if (python()) {
      Emit(d, "while True:", true);
      LaterLine(d + 2, "break", true);
      const std::string test = untilYes ? code : "not (" + code + ")";
      LaterLine(d + 1, "if " + test + ":" + (translated ? "" : Marker()), true);
      if (loop.Branch1) {
        Later(loop.Branch1->Next, d + 1);
        Later(loop.Branch1->Body, d + 1);
      }
      return;
    }
    Emit(d, "do {", false);
    const std::string test = untilYes ? "!(" + code + ")" : code;
    LaterLine(d, "} while (" + test + ");" + (translated ? "" : Marker()), true);
    LaterBody(loop.Branch1, d + 1);
  }

  // The variable that holds a counting loop's end value: "<variable>_bis", made unique.
  std::string EndVariable(const std::string& variable) {
    std::string name = variable + "_bis";
    while (taken_.count(name) && !std::count(ends_.begin(), ends_.end(), name))
      name += '_';
    if (!std::count(ends_.begin(), ends_.end(), name))
      ends_.push_back(name);
    return name;
  }

  std::set<std::string> taken_;
  std::vector<std::string> ends_;
  TSourceLanguage language_;
  const TProgramTexts& texts_;
  TTextTranslator& translator_;
  std::set<std::string> readAfter_;
  std::vector<TStep> steps_;
  std::vector<std::string> lines_;
  std::vector<int> open_;
  int statements_ = 0;
};

// Counting-loop variables that some text reads outside every loop that counts with them.
std::set<std::string> LoopVariablesReadAfter(const TBlock& root, const TProgramTexts& texts) {
  struct TItem {
    const TElement* Head;
    std::size_t Active; // how many enclosing loop variables apply
    std::string Push;   // the loop variable this chain is the body of
  };
  std::set<std::string> result;
  std::vector<std::string> active;
  std::vector<TItem> stack{{&root, 0, {}}};
  auto reads = [&](const TParsedText& parsed, int skip) {
    std::set<int> written{skip};
    for (const TExprNode& n : parsed.Tree.Nodes) {
      if (n.Kind == TExprKind::Assign || n.Kind == TExprKind::Call)
        written.insert(n.Children[0]);
      if (n.Kind == TExprKind::Call &&
          (parsed.Tree[n.Children[0]].Op == "read" || parsed.Tree[n.Children[0]].Op == "readln"))
        written.insert(n.Children.begin() + 1, n.Children.end());
    }
    for (std::size_t i = 0; i < parsed.Tree.Nodes.size(); ++i) {
      const TExprNode& n = parsed.Tree.Nodes[i];
      if (n.Kind == TExprKind::Name && !written.count(static_cast<int>(i)) &&
          std::find(active.begin(), active.end(), n.Op) == active.end())
        result.insert(n.Op);
    }
  };
  while (!stack.empty()) {
    TItem item = std::move(stack.back());
    stack.pop_back();
    active.resize(item.Active);
    if (!item.Push.empty())
      active.push_back(item.Push);
    for (const TElement* e = item.Head; e; e = e->Next) {
      const TParsedText& parsed = texts.Of(*e);
      reads(parsed, parsed.LoopVariable);
      std::string counter;
      if (e->Kind() == TKind::For && parsed.Valid)
        counter = parsed.Tree[parsed.LoopVariable].Op;
      if (const TBlock* block = As<TBlock>(e)) {
        stack.push_back({block->Body, active.size(), {}});
      } else if (const TBedingung* cond = As<TBedingung>(e)) {
        for (const TBlock* branch : {cond->Branch1, cond->Branch2})
          if (branch)
            stack.push_back({branch, active.size(), counter});
      }
    }
  }
  return result;
}

std::string JavaClassName(const std::string& programName) {
  std::string name;
  for (const char ch : programName) {
    const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_' ||
                        ch == '$' || (ch >= '0' && ch <= '9');
    name += letter ? ch : '_';
  }
  if (name.empty())
    name = "Programm";
  if (name[0] >= '0' && name[0] <= '9')
    name = "_" + name;
  static const std::set<std::string> keywords = {
      "abstract", "assert", "boolean",    "break",     "byte",       "case",      "catch",
      "char",     "class",  "const",      "continue",  "default",    "do",        "double",
      "else",     "enum",   "extends",    "final",     "finally",    "float",     "for",
      "goto",     "if",     "implements", "import",    "instanceof", "int",       "interface",
      "long",     "native", "new",        "package",   "private",    "protected", "public",
      "return",   "short",  "static",     "strictfp",  "super",      "switch",    "synchronized",
      "this",     "throw",  "throws",     "transient", "try",        "void",      "volatile",
      "while",    "true",   "false",      "null",      "var",        "record",    "yield",
      "_"};
  if (keywords.count(name))
    name += '_';
  return name;
}

std::string Declaration(TSourceLanguage language, const std::string& name, TValueType type) {
  switch (language) {
  case TSourceLanguage::Python:
    return name + (type == TValueType::Real      ? " = 0.0"
                   : type == TValueType::Boolean ? " = False"
                   : type == TValueType::String  ? " = ''"
                                                 : " = 0");
  case TSourceLanguage::Java:
    return type == TValueType::Real      ? "double " + name + " = 0.0;"
           : type == TValueType::Boolean ? "boolean " + name + " = false;"
           : type == TValueType::String  ? "String " + name + " = \"\";"
                                         : "int " + name + " = 0;";
  default:
    return type == TValueType::Real      ? "double " + name + " = 0.0;"
           : type == TValueType::Boolean ? "bool " + name + " = false;"
           : type == TValueType::String  ? "char " + name + "[256] = \"\";"
                                         : "int " + name + " = 0;";
  }
}

// Appends "\n"-separated text as lines, each indented by depth levels.
void AppendLines(std::vector<std::string>& out, const std::string& text, int depth) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    const std::string line = text.substr(start, end - start);
    out.push_back(line.empty() ? line : std::string(4 * depth, ' ') + line);
    start = end + 1;
  }
}

} // namespace

std::string ExportProgramAs(const TBlock& root, TSourceLanguage language,
                            const std::string& programName) {
  if (language == TSourceLanguage::Pascal)
    return ExportProgram(root);
  const TProgramTexts texts(root);
  TTextTranslator translator(language, texts);
  const int depth = language == TSourceLanguage::Java ? 2 : language == TSourceLanguage::C ? 1 : 0;
  std::set<std::string> readAfter;
  if (language != TSourceLanguage::Python)
    readAfter = LoopVariablesReadAfter(root, texts);
  std::vector<std::string> declarations;
  std::set<std::string> names;
  bool booleans = false;
  for (const TVariable& v : texts.Variables()) {
    std::string lower = v.Name;
    for (char& ch : lower)
      ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    const std::string& name = translator.VariableName(lower);
    names.insert(name);
    declarations.push_back(Declaration(language, name, v.Type));
    booleans = booleans || v.Type == TValueType::Boolean;
  }
  TSourceWriter writer(language, texts, translator, std::move(readAfter), std::move(names));
  const std::vector<std::string> body = writer.Run(root.Body, depth);
  for (const std::string& end : writer.EndVariables())
    declarations.push_back(Declaration(language, end, TValueType::Integer));
  const TRuntimeNeeds& needs = translator.Needs;

  std::vector<std::string> out;
  AppendLines(out, RuntimeImports(language, needs, booleans || needs.Booleans), 0);
  if (!out.empty())
    out.push_back("");
  const std::string helpers = RuntimeHelpers(language, needs);
  switch (language) {
  case TSourceLanguage::Python:
    if (!helpers.empty()) {
      AppendLines(out, helpers, 0);
      out.insert(out.end(), {"", ""});
    }
    AppendLines(out, RuntimeSetup(language, needs), 0);
    for (const std::string& d : declarations)
      out.push_back(d);
    if (!declarations.empty() && !body.empty())
      out.push_back("");
    break;
  case TSourceLanguage::Java: {
    const std::string name = JavaClassName(programName);
    out.push_back(std::string(name == programName ? "public " : "") + "class " + name + " {");
    if (!helpers.empty()) {
      AppendLines(out, helpers, 0);
      out.push_back("");
    }
    out.push_back(std::string("    public static void main(String[] args)") +
                  (ReadsInput(needs) ? " throws IOException" : "") + " {");
    AppendLines(out, RuntimeSetup(language, needs), 2);
    for (const std::string& d : declarations)
      out.push_back("        " + d);
    if (!declarations.empty() && !body.empty())
      out.push_back("");
    break;
  }
  default:
    if (!helpers.empty()) {
      AppendLines(out, helpers, 0);
      out.push_back("");
    }
    out.push_back("int main(void) {");
    for (const std::string& d : declarations)
      out.push_back("    " + d);
    if (!declarations.empty() && !body.empty())
      out.push_back("");
    break;
  }
  out.insert(out.end(), body.begin(), body.end());
  if (language == TSourceLanguage::Java)
    out.insert(out.end(), {"    }", "}"});
  else if (language == TSourceLanguage::C)
    out.insert(out.end(), {"    return 0;", "}"});

  std::string text;
  for (const std::string& line : out)
    text += line + kLineEnd;
  return text;
}

void ExportProgramFileAs(const TBlock& root, TSourceLanguage language, const std::string& path) {
  const std::string text = ExportProgramAs(root, language, ProgramNameForPath(path));
  TFileWriteStream stream(path);
  stream.WriteBuffer(text.data(), text.size());
  stream.Commit();
}
