// The recalculation column of the method table (model/methodtable.h): construction method code ->
// recalculation function. It lives with the geometry, which owns those functions, so that the
// model's table does not depend on them.
#include "geometry/conic.h"
#include "geometry/iteration.h"
#include "geometry/measure.h"
#include "geometry/recalc.h"
#include "geometry/recalcmethods.h"
#include "geometry/transforms.h"
#include "model/methodtable.h"

#include <array>
#include <iterator>

namespace qorv {

namespace {

struct RecalcRow {
    ConstructionMethod code;
    RecalcFunction fn;
};

// Row i recalculates method i; the codes follow the model's method table row by row.
constexpr RecalcRow kRecalcRows[] = {
    {Method::FreePoint, recalcKeep}, // keeps the position set by the user
    {Method::PointOnElement, recalcPointOnElement},
    {Method::IntersectionPoint, recalcIntersectionPoint},
    {Method::CentralSymmetryPoint, recalcCentralSymmetry},
    {Method::Midpoint, recalcMidpoint},
    {Method::LineThroughPoint, recalcLineThroughPoint},
    {Method::LineThroughTwoPoints, recalcLineThroughTwoPoints},
    {Method::RayThroughPoint, recalcLineThroughPoint},
    {Method::RayThroughTwoPoints, recalcLineThroughTwoPoints},
    {Method::ParallelLine, recalcParallelLine},
    {Method::PerpendicularLine, recalcPerpendicularLine},
    {Method::AngleBisector, recalcAngleBisector},
    {Method::PerpendicularBisector, recalcPerpendicularBisector},
    {Method::Segment, recalcSegment},
    {Method::Polygon, recalcPolygon},
    {Method::PolygonSide, recalcKeep}, // its polygon recomputes it
    {Method::CircleByCentre, recalcCircleByCentre},
    {Method::CircleCentrePoint, recalcCircleCentrePoint},
    {Method::CircleRadiusCentre, recalcCircleRadiusCentre},
    {Method::ArcThreePoints, recalcArc},
    {Method::Angle, recalcAngle},
    {Method::Locus, recalcLocus},
    {Method::AxialSymmetryPoint, recalcAxialSymmetry},
    {Method::TranslationPoint, recalcTranslation},
    {Method::RotationPoint, recalcRotation},
    {Method::HomothetyPoint, recalcHomothety},
    {Method::InversePoint, recalcInversion},
    {Method::DisplacedPoint, recalcDisplacement},
    {Method::DistancePointPoint, recalcDistancePointPoint},
    {Method::DistancePointLine, recalcDistancePointLine},
    {Method::SegmentLength, recalcSegmentLength},
    {Method::CircleLength, recalcCircleLength},
    {Method::ArcLength, recalcArcLength},
    {Method::PolygonPerimeter, recalcPolygonPerimeter},
    {Method::CircleArea, recalcCircleArea},
    {Method::PolygonArea, recalcPolygonArea},
    {Method::AngleValue, recalcAngleValue},
    {Method::Calculation, recalcExpressionElement},
    {Method::Table, recalcKeep},
    {Method::Axes, recalcAxes},
    {Method::AxisX, recalcKeep}, // its axes recompute it
    {Method::AxisY, recalcKeep},
    {Method::Coordinates, recalcCoordinates},
    {Method::CoordinateX, recalcKeep}, // its coordinates recompute it
    {Method::CoordinateY, recalcKeep},
    {Method::LineEquation, recalcLineEquation},
    {Method::CircleEquation, recalcCircleEquation},
    {Method::Text, recalcKeep},
    {Method::Name, recalcName},
    {Method::PointWithCoordinates, recalcPointWithCoordinates},
    {Method::ParallelCheck, recalcParallelCheck},
    {Method::PerpendicularCheck, recalcPerpendicularCheck},
    {Method::MembershipCheck, recalcMembershipCheck},
    {Method::EquidistanceCheck, recalcEquidistanceCheck},
    {Method::AlignmentCheck, recalcAlignmentCheck},
    {Method::Conic, recalcConic},
    {Method::Slope, recalcSlope},
    {Method::Intersection, recalcKeep}, // the holder of the intersection tool
    {Method::ConicEquation, recalcConicEquation},
    {Method::RegularPolygonVertex, recalcRegularPolygonVertex},
    {Method::RepresentedPoint, recalcRepresentedPoint},
    {Method::Grid, recalcGrid},
    {Method::GridPoint, recalcGridPoint},
    {Method::Parameter, recalcKeep},
    {Method::Function, recalcExpressionElement},
    {Method::FunctionGraph, recalcFunctionGraph},
    {Method::ShowHideButton, recalcKeep},
    {Method::Bitmap, recalcFollowFirstParent},
    {Method::Proportion, recalcProportion},
    {Method::Vector, recalcSegment},
    {Method::MotionButton, recalcKeep},
    {Method::Iteration, prepareIteration},
    {Method::VectorSumPoint, recalcVectorSum},
    {Method::CircleRadiusNumberCentre, recalcCircleRadiusNumber},
};

constexpr bool rowsFollowMethodTable() {
    if (std::size(kRecalcRows) != methodTable().size()) return false;
    for (size_t i = 0; i < std::size(kRecalcRows); ++i)
        if (kRecalcRows[i].code != methodTable()[i].code) return false;
    return true;
}
static_assert(rowsFollowMethodTable(), "one recalculation row per method, in code order");

// The function column alone, for the lookup of every element of every pass.
constexpr auto kRecalcTable = [] {
    std::array<RecalcFunction, Method::Count> fns{};
    for (size_t i = 0; i < fns.size(); ++i)
        fns[i] = kRecalcRows[i].fn;
    return fns;
}();

} // namespace

RecalcFunction recalcFunctionOf(ConstructionMethod m) {
    return isValidMethod(m) ? kRecalcTable[size_t(m)] : nullptr;
}

void recalcKeep(Document&, Element&) {}

} // namespace qorv
