// The calculator's engine: the lists of clicked elements and the replacement of an edited
// calculation inside a construction.
#include "calc/calculator.h"
#include "construction/builder.h"
#include "construction/create.h"
#include "geometry/recalc.h"

#include <gtest/gtest.h>

#include <string>

using namespace qorv;

TEST(Calculator, ListsStopAt22VariablesAnd99FunctionsAndInsertNothingMore) {
    OwningBuilder b;
    Calculator calc;
    calc.open(Method::Calculation);
    std::string letters, calls;
    for (int i = 0; i < 23; ++i) {
        b.req.value[0] = i;
        letters += calc.addReference(*b.make(Method::Parameter));
    }
    EXPECT_EQ(letters, "abcdefghijklmnopqstuvz"); // no "r": it is a function variable
    EXPECT_EQ(calc.variables().size(), 22u);
    EXPECT_EQ(calc.addReference(*calc.variables()[2]), "c"); // clicked again: not added again
    Element* first = nullptr;
    for (int i = 0; i < 100; ++i) {
        b.req.option = FunctionType::YofX;
        Element* f = b.make(Method::Function);
        if (!first) first = f;
        calls = calc.addReference(*f);
        if (i == 98) {
            EXPECT_EQ(calls, "f99(");
        }
    }
    EXPECT_EQ(calls, "");
    EXPECT_EQ(calc.functions().size(), 99u);
    EXPECT_EQ(calc.addReference(*first), "f1(");
}

TEST(Calculator, EditKeepsThePlaceOfWhatUsesTheCalculation) {
    OwningBuilder b;
    b.recalculate = true;
    b.req.value[0] = 3;
    Element* p = b.make(Method::Parameter);
    Calculator calc;
    calc.open(Method::Calculation);
    calc.addReference(*p);
    ASSERT_EQ(calc.evaluate("a*2", b.doc), CalcOutcome::Value);
    Element* old = calc.create(b.doc, b.opts, {10, 20});
    recalcElement(b.doc, *old);
    setName(b.doc, old, "r", b.opts);
    Element* centre = b.point(0, 0);
    Element* circle = b.make(Method::CircleRadiusNumberCentre, old, centre);
    ASSERT_TRUE(circle->defined);
    EXPECT_DOUBLE_EQ(circle->value[2], 6 * b.doc.pixelsPerUnit);

    calc.startEditing(*old);
    ASSERT_EQ(calc.evaluate("a+2", b.doc), CalcOutcome::Value);
    ASSERT_TRUE(calc.editAllowed(b.doc));
    Element* e = calc.applyEdit(b.doc, b.opts);
    ASSERT_NE(e, nullptr);
    recalcUpTo(b.doc, nullptr);
    // The new calculation comes after the centre; the circle and the name after it.
    EXPECT_EQ(e->prev, centre);
    EXPECT_EQ(e->next->method, Method::Name);
    EXPECT_EQ(e->next->next, circle);
    EXPECT_EQ(b.doc.nameOf(e), "r");
    EXPECT_EQ(static_cast<Element*>(circle->parent1), e);
    EXPECT_DOUBLE_EQ(e->value[2], 10);
    EXPECT_DOUBLE_EQ(e->value[3], 20);
    EXPECT_DOUBLE_EQ(circle->value[2], 5 * b.doc.pixelsPerUnit);
    EXPECT_EQ(b.doc.elementCount(), 5);

    // Using the circle's length in the edit would put the circle before its own parent.
    Element* length = b.make(Method::CircleLength, circle);
    calc.startEditing(*e);
    calc.addReference(*length);
    ASSERT_EQ(calc.evaluate("a+b", b.doc), CalcOutcome::Value);
    EXPECT_FALSE(calc.editAllowed(b.doc));
    EXPECT_EQ(calc.applyEdit(b.doc, b.opts), nullptr);

    // Deleted behind the calculator's back: the letters and the edit are forgotten.
    b.doc.deleteWithDescendants(e);
    EXPECT_EQ(calc.evaluate("a+b", b.doc), CalcOutcome::Invalid);
    EXPECT_TRUE(calc.variables().empty());
    EXPECT_EQ(calc.editing(), nullptr);
}

// Elements deleted after an evaluation (a cut in the main window) are never named by what the
// calculator makes from that evaluation; forgetMissing reports the result gone.
TEST(Calculator, ResultCompiledWithADeletedElementMakesNothing) {
    for (const bool told : {false, true}) {
        SCOPED_TRACE(told ? "window told" : "not told");
        OwningBuilder b;
        b.req.value[0] = 3;
        Element* p = b.make(Method::Parameter);
        b.req.value[0] = 5;
        Element* q = b.make(Method::Parameter);
        Calculator calc;
        calc.open(Method::Calculation);
        calc.addReference(*p);
        calc.addReference(*q);
        ASSERT_EQ(calc.evaluate("a*2+b", b.doc), CalcOutcome::Value);
        EXPECT_FALSE(calc.forgetMissing(b.doc)); // nothing gone: the result stays
        ASSERT_TRUE(calc.hasResult());
        b.doc.deleteWithDescendants(p);
        if (told) {
            EXPECT_TRUE(calc.forgetMissing(b.doc));
            EXPECT_TRUE(calc.variables().empty());
        }
        EXPECT_EQ(calc.create(b.doc, b.opts, {}), nullptr);
        EXPECT_FALSE(calc.hasResult());
        EXPECT_EQ(b.doc.elementCount(), 1);
        // Editing is refused in the same way.
        calc.clear();
        calc.addReference(*q);
        ASSERT_EQ(calc.evaluate("a", b.doc), CalcOutcome::Value);
        Element* made = calc.create(b.doc, b.opts, {});
        ASSERT_NE(made, nullptr);
        Element* r = b.make(Method::Parameter);
        calc.startEditing(*made);
        EXPECT_EQ(calc.addReference(*r), "b");
        ASSERT_EQ(calc.evaluate("a+b", b.doc), CalcOutcome::Value);
        b.doc.deleteWithDescendants(r);
        if (told) calc.forgetMissing(b.doc);
        EXPECT_FALSE(calc.editAllowed(b.doc));
        EXPECT_EQ(calc.applyEdit(b.doc, b.opts), nullptr);
        ASSERT_EQ(b.doc.elementCount(), 2);
        EXPECT_EQ(made->tailAs<ExpressionTail>()->exprArgs.size(), 1u);
    }
}
