// Generated crossings of conics fitted to integer points of parabolas and hyperbolas (nearly
// parabolic fits whose centres lie thousands to millions of units away) with circles, arcs and
// other conics. The expected crossings are found without the intersection routines: the circle
// (or a conic known by its parametric form) is sampled densely and the sign changes of the
// conic's polynomial, evaluated in long double, are refined by bisection.
#include "builder.h"

#include "geometry/intersectionpoint.h"
#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

using namespace qorv;
using namespace qorv::testing;

namespace {

using Real = long double;

// parabola: base + t u + (t^2 / c) w;  hyperbola: base + t u + (c / t) w.
struct Curve {
    bool hyperbola = false;
    Point2 base, u, w;
    double c = 1;
    Point2 at(Real t) const {
        const Real s = hyperbola ? Real(c) / t : t * t / Real(c);
        return {double(Real(base.x) + t * Real(u.x) + s * Real(w.x)),
                double(Real(base.y) + t * Real(u.y) + s * Real(w.y))};
    }
};

Real conicAt(const double k[6], Real x, Real y) {
    return Real(k[0]) * y * y + Real(k[1]) * x * y + Real(k[2]) * x * x + Real(k[3]) * y +
           Real(k[4]) * x + Real(k[5]);
}

// Unit normal of the conic at (x, y).
void conicNormal(const double k[6], Real x, Real y, Real& nx, Real& ny) {
    nx = Real(k[1]) * y + 2 * Real(k[2]) * x + Real(k[4]);
    ny = 2 * Real(k[0]) * y + Real(k[1]) * x + Real(k[3]);
    const Real n = std::hypot(nx, ny);
    nx /= n;
    ny /= n;
}

struct Generator {
    std::mt19937_64 rng{20240611};
    int integer(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    double uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); }

    Point2 smallVector() {
        for (;;) {
            const Point2 v{double(integer(-3, 3)), double(integer(-3, 3))};
            if (v.x != 0 || v.y != 0) return v;
        }
    }
    // A random parabola or hyperbola and five integer points along it: exactly on it, or the
    // rounded positions of points at random parameters.
    Curve curve(bool hyperbola, bool exact, Point2 (&pts)[5]) {
        Curve k;
        k.hyperbola = hyperbola;
        const double reach = std::pow(10.0, uniform(1, 6));
        k.base = {std::round(uniform(-reach, reach)), std::round(uniform(-reach, reach))};
        k.u = smallVector();
        if (hyperbola) {
            do
                k.w = smallVector();
            while (cross(k.u, k.w) == 0);
            static const int kK[] = {12, 36, 60, 120, 360};
            k.c = kK[integer(0, 4)] * (integer(0, 1) ? 1 : -1);
        } else {
            k.w = {-k.u.y, k.u.x};
            k.c = integer(1, 20);
        }
        std::vector<double> ts;
        while (ts.size() < 5) {
            double t;
            if (exact && hyperbola) {
                std::vector<int> divisors;
                for (int d = 1; d <= int(std::fabs(k.c)); ++d)
                    if (int(std::fabs(k.c)) % d == 0) divisors.push_back(d);
                t = divisors[size_t(integer(0, int(divisors.size()) - 1))] *
                    (integer(0, 1) ? 1 : -1);
            } else if (exact) {
                t = k.c * integer(-6, 6);
            } else if (hyperbola) {
                t = uniform(0.5, 30) * (integer(0, 1) ? 1 : -1);
            } else {
                t = uniform(-6, 6) * k.c;
            }
            if (std::none_of(ts.begin(), ts.end(),
                             [&](double s) { return std::fabs(s - t) < 0.5; }))
                ts.push_back(t);
        }
        for (int i = 0; i < 5; ++i) {
            const Point2 p = k.at(ts[size_t(i)]);
            pts[i] = {std::round(p.x), std::round(p.y)};
        }
        return k;
    }
};

// One expected crossing: where, and how it should be found.
struct Crossing {
    Point2 at;
    bool onArc = true;
};

