#include "calc/expression.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One function graph's worth of samples: 250 evaluations of a compiled function that calls
// another function.
void BM_EvaluateFunctionSamples(benchmark::State& state) {
    using namespace qorv;
    Element inner;
    inner.method = Method::Function;
    auto innerTail = std::make_unique<ExpressionTail>();
    compileToTail(*innerTail, "SIN(X)^2+COS(X/2)", {}, {}, FunctionType::YofX);
    inner.tail = std::move(innerTail);
    Element* fns[] = {&inner};
    ExpressionTail outer;
    compileToTail(outer, "F1(X)*EXP(-X/10)+SQR(ABS(X))-2^-X", {}, fns, FunctionType::YofX);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < 250; ++i) {
            if (evaluateTail(outer, -5.0 + 10.0 * i / 249.0)) sum += outer.exprValues[0];
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_EvaluateFunctionSamples);

void BM_EvaluateNumberText(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(qorv::evaluateNumberText("2*(3,5+PI)^2-SIN(1)"));
}
BENCHMARK(BM_EvaluateNumberText);

} // namespace
