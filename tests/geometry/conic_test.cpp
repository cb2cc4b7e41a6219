#include "geometry/conic.h"

#include "derived_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qorv;
using qorv::test::Scene;

namespace {

constexpr double kPi = std::numbers::pi;

// A conic element through the five given points, recalculated.
Element* conicThrough(Scene& s, const Point2 (&pts)[5]) {
    std::vector<Element*> ps;
    for (const Point2& p : pts)
        ps.push_back(s.point(p.x, p.y));
    Element* c = s.make(Method::Conic, nullptr, nullptr, nullptr, ps);
    recalcConic(s.doc, *c);
    return c;
}

ConicCoefficients coefficientsOf(const Element* c) {
    const auto* t = c->tailAs<ConicTail>();
    return {t->coefficients[0], t->coefficients[1], t->coefficients[2],
            t->coefficients[3], t->coefficients[4], t->coefficients[5]};
}

// Distance-like residual: |F| / |grad F|, about the distance from p to the curve.
double residual(const ConicCoefficients& c, Point2 p) {
    const double gx = c[1] * p.y + 2 * c[2] * p.x + c[4];
    const double gy = 2 * c[0] * p.y + c[1] * p.x + c[3];
    return std::fabs(conicValue(c, p)) / std::max(std::hypot(gx, gy), 1e-300);
}

// Coordinates of p in a frame with origin o and x axis at angle phi.
Point2 local(Point2 p, Point2 o, double phi) {
    const double dx = p.x - o.x, dy = p.y - o.y;
    return Point2{dx * std::cos(phi) + dy * std::sin(phi),
                  -dx * std::sin(phi) + dy * std::cos(phi)};
}

Point2 fromLocal(double x, double y, Point2 o, double phi) {
    return Point2{o.x + x * std::cos(phi) - y * std::sin(phi),
                  o.y + x * std::sin(phi) + y * std::cos(phi)};
}

} // namespace

TEST(Conic, FivePointsOnACircle) {
    Scene s;
    // Centre (3, -2), radius 5: y^2 + x^2 + 4y - 6x - 12 = 0.
    Element* c = conicThrough(s, {{8, -2}, {3, 3}, {-2, -2}, {3, -7}, {6, 2}});
    ASSERT_EQ(c->defined, 1);
    const auto* t = c->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, ConicType::Ellipse);
    const double expected[6] = {1, 0, 1, 4, -6, -12};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(t->coefficients[i], expected[i], 1e-9) << i;
    // Sample m at the angle 2 pi (120 - m) / 120: clockwise from the rightmost point.
    for (int m = 0; m < 120; ++m) {
        const double a = 2 * kPi * (120 - m) / 120;
        EXPECT_NEAR(t->samples[size_t(m)].x, 3 + 5 * std::cos(a), 1e-9) << m;
        EXPECT_NEAR(t->samples[size_t(m)].y, -2 + 5 * std::sin(a), 1e-9) << m;
    }
}

TEST(Conic, LargeCircleFarFromTheOrigin) {
    Scene s;
    const Point2 o{1000, -500};
    const double r = 3000;
    Point2 pts[5];
    for (int i = 0; i < 5; ++i)
        pts[i] = Point2{o.x + r * std::cos(0.3 + 1.1 * i), o.y + r * std::sin(0.3 + 1.1 * i)};
    Element* c = conicThrough(s, pts);
    ASSERT_EQ(c->defined, 1);
    EXPECT_EQ(c->tailAs<ConicTail>()->conicType, ConicType::Ellipse);
    for (const Point2& p : c->tailAs<ConicTail>()->samples)
        EXPECT_NEAR(std::hypot(p.x - o.x, p.y - o.y), r, 1e-6);
}

