// The per-method recalculation functions that the method table (recalctable.cpp) points to.
#pragma once

#include "model/document.h"

namespace qorv {

// Elements that are not recomputed by themselves (free points, sub-elements, texts, tables,
// parameters, buttons, intersection holders): they keep their numbers.
void recalcKeep(Document& doc, Element& e);

// Points
void recalcPointOnElement(Document& doc, Element& e);    // 1
void recalcIntersectionPoint(Document& doc, Element& e); // 2
void recalcCentralSymmetry(Document& doc, Element& e);   // 3
void recalcMidpoint(Document& doc, Element& e);          // 4
void recalcTranslation(Document& doc, Element& e);       // 23
void recalcRepresentedPoint(Document& doc, Element& e);  // 60
void recalcGridPoint(Document& doc, Element& e);         // 62
void recalcVectorSum(Document& doc, Element& e);         // 72

// Straight elements and polygons
void recalcLineThroughPoint(Document& doc, Element& e);      // 5, 7
void recalcLineThroughTwoPoints(Document& doc, Element& e);  // 6, 8
void recalcParallelLine(Document& doc, Element& e);          // 9
void recalcPerpendicularLine(Document& doc, Element& e);     // 10
void recalcPerpendicularBisector(Document& doc, Element& e); // 12
void recalcSegment(Document& doc, Element& e);               // 13, 69
void recalcPolygon(Document& doc, Element& e);               // 14

// Circles, angle, axes, grid, coordinates, names, bitmaps
void recalcCircleByCentre(Document& doc, Element& e);     // 16
void recalcCircleCentrePoint(Document& doc, Element& e);  // 17
void recalcCircleRadiusCentre(Document& doc, Element& e); // 18
void recalcCircleRadiusNumber(Document& doc, Element& e); // 73
void recalcAngle(Document& doc, Element& e);              // 20
void recalcAxes(Document& doc, Element& e);               // 39
void recalcGrid(Document& doc, Element& e);               // 61
void recalcCoordinates(Document& doc, Element& e);        // 42
void recalcName(Document& doc, Element& e);               // 48
void recalcFollowFirstParent(Document& doc, Element& e);  // 67

// Measurements
void recalcDistancePointPoint(Document& doc, Element& e); // 28
void recalcDistancePointLine(Document& doc, Element& e);  // 29
void recalcSegmentLength(Document& doc, Element& e);      // 30
void recalcCircleLength(Document& doc, Element& e);       // 31
void recalcArcLength(Document& doc, Element& e);          // 32
void recalcPolygonPerimeter(Document& doc, Element& e);   // 33
void recalcCircleArea(Document& doc, Element& e);         // 34
void recalcPolygonArea(Document& doc, Element& e);        // 35
void recalcAngleValue(Document& doc, Element& e);         // 36
void recalcSlope(Document& doc, Element& e);              // 56
void recalcExpressionElement(Document& doc, Element& e);  // 37, 64

// Loci and function graphs (locus.cpp)
void recalcLocus(Document& doc, Element& e);         // 21
void recalcFunctionGraph(Document& doc, Element& e); // 65

} // namespace qorv
