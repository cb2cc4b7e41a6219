#include "geometry/elementgeometry.h"

#include "model/methodtable.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace qorv {

bool axesFrameOf(const Element* axes, AxesFrame& f) {
    if (!axes || !axes->defined || axes->method != Method::Axes) return false;
    const auto* t = axes->tailAs<AxesTail>();
    if (!t || !t->xAxis) return false;
    const AxesFrame frame{firstPointOf(*t->xAxis), t->scaleX, t->scaleY, axes->parent1 != nullptr};
    const auto positive = [](double u) { return std::isfinite(u) && u > 0; };
    if (!isFinite(frame.origin) || !positive(frame.unitX) || !positive(frame.unitY)) return false;
    f = frame;
    return true;
}

bool isStraightKind(ElementKind k) {
    return k == Kind::Line || k == Kind::Ray || k == Kind::Segment || k == Kind::Vector;
}

bool straightPointsOf(const Element& e, Point2& a, Point2& b) {
    const bool straightArc = e.method == Method::ArcThreePoints && e.option2 != 0;
    if (!isStraightKind(e.kind()) && !straightArc) return false;
    a = firstPointOf(e);
    b = secondPointOf(e);
    return isFinite(a) && isFinite(b);
}

bool circleOf(const Element& e, Point2& centre, double& radius) {
    if (e.kind() != Kind::Circle && !(e.method == Method::ArcThreePoints && e.option2 == 0))
        return false;
    centre = firstPointOf(e);
    radius = distance(centre, secondPointOf(e));
    return isFinite(centre) && std::isfinite(radius);
}

bool arcDataOf(const Element& arc, ArcData& out) {
    if (arc.method != Method::ArcThreePoints || !arc.parent1 || !arc.parent3) return false;
    out.straight = arc.option2 != 0;
    out.ccw = arc.option != 0;
    out.beyond = out.straight && arc.option != 0;
    if (out.straight) {
        out.start = firstPointOf(arc);
        out.end = secondPointOf(arc);
        out.centre = out.start;
        out.radius = 0;
    } else {
        out.centre = firstPointOf(arc);
        out.radius = distance(out.centre, secondPointOf(arc));
        out.start = positionOf(*arc.parent1);
        out.end = positionOf(*arc.parent3);
    }
    return isFinite(out.centre) && isFinite(out.start) && isFinite(out.end) &&
           std::isfinite(out.radius);
}

double arcSweep(const ArcData& arc) {
    if (arc.straight) return 0;
    double a = 0;
    const bool ok = arc.ccw ? orientedAngle(arc.start, arc.centre, arc.end, a)
                            : orientedAngle(arc.end, arc.centre, arc.start, a);
    return ok ? a : 0;
}

double normalizeAngle(double a) {
    constexpr double TwoPi = 2 * std::numbers::pi;
    a = std::fmod(a, TwoPi);
    return a < 0 ? a + TwoPi : a;
}

bool angleMarkOf(const Element& angle, AngleMark& out) {
    if (!angle.parent1 || !angle.parent2 || !angle.parent3) return false;
    Point2 arm1 = positionOf(*angle.parent1), arm3 = positionOf(*angle.parent3);
    const Point2 v = positionOf(*angle.parent2);
    const double value = angle.value[0];
    out.vertex = v;
    out.radius = angle.value[2];
    out.shown = !(std::hypot(arm1.x - v.x, arm1.y - v.y) < 3 ||
                  std::hypot(arm3.x - v.x, arm3.y - v.y) < 3) &&
                value >= 0.01 && out.radius > 0 && std::isfinite(out.radius);
    if (angle.value[3] != NotSet && value > std::numbers::pi + 0.0001) std::swap(arm1, arm3);
    out.from = std::atan2(arm1.y - v.y, arm1.x - v.x);
    out.sweep = normalizeAngle(std::atan2(arm3.y - v.y, arm3.x - v.x) - out.from);
    return true;
}

