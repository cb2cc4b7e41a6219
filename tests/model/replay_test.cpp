// The replay's steps and cutting a construction back to one of them.
#include "model/replay.h"

#include "construction/builder.h"
#include "construction/create.h"

#include <gtest/gtest.h>

namespace qorv {
namespace {

TEST(Replay, StepsAreTheListableElements) {
    OwningBuilder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(10, 0);
    Element* hidden = b.point(5, 5);
    hidden->visible = 0;
    Element* seg = b.make(Method::Segment, a, c);
    recalcUpTo(b.doc);
    setName(b.doc, a, "A", b.opts); // a name is no step
    EXPECT_EQ(constructionSteps(b.doc, false), (std::vector<Element*>{a, c, seg}));
    EXPECT_EQ(constructionSteps(b.doc, true), (std::vector<Element*>{a, c, hidden, seg}));
}

TEST(Replay, CuttingDropsEverythingAfterTheStepWithItsEntries) {
    OwningBuilder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(10, 0);
    Element* seg = b.make(Method::Segment, a, c);
    Element* mid = b.make(Method::Midpoint, a, c);
    recalcUpTo(b.doc);
    b.doc.traceList = {a, mid};
    b.doc.animations.push_back({seg, {1, 0, 15}});
    b.doc.modified = 0;
    EXPECT_TRUE(cutAfter(b.doc, c));
    EXPECT_EQ(b.doc.tail, c);
    EXPECT_EQ(c->next, nullptr);
    EXPECT_EQ(b.doc.elementCount(), 2);
    EXPECT_EQ(b.doc.traceList, std::vector<Element*>{a});
    EXPECT_TRUE(b.doc.animations.empty());
    EXPECT_EQ(b.doc.modified, 1);
    EXPECT_FALSE(cutAfter(b.doc, c)); // at the end nothing goes
}

TEST(Replay, TimerIntervalsOfTheIntervalList) {
    const int expected[] = {100, 200,  300,  400,  500,  600,  700,  800,
                            900, 1000, 2000, 3000, 4000, 5000, 10000};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(replayIntervalMs(i), expected[i]) << i;
}

} // namespace
} // namespace qorv
