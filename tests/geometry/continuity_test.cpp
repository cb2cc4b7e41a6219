// Intersection points keep to their branch while a free point is dragged in small steps.
#include "builder.h"

#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace qorv;
using namespace qorv::testing;

namespace {

// Drags `moving` through `steps` positions of `path` (s from 0 to 1) and checks, at every step,
// that each of the two intersection points moved less than `maxStep` and stayed nearer to its
// own previous position than to the other's. Returns the number of steps where both were defined.
int followBranches(Builder& b, Element* moving, const std::function<Point2(double)>& path,
                   int steps, Element* first, Element* second, double maxStep) {
    int both = 0;
    bool havePrev = false;
    Point2 prev1{}, prev2{};
    for (int i = 0; i <= steps; ++i) {
        const Point2 p = path(double(i) / steps);
        b.drag(moving, p.x, p.y);
        if (!first->defined || !second->defined) {
            havePrev = false;
            continue;
        }
        ++both;
        const Point2 q1 = pos(first), q2 = pos(second);
        EXPECT_GT(distance(q1, q2), 1e-6) << "step " << i;
        if (havePrev) {
            EXPECT_LT(distance(q1, prev1), maxStep) << "step " << i;
            EXPECT_LT(distance(q2, prev2), maxStep) << "step " << i;
            EXPECT_LT(distance(q1, prev1), distance(q1, prev2)) << "step " << i;
            EXPECT_LT(distance(q2, prev2), distance(q2, prev1)) << "step " << i;
        }
        prev1 = q1;
        prev2 = q2;
        havePrev = true;
    }
    return both;
}

} // namespace

TEST(BranchContinuity, LineCircleWhileTheLineTurns) {
    Builder b;
    Element* c = b.circle(b.point(0, 0), b.point(0, 5));
    Element* a = b.point(-10, -4);
    Element* fixed = b.point(10, 0);
    Element* l = b.line(a, fixed);
    Element* x6 = b.intersection(l, c, 6);
    Element* x7 = b.intersection(l, c, 7);
    const int both = followBranches(
        b, a,
        [](double s) {
            return Point2{-10, -4 + 8 * s};
        },
        800, x6, x7, 0.1);
    EXPECT_EQ(both, 801);
    // The first candidate is the one further along the line, towards (10, 0).
    EXPECT_GT(x6->value[0], x7->value[0]);
    for (Element* x : {x6, x7})
        EXPECT_NEAR(distance(pos(x), {0, 0}), 5, 1e-9);
}

TEST(BranchContinuity, LineCircleThroughAFullTurnIncludingVerticals) {
    // The second defining point turns once about the first, which is inside the circle: the line
    // passes vertical twice and its direction turns round; the candidates follow it smoothly.
    Builder b;
    Element* c = b.circle(b.point(0, 0), b.point(0, 5));
    Element* a = b.point(1, 0.5);
    Element* moving = b.point(4, 0.5);
    Element* l = b.line(a, moving);
    Element* x6 = b.intersection(l, c, 6);
    Element* x7 = b.intersection(l, c, 7);
    const int both = followBranches(
        b, moving,
        [](double s) {
            return Point2{1 + 3 * std::cos(2 * Pi * s), 0.5 + 3 * std::sin(2 * Pi * s)};
        },
        3600, x6, x7, 0.1);
    EXPECT_EQ(both, 3601);
    // After the full turn the first candidate is again the crossing towards the moving point.
    EXPECT_GT(x6->value[0], 0);
}

TEST(BranchContinuity, LineCircleTangencyAndReturn) {
    // Sweeping the line off the circle: both points meet at the tangency, vanish, and come back
    // on their own branches when the line returns.
    Builder b;
    Element* c = b.circle(b.point(0, 0), b.point(0, 5));
    Element* a = b.point(-10, 0);
    Element* d = b.point(10, 0);
    Element* l = b.line(a, d);
    b.drag(a, -10, 3);
    Element* x6 = b.intersection(l, c, 6);
    Element* x7 = b.intersection(l, c, 7);
    b.drag(d, 10, 3);
    const Point2 start6 = pos(x6), start7 = pos(x7);
    EXPECT_NEAR(start6.x, 4, 1e-9);
    EXPECT_NEAR(start7.x, -4, 1e-9);
    for (double y : {4.0, 4.99995}) {
        b.drag(a, -10, y);
        b.drag(d, 10, y);
    }
    ASSERT_EQ(x6->defined, 1); // within 0.0001 of tangency: both take the foot
    EXPECT_NEAR(x6->value[0], 0, 1e-9);
    EXPECT_NEAR(x7->value[0], 0, 1e-9);
    b.drag(a, -10, 6);
    b.drag(d, 10, 6);
    EXPECT_EQ(x6->defined, 0);
    EXPECT_EQ(x7->defined, 0);
    b.drag(a, -10, 3);
    b.drag(d, 10, 3);
    EXPECT_NEAR(distance(pos(x6), start6), 0, 1e-9);
    EXPECT_NEAR(distance(pos(x7), start7), 0, 1e-9);
}

