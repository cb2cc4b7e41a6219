// The tool modes driven by events: construction clicks, dragging, the rubber band, panning,
// rotation, zoom, buttons and keys, against a stand-in window.
#include "toolhost.h"

#include "construction/create.h"
#include "geometry/transforms.h"
#include "model/uitext.h"
#include "view/interaction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qorv;
using qorv::test::ToolHost;

namespace {

struct InteractionFixture : ::testing::Test {
    ToolHost h;
    Interaction& in = h.in;

    // A left drag in `steps` moves.
    void drag(double x1, double y1, double x2, double y2, int steps = 4, int mods = 0) {
        const ScreenPoint a = ToolHost::pixel(x1, y1);
        in.mouseMove(a, false, false, mods);
        in.mousePress(a, MouseButton::Left, mods);
        for (int i = 1; i <= steps; ++i)
            in.mouseMove(ToolHost::pixel(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps),
                         true, false, mods);
        in.mouseRelease(ToolHost::pixel(x2, y2), MouseButton::Left, mods);
    }
    void rightDrag(ScreenPoint a, ScreenPoint b) {
        in.mousePress(a, MouseButton::Right, 0);
        in.mouseMove(b, false, true, 0);
        in.mouseRelease(b, MouseButton::Right, 0);
    }
};

double x(const Element* e) {
    return e->value[0];
}
double y(const Element* e) {
    return e->value[1];
}

} // namespace

// ---- the click-sequence engine ------------------------------------------------------------------

TEST_F(InteractionFixture, PointToolMakesFreePointsPointsOnElementsAndIntersections) {
    in.chooseTool(Tool::Point);
    h.click(-100, 50);
    ASSERT_EQ(h.doc.elementCount(), 1);
    EXPECT_EQ(h.last()->method, Method::FreePoint);
    EXPECT_DOUBLE_EQ(x(h.last()), -100);
    EXPECT_DOUBLE_EQ(y(h.last()), 50);
    EXPECT_EQ(h.undoSteps, 1);

    // A circle of radius 100 about (0, 0): a click 3 pixels outside it at 30 degrees.
    Element* c = h.point(0, 0);
    Element* on = h.point(100, 0);
    c->visible = on->visible = 0;
    h.make(Method::CircleCentrePoint, c, on);
    const double a = std::numbers::pi / 6;
    h.click(std::round(103 * std::cos(a)), std::round(103 * std::sin(a)));
    Element* p = h.last();
    ASSERT_EQ(p->method, Method::PointOnElement);
    EXPECT_NEAR(p->value[3],
                std::atan2(std::round(103 * std::sin(a)), std::round(103 * std::cos(a))), 1e-12);
    EXPECT_NEAR(std::hypot(x(p), y(p)), 100, 1e-9);
    EXPECT_EQ(h.undoSteps, 2);

    // Clicking the point again makes nothing.
    const int n = h.doc.elementCount();
    h.click(std::round(x(p)), std::round(y(p)));
    EXPECT_EQ(h.doc.elementCount(), n);
    EXPECT_EQ(h.undoSteps, 2);
}

TEST_F(InteractionFixture, PointToolAtACrossingMakesAnIntersectionPoint) {
    h.line(0, 0, 100, 100);
    h.line(0, 100, 100, 0);
    in.chooseTool(Tool::Point);
    h.click(53, 51);
    Element* p = h.last();
    ASSERT_EQ(p->method, Method::IntersectionPoint);
    EXPECT_NEAR(x(p), 50, 1e-9);
    EXPECT_NEAR(y(p), 50, 1e-9);
    // It follows its lines.
    h.doc.head->value[1] = 20; // the first line now runs from (0, 20) to (100, 100)
    recalcUpTo(h.doc);
    // y = 0.8x + 20 meets y = 100 - x at x = 80 / 1.8.
    EXPECT_NEAR(x(p), 80 / 1.8, 1e-9);
}

