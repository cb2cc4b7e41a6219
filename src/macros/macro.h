// Macro-constructions: a piece of a construction recorded as a template (the initial elements,
// the final elements and every element that leads from the ones to the others) and applied again
// to other elements. The templates live in the document's macro table (MacroSlot): `head` holds
// the kind of each initial element as the user chose them, `texts` the description lines.
//
// Template numbering: inside a template every element's `id` is its template number and every
// reference (parents, colour parameter, the lists of the tails, the references of sub-elements)
// holds the template number of what it points at, with no element behind it. Numbers 0..n-1
// stand for the initial elements after expansion, in their order; the template's own elements
// (and their sides, axis lines and coordinate numbers) follow from n on. A template that comes
// from a file may hold any numbers: applying it never follows a number it cannot honour.
#pragma once

#include "model/document.h"

#include <string>
#include <vector>

namespace qorv {

// Appends to `list`, for each element in turn (those appended too), the elements that define it
// and are not in the list yet: the end points of segments and vectors, the centre of circles
// (its first parent), the three parents of arcs and angles, the origin and the two axis lines of
// axes, the five points of conics. Null entries are left out.
void expandInitialElements(std::vector<Element*>& list);

// The elements of `doc` that the expanded initial list determines, in list order: those with at
// least one parent (vertices of polygons, arguments of calculations and functions, the points of
// conics and the lists of buttons, tables and iterations count as parents) whose parents are all
// initial or determined. A side, an axis line or a coordinate number counts as determined when its
// owner is; one of an initial element counts only when it is itself initial (the template could
// not refer to it). An element whose colour parameter is neither initial nor determined is left
// out with everything that depends on it.
std::vector<Element*> determinedElements(const Document& doc,
                                         const std::vector<Element*>& expanded);

// Records a macro in the next free slot of the document's table: `initial` as the user chose them
// (expanded here), `finals` the final elements (those not determined by the initial ones are
// dropped). The template keeps every determined element that is final or that a final element
// needs, copied in list order; copies that are not final are internal (`visible` 100). Returns
// the slot, or -1 (nothing changed) when the table is full, no initial element is given or no
// final element remains.
int completeMacro(Document& doc, const std::string& name, const std::vector<Element*>& initial,
                  const std::vector<Element*>& finals);

// A deep copy of a template list (linked by `next` and `prev`, owned by the caller): every
// element with its tail, sub-elements and font, keeping its template numbers.
Element* copyTemplate(const Element* first);

// Appends a deep copy of `macro` to the table of `doc`. Returns the slot, or -1 when the table
// is full or `macro` is empty.
int copyMacro(const MacroSlot& macro, Document& doc);

// Deletes the macro of `slot`; the later ones move up one place.
void deleteMacro(Document& doc, int slot);
// Exchanges two used slots; false (nothing done) when either is not a macro.
bool swapMacros(Document& doc, int a, int b);

// Appends copies of the template to the end of the construction list, bound to `matched` (the
// elements clicked for the initial elements, in their order; expanded here unless the macro's
// version is 100). Visible text-like copies and buttons take `at` as their anchor. With
// `keepTemplateVisibility` the copies keep the template's visibility (intermediate elements stay
// internal), otherwise every copy is shown. References are bound as the numbering says, with n
// the count the template was recorded with (where its own numbers start), however many elements
// the clicked ones expand to; an implied element that coincides with an earlier one fills its
// own number when the recording had one there. A number that is neither a matched element nor
// an earlier copy (a colour parameter may name any copy) binds to nothing, so a damaged template
// gives undefined elements, never a broken list.
// Returns the first element appended; null, with the document unchanged, when the macro is
// empty or `matched` does not give one element per initial kind. The caller records the undo
// step first and recalculates afterwards.
Element* instantiateMacro(Document& doc, const MacroSlot& macro, std::vector<Element*> matched,
                          Point2 at, bool keepTemplateVisibility);

// The status text while the macro is applied: its name, " ->" and the name of the kind expected
// next.
std::string macroPrompt(const MacroSlot& macro, size_t next);

} // namespace qorv
