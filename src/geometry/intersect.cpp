#include "geometry/intersect.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace qorv {

double evaluateConic(const double k[6], Point2 p) {
    return k[0] * p.y * p.y + k[1] * p.x * p.y + k[2] * p.x * p.x + k[3] * p.y + k[4] * p.x + k[5];
}

Point2 conicGradient(const double k[6], Point2 p) {
    return {k[1] * p.y + 2 * k[2] * p.x + k[4], 2 * k[0] * p.y + k[1] * p.x + k[3]};
}

void circleConic(Point2 c, double r, double k[6]) {
    k[0] = 1;
    k[1] = 0;
    k[2] = 1;
    k[3] = -2 * c.y;
    k[4] = -2 * c.x;
    k[5] = c.x * c.x + c.y * c.y - r * r;
}

int intersectLines(Point2 a1, Point2 b1, Point2 a2, Point2 b2, Point2& out) {
    // Points about 1 apart keep the determinant test meaningful for very short lines.
    if (distance(a1, b1) < Tol::ShortLine) a1 = pointAlong(a1, b1, 1.0);
    if (distance(a2, b2) < Tol::ShortLine) a2 = pointAlong(a2, b2, 1.0);
    const double dx1 = b1.x - a1.x, dy1 = b1.y - a1.y;
    const double dx2 = b2.x - a2.x, dy2 = b2.y - a2.y;
    const bool slope1 = dx1 != 0.0, slope2 = dx2 != 0.0;
    if (!slope1 && !slope2) return 0;
    if (slope1 && slope2 && std::fabs(dy1 / dx1 - dy2 / dx2) < Tol::Parallel) return 0;
    // a x + b y = c for each line, solved by Cramer's rule.
    const double ea = dy1, eb = -dx1, ec = ea * a1.x + eb * a1.y;
    const double fa = dy2, fb = -dx2, fc = fa * a2.x + fb * a2.y;
    const double det = ea * fb - fa * eb;
    if (!(std::fabs(det) >= Tol::Parallel)) return 0;
    const Point2 p{(ec * fb - fc * eb) / det, (ea * fc - fa * ec) / det};
    if (!isFinite(p)) return 0;
    out = p;
    return 1;
}

namespace {

// The unit vector from a towards b; false when they (nearly) coincide.
bool unitDirection(Point2 a, Point2 b, Point2& u) {
    const double len = distance(a, b);
    if (!(len >= Tol::ZeroLength) || !std::isfinite(len)) return false;
    u = (1 / len) * (b - a);
    return true;
}

// The points p + t u for the roots t of c2 t^2 + c1 t + c0 = 0, the one further along u first.
int rootsAlong(Point2 p, Point2 u, double c2, double c1, double c0, Point2 out[2]) {
    double t[2];
    const int n = solveQuadratic(c2, c1, c0, t);
    if (n == 2 && t[0] < t[1]) std::swap(t[0], t[1]);
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const Point2 x = p + t[i] * u;
        if (isFinite(x)) out[count++] = x;
    }
    return count;
}

} // namespace

// Both routines write the quadratic from a point that belongs to the line itself, not to its
// defining points, with a unit direction: its discriminant, and so the count near tangency, is
// the same wherever the line's points lie.

int intersectLineCircle(Point2 a, Point2 b, Point2 c, double r, Point2 out[2]) {
    Point2 u;
    if (!unitDirection(a, b, u) || !std::isfinite(r)) return 0;
    const Point2 foot = footOfPerpendicular(a, b, c);
    const double h = distance(c, foot);
    if (std::fabs(h - r) < Tol::Distinct) {
        if (!isFinite(foot)) return 0;
        out[0] = foot;
        return 1;
    }
    // From the foot of the perpendicular: t^2 + (h^2 - r^2) = 0.
    return rootsAlong(foot, u, 1.0, 0.0, (h - r) * (h + r), out);
}

