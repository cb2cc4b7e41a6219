// The editing tools (visibility, deletion, font, colours, styles), the redefinition of a point
// and the buttons.
#include "construction/create.h"
#include "model/uitext.h"
#include "view/clickengine.h"
#include "view/toolhost.h"
#include "view/toolsequences_parts.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qorv;
using qorv::test::ToolHost;

namespace {

bool inList(const Document& doc, const Element* e) {
    for (const Element* x = doc.head; x; x = x->next)
        if (x == e) return true;
    return false;
}

// Every element comes after its parents.
bool inDependencyOrder(const Document& doc) {
    std::vector<const Element*> seen;
    auto before = [&](const Element* p) {
        if (!p) return true;
        const Element* owner = p->owner ? p->owner : p;
        return std::find(seen.begin(), seen.end(), owner) != seen.end();
    };
    for (const Element* e = doc.head; e; e = e->next) {
        if (!before(e->parent1) || !before(e->parent2) || !before(e->parent3)) return false;
        seen.push_back(e);
    }
    return true;
}

} // namespace

TEST(EditTools, VisibilityDeletionAndColours) {
    ToolHost h;
    Element* a = h.point(0, 0);
    Element* b = h.point(100, 0);
    Element* s = h.make(Method::Segment, a, b);
    Element* m = h.make(Method::Midpoint, a, b);
    setName(h.doc, a, "A", h.opts);
    h.tool(Tool::ToggleVisibility);
    h.click(0, 0);
    EXPECT_EQ(a->visible, 0);
    EXPECT_EQ(a->nameElement->visible, 0); // the name follows
    EXPECT_EQ(h.undoSteps, 1);

    h.opts.chosenColor = rgb(1, 2, 3);
    h.tool(Tool::LineColour);
    s->colorParamMode = 5;
    h.click(25, 0);
    EXPECT_EQ(s->color, rgb(1, 2, 3));
    EXPECT_EQ(s->colorParamMode, 0);

    Element* tri = h.make(Method::Polygon, nullptr, nullptr, nullptr,
                          {h.point(-200, -100), h.point(-100, -100), h.point(-150, -20)});
    EXPECT_EQ(tri->option, -1);
    h.tool(Tool::FillColour);
    h.click(-150, -100);
    EXPECT_EQ(tri->option, rgb(1, 2, 3));
    h.click(-150, -100); // the same colour again takes the fill away
    EXPECT_EQ(tri->option, -1);

    h.tool(Tool::DeleteElement);
    h.click(100, 0);
    EXPECT_FALSE(inList(h.doc, b));
    EXPECT_FALSE(inList(h.doc, s));
    EXPECT_FALSE(inList(h.doc, m));
    EXPECT_TRUE(inList(h.doc, a));
}

TEST(EditTools, StyleToolsSetTheirCodes) {
    const int expected[] = {1, 6, 4, 2, 5, 3, 1, 3, 4, 5, 6, 2, 1, 2, 3};
    for (int tool = Tool::FirstPointShape; tool <= Tool::LastAngleMark; ++tool) {
        ToolHost h;
        Element* a = h.point(0, 0);
        Element* b = h.point(100, 0);
        Element* c = h.point(0, 100);
        Element* target = a;
        double x = 0, y = 0;
        if (tool >= Tool::FirstLineStyle && tool <= Tool::LastLineStyle) {
            target = h.make(Method::Polygon, nullptr, nullptr, nullptr, {a, b, c});
            x = 50;
        } else if (tool >= Tool::FirstAngleMark) {
            target = h.make(Method::Angle, b, a, c);
            x = y = 10;
        }
        target->shape = 99;
        h.tool(tool);
        h.click(x, y);
        EXPECT_EQ(target->shape, expected[tool - Tool::FirstPointShape]) << "tool " << tool;
        forEachSubElement(*target, [&](Element& side) { EXPECT_EQ(side.shape, target->shape); });
    }
}

