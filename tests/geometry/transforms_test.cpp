#include "construction/create.h"
#include "geometry/recalc.h"
#include "geometry/recalcmethods.h"
#include "geometry/transforms.h"

#include "derived_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>

using namespace qorv;
using qorv::test::Scene;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kEps = 1e-9;

void expectPoint(const Element* e, double x, double y, double eps = kEps) {
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->defined, 1);
    EXPECT_NEAR(e->value[0], x, eps);
    EXPECT_NEAR(e->value[1], y, eps);
}

} // namespace

// ---- rotation, homothety, inversion, reflection -----------------------------------------------

TEST(Rotation, QuarterTurnsInEachAngleUnit) {
    Scene s;
    Element* p = s.point(2, 0);
    Element* c = s.point(0, 0);
    s.doc.angleUnit = AngleUnit::Deg;
    Element* plus = s.make(Method::RotationPoint, p, c, s.number(90));
    Element* minus = s.make(Method::RotationPoint, p, c, s.number(-90));
    recalcRotation(s.doc, *plus);
    recalcRotation(s.doc, *minus);
    expectPoint(plus, 0, 2);
    expectPoint(minus, 0, -2);

    s.doc.angleUnit = AngleUnit::Gra;
    Element* grads = s.make(Method::RotationPoint, p, c, s.number(100));
    recalcRotation(s.doc, *grads);
    expectPoint(grads, 0, 2);

    s.doc.angleUnit = AngleUnit::Rad;
    Element* rad = s.make(Method::RotationPoint, s.point(3, 1), s.point(1, 1), s.number(kPi));
    recalcRotation(s.doc, *rad);
    expectPoint(rad, -1, 1);
}

TEST(Rotation, PointBelowTheCentreTurnsTheRightWay) {
    Scene s;
    // From (1, -1) about the origin by 45 degrees: onto the positive x axis.
    const Point2 r = rotatePoint({1, -1}, {0, 0}, kPi / 4);
    EXPECT_NEAR(r.x, std::sqrt(2.0), kEps);
    EXPECT_NEAR(r.y, 0, kEps);
    // The centre itself, and anything closer than 0.0001 to it, stays put.
    const Point2 q = rotatePoint({0.00005, 0}, {0, 0}, 1.0);
    EXPECT_EQ(q.x, 0.00005);
    EXPECT_EQ(q.y, 0.0);
}

// Far from the centre and next to its horizontal, tiny and half turns stay exact: the
// result is compared with the turn written out by hand.
TEST(Rotation, KeepsItsPrecisionNearNoTurnAndHalfTurn) {
    const struct {
        Point2 p, c;
        double theta;
    } cases[] = {
        {{20000, -0.00027}, {0, 0}, 0.0},   {{20000, 0.00027}, {0, 0}, 1e-12},
        {{-20000, 0.00027}, {0, 0}, kPi},   {{20000, -0.00027}, {0, 0}, -kPi},
        {{5, 3 + 1e-9}, {-19995, 3}, 1e-9}, {{1e6, 1e-6}, {0, 0}, 2 * kPi},
    };
    for (const auto& k : cases) {
        const Point2 d{k.p.x - k.c.x, k.p.y - k.c.y};
        const double cs = std::cos(k.theta), sn = std::sin(k.theta);
        const Point2 want{k.c.x + d.x * cs - d.y * sn, k.c.y + d.x * sn + d.y * cs};
        const Point2 r = rotatePoint(k.p, k.c, k.theta);
        EXPECT_NEAR(r.x, want.x, 1e-9) << k.p.x << " " << k.p.y << " by " << k.theta;
        EXPECT_NEAR(r.y, want.y, 1e-9) << k.p.x << " " << k.p.y << " by " << k.theta;
    }
}

