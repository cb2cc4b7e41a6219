#include "model/document.h"

#include <gtest/gtest.h>

using namespace qorv;

// Several elements moved at once: the roots and everything built on any of them is marked,
// nothing else.
TEST(MarkDescendantsOf, MarksTheRootsAndTheUnionOfTheirDescendants) {
    Document doc;
    CreationOptions opts;
    auto point = [&] {
        ElementRequest r;
        r.method = Method::FreePoint;
        return createElement(doc, r, opts);
    };
    auto two = [&](ConstructionMethod m, Element* a, Element* b) {
        ElementRequest r;
        r.method = m;
        r.parent1 = a;
        r.parent2 = b;
        return createElement(doc, r, opts);
    };
    Element* a = point();
    Element* b = point();
    Element* c = point();
    Element* d = point();
    Element* ab = two(Method::Segment, a, b);
    Element* cd = two(Method::Segment, c, d);
    Element* mid = two(Method::Midpoint, a, b);
    Element* far = two(Method::Segment, mid, d);
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
