// Points at a parameter along a curve, and the parameter of the place nearest to a point.
#pragma once

#include "model/element.h"

namespace qorv {

// The point at parameter t on a line, ray, segment, vector, polygon, circle, arc, conic or locus.
// Returns false (and leaves `out` alone) when the element gives no point there.
bool evaluatePointOnElement(const Element& e, double t, Point2& out);

// The parameter of the place of the element nearest to p (the inverse of the above).
double nearestParameterOnElement(const Element& e, Point2 p);

} // namespace qorv
