// Sample documents and hand-made files shared by the file tests and the operations fuzz target.
#pragma once

#include "construction/builder.h"
#include "model/bytestream.h"
#include "model/docfile.h"
#include "model/document.h"

#include <string>
#include <vector>

namespace qorv::testing {

// A document with one element of every method that can stand in a list, built with
// createElement, with non-default styles, fonts, view, trace and animation lists and two macros.
struct SampleDocument : OwningBuilder {
    SampleDocument() { build(); }
    void build();
};

inline void SampleDocument::build() {
    doc.left = -123.25;
    doc.top = 77.5;
    doc.background = 0x102030;
    doc.hiddenColor = 0x405060;
    doc.selectedColor = 0x708090;
    doc.fonts[FontSlot::Cursor] = FontRecord{"Courier New", 0x0000ff, 9, 1, 0, 0, 0};
    doc.fonts[FontSlot::Names] = FontRecord{"Times", 0x00ff00, 13, 0, 1, 0, 0};
    doc.fonts[FontSlot::Numbers] = FontRecord{"Verdana", 0xff0000, 14, 0, 0, 1, 0};
    doc.fonts[FontSlot::Texts] = FontRecord{"Tahoma", 0x123456, 15, 0, 0, 0, 1};
    for (int k = 0; k < Kind::Count; ++k) {
        doc.kindColors[size_t(k)] = 0x010101 * (k + 1);
        doc.kindShapes[size_t(k)] = 1 + k % 6;
    }
    doc.lengthUnit = LengthUnit::Mm;
    doc.angleUnit = AngleUnit::Gra;
    doc.pixelsPerUnit = 37.75;
    doc.constantLengthsWithZoom = 1;
    doc.coordinateSystem = 1;
    doc.antialiased = 1;
    opts.decimals = 3;

    Element* a = point(0, 0);
    Element* b = point(100, 0);
    Element* c = point(50, 80);
    Element* d = point(-40, 30);
    Element* e = point(10, -60);
    b->shape = PointShape::Cross;
    c->color = 0x00abcdef;
    Element* seg = make(Method::Segment, a, b);
    req.value[3] = 0.25;
    Element* onSeg = make(Method::PointOnElement, seg);
    Element* line = make(Method::LineThroughTwoPoints, a, c);
    Element* line2 = make(Method::LineThroughTwoPoints, b, d);
    req.option = 42;
    req.option2 = 1;
    make(Method::IntersectionPoint, line, line2);
    make(Method::CentralSymmetryPoint, c, a);
    make(Method::Midpoint, a, c);
    make(Method::LineThroughPoint, d);
    make(Method::RayThroughPoint, e);
    make(Method::RayThroughTwoPoints, a, e);
    make(Method::ParallelLine, line, e);
    make(Method::PerpendicularLine, line, e);
    make(Method::AngleBisector, a, b, c);
    make(Method::PerpendicularBisector, d, e);
    Element* poly = make(Method::Polygon, nullptr, nullptr, nullptr, {a, b, c, d, e});
    Element* circle = make(Method::CircleCentrePoint, a, b);
    req.value[2] = 30;
    make(Method::CircleByCentre, c);
    make(Method::CircleRadiusCentre, a, b, d);
    Element* arc = make(Method::ArcThreePoints, a, c, b);
    make(Method::Angle, a, b, c);
    Element* locus = make(Method::Locus, c, onSeg);
    make(Method::AxialSymmetryPoint, d, line);
    make(Method::TranslationPoint, d, a, b);
    make(Method::RotationPoint, d, a, c);
    make(Method::HomothetyPoint, d, a, c);
    make(Method::InversePoint, d, circle);
    make(Method::DisplacedPoint, d, a, b);
    Element* dist = make(Method::DistancePointPoint, a, b);
    dist->decimals = 5;
    make(Method::DistancePointLine, d, line);
    make(Method::SegmentLength, seg);
    make(Method::CircleLength, circle);
    make(Method::ArcLength, arc);
    make(Method::PolygonPerimeter, poly);
    make(Method::CircleArea, circle);
    make(Method::PolygonArea, poly);
    make(Method::AngleValue, a, b, c);
    req.text = "A+PI";
    Element* calc = make(Method::Calculation, nullptr, nullptr, nullptr, {dist});
    if (auto* t = calc->tailAs<ExpressionTail>()) {
        t->exprCode = {-1, -2, 101, 0};
        t->exprVarCount = 1;
        t->exprValues = {0.0, 0.0, 3.141592653589793};
    }
    calc->unitShown = 1;
    Element* table = make(Method::Table, nullptr, nullptr, nullptr, {dist, calc});
    if (auto* t = table->tailAs<TableTail>()) {
        t->rows = 3;
        t->columns[0].values = {1.5, 2.5, 3.5};
        t->columns[1].values = {-1, -2, -3};
    }
    Element* origin = point(5, 5);
    Element* axes = make(Method::Axes, origin);
    if (auto* t = axes->tailAs<AxesTail>()) t->scaleX = 50;
    make(Method::Coordinates, c);
    Element* eq = make(Method::LineEquation, line, axes);
    eq->tailAs<EquationTail>()->text = "y = 1,6x";
    eq->tailAs<EquationTail>()->labelPosition = 0.75;
    make(Method::CircleEquation, circle, axes);
    req.value[2] = 120.9;
    req.value[3] = -40.2;
    req.option2 = 3;
    req.text = "Línea uno\nsegunda línea ñ €";
    Element* text = make(Method::Text);
    if (auto* t = text->tailAs<TextTail>()) {
        t->runs.push_back(FontRun{FontRecord{"Arial", 0xff, 20, 1, 1, 0, 0}, 4});
    }
    req.text = "A";
    make(Method::Name, a);
    req.text = "círculo";
    make(Method::Name, circle);
    make(Method::PointWithCoordinates, dist, dist, axes);
    make(Method::ParallelCheck, line, line2);
    make(Method::PerpendicularCheck, line, line2);
    make(Method::MembershipCheck, d, circle);
    make(Method::EquidistanceCheck, a, b, c);
    make(Method::AlignmentCheck, a, b, c);
    Element* conic = make(Method::Conic, nullptr, nullptr, nullptr, {a, b, c, d, e});
    if (auto* t = conic->tailAs<ConicTail>()) t->coefficients[0] = 1;
    make(Method::Slope, line);
    make(Method::Intersection, line, circle);
    make(Method::ConicEquation, conic, axes);
    req.value[3] = 1.2566370614359172;
    make(Method::RegularPolygonVertex, a, b);
    req.value[0] = 3;
    make(Method::RepresentedPoint, axes);
    Element* grid = make(Method::Grid, axes);
    make(Method::GridPoint, grid);
    req.value[0] = 2.5;
    Element* param = make(Method::Parameter);
    req.text = "X^2";
    Element* fn = make(Method::Function);
    if (auto* t = fn->tailAs<ExpressionTail>()) {
        t->exprCode = {-1001, -1, 105, 0};
        t->exprValues = {0.0, 2.0};
    }
    make(Method::FunctionGraph, fn, axes);
    make(Method::ShowHideButton, nullptr, nullptr, nullptr, {seg, circle});
    Element* bitmap = make(Method::Bitmap, d);
    bitmap->tailAs<BitmapTail>()->picture = {'B', 'M', 0, 1, 2, 3, 255, 0};
    make(Method::Proportion, dist, calc);
    make(Method::Vector, a, d);
    make(Method::MotionButton, nullptr, nullptr, nullptr, {param});
    Element* iteration = make(Method::Iteration);
    if (auto* t = iteration->tailAs<IterationTail>()) {
        t->iterations = 4;
        t->destinationCount = 2;
        t->initialCount = 1;
        t->participants = {Ref(a), Ref(b), Ref(c)};
        t->images = {1, 2};
        t->lastOnly = 1;
    }
    make(Method::VectorSumPoint, a, b, c);
    make(Method::CircleRadiusNumberCentre, dist, a);
    // A colour parameter may be an element further down the list.
    seg->colorParam = param;
    seg->colorParamMode = 1000;
    seg->colorParamFrom = 0x111111;
    seg->colorParamTo = 0x222222;
    // An internal element that a visible one needs stays.
    Element* hidden = point(1, 2);
    hidden->visible = Internal;
    make(Method::Midpoint, hidden, a);
    doc.traceList = {c, locus};
    doc.animations.push_back(AnimationRecord{onSeg, {1, 2, 3}});
    doc.animations.push_back(AnimationRecord{param, {-4, 5, 60}});

    for (int s = 0; s < 2; ++s) {
        MacroSlot& m = doc.macros[size_t(s)];
        m.used = true;
        m.version = s == 0 ? 900 : 100;
        m.head = {Kind::Point, Kind::Point};
        m.name = s == 0 ? "punto medio" : "mediatriz ñ";
        m.texts = {"primera línea", "segunda"};
        // Template: two initial points 0 and 1, then a hidden segment 2 and its midpoint 3.
        auto segT = std::make_unique<Element>();
        segT->method = Method::Segment;
        segT->id = 2;
        segT->parent1.id = 0;
        segT->parent2.id = 1;
        segT->visible = Internal;
        auto midT = std::make_unique<Element>();
        midT->method = Method::Midpoint;
        midT->id = 3;
        midT->parent1.id = 0;
        midT->parent2.id = 1;
        segT->next = midT.release();
        m.first = segT.release();
    }
    doc.modified = 0;
}

// Little-endian bytes of a hand-made file.
struct FileBytes {
    ByteWriter w;
    FileBytes& i32(int32_t v) {
        w.i32(v);
        return *this;
    }
    FileBytes& f64(double v) {
        w.f64(v);
        return *this;
    }
    FileBytes& str(const std::string& s) {
        w.i32(int32_t(s.size()));
        w.bytes(s.data(), s.size());
        return *this;
    }
    FileBytes& font(const std::string& name, int32_t color, int32_t size) {
        str(name).i32(color).i32(size);
        for (int i = 0; i < 4; ++i)
            i32(0);
        return *this;
    }
    std::vector<uint8_t>& bytes() { return w.data(); }

