// The construction tools driven by clicks through the interaction: which element each makes,
// its parents in order and where it lies, worked out by hand.
#include "geometry/transforms.h"
#include "model/uitext.h"
#include "view/clickengine.h"
#include "view/toolhost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qorv;
using qorv::test::expectAt;
using qorv::test::ToolHost;

namespace {

constexpr double Pi = std::numbers::pi;

// A distance measurement whose value is `cm` (40 world units per centimetre), with a box.
Element* numberOf(ToolHost& h, double cm, double boxX, double boxY) {
    Element* a = h.point(1000, 1000);
    Element* b = h.point(1000 + 40 * cm, 1000);
    Element* n = h.make(Method::DistancePointPoint, a, b);
    h.box(n, boxX, boxY);
    return n;
}

} // namespace

TEST(ConstructionTools, LineTowardsAnEmptyPlaceAndThroughAPointMadeOnACircle) {
    ToolHost h;
    h.tool(Tool::Line);
    h.click(0, 0);
    h.click(100, 50);
    Element* line = h.last();
    ASSERT_EQ(line->method, Method::LineThroughPoint);
    EXPECT_EQ(line->parent1->method, Method::FreePoint);
    expectAt(line->parent1, 0, 0);
    // Its direction is towards the click.
    EXPECT_NEAR(std::atan2(line->value[3] - line->value[1], line->value[2] - line->value[0]),
                std::atan2(50, 100), 1e-9);
    EXPECT_EQ(h.undoSteps, 1);

    Element* c = h.point(-100, -100);
    Element* circle = h.make(Method::CircleCentrePoint, c, h.point(-100, -40)); // radius 60
    h.click(50, -100);                                                          // a free point
    h.click(-40, -100); // on the circle, far from its points
    Element* l2 = h.last();
    ASSERT_EQ(l2->method, Method::LineThroughTwoPoints);
    Element* onCircle = l2->parent2;
    ASSERT_EQ(onCircle->method, Method::PointOnElement);
    EXPECT_EQ(onCircle->parent1, circle);
    expectAt(onCircle, -40, -100);
    expectAt(l2->parent1, 50, -100);
}

TEST(ConstructionTools, CircleByRadiusFromTwoPointsASegmentOrANumber) {
    ToolHost h;
    Element* a = h.point(0, 0);
    Element* b = h.point(30, 40); // 50 apart
    h.tool(Tool::CircleRadius);
    h.click(0, 0);
    h.click(30, 40);
    h.click(150, 0); // the centre, made here
    Element* c1 = h.last();
    ASSERT_EQ(c1->method, Method::CircleRadiusCentre);
    EXPECT_EQ(c1->parent2, a);
    EXPECT_EQ(c1->parent3, b);
    expectAt(c1->parent1, 150, 0);
    EXPECT_NEAR(c1->value[2] - c1->value[0], 50, 1e-9);

    Element* s = h.make(Method::Segment, h.point(-200, 100), h.point(-200, 180)); // length 80
    h.click(-200, 140);
    h.click(-100, -100);
    Element* c2 = h.last();
    ASSERT_EQ(c2->method, Method::CircleRadiusCentre);
    EXPECT_EQ(c2->parent2, s->parent1);
    EXPECT_EQ(c2->parent3, s->parent2);
    EXPECT_NEAR(c2->value[2] - c2->value[0], 80, 1e-9);

    Element* n = numberOf(h, 1.5, 100, 150); // 1.5 cm = 60 world units
    h.click(110, 145);
    h.click(-150, 50);
    Element* c3 = h.last();
    ASSERT_EQ(c3->method, Method::CircleRadiusNumberCentre);
    EXPECT_EQ(c3->parent2, n);
    expectAt(c3->parent1, -150, 50);
    EXPECT_NEAR(c3->value[2] - c3->value[0], 60, 1e-9);
}

