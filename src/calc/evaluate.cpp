// Evaluating compiled expressions: operators, functions and their domains, the stack machine,
// and the element-level helpers of calculations and functions.
#include "calc/expression.h"
#include "calc/expression_ops.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace qorv {

namespace {

// Degrees and grads per radian.
constexpr double kDegreeFactor = 180.0 / ExpressionPi;
constexpr double kGradFactor = 200.0 / ExpressionPi;

// Magnitudes whose decimal logarithm exceeds this are out of range.
constexpr double kMaxLog10 = 99.0;

double angleFactor(int32_t unit) {
    switch (unit) {
    case AngleUnit::Deg:
        return kDegreeFactor;
    case AngleUnit::Gra:
        return kGradFactor;
    default:
        return 1.0;
    }
}

// 1/d, undefined when d is zero or so small that its reciprocal is out of range.
bool reciprocal(double d, double& r) {
    if (d == 0.0 || std::log10(std::fabs(d)) < -kMaxLog10) return false;
    r = 1.0 / d;
    return true;
}

std::minstd_rand& randomEngine() {
    thread_local std::minstd_rand engine(20240601u);
    return engine;
}

// A random integer 0..32767.
int random15() {
    return int(randomEngine()() % 32768u);
}

// Power of a negative base with a non-integer exponent: real only when the exponent is a
// fraction with an odd denominator below 100.
bool oddRoot(double a, double b, double& r) {
    for (int q = 3; q < 100; q += 2) {
        const double qb = q * b;
        const double p = std::floor(qb);
        const double d = qb - p;
        double numerator;
        if (d < 1e-10)
            numerator = p;
        else if (1.0 - d < 1e-10)
            numerator = p + 1.0;
        else
            continue;
        if (numerator == 0.0) return false;
        const double magnitude = std::pow(std::fabs(a), b);
        r = std::fmod(numerator, 2.0) == 0.0 ? magnitude : -magnitude;
        return true;
    }
    return false;
}

bool power(double a, double b, double& r) {
    if (b == 0.0) {
        r = 1.0;
        return true;
    }
    if (a == 0.0) {
        if (b < 0.0) return false;
        r = 0.0;
        return true;
    }
    if (std::fabs(b * std::log10(std::fabs(a))) > kMaxLog10) return false;
    if (a > 0.0 || b == std::trunc(b)) {
        r = std::pow(a, b);
        return true;
    }
    return oddRoot(a, b, r);
}

} // namespace

