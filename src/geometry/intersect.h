// Intersections of lines, circles and conics given by plain numbers, and the clipping of their
// candidates to segments and rays. Every routine returns the number of candidates it wrote.
//
// Two candidates on a line come in a fixed order: first the one lying further along the line's
// direction (from its first point towards its second). This keeps an intersection point on its own
// branch while the figure is dragged.
#pragma once

#include "geometry/primitives.h"

namespace qorv {

// Conic coefficients, in this order: A y^2 + B x y + C x^2 + D y + E x + F = 0.

double evaluateConic(const double k[6], Point2 p);
// Gradient (dF/dx, dF/dy) of the conic's left-hand side at p.
Point2 conicGradient(const double k[6], Point2 p);
// Coefficients of the circle of centre c and radius r (A = C = 1).
void circleConic(Point2 c, double r, double k[6]);

// Line a1b1 with line a2b2: 0 or 1 point. Short lines (under 0.1) are re-conditioned first;
// parallel lines (slopes within 1e-6, determinant below 1e-6, both vertical) give none.
int intersectLines(Point2 a1, Point2 b1, Point2 a2, Point2 b2, Point2& out);

// Line ab with the circle (c, r): 0, 1 (tangency: the foot of the perpendicular) or 2 points,
// solved from the foot with a unit direction.
int intersectLineCircle(Point2 a, Point2 b, Point2 c, double r, Point2 out[2]);

// Circle (c1, r1) with circle (c2, r2): 0, 1 (tangency) or 2 points, ordered along the chord
// direction, which is c1 - c2 turned a quarter turn clockwise.
int intersectCircles(Point2 c1, double r1, Point2 c2, double r2, Point2 out[2]);

// Line ab with a conic: 0, 1 (a line within 0.0001 of touching it: the point of the line at the
// middle of the chord) or 2 points. The quadratic is written from the middle of the chord with a
// unit direction, so nothing depends on where a and b lie on the line.
int intersectLineConic(Point2 a, Point2 b, const double k[6], Point2 out[2]);

// A frame to pose a pair of curves in: x = origin + scale u. Well chosen, the curves' coefficients
// in it keep their digits however far from the plane's origin the figure lies.
struct ScaledFrame {
    Point2 origin{0, 0};
    double scale = 1;
};
// The frame centred on the bounding box of the points, its scale half the box's diagonal.
ScaledFrame frameAround(const Point2* pts, int n);

// Conic with conic, posed in `frame`, through the degenerate members of their pencil and polished
// by Newton steps: up to 4 points. A point survives when it lies within 0.0001 of both curves;
// survivors closer than that are one point. Two conics whose coefficients agree within 0.0001
// give none. Exchanging the conics gives the same points; they are listed in an order that
// belongs to the first conic: counter-clockwise about its centre starting from the +x
// direction, or along its vertex tangent for a parabola.
int intersectConics(const double k1[6], const double k2[6], const ScaledFrame& frame,
                    Point2 out[4]);
// Conic with the circle (c, r), posed in the circle's own frame; as above.
int intersectConicCircle(const double k[6], Point2 c, double r, Point2 out[4]);

// Whether a candidate x lies on the segment ab, allowing `tol` beyond either end.
bool onSegment(Point2 a, Point2 b, Point2 x, double tol);
// Whether a candidate x lies on the ray from `origin` through `through`.
inline bool onRay(Point2 origin, Point2 through, Point2 x) {
    return !isBeyondOrigin(origin, through, x);
}

} // namespace qorv
