// The drawing description: what is drawn and in what order, undefined and hidden elements left
// out, and where a curve breaks.
#include "construction/examples.h"
#include "geometry/drawing.h"
#include "geometry/measure.h"
#include "geometry/recalc.h"
#include "model/document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qorv {
namespace {

std::vector<const DrawnShape*> shapesOf(const Drawing& d, int32_t id) {
    std::vector<const DrawnShape*> out;
    for (const DrawnShape& s : d.shapes)
        if (s.element == id) out.push_back(&s);
    return out;
}

Point2 at(const Drawing& d, const DrawnShape& s, int k) {
    return {d.numbers[s.first + 2 * k], d.numbers[s.first + 2 * k + 1]};
}

TEST(Drawing, TriangleInPaintingOrderWithItsPlaces) {
    Document doc;
    ASSERT_TRUE(buildExample("triangle", doc));
    recalcUpTo(doc);
    Drawing d;
    describeDrawing(doc, {}, d);
    // Points last, above every line; the triangle's vertices where the example puts them.
    bool seenPoint = false;
    int points = 0;
    for (const DrawnShape& s : d.shapes) {
        if (s.shape == Shape::Point) {
            seenPoint = true;
            ++points;
        } else {
            EXPECT_FALSE(seenPoint) << "a shape of element " << s.element << " after a point";
        }
    }
    EXPECT_GE(points, 5); // A, B, C, O, I
    const DrawnShape* triangle = nullptr;
    for (const DrawnShape& s : d.shapes)
        if (s.shape == Shape::Polygon && s.count == 3) triangle = &s;
    ASSERT_TRUE(triangle);
    const Point2 corners[3] = {{-160, -100}, {180, -80}, {10, 150}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_DOUBLE_EQ(at(d, *triangle, k).x, corners[k].x);
        EXPECT_DOUBLE_EQ(at(d, *triangle, k).y, corners[k].y);
    }
    // The circumcircle through A: centre O, radius |OA| worked out here.
    const auto circle = std::find_if(d.shapes.begin(), d.shapes.end(),
                                     [](const DrawnShape& s) { return s.shape == Shape::Circle; });
    ASSERT_NE(circle, d.shapes.end());
    const double cx = d.numbers[circle->first], cy = d.numbers[circle->first + 1];
    EXPECT_NEAR(d.numbers[circle->first + 2], std::hypot(cx + 160, cy + 100), 1e-9);
    EXPECT_NEAR(std::hypot(cx - 180, cy + 80), std::hypot(cx - 10, cy - 150), 1e-9);
    // Texts: the measures with their numbers.
    int texts = 0;
    for (const DrawnShape& s : d.shapes)
        if (s.shape == Shape::Text) {
            ++texts;
            EXPECT_FALSE(d.texts[s.text].empty());
        }
    EXPECT_GE(texts, 5);
}

TEST(Drawing, UndefinedAndHiddenElementsAreLeftOut) {
    Document doc;
    ASSERT_TRUE(buildExample("intersections", doc));
    doc.renumber(); // each element its own id, as in a file
    recalcUpTo(doc);
    Drawing d;
    // The point on the circle about O brought close to O: the circle shrinks away from the line
    // and their crossings vanish.
    Element* rim = nullptr;
    for (Element* e = doc.head; e; e = e->next)
        if (e->method == Method::FreePoint && e->value[0] == 60 && e->value[1] == 20) rim = e;
    ASSERT_TRUE(rim);
    std::vector<Element*> crossings;
    rim->value[0] = -40;
    recalcUpTo(doc);
    for (Element* e = doc.head; e; e = e->next)
        if (!e->defined) crossings.push_back(e);
    ASSERT_FALSE(crossings.empty());
    describeDrawing(doc, {}, d);
    for (const Element* e : crossings)
        EXPECT_TRUE(shapesOf(d, e->id).empty()) << "undefined element " << e->id << " drawn";
    rim->value[0] = 60;
    recalcUpTo(doc);
    describeDrawing(doc, {}, d);
    for (const Element* e : crossings) {
        ASSERT_TRUE(e->defined);
        if (e->visible == 1) {
            EXPECT_FALSE(shapesOf(d, e->id).empty()) << e->id;
        }
    }
    Element* o = rim; // a visible free point
    // Hidden: left out, unless hidden elements are shown.
    o->visible = 0;
    describeDrawing(doc, {}, d);
    EXPECT_TRUE(shapesOf(d, o->id).empty());
    DrawingOptions showHidden;
    showHidden.showHidden = true;
    describeDrawing(doc, showHidden, d);
    ASSERT_EQ(shapesOf(d, o->id).size(), 1u);
    EXPECT_EQ(shapesOf(d, o->id)[0]->color, Color(doc.hiddenColor & 0xffffff));
}

// A graph is described as the pieces every output breaks it into: a jump of 200 or more, an
// undefined sample and far ones each start a new polyline.
TEST(Drawing, GraphsAsTheirPieces) {
    Document doc;
    auto* graph = new Element;
    graph->method = Method::FunctionGraph;
    graph->defined = 1;
    graph->visible = 1;
    graph->tail = makeTail(TailType::SampledCurve);
    doc.append(graph);
    auto* t = graph->tailAs<SampledCurveTail>();
    const std::vector<Point2> pts = {{0, 0},   {10, 0},  {20, 0},    {220, 0},   {230, 0},
                                     {240, 0}, {250, 0}, {260, 0},   {270, 2e9}, {280, 2e9},
                                     {290, 0}, {300, 0}, {310, 1e-3}};
    t->resize(int32_t(pts.size()));
    t->count = int32_t(pts.size());
    for (size_t i = 0; i < pts.size(); ++i)
        t->first[i] = pts[i];
    t->words[5] = -1111; // undefined at 240
    Drawing d;
    describeDrawing(doc, {}, d);
    // 0-10-20 | jump | 220-230 | undefined | 250-260 | two far ones | 290-300-310
    const double starts[] = {0, 220, 250, 290};
    const uint32_t counts[] = {3, 2, 2, 3};
    ASSERT_EQ(d.shapes.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(d.shapes[k].shape, Shape::Polyline);
        EXPECT_EQ(d.shapes[k].count, counts[k]);
        EXPECT_EQ(at(d, d.shapes[k], 0).x, starts[k]);
    }
    EXPECT_EQ(at(d, d.shapes[3], 2).y, 1e-3);
}

} // namespace
} // namespace qorv