int intersectCircles(Point2 c1, double r1, Point2 c2, double r2, Point2 out[2]) {
    const double d = distance(c1, c2);
    if (!(d >= Tol::Distinct) || !std::isfinite(d) || !std::isfinite(r1) || !std::isfinite(r2))
        return 0;
    if (std::fabs(r1 + r2 - d) < Tol::Parallel) {
        out[0] = pointAlong(c2, c1, r2);
        return 1;
    }
    const double rmin = std::min(r1, r2), rmax = std::max(r1, r2);
    if (std::fabs(rmin + d - rmax) < Tol::Parallel) {
        const bool firstLarger = r1 >= r2;
        out[0] = firstLarger ? pointAlong(c1, c2, rmax) : pointAlong(c2, c1, rmax);
        return 1;
    }
    if (r1 + r2 < d || std::fabs(r1 - r2) > d) return 0;
    const double v = (r2 * r2 + d * d - r1 * r1) / (2 * d);
    const Point2 m = c2 + (v / d) * (c1 - c2);
    Point2 p, q;
    if (!perpendicularThrough(c2, c1, m, p, q)) return 0;
    return intersectLineCircle(p, q, c1, r1, out);
}

int intersectLineConic(Point2 a, Point2 b, const double k[6], Point2 out[2]) {
    Point2 u;
    if (!unitDirection(a, b, u)) return 0;
    const double c2 = k[0] * u.y * u.y + k[1] * u.x * u.y + k[2] * u.x * u.x;
    // From the middle of the chord, where the conic's value along the line is extreme (c1 = 0),
    // or from the single crossing of a line along an asymptote or a parabola's axis. Two steps:
    // the second removes what the first lost when a lies far away.
    Point2 p = a;
    for (int i = 0; i < 2; ++i) {
        const double c1 = dot(conicGradient(k, p), u);
        double t;
        if (std::fabs(c2) >= Tol::Tiny)
            t = -c1 / (2 * c2);
        else if (c1 != 0.0)
            t = -evaluateConic(k, p) / c1;
        else
            break;
        const Point2 q = p + t * u;
        if (!isFinite(q)) break;
        p = q;
    }
    const double f = evaluateConic(k, p);
    const Point2 g = conicGradient(k, p);
    // As with circles, a line within 0.0001 of touching the conic (its gap at the middle of the
    // chord, to first order) is tangent: one point, on the line. A tolerance in distance, unlike
    // one on the discriminant, holds for conics of any size.
    if (std::fabs(c2) >= Tol::Tiny && std::fabs(f) < Tol::Distinct * std::hypot(g.x, g.y)) {
        out[0] = p;
        return 1;
    }
    const int n = rootsAlong(p, u, c2, dot(g, u), f, out);
    // Far from the middle (a line nearly along an asymptote) a root loses digits: a Newton step
    // along the line restores them, taken only when it lowers the value and stays well within
    // the stretch between the roots. A double root is left where it is.
    if (n == 1 && std::fabs(c2) >= Tol::Tiny) return n;
    const double apart = n == 2 ? distance(out[0], out[1]) : HUGE_VAL;
    for (int i = 0; i < n; ++i) {
        const double f = evaluateConic(k, out[i]), g = dot(conicGradient(k, out[i]), u);
        if (!(std::fabs(g) > 0)) continue;
        const double t = -f / g;
        const Point2 q = out[i] + t * u;
        if (std::fabs(t) < 0.25 * apart && isFinite(q) &&
            std::fabs(evaluateConic(k, q)) < std::fabs(f))
            out[i] = q;
    }
    return n;
}

bool onSegment(Point2 a, Point2 b, Point2 x, double tol) {
    const double len = distance(a, b);
    return distance(a, x) <= len + tol && distance(b, x) <= len + tol;
}

// ---- conic with conic -------------------------------------------------------------------------

