// The method table: construction method code -> recalculation function.
#include "geometry/recalc.h"
#include "geometry/recalcmethods.h"

#include <array>

namespace qorv {

namespace {

// Not wired yet: these computations live with the derived constructions (rotation, homothety,
// inversion, reflection, bisector, arc, regular polygon vertex, conic, displaced point, point
// with coordinates), the measurement texts and property checks, the expression language, loci
// and iteration. Replace an entry by its function when it lands.
constexpr RecalcFunction AngleBisectorFn = recalcNotAvailable;        // 11
constexpr RecalcFunction ArcFn = recalcNotAvailable;                  // 19
constexpr RecalcFunction LocusFn = recalcNotAvailable;                // 21
constexpr RecalcFunction AxialSymmetryFn = recalcNotAvailable;        // 22
constexpr RecalcFunction RotationFn = recalcNotAvailable;             // 24
constexpr RecalcFunction HomothetyFn = recalcNotAvailable;            // 25
constexpr RecalcFunction InversionFn = recalcNotAvailable;            // 26
constexpr RecalcFunction DisplacedPointFn = recalcNotAvailable;       // 27
constexpr RecalcFunction CalculationFn = recalcNotAvailable;          // 37
constexpr RecalcFunction LineEquationFn = recalcNotAvailable;         // 45
constexpr RecalcFunction CircleEquationFn = recalcNotAvailable;       // 46
constexpr RecalcFunction PointWithCoordinatesFn = recalcNotAvailable; // 49
constexpr RecalcFunction ParallelCheckFn = recalcNotAvailable;        // 50
constexpr RecalcFunction PerpendicularCheckFn = recalcNotAvailable;   // 51
constexpr RecalcFunction MembershipCheckFn = recalcNotAvailable;      // 52
constexpr RecalcFunction EquidistanceCheckFn = recalcNotAvailable;    // 53
constexpr RecalcFunction AlignmentCheckFn = recalcNotAvailable;       // 54
constexpr RecalcFunction ConicFn = recalcNotAvailable;                // 55
constexpr RecalcFunction ConicEquationFn = recalcNotAvailable;        // 58
constexpr RecalcFunction RegularPolygonVertexFn = recalcNotAvailable; // 59
constexpr RecalcFunction FunctionFn = recalcNotAvailable;             // 64
constexpr RecalcFunction FunctionGraphFn = recalcNotAvailable;        // 65
constexpr RecalcFunction ProportionFn = recalcNotAvailable;           // 68
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
    AngleBisectorFn,             // 11
    recalcPerpendicularBisector, // 12
    recalcSegment,               // 13
    recalcPolygon,               // 14
    recalcKeep,                  // 15 polygon side: its polygon recomputes it
    recalcCircleByCentre,        // 16
    recalcCircleCentrePoint,     // 17
    recalcCircleRadiusCentre,    // 18
    ArcFn,                       // 19
    recalcAngle,                 // 20
    LocusFn,                     // 21
    AxialSymmetryFn,             // 22
    recalcTranslation,           // 23
    RotationFn,                  // 24
    HomothetyFn,                 // 25
    InversionFn,                 // 26
    DisplacedPointFn,            // 27
    recalcDistancePointPoint,    // 28
    recalcDistancePointLine,     // 29
    recalcSegmentLength,         // 30
    recalcCircleLength,          // 31
    recalcArcLength,             // 32
    recalcPolygonPerimeter,      // 33
    recalcCircleArea,            // 34
    recalcPolygonArea,           // 35
    recalcAngleValue,            // 36
    CalculationFn,               // 37
    recalcKeep,                  // 38 table
    recalcAxes,                  // 39
    recalcKeep,                  // 40 x axis: its axes recompute it
    recalcKeep,                  // 41 y axis
    recalcCoordinates,           // 42
    recalcKeep,                  // 43 x or r: its coordinates recompute it
    recalcKeep,                  // 44 y or theta
    LineEquationFn,              // 45
    CircleEquationFn,            // 46
    recalcKeep,                  // 47 text
    recalcName,                  // 48
    PointWithCoordinatesFn,      // 49
    ParallelCheckFn,             // 50
    PerpendicularCheckFn,        // 51
    MembershipCheckFn,           // 52
    EquidistanceCheckFn,         // 53
    AlignmentCheckFn,            // 54
    ConicFn,                     // 55
    recalcSlope,                 // 56
    recalcKeep,                  // 57 intersection holder of the tools
    ConicEquationFn,             // 58
    RegularPolygonVertexFn,      // 59
    recalcRepresentedPoint,      // 60
    recalcGrid,                  // 61
    recalcGridPoint,             // 62
    recalcKeep,                  // 63 parameter
    FunctionFn,                  // 64
    FunctionGraphFn,             // 65
    recalcKeep,                  // 66 show/hide button
    recalcFollowFirstParent,     // 67 bitmap
    ProportionFn,                // 68
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
