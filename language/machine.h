// SPDX-License-Identifier: MIT
// Runs a compiled program step by step: one step is one element (a statement, a decision's or
// loop's test, a counting loop's start or count). A run stops at its end, at halt, at a runtime
// error, where input has not arrived yet, and wherever its caller asks; with a history it can
// also go back, step by step, to exactly where it was.
#pragma once

#include "language/run_history.h"
#include "language/run_program.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TMachineOptions {
  // Keep what every step changed, for taking steps back and the desk-check table.
  bool Record = false;
  uint64_t HistoryBudget = 512ull << 20;
  // Start the random numbers from this seed, also at randomize, so that runs repeat; without
  // it they start from 0 as Free Pascal's do, and randomize takes the clock.
  std::optional<uint32_t> Seed;
};

class TMachine;

// Told after every step, for a trace written as the run goes.
class TStepObserver {
public:
  virtual ~TStepObserver() = default;
  // step: the program step just run (its index in TRunProgram::Steps).
  virtual void AfterStep(const TMachine& machine, uint32_t step) = 0;
};

class TMachine {
public:
  enum class TState {
    Ready,    // the next step can run
    Waiting,  // the step needs input that has not arrived yet
    Finished, // the end of the program or halt
    Failed    // a runtime error stopped it
  };

  TMachine(const TRunProgram& program, TOutputSink& output, TInputSource& input,
           const TMachineOptions& options = {});
  TMachine(const TMachine&) = delete;
  TMachine& operator=(const TMachine&) = delete;

  // Runs up to maxSteps steps. With stops, it stops before any step whose entry is set, except
  // the one it starts with (so that a run goes on from a breakpoint).
  TState Run(uint64_t maxSteps, const std::vector<uint8_t>* stops = nullptr);
  TState State() const { return status_; }
  // Takes the last step back (or what the current step did before it waited or failed); false
  // when nothing is left to take back. Needs a history.
  bool StepBack();
  bool CanStepBack() const;

  const TRunProgram& Program() const { return program_; }
  // The steps completed so far.
  uint64_t Steps() const { return steps_; }
  // The step that runs next (or waits, or failed); the End step when the program finished.
  uint32_t NextStep() const { return pc_; }
  // Its element; nullptr at the end.
  const TElement* NextElement() const;
  // "Laufzeitfehler in »…«: …" after a failure.
  const std::string& Error() const { return error_; }
  int ExitCode() const { return run_.ExitCode; }

  // The variables' values as the desk-check table shows them (Windows-1252 for strings).
  std::string ValueText(std::size_t variable) const;
  // Sets a variable from such a text while the run stands still; false when the text is no
  // value of the variable's type. A step taken back takes the change back with it.
  bool SetValue(std::size_t variable, const std::string& text);
  // Whether the last completed step changed the variable.
  bool ChangedByLastStep(std::size_t variable) const;

  const TChangeLog* History() const { return history_.get(); }
  const TRunState& RunState() const { return run_; }
  void SetObserver(TStepObserver* observer) { observer_ = observer; }

private:
  template <bool Watched> TState RunSteps(uint64_t maxSteps, const uint8_t* stopAt);
  const TRunProgram& program_;
  TRunState run_;
  std::unique_ptr<TChangeLog> history_;
  TStepObserver* observer_ = nullptr;
  TState status_ = TState::Ready;
  uint32_t pc_ = 0;
  uint32_t action_ = 0; // the next action of a statement resumed after waiting for input
  bool open_ = false;   // a record is open for the step under way
  uint64_t steps_ = 0;
  std::string error_;
};
