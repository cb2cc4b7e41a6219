#include "geometry/pointonelement.h"

#include "geometry/elementgeometry.h"
#include "geometry/locus.h"
#include "geometry/recalc.h"
#include "model/methodtable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace qorv {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

PointParameter parameterOf(ConstructionMethod m) {
    return isValidMethod(m) ? methodRow(m).pointParameter : PointParameter::None;
}

Point2 atFraction(Point2 a, Point2 b, double t) {
    if (t == 0.0) return a;
    if (t == 1.0) return b;
    if (a.x == b.x && a.y == b.y) return a;
    return a + t * (b - a);
}

// Fraction of the projection of p on ab, clamped to [0, 1].
double clampedFraction(Point2 a, Point2 b, Point2 p) {
    const Point2 d = b - a;
    const double len2 = dot(d, d);
    if (!(len2 > 0)) return 0;
    return std::clamp(dot(p - a, d) / len2, 0.0, 1.0);
}

bool pointOnConic(const Element& e, double t, Point2& out) {
    const auto* tail = e.tailAs<ConicTail>();
    double k[6];
    if (!tail || !conicCoefficientsOf(e, k)) return false;
    if ((tail->conicType == 4 || tail->conicType == 5) && t > 3) t = 2.5;
    const double fl = std::floor(t);
    const int n = ConicTail::SampleCount;
    const int i = int(std::fmod(std::fmod(fl, double(n)) + n, double(n)));
    const double f = t - fl;
    const Point2 s0 = tail->samples[size_t(i)];
    if (f == 0.0) {
        if (!isFinite(s0)) return false;
        out = s0;
        return true;
    }
    const Point2 s1 = tail->samples[size_t((i + 1) % n)];
    const Point2 p0 = s0 + f * (s1 - s0);
    if (!isFinite(p0)) return false;
    out = p0;
    Point2 q1, q2, c[2];
    if (!perpendicularThrough(s0, s1, p0, q1, q2)) return true;
    const int m = intersectLineConic(q1, q2, k, c);
    if (m == 0) return true;
    out = (m == 2 && distance(c[1], p0) < distance(c[0], p0)) ? c[1] : c[0];
    return true;
}

bool pointOnArc(const Element& e, double t, Point2& out) {
    ArcData arc;
    if (!arcDataOf(e, arc)) return false;
    if (arc.straight) {
        if (t == 0.0)
            out = arc.start;
        else if (t == 1.0 || arc.beyond)
            out = arc.end;
        else
            out = arc.start + t * (arc.end - arc.start);
        return isFinite(out);
    }
    const Point2 d = arc.start - arc.centre;
    if (d.x == 0.0 && d.y == 0.0) {
        out = arc.centre; // a point arc
        return true;
    }
    const double sweep = arcSweep(arc);
    const double phi = polarAngle(d) + (arc.ccw ? t * sweep : -t * sweep);
    const Point2 p{arc.centre.x + arc.radius * std::cos(phi),
                   arc.centre.y + arc.radius * std::sin(phi)};
    if (!isFinite(p)) return false;
    out = p;
    return true;
}

bool pointOnPolygon(const Element& e, double t, Point2& out) {
    const auto* tail = e.tailAs<PolygonTail>();
    if (!tail || tail->sides.empty() || !std::isfinite(t)) return false;
    const int n = int(tail->sides.size());
    const int i = int(std::clamp(std::floor(t), 0.0, double(n - 1)));
    // The fraction is taken from the clamped side so that t = n closes on the first vertex.
    const double f = std::clamp(t - i, 0.0, 1.0);
    const Element& side = *tail->sides[size_t(i)];
    const Point2 a = firstPointOf(side);
    out = side.defined ? atFraction(a, secondPointOf(side), f) : a;
    return isFinite(out);
}

bool evaluateCommon(const Element& e, double t, Point2& out) {
    if (!std::isfinite(t)) return false;
    Point2 p;
    switch (parameterOf(e.method)) {
    case PointParameter::Affine: {
        const Point2 a = firstPointOf(e), b = secondPointOf(e);
        p = a + t * (b - a);
        break;
    }
    case PointParameter::Distance:
        p = pointAlong(firstPointOf(e), secondPointOf(e), t);
        break;
    case PointParameter::Fraction:
        p = atFraction(firstPointOf(e), secondPointOf(e), t);
        break;
    case PointParameter::PolygonSides:
        return pointOnPolygon(e, t, out);
    case PointParameter::Angle: {
        const Point2 c = firstPointOf(e);
        const double r = distance(c, secondPointOf(e));
        p = {c.x + r * std::cos(t), c.y + r * std::sin(t)};
        break;
    }
    case PointParameter::ArcFraction:
        return pointOnArc(e, t, out);
    case PointParameter::ConicSamples:
        return pointOnConic(e, t, out);
    case PointParameter::None:
    case PointParameter::LocusDriver:   // needs the document
    case PointParameter::GraphVariable: // likewise
        return false;
    }
    if (!isFinite(p)) return false;
    out = p;
    return true;
}

} // namespace