ScaledFrame frameAround(const Point2* pts, int n) {
    ScaledFrame f;
    double lo[2] = {HUGE_VAL, HUGE_VAL}, hi[2] = {-HUGE_VAL, -HUGE_VAL};
    for (int i = 0; i < n; ++i) {
        if (!isFinite(pts[i])) continue;
        lo[0] = std::min(lo[0], pts[i].x);
        lo[1] = std::min(lo[1], pts[i].y);
        hi[0] = std::max(hi[0], pts[i].x);
        hi[1] = std::max(hi[1], pts[i].y);
    }
    if (!(lo[0] <= hi[0])) return f;
    f.origin = {lo[0] + (hi[0] - lo[0]) / 2, lo[1] + (hi[1] - lo[1]) / 2};
    const double half = std::hypot(hi[0] - lo[0], hi[1] - lo[1]) / 2;
    f.scale = half > 0 && std::isfinite(half) ? half : 1.0;
    return f;
}

namespace {

using Mat3 = double[3][3];

double maxAbs(const double* v, int n) {
    double m = 0;
    for (int i = 0; i < n; ++i)
        m = std::max(m, std::fabs(v[i]));
    return m;
}

// The centre of a central conic.
bool conicCentre(const double k[6], Point2& c) {
    const double a = k[0], b = k[1], cc = k[2];
    const double q = std::max({std::fabs(a), std::fabs(b), std::fabs(cc)});
    const double det = 4 * a * cc - b * b;
    if (!(q > 0) || std::fabs(det) <= 1e-9 * q * q) return false;
    c = {(-2 * a * k[4] + b * k[3]) / det, (-2 * cc * k[3] + b * k[4]) / det};
    return isFinite(c);
}

// Coefficients of the same conic in frame coordinates u (x = origin + scale u), divided by their
// largest magnitude. The linear and constant terms of a conic whose centre lies far away come
// from the cancellation of large ones: they are formed in long double.
bool toFrame(const double k[6], const ScaledFrame& f, double out[6]) {
    using Real = long double;
    const Real s = f.scale, x = f.origin.x, y = f.origin.y;
    const Real a = k[0], b = k[1], c = k[2], d = k[3], e = k[4];
    const Real v[6] = {a * s * s,
                       b * s * s,
                       c * s * s,
                       s * (2 * a * y + b * x + d),
                       s * (b * y + 2 * c * x + e),
                       ((a * y + b * x + d) * y + (c * x + e) * x) + Real(k[5])};
    Real m = 0;
    for (Real t : v)
        m = std::max(m, t < 0 ? -t : t);
    if (!(m > 0) || !std::isfinite(double(m))) return false;
    for (int i = 0; i < 6; ++i)
        out[i] = double(v[i] / m);
    return true;
}

// Symmetric matrix of the conic for homogeneous (x, y, 1).
void conicMatrix(const double k[6], Mat3 m) {
    m[0][0] = k[2];
    m[1][1] = k[0];
    m[2][2] = k[5];
    m[0][1] = m[1][0] = k[1] / 2;
    m[0][2] = m[2][0] = k[4] / 2;
    m[1][2] = m[2][1] = k[3] / 2;
}

double det3(const double* c0, const double* c1, const double* c2) {
    // Columns c0, c1, c2.
    return c0[0] * (c1[1] * c2[2] - c2[1] * c1[2]) - c1[0] * (c0[1] * c2[2] - c2[1] * c0[2]) +
           c2[0] * (c0[1] * c1[2] - c1[1] * c0[2]);
}

void columns(const Mat3 m, double c[3][3]) {
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            c[j][i] = m[i][j];
}

// Splits a degenerate conic into its lines (homogeneous a, b, c of a x + b y + c = 0).
// Returns 2 for two real lines, 1 for a double line, 0 when the lines are not real.
int splitDegenerate(const Mat3 m, double lines[2][3]) {
    double scale = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            scale = std::max(scale, std::fabs(m[i][j]));
    if (!(scale > 0)) return 0;
    // Adjugate: for m = g h^T + h g^T it is -p p^T with p = g x h, the lines' common point.
    double adj[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            adj[i][j] = m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0];
        }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(adj[i][i]) > std::fabs(adj[best][best])) best = i;
    const double b = adj[best][best];
    if (std::fabs(b) <= 1e-10 * scale * scale) {
        // Rank one: m is a multiple of l l^T.
        int r = 0;
        for (int i = 1; i < 3; ++i)
            if (std::fabs(m[i][i]) > std::fabs(m[r][r])) r = i;
        if (!(std::fabs(m[r][r]) > 0)) return 0;
        for (int j = 0; j < 3; ++j)
            lines[0][j] = m[r][j];
        return 1;
    }
    if (b > 0) return 0; // complex conjugate lines
    const double beta = std::sqrt(-b);
    double p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = adj[i][best] / beta;
    // m + [p]x has rank one: an outer product of the two lines.
    double c[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            c[i][j] = m[i][j];
    c[0][1] += p[2];
    c[0][2] -= p[1];
    c[1][0] -= p[2];
    c[1][2] += p[0];
    c[2][0] += p[1];
    c[2][1] -= p[0];
    int bi = 0, bj = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (std::fabs(c[i][j]) > std::fabs(c[bi][bj])) {
                bi = i;
                bj = j;
            }
    if (!(std::fabs(c[bi][bj]) > 0)) return 0;
    for (int j = 0; j < 3; ++j)
        lines[0][j] = c[bi][j];
    for (int i = 0; i < 3; ++i)
        lines[1][i] = c[i][bj];
    return 2;
}

