// Iteration: the private copy of the construction an iteration element keeps, its preparation on
// recalculation, and the walk that maps the initial elements onto their images level after level
// and hands each copy to a visitor (the drawing, the hit test, the copy count).
//
// The walk keeps its own stack, so a deep chain never recurses; the number of levels is bounded
// by iterationLimit, the recalculations of one walk by MaxIterationWork and everything it does
// (what each level costs to recalculate and to draw) by the work budget of the operation that
// walks it, so that a file with a huge count, a wide tree or costly copies still draws in
// bounded time.
#pragma once

#include "model/document.h"
#include "model/iteration.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qorv {

// Element recalculations one walk may spend; copies beyond it are not drawn.
constexpr int64_t MaxIterationWork = 5'000'000;

struct IterationCopy {
    Document doc; // the private copy of the whole construction
    int32_t w = 0, k = 0;
    // W x (K + 1) references into the copy: row i holds initial element i, then its K images.
    std::vector<Element*> table;
    std::vector<Element*> recompute; // what each level recalculates, in list order
    std::vector<Element*> drawn;     // what each copy shows, in list order
    std::vector<Element*> moving;    // the part of `drawn` that depends on the initial elements
    // What the copy being visited shows: all of `drawn` in the first copy visited, then only
    // `moving` (the rest is the same in every copy, in the same place and colour).
    std::span<Element* const> shown;
    // The walk's pending branches: level, then W x (value[0..3], defined) per branch.
    std::vector<int32_t> levels;
    std::vector<double> positions;
};

// Recalculation of method 71: defined when any participant is; a fresh private copy with the
// reference table and the sets that each level recalculates and draws.
void prepareIteration(Document& doc, Element& e);

// The number of iterations the element draws: its own, or its count element's value truncated
// toward zero (none when negative or without value); never more than iterationLimit allows.
int32_t effectiveIterations(const Element& e);

class IterationVisitor {
  public:
    virtual ~IterationVisitor() = default;
    // One copy, at `level` (n - 1 down to 0): the elements of `copy.shown` that are defined are
    // what it shows. Return false to end the walk.
    virtual bool visit(const IterationCopy& copy, int32_t level) = 0;
};

// Walks the iteration's copies: refreshes the private copy from `doc`, then level by level puts
// the initial elements at their images' positions and recalculates. Returns the number of copies
// handed to the visitor (which may be null, to count them). Nothing when the element is undefined,
// not prepared, or the document no longer matches its copy.
int64_t walkIteration(const Document& doc, const Element& e, IterationVisitor* visitor);

} // namespace qorv
