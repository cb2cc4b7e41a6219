#include "geometry/measure.h"

#include "construction/create.h"
#include "derived_scene.h"
#include "geometry/conic.h"
#include "geometry/recalc.h"
#include "geometry/recalcmethods.h"
#include "geometry/transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qorv;
using qorv::test::Scene;

namespace {
constexpr double kPi = std::numbers::pi;
}

// ---- number formatting and units
// -------------------------------------------------------------------

TEST(FormatNumber, FixedScientificAndSigns) {
    EXPECT_EQ(formatNumber(3.14159, 2), "3.14");
    EXPECT_EQ(formatNumber(2.6, 0), "3");
    EXPECT_EQ(formatNumber(-2.345678, 4), "-2.3457");
    EXPECT_EQ(formatNumber(10000000, 2), "10000000.00");
    EXPECT_EQ(formatNumber(10000000.5, 0), "1.00e+07");
    EXPECT_EQ(formatNumber(123456789, 5), "1.23e+08");
    EXPECT_EQ(formatNumber(-123456789, 1), "-1.23e+08");
    EXPECT_EQ(formatNumber(-0.001, 2), "-0.00");
    EXPECT_EQ(formatNumber(-0.0, 2), "0.00");
    EXPECT_EQ(formatNumber(0.0, 0), "0");
    // Decimals outside 0..8 are clamped.
    EXPECT_EQ(formatNumber(1.5, 12), "1.50000000");
    EXPECT_EQ(formatNumber(1.25, -3), "1");
}

TEST(FormatNumber, TinyBuffersAreNeverOverrun) {
    char buf[4] = {'x', 'x', 'x', 'x'};
    const size_t n = formatNumberTo(buf, 3, -123.456, 2);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(buf[2], '\0');
    EXPECT_EQ(buf[3], 'x');
    EXPECT_EQ(formatNumberTo(buf, 0, 1.0, 2), 0u);
}

TEST(UnitSuffix, ByUnitClassAndDocumentUnits) {
    Scene s;
    Element* d = s.make(Method::DistancePointPoint, s.point(0, 0), s.point(1, 0));
    Element* area = s.make(Method::CircleArea, s.circle(0, 0, 1, 0));
    Element* angle = s.make(Method::AngleValue, s.point(1, 0), s.point(0, 0), s.point(0, 1));
    Element* slope = s.make(Method::Slope, s.line(0, 0, 1, 1));
    s.doc.lengthUnit = LengthUnit::Cm;
    EXPECT_EQ(unitSuffix(s.doc, *d), "cm");
    s.doc.lengthUnit = LengthUnit::Km;
    EXPECT_EQ(unitSuffix(s.doc, *d), "km");
    s.doc.lengthUnit = LengthUnit::M;
    EXPECT_EQ(unitSuffix(s.doc, *area), "m\xC2\xB2");
    s.doc.lengthUnit = LengthUnit::Mm;
    EXPECT_EQ(unitSuffix(s.doc, *area), "mm\xC2\xB2");
    s.doc.angleUnit = AngleUnit::Deg;
    EXPECT_EQ(unitSuffix(s.doc, *angle), "\xC2\xB0");
    s.doc.angleUnit = AngleUnit::Gra;
    EXPECT_EQ(unitSuffix(s.doc, *angle), "gr");
    s.doc.angleUnit = AngleUnit::Rad;
    EXPECT_EQ(unitSuffix(s.doc, *angle), "rd");
    EXPECT_EQ(unitSuffix(s.doc, *slope), "");
    s.doc.lengthUnit = 7; // out of range: nothing rather than garbage
    EXPECT_EQ(unitSuffix(s.doc, *d), "");
}

// ---- measurements
// ----------------------------------------------------------------------------------

TEST(Measurement, LengthsInEveryUnit) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    Element* d = s.make(Method::DistancePointPoint, s.point(0, 0), s.point(30, 40)); // 50 world
    const double expected[4] = {12.5, 1.25, 0.0125, 0.0000125};
    for (int u = 0; u < 4; ++u) {
        s.doc.lengthUnit = u;
        recalcDistancePointPoint(s.doc, *d);
        EXPECT_EQ(d->defined, 1);
        EXPECT_EQ(d->option, HasValue);
        EXPECT_NEAR(d->value[0], expected[u], 1e-12) << u;
    }
}

