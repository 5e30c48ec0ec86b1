// SPDX-License-Identifier: MIT
#include "language/machine.h"

#include "model/texts.h"
#include "model/windows1252.h"

TMachine::TMachine(const TRunProgram& program, TOutputSink& output, TInputSource& input,
                   const TMachineOptions& options)
    : program_(program) {
  TCell zero;
  zero.I = 0;
  run_.Cells.assign(program.CellCount, zero);
  for (std::size_t i = 0; i < program.Variables.size(); ++i)
    if (program.Variables[i].Type == TValueType::Real)
      run_.Cells[i].R = 0.0;
  run_.Strings.resize(program.Variables.size());
  run_.Output = &output;
  run_.Input = &input;
  run_.FixedSeed = options.Seed.has_value();
  run_.Random.Reset(options.Seed.value_or(0), 0);
  if (options.Record) {
    history_ = std::make_unique<TChangeLog>(program.Variables.size(), options.HistoryBudget);
    run_.Log = history_.get();
  }
  pc_ = program.Start;
  if (program_.Steps[pc_].Kind == TStepKind::End)
    status_ = TState::Finished;
}

TMachine::TState TMachine::Run(uint64_t maxSteps, const std::vector<uint8_t>* stops) {
  if (status_ == TState::Finished || status_ == TState::Failed)
    return status_;
  status_ = TState::Ready;
  const uint8_t* const stopAt = stops ? stops->data() : nullptr;
  // A plain run checks nothing but its steps; stops, the history and an observer cost a little
  // on every step and get a loop of their own.
  if (stopAt || history_ || observer_)
    return RunSteps<true>(maxSteps, stopAt);
  return RunSteps<false>(maxSteps, nullptr);
}

template <bool Watched>
TMachine::TState TMachine::RunSteps(uint64_t maxSteps, const uint8_t* stopAt) {
  const TRunStep* const steps = program_.Steps.data();
  const TAction* const* const actions = program_.Actions.data();
  TRunState& s = run_;
  TChangeLog* const log = history_.get();
  TStepObserver* const observer = observer_;
  const uint32_t end = static_cast<uint32_t>(program_.Steps.size() - 1);
  // Kept in locals while running: the actions called below could change any member as far as
  // the compiler knows, which would reload them after every call.
  uint32_t pc = pc_;
  uint64_t count = steps_;
  TState status = TState::Ready;
  for (uint64_t done = 0; done < maxSteps; ++done) {
    const TRunStep& st = steps[pc];
    if (Watched && stopAt && done > 0 && stopAt[pc])
      break;
    if (Watched && log && !open_) {
      log->Begin({pc, action_, 0, s.Output->Length()}, s);
      open_ = true;
    }
    uint32_t next = st.Next;
    try {
      switch (st.Kind) {
      case TStepKind::Statement: {
        TFlow flow = TFlow::Next;
        uint32_t i = action_;
        for (; i < st.Count; ++i) {
          flow = actions[st.First + i]->Exec(s);
          if (flow != TFlow::Next)
            break;
        }
        action_ = 0;
        if (flow == TFlow::Pending) {
          action_ = i;
          status = TState::Waiting;
        } else if (flow == TFlow::Break) {
          next = st.BreakTarget;
        } else if (flow == TFlow::Halt) {
          next = end;
        }
        break;
      }
      case TStepKind::Test:
        if (st.Condition->Eval(s) == st.JumpIf)
          next = st.Target;
        break;
      case TStepKind::ForStart: {
        TCell from, last;
        from.I = st.From->Eval(s);
        last.I = st.To->Eval(s);
        s.SetCell(st.Counter, from);
        s.SetCell(st.Last, last);
        if (from.I > last.I)
          next = st.Target;
        else
          s.SetCell(st.Variable, from);
        break;
      }
      case TStepKind::ForNext: {
        // The loop counts on its own counter, so that the body cannot disturb the rounds.
        TCell counter = s.Cells[st.Counter];
        if (!Watched && st.Target + 1 == pc && steps[st.Target].Kind == TStepKind::Statement &&
            steps[st.Target].Count == 1) {
          // A loop around one simple statement runs its rounds here, two steps a round, without
          // going through the steps between them; nothing watches, so nothing tells.
          const uint32_t self = pc;
          const TRunStep& body = steps[st.Target];
          const TAction* const action = actions[body.First];
          const int64_t last = s.Cells[st.Last].I;
          while (counter.I < last && maxSteps - done >= 3) { // a round, and this step after it
            ++counter.I;
            s.Cells[st.Counter] = counter;
            s.Cells[st.Variable] = counter;
            ++count; // this step, for this round
            ++done;
            pc = st.Target;
            const TFlow flow = action->Exec(s);
            if (flow != TFlow::Next) {
              if (flow == TFlow::Pending) {
                status = TState::Waiting;
              } else {
                next = flow == TFlow::Break ? body.BreakTarget : end;
              }
              goto ranBody;
            }
            ++count; // the body's step
            ++done;
            pc = self;
          }
        }
        if (counter.I < s.Cells[st.Last].I) {
          ++counter.I;
          s.SetCell(st.Counter, counter);
          s.SetCell(st.Variable, counter);
          next = st.Target;
        }
        break;
      }
      case TStepKind::End:
        status = TState::Finished;
        break;
      case TStepKind::Jump:
        break;
      }
    ranBody:;
    } catch (const TRunError& failure) {
      action_ = 0;
      // pc is the step that failed (inside a loop's rounds, its body's).
      error_ = Format(Tr("Laufzeit", "Laufzeitfehler in »%1«: %2"),
                      {QuotedElementText(*program_.Elements[steps[pc].Element].Element),
                       failure.what()});
      status = TState::Failed;
    }
    if (status != TState::Ready)
      break;
    const uint32_t ran = pc;
    pc = next;
    ++count;
    if (Watched) {
      open_ = false;
      if (observer) {
        pc_ = pc;
        steps_ = count;
        observer->AfterStep(*this, ran);
      }
    }
    if (pc == end) {
      status = TState::Finished;
      break;
    }
  }
  pc_ = pc;
  steps_ = count;
  status_ = status;
  return status_;
}

