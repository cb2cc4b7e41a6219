// Numeric layer under every construction: distances, directions, angles and polynomial roots.
// Plain doubles in world units (y grows upwards); nothing here allocates or throws.
#pragma once

#include "model/element.h"

#include <cmath>

namespace qorv {

// Tolerances shared by the geometry engine.
namespace Tol {
// Two defining points count as distinct; tangency of a line and a circle; a candidate coincides
// with a shared defining point; the collinearity angle test.
constexpr double Distinct = 0.0001;
// How far beyond a segment's end a straight-straight candidate may lie (times the view scale).
constexpr double SegmentStraight = 0.0001;
// The same for circle-segment and conic-segment candidates (times the view scale).
constexpr double SegmentCurved = 0.001;
// A line whose points differ by at most this in x is solved and ordered by y.
constexpr double Vertical = 0.001;
// A line shorter than this is re-conditioned before a line-line intersection.
constexpr double ShortLine = 0.1;
// Parallel lines; circle-circle tangency; bisector side correction.
constexpr double Parallel = 1e-6;
// Leading coefficient counted as zero; discriminant counted as zero; measures set to 0.
constexpr double Tiny = 1e-8;
// A discriminant at or below this has no real root.
constexpr double NegativeDiscriminant = -1e-5;
// A zero-length direction is replaced by this length.
constexpr double ZeroLength = 1e-12;
} // namespace Tol

inline Point2 operator+(Point2 a, Point2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point2 operator-(Point2 a, Point2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point2 operator*(double k, Point2 a) {
    return {k * a.x, k * a.y};
}
inline double dot(Point2 a, Point2 b) {
    return a.x * b.x + a.y * b.y;
}
inline double cross(Point2 a, Point2 b) {
    return a.x * b.y - a.y * b.x;
}
inline bool isFinite(Point2 p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

double distance(Point2 a, Point2 b);

// The point at signed distance d from a towards b.
Point2 pointAlong(Point2 a, Point2 b, double d);

// The line through p perpendicular to ab: (p, p + (b.y - a.y, -(b.x - a.x))), the direction turned
// a quarter turn clockwise. False when |ab| < 0.0001.
bool perpendicularThrough(Point2 a, Point2 b, Point2 p, Point2& first, Point2& second);

// The line through p parallel to ab: (p, p + (b - a)). False when |ab| < 0.0001.
bool parallelThrough(Point2 a, Point2 b, Point2 p, Point2& first, Point2& second);

// Foot of the perpendicular from p on the line ab (a when a and b coincide).
Point2 footOfPerpendicular(Point2 a, Point2 b, Point2 p);

// Distance from p to the line ab (to a when a and b coincide).
double distanceToLine(Point2 p, Point2 a, Point2 b);

// Polar angle of the direction d in [0, 2pi); d must not be zero.
double polarAngle(Point2 d);

// Angle swept counter-clockwise from ray v->p1 to ray v->p2, in [0, 2pi).
// False when p1 or p2 equals v exactly.
bool orientedAngle(Point2 p1, Point2 v, Point2 p2, double& angle);

// Angle between rays v->p1 and v->p2, in [0, pi]. False when p1 or p2 equals v exactly.
bool unorientedAngle(Point2 p1, Point2 v, Point2 p2, double& angle);

// Any two points closer than 0.0001, or the angle at b within 0.0001 of 0 or pi.
bool areCollinear(Point2 a, Point2 b, Point2 c);

// Real roots of c2 x^2 + c1 x + c0 = 0; returns their number (0, 1 or 2). With two, roots[0] is
// the root (-c1 + sqrt(D)) / (2 c2).
int solveQuadratic(double c2, double c1, double c0, double roots[2]);

// Real roots of c3 x^3 + c2 x^2 + c1 x + c0 = 0 in increasing order; returns their number.
int solveCubic(double c3, double c2, double c1, double c0, double roots[3]);

// True when x lies behind the origin of the ray origin->through: nearer to the origin than to the
// through-point, and its perpendicular foot is not on the stretch between them.
bool isBeyondOrigin(Point2 origin, Point2 through, Point2 x);

} // namespace qorv