TEST_F(InteractionFixture, LineToolTakesAPointThenAPointOrADirection) {
    in.chooseTool(Tool::Line);
    h.click(0, 0);
    EXPECT_EQ(in.engine().step(), 1);
    EXPECT_EQ(in.engine().picked().size(), 1u);
    h.click(100, 50);
    ASSERT_EQ(h.count(Method::LineThroughPoint), 1);
    EXPECT_EQ(h.count(Method::FreePoint), 1); // the direction makes no point
    Element* l = h.last();
    // The line passes through (0, 0) towards (100, 50).
    EXPECT_NEAR(std::fabs((l->value[2] - l->value[0]) * 50 - (l->value[3] - l->value[1]) * 100), 0,
                1e-9);
    EXPECT_EQ(h.undoSteps, 1);
    EXPECT_FALSE(in.engine().running());

    // A second click on a circle makes a point on it and a line through both points.
    Element* c = h.point(200, 0);
    Element* on = h.point(250, 0);
    c->visible = on->visible = 0;
    h.make(Method::CircleCentrePoint, c, on);
    h.click(-100, -100);
    h.click(200, 52);
    ASSERT_EQ(h.last()->method, Method::LineThroughTwoPoints);
    EXPECT_EQ(h.last()->parent2->method, Method::PointOnElement);
    EXPECT_EQ(h.undoSteps, 2);
}

TEST_F(InteractionFixture, CircleRaySegmentAndEscape) {
    in.chooseTool(Tool::Circle);
    h.click(0, 0);
    h.click(30, 40);
    ASSERT_EQ(h.last()->method, Method::CircleByCentre);
    EXPECT_NEAR(std::hypot(h.last()->value[2] - h.last()->value[0],
                           h.last()->value[3] - h.last()->value[1]),
                50, 1e-9);

    in.chooseTool(Tool::Segment);
    const int before = h.undoSteps;
    h.click(-200, -100);
    h.click(-100, -100);
    ASSERT_EQ(h.last()->method, Method::Segment);
    EXPECT_EQ(h.undoSteps, before + 1); // one step for the points and the segment
    EXPECT_DOUBLE_EQ(h.last()->value[2], -100);

    in.chooseTool(Tool::Ray);
    h.click(-200, 100);
    in.keyPress(KeyCode::Escape, 0);
    EXPECT_EQ(in.tool(), Tool::Move);
    EXPECT_FALSE(in.engine().running());
    EXPECT_EQ(h.last()->method, Method::FreePoint); // the point made stays
}

TEST_F(InteractionFixture, AmbiguityMenuTogglesOrReplaysTheChosenElement) {
    Element* l1 = h.line(-100, 0, 100, 0);
    Element* l2 = h.line(-100, 4, 100, 4);
    h.chosenIndex = 1;
    h.click(50, 2);
    EXPECT_EQ(h.menus, 1);
    EXPECT_EQ(h.lastMenuSize, 2u);
    EXPECT_EQ(l2->selected, 1);
    EXPECT_EQ(l1->selected, 0);
    l2->selected = 0;
    // The segment tool: parallel lines do not cross, so the menu asks; the choice is replayed.
    in.chooseTool(Tool::Segment);
    h.chosenIndex = 0;
    h.click(50, 2);
    EXPECT_EQ(h.menus, 2);
    Element* p = h.last();
    ASSERT_EQ(p->method, Method::PointOnElement);
    EXPECT_EQ(p->parent1, l1);
    EXPECT_NEAR(y(p), 0, 1e-9);
    // Nothing chosen: nothing happens.
    h.chosenIndex = -1;
    const int n = h.doc.elementCount();
    h.click(-50, 2);
    EXPECT_EQ(h.doc.elementCount(), n);
}

// ---- the move tool ------------------------------------------------------------------------------

TEST_F(InteractionFixture, DraggingAFreePointMovesItsDependentsWithOneUndoStep) {
    Element* a = h.point(0, 0);
    Element* b = h.point(100, 0);
    Element* s = h.make(Method::Segment, a, b);
    Element* m = h.make(Method::Midpoint, a, b);
    const int full = h.fullPasses;
    drag(0, 0, 40, 60, 6);
    EXPECT_DOUBLE_EQ(x(a), 40);
    EXPECT_DOUBLE_EQ(y(a), 60);
    EXPECT_DOUBLE_EQ(s->value[0], 40);
    EXPECT_DOUBLE_EQ(s->value[1], 60);
    EXPECT_DOUBLE_EQ(x(m), 70);
    EXPECT_DOUBLE_EQ(y(m), 30);
    EXPECT_EQ(h.undoSteps, 1);
    EXPECT_EQ(h.markedPasses, 6);
    EXPECT_EQ(h.fullPasses, full); // only the marked elements were recalculated
    EXPECT_EQ(a->selected, 0);     // a drag does not select
    // The other end was not part of the pass.
    EXPECT_DOUBLE_EQ(x(b), 100);
    // A second drag is a second step.
    drag(100, 0, 100, 50);
    EXPECT_EQ(h.undoSteps, 2);
    EXPECT_DOUBLE_EQ(s->value[3], 50);
}