TEST(Rotation, NumberWithoutValueMakesItUndefinedUntilTheValueReturns) {
    Scene s;
    Element* angle = s.number(1.0, false);
    Element* r = s.make(Method::RotationPoint, s.point(2, 0), s.point(0, 0), angle);
    recalcRotation(s.doc, *r);
    EXPECT_EQ(r->defined, 0);
    angle->option = HasValue;
    angle->value[0] = kPi / 2;
    recalcRotation(s.doc, *r);
    expectPoint(r, 0, 2);
    angle->defined = 0;
    recalcRotation(s.doc, *r);
    EXPECT_EQ(r->defined, 0);
    EXPECT_NEAR(r->value[1], 2, kEps); // keeps its last numbers
}

TEST(Homothety, RatioMinusOneIsTheCentralSymmetry) {
    Scene s;
    Element* p = s.point(3, 1);
    Element* c = s.point(1, -2);
    Element* h = s.make(Method::HomothetyPoint, p, c, s.number(-1));
    recalcHomothety(s.doc, *h);
    expectPoint(h, 2 * 1 - 3, 2 * -2 - 1);
    Element* h2 = s.make(Method::HomothetyPoint, p, c, s.number(2.5));
    recalcHomothety(s.doc, *h2);
    expectPoint(h2, 1 + 2.5 * 2, -2 + 2.5 * 3);
    Element* none = s.make(Method::HomothetyPoint, p, c, s.number(2, false));
    recalcHomothety(s.doc, *none);
    EXPECT_EQ(none->defined, 0);
}

TEST(Inversion, PointsOnInsideAndAtTheCentre) {
    Scene s;
    Element* circle = s.circle(1, 1, 4, 5); // radius 5
    Element* on = s.make(Method::InversePoint, circle, s.point(1, 6));
    recalcInversion(s.doc, *on);
    expectPoint(on, 1, 6);
    // At distance 2 from the centre: the image is at 25 / 2 on the same ray.
    Element* inside = s.make(Method::InversePoint, circle, s.point(1, 3));
    recalcInversion(s.doc, *inside);
    expectPoint(inside, 1, 1 + 12.5);
    Element* centre = s.make(Method::InversePoint, circle, s.point(1, 1));
    recalcInversion(s.doc, *centre);
    EXPECT_EQ(centre->defined, 0);
}

TEST(AxialSymmetry, MirrorsInTheAxisAndFixesItsPoints) {
    Scene s;
    Element* diagonal = s.line(0, 0, 1, 1);
    Element* m = s.make(Method::AxialSymmetryPoint, s.point(3, 1), diagonal);
    recalcAxialSymmetry(s.doc, *m);
    expectPoint(m, 1, 3);
    Element* onAxis = s.make(Method::AxialSymmetryPoint, s.point(2, 2), diagonal);
    recalcAxialSymmetry(s.doc, *onAxis);
    expectPoint(onAxis, 2, 2);
    Element* vertical = s.segment(2, -5, 2, 9);
    Element* v = s.make(Method::AxialSymmetryPoint, s.point(5, 7), vertical);
    recalcAxialSymmetry(s.doc, *v);
    expectPoint(v, -1, 7);
    Element* flat = s.line(4, 4, 4.00005, 4);
    Element* u = s.make(Method::AxialSymmetryPoint, s.point(5, 7), flat);
    recalcAxialSymmetry(s.doc, *u);
    EXPECT_EQ(u->defined, 0);
}

// ---- bisectors ------------------------------------------------------------------------------

