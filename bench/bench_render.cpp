// SPDX-License-Identifier: MIT
// Rendering speed: measure, draw and hit test with the per-pass cache and clipping against the
// literal walk that re-measures at every level. Picture export: bench_pictures.
#include "model/element.h"
#include "render/diagram_paint.h"
#include "render/figures.h"
#include "render/qt_surface.h"
#include "tests/tree_building.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

// Draws nothing; text is 6 pixels per byte by 13, as a plain fixed-pitch font would measure.
class NullSurface : public TSurface {
public:
  void SetPenColor(TColor c) override { pen_ = c; }
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int) override {}
  void SetPenStyle(TPenStyle) override {}
  void SetBrushColor(TColor c) override { brush_ = c; }
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor) override {}
  void SetFontSize(int) override {}
  void SetFontName(const std::string&) override {}
  void MoveTo(int32_t x, int32_t) override { benchmark::DoNotOptimize(x); }
  void LineTo(int32_t x, int32_t) override { benchmark::DoNotOptimize(x); }
  void Polygon(const TPoint* p, int) override { benchmark::DoNotOptimize(p); }
  void Rectangle(int32_t l, int32_t, int32_t, int32_t) override { benchmark::DoNotOptimize(l); }
  void FillRect(int32_t l, int32_t, int32_t, int32_t) override { benchmark::DoNotOptimize(l); }
  void Ellipse(int32_t l, int32_t, int32_t, int32_t) override { benchmark::DoNotOptimize(l); }
  void TextOut(int32_t x, int32_t, const std::string&) override { benchmark::DoNotOptimize(x); }
  TSize TextExtent(const std::string& t) override {
    return {static_cast<int32_t>(t.size()) * 6, 13};
  }

private:
  TColor pen_ = 0, brush_ = 0;
};

// A program of exactly n elements: a statement, a decision, a loop and a block per level, the
// rest split among their bodies, nested up to 10 condition levels (20 blocks) deep.
void Fill(TBlock& block, int n, int depth, std::mt19937& rng) {
  static const char* texts[] = {"x := x + 1", "Wert lesen", "s := s + a[i] * b[i]", "Ausgabe"};
  if (n <= 6 || depth == 0) {
    TElement* last = nullptr;
    for (int i = 0; i < n; ++i) {
      auto* e = TAnweisung::CreateWithText(texts[rng() % 4]).release();
      if (last)
        last->Next = e;
      else
        Append(block, TOwned<TElement>(e));
      last = e;
    }
    return;
  }
  const int r = n - 4;
  const int a = r * 3 / 10, b = r * 3 / 10, rest = r - 2 * a - b;
  Append(block, TAnweisung::CreateWithText(texts[rng() % 4]));
  TIf* dec = Append(block, TIf::CreateWithText("a < b und c"));
  Fill(*dec->Branch1, a, depth - 1, rng);
  Fill(*dec->Branch2, a, depth - 1, rng);
  TBedingung* loop = nullptr;
  switch (depth % 4) {
  case 0:
    loop = Append(block, TWhile::CreateWithText("i < n"));
    break;
  case 1:
    loop = Append(block, TFor::CreateWithText("i := 1 bis n"));
    break;
  case 2:
    loop = Append(block, TDoWhile::CreateWithText("weiter"));
    break;
  default:
    loop = Append(block, TRepeat::CreateWithText("fertig"));
    break;
  }
  Fill(*loop->Branch1, b, depth - 1, rng);
  TBlock* part = Append(block, TBlock::CreateWithText("Teil"));
  Fill(*part, rest, depth - 1, rng);
}

TBlock& Program(int n) {
  static std::map<int, TOwned<TBlock>> cache;
  auto& slot = cache[n];
  if (!slot) {
    slot = TBlock::CreateWithText("gesamtes Programm");
    slot->Independent = false;
    std::mt19937 rng(n);
    Fill(*slot, n, 10, rng);
  }
  return *slot;
}

const TRenderOptions kLiteral{false};

void BM_Measure(benchmark::State& state, bool cached) {
  TBlock& root = Program(static_cast<int>(state.range(0)));
  NullSurface s;
  TDisplayOptions d;
  for (auto _ : state)
    benchmark::DoNotOptimize(Measure(root, s, d, TRenderOptions{cached}));
}

// A whole paint on a surface that draws nothing: the figures' own work.
void BM_DrawNull(benchmark::State& state, bool cached) {
  TBlock& root = Program(static_cast<int>(state.range(0)));
  NullSurface s;
  TDisplayOptions d;
  for (auto _ : state) {
    const TSize size = Measure(root, s, d, TRenderOptions{cached});
    DisplayStruktogramm(s, {size.cx / 2 + 30, 15}, root, d, nullptr, TRenderOptions{cached});
  }
}

// A window's repaint into a 1280 x 1024 image, scrolled to the middle of the program: the fast
// path measures once and draws what the window shows; the literal path measures for the anchor
// and draws the whole program, re-measuring at every level.
void BM_RepaintWindow(benchmark::State& state, bool fast) {
  TBlock& root = Program(static_cast<int>(state.range(0)));
  QImage image(1280, 1024, QImage::Format_RGB32);
  QPainter painter(&image);
  QtSurface s(painter, DiagramFont());
  TDisplayOptions d;
  const TSize size = Measure(root, s, d);
  const TPoint scroll{std::max(0, size.cx / 2 - 640), std::max(0, size.cy / 2 - 512)};
  const TRect clip{0, 0, 1280, 1024};
  for (auto _ : state) {
    painter.fillRect(image.rect(), QColor(245, 245, 245));
    if (fast) {
      PaintStruktogramm(s, root, d, scroll, &clip);
    } else {
      const TSize m = Measure(root, s, d, kLiteral);
      DisplayStruktogramm(s, {m.cx / 2 + 30 - scroll.x, 15 - scroll.y}, root, d, nullptr, kLiteral);
    }
  }
  state.counters["width"] = size.cx;
  state.counters["height"] = size.cy;
}

void BM_HitTest(benchmark::State& state, bool fast) {
  TBlock& root = Program(static_cast<int>(state.range(0)));
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  QtSurface s(painter, DiagramFont());
  TDisplayOptions d;
  d.DrawRoot = &root;
  const TSize size = Measure(root, s, d);
  std::mt19937 rng(7);
  for (auto _ : state) {
    const int x = static_cast<int>(rng() % static_cast<unsigned>(size.cx + 60));
    const int y = static_cast<int>(rng() % static_cast<unsigned>(size.cy + 30));
    if (fast) {
      benchmark::DoNotOptimize(HitTestStruktogramm(s, root, d, x, y));
    } else {
      const TSize m = Measure(root, s, d, kLiteral);
      benchmark::DoNotOptimize(HitTest(root, s, {m.cx / 2 + 30, 15}, d, x, y, kLiteral));
    }
  }
}

BENCHMARK_CAPTURE(BM_Measure, cached, true)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Measure, literal, false)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawNull, cached, true)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawNull, literal, false)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RepaintWindow, cached_clipped, true)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RepaintWindow, literal, false)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HitTest, cached, true)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HitTest, literal, false)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
