// The measuring and checking tools: the method each click order gives, the parents, the value
// worked out by hand, the text placed at the last click; equations, grids and tables.
#include "calc/expression.h"
#include "geometry/recalc.h"
#include "model/uitext.h"
#include "view/clickengine.h"
#include "view/toolhost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qorv;
using qorv::test::ToolHost;

namespace {

constexpr double Pi = std::numbers::pi;

// A measurement's method, parents, value (in cm, 40 world units each) and text position.
void expectMeasure(const Element* e, ConstructionMethod m, const Element* p1, const Element* p2,
                   double value, double x, double y) {
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->method, m);
    EXPECT_EQ(e->parent1, p1);
    EXPECT_EQ(e->parent2, p2);
    EXPECT_EQ(e->option, HasValue);
    EXPECT_NEAR(e->value[0], value, 1e-9);
    EXPECT_DOUBLE_EQ(e->value[2], x);
    EXPECT_DOUBLE_EQ(e->value[3], y);
}

} // namespace

TEST(MeasureTools, LengthAndDistanceByWhatIsClicked) {
    ToolHost h;
    Element* a = h.point(-200, 0);
    Element* b = h.point(-120, 0); // 2 cm
    Element* s = h.make(Method::Segment, a, b);
    Element* c = h.point(100, 0);
    Element* circle = h.make(Method::CircleCentrePoint, c, h.point(100, 40)); // radius 1 cm
    Element* line = h.make(Method::LineThroughTwoPoints, h.point(-250, 120), h.point(250, 120));
    h.tool(Tool::LengthDistance);
    const int steps = h.undoSteps;
    h.click(-160, 0);
    expectMeasure(h.last(), Method::SegmentLength, s, nullptr, 2, -160, 0);
    h.click(140, 0);
    expectMeasure(h.last(), Method::CircleLength, circle, nullptr, 2 * Pi, 140, 0);
    h.click(-200, 0);
    h.click(100, 0);
    expectMeasure(h.last(), Method::DistancePointPoint, a, c, 7.5, 100, 0);
    h.click(-120, 0);
    h.click(0, 120);
    expectMeasure(h.last(), Method::DistancePointLine, b, line, 3, 0, 120);
    EXPECT_EQ(h.last()->unitShown, 1);
    EXPECT_EQ(h.undoSteps, steps + 4);
    // An empty place makes no point for a measurement.
    const int n = h.size();
    h.click(0, -150);
    h.click(50, -150);
    EXPECT_EQ(h.size(), n);

    Element* tri = h.make(Method::Polygon, nullptr, nullptr, nullptr,
                          {h.point(-250, -150), h.point(-170, -150), h.point(-170, -90)});
    h.click(-210, -150);
    expectMeasure(h.last(), Method::PolygonPerimeter, tri, nullptr, 6, -210, -150);
    Element* arc =
        h.make(Method::ArcThreePoints, h.point(240, -100), h.point(200, -60), h.point(160, -100));
    h.click(200 + 40 * std::cos(Pi / 4), std::round(-100 + 40 * std::sin(Pi / 4)));
    ASSERT_EQ(h.last()->method, Method::ArcLength);
    EXPECT_EQ(h.last()->parent1, arc);
    EXPECT_NEAR(h.last()->value[0], Pi, 1e-9); // half a circle of radius 1 cm
}

