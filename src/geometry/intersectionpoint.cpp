#include "geometry/intersectionpoint.h"

#include "geometry/elementgeometry.h"
#include "geometry/locus.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qorv {

namespace {

// What a parent stands for in a code's pair of kinds.
enum Slot : int8_t { SLine, SSegment, SRay, SCircle, SArc, SConic, SNone };

struct CodePair {
    Slot first, second;
};

constexpr CodePair kPairs[42] = {
    {SLine, SLine},      {SLine, SSegment},   {SLine, SRay},      {SSegment, SSegment},
    {SSegment, SRay},    {SRay, SRay},        {SLine, SCircle},   {SLine, SCircle},
    {SSegment, SCircle}, {SSegment, SCircle}, {SRay, SCircle},    {SRay, SCircle},
    {SCircle, SCircle},  {SCircle, SCircle},  {SArc, SLine},      {SArc, SLine},
    {SArc, SSegment},    {SArc, SSegment},    {SArc, SRay},       {SArc, SRay},
    {SArc, SArc},        {SArc, SArc},        {SArc, SCircle},    {SArc, SCircle},
    {SConic, SLine},     {SConic, SLine},     {SConic, SSegment}, {SConic, SSegment},
    {SConic, SRay},      {SConic, SRay},      {SConic, SConic},   {SConic, SConic},
    {SConic, SConic},    {SConic, SConic},    {SConic, SCircle},  {SConic, SCircle},
    {SConic, SCircle},   {SConic, SCircle},   {SConic, SArc},     {SConic, SArc},
    {SConic, SArc},      {SConic, SArc},
};

bool isArc(const Element& e) {
    return e.method == Method::ArcThreePoints;
}
bool isStraightArc(const Element& e) {
    return isArc(e) && e.option2 != 0;
}

// Whether an element can stand in a slot (a straight arc acts as a line or as a segment).
bool fitsSlot(const Element& e, Slot s) {
    const ElementKind k = e.kind();
    switch (s) {
    case SLine:
        return k == Kind::Line || isStraightArc(e);
    case SSegment:
        return k == Kind::Segment || k == Kind::Vector || isStraightArc(e);
    case SRay:
        return k == Kind::Ray;
    case SCircle:
        return k == Kind::Circle;
    case SArc:
        return isArc(e) && !isStraightArc(e);
    case SConic:
        return k == Kind::Conic;
    default:
        return false;
    }
}

// The slot an element takes when a tool picks its code; arcs count as arcs whatever their shape.
Slot slotForCode(const Element& e) {
    switch (e.kind()) {
    case Kind::Line:
        return SLine;
    case Kind::Segment:
    case Kind::Vector:
        return SSegment;
    case Kind::Ray:
        return SRay;
    case Kind::Circle:
        return SCircle;
    case Kind::Arc:
        return SArc;
    case Kind::Conic:
        return SConic;
    default:
        return SNone;
    }
}

// Whether a candidate survives on a straight parent standing in a slot.
bool keptOnStraight(Slot s, Point2 a, Point2 b, Point2 x, double tol) {
    switch (s) {
    case SSegment:
        return onSegment(a, b, x, tol);
    case SRay:
        return onRay(a, b, x);
    default:
        return true;
    }
}

// A straight arc is handled as a straight element: its code is mapped, swapping the parents
// when the straight one comes first in an arc-arc pair.
int32_t mapStraightArcs(int32_t code, const Element*& a, const Element*& b) {
    const bool sa = isStraightArc(*a), sb = isStraightArc(*b);
    if (code >= 14 && code <= 19 && sa) return (code - 14) / 2;
    if ((code == 22 || code == 23) && sa) return (a->option != 0 ? 6 : 8) + (code & 1);
    if (code == 20 || code == 21) {
        if (sa && sb) return 0;
        if (sa) std::swap(a, b);
        if (sa || sb) return (b->option != 0 ? 14 : 16) + (code & 1);
        return code;
    }
    if (code >= 38 && code <= 41 && sb) return (code <= 39 ? 24 : 25) + (b->option != 0 ? 0 : 2);
    return code;
}

bool sameCurve(const double k1[6], const double k2[6]) {
    for (int i = 0; i < 6; ++i)
        if (!(std::fabs(k1[i] - k2[i]) <= Tol::Distinct)) return false;
    return true;
}

// Candidates of a conic (first parent) with a conic, circle or arc: up to 4.
int conicPairCandidates(const Element& conic, const Element& other, bool otherIsConic,
                        Point2 out[4]) {
    double k1[6], k2[6];
    if (!conicCoefficientsOf(conic, k1) || !conicCoefficientsOf(other, k2)) return 0;
    if (sameCurve(k1, k2)) return 0;
    Point2 centre;
    double r = 0;
    const bool circle = !otherIsConic && circleOf(other, centre, r);
    Point2 la[2], lb[2];
    int count = 0;
    if (isLinePairConic(conic)) {
        if (!conicLines(conic, la, lb)) return 0;
        for (int i = 0; i < 2; ++i) {
            Point2 c[2];
            const int n = circle ? intersectLineCircle(la[i], lb[i], centre, r, c)
                                 : intersectLineConic(la[i], lb[i], k2, c);
            for (int j = 0; j < n && count < 4; ++j)
                out[count++] = c[j];
        }
        return count;
    }
    if (otherIsConic && isLinePairConic(other)) {
        if (!conicLines(other, la, lb)) return 0;
        for (int i = 0; i < 2; ++i) {
            Point2 c[2];
            const int n = intersectLineConic(la[i], lb[i], k1, c);
            for (int j = 0; j < n && count < 4; ++j)
                out[count++] = c[j];
        }
        return count;
    }
    if (!otherIsConic) return circle ? intersectConicCircle(k1, centre, r, out) : 0;
    // Two conics: posed about the points that define them both.
    Point2 pts[10];
    const int n = conicPointPositions(conic, pts);
    return intersectConics(k1, k2, frameAround(pts, n + conicPointPositions(other, pts + n)), out);
}

bool isClosedLocus(const Element& e) {
    return e.method == Method::Locus && e.option == 1;
}

// Calls f(a, b) for every piece of a sample polyline between two consecutive defined samples whose
// length is above `minLen` and at most `maxLen`. Stops when f returns false.
template <class F> void forEachPiece(const Element& locus, double minLen, double maxLen, F&& f) {
    const auto* t = locus.tailAs<SampledCurveTail>();
    if (!t) return;
    const int n = storedSamples(*t);
    const int pieces = (isClosedLocus(locus) && n >= 3) ? n : n - 1;
    for (int i = 0; i < pieces; ++i) {
        const int j = (i + 1) % n;
        if (!isSampleDefined(*t, i) || !isSampleDefined(*t, j)) continue;
        const Point2 a = t->first[size_t(i)], b = t->first[size_t(j)];
        const double len = distance(a, b);
        if (!(len > minLen) || len > maxLen) continue;
        if (!f(a, b)) return;
    }
}

} // namespace