TEST_F(InteractionFixture, ReleaseWithoutMovingTogglesTheSelection) {
    Element* a = h.point(0, 0);
    h.click(0, 0);
    EXPECT_EQ(a->selected, 1);
    EXPECT_EQ(h.undoSteps, 0);
    h.click(0, 0);
    EXPECT_EQ(a->selected, 0);
    // With Shift a drag does not move: it toggles.
    drag(0, 0, 50, 0, 3, Modifier::Shift);
    EXPECT_DOUBLE_EQ(x(a), 0);
    EXPECT_EQ(a->selected, 1);
}

TEST_F(InteractionFixture, TheNearestOfSeveralPointsIsDragged) {
    Element* a = h.point(0, 0);
    Element* b = h.point(4, 0);
    Element* c = h.point(0, 5);
    drag(3, 0, 3, 100); // 1 from b, 3 from a, 5.8 from c
    EXPECT_DOUBLE_EQ(y(b), 100);
    EXPECT_DOUBLE_EQ(y(a), 0);
    EXPECT_DOUBLE_EQ(y(c), 5);
    EXPECT_EQ(h.menus, 0);
}

TEST_F(InteractionFixture, DraggingEachKindFollowsItsConstruction) {
    // A point on a segment stays on it, at the nearest place.
    Element* a = h.point(0, 0);
    Element* b = h.point(200, 0);
    a->visible = b->visible = 0;
    Element* seg = h.make(Method::Segment, a, b);
    h.req.value[3] = 0.25;
    Element* p = h.make(Method::PointOnElement, seg);
    drag(50, 0, 150, 80);
    EXPECT_NEAR(p->value[3], 0.75, 1e-12);
    EXPECT_NEAR(y(p), 0, 1e-12);

    // A line through one point turns towards the pointer.
    Element* q = h.point(-200, -100);
    h.req.value[0] = -200, h.req.value[1] = -100, h.req.value[2] = -100, h.req.value[3] = -100;
    Element* line = h.make(Method::LineThroughPoint, q);
    drag(-150, -100, -150, -50);
    // Now through (-200, -100) and (-150, -50): slope 1.
    EXPECT_NEAR((line->value[3] - line->value[1]) / (line->value[2] - line->value[0]), 1, 1e-9);
    EXPECT_DOUBLE_EQ(x(q), -200);

    // A circle given its centre takes the pointer's distance as radius.
    Element* centre = h.point(-200, 150);
    h.req.value[0] = -200, h.req.value[1] = 150, h.req.value[2] = -200, h.req.value[3] = 170;
    Element* circle = h.make(Method::CircleByCentre, centre);
    drag(-200, 170, -170, 110); // 30 right and 40 down of the centre
    EXPECT_NEAR(
        std::hypot(circle->value[2] - circle->value[0], circle->value[3] - circle->value[1]), 50,
        1e-9);
    EXPECT_DOUBLE_EQ(x(centre), -200);
}

TEST_F(InteractionFixture, ARegularPolygonTurnsAboutItsCentre) {
    Element* c = h.point(100, -100);
    Element* v = h.point(160, -100);
    c->visible = v->visible = 0;
    Element* poly = createRegularPolygon(h.doc, c, v, PolygonShape{4, 1}, h.opts);
    ASSERT_NE(poly, nullptr);
    recalcUpTo(h.doc);
    // Grab the side from (160, -100) to (100, -40) at its middle and turn it 90 degrees.
    drag(130, -70, 70, -70, 8);
    EXPECT_NEAR(x(v), 100, 1e-9);
    EXPECT_NEAR(y(v), -40, 1e-9);
    EXPECT_DOUBLE_EQ(x(c), 100);
}

