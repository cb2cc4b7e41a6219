#include "geometry/transforms.h"

#include "geometry/elementgeometry.h"
#include "geometry/intersect.h"
#include "geometry/pointonelement.h"
#include "geometry/primitives.h"
#include "geometry/recalcsupport.h"

#include <cmath>
#include <numbers>
#include <numeric>

namespace qorv {

namespace {

Point2 midpoint(Point2 a, Point2 b) {
    return Point2{(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// The axes that own an axis line (method 40 or 41).
const Element* axesOfAxisLine(const Element& line) {
    if (line.owner && line.owner->method == Method::Axes) return line.owner;
    if (line.parent2 && line.parent2->method == Method::Axes) return line.parent2;
    return nullptr;
}

// The points that define a circle and lie on it (the point of a circle by centre and point).
bool isThroughPointOfCircle(const Element& p, const Element& circle) {
    return circle.method == Method::CircleCentrePoint && circle.parent2 == &p;
}

// Whether p lies on the circle g because of the way it was built.
bool liesOnCircleByConstruction(const Element& p, const Element& g) {
    if (isThroughPointOfCircle(p, g)) return true;
    if (p.method == Method::PointOnElement && p.parent1 == &g) return true;
    if (p.method == Method::IntersectionPoint && (p.parent1 == &g || p.parent2 == &g)) return true;
    return false;
}

// Whether the parameter of a point (or name) on `host` is a distance along a line: on a line
// parameterised by distance, or on a locus whose driver runs on one (a point on a locus holds
// its locus's driver parameter, followed through loci driven on loci).
bool parameterIsDistance(const Element* host) {
    for (int depth = 0; host && depth < 64; ++depth) {
        if (host->method != Method::Locus) return isParameterisedByDistance(host->method);
        const Element* driver = host->parent2;
        if (!driver || driver->method != Method::PointOnElement) return false;
        host = driver->parent1;
    }
    return false;
}

constexpr std::array<PolygonShape, StarPolygonCount> makeStarTable() {
    std::array<PolygonShape, StarPolygonCount> t{};
    int i = 0;
    for (int n = 5; n <= 30; ++n)
        for (int k = 2; 2 * k < n; ++k)
            if (std::gcd(n, k) == 1 && i < StarPolygonCount) t[size_t(i++)] = PolygonShape{n, k};
    return t;
}

constexpr int countStars() {
    int c = 0;
    for (int n = 5; n <= 30; ++n)
        for (int k = 2; 2 * k < n; ++k)
            if (std::gcd(n, k) == 1) ++c;
    return c;
}
static_assert(countStars() == StarPolygonCount);

constexpr std::array<PolygonShape, StarPolygonCount> kStars = makeStarTable();

} // namespace

// ---- point operations
// ----------------------------------------------------------------------------

Point2 rotatePoint(Point2 p, Point2 c, double theta) {
    if (distance(p, c) < Tol::Distinct) return p;
    // Turning the offset itself keeps full precision where an angle taken back from a cosine
    // would not (near 0 and pi).
    const double cs = std::cos(theta), sn = std::sin(theta);
    const Point2 d = p - c;
    return Point2{c.x + (d.x * cs - d.y * sn), c.y + (d.x * sn + d.y * cs)};
}

Point2 scalePoint(Point2 p, Point2 c, double k) {
    return pointAlong(c, p, k * distance(c, p));
}

bool invertPoint(Point2 p, Point2 c, double r, Point2& out) {
    if (p.x == c.x && p.y == c.y) return false;
    out = pointAlong(c, p, r * r / distance(c, p));
    return isFinite(out);
}

bool reflectPoint(Point2 p, Point2 a, Point2 b, Point2& out) {
    Point2 q1, q2, foot;
    if (!perpendicularThrough(a, b, p, q1, q2)) return false;
    if (!intersectLines(a, b, q1, q2, foot)) return false;
    out = pointAlong(p, foot, 2 * distance(p, foot));
    return isFinite(out);
}

// ---- point constructions
// -------------------------------------------------------------------------

void recalcAxialSymmetry(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) {
        e.defined = 0;
        return;
    }
    Point2 out;
    if (!reflectPoint(positionOf(*e.parent1), firstPointOf(*e.parent2), secondPointOf(*e.parent2),
                      out)) {
        e.defined = 0;
        return;
    }
    storePoint(e, out);
}

void recalcRotation(Document& doc, Element& e) {
    double angle = 0;
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3) ||
        !numberValueOf(e.parent3, angle)) {
        e.defined = 0;
        return;
    }
    storePoint(
        e, rotatePoint(positionOf(*e.parent1), positionOf(*e.parent2), angle / angleFactor(doc)));
}

void recalcHomothety(Document&, Element& e) {
    double k = 0;
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3) ||
        !numberValueOf(e.parent3, k)) {
        e.defined = 0;
        return;
    }
    storePoint(e, scalePoint(positionOf(*e.parent1), positionOf(*e.parent2), k));
}