TEST(BranchContinuity, CircleCircleAsOneCircleGoesAround) {
    Builder b;
    Element* c1 = b.circle(b.point(0, 0), b.point(5, 0));
    Element* centre = b.point(6, 0);
    b.req.value[0] = 6;
    b.req.value[1] = 0;
    b.req.value[2] = 6;
    b.req.value[3] = 4; // radius 4, kept while the centre moves
    Element* c2 = b.make(Method::CircleByCentre, centre);
    Element* x12 = b.intersection(c1, c2, 12);
    Element* x13 = b.intersection(c1, c2, 13);
    const int both = followBranches(
        b, centre,
        [](double s) {
            return Point2{6 * std::cos(2 * Pi * s), 6 * std::sin(2 * Pi * s)};
        },
        2000, x12, x13, 0.1);
    EXPECT_EQ(both, 2001);
    // And along a radius, from nearly inside to nearly apart.
    const int radial = followBranches(
        b, centre,
        [](double s) {
            return Point2{1.5 + 7 * s, 0.3};
        },
        1400, x12, x13, 0.2);
    EXPECT_EQ(radial, 1401);
    // Where the circles separate, both vanish; they return when the centre comes back.
    b.drag(centre, 9.5, 0);
    EXPECT_EQ(x12->defined, 0);
    b.drag(centre, 6, 0);
    ASSERT_EQ(x12->defined, 1);
    // The chord direction (c1 - c2 turned clockwise) points up: the first candidate is above.
    EXPECT_GT(x12->value[1], 0);
    EXPECT_LT(x13->value[1], 0);
}

TEST(BranchContinuity, ConicLine) {
    Builder b;
    std::vector<Element*> pts;
    for (int i = 0; i < 5; ++i)
        pts.push_back(b.point(50 + i, 50));
    Element* k = b.make(Method::Conic, nullptr, nullptr, nullptr, pts);
    makeEllipse(k, 1, -1, 6, 4);
    Element* a = b.point(-10, -3);
    Element* fixed = b.point(10, 0);
    Element* l = b.line(a, fixed);
    Element* x24 = b.intersection(k, l, 24);
    Element* x25 = b.intersection(k, l, 25);
    const int both = followBranches(
        b, a,
        [](double s) {
            return Point2{-10, -3 + 6 * s};
        },
        600, x24, x25, 0.1);
    EXPECT_EQ(both, 601);
    for (Element* x : {x24, x25}) {
        const double u = (x->value[0] - 1) / 6, v = (x->value[1] + 1) / 4;
        EXPECT_NEAR(u * u + v * v, 1, 1e-9);
    }
    EXPECT_EQ(k->defined, 1); // the drag never touched the conic

    // The line turning fully about a point inside the ellipse.
    Element* inside = b.point(2, 0);
    Element* moving = b.point(5, 0);
    Element* l2 = b.line(inside, moving);
    Element* y24 = b.intersection(k, l2, 24);
    Element* y25 = b.intersection(k, l2, 25);
    const int turned = followBranches(
        b, moving,
        [](double s) {
            return Point2{2 + 3 * std::cos(2 * Pi * s), 3 * std::sin(2 * Pi * s)};
        },
        3600, y24, y25, 0.1);
    EXPECT_EQ(turned, 3601);
}

TEST(BranchContinuity, ConicConicWhileACircleMoves) {
    Builder b;
    std::vector<Element*> pts;
    for (int i = 0; i < 5; ++i)
        pts.push_back(b.point(50 + i, 50));
    Element* k = b.make(Method::Conic, nullptr, nullptr, nullptr, pts);
    makeEllipse(k, 0, 0, 6, 4);
    Element* centre = b.point(0, 0);
    b.req.value[0] = 0;
    b.req.value[1] = 0;
    b.req.value[2] = 0;
    b.req.value[3] = 5;
    Element* c = b.make(Method::CircleByCentre, centre);
    Element* x[4];
    for (int i = 0; i < 4; ++i)
        x[i] = b.intersection(k, c, 34 + i);
    // Move the circle's centre round a small circle, starting from the symmetric position: all
    // four crossings persist and move smoothly.
    Point2 prev[4];
    for (int i = 0; i < 4; ++i)
        prev[i] = pos(x[i]);
    for (int step = 1; step <= 720; ++step) {
        const double s = (step - 100) / 620.0;
        if (step <= 100)
            b.drag(centre, 0.5 * step / 100.0, 0);
        else
            b.drag(centre, 0.5 * std::cos(2 * Pi * s), 0.5 * std::sin(2 * Pi * s));
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(x[i]->defined, 1) << step;
            EXPECT_LT(distance(pos(x[i]), prev[i]), 0.05) << "step " << step << " point " << i;
            prev[i] = pos(x[i]);
        }
    }
}
