// A drag recalculates only the elements it marked at its first step. After every step the whole
// construction must hold what a full recalculation of the same document gives: the same
// construction is built twice, one copy dragged, the other given the dragged numbers and
// recalculated from the head.
#include "geometry/builder.h"

#include "construction/create.h"
#include "geometry/elementgeometry.h"
#include "geometry/iteration.h"
#include "model/iteration.h"
#include "view/dragengine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace qorv;
using namespace qorv::testing;

namespace {

struct CopyPoints : IterationVisitor {
    std::vector<Point2> points;
    bool visit(const IterationCopy& c, int32_t) override {
        for (const Element* e : c.drawn)
            if (e->defined && e->kind() == Kind::Point) points.push_back(positionOf(*e));
        return true;
    }
};

// P is dragged. A circle about P of radius 25 crosses the line y = 30 only while P is near it
// (the intersection and its midpoint come and go); a point runs on a circle through P, tracing a
// locus; a distance measure colours an unrelated segment; an iteration halves P's way to a
// corner; P has a name; Q and R stay put unless the group drag moves Q.
struct DragScene {
    Builder b;
    Element *p, *q, *iter;
    explicit DragScene() {
        p = b.point(0, 0);
        q = b.point(40, 0);
        Element* r = b.point(-40, 10);
        b.opts.locusPoints = 60;
        Element* radius = b.circle(p, q);
        Element* on = b.make(Method::PointOnElement, radius);
        on->value[3] = 0.3;
        b.make(Method::Locus, b.make(Method::Midpoint, on, r), on);
        b.segment(p, on);
        Element* c25 = b.make(Method::CircleRadiusCentre, p, b.point(100, 100), b.point(125, 100));
        Element* l = b.line(b.point(-100, 30), b.point(100, 30));
        Element* cut = b.intersection(l, c25, 6);
        b.make(Method::Midpoint, cut, r);
        Element* d = b.make(Method::DistancePointPoint, p, r);
        b.segment(b.point(200, 0), b.point(220, 0))->colorParam = d;
        Element* corner = b.point(80, 80);
        Element* mid = b.make(Method::Midpoint, p, corner);
        IterationWorkspace ws;
        ws.reset();
        ws.choose(0);
        ws.toggle(p);
        ws.addDestination();
        ws.toggle(mid);
        ws.pendingIterations = 3;
        iter = createIteration(b.doc, ws, b.opts);
        setName(b.doc, p, "P", b.opts);
        b.recalcAll();
    }
};

bool same(Point2 a, Point2 b) {
    return a.x == b.x && a.y == b.y;
}

std::vector<Element*> allOf(Document& doc) {
    std::vector<Element*> all;
    doc.forEachWithSubs([&](Element& e) { all.push_back(&e); });
    return all;
}

// Exact equality: both documents ran the same computations on the same numbers.
void expectSame(DragScene& dragged, DragScene& full, int step) {
    const auto a = allOf(dragged.b.doc), b = allOf(full.b.doc);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "step " << step << ", element " << i);
        const Element &x = *a[i], &y = *b[i];
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(x.value[k], y.value[k]) << "value " << k;
        EXPECT_EQ(x.defined, y.defined);
        EXPECT_EQ(x.option, y.option);
        EXPECT_EQ(x.option2, y.option2);
        const auto *sx = x.tailAs<SampledCurveTail>(), *sy = y.tailAs<SampledCurveTail>();
        if (sx && sy) {
            EXPECT_EQ(sx->count, sy->count);
            EXPECT_EQ(sx->params, sy->params);
            EXPECT_EQ(sx->words, sy->words);
            for (size_t s = 0; s < sx->first.size() && s < sy->first.size(); ++s)
                EXPECT_TRUE(same(sx->first[s], sy->first[s]) && same(sx->second[s], sy->second[s]))
                    << "sample " << s;
        }
    }
    CopyPoints cx, cy;
    EXPECT_EQ(walkIteration(dragged.b.doc, *dragged.iter, &cx),
              walkIteration(full.b.doc, *full.iter, &cy));
    ASSERT_EQ(cx.points.size(), cy.points.size());
    for (size_t i = 0; i < cx.points.size(); ++i)
        EXPECT_TRUE(same(cx.points[i], cy.points[i])) << "iteration point " << i;
}

TEST(DragRecalc, EveryStepEqualsAFullRecalculation) {
    for (const bool group : {false, true}) {
        SCOPED_TRACE(group ? "group" : "single");
        DragScene dragged, full;
        ASSERT_NE(dragged.iter, nullptr);
        if (group) dragged.p->selected = dragged.q->selected = 1;
        DragEngine drag;
        ASSERT_TRUE(drag.begin(dragged.b.doc, dragged.p, {0, 0}, group));
        const auto a = allOf(dragged.b.doc), b = allOf(full.b.doc);
        int definedSteps = 0, undefinedSteps = 0;
        for (int step = 1; step <= 24; ++step) {
            // Up past the line and back: the intersection exists only part of the way.
            const double y = step <= 12 ? 6.0 * step : 6.0 * (24 - step);
            drag.move(dragged.b.doc, {0.5 * step, y});
            drag.recalculate(dragged.b.doc);
            for (size_t i = 0; i < a.size(); ++i)
                for (int k = 0; k < 4; ++k)
                    b[i]->value[k] =
                        a[i]->method == Method::FreePoint ? a[i]->value[k] : b[i]->value[k];
            recalcUpTo(full.b.doc);
            expectSame(dragged, full, step);
            for (const Element* e : a)
                if (e->method == Method::IntersectionPoint)
                    (e->defined ? definedSteps : undefinedSteps)++;
        }
        // The scene did pass through both states, and the drag moved what it should.
        EXPECT_GT(definedSteps, 0);
        EXPECT_GT(undefinedSteps, 0);
        EXPECT_EQ(dragged.q->value[0] != 40, group);
        // A structural change marks again: a new descendant of P is recalculated from then on.
        Element* late = dragged.b.make(Method::Midpoint, dragged.p, dragged.q);
        full.b.make(Method::Midpoint, full.p, full.q);
        drag.move(dragged.b.doc, {3, 3});
        drag.recalculate(dragged.b.doc);
        EXPECT_DOUBLE_EQ(late->value[0], group ? (3 + 40 + 3) / 2.0 : (3 + 40) / 2.0);
        EXPECT_EQ(late->mark, 1);
    }
}

} // namespace
