// The families of tool sequences (constructions, transformations, measurements and checks,
// editing, macros) and the small helpers they share. Only the toolsequences*.cpp files include
// this.
#pragma once

#include "view/clickengine.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace qorv::sequences {

// Each family returns the sequence of a tool it owns, or null.
std::unique_ptr<ToolSequence> makeConstructionSequence(int tool);
std::unique_ptr<ToolSequence> makeTransformationSequence(int tool);
std::unique_ptr<ToolSequence> makeMeasureSequence(int tool);
std::unique_ptr<ToolSequence> makeEditingSequence(int tool);
std::unique_ptr<ToolSequence> makeMacroSequence(int tool);
std::unique_ptr<ToolSequence> makeIterationSequence(int tool);

// Sets the needs row to exactly `points` points and one of each kind given.
void setNeeds(ClickEngine& engine, int points, std::initializer_list<int> kinds = {});
// Clears the counters of the kinds given.
void clearNeeds(ClickEngine& engine, std::initializer_list<int> kinds);
// The same with the kinds of a mask (a method's parent kinds, see parentKinds).
void setNeeds(ClickEngine& engine, int points, KindMask kinds);
void clearNeeds(ClickEngine& engine, KindMask kinds);

bool isPoint(const Element* e);
bool isNumber(const Element* e);
// Line, ray, segment, vector (axis lines and polygon sides included).
bool isStraight(const Element* e);

// The element a click stands for when the tool wants a straight element or a curve: a polygon
// hit on a side is that side, an axes hit the axis line nearer to the click.
Element* elementForCurveTools(const Click& click);

// Segments, sides and vectors whose two parents are points: their end points.
bool endPointsOf(const Element* e, Element*& a, Element*& b);

// The axes taken without a click: the document's only axes element, or null.
Element* onlyAxes(Document& doc);
// Whether the document has any axes at all.
bool hasAxes(const Document& doc);

// A text-like element's text goes with its top-left corner at the click.
inline void placeTextAt(ElementRequest& r, Point2 at) {
    r.value[2] = at.x;
    r.value[3] = at.y;
}

// Sets the request's parents (and clears its extra list) before completing.
void setParents(ClickEngine& engine, Element* p1, Element* p2 = nullptr, Element* p3 = nullptr);

// A polygon to draw as a preview: its sides carry the vertices in their first points.
std::unique_ptr<Element> previewPolygon(const std::vector<Point2>& vertices);

// Puts the list back in dependency order (every element after its parents), keeping the order
// of elements that need no move (after a redefinition gave a point a later parent).
void restoreDependencyOrder(Document& doc);

} // namespace qorv::sequences