TEST(Measurement, TinyValuesBecomeZero) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    Element* d = s.make(Method::DistancePointPoint, s.point(0, 0), s.point(2e-7, 0)); // 5e-9 cm
    recalcDistancePointPoint(s.doc, *d);
    EXPECT_EQ(d->value[0], 0.0);
    Element* big = s.make(Method::DistancePointPoint, s.point(0, 0), s.point(8e-7, 0)); // 2e-8
    recalcDistancePointPoint(s.doc, *big);
    EXPECT_NEAR(big->value[0], 2e-8, 1e-20);
}

TEST(Measurement, DistanceToLineCircleAndPolygon) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    Element* toLine = s.make(Method::DistancePointLine, s.point(3, 10), s.line(-5, 0, 5, 0));
    recalcDistancePointLine(s.doc, *toLine);
    EXPECT_NEAR(toLine->value[0], 0.25, 1e-12);
    Element* flat = s.make(Method::DistancePointLine, s.point(3, 10), s.line(1, 1, 1, 1.00005));
    recalcDistancePointLine(s.doc, *flat);
    EXPECT_EQ(flat->defined, 0);

    Element* seg = s.make(Method::SegmentLength, s.segment(0, 0, 0, 60));
    recalcSegmentLength(s.doc, *seg);
    EXPECT_NEAR(seg->value[0], 1.5, 1e-12);

    Element* circle = s.circle(5, 5, 5, 45); // radius 40 world = 1 cm
    Element* len = s.make(Method::CircleLength, circle);
    Element* area = s.make(Method::CircleArea, circle);
    recalcCircleLength(s.doc, *len);
    recalcCircleArea(s.doc, *area);
    EXPECT_NEAR(len->value[0], 2 * kPi, 1e-12);
    EXPECT_NEAR(area->value[0], kPi, 1e-12);
    s.doc.lengthUnit = LengthUnit::Mm;
    recalcCircleArea(s.doc, *area);
    EXPECT_NEAR(area->value[0], 100 * kPi, 1e-9);
    s.doc.lengthUnit = LengthUnit::Cm;

    // A 40 x 80 rectangle: perimeter 6 cm, area 2 cm^2, whatever the orientation.
    std::vector<Element*> v{s.point(0, 0), s.point(0, 80), s.point(40, 80), s.point(40, 0)};
    Element* poly = s.make(Method::Polygon, nullptr, nullptr, nullptr, v);
    Element* per = s.make(Method::PolygonPerimeter, poly);
    Element* pa = s.make(Method::PolygonArea, poly);
    recalcElement(s.doc, *poly); // the sides follow their vertices first, as in a pass
    recalcPolygonPerimeter(s.doc, *per);
    recalcPolygonArea(s.doc, *pa);
    EXPECT_NEAR(per->value[0], 6, 1e-12);
    EXPECT_NEAR(pa->value[0], 2, 1e-12);
    v[2]->defined = 0;
    recalcElement(s.doc, *poly);
    recalcPolygonArea(s.doc, *pa);
    EXPECT_EQ(pa->defined, 0);
}

TEST(Measurement, AnglesOrientedAndNot) {
    Scene s;
    s.doc.angleUnit = AngleUnit::Deg;
    Element* v = s.point(0, 0);
    Element* a = s.point(0, 1);
    Element* c = s.point(1, 0);
    Element* plain = s.make(Method::AngleValue, a, v, c);
    recalcAngleValue(s.doc, *plain);
    EXPECT_NEAR(plain->value[0], 90, 1e-9);
    Element* oriented = s.make(Method::AngleValue, a, v, c);
    oriented->value[1] = NotSet;
    recalcAngleValue(s.doc, *oriented);
    EXPECT_NEAR(oriented->value[0], 270, 1e-9);
    s.doc.angleUnit = AngleUnit::Gra;
    recalcAngleValue(s.doc, *oriented);
    EXPECT_NEAR(oriented->value[0], 300, 1e-9);
    Element* bad = s.make(Method::AngleValue, s.point(0.00005, 0), v, c);
    recalcAngleValue(s.doc, *bad);
    EXPECT_EQ(bad->defined, 0);
}