TEST(MeasureTools, AngleFromThreePointsAnArcOrAnAngleElement) {
    ToolHost h;
    Element* a = h.point(100, 0);
    Element* v = h.point(0, 0);
    Element* b = h.point(-100, 100);
    h.tool(Tool::AngleMeasure);
    h.click(100, 0);
    h.click(0, 0);
    h.click(-100, 100);
    Element* m = h.last();
    ASSERT_EQ(m->method, Method::AngleValue);
    EXPECT_EQ(m->parent1, a);
    EXPECT_EQ(m->parent2, v);
    EXPECT_EQ(m->parent3, b);
    EXPECT_NEAR(m->value[0], 3 * Pi / 4, 1e-9);
    EXPECT_DOUBLE_EQ(m->value[2], -100);
    EXPECT_EQ(m->unitShown, 3);

    // An angle element over the full turn: its parents, and the oriented value.
    Element* angle = h.make(Method::Angle, b, v, a); // from b round to a: 5 pi / 4
    angle->value[3] = NotSet;
    h.recalculateAndRedraw();
    h.click(0, -12); // inside its mark, below the vertex
    Element* m2 = h.last();
    ASSERT_EQ(m2->method, Method::AngleValue);
    EXPECT_EQ(m2->parent1, b);
    EXPECT_EQ(m2->parent3, a);
    EXPECT_DOUBLE_EQ(m2->value[1], NotSet);
    EXPECT_NEAR(m2->value[0], 5 * Pi / 4, 1e-9);

    Element* arc =
        h.make(Method::ArcThreePoints, h.point(200, -100), h.point(150, -50), h.point(100, -100));
    h.click(185, -65); // on the arc's upper half
    Element* m3 = h.last();
    EXPECT_EQ(m3->parent1, arc);
    EXPECT_NEAR(m3->value[0], Pi, 1e-9);
    EXPECT_DOUBLE_EQ(m3->value[2], 185);
}

TEST(MeasureTools, AreaSlopeAndProportion) {
    ToolHost h;
    Element* tri = h.make(Method::Polygon, nullptr, nullptr, nullptr,
                          {h.point(0, 0), h.point(80, 0), h.point(80, 40)});
    h.tool(Tool::Area);
    h.click(40, 0);
    expectMeasure(h.last(), Method::PolygonArea, tri, nullptr, 1, 40, 0);
    EXPECT_EQ(h.last()->unitShown, 2);

    Element* s = h.make(Method::Segment, h.point(-200, -100), h.point(-100, -50));
    h.tool(Tool::Slope);
    h.click(-150, -75);
    expectMeasure(h.last(), Method::Slope, s, nullptr, 0.5, -150, -75);

    h.tool(Tool::Proportion);
    h.click(-150, -75);
    h.click(80, 20); // the triangle is not a segment: ignored
    Element* s2 = h.make(Method::Segment, h.point(-200, 100), h.point(-150, 100));
    h.click(-175, 100);
    Element* p = h.last();
    ASSERT_EQ(p->method, Method::Proportion);
    EXPECT_EQ(p->parent1, s);
    EXPECT_EQ(p->parent2, s2);
    EXPECT_NEAR(p->value[0], std::sqrt(12500.0) / 50, 1e-9);
    EXPECT_EQ(h.in.tool(), Tool::Move);

    // Three points in a row; three that are not give nothing.
    h.tool(Tool::Proportion);
    Element* x = h.point(-100, 150);
    Element* y = h.point(0, 150);
    Element* z = h.point(100, 150);
    h.click(-100, 150);
    h.click(0, 150);
    h.click(100, 150);
    ASSERT_EQ(h.last()->method, Method::Proportion);
    EXPECT_EQ(h.last()->parent1, x);
    EXPECT_EQ(h.last()->parent2, y);
    EXPECT_EQ(h.last()->parent3, z);
    EXPECT_NEAR(h.last()->value[0], 0.5, 1e-9);
    h.tool(Tool::Proportion);
    const int n = h.size();
    h.click(-100, 150);
    h.click(0, 150);
    h.click(80, 40);
    EXPECT_EQ(h.size(), n);
    EXPECT_EQ(h.in.engine().step(), 0);
}