    // The document section of a file of version v with an empty trace and animation list.
    FileBytes& section(int32_t v, double left = 10, double top = 20) {
        i32(0x000001); // background
        if (v >= 500) i32(0xbebe).i32(0xffaaaa);
        if (v >= 600) {
            for (int f = 0; f < 4; ++f)
                font("Arial", 0x777777, 10 + f);
            for (int k = 0; k < 12; ++k)
                i32(k);
            for (int k = 0; k < 12; ++k)
                i32(1);
        }
        if (v >= 300) i32(LengthUnit::Cm);
        i32(AngleUnit::Deg);
        if (v >= 600)
            f64(40.0);
        else
            i32(40);
        if (v >= 801) i32(0);
        i32(0); // rectangular
        if (v >= 500) i32(0);
        f64(left).f64(top);
        if (v != 100) i32(0).i32(0); // trace and animation lists
        return *this;
    }
    // The common tail of an element record of version v; `font` for kinds that carry one.
    FileBytes& common(int32_t v, int32_t id, int32_t p1, int32_t p2, int32_t p3, double x, double y,
                      int32_t option, bool font, Color colorFrom = 0, Color colorTo = 0) {
        i32(id).i32(p1).i32(p2).i32(p3).f64(x).f64(y).f64(0).f64(0);
        i32(1).i32(1).i32(option).i32(0x0000ff); // defined, visible, option, colour
        if (v >= 300) i32(-1).i32(0);
        if (v >= 800) i32(colorFrom).i32(colorTo);
        i32(2); // shape
        if (v >= 300) {
            i32(0).i32(0).i32(4); // option2, unitShown, decimals
            if (font) this->font("Arial", 0xc0c0c0, 10);
        }
        return *this;
    }
};

} // namespace qorv::testing
