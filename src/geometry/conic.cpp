#include "geometry/conic.h"

#include "geometry/elementgeometry.h"
#include "geometry/intersect.h"
#include "geometry/primitives.h"
#include "geometry/recalcsupport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qorv {

namespace {

constexpr double kFarAway = 1e9;     // samples that are not used
constexpr double kLineReach = 10000; // half length of the lines of a degenerate conic

// Solves the 5x5 system m x = r in place; false when it is singular. Rows and columns are
// equilibrated first so that the singularity test does not depend on the size of the figure.
bool solve5(double (&m)[5][5], double (&r)[5], double (&x)[5]) {
    double colScale[5];
    for (int j = 0; j < 5; ++j) {
        double s = 0;
        for (int i = 0; i < 5; ++i)
            s = std::max(s, std::fabs(m[i][j]));
        if (!(s > 0) || !std::isfinite(s)) return false;
        colScale[j] = s;
        for (int i = 0; i < 5; ++i)
            m[i][j] /= s;
    }
    for (int i = 0; i < 5; ++i) {
        double s = 0;
        for (int j = 0; j < 5; ++j)
            s = std::max(s, std::fabs(m[i][j]));
        if (!(s > 0)) return false;
        for (int j = 0; j < 5; ++j)
            m[i][j] /= s;
        r[i] /= s;
    }
    for (int k = 0; k < 5; ++k) {
        int pivot = k;
        for (int i = k + 1; i < 5; ++i)
            if (std::fabs(m[i][k]) > std::fabs(m[pivot][k])) pivot = i;
        if (std::fabs(m[pivot][k]) < 1e-12) return false;
        if (pivot != k) {
            for (int j = 0; j < 5; ++j)
                std::swap(m[k][j], m[pivot][j]);
            std::swap(r[k], r[pivot]);
        }
        for (int i = k + 1; i < 5; ++i) {
            const double f = m[i][k] / m[k][k];
            for (int j = k; j < 5; ++j)
                m[i][j] -= f * m[k][j];
            r[i] -= f * r[k];
        }
    }
    for (int k = 4; k >= 0; --k) {
        double s = r[k];
        for (int j = k + 1; j < 5; ++j)
            s -= m[k][j] * x[j];
        x[k] = s / m[k][k];
    }
    for (int j = 0; j < 5; ++j) {
        x[j] /= colScale[j];
        if (!std::isfinite(x[j])) return false;
    }
    return true;
}

bool anyThreeCollinear(const Point2 (&pts)[5]) {
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            for (int k = j + 1; k < 5; ++k)
                if (areCollinear(pts[i], pts[j], pts[k])) return true;
    return false;
}

bool isCircleLike(const ConicCoefficients& c) {
    return std::fabs(c[0] - 1) < 0.0001 && std::fabs(c[2] - 1) < 0.0001 && std::fabs(c[1]) < 0.0001;
}

// Quadratic and linear coefficients of the conic in a frame turned by phi:
// l1 x'^2 + l2 y'^2 + e x' + d y' + F (the x'y' term vanishes for the principal angle).
struct Rotated {
    double cs, sn, l1, l2, e, d;
};

Rotated rotate(const ConicCoefficients& c, double phi) {
    const double A = c[0], B = c[1], C = c[2], D = c[3], E = c[4];
    Rotated r;
    r.cs = std::cos(phi);
    r.sn = std::sin(phi);
    r.l1 = C * r.cs * r.cs + B * r.cs * r.sn + A * r.sn * r.sn;
    r.l2 = C * r.sn * r.sn - B * r.cs * r.sn + A * r.cs * r.cs;
    r.e = E * r.cs + D * r.sn;
    r.d = -E * r.sn + D * r.cs;
    return r;
}

} // namespace

double conicValue(const ConicCoefficients& c, Point2 p) {
    return c[0] * p.y * p.y + c[1] * p.x * p.y + c[2] * p.x * p.x + c[3] * p.y + c[4] * p.x + c[5];
}

bool fitConic(const Point2 (&pts)[5], ConicCoefficients& out) {
    double rows[5][6];
    for (int i = 0; i < 5; ++i) {
        const double x = pts[i].x, y = pts[i].y;
        rows[i][0] = y * y;
        rows[i][1] = x * y;
        rows[i][2] = x * x;
        rows[i][3] = y;
        rows[i][4] = x;
        rows[i][5] = 1;
    }
    // A = 1 first, then B = 1, then C = 1.
    for (int fixed = 0; fixed < 3; ++fixed) {
        double m[5][5], r[5], x[5];
        for (int i = 0; i < 5; ++i) {
            for (int j = 0, col = 0; j < 6; ++j)
                if (j != fixed) m[i][col++] = rows[i][j];
            r[i] = -rows[i][fixed];
        }
        if (!solve5(m, r, x)) continue;
        bool tooLarge = false;
        for (double v : x)
            tooLarge = tooLarge || std::fabs(v) > 1e14;
        if (tooLarge) continue;
        for (int j = 0, col = 0; j < 6; ++j)
            out[size_t(j)] = j == fixed ? 1.0 : x[col++];
        for (int j = 0; j < 5; ++j)
            if (std::fabs(out[size_t(j)]) < 1e-10) out[size_t(j)] = 0.0;
        return true;
    }
    return false;
}

