// Recalculation of measurements: distances, lengths, perimeter, areas, angles and slope.
#include "geometry/recalcmethods.h"
#include "geometry/recalcsupport.h"
#include "geometry/workbudget.h"

#include "calc/expression.h"

#include <numbers>

namespace qorv {

namespace {

constexpr double Pi = std::numbers::pi;

bool radiusOf(const Element* circle, double& r) {
    Point2 c;
    if (!usable(circle) || circle->kind() != Kind::Circle || !circleOf(*circle, c, r)) return false;
    return true;
}

const PolygonTail* polygonOf(const Element* e) {
    if (!usable(e)) return nullptr;
    const auto* t = e->tailAs<PolygonTail>();
    return t && !t->sides.empty() ? t : nullptr;
}

// Arc length in world units and swept angle. A straight arc passing through infinity has no
// length and an angle of 2 pi.
enum class ArcMeasure { Invalid, Measured, NoLength };
ArcMeasure arcMeasures(const Element& arc, double& length, double& angle) {
    ArcData a;
    length = angle = 0;
    if (!arcDataOf(arc, a)) return ArcMeasure::Invalid;
    if (a.straight) {
        angle = a.beyond ? 2 * Pi : 0;
        length = distance(a.start, a.end);
        return a.beyond ? ArcMeasure::NoLength : ArcMeasure::Measured;
    }
    angle = arcSweep(a);
    length = angle * a.radius;
    return ArcMeasure::Measured;
}

} // namespace

void recalcDistancePointPoint(Document& doc, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) return setUndefined(e);
    storeMeasure(doc, e, distance(positionOf(*e.parent1), positionOf(*e.parent2)),
                 MeasureUnit::Length);
}

void recalcDistancePointLine(Document& doc, Element& e) {
    Point2 a, b;
    if (!usable(e.parent1) || !usable(e.parent2) || !straightPointsOf(*e.parent2, a, b))
        return setUndefined(e);
    if (!(distance(a, b) >= Tol::Distinct)) return setUndefined(e);
    const Point2 p = positionOf(*e.parent1);
    storeMeasure(doc, e, distance(p, footOfPerpendicular(a, b, p)), MeasureUnit::Length);
}

void recalcSegmentLength(Document& doc, Element& e) {
    Point2 a, b;
    if (!usable(e.parent1) || !straightPointsOf(*e.parent1, a, b)) return setUndefined(e);
    storeMeasure(doc, e, distance(a, b), MeasureUnit::Length);
}

void recalcCircleLength(Document& doc, Element& e) {
    double r;
    if (!radiusOf(e.parent1, r)) return setUndefined(e);
    storeMeasure(doc, e, 2 * Pi * r, MeasureUnit::Length);
}

void recalcArcLength(Document& doc, Element& e) {
    if (!usable(e.parent1) || e.parent1->method != Method::ArcThreePoints) return setUndefined(e);
    double length, angle;
    switch (arcMeasures(*e.parent1, length, angle)) {
    case ArcMeasure::Invalid:
        return setUndefined(e);
    case ArcMeasure::NoLength:
        e.option = NoValue;
        e.defined = 1;
        return;
    case ArcMeasure::Measured:
        break;
    }
    storeMeasure(doc, e, length, MeasureUnit::Length);
}

void recalcPolygonPerimeter(Document& doc, Element& e) {
    const PolygonTail* t = polygonOf(e.parent1);
    if (!t) return setUndefined(e);
    double sum = 0;
    for (const auto& s : t->sides)
        sum += distance(firstPointOf(*s), secondPointOf(*s));
    storeMeasure(doc, e, sum, MeasureUnit::Length);
}

void recalcCircleArea(Document& doc, Element& e) {
    double r;
    if (!radiusOf(e.parent1, r)) return setUndefined(e);
    storeMeasure(doc, e, Pi * r * r, MeasureUnit::Area);
}

void recalcPolygonArea(Document& doc, Element& e) {
    const PolygonTail* t = polygonOf(e.parent1);
    if (!t) return setUndefined(e);
    // Shoelace over the vertices in order; side i starts at vertex i.
    double sum = 0;
    for (const auto& s : t->sides)
        sum += cross(firstPointOf(*s), secondPointOf(*s));
    storeMeasure(doc, e, std::fabs(sum) / 2, MeasureUnit::Area);
}

void recalcAngleValue(Document& doc, Element& e) {
    const Element* p1 = e.parent1;
    if (!usable(p1)) return setUndefined(e);
    if (p1->method == Method::ArcThreePoints) {
        double length, angle;
        if (arcMeasures(*p1, length, angle) == ArcMeasure::Invalid) return setUndefined(e);
        storeMeasure(doc, e, angle, MeasureUnit::Angle);
        return;
    }
    if (!usable(e.parent2) || !usable(e.parent3)) return setUndefined(e);
    const Point2 a = positionOf(*p1), v = positionOf(*e.parent2), b = positionOf(*e.parent3);
    if (!(distance(a, v) >= Tol::Distinct) || !(distance(b, v) >= Tol::Distinct))
        return setUndefined(e);
    double angle;
    const bool ok =
        e.value[1] == NotSet ? orientedAngle(a, v, b, angle) : unorientedAngle(a, v, b, angle);
    if (!ok) return setUndefined(e);
    storeMeasure(doc, e, angle, MeasureUnit::Angle);
}

void recalcSlope(Document& doc, Element& e) {
    Point2 a, b;
    if (!usable(e.parent1) || !straightPointsOf(*e.parent1, a, b)) return setUndefined(e);
    const double dx = b.x - a.x;
    if (dx == 0.0) {
        e.option = NoValue; // a vertical element has no slope, yet the number exists
        e.defined = 1;
        return;
    }
    storeMeasure(doc, e, (b.y - a.y) / dx, MeasureUnit::None);
}

void recalcExpressionElement(Document& doc, Element& e) {
    ResultKeepingCaller caller; // the functions it calls keep their own result slots
    EvalContext ctx;
    ctx.angleUnit = doc.angleUnit;
    ctx.caller = &caller;
    // A calculation spends its operation's budget, but always has room for any typed expression.
    int64_t words = std::max(workLeft(doc), LeastEvaluationWork);
    const int64_t allowed = words;
    ctx.words = &words;
    recalcExpression(e, ctx);
    spendWork(doc, allowed - words);
}

} // namespace qorv
