// SPDX-License-Identifier: MIT
// Checks the document while it is edited. After every change the program is taken as file bytes
// and checked on a thread of its own, so that even a program of 100 000 elements never holds up
// typing; what the thread finds is taken over only while the document is still as it was.
#pragma once

#include "language/program_checks.h"
#include "render/check_marks.h"

#include <QObject>
#include <QString>
#include <QTimer>

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
  struct TShown {
    const TElement* Element;
    TCheck Check;
    QString Path;
    QString Text; // the element's text as it was checked
    QString Why;
    QString Message;
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

signals:
  // The findings were replaced or some removed.
  void FindingsChanged();

private:
  struct TResult;
  void Start();
  void Finished(uint64_t generation, std::shared_ptr<TResult> result);
  void Clear();

  TForm2& main_;
  bool wanted_ = false;
  TCheckSet enabled_ = kAllChecks;
  QTimer timer_;
  std::thread worker_;
  bool again_ = false;      // the document changed while the worker ran
  uint64_t generation_ = 0; // counts changes; a result of an older one is dropped
  std::vector<TShown> shown_;
  TCheckMarks marks_;
  std::unordered_multimap<const TElement*, std::size_t> byElement_;
};