TEST(Conic, RotatedEllipseSampledInOrder) {
    Scene s;
    const Point2 o{1, 1};
    const double phi = kPi / 6, a = 6, b = 2;
    const double ts[5] = {0, 1, 2, 3, 4.5};
    Point2 pts[5];
    for (int i = 0; i < 5; ++i)
        pts[i] = fromLocal(a * std::cos(ts[i]), b * std::sin(ts[i]), o, phi);
    Element* c = conicThrough(s, pts);
    ASSERT_EQ(c->defined, 1);
    const auto* t = c->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, ConicType::Ellipse);
    const ConicCoefficients k = coefficientsOf(c);
    EXPECT_EQ(k[0], 1.0);
    double turn = 0;
    for (int m = 0; m < 120; ++m) {
        const Point2 p = t->samples[size_t(m)];
        const Point2 q = t->samples[size_t((m + 1) % 120)];
        EXPECT_LT(residual(k, p), 1e-9) << m;
        // On the ellipse of the construction, independently of the fit.
        const Point2 l = local(p, o, phi);
        EXPECT_NEAR(l.x * l.x / (a * a) + l.y * l.y / (b * b), 1, 1e-9) << m;
        // Neighbours are close, and all turn the same way about the centre.
        EXPECT_LT(std::hypot(q.x - p.x, q.y - p.y), a * 2 * kPi / 120 * 1.01) << m;
        const double cross = (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
        EXPECT_LT(cross, 0) << m;
        const Point2 lq = local(q, o, phi);
        double d = std::atan2(lq.y / b, lq.x / a) - std::atan2(l.y / b, l.x / a);
        if (d > kPi) d -= 2 * kPi;
        if (d < -kPi) d += 2 * kPi;
        turn += d;
    }
    EXPECT_NEAR(std::fabs(turn), 2 * kPi, 1e-9); // exactly once round
}

TEST(Conic, HugeEllipseUsesTheDenseSpacingAndStaysInOrder) {
    Scene s;
    const double a = 6000, b = 100;
    const double ts[5] = {0.2, 1.3, 2.5, 3.9, 5.1};
    Point2 pts[5];
    for (int i = 0; i < 5; ++i)
        pts[i] = Point2{a * std::cos(ts[i]), b * std::sin(ts[i])};
    Element* c = conicThrough(s, pts);
    ASSERT_EQ(c->defined, 1);
    const auto* t = c->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, ConicType::Ellipse);
    double total = 0; // polar angle swept about the centre
    for (int m = 0; m < 120; ++m) {
        const Point2 p = t->samples[size_t(m)];
        EXPECT_NEAR(p.x * p.x / (a * a) + p.y * p.y / (b * b), 1, 1e-7) << m;
        const Point2 q = t->samples[size_t((m + 1) % 120)];
        EXPECT_LT(p.x * q.y - p.y * q.x, 1e-6) << m;
        double d = std::atan2(q.y, q.x) - std::atan2(p.y, p.x);
        if (d > kPi) d -= 2 * kPi;
        if (d < -kPi) d += 2 * kPi;
        total += d;
    }
    EXPECT_NEAR(total, -2 * kPi, 1e-9);
}

TEST(Conic, HyperbolaBranchesInCurveOrder) {
    Scene s;
    const Point2 o{2, 3};
    const double phi = kPi / 4, a = 3, b = 2;
    const double ts[5] = {-1, 0.5, 1.2, -0.7, 0.2};
    Point2 pts[5];
    for (int i = 0; i < 5; ++i) {
        const double side = i < 3 ? 1 : -1; // three on one branch, two on the other
        pts[i] = fromLocal(side * a * std::cosh(ts[i]), b * std::sinh(ts[i]), o, phi);
    }
    Element* c = conicThrough(s, pts);
    ASSERT_EQ(c->defined, 1);
    const auto* t = c->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, ConicType::Hyperbola);
    const ConicCoefficients k = coefficientsOf(c);
    // Which branch the sampler calls "first" is its own choice: follow sample 30's side.
    const int firstSide = local(t->samples[30], o, phi).x > 0 ? 1 : -1;
    auto step = [&](int i) {
        return local(t->samples[size_t((i + 1) % 120)], o, phi).y >
                       local(t->samples[size_t(i)], o, phi).y
                   ? 1
                   : -1;
    };
    const int along = step(0);
    for (int i = 0; i < 120; ++i) {
        const Point2 p = t->samples[size_t(i)];
        EXPECT_LT(residual(k, p), 1e-6) << i;
        const Point2 l = local(p, o, phi);
        EXPECT_NEAR(l.x * l.x / (a * a) - l.y * l.y / (b * b), 1, 1e-6) << i;
        EXPECT_EQ(l.x > 0 ? 1 : -1, i < 60 ? firstSide : -firstSide) << i;
        const bool gap = i == 59 || i == 119;
        EXPECT_EQ(conicChordIsGap(ConicType::Hyperbola, i), gap) << i;
        // Along either branch the conjugate coordinate runs the same way, from one far end of
        // the branch through its vertex to the other.
        if (!gap) {
            EXPECT_EQ(step(i), along) << i;
        }
    }
    // The vertices are samples 30 and 90.
    const Point2 v = local(t->samples[30], o, phi);
    EXPECT_NEAR(std::fabs(v.x), a, 1e-6);
    EXPECT_NEAR(v.y, 0, 1e-6);
    const Point2 w = local(t->samples[90], o, phi);
    EXPECT_NEAR(w.x, -v.x, 1e-6);
}

