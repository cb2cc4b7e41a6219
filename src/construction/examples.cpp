#include "construction/examples.h"

#include "construction/builder.h"
#include "construction/create.h"
#include "model/iteration.h"

#include <cmath>

namespace qorv {

namespace {

struct Builder : ConstructionBuilder {
    Document& doc;
    explicit Builder(Document& d) : ConstructionBuilder(d), doc(d) {}

    Element* point(double x, double y, const char* name = nullptr) {
        Element* p = ConstructionBuilder::point(x, y);
        if (name) setName(doc, p, name, opts);
        return p;
    }
    Element* polygon(std::vector<Element*> vertices) {
        return make(Method::Polygon, nullptr, nullptr, nullptr, std::move(vertices));
    }
    Element* conic(std::vector<Element*> points) {
        return make(Method::Conic, nullptr, nullptr, nullptr, std::move(points));
    }
    // A measurement or text-like element placed at a screen-independent world position.
    Element* placed(Element* e, double x, double y) {
        e->value[2] = x;
        e->value[3] = y;
        return e;
    }
    Element* hiddenOriginAxes() {
        Element* o = point(0, 0);
        o->visible = 0;
        return make(Method::Axes, o);
    }
};

void triangle(Builder& b) {
    Element* a = b.point(-160, -100, "A");
    Element* c = b.point(180, -80, "B");
    Element* d = b.point(10, 150, "C");
    Element* tri = b.polygon({a, c, d});
    tri->option = -1;

    // Circumcircle: the perpendicular bisectors meet at the centre.
    Element* m1 = b.make(Method::PerpendicularBisector, a, c);
    Element* m2 = b.make(Method::PerpendicularBisector, c, d);
    m1->shape = m2->shape = LineStyle::Dashed;
    Element* o = b.intersection(m1, m2, 0);
    setName(b.doc, o, "O", b.opts);
    b.make(Method::CircleCentrePoint, o, a);

    // Angle bisectors meet at the incentre.
    Element* bisA = b.make(Method::AngleBisector, c, a, d);
    Element* bisB = b.make(Method::AngleBisector, a, c, d);
    b.make(Method::AngleBisector, a, d, c);
    Element* in = b.intersection(bisA, bisB, 0);
    setName(b.doc, in, "I", b.opts);

    // Measurements.
    b.placed(b.make(Method::DistancePointPoint, a, c), -300, 220);
    b.placed(b.make(Method::PolygonPerimeter, tri), -300, 195);
    b.placed(b.make(Method::PolygonArea, tri), -300, 170);
    Element* angle = b.make(Method::AngleValue, c, a, d);
    b.placed(angle, -300, 145);
    b.make(Method::Angle, c, a, d);

    // The equation of the line through A and C.
    Element* axes = b.hiddenOriginAxes();
    axes->visible = 0;
    Element* line = b.make(Method::LineThroughTwoPoints, a, d);
    line->shape = LineStyle::Dashed;
    b.placed(b.make(Method::LineEquation, line, axes), 120, 220);
}

void conic(Builder& b) {
    // Five points of the ellipse x^2/200^2 + y^2/100^2 = 1 turned by nothing: (200 cos t, 100 sin
    // t).
    const double t[5] = {0.3, 1.2, 2.4, 3.6, 5.0};
    std::vector<Element*> pts;
    const char* names[5] = {"P1", "P2", "P3", "P4", "P5"};
    for (int i = 0; i < 5; ++i)
        pts.push_back(b.point(200 * std::cos(t[i]), 100 * std::sin(t[i]), names[i]));
    Element* k = b.conic(pts);
    Element* axes = b.hiddenOriginAxes();
    b.placed(b.make(Method::ConicEquation, k, axes), -300, 220);
}

void intersections(Builder& b) {
    Element* a = b.point(-220, -120, "A");
    Element* c = b.point(220, 140, "B");
    Element* d = b.point(-200, 150, "C");
    Element* e = b.point(230, -90, "D");
    Element* l1 = b.make(Method::LineThroughTwoPoints, a, c);
    Element* l2 = b.make(Method::LineThroughTwoPoints, d, e);
    b.intersection(l1, l2, 0);

    Element* centre = b.point(-60, 20, "O");
    Element* rim = b.point(60, 20);
    Element* circle = b.make(Method::CircleCentrePoint, centre, rim);
    b.intersection(l1, circle, 6);
    b.intersection(l1, circle, 7);

    Element* centre2 = b.point(80, -20, "Q");
    Element* circle2 = b.make(Method::CircleCentrePoint, centre2, b.point(80, 80));
    b.intersection(circle, circle2, 12);
    b.intersection(circle, circle2, 13);

    std::vector<Element*> pts;
    const double t[5] = {0.2, 1.4, 2.5, 3.9, 5.2};
    for (int i = 0; i < 5; ++i)
        pts.push_back(b.point(250 * std::cos(t[i]), 90 * std::sin(t[i])));
    for (Element* p : pts)
        p->shape = PointShape::Cross;
    Element* k = b.conic(pts);
    b.intersection(k, l2, 24);
    b.intersection(k, l2, 25);
}

// Sierpinski's triangle: the corners P, Q, R are mapped onto each of the three corner triangles
// that the midpoints of the sides cut off, five levels deep; each copy draws its sides and its
// midpoints.
void sierpinski(Builder& b) {
    Element* p[3] = {b.point(0, 300, "P"), b.point(-280, -180, "Q"), b.point(280, -180, "R")};
    Element* mid[3]; // mid[i]: the midpoint of the side from p[i] to the next corner
    for (int i = 0; i < 3; ++i)
        b.make(Method::Segment, p[i], p[(i + 1) % 3]);
    for (int i = 0; i < 3; ++i)
        mid[i] = b.make(Method::Midpoint, p[i], p[(i + 1) % 3]);
    IterationWorkspace ws;
    ws.reset();
    ws.choose(0);
    for (Element* c : p)
        ws.toggle(c);
    // The corner triangle at p[i]: p[i] stays, the two others go to the midpoints beside it.
    for (int i = 0; i < 3; ++i) {
        ws.addDestination();
        for (int k = 0; k < 3; ++k)
            ws.toggle(k == i ? p[i] : mid[k == (i + 1) % 3 ? i : (i + 2) % 3]);
    }
    ws.pendingIterations = 5;
    if (Element* it = createIteration(b.doc, ws, b.opts))
        it->tailAs<IterationTail>()->drawPoints = 0;
}

} // namespace

const std::vector<std::string_view>& exampleNames() {
    static const std::vector<std::string_view> names = {"triangle", "conic", "intersections",
                                                        "sierpinski"};
    return names;
}

bool buildExample(std::string_view name, Document& doc) {
    // The world origin in the middle of a 960 x 660 drawing area.
    doc.left = -480;
    doc.top = 330;
    doc.right = 480;
    doc.bottom = -330;
    Builder b(doc);
    if (name == "triangle")
        triangle(b);
    else if (name == "conic")
        conic(b);
    else if (name == "intersections")
        intersections(b);
    else if (name == "sierpinski")
        sierpinski(b);
    else
        return false;
    return true;
}

} // namespace qorv
