// The conic through five points: fit, classification, reduction and the samples that trace it.
// Coefficients are those of A y^2 + B x y + C x^2 + D y + E x + F = 0, in that order.
#pragma once

#include "model/document.h"

#include <array>

namespace qorv {

namespace ConicType {
enum : int32_t {
    None = 0, // no real curve
    Ellipse = 1,
    Hyperbola = 2,
    Parabola = 3,
    CrossingLines = 4,
    ParallelLines = 5, // or another degenerate parabolic case
};
}

// How far along its axis from the vertex the samples of each arm of a parabola or hyperbola
// reach (the last one lies at 2.5 * 60^2, and at 30^3 / 3 beyond the vertex).
constexpr double ConicArmReach = 9000.0;

using ConicCoefficients = std::array<double, 6>;
using ConicSamples = std::array<Point2, ConicTail::SampleCount>;

// Value of the conic's polynomial at p.
double conicValue(const ConicCoefficients& c, Point2 p);

// Fits the conic through five points, fixing A = 1, else B = 1, else C = 1. False when no
// normalisation gives a solution.
bool fitConic(const Point2 (&pts)[5], ConicCoefficients& out);

// Type from the discriminant, the determinant and the collinearity of the points (1..5).
int32_t classifyConic(const ConicCoefficients& c, const Point2 (&pts)[5]);

// The reduced conic: its own frame (centre or vertex, axis directions) and its sizes.
struct ConicReduction {
    int32_t type = ConicType::None;
    Point2 centre;                 // centre, or vertex of a parabola
    double cosPhi = 1, sinPhi = 0; // direction of the reduced x axis
    double a = 0, b = 0;           // semi-axes (ellipse), transverse and conjugate (hyperbola)
    double p = 0;                  // parabola y^2 = 2 p x
    Point2 toPlane(double x, double y) const {
        return Point2{centre.x + x * cosPhi - y * sinPhi, centre.y + x * sinPhi + y * cosPhi};
    }
};

// Reduces a conic of type 1..3; the reduced type is 0 when there is no real curve.
ConicReduction reduceConic(const ConicCoefficients& c, int32_t type);

// The 120 samples of a conic in curve order. False when it cannot be traced (a type 4 or 5
// without a collinear triple, or a reduction of type 0).
bool sampleConic(const ConicCoefficients& c, int32_t type, const Point2 (&pts)[5],
                 ConicSamples& out, int32_t& reducedType);

// Whether the chord from sample i to sample i+1 (119 to 0) is a jump, not a piece of the curve.
bool conicChordIsGap(int32_t type, int i);

// Method 55.
void recalcConic(Document& doc, Element& e);

} // namespace qorv
