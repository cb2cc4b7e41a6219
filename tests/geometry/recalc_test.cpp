#include "builder.h"

#include "construction/create.h"
#include "geometry/pointonelement.h"
#include "geometry/recalc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qorv;
using namespace qorv::testing;

namespace {

void expectPair(const Element* e, double x1, double y1, double x2, double y2) {
    ASSERT_EQ(e->defined, 1);
    EXPECT_NEAR(e->value[0], x1, 1e-9);
    EXPECT_NEAR(e->value[1], y1, 1e-9);
    EXPECT_NEAR(e->value[2], x2, 1e-9);
    EXPECT_NEAR(e->value[3], y2, 1e-9);
}

Element* withValues(Builder& b, ConstructionMethod m, Element* p1, double v0, double v1, double v2,
                    double v3) {
    b.req.value[0] = v0;
    b.req.value[1] = v1;
    b.req.value[2] = v2;
    b.req.value[3] = v3;
    return b.make(m, p1);
}

} // namespace

TEST(Recalc, CoincidentParentsUndefineAChainThatComesBack) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(4, 0);
    Element* l = b.line(a, c);
    Element* on = b.make(Method::PointOnElement, l);
    on->value[3] = 0.5;
    recalcElement(b.doc, *on);
    Element* perp = b.make(Method::PerpendicularLine, l, on);
    Element* other = b.line(b.point(0, 3), b.point(1, 3));
    Element* x = b.intersection(perp, other, 0);
    expectAt(x, 2, 3);

    b.drag(c, 0.00005, 0);
    EXPECT_EQ(l->defined, 0);
    EXPECT_EQ(on->defined, 0);
    EXPECT_EQ(perp->defined, 0);
    EXPECT_EQ(x->defined, 0);
    EXPECT_EQ(other->defined, 1);

    b.drag(c, 0, 4); // the line becomes vertical; its perpendicular is horizontal: no crossing
    expectAt(on, 0, 2);
    EXPECT_EQ(x->defined, 0);

    b.drag(c, 6, 0);
    expectAt(on, 3, 0);
    EXPECT_EQ(perp->defined, 1);
    expectAt(x, 3, 3);
}

TEST(Recalc, StraightElements) {
    Builder b;
    Element* p = b.point(2, 3);
    // Equal stored points: y1 is raised by 1, giving the direction (0, -1).
    Element* through = withValues(b, Method::LineThroughPoint, p, 5, 5, 5, 5);
    expectPair(through, 2, 3, 2, 2);
    // Later it keeps its direction.
    b.drag(p, 10, 10);
    expectPair(through, 10, 10, 10, 9);
    Element* rayThrough = withValues(b, Method::RayThroughPoint, p, 0, 0, 3, 4);
    expectPair(rayThrough, 10, 10, 13, 14);

    Element* a = b.point(0, 0);
    Element* c = b.point(4, 0);
    expectPair(b.make(Method::PerpendicularBisector, a, c), 2, 0, 2, -4);
    Element* s = b.segment(a, c);
    expectPair(b.make(Method::ParallelLine, s, p), 10, 10, 14, 10);
    expectPair(b.make(Method::PerpendicularLine, s, p), 10, 10, 10, 6);
    // A segment of length exactly 0 stays defined; a positive length below 0.0001 does not.
    Element* e1 = b.point(1, 1);
    Element* e2 = b.point(1, 1);
    Element* zero = b.segment(e1, e2);
    Element* vec = b.make(Method::Vector, e1, e2);
    EXPECT_EQ(zero->defined, 1);
    EXPECT_EQ(vec->defined, 1);
    b.drag(e2, 1.00005, 1);
    EXPECT_EQ(zero->defined, 0);
    EXPECT_EQ(vec->defined, 0);
    EXPECT_EQ(b.make(Method::PerpendicularBisector, e1, e2)->defined, 0);
    EXPECT_EQ(b.make(Method::ParallelLine, zero, p)->defined, 0);
}

TEST(Recalc, PointConstructions) {
    Builder b;
    Element* p = b.point(1, 2);
    Element* c = b.point(4, 6);
    expectAt(b.make(Method::CentralSymmetryPoint, p, c), 7, 10);
    expectAt(b.make(Method::Midpoint, p, c), 2.5, 4);
    Element* a = b.point(0, 0);
    Element* t = b.point(3, -1);
    expectAt(b.make(Method::TranslationPoint, p, a, t), 4, 1);
    EXPECT_EQ(b.make(Method::TranslationPoint, p, a, b.point(0.00005, 0))->defined, 0);
    Element* v1 = b.make(Method::Vector, a, t);
    Element* v2 = b.make(Method::Vector, c, p); // (-3, -4)
    expectAt(b.make(Method::VectorSumPoint, v1, v2, p), 1 + 3 - 3, 2 - 1 - 4);
}