TEST_F(InteractionFixture, ANameLabelStopsAtTheMaximumDistance) {
    Element* a = h.point(0, 0);
    setName(h.doc, a, "A", h.opts);
    Element* name = a->nameElement;
    ASSERT_NE(name, nullptr);
    recalcUpTo(h.doc);
    EXPECT_DOUBLE_EQ(x(name), 4);       // 4 and 4 from the point
    h.boxes[name] = {304, 196, 12, 16}; // the label's top-left is pixel (304, 196)
    drag(8, 4, 208, 4, 10);             // 200 pixels to the right
    const double d = std::hypot(x(name) - x(a), y(name) - y(a));
    EXPECT_NEAR(d, 50, 1e-9);
    EXPECT_GT(x(name), 45); // towards the pointer
    EXPECT_DOUBLE_EQ(x(a), 0);
    EXPECT_EQ(h.undoSteps, 1);
    // The offset is kept through recalculation.
    recalcUpTo(h.doc);
    EXPECT_NEAR(std::hypot(x(name), y(name)), 50, 1e-9);
}

TEST_F(InteractionFixture, SelectedElementsMoveTogether) {
    Element* a = h.point(0, 0);
    Element* b = h.point(100, 0);
    Element* c = h.point(-100, -100);
    a->selected = b->selected = 1;
    drag(100, 0, 130, 20);
    EXPECT_DOUBLE_EQ(x(a), 30);
    EXPECT_DOUBLE_EQ(y(a), 20);
    EXPECT_DOUBLE_EQ(x(b), 130);
    EXPECT_DOUBLE_EQ(y(b), 20);
    EXPECT_DOUBLE_EQ(x(c), -100);
}

TEST_F(InteractionFixture, RubberBandSelectsWhatLiesInsideAndNeedsTwoByTwo) {
    Element* a = h.point(10, 10);
    Element* b = h.point(50, 50);
    Element* far = h.point(200, 50);
    Element* s = h.make(Method::Segment, a, b);
    // 1 x 50: nothing, no area.
    drag(0, 0, 1, 50, 3);
    EXPECT_FALSE(in.areaDefined());
    EXPECT_EQ(h.doc.selectedCount(), 0);
    drag(-5, 60, 60, -5, 3);
    EXPECT_TRUE(in.areaDefined());
    EXPECT_EQ(a->selected, 1);
    EXPECT_EQ(b->selected, 1);
    EXPECT_EQ(s->selected, 1);
    EXPECT_EQ(far->selected, 0);
    EXPECT_EQ(in.area().left, -5);
    EXPECT_EQ(in.area().top, 60);
    EXPECT_EQ(in.areaPixelOffset(), (ScreenPoint{295, 140}));
    // With Shift the selection is kept and the new band adds to it.
    drag(190, 60, 210, 40, 2, Modifier::Shift);
    EXPECT_EQ(a->selected, 1);
    EXPECT_EQ(far->selected, 1);
    // Without it the band starts afresh; with Ctrl it only defines the area.
    drag(190, 60, 210, 40, 2, Modifier::Ctrl);
    EXPECT_TRUE(in.areaDefined());
    EXPECT_EQ(h.doc.selectedCount(), 0);
    EXPECT_EQ(h.undoSteps, 0);
}

// A family of triangles (second vertex along x = 100, y from -100 to 100) stores nothing: the band
// takes it by its members.
TEST_F(InteractionFixture, RubberBandSelectsAFamilyLocusByItsMembers) {
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
    drag(-15, 115, 115, -115, 3);
    EXPECT_EQ(family->selected, 1);
    // The first member reaches y = -100.
    drag(-15, 115, 115, -90, 3);
    EXPECT_EQ(family->selected, 0);
    EXPECT_DOUBLE_EQ(d->value[3], 0.5);
}