TEST(AngleBisector, RightAngleAndObtuseAnglesBothWays) {
    Scene s;
    Element* v = s.point(0, 0);
    Element* b = s.make(Method::AngleBisector, s.point(1, 0), v, s.point(0, 1));
    recalcAngleBisector(s.doc, *b);
    ASSERT_EQ(b->defined, 1);
    EXPECT_NEAR(b->value[0], 0, kEps);
    EXPECT_NEAR(b->value[1], 0, kEps);
    EXPECT_NEAR(b->value[2], 5 * std::sqrt(2.0), kEps);
    EXPECT_NEAR(b->value[3], 5 * std::sqrt(2.0), kEps);

    // Arms given the other way round: the same bisector of the angle below pi.
    Element* b2 = s.make(Method::AngleBisector, s.point(0, 1), v, s.point(1, 0));
    recalcAngleBisector(s.doc, *b2);
    EXPECT_NEAR(b2->value[2], 5 * std::sqrt(2.0), kEps);
    EXPECT_NEAR(b2->value[3], 5 * std::sqrt(2.0), kEps);

    // 135 degrees above and below the x axis.
    const double t = 67.5 * kPi / 180;
    Element* up = s.make(Method::AngleBisector, s.point(1, 0), v, s.point(-1, 1));
    Element* down = s.make(Method::AngleBisector, s.point(1, 0), v, s.point(-1, -1));
    recalcAngleBisector(s.doc, *up);
    recalcAngleBisector(s.doc, *down);
    EXPECT_NEAR(up->value[2], 10 * std::cos(t), kEps);
    EXPECT_NEAR(up->value[3], 10 * std::sin(t), kEps);
    EXPECT_NEAR(down->value[2], 10 * std::cos(t), kEps);
    EXPECT_NEAR(down->value[3], -10 * std::sin(t), kEps);

    // 60 degrees clockwise from the first arm: turning the first arm the wrong way would give a
    // line only 90 degrees from the second arm.
    Element* acute = s.make(Method::AngleBisector, s.point(1, 0), v, s.point(1, -std::sqrt(3.0)));
    recalcAngleBisector(s.doc, *acute);
    EXPECT_NEAR(acute->value[2], 10 * std::cos(kPi / 6), kEps);
    EXPECT_NEAR(acute->value[3], -10 * std::sin(kPi / 6), kEps);

    Element* bad = s.make(Method::AngleBisector, s.point(0.00005, 0), v, s.point(0, 1));
    recalcAngleBisector(s.doc, *bad);
    EXPECT_EQ(bad->defined, 0);
}

TEST(PerpendicularBisector, ThroughTheMidpointTurnedClockwise) {
    Scene s;
    Element* m = s.make(Method::PerpendicularBisector, s.point(0, 0), s.point(4, 2));
    recalcPerpendicularBisector(s.doc, *m);
    ASSERT_EQ(m->defined, 1);
    EXPECT_NEAR(m->value[0], 2, kEps);
    EXPECT_NEAR(m->value[1], 1, kEps);
    EXPECT_NEAR(m->value[2], 4, kEps);
    EXPECT_NEAR(m->value[3], -3, kEps);
    Element* d = s.make(Method::PerpendicularBisector, s.point(1, 1), s.point(1, 1.00005));
    recalcPerpendicularBisector(s.doc, *d);
    EXPECT_EQ(d->defined, 0);
}

// ---- arcs ------------------------------------------------------------------------------------

TEST(Arc, SenseFollowsTheOrderOfThePoints) {
    Scene s;
    Element* a = s.point(1, 0);
    Element* b = s.point(0, 1);
    Element* c = s.point(-1, 0);
    Element* ccw = s.make(Method::ArcThreePoints, a, b, c);
    Element* cw = s.make(Method::ArcThreePoints, c, b, a);
    recalcArc(s.doc, *ccw);
    recalcArc(s.doc, *cw);
    ASSERT_EQ(ccw->defined, 1);
    EXPECT_NEAR(ccw->value[0], 0, kEps);
    EXPECT_NEAR(ccw->value[1], 0, kEps);
    EXPECT_EQ(ccw->value[2], 0);
    EXPECT_EQ(ccw->value[3], 1);
    EXPECT_EQ(ccw->option, 1);
    EXPECT_EQ(ccw->option2, 0);
    ASSERT_EQ(cw->defined, 1);
    EXPECT_EQ(cw->option, 0);

    // Centre (1, 1), radius 4.
    Element* other = s.make(Method::ArcThreePoints, s.point(5, 1), s.point(1, 5), s.point(-3, 1));
    recalcArc(s.doc, *other);
    EXPECT_NEAR(other->value[0], 1, kEps);
    EXPECT_NEAR(other->value[1], 1, kEps);
    EXPECT_EQ(other->option, 1);
}

