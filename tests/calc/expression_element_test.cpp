// Compiled expressions held by calculation and function elements; unit inference.
#include "calc/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace qorv;

namespace {

struct Elements {
    std::vector<std::unique_ptr<Element>> owned;
    int nextId = 1;

    Element* number(ConstructionMethod m, double v, int32_t unitShown = 0) {
        auto e = std::make_unique<Element>();
        e->method = m;
        e->id = nextId++;
        e->value[0] = v;
        e->option = HasValue;
        e->unitShown = unitShown;
        owned.push_back(std::move(e));
        return owned.back().get();
    }
    // A calculation (37) or function (64) compiled from text; null when the text is invalid.
    Element* expression(ConstructionMethod m, std::string_view text, std::vector<Element*> vars,
                        std::vector<Element*> fns = {}, int32_t type = 0) {
        auto e = std::make_unique<Element>();
        e->method = m;
        e->id = nextId++;
        e->option = type;
        auto t = std::make_unique<ExpressionTail>();
        if (!compileToTail(*t, text, vars, fns, type)) return nullptr;
        e->tail = std::move(t);
        owned.push_back(std::move(e));
        return owned.back().get();
    }
    Element* function(std::string_view text, std::vector<Element*> vars = {},
                      std::vector<Element*> fns = {}, int32_t type = FunctionType::YofX) {
        return expression(Method::Function, text, std::move(vars), std::move(fns), type);
    }
    Element* calculation(std::string_view text, std::vector<Element*> vars = {},
                         std::vector<Element*> fns = {}) {
        Element* e = expression(Method::Calculation, text, std::move(vars), std::move(fns));
        if (e) e->option = HasValue;
        return e;
    }
};

} // namespace

TEST(ExpressionTail, CompileFillsEveryField) {
    Elements els;
    Element* a = els.number(Method::SegmentLength, 3.0);
    Element* b = els.number(Method::Parameter, 4.0);
    Element* f = els.function("X*2");
    ASSERT_TRUE(f);
    ExpressionTail t;
    ASSERT_TRUE(compileToTail(t, "  a*b + f1(2,5) - pi ", std::vector<Element*>{a, b},
                              std::vector<Element*>{f}, 0));
    EXPECT_EQ(t.exprText, "a*b + f1(2,5) - pi");
    EXPECT_EQ(t.exprVarCount, 2);
    std::vector<Element*> args;
    std::vector<int32_t> ids;
    for (const Ref& r : t.exprArgs) {
        args.push_back(r);
        ids.push_back(r.id);
    }
    EXPECT_EQ(args, (std::vector<Element*>{a, b, f}));
    EXPECT_EQ(ids, (std::vector<int32_t>{a->id, b->id, f->id}));
    // 1 + V + F + C slots, constants after the reserved function slot.
    ASSERT_EQ(t.exprValues.size(), 1u + 2 + 1 + 2);
    EXPECT_EQ(t.exprValues[4], 2.5);
    EXPECT_EQ(t.exprValues[5], 3.141592653589793);
    ASSERT_FALSE(t.exprCode.empty());
    EXPECT_EQ(t.exprCode.back(), 0);
    EXPECT_TRUE(checkPostfix(t.exprCode));

    ASSERT_TRUE(setVariableValues(t, std::vector<double>{3.0, 4.0}));
    ASSERT_TRUE(evaluateTail(t, 0.0));
    EXPECT_DOUBLE_EQ(t.exprValues[0], 3.0 * 4.0 + 5.0 - 3.141592653589793);
    EXPECT_FALSE(setVariableValues(t, std::vector<double>{1.0}));

    // An invalid text leaves the tail as it was.
    const auto before = t.exprCode;
    EXPECT_FALSE(compileToTail(t, "a*c", std::vector<Element*>{a, b}, {}, 0));
    EXPECT_EQ(t.exprCode, before);
    EXPECT_EQ(t.exprText, "a*b + f1(2,5) - pi");
    std::vector<Element*> tooMany(23, a);
    EXPECT_FALSE(compileToTail(t, "a", tooMany, {}, 0));
}

