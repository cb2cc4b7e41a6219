#include "builder.h"

#include "geometry/pointonelement.h"
#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qorv;
using namespace qorv::testing;

namespace {

Point2 at(Builder& b, const Element* e, double t) {
    Point2 p{-999, -999};
    EXPECT_TRUE(evaluatePointOnElement(b.doc, *e, t, p)) << "t = " << t;
    return p;
}

void expectNear(Point2 p, double x, double y, double tol = 1e-9) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

} // namespace

TEST(PointOnElement, StraightElements) {
    Builder b;
    Element* a = b.point(1, 1);
    Element* c = b.point(4, 5);               // |ac| = 5
    expectNear(at(b, b.line(a, c), 2), 7, 9); // affine
    expectNear(at(b, b.ray(a, c), -1), -2, -3);
    Element* par = b.make(Method::ParallelLine, b.line(a, c), b.point(0, 0));
    expectNear(at(b, par, 10), 6, 8); // signed distance along (3, 4) / 5
    Element* s = b.segment(a, c);
    expectNear(at(b, s, 0), 1, 1);
    expectNear(at(b, s, 1), 4, 5);
    expectNear(at(b, s, 0.5), 2.5, 3);
    Element* zero = b.segment(a, b.point(1, 1));
    expectNear(at(b, zero, 0.7), 1, 1);
    // Through one point: distance parameterisation too.
    Element* through = b.make(Method::LineThroughPoint, a);
    const Point2 q = at(b, through, 3);
    EXPECT_NEAR(distance(q, pos(a)), 3, 1e-12);
}

TEST(PointOnElement, CircleArcAndPolygon) {
    Builder b;
    Element* c = b.circle(b.point(1, 2), b.point(4, 2));
    expectNear(at(b, c, Pi / 2), 1, 5);
    expectNear(at(b, c, Pi), -2, 2);

    Element* p1 = b.point(5, 0);
    Element* p2 = b.point(0, 5);
    Element* p3 = b.point(-5, 0);
    Element* arc = b.make(Method::ArcThreePoints, p1, p2, p3);
    arc->value[0] = 0;
    arc->value[1] = 0;
    arc->value[2] = 0;
    arc->value[3] = 5;
    arc->option = 1;
    arc->option2 = 0;
    arc->defined = 1;
    expectNear(at(b, arc, 0), 5, 0);
    expectNear(at(b, arc, 0.5), 0, 5);
    expectNear(at(b, arc, 1), -5, 0);
    arc->option = 0; // clockwise from (5, 0) to (-5, 0): through (0, -5)
    expectNear(at(b, arc, 0.5), 0, -5);
    // Straight arc: a segment, or the rest of the line.
    arc->option2 = 1;
    arc->option = 0;
    arc->value[0] = 5;
    arc->value[1] = 0;
    arc->value[2] = -5;
    arc->value[3] = 0;
    expectNear(at(b, arc, 0.25), 2.5, 0);
    arc->option = 1;
    expectNear(at(b, arc, 0.25), -5, 0);
    expectNear(at(b, arc, 0), 5, 0);

    Element* v0 = b.point(0, 0);
    Element* v1 = b.point(4, 0);
    Element* v2 = b.point(4, 3);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {v0, v1, v2});
    expectNear(at(b, poly, 0.5), 2, 0);
    expectNear(at(b, poly, 1.5), 4, 1.5);
    expectNear(at(b, poly, 2.5), 2, 1.5);
    expectNear(at(b, poly, 3), 0, 0);   // the end of the last side closes on the first vertex
    expectNear(at(b, poly, -2), 0, 0);  // clamped to the first side
    expectNear(at(b, poly, 7.5), 0, 0); // clamped to the end of the last side
}

TEST(PointOnElement, ConicBetweenSamples) {
    Builder b;
    std::vector<Element*> pts;
    for (int i = 0; i < 5; ++i)
        pts.push_back(b.point(i, 0));
    Element* k = b.make(Method::Conic, nullptr, nullptr, nullptr, pts);
    makeEllipse(k, 0, 0, 6, 4);
    expectNear(at(b, k, 0), 6, 0);
    expectNear(at(b, k, 30), 0, 4, 1e-9);
    // Between samples the point is put on the curve, near the chord's point.
    const Point2 p = at(b, k, 10.5);
    EXPECT_NEAR(p.x * p.x / 36 + p.y * p.y / 16, 1, 1e-9);
    const double th = 2 * Pi * 10.5 / 120;
    EXPECT_NEAR(p.x, 6 * std::cos(th), 0.01);
    EXPECT_NEAR(p.y, 4 * std::sin(th), 0.01);
    // Past the last sample it wraps to the first ones.
    expectNear(at(b, k, 120), 6, 0);
    const Point2 w = at(b, k, 119.5);
    EXPECT_NEAR(w.x * w.x / 36 + w.y * w.y / 16, 1, 1e-9);
    EXPECT_LT(w.y, 0);
}

TEST(PointOnElement, NearestParameterIsTheInverse) {
    Builder b;
    Element* a = b.point(1, 1);
    Element* c = b.point(4, 5);
    Element* l = b.line(a, c);
    EXPECT_NEAR(nearestParameterOnElement(*l, {7, 9}), 2, 1e-12);
    EXPECT_NEAR(nearestParameterOnElement(*l, Point2{7, 9} + Point2{4, -3}), 2, 1e-12);
    EXPECT_NEAR(nearestParameterOnElement(*b.ray(a, c), {-2, -3}), 0, 1e-12);
    EXPECT_NEAR(nearestParameterOnElement(*b.segment(a, c), {100, 100}), 1, 1e-12);
    Element* circle = b.circle(b.point(0, 0), b.point(2, 0));
    EXPECT_NEAR(nearestParameterOnElement(*circle, {0, -7}), 3 * Pi / 2, 1e-12);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr,
                           {b.point(0, 0), b.point(4, 0), b.point(4, 3)});
    EXPECT_NEAR(nearestParameterOnElement(*poly, {5, 1.5}), 1.5, 1e-12);
    // Round trips on every kind.
    for (double t : {0.1, 0.37, 0.9}) {
        Point2 p;
        ASSERT_TRUE(evaluatePointOnElement(b.doc, *poly, t * 3, p));
        EXPECT_NEAR(nearestParameterOnElement(*poly, p), t * 3, 1e-9);
        ASSERT_TRUE(evaluatePointOnElement(b.doc, *circle, t * 6, p));
        EXPECT_NEAR(nearestParameterOnElement(*circle, p), t * 6, 1e-9);
    }
}

TEST(PointOnElement, OtherKindsGiveNoPoint) {
    Builder b;
    Point2 p{123, 456};
    Element* pt = b.point(1, 1);
    EXPECT_FALSE(evaluatePointOnElement(b.doc, *pt, 0.5, p));
    EXPECT_FALSE(evaluatePointOnElement(b.doc, *b.number(3), 0.5, p));
    Element* s = b.segment(pt, b.point(2, 2));
    EXPECT_FALSE(evaluatePointOnElement(b.doc, *s, std::nan(""), p));
    EXPECT_FALSE(evaluatePointOnElement(b.doc, *s, INFINITY, p));
    EXPECT_EQ(p.x, 123);
}