TEST_F(InteractionFixture, RightButtonPanningStopsAtThePlaneEdges) {
    const double half = h.plane / 2;
    rightDrag({300, 200}, {300 + 5000, 200});
    EXPECT_DOUBLE_EQ(h.doc.left, -half);
    rightDrag({300, 200}, {300 - 9000, 200});
    EXPECT_DOUBLE_EQ(h.doc.left, half - h.width - 1);
    rightDrag({300, 200}, {300, 200 + 9000});
    EXPECT_DOUBLE_EQ(h.doc.top, half);
    rightDrag({300, 200}, {300, 200 - 9000});
    EXPECT_DOUBLE_EQ(h.doc.top, h.height + 8 - half);
    // A small pan moves by the pointer's displacement: dragging right shows what lies left.
    h.doc.left = -300, h.doc.top = 200;
    const double left = h.doc.left, top = h.doc.top;
    rightDrag({300, 200}, {310, 190});
    EXPECT_DOUBLE_EQ(h.doc.left, left - 10);
    EXPECT_DOUBLE_EQ(h.doc.top, top - 10);
    EXPECT_GT(h.viewChanges, 0);
    // Not over an element.
    h.doc.left = -300, h.doc.top = 200;
    h.point(0, 0);
    rightDrag(ToolHost::pixel(0, 0), ToolHost::pixel(100, 0));
    EXPECT_DOUBLE_EQ(h.doc.left, -300);
}

TEST_F(InteractionFixture, RotatingTheSelectionTurnsItsFreePoints) {
    Element* a = h.point(100, 0);
    Element* b = h.point(150, 0);
    Element* s = h.make(Method::Segment, a, b);
    s->selected = 1;
    in.chooseTool(Tool::RotateSelection);
    EXPECT_EQ(s->selected, 1); // the rotation tool keeps the selection
    h.click(0, 0);             // the centre
    ASSERT_TRUE(in.hasRotationCentre());
    EXPECT_EQ(h.cursor, 26);
    drag(125, 0, 0, 125, 8); // a quarter turn
    EXPECT_NEAR(x(a), 0, 1e-9);
    EXPECT_NEAR(y(a), 100, 1e-9);
    EXPECT_NEAR(x(b), 0, 1e-9);
    EXPECT_NEAR(y(b), 150, 1e-9);
    EXPECT_NEAR(s->value[3], 150, 1e-9);
    EXPECT_EQ(h.undoSteps, 1);
    EXPECT_TRUE(in.hasRotationCentre()); // kept for the next rotation
}

TEST_F(InteractionFixture, ZoomScalesAboutThePressedPoint) {
    Element* a = h.point(100, 0);
    in.chooseTool(Tool::Zoom);
    const ScreenPoint centre = ToolHost::pixel(0, 0);
    in.mousePress(centre, MouseButton::Left, 0);
    in.mouseMove({centre.x + 80, centre.y}, true, false, 0); // sideways: nothing
    EXPECT_DOUBLE_EQ(x(a), 100);
    in.mouseMove({centre.x + 80, centre.y - 100}, true, false, 0); // 100 up: 1.3 times
    in.mouseRelease({centre.x, centre.y - 100}, MouseButton::Left, 0);
    EXPECT_NEAR(x(a), 130, 1e-9);
    EXPECT_EQ(h.undoSteps, 1);
}

// Ctrl + wheel scales the construction about the pointer, a tenth per notch, in any tool; the
// steps of a burst are one undo step, and a press ends the burst.
TEST_F(InteractionFixture, WheelZoomScalesAboutThePointerWithOneUndoStepPerBurst) {
    Element* a = h.point(100, 50);
    Element* b = h.point(-40, 10);
    in.chooseTool(Tool::Segment);
    const Point2 pointer{20, 30};
    const ScreenPoint at = ToolHost::pixel(pointer.x, pointer.y);
    in.wheelZoom(at, 1, false);
    in.wheelZoom(at, 1, true);
    in.wheelZoom(at, 0.5, true); // a fine wheel's half notch
    const double k = std::pow(1.1, 2.5);
    EXPECT_NEAR(x(a), 20 + (100 - 20) * k, 1e-9);
    EXPECT_NEAR(y(a), 30 + (50 - 30) * k, 1e-9);
    EXPECT_NEAR(x(b), 20 + (-40 - 20) * k, 1e-9);
    EXPECT_NEAR(y(b), 30 + (10 - 30) * k, 1e-9);
    EXPECT_EQ(h.undoSteps, 1);
    EXPECT_EQ(in.tool(), Tool::Segment);

    // Back by the same notches: where it started; a new burst, a new step.
    in.wheelZoom(at, -2.5, false);
    EXPECT_NEAR(x(a), 100, 1e-9);
    EXPECT_NEAR(y(b), 10, 1e-9);
    EXPECT_EQ(h.undoSteps, 2);
    // A press between two steps ends the burst even when they come quickly.
    in.mousePress(ToolHost::pixel(-250, -150), MouseButton::Right, 0);
    in.mouseRelease(ToolHost::pixel(-250, -150), MouseButton::Right, 0);
    in.wheelZoom(at, 1, true);
    EXPECT_EQ(h.undoSteps, 3);
}

