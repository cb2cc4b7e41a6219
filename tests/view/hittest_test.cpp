// The hit test and its per-kind distances, the rectangle test of the rubber band, and the tool
// table.
#include "toolhost.h"

#include "construction/create.h"
#include "geometry/intersectionpoint.h"
#include "model/uitext.h"
#include "view/hittest.h"
#include "view/resources.h"
#include "view/tooltable.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qorv;
using qorv::test::ToolHost;

namespace {

struct HitFixture : ::testing::Test {
    ToolHost h;
    HitTester tester;

    const std::vector<Hit>& at(double x, double y, int tool,
                               const std::vector<Element*>* picked = nullptr) {
        HitQuery q;
        q.tool = tool;
        q.needs = toolInfo(tool).needs;
        q.showHidden = h.hidden;
        q.picked = picked;
        BoxQuery boxes = [this](const Element& e, PixelBox& b) { return h.elementBox(e, b); };
        return tester.run(h.doc, h.view(), boxes, q, {x, y});
    }
};

} // namespace

TEST(ToolTable, EveryToolHasACursorAButtonWithAnIconAndAPrompt) {
    for (int t = 0; t < ToolCount; ++t) {
        const ToolInfo& info = toolInfo(t);
        EXPECT_EQ(info.number, t);
        EXPECT_GE(info.cursor, 1) << t;
        EXPECT_LE(info.cursor, 26) << t;
        EXPECT_FALSE(toolIconPath(QString::fromLatin1(info.button)).isEmpty()) << t;
        EXPECT_FALSE(uiText().toolPrompt(t).empty()) << t;
    }
    EXPECT_EQ(uiText().toolPrompt(0), "Mover los elementos libres o editar");
    EXPECT_EQ(uiText().toolPrompt(5), "Circunferencia dado el centro o dados el centro y un punto");
    EXPECT_EQ(toolInfo(Tool::Move).cursor, 4);
    EXPECT_EQ(toolInfo(Tool::ToggleVisibility).cursor, 7);
    EXPECT_EQ(toolInfo(Tool::EditElement).cursor, 9);
    EXPECT_EQ(toolInfo(Tool::DeleteElement).cursor, 11);
    EXPECT_EQ(toolInfo(Tool::Font).cursor, 22);
    EXPECT_EQ(toolInfo(Tool::Zoom).cursor, 14);
}

TEST(ToolTable, FiltersFollowTheNeedsRow) {
    const KindMask point = hitFilter(toolInfo(Tool::Point).needs);
    EXPECT_TRUE(hasKind(point, Kind::Point));
    EXPECT_TRUE(hasKind(point, Kind::Circle));
    EXPECT_TRUE(hasKind(point, Kind::Grid));
    EXPECT_FALSE(hasKind(point, Kind::Number));
    const KindMask parallel = hitFilter(toolInfo(Tool::Parallel).needs);
    EXPECT_TRUE(hasKind(parallel, Kind::Segment));
    EXPECT_TRUE(hasKind(parallel, Kind::Point));
    // Once the point is given, curves only count as straight elements.
    NeedsRow row = toolInfo(Tool::Parallel).needs;
    row[Kind::Point] = 0;
    EXPECT_FALSE(hasKind(hitFilter(row), Kind::Circle));
    EXPECT_TRUE(hasKind(hitFilter(row), Kind::Line));
    EXPECT_EQ(toolInfo(Tool::Intersection).needs[Kind::Circle], 2);
    EXPECT_FALSE(hasKind(hitFilter(toolInfo(Tool::Move).needs), Kind::Intersection));
    EXPECT_EQ(toolInfo(Tool::Segment).methods[0], Method::Segment);
}