TEST(Recalc, CirclesAndTheNumberParentRule) {
    Builder b;
    Element* o = b.point(2, 3);
    Element* zero = withValues(b, Method::CircleByCentre, o, 0, 0, 0, 0);
    expectPair(zero, 2, 3, 2, 3.0001);
    Element* keep = withValues(b, Method::CircleByCentre, o, 0, 0, 3, 4); // radius 5
    expectPair(keep, 2, 3, 2, 8);
    expectPair(b.circle(o, b.point(5, 7)), 2, 3, 5, 7);
    expectPair(b.make(Method::CircleRadiusCentre, o, b.point(0, 0), b.point(3, 4)), 2, 3, 7, 3);

    // Radius by a number: number x unit length / length factor (cm: 1).
    Element* n = b.number(2);
    expectPair(b.make(Method::CircleRadiusNumberCentre, o, n), 2, 3, 82, 3);
    b.doc.lengthUnit = LengthUnit::Mm;
    expectPair(b.make(Method::CircleRadiusNumberCentre, n, o), 2, 3, 10, 3);
    // A number without a value makes the circle undefined.
    Element* noValue = b.number(2);
    noValue->option = NoValue;
    EXPECT_EQ(b.make(Method::CircleRadiusNumberCentre, o, noValue)->defined, 0);
    // The slope of a vertical segment is a defined number without a value.
    Element* vert = b.segment(b.point(1, 1), b.point(1, 5));
    Element* slope = b.make(Method::Slope, vert);
    EXPECT_EQ(slope->defined, 1);
    EXPECT_EQ(slope->option, NoValue);
    Element* c73 = b.make(Method::CircleRadiusNumberCentre, o, slope);
    EXPECT_EQ(c73->defined, 0);
    Element* top = vert->parent2;
    b.drag(top, 3, 5); // slope 4 / 2 = 2
    EXPECT_EQ(slope->option, HasValue);
    EXPECT_DOUBLE_EQ(slope->value[0], 2);
    expectPair(c73, 2, 3, 2 + 2 * 40 / 10.0, 3);
}

TEST(Recalc, MeasurementsInTheDocumentUnits) {
    Builder b;
    b.doc.pixelsPerUnit = 40;
    Element* a = b.point(0, 0);
    Element* c = b.point(48, 64); // 80 apart
    Element* d = b.make(Method::DistancePointPoint, a, c);
    EXPECT_NEAR(d->value[0], 2, 1e-12);
    EXPECT_EQ(d->option, HasValue);
    const double expected[4] = {20, 2, 0.02, 0.00002};
    for (int u = 0; u < 4; ++u) {
        b.doc.lengthUnit = u;
        recalcElement(b.doc, *d);
        EXPECT_NEAR(d->value[0], expected[u], 1e-12) << u;
    }
    b.doc.lengthUnit = LengthUnit::Cm;

    // 5e-9 is stored as exactly 0.
    Element* tiny = b.make(Method::DistancePointPoint, a, b.point(2e-7, 0));
    EXPECT_EQ(tiny->value[0], 0.0);
    EXPECT_EQ(tiny->defined, 1);

    // Point to line: (0, 5) to the x axis through (-3, 0), (7, 0) is 5 world units.
    Element* line = b.line(b.point(-3, 0), b.point(7, 0));
    EXPECT_NEAR(b.make(Method::DistancePointLine, b.point(0, 5), line)->value[0], 5.0 / 40, 1e-12);

    b.doc.pixelsPerUnit = 1;
    Element* circle = b.circle(a, b.point(0, 2));
    EXPECT_NEAR(b.make(Method::CircleLength, circle)->value[0], 4 * Pi, 1e-12);
    EXPECT_NEAR(b.make(Method::CircleArea, circle)->value[0], 4 * Pi, 1e-12);
    b.doc.lengthUnit = LengthUnit::Mm;
    EXPECT_NEAR(b.make(Method::CircleArea, circle)->value[0], 400 * Pi, 1e-9);
    b.doc.lengthUnit = LengthUnit::Cm;

    Element* tri = b.make(Method::Polygon, nullptr, nullptr, nullptr,
                          {b.point(0, 0), b.point(4, 0), b.point(4, 3)});
    EXPECT_NEAR(b.make(Method::PolygonPerimeter, tri)->value[0], 12, 1e-12);
    EXPECT_NEAR(b.make(Method::PolygonArea, tri)->value[0], 6, 1e-12);
    EXPECT_NEAR(b.make(Method::SegmentLength, b.segment(a, c))->value[0], 80, 1e-12);

    // Angles: the oriented value when value[1] holds -1111, else the unoriented one.
    b.doc.angleUnit = AngleUnit::Deg;
    Element* p1 = b.point(0, 1);
    Element* p3 = b.point(1, 0);
    b.req.value[1] = NotSet;
    Element* oriented = b.make(Method::AngleValue, p1, a, p3);
    EXPECT_NEAR(oriented->value[0], 270, 1e-9);
    Element* plain = b.make(Method::AngleValue, p1, a, p3);
    EXPECT_NEAR(plain->value[0], 90, 1e-9);
    b.doc.angleUnit = AngleUnit::Gra;
    recalcElement(b.doc, *plain);
    EXPECT_NEAR(plain->value[0], 100, 1e-9);
    EXPECT_EQ(b.make(Method::AngleValue, p1, a, b.point(0.00005, 0))->defined, 0);
}

