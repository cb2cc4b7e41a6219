// Small documents for the drawing tests: the view shows world [0, 200] x [0, 200] on a 200 x 200
// image, so world (x, y) lands on pixel (x, 200 - y).
#pragma once

#include "construction/builder.h"
#include "construction/create.h"
#include "model/iteration.h"
#include "view/renderer.h"

#include <QImage>

namespace qorv::test {

// An iteration that puts `from` where `to` was, `times` times.
inline Element* iterateOnto(Document& doc, Element* from, Element* to, int times,
                            const CreationOptions& opts) {
    IterationWorkspace ws;
    ws.reset();
    ws.choose(0);
    ws.toggle(from);
    ws.addDestination();
    ws.toggle(to);
    ws.pendingIterations = times;
    return createIteration(doc, ws, opts);
}

struct Scene : OwningBuilder {
    Renderer renderer;

    Scene() {
        doc.left = 0;
        doc.top = 200;
        doc.background = rgb(0, 0, 64);
    }

    Element* point(double x, double y, int shape = 1, Color c = rgb(255, 0, 0)) {
        Element* e = OwningBuilder::point(x, y);
        e->shape = shape;
        e->color = c;
        return e;
    }
    // Line, ray, segment or vector through two new points (internal, so that they never show).
    Element* straight(ConstructionMethod m, double x1, double y1, double x2, double y2,
                      int shape = 1, Color c = rgb(255, 255, 255)) {
        Element* a = point(x1, y1);
        Element* b = point(x2, y2);
        a->visible = b->visible = Internal;
        Element* e = make(m, a, b);
        e->value[0] = x1, e->value[1] = y1, e->value[2] = x2, e->value[3] = y2;
        e->shape = shape;
        e->color = c;
        return e;
    }
    Element* polygon(std::vector<Point2> vertices, Color c, Color fill) {
        std::vector<Element*> v;
        for (Point2 p : vertices) {
            v.push_back(point(p.x, p.y));
            v.back()->visible = 0;
        }
        Element* e = make(Method::Polygon, nullptr, nullptr, nullptr, v);
        e->color = c;
        e->option = fill;
        e->shape = 1;
        auto* t = e->tailAs<PolygonTail>();
        for (size_t i = 0; i < v.size(); ++i) {
            Element* s = t->sides[i].get();
            s->value[0] = v[i]->value[0], s->value[1] = v[i]->value[1];
            s->value[2] = v[(i + 1) % v.size()]->value[0];
            s->value[3] = v[(i + 1) % v.size()]->value[1];
        }
        return e;
    }
    Element* circle(double cx, double cy, double r, Color c, Color fill = -1) {
        Element* centre = point(cx, cy);
        Element* on = point(cx + r, cy);
        centre->visible = on->visible = 0;
        Element* e = make(Method::CircleCentrePoint, centre, on);
        e->value[0] = cx, e->value[1] = cy, e->value[2] = cx + r, e->value[3] = cy;
        e->color = c;
        e->option = fill;
        e->shape = 1;
        return e;
    }
    Element* number(double value, double x, double y) {
        Element* e = make(Method::Calculation);
        e->value[0] = value;
        e->value[2] = x;
        e->value[3] = y;
        e->option = HasValue;
        return e;
    }
    // Axes at (ox, oy) with unit lengths ux, uy (recalculation places the axis lines there).
    Element* axes(double ox, double oy, double ux = 40, double uy = 40,
                  Color c = rgb(200, 200, 200)) {
        Element* o = point(ox, oy);
        o->visible = 0;
        Element* e = make(Method::Axes, o);
        auto* t = e->tailAs<AxesTail>();
        t->scaleX = ux;
        t->scaleY = uy;
        for (Element* s : {t->xAxis.get(), t->yAxis.get()}) {
            s->value[0] = ox, s->value[1] = oy;
            s->color = c;
        }
        t->xAxis->value[2] = ox + 10, t->xAxis->value[3] = oy;
        t->yAxis->value[2] = ox, t->yAxis->value[3] = oy + 10;
        e->color = c;
        return e;
    }

    RenderOptions options(int w = 200, int h = 200) const {
        RenderOptions o;
        o.view = ViewTransform{doc.left, doc.top, 1.0};
        o.width = w;
        o.height = h;
        return o;
    }
    QImage render(const RenderOptions& o) {
        QImage image(o.width, o.height, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        renderer.redraw(image, doc, o);
        return image;
    }
    QImage render() { return render(options()); }
};

// The pixel as a COLORREF.
inline Color at(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

} // namespace qorv::test
