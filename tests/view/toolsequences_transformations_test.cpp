// The transformation tools: images of points and of whole elements, their colours, shapes and
// hidden helpers, and the transformation of a selection.
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

// The elements made after `mark` (exclusive), in list order.
std::vector<Element*> madeAfter(Element* mark) {
    std::vector<Element*> out;
    for (Element* e = mark->next; e; e = e->next)
        out.push_back(e);
    return out;
}

} // namespace

TEST(TransformTools, CentralSymmetryOfASegmentMakesTheImagesOfItsEndsAndASegmentLikeIt) {
    ToolHost h;
    Element* a = h.point(-100, 50);
    Element* b = h.point(-20, 110);
    a->color = rgb(255, 0, 0);
    a->shape = PointShape::Cross;
    Element* s = h.make(Method::Segment, a, b);
    s->color = rgb(0, 128, 0);
    s->shape = LineStyle::Dashed;
    Element* mark = h.last();
    h.tool(Tool::CentralSymmetry);
    h.click(-60, 80); // the segment, between its ends
    h.click(40, 0);   // the centre, made here
    const auto made = madeAfter(mark);
    ASSERT_EQ(made.size(), 4u); // the centre, two images, the segment
    Element* centre = made[0];
    expectAt(centre, 40, 0);
    Element* ia = made[1];
    Element* ib = made[2];
    Element* is = made[3];
    ASSERT_EQ(ia->method, Method::CentralSymmetryPoint);
    EXPECT_EQ(ia->parent1, a);
    EXPECT_EQ(ia->parent2, centre);
    EXPECT_EQ(ib->parent1, b);
    expectAt(ia, 180, -50); // 2C - A
    expectAt(ib, 100, -110);
    EXPECT_EQ(ia->color, a->color);
    EXPECT_EQ(ia->shape, PointShape::Cross);
    EXPECT_EQ(ia->visible, 1);
    EXPECT_EQ(ib->visible, 1);
    ASSERT_EQ(is->method, Method::Segment);
    EXPECT_EQ(is->parent1, ia);
    EXPECT_EQ(is->parent2, ib);
    EXPECT_EQ(is->color, s->color);
    EXPECT_EQ(is->shape, LineStyle::Dashed);
    EXPECT_EQ(h.undoSteps, 1);
    EXPECT_EQ(h.in.tool(), Tool::CentralSymmetry); // one element: the tool stays
}

TEST(TransformTools, AxialSymmetryOfALineHidesTheImageOfItsSecondPoint) {
    ToolHost h;
    Element* a = h.point(-200, 100);
    Element* b = h.point(-100, 150);
    Element* line = h.make(Method::LineThroughTwoPoints, a, b);
    Element* axis = h.make(Method::LineThroughTwoPoints, h.point(0, -150), h.point(0, 150));
    Element* mark = h.last();
    h.tool(Tool::AxialSymmetry);
    h.click(-150, 125); // on the line
    h.click(0, 0);      // the axis x = 0
    const auto made = madeAfter(mark);
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0]->method, Method::AxialSymmetryPoint);
    EXPECT_EQ(made[0]->parent2, axis);
    expectAt(made[0], 200, 100);
    expectAt(made[1], 100, 150);
    EXPECT_EQ(made[0]->visible, 1);
    EXPECT_EQ(made[1]->visible, 0);
    ASSERT_EQ(made[2]->method, Method::LineThroughTwoPoints);
    EXPECT_EQ(made[2]->parent1, made[0]);
    EXPECT_EQ(made[2]->parent2, made[1]);
    EXPECT_EQ(made[2]->color, line->color);
}

TEST(TransformTools, TranslationOfACircleByAVectorAndOfAPointByTwoPoints) {
    ToolHost h;
    Element* c = h.point(-150, 0);
    Element* p = h.point(-150, 50);
    Element* circle = h.make(Method::CircleCentrePoint, c, p);
    Element* v = h.make(Method::Vector, h.point(100, -150), h.point(160, -70)); // (60, 80)
    Element* mark = h.last();
    h.tool(Tool::Translation);
    h.click(-200, 0); // the circle
    h.click(130, -110);
    const auto made = madeAfter(mark);
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0]->method, Method::TranslationPoint);
    EXPECT_EQ(made[0]->parent2, v->parent1);
    EXPECT_EQ(made[0]->parent3, v->parent2);
    expectAt(made[0], -90, 80);
    expectAt(made[1], -90, 130);
    EXPECT_EQ(made[1]->visible, 0);
    ASSERT_EQ(made[2]->method, Method::CircleCentrePoint);
    EXPECT_EQ(made[2]->color, circle->color);

    // A point by two points: the vector from the first to the second.
    Element* q = h.point(200, 100);
    Element* mark2 = h.last();
    h.click(200, 100);
    h.click(0, 100);   // made
    h.click(-10, 130); // made
    const auto made2 = madeAfter(mark2);
    ASSERT_EQ(made2.size(), 3u);
    EXPECT_EQ(made2[2]->parent1, q);
    expectAt(made2[2], 190, 130);
}

