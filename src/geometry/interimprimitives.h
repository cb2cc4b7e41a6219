// Interim copies of the basic plane primitives used by transforms, conics and measurements.
// Internal linkage on purpose: they stand in until the shared primitives header is merged, and
// the `interim` namespace keeps them from clashing with it.
#pragma once

#include "model/element.h"

#include <cmath>
#include <numbers>

namespace qorv::interim {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kMinDistance = 0.0001; // two defining points count as distinct
constexpr double kTiny = 1e-8;          // measures and angles below it are 0

inline Point2 pointOf(const Element& e) {
    return Point2{e.value[0], e.value[1]};
}
inline Point2 firstPointOf(const Element& e) {
    return Point2{e.value[0], e.value[1]};
}
inline Point2 secondPointOf(const Element& e) {
    return Point2{e.value[2], e.value[3]};
}

inline double distance(Point2 a, Point2 b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// The point at signed distance d from a towards b.
inline Point2 pointAlong(Point2 a, Point2 b, double d) {
    double len = distance(a, b);
    if (len < 1e-12) len = 1e-12;
    const double t = d / len;
    return Point2{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// The line through p perpendicular to ab, its second point turned a quarter turn clockwise.
inline bool perpendicularThrough(Point2 a, Point2 b, Point2 p, Point2& q1, Point2& q2) {
    if (distance(a, b) < kMinDistance) return false;
    q1 = p;
    q2 = Point2{p.x + (b.y - a.y), p.y - (b.x - a.x)};
    return true;
}

// Polar angle of a direction in [0, 2pi); the direction must not be zero.
inline double polarAngle(double dx, double dy) {
    if (dx == 0.0) return dy > 0 ? kPi / 2 : 3 * kPi / 2;
    double a = std::atan(dy / dx);
    if (dx < 0)
        a += kPi;
    else if (dy < 0)
        a += kTwoPi;
    return a;
}

// Counter-clockwise angle from ray v->p1 to ray v->p2, in [0, 2pi).
inline bool orientedAngle(Point2 p1, Point2 v, Point2 p2, double& out) {
    if ((p1.x == v.x && p1.y == v.y) || (p2.x == v.x && p2.y == v.y)) return false;
    double r = polarAngle(p2.x - v.x, p2.y - v.y) - polarAngle(p1.x - v.x, p1.y - v.y);
    if (std::fabs(r) < kTiny) r = 0.0;
    if (r < 0) r += kTwoPi;
    out = r;
    return true;
}

// Angle between rays v->p1 and v->p2, in [0, pi].
inline bool unorientedAngle(Point2 p1, Point2 v, Point2 p2, double& out) {
    if ((p1.x == v.x && p1.y == v.y) || (p2.x == v.x && p2.y == v.y)) return false;
    const double ux = p1.x - v.x, uy = p1.y - v.y, wx = p2.x - v.x, wy = p2.y - v.y;
    double c = (ux * wx + uy * wy) / (std::sqrt(ux * ux + uy * uy) * std::sqrt(wx * wx + wy * wy));
    if (c > 1) c = 1;
    if (c < -1) c = -1;
    out = std::acos(c);
    return true;
}

inline bool areCollinear(Point2 a, Point2 b, Point2 c) {
    if (distance(a, b) < kMinDistance || distance(b, c) < kMinDistance ||
        distance(a, c) < kMinDistance)
        return true;
    double ang = 0;
    if (!unorientedAngle(a, b, c, ang)) return true;
    return std::fabs(ang) < kMinDistance || std::fabs(ang - kPi) < kMinDistance;
}

// Intersection of the lines a1b1 and a2b2.
inline bool intersectLines(Point2 a1, Point2 b1, Point2 a2, Point2 b2, Point2& out) {
    // Lines given by very close points are re-conditioned to points about 1 apart.
    if (distance(a1, b1) < 0.1) a1 = pointAlong(a1, b1, 1.0);
    if (distance(a2, b2) < 0.1) a2 = pointAlong(a2, b2, 1.0);
    const double dx1 = b1.x - a1.x, dy1 = b1.y - a1.y;
    const double dx2 = b2.x - a2.x, dy2 = b2.y - a2.y;
    const bool slope1 = dx1 != 0.0, slope2 = dx2 != 0.0;
    if (!slope1 && !slope2) return false;
    if (slope1 && slope2 && std::fabs(dy1 / dx1 - dy2 / dx2) < 1e-6) return false;
    // dy x - dx y = dy ax - dx ay
    const double c1 = dy1 * a1.x - dx1 * a1.y, c2 = dy2 * a2.x - dx2 * a2.y;
    const double det = dy1 * (-dx2) - dy2 * (-dx1);
    if (std::fabs(det) < 1e-6) return false;
    out.x = (c1 * (-dx2) - c2 * (-dx1)) / det;
    out.y = (dy1 * c2 - dy2 * c1) / det;
    return std::isfinite(out.x) && std::isfinite(out.y);
}

// True when x lies behind the origin of the ray origin->through.
inline bool isBeyondOrigin(Point2 origin, Point2 through, Point2 x) {
    if (distance(x, origin) >= distance(x, through)) return false;
    const double dx = through.x - origin.x, dy = through.y - origin.y;
    return (x.x - origin.x) * dx + (x.y - origin.y) * dy < 0.0;
}

// Distance from p to the line ab (distance to a when a and b coincide).
inline double distanceToLine(Point2 p, Point2 a, Point2 b) {
    const double len = distance(a, b);
    if (len < 1e-12) return distance(p, a);
    return std::fabs((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / len;
}

} // namespace
} // namespace qorv::interim