TEST(Measurement, ArcLengthAndAngle) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    s.doc.angleUnit = AngleUnit::Deg;
    Element* arc = s.make(Method::ArcThreePoints, s.point(40, 0), s.point(0, 40), s.point(-40, 0));
    recalcArc(s.doc, *arc);
    Element* len = s.make(Method::ArcLength, arc);
    Element* ang = s.make(Method::AngleValue, arc);
    recalcArcLength(s.doc, *len);
    recalcAngleValue(s.doc, *ang);
    EXPECT_NEAR(len->value[0], kPi, 1e-12);
    EXPECT_NEAR(ang->value[0], 180, 1e-9);

    // Clockwise through the bottom: three quarters of the circle.
    Element* cw = s.make(Method::ArcThreePoints, s.point(40, 0), s.point(0, -40), s.point(0, 40));
    recalcArc(s.doc, *cw);
    ASSERT_EQ(cw->option, 0);
    Element* cwLen = s.make(Method::ArcLength, cw);
    recalcArcLength(s.doc, *cwLen);
    EXPECT_NEAR(cwLen->value[0], 1.5 * kPi, 1e-12);

    Element* straight =
        s.make(Method::ArcThreePoints, s.point(0, 0), s.point(20, 0), s.point(80, 0));
    recalcArc(s.doc, *straight);
    Element* sLen = s.make(Method::ArcLength, straight);
    Element* sAng = s.make(Method::AngleValue, straight);
    recalcArcLength(s.doc, *sLen);
    recalcAngleValue(s.doc, *sAng);
    EXPECT_NEAR(sLen->value[0], 2, 1e-12);
    EXPECT_EQ(sAng->value[0], 0);

    Element* rest = s.make(Method::ArcThreePoints, s.point(0, 0), s.point(120, 0), s.point(80, 0));
    recalcArc(s.doc, *rest);
    Element* rLen = s.make(Method::ArcLength, rest);
    Element* rAng = s.make(Method::AngleValue, rest);
    recalcArcLength(s.doc, *rLen);
    recalcAngleValue(s.doc, *rAng);
    EXPECT_EQ(rLen->defined, 1);
    EXPECT_EQ(rLen->option, NoValue);
    EXPECT_NEAR(rAng->value[0], 360, 1e-9);
}

TEST(Measurement, SlopeAndProportion) {
    Scene s;
    Element* slope = s.make(Method::Slope, s.segment(0, 0, 2, 6));
    recalcSlope(s.doc, *slope);
    EXPECT_NEAR(slope->value[0], 3, 1e-12);
    Element* vertical = s.make(Method::Slope, s.segment(1, 0, 1, 6));
    recalcSlope(s.doc, *vertical);
    EXPECT_EQ(vertical->defined, 1);
    EXPECT_EQ(vertical->option, NoValue);

    Element* ratio = s.make(Method::Proportion, s.segment(0, 0, 30, 0), s.segment(0, 0, 0, 10));
    recalcProportion(s.doc, *ratio);
    EXPECT_NEAR(ratio->value[0], 3, 1e-12);
    EXPECT_EQ(ratio->option, HasValue);
    Element* byZero = s.make(Method::Proportion, s.segment(0, 0, 30, 0), s.segment(5, 5, 5, 5));
    recalcProportion(s.doc, *byZero);
    EXPECT_EQ(byZero->option, NoValue);

    Element* p1 = s.point(0, 0);
    Element* three = s.make(Method::Proportion, p1, s.point(2, 0), s.point(4, 0));
    recalcProportion(s.doc, *three);
    EXPECT_NEAR(three->value[0], 0.5, 1e-12);
    Element* between = s.make(Method::Proportion, p1, s.point(-2, 0), s.point(4, 0));
    recalcProportion(s.doc, *between);
    EXPECT_NEAR(between->value[0], -0.5, 1e-12);
    Element* none = s.make(Method::Proportion, p1, s.point(2, 0), s.point(0, 0));
    recalcProportion(s.doc, *none);
    EXPECT_EQ(none->option, NoValue);
}

// ---- property checks
// -------------------------------------------------------------------------------