TEST(CheckTools, ParallelPerpendicularAndMembership) {
    ToolHost h;
    Element* l1 = h.make(Method::LineThroughTwoPoints, h.point(-250, -100), h.point(-150, 0));
    Element* l2 = h.make(Method::LineThroughTwoPoints, h.point(-50, -100), h.point(50, 0));
    Element* l3 = h.make(Method::LineThroughTwoPoints, h.point(150, -100), h.point(100, -50));
    h.tool(Tool::ParallelCheck);
    h.click(-200, -50);
    h.click(0, -50);
    Element* par = h.last();
    ASSERT_EQ(par->method, Method::ParallelCheck);
    EXPECT_EQ(par->parent1, l1);
    EXPECT_EQ(par->parent2, l2);
    EXPECT_EQ(par->option, 1);
    EXPECT_DOUBLE_EQ(par->value[2], 0);
    EXPECT_DOUBLE_EQ(par->value[3], -50);
    // The check follows the pointer until a click places it; then the move tool goes on.
    EXPECT_EQ(h.in.tool(), Tool::Move);
    EXPECT_EQ(h.in.attachedElement(), par);
    h.hover(60, 90);
    EXPECT_DOUBLE_EQ(par->value[2], 60);
    EXPECT_DOUBLE_EQ(par->value[3], 90);
    h.click(70, 100);
    EXPECT_EQ(h.in.attachedElement(), nullptr);
    EXPECT_DOUBLE_EQ(par->value[2], 70);
    h.hover(0, 0);
    EXPECT_DOUBLE_EQ(par->value[2], 70);
    EXPECT_EQ(h.doc.selectedCount(), 0); // the placing click selected nothing

    h.tool(Tool::PerpendicularCheck);
    h.click(0, -50);
    h.click(125, -75);
    EXPECT_EQ(h.last()->method, Method::PerpendicularCheck);
    EXPECT_EQ(h.last()->parent1, l2);
    EXPECT_EQ(h.last()->parent2, l3);
    EXPECT_EQ(h.last()->option, 1);

    Element* circle = h.make(Method::CircleCentrePoint, h.point(0, 100), h.point(0, 150));
    Element* on = h.point(50, 100);
    h.tool(Tool::MembershipCheck);
    h.click(0, 50);   // the circle first: not yet
    h.click(50, 100); // the point
    h.click(35, 65);  // the circle, clear of the lines
    Element* m = h.last();
    ASSERT_EQ(m->method, Method::MembershipCheck);
    EXPECT_EQ(m->parent1, on);
    EXPECT_EQ(m->parent2, circle);
    EXPECT_EQ(m->option, 1);
}

TEST(CheckTools, EquidistanceTakesTheComparedPointFirstAndAlignmentThreePoints) {
    ToolHost h;
    Element* p = h.point(0, 0);
    Element* a = h.point(-60, 80);
    Element* b = h.point(100, 0);
    Element* s = h.make(Method::Segment, h.point(-200, -100), h.point(-100, -100));
    h.tool(Tool::EquidistanceCheck);
    h.click(0, 0);
    h.click(-60, 80);
    h.click(100, 0);
    Element* e1 = h.last();
    ASSERT_EQ(e1->method, Method::EquidistanceCheck);
    EXPECT_EQ(e1->parent1, p);
    EXPECT_EQ(e1->parent2, a);
    EXPECT_EQ(e1->parent3, b);
    EXPECT_EQ(e1->option, 1); // both 100 away

    // The point, then a segment: its end points are the compared ones.
    h.tool(Tool::EquidistanceCheck);
    h.click(0, 0);
    h.click(-150, -100);
    Element* e2 = h.last();
    ASSERT_EQ(e2->method, Method::EquidistanceCheck);
    EXPECT_EQ(e2->parent1, p);
    EXPECT_EQ(e2->parent2, s->parent1);
    EXPECT_EQ(e2->parent3, s->parent2);
    EXPECT_EQ(e2->option, 0);
    // The segment first works the same.
    h.tool(Tool::EquidistanceCheck);
    h.click(-150, -100);
    h.click(0, 0);
    Element* e3 = h.last();
    ASSERT_NE(e3, e2);
    EXPECT_EQ(e3->parent1, p);
    EXPECT_EQ(e3->parent2, s->parent1);

    h.tool(Tool::AlignmentCheck);
    Element* q = h.point(200, 0);
    h.click(0, 0);
    h.click(100, 0);
    h.click(200, 0);
    Element* al = h.last();
    ASSERT_EQ(al->method, Method::AlignmentCheck);
    EXPECT_EQ(al->parent1, p);
    EXPECT_EQ(al->parent3, q);
    EXPECT_EQ(al->option, 1);
    q->value[1] = 10;
    h.recalculateAndRedraw();
    EXPECT_EQ(al->option, 0);
}

