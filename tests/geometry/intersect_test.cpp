#include "geometry/intersect.h"

#include "geometry/conic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace qorv;

namespace {

void expectPoint(Point2 p, double x, double y, double tol = 1e-9) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// Whether the found points are, in some order, the expected ones.
bool sameSet(const Point2* got, int n, std::vector<Point2> want, double tol) {
    if (int(want.size()) != n) return false;
    for (int i = 0; i < n; ++i) {
        auto it = std::find_if(want.begin(), want.end(),
                               [&](Point2 w) { return distance(w, got[i]) <= tol; });
        if (it == want.end()) return false;
        want.erase(it);
    }
    return true;
}

} // namespace

TEST(LineLine, CrossingVerticalAndParallel) {
    Point2 p;
    ASSERT_EQ(intersectLines({0, 0}, {2, 2}, {0, 4}, {4, 0}, p), 1);
    expectPoint(p, 2, 2);
    // One vertical line.
    ASSERT_EQ(intersectLines({3, -1}, {3, 5}, {0, 1}, {1, 2}, p), 1);
    expectPoint(p, 3, 4);
    // Both vertical.
    EXPECT_EQ(intersectLines({3, -1}, {3, 5}, {4, 0}, {4, 1}, p), 0);
    // Slopes 0.5 and 0.5 + 5e-7 are parallel for the engine; 0.5 + 5e-6 are not.
    EXPECT_EQ(intersectLines({0, 0}, {1, 0.5}, {0, 1}, {1, 1.5 + 5e-7}, p), 0);
    EXPECT_EQ(intersectLines({0, 0}, {1, 0.5}, {0, 1}, {1, 1.5 + 5e-6}, p), 1);
}

TEST(LineLine, ShortLinesAreReconditioned) {
    // A line 0.01 long still meets a crossing line at the right place.
    Point2 p;
    ASSERT_EQ(intersectLines({1, 1}, {1.01, 1.01}, {0, 10}, {10, 0}, p), 1);
    expectPoint(p, 5, 5, 1e-9);
}

TEST(LineCircle, OrderFollowsTheLine) {
    Point2 p[2];
    ASSERT_EQ(intersectLineCircle({0, 0}, {1, 0}, {0, 0}, 1, p), 2);
    expectPoint(p[0], 1, 0);
    expectPoint(p[1], -1, 0);
    ASSERT_EQ(intersectLineCircle({1, 0}, {0, 0}, {0, 0}, 1, p), 2);
    expectPoint(p[0], -1, 0);
    expectPoint(p[1], 1, 0);
    // A vertical line is ordered by y, upwards or downwards with its direction.
    ASSERT_EQ(intersectLineCircle({3, 0}, {3, 1}, {3, 2}, 5, p), 2);
    expectPoint(p[0], 3, 7);
    expectPoint(p[1], 3, -3);
    ASSERT_EQ(intersectLineCircle({3, 1}, {3, 0}, {3, 2}, 5, p), 2);
    expectPoint(p[0], 3, -3);
    // Nearly vertical (x differs by 0.0005): still the exact crossings of that line.
    ASSERT_EQ(intersectLineCircle({0, -10}, {0.0005, 10}, {0, 0}, 5, p), 2);
    const double k = 0.0005 / 20; // x = k (y + 10)
    const double yTop =
        (-20 * k * k + std::sqrt(400 * k * k * k * k - 4 * (1 + k * k) * (100 * k * k - 25))) /
        (2 * (1 + k * k));
    expectPoint(p[0], k * (yTop + 10), yTop, 1e-9);
    EXPECT_LT(p[1].y, 0);
    // A slanted line through the centre.
    ASSERT_EQ(intersectLineCircle({-1, -1}, {2, 2}, {0, 0}, std::sqrt(8.0), p), 2);
    expectPoint(p[0], 2, 2);
    expectPoint(p[1], -2, -2);
}

