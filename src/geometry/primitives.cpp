#include "geometry/primitives.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qorv {

namespace {
constexpr double Pi = std::numbers::pi;
}

double distance(Point2 a, Point2 b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

Point2 pointAlong(Point2 a, Point2 b, double d) {
    double len = distance(a, b);
    if (len < Tol::ZeroLength) len = Tol::ZeroLength;
    const double t = d / len;
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

bool perpendicularThrough(Point2 a, Point2 b, Point2 p, Point2& first, Point2& second) {
    if (distance(a, b) < Tol::Distinct) return false;
    first = p;
    second = {p.x + (b.y - a.y), p.y - (b.x - a.x)};
    return true;
}

bool parallelThrough(Point2 a, Point2 b, Point2 p, Point2& first, Point2& second) {
    if (distance(a, b) < Tol::Distinct) return false;
    first = p;
    second = p + (b - a);
    return true;
}

Point2 footOfPerpendicular(Point2 a, Point2 b, Point2 p) {
    const Point2 d = b - a;
    const double len2 = dot(d, d);
    if (!(len2 > 0.0)) return a;
    const double t = dot(p - a, d) / len2;
    return a + t * d;
}

double distanceToLine(Point2 p, Point2 a, Point2 b) {
    const double len = distance(a, b);
    if (len < 1e-12) return distance(p, a);
    return std::fabs(cross(b - a, p - a)) / len;
}

double polarAngle(Point2 d) {
    if (d.x == 0.0) return d.y > 0 ? Pi / 2 : 3 * Pi / 2;
    double a = std::atan(d.y / d.x);
    if (d.x < 0)
        a += Pi;
    else if (d.y < 0)
        a += 2 * Pi;
    return a;
}

bool orientedAngle(Point2 p1, Point2 v, Point2 p2, double& angle) {
    const Point2 d1 = p1 - v, d2 = p2 - v;
    if ((d1.x == 0.0 && d1.y == 0.0) || (d2.x == 0.0 && d2.y == 0.0)) return false;
    double a = polarAngle(d2) - polarAngle(d1);
    if (std::fabs(a) < Tol::Tiny) a = 0.0;
    if (a < 0) a += 2 * Pi;
    if (!std::isfinite(a)) return false;
    angle = a;
    return true;
}

bool unorientedAngle(Point2 p1, Point2 v, Point2 p2, double& angle) {
    const Point2 d1 = p1 - v, d2 = p2 - v;
    if ((d1.x == 0.0 && d1.y == 0.0) || (d2.x == 0.0 && d2.y == 0.0)) return false;
    const double n = std::hypot(d1.x, d1.y) * std::hypot(d2.x, d2.y);
    if (!(n > 0.0) || !std::isfinite(n)) return false;
    const double c = std::clamp(dot(d1, d2) / n, -1.0, 1.0);
    angle = std::acos(c);
    return std::isfinite(angle);
}

bool areCollinear(Point2 a, Point2 b, Point2 c) {
    if (distance(a, b) < Tol::Distinct || distance(b, c) < Tol::Distinct ||
        distance(a, c) < Tol::Distinct)
        return true;
    double angle = 0;
    if (!unorientedAngle(a, b, c, angle)) return true;
    return angle < Tol::Distinct || std::fabs(angle - Pi) < Tol::Distinct;
}

int solveQuadratic(double c2, double c1, double c0, double roots[2]) {
    if (std::fabs(c2) < Tol::Tiny) {
        if (std::fabs(c1) < Tol::Tiny) return 0;
        roots[0] = -c0 / c1;
        return std::isfinite(roots[0]) ? 1 : 0;
    }
    const double disc = c1 * c1 - 4 * c2 * c0;
    if (!std::isfinite(disc) || disc <= Tol::NegativeDiscriminant) return 0;
    if (std::fabs(disc) >= Tol::Tiny) {
        // The cancellation-free pair; roots[0] keeps the sign convention (-c1 + sqrt D) / 2c2.
        const double s = std::sqrt(std::fabs(disc));
        if (disc < 0) {
            // A slightly negative discriminant taken as its magnitude: the roots keep their sum.
            roots[0] = (-c1 + s) / (2 * c2);
            roots[1] = -(c1 / c2 + roots[0]);
            return std::isfinite(roots[0]) && std::isfinite(roots[1]) ? 2 : 0;
        }
        const double q = -0.5 * (c1 + (c1 >= 0 ? s : -s));
        const double big = q / c2, small = c0 / q;
        if (c1 >= 0) {
            roots[0] = small; // (-c1 + s) / 2c2
            roots[1] = big;
        } else {
            roots[0] = big;
            roots[1] = small;
        }
        return std::isfinite(roots[0]) && std::isfinite(roots[1]) ? 2 : 0;
    }
    roots[0] = -c1 / (2 * c2);
    return std::isfinite(roots[0]) ? 1 : 0;
}

int solveCubic(double c3, double c2, double c1, double c0, double roots[3]) {
    if (std::fabs(c3) < Tol::Tiny) return solveQuadratic(c2, c1, c0, roots);
    const double a = c2 / c3, b = c1 / c3, c = c0 / c3;
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c)) return 0;
    // Depressed cubic t^3 + p t + q with x = t - a/3.
    const double p = b - a * a / 3;
    const double q = 2 * a * a * a / 27 - a * b / 3 + c;
    const double disc = q * q / 4 + p * p * p / 27;
    double t[3];
    int n = 0;
    if (disc > 0) {
        const double s = std::sqrt(disc);
        t[n++] = std::cbrt(-q / 2 + s) + std::cbrt(-q / 2 - s);
    } else if (p == 0.0) {
        t[n++] = std::cbrt(-q);
    } else {
        const double m = 2 * std::sqrt(-p / 3);
        const double arg = std::clamp(3 * q / (p * m), -1.0, 1.0);
        const double phi = std::acos(arg) / 3;
        for (int k = 0; k < 3; ++k)
            t[n++] = m * std::cos(phi - 2 * Pi * k / 3);
    }
    auto f = [&](double x) { return ((c3 * x + c2) * x + c1) * x + c0; };
    auto df = [&](double x) { return (3 * c3 * x + 2 * c2) * x + c1; };
    int count = 0;
    for (int i = 0; i < n; ++i) {
        double x = t[i] - a / 3;
        // A few Newton steps recover the digits lost in the closed form.
        for (int it = 0; it < 4; ++it) {
            const double d = df(x);
            if (d == 0.0) break;
            const double nx = x - f(x) / d;
            if (!std::isfinite(nx) || std::fabs(f(nx)) >= std::fabs(f(x))) break;
            x = nx;
        }
        if (std::isfinite(x)) roots[count++] = x;
    }
    std::sort(roots, roots + count);
    // A double root found twice counts once.
    int unique = 0;
    for (int i = 0; i < count; ++i) {
        if (unique > 0 &&
            std::fabs(roots[i] - roots[unique - 1]) <= 1e-12 * std::max(1.0, std::fabs(roots[i])))
            continue;
        roots[unique++] = roots[i];
    }
    return unique;
}

bool isBeyondOrigin(Point2 origin, Point2 through, Point2 x) {
    const Point2 d = through - origin;
    const double len2 = dot(d, d);
    if (!(len2 > 0.0)) return false;
    if (!(distance(x, origin) < distance(x, through))) return false;
    const double s = dot(x - origin, d) / len2;
    return !(s >= 0.0 && s <= 1.0);
}

} // namespace qorv
