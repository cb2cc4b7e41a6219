#include "app/demodocument.h"

#include "construction/create.h"
#include "model/document.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace qorv {

namespace {

constexpr double Pi = std::numbers::pi;

struct Maker {
    Document& doc;
    CreationOptions opts;
    ElementRequest req;

    Element* make(ConstructionMethod m, Element* p1 = nullptr, Element* p2 = nullptr,
                  Element* p3 = nullptr) {
        req.method = m;
        req.parent1 = p1;
        req.parent2 = p2;
        req.parent3 = p3;
        return createElement(doc, req, opts);
    }
    Element* point(double x, double y, int shape = 1) {
        req.value[0] = x;
        req.value[1] = y;
        Element* e = make(Method::FreePoint);
        e->shape = shape;
        return e;
    }
    // A straight element through two points, with the numbers recalculation gives it.
    Element* straight(ConstructionMethod m, Element* a, Element* b, int shape = 1) {
        Element* e = make(m, a, b);
        e->value[0] = a->value[0];
        e->value[1] = a->value[1];
        e->value[2] = b->value[0];
        e->value[3] = b->value[1];
        e->shape = shape;
        return e;
    }
    Element* label(ConstructionMethod m, double x, double y) {
        Element* e = make(m);
        e->value[2] = x;
        e->value[3] = y;
        return e;
    }
};

double orientedAngle(const Element* p1, const Element* v, const Element* p3) {
    const double a = std::atan2(p1->value[1] - v->value[1], p1->value[0] - v->value[0]);
    const double b = std::atan2(p3->value[1] - v->value[1], p3->value[0] - v->value[0]);
    double d = b - a;
    while (d < 0)
        d += 2 * Pi;
    while (d >= 2 * Pi)
        d -= 2 * Pi;
    return d;
}

std::vector<uint8_t> demoPicture() {
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 210));
    QPainter p(&image);
    p.setPen(QColor(0, 90, 160));
    p.setBrush(QColor(90, 170, 230));
    p.drawEllipse(QRect(4, 4, 24, 24));
    p.setBrush(QColor(230, 120, 40));
    p.drawRect(QRect(26, 10, 18, 18));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