int32_t intersectionBaseCode(const Element& a, const Element& b, bool& swap) {
    swap = false;
    const bool la = a.kind() == Kind::Locus, lb = b.kind() == Kind::Locus;
    if (la || lb) {
        swap = !la;
        return IntersectionCode::Locus;
    }
    const Slot sa = slotForCode(a), sb = slotForCode(b);
    if (sa == SNone || sb == SNone) return -1;
    for (int32_t c = 0; c < 42; c += (c >= 30 ? 4 : (c >= 6 ? 2 : 1))) {
        if (kPairs[c].first == sa && kPairs[c].second == sb) return c;
        if (kPairs[c].first == sb && kPairs[c].second == sa) {
            swap = true;
            return c;
        }
    }
    return -1;
}

int intersectionCandidateSlots(int32_t code) {
    if (code >= 0 && code <= 5) return 1;
    if (code >= 6 && code <= 29) return 2;
    if (code >= 30 && code <= 41) return 4;
    return 0;
}

bool intersectionCandidates(const Element& p1, const Element& p2, int32_t code,
                            IntersectionCandidates& out, double viewScale) {
    out = IntersectionCandidates{};
    if (code < 0 || code > 41) return false;
    const Element* a = &p1;
    const Element* b = &p2;
    const int32_t c = mapStraightArcs(code, a, b);
    const CodePair pair = kPairs[c];
    if (!fitsSlot(*a, pair.first) || !fitsSlot(*b, pair.second)) return false;
    out.code = c;
    out.first = a;
    out.second = b;
    const double tolStraight = Tol::SegmentStraight * viewScale;
    const double tolCurved = Tol::SegmentCurved * viewScale;
    Point2 a1, a2, b1, b2, ca, cb;
    double ra = 0, rb = 0;
    ArcData arcA, arcB;

    if (c <= 5) {
        if (!straightPointsOf(*a, a1, a2) || !straightPointsOf(*b, b1, b2)) return false;
        out.count = intersectLines(a1, a2, b1, b2, out.point[0]);
        if (out.count == 1)
            out.kept[0] = keptOnStraight(pair.first, a1, a2, out.point[0], tolStraight) &&
                          keptOnStraight(pair.second, b1, b2, out.point[0], tolStraight);
    } else if (c <= 11) {
        if (!straightPointsOf(*a, a1, a2) || !circleOf(*b, cb, rb)) return false;
        out.count = intersectLineCircle(a1, a2, cb, rb, out.point);
        for (int i = 0; i < out.count; ++i)
            out.kept[i] = keptOnStraight(pair.first, a1, a2, out.point[i], tolCurved);
    } else if (c <= 13) {
        if (!circleOf(*a, ca, ra) || !circleOf(*b, cb, rb)) return false;
        out.count = intersectCircles(ca, ra, cb, rb, out.point);
        for (int i = 0; i < out.count; ++i)
            out.kept[i] = true;
    } else if (c <= 19) {
        if (!arcDataOf(*a, arcA) || !straightPointsOf(*b, b1, b2)) return false;
        out.count = intersectLineCircle(b1, b2, arcA.centre, arcA.radius, out.point);
        for (int i = 0; i < out.count; ++i)
            out.kept[i] = isOnArc(arcA, out.point[i]) &&
                          keptOnStraight(pair.second, b1, b2, out.point[i], tolCurved);
    } else if (c <= 21) {
        if (!arcDataOf(*a, arcA) || !arcDataOf(*b, arcB)) return false;
        out.count = intersectCircles(arcA.centre, arcA.radius, arcB.centre, arcB.radius, out.point);
        for (int i = 0; i < out.count; ++i)
            out.kept[i] = isOnArc(arcA, out.point[i]) && isOnArc(arcB, out.point[i]);
    } else if (c <= 23) {
        if (!arcDataOf(*a, arcA) || !circleOf(*b, cb, rb)) return false;
        out.count = intersectCircles(arcA.centre, arcA.radius, cb, rb, out.point);
        for (int i = 0; i < out.count; ++i)
            out.kept[i] = isOnArc(arcA, out.point[i]);
    } else if (c <= 29) {
        double k[6];
        if (!conicCoefficientsOf(*a, k) || !straightPointsOf(*b, b1, b2)) return false;
        out.count = intersectLineConic(b1, b2, k, out.point);
        for (int i = 0; i < out.count; ++i)
            out.kept[i] = keptOnStraight(pair.second, b1, b2, out.point[i], tolCurved);
    } else {
        out.count = conicPairCandidates(*a, *b, c <= 33, out.point);
        const bool arc = c >= 38;
        if (arc && !arcDataOf(*b, arcB)) return false;
        for (int i = 0; i < out.count; ++i)
            out.kept[i] = !arc || isOnArc(arcB, out.point[i]);
    }
    return true;
}