TEST(Checks, ParallelAndPerpendicular) {
    Scene s;
    Element* l1 = s.line(0, 0, 2, 1);
    Element* par = s.make(Method::ParallelCheck, l1, s.line(0, 5, 2, 6));
    recalcParallelCheck(s.doc, *par);
    EXPECT_EQ(par->option, 1);
    // Slopes 0.5 and 0.5 + 1e-7: parallel for the engine.
    Element* almost = s.make(Method::ParallelCheck, l1, s.line(0, 5, 1, 5.5000001));
    recalcParallelCheck(s.doc, *almost);
    EXPECT_EQ(almost->option, 1);
    Element* notPar = s.make(Method::ParallelCheck, l1, s.line(0, 5, 1, 5.6));
    recalcParallelCheck(s.doc, *notPar);
    EXPECT_EQ(notPar->option, 0);
    Element* vertical = s.make(Method::ParallelCheck, s.line(1, 0, 1, 3), s.line(4, 0, 4, -3));
    recalcParallelCheck(s.doc, *vertical);
    EXPECT_EQ(vertical->option, 1);

    Element* perp = s.make(Method::PerpendicularCheck, s.line(0, 0, 1, 2), s.segment(3, 3, 5, 2));
    recalcPerpendicularCheck(s.doc, *perp);
    EXPECT_EQ(perp->option, 1);
    Element* notPerp = s.make(Method::PerpendicularCheck, s.line(0, 0, 1, 2), s.line(3, 3, 5, 1.9));
    recalcPerpendicularCheck(s.doc, *notPerp);
    EXPECT_EQ(notPerp->option, 0);
}

TEST(Checks, MembershipTolerances) {
    Scene s;
    Element* line = s.line(0, 0, 10, 0);
    auto check = [&](Element* p, Element* on) {
        Element* c = s.make(Method::MembershipCheck, p, on);
        c->option = 7; // neither verdict
        recalcMembershipCheck(s.doc, *c);
        EXPECT_EQ(c->defined, 1);
        return c->option;
    };
    EXPECT_EQ(check(s.point(50, 0.00009), line), 1);
    EXPECT_EQ(check(s.point(50, 0.00018), line), 0);

    Element* ray = s.straight(Method::RayThroughTwoPoints, 0, 0, 10, 0);
    EXPECT_EQ(check(s.point(1, 0), ray), 1);
    EXPECT_EQ(check(s.point(-1, 0), ray), 0);
    EXPECT_EQ(check(s.point(0, 0), ray), 1);

    Element* seg = s.segment(0, 0, 10, 0);
    EXPECT_EQ(check(s.point(10, 0), seg), 1);
    EXPECT_EQ(check(s.point(11, 0), seg), 0);
    EXPECT_EQ(check(s.point(5, 0.1), seg), 0);

    Element* circle = s.circle(0, 0, 5, 0);
    EXPECT_EQ(check(s.point(3, 4.00004), circle), 1);
    EXPECT_EQ(check(s.point(3, 4.001), circle), 0);

    Element* conic =
        s.make(Method::Conic, nullptr, nullptr, nullptr,
               {s.point(5, 0), s.point(0, 5), s.point(-5, 0), s.point(0, -5), s.point(3, 4)});
    recalcConic(s.doc, *conic);
    ASSERT_EQ(conic->defined, 1);
    EXPECT_EQ(check(s.point(-4, 3), conic), 1);
    EXPECT_EQ(check(s.point(-4, 3.01), conic), 0);

    // Kinds without a test keep the verdict they had.
    Element* poly = s.make(Method::Polygon, nullptr, nullptr, nullptr,
                           {s.point(0, 0), s.point(1, 0), s.point(0, 1)});
    EXPECT_EQ(check(s.point(0, 0), poly), 7);

    Element* hidden = s.point(1, 1);
    hidden->defined = 0;
    Element* c = s.make(Method::MembershipCheck, hidden, line);
    c->option = 1;
    recalcMembershipCheck(s.doc, *c);
    EXPECT_EQ(c->defined, 0);
    EXPECT_EQ(c->option, 1);
}