TEST_F(HitFixture, PointsHitStrictlyWithinTheDetectionDistance) {
    Element* p = h.point(10, 10);
    EXPECT_EQ(at(17.9, 10, Tool::Move).size(), 1u);
    EXPECT_TRUE(at(18, 10, Tool::Move).empty());          // exactly 8 pixels away
    EXPECT_EQ(at(10 + 5, 10 + 5, Tool::Move).size(), 1u); // 7.07 pixels
    EXPECT_TRUE(at(10 + 6, 10 + 6, Tool::Move).empty());  // 8.49 pixels
    p->visible = 0;
    EXPECT_TRUE(at(10, 10, Tool::Move).empty());
    h.hidden = true;
    EXPECT_EQ(at(10, 10, Tool::Move).size(), 1u);
    p->visible = Internal;
    EXPECT_TRUE(at(10, 10, Tool::Move).empty());
    p->visible = 1;
    p->defined = 0;
    EXPECT_TRUE(at(10, 10, Tool::Move).empty());
}

TEST_F(HitFixture, PointsComeFirstAndTheMoveToolTakesTheNearestDraggable) {
    Element* a = h.point(0, 0);
    Element* b = h.point(5, 0);
    Element* line = h.make(Method::LineThroughTwoPoints, a, b);
    (void)line;
    // 2 from b, 3 from a, on the line: only points; the move tool keeps the nearest.
    auto hits = at(3, 0, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, b);
    hits = at(1, 0, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, a);
    // Equal distance: the later one.
    hits = at(2.5, 0, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, b);
    // Other tools keep all the points.
    EXPECT_EQ(at(2.5, 0, Tool::Segment).size(), 2u);
    // A midpoint (not draggable) nearer than a free point loses to the free point.
    Element* m = h.make(Method::Midpoint, a, b); // at (2.5, 0)
    hits = at(2.5, 0, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_NE(hits[0].element, m);
}

TEST_F(HitFixture, CurvesHitOnTheirDrawnShape) {
    Element* c = h.point(0, 0);
    Element* on = h.point(100, 0);
    c->visible = on->visible = 0;
    Element* circle = h.make(Method::CircleCentrePoint, c, on);
    EXPECT_EQ(at(0, 105, Tool::Move).size(), 1u);
    EXPECT_TRUE(at(0, 0, Tool::Move).empty()); // the centre is not on the circle
    EXPECT_TRUE(at(0, 110, Tool::Move).empty());
    EXPECT_EQ(at(70.7, 70.7, Tool::Move).front().element, circle);

    // A segment from (200, 0) to (300, 0): beyond its end it is not hit.
    Element* s1 = h.point(200, 0);
    Element* s2 = h.point(300, 0);
    s1->visible = s2->visible = 0;
    h.make(Method::Segment, s1, s2);
    EXPECT_EQ(at(250, 7, Tool::Move).size(), 1u);
    EXPECT_TRUE(at(310, 0, Tool::Move).empty());
    // A ray from (200, 100) through (300, 100) is hit far beyond its through-point, not behind.
    Element* r1 = h.point(200, 100);
    Element* r2 = h.point(300, 100);
    r1->visible = r2->visible = 0;
    h.make(Method::RayThroughTwoPoints, r1, r2);
    EXPECT_EQ(at(900, 103, Tool::Move).size(), 1u);
    EXPECT_TRUE(at(150, 100, Tool::Move).empty());
}

TEST_F(HitFixture, PolygonSidesStandForThePolygonOrForThemselves) {
    std::vector<Element*> v = {h.point(0, 0), h.point(100, 0), h.point(0, 100)};
    for (Element* p : v)
        p->visible = 0;
    Element* poly = h.make(Method::Polygon, nullptr, nullptr, nullptr, v);
    auto hits = at(50, 52, Tool::Move); // near the hypotenuse, side 1
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, poly);
    EXPECT_EQ(hits[0].side, 1);
    hits = at(50, 2, Tool::Parallel);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, poly->subElement(0));
    EXPECT_TRUE(at(30, 30, Tool::Move).empty()); // inside, away from the sides
}

TEST_F(HitFixture, TextLikeBoxesWinOverCurvesAndTablesComeLast) {
    h.line(-100, 0, 100, 0);
    h.req.value[0] = 2;
    Element* number = h.make(Method::Parameter);
    h.boxes[number] = {290, 190, 40, 20}; // pixels around world (0, 0)
    auto hits = at(5, 0, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, number);

    h.req.text = "hola";
    Element* text = h.make(Method::Text);
    h.boxes[text] = {400, 100, 50, 20}; // world (100..150, 80..100)
    hits = at(120, 90, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, text);
    // A text box under a curve is not taken: the curve wins.
    h.boxes[text] = {290, 195, 40, 20};
    h.boxes.erase(number);
    hits = at(5, 0, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element->kind(), Kind::Line);
}

