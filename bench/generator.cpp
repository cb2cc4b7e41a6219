#include "generator.h"

#include "construction/builder.h"
#include "construction/create.h"
#include "geometry/recalc.h"
#include "model/docfile.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace qorv::bench {

namespace {

// Average list elements per block (21, and 3 more every fourth block).
constexpr double ElementsPerBlock = 21.75;
constexpr double SpreadPitch = 160;

} // namespace

Element* buildMixedConstruction(Document& doc, int elements, Layout layout) {
    ConstructionBuilder mk(doc);
    Element* axes = findAxes(doc, true, mk.opts);
    int count = doc.elementCount(); // with the names: the builder counts the rest
    // A text-like element whose text's top-left is at (x, y).
    auto placed = [&](ConstructionMethod m, double x, double y, Element* p1,
                      Element* p2 = nullptr) {
        mk.req.value[2] = x;
        mk.req.value[3] = y;
        return mk.make(m, p1, p2);
    };

    // The grid of blocks.
    const int blocks = std::max(1, int(std::ceil((elements - count - 4) / ElementsPerBlock)));
    int columns = 0;
    double pitchX = SpreadPitch, pitchY = SpreadPitch;
    if (layout == Layout::Spread) {
        columns = std::max(1, int(std::ceil(std::sqrt(double(blocks)))));
    } else {
        // Cells of the view's shape inside a 1800 x 960 area, so that shapes near the border
        // stay in the view.
        columns = std::max(1, int(std::ceil(std::sqrt(blocks * 1800.0 / 960.0))));
        const int rows = std::max(1, (blocks + columns - 1) / columns);
        pitchX = columns > 1 ? 1750.0 / (columns - 1) : 0;
        pitchY = rows > 1 ? 900.0 / (rows - 1) : 0;
    }
    const int rows = (blocks + columns - 1) / columns;
    const double left = -(columns - 1) * pitchX / 2 - 20;
    const double top = (rows - 1) * pitchY / 2 + 10;

    // The driver is the first block's chain point; two hidden steps carry the chain along a row
    // and down to the next one.
    Element* driver = mk.point(left, top);
    Element* stepOrigin = mk.point(left, top - 60);
    Element* stepRight = mk.point(left + pitchX, top - 60);
    Element* stepDown = mk.point(left, top - 60 - pitchY);
    for (Element* s : {stepOrigin, stepRight, stepDown})
        s->visible = 0;

    std::vector<Element*> rowStarts;
    Element* previous = nullptr;
    uint32_t seed = 12345;
    auto jitter = [&seed](double range) { // deterministic, in [-range, range]
        seed = seed * 1664525u + 1013904223u;
        return (double(seed >> 8) / double(1u << 24) * 2 - 1) * range;
    };
    for (int block = 0; count + mk.made < elements; ++block) {
        const int column = block % columns;
        const double x = left + column * pitchX, y = top - (block / columns) * pitchY;
        Element* a = driver;
        if (block > 0)
            a = column > 0
                    ? mk.make(Method::TranslationPoint, previous, stepOrigin, stepRight)
                    : mk.make(Method::TranslationPoint, rowStarts.back(), stepOrigin, stepDown);
        if (column == 0) rowStarts.push_back(a);
        previous = a;
        Element* b = mk.point(x + 40 + jitter(8), y + 5 + jitter(12));
        Element* c = mk.point(x + 10 + jitter(8), y + 35 + jitter(6));
        Element* ab = mk.make(Method::Segment, a, b);
        Element* bc = mk.make(Method::LineThroughTwoPoints, b, c);
        Element* circle = mk.make(Method::CircleCentrePoint, a, c);
        Element* m = mk.make(Method::Midpoint, a, b);
        Element* perp = mk.make(Method::PerpendicularLine, ab, m);
        perp->visible = 0; // a construction line: only its intersection shows
        mk.make(Method::ParallelLine, ab, c);
        mk.intersection(bc, perp, 0);
        mk.intersection(bc, circle, 6);
        Element* circle2 = mk.make(Method::CircleCentrePoint, b, m);
        mk.intersection(circle, circle2, 12);
        Element* poly = mk.make(Method::Polygon, nullptr, nullptr, nullptr, {a, b, c});
        placed(Method::DistancePointPoint, x + 50, y - 8, a, b);
        placed(Method::PolygonArea, x + 50, y - 24, poly);
        mk.make(Method::Angle, a, b, c);
        placed(Method::LineEquation, x - 30, y - 40, bc, axes);
        mk.make(Method::RayThroughTwoPoints, c, m);
        mk.make(Method::Vector, m, c);
        mk.opts.lastClick = {x + 6, y + 6};
        std::string name = "P";
        name += std::to_string(block);
        setName(doc, a, name, mk.opts);
        ++count;
        if (block % 4 == 0) {
            Element* e = mk.point(x + 50 + jitter(5), y + 20 + jitter(5));
            Element* conic = mk.make(Method::Conic, nullptr, nullptr, nullptr, {a, b, c, m, e});
            mk.intersection(conic, bc, 24);
        }
    }
    return driver;
}

Element* saveMixedConstruction(Document& doc, int elements, const std::string& file) {
    Element* driver = buildMixedConstruction(doc, elements);
    doc.left = ViewLeft;
    doc.top = ViewTop;
    recalcUpTo(doc);
    return saveDocument(doc, file) ? driver : nullptr;
}

} // namespace qorv::bench