// The point of the line a x + b y + c = 0 nearest the origin and its unit direction.
bool linePointAndDirection(const double l[3], Point2& p, Point2& u) {
    const double n2 = l[0] * l[0] + l[1] * l[1];
    if (!(n2 > 1e-24 * l[2] * l[2]) || !(n2 > 0)) return false; // the line at infinity
    const double n = std::sqrt(n2);
    p = {-l[0] * l[2] / n2, -l[1] * l[2] / n2};
    u = {-l[1] / n, l[0] / n};
    return isFinite(p) && isFinite(u);
}

// Puts candidates on the first conic in an order that belongs to that conic alone, so that it
// does not depend on which member of the pencil gave them: counter-clockwise about the centre
// from the +x direction for a central conic, along the vertex tangent for a parabola.
void orderOnConic(const double k[6], Point2* pts, int n) {
    double key[4];
    Point2 c;
    if (conicCentre(k, c)) {
        for (int i = 0; i < n; ++i) {
            const Point2 d = pts[i] - c;
            key[i] = (d.x == 0.0 && d.y == 0.0) ? 0.0 : polarAngle(d);
        }
    } else {
        Point2 col1{k[2], k[1] / 2}, col2{k[1] / 2, k[0]};
        Point2 u = dot(col1, col1) >= dot(col2, col2) ? col1 : col2;
        if (u.x < 0 || (u.x == 0.0 && u.y < 0)) u = (-1.0) * u;
        for (int i = 0; i < n; ++i)
            key[i] = dot(pts[i], u);
    }
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && key[j] < key[j - 1]; --j) {
            std::swap(key[j], key[j - 1]);
            std::swap(pts[j], pts[j - 1]);
        }
}

// Newton steps on the pair of equations, each accepted only while it lowers the residual.
Point2 polish(const double k1[6], const double k2[6], Point2 x) {
    double res = std::fabs(evaluateConic(k1, x)) + std::fabs(evaluateConic(k2, x));
    for (int it = 0; it < 999; ++it) {
        const double f1 = evaluateConic(k1, x), f2 = evaluateConic(k2, x);
        const Point2 g1 = conicGradient(k1, x), g2 = conicGradient(k2, x);
        const double det = g1.x * g2.y - g1.y * g2.x;
        if (!(std::fabs(det) > 1e-300)) break;
        const Point2 step{(-f1 * g2.y + f2 * g1.y) / det, (-f2 * g1.x + f1 * g2.x) / det};
        const Point2 nx = x + step;
        if (!isFinite(nx)) break;
        const double nres = std::fabs(evaluateConic(k1, nx)) + std::fabs(evaluateConic(k2, nx));
        if (!(nres < res)) break;
        x = nx;
        res = nres;
        if (std::hypot(step.x, step.y) <= Tol::Tiny) break;
    }
    return x;
}