void recalcInversion(Document&, Element& e) {
    // Parents: the circle of inversion, then the point. A straight arc has no circle.
    if (!usable(e.parent1) || !usable(e.parent2) ||
        (e.parent1->kind() == Kind::Arc && e.parent1->option2 != 0)) {
        e.defined = 0;
        return;
    }
    const Point2 c = firstPointOf(*e.parent1);
    const double r = distance(c, secondPointOf(*e.parent1));
    Point2 out;
    if (!invertPoint(positionOf(*e.parent2), c, r, out)) {
        e.defined = 0;
        return;
    }
    storePoint(e, out);
}

void recalcDisplacement(Document& doc, Element& e) {
    double n = 0;
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3) ||
        !numberValueOf(e.parent3, n)) {
        e.defined = 0;
        return;
    }
    const Element& g = *e.parent2;
    const Point2 p = positionOf(*e.parent1);
    const double d = n * doc.pixelsPerUnit / lengthFactor(doc);
    switch (g.kind()) {
    case Kind::Point: {
        const Point2 target = positionOf(g);
        if (distance(p, target) < Tol::Distinct) break;
        storePoint(e, pointAlong(p, target, d));
        return;
    }
    case Kind::Line:
    case Kind::Ray:
    case Kind::Segment: { // a segment guides like its line
        const Point2 a = firstPointOf(g), b = secondPointOf(g);
        if (distance(a, b) < Tol::Distinct) break;
        double along = d;
        if (g.method == Method::AxisX || g.method == Method::AxisY) {
            AxesFrame f;
            if (!axesFrameOf(axesOfAxisLine(g), f)) break;
            along = n * (g.method == Method::AxisX ? f.unitX : f.unitY);
        }
        storePoint(e, pointAlong(a, b, along));
        return;
    }
    case Kind::Vector: {
        const Point2 a = firstPointOf(g), b = secondPointOf(g);
        if (distance(a, b) < Tol::Distinct) break;
        storePoint(e, pointAlong(p, Point2{p.x + (b.x - a.x), p.y + (b.y - a.y)}, d));
        return;
    }
    case Kind::Circle: {
        const Point2 c = firstPointOf(g);
        const double r = distance(c, p);
        if (!liesOnCircleByConstruction(*e.parent1, g) || r < Tol::Distinct) break;
        storePoint(e, rotatePoint(p, c, d / r));
        return;
    }
    default:
        break;
    }
    e.defined = 0;
}

void recalcPointWithCoordinates(Document& doc, Element& e) {
    double u = 0, v = 0;
    AxesFrame f;
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3) ||
        !numberValueOf(e.parent1, u) || !numberValueOf(e.parent2, v) ||
        !axesFrameOf(e.parent3, f) || !f.hasOriginPoint) {
        e.defined = 0;
        return;
    }
    if (doc.coordinateSystem == 1) {
        const double theta = v / angleFactor(doc);
        const double r = u;
        u = r * std::cos(theta);
        v = r * std::sin(theta);
    }
    storePoint(e, f.toWorld(u, v));
}

// ---- lines
// ---------------------------------------------------------------------------------------

void recalcAngleBisector(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) {
        e.defined = 0;
        return;
    }
    const Point2 a = positionOf(*e.parent1), v = positionOf(*e.parent2), c = positionOf(*e.parent3);
    if (distance(a, v) < Tol::Distinct || distance(c, v) < Tol::Distinct) {
        e.defined = 0;
        return;
    }
    const Point2 a10 = pointAlong(v, a, 10), c10 = pointAlong(v, c, 10);
    double alpha = 0;
    if (!unorientedAngle(a10, v, c10, alpha)) {
        e.defined = 0;
        return;
    }
    Point2 r = rotatePoint(a10, v, alpha / 2);
    double check = 0;
    // The turn may have gone the wrong way round: then it must go the other way.
    if (!unorientedAngle(r, v, c10, check) || check > alpha || check > std::numbers::pi / 2 + 1e-6)
        r = rotatePoint(a10, v, -alpha / 2);
    storePair(e, v, r);
}

// ---- arcs
// ----------------------------------------------------------------------------------------

