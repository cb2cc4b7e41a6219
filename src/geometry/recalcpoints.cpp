// Recalculation of points: on elements, intersections, symmetry, midpoint, translation, vector sum
// and points given by axis coordinates.
#include "geometry/intersectionpoint.h"
#include "geometry/pointonelement.h"
#include "geometry/recalcmethods.h"
#include "geometry/recalcsupport.h"

namespace qorv {

void recalcPointOnElement(Document& doc, Element& e) {
    const Element* host = e.parent1;
    if (!usable(host)) return setUndefined(e);
    // Set first: evaluating on a locus re-runs part of the construction.
    e.defined = 1;
    Point2 p;
    if (!evaluatePointOnElement(doc, *host, e.value[3], p)) return setUndefined(e);
    storePoint(e, p);
}

void recalcIntersectionPoint(Document& doc, Element& e) {
    Point2 p;
    if (!computeIntersectionPoint(doc, e, p)) return setUndefined(e);
    storePoint(e, p);
}

void recalcCentralSymmetry(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) return setUndefined(e);
    const Point2 p = positionOf(*e.parent1), c = positionOf(*e.parent2);
    storePoint(e, {2 * c.x - p.x, 2 * c.y - p.y});
}

void recalcMidpoint(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) return setUndefined(e);
    const Point2 a = positionOf(*e.parent1), b = positionOf(*e.parent2);
    storePoint(e, {(a.x + b.x) / 2, (a.y + b.y) / 2});
}

void recalcTranslation(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) return setUndefined(e);
    const Point2 p = positionOf(*e.parent1);
    const Point2 a = positionOf(*e.parent2), b = positionOf(*e.parent3);
    if (!(distance(a, b) >= Tol::Distinct)) return setUndefined(e);
    storePoint(e, p + (b - a));
}

namespace {
// O + (u ux, v uy) from the point's own axis coordinates in value[2], value[3].
void placeOnAxes(Element& e, const Element* axes) {
    AxesFrame f;
    if (!axesFrameOf(axes, f)) return setUndefined(e);
    storePoint(e, f.toWorld(e.value[2], e.value[3]));
}
} // namespace

void recalcRepresentedPoint(Document&, Element& e) {
    placeOnAxes(e, e.parent1);
}

void recalcGridPoint(Document&, Element& e) {
    const Element* grid = e.parent1;
    if (!usable(grid)) return setUndefined(e);
    placeOnAxes(e, grid->parent1);
}

void recalcVectorSum(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) return setUndefined(e);
    Point2 a1, b1, a2, b2;
    if (!straightPointsOf(*e.parent1, a1, b1) || !straightPointsOf(*e.parent2, a2, b2))
        return setUndefined(e);
    storePoint(e, positionOf(*e.parent3) + (b1 - a1) + (b2 - a2));
}

} // namespace qorv