TEST(ExpressionTail, FunctionCallsEvaluateOtherFunctions) {
    Elements els;
    Element* a = els.number(Method::Parameter, 1.0);
    Element* f1 = els.function("X^2+A", {a});
    ASSERT_TRUE(f1);
    Element* f2 = els.function("F1(X)*2", {}, {f1});
    ASSERT_TRUE(f2);
    Element* c = els.calculation("F2(3)+F1(1)", {}, {f1, f2});
    ASSERT_TRUE(c);
    // The function's variable value comes from its own value table.
    ASSERT_TRUE(recalcExpression(*f1));
    ASSERT_TRUE(recalcExpression(*c));
    EXPECT_DOUBLE_EQ(c->value[0], (9.0 + 1.0) * 2.0 + (1.0 + 1.0));
    double r = 0;
    ASSERT_TRUE(evaluateFunctionElement(*f2, -2.0, r));
    EXPECT_DOUBLE_EQ(r, (4.0 + 1.0) * 2.0);

    // A failure inside the called function fails the caller.
    Element* g = els.function("1/X");
    Element* h = els.calculation("F1(0)+1", {}, {g});
    ASSERT_TRUE(g && h);
    EXPECT_FALSE(recalcExpression(*h));
    EXPECT_EQ(h->option, NoValue);
    EXPECT_EQ(h->defined, 1);
}

TEST(ExpressionTail, CallerInterfaceAndCycles) {
    Elements els;
    Element* f = els.function("X+1");
    Element* c = els.calculation("F1(2)*10", {}, {f});
    ASSERT_TRUE(f && c);

    struct Fixed : FunctionCaller {
        Element* seen = nullptr;
        int depth = -1;
        bool callFunction(Element& fn, double x, double& result, const EvalContext& ctx) override {
            seen = &fn;
            depth = ctx.depth;
            result = 100.0 + x;
            return true;
        }
    } caller;
    EvalContext ctx;
    ctx.caller = &caller;
    ASSERT_TRUE(recalcExpression(*c, ctx));
    EXPECT_DOUBLE_EQ(c->value[0], 1020.0);
    EXPECT_EQ(caller.seen, f);
    EXPECT_EQ(caller.depth, 1);

    // A function that calls itself (only a corrupt file can hold one) fails without overflow.
    Element* loop = els.function("F1(X)+1", {}, {f});
    ASSERT_TRUE(loop);
    loop->tailAs<ExpressionTail>()->exprArgs[0] = loop;
    double r = 0;
    EXPECT_FALSE(evaluateFunctionElement(*loop, 1.0, r));
    Element* caller2 = els.calculation("F1(1)", {}, {loop});
    ASSERT_TRUE(caller2);
    EXPECT_EQ(inferUnitClass(*caller2), UnitClass::None);

    // Calling something that is not a compiled function fails.
    Element* plain = els.number(Method::Parameter, 2.0);
    Element* d = els.calculation("F1(1)", {}, {f});
    d->tailAs<ExpressionTail>()->exprArgs[0] = plain;
    EXPECT_FALSE(recalcExpression(*d));
}

TEST(ExpressionTail, RecalcFollowsTheVariables) {
    Elements els;
    Element* a = els.number(Method::Parameter, 6.0);
    Element* b = els.number(Method::Parameter, 3.0);
    Element* c = els.calculation("A/B", {a, b});
    ASSERT_TRUE(c);
    ASSERT_TRUE(recalcExpression(*c));
    EXPECT_EQ(c->value[0], 2.0);
    EXPECT_EQ(c->option, HasValue);

    b->value[0] = 0.0; // division by zero: defined, no value, old value kept
    EXPECT_FALSE(recalcExpression(*c));
    EXPECT_EQ(c->defined, 1);
    EXPECT_EQ(c->option, NoValue);
    EXPECT_EQ(c->value[0], 2.0);

    b->value[0] = 4.0;
    ASSERT_TRUE(recalcExpression(*c));
    EXPECT_EQ(c->value[0], 1.5);

    b->option = NoValue;
    EXPECT_FALSE(recalcExpression(*c));
    EXPECT_EQ(c->option, NoValue);
    EXPECT_EQ(c->defined, 1);

    b->option = HasValue;
    a->defined = 0;
    EXPECT_FALSE(recalcExpression(*c));
    EXPECT_EQ(c->defined, 0);
    a->defined = 1;
    ASSERT_TRUE(recalcExpression(*c));
    EXPECT_EQ(c->defined, 1);

    // A function copies the values but keeps its type in `option`.
    Element* f = els.function("A*X", {a});
    ASSERT_TRUE(f);
    a->value[0] = 5.0;
    ASSERT_TRUE(recalcExpression(*f));
    EXPECT_EQ(f->option, FunctionType::YofX);
    double r = 0;
    ASSERT_TRUE(evaluateFunctionElement(*f, 2.0, r));
    EXPECT_EQ(r, 10.0);
    a->option = NoValue;
    EXPECT_FALSE(recalcExpression(*f));
    EXPECT_EQ(f->defined, 0);
    EXPECT_EQ(f->option, FunctionType::YofX);

    Element bare;
    bare.method = Method::Calculation;
    EXPECT_FALSE(recalcExpression(bare));
    EXPECT_EQ(bare.defined, 0);
}