TEST(Recalc, ArcMeasures) {
    Builder b;
    b.doc.pixelsPerUnit = 1;
    Element* arc = b.make(Method::ArcThreePoints, b.point(5, 0), b.point(0, 5), b.point(-5, 0));
    arc->value[0] = arc->value[1] = 0;
    arc->value[2] = 0;
    arc->value[3] = 5;
    arc->option = 1;
    arc->option2 = 0;
    arc->defined = 1;
    Element* len = b.make(Method::ArcLength, arc);
    Element* ang = b.make(Method::AngleValue, arc);
    EXPECT_NEAR(len->value[0], 5 * Pi, 1e-9);
    EXPECT_NEAR(ang->value[0], Pi, 1e-12);
    // Straight through infinity: no length, angle 2 pi; straight segment: its length, angle 0.
    arc->option2 = 1;
    arc->value[0] = 5;
    arc->value[1] = 0;
    arc->value[2] = -5;
    arc->value[3] = 0;
    recalcElement(b.doc, *len);
    recalcElement(b.doc, *ang);
    EXPECT_EQ(len->defined, 1);
    EXPECT_EQ(len->option, NoValue);
    EXPECT_NEAR(ang->value[0], 2 * Pi, 1e-12);
    arc->option = 0;
    recalcElement(b.doc, *len);
    recalcElement(b.doc, *ang);
    EXPECT_EQ(len->option, HasValue);
    EXPECT_NEAR(len->value[0], 10, 1e-12);
    EXPECT_EQ(ang->value[0], 0.0);
}

TEST(Recalc, AngleElement) {
    Builder b;
    Element* v = b.point(1, 1);
    b.opts.angleMarkFactor = 0.13;
    Element* ang = b.make(Method::Angle, b.point(1, 101), v, b.point(201, 1));
    EXPECT_NEAR(ang->value[0], 3 * Pi / 2, 1e-12);
    EXPECT_NEAR(ang->value[2], 13, 1e-12); // 0.13 x the shorter arm (100)
    Element* small = b.make(Method::Angle, b.point(11, 1), v, b.point(1, 11));
    EXPECT_NEAR(small->value[0], Pi / 2, 1e-12);
    EXPECT_EQ(small->value[2], 8.0); // never below 8
    EXPECT_EQ(b.make(Method::Angle, b.point(1.00005, 1), v, b.point(1, 11))->defined, 0);
}

