// How far the pointer is from what an element draws, and whether an element lies inside a
// rectangle: the per-kind rules of hit testing and of rubber-band selection. Plain C++; the boxes
// of text-like elements come from the renderer through a callback.
#pragma once

#include "model/element.h"
#include "view/viewtransform.h"

#include <functional>
#include <limits>

namespace qorv {

class Document;

// A rectangle in pixels of the drawing area.
struct PixelBox {
    double x = 0, y = 0, w = 0, h = 0;
    bool contains(double px, double py) const {
        return px >= x && px < x + w && py >= y && py < y + h;
    }
};

// The box a text-like element, text, table, button or bitmap covers on the screen; false when it
// shows nothing.
using BoxQuery = std::function<bool(const Element&, PixelBox&)>;

// A rectangle in world coordinates (left < right, bottom < top).
struct WorldRect {
    double left = 0, bottom = 0, right = 0, top = 0;
    bool contains(Point2 p) const {
        return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top;
    }
    // The rectangle spanned by two corners, in any order.
    static WorldRect spanning(Point2 a, Point2 b);
};

constexpr double FarAway = std::numeric_limits<double>::infinity();

// World distance from p to what a geometric element draws: points, straight elements, polygons
// (their sides; `side` gets the nearest), circles, arcs, angle marks (0 inside the sector), loci,
// function graphs and conics. FarAway for other kinds and for elements without a shape.
double distanceToElement(const Element& e, Point2 p, int* side = nullptr);
// The same for a family locus (whose members are not stored): the nearest member, found by
// re-running the family; stops at the first member nearer than `enough`.
double familyLocusDistance(Document& doc, const Element& locus, Point2 p, double enough);

// The same for the copies an iteration draws: the nearest element of any copy (points only when
// the iteration draws them); stops at the first nearer than `enough`.
double iterationDistance(const Document& doc, const Element& iteration, Point2 p, double enough);

// Whether a drawable element lies wholly inside the rectangle: points by their position, straight
// elements by their defining points, polygons by their vertices, circles, arcs, angle marks,
// conics and loci by their whole drawn extent, text-like elements, texts, tables, buttons and
// bitmaps by their boxes. Lines and rays count by their through-points; axes and grids never lie
// inside.
bool liesInRectangle(const Element& e, const WorldRect& r, const ViewTransform& view,
                     const BoxQuery& boxes);
// The same for a family locus (whose members are not stored): every member lies inside, and
// there is one at least.
bool familyLocusLiesInRectangle(Document& doc, const Element& locus, const WorldRect& r,
                                const ViewTransform& view, const BoxQuery& boxes);

// The elements whose position a drag of the move tool sets directly.
constexpr bool isDraggablePoint(const Element& e) {
    return e.method == Method::FreePoint || e.method == Method::PointOnElement ||
           e.method == Method::GridPoint;
}

} // namespace qorv