TEST_F(HitFixture, SelectedElementsWinExceptForTheButtonAndMacroTools) {
    Element* l1 = h.line(-100, 0, 100, 0);
    Element* l2 = h.line(-100, 3, 100, 3);
    EXPECT_EQ(at(0, 1, Tool::Move).size(), 2u);
    l2->selected = 1;
    auto hits = at(0, 1, Tool::Move);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, l2);
    EXPECT_EQ(at(0, 1, Tool::ShowHideButton).size(), 2u);
    EXPECT_EQ(at(0, 1, Tool::MacroInitial).size(), 2u);
    (void)l1;
}

TEST_F(HitFixture, CrossingLinesBecomeOneIntersectionHolderForPointTools) {
    // y = x and y = -x + 100 cross at (50, 50).
    Element* l1 = h.line(0, 0, 100, 100);
    Element* l2 = h.line(0, 100, 100, 0);
    auto hits = at(53, 51, Tool::Point);
    ASSERT_EQ(hits.size(), 1u);
    Element& holder = *hits[0].element;
    EXPECT_TRUE(tester.isHolder(&holder));
    EXPECT_EQ(holder.method, Method::Intersection);
    EXPECT_NEAR(holder.value[0], 50, 1e-9);
    EXPECT_NEAR(holder.value[1], 50, 1e-9);
    EXPECT_EQ(holder.option, IntersectionCode::LineLine);
    EXPECT_TRUE((holder.parent1 == l1 && holder.parent2 == l2) ||
                (holder.parent1 == l2 && holder.parent2 == l1));
    // The move tool and the transformation tools see the two lines.
    EXPECT_EQ(at(53, 51, Tool::Move).size(), 2u);
    EXPECT_EQ(at(53, 51, Tool::CentralSymmetry).size(), 2u);
    // 7 pixels from each line, 9.9 from the crossing: both lines, no holder.
    EXPECT_EQ(at(50 + 7 * std::sqrt(2.0), 50, Tool::Point).size(), 2u);
}

TEST_F(HitFixture, LineAndCircleGiveTheNearerCandidateCode) {
    Element* c = h.point(0, 0);
    Element* on = h.point(100, 0);
    c->visible = on->visible = 0;
    Element* circle = h.make(Method::CircleCentrePoint, c, on);
    Element* line = h.line(-200, 0, 200, 0); // meets the circle at (100, 0) and (-100, 0)
    for (double x : {100.0, -100.0}) {
        auto hits = at(x + 2, 2, Tool::Segment);
        ASSERT_EQ(hits.size(), 1u);
        Element& holder = *hits[0].element;
        EXPECT_NEAR(holder.value[0], x, 1e-6);
        EXPECT_NEAR(holder.value[1], 0, 1e-6);
        // The code, recomputed as an intersection point would, lands on the same place.
        Element p;
        p.method = Method::IntersectionPoint;
        p.parent1 = holder.parent1;
        p.parent2 = holder.parent2;
        p.option = holder.option;
        Point2 where;
        ASSERT_TRUE(computeIntersectionPoint(h.doc, p, where));
        EXPECT_NEAR(where.x, x, 1e-6);
    }
    (void)circle;
    (void)line;
}

TEST_F(HitFixture, PickedElementsAreLeftOutAndTheListStopsAtAHundred) {
    Element* a = h.point(0, 0);
    Element* b = h.point(1, 0);
    std::vector<Element*> picked{a};
    auto hits = at(0, 0, Tool::Segment, &picked);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, b);
    for (int i = 0; i < 150; ++i)
        h.point(0, 0);
    EXPECT_EQ(at(0, 0, Tool::Segment).size(), size_t(MaxHits));
}