TEST_F(InteractionFixture, ButtonsShowHideAndMove) {
    Element* a = h.point(-100, 0);
    Element* button = h.make(Method::ShowHideButton, nullptr, nullptr, nullptr, {a});
    button->option = 1;
    button->value[2] = 0, button->value[3] = 100;
    h.boxes[button] = {300, 100, 60, 20};
    // Made for a shown point, the button stores "hidden" and its creation hides the point.
    ASSERT_EQ(button->tailAs<ButtonTail>()->states[0], 0);
    a->visible = 0;
    h.click(10, 95);
    EXPECT_EQ(button->option2, 0);
    EXPECT_EQ(a->visible, 1);
    h.click(10, 95);
    EXPECT_EQ(button->option2, 1);
    EXPECT_EQ(a->visible, 0);
    EXPECT_EQ(h.undoSteps, 2);
    EXPECT_EQ(button->selected, 0);

    Element* from = h.point(0, -100);
    Element* to = h.point(50, -150);
    Element* motion = h.make(Method::MotionButton, nullptr, nullptr, nullptr, {from, to});
    motion->option = 1;
    h.boxes[motion] = {100, 100, 60, 20}; // world (-200..-140, 100..80)
    h.click(-190, 90);
    EXPECT_DOUBLE_EQ(x(from), 50);
    EXPECT_DOUBLE_EQ(y(from), -150);
    EXPECT_EQ(motion->option2, 0);
    EXPECT_TRUE(h.timerRunning);
    h.click(-190, 90); // ignored while the timer runs
    EXPECT_EQ(h.undoSteps, 3);
    in.buttonTimerFired();
    EXPECT_EQ(motion->option2, 1);
}

TEST_F(InteractionFixture, KeysStepParametersMoveTheSelectionAndScroll) {
    h.req.value[0] = 1.0;
    Element* k = h.make(Method::Parameter);
    k->selected = 1;
    in.keyPress(KeyCode::Plus, 0);
    in.keyPress(KeyCode::Plus, 0, true);
    in.keyRelease(KeyCode::Plus, 0);
    EXPECT_NEAR(k->value[0], 1.02, 1e-12);
    EXPECT_EQ(h.undoSteps, 1); // one step for the run of presses
    in.keyPress(KeyCode::Minus, 0);
    in.keyRelease(KeyCode::Minus, 0);
    EXPECT_NEAR(k->value[0], 1.01, 1e-12);
    EXPECT_EQ(h.undoSteps, 2);

    k->selected = 0;
    Element* p = h.point(0, 0);
    p->selected = 1;
    in.keyPress(KeyCode::Right, 0);
    in.keyPress(KeyCode::Up, 0);
    in.keyRelease(KeyCode::Up, 0);
    EXPECT_DOUBLE_EQ(x(p), 1);
    EXPECT_DOUBLE_EQ(y(p), 1);
    p->selected = 0;
    in.keyPress(KeyCode::Right, 0);
    in.keyPress(KeyCode::Down, Modifier::Ctrl);
    EXPECT_EQ(h.scrolledX, 50);
    EXPECT_EQ(h.scrolledY, 10);
}

