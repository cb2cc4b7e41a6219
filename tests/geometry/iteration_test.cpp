#include "builder.h"

#include "construction/create.h"
#include "geometry/iteration.h"
#include "model/iteration.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

using namespace qorv;
using namespace qorv::testing;

namespace {

// Records every copy: its level and the positions of the points it shows.
struct Recorder : IterationVisitor {
    struct Copy {
        int32_t level;
        std::vector<Point2> points;
    };
    std::vector<Copy> copies;
    bool visit(const IterationCopy& c, int32_t level) override {
        Copy copy{level, {}};
        for (const Element* e : c.drawn)
            if (e->defined && e->kind() == Kind::Point) copy.points.push_back(pos(e));
        copies.push_back(std::move(copy));
        return true;
    }
};

// A starting point A at (0, 0) and K fixed corners; destination j is the midpoint of A and
// corner j, so that each copy halves the way to the corners (a chain for one corner, a
// Sierpinski-like tree for several).
struct Scene {
    Builder b;
    Element* a = nullptr;
    std::vector<Element*> corners, mids;
    IterationWorkspace ws;

    explicit Scene(std::vector<Point2> cornerAt) {
        a = b.point(0, 0);
        for (Point2 c : cornerAt) {
            corners.push_back(b.point(c.x, c.y));
            mids.push_back(b.make(Method::Midpoint, a, corners.back()));
        }
        ws.reset();
        ws.choose(0);
        ws.toggle(a);
        for (Element* m : mids) {
            ws.addDestination();
            ws.toggle(m);
        }
    }
    Element* create(int32_t n) {
        ws.pendingIterations = n;
        Element* it = createIteration(b.doc, ws, b.opts);
        if (it) b.recalcAll();
        return it;
    }
};

TEST(Iteration, ChainDrawsOneCopyPerLevelAtItsImage) {
    Scene s({{8, 0}});
    Element* it = s.create(3);
    ASSERT_NE(it, nullptr);
    ASSERT_EQ(it->defined, 1);
    Recorder r;
    EXPECT_EQ(walkIteration(s.b.doc, *it, &r), 3);
    ASSERT_EQ(r.copies.size(), 3u);
    // The document shows the midpoint at 4; the copies at 8 - 8 / 2^(k + 1) for k = 2, 3, 4.
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(r.copies[k].level, int32_t(2 - k));
        ASSERT_EQ(r.copies[k].points.size(), 1u);
        EXPECT_NEAR(r.copies[k].points[0].x, 8 - 8 / std::pow(2.0, double(k) + 2), 1e-9);
        EXPECT_NEAR(r.copies[k].points[0].y, 0, 1e-9);
    }
    // The document itself is left as it was.
    expectAt(s.mids[0], 4, 0);
    expectAt(s.a, 0, 0);
}

TEST(Iteration, TreeDrawsEveryLevelOrOnlyTheLast) {
    Scene s({{0, 0}, {8, 0}});
    Element* it = s.create(3);
    ASSERT_NE(it, nullptr);
    Recorder r;
    EXPECT_EQ(walkIteration(s.b.doc, *it, &r), 2 + 4 + 8);
    int perLevel[3] = {0, 0, 0};
    for (const auto& c : r.copies)
        ++perLevel[c.level];
    EXPECT_EQ(perLevel[2], 2);
    EXPECT_EQ(perLevel[1], 4);
    EXPECT_EQ(perLevel[0], 8);

    // "F": only the last level, and its copies are the same ones.
    it->tailAs<IterationTail>()->lastOnly = 1;
    Recorder last;
    EXPECT_EQ(walkIteration(s.b.doc, *it, &last), 8);
    ASSERT_EQ(last.copies.size(), 8u);
    std::vector<double> expected, got;
    for (const auto& c : r.copies)
        if (c.level == 0)
            for (Point2 p : c.points)
                expected.push_back(p.x);
    for (const auto& c : last.copies) {
        EXPECT_EQ(c.level, 0);
        for (Point2 p : c.points)
            got.push_back(p.x);
    }
    EXPECT_EQ(got, expected);
    // Starting at 0 between corners 0 and 8, four halvings reach the multiples of 0.5 only.
    for (double x : got)
        EXPECT_NEAR(x * 2, std::round(x * 2), 1e-9);
}