// Sixteen units in the last place: how far rounding may move a computed position, relative to it.
constexpr double Rounding = 16 * std::numeric_limits<double>::epsilon();

// A polished point and how well the two curves pin it down: their unit normals there and its
// distance from each (to first order, |F| / |grad F|).
struct Crossing {
    Point2 x, n1, n2;
    double e1 = 0, e2 = 0;
    bool measure(const double* a, const double* b, Point2 at) {
        x = at;
        const Point2 g1 = conicGradient(a, x), g2 = conicGradient(b, x);
        const double l1 = std::hypot(g1.x, g1.y), l2 = std::hypot(g2.x, g2.y);
        if (!(l1 > 0) || !(l2 > 0) || !isFinite(x)) return false;
        n1 = (1 / l1) * g1;
        n2 = (1 / l2) * g2;
        e1 = std::fabs(evaluateConic(a, x)) / l1;
        e2 = std::fabs(evaluateConic(b, x)) / l2;
        return std::isfinite(e1) && std::isfinite(e2);
    }
    double error() const { return std::max(e1, e2); }
    double sine() const { return std::fabs(cross(n1, n2)); } // of the crossing angle
    // Whether q is the same crossing: nearer than `tol`, or inside the band where both curves
    // pass within their own errors (and rounding) of both points. Where the curves run nearly
    // parallel, as along a shared asymptote, that band is long and holds a single crossing.
    bool same(const Crossing& q, double tol) const {
        const Point2 d = q.x - x;
        if (std::hypot(d.x, d.y) < tol) return true;
        const double slack = Rounding * (std::hypot(x.x, x.y) + std::hypot(q.x.x, q.x.y));
        return std::fabs(dot(d, n1)) <= e1 + q.e1 + slack &&
               std::fabs(dot(d, n2)) <= e2 + q.e2 + slack;
    }
};

// Where the line p + t u (u a unit vector) meets the conic, or, when it just misses it, where it
// comes nearest: starting points for polishing, up to 2.
int lineStarts(Point2 p, Point2 u, const double k[6], Point2 out[2]) {
    const double c2 = k[0] * u.y * u.y + k[1] * u.x * u.y + k[2] * u.x * u.x;
    const double c1 = dot(conicGradient(k, p), u), c0 = evaluateConic(k, p);
    double t[2];
    int n = 0;
    if (c2 == 0.0) {
        if (c1 != 0.0) t[n++] = -c0 / c1;
    } else {
        const double disc = c1 * c1 - 4 * c2 * c0;
        if (disc > 0) {
            const double q = -0.5 * (c1 + std::copysign(std::sqrt(disc), c1));
            t[n++] = q / c2;
            if (q != 0.0) t[n++] = c0 / q;
        } else {
            t[n++] = -c1 / (2 * c2);
        }
    }
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const Point2 x = p + t[i] * u;
        if (isFinite(x)) out[count++] = x;
    }
    return count;
}

