// The macro tools: choosing initial and final elements in the drawing, and applying a macro by
// clicks of the kinds it asks for.
#include "macros/circumcentre.h"
#include "macros/macro.h"
#include "model/uitext.h"
#include "view/toolhost.h"

#include <gtest/gtest.h>

using namespace qorv;
using qorv::test::ToolHost;

namespace {

// Three points with the perpendicular bisectors of two sides and their crossing.
struct Triangle : ToolHost, test::CircumcentreConstruction {
    Element* loose;
    Triangle() : CircumcentreConstruction(*this, {-100, -50}, {60, -70}, {0, 90}) {
        loose = point(150, 150);
    }
};

} // namespace

TEST(MacroTools, ClicksChooseTheInitialAndFinalElements) {
    Triangle h;
    MacroSession& s = h.macros;
    h.tool(Tool::MacroInitial);
    EXPECT_EQ(h.status, "Seleccionar los elementos iniciales");
    for (const Element* p : {h.a, h.b, h.c, h.b, h.b})
        h.click(p->value[0], p->value[1]);
    EXPECT_EQ(s.selection(), (std::vector<Element*>{h.a, h.c, h.b})); // b out, then in again
    EXPECT_EQ(h.b->selected, 1);
    const int size = h.size();
    h.click(-200, 100); // empty ground makes no point
    EXPECT_EQ(h.size(), size);
    EXPECT_EQ(h.undoSteps, 0);
    s.storeInitial(h.doc); // as the dialog does when it opens

    h.tool(Tool::MacroFinal);
    EXPECT_EQ(h.status, "Seleccionar los elementos finales");
    EXPECT_EQ(h.a->selected, 0); // the new mode starts with nothing chosen
    h.click(h.loose->value[0], h.loose->value[1]);
    h.click(h.a->value[0], h.a->value[1]); // initial, not determined by the others
    EXPECT_EQ(h.messages, (std::vector<int>{Msg::NotFinalElement, Msg::NotFinalElement}));
    EXPECT_TRUE(s.selection().empty());
    h.click(h.centre->value[0], h.centre->value[1]);
    EXPECT_EQ(s.selection(), std::vector<Element*>{h.centre});
    s.storeFinal();
    EXPECT_TRUE(s.canComplete());
    EXPECT_EQ(s.complete(h.doc, "centro"), 0);
    EXPECT_FALSE(s.canComplete()); // the lists are released
    EXPECT_EQ(h.doc.macros[0].head, (std::vector<int16_t>{0, 0, 0}));
}

TEST(MacroTools, ApplyingTakesClicksOfTheExpectedKindsInOneUndoStep) {
    Triangle h;
    ASSERT_EQ(completeMacro(h.doc, "centro", {h.a, h.b, h.c}, {h.centre}), 0);
    Element* line = h.line(-250, -150, 250, -150);
    Element* existing = h.point(200, 20);
    h.macros.applying = 0;
    h.tool(Tool::ApplyMacro);
    const std::string point = uiText().kindName(Kind::Point);
    EXPECT_EQ(h.status, "centro -> " + point);
    const int before = h.size();
    h.click(-180, 40);         // empty ground: a free point
    h.click(200, 20);          // an existing point
    h.click(10, -150);         // a line: a point on it
    EXPECT_EQ(h.undoSteps, 1); // the points made and the copies: one step
    ASSERT_EQ(h.size(), before + 2 + 3);
    Element* made = h.fromEnd(4);
    Element* onLine = h.fromEnd(3);
    EXPECT_EQ(made->method, Method::FreePoint);
    EXPECT_EQ(onLine->method, Method::PointOnElement);
    EXPECT_EQ(onLine->parent1.ptr, line);
    Element* copy = h.last();
    ASSERT_EQ(copy->method, Method::IntersectionPoint);
    const Point2 expected = test::circumcentre({-180, 40}, {200, 20}, {10, -150});
    qorv::test::expectAt(copy, expected.x, expected.y, 1e-6);
    EXPECT_EQ(copy->parent1->parent1.ptr, made);
    EXPECT_EQ(copy->parent2->parent1.ptr, existing);
    h.hover(-250, 180);                        // nothing there
    EXPECT_EQ(h.status, "centro -> " + point); // ready for the next application

    // Again: the macro stays in use.
    h.click(-150, 100);
    h.click(120, 100);
    h.click(0, -20);
    EXPECT_EQ(h.undoSteps, 2);
    EXPECT_EQ(h.last()->method, Method::IntersectionPoint);
}

TEST(MacroTools, AClickOfAnotherKindIsIgnored) {
    ToolHost h;
    Element* a = h.point(0, 0);
    Element* b = h.point(80, 0);
    Element* seg = h.make(Method::Segment, a, b);
    Element* mid = h.make(Method::Midpoint, a, b);
    (void)seg;
    ASSERT_EQ(completeMacro(h.doc, "medio", {seg}, {mid}), 0);
    Element* p = h.point(-100, 100);
    Element* q = h.point(100, 100);
    h.make(Method::Segment, p, q);
    h.point(-100, -100);
    h.macros.applying = 0;
    h.tool(Tool::ApplyMacro);
    const int before = h.size();
    h.click(-100, -100); // a point: not a segment
    h.click(-200, -100); // empty ground
    EXPECT_EQ(h.size(), before);
    EXPECT_TRUE(h.in.engine().picked().empty());
    h.click(0, 100); // the segment
    ASSERT_EQ(h.size(), before + 1);
    qorv::test::expectAt(h.last(), 0, 100);
    EXPECT_EQ(h.undoSteps, 1);
}