TEST(Conic, ParabolaFromTheVertexOutAndBack) {
    Scene s;
    const Point2 v{1, 2};
    const double phi = 40 * kPi / 180, p = 3; // w^2 = 2 p u in its own frame
    const double ws[5] = {-6, -3, 0.5, 2, 5};
    Point2 pts[5];
    for (int i = 0; i < 5; ++i)
        pts[i] = fromLocal(ws[i] * ws[i] / (2 * p), ws[i], v, phi);
    Element* c = conicThrough(s, pts);
    ASSERT_EQ(c->defined, 1);
    const auto* t = c->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, ConicType::Parabola);
    EXPECT_NEAR(t->samples[0].x, v.x, 1e-6);
    EXPECT_NEAR(t->samples[0].y, v.y, 1e-6);
    const ConicCoefficients k = coefficientsOf(c);
    const int upperSide = local(t->samples[1], v, phi).y > 0 ? 1 : -1;
    for (int i = 0; i < 120; ++i) {
        const Point2 l = local(t->samples[size_t(i)], v, phi);
        EXPECT_LT(residual(k, t->samples[size_t(i)]), 1e-6) << i;
        EXPECT_NEAR(l.y * l.y, 2 * p * l.x, 1e-6 * std::max(1.0, l.x)) << i;
        if (i > 0) {
            EXPECT_EQ(l.y > 0 ? 1 : -1, i < 60 ? upperSide : -upperSide) << i;
        }
        const Point2 n = local(t->samples[size_t((i + 1) % 120)], v, phi);
        // Outwards on the first arm, back towards the vertex on the second.
        if (i < 59) {
            EXPECT_GT(n.x, l.x) << i;
        }
        if (i >= 60) {
            EXPECT_LT(n.x, l.x) << i;
        }
    }
    EXPECT_TRUE(conicChordIsGap(ConicType::Parabola, 59));
    EXPECT_FALSE(conicChordIsGap(ConicType::Parabola, 119));
}

TEST(Conic, CrossingLinesAreTwoLongSegments) {
    Scene s;
    Element* c = conicThrough(s, {{0, 0}, {1, 1}, {2, 2}, {0, 3}, {3, 0}});
    ASSERT_EQ(c->defined, 1);
    const auto* t = c->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, ConicType::CrossingLines);
    const double h = 10000 / std::sqrt(2.0);
    EXPECT_NEAR(t->samples[0].x, -h, 1e-6);
    EXPECT_NEAR(t->samples[0].y, -h, 1e-6);
    EXPECT_NEAR(t->samples[1].x, h, 1e-6);
    EXPECT_NEAR(t->samples[1].y, h, 1e-6);
    EXPECT_NEAR(t->samples[2].x, -h, 1e-6);
    EXPECT_NEAR(t->samples[2].y, 3 + h, 1e-6);
    EXPECT_NEAR(t->samples[3].x, h, 1e-6);
    EXPECT_NEAR(t->samples[3].y, 3 - h, 1e-6);
    for (size_t i = 4; i < 120; ++i) {
        EXPECT_EQ(t->samples[i].x, 1e9);
        EXPECT_EQ(t->samples[i].y, 1e9);
    }
    EXPECT_FALSE(conicChordIsGap(ConicType::CrossingLines, 0));
    EXPECT_TRUE(conicChordIsGap(ConicType::CrossingLines, 1));
    EXPECT_FALSE(conicChordIsGap(ConicType::CrossingLines, 2));
}

