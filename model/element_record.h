// SPDX-License-Identifier: MIT
// One element on its own, as copy and paste carry it: a structogram document whose program is
// just that element (with everything it holds, without its successors).
#pragma once

#include "model/element.h"

#include <string>

// The file bytes of a document titled "Zwischenablage" that holds a copy of e alone. A branch or
// body block becomes a named block there, as it would be when pasted.
std::string ElementRecord(const TElement& e);
// A copy of the element such bytes hold, unlinked and ready to insert; nullptr when they are
// no such document (unreadable, damaged, or without an element).
TOwned<TElement> ElementFromRecord(const std::string& bytes);
// The Pascal source of e alone, as the export writes it for a program holding only e.
std::string ElementSource(const TElement& e);