TEST(LineCircle, TangencyWithinTolerance) {
    Point2 p[2];
    // Misses by 0.00005: one candidate, the foot of the perpendicular.
    ASSERT_EQ(intersectLineCircle({-5, 1.00005}, {5, 1.00005}, {0, 0}, 1, p), 1);
    expectPoint(p[0], 0, 1.00005);
    // Cuts by 0.00005: still one.
    ASSERT_EQ(intersectLineCircle({-5, 0.99995}, {5, 0.99995}, {0, 0}, 1, p), 1);
    // Misses by 0.0002: none; cuts by 0.0002: two.
    EXPECT_EQ(intersectLineCircle({-5, 1.0002}, {5, 1.0002}, {0, 0}, 1, p), 0);
    EXPECT_EQ(intersectLineCircle({-5, 0.9998}, {5, 0.9998}, {0, 0}, 1, p), 2);
    // A vertical tangent.
    ASSERT_EQ(intersectLineCircle({2, -3}, {2, 3}, {0, 0}, 2, p), 1);
    expectPoint(p[0], 2, 0);
}

TEST(CircleCircle, CrossingsTangenciesAndNone) {
    Point2 p[2];
    // Centres (0, 0) r 5 and (8, 0) r 5 meet at (4, +-3). Chord direction: c1 - c2 = (-8, 0)
    // turned clockwise is (0, 8): upwards, so (4, 3) comes first.
    ASSERT_EQ(intersectCircles({0, 0}, 5, {8, 0}, 5, p), 2);
    expectPoint(p[0], 4, 3);
    expectPoint(p[1], 4, -3);
    ASSERT_EQ(intersectCircles({8, 0}, 5, {0, 0}, 5, p), 2);
    expectPoint(p[0], 4, -3);
    // Outside tangency.
    ASSERT_EQ(intersectCircles({0, 0}, 2, {5, 0}, 3, p), 1);
    expectPoint(p[0], 2, 0);
    // Inside tangency: (0, 0) r 5 and (2, 0) r 3 touch at (5, 0).
    ASSERT_EQ(intersectCircles({0, 0}, 5, {2, 0}, 3, p), 1);
    expectPoint(p[0], 5, 0);
    ASSERT_EQ(intersectCircles({2, 0}, 3, {0, 0}, 5, p), 1);
    expectPoint(p[0], 5, 0);
    EXPECT_EQ(intersectCircles({0, 0}, 1, {5, 0}, 1, p), 0); // apart
    EXPECT_EQ(intersectCircles({0, 0}, 5, {1, 0}, 1, p), 0); // one inside the other
    EXPECT_EQ(intersectCircles({0, 0}, 5, {0, 0}, 5, p), 0); // concentric
}

TEST(LineConic, EllipseAndHyperbola) {
    // x^2/16 + y^2/4 = 1 written with A = 1: y^2 + x^2/4 - 4 = 0.
    const double ellipse[6] = {1, 0, 0.25, 0, 0, -4};
    Point2 p[2];
    ASSERT_EQ(intersectLineConic({0, 0}, {1, 0}, ellipse, p), 2);
    expectPoint(p[0], 4, 0);
    expectPoint(p[1], -4, 0);
    ASSERT_EQ(intersectLineConic({0, 5}, {0, -5}, ellipse, p), 2); // vertical, downwards
    expectPoint(p[0], 0, -2);
    expectPoint(p[1], 0, 2);
    EXPECT_EQ(intersectLineConic({0, 3}, {1, 3}, ellipse, p), 0);
    // x y = 1: B = 1, F = -1.
    const double hyperbola[6] = {0, 1, 0, 0, 0, -1};
    ASSERT_EQ(intersectLineConic({0, 0}, {1, 1}, hyperbola, p), 2);
    expectPoint(p[0], 1, 1);
    expectPoint(p[1], -1, -1);
}