TEST(Iteration, CountElementTruncatesAndNegativeGivesNone) {
    const struct {
        double count;
        int64_t copies;
    } cases[] = {{2.9, 2}, {-1, 0}, {0.5, 0}, {3, 3}, {1e300, 50000}};
    for (const auto& c : cases) {
        Scene s({{8, 0}});
        s.ws.countElement = s.b.number(c.count);
        Element* it = s.create(1);
        ASSERT_NE(it, nullptr);
        const auto& t = *it->tailAs<IterationTail>();
        EXPECT_EQ(t.countFromElement, 1);
        EXPECT_EQ(t.participants.back().ptr, s.ws.countElement);
        EXPECT_EQ(walkIteration(s.b.doc, *it, nullptr), c.copies) << c.count;
    }
}

TEST(Iteration, ParticipantsAndImagesOfANewIteration) {
    Scene s({{8, 0}});
    Element* seg = s.b.segment(s.a, s.mids[0]);
    Element* hiddenSeg = s.b.segment(s.a, s.mids[0]);
    hiddenSeg->visible = 0;
    Element* count = s.b.number(2);
    s.ws.countElement = count;
    Element* it = s.create(3);
    ASSERT_NE(it, nullptr);
    const auto& t = *it->tailAs<IterationTail>();
    std::vector<Element*> got;
    for (const Ref& r : t.participants)
        got.push_back(r.ptr);
    EXPECT_EQ(got, (std::vector<Element*>{s.a, s.mids[0], seg, count}));
    EXPECT_EQ(t.images, std::vector<int32_t>{1});
    EXPECT_EQ(t.initialCount, 1);
    EXPECT_EQ(t.destinationCount, 1);
    EXPECT_EQ(t.iterations, 3);
    EXPECT_EQ(t.lastOnly, 0);
    EXPECT_EQ(t.drawPoints, 1);
    EXPECT_EQ(t.ownColour, 1);
    // The segment follows each copy: from the image before to the image after.
    struct Segments : IterationVisitor {
        std::vector<double> x1, x2;
        bool visit(const IterationCopy& c, int32_t) override {
            for (const Element* e : c.drawn)
                if (e->kind() == Kind::Segment)
                    x1.push_back(e->value[0]), x2.push_back(e->value[2]);
            return true;
        }
    } segs;
    EXPECT_EQ(walkIteration(s.b.doc, *it, &segs), 2);
    EXPECT_EQ(segs.x1, (std::vector<double>{4, 6}));
    EXPECT_EQ(segs.x2, (std::vector<double>{6, 7}));
}

