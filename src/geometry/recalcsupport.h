// Helpers shared by the per-method recalculation functions: reading parents, storing results
// (never a non-finite number), units of measure.
#pragma once

#include "calc/expression.h"
#include "geometry/elementgeometry.h"
#include "model/document.h"

#include <cmath>
#include <numbers>

namespace qorv {

// World unit length counts as one centimetre.
inline double lengthFactor(int32_t lengthUnit) {
    switch (lengthUnit) {
    case LengthUnit::Mm:
        return 10.0;
    case LengthUnit::M:
        return 0.01;
    case LengthUnit::Km:
        return 0.00001;
    default:
        return 1.0;
    }
}

inline double angleFactor(int32_t angleUnit) {
    constexpr double pi = 3.141592653589793;
    switch (angleUnit) {
    case AngleUnit::Deg:
        return 180.0 / pi;
    case AngleUnit::Gra:
        return 200.0 / pi;
    default:
        return 1.0;
    }
}

inline double lengthFactor(const Document& doc) {
    return lengthFactor(doc.lengthUnit);
}
inline double angleFactor(const Document& doc) {
    return angleFactor(doc.angleUnit);
}

// A parent that exists and is defined.
inline bool usable(const Element* p) {
    return p && p->defined;
}

// The value of a number parent; false when it is missing, undefined or has no value (-100).
inline bool numberValueOf(const Element* e, double& v) {
    if (!usable(e) || e->kind() != Kind::Number || e->option == NoValue ||
        !std::isfinite(e->value[0]))
        return false;
    v = e->value[0];
    return true;
}

inline void setUndefined(Element& e) {
    e.defined = 0;
}

// Stores a point's position; a non-finite result makes the element undefined instead.
inline bool storePoint(Element& e, Point2 p) {
    if (!isFinite(p)) {
        e.defined = 0;
        return false;
    }
    e.value[0] = p.x;
    e.value[1] = p.y;
    e.defined = 1;
    return true;
}

// Stores the two points of a straight element or the centre and point of a circle.
inline bool storePair(Element& e, Point2 a, Point2 b) {
    if (!isFinite(a) || !isFinite(b)) {
        e.defined = 0;
        return false;
    }
    e.value[0] = a.x;
    e.value[1] = a.y;
    e.value[2] = b.x;
    e.value[3] = b.y;
    e.defined = 1;
    return true;
}

// Stores a measured value in the document's units: lengths (power 1) and areas (power 2) are
// multiplied by the length factor and divided by the unit length, each to that power; angles are
// multiplied by the angle factor. Magnitudes below 1e-8 become exactly 0.
enum class MeasureUnit { None, Length, Area, Angle };
inline void storeMeasure(const Document& doc, Element& e, double raw, MeasureUnit unit) {
    double v = raw;
    const double unitLength = doc.pixelsPerUnit;
    const double lf = lengthFactor(doc.lengthUnit);
    switch (unit) {
    case MeasureUnit::Length:
        v = raw * lf / unitLength;
        break;
    case MeasureUnit::Area:
        v = raw * lf * lf / (unitLength * unitLength);
        break;
    case MeasureUnit::Angle:
        v = raw * angleFactor(doc.angleUnit);
        break;
    case MeasureUnit::None:
        break;
    }
    if (!std::isfinite(v) ||
        ((unit == MeasureUnit::Length || unit == MeasureUnit::Area) && !(unitLength > 0))) {
        e.defined = 0;
        return;
    }
    if (std::fabs(v) < 1e-8) v = 0.0;
    e.value[0] = v;
    e.option = HasValue;
    e.defined = 1;
}

// Evaluates a function element at x without changing it: its value table's result slot is put
// back, and so are those of the functions it calls (evaluating is not a change of the
// construction, which partial passes leave exactly as it was).
bool evaluateFunctionKeeping(Element& function, double x, double& result, EvalContext ctx);

class ResultKeepingCaller final : public FunctionCaller {
  public:
    bool callFunction(Element& function, double x, double& result,
                      const EvalContext& ctx) override {
        return evaluateFunctionKeeping(function, x, result, ctx);
    }
};

inline bool evaluateFunctionKeeping(Element& function, double x, double& result, EvalContext ctx) {
    ExpressionTail* t = function.tailAs<ExpressionTail>();
    if (!t || t->exprValues.empty()) return false;
    ResultKeepingCaller caller;
    ctx.caller = &caller;
    const double kept = t->exprValues[0];
    const bool ok = evaluateTail(*t, x, ctx);
    result = t->exprValues[0];
    t->exprValues[0] = kept;
    return ok && std::isfinite(result);
}

} // namespace qorv
