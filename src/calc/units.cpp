// Unit inference: the postfix program run over (base, exponent) pairs instead of numbers.
#include "calc/expression.h"
#include "calc/expression_ops.h"

#include <cmath>
#include <limits>

namespace qorv {

namespace {

namespace Base {
enum : int32_t { None = 0, Length = 1, Angle = 3 };
}

// A unit: base with its exponent, and the number it stands for when that is known (constants
// and what is computed from them), which only matters as an exponent.
struct UnitPair {
    int32_t base = Base::None;
    double exponent = 0.0;
    double value = std::numeric_limits<double>::quiet_NaN();
};

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

UnitPair pairOfClass(int32_t unitClass) {
    switch (unitClass) {
    case UnitClass::Length:
        return {Base::Length, 1.0, kUnknown};
    case UnitClass::Area:
        return {Base::Length, 2.0, kUnknown};
    case UnitClass::Angle:
        return {Base::Angle, 1.0, kUnknown};
    default:
        return {Base::None, 0.0, kUnknown};
    }
}

int32_t classOfPair(const UnitPair& u) {
    if (u.base == Base::Length && u.exponent == 1.0) return UnitClass::Length;
    if (u.base == Base::Length && u.exponent == 2.0) return UnitClass::Area;
    if (u.base == Base::Angle && u.exponent == 1.0) return UnitClass::Angle;
    return UnitClass::None;
}

// Unit class of an element used as a variable. A calculation counts with its stored class so
// that long chains of calculations need no recursion.
int32_t variableClass(const Element* a) {
    if (!a) return UnitClass::None;
    if (a->method == Method::Calculation) return a->unitShown;
    return inferUnitClass(*a);
}

double binaryValue(int32_t code, double a, double b) {
    double r;
    if (std::isnan(a) || std::isnan(b) || !exprops::applyBinary(code, a, b, r)) return kUnknown;
    return r;
}

double unaryValue(int32_t code, double a) {
    double r;
    if (code == Token::Random || std::isnan(a) || !exprops::applyUnary(code, a, AngleUnit::Rad, r))
        return kUnknown;
    return r;
}

bool combine(int32_t code, const UnitPair& a, const UnitPair& b, UnitPair& r) {
    r.value = binaryValue(code, a.value, b.value);
    switch (code) {
    case Token::Plus:
    case Token::Minus:
        if (a.base != b.base || a.exponent != b.exponent) return false;
        r.base = a.base;
        r.exponent = a.exponent;
        return true;
    case Token::Times:
        if (a.base != Base::None && b.base != Base::None) {
            if (a.base != b.base) return false;
            r.base = a.base;
            r.exponent = a.exponent + b.exponent;
        } else if (a.base != Base::None || b.base != Base::None) {
            const UnitPair& u = a.base != Base::None ? a : b;
            r.base = u.base;
            r.exponent = u.exponent;
        } else {
            r.base = Base::None;
            r.exponent = 0.0;
        }
        return true;
    case Token::Divide:
        if (b.base != Base::None) {
            if (a.base != b.base) return false;
            r.base = a.base;
            r.exponent = a.exponent - b.exponent;
        } else {
            r.base = a.base;
            r.exponent = a.exponent;
        }
        return true;
    case Token::Power: {
        if (b.base != Base::None) return false;
        const double e = a.exponent * b.value;
        r.base = a.base;
        r.exponent = std::fabs(e - std::round(e)) <= 1e-8 ? std::round(e) : 0.0;
        return true;
    }
    default:
        return false;
    }
}

void applyFunction(int32_t code, UnitPair& u) {
    const double value = unaryValue(code, u.value);
    switch (code) {
    case Token::Sqr:
        u.exponent = std::trunc(u.exponent / 2.0);
        break;
    case Token::Abs:
    case Token::Int:
    case Token::Ceil:
    case Token::Floor:
    case Token::Round:
    case Token::UnaryMinus:
        break;
    case Token::Acos:
    case Token::Asin:
    case Token::Atan:
    case Token::Asec:
    case Token::Acosec:
    case Token::Acotg:
        u.base = Base::Angle;
        u.exponent = 1.0;
        break;
    default:
        u.base = Base::None;
        u.exponent = 0.0;
        break;
    }
    u.value = value;
}

bool runUnits(std::span<const int32_t> code, std::span<const double> values, int varCount,
              std::span<const Ref> args, const UnitPair& independent, int depth, UnitPair& result) {
    if (depth > MaxCallDepth) return false;
    UnitPair stack[EvalStackSize];
    int top = 0;
    for (const int32_t c : code) {
        if (c == Token::End) break;
        if (c < 0) {
            if (top >= EvalStackSize) return false;
            if (c >= Token::VarR && c <= Token::VarX) {
                stack[top++] = independent;
                continue;
            }
            const int64_t k = -int64_t(c);
            if (k >= int64_t(values.size())) return false;
            if (k <= varCount) {
                if (k > int64_t(args.size())) return false;
                stack[top++] = pairOfClass(variableClass(args[size_t(k - 1)]));
            } else {
                stack[top++] = UnitPair{Base::None, 0.0, values[size_t(k)]};
            }
            continue;
        }
        if (c > Token::Call && c <= Token::Call + MaxFunctions) {
            if (top < 1 || varCount < 0) return false;
            const int64_t index = int64_t(varCount) + (c - Token::Call) - 1;
            if (index >= int64_t(args.size()) || args[size_t(index)] == nullptr) return false;
            const ExpressionTail* t = args[size_t(index)]->tailAs<ExpressionTail>();
            if (!t) return false;
            UnitPair r;
            if (!runUnits(t->exprCode, t->exprValues, t->exprVarCount, t->exprArgs, stack[top - 1],
                          depth + 1, r))
                return false;
            stack[top - 1] = r;
            continue;
        }
        const int32_t p = tokenPriority(c);
        if (p >= 1 && p <= 3) {
            if (top < 2) return false;
            UnitPair r;
            if (!combine(c, stack[top - 2], stack[top - 1], r)) return false;
            stack[top - 2] = r;
            --top;
        } else if (exprops::isUnaryCode(c)) {
            if (top < 1) return false;
            applyFunction(c, stack[top - 1]);
        } else {
            return false;
        }
    }
    if (top != 1) return false;
    result = stack[0];
    return true;
}

} // namespace

int32_t inferUnitClass(const Element& e) {
    if (e.method >= Method::DistancePointPoint && e.method <= Method::PolygonPerimeter)
        return UnitClass::Length;
    if (e.method == Method::CircleArea || e.method == Method::PolygonArea) return UnitClass::Area;
    if (e.method == Method::AngleValue) return UnitClass::Angle;
    if (e.method != Method::Calculation) return UnitClass::None;
    const ExpressionTail* t = e.tailAs<ExpressionTail>();
    if (!t) return UnitClass::None;
    UnitPair r;
    if (!runUnits(t->exprCode, t->exprValues, t->exprVarCount, t->exprArgs, UnitPair{}, 0, r))
        return UnitClass::None;
    return classOfPair(r);
}

void refreshUnitClasses(Element* first) {
    for (Element* e = first; e; e = e->next)
        if (e->method == Method::Calculation) e->unitShown = inferUnitClass(*e);
}

} // namespace qorv
