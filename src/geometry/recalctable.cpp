// The method table: construction method code -> recalculation function.
#include "geometry/recalc.h"
#include "geometry/conic.h"
#include "geometry/measure.h"
#include "geometry/recalcmethods.h"
#include "geometry/transforms.h"

#include <array>

namespace qorv {

namespace {

// Not computed yet: loci, function graphs and iterations stay undefined until they land.
constexpr RecalcFunction LocusFn = recalcNotAvailable;                // 21
constexpr RecalcFunction FunctionGraphFn = recalcNotAvailable;        // 65
constexpr RecalcFunction IterationFn = recalcNotAvailable;            // 71

constexpr std::array<RecalcFunction, Method::Count> kRecalcTable = {
    recalcKeep,                  // 0 free point: keeps the position set by the user
    recalcPointOnElement,        // 1
    recalcIntersectionPoint,     // 2
    recalcCentralSymmetry,       // 3
    recalcMidpoint,              // 4
    recalcLineThroughPoint,      // 5
    recalcLineThroughTwoPoints,  // 6
    recalcLineThroughPoint,      // 7 ray through one point
    recalcLineThroughTwoPoints,  // 8 ray through two points
    recalcParallelLine,          // 9
    recalcPerpendicularLine,     // 10
    recalcAngleBisector,             // 11
    recalcPerpendicularBisector, // 12
    recalcSegment,               // 13
    recalcPolygon,               // 14
    recalcKeep,                  // 15 polygon side: its polygon recomputes it
    recalcCircleByCentre,        // 16
    recalcCircleCentrePoint,     // 17
    recalcCircleRadiusCentre,    // 18
    recalcArc,                       // 19
    recalcAngle,                 // 20
    LocusFn,                     // 21
    recalcAxialSymmetry,             // 22
    recalcTranslation,           // 23
    recalcRotation,                  // 24
    recalcHomothety,                 // 25
    recalcInversion,                 // 26
    recalcDisplacement,            // 27
    recalcDistancePointPoint,    // 28
    recalcDistancePointLine,     // 29
    recalcSegmentLength,         // 30
    recalcCircleLength,          // 31
    recalcArcLength,             // 32
    recalcPolygonPerimeter,      // 33
    recalcCircleArea,            // 34
    recalcPolygonArea,           // 35
    recalcAngleValue,            // 36
    recalcExpressionElement,               // 37
    recalcKeep,                  // 38 table
    recalcAxes,                  // 39
    recalcKeep,                  // 40 x axis: its axes recompute it
    recalcKeep,                  // 41 y axis
    recalcCoordinates,           // 42
    recalcKeep,                  // 43 x or r: its coordinates recompute it
    recalcKeep,                  // 44 y or theta
    recalcLineEquation,              // 45
    recalcCircleEquation,            // 46
    recalcKeep,                  // 47 text
    recalcName,                  // 48
    recalcPointWithCoordinates,      // 49
    recalcParallelCheck,             // 50
    recalcPerpendicularCheck,        // 51
    recalcMembershipCheck,           // 52
    recalcEquidistanceCheck,         // 53
    recalcAlignmentCheck,            // 54
    recalcConic,                     // 55
    recalcSlope,                 // 56
    recalcKeep,                  // 57 intersection holder of the tools
    recalcConicEquation,             // 58
    recalcRegularPolygonVertex,      // 59
    recalcRepresentedPoint,      // 60
    recalcGrid,                  // 61
    recalcGridPoint,             // 62
    recalcKeep,                  // 63 parameter
    recalcExpressionElement,                  // 64
    FunctionGraphFn,             // 65
    recalcKeep,                  // 66 show/hide button
    recalcFollowFirstParent,     // 67 bitmap
    recalcProportion,                // 68
    recalcSegment,               // 69 vector
    recalcKeep,                  // 70 motion button
    IterationFn,                 // 71
    recalcVectorSum,             // 72
    recalcCircleRadiusNumber,    // 73
};

} // namespace

RecalcFunction recalcFunctionOf(ConstructionMethod m) {
    return isValidMethod(m) ? kRecalcTable[size_t(m)] : nullptr;
}

void recalcKeep(Document&, Element&) {}

void recalcNotAvailable(Document&, Element& e) {
    e.defined = 0;
}

} // namespace qorv
