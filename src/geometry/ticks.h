// Tick step of coordinate axes and the grid nodes built on it: loci driven by grid points, the
// grid-point tool and the drawing share the same step and snapping.
#pragma once

#include "model/element.h"

namespace qorv {

class Document;

// Distance between two ticks, in axis units, for an axis whose unit is `unitLength` world units:
// the 1-2-5 step b * 10^c derived from 60 / unitLength (see ticks.cpp). 0 for a unit that is not
// positive and finite.
double tickStep(double unitLength);

// Index of the grid node nearest along one axis, for d = (P - O) / (unit * step): the integer
// part of d, moved one step away from zero when the fractional part of |d| exceeds 0.50000001.
long long snapIndex(double d);

// The grid node nearest to p for axes with origin o and unit lengths ux, uy: rectangular nodes
// o + (i sx, j sy), with sx, sy the tick distances in world units.
Point2 snapToRectangularGrid(Point2 p, Point2 o, double ux, double uy);
// Polar nodes: rings of radius k sx about o, each with nodes every delta (pi/6 halved while the
// arc between nodes exceeds 60), the y direction scaled by sy / sx.
Point2 snapToPolarGrid(Point2 p, Point2 o, double ux, double uy);
// The angle between neighbouring nodes on the polar ring of radius r.
double polarNodeAngle(double r);

// The grid node nearest to p of a grid element (method 61), in world coordinates, with its axis
// coordinates (the numbers a point on the grid keeps). False when the grid's axes give no frame.
bool nearestGridNode(const Document& doc, const Element& grid, Point2 p, Point2& node,
                     Point2& axisCoordinates);

} // namespace qorv