namespace exprops {

bool applyBinary(int32_t code, double a, double b, double& r) {
    switch (code) {
    case Token::Plus:
        r = a + b;
        break;
    case Token::Minus:
        r = a - b;
        break;
    case Token::Times:
        if (a != 0.0 && b != 0.0 && std::log10(std::fabs(a)) + std::log10(std::fabs(b)) > kMaxLog10)
            return false;
        r = a * b;
        break;
    case Token::Divide:
        if (b == 0.0) return false;
        if (a != 0.0 && std::log10(std::fabs(a)) - std::log10(std::fabs(b)) > kMaxLog10)
            return false;
        r = a / b;
        break;
    case Token::Power:
        if (!power(a, b, r)) return false;
        break;
    default:
        return false;
    }
    return std::isfinite(r);
}

bool isUnaryCode(int32_t code) {
    const int32_t p = tokenPriority(code);
    return p == 4 || (p == 5 && code < Token::Call);
}

bool applyUnary(int32_t code, double a, int32_t angleUnit, double& r) {
    const double factor = angleFactor(angleUnit);
    switch (code) {
    case Token::UnaryMinus:
        r = -a;
        break;
    case Token::Sin:
        r = std::sin(a / factor);
        break;
    case Token::Cos:
        r = std::cos(a / factor);
        break;
    case Token::Tan:
        r = std::tan(a / factor);
        break;
    case Token::Sec:
        if (!reciprocal(std::cos(a / factor), r)) return false;
        break;
    case Token::Cosec:
        if (!reciprocal(std::sin(a / factor), r)) return false;
        break;
    case Token::Cotg:
        if (!reciprocal(std::tan(a / factor), r)) return false;
        break;
    case Token::Asin:
        if (a < -1.0 || a > 1.0) return false;
        r = std::asin(a) * factor;
        break;
    case Token::Acos:
        if (a < -1.0 || a > 1.0) return false;
        r = std::acos(a) * factor;
        break;
    case Token::Atan:
        r = std::atan(a) * factor;
        break;
    case Token::Asec:
    case Token::Acosec: {
        if (a == 0.0) return false;
        const double t = 1.0 / a;
        if (t < -1.0 || t > 1.0) return false;
        r = (code == Token::Asec ? std::acos(t) : std::asin(t)) * factor;
        break;
    }
    case Token::Acotg:
        if (a == 0.0) return false;
        r = std::atan(1.0 / a) * factor;
        break;
    case Token::Ln:
        if (a <= 0.0) return false;
        r = std::log(a);
        break;
    case Token::Log:
        if (a <= 0.0) return false;
        r = std::log10(a);
        break;
    case Token::Sqr:
        if (a < 0.0) return false;
        r = std::sqrt(a);
        break;
    case Token::Abs:
        r = std::fabs(a);
        break;
    case Token::Int:
        r = std::trunc(a);
        break;
    case Token::Sgn:
        r = a > 0.0 ? 1.0 : (a < 0.0 ? -1.0 : 0.0);
        break;
    case Token::Ceil:
        r = std::ceil(a);
        break;
    case Token::Floor:
        r = std::floor(a);
        break;
    case Token::Round: {
        // Halves go upward: 2.5 gives 3, -2.5 gives -2.
        const double t = std::trunc(a);
        const double d = a - t;
        r = d >= 0.5 ? t + 1.0 : (d < -0.5 ? t - 1.0 : t);
        break;
    }
    case Token::Exp:
        if (std::fabs(a) > 199.0) return false;
        r = std::exp(a);
        break;
    case Token::Sinh:
        if (std::fabs(a) > 199.0) return false;
        r = std::sinh(a);
        break;
    case Token::Cosh:
        if (std::fabs(a) > 199.0) return false;
        r = std::cosh(a);
        break;
    case Token::Tanh:
        r = std::tanh(a);
        break;
    case Token::Sech:
        if (std::fabs(a) > 199.0 || !reciprocal(std::cosh(a), r)) return false;
        break;
    case Token::Cosech:
        if (std::fabs(a) > 199.0 || !reciprocal(std::sinh(a), r)) return false;
        break;
    case Token::Cotgh:
        if (!reciprocal(std::tanh(a), r)) return false;
        break;
    case Token::Random: {
        const double n = std::floor(std::fabs(a) + 0.5);
        const double fraction = random15() / 32767.0;
        r = std::floor(fraction * n + 0.5);
        break;
    }
    // The inverse hyperbolic functions use the library's forms: they equal the logarithmic
    // definitions but stay accurate where those cancel or overflow (large |a|).
    case Token::Asinh:
        r = std::asinh(a);
        break;
    case Token::Acosh:
        if (a < 1.0) return false;
        r = std::acosh(a);
        break;
    case Token::Atanh:
        if (!(a > -1.0 && a < 1.0)) return false;
        r = std::atanh(a);
        break;
    case Token::Asech:
        if (!(a > 0.0 && a <= 1.0)) return false;
        r = std::acosh(1.0 / a);
        break;
    case Token::Acosech:
        if (a == 0.0) return false;
        r = std::asinh(1.0 / a);
        break;
    case Token::Acotgh:
        if (!(std::fabs(a) > 1.0)) return false;
        r = std::atanh(1.0 / a);
        break;
    default:
        return false;
    }
    return std::isfinite(r);
}

} // namespace exprops

void seedExpressionRandom(uint32_t seed) {
    randomEngine().seed(seed == 0 ? 1u : seed);
}

namespace {

// The stack machine; `ctx.words` is the count of words left, shared with the calls.
bool runProgram(std::span<const int32_t> code, std::span<double> values, double x, int varCount,
                std::span<const Ref> args, const EvalContext& ctx) {
    if (values.empty() || ctx.depth > MaxCallDepth) return false;
    double stack[EvalStackSize];
    int top = 0;
    int64_t& words = *ctx.words;
    for (const int32_t c : code) {
        if (c == Token::End) break;
        if (--words < 0) return false;
        if (c < 0) {
            double v;
            if (c >= Token::VarR && c <= Token::VarX) {
                v = x;
            } else {
                const int64_t k = -int64_t(c);
                if (k >= int64_t(values.size())) return false;
                v = values[size_t(k)];
            }
            if (top >= EvalStackSize || !std::isfinite(v)) return false;
            stack[top++] = v;
            continue;
        }
        if (c > Token::Call && c <= Token::Call + MaxFunctions) {
            if (top < 1 || varCount < 0) return false;
            const int64_t index = int64_t(varCount) + (c - Token::Call) - 1;
            if (index >= int64_t(args.size()) || args[size_t(index)] == nullptr) return false;
            EvalContext inner = ctx;
            inner.depth = ctx.depth + 1;
            double r;
            Element& fn = *args[size_t(index)];
            const bool ok = ctx.caller ? ctx.caller->callFunction(fn, stack[top - 1], r, inner)
                                       : evaluateFunctionElement(fn, stack[top - 1], r, inner);
            if (!ok || !std::isfinite(r)) return false;
            stack[top - 1] = r;
            continue;
        }
        const int32_t p = tokenPriority(c);
        if (p >= 1 && p <= 3) {
            if (top < 2) return false;
            double r;
            if (!exprops::applyBinary(c, stack[top - 2], stack[top - 1], r)) return false;
            stack[top - 2] = r;
            --top;
        } else if (exprops::isUnaryCode(c)) {
            if (top < 1) return false;
            if (!exprops::applyUnary(c, stack[top - 1], ctx.angleUnit, stack[top - 1]))
                return false;
        } else {
            return false;
        }
    }
    if (top != 1) return false;
    values[0] = stack[0];
    return true;
}

} // namespace

