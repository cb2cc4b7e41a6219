#include "generator.h"
#include "model/document.h"

#include <benchmark/benchmark.h>

namespace {

void BM_BuildMixedConstruction(benchmark::State& state) {
    for (auto _ : state) {
        qorv::Document doc;
        benchmark::DoNotOptimize(qorv::bench::buildMixedConstruction(doc, int(state.range(0))));
    }
}
BENCHMARK(BM_BuildMixedConstruction)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_MarkDescendantsOfTheDriver(benchmark::State& state) {
    qorv::Document doc;
    qorv::Element* driver = qorv::bench::buildMixedConstruction(doc, int(state.range(0)));
    for (auto _ : state) {
        doc.markDescendants(driver);
        benchmark::DoNotOptimize(doc.tail->mark);
    }
}
BENCHMARK(BM_MarkDescendantsOfTheDriver)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
