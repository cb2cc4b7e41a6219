// Builds constructions for the geometry tests through the document's own creation path.
#pragma once

#include "construction/builder.h"
#include "geometry/recalc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace qorv::testing {

constexpr double Pi = std::numbers::pi;

struct Builder : OwningBuilder {
    Builder() { recalculate = true; }
    Element* line(Element* a, Element* b) { return make(Method::LineThroughTwoPoints, a, b); }
    Element* segment(Element* a, Element* b) { return make(Method::Segment, a, b); }
    Element* ray(Element* a, Element* b) { return make(Method::RayThroughTwoPoints, a, b); }
    Element* circle(Element* c, Element* p) { return make(Method::CircleCentrePoint, c, p); }
    // Creation keeps the second option only for locus intersections: set it on the element.
    Element* intersection(Element* a, Element* b, int32_t code, int32_t option2 = 0) {
        req.option2 = option2;
        Element* e = OwningBuilder::intersection(a, b, code);
        e->option2 = option2;
        recalcElement(doc, *e);
        return e;
    }
    // A parameter: a number that keeps the value it is given.
    Element* number(double v) {
        req.value[0] = v;
        req.option = HasValue;
        return make(Method::Parameter);
    }
    // Moves a free point and recalculates what depends on it, as a drag does.
    void drag(Element* p, double x, double y) {
        doc.markDescendants(p);
        p->value[0] = x;
        p->value[1] = y;
        p->mark = 1;
        recalcMarked(doc);
    }
    void recalcAll() { recalcUpTo(doc); }
};

// A defined point at (x, y).
inline void expectAt(const Element* p, double x, double y, double tol = 1e-9) {
    ASSERT_EQ(p->defined, 1);
    EXPECT_NEAR(p->value[0], x, tol);
    EXPECT_NEAR(p->value[1], y, tol);
}

inline Point2 pos(const Element* e) {
    return {e->value[0], e->value[1]};
}

// Fills a conic element by hand with the ellipse ((x - cx) / a)^2 + ((y - cy) / b)^2 = 1 and its
// 120 samples counter-clockwise from the positive x semi-axis.
inline void makeEllipse(Element* conic, double cx, double cy, double a, double b) {
    auto* t = conic->tailAs<ConicTail>();
    // Multiply by a^2 b^2 and divide by a^2 so that A = 1: y^2 + (b/a)^2 x^2 ...
    const double q = (b * b) / (a * a);
    t->coefficients[0] = 1;
    t->coefficients[1] = 0;
    t->coefficients[2] = q;
    t->coefficients[3] = -2 * cy;
    t->coefficients[4] = -2 * q * cx;
    t->coefficients[5] = cy * cy + q * cx * cx - b * b;
    t->conicType = 1;
    for (int i = 0; i < ConicTail::SampleCount; ++i) {
        const double th = 2 * Pi * i / ConicTail::SampleCount;
        t->samples[size_t(i)] = {cx + a * std::cos(th), cy + b * std::sin(th)};
    }
    conic->defined = 1;
}

} // namespace qorv::testing
