// SPDX-License-Identifier: MIT
#include "model/structogram_file.h"

#include "model/stream.h"

#include <string>
#include <vector>

namespace {

const char kLineEnd[] = "\r\n";

// What is still to be exported: a chain with its indent (a number of spaces after the caller's
// base indent), or a literal piece that closes a compound element.
struct TExportStep {
  const TElement* Chain;
  std::size_t Extra;
  std::string Piece; // written when Chain is null
};

// Counting-loop text "v := a bis b" split as the loop line needs it; positions as in the text.
void SplitForText(const std::string& text, std::string& variable, std::string& from,
                  std::string& to) {
  if (text == "???") {
    variable = from = to = "?";
    return;
  }
  const std::size_t len = text.size();
  auto upToSpace = [&](std::size_t start, std::size_t& space) {
    if (start >= len) {
      space = len;
      return std::string();
    }
    space = text.find(' ', start);
    if (space == std::string::npos)
      space = len;
    return text.substr(start, space - start);
  };
  std::size_t p; // zero-based position of the first space, or len
  variable = upToSpace(0, p);
  std::size_t q;
  from = upToSpace(p + 4, q);
  to = q + 5 < len ? text.substr(q + 5) : std::string();
}

class TExporter {
public:
  TExporter(std::string& out, const std::string& base) : out_(out), base_(base) {}

  void Run(const TElement* head) {
    steps_.push_back({head, 0, {}});
    while (!steps_.empty()) {
      TExportStep step = std::move(steps_.back());
      steps_.pop_back();
      if (!step.Chain) {
        out_ += step.Piece;
        continue;
      }
      ExportChain(step.Chain, step.Extra);
    }
  }

private:
  std::string Indent(std::size_t extra) const { return base_ + std::string(extra, ' '); }

  // Exports elements of one chain until a compound element, whose inner chains and closing
  // pieces are scheduled before the rest of this chain.
  void ExportChain(const TElement* e, std::size_t extra) {
    const std::string indent = Indent(extra);
    for (; e; e = e->Next) {
      switch (e->Kind()) {
      case TKind::Anweisung: {
        std::string line = indent + e->Text;
        if (line.empty() || line.back() != ';')
          line += ';';
        out_ += line;
        out_ += kLineEnd;
        continue;
      }
      case TKind::Block: {
        const TBlock& block = static_cast<const TBlock&>(*e);
        Later(e->Next, extra);
        if (block.Independent) {
          out_ += indent + kLineEnd + indent + "// " + block.Text + kLineEnd;
          Later(indent + "// Ende " + block.Text + kLineEnd + kLineEnd);
          Later(block.Body, extra);
        } else {
          if (block.Bracketed) {
            out_ += indent + "begin" + kLineEnd;
            Later(indent + "end");
          }
          Later(block.Body, extra + 2);
        }
        return;
      }
      case TKind::If: {
        const TIf& cond = static_cast<const TIf&>(*e);
        out_ += indent + "if " + e->Text + " then" + kLineEnd;
        Later(e->Next, extra);
        Later(std::string(";") + kLineEnd);
        if (cond.Branch2 && cond.Branch2->Body) {
          Later(cond.Branch2, extra);
          Later(kLineEnd + indent + "else" + kLineEnd);
        }
        Later(cond.Branch1, extra);
        return;
      }
      case TKind::While:
      case TKind::For: {
        const TBedingung& loop = static_cast<const TBedingung&>(*e);
        if (e->Kind() == TKind::While) {
          out_ += indent + "while " + e->Text + " do" + kLineEnd;
        } else {
          std::string variable, from, to;
          SplitForText(e->Text, variable, from, to);
          out_ += indent + "for " + variable + ":=" + from + " to " + to + " do" + kLineEnd;
        }
        Later(e->Next, extra);
        Later(std::string(";") + kLineEnd);
        Later(loop.Branch1, extra);
        return;
      }
      case TKind::Repeat: {
        const TBedingung& loop = static_cast<const TBedingung&>(*e);
        out_ += indent + "repeat" + kLineEnd;
        Later(e->Next, extra);
        Later(indent + "until " + e->Text + ";" + kLineEnd);
        Later(loop.Branch1, extra);
        return;
      }
      case TKind::DoWhile: {
        // Pascal has no loop that repeats while its test is true after the body, so the
        // condition is negated; the body block is written without begin/end whatever its flags.
        const TBedingung& loop = static_cast<const TBedingung&>(*e);
        out_ += indent + "repeat" + kLineEnd;
        Later(e->Next, extra);
        Later(indent + "until not (" + e->Text + ");" + kLineEnd);
        if (loop.Branch1) {
          Later(loop.Branch1->Next, extra);
          Later(loop.Branch1->Body, extra + 2);
        }
        return;
      }
      }
    }
  }

  void Later(const TElement* chain, std::size_t extra) {
    if (chain)
      steps_.push_back({chain, extra, {}});
  }
  void Later(std::string piece) { steps_.push_back({nullptr, 0, std::move(piece)}); }

  std::string& out_;
  const std::string& base_;
  std::vector<TExportStep> steps_;
};

void ExportFrom(const TElement* head, std::string& out, const std::string& indent) {
  TExporter(out, indent).Run(head);
}

} // namespace

void TAnweisung::ExportSource(std::string& out, const std::string& indent) const {
  ExportFrom(this, out, indent);
}
void TBlock::ExportSource(std::string& out, const std::string& indent) const {
  ExportFrom(this, out, indent);
}
void TIf::ExportSource(std::string& out, const std::string& indent) const {
  ExportFrom(this, out, indent);
}
void TWhile::ExportSource(std::string& out, const std::string& indent) const {
  ExportFrom(this, out, indent);
}
void TFor::ExportSource(std::string& out, const std::string& indent) const {
  ExportFrom(this, out, indent);
}
void TDoWhile::ExportSource(std::string& out, const std::string& indent) const {
  ExportFrom(this, out, indent);
}
void TRepeat::ExportSource(std::string& out, const std::string& indent) const {
  ExportFrom(this, out, indent);
}

std::string ExportProgram(const TBlock& root) {
  std::string out;
  root.ExportSource(out, std::string());
  return out;
}

void ExportProgramFile(const TBlock& root, const std::string& path) {
  const std::string text = ExportProgram(root);
  TFileWriteStream stream(path);
  stream.WriteBuffer(text.data(), text.size());
  stream.Commit();
}