bool evaluate(std::span<const int32_t> code, std::span<double> values, double x, int varCount,
              std::span<const Ref> args, const EvalContext& ctx) {
    if (ctx.depth > 0 && ctx.words) return runProgram(code, values, x, varCount, args, ctx);
    const int64_t allowed =
        ctx.words ? std::clamp<int64_t>(*ctx.words, 0, MaxEvaluationWords) : MaxEvaluationWords;
    int64_t left = allowed;
    EvalContext own = ctx;
    own.words = &left;
    const bool ok = runProgram(code, values, x, varCount, args, own);
    if (ctx.words) *ctx.words -= allowed - std::max<int64_t>(left, 0);
    return ok;
}

std::optional<double> evaluateNumberText(std::string_view text, int32_t angleUnit) {
    TokenArray tokens, program;
    if (!compileExpression(text, 0, 0, FunctionType::Plain, tokens)) return std::nullopt;
    if (!toPostfix(tokens, program) || !checkPostfix(program.withTerminator())) return std::nullopt;
    // Slot 0 and at most one constant per character.
    std::array<double, MaxExpressionLength + 1> values{};
    const int constants = countConstants(text);
    if (!loadConstants(text, 0, std::span<double>(values.data(), size_t(constants) + 1)))
        return std::nullopt;
    EvalContext ctx;
    ctx.angleUnit = angleUnit;
    if (!evaluate(program.withTerminator(), values, 0.0, 0, {}, ctx)) return std::nullopt;
    return values[0];
}

// ---- compiled expressions of elements ---------------------------------------------------------

bool compileToTail(ExpressionTail& tail, std::string_view text, std::span<Element* const> variables,
                   std::span<Element* const> functions, int32_t type) {
    if (variables.size() > size_t(MaxVariables) || functions.size() > size_t(MaxFunctions))
        return false;
    const int v = int(variables.size());
    const int f = int(functions.size());
    TokenArray tokens, program;
    if (!compileExpression(text, v, f, type, tokens) || !toPostfix(tokens, program) ||
        !checkPostfix(program.withTerminator()))
        return false;
    const int constants = countConstants(text);
    std::vector<double> values(size_t(1 + v + f + constants), 0.0);
    if (!loadConstants(text, v + f, values)) return false;

    tail.exprText = std::string(trimExpressionText(text));
    tail.exprCode.assign(program.code.begin(), program.code.begin() + program.count + 1);
    tail.exprVarCount = v;
    tail.exprArgs.clear();
    tail.exprArgs.insert(tail.exprArgs.end(), variables.begin(), variables.end());
    tail.exprArgs.insert(tail.exprArgs.end(), functions.begin(), functions.end());
    for (Ref& a : tail.exprArgs)
        a.id = a ? a->id : -1;
    tail.exprValues = std::move(values);
    return true;
}

bool setVariableValues(ExpressionTail& tail, std::span<const double> values) {
    const size_t v = size_t(std::max(tail.exprVarCount, 0));
    if (values.size() != v || tail.exprValues.size() < v + 1) return false;
    for (size_t i = 0; i < v; ++i)
        tail.exprValues[i + 1] = values[i];
    return true;
}

bool evaluateTail(ExpressionTail& tail, double x, const EvalContext& ctx) {
    return evaluate(tail.exprCode, tail.exprValues, x, tail.exprVarCount, tail.exprArgs, ctx);
}

bool evaluateFunctionElement(Element& function, double x, double& result, const EvalContext& ctx) {
    ExpressionTail* t = function.tailAs<ExpressionTail>();
    if (!t || !evaluateTail(*t, x, ctx)) return false;
    result = t->exprValues[0];
    return true;
}

bool recalcExpression(Element& e, const EvalContext& ctx) {
    ExpressionTail* t = e.tailAs<ExpressionTail>();
    if (!t) {
        e.defined = 0;
        return false;
    }
    for (const Element* a : t->exprArgs) {
        if (!a || !a->defined) {
            e.defined = 0;
            return false;
        }
    }
    e.defined = 1;
    const size_t v = size_t(std::max(t->exprVarCount, 0));
    bool missing = v > t->exprArgs.size() || t->exprValues.size() < v + 1;
    for (size_t i = 0; i < v && !missing; ++i) {
        const Element& a = *t->exprArgs[i];
        if (a.option == NoValue)
            missing = true;
        else
            t->exprValues[i + 1] = a.value[0];
    }
    if (e.method == Method::Function) {
        // A function of a number without value would be drawn with a stale number.
        if (missing) e.defined = 0;
        return !missing;
    }
    if (missing || !evaluateTail(*t, 0.0, ctx)) {
        e.option = NoValue;
        return false;
    }
    e.value[0] = t->exprValues[0];
    e.option = HasValue;
    return true;
}

} // namespace qorv
