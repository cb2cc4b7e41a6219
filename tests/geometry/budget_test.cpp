// The work budget of an operation: elements that cost far more than one recalculation (long
// programs, chains of calls, graphs and loci inside samplings, iterations of costly copies,
// points on loci out of order) give a coarser result instead of an unbounded one, and ordinary
// constructions keep their samples.
#include "builder.h"

#include "calc/expression.h"
#include "geometry/dxf.h"
#include "geometry/intersectionpoint.h"
#include "geometry/iteration.h"
#include "geometry/workbudget.h"
#include "model/elementcodec.h"

#include <string>

namespace qorv::testing {
namespace {

constexpr int64_t SamplingWork = int64_t(1) << 24; // the share of one sampling

Element* pointOn(Builder& b, Element* host, double t) {
    b.req.value[3] = t;
    return b.make(Method::PointOnElement, host);
}

Element* withSamples(Builder& b, Element* curve, int n) {
    curve->tailAs<SampledCurveTail>()->resize(n);
    recalcElement(b.doc, *curve);
    return curve;
}

// The locus of the midpoint of a point running round a circle and a fixed point.
Element* circleLocus(Builder& b, double cx, int samples) {
    Element* c = b.circle(b.point(cx, 0), b.point(cx + 100, 0));
    Element* d = pointOn(b, c, 0.3);
    return withSamples(
        b, b.make(Method::Locus, b.make(Method::Midpoint, d, b.point(cx + 300, 40)), d), samples);
}

Element* axes(Builder& b) {
    Element* a = b.make(Method::Axes, b.point(0, 0));
    a->tailAs<AxesTail>()->scaleX = a->tailAs<AxesTail>()->scaleY = 40;
    recalcElement(b.doc, *a);
    return a;
}

Element* function(Builder& b, ConstructionMethod m, const std::string& text,
                  std::vector<Element*> vars, std::vector<Element*> functions = {}) {
    const int32_t type = m == Method::Function ? FunctionType::YofX : FunctionType::Plain;
    b.req.option = type;
    b.req.text = text;
    std::vector<Element*> extra = vars;
    extra.insert(extra.end(), functions.begin(), functions.end());
    Element* f = b.make(m, nullptr, nullptr, nullptr, extra);
    EXPECT_TRUE(compileToTail(*f->tailAs<ExpressionTail>(), text, vars, functions, type)) << text;
    recalcElement(b.doc, *f);
    return f;
}

Element* graph(Builder& b, Element* f, Element* ax, int samples) {
    b.req.value[1] = -10;
    b.req.value[2] = 10;
    return withSamples(b, b.make(Method::FunctionGraph, f, ax), samples);
}

Element* iteration(Builder& b, Element* from, Element* to, std::vector<Element*> shown, int count) {
    Element* e = b.iteration(from, to, shown, count);
    recalcElement(b.doc, *e);
    return e;
}

int occurrences(const std::string& text, const std::string& word) {
    int n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

// Work a whole recalculation of the document spends.
int64_t recalculationWork(Document& doc) {
    recalcUpTo(doc);
    return OperationWork - doc.work.left;
}

TEST(WorkBudget, AnIterationShowsWhatDoesNotMoveWithItsCopiesOnce) {
    Builder b;
    Element* locus = circleLocus(b, 0, 1000);
    Element* a = b.point(0, 0);
    Element* image = b.make(Method::Midpoint, a, b.point(200, 0));
    Element* it = iteration(b, a, image, {locus}, 200);
    ASSERT_EQ(walkIteration(b.doc, *it, nullptr), 200);
    const std::string dxf = dxfText(b.doc);
    // The locus itself and once in the copies (a closed polyline repeats its first vertex).
    EXPECT_LE(occurrences(dxf, "VERTEX"), 2 * 1001);
    EXPECT_GE(occurrences(dxf, "VERTEX"), 2 * 900);
}

TEST(WorkBudget, ChainsOfCallsAndLongProgramsAreBounded) {
    Builder b;
    // F2 .. F7 each call the previous one ten times: a million calls of F1(1).
    Element* f = function(b, Method::Function, "X", {});
    for (int k = 2; k <= 7; ++k) {
        std::string text = "F1(X)";
        for (int i = 1; i < 10; ++i)
            text += "+F1(X)";
        f = function(b, Method::Function, text, {}, {f});
    }
    Element* f6 = f->tailAs<ExpressionTail>()->exprArgs[0];
    Element* small = function(b, Method::Calculation, "F1(1)", {}, {f6}); // 10^5 calls
    Element* large = function(b, Method::Calculation, "F1(1)", {}, {f});
    EXPECT_EQ(small->option, HasValue);
    EXPECT_EQ(small->value[0], 1e5);
    EXPECT_EQ(large->option, NoValue);

    // A function of 1,000 sine words, as only a file can hold: its graph is sampled coarsely.
    Element* g = function(b, Method::Function, "SIN(X)", {});
    auto& code = g->tailAs<ExpressionTail>()->exprCode;
    code.assign(1, Token::VarX);
    code.insert(code.end(), 999, Token::Sin);
    code.push_back(Token::End);
    const Element* sines = graph(b, g, axes(b), MaxCurveSamples);
    const int n = sines->tailAs<SampledCurveTail>()->count;
    EXPECT_LE(int64_t(n) * 1000, SamplingWork);
    EXPECT_GE(int64_t(n) * 1000, SamplingWork / 2);
    // Its first sample is sin applied 999 times to -10.
    double v = -10;
    for (int i = 0; i < 999; ++i)
        v = std::sin(v);
    EXPECT_NEAR(sines->tailAs<SampledCurveTail>()->first[0].y, 40 * v, 1e-9);
}

TEST(WorkBudget, ALocusOverTheGraphOfAFunctionOfItsDriverCountsTheGraphsSamples) {
    Builder b;
    Element* k = b.number(0.5);
    k->tailAs<ParameterTail>()->minimum = 0;
    k->tailAs<ParameterTail>()->maximum = 1;
    Element* g = graph(b, function(b, Method::Function, "A*X^2", {k}), axes(b), 5000);
    Element* p = pointOn(b, g, 0.7);
    Element* locus = withSamples(b, b.make(Method::Locus, p, k), 5000);
    const int n = locus->tailAs<SampledCurveTail>()->count;
    EXPECT_LT(n, 5000);
    EXPECT_LE(int64_t(n) * 5000, SamplingWork);
    EXPECT_GE(int64_t(n) * 5000 * 8, SamplingWork / 2);
    // The samples still lie on the curve y = a x^2 at x = 4 (axis units), a from 0 to 1.
    const auto& t = *locus->tailAs<SampledCurveTail>();
    for (int i : {0, n / 2, n - 1}) {
        const double a = double(i) / (n - 1);
        EXPECT_NEAR(t.first[size_t(i)].x, 40 * 4, 1e-6);
        EXPECT_NEAR(t.first[size_t(i)].y, 40 * a * 16, 1e-6);
    }
    // An ordinary locus keeps its own count.
    EXPECT_EQ(circleLocus(b, 500, 80)->tailAs<SampledCurveTail>()->count, 80);
}

TEST(WorkBudget, AnIterationCrossingALineWithALocusStopsWhenItsOperationsBudgetIsSpent) {
    Builder b;
    Element* locus = circleLocus(b, 0, 2000);
    Element* a = b.point(150, -300);
    Element* line = b.line(a, b.point(160, 300));
    Element* cut = b.intersection(line, locus, IntersectionCode::Locus);
    ASSERT_EQ(cut->defined, 1);
    Element* image = b.make(Method::Midpoint, a, b.point(100, -300));
    Element* it = iteration(b, a, image, {line, cut}, 8000);
    const int64_t copies = walkIteration(b.doc, *it, nullptr);
    EXPECT_LT(copies, 8000);
    EXPECT_GT(copies, 100);
    // A cheap iteration of as many copies draws them all.
    Element* c = b.point(0, 0);
    EXPECT_EQ(walkIteration(b.doc,
                            *iteration(b, c, b.make(Method::Midpoint, c, b.point(9, 9)), {}, 8000),
                            nullptr),
              8000);
}

TEST(WorkBudget, PointsOnLociWhoseTracedPointComesBeforeTheDriverRunOnlyTheDriver) {
    Builder b;
    std::vector<Element*> traced, points;
    for (int i = 0; i < 16; ++i) {
        Element* locus = circleLocus(b, 10.0 * i, 500);
        traced.push_back(locus->parent1);
        points.push_back(pointOn(b, locus, 0.5));
    }
    // The traced points to the head of the list, before their drivers.
    std::vector<Element*> order = traced;
    for (Element* x = b.doc.head; x; x = x->next)
        if (std::find(traced.begin(), traced.end(), x) == traced.end()) order.push_back(x);
    for (Element* x : order)
        b.doc.unlink(x);
    for (Element* x : order)
        b.doc.append(x);
    EXPECT_LT(recalculationWork(b.doc), 200'000);
    // Each point on a locus is where its traced point is (it does not follow its driver).
    for (size_t i = 0; i < points.size(); ++i)
        if (points[i]->defined) expectAt(points[i], traced[i]->value[0], traced[i]->value[1]);
}

TEST(WorkBudget, AnIterationInsideTheStretchOfAPointOnALocusIsNotCopiedAgain) {
    Builder b;
    circleLocus(b, 500, 20000);
    Element* c = b.circle(b.point(0, 0), b.point(100, 0));
    Element* d = pointOn(b, c, 0.2);
    Element* a = b.point(0, 0);
    iteration(b, a, b.make(Method::Midpoint, a, b.point(10, 10)), {}, 10);
    Element* m = b.make(Method::Midpoint, d, b.point(300, 40));
    Element* locus = withSamples(b, b.make(Method::Locus, m, d), 500);
    Element* p = pointOn(b, locus, 0.5);
    Element* outer = withSamples(
        b, b.make(Method::Locus, b.make(Method::Midpoint, p, b.point(-200, 0)), p), 500);
    EXPECT_EQ(outer->tailAs<SampledCurveTail>()->count, 500);
    // Each sample of the outer locus places p once; copying the construction would cost the
    // 20,000 samples of the first locus each time.
    EXPECT_LT(recalculationWork(b.doc), 2'000'000);
}

} // namespace
} // namespace qorv::testing