TEST(Iteration, EnablingRules) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(8, 0);
    Element* m = b.make(Method::Midpoint, a, c);
    Element* m2 = b.make(Method::Midpoint, m, c);
    Element* seg = b.segment(a, c);
    Element* lone = b.point(5, 5);
    const struct {
        const char* what;
        std::vector<std::vector<Element*>> lists;
        bool allowed;
    } cases[] = {
        {"initial list alone", {{a}}, false},
        {"destination of the same kind", {{a}, {m}}, true},
        {"depending through another element", {{a}, {m2}}, true},
        {"destination too short", {{a, c}, {m}}, false},
        {"destination too long", {{a}, {m, m2}}, false},
        {"destination of another kind", {{a}, {seg}}, false},
        {"destination not depending on the initial one", {{a}, {lone}}, false},
        {"one good list, one too short", {{a}, {m}, {}}, false},
        {"two good lists", {{a}, {m}, {m2}}, true},
        {"initial element as its own image only", {{a}, {a}}, false},
    };
    for (const auto& t : cases) {
        IterationWorkspace ws;
        ws.reset();
        ws.lists = t.lists;
        EXPECT_EQ(ws.canCreate(b.doc), t.allowed) << t.what;
        EXPECT_EQ(createIteration(b.doc, ws, b.opts) != nullptr, t.allowed) << t.what;
    }

    IterationWorkspace ws;
    ws.defaultIterations = 2;
    ws.reset();
    EXPECT_FALSE(ws.canAddDestination());
    EXPECT_FALSE(ws.canRemove());
    EXPECT_EQ(ws.lines(b.doc, "L"), std::vector<std::string>{"L"});
    ws.choose(0);
    EXPECT_TRUE(ws.toggle(a));
    EXPECT_TRUE(ws.toggle(c));
    EXPECT_TRUE(ws.toggle(a)); // a click on an element already listed takes it out
    EXPECT_EQ(ws.lists[0], std::vector<Element*>{c});
    EXPECT_TRUE(ws.canAddDestination());
    EXPECT_TRUE(ws.addDestination());
    EXPECT_EQ(ws.current, 1);
    ws.toggle(m);
    EXPECT_EQ(ws.lines(b.doc, "L"), (std::vector<std::string>{"L: 1", "LI1: 1'"}));
    while (ws.listCount() < IterationWorkspace::MaxLists)
        ws.addDestination();
    EXPECT_FALSE(ws.canAddDestination());
    ws.current = 1;
    ws.removeCurrent(); // a destination list goes, the one before becomes current
    EXPECT_EQ(ws.listCount(), IterationWorkspace::MaxLists - 1);
    EXPECT_EQ(ws.current, 0);
    ws.removeCurrent(); // list 0 resets everything
    EXPECT_EQ(ws.listCount(), 0);
    EXPECT_EQ(ws.current, -1);
    EXPECT_EQ(ws.pendingIterations, 2);
    for (int i = 0; i < IterationWorkspace::MaxElements + 1; ++i) {
        ws.choose(0);
        ws.toggle(b.point(i, i));
    }
    EXPECT_EQ(ws.lists[0].size(), size_t(IterationWorkspace::MaxElements));

    Builder one;
    one.point(0, 0);
    EXPECT_FALSE(IterationWorkspace::canChooseCount(one.doc));
    one.point(1, 0);
    EXPECT_TRUE(IterationWorkspace::canChooseCount(one.doc));
}