TEST(TransformTools, RotationByANumberOrByThreePointsThroughAnInternalAngle) {
    ToolHost h;
    h.doc.angleUnit = AngleUnit::Deg;
    Element* p = h.point(100, 0);
    // A number of 90: the distance of two points 90 cm apart is not handy, so the slope of
    // a line steep by 90 is used instead.
    Element* steep = h.make(Method::Segment, h.point(1000, 1000), h.point(1001, 1090));
    Element* ninety = h.make(Method::Slope, steep);
    h.box(ninety, 150, 150);
    h.tool(Tool::Rotation);
    h.click(100, 0);
    h.click(0, 0); // the centre, made
    h.click(160, 145);
    Element* img = h.last();
    ASSERT_EQ(img->method, Method::RotationPoint);
    EXPECT_EQ(img->parent1, p);
    EXPECT_EQ(img->parent3, ninety);
    expectAt(img, 0, 100, 1e-6);

    // Three points: the angle from the first arm to the second (a quarter turn
    // counter-clockwise), measured by an internal element.
    Element* mark = h.last();
    h.click(100, 0);   // the point again
    h.click(0, 0);     // the centre, now an existing point
    h.click(-200, 0);  // first arm (made)
    h.click(-250, 0);  // vertex (made)
    h.click(-250, 50); // second arm (made)
    const auto made = madeAfter(mark);
    ASSERT_EQ(made.size(), 5u);
    Element* angle = made[3];
    ASSERT_EQ(angle->method, Method::AngleValue);
    EXPECT_EQ(angle->visible, Internal);
    EXPECT_EQ(angle->parent2, made[1]);
    EXPECT_NEAR(angle->value[0], 90, 1e-9);
    Element* rotated = made[4];
    EXPECT_EQ(rotated->parent3, angle);
    expectAt(rotated, 0, 100, 1e-6);
    // The other way round it turns clockwise.
    made[2]->value[1] = -50;
    h.recalculateAndRedraw();
    EXPECT_NEAR(angle->value[0], 270, 1e-9);
    expectAt(rotated, 0, -100, 1e-6);
}

TEST(TransformTools, HomothetyOfACircleByItsCentreUsesAHiddenPointOnIt) {
    ToolHost h;
    Element* c = h.point(50, 50);
    h.req.value[0] = 50, h.req.value[1] = 50, h.req.value[2] = 50, h.req.value[3] = 80; // radius 30
    Element* circle = h.make(Method::CircleByCentre, c);
    Element* k = h.make(Method::DistancePointPoint, h.point(1000, 1000), h.point(1080, 1000)); // 2
    h.box(k, 150, 150);
    Element* mark = h.last();
    h.tool(Tool::Homothety);
    h.click(80, 50); // the circle
    h.click(0, 0);   // the centre of the homothety, made
    h.click(160, 145);
    const auto made = madeAfter(mark);
    ASSERT_EQ(made.size(), 5u); // centre, hidden point on the circle, two images, the circle
    Element* hidden = made[1];
    EXPECT_EQ(hidden->method, Method::PointOnElement);
    EXPECT_EQ(hidden->parent1, circle);
    EXPECT_EQ(hidden->visible, 0);
    EXPECT_DOUBLE_EQ(hidden->value[3], 1.0);
    EXPECT_EQ(made[2]->parent1, c);
    expectAt(made[2], 100, 100);
    EXPECT_EQ(made[3]->parent1, hidden);
    EXPECT_EQ(made[3]->visible, 0);
    Element* image = made[4];
    ASSERT_EQ(image->method, Method::CircleCentrePoint);
    EXPECT_NEAR(std::hypot(image->value[2] - image->value[0], image->value[3] - image->value[1]),
                60, 1e-6);
}

