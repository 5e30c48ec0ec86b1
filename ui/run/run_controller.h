// SPDX-License-Identifier: MIT
// Running the document's program in the editor: start, single steps, steps back, pause, cancel,
// running to the selection and breakpoints, at a chosen speed. The run goes in short slices on
// the user-interface thread, so the editor answers at once however long the program runs; the
// windows show where it stands and the panels what it holds.
#pragma once

#include "language/machine.h"
#include "language/program_input.h"
#include "render/run_marks.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class TForm1;
class TForm2;

// The element and everything it holds, with its successors or without them.
std::vector<const TElement*> ElementsOf(const TElement& e, bool successors);

// What a run wrote, kept for the console; steps taken back cut it back.
class TRunOutput : public TOutputSink {
public:
  std::string Text;
  void Write(const char* data, std::size_t size) override { Text.append(data, size); }
  uint64_t Length() const override { return Text.size(); }
  void Truncate(uint64_t length) override {
    if (length < Text.size())
      Text.resize(length);
  }
};

class TRunController : public QObject {
  Q_OBJECT
public:
  enum class TState {
    Idle,     // no run
    Running,  // steps go on by themselves
    Paused,   // stands before the highlighted element
    Waiting,  // waits for a line of input
    Finished, // came to its end or to halt
    Failed    // a runtime error stopped it
  };

  explicit TRunController(TForm2& main);
  ~TRunController() override;

  TState State() const { return state_; }
  bool Active() const { return state_ != TState::Idle; }

  // "Starten": a new run, or the paused one goes on, at the chosen speed.
  void Start();
  // "Einzelschritt": one element; without a run, a new one stands before its first element.
  void Step();
  // "Schritt zurück": restores the state before the last element, output and input included.
  void StepBack();
  void Pause();
  // "Abbrechen": ends the run; its marks go, the console keeps what it shows.
  void Cancel();
  // "Bis zur Auswahl": runs until the element selected in the active window (or one inside it)
  // is next, or a breakpoint.
  void RunToSelection();
  // "Haltepunkt an/aus" on the active window's selection.
  void ToggleBreakpoint();
  void ClearBreakpoints();
  // Delay between steps while running, 0 to 1000 ms.
  void SetDelay(int milliseconds);
  int Delay() const { return delay_; }
  // Random numbers start from the same seed in every run, also after randomize.
  void SetFixedSeed(bool fixed) { fixedSeed_ = fixed; }
  bool FixedSeed() const { return fixedSeed_; }

  // A line typed into the console; a waiting read goes on with it.
  void EnterInput(const QString& line);
  // The input ends (as at the end of a file).
  void EndInput();
  // Sets a variable while the run stands still; false (and a message) when the text is no value
  // of its type.
  bool SetVariable(std::size_t variable, const QString& text);

  // The tree is about to change, or the document is replaced: the run ends and is forgotten.
  void DocumentChanging();
  // Elements about to be freed: breakpoints on them go.
  void ForgetElements(const std::vector<const TElement*>& gone);
  // The document was replaced (new, load, undo): no breakpoint refers to it any more.
  void DocumentReplaced();

  const TRunMarks* Marks() const;
  const TMachine* Machine() const { return machine_.get(); }
  const TRunProgram* Program() const { return program_.get(); }
  const TRunOutput& Output() const { return output_; }
  // Typed lines and where in the output they were typed, for the console's echo.
  struct TEcho {
    uint64_t At;
    QString Line;
  };
  const std::vector<TEcho>& Echoes() const { return echoes_; }
  // What the state means for the user, for the toolbar.
  QString StateText() const;

signals:
  // A run began: panels start afresh.
  void RunStarted();
  // Steps were taken (or taken back); panels show the new state.
  void Advanced();
  // Steps were taken back: what the panels showed beyond the new state is gone.
  void WentBack();
  void StateChanged();
  // The run ended and was forgotten (cancel, editing).
  void RunEnded();
  // A read waits for input.
  void InputWanted();

private:
  bool Begin(bool paused);
  void Continue(bool fullSpeed);
  void Tick();
  void Settle(TMachine::TState after);
  void SetState(TState state);
  void RebuildStops();
  void ShowWhereItStands(bool scroll);
  void RefreshWindows();
  const TElement* SelectedElement() const;

  TForm2& main_;
  TState state_ = TState::Idle;
  std::unique_ptr<TRunProgram> program_;
  std::unique_ptr<TMachine> machine_;
  std::unique_ptr<TTypedInput> input_;
  TRunOutput output_;
  std::vector<TEcho> echoes_;
  TRunMarks marks_;
  std::vector<uint8_t> stops_;
  const TElement* runTo_ = nullptr; // "Bis zur Auswahl": the selection run to
  bool stepping_ = false;           // a single step waits for input
  bool fullSpeed_ = false;
  int delay_ = 200;
  bool fixedSeed_ = false;
  QTimer timer_;
  QElapsedTimer sinceShown_;
};
