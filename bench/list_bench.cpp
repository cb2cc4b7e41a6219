#include "model/document.h"

#include <benchmark/benchmark.h>

namespace {
void BM_CreateFreePoints(benchmark::State& state) {
    const auto n = state.range(0);
    for (auto _ : state) {
        qorv::Document doc;
        qorv::CreationOptions opts;
        qorv::ElementRequest req;
        for (int64_t i = 0; i < n; ++i) {
            req.method = qorv::Method::FreePoint;
            req.value[0] = double(i);
            qorv::createElement(doc, req, opts);
        }
        benchmark::DoNotOptimize(doc.tail);
    }
}
BENCHMARK(BM_CreateFreePoints)->Arg(10000);
} // namespace