TEST(Arc, StraightPointAndDegenerateArcs) {
    Scene s;
    Element* p0 = s.point(0, 0);
    Element* p1 = s.point(1, 0);
    Element* p2 = s.point(2, 0);
    Element* p3 = s.point(3, 0);
    Element* inside = s.make(Method::ArcThreePoints, p0, p1, p2);
    recalcArc(s.doc, *inside);
    ASSERT_EQ(inside->defined, 1);
    EXPECT_EQ(inside->option2, 1);
    EXPECT_EQ(inside->option, 0);
    EXPECT_EQ(inside->value[0], 0);
    EXPECT_EQ(inside->value[2], 2);
    Element* outside = s.make(Method::ArcThreePoints, p0, p3, p2);
    recalcArc(s.doc, *outside);
    EXPECT_EQ(outside->option2, 1);
    EXPECT_EQ(outside->option, 1);

    Element* q = s.point(7, 7);
    Element* q2 = s.point(7 + 1e-9, 7);
    Element* pointArc = s.make(Method::ArcThreePoints, q, q2, q);
    recalcArc(s.doc, *pointArc);
    EXPECT_EQ(pointArc->defined, 1);
    EXPECT_EQ(pointArc->option, 0);
    EXPECT_EQ(pointArc->value[0], 7);
    EXPECT_EQ(pointArc->value[2], 7);

    Element* close = s.make(Method::ArcThreePoints, p0, s.point(0.00005, 0), s.point(0, 3));
    recalcArc(s.doc, *close);
    EXPECT_EQ(close->defined, 0);
}

// ---- regular polygons --------------------------------------------------------------------------

TEST(RegularPolygon, HexagonVerticesTurnBySixtyDegrees) {
    Scene s;
    Element* c = s.point(2, -1);
    Element* v = s.point(7, -1); // radius 5
    Element* poly = createRegularPolygon(s.doc, c, v, PolygonShape{6, 1}, s.opts);
    ASSERT_NE(poly, nullptr);
    const auto* t = poly->tailAs<PolygonTail>();
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->sides.size(), 6u);
    EXPECT_EQ(t->sides[0]->parent1, v);
    EXPECT_EQ(t->sides[5]->parent2, v);
    for (int i = 1; i < 6; ++i) {
        const Element* vi = t->sides[size_t(i)]->parent1;
        ASSERT_EQ(vi->method, Method::RegularPolygonVertex);
        const double a = i * kPi / 3;
        expectPoint(vi, 2 + 5 * std::cos(a), -1 + 5 * std::sin(a));
    }
    // Moving the first vertex moves the others with it.
    v->value[0] = 2;
    v->value[1] = 4;
    Element* v1 = t->sides[1]->parent1;
    recalcRegularPolygonVertex(s.doc, *v1);
    expectPoint(v1, 2 - 5 * std::sin(kPi / 3), -1 + 5 * std::cos(kPi / 3));
}

TEST(RegularPolygon, SidesProposedFromThePointer) {
    const Point2 c{0, 0}, v{10, 0};
    // The pointer at oriented angle theta from the first vertex (clockwise of it).
    auto at = [&](double theta) {
        return regularPolygonSides(c, v, Point2{10 * std::cos(-theta), 10 * std::sin(-theta)});
    };
    EXPECT_EQ(at(0.9 * kPi).sides, 3);
    EXPECT_EQ(at(0.9 * kPi).density, 1);
    EXPECT_EQ(at(0.3 * kPi).sides, 6);
    EXPECT_EQ(at(0.05 * kPi).sides, 30);
    EXPECT_EQ(at(0.0).sides, 30);
    const PolygonShape star = at(1.2 * kPi);
    EXPECT_EQ(star.sides, 5);
    EXPECT_EQ(star.density, 2);
    const PolygonShape seven = at(2 * kPi - 2 * kPi * 3 / 7);
    EXPECT_EQ(seven.sides, 7);
    EXPECT_EQ(seven.density, 3);
}