TEST(MeasureTools, EquationsCoordinatesAndGridUseTheOnlyAxes) {
    ToolHost h;
    Element* line = h.make(Method::LineThroughTwoPoints, h.point(-200, -100), h.point(200, 100));
    Element* p = h.point(-100, 120);
    h.tool(Tool::Axes);
    h.click(0, 0);
    Element* axes = h.last();
    h.tool(Tool::EquationOrCoordinates);
    h.click(100, 50);
    Element* eq = h.last();
    ASSERT_EQ(eq->method, Method::LineEquation);
    EXPECT_EQ(eq->parent1, line);
    EXPECT_EQ(eq->parent2, axes);
    EXPECT_DOUBLE_EQ(eq->value[2], 100);
    EXPECT_DOUBLE_EQ(eq->value[3], 50);
    EXPECT_EQ(eq->option, 1);
    EXPECT_NEAR(eq->value[0], 0.5, 1e-9); // slope, the origin on the line: y = 0.5x
    h.click(-100, 120);
    Element* co = h.last();
    ASSERT_EQ(co->method, Method::Coordinates);
    EXPECT_EQ(co->parent1, p);
    EXPECT_EQ(co->parent2, axes);
    EXPECT_NEAR(co->subElement(0)->value[0], -2.5, 1e-9);
    EXPECT_NEAR(co->subElement(1)->value[0], 3, 1e-9);

    h.tool(Tool::Grid);
    h.click(150, 0); // on the x axis
    ASSERT_EQ(h.last()->method, Method::Grid);
    EXPECT_EQ(h.last()->parent1, axes);

    // With two axes the second click chooses them.
    h.tool(Tool::Axes);
    h.click(-250, -150);
    Element* axes2 = h.last();
    h.tool(Tool::EquationOrCoordinates);
    const int n = h.size();
    h.click(-100, 120);
    EXPECT_EQ(h.size(), n);
    h.click(100, -150); // the second axes' x axis
    ASSERT_EQ(h.last()->method, Method::Coordinates);
    EXPECT_EQ(h.last()->parent2, axes2);
}

TEST(MeasureTools, TableOfValuesGrowsAndShrinksOneUndoStepEachTime) {
    ToolHost h;
    Element* a = h.point(0, 0);
    Element* b = h.point(40, 0);
    Element* d = h.make(Method::DistancePointPoint, a, b);
    h.box(d, 100, 150);
    h.tool(Tool::Table);
    h.click(0, -150); // nothing collected: nothing made
    EXPECT_EQ(h.count(Method::Table), 0);
    h.click(110, 145);
    const int steps = h.undoSteps;
    h.click(-100, 100);
    Element* table = h.last();
    ASSERT_EQ(table->method, Method::Table);
    EXPECT_EQ(h.undoSteps, steps + 1);
    auto* t = table->tailAs<TableTail>();
    ASSERT_EQ(t->columns.size(), 1u);
    EXPECT_EQ(t->columns[0].element, d);
    EXPECT_EQ(t->rows, 1);
    EXPECT_DOUBLE_EQ(t->columns[0].values[0], 1);
    EXPECT_DOUBLE_EQ(table->value[2], -100);
    EXPECT_EQ(table->option, NoValue); // "Dirección horizontal para las nuevas tablas" is on

    h.box(table, -100, 100);
    b->value[0] = 120; // 3 cm
    h.recalculateAndRedraw();
    h.click(-90, 95);
    EXPECT_EQ(t->rows, 2);
    EXPECT_DOUBLE_EQ(t->columns[0].values[1], 3);
    EXPECT_EQ(h.undoSteps, steps + 2);
    h.click(-90, 95, Modifier::Shift);
    h.click(-90, 95, Modifier::Shift); // never below one row
    EXPECT_EQ(t->rows, 1);
    EXPECT_EQ(t->columns[0].values.size(), 1u);
    EXPECT_EQ(h.undoSteps, steps + 3); // the refused removal changed nothing

    // With the option off, the next table runs down.
    h.opts.horizontalTables = false;
    h.click(110, 145);
    h.click(-200, -100);
    ASSERT_NE(h.last(), table);
    ASSERT_EQ(h.last()->method, Method::Table);
    EXPECT_EQ(h.last()->option, HasValue);
}

