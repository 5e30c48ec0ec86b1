// SPDX-License-Identifier: MIT
#include "ui/run/run_controller.h"

#include "ui/diagram/tform1.h"
#include "ui/main/text_codec.h"
#include "ui/main/tform2.h"
#include "ui/main/windowing_services.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace {

// Steps run between two looks at the clock while running at full speed.
constexpr uint64_t kSliceSteps = 4096;
// Work per event-loop turn at full speed, so that the editor stays responsive.
constexpr int kSliceMilliseconds = 12;
// How often the windows and panels follow a run at full speed.
constexpr int kShowMilliseconds = 60;

} // namespace

std::vector<const TElement*> ElementsOf(const TElement& e, bool successors) {
  std::vector<const TElement*> out;
  std::vector<const TElement*> stack{&e};
  bool top = true;
  while (!stack.empty()) {
    const TElement* x = stack.back();
    stack.pop_back();
    for (; x; x = x->Next) {
      out.push_back(x);
      if (const TBlock* b = As<TBlock>(x)) {
        stack.push_back(b->Body);
      } else if (const TBedingung* c = As<TBedingung>(x)) {
        stack.push_back(c->Branch1);
        stack.push_back(c->Branch2);
      }
      if (top && !successors)
        break;
    }
    top = false;
  }
  return out;
}

TRunController::TRunController(TForm2& main) : main_(main) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { Guarded(main_.Services(), [&] { Tick(); }); });
}

TRunController::~TRunController() = default;

const TRunMarks* TRunController::Marks() const {
  if (!machine_ && marks_.Breakpoints.empty())
    return nullptr;
  return &marks_;
}

QString TRunController::StateText() const {
  switch (state_) {
  case TState::Idle:
    return QString();
  case TState::Running:
    return tr("Läuft");
  case TState::Paused:
    return tr("Angehalten nach %1 Schritten").arg(machine_ ? machine_->Steps() : 0);
  case TState::Waiting:
    return tr("Wartet auf eine Eingabe");
  case TState::Finished:
    return tr("Beendet nach %1 Schritten").arg(machine_ ? machine_->Steps() : 0);
  case TState::Failed:
    return tr("Laufzeitfehler");
  }
  return QString();
}

void TRunController::SetState(TState state) {
  if (state_ == state)
    return;
  state_ = state;
  emit StateChanged();
}

bool TRunController::Begin(bool paused) {
  Cancel();
  try {
    program_ = CompileProgram(*main_.Program);
  } catch (const TCompileError& failure) {
    // The element is shown selected where a window shows it, then why it cannot run.
    for (TForm1* window : main_.DiagramWindows())
      if (window->ShowRunElement(failure.Element, nullptr, true, false))
        break;
    main_.Services().ShowMessage(QString::fromUtf8(failure.what()), TMessageKind::Error);
    return false;
  }
  input_ = std::make_unique<TTypedInput>();
  output_.Text.clear();
  echoes_.clear();
  TMachineOptions options;
  options.Record = true;
  if (fixedSeed_)
    options.Seed = 0;
  machine_ = std::make_unique<TMachine>(*program_, output_, *input_, options);
  RebuildStops();
  emit RunStarted();
  SetState(machine_->State() == TMachine::TState::Finished ? TState::Finished
           : paused                                        ? TState::Paused
                                                           : TState::Running);
  ShowWhereItStands(true);
  emit Advanced();
  return true;
}

void TRunController::Start() {
  switch (state_) {
  case TState::Idle:
  case TState::Finished:
  case TState::Failed:
    if (Begin(false) && state_ == TState::Running)
      Continue(false);
    return;
  case TState::Paused:
    Continue(false);
    return;
  case TState::Waiting:
    stepping_ = false; // once the input is there, the run goes on by itself
    return;
  case TState::Running:
    return;
  }
}

void TRunController::Continue(bool fullSpeed) {
  fullSpeed_ = fullSpeed;
  stepping_ = false;
  SetState(TState::Running);
  sinceShown_.start();
  Tick();
}

void TRunController::Step() {
  switch (state_) {
  case TState::Idle:
  case TState::Finished:
  case TState::Failed:
    Begin(true);
    return;
  case TState::Running:
    Pause();
    return;
  case TState::Waiting:
    stepping_ = true;
    return;
  case TState::Paused: {
    stepping_ = true;
    Settle(machine_->Run(1));
    return;
  }
  }
}