TEST(Checks, MembershipOfArcs) {
    Scene s;
    Element* e = s.point(5, 0);
    Element* n = s.point(0, 5);
    Element* w = s.point(-5, 0);
    Element* ccw = s.make(Method::ArcThreePoints, e, n, w);
    Element* cw = s.make(Method::ArcThreePoints, w, n, e);
    Element* below = s.make(Method::ArcThreePoints, e, s.point(0, -5), w);
    recalcArc(s.doc, *ccw);
    recalcArc(s.doc, *cw);
    recalcArc(s.doc, *below);
    ASSERT_EQ(below->option, 0);
    EXPECT_TRUE(pointOnArc(*ccw, {3, 4}));
    EXPECT_FALSE(pointOnArc(*ccw, {0, -5}));
    EXPECT_TRUE(pointOnArc(*cw, {3, 4}));
    EXPECT_FALSE(pointOnArc(*cw, {3, -4}));
    EXPECT_TRUE(pointOnArc(*below, {3, -4}));
    EXPECT_FALSE(pointOnArc(*below, {3, 4}));
    EXPECT_TRUE(pointOnArc(*ccw, {5, 0}));
    EXPECT_FALSE(pointOnArc(*ccw, {3, 4.01}));

    Element* seg = s.make(Method::ArcThreePoints, s.point(0, 0), s.point(1, 0), s.point(2, 0));
    Element* rest = s.make(Method::ArcThreePoints, s.point(0, 0), s.point(3, 0), s.point(2, 0));
    recalcArc(s.doc, *seg);
    recalcArc(s.doc, *rest);
    EXPECT_TRUE(pointOnArc(*seg, {1.5, 0}));
    EXPECT_FALSE(pointOnArc(*seg, {3, 0}));
    EXPECT_TRUE(pointOnArc(*rest, {3, 0}));
    EXPECT_TRUE(pointOnArc(*rest, {-7, 0}));
    EXPECT_FALSE(pointOnArc(*rest, {1, 0}));
    EXPECT_FALSE(pointOnArc(*rest, {3, 1}));

    Element* check = s.make(Method::MembershipCheck, s.point(0, -5), ccw);
    recalcMembershipCheck(s.doc, *check);
    EXPECT_EQ(check->option, 0);
}

TEST(Checks, EquidistanceAndAlignment) {
    Scene s;
    Element* o = s.point(0, 0);
    Element* a = s.point(3, 4);
    Element* eq = s.make(Method::EquidistanceCheck, o, a, s.point(5.00009, 0));
    recalcEquidistanceCheck(s.doc, *eq);
    EXPECT_EQ(eq->option, 1);
    Element* neq = s.make(Method::EquidistanceCheck, o, a, s.point(5.0002, 0));
    recalcEquidistanceCheck(s.doc, *neq);
    EXPECT_EQ(neq->option, 0);

    Element* al = s.make(Method::AlignmentCheck, o, s.point(1, 1), s.point(5, 5));
    recalcAlignmentCheck(s.doc, *al);
    EXPECT_EQ(al->option, 1);
    Element* nal = s.make(Method::AlignmentCheck, o, s.point(1, 1), s.point(5, 5.1));
    recalcAlignmentCheck(s.doc, *nal);
    EXPECT_EQ(nal->option, 0);
    Element* close = s.make(Method::AlignmentCheck, o, s.point(0.00005, 0), s.point(5, 9));
    recalcAlignmentCheck(s.doc, *close);
    EXPECT_EQ(close->option, 1);
    EXPECT_EQ(displayText(s.doc, *close), "alineados");
    EXPECT_EQ(displayText(s.doc, *nal), "no alineados");
}

// ---- equations
// -------------------------------------------------------------------------------------

namespace {
std::string equationOf(const Element* e) {
    return e->tailAs<EquationTail>()->text;
}
} // namespace

TEST(Equations, LineTexts) {
    Scene s;
    Element* axes = s.axes(0, 0, 40, 40);
    auto eq = [&](double x1, double y1, double x2, double y2) {
        Element* e = s.make(Method::LineEquation, s.line(x1, y1, x2, y2), axes);
        recalcLineEquation(s.doc, *e);
        EXPECT_EQ(e->defined, 1);
        EXPECT_EQ(lineEquationText(*e), equationOf(e));
        return e;
    };
    Element* throughOrigin = eq(0, 0, 40, 80);
    EXPECT_EQ(equationOf(throughOrigin), "y = 2.00x ");
    EXPECT_EQ(throughOrigin->option, 1);
    EXPECT_NEAR(throughOrigin->value[0], 2, 1e-12);
    EXPECT_EQ(equationOf(eq(0, 40, 40, 120)), "y = 2.00x +1.00");
    EXPECT_EQ(equationOf(eq(0, -120, 40, -40)), "y = 2.00x -3.00");
    EXPECT_EQ(equationOf(eq(0, 120, 40, 120)), "y = 3.00");
    EXPECT_EQ(equationOf(eq(-200, 0, 200, 0)), "y = 0.00");
    Element* vertical = eq(-40, 0, -40, 40);
    EXPECT_EQ(equationOf(vertical), "x = -1.00");
    EXPECT_EQ(vertical->option, 0);
    EXPECT_NEAR(vertical->value[1], -1, 1e-12);

    // Axes elsewhere and with other units: y = -0.5 x + 2 in their coordinates.
    Element* other = s.axes(100, 50, 20, 10);
    Element* e = s.make(Method::LineEquation, s.line(100, 70, 140, 60), other);
    e->decimals = 1;
    recalcLineEquation(s.doc, *e);
    EXPECT_EQ(equationOf(e), "y = -0.5x +2.0");
}