TEST_F(InteractionFixture, HoverShowsTheElementOrSeveralAndCtrlTurnsItOff) {
    Element* a = h.point(0, 0);
    setName(h.doc, a, "A", h.opts);
    in.chooseTool(Tool::Segment);
    in.mouseMove(ToolHost::pixel(2, 1), false, false, 0);
    EXPECT_EQ(h.feedback.highlight, a);
    EXPECT_EQ(h.feedback.label, "punto A");
    EXPECT_EQ(h.status, "Punto Libre");
    EXPECT_EQ(h.feedback.labelColour, a->color);
    h.point(3, 0);
    in.mouseMove(ToolHost::pixel(1, 0), false, false, 0);
    EXPECT_TRUE(h.feedback.several);
    EXPECT_EQ(h.cursor, 5);
    EXPECT_EQ(h.feedback.label, uiText().message(Msg::SeveralElements));
    in.keyPress(KeyCode::Control, 0);
    EXPECT_TRUE(h.feedback.empty());
    in.mouseMove(ToolHost::pixel(2, 1), false, false, 0);
    EXPECT_TRUE(h.feedback.empty());
    in.keyRelease(KeyCode::Control, 0);
    EXPECT_FALSE(h.feedback.empty());
    in.mouseMove(ToolHost::pixel(200, 100), false, false, 0);
    EXPECT_TRUE(h.feedback.empty());
    EXPECT_EQ(h.status, uiText().toolPrompt(Tool::Segment));
    EXPECT_EQ(h.cursor, 1);
}

TEST_F(InteractionFixture, EditingToolsApplyToTheClickedElement) {
    Element* a = h.point(0, 0);
    in.chooseTool(Tool::LineColour);
    h.opts.chosenColor = rgb(1, 2, 3);
    h.click(0, 0);
    EXPECT_EQ(a->color, rgb(1, 2, 3));
    in.chooseTool(Tool::FirstPointShape + 3); // large point
    h.click(0, 0);
    EXPECT_EQ(a->shape, 2);
    in.chooseTool(Tool::ToggleVisibility);
    h.click(0, 0);
    EXPECT_EQ(a->visible, 0);
    in.chooseTool(Tool::DeleteElement);
    h.hidden = true;
    h.click(0, 0);
    EXPECT_EQ(h.doc.head, nullptr);
    EXPECT_EQ(h.undoSteps, 4);
}

// Whatever gesture runs, ending it leaves nothing behind: the rest of it (moves with the button
// still held, the release) changes nothing, and the tool's cursor is back. The right button
// does not start a pan while another gesture runs.
TEST(InteractionGestures, EveryGestureEndsInOneStepAndLeavesNothingBehind) {
    enum Gesture { Press, Drag, Band, Pan, Rotate, Zoom };
    for (int g = Press; g <= Zoom; ++g) {
        SCOPED_TRACE(g);
        ToolHost h;
        Interaction in{h, h};
        Element* a = h.point(0, 0);
        Element* b = h.point(100, 50);
        const ScreenPoint empty = ToolHost::pixel(-100, -100), away = ToolHost::pixel(-50, 80);
        if (g == Rotate) {
            in.chooseTool(Tool::RotateSelection);
            in.mousePress(ToolHost::pixel(200, -100), MouseButton::Left, 0); // the centre
            in.mouseRelease(ToolHost::pixel(200, -100), MouseButton::Left, 0);
        }
        if (g == Zoom) in.chooseTool(Tool::Zoom);
        const bool onPoint = g == Press || g == Drag || g == Rotate;
        const MouseButton button = g == Pan ? MouseButton::Right : MouseButton::Left;
        const ScreenPoint from = onPoint ? ToolHost::pixel(0, 0) : empty;
        in.mouseMove(from, false, false, 0);
        in.mousePress(from, button, 0);
        if (g != Press) in.mouseMove(away, button == MouseButton::Left, g == Pan, 0);
        ASSERT_TRUE(in.gestureActive());
        in.mousePress(empty, MouseButton::Right, 0);
        EXPECT_EQ(in.panning(), g == Pan);

        const double values[] = {a->value[0], a->value[1], b->value[0], b->value[1]};
        const int selected = h.doc.selectedCount(), undoSteps = h.undoSteps;
        const double left = h.doc.left, top = h.doc.top;
        in.endGesture();
        EXPECT_FALSE(in.gestureActive());
        EXPECT_FALSE(in.interacting());
        EXPECT_EQ(h.cursor, g == Rotate ? int(Cursor::Rotate) : toolInfo(in.tool()).cursor);
        in.mouseMove(ToolHost::pixel(120, -60), button == MouseButton::Left, g == Pan, 0);
        in.mouseRelease(ToolHost::pixel(120, -60), button, 0);
        EXPECT_EQ(a->value[0], values[0]);
        EXPECT_EQ(a->value[1], values[1]);
        EXPECT_EQ(b->value[0], values[2]);
        EXPECT_EQ(b->value[1], values[3]);
        EXPECT_EQ(h.doc.selectedCount(), selected);
        EXPECT_EQ(h.undoSteps, undoSteps);
        EXPECT_EQ(h.doc.left, left);
        EXPECT_EQ(h.doc.top, top);
        EXPECT_FALSE(in.bandActive());
    }
}

