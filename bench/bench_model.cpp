// SPDX-License-Identifier: MIT
// Load, save, export and copy of generated documents of mixed element kinds.
#include "model/stream.h"
#include "model/structogram_file.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <string>

namespace {

// A document of about n elements (branch and body blocks included): statements, decisions,
// loops of every kind and named blocks, some nested two levels deep.
TOwned<TBlock> MakeDocument(long n) {
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
  root->Independent = false;
  root->Bracketed = false;
  long count = 1;
  TElement* last = nullptr;
  auto append = [&](TElement* e) {
    if (last)
      last->Next = e;
    else
      root->Body = e;
    last = e;
  };
  for (long i = 0; count < n; ++i) {
    switch (i % 7) {
    case 0:
    case 1:
      append(TAnweisung::CreateWithText("x := x + " + std::to_string(i)).release());
      count += 1;
      break;
    case 2: {
      TIf* d = TIf::CreateWithText("x < " + std::to_string(i)).release();
      append(d);
      d->Branch1->Insert(TAnweisung::CreateWithText("y := x").release());
      d->Branch2->Insert(TWhile::CreateWithText("y > 0").release());
      count += 6;
      break;
    }
    case 3: {
      TFor* f = TFor::CreateWithText("i := 1 bis 10").release();
      append(f);
      f->Branch1->Insert(TAnweisung::CreateWithText("s := s + i").release());
      count += 3;
      break;
    }
    case 4:
      append(TRepeat::CreateWithText("x = 0").release());
      count += 2;
      break;
    case 5:
      append(TDoWhile::CreateWithText("x > 0").release());
      count += 2;
      break;
    default: {
      TBlock* b = TBlock::CreateWithText("Teil " + std::to_string(i)).release();
      append(b);
      b->Insert(TAnweisung::CreateWithText("writeln(x)").release());
      count += 2;
      break;
    }
    }
  }
  return root;
}

std::string Saved(const TBlock& root) {
  TMemoryStream stream;
  SaveDocument(root, stream);
  return stream.Data;
}

void BM_Load(benchmark::State& state) {
  const std::string bytes = Saved(*MakeDocument(state.range(0)));
  std::size_t heap = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    TMemoryStream stream(bytes);
    TLoadResult loaded = LoadDocument(stream);
    heap = mallinfo2().uordblks - before - bytes.size(); // without the stream's copy
    benchmark::DoNotOptimize(loaded.Root.get());
    state.PauseTiming();
    loaded.Root.reset();
    state.ResumeTiming();
  }
  state.counters["heap_bytes_per_element"] = static_cast<double>(heap) / state.range(0);
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void BM_Save(benchmark::State& state) {
  TOwned<TBlock> root = MakeDocument(state.range(0));
  for (auto _ : state) {
    TMemoryStream stream;
    SaveDocument(*root, stream);
    benchmark::DoNotOptimize(stream.Data.data());
  }
}

void BM_Export(benchmark::State& state) {
  TOwned<TBlock> root = MakeDocument(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(ExportProgram(*root).size());
}

void BM_Copy(benchmark::State& state) {
  TOwned<TBlock> root = MakeDocument(state.range(0));
  std::size_t heap = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    TOwned<TBlock> copy = CreateCopy(*root);
    heap = mallinfo2().uordblks - before;
    state.PauseTiming();
    copy.reset();
    state.ResumeTiming();
  }
  state.counters["heap_bytes_per_element"] = static_cast<double>(heap) / state.range(0);
}

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