int locusCrossings(const Element& locus, const Element& other, int wanted, Point2& found,
                   const Point2* near, int* nearest) {
    int total = 0;
    Point2 last{};
    bool haveLast = false;
    double best = 0;
    if (nearest) *nearest = -1;
    // A crossing at a sample shared by two pieces is found twice: it counts once.
    auto record = [&](Point2 p) {
        if (haveLast && distance(p, last) < Tol::Distinct) return;
        if (total == wanted) found = p;
        if (near && nearest && (*nearest < 0 || distance(p, *near) < best)) {
            *nearest = total;
            best = distance(p, *near);
        }
        ++total;
        last = p;
        haveLast = true;
    };

    Point2 o1, o2, centre;
    double radius = 0;
    ArcData arc;
    double k[6];
    const bool straight = straightPointsOf(other, o1, o2);
    const Slot straightSlot = other.kind() == Kind::Ray ? SRay
                              : (other.kind() == Kind::Segment || other.kind() == Kind::Vector)
                                  ? SSegment
                                  : SLine;
    const bool isArcOther = isArc(other) && arcDataOf(other, arc);
    const bool circle = circleOf(other, centre, radius);
    const bool conic = other.kind() == Kind::Conic && conicCoefficientsOf(other, k);
    const bool otherLocus = other.kind() == Kind::Locus && other.tailAs<SampledCurveTail>();

    forEachPiece(locus, 0.1, 999.0, [&](Point2 a, Point2 b) {
        Point2 c[2];
        if (straight) {
            if (intersectLines(a, b, o1, o2, c[0]) == 1 &&
                onSegment(a, b, c[0], Tol::SegmentStraight) &&
                (isArcOther ? isOnArc(arc, c[0])
                            : keptOnStraight(straightSlot, o1, o2, c[0], Tol::SegmentStraight)))
                record(c[0]);
        } else if (circle) {
            const int n = intersectLineCircle(a, b, centre, radius, c);
            for (int i = 0; i < n; ++i)
                if (onSegment(a, b, c[i], Tol::SegmentCurved) &&
                    (!isArcOther || isOnArc(arc, c[i])))
                    record(c[i]);
        } else if (conic) {
            const int n = intersectLineConic(a, b, k, c);
            for (int i = 0; i < n; ++i)
                if (onSegment(a, b, c[i], Tol::SegmentCurved)) record(c[i]);
        } else if (otherLocus) {
            forEachPiece(other, 0.0, 499.0, [&](Point2 p, Point2 q) {
                if (intersectLines(a, b, p, q, c[0]) == 1 &&
                    onSegment(a, b, c[0], Tol::SegmentStraight) &&
                    onSegment(p, q, c[0], Tol::SegmentStraight))
                    record(c[0]);
                return true;
            });
        }
        return true;
    });
    return total;
}

