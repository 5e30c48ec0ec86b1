// SPDX-License-Identifier: MIT
#include "language/program_checks.h"

#include "language/program_texts.h"
#include "language/run_program.h"
#include "model/texts.h"
#include "model/windows1252.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

struct TCheckInfo {
  const char* Title;
  const char* Key;
};

const TCheckInfo kChecks[kCheckCount] = {
    {TrNoop("Prüfungen", "Variable ohne Wert gelesen"), "ohneWert"},
    {TrNoop("Prüfungen", "Vergleich statt Zuweisung"), "vergleich"},
    {TrNoop("Prüfungen", "Mögliche Endlosschleife"), "endlosschleife"},
    {TrNoop("Prüfungen", "Zählvariable in der Schleife verändert"), "zaehlvariable"},
    {TrNoop("Prüfungen", "Bedingung ohne Wahrheitswert"), "bedingung"},
    {TrNoop("Prüfungen", "Nicht ausführbarer Text"), "ausfuehrbar"},
    {TrNoop("Prüfungen", "Leere Zweige und Schleifen"), "leer"},
};

// What a text does with the variables, in the order it does it.
struct TEvent {
  bool Write;
  int Variable;
};

class TChecker {
public:
  TChecker(const TBlock& root, TCheckSet enabled) : root_(root), texts_(root), enabled_(enabled) {}

  std::vector<TFinding> Run() {
    Number();
    if (On(TCheck::Unassigned)) {
      std::vector<uint8_t> assigned(texts_.Variables().size(), 0);
      Flow(root_.Body, assigned);
    }
    Structure(root_.Body, nullptr);
    if (On(TCheck::NotRunnable))
      for (const TTextProblem& p : FindTextProblems(root_))
        if (!explained_.count(p.Element))
          Add(p.Element, TCheck::NotRunnable, p.Why);
    for (TFinding& f : findings_) {
      f.Position = order_.at(f.Element);
      f.Path = PathOf(f.Position);
    }
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const TFinding& a, const TFinding& b) { return a.Position < b.Position; });
    return findings_;
  }

