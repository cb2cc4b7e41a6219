#include "view/hitgeometry.h"

#include "geometry/elementgeometry.h"
#include "geometry/iteration.h"
#include "geometry/locus.h"
#include "geometry/primitives.h"
#include "geometry/ticks.h"
#include "geometry/transforms.h"
#include "model/document.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qorv {

namespace {

constexpr double Pi = std::numbers::pi;

bool far(Point2 p) {
    return !(std::fabs(p.x) < 1e8) || !(std::fabs(p.y) < 1e8);
}

double segmentDistance(Point2 p, Point2 a, Point2 b) {
    const Point2 d = b - a;
    const double len2 = dot(d, d);
    if (!(len2 > 0)) return distance(p, a);
    const double t = std::clamp(dot(p - a, d) / len2, 0.0, 1.0);
    return distance(p, a + t * d);
}

double rayDistance(Point2 p, Point2 a, Point2 b) {
    const Point2 d = b - a;
    const double len2 = dot(d, d);
    if (!(len2 > 0)) return distance(p, a);
    const double t = std::max(0.0, dot(p - a, d) / len2);
    return distance(p, a + t * d);
}

// The part of a line outside the segment ab (a straight arc through infinity).
double outsideSegmentDistance(Point2 p, Point2 a, Point2 b) {
    const Point2 d = b - a;
    const double len2 = dot(d, d);
    if (!(len2 > 0)) return distance(p, a);
    const double t = dot(p - a, d) / len2;
    if (t <= 0 || t >= 1) return distanceToLine(p, a, b);
    return std::min(distance(p, a), distance(p, b));
}

double straightDistance(const Element& e, Point2 p) {
    Point2 a, b;
    if (!straightPointsOf(e, a, b)) return FarAway;
    switch (e.kind()) {
    case Kind::Line:
        return distanceToLine(p, a, b);
    case Kind::Ray:
        return rayDistance(p, a, b);
    default:
        return segmentDistance(p, a, b);
    }
}

double arcDistance(const Element& e, Point2 p) {
    ArcData arc;
    if (!arcDataOf(e, arc)) return FarAway;
    if (arc.straight)
        return arc.beyond ? outsideSegmentDistance(p, arc.start, arc.end)
                          : segmentDistance(p, arc.start, arc.end);
    const double d = distance(p, arc.centre);
    if (d > 0) {
        const Point2 onCircle = arc.centre + (arc.radius / d) * (p - arc.centre);
        if (isOnArc(arc, onCircle)) return std::fabs(d - arc.radius);
    }
    return std::min(distance(p, arc.start), distance(p, arc.end));
}

// The angle mark: a sector of radius value[2] about the vertex, swept from one arm to the other
// (the smaller side unless the full range is asked for), as the drawing shows it.
double angleDistance(const Element& e, Point2 p) {
    AngleMark mark;
    if (!angleMarkOf(e, mark)) return FarAway;
    const Point2 v = mark.vertex;
    const double r = mark.radius, from = mark.from, span = mark.sweep;
    if (!(r > 0) || !std::isfinite(r)) return FarAway;
    const double d = distance(p, v);
    if (d == 0) return 0;
    const double at = normalizeAngle(std::atan2(p.y - v.y, p.x - v.x) - from);
    if (at <= span) return d <= r ? 0 : d - r;
    // Outside the sweep: the nearer of the two radii drawn along the arms.
    auto radius = [&](double angle) {
        const Point2 end = v + r * Point2{std::cos(angle), std::sin(angle)};
        return segmentDistance(p, v, end);
    };
    return std::min(radius(from), radius(from + span));
}

double sampledDistance(const Element& e, Point2 p) {
    const auto* t = e.tailAs<SampledCurveTail>();
    if (!t) return FarAway;
    const int n = storedSamples(*t);
    auto usable = [&](int i) { return isSampleDefined(*t, i) && !far(t->first[size_t(i)]); };
    const bool family = e.method == Method::Locus && !isCurveLocus(e) && !isGridLocus(e);
    double best = FarAway;
    for (int i = 0; i < n; ++i) {
        if (!usable(i)) continue;
        const Point2 a = t->first[size_t(i)];
        if (family) {
            const Point2 b = t->second[size_t(i)];
            best = std::min(best, far(b) ? distance(p, a) : segmentDistance(p, a, b));
        } else if (i + 1 < n && usable(i + 1) && samplesJoined(*t, i, i + 1)) {
            best = std::min(best, segmentDistance(p, a, t->first[size_t(i + 1)]));
        } else {
            best = std::min(best, distance(p, a));
        }
    }
    return best;
}

double conicDistance(const Element& e, Point2 p) {
    const auto* t = e.tailAs<ConicTail>();
    if (!t) return FarAway;
    const auto& s = t->samples;
    constexpr int n = ConicTail::SampleCount;
    double best = FarAway;
    auto run = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            if (!far(s[size_t(i)]) && !far(s[size_t(i + 1)]))
                best = std::min(best, segmentDistance(p, s[size_t(i)], s[size_t(i + 1)]));
    };
    switch (t->conicType) {
    case 2:
    case 3:
        run(0, n / 2 - 1);
        run(n / 2, n - 1);
        break;
    case 4:
    case 5:
        for (int i = 0; i < 4; i += 2)
            if (!far(s[size_t(i)]) && !far(s[size_t(i + 1)]))
                best = std::min(best, segmentDistance(p, s[size_t(i)], s[size_t(i + 1)]));
        break;
    default:
        run(0, n - 1);
        if (!far(s[n - 1]) && !far(s[0])) best = std::min(best, segmentDistance(p, s[n - 1], s[0]));
        break;
    }
    return best;
}

} // namespace