// Sign changes of the conic k along a path: `sample(i, x, y)` gives the point at s = i / samples
// for i = 0, 1, 2... in turn (by recurrences, cheaply), `point` and `tangent` any s in [0, 1]
// (closed: s = 1 is s = 0). Each change is refined by bisection and kept when the curves cross
// at an angle of at least 1e-3 radians. Returns the s of each.
template <class Sample, class Point, class Tangent>
std::vector<Real> crossingsAlong(const double k[6], Sample&& sample, Point&& point,
                                 Tangent&& tangent, int samples, bool closed) {
    std::vector<Real> out;
    auto f = [&](Real s) {
        Real x, y;
        point(s, x, y);
        return conicAt(k, x, y);
    };
    Real x, y;
    sample(0, x, y);
    Real s0 = 0, f0 = conicAt(k, x, y);
    const int last = closed ? samples : samples - 1;
    for (int i = 1; i <= last; ++i) {
        sample(i, x, y);
        const Real s1 = Real(i) / samples, f1 = conicAt(k, x, y);
        if ((f0 < 0) != (f1 < 0) && f0 != 0 && f1 != 0) {
            Real lo = s0, hi = s1, flo = f0;
            for (int it = 0; it < 80; ++it) {
                const Real mid = (lo + hi) / 2, fm = f(mid);
                if ((fm < 0) == (flo < 0)) {
                    lo = mid;
                    flo = fm;
                } else {
                    hi = mid;
                }
            }
            const Real s = (lo + hi) / 2;
            Real px, py, tx, ty, nx, ny;
            point(s, px, py);
            tangent(s, tx, ty);
            conicNormal(k, px, py, nx, ny);
            if (std::fabs(nx * tx + ny * ty) / std::hypot(tx, ty) >= std::sin(1e-3L))
                out.push_back(s);
        }
        s0 = s1;
        f0 = f1;
    }
    return out;
}

Point2 onCircle(Point2 c, double r, Real turn) {
    return {double(c.x + r * std::cos(2 * Real(Pi) * turn)),
            double(c.y + r * std::sin(2 * Real(Pi) * turn))};
}

// The turns (angle / 2 pi) at which the conic k crosses the circle (c, r).
std::vector<Real> circleCrossings(const double k[6], Point2 c, double r) {
    constexpr int n = 4096;
    const Real cs = std::cos(2 * Real(Pi) / n), sn = std::sin(2 * Real(Pi) / n);
    Real u = 1, v = 0; // cosine and sine of the current sample's angle
    auto sample = [&](int i, Real& x, Real& y) {
        if (i > 0) {
            const Real nu = u * cs - v * sn;
            v = u * sn + v * cs;
            u = nu;
        }
        x = c.x + r * u;
        y = c.y + r * v;
    };
    auto point = [&](Real s, Real& x, Real& y) {
        x = c.x + r * std::cos(2 * Real(Pi) * s);
        y = c.y + r * std::sin(2 * Real(Pi) * s);
    };
    auto tangent = [&](Real s, Real& x, Real& y) {
        x = -std::sin(2 * Real(Pi) * s);
        y = std::cos(2 * Real(Pi) * s);
    };
    return crossingsAlong(k, sample, point, tangent, n, true);
}

