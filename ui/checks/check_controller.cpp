// SPDX-License-Identifier: MIT
#include "ui/checks/check_controller.h"

#include "model/stream.h"
#include "model/structogram_file.h"
#include "ui/main/text_codec.h"
#include "ui/main/tform2.h"

#include <QStringList>

#include <algorithm>
#include <exception>

namespace {

// Long enough to let a burst of changes (typing, undo pressed repeatedly) end first.
constexpr int kDelayMs = 120;

} // namespace

struct TCheckController::TResult {
  bool Failed = false;
  std::vector<TFinding> Findings; // their Element pointed into the copy, which is gone
};

TCheckController::TCheckController(TForm2& main) : main_(main) {
  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Start(); });
}

TCheckController::~TCheckController() {
  if (worker_.joinable())
    worker_.join();
}

void TCheckController::SetWanted(bool wanted) {
  if (wanted == wanted_)
    return;
  wanted_ = wanted;
  if (wanted_) {
    DocumentChanged();
  } else {
    timer_.stop();
    ++generation_;
    Clear();
  }
}

void TCheckController::SetEnabled(TCheckSet enabled) {
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  DocumentChanged();
}

void TCheckController::DocumentChanged() {
  ++generation_;
  if (wanted_)
    timer_.start();
}

void TCheckController::DocumentReplaced() {
  Clear();
  DocumentChanged();
}

void TCheckController::ForgetElements(const std::vector<const TElement*>& freed) {
  if (shown_.empty())
    return;
  const std::unordered_set<const TElement*> gone(freed.begin(), freed.end());
  const auto from = std::remove_if(shown_.begin(), shown_.end(),
                                   [&](const TShown& f) { return gone.count(f.Element) > 0; });
  if (from == shown_.end())
    return;
  shown_.erase(from, shown_.end());
  IndexFindings();
  emit FindingsChanged();
}

void TCheckController::IndexFindings() {
  marks_.First.Clear();
  marks_.First.Reserve(shown_.size());
  for (std::size_t i = 0; i < shown_.size(); ++i)
    marks_.First.Add(shown_[i].Element, static_cast<uint32_t>(i));
}

QString TCheckController::MessagesFor(const TElement* e) const {
  const uint32_t first = marks_.First.Find(e, TCheckMarks::kNone);
  if (first == TCheckMarks::kNone)
    return QString();
  QStringList lines;
  for (std::size_t i = first; i < shown_.size() && shown_[i].Element == e; ++i)
    lines.append(QString::fromStdString(shown_[i].Message));
  return lines.join(QLatin1Char('\n'));
}

void TCheckController::Start() {
  if (!wanted_ || !main_.Program)
    return;
  if (worker_.joinable() || main_.TreeChanging()) {
    // Once the running check or the change under way is over.
    again_ = worker_.joinable();
    if (!again_)
      timer_.start();
    return;
  }
  // The program as file bytes: taking them is a few milliseconds even for a large program, and
  // the thread then works on a tree of its own.
  roundStarted_.start();
  TMemoryStream image;
  try {
    SaveDocument(*main_.Program, image);
  } catch (const std::exception&) {
    Clear(); // a tree no file could hold has no findings to show
    return;
  }
  snapshotMs_ = static_cast<double>(roundStarted_.nsecsElapsed()) / 1e6;
  const uint64_t generation = generation_;
  const TCheckSet enabled = enabled_;
  worker_ = std::thread([this, bytes = std::move(image.Data), generation, enabled] {
    auto result = std::make_shared<TResult>();
    try {
      TMemoryStream in(bytes);
      const TLoadResult copy = LoadDocument(in);
      result->Findings = CheckProgram(*copy.Root, enabled);
      for (TFinding& f : result->Findings)
        f.Element = nullptr;
    } catch (const std::exception&) {
      result->Failed = true;
    }
    QMetaObject::invokeMethod(
        this, [this, generation, result] { Finished(generation, result); }, Qt::QueuedConnection);
  });
}

void TCheckController::Finished(uint64_t generation, std::shared_ptr<TResult> result) {
  if (worker_.joinable())
    worker_.join();
  if (generation != generation_ || !wanted_) {
    // The document changed meanwhile: what was found may name freed elements.
    if (again_ && wanted_)
      timer_.start();
    again_ = false;
    return;
  }
  again_ = false;
  if (result->Failed) {
    Clear();
    return;
  }
  QElapsedTimer apply;
  apply.start();
  const std::vector<const TElement*> elements = ElementsInOrder(*main_.Program);
  shown_.clear();
  shown_.reserve(result->Findings.size());
  for (TFinding& f : result->Findings)
    if (f.Position < elements.size())
      shown_.push_back({elements[f.Position], f.Check, std::move(f.Path), std::move(f.Why),
                        std::move(f.Message)});
  IndexFindings();
  emit FindingsChanged();
  lastRound_.OwnMs = snapshotMs_ + static_cast<double>(apply.nsecsElapsed()) / 1e6;
  lastRound_.TotalMs = static_cast<double>(roundStarted_.nsecsElapsed()) / 1e6;
}

void TCheckController::Clear() {
  const bool had = !shown_.empty();
  shown_.clear();
  marks_.First.Clear();
  if (had)
    emit FindingsChanged();
}