TEST(ExpressionUnits, MeasuringMethods) {
    Element e;
    for (ConstructionMethod m = 0; m < Method::Count; ++m) {
        e.method = m;
        const int32_t expected = (m >= 28 && m <= 33)   ? 1
                                 : (m == 34 || m == 35) ? 2
                                 : m == 36              ? 3
                                                        : 0;
        EXPECT_EQ(inferUnitClass(e), expected) << m;
    }
}

TEST(ExpressionUnits, CalculationsCombineUnits) {
    Elements els;
    Element* l1 = els.number(Method::SegmentLength, 3.0);
    Element* l2 = els.number(Method::DistancePointPoint, 4.0);
    Element* area = els.number(Method::CircleArea, 9.0);
    Element* angle = els.number(Method::AngleValue, 1.0);
    Element* plain = els.number(Method::Parameter, 2.0);
    const std::vector<Element*> vars = {l1, l2, area, angle, plain}; // A B C D E

    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"A", 1},           {"A*B", 2},      {"A/B", 0},       {"A+B", 1},       {"A-B", 1},
        {"A+C", 0},         {"A+2", 0},      {"A*2", 1},       {"2*A", 1},       {"A/2", 1},
        {"A/E", 1},         {"E/A", 0},      {"A^2", 2},       {"A^3", 0},       {"C/A", 1},
        {"SQR(C)", 1},      {"SQR(A*B)", 1}, {"SQR(A)", 0},    {"C^(1/2)", 1},   {"A^(1/2)", 0},
        {"A^-1*C", 1},      {"A^E", 0},      {"A^A", 0},       {"-A", 1},        {"ABS(A)", 1},
        {"INT(C)", 2},      {"ROUND(D)", 3}, {"ACOS(0,5)", 3}, {"ATAN(A/B)", 3}, {"D", 3},
        {"D*2", 3},         {"D*D", 0},      {"D+ASIN(1)", 3}, {"SIN(D)", 0},    {"LN(A)", 0},
        {"A*D", 0},         {"A/B*C", 2},    {"E", 0},         {"2", 0},         {"A*B/C", 0},
        {"(A+B)*(A-B)", 2}, {"EXP(A)", 0},   {"A*E*E", 1},     {"C-A*B", 2},
    };
    for (const auto& c : cases) {
        Element* calc = els.calculation(c.text, vars);
        ASSERT_TRUE(calc) << c.text;
        EXPECT_EQ(inferUnitClass(*calc), c.expected) << c.text;
    }
}

TEST(ExpressionUnits, CalculationsAndFunctionsAsOperands) {
    Elements els;
    Element* l1 = els.number(Method::SegmentLength, 3.0);
    Element* l2 = els.number(Method::SegmentLength, 5.0);
    Element* square = els.function("X*X");
    Element* prod = els.calculation("A*B", {l1, l2});
    Element* root = els.calculation("SQR(A)", {prod});
    Element* viaFn = els.calculation("F1(A)", {l1}, {square});
    ASSERT_TRUE(square && prod && root && viaFn);
    EXPECT_EQ(inferUnitClass(*viaFn), UnitClass::Area);

    // A calculation used as a variable counts with its stored class, refreshed in list order.
    prod->next = root;
    root->next = viaFn;
    EXPECT_EQ(inferUnitClass(*root), UnitClass::None); // prod's class is still 0
    refreshUnitClasses(prod);
    EXPECT_EQ(prod->unitShown, UnitClass::Area);
    EXPECT_EQ(root->unitShown, UnitClass::Length);
    EXPECT_EQ(viaFn->unitShown, UnitClass::Area);
    EXPECT_EQ(l1->unitShown, 0); // only calculations are refreshed
}

TEST(ExpressionNumberText, DialogFields) {
    EXPECT_EQ(evaluateNumberText("2*(3+4)"), 14.0);
    EXPECT_EQ(evaluateNumberText(" 40 "), 40.0);
    EXPECT_FALSE(evaluateNumberText("A").has_value());
    EXPECT_FALSE(evaluateNumberText("X").has_value());
    EXPECT_FALSE(evaluateNumberText("F1(2)").has_value());
    EXPECT_FALSE(evaluateNumberText("1/0").has_value());
    EXPECT_NEAR(*evaluateNumberText("SIN(30)", AngleUnit::Deg), 0.5, 1e-15);
}