TEST(ConstructionTools, PolygonClosesOnItsFirstPointOrByDoubleClick) {
    ToolHost h;
    h.tool(Tool::Polygon);
    h.click(0, 0);
    h.click(100, 0);
    h.click(0, 0); // too early: ignored
    EXPECT_EQ(h.count(Method::Polygon), 0);
    EXPECT_EQ(h.count(Method::FreePoint), 2);
    h.click(100, 100);
    h.click(0, 100);
    h.click(1, 1); // the first vertex again
    Element* poly = h.last();
    ASSERT_EQ(poly->method, Method::Polygon);
    const auto* t = poly->tailAs<PolygonTail>();
    ASSERT_EQ(t->sides.size(), 4u);
    const double xs[] = {0, 100, 100, 0}, ys[] = {0, 0, 100, 100};
    for (int i = 0; i < 4; ++i)
        expectAt(t->sides[size_t(i)]->parent1, xs[i], ys[i]);
    EXPECT_EQ(t->sides[3]->parent2, t->sides[0]->parent1);
    EXPECT_EQ(h.undoSteps, 1);

    h.click(-200, -100);
    h.click(-100, -100);
    h.doubleClick(-150, -20); // the double click's own point is the third vertex
    Element* tri = h.last();
    ASSERT_EQ(tri->method, Method::Polygon);
    ASSERT_EQ(tri->tailAs<PolygonTail>()->sides.size(), 3u);
    expectAt(tri->tailAs<PolygonTail>()->sides[2]->parent1, -150, -20);
    EXPECT_EQ(h.count(Method::FreePoint), 7);
}

TEST(ConstructionTools, RegularAndStarPolygonsFollowThePointer) {
    ToolHost h;
    h.tool(Tool::RegularPolygon);
    h.click(0, 0);
    h.hover(50, 0);
    auto circle = h.in.previewElement();
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->kind(), Kind::Circle);
    h.click(100, 0);
    // At 0.3 pi from the first vertex (clockwise seen from it): a hexagon.
    const double a = -0.3 * Pi;
    h.hover(std::round(80 * std::cos(a)), std::round(80 * std::sin(a)));
    auto preview = h.in.previewElement();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->tailAs<PolygonTail>()->sides.size(), 6u);
    h.click(std::round(80 * std::cos(a)), std::round(80 * std::sin(a)));
    Element* hexagon = h.last();
    ASSERT_EQ(hexagon->method, Method::Polygon);
    const auto* t = hexagon->tailAs<PolygonTail>();
    ASSERT_EQ(t->sides.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const Element* v = t->sides[size_t(i)]->parent1;
        if (i > 0) {
            EXPECT_EQ(v->method, Method::RegularPolygonVertex);
        }
        expectAt(v, 100 * std::cos(i * Pi / 3), 100 * std::sin(i * Pi / 3), 1e-6);
    }
    EXPECT_EQ(h.count(Method::RegularPolygonVertex), 5);

    // Past half a turn: at 1.2 pi the step of {5/2}.
    h.click(-200, 0);
    h.click(-100, 0);
    const double b = -1.2 * Pi;
    h.click(-200 + std::round(80 * std::cos(b)), std::round(80 * std::sin(b)));
    const auto* star = h.last()->tailAs<PolygonTail>();
    ASSERT_EQ(star->sides.size(), 5u);
    // Consecutive vertices are two fifths of a turn apart.
    expectAt(star->sides[1]->parent1, -200 + 100 * std::cos(0.8 * Pi), 100 * std::sin(0.8 * Pi),
             1e-6);
}

TEST(ConstructionTools, ConicArcAndAngleTakeTheirPointsInOrder) {
    ToolHost h;
    h.tool(Tool::Conic);
    const double px[] = {100, 0, -100, 0, 60}, py[] = {0, 50, 0, -50, 40};
    for (int i = 0; i < 5; ++i)
        h.click(px[i], py[i]);
    Element* conic = h.last();
    ASSERT_EQ(conic->method, Method::Conic);
    for (int i = 0; i < 5; ++i)
        expectAt(conic->tailAs<ConicTail>()->points[i], px[i], py[i]);
    EXPECT_EQ(conic->defined, 1);

    h.tool(Tool::Arc);
    h.click(250, 0);
    h.click(200, 50);
    h.click(150, 0);
    Element* arc = h.last();
    ASSERT_EQ(arc->method, Method::ArcThreePoints);
    expectAt(arc->parent1, 250, 0);
    expectAt(arc->parent3, 150, 0);
    expectAt(arc, 200, 0); // centre
    EXPECT_EQ(arc->option, 1);

    h.tool(Tool::Angle);
    h.click(-100, -100);
    h.click(-200, -100);
    h.click(-200, 0);
    Element* angle = h.last();
    ASSERT_EQ(angle->method, Method::Angle);
    expectAt(angle->parent2, -200, -100);
    EXPECT_NEAR(angle->value[0], Pi / 2, 1e-9);
}

