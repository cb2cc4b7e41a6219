// The method table against what creation and the example constructions make of each method.
#include "construction/builder.h"
#include "construction/examples.h"
#include "model/methodtable.h"

#include <gtest/gtest.h>

#include <tuple>
#include <type_traits>
#include <utility>

namespace qorv {
namespace {

// A row is made by one constructor that takes every column, the facts and the id of the name
// included: a row that leaves one out does not compile, and neither does a table of
// Method::Count rows that lacks the row of a new method.
using Columns = std::tuple<ConstructionMethod, ElementKind, const char*, int, TailType, bool,
                           std::array<KindMask, 3>, ThroughPoints, PointParameter, ValueWords,
                           AnimationMove, ElementDialog>;
constexpr size_t ColumnCount = std::tuple_size_v<Columns>;

template <size_t Skip, size_t... I> constexpr bool rowWithout(std::index_sequence<I...>) {
    return std::is_constructible_v<MethodRow,
                                   std::tuple_element_t<(I < Skip ? I : I + 1), Columns>...>;
}
template <size_t... S> constexpr bool anyRowWithoutAColumn(std::index_sequence<S...>) {
    return (rowWithout<S>(std::make_index_sequence<ColumnCount - 1>{}) || ...);
}
template <size_t... I> constexpr bool rowWithEveryColumn(std::index_sequence<I...>) {
    return std::is_constructible_v<MethodRow, std::tuple_element_t<I, Columns>...>;
}
static_assert(rowWithEveryColumn(std::make_index_sequence<ColumnCount>{}));
static_assert(!anyRowWithoutAColumn(std::make_index_sequence<ColumnCount>{}),
              "every column of a method row must be given");
static_assert(!std::is_default_constructible_v<MethodRow>, "a missing row must not compile");

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
