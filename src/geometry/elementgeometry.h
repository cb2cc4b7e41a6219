// Reading the geometry of an element from its stored numbers: straight elements, circles, arcs and
// conics, and which points are known to lie on an element by construction.
#pragma once

#include "geometry/intersect.h"
#include "model/element.h"

namespace qorv {

inline Point2 positionOf(const Element& e) {
    return {e.value[0], e.value[1]};
}
inline Point2 firstPointOf(const Element& e) {
    return {e.value[0], e.value[1]};
}
inline Point2 secondPointOf(const Element& e) {
    return {e.value[2], e.value[3]};
}

// Lines, rays, segments, vectors (kinds 1, 2, 3, 23; axis lines and polygon sides included).
bool isStraightKind(ElementKind k);

// The two defining points of a straight element, or of a straight arc (its end points).
bool straightPointsOf(const Element& e, Point2& a, Point2& b);

// The circle of a circle element or the full circle of a curved arc.
bool circleOf(const Element& e, Point2& centre, double& radius);

// What an arc (method 19) is made of. Its ends are the positions of its first and third parents.
struct ArcData {
    Point2 centre;
    double radius = 0;
    Point2 start, end;
    bool ccw = false;      // runs counter-clockwise from start through its second point to end
    bool straight = false; // the three points are collinear
    bool beyond = false;   // straight and passing through infinity (the rest of the line)
};
bool arcDataOf(const Element& arc, ArcData& out);
// Angle swept from start to end in the arc's sense; 0 for a straight arc.
double arcSweep(const ArcData& arc);
// Whether p, a point of the arc's circle (or line when straight), lies between its ends.
bool isOnArc(const ArcData& arc, Point2 p);

// An angle in [0, 2 pi).
double normalizeAngle(double a);

// The mark of an angle element (method 26): a sector about the vertex of radius value[2], from
// the first arm's direction counter-clockwise by `sweep`. Past a straight angle the arms trade
// places unless the full range is asked for, so the mark covers the smaller side. `shown` says
// whether the drawing shows it: both arms at least 3 units long, an angle of at least 0.01 and a
// finite positive radius. False without the three parents.
struct AngleMark {
    Point2 vertex;
    double from = 0, sweep = 0, radius = 0;
    bool shown = false;
};
bool angleMarkOf(const Element& angle, AngleMark& out);

// The conic's coefficients when its type gives a real curve (1..5), a circle's, or the circle
// of a curved arc.
bool conicCoefficientsOf(const Element& e, double k[6]);
// Positions of the defined points a conic goes through (up to 5).
int conicPointPositions(const Element& conic, Point2 out[5]);
// The two lines of a conic of type 4 or 5 (two crossing or parallel lines).
bool isLinePairConic(const Element& e);
bool conicLines(const Element& e, Point2 a[2], Point2 b[2]);

// The frame of coordinate axes (method 39), the one every use of axes takes: coordinates,
// represented and grid points, points given by coordinates, equations, grids and the drawing.
// The origin is the first point of the x axis line, which the axes' recalculation puts on the
// origin point and which axes without an origin point keep as read; the units are the axes'
// two scale values.
struct AxesFrame {
    Point2 origin;
    double unitX = 40.0, unitY = 40.0;
    // Axes without an origin point keep the origin their file gave them: enough to read
    // coordinates off them, not to place a line equation or a point by coordinates.
    bool hasOriginPoint = false;
    Point2 toAxes(Point2 p) const { return {(p.x - origin.x) / unitX, (p.y - origin.y) / unitY}; }
    Point2 toWorld(double u, double v) const {
        return {origin.x + u * unitX, origin.y + v * unitY};
    }
};
// False when `axes` is not defined coordinate axes, or its origin is not finite or a unit is not
// finite and positive.
bool axesFrameOf(const Element* axes, AxesFrame& f);

// Through-points of an element: the points that define it and lie on it. Up to 5.
int throughPointsOf(const Element& e, const Element* out[5]);
// Whether `point` lies on `curve` by construction: a through-point of it, a point on it, or an
// intersection point with it as a parent.
bool liesOnByConstruction(const Element& point, const Element& curve);
// Points known to lie on both elements: 0, 1 or 2 positions.
int sharedDefiningPoints(const Element& a, const Element& b, Point2 out[2]);

} // namespace qorv