int finerLocusCrossings(Document& doc, Element& locus, Element& other, int wanted, Point2& found,
                        const Point2* near, int* nearest) {
    const FinerSamples finer(doc, locus);
    if (other.kind() == Kind::Locus) {
        const FinerSamples finerOther(doc, other);
        return locusCrossings(locus, other, wanted, found, near, nearest);
    }
    return locusCrossings(locus, other, wanted, found, near, nearest);
}

bool computeIntersectionPoint(Document& doc, const Element& point, Point2& out, double viewScale) {
    Element* p1 = point.parent1;
    Element* p2 = point.parent2;
    if (!p1 || !p2 || !p1->defined || !p2->defined) return false;
    const int32_t code = point.option;

    if (code == IntersectionCode::Locus) {
        Element* locus = p1;
        Element* other = p2;
        if (locus->kind() != Kind::Locus && other->kind() == Kind::Locus) std::swap(locus, other);
        if (locus->kind() != Kind::Locus || point.option2 < 0) return false;
        Point2 found{};
        const int total = finerLocusCrossings(doc, *locus, *other, point.option2, found);
        if (total <= point.option2 || !isFinite(found)) return false;
        out = found;
        return true;
    }

    IntersectionCandidates cand;
    if (!intersectionCandidates(*p1, *p2, code, cand, viewScale)) return false;
    const int slots = intersectionCandidateSlots(cand.code);
    int choice = -1;
    if (slots == 1) {
        if (cand.count >= 1 && cand.kept[0]) choice = 0;
    } else if (slots == 4) {
        const int k = (cand.code - 30) % 4;
        if (cand.count > k && cand.kept[k]) choice = k;
    } else if (slots == 2) {
        const int own = cand.code & 1;
        if (cand.count == 2 && cand.kept[0] && cand.kept[1]) {
            choice = own;
            // A point known to lie on both parents is never the answer while another exists.
            Point2 shared[2];
            if (sharedDefiningPoints(*p1, *p2, shared) == 1)
                choice = distance(cand.point[0], shared[0]) >= Tol::Distinct ? 0 : 1;
        } else {
            int survivor = -1;
            for (int i = 0; i < cand.count; ++i)
                if (cand.kept[i]) survivor = i;
            if (survivor >= 0 && (survivor == own || point.option2 != KeepOwnCandidate))
                choice = survivor;
        }
    }
    if (choice < 0 || !isFinite(cand.point[choice])) return false;
    out = cand.point[choice];
    return true;
}

} // namespace qorv
