#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qorv;

namespace {
constexpr double Pi = std::numbers::pi;
}

TEST(Primitives, DistanceAndPointAlong) {
    EXPECT_DOUBLE_EQ(distance({1, 1}, {4, 5}), 5.0);
    const Point2 p = pointAlong({1, 1}, {4, 5}, 10);
    EXPECT_NEAR(p.x, 1 + 6, 1e-12);
    EXPECT_NEAR(p.y, 1 + 8, 1e-12);
    const Point2 back = pointAlong({1, 1}, {4, 5}, -5);
    EXPECT_NEAR(back.x, -2, 1e-12);
    EXPECT_NEAR(back.y, -3, 1e-12);
    // Coincident points: the 1e-12 guard keeps the result finite (and at the first point).
    const Point2 same = pointAlong({2, 3}, {2, 3}, 7);
    EXPECT_TRUE(std::isfinite(same.x) && std::isfinite(same.y));
    EXPECT_DOUBLE_EQ(same.x, 2);
}

TEST(Primitives, PerpendicularAndParallelThrough) {
    Point2 f, s;
    ASSERT_TRUE(perpendicularThrough({0, 0}, {2, 1}, {5, 5}, f, s));
    EXPECT_DOUBLE_EQ(f.x, 5);
    // Direction (2, 1) turned a quarter turn clockwise is (1, -2).
    EXPECT_DOUBLE_EQ(s.x, 6);
    EXPECT_DOUBLE_EQ(s.y, 3);
    ASSERT_TRUE(parallelThrough({0, 0}, {2, 1}, {5, 5}, f, s));
    EXPECT_DOUBLE_EQ(s.x, 7);
    EXPECT_DOUBLE_EQ(s.y, 6);
    EXPECT_FALSE(perpendicularThrough({0, 0}, {0.00005, 0}, {5, 5}, f, s));
    EXPECT_FALSE(parallelThrough({0, 0}, {0, 0.00009}, {5, 5}, f, s));
    EXPECT_TRUE(parallelThrough({0, 0}, {0, 0.0002}, {5, 5}, f, s));
}

TEST(Primitives, OrientedAngles) {
    double a = -1;
    ASSERT_TRUE(orientedAngle({1, 0}, {0, 0}, {0, 1}, a));
    EXPECT_NEAR(a, Pi / 2, 1e-12);
    ASSERT_TRUE(orientedAngle({0, 1}, {0, 0}, {1, 0}, a));
    EXPECT_NEAR(a, 3 * Pi / 2, 1e-12);
    // Around another vertex, through the quadrant boundaries.
    ASSERT_TRUE(orientedAngle({3, 2}, {2, 2}, {1, 1}, a));
    EXPECT_NEAR(a, Pi + Pi / 4, 1e-12);
    ASSERT_TRUE(orientedAngle({2, 1}, {2, 2}, {3, 2}, a)); // from straight down to the right
    EXPECT_NEAR(a, Pi / 2, 1e-12);
    ASSERT_TRUE(orientedAngle({1, 0}, {0, 0}, {1, 0}, a));
    EXPECT_EQ(a, 0.0);
    EXPECT_FALSE(orientedAngle({0, 0}, {0, 0}, {1, 0}, a));
    EXPECT_FALSE(orientedAngle({1, 0}, {0, 0}, {0, 0}, a));
}

TEST(Primitives, UnorientedAnglesAndCollinearity) {
    double a;
    ASSERT_TRUE(unorientedAngle({0, 1}, {0, 0}, {1, 0}, a));
    EXPECT_NEAR(a, Pi / 2, 1e-12);
    ASSERT_TRUE(unorientedAngle({1, 0}, {0, 0}, {-1, 0}, a));
    EXPECT_NEAR(a, Pi, 1e-12);
    ASSERT_TRUE(unorientedAngle({1, 1}, {0, 0}, {2, 2}, a)); // cosine rounding above 1 is clamped
    EXPECT_NEAR(a, 0, 1e-7);
    EXPECT_FALSE(unorientedAngle({0, 0}, {0, 0}, {1, 0}, a));

    EXPECT_TRUE(areCollinear({0, 0}, {1, 1}, {5, 5}));
    EXPECT_TRUE(areCollinear({0, 0}, {1, 1}, {-5, -5}));
    EXPECT_TRUE(areCollinear({0, 0}, {0.00005, 0}, {3, 7})); // two points coincide
    EXPECT_FALSE(areCollinear({0, 0}, {1, 0}, {2, 0.01}));
    // An angle of 0.00005 rad from straight still counts; 0.0005 does not.
    EXPECT_TRUE(areCollinear({-1, 0}, {0, 0}, {std::cos(0.00005), std::sin(0.00005)}));
    EXPECT_FALSE(areCollinear({-1, 0}, {0, 0}, {std::cos(0.0005), std::sin(0.0005)}));
}

