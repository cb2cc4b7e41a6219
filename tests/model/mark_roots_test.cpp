#include "construction/builder.h"

#include <gtest/gtest.h>

using namespace qorv;

// Several elements moved at once: the roots and everything built on any of them is marked,
// nothing else.
TEST(MarkDescendantsOf, MarksTheRootsAndTheUnionOfTheirDescendants) {
    Document doc;
    ConstructionBuilder mk(doc);
    Element* a = mk.point(0, 0);
    Element* b = mk.point(0, 0);
    Element* c = mk.point(0, 0);
    Element* d = mk.point(0, 0);
    Element* ab = mk.make(Method::Segment, a, b);
    Element* cd = mk.make(Method::Segment, c, d);
    Element* mid = mk.make(Method::Midpoint, a, b);
    Element* far = mk.make(Method::Segment, mid, d);
    doc.markDescendantsOf({a, c});
    EXPECT_EQ(a->mark, 1);
    EXPECT_EQ(c->mark, 1);
    EXPECT_EQ(ab->mark, 1);
    EXPECT_EQ(cd->mark, 1);
    EXPECT_EQ(mid->mark, 1);
    EXPECT_EQ(far->mark, 1);
    EXPECT_EQ(b->mark, 0);
    EXPECT_EQ(d->mark, 0);
    // Old marks do not survive a new call.
    doc.markDescendantsOf({d});
    EXPECT_EQ(a->mark, 0);
    EXPECT_EQ(ab->mark, 0);
    EXPECT_EQ(cd->mark, 1);
    EXPECT_EQ(far->mark, 1);
    doc.markDescendantsOf({nullptr});
    EXPECT_EQ(cd->mark, 0);
}
