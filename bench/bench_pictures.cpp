// SPDX-License-Identifier: MIT
// Picture export of programs of 1 000, 10 000 and 100 000 elements: the time of one export, the
// picture's size, and the peak memory of a process that builds the program and exports it once.
#include "bench/program_generator.h"
#include "render/figures.h"
#include "render/png_export.h"
#include "render/qt_picture_toolkit.h"
#include "render/qt_surface.h"
#include "render/svg_export.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

TBlock& Program(int n) {
  static std::map<int, TOwned<TBlock>> programs;
  TOwned<TBlock>& slot = programs[n];
  if (!slot)
    slot = TProgramGenerator::Make(n);
  return *slot;
}

// format: "png" and "svg" as flowcharts, "nsd.png" and "nsd.svg" as Nassi-Shneiderman
// diagrams.
void Export(const std::string& format, TBlock& root, TPictureToolkit& toolkit,
            const std::string& path) {
  TDisplayOptions shown;
  if (format.rfind("nsd.", 0) == 0)
    shown.Notation = TNotation::Nsd;
  if (format.size() >= 3 && format.compare(format.size() - 3, 3, "png") == 0)
    ExportPng(root, toolkit, path, 0, PngColours::Palette, &shown);
  else
    ExportSvg(root, toolkit, path, &shown);
}

const char kPeakOption[] = "--peak-of=";

// Peak resident memory in MiB of this program run as `--peak-of=FORMAT,N,PATH`: a fresh process,
// so that nothing measured before counts.
double PeakOfFreshProcess(const std::string& format, int n, const std::string& path) {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0)
    return -1;
  self[length] = '\0';
  // Its messages would go between the benchmark's lines.
  const std::string command = std::string("\"") + self + "\" \"" + kPeakOption + format + "," +
                              std::to_string(n) + "," + path + "\" 2>/dev/null";
  FILE* child = popen(command.c_str(), "r");
  if (!child)
    return -1;
  double peak = -1;
  if (std::fscanf(child, "%lf", &peak) != 1)
    peak = -1;
  pclose(child);
  return peak;
}

void BM_Export(benchmark::State& state, const char* format) {
  const int n = static_cast<int>(state.range(0));
  TBlock& root = Program(n);
  QtPictureToolkit toolkit;
  QTemporaryDir dir;
  const std::string path = dir.filePath(QString("bild.") + format).toStdString();
  for (auto _ : state)
    Export(format, root, toolkit, path);
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  QtSurface surface(painter, DiagramFont());
  TDisplayOptions display;
  if (std::strncmp(format, "nsd.", 4) == 0)
    display.Notation = TNotation::Nsd;
  display.DrawRoot = &root;
  const TSize size = Measure(root, surface, display);
  state.counters["width"] = size.cx + 50;
  state.counters["height"] = size.cy + 50;
  state.counters["file_MB"] =
      static_cast<double>(QFileInfo(QString::fromStdString(path)).size()) / (1 << 20);
  state.counters["peak_MB"] = PeakOfFreshProcess(format, n, path);
}

} // namespace

BENCHMARK_CAPTURE(BM_Export, png, "png")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Export, png, "png")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Export, svg, "svg")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Export, svg, "svg")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
// The same pictures as Nassi-Shneiderman diagrams.
BENCHMARK_CAPTURE(BM_Export, nsd_png, "nsd.png")->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Export, nsd_svg, "nsd.svg")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc == 2 && std::strncmp(argv[1], kPeakOption, sizeof kPeakOption - 1) == 0) {
    // The child of PeakOfFreshProcess: one export, then its peak memory on standard output.
    const std::string request = argv[1] + sizeof kPeakOption - 1;
    const size_t first = request.find(','), second = request.find(',', first + 1);
    const std::string format = request.substr(0, first);
    const int n = std::atoi(request.substr(first + 1, second - first - 1).c_str());
    QtPictureToolkit toolkit;
    Export(format, Program(n), toolkit, request.substr(second + 1));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
