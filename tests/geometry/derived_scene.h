// A small construction builder for the tests of derived constructions and measurements.
#pragma once

#include "construction/builder.h"

#include <vector>

namespace qorv::test {

struct Scene : OwningBuilder {
    // A numeric element holding v (a parameter), with or without a value.
    Element* number(double v, bool hasValue = true) {
        Element* n = make(Method::Parameter);
        n->value[0] = v;
        n->option = hasValue ? HasValue : NoValue;
        return n;
    }
    // A straight element of the given method through two new free points, its numbers set.
    Element* straight(ConstructionMethod m, double x1, double y1, double x2, double y2) {
        Element* a = point(x1, y1);
        Element* b = point(x2, y2);
        Element* s = make(m, a, b);
        setValues(s, x1, y1, x2, y2);
        return s;
    }
    Element* line(double x1, double y1, double x2, double y2) {
        return straight(Method::LineThroughTwoPoints, x1, y1, x2, y2);
    }
    Element* segment(double x1, double y1, double x2, double y2) {
        return straight(Method::Segment, x1, y1, x2, y2);
    }
    // Circle by centre and point: the point is an element, a defining point on the circle.
    Element* circle(double cx, double cy, double px, double py) {
        Element* c = point(cx, cy);
        Element* p = point(px, py);
        Element* k = make(Method::CircleCentrePoint, c, p);
        setValues(k, cx, cy, px, py);
        return k;
    }
    // Coordinate axes with origin o and unit lengths ux, uy; the axis lines are placed too.
    Element* axes(double ox, double oy, double ux, double uy) {
        Element* o = point(ox, oy);
        Element* ax = make(Method::Axes, o);
        auto* t = ax->tailAs<AxesTail>();
        t->scaleX = ux;
        t->scaleY = uy;
        setValues(t->xAxis.get(), ox, oy, ox + 10, oy);
        setValues(t->yAxis.get(), ox, oy, ox, oy + 10);
        return ax;
    }
    static void setValues(Element* e, double a, double b, double c, double d) {
        e->value[0] = a;
        e->value[1] = b;
        e->value[2] = c;
        e->value[3] = d;
    }
};

} // namespace qorv::test
