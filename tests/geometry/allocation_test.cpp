// A recalculation pass over ordinary elements allocates nothing.
#include "builder.h"

#include "calc/expression.h"
#include "construction/create.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
} // namespace

// Counting replacements of the global allocation functions (only while a test asks for it).
// They pair malloc with free, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace qorv;
using namespace qorv::testing;

TEST(Recalc, PassesAllocateNothing) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(4, 1);
    Element* l = b.line(a, c);
    Element* circle = b.circle(a, b.point(0, 3));
    b.intersection(l, circle, 6);
    b.intersection(l, circle, 7);
    Element* s = b.segment(c, b.point(-2, 5));
    b.intersection(l, s, 1);
    Element* on = b.make(Method::PointOnElement, circle);
    on->value[3] = 1;
    b.make(Method::PerpendicularLine, l, on);
    b.make(Method::ParallelLine, s, on);
    b.make(Method::PerpendicularBisector, a, c);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, on});
    b.make(Method::PolygonArea, poly);
    b.make(Method::PolygonPerimeter, poly);
    b.make(Method::DistancePointLine, on, l);
    b.make(Method::Angle, a, c, on);
    Element* axes = b.make(Method::Axes, a);
    b.make(Method::Coordinates, on, axes);
    setName(b.doc, on, "P", b.opts);
    b.make(Method::Slope, s);
    std::vector<Element*> pts;
    for (int i = 0; i < 5; ++i)
        pts.push_back(b.point(i, 9));
    Element* k = b.make(Method::Conic, nullptr, nullptr, nullptr, pts);
    makeEllipse(k, 0, 0, 6, 4);
    Element* c2 = b.circle(b.point(1, 1), b.point(1, 6));
    b.intersection(k, l, 24);
    b.intersection(l, c2, 7);
    b.intersection(circle, c2, 12);
    b.drag(a, 0.5, 0.25); // leaves marks on a's descendants

    gAllocations = 0;
    gCounting = true;
    for (Element* e = b.doc.head; e; e = e->next)
        if (e->method != Method::Conic) recalcElement(b.doc, *e);
    recalcMarked(b.doc);
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 0);
    // The counter does count: a vector allocates.
    gCounting = true;
    std::vector<int> v(10);
    gCounting = false;
    EXPECT_GT(gAllocations.load(), 0);
}

// Loci, points on them, their crossings (sampled more finely for a while) and function graphs
// reuse their buffers: once a drag step has run, the next allocates nothing.
TEST(Locus, ResamplingAllocatesNothingOnceWarm) {
    Builder b;
    Element* centre = b.point(0, 0);
    Element* on = b.make(Method::PointOnElement, b.circle(centre, b.point(50, 0)));
    Element* fixed = b.point(100, 20);
    Element* locus = b.make(Method::Locus, b.make(Method::Midpoint, on, fixed), on);
    b.make(Method::PointOnElement, locus)->value[3] = 1;
    Element* x = b.intersection(locus, b.line(b.point(-100, 30), b.point(200, 30)), 42, 1);
    Element* axes = b.make(Method::Axes, b.point(0, 0));
    Element* d = b.make(Method::DistancePointPoint, centre, fixed);
    b.req.option = FunctionType::YofX;
    Element* fn = b.make(Method::Function, nullptr, nullptr, nullptr, {d});
    ASSERT_TRUE(compileToTail(*fn->tailAs<ExpressionTail>(), "a*x", std::vector<Element*>{d}, {},
                              FunctionType::YofX));
    b.req.value[1] = -2;
    b.req.value[2] = 2;
    Element* graph = b.make(Method::FunctionGraph, fn, axes);
    b.make(Method::LineEquation, b.line(on, fixed), axes);
    b.drag(fixed, 90, 25);
    ASSERT_EQ(locus->defined, 1);
    ASSERT_EQ(x->defined, 1);
    ASSERT_EQ(graph->defined, 1);

    gAllocations = 0;
    gCounting = true;
    b.drag(fixed, 80, 30);
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 0);
    EXPECT_NEAR(locus->tailAs<SampledCurveTail>()->first[0].x, 65, 1e-9);
}
