// SPDX-License-Identifier: MIT
// The diagram window following a run: where the element that runs next is drawn.
#include "ui/diagram/tform1.h"

#include "render/diagram_paint.h"
#include "render/qt_surface.h"
#include "render/run_marks.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace {

// The blocks, decisions and loops under root that target lies in; false where it is not there.
bool PathTo(const TElement& root, const TElement* target,
            std::unordered_set<const TElement*>& around) {
  // Each element entered, with the position of the one it lies in (-1: none).
  std::vector<std::pair<const TElement*, int32_t>> entered;
  struct TItem {
    const TElement* Head;
    int32_t Holder; // position in `entered` of what holds this chain
  };
  std::vector<TItem> stack{{&root, -1}};
  while (!stack.empty()) {
    const TItem item = stack.back();
    stack.pop_back();
    for (const TElement* e = item.Head; e; e = e->Next) {
      if (e == target) {
        for (int32_t i = item.Holder; i >= 0; i = entered[static_cast<std::size_t>(i)].second)
          around.insert(entered[static_cast<std::size_t>(i)].first);
        return true;
      }
      const auto here = static_cast<int32_t>(entered.size());
      if (const TBlock* block = As<TBlock>(e)) {
        if (block->Body) {
          entered.emplace_back(e, item.Holder);
          stack.push_back({block->Body, here});
        }
      } else if (const TBedingung* c = As<TBedingung>(e)) {
        entered.emplace_back(e, item.Holder);
        for (const TBlock* branch : {c->Branch1, c->Branch2})
          if (branch)
            stack.push_back({branch, here});
      }
      if (e == &root && e->Kind() == TKind::Block)
        break;
    }
  }
  return false;
}

} // namespace

bool TForm1::ShowRunElement(const TElement* target, const TRunMarks* marks, bool select,
                            bool scroll, bool* exact) {
  if (!target || !Display || IsClosing())
    return false;
  std::unordered_set<const TElement*> around;
  if (marks)
    around = marks->Around;
  else if (!PathTo(*Root, target, around))
    return false;
  QImage image = ScratchImage(QSize(1, 1));
  QPainter painter(&image);
  QtSurface surface(painter, DiagramFont());
  TWindowLayout* layout = Layout();
  std::unique_ptr<TWindowLayout> own;
  if (!layout) {
    own = std::make_unique<TWindowLayout>(*Root, *Display);
    layout = own.get();
  }
  TRect r;
  bool shownAsItself = false;
  if (!layout->Locate(surface, target, around, r, shownAsItself))
    return false;
  if (exact)
    *exact = shownAsItself;
  if (select && shownAsItself) {
    Display->ClearSelection();
    Display->AddSelection(const_cast<TElement*>(target)); // an element of the document
  }
  if (scroll)
    EnsureVisible(r);
  viewport()->update();
  return true;
}

void TForm1::EnsureVisible(const TRect& r) {
  EnsureRanges();
  const double z = ZoomPercent() / 100.0;
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  const QSize visible = viewport()->size();
  const int left = static_cast<int>(std::floor(r.left * z)) - h->value();
  const int right = static_cast<int>(std::ceil(r.right * z)) - h->value();
  const int top = static_cast<int>(std::floor(r.top * z)) - v->value();
  const int bottom = static_cast<int>(std::ceil(r.bottom * z)) - v->value();
  if (left < 0 || right > visible.width())
    h->setValue(h->value() + (left + right) / 2 - visible.width() / 2);
  if (top < 0 || bottom > visible.height())
    v->setValue(v->value() + (top + bottom) / 2 - visible.height() / 2);
}