TEST(Primitives, SolveQuadratic) {
    double r[2];
    // (x - 3)(x + 2) = x^2 - x - 6: the root with +sqrt comes first.
    ASSERT_EQ(solveQuadratic(1, -1, -6, r), 2);
    EXPECT_NEAR(r[0], 3, 1e-12);
    EXPECT_NEAR(r[1], -2, 1e-12);
    // With a negative leading coefficient the +sqrt root is the smaller one.
    ASSERT_EQ(solveQuadratic(-1, 1, 6, r), 2);
    EXPECT_NEAR(r[0], -2, 1e-12);
    EXPECT_NEAR(r[1], 3, 1e-12);
    // Tiny root next to a huge one keeps its digits.
    ASSERT_EQ(solveQuadratic(1, 1e8, 1, r), 2);
    EXPECT_NEAR(r[0], -1e-8, 1e-20);
    EXPECT_NEAR(r[1], -1e8, 1e-4);
    EXPECT_EQ(solveQuadratic(1, 0, 1, r), 0);
    ASSERT_EQ(solveQuadratic(1, -4, 4, r), 1); // double root
    EXPECT_DOUBLE_EQ(r[0], 2);
    ASSERT_EQ(solveQuadratic(1e-9, 2, -4, r), 1); // leading coefficient counts as zero
    EXPECT_DOUBLE_EQ(r[0], 2);
    EXPECT_EQ(solveQuadratic(1e-9, 1e-9, 1, r), 0);
    // A discriminant of -4e-6 (above -1e-5) is taken as its magnitude: two close roots.
    ASSERT_EQ(solveQuadratic(1, 0, 1e-6, r), 2);
    EXPECT_NEAR(std::fabs(r[0]), 1e-3, 1e-12);
    EXPECT_NEAR(r[0], -r[1], 1e-15);
    EXPECT_EQ(solveQuadratic(1, 0, 1e-5, r), 0); // discriminant -4e-5
}

TEST(Primitives, SolveCubic) {
    double r[3];
    // (x - 1)(x - 2)(x + 3) = x^3 - 7x + 6
    ASSERT_EQ(solveCubic(1, 0, -7, 6, r), 3);
    EXPECT_NEAR(r[0], -3, 1e-12);
    EXPECT_NEAR(r[1], 1, 1e-12);
    EXPECT_NEAR(r[2], 2, 1e-12);
    // x^3 + x + 10 = (x + 2)(x^2 - 2x + 5): one real root.
    ASSERT_EQ(solveCubic(1, 0, 1, 10, r), 1);
    EXPECT_NEAR(r[0], -2, 1e-12);
    // 2 (x - 1)^2 (x + 2) = 2x^3 - 6x + 4: a double root counts once.
    ASSERT_EQ(solveCubic(2, 0, -6, 4, r), 2);
    EXPECT_NEAR(r[0], -2, 1e-9);
    EXPECT_NEAR(r[1], 1, 1e-6);
    // (x - 5)^3
    ASSERT_EQ(solveCubic(1, -15, 75, -125, r), 1);
    EXPECT_NEAR(r[0], 5, 1e-9);
    // Leading coefficient below 1e-8: the quadratic x^2 - 1.
    ASSERT_EQ(solveCubic(1e-9, 1, 0, -1, r), 2);
    EXPECT_NEAR(std::fabs(r[0]), 1, 1e-12);
    // Widely spread roots 0.001, 10, 1000.
    ASSERT_EQ(solveCubic(1, -(0.001 + 10 + 1000), 0.001 * 10 + 0.001 * 1000 + 10 * 1000,
                         -0.001 * 10 * 1000, r),
              3);
    EXPECT_NEAR(r[0], 0.001, 1e-12);
    EXPECT_NEAR(r[1], 10, 1e-9);
    EXPECT_NEAR(r[2], 1000, 1e-9);
}

TEST(Primitives, BeyondOrigin) {
    const Point2 o{0, 0}, t{10, 0};
    EXPECT_TRUE(isBeyondOrigin(o, t, {-1, 0}));
    EXPECT_TRUE(isBeyondOrigin(o, t, {-0.001, 5}));
    EXPECT_FALSE(isBeyondOrigin(o, t, {0, 0}));
    EXPECT_FALSE(isBeyondOrigin(o, t, {0.001, -3}));
    EXPECT_FALSE(isBeyondOrigin(o, t, {50, 0}));  // far along the ray
    EXPECT_FALSE(isBeyondOrigin(o, t, {2, 100})); // foot on the stretch
    EXPECT_FALSE(isBeyondOrigin(o, o, {-1, 0}));  // no direction: nothing is behind
}