private:
  bool On(TCheck c) const { return (enabled_ >> static_cast<int>(c)) & 1u; }

  void Add(const TElement* e, TCheck check, const std::string& why) {
    if (On(check))
      findings_.push_back({e, 0, check, "»" + QuotedElementText(*e) + "«: " + why, why, {}});
  }

  std::string Name(int variable) const {
    return Windows1252ToUtf8(texts_.Variables()[static_cast<std::size_t>(variable)].Name);
  }

  // Every element in the export's order, for sorting the findings and naming their blocks.
  void Number() {
    elements_ = ElementsInOrder(root_, &enclosing_);
    order_.reserve(elements_.size());
    for (std::size_t i = 0; i < elements_.size(); ++i)
      order_.emplace(elements_[i], i);
  }

  std::string PathOf(std::size_t position) const {
    std::vector<std::string> titles;
    for (int32_t b = enclosing_[position]; b >= 0; b = enclosing_[static_cast<std::size_t>(b)])
      titles.push_back(Windows1252ToUtf8(elements_[static_cast<std::size_t>(b)]->Text));
    std::string path;
    for (auto it = titles.rbegin(); it != titles.rend(); ++it)
      path += (path.empty() ? "" : " › ") + *it;
    return path;
  }

  // ---- what texts read and write ----

  static void Reads(const TExprTree& t, int node, std::vector<TEvent>& out) {
    const TExprNode& n = t[node];
    if (n.Kind == TExprKind::Name && n.Variable >= 0)
      out.push_back({false, n.Variable});
    for (int child : n.Children)
      Reads(t, child, out);
  }

  static void StatementEvents(const TExprTree& t, int node, std::vector<TEvent>& out) {
    const TExprNode& n = t[node];
    if (n.Kind == TExprKind::Assign) {
      const TExprNode& target = t[n.Children[0]];
      if (n.Op != ":=" && target.Variable >= 0)
        out.push_back({false, target.Variable});
      Reads(t, n.Children[1], out);
      if (target.Kind == TExprKind::Name && target.Variable >= 0)
        out.push_back({true, target.Variable});
      else
        Reads(t, n.Children[0], out);
      return;
    }
    if (n.Kind != TExprKind::Call) {
      Reads(t, node, out);
      return;
    }
    const std::string& callee = t[n.Children[0]].Op;
    // A procedure the program does not know may set its arguments (var parameters).
    const bool reading = callee == "read" || callee == "readln" ||
                         (!IsKnownProcedure(callee) && !IsKnownFunction(callee));
    const bool counting = callee == "inc" || callee == "dec";
    for (std::size_t i = 1; i < n.Children.size(); ++i) {
      const TExprNode& arg = t[n.Children[i]];
      const bool target = arg.Kind == TExprKind::Name && arg.Variable >= 0 &&
                          (reading || (counting && i == 1));
      if (!target || counting)
        Reads(t, n.Children[i], out);
      if (target)
        out.push_back({true, arg.Variable});
    }
  }

  std::vector<TEvent> Events(const TElement& e) const {
    std::vector<TEvent> out;
    const TParsedText& p = texts_.Of(e);
    if (!p.Valid)
      return out;
    for (int s : p.Statements)
      StatementEvents(p.Tree, s, out);
    if (p.Condition >= 0)
      Reads(p.Tree, p.Condition, out);
    if (p.LoopFrom >= 0) {
      Reads(p.Tree, p.LoopFrom, out);
      Reads(p.Tree, p.LoopTo, out);
      if (p.Tree[p.LoopVariable].Variable >= 0)
        out.push_back({true, p.Tree[p.LoopVariable].Variable});
    }
    return out;
  }

  // ---- variables read before they have a value ----

  void Use(const TElement& e, std::vector<uint8_t>& assigned) {
    for (const TEvent& ev : Events(e)) {
      if (ev.Write) {
        assigned[static_cast<std::size_t>(ev.Variable)] = 1;
      } else if (!assigned[static_cast<std::size_t>(ev.Variable)] &&
                 reported_.insert({&e, ev.Variable}).second) {
        Add(&e, TCheck::Unassigned,
            Format(Tr("Prüfungen", "»%1« wird gelesen, bevor es einen Wert bekommt"),
                   {Name(ev.Variable)}));
      }
    }
  }

  // Walks a chain with the variables that surely have a value, leaving those they have after it.
  void Flow(const TElement* e, std::vector<uint8_t>& assigned) {
    for (; e; e = e->Next) {
      switch (e->Kind()) {
      case TKind::Anweisung:
        Use(*e, assigned);
        break;
      case TKind::Block:
        Flow(static_cast<const TBlock*>(e)->Body, assigned);
        break;
      case TKind::If: {
        const auto* c = static_cast<const TBedingung*>(e);
        Use(*e, assigned);
        std::vector<uint8_t> yes = assigned, no = assigned;
        Branch(c->Branch1, yes);
        Branch(c->Branch2, no);
        for (std::size_t i = 0; i < assigned.size(); ++i)
          assigned[i] = yes[i] && no[i];
        break;
      }
      case TKind::While:
      case TKind::For: {
        const auto* c = static_cast<const TBedingung*>(e);
        Use(*e, assigned); // a counting loop's start gives its variable a value, also after it
        std::vector<uint8_t> inside = assigned;
        Branch(c->Branch1, inside); // the body may not run at all
        break;
      }
      default: { // testing after: the body runs once at least
        const auto* c = static_cast<const TBedingung*>(e);
        Branch(c->Branch1, assigned);
        Use(*e, assigned);
        break;
      }
      }
    }
  }

  void Branch(const TBlock* b, std::vector<uint8_t>& assigned) {
    if (!b)
      return;
    Flow(b->Body, assigned);
    Flow(b->Next, assigned);
  }

  // ---- what a loop's body does ----

  struct TBodyFacts {
    std::unordered_set<int> Written;
    bool Leaves = false; // break (of this loop) or halt
  };

  void BodyFacts(const TElement* e, TBodyFacts& facts, bool nested) const {
    for (; e; e = e->Next) {
      for (const TEvent& ev : Events(*e))
        if (ev.Write)
          facts.Written.insert(ev.Variable);
      const TParsedText& p = texts_.Of(*e);
      if (e->Kind() == TKind::Anweisung && p.Valid)
        for (int s : p.Statements) {
          const TExprNode& n = p.Tree[s];
          const TExprNode& callee = n.Kind == TExprKind::Call ? p.Tree[n.Children[0]] : n;
          if (callee.Op == "halt" || (!nested && callee.Op == "break" && n.Kind == TExprKind::Name))
            facts.Leaves = true;
        }
      if (const TBlock* b = As<TBlock>(e)) {
        BodyFacts(b->Body, facts, nested);
      } else if (const TBedingung* c = As<TBedingung>(e)) {
        const bool loop = e->Kind() != TKind::If;
        for (const TBlock* branch : {c->Branch1, c->Branch2})
          if (branch) {
            BodyFacts(branch->Body, facts, nested || loop);
            BodyFacts(branch->Next, facts, nested || loop);
          }
      }
    }
  }

  static bool NamesRandom(const TParsedText& p) {
    for (const TExprNode& n : p.Tree.Nodes)
      if (n.Kind == TExprKind::Name && n.Op == "random")
        return true;
    return false;
  }

  // 1 when the condition is the constant true, 0 when false, -1 when it is no constant.
  static int Constant(const TExprTree& t, int node) {
    const TExprNode& n = t[node];
    if (n.Kind == TExprKind::Paren)
      return Constant(t, n.Children[0]);
    if (n.Kind == TExprKind::Name && (n.Op == "true" || n.Op == "false"))
      return n.Op == "true" ? 1 : 0;
    if (n.Kind == TExprKind::Unary && n.Code == TExprOp::Not) {
      const int inner = Constant(t, n.Children[0]);
      return inner < 0 ? -1 : 1 - inner;
    }
    return -1;
  }

  void Loop(const TBedingung& e) {
    const TParsedText& p = texts_.Of(e);
    TBodyFacts facts;
    if (e.Branch1) {
      BodyFacts(e.Branch1->Body, facts, false);
      BodyFacts(e.Branch1->Next, facts, false);
    }
    const bool empty = !e.Branch1 || (!e.Branch1->Body && !e.Branch1->Next);
    if (empty)
      Add(&e, TCheck::EmptyParts, Tr("Prüfungen", "die Schleife hat nichts in ihrem Körper"));
    if (e.Kind() == TKind::For) {
      if (p.Valid && p.Tree[p.LoopVariable].Variable >= 0)
        CounterChanges(e, p.Tree[p.LoopVariable].Variable);
      return;
    }
    if (!p.Valid || texts_.ExpressionType(p.Tree, p.Condition) != TValueType::Boolean ||
        facts.Leaves || NamesRandom(p))
      return;
    std::vector<TEvent> read;
    Reads(p.Tree, p.Condition, read);
    if (read.empty()) {
      // Repeat-until ends on yes, the others on no.
      const int value = Constant(p.Tree, p.Condition);
      if (value >= 0 && value == (e.Kind() == TKind::Repeat ? 0 : 1))
        Add(&e, TCheck::EndlessLoop,
            Tr("Prüfungen", "die Bedingung bleibt immer gleich, und nichts verlässt die "
                            "Schleife: eine Endlosschleife"));
      return;
    }
    for (const TEvent& ev : read)
      if (facts.Written.count(ev.Variable))
        return;
    Add(&e, TCheck::EndlessLoop,
        Tr("Prüfungen", "keine Variable der Bedingung ändert sich in der Schleife: vielleicht "
                        "eine Endlosschleife"));
  }

  void CounterChanges(const TBedingung& loop, int variable) {
    std::vector<const TElement*> stack;
    if (loop.Branch1)
      stack = {loop.Branch1->Body, loop.Branch1->Next};
    while (!stack.empty()) {
      const TElement* e = stack.back();
      stack.pop_back();
      for (; e; e = e->Next) {
        for (const TEvent& ev : Events(*e))
          if (ev.Write && ev.Variable == variable) {
            Add(e, TCheck::CounterChanged,
                Format(Tr("Prüfungen",
                          "die Zählvariable »%1« wird in ihrer eigenen Schleife verändert"),
                       {Name(variable)}));
            break;
          }
        if (const TBlock* b = As<TBlock>(e))
          stack.push_back(b->Body);
        else if (const TBedingung* c = As<TBedingung>(e))
          for (const TBlock* branch : {c->Branch1, c->Branch2})
            if (branch)
              stack.insert(stack.end(), {branch->Body, branch->Next});
      }
    }
  }

  // ---- what each element's own text and figure say ----

  void Structure(const TElement* e, const TElement*) {
    for (; e; e = e->Next) {
      switch (e->Kind()) {
      case TKind::Anweisung:
        Statement(*e);
        break;
      case TKind::Block:
        Structure(static_cast<const TBlock*>(e)->Body, e);
        break;
      default: {
        const auto* c = static_cast<const TBedingung*>(e);
        if (e->Kind() != TKind::For)
          Condition(*c);
        if (e->Kind() == TKind::If) {
          const auto empty = [](const TBlock* b) { return !b || (!b->Body && !b->Next); };
          if (empty(c->Branch1) && empty(c->Branch2))
            Add(e, TCheck::EmptyParts, Tr("Prüfungen", "beide Zweige der Entscheidung sind leer"));
        } else {
          Loop(*c);
        }
        for (const TBlock* branch : {c->Branch1, c->Branch2})
          if (branch) {
            Structure(branch->Body, e);
            Structure(branch->Next, e);
          }
        break;
      }
      }
    }
  }

  void Statement(const TElement& e) {
    if (texts_.Of(e).Valid)
      return;
    // x = 5 alone: a comparison where an assignment was meant.
    const TParsedText asCondition = ParseConditionText(e.Text);
    if (!asCondition.Valid)
      return;
    int top = asCondition.Condition;
    while (asCondition.Tree[top].Kind == TExprKind::Paren)
      top = asCondition.Tree[top].Children[0];
    const TExprNode& n = asCondition.Tree[top];
    if (n.Kind != TExprKind::Binary || n.Code != TExprOp::Eq ||
        asCondition.Tree[n.Children[0]].Kind != TExprKind::Name)
      return;
    std::string meant = e.Text;
    for (std::size_t i = 0; i < meant.size(); ++i)
      if (meant[i] == '=' && (i == 0 || std::string(":<>").find(meant[i - 1]) == std::string::npos)) {
        meant.insert(i, ":");
        break;
      }
    explained_.insert(&e);
    for (char& ch : meant)
      if (static_cast<unsigned char>(ch) < 0x20)
        ch = ' ';
    Add(&e, TCheck::LonelyComparison,
        Format(Tr("Prüfungen", "vergleicht nur. Meinten Sie »%1«?"), {Windows1252ToUtf8(meant)}));
  }

  void Condition(const TBedingung& e) {
    const TParsedText& p = texts_.Of(e);
    if (!p.Valid)
      return;
    const TValueType type = texts_.ExpressionType(p.Tree, p.Condition);
    if (type == TValueType::Boolean || type == TValueType::Unknown)
      return;
    explained_.insert(&e);
    Add(&e, TCheck::NotBoolean,
        Format(Tr("Prüfungen", "die Bedingung ist %1, kein Wahrheitswert"), {ValueTypeName(type)}));
  }

  const TBlock& root_;
  const TProgramTexts texts_;
  TCheckSet enabled_;
  std::vector<TFinding> findings_;
  std::unordered_map<const TElement*, std::size_t> order_;
  std::vector<const TElement*> elements_;
  std::vector<int32_t> enclosing_;
  std::unordered_set<const TElement*> explained_; // found by a check more telling than NotRunnable
  struct TPairHash {
    std::size_t operator()(const std::pair<const TElement*, int>& p) const {
      return std::hash<const void*>()(p.first) ^ static_cast<std::size_t>(p.second) * 31;
    }
  };
  std::unordered_set<std::pair<const TElement*, int>, TPairHash> reported_;
};

} // namespace

std::string CheckTitle(TCheck check) {
  return Tr("Prüfungen", kChecks[static_cast<int>(check)].Title);
}

const char* CheckKey(TCheck check) {
  return kChecks[static_cast<int>(check)].Key;
}

std::vector<TFinding> CheckProgram(const TBlock& root, TCheckSet enabled) {
  return TChecker(root, enabled).Run();
}

