// The construction the macro tests record, and the answer its macro must give: the circumcentre
// of three points.
#pragma once

#include "construction/builder.h"
#include "geometry/intersectionpoint.h"

namespace qorv::test {

// The circumcentre of a triangle from the coordinates of its vertices.
inline Point2 circumcentre(Point2 a, Point2 b, Point2 c) {
    const double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
    const double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
    return {(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
            (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d};
}

// Three points, the perpendicular bisectors of the first two sides and their crossing.
struct CircumcentreConstruction {
    Element *a, *b, *c, *ab, *bc, *centre;
    CircumcentreConstruction(ConstructionBuilder& build, Point2 pa, Point2 pb, Point2 pc) {
        a = build.point(pa.x, pa.y);
        b = build.point(pb.x, pb.y);
        c = build.point(pc.x, pc.y);
        ab = build.make(Method::PerpendicularBisector, a, b);
        bc = build.make(Method::PerpendicularBisector, b, c);
        bool swap = false;
        centre = build.intersection(ab, bc, intersectionBaseCode(*ab, *bc, swap));
    }
};

} // namespace qorv::test