TEST(Equations, CircleTexts) {
    Scene s;
    Element* axes = s.axes(0, 0, 40, 40);
    Element* c1 = s.make(Method::CircleEquation, s.circle(80, -40, 80, 80), axes);
    recalcCircleEquation(s.doc, *c1);
    EXPECT_EQ(equationOf(c1), "(x-2.00)\xC2\xB2+(y+1.00)\xC2\xB2=3.00\xC2\xB2");
    EXPECT_EQ(c1->option, 1);
    EXPECT_NEAR(c1->value[0], 3, 1e-12);
    EXPECT_EQ(circleEquationText(*c1), equationOf(c1));

    Element* c2 = s.make(Method::CircleEquation, s.circle(0, 0, 0, 80), axes);
    recalcCircleEquation(s.doc, *c2);
    EXPECT_EQ(equationOf(c2), "x\xC2\xB2+y\xC2\xB2=2.00\xC2\xB2");

    Element* stretched = s.axes(0, 0, 40, 80);
    Element* c3 = s.make(Method::CircleEquation, s.circle(80, 0, 80, 120), stretched);
    recalcCircleEquation(s.doc, *c3);
    EXPECT_EQ(equationOf(c3), "(x-2.00)\xC2\xB2/3.00\xC2\xB2+y\xC2\xB2/1.50\xC2\xB2=1");
    EXPECT_EQ(c3->option, 0);
    EXPECT_NEAR(c3->value[1], 1.5, 1e-12);

    Element* c4 = s.make(Method::CircleEquation, s.circle(-80, 0, -80, 120), stretched);
    recalcCircleEquation(s.doc, *c4);
    EXPECT_EQ(equationOf(c4), "(x+2.00)\xC2\xB2/3.00\xC2\xB2+y\xC2\xB2/1.50\xC2\xB2=1");
}

TEST(Equations, ConicTexts) {
    Scene s;
    Element* axes = s.axes(0, 0, 40, 40);
    auto conicEq = [&](const std::vector<Point2>& pts) {
        std::vector<Element*> ps;
        for (Point2 p : pts)
            ps.push_back(s.point(40 * p.x, 40 * p.y));
        Element* c = s.make(Method::Conic, nullptr, nullptr, nullptr, ps);
        recalcConic(s.doc, *c);
        Element* e = s.make(Method::ConicEquation, c, axes);
        recalcConicEquation(s.doc, *e);
        EXPECT_EQ(e->defined, 1);
        EXPECT_EQ(conicEquationText(*e), equationOf(e));
        return equationOf(e);
    };
    // y^2 + 2xy - x^2 + 3 = 0: y = -x +- sqrt(2x^2 - 3).
    const double r5 = std::sqrt(5.0), r15 = std::sqrt(15.0);
    EXPECT_EQ(conicEq({{2, -2 + r5}, {2, -2 - r5}, {3, -3 + r15}, {3, -3 - r15}, {-2, 2 + r5}}),
              "y\xC2\xB2 +2.00xy -x\xC2\xB2 +3.00 = 0");
    // y^2 - x^2 + 1 = 0: the constant 1 is written as a number.
    const double r3 = std::sqrt(3.0), r8 = std::sqrt(8.0);
    EXPECT_EQ(conicEq({{2, r3}, {2, -r3}, {-2, r3}, {-2, -r3}, {3, r8}}),
              "y\xC2\xB2 -x\xC2\xB2 +1.00 = 0");
    // x^2 - y = 0 (normalised with C = 1): "x² -y  = 0".
    EXPECT_EQ(conicEq({{0, 0}, {1, 1}, {-1, 1}, {2, 4}, {-3, 9}}), "x\xC2\xB2 -y  = 0");
}

