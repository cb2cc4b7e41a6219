// Full and marked recalculation passes over a large construction of points, lines, circles and
// intersections.
#include "construction/builder.h"
#include "generator.h"
#include "geometry/recalc.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace qorv;

struct Chain : OwningBuilder {
    // Units of 12 elements, each linked to the previous one by a segment.
    explicit Chain(int elements) {
        Element* previous = nullptr;
        for (int k = 0; made + 12 <= elements; ++k) {
            Element* a = point(10 + k % 7, 5 + k % 5);
            Element* b = point(-10 - k % 3, -5);
            Element* line = make(Method::LineThroughTwoPoints, a, b);
            Element* mid = make(Method::Midpoint, a, b);
            Element* circle = make(Method::CircleCentrePoint, mid, a);
            intersection(line, circle, 6);
            Element* perp = make(Method::PerpendicularLine, line, mid);
            Element* top = intersection(perp, circle, 6);
            intersection(perp, circle, 7);
            Element* other = make(Method::CircleCentrePoint, top, mid);
            intersection(circle, other, 12);
            make(Method::Segment, top, previous ? previous : a);
            previous = top;
        }
        recalcUpTo(doc);
    }
};

void BM_FullRecalculation(benchmark::State& state) {
    Chain chain(int(state.range(0)));
    for (auto _ : state) {
        recalcUpTo(chain.doc);
        benchmark::DoNotOptimize(chain.doc.tail->value[0]);
    }
    state.SetItemsProcessed(state.iterations() * chain.made);
    int defined = 0;
    for (Element* e = chain.doc.head; e; e = e->next)
        defined += e->defined;
    state.counters["defined"] = double(defined) / chain.made;
}
BENCHMARK(BM_FullRecalculation)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MarkedRecalculation(benchmark::State& state) {
    Chain chain(int(state.range(0)));
    for (Element* e = chain.doc.head; e; e = e->next)
        e->mark = 1;
    for (auto _ : state) {
        chain.doc.head->value[0] += 1e-6;
        recalcMarked(chain.doc);
        benchmark::DoNotOptimize(chain.doc.tail->value[0]);
    }
    state.SetItemsProcessed(state.iterations() * chain.made);
}
BENCHMARK(BM_MarkedRecalculation)->Arg(100000)->Unit(benchmark::kMillisecond);

// The full pass over the mixed construction of the drawing benchmarks (conics, polygons,
// measurements, equations, names).
void BM_FullRecalculationMixed(benchmark::State& state) {
    Document doc;
    bench::buildMixedConstruction(doc, int(state.range(0)));
    recalcUpTo(doc);
    for (auto _ : state) {
        recalcUpTo(doc);
        benchmark::DoNotOptimize(doc.tail->value[0]);
    }
    int count = 0, defined = 0;
    for (Element* e = doc.head; e; e = e->next, ++count)
        defined += e->defined;
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["elements"] = count;
    state.counters["defined"] = double(defined) / count;
}
BENCHMARK(BM_FullRecalculationMixed)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
