// The method table against what creation and the example constructions make of each method.
#include "model/constructionbuilder.h"
#include "model/examples.h"
#include "model/methodtable.h"

#include <gtest/gtest.h>

namespace qorv {
namespace {

// Every parent of `e` has a kind that its method's row names for that slot.
void expectParentsFitRow(const Element& e) {
    const MethodRow& row = methodRow(e.method);
    const Element* parents[3] = {e.parent1, e.parent2, e.parent3};
    for (int i = 0; i < 3; ++i) {
        if (!parents[i]) continue;
        EXPECT_TRUE(hasKind(row.parents[i], parents[i]->kind()))
            << row.name << ": parent " << i + 1 << " of kind " << parents[i]->kind();
    }
}

TEST(MethodTable, CreationGivesEachMethodTheTailOfItsRow) {
    for (const MethodRow& row : methodTable()) {
        OwningBuilder b;
        Element* p = b.point(1, 2);
        Element* q = b.point(5, 3);
        Element* e = b.make(row.code, p, q, nullptr, {p, q, b.point(0, 7)});
        if (row.tail == TailType::None)
            EXPECT_EQ(e->tail, nullptr) << row.name;
        else
            EXPECT_TRUE(e->tail && e->tail->type == row.tail) << row.name;
    }
}

TEST(MethodTable, ExamplesTakeTheirParentsFromTheKindsOfTheRows) {
    for (auto name : exampleNames()) {
        Document doc;
        ASSERT_TRUE(buildExample(name, doc));
        doc.forEachWithSubs(expectParentsFitRow);
    }
}

} // namespace
} // namespace qorv