TEST(Recalc, AxesCoordinatesGridAndRepresentedPoints) {
    Builder b;
    b.doc.angleUnit = AngleUnit::Deg;
    Element* o = b.point(1, 2);
    Element* axes = b.make(Method::Axes, o);
    auto* at = axes->tailAs<AxesTail>();
    expectPair(at->xAxis.get(), 1, 2, 11, 2);
    expectPair(at->yAxis.get(), 1, 2, 1, 12);
    at->scaleY = 20;

    Element* p = b.point(41, 42); // axis coordinates (1, 2)
    b.req.option = HasValue;
    Element* coords = b.make(Method::Coordinates, p, axes);
    auto* ct = coords->tailAs<CoordinatesTail>();
    EXPECT_NEAR(ct->xCoord->value[0], 1, 1e-12);
    EXPECT_NEAR(ct->yCoord->value[0], 2, 1e-12);
    EXPECT_EQ(ct->xCoord->defined, 1);
    coords->option = NoValue; // polar
    b.drag(p, 41, -18);       // axis coordinates (1, -1)
    EXPECT_NEAR(ct->xCoord->value[0], std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(ct->yCoord->value[0], -45, 1e-9);

    b.req.value[2] = 2;
    b.req.value[3] = -1;
    Element* rep = b.make(Method::RepresentedPoint, axes);
    expectAt(rep, 81, -18);
    Element* grid = b.make(Method::Grid, axes);
    EXPECT_EQ(grid->defined, 1);
    b.req.value[2] = -1;
    b.req.value[3] = 3;
    Element* gp = b.make(Method::GridPoint, grid);
    expectAt(gp, -39, 62);

    // A polar document makes the y unit equal to the x unit.
    b.doc.coordinateSystem = 1;
    b.recalcAll();
    EXPECT_EQ(at->scaleY, at->scaleX);
    expectAt(rep, 81, -38);
    // Still polar (the option is -100): axis coordinates (1, -0.5) now.
    EXPECT_NEAR(ct->yCoord->value[0], -std::atan(0.5) * 180 / Pi, 1e-9);

    // Axes on an undefined origin take everything with them; they come back with it.
    Element* l = b.line(b.point(0, 0), b.point(1, 0));
    Element* on = b.make(Method::PointOnElement, l);
    on->value[3] = 3;
    recalcElement(b.doc, *on);
    Element* axes2 = b.make(Method::Axes, on);
    b.req.value[2] = 1;
    b.req.value[3] = 1;
    Element* rep2 = b.make(Method::RepresentedPoint, axes2);
    Element* coords2 = b.make(Method::Coordinates, p, axes2);
    Element* grid2 = b.make(Method::Grid, axes2);
    expectAt(rep2, 43, 40);
    b.drag(l->parent2, 0, 0);
    EXPECT_EQ(axes2->defined, 0);
    EXPECT_EQ(axes2->tailAs<AxesTail>()->xAxis->defined, 0);
    EXPECT_EQ(rep2->defined, 0);
    EXPECT_EQ(grid2->defined, 0);
    EXPECT_EQ(coords2->tailAs<CoordinatesTail>()->yCoord->defined, 0);
    b.drag(l->parent2, 0, 1);
    expectAt(rep2, 40, 43);
    EXPECT_EQ(grid2->defined, 1);
    EXPECT_EQ(coords2->tailAs<CoordinatesTail>()->yCoord->defined, 1);
}

// Every use of axes takes the same frame: axes without an origin point (files allow them)
// keep the origin their x axis line was read with, and a unit that is not positive gives no
// frame to anything, the axes themselves included.
TEST(Recalc, EveryUseOfAxesTakesTheSameFrame) {
    struct Case {
        double unitX;
        bool originPoint;
    };
    for (const Case c : {Case{40, false}, Case{40, true}, Case{-40, false}, Case{0, true}}) {
        Builder b;
        Element* axes =
            c.originPoint ? b.make(Method::Axes, b.point(10, 20)) : b.make(Method::Axes);
        auto* at = axes->tailAs<AxesTail>();
        at->scaleX = c.unitX;
        at->scaleY = 20;
        at->xAxis->value[0] = 10; // origin (10, 20), as read from a file
        at->xAxis->value[1] = 20;
        recalcElement(b.doc, *axes);
        const bool frame = c.unitX > 0;
        SCOPED_TRACE(::testing::Message() << c.unitX << (c.originPoint ? " with" : " without"));

        b.req.option = HasValue;
        Element* coords = b.make(Method::Coordinates, b.point(90, 60), axes);
        b.req.value[2] = 1;
        b.req.value[3] = -1;
        Element* rep = b.make(Method::RepresentedPoint, axes);
        Element* grid = b.make(Method::Grid, axes);
        Element* withCoords = b.make(Method::PointWithCoordinates, b.number(3), b.number(1), axes);
        Element* lineEq =
            b.make(Method::LineEquation, b.line(b.point(10, 20), b.point(50, 60)), axes);
        Element* circleEq =
            b.make(Method::CircleEquation, b.circle(b.point(50, 20), b.point(50, 60)), axes);
        for (const Element* e : {axes, coords, rep, grid, circleEq})
            EXPECT_EQ(e->defined, frame ? 1 : 0) << e->method;
        // Placing by coordinates and writing a line's equation need an origin point.
        for (const Element* e : {withCoords, lineEq})
            EXPECT_EQ(e->defined, frame && c.originPoint ? 1 : 0) << e->method;
        if (!frame) continue;
        const auto* ct = coords->tailAs<CoordinatesTail>();
        EXPECT_NEAR(ct->xCoord->value[0], 2, 1e-12);
        EXPECT_NEAR(ct->yCoord->value[0], 2, 1e-12);
        expectAt(rep, 50, 0);
        EXPECT_EQ(circleEq->tailAs<EquationTail>()->text,
                  "(x-1.00)\xC2\xB2/1.00\xC2\xB2+y\xC2\xB2/2.00\xC2\xB2=1");
        if (!c.originPoint) continue;
        expectAt(withCoords, 130, 40);
        EXPECT_EQ(lineEq->tailAs<EquationTail>()->text, "y = 2.00x ");
    }
}

TEST(Recalc, PolygonSides) {
    Builder b;
    Element* v0 = b.point(0, 0);
    Element* v1 = b.point(4, 0);
    Element* v2 = b.point(4, 3);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {v0, v1, v2});
    auto* t = poly->tailAs<PolygonTail>();
    ASSERT_EQ(t->sides.size(), 3u);
    expectPair(t->sides[2].get(), 4, 3, 0, 0);
    b.drag(v1, 0.00005, 0); // one side too short: that side only is undefined
    EXPECT_EQ(poly->defined, 1);
    EXPECT_EQ(t->sides[0]->defined, 0);
    EXPECT_EQ(t->sides[1]->defined, 1);
    // A vertex that is undefined makes the polygon and all its sides undefined.
    Element* l = b.line(b.point(0, 0), b.point(1, 1));
    Element* on = b.make(Method::PointOnElement, l);
    Element* poly2 = b.make(Method::Polygon, nullptr, nullptr, nullptr, {v0, v2, on});
    EXPECT_EQ(poly2->defined, 1);
    Element* side = poly2->tailAs<PolygonTail>()->sides[1].get();
    Element* mid = b.make(Method::Midpoint, side->parent1, side->parent2);
    Element* perim = b.make(Method::PolygonPerimeter, poly2);
    b.drag(l->parent2, 0, 0);
    EXPECT_EQ(poly2->defined, 0);
    for (auto& s : poly2->tailAs<PolygonTail>()->sides)
        EXPECT_EQ(s->defined, 0);
    EXPECT_EQ(perim->defined, 0);
    EXPECT_EQ(mid->defined, 0);
}

