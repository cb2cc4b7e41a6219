// Large constructions for the benchmarks: blocks mixing every common kind, chained so that the
// first free point has the whole construction as descendants.
#pragma once

#include "model/document.h"

namespace qorv::bench {

// Appends blocks to `doc` until it holds at least `elements` list elements; returns the free
// point whose drag moves everything.
Element* buildMixedConstruction(Document& doc, int elements);

} // namespace qorv::bench