TEST(LineConic, CountDoesNotDependOnWhereTheLinesPointsLie) {
    // Ellipses (centre, semi-axes, turn) fitted through five of their points. A tangent line
    // given by its point of contact and a point near it or thousands of units away, in either
    // order, meets one once; lines 0.5 inside and outside, given by two points anywhere along
    // them, twice and never. The second ellipse is large and far out, where one unit in the last
    // place of a point already moves the line by more than the discriminant's own tolerance.
    struct Ellipse {
        Point2 c;
        double a, b, turn;
    };
    Point2 p[2];
    for (const Ellipse& e : {Ellipse{{300, -200}, 250, 90, 0.6}, {{9000, -7000}, 4000, 700, 2.2}}) {
        const double ca = std::cos(e.turn), sa = std::sin(e.turn);
        auto at = [&](double t) {
            const double x = e.a * std::cos(t), y = e.b * std::sin(t);
            return Point2{e.c.x + x * ca - y * sa, e.c.y + x * sa + y * ca};
        };
        Point2 pts[5];
        for (int i = 0; i < 5; ++i)
            pts[i] = at(0.3 + 1.25 * i);
        ConicCoefficients k;
        ASSERT_TRUE(fitConic(pts, k));
        for (double t : {0.0, 0.7, 2.0, 4.1}) {
            const Point2 d{-e.a * std::sin(t), e.b * std::cos(t)};
            const Point2 tau =
                (1 / std::hypot(d.x, d.y)) * Point2{d.x * ca - d.y * sa, d.x * sa + d.y * ca};
            const Point2 outward{tau.y, -tau.x}; // the ellipse runs counter-clockwise
            for (double far : {1.0, 100.0, 5000.0, -5000.0, 1e5}) {
                const Point2 other = at(t) + far * tau;
                EXPECT_EQ(intersectLineConic(other, at(t), k.data(), p), 1) << t << " " << far;
                EXPECT_EQ(intersectLineConic(at(t), other, k.data(), p), 1) << t << " " << far;
                for (auto [offset, want] : {std::pair{-0.5, 2}, {0.5, 0}})
                    for (double spacing : {1.0, 37.0}) {
                        const Point2 a = at(t) + offset * outward + far * tau;
                        EXPECT_EQ(intersectLineConic(a, a + spacing * tau, k.data(), p), want)
                            << "t " << t << " offset " << offset << " far " << far << " spacing "
                            << spacing;
                    }
            }
        }
    }
    // Line and circle: a small circle and a nearly vertical line just beyond the tangency band.
    const Point2 c{40, 30};
    const Point2 u = (1 / std::hypot(1e-4, 1.0)) * Point2{1e-4, 1};
    const Point2 foot = c + (0.01 + 1.2e-4) * Point2{u.y, -u.x};
    const int nearby = intersectLineCircle(foot, foot + u, c, 0.01, p);
    for (double far : {1.0, 100.0, 5000.0, -5000.0})
        for (double spacing : {1.0, 37.0}) {
            const Point2 a = foot + far * u;
            EXPECT_EQ(intersectLineCircle(a, a + spacing * u, c, 0.01, p), nearby)
                << "far " << far << " spacing " << spacing;
        }
}

TEST(ConicConic, NoneTwoAndFourCrossings) {
    Point2 p[4];
    // Circle x^2 + y^2 = 25 and ellipse x^2/36 + y^2/16 = 1 (y^2 + (4/9) x^2 - 16 = 0).
    double circle[6];
    circleConic({0, 0}, 5, circle);
    const double ellipse[6] = {1, 0, 4.0 / 9, 0, 0, -16};
    const int n = intersectConics(circle, ellipse, ScaledFrame{}, p);
    // x^2 = 81/5, y^2 = 44/5.
    const double x = std::sqrt(81.0 / 5), y = std::sqrt(44.0 / 5);
    EXPECT_TRUE(sameSet(p, n, {{x, y}, {x, -y}, {-x, y}, {-x, -y}}, 1e-9)) << n;
    // Listed counter-clockwise about the first conic's centre from +x.
    ASSERT_EQ(n, 4);
    EXPECT_TRUE(p[0].x > 0 && p[0].y > 0);
    EXPECT_TRUE(p[1].x < 0 && p[1].y > 0);
    EXPECT_TRUE(p[2].x < 0 && p[2].y < 0);
    EXPECT_TRUE(p[3].x > 0 && p[3].y < 0);

    // Two: the circle of radius 3 about (5, 0) with the unit... circle of radius 5 about 0:
    // crossings at x = 4.1, y = +-sqrt(25 - 16.81).
    double c2[6];
    circleConic({5, 0}, 3, c2);
    const int m = intersectConics(circle, c2, ScaledFrame{}, p);
    EXPECT_TRUE(sameSet(p, m, {{4.1, std::sqrt(25 - 16.81)}, {4.1, -std::sqrt(25 - 16.81)}}, 1e-9))
        << m;

    // None: the ellipse inside a larger circle.
    double big[6];
    circleConic({0, 0}, 10, big);
    EXPECT_EQ(intersectConics(big, ellipse, ScaledFrame{}, p), 0);

    // The same curve gives none.
    EXPECT_EQ(intersectConics(circle, circle, ScaledFrame{}, p), 0);
}