TEST(TransformTools, InversionTakesThePointAndTheCircleInEitherOrder) {
    ToolHost h;
    Element* circle = h.make(Method::CircleCentrePoint, h.point(0, 0), h.point(0, 100));
    Element* p = h.point(50, 0);
    h.tool(Tool::Inversion);
    h.click(50, 0);
    h.click(-100, 0);
    Element* i1 = h.last();
    ASSERT_EQ(i1->method, Method::InversePoint);
    EXPECT_EQ(i1->parent1, circle);
    EXPECT_EQ(i1->parent2, p);
    expectAt(i1, 200, 0); // 100^2 / 50
    h.click(-100, 0);
    h.click(50, 0);
    Element* i2 = h.last();
    ASSERT_NE(i2, i1);
    EXPECT_EQ(i2->parent1, circle);
    EXPECT_EQ(i2->parent2, p);
}

TEST(TransformTools, LinesWithoutTwoPointsAreRebuiltThroughHiddenPoints) {
    ToolHost h;
    Element* a = h.point(-200, -100);
    Element* b = h.point(-100, -100);
    Element* bisector = h.make(Method::PerpendicularBisector, a, b); // x = -150
    Element* centre = h.point(0, 0);
    Element* mark = h.last();
    h.tool(Tool::CentralSymmetry);
    h.click(-150, 50);
    h.click(0, 0);
    auto made = madeAfter(mark);
    ASSERT_EQ(made.size(), 5u);
    for (int i : {0, 1}) {
        EXPECT_EQ(made[size_t(i)]->method, Method::PointOnElement);
        EXPECT_EQ(made[size_t(i)]->parent1, bisector);
        EXPECT_EQ(made[size_t(i)]->visible, 0);
        EXPECT_EQ(made[size_t(i) + 2]->visible, 0);
        EXPECT_EQ(made[size_t(i) + 2]->parent2, centre);
    }
    EXPECT_DOUBLE_EQ(made[0]->value[3], 10);
    EXPECT_DOUBLE_EQ(made[1]->value[3], -10);
    ASSERT_EQ(made[4]->method, Method::LineThroughTwoPoints);
    EXPECT_NEAR(made[4]->value[0], 150, 1e-9); // the image of x = -150 is x = 150
    EXPECT_NEAR(made[4]->value[2], 150, 1e-9);

    // A parallel: the image of its own point and of a hidden point on it.
    Element* p = h.point(-100, 150);
    Element* par = h.make(Method::ParallelLine, h.make(Method::Segment, a, b), p); // y = 150
    mark = h.last();
    h.click(-200, 150);
    h.click(0, 0);
    made = madeAfter(mark);
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[0]->parent1, par);
    EXPECT_EQ(made[0]->visible, 0);
    EXPECT_EQ(made[1]->parent1, p);
    EXPECT_EQ(made[1]->visible, 1);
    EXPECT_EQ(made[2]->parent1, made[0]);
    EXPECT_EQ(made[2]->visible, 0);
    ASSERT_EQ(made[3]->method, Method::LineThroughTwoPoints);
    EXPECT_EQ(made[3]->parent1, made[1]);
    EXPECT_NEAR(made[3]->value[1], -150, 1e-9);
    EXPECT_NEAR(made[3]->value[3], -150, 1e-9);
}

TEST(TransformTools, APolygonIsBuiltOnTheImagesOfItsVerticesWithItsLook) {
    ToolHost h;
    Element* tri = h.make(Method::Polygon, nullptr, nullptr, nullptr,
                          {h.point(-250, 100), h.point(-150, 100), h.point(-200, 180)});
    tri->color = rgb(10, 20, 30);
    tri->shape = LineStyle::Thick;
    h.point(0, 0);
    h.tool(Tool::CentralSymmetry);
    h.click(-200, 100);
    h.click(0, 0);
    Element* image = h.last();
    ASSERT_EQ(image->method, Method::Polygon);
    EXPECT_EQ(image->color, tri->color);
    EXPECT_EQ(image->shape, LineStyle::Thick);
    const auto* t = image->tailAs<PolygonTail>();
    ASSERT_EQ(t->sides.size(), 3u);
    expectAt(t->sides[0]->parent1, 250, -100);
    expectAt(t->sides[2]->parent1, 200, -180);
    EXPECT_EQ(t->sides[1]->color, tri->color);
}