TEST(RegularPolygon, StarTable) {
    const auto& t = starPolygons();
    ASSERT_EQ(t.size(), 110u);
    EXPECT_EQ(t[0].sides, 5);
    EXPECT_EQ(t[0].density, 2);
    EXPECT_EQ(t[1].sides, 7);
    EXPECT_EQ(t[1].density, 2);
    EXPECT_EQ(t[2].sides, 7);
    EXPECT_EQ(t[2].density, 3);
    EXPECT_EQ(t[3].sides, 8);
    EXPECT_EQ(t[3].density, 3);
    EXPECT_EQ(t[107].sides, 30);
    EXPECT_EQ(t[107].density, 7);
    EXPECT_EQ(t[108].density, 11);
    EXPECT_EQ(t[109].density, 13);
    for (size_t i = 1; i < t.size(); ++i) {
        EXPECT_TRUE(t[i - 1].sides < t[i].sides ||
                    (t[i - 1].sides == t[i].sides && t[i - 1].density < t[i].density));
        EXPECT_EQ(std::gcd(t[i].sides, t[i].density), 1);
    }
}

TEST(RegularPolygon, StarVerticesSkipPoints) {
    Scene s;
    Element* poly =
        createRegularPolygon(s.doc, s.point(0, 0), s.point(10, 0), PolygonShape{5, 2}, s.opts);
    const auto* t = poly->tailAs<PolygonTail>();
    ASSERT_EQ(t->sides.size(), 5u);
    // Vertex 1 of {5/2} lies two fifths of a turn on.
    expectPoint(t->sides[1]->parent1, 10 * std::cos(4 * kPi / 5), 10 * std::sin(4 * kPi / 5));
}

// ---- displacement, coordinates, vector sum
// --------------------------------------------------------

TEST(Displacement, AlongEachKindOfGuide) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    s.doc.lengthUnit = LengthUnit::Cm; // 2 units = 80 world
    Element* two = s.number(2);
    Element* origin = s.point(0, 0);

    Element* toPoint = s.make(Method::DisplacedPoint, origin, s.point(100, 0), two);
    recalcDisplacement(s.doc, *toPoint);
    expectPoint(toPoint, 80, 0);

    Element* alongLine = s.make(Method::DisplacedPoint, origin, s.line(10, 10, 10, 20), two);
    recalcDisplacement(s.doc, *alongLine);
    expectPoint(alongLine, 10, 90);

    Element* alongVector =
        s.make(Method::DisplacedPoint, s.point(1, 1), s.straight(Method::Vector, 0, 0, 0, -5), two);
    recalcDisplacement(s.doc, *alongVector);
    expectPoint(alongVector, 1, -79);

    s.doc.lengthUnit = LengthUnit::Mm; // 2 mm = 8 world
    recalcDisplacement(s.doc, *toPoint);
    expectPoint(toPoint, 8, 0);

    Element* same = s.make(Method::DisplacedPoint, origin, s.point(0.00005, 0), two);
    recalcDisplacement(s.doc, *same);
    EXPECT_EQ(same->defined, 0);
    Element* noValue = s.make(Method::DisplacedPoint, origin, s.point(5, 0), s.number(1, false));
    recalcDisplacement(s.doc, *noValue);
    EXPECT_EQ(noValue->defined, 0);
}

