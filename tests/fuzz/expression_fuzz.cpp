// libFuzzer target for the expression language. The first four bytes choose the number of
// variables, functions, the function type and the angle unit; the rest is the typed text, and
// is also run as a raw postfix program.
#include "calc/expression.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

using namespace qorv;

namespace {

struct Fixture {
    std::vector<std::unique_ptr<Element>> owned;
    std::vector<Element*> vars;
    std::vector<Element*> fns;
    std::vector<Ref> fnRefs; // the same functions, as a tail holds them
    Fixture() {
        for (int i = 0; i < MaxVariables; ++i) {
            auto e = std::make_unique<Element>();
            e->method = Method::DistancePointPoint + (i % 10);
            e->value[0] = i - 7.5;
            e->option = HasValue;
            e->unitShown = i % 4;
            vars.push_back(e.get());
            owned.push_back(std::move(e));
        }
        for (const char* t : {"X^2-A", "F1(X)/B", "SQR(X)+F2(X)"}) {
            auto e = std::make_unique<Element>();
            e->method = Method::Function;
            e->option = FunctionType::YofX;
            auto tail = std::make_unique<ExpressionTail>();
            if (!compileToTail(*tail, t, std::span<Element* const>(vars.data(), 2), fns,
                               FunctionType::YofX))
                std::abort();
            e->tail = std::move(tail);
            fns.push_back(e.get());
            fnRefs.emplace_back(e.get());
            owned.push_back(std::move(e));
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Fixture fixture;
    if (size < 4) return 0;
    const int v = data[0] % (MaxVariables + 1);
    const int f = data[1] % 4;
    const int32_t type = data[2] % 5;
    EvalContext ctx;
    ctx.angleUnit = data[3] % 3;
    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);

    (void)evaluateNumberText(text, ctx.angleUnit);
    (void)countConstants(text);

    auto e = std::make_unique<Element>();
    e->method = type == 0 ? Method::Calculation : Method::Function;
    e->option = type;
    auto tail = std::make_unique<ExpressionTail>();
    if (compileToTail(*tail, text, std::span<Element* const>(fixture.vars.data(), size_t(v)),
                      std::span<Element* const>(fixture.fns.data(), size_t(f)), type)) {
        if (!checkPostfix(tail->exprCode)) std::abort(); // the compiler's output is always sound
        e->tail = std::move(tail);
        if (recalcExpression(*e, ctx)) {
            ExpressionTail& t = *e->tailAs<ExpressionTail>();
            if (evaluateTail(t, 1.25, ctx) && !std::isfinite(t.exprValues[0])) std::abort();
        }
        (void)inferUnitClass(*e);
    }

    // The same bytes as a stored program, as a corrupt file could hold it.
    std::vector<int32_t> code((size - 4) / sizeof(int32_t));
    if (!code.empty()) std::memcpy(code.data(), data + 4, code.size() * sizeof(int32_t));
    std::vector<double> values(size_t(data[0] % 8), 0.5);
    (void)checkPostfix(code);
    (void)evaluate(code, values, 0.5, data[1] % 3, fixture.fnRefs, ctx);
    return 0;
}