TEST(EditTools, FontToolAppliesTheChosenFontOnlyWhenConfirmed) {
    ToolHost h;
    Element* d = h.make(Method::DistancePointPoint, h.point(0, 0), h.point(40, 0));
    h.box(d, 100, 100);
    d->font->color = rgb(9, 9, 9);
    h.tool(Tool::Font);
    h.fontDialog = [](FontRecord&) { return false; };
    h.click(110, 95);
    EXPECT_EQ(h.fontDialogs, 1);
    EXPECT_EQ(h.undoSteps, 0);
    EXPECT_EQ(d->font->name, "Arial");
    h.fontDialog = [&](FontRecord& f) {
        f.name = "Courier New";
        f.size = 14;
        f.bold = 1;
        f.color = h.doc.background; // a colour like the background keeps the old one
        return true;
    };
    h.click(110, 95);
    EXPECT_EQ(h.undoSteps, 1);
    EXPECT_EQ(d->font->name, "Courier New");
    EXPECT_EQ(d->font->size, 14);
    EXPECT_EQ(d->font->bold, 1);
    EXPECT_EQ(d->font->color, rgb(9, 9, 9));
}

TEST(RedefinePoint, OntoACurveAnEmptyPlaceOrAnotherPoint) {
    ToolHost h;
    Element* p = h.point(-100, 0);
    Element* q = h.point(0, 100);
    Element* seg = h.make(Method::Segment, p, q);
    Element* mid = h.make(Method::Midpoint, p, q);
    // A circle made after the point.
    Element* circle = h.make(Method::CircleCentrePoint, h.point(100, 0), h.point(150, 0));
    h.tool(Tool::RedefinePoint);
    h.click(-100, 0);
    EXPECT_EQ(h.undoSteps, 1);
    h.click(100, 50); // on the circle, at its top
    EXPECT_EQ(p->method, Method::PointOnElement);
    EXPECT_EQ(p->parent1, circle);
    EXPECT_NEAR(p->value[0], 100, 1e-9);
    EXPECT_NEAR(p->value[1], 50, 1e-9);
    EXPECT_NEAR(mid->value[0], 50, 1e-9); // what was built on it follows
    EXPECT_TRUE(inDependencyOrder(h.doc));
    EXPECT_EQ(h.undoSteps, 1);

    h.click(100, 50);
    h.click(-200, -150); // an empty place: a free point again
    EXPECT_EQ(p->method, Method::FreePoint);
    EXPECT_EQ(p->parent1, nullptr);
    EXPECT_DOUBLE_EQ(p->value[0], -200);
    EXPECT_DOUBLE_EQ(p->value[1], -150);

    // Onto another point: that point takes its place in what was built on it.
    Element* r = h.point(200, -100);
    setName(h.doc, p, "P", h.opts);
    h.click(-200, -150);
    h.click(200, -100);
    EXPECT_FALSE(inList(h.doc, p));
    EXPECT_EQ(seg->parent1, r);
    EXPECT_EQ(mid->parent1, r);
    EXPECT_EQ(h.doc.nameOf(r), "P");
    EXPECT_NEAR(mid->value[0], 100, 1e-9);
    EXPECT_TRUE(inDependencyOrder(h.doc));
    EXPECT_TRUE(h.messages.empty());
}

TEST(RedefinePoint, ATargetThatDependsOnThePointIsRefused) {
    ToolHost h;
    Element* p = h.point(-100, 0);
    Element* q = h.point(100, 0);
    Element* line = h.make(Method::LineThroughTwoPoints, p, q);
    Element* m = h.make(Method::Midpoint, p, q);
    Element* other = h.make(Method::LineThroughTwoPoints, h.point(50, -150), h.point(50, 150));
    h.tool(Tool::RedefinePoint);
    h.click(-100, 0);
    h.click(-50, 0); // on the line through the point itself
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0], Msg::InvalidRedefinition);
    EXPECT_EQ(uiText().message(h.messages[0]), "Redefinición no válida");
    EXPECT_EQ(p->method, Method::FreePoint);
    EXPECT_EQ(h.in.engine().step(), 0);

    h.click(-100, 0);
    h.click(0, 0); // its own midpoint
    EXPECT_EQ(h.messages.size(), 2u);
    EXPECT_TRUE(inList(h.doc, p));
    EXPECT_EQ(m->parent1, p);

    // A crossing of the line with another line: refused before any point is made.
    const int n = h.size();
    h.click(-100, 0);
    h.click(52, 1);
    EXPECT_EQ(h.messages.size(), 3u);
    EXPECT_EQ(h.size(), n);
    EXPECT_EQ(line->parent1, p);

    // A crossing of lines that do not depend on it: the intersection point made there takes
    // the point's place, and the list is put back in order (it was made after the line).
    Element* third = h.make(Method::LineThroughTwoPoints, h.point(-250, 100), h.point(250, 100));
    h.click(-100, 0);
    h.click(52, 101);
    EXPECT_EQ(h.messages.size(), 3u);
    EXPECT_FALSE(inList(h.doc, p));
    Element* x = line->parent1;
    ASSERT_EQ(x->method, Method::IntersectionPoint);
    EXPECT_TRUE((x->parent1 == other && x->parent2 == third) ||
                (x->parent1 == third && x->parent2 == other));
    EXPECT_NEAR(x->value[0], 50, 1e-9);
    EXPECT_NEAR(x->value[1], 100, 1e-9);
    EXPECT_EQ(m->parent1, x);
    EXPECT_NEAR(m->value[0], 75, 1e-9);
    EXPECT_NEAR(m->value[1], 50, 1e-9);
    EXPECT_TRUE(inDependencyOrder(h.doc));
}