TEST(Conic, ParallelLines) {
    Scene s;
    // y (y - 1) = 0.
    Element* c = conicThrough(s, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {5, 1}});
    ASSERT_EQ(c->defined, 1);
    const auto* t = c->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, ConicType::ParallelLines);
    const double expected[6] = {1, 0, 0, -1, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(t->coefficients[i], expected[i], 1e-9) << i;
    EXPECT_NEAR(t->samples[0].x, -10000, 1e-6);
    EXPECT_NEAR(t->samples[1].x, 10000, 1e-6);
    EXPECT_NEAR(t->samples[2].x, -10000, 1e-6);
    EXPECT_NEAR(t->samples[2].y, 1, 1e-9);
    EXPECT_NEAR(t->samples[3].x, 10000, 1e-6);
}

TEST(Conic, NormalisationFallsBackWhenAVanishes) {
    // x^2 - y = 0 has no y^2 term: the fit must fix C = 1 instead.
    const Point2 pts[5] = {{0, 0}, {1, 1}, {-1, 1}, {2, 4}, {-3, 9}};
    ConicCoefficients c{};
    ASSERT_TRUE(fitConic(pts, c));
    const double expected[6] = {0, 0, 1, -1, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(c[size_t(i)], expected[i], 1e-9) << i;
    EXPECT_EQ(classifyConic(c, pts), ConicType::Parabola);
    // x y = 1: A = 0 and C = 0, B is fixed to 1.
    const Point2 h[5] = {{1, 1}, {2, 0.5}, {-1, -1}, {4, 0.25}, {-0.5, -2}};
    ASSERT_TRUE(fitConic(h, c));
    const double eh[6] = {0, 1, 0, 0, 0, -1};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(c[size_t(i)], eh[i], 1e-9) << i;
    EXPECT_EQ(classifyConic(c, h), ConicType::Hyperbola);
}

TEST(Conic, NoConicAndUndefinedPoints) {
    Scene s;
    // Four collinear points: a whole family of conics, none chosen.
    Element* c = conicThrough(s, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}});
    EXPECT_EQ(c->defined, 0);

    Element* ok = conicThrough(s, {{8, -2}, {3, 3}, {-2, -2}, {3, -7}, {6, 2}});
    ASSERT_EQ(ok->defined, 1);
    const Point2 before = ok->tailAs<ConicTail>()->samples[7];
    ok->tailAs<ConicTail>()->points[2]->defined = 0;
    recalcConic(s.doc, *ok);
    EXPECT_EQ(ok->defined, 0);
    EXPECT_EQ(ok->tailAs<ConicTail>()->samples[7].x, before.x);
    ok->tailAs<ConicTail>()->points[2]->defined = 1;
    recalcConic(s.doc, *ok);
    EXPECT_EQ(ok->defined, 1);
}

TEST(Conic, ReductionOfAnImaginaryEllipseHasNoCurve) {
    // y^2 + x^2 + 1 = 0 has no real point.
    const ConicReduction r = reduceConic({1, 0, 1, 0, 0, 1}, ConicType::Ellipse);
    EXPECT_EQ(r.type, ConicType::None);
    const ConicReduction e = reduceConic({1, 0, 4, 0, 0, -4}, ConicType::Ellipse);
    EXPECT_EQ(e.type, ConicType::Ellipse);
    EXPECT_NEAR(std::min(e.a, e.b), 1, 1e-12);
    EXPECT_NEAR(std::max(e.a, e.b), 2, 1e-12);
}