TEST(ConstructionTools, ParallelAndPerpendicularInEitherOrder) {
    ToolHost h;
    Element* l = h.make(Method::LineThroughTwoPoints, h.point(-250, -150), h.point(-150, -50));
    Element* p = h.point(100, 0);
    h.tool(Tool::Parallel);
    h.click(-100, 0); // the line, away from its points
    ElementRequest pre;
    h.hover(0, 50);
    EXPECT_TRUE(h.in.previewRequest(pre));
    EXPECT_EQ(pre.method, Method::ParallelLine);
    h.click(100, 0);
    Element* par = h.last();
    ASSERT_EQ(par->method, Method::ParallelLine);
    EXPECT_EQ(par->parent1, l);
    EXPECT_EQ(par->parent2, p);
    EXPECT_NEAR(par->value[3] - par->value[1], par->value[2] - par->value[0], 1e-9);

    h.tool(Tool::Perpendicular);
    h.click(100, 0); // the point first
    h.click(-100, 0);
    Element* perp = h.last();
    ASSERT_EQ(perp->method, Method::PerpendicularLine);
    EXPECT_EQ(perp->parent1, l);
    EXPECT_EQ(perp->parent2, p);
    EXPECT_NEAR(perp->value[3] - perp->value[1], -(perp->value[2] - perp->value[0]), 1e-9);

    // A polygon side is the straight element; a click on a circle makes the point.
    Element* circle = h.make(Method::CircleCentrePoint, h.point(0, 120), h.point(0, 170));
    Element* tri = h.make(Method::Polygon, nullptr, nullptr, nullptr,
                          {h.point(-280, 150), h.point(-200, 150), h.point(-240, 190)});
    h.click(-240, 150); // the first side
    h.click(50, 120);   // on the circle
    Element* p2 = h.last();
    ASSERT_EQ(p2->method, Method::PerpendicularLine);
    EXPECT_EQ(p2->parent1, tri->subElement(0));
    EXPECT_EQ(p2->parent2->parent1, circle);
    EXPECT_NEAR(p2->value[2], p2->value[0], 1e-9); // vertical: perpendicular to a horizontal side
}

TEST(ConstructionTools, SegmentVectorAndVectorSum) {
    ToolHost h;
    h.tool(Tool::Segment);
    h.click(0, 0);
    h.click(100, 0);
    ASSERT_EQ(h.last()->method, Method::Segment);
    h.tool(Tool::Vector);
    h.click(0, 100);
    h.click(30, 140);
    Element* v1 = h.last();
    ASSERT_EQ(v1->method, Method::Vector);
    h.click(-100, -100);
    h.click(-100, -50);
    Element* v2 = h.last();
    h.tool(Tool::VectorSum);
    h.click(0, 0); // a point: not a vector, ignored
    EXPECT_EQ(h.in.engine().step(), 0);
    h.click(15, 120);   // v1
    h.click(-100, -75); // v2
    h.click(200, -100); // the start point, made here
    Element* sumVector = h.last();
    Element* end = sumVector->prev;
    ASSERT_EQ(end->method, Method::VectorSumPoint);
    EXPECT_EQ(end->parent1, v1);
    EXPECT_EQ(end->parent2, v2);
    expectAt(end->parent3, 200, -100);
    expectAt(end, 200 + 30 + 0, -100 + 40 + 50);
    ASSERT_EQ(sumVector->method, Method::Vector);
    EXPECT_EQ(sumVector->parent1, end->parent3);
    EXPECT_EQ(sumVector->parent2, end);
}