// The length-assignment mode: the distance between two points sets the pixels per unit so that
// it reads the target, whatever the length unit; other clicks are not taken; one undo step, then
// the move tool.
TEST(MeasureTools, LengthAssignmentSetsThePixelsPerUnit) {
    struct Case {
        int32_t unit;
        double factor; // shown units per centimetre
        double target;
    };
    for (const Case c : {Case{LengthUnit::Cm, 1, 5}, Case{LengthUnit::Mm, 10, 25},
                         Case{LengthUnit::M, 0.01, 0.08}}) {
        SCOPED_TRACE(c.unit);
        ToolHost h;
        h.doc.lengthUnit = c.unit;
        Element* a = h.point(-100, 0);
        Element* b = h.point(100, 0); // 200 world units apart
        Element* s = h.make(Method::Segment, h.point(-100, 100), h.point(100, 100));
        h.in.startLengthAssignment(c.target);
        EXPECT_EQ(h.in.tool(), Tool::LengthDistance);
        const int steps = h.undoSteps, n = h.size();
        h.click(0, 100); // a segment is no point: nothing happens
        EXPECT_EQ(h.size(), n);
        EXPECT_TRUE(h.in.engine().picked().empty());
        h.click(-100, 0);
        h.click(100, 0);
        EXPECT_NEAR(h.doc.pixelsPerUnit, 200 * c.factor / c.target, 1e-9);
        EXPECT_EQ(h.size(), n); // no measurement is made
        EXPECT_EQ(h.undoSteps, steps + 1);
        EXPECT_EQ(h.in.tool(), Tool::Move);
        // A distance measured now reads the target.
        Element* d = h.make(Method::DistancePointPoint, a, b);
        EXPECT_NEAR(d->value[0], c.target, 1e-9);
        // Back to the ordinary tool: a segment is measured again.
        h.tool(Tool::LengthDistance);
        h.click(0, 100);
        ASSERT_EQ(h.size(), n + 2);
        EXPECT_EQ(h.last()->method, Method::SegmentLength);
        EXPECT_EQ(h.last()->parent1, s);
    }
}

// A function graph: the function, then the only axes without a click; its variable runs over
// what the area shows, x from -300 to 300 on axes of unit 40.
TEST(MeasureTools, FunctionGraphOfAFunctionOnTheOnlyAxes) {
    ToolHost h;
    Element* axes = h.make(Method::Axes, h.point(0, 0));
    h.req.option = FunctionType::YofX;
    h.req.text = "x^2/4-1";
    Element* fn = h.make(Method::Function);
    ASSERT_TRUE(compileToTail(*fn->tailAs<ExpressionTail>(), "x^2/4-1", {}, {}, 1));
    recalcElement(h.doc, *fn);
    h.box(fn, 100, 150);
    h.tool(Tool::FunctionGraph);
    h.click(110, 145);
    Element* g = h.last();
    ASSERT_EQ(g->method, Method::FunctionGraph);
    EXPECT_EQ(g->parent1, fn);
    EXPECT_EQ(g->parent2, axes);
    EXPECT_DOUBLE_EQ(g->value[1], -7.5);
    EXPECT_DOUBLE_EQ(g->value[2], 7.5);
    const auto* t = g->tailAs<SampledCurveTail>();
    ASSERT_EQ(t->count, 250);
    EXPECT_NEAR(t->first[249].x, 300, 1e-9);
    EXPECT_NEAR(t->first[249].y, 40 * (7.5 * 7.5 / 4 - 1), 1e-9);
    // With two axes the second click chooses them.
    Element* other = h.make(Method::Axes, h.point(-200, -100));
    h.click(110, 145);
    EXPECT_EQ(h.last(), other); // nothing made yet
    h.click(-100, -100);        // on the x axis of the second axes
    EXPECT_EQ(h.last()->method, Method::FunctionGraph);
    EXPECT_EQ(h.last()->parent2, other);
}
