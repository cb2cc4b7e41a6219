// Recalculation of elements from their parents.
//
// Every element is recomputed by one function chosen from the method table by its construction
// method code. The construction list is in dependency order, so one walk from the head brings a
// whole construction up to date. Nothing is cached between passes.
#pragma once

#include "model/document.h"

namespace qorv {

// Recomputes one element from its parents' current numbers and sets `defined`.
using RecalcFunction = void (*)(Document& doc, Element& e);

// The method table's entry for a code; null for codes outside 0..73.
RecalcFunction recalcFunctionOf(ConstructionMethod m);

// Recomputes one element from its parents' current numbers and sets `defined`.
// Never fails; an invalid method code is ignored.
void recalcElement(Document& doc, Element& e);

// Recalculates every element from the head up to, not including, `stop` (null: the whole list).
// The caller redraws.
void recalcUpTo(Document& doc, Element* stop = nullptr);

// Recalculates, in list order, only the elements whose `mark` is 1.
void recalcMarked(Document& doc);

// Recalculates the given elements in the order given (a drag keeps its marked elements in list
// order, so that its steps do not walk the whole list).
void recalcElements(Document& doc, const std::vector<Element*>& elements);

// ---- partial passes ------------------------------------------------------------------------

// The word that holds a driver's parameter: `value[0]` of a parameter (63), `value[3]` of a point
// on an element or on a grid.
double& driverParameter(Element& driver);

// Puts the driver at `parameter`, recalculates from it up to `wanted` (skipping loci), reads the
// position of `wanted` when it is defined, then leaves the construction exactly as it was (see
// PartialPass). Returns whether `wanted` was defined there; false too when the document's partial
// passes are nested too deep.
bool evaluateWithDriverAt(Document& doc, Element& driver, double parameter, const Element& wanted,
                          Point2& out);

// The position of a locus's traced point when its driver is put at t (for a parameter driver, at
// min + t (max - min)). False when the point is undefined there, when the locus is driven by a
// point on a grid, and for function graphs (which evaluate their function instead).
bool pointOnLocusAt(Document& doc, const Element& locus, double t, Point2& out);

} // namespace qorv
