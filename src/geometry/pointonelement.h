// Points at a parameter along a curve, and the parameter of the place nearest to a point.
//
// Meaning of the parameter t by the element:
//   line or ray through two points (6, 8)        affine: A + t (B - A)
//   other lines and rays (5, 7, 9..12, 40, 41)   signed distance from A
//   segment, polygon side, vector                fraction 0..1 from A to B
//   polygon with n sides                         0..n, side floor(t) at the fraction t - side
//   circle                                       angle in radians about the centre
//   arc                                          fraction 0..1 from its first point to its third
//   conic                                        0..120 along its 120 samples
//   locus                                        the driver's parameter
//   function graph                               0..1 over its variable's range
#pragma once

#include "model/element.h"

namespace qorv {

class Document;

// The point at parameter t on a line, ray, segment, vector, polygon, circle, arc, conic, locus or
// function graph. Returns false (and leaves `out` alone) when the element gives no point there.
// A locus is evaluated by re-running its construction and a graph by its function, which need
// the document.
bool evaluatePointOnElement(Document& doc, const Element& e, double t, Point2& out);
// The same for every kind except loci and graphs (which give false here).
bool evaluatePointOnElement(const Element& e, double t, Point2& out);

// The parameter of the place of the element nearest to p (the inverse of the above). For a locus
// or graph it is the parameter of the nearest stored sample.
double nearestParameterOnElement(const Element& e, Point2 p);

// Lines and rays whose points are placed on them by a signed distance from their first point
// (the others by the fraction of their two defining points).
bool isParameterisedByDistance(ConstructionMethod m);

} // namespace qorv
