// Making elements: the one creation path of the tools, the dialogs, pasting, macros and the
// builders in code. It sits above the model and the geometry: a new element takes its method's
// starting values, and some of them (a name's place beside its element, new reference axes) are
// computed from the geometry.
#pragma once

#include "geometry/transforms.h"
#include "model/document.h"
#include "model/iteration.h"

#include <string>

namespace qorv {

// Creates an element from the request, appends it to `doc` and returns it. The request is
// cleared for the next element.
Element* createElement(Document& doc, ElementRequest& request, const CreationOptions& opts);

// The axes that coordinates and equations refer to; with `create`, made (with a hidden origin
// point) when none exist.
Element* findAxes(Document& doc, bool create, const CreationOptions& opts);

// Creates, renames or (with an empty text) deletes the "Nombre" of e.
void setName(Document& doc, Element* e, const std::string& text, const CreationOptions& opts);

// Appends the n-1 vertices (method 59) and the polygon (method 14) and returns the polygon.
Element* createRegularPolygon(Document& doc, Element* centre, Element* first, PolygonShape shape,
                              const CreationOptions& opts);

// Creates the iteration element (method 71) from the workspace and appends it to `doc`: its
// participants (initial elements, destination elements, the shown descendants of the initial
// elements, the count element), its image table and the workspace's number of iterations. Null
// when the workspace does not allow it.
Element* createIteration(Document& doc, const IterationWorkspace& ws, const CreationOptions& opts);

} // namespace qorv
