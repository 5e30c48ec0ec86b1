// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes loaded as "Struktogramm laden" loads them. What loads must save
// to bytes that load and save again to the very same bytes, export, copy, measure, draw and
// hit-test without fault, and keep the tree's invariants.
//
// An input starting with "GEN" is not a file but the parameters of a generator for long,
// repetitive files that mutation alone rarely builds (see structured_input.h).
#include "fuzz/structured_input.h"
#include "language/language_export.h"
#include "language/program_checks.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/diagram_paint.h"
#include "render/figures.h"
#include "tests/tree_invariants.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fault(const std::string& what) {
  std::fprintf(stderr, "Fehler: %s\n", what.c_str());
  std::abort();
}

std::string Save(const TBlock& root) {
  TMemoryStream out;
  SaveDocument(root, out);
  return out.Data;
}

TLoadResult Load(const std::string& bytes) {
  TMemoryStream in(bytes);
  return LoadDocument(in);
}

size_t CountElements(const TElement* head) {
  size_t n = 0;
  std::vector<const TElement*> stack{head};
  while (!stack.empty()) {
    const TElement* e = stack.back();
    stack.pop_back();
    for (; e; e = e->Next) {
      ++n;
      if (const TBlock* b = As<TBlock>(e))
        stack.push_back(b->Body);
      if (const TBedingung* c = As<TBedingung>(e)) {
        stack.push_back(c->Branch1);
        stack.push_back(c->Branch2);
      }
    }
  }
  return n;
}

// Every block of the tree, in a fixed order.
std::vector<TBlock*> Blocks(TBlock& root) {
  std::vector<TBlock*> out;
  std::vector<TElement*> stack{&root};
  while (!stack.empty()) {
    TElement* e = stack.back();
    stack.pop_back();
    for (; e; e = e->Next) {
      if (TBlock* b = As<TBlock>(e)) {
        out.push_back(b);
        stack.push_back(b->Body);
      }
      if (TBedingung* c = As<TBedingung>(e)) {
        stack.push_back(c->Branch1);
        stack.push_back(c->Branch2);
      }
    }
  }
  return out;
}

// Keeps the state the figures set and counts what they draw, with fixed text metrics; recording
// every call of a large drawing would cost more than it tells.
class TCountingSurface : public TSurface {
public:
  long drawn = 0;
  void SetPenColor(TColor c) override { pen_ = c; }
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int) override {}
  void SetPenStyle(TPenStyle) override {}
  void SetBrushColor(TColor c) override { brush_ = c; }
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor c) override { font_ = c; }
  TColor FontColor() const { return font_; }
  void SetFontSize(int) override {}
  void SetFontName(const std::string&) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override { ++drawn; }
  void Polygon(const TPoint*, int count) override {
    if (count < 3)
      Fault("Vieleck mit weniger als drei Ecken");
    ++drawn;
  }
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override { Box(l, t, r, b); }
  void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) override { Box(l, t, r, b); }
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override { Box(l, t, r, b); }
  void TextOut(int32_t, int32_t, const std::string&) override { ++drawn; }
  TSize TextExtent(const std::string& text) override {
    return {static_cast<int32_t>(std::min<size_t>(text.size(), 1 << 20)) * 6, 13};
  }

private:
  void Box(int32_t l, int32_t t, int32_t r, int32_t b) {
    if (r < l || b < t)
      Fault("Rechteck mit vertauschten Kanten");
    ++drawn;
  }
  TColor pen_ = kBlack, brush_ = kWhite, font_ = kBlack;
};

// Figures must leave the surface as a caller expects it: pen and font black, the brush as found.
void CheckLeftClean(const TCountingSurface& s, TColor brush) {
  if (s.GetPenColor() != kBlack || s.FontColor() != kBlack || s.GetBrushColor() != brush)
    Fault("ein Bild hinterlässt Stift, Schrift oder Pinsel verändert");
}