TEST(Recalc, NameAnchors) {
    Builder b;
    Element* p = b.point(3, 4);
    setName(b.doc, p, "A", b.opts);
    Element* name = p->nameElement;
    ASSERT_NE(name, nullptr);
    recalcElement(b.doc, *name);
    expectAt(name, 7, 8); // offsets 4, 4
    Element* s = b.segment(p, b.point(13, 4));
    setName(b.doc, s, "s", b.opts);
    recalcElement(b.doc, *s->nameElement);
    expectAt(s->nameElement, 8, 4); // the middle
    b.drag(p, 3, 14);
    expectAt(name, 7, 18);
    expectAt(s->nameElement, 8, 9);
}

TEST(Recalc, PassesStopAndMarked) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(2, 2);
    Element* m1 = b.make(Method::Midpoint, a, c);
    Element* m2 = b.make(Method::Midpoint, a, c);
    a->value[0] = 10;
    recalcUpTo(b.doc, m2);
    expectAt(m1, 6, 1);
    expectAt(m2, 1, 1); // not reached: left as it was
    recalcUpTo(b.doc);
    expectAt(m2, 6, 1);
    // The marked pass touches only marked elements.
    c->value[0] = 4;
    m1->mark = 0;
    m2->mark = 1;
    recalcMarked(b.doc);
    expectAt(m1, 6, 1);
    expectAt(m2, 7, 1);
}