TEST(Displacement, AroundACircleOnlyForPointsOnItByConstruction) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    Element* circle = s.circle(0, 0, 100, 0);
    Element* onIt = circle->parent2; // its defining point
    Element* d = s.make(Method::DisplacedPoint, onIt, circle, s.number(2));
    recalcDisplacement(s.doc, *d);
    expectPoint(d, 100 * std::cos(0.8), 100 * std::sin(0.8));

    Element* loose = s.make(Method::DisplacedPoint, s.point(100, 0), circle, s.number(2));
    recalcDisplacement(s.doc, *loose);
    EXPECT_EQ(loose->defined, 0);

    {
        // A point on the circle (method 1) turns backwards with a negative number.
        Element* glider = s.make(Method::PointOnElement, circle);
        glider->value[0] = 0;
        glider->value[1] = 100;
        Element* g = s.make(Method::DisplacedPoint, glider, circle, s.number(-2));
        recalcDisplacement(s.doc, *g);
        expectPoint(g, 100 * std::cos(kPi / 2 - 0.8), 100 * std::sin(kPi / 2 - 0.8));
    }
}

TEST(Displacement, AlongTheAxesUsesTheirUnits) {
    Scene s;
    Element* axes = s.axes(5, 5, 40, 20);
    const auto* t = axes->tailAs<AxesTail>();
    Element* p = s.point(-50, -50); // does not enter
    Element* x = s.make(Method::DisplacedPoint, p, t->xAxis.get(), s.number(2));
    Element* y = s.make(Method::DisplacedPoint, p, t->yAxis.get(), s.number(-1));
    recalcDisplacement(s.doc, *x);
    recalcDisplacement(s.doc, *y);
    expectPoint(x, 85, 5);
    expectPoint(y, 5, -15);
}

TEST(PointWithCoordinates, RectangularAndPolar) {
    Scene s;
    Element* axes = s.axes(10, 20, 40, 30);
    Element* u = s.number(2);
    Element* v = s.number(-1);
    Element* p = s.make(Method::PointWithCoordinates, u, v, axes);
    recalcPointWithCoordinates(s.doc, *p);
    expectPoint(p, 10 + 80, 20 - 30);

    s.doc.coordinateSystem = 1;
    s.doc.angleUnit = AngleUnit::Deg;
    v->value[0] = 90;
    recalcPointWithCoordinates(s.doc, *p);
    expectPoint(p, 10, 20 + 2 * 30);
    v->value[0] = 180;
    recalcPointWithCoordinates(s.doc, *p);
    expectPoint(p, 10 - 2 * 40, 20);

    v->option = NoValue;
    recalcPointWithCoordinates(s.doc, *p);
    EXPECT_EQ(p->defined, 0);
}

TEST(VectorSum, AddsBothVectorsToThePoint) {
    Scene s;
    Element* v1 = s.straight(Method::Vector, 0, 0, 1, 2);
    Element* v2 = s.straight(Method::Vector, 5, 5, 2, 8);
    Element* p = s.make(Method::VectorSumPoint, v1, v2, s.point(10, 10));
    recalcVectorSum(s.doc, *p);
    expectPoint(p, 8, 15);
    v2->defined = 0;
    recalcVectorSum(s.doc, *p);
    EXPECT_EQ(p->defined, 0);
}

// ---- zoom ---------------------------------------------------------------------------------------

TEST(ScaleConstruction, MovesFreeDataAndScalesDistances) {
    Scene s;
    Element* free = s.point(20, 5);
    Element* byCentre = s.make(Method::CircleByCentre, free);
    Scene::setValues(byCentre, 20, 5, 13, 4);
    Element* throughPoint = s.make(Method::LineThroughPoint, free);
    Element* onLine = s.make(Method::PointOnElement, throughPoint);
    onLine->value[3] = 7;
    Element* seg = s.segment(0, 0, 1, 1);
    Element* onSegment = s.make(Method::PointOnElement, seg);
    onSegment->value[3] = 0.5;
    Element* axes = s.axes(0, 0, 40, 30);
    s.doc.pixelsPerUnit = 40;
    s.doc.constantLengthsWithZoom = 1;

    scaleConstruction(s.doc, Point2{10, 0}, 2);
    EXPECT_EQ(free->value[0], 30);
    EXPECT_EQ(free->value[1], 10);
    EXPECT_EQ(byCentre->value[2], 16);
    EXPECT_EQ(byCentre->value[3], 8);
    EXPECT_EQ(onLine->value[3], 14);
    EXPECT_EQ(onSegment->value[3], 0.5);
    EXPECT_EQ(axes->tailAs<AxesTail>()->scaleX, 80);
    EXPECT_EQ(axes->tailAs<AxesTail>()->scaleY, 60);
    EXPECT_EQ(s.doc.pixelsPerUnit, 80);

    s.doc.constantLengthsWithZoom = 0;
    scaleConstruction(s.doc, Point2{10, 0}, 0.5);
    EXPECT_EQ(free->value[0], 20);
    EXPECT_EQ(s.doc.pixelsPerUnit, 80);
}

