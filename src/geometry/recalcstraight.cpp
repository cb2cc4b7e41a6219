// Recalculation of lines, rays, segments, vectors and polygons.
#include "geometry/recalcmethods.h"
#include "geometry/recalcsupport.h"

namespace qorv {

void recalcLineThroughPoint(Document&, Element& e) {
    if (!usable(e.parent1)) return setUndefined(e);
    // The element keeps its own direction; two equal stored points get one first.
    if (e.value[0] == e.value[2] && e.value[1] == e.value[3]) e.value[1] += 1.0;
    const Point2 dir = secondPointOf(e) - firstPointOf(e);
    const Point2 p = positionOf(*e.parent1);
    storePair(e, p, p + dir);
}

void recalcLineThroughTwoPoints(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) return setUndefined(e);
    const Point2 a = positionOf(*e.parent1), b = positionOf(*e.parent2);
    if (!(distance(a, b) >= Tol::Distinct)) return setUndefined(e);
    storePair(e, a, b);
}

namespace {
// Lines built on another straight element and a point (parallel, perpendicular).
template <class Build> void lineFromStraight(Element& e, Build build) {
    Point2 a, b;
    if (!usable(e.parent1) || !usable(e.parent2) || !straightPointsOf(*e.parent1, a, b))
        return setUndefined(e);
    Point2 first, second;
    if (!build(a, b, positionOf(*e.parent2), first, second)) return setUndefined(e);
    storePair(e, first, second);
}
} // namespace

void recalcParallelLine(Document&, Element& e) {
    lineFromStraight(e, parallelThrough);
}

void recalcPerpendicularLine(Document&, Element& e) {
    lineFromStraight(e, perpendicularThrough);
}

void recalcPerpendicularBisector(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) return setUndefined(e);
    const Point2 a = positionOf(*e.parent1), b = positionOf(*e.parent2);
    Point2 first, second;
    if (!perpendicularThrough(a, b, 0.5 * (a + b), first, second)) return setUndefined(e);
    storePair(e, first, second);
}

void recalcSegment(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) return setUndefined(e);
    const Point2 a = positionOf(*e.parent1), b = positionOf(*e.parent2);
    const double len = distance(a, b);
    // A length of exactly zero stays defined: the two ends were made to coincide.
    if (len > 0 && len < Tol::Distinct) return setUndefined(e);
    storePair(e, a, b);
}

void recalcPolygon(Document&, Element& e) {
    auto* tail = e.tailAs<PolygonTail>();
    if (!tail || tail->sides.empty()) return setUndefined(e);
    e.defined = 1;
    for (auto& s : tail->sides) {
        Element& side = *s;
        if (!usable(side.parent1) || !usable(side.parent2)) {
            // Sides of an undefined polygon are undefined too, so that nothing builds on them.
            e.defined = 0;
            for (auto& rest : tail->sides)
                rest->defined = 0;
            return;
        }
        const Point2 a = positionOf(*side.parent1), b = positionOf(*side.parent2);
        if (!storePair(side, a, b)) {
            e.defined = 0;
            continue;
        }
        side.defined = distance(a, b) >= Tol::Distinct ? 1 : 0;
    }
}

} // namespace qorv