TEST(Recalc, PointOnLocusRunsThePartialPassAndRestores) {
    Builder b;
    Element* centre = b.point(0, 0);
    Element* circle = b.circle(centre, b.point(10, 0));
    Element* driver = b.make(Method::PointOnElement, circle);
    driver->value[3] = 0;
    recalcElement(b.doc, *driver);
    Element* fixed = b.point(20, 0);
    Element* traced = b.make(Method::Midpoint, driver, fixed);
    Element* locus = b.make(Method::Locus, traced, driver);
    Point2 q;
    ASSERT_TRUE(pointOnLocusAt(b.doc, *locus, Pi / 2, q));
    EXPECT_NEAR(q.x, 10, 1e-12);
    EXPECT_NEAR(q.y, 5, 1e-12);
    // Everything is back where it was.
    EXPECT_EQ(driver->value[3], 0.0);
    expectAt(driver, 10, 0);
    expectAt(traced, 15, 0);
    // The nesting of partial passes is counted per document and bounded.
    EXPECT_EQ(b.doc.partialPassDepth, 0);
    b.doc.partialPassDepth = 32;
    EXPECT_FALSE(pointOnLocusAt(b.doc, *locus, Pi / 2, q));
    b.doc.partialPassDepth = 31;
    EXPECT_TRUE(pointOnLocusAt(b.doc, *locus, Pi / 2, q));
    EXPECT_EQ(b.doc.partialPassDepth, 31);
    b.doc.partialPassDepth = 0;
    // A point on the locus follows the same evaluation; at the driver's own parameter it
    // coincides with the traced point.
    locus->defined = 1; // the sampler is not part of this test
    Element* onLocus = b.make(Method::PointOnElement, locus);
    onLocus->value[3] = Pi;
    recalcElement(b.doc, *onLocus);
    expectAt(onLocus, 5, 0);
    onLocus->value[3] = 0;
    recalcElement(b.doc, *onLocus);
    expectAt(onLocus, 15, 0);
    // A driver on a grid gives no point on the locus.
    Element* axes = b.make(Method::Axes, centre);
    Element* grid = b.make(Method::Grid, axes);
    Element* gp = b.make(Method::GridPoint, grid);
    Element* gtraced = b.make(Method::Midpoint, gp, fixed);
    Element* glocus = b.make(Method::Locus, gtraced, gp);
    EXPECT_FALSE(pointOnLocusAt(b.doc, *glocus, 1, q));
    // A parameter driver runs over its range.
    Element* par = b.number(0);
    par->tailAs<ParameterTail>()->minimum = -10;
    par->tailAs<ParameterTail>()->maximum = 10;
    Element* pc = b.make(Method::CircleRadiusNumberCentre, centre, par);
    Element* pt = b.make(Method::PointOnElement, pc);
    Element* plocus = b.make(Method::Locus, pt, par);
    b.doc.pixelsPerUnit = 1;
    ASSERT_TRUE(pointOnLocusAt(b.doc, *plocus, 0.75, q)); // parameter 5
    EXPECT_NEAR(q.x, 5, 1e-12);
    EXPECT_EQ(par->value[0], 0.0);
}

TEST(Recalc, InvalidInputNeverCrashesOrStoresNonFinite) {
    Builder b;
    Element* p = b.point(1, 1);
    Element* q = b.point(3, 2);
    Element* n = b.number(2);
    Element* l = b.line(p, q);
    Element* c = b.circle(p, q);
    Element* inf = b.point(std::numeric_limits<double>::infinity(), 0);
    Element* nan = b.point(std::nan(""), 1);
    const std::vector<std::array<Element*, 3>> parentSets = {{nullptr, nullptr, nullptr},
                                                             {p, q, n},
                                                             {l, c, p},
                                                             {c, l, n},
                                                             {p, inf, q},
                                                             {nan, p, q},
                                                             {n, n, n},
                                                             {l, l, l}};
    for (int m = -2; m < Method::Count + 3; ++m) {
        for (const auto& ps : parentSets) {
            Element e;
            e.method = m;
            e.parent1 = ps[0];
            e.parent2 = ps[1];
            e.parent3 = ps[2];
            e.option = 0;
            recalcElement(b.doc, e);
            if (e.defined && isValidMethod(m) && kindOf(m) != Kind::Number) {
                for (double v : e.value)
                    EXPECT_TRUE(std::isfinite(v)) << "method " << m;
            }
        }
    }
    // Built through the document too, with their tails, on impossible parents.
    Element* mid = b.make(Method::Midpoint, p, inf);
    EXPECT_EQ(mid->defined, 0);
    Element* x = b.intersection(l, b.line(nan, q), 0);
    EXPECT_EQ(x->defined, 0);
    b.doc.pixelsPerUnit = 0;
    Element* d = b.make(Method::DistancePointPoint, p, q);
    EXPECT_EQ(d->defined, 0);
}