// The points where the conic k crosses a parametric parabola or hyperbola (both branches), out
// to |t| = e^12. The parameter is t = sinh(12 (2 s - 1)) on a parabola, +-exp(12 (2 s - 1)) on
// each branch of a hyperbola.
std::vector<std::pair<Real, Real>> curveCrossings(const double k[6], const Curve& cv) {
    constexpr int n = 12000;
    std::vector<std::pair<Real, Real>> out;
    for (const Real sign : {1.0L, -1.0L}) {
        if (!cv.hyperbola && sign < 0) break;
        auto at = [&](Real t, Real& x, Real& y) {
            const Real q = cv.hyperbola ? Real(cv.c) / t : t * t / Real(cv.c);
            x = Real(cv.base.x) + t * Real(cv.u.x) + q * Real(cv.w.x);
            y = Real(cv.base.y) + t * Real(cv.u.y) + q * Real(cv.w.y);
        };
        auto param = [&](Real e) { return cv.hyperbola ? sign * e : (e - 1 / e) / 2; };
        const Real ratio = std::exp(24.0L / n);
        Real e = std::exp(-12.0L);
        auto sample = [&](int i, Real& x, Real& y) {
            if (i > 0) e *= ratio;
            at(param(e), x, y);
        };
        auto point = [&](Real s, Real& x, Real& y) { at(param(std::exp(12 * (2 * s - 1))), x, y); };
        auto tangent = [&](Real s, Real& x, Real& y) {
            const Real ex = std::exp(12 * (2 * s - 1)), t = param(ex);
            const Real dt = 24 * (cv.hyperbola ? sign * ex : (ex + 1 / ex) / 2);
            const Real dq = cv.hyperbola ? -Real(cv.c) / (t * t) : 2 * t / Real(cv.c);
            x = (Real(cv.u.x) + dq * Real(cv.w.x)) * dt;
            y = (Real(cv.u.y) + dq * Real(cv.w.y)) * dt;
        };
        for (Real s : crossingsAlong(k, sample, point, tangent, n, false)) {
            Real x, y;
            point(s, x, y);
            out.push_back({x, y});
        }
    }
    return out;
}

// Newton steps in long double on the pair of fitted conics from a crossing found along a curve
// they only approximate (the fit of far-away integer points is a little off the parametric
// curve). False when the steps do not settle, to rounding, within `reach` of the start.
bool refineOnBoth(const double k1[6], const double k2[6], Real& x, Real& y, Real reach) {
    const Real x0 = x, y0 = y;
    Real step = 0;
    for (int it = 0; it < 40; ++it) {
        const Real f1 = conicAt(k1, x, y), f2 = conicAt(k2, x, y);
        const Real ax = Real(k1[1]) * y + 2 * Real(k1[2]) * x + Real(k1[4]);
        const Real ay = 2 * Real(k1[0]) * y + Real(k1[1]) * x + Real(k1[3]);
        const Real bx = Real(k2[1]) * y + 2 * Real(k2[2]) * x + Real(k2[4]);
        const Real by = 2 * Real(k2[0]) * y + Real(k2[1]) * x + Real(k2[3]);
        const Real det = ax * by - ay * bx;
        if (det == 0) return false;
        const Real dx = (-f1 * by + f2 * ay) / det, dy = (-f2 * ax + f1 * bx) / det;
        x += dx;
        y += dy;
        step = std::hypot(dx, dy);
    }
    return step <= 1e-9L * (1 + std::hypot(x, y)) && std::hypot(x - x0, y - y0) <= reach;
}

std::string describe(const Point2 (&pts)[5]) {
    std::ostringstream o;
    o.precision(17);
    for (const Point2& p : pts)
        o << "(" << p.x << ", " << p.y << ") ";
    return o.str();
}

// Every expected crossing has a kept candidate near it (within 1e-6 of the circle's size, and a
// few digits short of double precision far away); the candidates are distinct.
int missedCrossings(const IntersectionCandidates& cand, const std::vector<Crossing>& expected,
                    double r, std::string& why) {
    int missed = 0;
    for (const Crossing& x : expected) {
        const double tol = 1e-6 * (1 + r) + 1e-9 * std::hypot(x.at.x, x.at.y);
        bool found = false;
        for (int i = 0; i < cand.count; ++i)
            found = found || (distance(cand.point[i], x.at) <= tol && cand.kept[i] == x.onArc);
        if (!found) {
            ++missed;
            std::ostringstream o;
            o.precision(17);
            o << "missed (" << x.at.x << ", " << x.at.y << ") of " << expected.size()
              << ", candidates " << cand.count << "; ";
            why += o.str();
        }
    }
    for (int i = 0; i < cand.count; ++i)
        for (int j = 0; j < i; ++j)
            if (distance(cand.point[i], cand.point[j]) < Tol::Distinct) {
                ++missed;
                why += "coincident candidates; ";
            }
    return missed;
}

