#include "generator.h"

#include "model/constructionbuilder.h"

#include <cmath>

namespace qorv::bench {

Element* buildMixedConstruction(Document& doc, int elements) {
    ConstructionBuilder mk(doc);
    Element* axes = doc.findAxes(true, mk.opts);
    Element* driver = mk.point(-300, -200);
    Element* anchor = driver;
    int block = 0;
    while (doc.elementCount() < elements) {
        const double dx = double(block % 40) * 15.0 - 300.0;
        const double dy = double(block / 40 % 30) * 12.0 - 180.0;
        Element* a = mk.make(Method::TranslationPoint, anchor, driver, driver);
        Element* b = mk.point(dx + 40, dy + 5);
        Element* c = mk.point(dx + 10, dy + 35);
        Element* ab = mk.make(Method::Segment, a, b);
        Element* bc = mk.make(Method::LineThroughTwoPoints, b, c);
        Element* circle = mk.make(Method::CircleCentrePoint, a, c);
        Element* m = mk.make(Method::Midpoint, a, b);
        Element* perp = mk.make(Method::PerpendicularLine, ab, m);
        mk.make(Method::ParallelLine, ab, c);
        mk.intersection(bc, perp, 0);
        mk.intersection(bc, circle, 6);
        Element* circle2 = mk.make(Method::CircleCentrePoint, b, m);
        mk.intersection(circle, circle2, 12);
        Element* poly = mk.make(Method::Polygon, nullptr, nullptr, nullptr, {a, b, c});
        mk.make(Method::DistancePointPoint, a, b);
        mk.make(Method::PolygonArea, poly);
        mk.make(Method::Angle, a, b, c);
        mk.make(Method::LineEquation, bc, axes);
        mk.make(Method::RayThroughTwoPoints, c, m);
        mk.make(Method::Vector, m, c);
        if (block % 4 == 0) {
            Element* e = mk.point(dx + 50, dy + 20);
            Element* conic = mk.make(Method::Conic, nullptr, nullptr, nullptr, {a, b, c, m, e});
            mk.intersection(conic, bc, 24);
        }
        anchor = m;
        ++block;
    }
    return driver;
}

} // namespace qorv::bench