TEST(ConstructionTools, MidpointBisectorsFromPointsOrFromASegmentOrAnAngle) {
    ToolHost h;
    Element* a = h.point(0, 0);
    h.point(100, 40);
    Element* s = h.make(Method::Segment, h.point(-200, -100), h.point(-100, -100));
    h.tool(Tool::Midpoint);
    h.click(0, 0);
    h.click(100, 40);
    expectAt(h.last(), 50, 20);
    EXPECT_EQ(h.last()->parent1, a);
    h.click(-150, -100); // the segment itself
    ASSERT_EQ(h.last()->method, Method::Midpoint);
    EXPECT_EQ(h.last()->parent1, s->parent1);
    expectAt(h.last(), -150, -100);

    h.tool(Tool::PerpendicularBisector);
    h.click(-130, -100);
    Element* pb = h.last();
    ASSERT_EQ(pb->method, Method::PerpendicularBisector);
    EXPECT_EQ(pb->parent2, s->parent2);
    EXPECT_NEAR(pb->value[0], -150, 1e-9);
    EXPECT_NEAR(pb->value[2], -150, 1e-9);

    h.point(0, 100);
    h.tool(Tool::AngleBisector);
    h.click(100, 40);
    h.click(0, 0);
    h.click(0, 100);
    Element* bis = h.last();
    ASSERT_EQ(bis->method, Method::AngleBisector);
    EXPECT_EQ(bis->parent2, a);
    // The bisector of the angle between (100, 40) and (0, 100) seen from the origin.
    const double half = (std::atan2(40, 100) + Pi / 2) / 2;
    EXPECT_NEAR(std::atan2(bis->value[3] - bis->value[1], bis->value[2] - bis->value[0]), half,
                1e-9);

    // An angle element gives its three parents in their order.
    ToolHost g;
    Element* ga = g.point(0, 0);
    Element* gb = g.point(100, 40);
    Element* gc = g.point(0, 100);
    g.make(Method::Angle, gb, ga, gc);
    g.tool(Tool::AngleBisector);
    g.click(10, 10); // inside the angle's mark, clear of its vertex
    Element* bis2 = g.last();
    ASSERT_EQ(bis2->method, Method::AngleBisector);
    EXPECT_EQ(bis2->parent1, gb);
    EXPECT_EQ(bis2->parent2, ga);
    EXPECT_EQ(bis2->parent3, gc);
}

TEST(ConstructionTools, IntersectionOfTwoLinesIsOnePointInAnUndoStepOfItsOwn) {
    ToolHost h;
    Element* l1 = h.make(Method::LineThroughTwoPoints, h.point(-250, -250), h.point(-200, -200));
    Element* l2 = h.make(Method::LineThroughTwoPoints, h.point(250, -250), h.point(200, -200));
    h.tool(Tool::Intersection);
    h.click(-100, -100);
    EXPECT_EQ(h.undoSteps, 0);
    h.click(100, -100);
    EXPECT_EQ(h.undoSteps, 1);
    Element* x = h.last();
    ASSERT_EQ(x->method, Method::IntersectionPoint);
    EXPECT_EQ(x->parent1, l1);
    EXPECT_EQ(x->parent2, l2);
    EXPECT_EQ(x->option, 0);
    expectAt(x, 0, 0);
}

TEST(ConstructionTools, IntersectionOfALineAndACircleIsAsManyPointsAsThereAreCrossings) {
    ToolHost h;
    // A horizontal line through a circle of radius 100: both crossings, in the line's order.
    Element* line = h.make(Method::LineThroughTwoPoints, h.point(-280, 100), h.point(280, 100));
    Element* circle = h.make(Method::CircleCentrePoint, h.point(0, 100), h.point(0, 200));
    h.tool(Tool::Intersection);
    const int before = h.size();
    h.click(0, 0); // the circle's lowest point: clicked first
    h.click(-200, 100);
    ASSERT_EQ(h.size(), before + 2);
    Element* first = h.fromEnd(1);
    Element* second = h.last();
    EXPECT_EQ(first->parent1, line); // the code's order of kinds: the line comes first
    EXPECT_EQ(first->parent2, circle);
    EXPECT_EQ(first->option, 6);
    EXPECT_EQ(second->option, 7);
    expectAt(first, 100, 100);
    expectAt(second, -100, 100);

    // A line that misses the circle: nothing.
    h.make(Method::LineThroughTwoPoints, h.point(-280, -150), h.point(280, -150));
    const int n = h.size();
    h.click(-100, -150);
    h.click(0, 0);
    EXPECT_EQ(h.size(), n);
    EXPECT_EQ(h.in.engine().step(), 0);
}