struct Counts {
    int cases = 0, crossings = 0, failures = 0;
};

// The conic through five new free points, and whether it came out a curve (types 1..3).
Element* conicThrough(Builder& b, const Point2 (&pts)[5]) {
    std::vector<Element*> ps;
    for (const Point2& p : pts)
        ps.push_back(b.point(p.x, p.y));
    return b.make(Method::Conic, nullptr, nullptr, nullptr, ps);
}
bool isCurve(const Element* k) {
    const int type = k->tailAs<ConicTail>()->conicType;
    return k->defined && type >= 1 && type <= 3;
}

} // namespace

TEST(ConicCrossings, EveryTransversalCrossingWithACircleOrAnArcIsFound) {
    Generator g;
    Counts circles, arcs;
    int skipped = 0;
    for (int n = 0; n < 2000; ++n) {
        Point2 pts[5];
        g.curve(n % 2 == 1, n % 4 < 2, pts);
        Builder b;
        Element* conic = conicThrough(b, pts);
        const auto* t = conic->tailAs<ConicTail>();
        if (!isCurve(conic)) {
            ++skipped;
            continue;
        }
        const Point2 c = pts[g.integer(0, 4)];
        const double r = std::exp(g.uniform(std::log(0.5), std::log(20000.0)));
        const bool arc = n % 3 == 2;
        Counts& counts = arc ? arcs : circles;
        // The arc runs counter-clockwise from a0 through a1 to a2.
        const double a0 = g.uniform(0, 2 * Pi), span = g.uniform(0.5, 5.5);
        auto pointOnCircle = [&](double a) {
            return b.point(c.x + r * std::cos(a), c.y + r * std::sin(a));
        };
        Element* other =
            arc ? b.make(Method::ArcThreePoints, pointOnCircle(a0),
                         pointOnCircle(a0 + span * g.uniform(0.2, 0.8)), pointOnCircle(a0 + span))
                : b.circle(b.point(c.x, c.y), b.point(c.x + r, c.y));
        ASSERT_EQ(other->defined, 1);

        std::vector<Crossing> expected;
        for (Real s : circleCrossings(t->coefficients, c, r)) {
            Crossing e{onCircle(c, r, s)};
            if (arc) {
                // At an end of the arc (within 0.0001 counts as on it) either answer is right.
                const double from = std::fmod(double(s) * 2 * Pi - a0 + 8 * Pi, 2 * Pi);
                const double toEnd = r * std::min({from, std::fabs(from - span), 2 * Pi - from});
                if (toEnd < std::max(2e-4, 1e-6 * r)) continue;
                e.onArc = from < span;
            }
            expected.push_back(e);
        }
        IntersectionCandidates cand;
        ASSERT_TRUE(intersectionCandidates(*conic, *other, arc ? 38 : 34, cand));
        std::string why;
        const int missed = missedCrossings(cand, expected, r, why);
        ++counts.cases;
        counts.crossings += int(expected.size());
        if (missed > 0 && ++counts.failures <= 5)
            ADD_FAILURE() << (arc ? "arc" : "circle") << " case " << n << ": " << why << "points "
                          << describe(pts) << "centre (" << c.x << ", " << c.y << ") r " << r;
    }
    EXPECT_EQ(circles.failures, 0) << "of " << circles.cases << " circles";
    EXPECT_EQ(arcs.failures, 0) << "of " << arcs.cases << " arcs";
    // The generator must produce real work: most cases are curves, most of them crossed.
    EXPECT_LT(skipped, 300);
    EXPECT_GT(circles.crossings, 2 * circles.cases);
    EXPECT_GT(arcs.crossings, arcs.cases);
}