void recalcArc(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) {
        e.defined = 0;
        return;
    }
    const Point2 p1 = positionOf(*e.parent1), p2 = positionOf(*e.parent2),
                 p3 = positionOf(*e.parent3);
    if (distance(p1, p2) < Tol::Tiny && distance(p1, p3) < Tol::Tiny) {
        // All three together: a point arc.
        storePair(e, p1, p1);
        e.option = 0;
        e.option2 = 0;
        return;
    }
    if (distance(p1, p2) < Tol::Distinct || distance(p2, p3) < Tol::Distinct ||
        distance(p1, p3) < Tol::Distinct) {
        e.defined = 0;
        return;
    }
    Point2 a1, b1, a2, b2, centre;
    if (!perpendicularThrough(p2, p3, midpoint(p2, p3), a1, b1) ||
        !perpendicularThrough(p2, p1, midpoint(p2, p1), a2, b2)) {
        e.defined = 0;
        return;
    }
    if (intersectLines(a1, b1, a2, b2, centre)) {
        double toEnd = 0, toMiddle = 0;
        if (!orientedAngle(p3, centre, p1, toEnd) || !orientedAngle(p2, centre, p1, toMiddle)) {
            e.defined = 0;
            return;
        }
        storePair(e, centre, p2);
        if (!e.defined) return;
        e.option2 = 0;
        e.option = toEnd < toMiddle ? 1 : 0;
        return;
    }
    // Collinear: the arc is the segment p1p3 when p2 lies between them, else the rest of the line.
    const bool between = (p2.x - p1.x) * (p3.x - p1.x) + (p2.y - p1.y) * (p3.y - p1.y) >= 0 &&
                         (p2.x - p3.x) * (p1.x - p3.x) + (p2.y - p3.y) * (p1.y - p3.y) >= 0;
    storePair(e, p1, p3);
    e.option2 = 1;
    e.option = between ? 0 : 1;
}

// ---- regular polygons
// ----------------------------------------------------------------------------

const std::array<PolygonShape, StarPolygonCount>& starPolygons() {
    return kStars;
}

PolygonShape regularPolygonSides(Point2 c, Point2 v, Point2 p) {
    double theta = 0;
    if (!orientedAngle(p, c, v, theta)) theta = 0;
    if (theta < 0.0001) theta = 0.0001;
    if (theta < std::numbers::pi) {
        double n = std::floor((2 * std::numbers::pi) / theta);
        if (n < 3) n = 3;
        if (n > 30) n = 30;
        return PolygonShape{int(n), 1};
    }
    const double target = (2 * std::numbers::pi) - theta;
    PolygonShape best = kStars[0];
    double bestGap = INFINITY;
    for (const PolygonShape& s : kStars) {
        const double gap = std::fabs((2 * std::numbers::pi) * s.density / s.sides - target);
        if (gap < bestGap) {
            bestGap = gap;
            best = s;
        }
    }
    return best;
}

double regularVertexAngle(int i, PolygonShape shape) {
    return double(shape.density) * (2 * std::numbers::pi) * double(i) / double(shape.sides);
}

void recalcRegularPolygonVertex(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !std::isfinite(e.value[3])) {
        e.defined = 0;
        return;
    }
    storePoint(e, rotatePoint(positionOf(*e.parent2), positionOf(*e.parent1), e.value[3]));
}

// ---- zoom
// ----------------------------------------------------------------------------------------

void scaleConstruction(Document& doc, Point2 z, double k) {
    if (!std::isfinite(k) || k == 0.0 || !isFinite(z)) return;
    if (doc.constantLengthsWithZoom) doc.pixelsPerUnit *= k;
    for (Element* e = doc.head; e; e = e->next) {
        switch (e->method) {
        case Method::FreePoint: {
            const Point2 p = scalePoint(positionOf(*e), z, k);
            if (isFinite(p)) {
                e->value[0] = p.x;
                e->value[1] = p.y;
            }
            break;
        }
        case Method::CircleByCentre: {
            // The radius is measured from the stored centre at the next pass: both move.
            const Point2 c = scalePoint(firstPointOf(*e), z, k);
            const Point2 p = scalePoint(secondPointOf(*e), z, k);
            if (isFinite(c) && isFinite(p)) {
                e->value[0] = c.x;
                e->value[1] = c.y;
                e->value[2] = p.x;
                e->value[3] = p.y;
            }
            break;
        }
        case Method::PointOnElement:
        case Method::Name:
            // Only distances along a line change; fractions and angles stay as they are.
            if (parameterIsDistance(e->parent1)) e->value[3] *= k;
            break;
        case Method::Axes:
            if (auto* t = e->tailAs<AxesTail>()) {
                t->scaleX *= k;
                t->scaleY *= k;
            }
            break;
        default:
            break;
        }
    }
}

} // namespace qorv