TEST(ConstructionTools, IntersectionOfCirclesSkipsTheCrossingTheyAreBothBuiltThrough) {
    ToolHost h;
    Element* a = h.point(60, 80);
    Element* c1 = h.make(Method::CircleCentrePoint, h.point(0, 0), a);   // radius 100
    Element* c2 = h.make(Method::CircleCentrePoint, h.point(120, 0), a); // radius 100
    h.tool(Tool::Intersection);
    const int n = h.size();
    h.click(-100, 0);
    h.click(220, 0);
    ASSERT_EQ(h.size(), n + 1);
    Element* x = h.last();
    EXPECT_EQ(x->parent1, c1);
    EXPECT_EQ(x->parent2, c2);
    expectAt(x, 60, -80, 1e-6);
}

TEST(ConstructionTools, IntersectionWithAConicMakesEveryCandidate) {
    ToolHost h;
    // The ellipse x^2/200^2 + y^2/100^2 = 1.
    Element* conic = h.make(
        Method::Conic, nullptr, nullptr, nullptr,
        {h.point(200, 0), h.point(0, 100), h.point(-200, 0), h.point(0, -100), h.point(120, 80)});
    Element* circle = h.make(Method::CircleCentrePoint, h.point(0, 0), h.point(150, 0));
    h.tool(Tool::Intersection);
    h.click(0, 150);  // the circle
    h.click(0, -100); // the ellipse (its point there is not what this tool takes)
    ASSERT_EQ(h.count(Method::IntersectionPoint), 4);
    int defined = 0;
    for (Element* e = h.doc.head; e; e = e->next) {
        if (e->method != Method::IntersectionPoint) continue;
        EXPECT_EQ(e->parent1, conic);
        EXPECT_EQ(e->parent2, circle);
        EXPECT_GE(e->option, 34);
        EXPECT_LE(e->option, 37);
        if (!e->defined) continue;
        ++defined;
        // On both curves: x^2/40000 + y^2/10000 = 1 and x^2 + y^2 = 22500.
        const double x = e->value[0], y = e->value[1];
        EXPECT_NEAR(x * x / 40000 + y * y / 10000, 1, 1e-6);
        EXPECT_NEAR(x * x + y * y, 22500, 1e-3);
        EXPECT_NEAR(std::fabs(x), std::sqrt(50000.0 / 3), 1e-3);
    }
    EXPECT_EQ(defined, 4);
    EXPECT_EQ(h.undoSteps, 1);
}

TEST(ConstructionTools, DisplacedPointOnlyWhereThePointMayMove) {
    ToolHost h;
    Element* c = h.point(0, 0);
    Element* circle = h.make(Method::CircleCentrePoint, c, h.point(100, 0));
    Element* n = numberOf(h, 1, 150, 150); // 1 cm = 40 world units of arc
    h.tool(Tool::DisplacedPoint);
    h.click(0, 100);  // makes a point on the circle
    h.click(-100, 0); // the circle as the guide
    h.click(160, 145);
    Element* d = h.last();
    ASSERT_EQ(d->method, Method::DisplacedPoint);
    EXPECT_EQ(d->parent2, circle);
    EXPECT_EQ(d->parent3, n);
    EXPECT_EQ(d->parent1->method, Method::PointOnElement);
    // A turn of 40/100 radians from the top of the circle.
    expectAt(d, 100 * std::cos(Pi / 2 + 0.4), 100 * std::sin(Pi / 2 + 0.4), 1e-6);

    // A free point is not on the circle by construction: refused, and the sequence starts over.
    h.point(-200, -150);
    const int size = h.size();
    h.click(-200, -150);
    h.click(-100, 0);
    h.click(160, 145);
    EXPECT_EQ(h.size(), size);
    EXPECT_EQ(h.in.engine().step(), 0);

    // Along a segment, from its first point.
    Element* s = h.make(Method::Segment, h.point(-250, 150), h.point(-50, 150));
    h.click(-200, 150);
    h.click(-150, 150);
    h.click(160, 145);
    Element* d2 = h.last();
    ASSERT_EQ(d2->method, Method::DisplacedPoint);
    EXPECT_EQ(d2->parent2, s);
    expectAt(d2, -210, 150);
}