// Crossings of two conics written in one well-scaled frame. Every degenerate member of their
// pencil is a pair of lines through the crossings; where those lines meet either conic (or
// nearly do), a point is polished on the pair and kept when it lies within 0.0001 of both curves
// and near enough for a double to place it that well. Points the two curves cannot tell apart
// (Crossing::same) are one crossing, so a near tangency gives one point. The pencil is always
// posed with the two conics in the same order, so exchanging them changes nothing.
int crossingsInFrame(const double* a, const double* b, const ScaledFrame& frame, Point2 out[4]) {
    const double tol = Tol::Distinct / frame.scale;
    // Beyond this distance from the frame's origin a double cannot place a point within `tol`.
    const double reach =
        (Tol::Distinct / Rounding - std::hypot(frame.origin.x, frame.origin.y)) / frame.scale;
    if (std::lexicographical_compare(b, b + 6, a, a + 6)) std::swap(a, b);
    Mat3 ma, mb;
    conicMatrix(a, ma);
    conicMatrix(b, mb);
    double ca[3][3], cb[3][3];
    columns(ma, ca);
    columns(mb, cb);
    // det(ma + t mb) = c3 t^3 + c2 t^2 + c1 t + c0
    double c[4];
    c[0] = det3(ca[0], ca[1], ca[2]);
    c[1] = det3(cb[0], ca[1], ca[2]) + det3(ca[0], cb[1], ca[2]) + det3(ca[0], ca[1], cb[2]);
    c[2] = det3(ca[0], cb[1], cb[2]) + det3(cb[0], ca[1], cb[2]) + det3(cb[0], cb[1], ca[2]);
    c[3] = det3(cb[0], cb[1], cb[2]);
    const double cm = maxAbs(c, 4);
    if (!(cm > 0) || !std::isfinite(cm)) return 0;
    for (double& v : c)
        v /= cm;
    double roots[3];
    const int nr = solveCubic(c[3], c[2], c[1], c[0], roots);

    // Kept: the best-pinned point of each crossing; beyond four, the most transversal ones.
    Crossing kept[4];
    int count = 0;
    auto consider = [&](Point2 start) {
        Crossing c;
        if (!c.measure(a, b, polish(a, b, start)) || !(c.error() <= tol) ||
            !(std::hypot(c.x.x, c.x.y) <= reach))
            return;
        int weakest = 0;
        for (int i = 0; i < count; ++i) {
            if (kept[i].same(c, tol)) {
                if (c.error() < kept[i].error()) kept[i] = c;
                return;
            }
            if (kept[i].sine() < kept[weakest].sine()) weakest = i;
        }
        if (count < 4)
            kept[count++] = c;
        else if (c.sine() > kept[weakest].sine())
            kept[weakest] = c;
    };
    // One member per real root, and b itself when the cubic lost its degree.
    const int members = nr + (std::fabs(c[3]) < Tol::Tiny ? 1 : 0);
    for (int i = 0; i < members; ++i) {
        Mat3 m;
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 3; ++col)
                m[r][col] = i < nr ? ma[r][col] + roots[i] * mb[r][col] : mb[r][col];
        double lines[2][3];
        const int nl = splitDegenerate(m, lines);
        for (int l = 0; l < nl; ++l) {
            Point2 p, u, starts[2];
            if (!linePointAndDirection(lines[l], p, u)) continue;
            for (const double* k : {a, b}) {
                const int n = lineStarts(p, u, k, starts);
                for (int j = 0; j < n; ++j)
                    consider(starts[j]);
            }
        }
    }
    for (int i = 0; i < count; ++i)
        out[i] = kept[i].x;
    return count;
}

// Frame points back to the plane, in the first conic's order.
int toPlane(const double k[6], const ScaledFrame& f, Point2 pts[4], int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const Point2 x = f.origin + f.scale * pts[i];
        if (isFinite(x)) pts[count++] = x;
    }
    orderOnConic(k, pts, count);
    return count;
}

} // namespace

int intersectConics(const double k1[6], const double k2[6], const ScaledFrame& frame,
                    Point2 out[4]) {
    bool same = true;
    for (int i = 0; i < 6; ++i)
        same = same && std::fabs(k1[i] - k2[i]) <= Tol::Distinct;
    if (same || !(frame.scale > 0) || !std::isfinite(frame.scale)) return 0;
    double n1[6], n2[6];
    if (!toFrame(k1, frame, n1) || !toFrame(k2, frame, n2)) return 0;
    const int n = crossingsInFrame(n1, n2, frame, out);
    return toPlane(k1, frame, out, n);
}

int intersectConicCircle(const double k[6], Point2 c, double r, Point2 out[4]) {
    const ScaledFrame frame{c, r};
    static constexpr double unitCircle[6] = {1, 0, 1, 0, 0, -1};
    double n[6];
    if (!(r > 0) || !std::isfinite(r) || !toFrame(k, frame, n)) return 0;
    const int count = crossingsInFrame(n, unitCircle, frame, out);
    return toPlane(k, frame, out, count);
}

} // namespace qorv