WorldRect WorldRect::spanning(Point2 a, Point2 b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

double distanceToElement(const Element& e, Point2 p, int* side) {
    switch (e.kind()) {
    case Kind::Point:
        return distance(p, positionOf(e));
    case Kind::Line:
    case Kind::Ray:
    case Kind::Segment:
    case Kind::Vector:
        return straightDistance(e, p);
    case Kind::Polygon: {
        const auto* t = e.tailAs<PolygonTail>();
        if (!t) return FarAway;
        double best = FarAway;
        for (size_t i = 0; i < t->sides.size(); ++i) {
            const Element& s = *t->sides[i];
            if (!s.defined) continue;
            const double d = segmentDistance(p, firstPointOf(s), secondPointOf(s));
            if (d < best) {
                best = d;
                if (side) *side = int(i);
            }
        }
        return best;
    }
    case Kind::Circle: {
        Point2 c;
        double r = 0;
        if (!circleOf(e, c, r)) return FarAway;
        return std::fabs(distance(p, c) - r);
    }
    case Kind::Arc:
        return arcDistance(e, p);
    case Kind::Angle:
        return angleDistance(e, p);
    case Kind::Locus:
        return sampledDistance(e, p);
    case Kind::Conic:
        return conicDistance(e, p);
    default:
        return FarAway;
    }
}

bool liesInRectangle(const Element& e, const WorldRect& r, const ViewTransform& view,
                     const BoxQuery& boxes) {
    auto inside = [&](Point2 p) { return isFinite(p) && r.contains(p); };
    const ElementKind k = e.kind();
    switch (k) {
    case Kind::Point:
        return inside(positionOf(e));
    case Kind::Segment:
    case Kind::Vector:
        return inside(firstPointOf(e)) && inside(secondPointOf(e));
    case Kind::Line:
    case Kind::Ray: {
        const Element* pts[5];
        const int n = throughPointsOf(e, pts);
        if (n == 0) return false;
        for (int i = 0; i < n; ++i)
            if (!pts[i] || !inside(positionOf(*pts[i]))) return false;
        return true;
    }
    case Kind::Polygon: {
        const auto* t = e.tailAs<PolygonTail>();
        if (!t || t->sides.empty()) return false;
        for (const auto& s : t->sides)
            if (!inside(firstPointOf(*s))) return false;
        return true;
    }
    case Kind::Circle: {
        Point2 c;
        double rad = 0;
        if (!circleOf(e, c, rad)) return false;
        return inside(c + Point2{-rad, -rad}) && inside(c + Point2{rad, rad});
    }
    case Kind::Arc: {
        ArcData arc;
        if (!arcDataOf(e, arc) || arc.beyond) return false;
        if (!inside(arc.start) || !inside(arc.end)) return false;
        if (arc.straight) return true;
        // The extreme points of the circle that the arc passes.
        for (int q = 0; q < 4; ++q) {
            const double a = q * Pi / 2;
            const Point2 x = arc.centre + arc.radius * Point2{std::cos(a), std::sin(a)};
            if (isOnArc(arc, x) && !inside(x)) return false;
        }
        return true;
    }
    case Kind::Angle: {
        if (!e.parent2) return false;
        const Point2 v = positionOf(*e.parent2);
        const double rad = e.value[2];
        return inside(v + Point2{-rad, -rad}) && inside(v + Point2{rad, rad});
    }
    case Kind::Conic: {
        const auto* t = e.tailAs<ConicTail>();
        if (!t || t->conicType == 4 || t->conicType == 5) return false;
        for (const Point2& s : t->samples)
            if (!inside(s)) return false;
        return true;
    }
    case Kind::Locus: {
        const auto* t = e.tailAs<SampledCurveTail>();
        if (!t) return false;
        const int n = storedSamples(*t);
        bool any = false;
        for (int i = 0; i < n; ++i) {
            const Point2 s = t->first[size_t(i)];
            if (far(s) || !isSampleDefined(*t, i)) continue;
            if (!inside(s)) return false;
            any = true;
        }
        return any;
    }
    case Kind::Axes:
    case Kind::Grid:
    case Kind::Intersection:
    case Kind::Iteration:
        return false;
    default: {
        PixelBox b;
        if (!boxes || !boxes(e, b)) return false;
        const Point2 tl = view.toWorld(b.x, b.y), br = view.toWorld(b.x + b.w, b.y + b.h);
        return inside(tl) && inside(br);
    }
    }
}

double iterationDistance(const Document& doc, const Element& iteration, Point2 p, double enough) {
    const auto* t = iteration.tailAs<IterationTail>();
    if (!t) return FarAway;
    struct Nearest : IterationVisitor {
        Point2 p;
        double enough;
        bool points;
        double best = FarAway;
        bool visit(const IterationCopy& copy, int32_t) override {
            for (const Element* x : copy.shown)
                if (x->defined && (points || x->kind() != Kind::Point))
                    best = std::min(best, distanceToElement(*x, p));
            return !(best < enough);
        }
    } nearest;
    nearest.p = p;
    nearest.enough = enough;
    nearest.points = t->drawPoints != 0;
    walkIteration(doc, iteration, &nearest);
    return nearest.best;
}

double familyLocusDistance(Document& doc, const Element& locus, Point2 p, double enough) {
    struct Nearest : FamilyVisitor {
        Point2 p;
        double enough;
        double best = FarAway;
        bool visit(const Element& member) override {
            best = std::min(best, distanceToElement(member, p));
            return !(best < enough);
        }
    } nearest;
    nearest.p = p;
    nearest.enough = enough;
    runFamilyLocus(doc, locus, nearest);
    return nearest.best;
}

bool familyLocusLiesInRectangle(Document& doc, const Element& locus, const WorldRect& r,
                                const ViewTransform& view, const BoxQuery& boxes) {
    struct Inside : FamilyVisitor {
        const WorldRect* r;
        const ViewTransform* view;
        const BoxQuery* boxes;
        bool any = false, outside = false;
        bool visit(const Element& member) override {
            any = true;
            outside = !liesInRectangle(member, *r, *view, *boxes);
            return !outside;
        }
    } inside;
    inside.r = &r;
    inside.view = &view;
    inside.boxes = &boxes;
    runFamilyLocus(doc, locus, inside);
    return inside.any && !inside.outside;
}

} // namespace qorv