int32_t classifyConic(const ConicCoefficients& c, const Point2 (&pts)[5]) {
    const double A = c[0], B = c[1], C = c[2], D = c[3], E = c[4], F = c[5];
    const double disc = B * B - 4 * A * C;
    // Determinant of [[C, B/2, E/2], [B/2, A, D/2], [E/2, D/2, F]].
    const double det = C * (A * F - D * D / 4) - B / 2 * (B / 2 * F - D / 2 * E / 2) +
                       E / 2 * (B / 2 * D / 2 - A * E / 2);
    const bool flat = std::fabs(det) < 1e-8;
    if (std::fabs(disc) >= 1e-6) {
        if (disc < 0) return ConicType::Ellipse;
        return flat || anyThreeCollinear(pts) ? ConicType::CrossingLines : ConicType::Hyperbola;
    }
    return flat || anyThreeCollinear(pts) ? ConicType::ParallelLines : ConicType::Parabola;
}

ConicReduction reduceConic(const ConicCoefficients& c, int32_t type) {
    ConicReduction red;
    const double A = c[0], B = c[1], C = c[2], F = c[5];
    if (type == ConicType::Ellipse || type == ConicType::Hyperbola) {
        const double phi = isCircleLike(c) ? 0.0 : 0.5 * std::atan2(B, C - A);
        Rotated r = rotate(c, phi);
        const double big = std::max(std::fabs(r.l1), std::fabs(r.l2));
        if (!(big > 0) || std::fabs(r.l1) < 1e-12 * big || std::fabs(r.l2) < 1e-12 * big)
            return red;
        const double x0 = -r.e / (2 * r.l1), y0 = -r.d / (2 * r.l2);
        const double f0 = F - r.e * r.e / (4 * r.l1) - r.d * r.d / (4 * r.l2);
        if (f0 == 0 || !std::isfinite(f0)) return red;
        // l1 X^2 + l2 Y^2 = -f0, written k1 X^2 + k2 Y^2 = 1.
        const double kx = r.l1 / -f0, k2 = r.l2 / -f0;
        red.centre = Point2{x0 * r.cs - y0 * r.sn, x0 * r.sn + y0 * r.cs};
        red.cosPhi = r.cs;
        red.sinPhi = r.sn;
        if (kx > 0 && k2 > 0) {
            red.type = ConicType::Ellipse;
            red.a = 1 / std::sqrt(kx);
            red.b = 1 / std::sqrt(k2);
        } else if (kx < 0 && k2 < 0) {
            return red; // imaginary ellipse
        } else if (kx > 0) {
            red.type = ConicType::Hyperbola;
            red.a = 1 / std::sqrt(kx);
            red.b = 1 / std::sqrt(-k2);
        } else {
            // The transverse axis is the second one: turn the frame a quarter turn.
            red.type = ConicType::Hyperbola;
            red.cosPhi = -r.sn;
            red.sinPhi = r.cs;
            red.a = 1 / std::sqrt(k2);
            red.b = 1 / std::sqrt(-kx);
        }
        if (!std::isfinite(red.a) || !std::isfinite(red.b) || !std::isfinite(red.centre.x) ||
            !std::isfinite(red.centre.y))
            red.type = ConicType::None;
        return red;
    }
    if (type == ConicType::Parabola) {
        // Frame with the axis of the parabola as x: the square term left is the y one.
        double phi = 0.5 * std::atan2(B, C - A);
        Rotated r = rotate(c, phi);
        if (std::fabs(r.l1) > std::fabs(r.l2)) {
            phi += std::numbers::pi / 2;
            r = rotate(c, phi);
        }
        // l2 (y' - y0)^2 + e (x' - x0) = 0 after dropping the vanishing l1 x'^2.
        if (r.l2 == 0 || r.e == 0) return red;
        const double y0 = -r.d / (2 * r.l2);
        const double constant = F - r.d * r.d / (4 * r.l2);
        // A vanishing linear term would leave two parallel lines (or nothing), not a parabola;
        // the classification's determinant test keeps it away from zero.
        const double x0 = -constant / r.e;
        red.type = ConicType::Parabola;
        red.p = -r.e / (2 * r.l2);
        red.cosPhi = r.cs;
        red.sinPhi = r.sn;
        red.centre = Point2{x0 * r.cs - y0 * r.sn, x0 * r.sn + y0 * r.cs};
        if (!std::isfinite(red.p) || red.p == 0 || !std::isfinite(red.centre.x) ||
            !std::isfinite(red.centre.y))
            red.type = ConicType::None;
        return red;
    }
    return red;
}

static_assert(2.5 * 60 * 60 == ConicArmReach && 30.0 * 30 * 30 / 3 == ConicArmReach);