void buildDemoDocument(Document& doc) {
    doc.clear();
    doc.left = -450;
    doc.top = 300;
    Maker mk{doc, {}, {}};

    // Axes with a grid at the origin.
    Element* origin = mk.point(0, 0);
    origin->visible = 0;
    Element* axes = mk.make(Method::Axes, origin);
    if (auto* t = axes->tailAs<AxesTail>()) {
        t->xAxis->value[0] = 0, t->xAxis->value[1] = 0, t->xAxis->value[2] = 10;
        t->yAxis->value[0] = 0, t->yAxis->value[1] = 0, t->yAxis->value[3] = 10;
    }
    Element* grid = mk.make(Method::Grid, axes);
    grid->color = rgb(110, 110, 110);

    // Points of every shape.
    for (int s = 1; s <= 6; ++s)
        mk.point(-420 + 24 * s, 270, s);

    // Line styles, a ray and a vector.
    Element* a = mk.point(-400, 200);
    Element* b = mk.point(-250, 230);
    mk.straight(Method::LineThroughTwoPoints, a, b, LineStyle::Normal);
    for (int s = 1; s <= 6; ++s) {
        Element* p = mk.point(-420, 180 - 18 * s);
        Element* q = mk.point(-300, 180 - 18 * s);
        mk.straight(Method::Segment, p, q, s);
    }
    Element* rayStart = mk.point(-280, 60);
    Element* rayThrough = mk.point(-200, 20);
    mk.straight(Method::RayThroughTwoPoints, rayStart, rayThrough, LineStyle::Dashed);
    Element* v1 = mk.point(-420, -20);
    Element* v2 = mk.point(-320, 30);
    Element* vec = mk.straight(Method::Vector, v1, v2, LineStyle::Thick);
    vec->color = rgb(255, 200, 0);

    // A filled triangle over an earlier segment, and a selected one.
    Element* t1 = mk.point(-200, 200);
    Element* t2 = mk.point(-80, 240);
    Element* t3 = mk.point(-120, 120);
    Element* under = mk.straight(Method::Segment, t1, t3, LineStyle::Thick);
    under->color = rgb(255, 255, 255);
    mk.req.extra = {t1, t2, t3};
    Element* tri = mk.make(Method::Polygon);
    tri->option = rgb(40, 90, 40); // fill
    if (auto* t = tri->tailAs<PolygonTail>()) {
        Element* v[3] = {t1, t2, t3};
        for (int i = 0; i < 3; ++i) {
            Element* s = t->sides[size_t(i)].get();
            s->value[0] = v[i]->value[0], s->value[1] = v[i]->value[1];
            s->value[2] = v[(i + 1) % 3]->value[0], s->value[3] = v[(i + 1) % 3]->value[1];
        }
    }
    tri->selected = 1;

    // Circles: one filled with a colour driven by a number, one hidden.
    Element* c1 = mk.point(120, 170);
    Element* c2 = mk.point(180, 170);
    Element* circle = mk.straight(Method::CircleCentrePoint, c1, c2, LineStyle::Thick);
    Element* driver = mk.label(Method::Parameter, 240, 280);
    driver->value[0] = 2.25;
    circle->option = rgb(0, 0, 128);
    circle->colorParam = driver;
    circle->colorParamMode = -1; // hue for the fill
    Element* hiddenCentre = mk.point(120, 60);
    Element* hiddenCircle = mk.straight(Method::CircleCentrePoint, hiddenCentre, c1);
    hiddenCircle->visible = 0;

    // An arc through three points and an angle mark.
    Element* r1 = mk.point(260, 120);
    Element* r2 = mk.point(330, 190);
    Element* r3 = mk.point(400, 120);
    Element* arc = mk.make(Method::ArcThreePoints, r1, r2, r3);
    arc->value[0] = 330, arc->value[1] = 120, arc->value[2] = 330, arc->value[3] = 190;
    arc->option = 0; // clockwise from r1 over r2 to r3 (the top half)
    arc->shape = LineStyle::Thick;
    Element* av = mk.point(-60, -120);
    Element* a1 = mk.point(40, -120);
    Element* a3 = mk.point(10, -40);
    mk.straight(Method::Segment, av, a1);
    mk.straight(Method::Segment, av, a3);
    Element* angle = mk.make(Method::Angle, a1, av, a3);
    angle->value[0] = orientedAngle(a1, av, a3);
    angle->value[2] = std::max(8.0, angle->value[1] * 85.0) + 12;
    angle->option = rgb(120, 60, 0);
    angle->shape = 2;

    // An ellipse from its samples.
    Element* cp[5];
    for (int i = 0; i < 5; ++i)
        cp[i] = mk.point(250 + 90 * std::cos(i * 1.1), -120 + 40 * std::sin(i * 1.1), 6);
    mk.req.extra = {cp[0], cp[1], cp[2], cp[3], cp[4]};
    Element* conic = mk.make(Method::Conic);
    if (auto* t = conic->tailAs<ConicTail>()) {
        t->conicType = 1;
        for (int m = 0; m < ConicTail::SampleCount; ++m) {
            const double u = 2 * Pi * m / ConicTail::SampleCount;
            t->samples[size_t(m)] = {250 + 90 * std::cos(u), -120 + 40 * std::sin(u)};
        }
    }

    // A locus: the midpoint of a fixed point and a point running round a hidden circle.
    Element* hub = mk.point(-380, -220);
    Element* rim = mk.point(-330, -220);
    hub->visible = rim->visible = 0;
    Element* round = mk.make(Method::CircleCentrePoint, hub, rim);
    round->value[0] = -380, round->value[1] = -220, round->value[2] = -330, round->value[3] = -220;
    round->visible = 0;
    mk.req.value[3] = 0.5;
    Element* runner = mk.make(Method::PointOnElement, round);
    runner->visible = 0;
    Element* far = mk.point(-240, -240);
    far->visible = 0;
    Element* traced = mk.make(Method::Midpoint, runner, far);
    traced->color = rgb(255, 128, 0);
    traced->visible = 0;
    mk.make(Method::Locus, traced, runner);

    // Texts: a name, a number, an equation, a check, a text with two runs, a table, a button.
    mk.req.text = "A";
    Element* name = mk.make(Method::Name, t1);
    name->value[0] = t1->value[0] + 4;
    name->value[1] = t1->value[1] + 4;
    Element* number = mk.make(Method::DistancePointPoint, t1, t2);
    number->value[0] = std::hypot(t2->value[0] - t1->value[0], t2->value[1] - t1->value[1]) / 40;
    number->value[2] = 20;
    number->value[3] = 280;
    Element* eq = mk.make(Method::LineEquation, nullptr, axes);
    eq->value[2] = 20, eq->value[3] = 255;
    if (auto* t = eq->tailAs<EquationTail>()) t->text = "y = 0.20x +13.00";
    Element* check = mk.make(Method::ParallelCheck);
    check->option = 1;
    check->value[2] = 20, check->value[3] = 230;
    mk.req.text = "Texto de prueba\nsegunda línea";
    mk.req.value[2] = -420;
    mk.req.value[3] = -100;
    Element* text = mk.make(Method::Text);
    if (auto* t = text->tailAs<TextTail>()) {
        FontRecord bold = t->font;
        bold.bold = 1;
        bold.color = rgb(255, 255, 0);
        t->runs = {FontRun{t->font, 6}, FontRun{bold, 9}, FontRun{t->font, 100}};
    }
    Element* p1 = mk.label(Method::Parameter, 0, 0);
    p1->value[0] = 1.5;
    mk.req.extra = {p1, number};
    Element* table = mk.make(Method::Table);
    table->value[2] = 330, table->value[3] = 40;
    if (auto* t = table->tailAs<TableTail>()) {
        t->rows = 3;
        t->columns[0].values = {1.5, 2.0, 2.5};
        t->columns[1].values = {3.66, 3.70, 3.81};
    }
    mk.req.extra = {hiddenCircle};
    Element* button = mk.make(Method::ShowHideButton);
    button->value[2] = 330, button->value[3] = -230;

    // A picture anchored to a point by its centre.
    Element* anchor = mk.point(-120, -220, 2);
    Element* picture = mk.make(Method::Bitmap, anchor);
    picture->option = 5;
    if (auto* t = picture->tailAs<BitmapTail>()) t->picture = demoPicture();

    doc.modified = 0;
}

} // namespace qorv
