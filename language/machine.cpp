// SPDX-License-Identifier: MIT
#include "language/machine.h"

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
  SkipJumps();
  if (program_.Steps[pc_].Kind == TStepKind::End)
    status_ = TState::Finished;
}

void TMachine::SkipJumps() {
  while (program_.Steps[pc_].Kind == TStepKind::Jump)
    pc_ = program_.Steps[pc_].Target;
}

TMachine::TState TMachine::Run(uint64_t maxSteps, const std::vector<uint8_t>* stops) {
  if (status_ == TState::Finished || status_ == TState::Failed)
    return status_;
  status_ = TState::Ready;
  const TRunStep* const steps = program_.Steps.data();
  const TAction* const* const actions = program_.Actions.data();
  const uint8_t* const stopAt = stops ? stops->data() : nullptr;
  TRunState& s = run_;
  TChangeLog* const log = history_.get();
  for (uint64_t done = 0; done < maxSteps; ++done) {
    const TRunStep& st = steps[pc_];
    if (st.Kind == TStepKind::End) {
      status_ = TState::Finished;
      return status_;
    }
    if (stopAt && done > 0 && stopAt[pc_])
      return status_;
    if (log && !open_) {
      log->Begin({pc_, action_, 0, s.Output->Length()}, s);
      open_ = true;
    }
    uint32_t next = pc_ + 1;
    bool halted = false;
    try {
      switch (st.Kind) {
      case TStepKind::Statement:
        for (uint32_t i = action_; i < st.Count; ++i) {
          const TFlow flow = actions[st.First + i]->Exec(s);
          if (flow == TFlow::Next)
            continue;
          if (flow == TFlow::Pending) {
            action_ = i;
            status_ = TState::Waiting;
            return status_;
          }
          if (flow == TFlow::Break)
            next = st.BreakTarget;
          else
            halted = true;
          break;
        }
        action_ = 0;
        break;
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
        if (counter.I < s.Cells[st.Last].I) {
          ++counter.I;
          s.SetCell(st.Counter, counter);
          s.SetCell(st.Variable, counter);
          next = st.Target;
        }
        break;
      }
      case TStepKind::Jump:
      case TStepKind::End:
        break;
      }
    } catch (const TRunError& failure) {
      action_ = 0;
      error_ = "Laufzeitfehler in »" +
               QuotedElementText(*program_.Elements[st.Element].Element) + "«: " + failure.what();
      status_ = TState::Failed;
      return status_;
    }
    const uint32_t ran = pc_;
    if (halted) {
      pc_ = static_cast<uint32_t>(program_.Steps.size() - 1);
      status_ = TState::Finished;
    } else {
      while (steps[next].Kind == TStepKind::Jump)
        next = steps[next].Target;
      pc_ = next;
    }
    ++steps_;
    open_ = false;
    if (observer_)
      observer_->AfterStep(*this, ran);
    if (halted)
      return status_;
  }
  if (steps[pc_].Kind == TStepKind::End)
    status_ = TState::Finished;
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