TEST(Iteration, LimitOfTheNumberOfIterations) {
    const struct {
        int32_t w, k, limit;
    } cases[] = {{1, 1, 50000}, {2, 1, 25000}, {1, 2, 15},    {1, 3, 9},
                 {3, 3, 8},     {1, 99, 2},    {60000, 1, 1}, {60000, 5, 1},
                 {0, 1, 50000}, {1, 50000, 1}, {50000, 2, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(iterationLimit(c.w, c.k), c.limit) << c.w << " " << c.k;
    IterationTail t;
    t.initialCount = 1;
    t.destinationCount = 2;
    EXPECT_EQ(limitedIterations(t, 16), 15);
    EXPECT_EQ(limitedIterations(t, 0), 1);
    EXPECT_EQ(limitedIterations(t, 7), 7);
}

// Copies of K destination lists over L levels: K + K^2 + ... + K^L.
int64_t treeCopies(int64_t k, int levels) {
    int64_t sum = 0, p = 1;
    for (int i = 0; i < levels; ++i)
        sum += (p *= k);
    return sum;
}

TEST(Iteration, HostileCountsAreBoundedByTheLimit) {
    const struct {
        std::vector<Point2> corners;
        int32_t iterations;
        int64_t copies;
    } cases[] = {
        {{{8, 0}}, INT_MAX, 50000},
        {{{0, 0}, {8, 0}}, INT_MAX, treeCopies(2, 15)},
        {{{0, 0}, {8, 0}, {4, 7}}, 1000000, treeCopies(3, 9)}, // a Sierpinski-like tree
        {{{0, 0}, {8, 0}, {4, 7}}, 0, 3},                      // stored 0 counts as 1
        {{{8, 0}}, INT_MIN, 1},
    };
    for (const auto& c : cases) {
        Scene s(c.corners);
        Element* it = s.create(1);
        ASSERT_NE(it, nullptr);
        it->tailAs<IterationTail>()->iterations = c.iterations; // as a file may hold it
        EXPECT_EQ(walkIteration(s.b.doc, *it, nullptr), c.copies) << c.iterations;
        EXPECT_LE(c.copies, 2 * int64_t(MaxIterationCopies));
    }
}

// Many elements recalculated at each level: the walk stops when its work runs out, well before
// the 50,000 copies the count allows.
TEST(Iteration, AWideConstructionStopsWhenTheWalksWorkRunsOut) {
    Scene s({{8, 0}});
    for (int i = 0; i < 200; ++i)
        s.b.segment(s.a, s.b.point(i, 1));
    Element* it = s.create(1);
    it->tailAs<IterationTail>()->iterations = INT_MAX;
    const int64_t copies = walkIteration(s.b.doc, *it, nullptr);
    EXPECT_GT(copies, 0);
    EXPECT_LE(copies * 201, MaxIterationWork);
    EXPECT_GT((copies + 2) * 201, MaxIterationWork);
}

TEST(Iteration, ImagesThatAreTheInitialElementsOrGoneStayBounded) {
    // Images pointing back at the initial element: every level lands where it started.
    Scene s({{8, 0}});
    Element* it = s.create(4);
    ASSERT_NE(it, nullptr);
    auto& t = *it->tailAs<IterationTail>();
    t.images = {0};
    s.b.recalcAll();
    Recorder r;
    EXPECT_EQ(walkIteration(s.b.doc, *it, &r), 4);
    for (const auto& c : r.copies)
        EXPECT_NEAR(c.points.at(0).x, 4, 1e-9);
    // An image that is gone, or an initial element that is gone, draws nothing.
    t.images = {1};
    t.participants[1] = nullptr;
    s.b.recalcAll();
    EXPECT_EQ(walkIteration(s.b.doc, *it, nullptr), 0);
    t.participants[0] = nullptr;
    t.participants[1] = s.mids[0];
    s.b.recalcAll();
    EXPECT_EQ(it->defined, 1); // a participant is still defined
    EXPECT_EQ(walkIteration(s.b.doc, *it, nullptr), 0);
    // The document changed after the copy was made: nothing is drawn from a stale copy.
    t.participants[0] = s.a;
    s.b.recalcAll();
    EXPECT_EQ(walkIteration(s.b.doc, *it, nullptr), 4);
    s.b.point(1, 1);
    EXPECT_EQ(walkIteration(s.b.doc, *it, nullptr), 0);
}

TEST(Iteration, AnIterationAmongTheParticipantsOfAnotherIsNeitherRunNorDrawnInItsCopies) {
    Scene s({{8, 0}});
    Element* first = s.create(50000);
    Element* second = s.create(3);
    ASSERT_NE(second, nullptr);
    // As a file may have it: the first iteration listed as drawn by the second.
    second->tailAs<IterationTail>()->participants.emplace_back(first);
    s.b.recalcAll();
    struct Kinds : IterationVisitor {
        int iterations = 0;
        bool visit(const IterationCopy& c, int32_t) override {
            for (const Element* e : c.drawn)
                iterations += e->kind() == Kind::Iteration;
            return true;
        }
    } kinds;
    EXPECT_EQ(walkIteration(s.b.doc, *second, &kinds), 3);
    EXPECT_EQ(kinds.iterations, 0);
    EXPECT_EQ(walkIteration(s.b.doc, *first, nullptr), 50000);
}

TEST(Iteration, UndefinedParticipantsAndDragFollow) {
    Scene s({{8, 0}});
    Element* it = s.create(2);
    Recorder before;
    walkIteration(s.b.doc, *it, &before);
    // Moving the corner moves every copy; the walk reads the document as it is now.
    s.b.drag(s.corners[0], 0, 8);
    Recorder after;
    EXPECT_EQ(walkIteration(s.b.doc, *it, &after), 2);
    ASSERT_EQ(after.copies.size(), 2u);
    EXPECT_NEAR(after.copies[0].points[0].y, 6, 1e-9);
    EXPECT_NEAR(after.copies[1].points[0].y, 7, 1e-9);
    EXPECT_NEAR(after.copies[1].points[0].x, 0, 1e-9);
}

} // namespace
