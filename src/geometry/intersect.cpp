#include "geometry/intersect.h"

#include <algorithm>
#include <cmath>
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

// Solves F(a + s dir) = 0 for s, where dir is the line's direction scaled to unit x-step (or unit
// y-step for lines within 0.001 of vertical): the quadratic is then the one in x (or y) itself,
// translated to start at a, which keeps its discriminant and avoids cancellation. The candidates
// are ordered further-along-the-line first.
template <class Coefficients>
int solveAlongLine(Point2 a, Point2 b, Coefficients&& coefficients, Point2 out[2]) {
    const Point2 d = b - a;
    if (!(std::hypot(d.x, d.y) >= Tol::ZeroLength)) return 0;
    Point2 dir;
    double sense;
    if (std::fabs(d.x) > Tol::Vertical || std::fabs(d.x) >= std::fabs(d.y)) {
        dir = {1.0, d.y / d.x};
        sense = d.x > 0 ? 1.0 : -1.0;
    } else {
        dir = {d.x / d.y, 1.0};
        sense = d.y > 0 ? 1.0 : -1.0;
    }
    double c2, c1, c0;
    coefficients(dir, c2, c1, c0);
    double s[2];
    const int n = solveQuadratic(c2, c1, c0, s);
    if (n == 2 && (s[0] - s[1]) * sense < 0) std::swap(s[0], s[1]);
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const Point2 p = a + s[i] * dir;
        if (isFinite(p)) out[count++] = p;
    }
    return count;
}

} // namespace

int intersectLineCircle(Point2 a, Point2 b, Point2 c, double r, Point2 out[2]) {
    if (!(distance(a, b) >= Tol::ZeroLength) || !std::isfinite(r)) return 0;
    const Point2 foot = footOfPerpendicular(a, b, c);
    if (std::fabs(distance(c, foot) - r) < Tol::Distinct) {
        if (!isFinite(foot)) return 0;
        out[0] = foot;
        return 1;
    }
    const Point2 ac = a - c;
    return solveAlongLine(
        a, b,
        [&](Point2 dir, double& c2, double& c1, double& c0) {
            c2 = dot(dir, dir);
            c1 = 2 * dot(ac, dir);
            c0 = dot(ac, ac) - r * r;
        },
        out);
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
    const double fa = evaluateConic(k, a);
    const Point2 ga = conicGradient(k, a);
    return solveAlongLine(
        a, b,
        [&](Point2 dir, double& c2, double& c1, double& c0) {
            c2 = k[0] * dir.y * dir.y + k[1] * dir.x * dir.y + k[2] * dir.x * dir.x;
            c1 = dot(ga, dir);
            c0 = fa;
        },
        out);
}

bool onSegment(Point2 a, Point2 b, Point2 x, double tol) {
    const double len = distance(a, b);
    return distance(a, x) <= len + tol && distance(b, x) <= len + tol;
}

// ---- conic with conic -------------------------------------------------------------------------

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

// A place near the curve and the curve's size, to pose the pencil in well-scaled coordinates:
// the centre and the semi-axis scale of a central conic, the vertex and focal scale of a parabola.
bool conicFrame(const double k[6], Point2& origin, double& scale) {
    const double q = std::max({std::fabs(k[0]), std::fabs(k[1]), std::fabs(k[2])});
    if (!(q > 0)) return false;
    Point2 c;
    if (conicCentre(k, c)) {
        const double s = std::sqrt(std::fabs(evaluateConic(k, c)) / q);
        if (!(s > 0) || !std::isfinite(s)) return false;
        origin = c;
        scale = s;
        return true;
    }
    // Parabola: the quadratic part is lambda u u^T.
    const double lambda = k[0] + k[2];
    if (lambda == 0.0) return false;
    Point2 col1{k[2], k[1] / 2}, col2{k[1] / 2, k[0]};
    Point2 u = dot(col1, col1) >= dot(col2, col2) ? col1 : col2;
    const double len = std::hypot(u.x, u.y);
    if (!(len > 0)) return false;
    u = (1 / len) * u;
    const Point2 n{-u.y, u.x};
    const Point2 g{k[4], k[3]};
    const double gu = dot(g, u), gn = dot(g, n);
    if (std::fabs(gn) <= 1e-12 * std::max(1.0, std::fabs(gu))) return false;
    const double alpha = -gu / (2 * lambda);
    const double beta = -(lambda * alpha * alpha + gu * alpha + k[5]) / gn;
    origin = alpha * u + beta * n;
    scale = std::fabs(gn / lambda);
    return isFinite(origin) && scale > 0 && std::isfinite(scale);
}

