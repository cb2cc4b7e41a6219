#include "generator.h"

#include <cmath>

namespace qorv::bench {

namespace {

struct Maker {
    Document& doc;
    CreationOptions opts;
    ElementRequest req;

    Element* make(ConstructionMethod m, Element* p1 = nullptr, Element* p2 = nullptr,
                  Element* p3 = nullptr, int32_t option = -1) {
        req.method = m;
        req.parent1 = p1;
        req.parent2 = p2;
        req.parent3 = p3;
        req.option = option;
        return createElement(doc, req, opts);
    }
    Element* point(double x, double y) {
        req.value[0] = x;
        req.value[1] = y;
        return make(Method::FreePoint);
    }
    Element* withExtra(ConstructionMethod m, std::vector<Element*> extra) {
        req.method = m;
        req.extra = std::move(extra);
        return createElement(doc, req, opts);
    }
};

} // namespace

Element* buildMixedConstruction(Document& doc, int elements) {
    Maker mk{doc, {}, {}};
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
        mk.make(Method::IntersectionPoint, bc, perp, nullptr, 0);
        mk.make(Method::IntersectionPoint, bc, circle, nullptr, 6);
        Element* circle2 = mk.make(Method::CircleCentrePoint, b, m);
        mk.make(Method::IntersectionPoint, circle, circle2, nullptr, 12);
        Element* poly = mk.withExtra(Method::Polygon, {a, b, c});
        mk.make(Method::DistancePointPoint, a, b);
        mk.make(Method::PolygonArea, poly);
        mk.make(Method::Angle, a, b, c);
        mk.make(Method::LineEquation, bc, axes);
        mk.make(Method::RayThroughTwoPoints, c, m);
        mk.make(Method::Vector, m, c);
        if (block % 4 == 0) {
            Element* e = mk.point(dx + 50, dy + 20);
            Element* conic = mk.withExtra(Method::Conic, {a, b, c, m, e});
            mk.make(Method::IntersectionPoint, conic, bc, nullptr, 24);
        }
        anchor = m;
        ++block;
    }
    return driver;
}

} // namespace qorv::bench
