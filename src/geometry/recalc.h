// Recalculation of elements from their parents.
#pragma once

#include "model/document.h"

namespace qorv {

// Recomputes one element from its parents' current numbers and sets `defined`.
// Never fails; an invalid method code is ignored.
void recalcElement(Document& doc, Element& e);

// Recalculates every element from the head up to, not including, `stop` (null: the whole list).
void recalcUpTo(Document& doc, Element* stop = nullptr);

// Recalculates, in list order, only the elements whose `mark` is 1.
void recalcMarked(Document& doc);

} // namespace qorv