TEST(TransformTools, ArcAndConicAreBuiltOnTheImagesOfTheirPoints) {
    ToolHost h;
    Element* arc =
        h.make(Method::ArcThreePoints, h.point(100, 0), h.point(0, 100), h.point(-100, 0));
    h.tool(Tool::CentralSymmetry);
    h.click(71, 71);
    h.click(200, -100);
    Element* image = h.last();
    ASSERT_EQ(image->method, Method::ArcThreePoints);
    EXPECT_EQ(image->parent1->parent1, arc->parent1);
    EXPECT_EQ(image->parent3->parent1, arc->parent3);
    expectAt(image, 400, -200); // the image of the arc's centre

    ToolHost g;
    Element* conic = g.make(
        Method::Conic, nullptr, nullptr, nullptr,
        {g.point(100, 0), g.point(0, 50), g.point(-100, 0), g.point(0, -50), g.point(60, 40)});
    g.tool(Tool::Translation);
    g.click(-60, -40); // on the ellipse
    g.click(200, 100);
    g.click(250, 150); // the vector (50, 50)
    Element* moved = g.last();
    ASSERT_EQ(moved->method, Method::Conic);
    EXPECT_EQ(moved->defined, 1);
    for (int i = 0; i < 5; ++i) {
        const Element* img = moved->tailAs<ConicTail>()->points[i];
        ASSERT_EQ(img->method, Method::TranslationPoint);
        EXPECT_EQ(img->parent1, conic->tailAs<ConicTail>()->points[i]);
        expectAt(img, img->parent1->value[0] + 50, img->parent1->value[1] + 50);
    }
}

TEST(TransformTools, ASelectionIsTransformedOnceWithItsSharedPoint) {
    ToolHost h;
    Element* a = h.point(-200, 0);
    Element* b = h.point(-100, 100);
    Element* c = h.point(0, 0);
    Element* ab = h.make(Method::Segment, a, b);
    Element* bc = h.make(Method::Segment, b, c);
    h.point(150, -150); // not selected
    Element* mark = h.last();
    h.tool(Tool::CentralSymmetry);
    h.click(-150, 50, Modifier::Shift);  // ab into the selection
    h.click(-50, 50, Modifier::Shift);   // bc
    h.click(-100, 100, Modifier::Shift); // b as well
    EXPECT_EQ(ab->selected, 1);
    EXPECT_EQ(bc->selected, 1);
    EXPECT_EQ(b->selected, 1);
    EXPECT_EQ(h.in.engine().step(), 0);
    h.click(-150, 50); // a selected element: the whole selection
    h.click(100, -100);
    const auto made = madeAfter(mark);
    // The centre, the images of a, b and c (b once), two segments.
    ASSERT_EQ(made.size(), 6u);
    EXPECT_EQ(h.count(Method::CentralSymmetryPoint), 3);
    Element* s1 = made[3];
    Element* s2 = made[5];
    ASSERT_EQ(s1->method, Method::Segment);
    ASSERT_EQ(s2->method, Method::Segment);
    EXPECT_EQ(s1->parent2, s2->parent1); // the image of b is shared
    EXPECT_EQ(s1->parent2->parent1, b);
    EXPECT_EQ(s1->parent2->visible, 1);
    expectAt(s1->parent2, 300, -300);
    expectAt(s2->parent2, 200, -200);
    // The new elements are the selection now, and the move tool is chosen.
    EXPECT_EQ(h.in.tool(), Tool::Move);
    EXPECT_EQ(ab->selected, 0);
    for (size_t i = 1; i < made.size(); ++i)
        EXPECT_EQ(made[i]->selected, 1) << i;
    EXPECT_EQ(h.undoSteps, 1);
}

TEST(TransformTools, AnAxisLineAndARayKeepTheirKind) {
    ToolHost h;
    Element* origin = h.point(-100, -50);
    Element* axes = h.make(Method::Axes, origin);
    Element* mirror = h.make(Method::LineThroughTwoPoints, h.point(150, -150), h.point(150, 150));
    Element* mark = h.last();
    h.tool(Tool::AxialSymmetry);
    h.click(0, -50);  // the x axis
    h.click(150, 60); // the mirror x = 150
    auto made = madeAfter(mark);
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[0]->parent1, axes->subElement(0)); // hidden point on the axis line
    EXPECT_EQ(made[1]->parent1, origin);
    expectAt(made[1], 400, -50);
    EXPECT_EQ(made[3]->method, Method::LineThroughTwoPoints);
    EXPECT_EQ(made[3]->color, axes->subElement(0)->color);
    (void)mirror;

    // A ray through one point gives a ray from the image of that point.
    Element* start = h.point(-200, 100);
    h.req.value[0] = -200, h.req.value[1] = 100, h.req.value[2] = -100, h.req.value[3] = 100;
    h.make(Method::RayThroughPoint, start); // towards +x
    mark = h.last();
    h.click(-150, 100);
    h.click(150, 60);
    made = madeAfter(mark);
    ASSERT_EQ(made.size(), 4u);
    Element* image = made[3];
    ASSERT_EQ(image->method, Method::RayThroughTwoPoints);
    expectAt(image->parent1, 500, 100);
    EXPECT_NEAR(image->value[2] - image->value[0], -10, 1e-9); // now towards -x
}