bool isParameterisedByDistance(ConstructionMethod m) {
    return parameterOf(m) == PointParameter::Distance;
}

bool evaluatePointOnElement(const Element& e, double t, Point2& out) {
    return evaluateCommon(e, t, out);
}

bool evaluatePointOnElement(Document& doc, const Element& e, double t, Point2& out) {
    switch (parameterOf(e.method)) {
    case PointParameter::LocusDriver:
        return pointOnLocusAt(doc, e, t, out);
    case PointParameter::GraphVariable:
        return functionGraphPoint(doc, e, t, out);
    default:
        return evaluateCommon(e, t, out);
    }
}

double nearestParameterOnElement(const Element& e, Point2 p) {
    const ConstructionMethod m = e.method;
    const Point2 a = firstPointOf(e), b = secondPointOf(e);
    double t = 0;
    switch (parameterOf(m)) {
    case PointParameter::None:
        break;
    case PointParameter::Affine: {
        const Point2 d = b - a;
        const double len2 = dot(d, d);
        t = len2 > 0 ? dot(p - a, d) / len2 : 0;
        if (m == Method::RayThroughTwoPoints) t = std::max(0.0, t);
        break;
    }
    case PointParameter::Distance: {
        const double len = distance(a, b);
        t = len > 0 ? dot(p - a, b - a) / len : 0;
        if (m == Method::RayThroughPoint) t = std::max(0.0, t);
        break;
    }
    case PointParameter::Fraction:
        t = clampedFraction(a, b, p);
        break;
    case PointParameter::PolygonSides: {
        const auto* tail = e.tailAs<PolygonTail>();
        double best = std::numeric_limits<double>::infinity();
        for (size_t i = 0; tail && i < tail->sides.size(); ++i) {
            const Element& s = *tail->sides[i];
            const Point2 sa = firstPointOf(s), sb = secondPointOf(s);
            const double f = clampedFraction(sa, sb, p);
            const double d = distance(p, sa + f * (sb - sa));
            if (d < best) {
                best = d;
                t = double(i) + f;
            }
        }
        break;
    }
    case PointParameter::Angle: {
        const Point2 d = p - a;
        t = (d.x == 0 && d.y == 0) ? 0 : polarAngle(d);
        break;
    }
    case PointParameter::ArcFraction: {
        ArcData arc;
        if (!arcDataOf(e, arc)) return 0;
        if (arc.straight) {
            if (arc.beyond)
                t = distance(p, arc.start) <= distance(p, arc.end) ? 0 : 1;
            else
                t = clampedFraction(arc.start, arc.end, p);
        } else {
            const double sweep = arcSweep(arc);
            double toP = 0;
            const bool ok = arc.ccw ? orientedAngle(arc.start, arc.centre, p, toP)
                                    : orientedAngle(p, arc.centre, arc.start, toP);
            if (ok && sweep > 0 && toP <= sweep)
                t = toP / sweep;
            else
                t = distance(p, arc.start) <= distance(p, arc.end) ? 0 : 1;
        }
        break;
    }
    case PointParameter::ConicSamples: {
        const auto* tail = e.tailAs<ConicTail>();
        if (!tail) return 0;
        const int n = ConicTail::SampleCount;
        const int chords = (tail->conicType == 4 || tail->conicType == 5) ? 3 : n;
        double best = std::numeric_limits<double>::infinity();
        for (int i = 0; i < chords; ++i) {
            const Point2 s0 = tail->samples[size_t(i)], s1 = tail->samples[size_t((i + 1) % n)];
            const double f = clampedFraction(s0, s1, p);
            const double d = distance(p, s0 + f * (s1 - s0));
            if (d < best) {
                best = d;
                t = i + f;
            }
        }
        break;
    }
    case PointParameter::LocusDriver:
    case PointParameter::GraphVariable: {
        const auto* tail = e.tailAs<SampledCurveTail>();
        if (!tail) return 0;
        const int n = storedSamples(*tail);
        double best = std::numeric_limits<double>::infinity();
        for (int i = 0; i < n; ++i) {
            if (!isSampleDefined(*tail, i)) continue;
            const double d = distance(p, tail->first[size_t(i)]);
            if (d < best) {
                best = d;
                t = tail->params[size_t(i)];
            }
        }
        break;
    }
    }
    return std::isfinite(t) ? t : 0;
}

} // namespace qorv
