// SPDX-License-Identifier: MIT
#include "model/element_order.h"

std::vector<const TElement*> ElementsInOrder(const TBlock& root, std::vector<int32_t>* enclosing) {
  struct TItem {
    const TElement* Head;
    int32_t Enclosing; // position of the named block (or root) the chain lies in
    bool Branch;       // the head is a branch block of a decision or loop
  };
  std::vector<const TElement*> out;
  std::vector<TItem> stack{{&root, -1, false}};
  while (!stack.empty()) {
    const TItem item = stack.back();
    stack.pop_back();
    for (const TElement* e = item.Head; e; e = e->Next) {
      const auto here = static_cast<int32_t>(out.size());
      out.push_back(e);
      if (enclosing)
        enclosing->push_back(item.Enclosing);
      if (const TBlock* b = As<TBlock>(e)) {
        const bool named = !(item.Branch && e == item.Head);
        stack.push_back({e->Next, item.Enclosing, false});
        stack.push_back({b->Body, named ? here : item.Enclosing, false});
        break;
      }
      if (const TBedingung* c = As<TBedingung>(e)) {
        stack.push_back({e->Next, item.Enclosing, false});
        for (const TBlock* branch : {c->Branch2, c->Branch1})
          if (branch)
            stack.push_back({branch, item.Enclosing, true});
        break;
      }
    }
  }
  return out;
}
