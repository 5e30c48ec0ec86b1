// SPDX-License-Identifier: MIT
// Helpers the user-interface tests share: waiting on conditions and building programs.
#pragma once

#include "model/element.h"

#include <QTest>

#include <string>

// Waits, processing events, until condition holds or five seconds have passed.
template <class F> bool WaitFor(F condition) { return QTest::qWaitFor(condition, 5000); }

// A chain of count statements "<prefix>1", "<prefix>2", ... appended to the body of block.
inline void AppendStatements(TBlock& block, int count, const std::string& prefix) {
  TElement* last = block.Body;
  while (last && last->Next) last = last->Next;
  for (int i = 1; i <= count; ++i) {
    TElement* e = TAnweisung::CreateWithText(prefix + std::to_string(i)).release();
    // Linked by hand: Insert on a block would put e into its body instead of after it.
    if (last)
      last->Next = e;
    else
      block.Body = e;
    last = e;
  }
}
