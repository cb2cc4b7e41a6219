// Tick step of coordinate axes and the grid nodes built on it. Plain C++ (no Qt): loci driven by
// grid points and the grid-point tool need the same step and snapping as the drawing.
#pragma once

namespace qorv {

// Distance between two ticks, in axis units, for an axis whose unit is `unitLength` world units:
// the 1-2-5 step b * 10^c derived from 60 / unitLength (see ticks.cpp). 0 for a unit that is not
// positive and finite.
double tickStep(double unitLength);

// Index of the grid node nearest along one axis, for d = (P - O) / (unit * step): the integer
// part of d, moved one step away from zero when the fractional part of |d| exceeds 0.50000001.
long long snapIndex(double d);

} // namespace qorv
