// Loci: resampling over a chain of dependent elements, families, and the drag step of a large
// construction with loci (recalculation only; bench/view/drag_bench.cpp adds the drawing).
#include "construction/builder.h"
#include "generator.h"
#include "geometry/locus.h"
#include "geometry/recalc.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace qorv;

// A point running round a circle drives `units` units of five elements each (a line, its
// perpendicular, a circle, their crossing and a midpoint); the last midpoint is traced.
struct ChainLocus : OwningBuilder {
    Element* driver = nullptr;
    Element* locus = nullptr;
    int dependants = 0;

    ChainLocus(int units, int samples, bool circles = false) {
        recalculate = true;
        Element* centre = point(0, 0);
        req.value[3] = 0.3;
        driver =
            make(Method::PointOnElement, make(Method::CircleCentrePoint, centre, point(80, 0)));
        Element* p = driver;
        for (int k = 0; k < units; ++k) {
            Element* a = point(150 + 10 * (k % 3), 40 - 7 * (k % 5));
            Element* line = make(Method::LineThroughTwoPoints, p, a);
            Element* perp = make(Method::PerpendicularLine, line, p);
            Element* circle = make(Method::CircleCentrePoint, p, a);
            Element* x = intersection(perp, circle, 6);
            p = make(Method::Midpoint, x, a);
            dependants += 5;
        }
        opts.locusPoints = samples;
        Element* traced = circles ? make(Method::CircleCentrePoint, p, centre) : p;
        locus = make(Method::Locus, traced, driver);
        recalcUpTo(doc);
    }
};

[[gnu::noinline]] void resample(Document& doc, Element& locus) {
    sampleLocus(doc, locus);
}

void BM_LocusResample(benchmark::State& state) {
    ChainLocus s(int(state.range(0)) / 5, int(state.range(1)));
    for (auto _ : state) {
        resample(s.doc, *s.locus);
        benchmark::DoNotOptimize(s.locus->tailAs<SampledCurveTail>()->first.data());
    }
    state.counters["dependants"] = s.dependants;
    state.counters["samples"] = s.locus->tailAs<SampledCurveTail>()->count;
}
BENCHMARK(BM_LocusResample)
    ->Args({50, 1000})
    ->ArgNames({"chain", "samples"})
    ->Unit(benchmark::kMillisecond);

// A family of 50 circles (stored sample by sample) over the same chain.
void BM_FamilyOfCircles(benchmark::State& state) {
    ChainLocus s(10, 50, true);
    for (auto _ : state) {
        resample(s.doc, *s.locus);
        benchmark::DoNotOptimize(s.locus->tailAs<SampledCurveTail>()->first.data());
    }
    state.counters["members"] = s.locus->tailAs<SampledCurveTail>()->count;
}
BENCHMARK(BM_FamilyOfCircles)->Unit(benchmark::kMillisecond);

// A family of 50 triangles, not stored: re-run member by member as the drawing and the hit test
// do.
void BM_FamilyOfTrianglesRun(benchmark::State& state) {
    OwningBuilder b;
    b.recalculate = true;
    Element* seg = b.make(Method::Segment, b.point(-100, 0), b.point(100, 0));
    b.req.value[3] = 0.5;
    Element* d = b.make(Method::PointOnElement, seg);
    Element* apex = b.point(0, 80);
    Element* tri = b.make(Method::Polygon, nullptr, nullptr, nullptr, {seg->parent1, d, apex});
    Element* family = b.make(Method::Locus, tri, d);
    struct Count : FamilyVisitor {
        int members = 0;
        bool visit(const Element&) override {
            ++members;
            return true;
        }
    } count;
    for (auto _ : state)
        runFamilyLocus(b.doc, *family, count);
    state.counters["members"] = double(count.members) / double(state.iterations());
}
BENCHMARK(BM_FamilyOfTrianglesRun)->Unit(benchmark::kMicrosecond);

} // namespace
