// The copies of an iteration on the drawing: a point A at (20, 100), a corner C at (180, 100),
// their midpoint M and the segment AM; two iterations put A where M was, so the copies are the
// segment from 100 to 140 with M at 140, then from 140 to 160 with M at 160.
#include "scene.h"

#include "geometry/recalc.h"
#include "model/iteration.h"

#include <gtest/gtest.h>

using namespace qorv;
using qorv::test::at;
using qorv::test::Scene;

namespace {

const Color White = rgb(255, 255, 255);
const Color Green = rgb(0, 160, 0);
const Color Blue = rgb(0, 0, 255);

struct Chain : Scene {
    Element* it = nullptr;
    Chain() {
        Element* a = point(20, 100);
        Element* c = point(180, 100);
        Element* m = make(Method::Midpoint, a, c);
        m->color = Green;
        Element* seg = make(Method::Segment, a, m);
        seg->color = White;
        seg->shape = 1;
        it = qorv::test::iterateOnto(doc, a, m, 2, opts);
        it->color = Blue;
        recalcUpTo(doc);
    }
    IterationTail& t() { return *it->tailAs<IterationTail>(); }
};

// Pixels of colour c in the 7 x 7 box around (x, 200 - y), leaving out the row of the segments.
int aroundPoint(const QImage& im, int x, int y, Color c) {
    int n = 0;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            n += dy != 0 && at(im, x + dx, 200 - y + dy) == c;
    return n;
}

} // namespace

TEST(RendererIteration, CopiesInTheIterationsColourWithPointsOrWithout) {
    Chain s;
    QImage im = s.render();
    EXPECT_EQ(at(im, 120, 100), Blue); // the first copy of the segment
    EXPECT_EQ(at(im, 150, 100), Blue); // the second
    EXPECT_GT(aroundPoint(im, 140, 100, Blue), 0);
    EXPECT_GT(aroundPoint(im, 160, 100, Blue), 0);
    EXPECT_EQ(at(im, 170, 100), s.doc.background); // nothing beyond the last copy

    s.t().drawPoints = 0; // "P" off
    im = s.render();
    EXPECT_EQ(at(im, 150, 100), Blue);
    EXPECT_EQ(aroundPoint(im, 160, 100, Blue), 0);
}

TEST(RendererIteration, OwnColoursAndOnlyTheLastLevel) {
    Chain s;
    s.t().ownColour = 0; // "C" off: each copy in the colours of what it copies
    QImage im = s.render();
    EXPECT_EQ(at(im, 120, 100), White);
    EXPECT_EQ(at(im, 150, 100), White);
    EXPECT_GT(aroundPoint(im, 160, 100, Green), 0);
    EXPECT_EQ(aroundPoint(im, 160, 100, Blue), 0);

    s.t().ownColour = 1;
    s.t().lastOnly = 1; // "F": the last level alone
    im = s.render();
    EXPECT_EQ(at(im, 120, 100), s.doc.background);
    EXPECT_EQ(at(im, 150, 100), Blue);
}

// "cf": the segment's colour follows the distance AC (red for an even number of units, yellow
// for an odd one): the document's 4 units, then 2 and 1 in the copies.
TEST(RendererIteration, ParametricColoursFollowEachCopyWhenAsked) {
    Chain s;
    Element* a = s.doc.head;
    Element* c = a->next;
    Element* seg = c->next->next;
    ASSERT_EQ(seg->method, Method::Segment);
    Element* dist = s.make(Method::DistancePointPoint, a, c);
    seg->colorParam = dist;
    seg->colorParamMode = 1000;
    seg->colorParamFrom = rgb(255, 0, 0);
    seg->colorParamTo = rgb(255, 255, 0);
    s.t().ownColour = 0;
    recalcUpTo(s.doc);
    ASSERT_DOUBLE_EQ(dist->value[0], 4.0);

    s.it->option2 = 111;
    QImage im = s.render();
    EXPECT_EQ(at(im, 120, 100), rgb(255, 0, 0));
    EXPECT_EQ(at(im, 150, 100), rgb(255, 255, 0));
    s.it->option2 = 0; // the colours the copied elements keep
    im = s.render();
    EXPECT_EQ(at(im, 120, 100), White);
    EXPECT_EQ(at(im, 150, 100), White);
}