bool TMachine::CanStepBack() const {
  return history_ && history_->Count() > 0;
}

bool TMachine::StepBack() {
  if (!CanStepBack())
    return false;
  TStepRecord where;
  run_.Log = nullptr;
  history_->Undo(run_, where);
  run_.Log = history_.get();
  run_.Output->Truncate(where.OutputLength);
  run_.ExitCode = 0;
  if (!open_)
    --steps_;
  open_ = false;
  pc_ = where.Step;
  action_ = where.Action;
  error_.clear();
  status_ = TState::Ready;
  return true;
}

const TElement* TMachine::NextElement() const {
  const TRunStep& step = program_.Steps[pc_];
  if (step.Kind == TStepKind::End)
    return nullptr;
  return program_.Elements[step.Element].Element;
}

std::string TMachine::ValueText(std::size_t variable) const {
  switch (program_.Variables[variable].Type) {
  case TValueType::Real:
    return RealValueText(run_.Cells[variable].R);
  case TValueType::Boolean:
    return run_.Cells[variable].B ? "TRUE" : "FALSE";
  case TValueType::String:
    return std::string(run_.Strings[variable].View());
  default:
    return std::to_string(run_.Cells[variable].I);
  }
}

bool TMachine::SetValue(std::size_t variable, const std::string& text) {
  TCell value;
  value.I = 0;
  switch (program_.Variables[variable].Type) {
  case TValueType::Real:
    if (!ParseRealValue(text, value.R))
      return false;
    break;
  case TValueType::Boolean:
    if (!ParseBooleanValue(text, value.B))
      return false;
    break;
  case TValueType::String: {
    std::string bytes = text;
    for (char& c : bytes)
      if (static_cast<unsigned char>(c) < 0x20)
        c = ' ';
    run_.SetString(static_cast<uint32_t>(variable), bytes);
    return true;
  }
  default:
    if (!ParseIntegerValue(text, value.I))
      return false;
    break;
  }
  // Logged with the step before it, so that taking that step back takes the change back too.
  run_.SetCell(static_cast<uint32_t>(variable), value);
  return true;
}

bool TMachine::ChangedByLastStep(std::size_t variable) const {
  if (!history_)
    return false;
  const uint64_t completed = history_->Count() - (open_ ? 1 : 0);
  return completed > 0 && history_->Changed(history_->First() + completed - 1, variable);
}