TEST(ConicCrossings, ConicPairsFindEveryCrossingWhicheverComesFirst) {
    Generator g;
    Counts counts;
    int skipped = 0, asymmetric = 0, totalUnsettled = 0;
    for (int n = 0; n < 1000; ++n) {
        Point2 pts[5];
        g.curve(n % 2 == 1, n % 4 < 2, pts);
        Builder b;
        Element* k1 = conicThrough(b, pts);
        // The other conic: through five points of a circle about one of the points, or through
        // five integer points exactly on another parabola or hyperbola, sampled along its
        // parametric form.
        const bool circle = n % 3 != 0;
        Point2 qs[5];
        Curve other;
        const Point2 c = pts[g.integer(0, 4)];
        const double r = std::exp(g.uniform(std::log(0.5), std::log(20000.0)));
        if (circle) {
            const double a0 = g.uniform(0, 2 * Pi);
            for (int i = 0; i < 5; ++i)
                qs[i] = {c.x + r * std::cos(a0 + 1.2 * i), c.y + r * std::sin(a0 + 1.2 * i)};
        } else {
            other = g.curve(n % 6 == 3, true, qs);
            // Shift it next to the first curve.
            const Point2 d{c.x - qs[0].x, c.y - qs[0].y};
            other.base = other.base + d;
            for (Point2& q : qs)
                q = q + d;
        }
        Element* k2 = conicThrough(b, qs);
        const auto* t1 = k1->tailAs<ConicTail>();
        const auto* t2 = k2->tailAs<ConicTail>();
        if (!isCurve(k1) || !isCurve(k2)) {
            ++skipped;
            continue;
        }
        std::vector<Crossing> expected;
        int unsettled = 0;
        auto add = [&](Real x, Real y) {
            if (!refineOnBoth(t1->coefficients, t2->coefficients, x, y, 1.0L)) {
                ++unsettled;
                return;
            }
            const Point2 p{double(x), double(y)};
            if (std::none_of(expected.begin(), expected.end(),
                             [&](const Crossing& e) { return distance(e.at, p) < 1e-3; }))
                expected.push_back({p});
        };
        if (circle) {
            for (Real s : circleCrossings(t1->coefficients, c, r)) {
                const Point2 q = onCircle(c, r, s);
                add(q.x, q.y);
            }
        } else {
            for (auto [x, y] : curveCrossings(t1->coefficients, other))
                if (std::hypot(x, y) < 1e7) add(x, y);
        }
        IntersectionCandidates forward, backward;
        ASSERT_TRUE(intersectionCandidates(*k1, *k2, 30, forward));
        ASSERT_TRUE(intersectionCandidates(*k2, *k1, 30, backward));
        double scale = 1;
        for (const Crossing& x : expected)
            scale = std::max({scale, std::fabs(x.at.x), std::fabs(x.at.y)});
        std::string why;
        const int missed = missedCrossings(forward, expected, r, why);
        totalUnsettled += unsettled;
        ++counts.cases;
        counts.crossings += int(expected.size());
        if (missed > 0 && ++counts.failures <= 5)
            ADD_FAILURE() << "case " << n << ": " << why << "points " << describe(pts) << "other "
                          << describe(qs);
        // Exchanging the two conics gives the same set of points.
        bool same = forward.count == backward.count;
        for (int i = 0; same && i < forward.count; ++i) {
            bool match = false;
            for (int j = 0; j < backward.count; ++j)
                match = match || distance(forward.point[i], backward.point[j]) <= 1e-9 * scale;
            same = match;
        }
        if (!same && ++asymmetric <= 5)
            ADD_FAILURE() << "case " << n << ": " << forward.count << " points one way, "
                          << backward.count << " the other; points " << describe(pts) << "other "
                          << describe(qs);
    }
    EXPECT_EQ(counts.failures, 0) << "of " << counts.cases;
    EXPECT_EQ(asymmetric, 0) << "of " << counts.cases;
    EXPECT_LT(skipped, 200);
    EXPECT_LT(totalUnsettled, counts.crossings / 100);
    EXPECT_GT(counts.crossings, counts.cases);
}