void TRunController::Tick() {
  if (!machine_ || state_ != TState::Running)
    return;
  const bool fast = fullSpeed_ || delay_ == 0;
  bool stopped = false;
  TMachine::TState result = machine_->State();
  QElapsedTimer slice;
  slice.start();
  // The step the run stands at is checked here; the machine checks the later ones.
  bool first = true;
  do {
    if (!first && stops_[machine_->NextStep()]) {
      stopped = true;
      break;
    }
    first = false;
    const uint64_t before = machine_->Steps();
    const uint64_t wanted = fast ? kSliceSteps : 1;
    result = machine_->Run(wanted, &stops_);
    if (result != TMachine::TState::Ready)
      break;
    if (machine_->Steps() - before < wanted) {
      stopped = true;
      break;
    }
  } while (fast && slice.elapsed() < kSliceMilliseconds);
  if (!stopped && result == TMachine::TState::Ready && stops_[machine_->NextStep()])
    stopped = true;
  if (stopped || result != TMachine::TState::Ready) {
    Settle(stopped ? TMachine::TState::Ready : result);
    if (stopped && state_ == TState::Running) {
      timer_.stop();
      runTo_ = nullptr;
      RebuildStops();
      SetState(TState::Paused);
      ShowWhereItStands(true);
      emit Advanced();
    }
    return;
  }
  if (!fast || sinceShown_.elapsed() >= kShowMilliseconds) {
    ShowWhereItStands(!fast);
    emit Advanced();
    sinceShown_.start();
  }
  timer_.start(fast ? 0 : delay_);
}

void TRunController::Settle(TMachine::TState after) {
  switch (after) {
  case TMachine::TState::Finished:
    timer_.stop();
    SetState(TState::Finished);
    break;
  case TMachine::TState::Failed:
    timer_.stop();
    SetState(TState::Failed);
    break;
  case TMachine::TState::Waiting:
    timer_.stop();
    SetState(TState::Waiting);
    break;
  case TMachine::TState::Ready:
    if (state_ == TState::Running)
      return; // Tick goes on, or pauses at the stop it found
    SetState(TState::Paused);
    break;
  }
  ShowWhereItStands(true);
  emit Advanced();
  if (after == TMachine::TState::Waiting)
    emit InputWanted();
  if (after == TMachine::TState::Failed)
    main_.Services().ShowMessage(QString::fromUtf8(machine_->Error().c_str()),
                                 TMessageKind::Error);
}

void TRunController::StepBack() {
  if (!machine_ || state_ == TState::Running || !machine_->CanStepBack())
    return;
  machine_->StepBack();
  stepping_ = false;
  SetState(TState::Paused);
  emit WentBack();
  ShowWhereItStands(true);
  emit Advanced();
}

void TRunController::Pause() {
  if (state_ != TState::Running)
    return;
  timer_.stop();
  runTo_ = nullptr;
  RebuildStops();
  SetState(TState::Paused);
  ShowWhereItStands(true);
  emit Advanced();
}

void TRunController::Cancel() {
  timer_.stop();
  const bool had = machine_ != nullptr;
  machine_.reset();
  program_.reset();
  input_.reset();
  runTo_ = nullptr;
  stepping_ = false;
  marks_.Current = nullptr;
  marks_.Failed = false;
  marks_.Around.clear();
  stops_.clear();
  SetState(TState::Idle);
  if (had) {
    emit RunEnded();
    RefreshWindows();
  }
}

void TRunController::DocumentChanging() {
  if (machine_)
    Cancel();
}

void TRunController::ForgetElements(const std::vector<const TElement*>& gone) {
  for (const TElement* e : gone)
    marks_.Breakpoints.erase(e);
}

void TRunController::DocumentReplaced() {
  Cancel();
  marks_.Breakpoints.clear();
  RefreshWindows();
}

const TElement* TRunController::SelectedElement() const {
  TForm1* window = main_.ActiveWindow();
  return window ? window->Display->CurrentSelection() : nullptr;
}

void TRunController::RunToSelection() {
  const TElement* target = SelectedElement();
  if (!target)
    return;
  if (state_ == TState::Idle || state_ == TState::Finished || state_ == TState::Failed) {
    if (!Begin(true))
      return;
  }
  if (state_ != TState::Paused)
    return;
  if (program_->IndexOf(target) < 0)
    return;
  runTo_ = target;
  RebuildStops();
  Continue(true);
}