bool isOnArc(const ArcData& arc, Point2 p) {
    if (distance(p, arc.start) < Tol::Distinct || distance(p, arc.end) < Tol::Distinct) return true;
    if (arc.straight) {
        const double len = distance(arc.start, arc.end);
        const bool inside = distance(arc.start, p) <= len && distance(arc.end, p) <= len;
        return arc.beyond ? !inside : inside;
    }
    double toP = 0;
    const bool ok = arc.ccw ? orientedAngle(arc.start, arc.centre, p, toP)
                            : orientedAngle(p, arc.centre, arc.start, toP);
    return ok && toP <= arcSweep(arc) + 1e-12;
}

bool conicCoefficientsOf(const Element& e, double k[6]) {
    if (const auto* t = e.tailAs<ConicTail>()) {
        if (t->conicType < 1 || t->conicType > 5) return false;
        for (int i = 0; i < 6; ++i) {
            if (!std::isfinite(t->coefficients[i])) return false;
            k[i] = t->coefficients[i];
        }
        return true;
    }
    Point2 c;
    double r;
    if (!circleOf(e, c, r)) return false;
    circleConic(c, r, k);
    return true;
}

int conicPointPositions(const Element& conic, Point2 out[5]) {
    const auto* t = conic.tailAs<ConicTail>();
    int n = 0;
    if (t)
        for (const Element* p : t->points)
            if (p && p->defined && isFinite(positionOf(*p))) out[n++] = positionOf(*p);
    return n;
}

bool isLinePairConic(const Element& e) {
    const auto* t = e.tailAs<ConicTail>();
    return t && (t->conicType == 4 || t->conicType == 5);
}

bool conicLines(const Element& e, Point2 a[2], Point2 b[2]) {
    const auto* t = e.tailAs<ConicTail>();
    if (!t) return false;
    a[0] = t->samples[0];
    b[0] = t->samples[1];
    a[1] = t->samples[2];
    b[1] = t->samples[3];
    return isFinite(a[0]) && isFinite(b[0]) && isFinite(a[1]) && isFinite(b[1]);
}

int throughPointsOf(const Element& e, const Element* out[5]) {
    int n = 0;
    auto add = [&](const Element* p) {
        if (p && n < 5) out[n++] = p;
    };
    if (!isValidMethod(e.method)) return 0;
    switch (methodRow(e.method).through) {
    case ThroughPoints::None:
        break;
    case ThroughPoints::P1:
        add(e.parent1);
        break;
    case ThroughPoints::P12:
        add(e.parent1);
        add(e.parent2);
        break;
    case ThroughPoints::P2:
        add(e.parent2);
        break;
    case ThroughPoints::P123:
        add(e.parent1);
        add(e.parent2);
        add(e.parent3);
        break;
    case ThroughPoints::ConicPoints:
        if (const auto* t = e.tailAs<ConicTail>())
            for (const Element* p : t->points)
                add(p);
        break;
    }
    return n;
}

bool liesOnByConstruction(const Element& point, const Element& curve) {
    if (point.method == Method::PointOnElement && point.parent1 == &curve) return true;
    if (point.method == Method::IntersectionPoint &&
        (point.parent1 == &curve || point.parent2 == &curve))
        return true;
    const Element* through[5];
    const int n = throughPointsOf(curve, through);
    for (int i = 0; i < n; ++i)
        if (through[i] == &point) return true;
    return false;
}

namespace {
// The first through-point of `a` that lies on `b` by construction.
const Element* knownCommonPoint(const Element& a, const Element& b) {
    const Element* through[5];
    const int n = throughPointsOf(a, through);
    for (int i = 0; i < n; ++i)
        if (liesOnByConstruction(*through[i], b)) return through[i];
    return nullptr;
}
} // namespace

int sharedDefiningPoints(const Element& a, const Element& b, Point2 out[2]) {
    const Element* k1 = knownCommonPoint(a, b);
    const Element* k2 = knownCommonPoint(b, a);
    int n = 0;
    if (k1) out[n++] = positionOf(*k1);
    if (k2) {
        const Point2 p = positionOf(*k2);
        if (n == 0 || distance(out[0], p) >= Tol::Distinct) out[n++] = p;
    }
    return n;
}

} // namespace qorv