TEST(ScaleConstruction, CircleByCentreKeepsItsShapeAfterRecalculation) {
    Scene s;
    Element* centre = s.point(100, 0);
    Element* circle = s.make(Method::CircleByCentre, centre);
    Scene::setValues(circle, 100, 0, 100, 10);
    recalcUpTo(s.doc);
    scaleConstruction(s.doc, Point2{0, 0}, 2);
    recalcUpTo(s.doc);
    ASSERT_EQ(circle->defined, 1);
    EXPECT_NEAR(circle->value[0], 200, kEps);
    EXPECT_NEAR(circle->value[1], 0, kEps);
    EXPECT_NEAR(std::hypot(circle->value[2] - 200, circle->value[3]), 20, kEps);
}

// A point or a name on a locus holds the parameter of the locus's driver (followed through a
// locus driven on a locus): a distance when the driver runs on a line through one point, which
// scales like the driver's own; a fraction on a segment, which stays.
TEST(ScaleConstruction, ParametersOnALocusScaleLikeTheDriverParameter) {
    Scene s;
    Element* line = s.make(Method::LineThroughPoint, s.point(0, 0));
    Element* seg = s.segment(0, 0, 10, 0);
    Element* onLine = s.make(Method::PointOnElement, line);
    Element* onSeg = s.make(Method::PointOnElement, seg);
    Element* far = s.point(0, 20);
    Element* lineLocus = s.make(Method::Locus, s.make(Method::Midpoint, onLine, far), onLine);
    Element* segLocus = s.make(Method::Locus, s.make(Method::Midpoint, onSeg, far), onSeg);
    Element* onLineLocus = s.make(Method::PointOnElement, lineLocus);
    Element* onSegLocus = s.make(Method::PointOnElement, segLocus);
    Element* outer = s.make(Method::Locus, s.make(Method::Midpoint, onLineLocus, far), onLineLocus);
    Element* onOuter = s.make(Method::PointOnElement, outer);
    setName(s.doc, lineLocus, "l", s.opts);
    for (Element* e : {onLine, onSeg, onLineLocus, onSegLocus, onOuter, lineLocus->nameElement})
        e->value[3] = 0.25;
    scaleConstruction(s.doc, Point2{0, 0}, 2);
    for (Element* e : {onLine, onLineLocus, onOuter, lineLocus->nameElement})
        EXPECT_EQ(e->value[3], 0.5);
    for (Element* e : {onSeg, onSegLocus})
        EXPECT_EQ(e->value[3], 0.25);
}

TEST(ScaleConstruction, NamesKeepTheirPlaceOnTheirElement) {
    Scene s;
    Element* seg = s.segment(0, 0, 10, 0);
    Element* line = s.make(Method::LineThroughPoint, s.point(0, 0));
    setName(s.doc, seg, "s", s.opts);
    setName(s.doc, line, "r", s.opts);
    seg->nameElement->value[3] = 0.5;
    line->nameElement->value[3] = 3;
    scaleConstruction(s.doc, Point2{0, 0}, 3);
    EXPECT_EQ(seg->nameElement->value[3], 0.5);
    EXPECT_EQ(line->nameElement->value[3], 9);
}