void TRunController::ToggleBreakpoint() {
  const TElement* e = SelectedElement();
  if (!e)
    return;
  if (e->Kind() == TKind::Block) {
    main_.Services().ShowMessage(
        tr("Haltepunkte gibt es auf Anweisungen, Entscheidungen und Schleifen."),
        TMessageKind::Information);
    return;
  }
  if (!marks_.Breakpoints.erase(e))
    marks_.Breakpoints.insert(e);
  RebuildStops();
  RefreshWindows();
}

void TRunController::ClearBreakpoints() {
  marks_.Breakpoints.clear();
  RebuildStops();
  RefreshWindows();
}

void TRunController::SetDelay(int milliseconds) {
  delay_ = std::clamp(milliseconds, 0, 1000);
  if (state_ == TState::Running && !fullSpeed_ && timer_.isActive())
    timer_.start(delay_);
}

void TRunController::RebuildStops() {
  if (!program_)
    return;
  const int32_t target = runTo_ ? program_->IndexOf(runTo_) : -1;
  stops_.assign(program_->Steps.size(), 0);
  for (std::size_t i = 0; i < program_->Steps.size(); ++i) {
    const TRunStep& step = program_->Steps[i];
    if (step.Kind == TStepKind::Jump || step.Kind == TStepKind::End)
      continue;
    const TElement* e = program_->Elements[step.Element].Element;
    if (marks_.Breakpoints.count(e) || (target >= 0 && program_->Within(step.Element, target)))
      stops_[i] = 1;
  }
}

void TRunController::EnterInput(const QString& line) {
  if (!input_ || input_->Closed())
    return;
  input_->AddLine(ToCp1252(line));
  echoes_.push_back({output_.Length(), line});
  if (state_ != TState::Waiting)
    return;
  if (stepping_) {
    SetState(TState::Paused);
    Settle(machine_->Run(1));
  } else {
    Continue(fullSpeed_);
  }
}

void TRunController::EndInput() {
  if (!input_)
    return;
  input_->Close();
  EnterInput(QString()); // a waiting read sees the end
}

bool TRunController::SetVariable(std::size_t variable, const QString& text) {
  if (!machine_ || state_ == TState::Running || variable >= program_->Variables.size())
    return false;
  if (!machine_->SetValue(variable, InputToCp1252(text))) {
    main_.Services().ShowMessage(
        tr("»%1« ist kein Wert für %2.").arg(text, FromCp1252(program_->Variables[variable].Name)),
        TMessageKind::Information);
    return false;
  }
  emit Advanced();
  return true;
}

void TRunController::ShowWhereItStands(bool scroll) {
  marks_.Current = nullptr;
  marks_.Failed = false;
  marks_.Around.clear();
  if (machine_ && state_ != TState::Finished) {
    const TRunStep& step = program_->Steps[machine_->NextStep()];
    if (step.Kind != TStepKind::End) {
      marks_.Current = program_->Elements[step.Element].Element;
      marks_.Failed = state_ == TState::Failed;
      for (int32_t i = program_->Elements[step.Element].Parent; i >= 0;
           i = program_->Elements[static_cast<std::size_t>(i)].Parent)
        marks_.Around.insert(program_->Elements[static_cast<std::size_t>(i)].Element);
    }
  }
  RefreshWindows();
  if (!scroll || !marks_.Current)
    return;
  // Every window that shows the element keeps it in view; where the active one shows it only
  // inside a collapsed block and another shows it as itself, that one comes forward.
  TForm1* active = main_.ActiveWindow();
  TForm1* exactElsewhere = nullptr;
  bool activeExact = false;
  for (TForm1* window : main_.DiagramWindows()) {
    bool exact = false;
    if (!window->ShowRunElement(marks_.Current, &marks_, state_ == TState::Failed, true, &exact))
      continue;
    if (window == active)
      activeExact = exact;
    else if (exact && !exactElsewhere)
      exactElsewhere = window;
  }
  if (!activeExact && exactElsewhere && exactElsewhere->SubWindow()) {
    QMdiSubWindow* sub = exactElsewhere->SubWindow();
    if (sub->isMinimized())
      sub->showNormal();
    main_.MdiArea()->setActiveSubWindow(sub);
  }
}

void TRunController::RefreshWindows() {
  for (TForm1* window : main_.DiagramWindows())
    window->viewport()->update();
}
