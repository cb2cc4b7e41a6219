#include "geometry/pointonelement.h"

namespace qorv {

// Placeholder until the curve parameterisations land with recalculation.
bool evaluatePointOnElement(const Element&, double, Point2&) { return false; }
double nearestParameterOnElement(const Element&, Point2) { return 0.0; }

} // namespace qorv