// Coefficients of the same conic in coordinates (u, v) with x = o.x + s u, y = o.y + s v,
// divided by their largest magnitude.
bool toFrame(const double k[6], Point2 o, double s, double out[6]) {
    out[0] = k[0] * s * s;
    out[1] = k[1] * s * s;
    out[2] = k[2] * s * s;
    out[3] = s * (2 * k[0] * o.y + k[1] * o.x + k[3]);
    out[4] = s * (k[1] * o.y + 2 * k[2] * o.x + k[4]);
    out[5] = evaluateConic(k, o);
    const double m = maxAbs(out, 6);
    if (!(m > 0) || !std::isfinite(m)) return false;
    for (int i = 0; i < 6; ++i)
        out[i] /= m;
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

// Two points of a line a x + b y + c = 0.
bool linePoints(const double l[3], Point2& p, Point2& q) {
    const double n2 = l[0] * l[0] + l[1] * l[1];
    if (!(n2 > 1e-24 * l[2] * l[2]) || !(n2 > 0)) return false; // the line at infinity
    const double n = std::sqrt(n2);
    p = {-l[0] * l[2] / n2, -l[1] * l[2] / n2};
    q = p + Point2{-l[1] / n, l[0] / n};
    return isFinite(p) && isFinite(q);
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

bool satisfies(const double k[6], Point2 p) {
    const Point2 g = conicGradient(k, p);
    return std::fabs(evaluateConic(k, p)) <= Tol::Distinct * std::max(1.0, std::hypot(g.x, g.y));
}

} // namespace

int intersectConics(const double k1[6], const double k2[6], Point2 out[4]) {
    bool same = true;
    for (int i = 0; i < 6; ++i)
        same = same && std::fabs(k1[i] - k2[i]) <= Tol::Distinct;
    if (same) return 0;

    Point2 origin{0, 0};
    double s = 1;
    if (!conicFrame(k1, origin, s) && !conicFrame(k2, origin, s)) {
        origin = {0, 0};
        s = 1;
    }
    double n1[6], n2[6];
    if (!toFrame(k1, origin, s, n1) || !toFrame(k2, origin, s, n2)) return 0;

    Mat3 m1, m2;
    conicMatrix(n1, m1);
    conicMatrix(n2, m2);
    double a[3][3], b[3][3];
    columns(m1, a);
    columns(m2, b);
    // det(m1 + t m2) = c3 t^3 + c2 t^2 + c1 t + c0
    double c[4];
    c[0] = det3(a[0], a[1], a[2]);
    c[1] = det3(b[0], a[1], a[2]) + det3(a[0], b[1], a[2]) + det3(a[0], a[1], b[2]);
    c[2] = det3(a[0], b[1], b[2]) + det3(b[0], a[1], b[2]) + det3(b[0], b[1], a[2]);
    c[3] = det3(b[0], b[1], b[2]);
    const double cm = maxAbs(c, 4);
    if (!(cm > 0) || !std::isfinite(cm)) return 0;
    for (double& v : c)
        v /= cm;
    double roots[3];
    const int nr = solveCubic(c[3], c[2], c[1], c[0], roots);

    // The members tried in a fixed order: the roots in increasing order, then the second conic
    // itself when it is degenerate. The first member made of two real lines is used.
    double lines[2][3];
    int nl = 0;
    for (int i = 0; i <= nr && nl == 0; ++i) {
        Mat3 m;
        if (i < nr) {
            for (int r = 0; r < 3; ++r)
                for (int col = 0; col < 3; ++col)
                    m[r][col] = m1[r][col] + roots[i] * m2[r][col];
        } else {
            if (std::fabs(c[3]) >= Tol::Tiny) break;
            for (int r = 0; r < 3; ++r)
                for (int col = 0; col < 3; ++col)
                    m[r][col] = m2[r][col];
        }
        nl = splitDegenerate(m, lines);
    }
    if (nl == 0) return 0;

    int count = 0;
    for (int i = 0; i < nl; ++i) {
        Point2 lp, lq, cand[2];
        if (!linePoints(lines[i], lp, lq)) continue;
        const int n = intersectLineConic(lp, lq, n1, cand);
        for (int j = 0; j < n && count < 4; ++j) {
            const Point2 u = polish(n1, n2, cand[j]);
            const Point2 x{origin.x + s * u.x, origin.y + s * u.y};
            if (isFinite(x) && satisfies(k1, x) && satisfies(k2, x)) out[count++] = x;
        }
    }
    orderOnConic(k1, out, count);
    return count;
}

} // namespace qorv