TEST(ConicConic, FarFromTheOriginAndParabolas) {
    Point2 p[4];
    // Two circles of radius 100 far from the origin: (1e4, 1e4) and (1e4 + 120, 1e4).
    double a[6], b[6];
    circleConic({1e4, 1e4}, 100, a);
    circleConic({1e4 + 120, 1e4}, 100, b);
    const int n = intersectConics(a, b, ScaledFrame{{1e4 + 60, 1e4}, 100}, p);
    EXPECT_TRUE(sameSet(p, n, {{1e4 + 60, 1e4 + 80}, {1e4 + 60, 1e4 - 80}}, 1e-7)) << n;

    // Parabola y = x^2 (C = 1, D = -1) and the circle x^2 + (y - 1)^2 = 1:
    // x^2 = y and y^2 - y = 0 gives (0, 0), (1, 1), (-1, 1).
    const double parabola[6] = {0, 0, 1, -1, 0, 0};
    double circle[6];
    circleConic({0, 1}, 1, circle);
    const int m = intersectConics(parabola, circle, ScaledFrame{}, p);
    // (0, 0) is a tangency (multiplicity 2); it may be found once or twice.
    std::vector<Point2> got(p, p + m);
    auto has = [&](double x, double y) {
        return std::any_of(got.begin(), got.end(), [&](Point2 q) {
            return distance(q, {x, y}) < 1e-6;
        });
    };
    EXPECT_TRUE(has(1, 1));
    EXPECT_TRUE(has(-1, 1));
    EXPECT_TRUE(has(0, 0));
    for (Point2 q : got) {
        EXPECT_NEAR(q.y, q.x * q.x, 1e-6);
        EXPECT_NEAR(q.x * q.x + (q.y - 1) * (q.y - 1), 1, 1e-6);
    }
}

TEST(Clipping, SegmentEndsAndRays) {
    // Straight pairs: 0.0001 beyond the end is on the segment, twice that is not.
    EXPECT_TRUE(onSegment({0, 0}, {10, 0}, {10.00009, 0}, Tol::SegmentStraight));
    EXPECT_FALSE(onSegment({0, 0}, {10, 0}, {10.0002, 0}, Tol::SegmentStraight));
    EXPECT_TRUE(onSegment({0, 0}, {10, 0}, {-0.00009, 0}, Tol::SegmentStraight));
    EXPECT_FALSE(onSegment({0, 0}, {10, 0}, {-0.0002, 0}, Tol::SegmentStraight));
    // Curved pairs allow 0.001.
    EXPECT_TRUE(onSegment({0, 0}, {10, 0}, {10.0009, 0}, Tol::SegmentCurved));
    EXPECT_FALSE(onSegment({0, 0}, {10, 0}, {10.002, 0}, Tol::SegmentCurved));
    // The view scale widens the band.
    EXPECT_TRUE(onSegment({0, 0}, {10, 0}, {10.0002, 0}, Tol::SegmentStraight * 3));
    EXPECT_TRUE(onRay({0, 0}, {1, 1}, {100, 100}));
    EXPECT_FALSE(onRay({0, 0}, {1, 1}, {-0.01, -0.01}));
}