TEST_F(HitFixture, AxesGiveTheirLineToStraightToolsAndThemselvesToAxisTools) {
    Element* o = h.point(0, 0);
    Element* axes = h.make(Method::Axes, o);
    recalcUpTo(h.doc);
    o->visible = 0;
    auto hits = at(150, 2, Tool::Parallel);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element->method, Method::AxisX);
    hits = at(150, 2, 41); // grid on axes
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element, axes);
    hits = at(2, -150, Tool::Point);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].element->method, Method::AxisY);
}

TEST_F(HitFixture, DescriptionsAndLabels) {
    Element* a = h.point(0, 0);
    EXPECT_EQ(describeElement(h.doc, *a), "Punto Libre");
    EXPECT_EQ(cursorLabelOf(h.doc, *a), "punto");
    setName(h.doc, a, "A", h.opts);
    EXPECT_EQ(cursorLabelOf(h.doc, *a), "punto A");
    h.req.text = "2*a";
    Element* calc = h.make(Method::Calculation);
    EXPECT_EQ(describeElement(h.doc, *calc), "Cálculo: 2*a");
}

// ---- the rectangle test -------------------------------------------------------------------------

TEST(LiesInRectangle, PerKind) {
    ToolHost h;
    const ViewTransform v = h.view();
    const WorldRect r = WorldRect::spanning({0, 0}, {100, 100});
    BoxQuery noBoxes;
    Element* a = h.point(10, 10);
    Element* b = h.point(90, 50);
    Element* c = h.point(150, 50);
    EXPECT_TRUE(liesInRectangle(*a, r, v, noBoxes));
    EXPECT_FALSE(liesInRectangle(*c, r, v, noBoxes));
    EXPECT_TRUE(liesInRectangle(*h.make(Method::Segment, a, b), r, v, noBoxes));
    EXPECT_FALSE(liesInRectangle(*h.make(Method::Segment, a, c), r, v, noBoxes));
    EXPECT_TRUE(liesInRectangle(*h.make(Method::LineThroughTwoPoints, a, b), r, v, noBoxes));
    // A circle of radius 40 about (50, 50) fits; about (30, 50) it crosses the left edge.
    Element* m = h.point(50, 50);
    Element* e = h.point(50, 90);
    EXPECT_TRUE(liesInRectangle(*h.make(Method::CircleCentrePoint, m, e), r, v, noBoxes));
    Element* m2 = h.point(30, 50);
    Element* e2 = h.point(30, 90);
    EXPECT_FALSE(liesInRectangle(*h.make(Method::CircleCentrePoint, m2, e2), r, v, noBoxes));
    // Text-like elements by their boxes (pixel (310, 110) is world (10, 90)).
    Element* number = h.make(Method::Parameter);
    PixelBox box{310, 110, 30, 15};
    BoxQuery boxes = [&](const Element& x, PixelBox& out) {
        if (&x != number) return false;
        out = box;
        return true;
    };
    EXPECT_TRUE(liesInRectangle(*number, r, v, boxes));
    box.x = 380; // reaches x = 110
    EXPECT_FALSE(liesInRectangle(*number, r, v, boxes));
}

// A family of triangles whose second vertex runs along a segment is hit on any member, though
// none is stored.
TEST_F(HitFixture, AFamilyLocusIsHitOnItsMembers) {
    Element* o = h.point(0, 0);
    Element* apex = h.point(0, 100);
    Element* seg = h.make(Method::Segment, h.point(100, -100), h.point(100, 100));
    h.req.value[3] = 0.5;
    Element* d = h.make(Method::PointOnElement, seg);
    Element* tri = h.make(Method::Polygon, nullptr, nullptr, nullptr, {o, d, apex});
    for (Element* e :
         std::initializer_list<Element*>{o, apex, seg->parent1, seg->parent2, seg, d, tri})
        e->visible = 0;
    Element* family = h.make(Method::Locus, tri, d);
    // The side from the origin to (100, -100) belongs to the first member only.
    ASSERT_EQ(at(50, -50, Tool::Move).size(), 1u);
    EXPECT_EQ(at(50, -50, Tool::Move).front().element, family);
    EXPECT_TRUE(at(150, -50, Tool::Move).empty());
    EXPECT_DOUBLE_EQ(d->value[3], 0.5);
    EXPECT_DOUBLE_EQ(d->value[1], 0);
}