TEST(ConstructionTools, PointWithCoordinatesTakesTheOnlyAxesWithoutAClick) {
    ToolHost h;
    h.tool(Tool::Axes);
    h.click(-50, -50);
    Element* axes = h.last();
    ASSERT_EQ(axes->method, Method::Axes);
    expectAt(axes->parent1, -50, -50);
    Element* x = numberOf(h, 2, 100, 150);
    Element* y = numberOf(h, 1.5, 100, 100);
    h.tool(Tool::PointWithCoordinates);
    const int steps = h.undoSteps;
    h.click(110, 145);
    EXPECT_EQ(h.undoSteps, steps + 1); // the first click
    h.click(110, 95);
    Element* p = h.last();
    ASSERT_EQ(p->method, Method::PointWithCoordinates);
    EXPECT_EQ(p->parent1, x);
    EXPECT_EQ(p->parent2, y);
    EXPECT_EQ(p->parent3, axes);
    expectAt(p, -50 + 2 * 40, -50 + 1.5 * 40); // the axes' units are 40
    EXPECT_EQ(h.undoSteps, steps + 1);
}

// The locus of the midpoint of the origin and a point running round a circle of radius 100:
// the circle of radius 50 about the origin.
TEST(ConstructionTools, LocusOfAPointDrivenAlongACircleAndItsCrossings) {
    ToolHost h;
    Element* o = h.point(0, 0);
    Element* circle = h.make(Method::CircleCentrePoint, o, h.point(100, 0));
    circle->parent2->visible = 0;
    h.req.value[3] = 0;
    Element* driver = h.make(Method::PointOnElement, circle);
    Element* traced = h.make(Method::Midpoint, driver, o);
    Element* free = h.point(-150, -150);
    const int size = h.size();
    h.tool(Tool::Locus);
    // A free point depends on nothing: no locus, the sequence starts again.
    h.click(-150, -150);
    h.click(100, 0);
    EXPECT_EQ(h.size(), size);
    EXPECT_EQ(h.in.engine().step(), 0);
    h.click(50, 0);
    EXPECT_EQ(h.in.engine().picked().front(), traced);
    h.click(100, 0);
    Element* locus = h.last();
    ASSERT_EQ(locus->method, Method::Locus);
    EXPECT_EQ(locus->parent1, traced);
    EXPECT_EQ(locus->parent2, driver);
    EXPECT_EQ(locus->tailAs<SampledCurveTail>()->count, h.opts.locusPoints);
    EXPECT_EQ(h.undoSteps, 1);
    (void)free;

    // The point tool at a crossing with the line y = 30 makes the point of that crossing.
    Element* line = h.line(-200, 30, 200, 30);
    h.tool(Tool::Point);
    h.click(-40, 30);
    Element* p = h.last();
    ASSERT_EQ(p->method, Method::IntersectionPoint);
    EXPECT_EQ(p->option, 42);
    expectAt(p, -40, 30, 0.01);

    // The intersection tool makes a point for every crossing, under the wait cursor: (40, 30)
    // first, walking the locus from its first sample counter-clockwise.
    const int before = h.size();
    h.tool(Tool::Intersection);
    h.click(0, -50);
    h.click(-150, 30);
    ASSERT_EQ(h.size(), before + 2);
    Element* first = h.fromEnd(1);
    Element* second = h.last();
    EXPECT_EQ(first->parent1, locus);
    EXPECT_EQ(first->parent2, line);
    EXPECT_EQ(first->option, 42);
    EXPECT_EQ(second->option2, 1);
    expectAt(first, 40, 30, 0.01);
    expectAt(second, -40, 30, 0.01);
    EXPECT_GT(h.busySpells, 0);
    EXPECT_FALSE(h.busy);
}
