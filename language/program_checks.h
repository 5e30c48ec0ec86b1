// SPDX-License-Identifier: MIT
// Checks of a program's texts while it is edited: the faults a learner makes most, found before
// the program runs. Each finding names its element and says, in the user's language, what looks
// wrong.
#pragma once

#include "model/element.h"
#include "model/element_order.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TCheck : uint8_t {
  Unassigned,      // a variable read on some path before it got a value
  LonelyComparison, // a statement that only compares (x = 5 where x := 5 was meant)
  EndlessLoop,     // a loop whose condition its body cannot change
  CounterChanged,  // a counting loop's variable changed inside its own loop
  NotBoolean,      // a condition that is no boolean expression
  NotRunnable,     // a text that cannot be run or translated, or that conflicts in its types
  EmptyParts       // a decision with both branches empty, a loop without a body
};

constexpr int kCheckCount = 7;

// The check's name as the problem list's menu shows it (in the user's language), and a key for
// the settings.
std::string CheckTitle(TCheck check);
const char* CheckKey(TCheck check);

struct TFinding {
  const TElement* Element;
  std::size_t Position; // the element's place in ElementsInOrder
  TCheck Check;
  std::string Message; // UTF-8, quoting the element's text: "»x = 5«: vergleicht nur. …"
  std::string Why;     // UTF-8, the message without the quote: "vergleicht nur. …"
  std::string Path;    // UTF-8, the titles of the blocks it lies in: "gesamtes Programm › Teil"
};

// The checks switched on, one bit each (bit n for TCheck n).
using TCheckSet = uint32_t;
constexpr TCheckSet kAllChecks = (1u << kCheckCount) - 1;

// Every finding of the checks in `enabled`, in the order the export writes the texts.
std::vector<TFinding> CheckProgram(const TBlock& root, TCheckSet enabled = kAllChecks);

