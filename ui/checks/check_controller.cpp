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
  std::vector<TShown> kept;
  kept.reserve(shown_.size());
  for (TShown& f : shown_)
    if (!gone.count(f.Element))
      kept.push_back(std::move(f));
  if (kept.size() == shown_.size()) {
    shown_ = std::move(kept);
    return;
  }
  shown_ = std::move(kept);
  marks_.Elements.clear();
  byElement_.clear();
  for (std::size_t i = 0; i < shown_.size(); ++i) {
    marks_.Elements.insert(shown_[i].Element);
    byElement_.emplace(shown_[i].Element, i);
  }
  emit FindingsChanged();
}

QString TCheckController::MessagesFor(const TElement* e) const {
  std::vector<std::size_t> found;
  const auto [from, to] = byElement_.equal_range(e);
  for (auto it = from; it != to; ++it)
    found.push_back(it->second);
  std::sort(found.begin(), found.end()); // in the checks' order
  QStringList lines;
  for (std::size_t i : found)
    lines.append(shown_[i].Message);
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
  TMemoryStream image;
  try {
    SaveDocument(*main_.Program, image);
  } catch (const std::exception&) {
    Clear(); // a tree no file could hold has no findings to show
    return;
  }
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
  const std::vector<const TElement*> elements = ElementsInOrder(*main_.Program);
  shown_.clear();
  marks_.Elements.clear();
  byElement_.clear();
  shown_.reserve(result->Findings.size());
  for (const TFinding& f : result->Findings) {
    if (f.Position >= elements.size())
      continue;
    const TElement* e = elements[f.Position];
    byElement_.emplace(e, shown_.size());
    marks_.Elements.insert(e);
    shown_.push_back({e, f.Check, QString::fromStdString(f.Path), FromCp1252(e->Text),
                      QString::fromStdString(f.Why), QString::fromStdString(f.Message)});
  }
  emit FindingsChanged();
}

void TCheckController::Clear() {
  const bool had = !shown_.empty();
  shown_.clear();
  marks_.Elements.clear();
  byElement_.clear();
  if (had)
    emit FindingsChanged();
}