TEST(InteractionGestures, DeletingDuringADragEndsTheDrag) {
    ToolHost h;
    Interaction in{h, h};
    Element* a = h.point(0, 0);
    a->selected = 1;
    h.point(100, 50);
    in.mouseMove(ToolHost::pixel(0, 0), false, false, 0);
    in.mousePress(ToolHost::pixel(0, 0), MouseButton::Left, 0);
    in.mouseMove(ToolHost::pixel(20, 10), true, false, 0);
    ASSERT_TRUE(in.gestureActive());
    in.keyPress(KeyCode::Delete, 0);
    EXPECT_FALSE(in.gestureActive());
    EXPECT_EQ(h.doc.elementCount(), 1);
    // The moves and release that follow reach no deleted element.
    in.mouseMove(ToolHost::pixel(40, 20), true, false, 0);
    in.mouseRelease(ToolHost::pixel(40, 20), MouseButton::Left, 0);
    EXPECT_FALSE(in.gestureActive());
}

// The locus of the midpoint of a fixed point and a point on a circle: a drag of the driver along
// the circle cannot change it, so it keeps its samples until the drag ends; a drag of the fixed
// point resamples it at every move. "+" and "-" give a selected locus 5 samples more or fewer.
TEST_F(InteractionFixture, LociKeepTheirSamplesWhileTheirDriverIsDragged) {
    Element* o = h.point(0, 0);
    o->visible = 0;
    Element* c = h.make(Method::CircleCentrePoint, o, h.point(100, 0));
    c->parent2->visible = 0;
    h.req.value[3] = 0;
    Element* driver = h.make(Method::PointOnElement, c);
    Element* fixed = h.point(-100, 100);
    Element* locus = h.make(Method::Locus, h.make(Method::Midpoint, driver, fixed), driver);
    auto* t = locus->tailAs<SampledCurveTail>();
    const Point2 mark{1e6, 1e6};
    t->first[5] = mark; // a sample the drag would put right if it sampled again
    in.mouseMove(ToolHost::pixel(100, 0), false, false, 0);
    in.mousePress(ToolHost::pixel(100, 0), MouseButton::Left, 0);
    in.mouseMove(ToolHost::pixel(0, 110), true, false, 0);
    EXPECT_NEAR(x(driver), 0, 1e-9); // on the circle, at its top
    EXPECT_EQ(t->first[5].x, mark.x);
    in.mouseRelease(ToolHost::pixel(0, 110), MouseButton::Left, 0);
    EXPECT_NE(t->first[5].x, mark.x);
    EXPECT_EQ(h.doc.dragged, nullptr);
    // Dragged as part of the selection it does not keep them.
    driver->selected = 1;
    t->first[5] = mark;
    in.mouseMove(ToolHost::pixel(0, 100), false, false, 0);
    in.mousePress(ToolHost::pixel(0, 100), MouseButton::Left, 0);
    in.mouseMove(ToolHost::pixel(-110, 0), true, false, 0);
    EXPECT_NE(t->first[5].x, mark.x);
    in.mouseRelease(ToolHost::pixel(-110, 0), MouseButton::Left, 0);
    driver->selected = 0;

    t->first[5] = mark;
    drag(-100, 100, -80, 100, 1);
    EXPECT_NEAR(t->first[5].x, (100 * std::cos(5 * 2 * std::numbers::pi / 80) - 80) / 2, 1e-9);

    locus->selected = 1;
    in.keyPress(KeyCode::Plus, 0);
    in.keyRelease(KeyCode::Plus, 0);
    EXPECT_EQ(t->first.size(), 85u);
    EXPECT_EQ(t->count, 85);
    EXPECT_EQ(locus->selected, 0);
}
