// SPDX-License-Identifier: MIT
// Checks the document while it is edited. After every change the program is taken as file bytes
// and checked on a thread of its own, so that even a program of 100 000 elements never holds up
// typing; what the thread finds is taken over only while the document is still as it was.
#pragma once

#include "language/program_checks.h"
#include "render/check_marks.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <QTimer>
#include <string>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class TForm2;

class TCheckController : public QObject {
  Q_OBJECT
public:
  // A finding as the editor shows it: its element in the document and its texts in UTF-8.
  // Findings of one element follow each other, in the order the export writes the elements.
  struct TShown {
    const TElement* Element;
    TCheck Check;
    std::string Path;
    std::string Why;
    std::string Message;
  };

  explicit TCheckController(TForm2& main);
  ~TCheckController() override;

  // Checks run only while something shows them (the marks or the problem list).
  void SetWanted(bool wanted);
  bool Wanted() const { return wanted_; }
  // The checks switched on, one bit each.
  void SetEnabled(TCheckSet enabled);
  TCheckSet Enabled() const { return enabled_; }

  // After every change of the document: a new check follows shortly.
  void DocumentChanged();
  // The document was replaced (new, load, undo): the old findings go at once.
  void DocumentReplaced();
  // Elements about to be freed lose their findings.
  void ForgetElements(const std::vector<const TElement*>& freed);

  const std::vector<TShown>& Findings() const { return shown_; }
  const TCheckMarks& Marks() const { return marks_; }
  // Every message found at e, one a line; empty when none.
  QString MessagesFor(const TElement* e) const;
  // True while a check is waiting to start or running.
  bool Busy() const { return timer_.isActive() || worker_.joinable() || again_; }
  // The last check taken over: the time this thread spent on it (taking the program's bytes,
  // taking over the findings) and the time from its start to its findings shown.
  struct TRoundTimes {
    double OwnMs = 0;
    double TotalMs = 0;
  };
  TRoundTimes LastRound() const { return lastRound_; }

signals:
  // The findings were replaced or some removed.
  void FindingsChanged();

private:
  struct TResult;
  void Start();
  void Finished(uint64_t generation, std::shared_ptr<TResult> result);
  void Clear();
  // The marks anew from the findings.
  void IndexFindings();

  TForm2& main_;
  bool wanted_ = false;
  TCheckSet enabled_ = kAllChecks;
  QTimer timer_;
  std::thread worker_;
  bool again_ = false;      // the document changed while the worker ran
  uint64_t generation_ = 0; // counts changes; a result of an older one is dropped
  std::vector<TShown> shown_;
  TCheckMarks marks_;
  QElapsedTimer roundStarted_;
  double snapshotMs_ = 0;
  TRoundTimes lastRound_;
};
