// Intersection points (method 2): the variant codes, the candidates of a pair of elements and the
// choice of one candidate that keeps to its branch while the figure moves.
#pragma once

#include "geometry/intersect.h"
#include "model/document.h"

namespace qorv {

// Variant codes (`option` of an intersection point). They name the kinds of (parent1, parent2)
// and, for curved pairs, the candidate: even codes the first, odd codes the second; codes 30..41
// are candidate (code - 30) mod 4 of a conic routine; 42 the `option2`-th crossing of a locus.
namespace IntersectionCode {
enum : int32_t {
    LineLine = 0,
    LineSegment = 1,
    LineRay = 2,
    SegmentSegment = 3,
    SegmentRay = 4,
    RayRay = 5,
    LineCircle = 6,
    SegmentCircle = 8,
    RayCircle = 10,
    CircleCircle = 12,
    ArcLine = 14,
    ArcSegment = 16,
    ArcRay = 18,
    ArcArc = 20,
    ArcCircle = 22,
    ConicLine = 24,
    ConicSegment = 26,
    ConicRay = 28,
    ConicConic = 30,
    ConicCircle = 34,
    ConicArc = 38,
    Locus = 42,
};
constexpr int32_t Count = 43;
} // namespace IntersectionCode

// Value of `option2` that forbids taking the other candidate when only one exists.
constexpr int32_t KeepOwnCandidate = 111;

// The code of the first candidate for a pair of elements, or -1 when the pair has none. `swap` is
// set when the elements must be given as (b, a) to match the code's order of kinds.
int32_t intersectionBaseCode(const Element& a, const Element& b, bool& swap);
// How many candidates a code family has: 1 (straight pairs), 2, 4 (conic pairs), 0 (loci).
int intersectionCandidateSlots(int32_t code);

// The candidates of parents (p1, p2) under a variant code, before the choice. `kept` tells which
// survive the clipping to segments and rays and the on-arc tests. Codes of straight arcs are
// mapped first, so `code` and the parents' order may differ from the ones given.
struct IntersectionCandidates {
    int count = 0;
    Point2 point[4];
    bool kept[4] = {false, false, false, false};
    int32_t code = -1;              // the code actually used
    const Element* first = nullptr; // the parents in the order used
    const Element* second = nullptr;
};
bool intersectionCandidates(const Element& p1, const Element& p2, int32_t code,
                            IntersectionCandidates& out, double viewScale = 1.0);

// The crossings of a locus's (or function graph's) sample polyline with another element, in the
// order found. Returns how many there are and sets `found` to crossing number `wanted` when it
// exists; with `near`, `nearest` gets the number of the crossing nearest to it (-1: none). Uses
// the samples as they are stored.
int locusCrossings(const Element& locus, const Element& other, int wanted, Point2& found,
                   const Point2* near = nullptr, int* nearest = nullptr);

// The same over finer samples of the locus, and of `other` when it is a locus or graph too (see
// FinerSamples): the crossings that intersection points of code 42 number.
int finerLocusCrossings(Document& doc, Element& locus, Element& other, int wanted, Point2& found,
                        const Point2* near = nullptr, int* nearest = nullptr);

// The position an intersection point takes now. False when it is undefined.
bool computeIntersectionPoint(Document& doc, const Element& point, Point2& out,
                              double viewScale = 1.0);

} // namespace qorv
