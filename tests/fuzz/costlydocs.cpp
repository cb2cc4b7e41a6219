// Small documents whose recalculation, drawing or export costs far more than their size: each
// element is cheap to store but repeats costly work (see costlyDocument in docgen.h).
#include "fuzz/docgen.h"

#include "calc/expression.h"
#include "construction/builder.h"
#include "geometry/intersectionpoint.h"
#include "model/docfile.h"
#include "model/elementcodec.h"
#include "model/iteration.h"

#include <algorithm>
#include <string>

namespace qorv::fuzz {

namespace {

struct Shape {
    Document doc;
    ConstructionBuilder b{doc};
    uint64_t seed;

    explicit Shape(uint64_t s) : seed(s) {}

    // A number from the seed within [lo, hi], so that the slice meets several sizes.
    int vary(int lo, int hi) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return lo + int((seed >> 33) % uint64_t(hi - lo + 1));
    }
    Element* point(double x, double y) { return b.point(x, y); }
    Element* pointOn(Element* host, double t) {
        b.req.value[3] = t;
        return b.make(Method::PointOnElement, host);
    }
    Element* withSamples(Element* curve, int n) {
        curve->tailAs<SampledCurveTail>()->resize(n);
        return curve;
    }
    // The locus of the midpoint of a point running round a circle and a fixed point.
    Element* circleLocus(double cx, double cy, int samples) {
        Element* c = b.make(Method::CircleCentrePoint, point(cx, cy), point(cx + 100, cy));
        Element* d = pointOn(c, 0.3);
        Element* m = b.make(Method::Midpoint, d, point(cx + 300, cy + 40));
        return withSamples(b.make(Method::Locus, m, d), samples);
    }
    Element* axes() {
        Element* a = b.make(Method::Axes, point(0, 0));
        a->tailAs<AxesTail>()->scaleX = 40;
        a->tailAs<AxesTail>()->scaleY = 40;
        return a;
    }
    Element* function(const std::string& text, std::vector<Element*> vars = {},
                      std::vector<Element*> functions = {}) {
        b.req.option = FunctionType::YofX;
        b.req.text = text;
        std::vector<Element*> extra = vars;
        extra.insert(extra.end(), functions.begin(), functions.end());
        Element* f = b.make(Method::Function, nullptr, nullptr, nullptr, extra);
        compileToTail(*f->tailAs<ExpressionTail>(), text, vars, functions, FunctionType::YofX);
        return f;
    }
    Element* graph(Element* f, Element* ax, int samples) {
        b.req.value[1] = -10;
        b.req.value[2] = 10;
        return withSamples(b.make(Method::FunctionGraph, f, ax), samples);
    }
    // Moves `e` to the head of the list.
    void toFront(Element* e) {
        std::vector<Element*> order{e};
        for (Element* x = doc.head; x; x = x->next)
            if (x != e) order.push_back(x);
        for (Element* x : order)
            doc.unlink(x);
        for (Element* x : order)
            doc.append(x);
    }
};

// A Windows bitmap that declares width x height and holds nothing but the end of its
// run-length encoded pixels.
std::vector<uint8_t> emptyRleBitmap(int32_t width, int32_t height) {
    ByteWriter w;
    w.bytes("BM", 2);
    w.i32(14 + 40 + 8 + 2); // file size
    w.i32(0);
    w.i32(14 + 40 + 8); // pixels' offset
    w.i32(40);
    w.i32(width);
    w.i32(height);
    w.i16(1); // planes
    w.i16(8); // bits per pixel
    w.i32(1); // RLE8
    w.i32(2); // pixel bytes
    w.i32(2835), w.i32(2835);
    w.i32(2), w.i32(0); // colours used, important
    w.i32(0), w.i32(0xFFFFFF);
    w.bytes("\0\1", 2); // end of bitmap
    return std::move(w.data());
}

std::vector<uint8_t> declaredSvg(int side) {
    const std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                          std::to_string(side) + "\" height=\"" + std::to_string(side) +
                          "\"><rect width=\"100%\" height=\"100%\" fill=\"red\"/></svg>";
    return {s.begin(), s.end()};
}

void build(Shape& s, CostlyShape shape) {
    Document& doc = s.doc;
    switch (shape) {
    case CostlyShape::IterationOfFixedLocus: {
        // Every copy shows a locus and a graph that do not move with the copies.
        Element* locus = s.circleLocus(0, 0, MaxCurveSamples);
        Element* g = s.graph(s.function("SIN(X)"), s.axes(), MaxCurveSamples);
        Element* a = s.point(0, 0);
        Element* image = s.b.make(Method::Midpoint, a, s.point(200, s.vary(0, 50)));
        s.b.iteration(a, image, {locus, g}, MaxIterationCopies);
        break;
    }
    case CostlyShape::CallChain: {
        // F2 .. F12 each call the previous one ten times.
        Element* f = s.function("X");
        for (int k = 2; k <= 12; ++k) {
            std::string text = "F1(X)";
            for (int i = 1; i < 10; ++i)
                text += "+F1(X)";
            f = s.function(text, {}, {f});
        }
        s.b.req.text = "F1(1)";
        Element* c = s.b.make(Method::Calculation, nullptr, nullptr, nullptr, {f});
        const std::vector<Element*> functions{f};
        compileToTail(*c->tailAs<ExpressionTail>(), "F1(1)", {}, functions, FunctionType::Plain);
        Element* ax = s.axes();
        for (int i = s.vary(2, 6); i > 0; --i)
            s.graph(f, ax, MaxCurveSamples);
        break;
    }
    case CostlyShape::LongPrograms: {
        // A function of 1,000 sine words, as only a file can hold, and 80 graphs of it.
        Element* f = s.function("SIN(X)");
        auto& t = *f->tailAs<ExpressionTail>();
        t.exprCode.assign(1, Token::VarX);
        t.exprCode.insert(t.exprCode.end(), size_t(s.vary(900, 1000)), Token::Sin);
        t.exprCode.push_back(Token::End);
        Element* ax = s.axes();
        for (int i = 0; i < 80; ++i)
            s.graph(f, ax, MaxCurveSamples);
        break;
    }
    case CostlyShape::LocusOverOwnGraph: {
        // The locus's driver is a variable of the function whose graph carries the traced point.
        s.b.req.value[0] = 0.5;
        s.b.req.option = HasValue;
        Element* k = s.b.make(Method::Parameter);
        k->tailAs<ParameterTail>()->minimum = 0;
        k->tailAs<ParameterTail>()->maximum = 1;
        Element* g = s.graph(s.function("A*X^2", {k}), s.axes(), MaxCurveSamples);
        Element* p = s.pointOn(g, 0.1 * s.vary(1, 9));
        s.withSamples(s.b.make(Method::Locus, p, k), MaxCurveSamples);
        break;
    }
    case CostlyShape::IterationOverLocusCrossing: {
        // Each copy moves a line across a locus: their crossing samples the locus again.
        Element* locus = s.circleLocus(0, 0, MaxCurveSamples);
        Element* a = s.point(150, -300);
        Element* line = s.b.make(Method::LineThroughTwoPoints, a, s.point(160, 300));
        Element* cut = s.b.intersection(line, locus, IntersectionCode::Locus);
        Element* image = s.b.make(Method::Midpoint, a, s.point(s.vary(100, 200), -300));
        s.b.iteration(a, image, {line, cut}, MaxIterationCopies);
        break;
    }
    case CostlyShape::PointsOnLociBeforeDriver: {
        // Sixteen loci whose traced point comes before its driver in the list, each with a
        // point on it (a list no editor makes, but a file can hold).
        std::vector<Element*> traced;
        for (int i = 0; i < 16; ++i) {
            Element* locus = s.circleLocus(i * 10.0, 0, MaxCurveSamples);
            traced.push_back(locus->parent1);
            s.pointOn(locus, 0.01 * s.vary(1, 99));
        }
        for (Element* t : traced)
            s.toFront(t);
        break;
    }
    case CostlyShape::IterationInStretch: {
        // An iteration between a locus's driver and its traced point, over a large construction;
        // a second locus runs along a point on the first.
        Element* big = s.circleLocus(500, 0, MaxCurveSamples);
        Element* c = s.b.make(Method::CircleCentrePoint, s.point(0, 0), s.point(100, 0));
        Element* d = s.pointOn(c, 0.2);
        Element* a = s.point(0, 0);
        s.b.iteration(a, s.b.make(Method::Midpoint, a, s.point(10, 10)), {big}, 100);
        Element* m = s.b.make(Method::Midpoint, d, s.point(300, 40));
        Element* locus = s.withSamples(s.b.make(Method::Locus, m, d), MaxCurveSamples);
        Element* p = s.pointOn(locus, 0.5);
        Element* q = s.b.make(Method::Midpoint, p, s.point(-200, 0));
        s.withSamples(s.b.make(Method::Locus, q, p), MaxCurveSamples);
        break;
    }
    case CostlyShape::HugePictures: {
        // Pictures that declare a huge size in a few bytes: run-length bitmaps and SVG.
        for (int i = 0; i < 20; ++i) {
            s.b.req.value[0] = -400 + 40 * i;
            s.b.req.value[1] = 300;
            Element* e = s.b.make(Method::Bitmap);
            const int side = s.vary(4000, 5700);
            e->tailAs<BitmapTail>()->picture =
                i % 2 == 0 ? emptyRleBitmap(side, side) : declaredSvg(side);
        }
        break;
    }
    case CostlyShape::Count:
        break;
    }
    doc.left = -960, doc.top = 540, doc.right = 960, doc.bottom = -540;
}

} // namespace

std::vector<uint8_t> costlyDocument(CostlyShape shape, uint64_t seed) {
    Shape s(seed);
    build(s, shape);
    return encodeDocument(s.doc);
}

} // namespace qorv::fuzz