bool sampleConic(const ConicCoefficients& c, int32_t type, const Point2 (&pts)[5],
                 ConicSamples& out, int32_t& reducedType) {
    constexpr int N = ConicTail::SampleCount;
    reducedType = ConicType::None;
    if (type == ConicType::CrossingLines || type == ConicType::ParallelLines) {
        out.fill(Point2{kFarAway, kFarAway});
        for (int i = 0; i < 5; ++i)
            for (int j = i + 1; j < 5; ++j)
                for (int k = j + 1; k < 5; ++k) {
                    if (!areCollinear(pts[i], pts[j], pts[k])) continue;
                    int rest[2], n = 0;
                    for (int q = 0; q < 5; ++q)
                        if (q != i && q != j && q != k) rest[n++] = q;
                    out[0] = pointAlong(pts[i], pts[j], -kLineReach);
                    out[1] = pointAlong(pts[i], pts[j], kLineReach);
                    out[2] = pointAlong(pts[rest[0]], pts[rest[1]], -kLineReach);
                    out[3] = pointAlong(pts[rest[0]], pts[rest[1]], kLineReach);
                    reducedType = type;
                    for (int s = 0; s < 4; ++s)
                        if (!std::isfinite(out[size_t(s)].x) || !std::isfinite(out[size_t(s)].y))
                            return false;
                    return true;
                }
        return false;
    }

    const ConicReduction red = reduceConic(c, type);
    if (red.type == ConicType::None) return false;
    switch (red.type) {
    case ConicType::Ellipse: {
        // 30 samples per quadrant, clockwise from the end of the reduced x axis.
        const bool quadratic = !isCircleLike(c) && std::max(red.a, red.b) >= 4999;
        auto quarter = [&](int j) {
            if (quadratic) {
                const double s = double(j) / 30.0;
                const double x = red.a * (1 - s * s);
                const double q = 1 - (x / red.a) * (x / red.a);
                return Point2{x, red.b * std::sqrt(q > 0 ? q : 0)};
            }
            const double t = std::numbers::pi / 2 * double(j) / 30.0;
            return Point2{red.a * std::cos(t), red.b * std::sin(t)};
        };
        for (int m = 0; m < N; ++m) {
            Point2 q;
            if (m < 30) {
                q = quarter(m);
                q.y = -q.y;
            } else if (m < 60) {
                q = quarter(30 - (m - 30));
                q.x = -q.x;
                q.y = -q.y;
            } else if (m < 90) {
                q = quarter(m - 60);
                q.x = -q.x;
            } else {
                q = quarter(30 - (m - 90));
            }
            out[size_t(m)] = red.toPlane(q.x, q.y);
        }
        break;
    }
    case ConicType::Hyperbola:
        // Right branch from the far end of its upper arm through the vertex to its lower arm;
        // then the left branch the same way.
        for (int i = 0; i < N / 2; ++i) {
            const int m = i <= 30 ? 30 - i : i - 30;
            const double x = red.a + double(m) * m * m / 3.0;
            const double q = x * x / (red.a * red.a) - 1;
            double y = red.b * std::sqrt(q > 0 ? q : 0);
            if (i > 30) y = -y;
            out[size_t(i)] = red.toPlane(x, y);
            out[size_t(i + N / 2)] = red.toPlane(-x, y);
        }
        break;
    case ConicType::Parabola:
        // Upper arm from the vertex outwards, then the lower arm back towards the vertex.
        for (int i = 0; i < N; ++i) {
            const int m = i < N / 2 ? i : N - i;
            const double x = (red.p > 0 ? 2.5 : -2.5) * double(m) * m;
            double y = std::sqrt(std::fabs(2 * red.p * x));
            if (i >= N / 2) y = -y;
            out[size_t(i)] = red.toPlane(x, y);
        }
        break;
    default:
        return false;
    }
    for (const Point2& s : out)
        if (!std::isfinite(s.x) || !std::isfinite(s.y)) return false;
    reducedType = red.type;
    return true;
}

bool conicChordIsGap(int32_t type, int i) {
    constexpr int N = ConicTail::SampleCount;
    switch (type) {
    case ConicType::Ellipse:
        return false;
    case ConicType::Hyperbola:
        return i == N / 2 - 1 || i == N - 1;
    case ConicType::Parabola:
        return i == N / 2 - 1;
    case ConicType::CrossingLines:
    case ConicType::ParallelLines:
        return i != 0 && i != 2;
    default:
        return true;
    }
}

void recalcConic(Document&, Element& e) {
    auto* t = e.tailAs<ConicTail>();
    if (!t) {
        e.defined = 0;
        return;
    }
    Point2 pts[5];
    for (int i = 0; i < 5; ++i) {
        const Element* p = t->points[i];
        if (!p || !p->defined) {
            e.defined = 0;
            return;
        }
        pts[i] = positionOf(*p);
    }
    ConicCoefficients coef{};
    if (!fitConic(pts, coef)) {
        e.defined = 0;
        return;
    }
    const int32_t type = classifyConic(coef, pts);
    ConicSamples samples;
    int32_t reduced = ConicType::None;
    if (!sampleConic(coef, type, pts, samples, reduced)) {
        e.defined = 0;
        return;
    }
    for (int i = 0; i < 6; ++i)
        t->coefficients[i] = coef[size_t(i)];
    t->conicType = reduced;
    t->samples = samples;
    e.defined = 1;
}

} // namespace qorv