TEST(Equations, UndefinedWithoutAxesOrParent) {
    Scene s;
    Element* axes = s.axes(0, 0, 40, 40);
    Element* line = s.line(0, 0, 1, 1);
    Element* e = s.make(Method::LineEquation, line, axes);
    line->defined = 0;
    recalcLineEquation(s.doc, *e);
    EXPECT_EQ(e->defined, 0);
    line->defined = 1;
    axes->tailAs<AxesTail>()->scaleX = 0;
    recalcLineEquation(s.doc, *e);
    EXPECT_EQ(e->defined, 0);
    Element* point = s.make(Method::LineEquation, s.segment(3, 3, 3, 3), s.axes(0, 0, 40, 40));
    recalcLineEquation(s.doc, *point);
    EXPECT_EQ(point->defined, 0);
}

// ---- coordinates and display
// ------------------------------------------------------------------------

TEST(Display, CoordinatesWithAndWithoutName) {
    Scene s;
    Element* p = s.point(80, 120);
    Element* axes = s.axes(0, 0, 40, 40);
    Element* coords = s.make(Method::Coordinates, p, axes);
    auto* t = coords->tailAs<CoordinatesTail>();
    t->xCoord->value[0] = 2;
    t->yCoord->value[0] = -3.5;
    EXPECT_EQ(coordinatesText(*coords), "(2.00;-3.50)");
    setName(s.doc, p, "A", s.opts);
    EXPECT_EQ(coordinatesText(*coords), "A(2.00;-3.50)");
    EXPECT_EQ(displayText(s.doc, *coords), "A(2.00;-3.50)");
    // The coordinate numbers take the decimals of their coordinates element.
    coords->decimals = 1;
    t->xCoord->decimals = 5;
    EXPECT_EQ(displayText(s.doc, *t->xCoord), "2.0");
}

TEST(Display, NumbersEquationsAndChecks) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    Element* d = s.make(Method::DistancePointPoint, s.point(0, 0), s.point(30, 40));
    recalcDistancePointPoint(s.doc, *d);
    EXPECT_EQ(displayText(s.doc, *d), "1.25 cm");
    setName(s.doc, d, "d", s.opts);
    EXPECT_EQ(displayText(s.doc, *d), "d = 1.25 cm");
    d->decimals = 0;
    EXPECT_EQ(displayText(s.doc, *d), "d = 1 cm");
    d->defined = 0;
    EXPECT_EQ(displayText(s.doc, *d), "d = no existente");

    Element* slope = s.make(Method::Slope, s.segment(1, 0, 1, 5));
    recalcSlope(s.doc, *slope);
    EXPECT_EQ(displayText(s.doc, *slope), "no existente");

    Element* par = s.make(Method::ParallelCheck, s.line(0, 0, 1, 0), s.line(0, 1, 1, 1));
    recalcParallelCheck(s.doc, *par);
    EXPECT_EQ(displayText(s.doc, *par), "paralelos");
    Element* notPar = s.make(Method::ParallelCheck, s.line(0, 0, 1, 0), s.line(0, 1, 1, 2));
    recalcParallelCheck(s.doc, *notPar);
    EXPECT_EQ(displayText(s.doc, *notPar), "no paralelos");

    Element* eq = s.make(Method::LineEquation, s.line(0, 0, 40, 80), s.axes(0, 0, 40, 40));
    recalcLineEquation(s.doc, *eq);
    EXPECT_EQ(displayText(s.doc, *eq), "y = 2.00x ");

    Element* name = d->nameElement;
    EXPECT_EQ(displayText(s.doc, *name), "d");
    EXPECT_EQ(displayText(s.doc, *s.point(1, 1)), "");
}

TEST(Equations, StraightArcHasNoCircleEquation) {
    Scene s;
    Element* arc = s.make(Method::ArcThreePoints, s.point(0, 0), s.point(40, 0), s.point(80, 0));
    recalcArc(s.doc, *arc);
    ASSERT_EQ(arc->option2, 1);
    Element* e = s.make(Method::CircleEquation, arc, s.axes(0, 0, 40, 40));
    recalcCircleEquation(s.doc, *e);
    EXPECT_EQ(e->defined, 0);
    EXPECT_EQ(circleEquationText(*e), "");
}