void Render(TBlock& root, size_t elements, const uint8_t* data, size_t size) {
  for (int pass = 0; pass < 2; ++pass) {
    TCountingSurface surface;
    TDisplayOptions display;
    display.DrawRoot = &root;
    // The second pass collapses some blocks and selects one element, as a window might.
    if (pass == 1) {
      std::vector<TBlock*> blocks = Blocks(root);
      for (size_t i = 0; i < blocks.size() && display.CollapsedCount < 100; i += 3)
        display.ToggleCollapsed(blocks[i]);
      if (!blocks.empty())
        display.AddSelection(blocks[size % blocks.size()]);
    }
    const TSize cached = Measure(root, surface, display);
    if (elements < 500 && !(Measure(root, surface, display, {false}) == cached))
      Fault("Maße mit und ohne Zwischenspeicher verschieden");
    if (cached.cx < 0 || cached.cy < 0)
      Fault("negative Maße");
    const TPoint anchor{cached.cx / 2 + 30, 15};
    surface.SetBrushColor(kScreenBackground);
    Draw(root, surface, anchor, display);
    CheckLeftClean(surface, kScreenBackground);
    // Every element of the program draws something; records after it are not shown.
    if (!root.Next && surface.drawn < static_cast<long>(elements) && display.CollapsedCount == 0)
      Fault("weniger gezeichnet als Elemente da sind");
    // A few points the input chooses, and the figure's corners.
    for (size_t i = 0; i < 6; ++i) {
      const uint32_t x = size > i ? data[i] * 7u : 0u;
      const uint32_t y = size > i + 6 ? data[i + 6] * 131u : 0u;
      const int32_t px = static_cast<int32_t>(x % static_cast<uint32_t>(cached.cx + 61));
      const int32_t py = static_cast<int32_t>(y % static_cast<uint32_t>(cached.cy + 31));
      TElement* hit = HitTestStruktogramm(surface, root, display, px, py);
      if (hit && !SlowContains(root, *hit))
        Fault("Treffer außerhalb des Baums");
      if (display.DropAfter && (!hit || hit->Kind() != TKind::Block || !hit->Independent))
        Fault("DropAfter bei einem Ziel, hinter das nichts gelegt werden kann");
    }
  }
}

void Check(const std::string& bytes, const uint8_t* data, size_t size) {
  TLoadResult first;
  try {
    first = Load(bytes);
  } catch (const TStreamError&) {
    return; // a read error or the nesting limit: refused cleanly
  }
  TBlock& root = *first.Root;
  const std::vector<const TElement*> roots{&root};
  const std::string violation = TreeInvariantViolation(roots, /*asLoaded=*/true);
  if (!violation.empty())
    Fault("geladener Baum: " + violation);

  const std::string saved = Save(root);
  TLoadResult second = Load(saved);
  if (second.Damaged)
    Fault("gespeicherte Datei liest sich als beschädigt");
  if (Save(*second.Root) != saved)
    Fault("Speichern nach Laden ergibt andere Bytes");

  const std::string pascal = ExportProgram(root);
  if (pascal != ExportProgram(*second.Root))
    Fault("Pascal-Export nach Laden verschieden");
  // The other languages translate every text; for the generator's huge files, and for deep
  // nesting, whose indented source grows with the square of the depth, that would take most of
  // the time a run has, so those are left to the smaller ones.
  const size_t elements = CountElements(&root);
  if (elements < 5000 && pascal.size() < (size_t{1} << 20)) {
    for (TSourceLanguage language : kSourceLanguages) {
      const std::string source = ExportProgramAs(root, language, "Programm");
      if (language == TSourceLanguage::Pascal && source != pascal)
        Fault("Pascal-Export als Sprache verschieden");
    }
    // The checks read the same texts; each finding names an element of the program, in order.
    const std::vector<const TElement*> order = ElementsInOrder(root);
    std::size_t last = 0;
    for (const TFinding& f : CheckProgram(root)) {
      if (f.Position >= order.size() || order[f.Position] != f.Element || f.Position < last)
        Fault("Befund der Prüfungen an falscher Stelle");
      last = f.Position;
    }
  }

  TOwned<TBlock> copy = CreateCopy(root);
  if (Save(*copy) != saved)
    Fault("Kopie speichert sich anders");

  Render(root, elements, data, size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes;
  if (GeneratedInput(data, size, bytes))
    Check(bytes, data, size);
  else
    Check(std::string(reinterpret_cast<const char*>(data), size), data, size);
  return 0;
}