// Putting the list back in order counts every reference of sub-elements too: the third one of
// an axis line or of a coordinate number brings its element before their owner.
TEST(RedefinePoint, OrderCountsEveryReferenceOfSubElements) {
    ToolHost h;
    Element* a = h.point(0, 0);
    Element* axes = h.make(Method::Axes, a);
    Element* coordinates = h.make(Method::Coordinates, a);
    Element* late = h.point(5, 5);
    Element* later = h.point(6, 6);
    axes->subElement(1)->parent3 = late;
    coordinates->subElement(0)->parent3 = later;
    sequences::restoreDependencyOrder(h.doc);
    std::vector<const Element*> order;
    for (const Element* e = h.doc.head; e; e = e->next)
        order.push_back(e);
    const auto at = [&](const Element* e) { return std::find(order.begin(), order.end(), e); };
    EXPECT_LT(at(late), at(axes));
    EXPECT_LT(at(later), at(coordinates));
    EXPECT_EQ(order.size(), 5u);
}

TEST(Buttons, PlacedFirstThenTheirElementsThenAnEmptyClick) {
    ToolHost h;
    Element* a = h.point(0, 0);
    Element* b = h.point(100, 0);
    Element* s = h.make(Method::Segment, a, b);
    h.tool(Tool::ShowHideButton);
    h.click(-200, 150); // the place
    h.click(50, 0);     // the segment
    h.click(100, 0);    // the point b
    EXPECT_EQ(h.count(Method::ShowHideButton), 0);
    h.click(-200, -150); // an empty place: done
    Element* button = h.last();
    ASSERT_EQ(button->method, Method::ShowHideButton);
    EXPECT_DOUBLE_EQ(button->value[2], -200);
    EXPECT_DOUBLE_EQ(button->value[3], 150);
    const auto* t = button->tailAs<ButtonTail>();
    ASSERT_EQ(t->elements.size(), 2u);
    EXPECT_EQ(t->elements[0], s);
    EXPECT_EQ(t->elements[1], b);
    // A new hide/show button acts once: its elements are hidden now.
    EXPECT_EQ(s->visible, 0);
    EXPECT_EQ(b->visible, 0);
    EXPECT_EQ(a->visible, 1);

    // A motion button: an empty click before any element only moves its place.
    Element* c = h.point(-100, 100);
    h.tool(Tool::MotionButton);
    h.click(150, 150);
    h.click(-250, -150);
    h.click(0, 0);
    h.click(-100, 100);
    h.click(150, -100);
    Element* motion = h.last();
    ASSERT_EQ(motion->method, Method::MotionButton);
    EXPECT_DOUBLE_EQ(motion->value[2], -250);
    EXPECT_DOUBLE_EQ(motion->value[3], -150);
    const auto* mt = motion->tailAs<ButtonTail>();
    ASSERT_EQ(mt->elements.size(), 2u);
    EXPECT_EQ(mt->elements[0], a);
    EXPECT_EQ(mt->elements[1], c);
    EXPECT_EQ(a->visible, 1);
}
