// SPDX-License-Identifier: MIT
// Running programs: compiling a large program up to its first step, the interpreter's speed on
// a counting loop, and the same loop run as whole processes side by side: `struktogramme --run`,
// the Python export under python3 and the Pascal export compiled by fpc.
#include "bench/program_generator.h"
#include "language/language_export.h"
#include "language/machine.h"
#include "model/structogram_file.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class TNullOutput : public TOutputSink {
public:
  uint64_t Bytes = 0;
  void Write(const char*, std::size_t size) override { Bytes += size; }
  uint64_t Length() const override { return Bytes; }
  void Truncate(uint64_t) override {}
};

// s := (s + i) mod 1000 in a counting loop of `rounds` rounds, then writeln(s).
TOwned<TBlock> CountingLoop(int rounds) {
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
  root->Independent = false;
  root->Bracketed = false;
  TElement* init = TAnweisung::CreateWithText("s := 0").release();
  root->Body = init;
  TFor* loop = TFor::CreateWithText("i := 1 bis " + std::to_string(rounds)).release();
  init->Next = loop;
  loop->Branch1->Body = TAnweisung::CreateWithText("s := (s + i) mod 1000").release();
  loop->Next = TAnweisung::CreateWithText("writeln(s)").release();
  return root;
}

// From the tree to a machine standing before the first step: 0 a program of 100 000 elements
// whose texts repeat, 1 one whose statements all differ.
void BM_StartLargeProgram(benchmark::State& state) {
  const TOwned<TBlock> root = RunnableProgram(100000, state.range(0) == 1);
  TNullOutput output;
  TStringInput input("");
  for (auto _ : state) {
    const auto program = CompileProgram(*root);
    TMachine machine(*program, output, input);
    benchmark::DoNotOptimize(machine.NextStep());
  }
}

// The counting loop of 1 500 000 rounds (3 000 000 steps) in the process, without a trace.
void BM_CountingLoopSteps(benchmark::State& state) {
  const TOwned<TBlock> root = CountingLoop(1500000);
  const auto program = CompileProgram(*root);
  for (auto _ : state) {
    TNullOutput output;
    TStringInput input("");
    TMachine machine(*program, output, input);
    machine.Run(UINT64_MAX);
    state.counters["Schritte"] = static_cast<double>(machine.Steps());
  }
}

double Seconds(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system((command + " > /dev/null 2>&1").c_str()) != 0)
    return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool Has(const char* tool) {
  return std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) == 0;
}

// The loop of 3 000 000 rounds as whole processes, each run once per iteration: the times in
// milliseconds and how many times faster than python3 the interpreter is.
void BM_SideBySide(benchmark::State& state) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "strukt-bench-run";
  std::filesystem::create_directories(dir);
  const TOwned<TBlock> root = CountingLoop(3000000);
  const std::string str = (dir / "schleife.str").string();
  SaveDocumentFile(*root, str);
  std::ofstream(dir / "schleife.py", std::ios::binary)
      << ExportProgramAs(*root, TSourceLanguage::Python, "schleife");
  std::ofstream(dir / "schleife.pas", std::ios::binary)
      << "program schleife;\r\nvar s, i: longint;\r\nbegin\r\n" << ExportProgram(*root) << "end.\r\n";
  const bool python = Has("python3");
  const bool fpc = Has("fpc") && std::system(("cd " + dir.string() + " && fpc -v0 schleife.pas > /dev/null 2>&1").c_str()) == 0;
  double run = 0, py = 0, pas = 0;
  for (auto _ : state) {
    run = Seconds(std::string(STRUKT_EXECUTABLE) + " --run " + str);
    py = python ? Seconds("python3 " + (dir / "schleife.py").string()) : -1;
    pas = fpc ? Seconds((dir / "schleife").string()) : -1;
  }
  state.counters["run_ms"] = run * 1000;
  state.counters["python3_ms"] = py * 1000;
  state.counters["fpc_ms"] = pas * 1000;
  if (py > 0 && run > 0)
    state.counters["mal_schneller_als_python3"] = py / run;
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_StartLargeProgram)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountingLoopSteps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SideBySide)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
