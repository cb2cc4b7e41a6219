// Point transformations, bisectors, arcs, regular polygons and the zoom's scaling of a
// construction. The recalcXxx functions compute one element from its parents: they set
// `defined`, never store a non-finite number and never throw.
#pragma once

#include "model/document.h"

#include <array>

namespace qorv {

// P turned about C by theta radians (counter-clockwise); P itself when |PC| < 0.0001.
Point2 rotatePoint(Point2 p, Point2 c, double theta);
// C + k (P - C).
Point2 scalePoint(Point2 p, Point2 c, double k);
// The inverse of P in the circle of centre C and radius r; false when P is exactly C.
bool invertPoint(Point2 p, Point2 c, double r, Point2& out);
// Mirror image of P in the line AB; false when A and B are closer than 0.0001.
bool reflectPoint(Point2 p, Point2 a, Point2 b, Point2& out);

// ---- per-method recalculation ------------------------------------------------------------------
void recalcAxialSymmetry(Document& doc, Element& e);        // 22
void recalcRotation(Document& doc, Element& e);             // 24
void recalcHomothety(Document& doc, Element& e);            // 25
void recalcInversion(Document& doc, Element& e);            // 26
void recalcDisplacement(Document& doc, Element& e);         // 27
void recalcPointWithCoordinates(Document& doc, Element& e); // 49
void recalcAngleBisector(Document& doc, Element& e);        // 11
void recalcArc(Document& doc, Element& e);                  // 19
void recalcRegularPolygonVertex(Document& doc, Element& e); // 59

// ---- regular polygons --------------------------------------------------------------------------
struct PolygonShape {
    int sides = 3;   // n
    int density = 1; // k: the sides join every k-th vertex
};

// Star polygons {n/k}: 5 <= n <= 30, 2 <= k < n/2, n and k coprime, by n then k.
constexpr int StarPolygonCount = 110;
const std::array<PolygonShape, StarPolygonCount>& starPolygons();

// The polygon proposed while the pointer is at P, for centre C and first vertex V.
PolygonShape regularPolygonSides(Point2 c, Point2 v, Point2 p);

// Rotation angle of vertex i (1..n-1) of the polygon {n/k}.
double regularVertexAngle(int i, PolygonShape shape);

// ---- zoom ---------------------------------------------------------------------------------------
// Scales the whole construction about z by k (and the unit length when the document asks for
// constant measures while zooming). Dependent elements follow at the next recalculation.
void scaleConstruction(Document& doc, Point2 z, double k);

} // namespace qorv
