// SPDX-License-Identifier: MIT
#include "ui/main/run_command.h"

#include "language/desk_check.h"
#include "language/machine.h"
#include "language/program_checks.h"
#include "model/stream.h"
#include "model/texts.h"
#include "model/windows1252.h"
#include "ui/main/program_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Standard output, written in large pieces; a closed output is no reason to stop the run.
class TStandardOutput : public TOutputSink {
public:
  ~TStandardOutput() override { Flush(); }
  void Write(const char* data, std::size_t size) override {
    buffer_.append(data, size);
    length_ += size;
    if (buffer_.size() >= 1 << 16)
      Flush();
  }
  uint64_t Length() const override { return length_; }
  void Truncate(uint64_t) override {} // no step is taken back here
  void Flush() {
    std::size_t done = 0;
    while (done < buffer_.size() && !broken_) {
      const ssize_t n = ::write(STDOUT_FILENO, buffer_.data() + done, buffer_.size() - done);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        broken_ = true;
      else
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
  }

private:
  std::string buffer_;
  uint64_t length_ = 0;
  bool broken_ = false;
};

// Standard input, read as it comes; what the program has waited for so far is shown first.
class TStandardInput : public TInputSource {
public:
  explicit TStandardInput(TStandardOutput& output) : output_(output) {}
  int At(uint64_t pos) override {
    while (pos >= base_ + buffer_.size()) {
      if (ended_)
        return kInputEnd;
      output_.Flush(); // a prompt written before a read must be seen before the program waits
      char chunk[1 << 16];
      const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        ended_ = true;
      else
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
    return static_cast<unsigned char>(buffer_[pos - base_]);
  }
  void Forget(uint64_t pos) override {
    if (pos - base_ >= 1 << 20) {
      buffer_.erase(0, pos - base_);
      base_ = pos;
    }
  }

private:
  TStandardOutput& output_;
  std::string buffer_;
  uint64_t base_ = 0;
  bool ended_ = false;
};

void Usage() {
  std::fprintf(stderr, "%s\n",
               Tr("Befehlszeile",
                  "Aufruf: struktogramme --run DATEI [--max-steps N] [--trace TABELLE.csv] "
                  "[--seed N] (DATEI ist ein Struktogramm .str oder Pascal-Quelltext .pas)")
                   .c_str());
}

// The value of option `name` at argv[i] ("--name WERT" or "--name=WERT"); i moves past it.
std::optional<std::string> Value(int argc, char** argv, int& i, const char* name) {
  const std::size_t n = std::strlen(name);
  if (std::strncmp(argv[i], name, n) != 0)
    return std::nullopt;
  if (argv[i][n] == '=')
    return std::string(argv[i] + n + 1);
  if (argv[i][n] != '\0' || i + 1 >= argc)
    return std::nullopt;
  return std::string(argv[++i]);
}

bool Number(const std::string& text, uint64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  errno = 0;
  value = std::strtoull(text.c_str(), nullptr, 10);
  return errno == 0;
}

struct TOptions {
  std::string File;
  std::optional<uint64_t> MaxSteps;
  std::string Trace;
  std::optional<uint32_t> Seed;
};

bool Parse(int argc, char** argv, TOptions& options) {
  for (int i = 1; i < argc; ++i) {
    uint64_t number = 0;
    if (auto file = Value(argc, argv, i, "--run")) {
      options.File = *file;
    } else if (auto steps = Value(argc, argv, i, "--max-steps")) {
      if (!Number(*steps, number))
        return false;
      options.MaxSteps = number;
    } else if (auto trace = Value(argc, argv, i, "--trace")) {
      options.Trace = *trace;
    } else if (Value(argc, argv, i, "--lang")) {
      // The language is chosen before the run starts (see the program's entry).
    } else if (auto seed = Value(argc, argv, i, "--seed")) {
      if (!Number(*seed, number) || number > UINT32_MAX)
        return false;
      options.Seed = static_cast<uint32_t>(number);
    } else {
      return false;
    }
  }
  return !options.File.empty();
}

} // namespace

bool HasLanguageArgument(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--lang") == 0 || std::strncmp(argv[i], "--lang=", 7) == 0)
      return true;
  return false;
}

bool IsRunCommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    for (const char* option : {"--run", "--check"})
      if (std::strcmp(argv[i], option) == 0 ||
          (std::strncmp(argv[i], option, std::strlen(option)) == 0 &&
           argv[i][std::strlen(option)] == '='))
        return true;
  return false;
}

namespace {

int CheckCommand(const std::string& file) {
  TOwned<TBlock> root;
  try {
    root = ReadProgramFile(file);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 2;
  }
  const std::vector<TFinding> findings = CheckProgram(*root);
  for (const TFinding& f : findings)
    std::printf("%s › %s\n", f.Path.c_str(), f.Message.c_str());
  return findings.empty() ? 0 : 1;
}

} // namespace

int RunCommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (Value(argc, argv, i, "--check")) {
      std::optional<std::string> file;
      bool wrong = false;
      for (int j = 1; j < argc; ++j) {
        if (auto named = Value(argc, argv, j, "--check")) {
          wrong = wrong || file.has_value();
          file = named;
        } else if (!Value(argc, argv, j, "--lang")) {
          wrong = true;
        }
      }
      if (wrong || !file) {
        std::fprintf(stderr, "%s\n",
                     Tr("Befehlszeile", "Aufruf: struktogramme --check DATEI").c_str());
        return 2;
      }
      return CheckCommand(*file);
    }
  TOptions options;
  if (!Parse(argc, argv, options)) {
    Usage();
    return 2;
  }
  // The compiled program refers to the elements: the tree lives as long as the run.
  TOwned<TBlock> root;
  std::unique_ptr<TRunProgram> program;
  std::unique_ptr<TFileWriteStream> trace;
  try {
    root = ReadProgramFile(options.File);
    program = CompileProgram(*root);
    if (!options.Trace.empty())
      trace = std::make_unique<TFileWriteStream>(options.Trace);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  TStandardOutput output;
  TStandardInput input(output);
  TMachineOptions machineOptions;
  machineOptions.Seed = options.Seed;
  TMachine machine(*program, output, input, machineOptions);
  std::string rows;
  TDeskCheckWriter writer(*program, [&](const std::string& row) {
    rows += row;
    if (rows.size() >= 1 << 16) {
      trace->WriteBuffer(rows.data(), rows.size());
      rows.clear();
    }
  });
  if (trace)
    machine.SetObserver(&writer);
  int status = 0;
  try {
    const TMachine::TState state = machine.Run(options.MaxSteps.value_or(UINT64_MAX));
    output.Flush();
    if (state == TMachine::TState::Failed) {
      std::fprintf(stderr, "%s\n", machine.Error().c_str());
      status = 1;
    } else if (state == TMachine::TState::Ready) {
      std::fprintf(
          stderr, "%s\n",
          Format(Tr("Befehlszeile", "Der Lauf wurde nach %1 Schritten abgebrochen (--max-steps)."),
                 {std::to_string(machine.Steps())})
              .c_str());
      status = 3;
    } else {
      status = machine.ExitCode();
    }
    if (trace) {
      trace->WriteBuffer(rows.data(), rows.size());
      trace->Commit();
    }
  } catch (const std::exception& failure) {
    output.Flush();
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return status;
}
