// Loci and function graphs: sampling over every kind of driver, boundaries of definition, jumps,
// closed curves, grids, families, the construction left as it was, points on loci and graphs,
// crossings of code 42 and the limits that hostile files meet.
#include "builder.h"

#include "../model/docfile_samples.h"
#include "../model/statedump.h"
#include "calc/expression.h"
#include "geometry/elementgeometry.h"
#include "geometry/intersectionpoint.h"
#include "geometry/locus.h"
#include "geometry/pointonelement.h"
#include "model/elementcodec.h"

#include <string>

namespace qorv::testing {
namespace {

const SampledCurveTail& samples(const Element* e) {
    return *e->tailAs<SampledCurveTail>();
}

// A number element computed from `text` over `vars` (a calculation, or a function of `type`).
Element* expression(Builder& b, ConstructionMethod m, const char* text, int32_t type,
                    std::vector<Element*> vars = {}) {
    b.req.option = type;
    b.req.text = text;
    Element* e = b.make(m, nullptr, nullptr, nullptr, vars);
    EXPECT_TRUE(compileToTail(*e->tailAs<ExpressionTail>(), text, vars, {}, type)) << text;
    recalcElement(b.doc, *e);
    return e;
}

Element* parameter(Builder& b, double value, double min, double max) {
    Element* k = b.number(value);
    k->tailAs<ParameterTail>()->minimum = min;
    k->tailAs<ParameterTail>()->maximum = max;
    return k;
}

// Axes on a new origin point with unit lengths ux, uy.
Element* axes(Builder& b, double x, double y, double ux = 40, double uy = 40) {
    Element* a = b.make(Method::Axes, b.point(x, y));
    a->tailAs<AxesTail>()->scaleX = ux;
    a->tailAs<AxesTail>()->scaleY = uy;
    recalcElement(b.doc, *a);
    return a;
}

Element* pointOn(Builder& b, Element* host, double t) {
    b.req.value[3] = t;
    return b.make(Method::PointOnElement, host);
}

// Everything the document holds, and the samples of conics, loci and graphs, to the last bit.
std::string fullState(Document& doc) {
    std::string s = dumpState(doc);
    for (const Element* e = doc.head; e; e = e->next) {
        if (const auto* c = e->tailAs<ConicTail>())
            for (const Point2& p : c->samples)
                s += dumpNumber(p.x) + dumpNumber(p.y);
        if (const auto* t = e->tailAs<SampledCurveTail>()) {
            s += "\n#" + std::to_string(e->id) + " n" + std::to_string(t->count);
            for (int i = 0; i < storedSamples(*t); ++i)
                s += dumpNumber(t->first[size_t(i)].x) + dumpNumber(t->first[size_t(i)].y) +
                     dumpNumber(t->params[size_t(i)]) + std::to_string(t->words[size_t(i)]);
        }
    }
    return s;
}

TEST(Locus, MidpointOverACircleIsTheClosedCircleOfHalfTheRadius) {
    Builder b;
    Element* circle = b.circle(b.point(0, 0), b.point(100, 0));
    Element* driver = pointOn(b, circle, 0.3);
    Element* traced = b.make(Method::Midpoint, driver, b.point(300, 40));
    b.opts.locusPoints = 90;
    Element* locus = b.make(Method::Locus, traced, driver);
    ASSERT_EQ(locus->defined, 1);
    EXPECT_EQ(locus->option, 1); // closed: it runs round a circle
    const auto& t = samples(locus);
    ASSERT_EQ(t.count, 90);
    for (int i = 0; i < 90; ++i) {
        const double a = i * 2 * Pi / 90;
        EXPECT_NEAR(t.params[size_t(i)], a, 1e-12);
        EXPECT_NEAR(t.first[size_t(i)].x, 150 + 50 * std::cos(a), 1e-9);
        EXPECT_NEAR(t.first[size_t(i)].y, 20 + 50 * std::sin(a), 1e-9);
        EXPECT_EQ(t.words[size_t(i)], traced->color);
    }
    EXPECT_TRUE(samplesJoined(t, 89, 0)); // the last sample joins the first
    EXPECT_EQ(driver->value[3], 0.3);
    // Driven along a segment the same locus is open and runs over the fraction 0..1.
    Element* onSegment = pointOn(b, b.segment(b.point(0, 0), b.point(100, 0)), 0.5);
    Element* open =
        b.make(Method::Locus, b.make(Method::Midpoint, onSegment, b.point(0, 50)), onSegment);
    EXPECT_EQ(open->option, 0);
    EXPECT_NEAR(samples(open).params[89], 1.0, 1e-15);
    EXPECT_NEAR(samples(open).first[89].x, 50, 1e-12);
}

TEST(Locus, ParameterRangesFollowTheCarrier) {
    Builder b;
    b.opts.locusPoints = 10;
    Element* a = b.point(0, 0);
    Element* c = b.point(30, 40); // |AB| = 50
    struct Case {
        const char* name;
        Element* carrier;
        double first, last; // parameters of samples 0 and 9
    };
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, b.point(0, 40)});
    Element* k = parameter(b, 3, 1, 10);
    const Case cases[] = {
        {"line through two points", b.line(a, c), -30, -30 + 9 * 60.0 / 10},
        {"line through one point", b.make(Method::PerpendicularLine, b.line(a, c), a), -1500,
         -1500 + 9 * 300.0},
        {"ray through two points", b.ray(a, c), 0, 9 * 3.0},
        {"segment", b.segment(a, c), 0, 1},
        {"circle", b.circle(a, c), 0, 9 * 2 * Pi / 10},
        {"polygon", poly, 0, 9 * 3.0 / 10},
    };
    for (const Case& cs : cases) {
        Element* d = pointOn(b, cs.carrier, 0);
        Element* locus = b.make(Method::Locus, b.make(Method::Midpoint, d, a), d);
        ASSERT_EQ(samples(locus).count, 10) << cs.name;
        EXPECT_NEAR(samples(locus).params[0], cs.first, 1e-9) << cs.name;
        EXPECT_NEAR(samples(locus).params[9], cs.last, 1e-9) << cs.name;
    }
    // A parameter runs from its minimum to its maximum; its samples keep the fraction.
    Element* r = b.make(Method::CircleRadiusNumberCentre, a, k);
    b.doc.pixelsPerUnit = 1;
    Element* onR = pointOn(b, r, 0);
    Element* plocus = b.make(Method::Locus, onR, k);
    EXPECT_EQ(plocus->option, 0);
    ASSERT_EQ(samples(plocus).count, 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_NEAR(samples(plocus).params[size_t(i)], i / 9.0, 1e-12);
        EXPECT_NEAR(samples(plocus).first[size_t(i)].x, 1 + i, 1e-9);
    }
    EXPECT_EQ(k->value[0], 3.0);
    // Without a range every sample's parameter is 0.
    k->tailAs<ParameterTail>()->maximum = 1;
    recalcElement(b.doc, *plocus);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(samples(plocus).params[size_t(i)], 0.0);
    // A point on a locus takes the range of that locus's driver.
    Element* onCircle = pointOn(b, b.circle(a, c), 0);
    Element* inner = b.make(Method::Locus, b.make(Method::Midpoint, onCircle, c), onCircle);
    Element* onInner = pointOn(b, inner, 0);
    Element* outer = b.make(Method::Locus, b.make(Method::Midpoint, onInner, a), onInner);
    EXPECT_EQ(outer->option, 1);
    EXPECT_NEAR(samples(outer).params[9], 9 * 2 * Pi / 10, 1e-12);
    // (a + (a + c) / 2) / 2 with the driver at angle 2 pi / 10 * 9 about a, radius 50.
    const double th = 9 * 2 * Pi / 10;
    EXPECT_NEAR(samples(outer).first[9].x, (50 * std::cos(th) + 30) / 4, 1e-9);
}

TEST(Locus, GapsEndOnTheBoundaryAndJumpsBreakTheCurve) {
    Builder b;
    // The vertical line through a point running from x = -100 to 100 meets the circle of radius
    // 50 about the origin while |x| < 50.0001 (tangency within 0.0001 counts).
    Element* o = b.point(0, 0);
    Element* seg = b.segment(b.point(-100, 0), b.point(100, 0));
    Element* d = pointOn(b, seg, 0.5);
    Element* vertical = b.make(Method::PerpendicularLine, seg, d);
    Element* cut = b.intersection(vertical, b.circle(o, b.point(50, 0)), 6);
    b.opts.locusPoints = 40;
    Element* locus = b.make(Method::Locus, cut, d);
    const auto& t = samples(locus);
    ASSERT_EQ(t.count, 40);
    int first = -1, last = -1;
    for (int i = 0; i < 40; ++i)
        if (isSampleDefined(t, i)) last = i, first = first < 0 ? i : first;
    ASSERT_GT(first, 1);
    ASSERT_LT(last, 38);
    EXPECT_NEAR(t.first[size_t(first)].x, -50.0001, 1e-6);
    EXPECT_NEAR(t.first[size_t(last)].x, 50.0001, 1e-6);
    EXPECT_FALSE(isSampleDefined(t, first - 1));
    EXPECT_FALSE(samplesJoined(t, first - 1, first));
    EXPECT_FALSE(isSampleDefined(t, last + 1));
    for (int i = first; i < last; ++i)
        EXPECT_TRUE(samplesJoined(t, i, i + 1)) << i;

    // x = 250 INT(A) + A over A in [0, 2]: the samples jump by about 250 at A = 1.
    Element* ax = axes(b, 0, 0, 1, 1);
    Element* k = parameter(b, 0.5, 0, 2);
    Element* x = expression(b, Method::Calculation, "250*int(a)+a", 0, {k});
    Element* y = expression(b, Method::Calculation, "10*a", 0, {k});
    Element* p = b.make(Method::PointWithCoordinates, x, y, ax);
    b.opts.locusPoints = 11;
    const auto& j = samples(b.make(Method::Locus, p, k));
    ASSERT_EQ(j.count, 11);
    for (int i = 0; i + 1 < 11; ++i) {
        const double gap = distance(j.first[size_t(i)], j.first[size_t(i + 1)]);
        EXPECT_EQ(samplesJoined(j, i, i + 1), gap < 200) << i;
        if (i == 4) {
            EXPECT_NEAR(gap, std::hypot(250.2, 2), 1e-9);
        }
    }
}

// The pieces every output draws: a closed curve with a gap is one piece running on through its
// end, the same curve open is two; far-off samples and single samples draw nothing.
TEST(Locus, PiecesBreakAtGapsAndRunRoundClosedCurves) {
    Builder b;
    Element* driver = pointOn(b, b.circle(b.point(0, 0), b.point(100, 0)), 0.3);
    b.opts.locusPoints = 90;
    Element* locus =
        b.make(Method::Locus, b.make(Method::Midpoint, driver, b.point(300, 40)), driver);
    ASSERT_EQ(locus->option, 1);
    auto& t = *locus->tailAs<SampledCurveTail>();
    using Pieces = std::vector<std::pair<int, int>>;
    const auto pieces = [&] {
        Pieces out;
        forEachCurvePiece(*locus, t, [&](int first, int count) { out.push_back({first, count}); });
        return out;
    };
    EXPECT_EQ(pieces(), (Pieces{{0, 91}}));
    for (int i = 40; i < 45; ++i)
        t.words[size_t(i)] = -1111; // undefined there
    EXPECT_EQ(pieces(), (Pieces{{45, 85}}));
    t.first[60] = {2e9, 0}; // too far out to draw: both its links break
    t.words[70] = -1111;    // 71 stands alone between the gaps at 70 and 72
    t.words[72] = -1111;
    EXPECT_EQ(pieces(), (Pieces{{45, 15}, {61, 9}, {73, 57}}));
    locus->option = 0;
    EXPECT_EQ(pieces(), (Pieces{{0, 40}, {45, 15}, {61, 9}, {73, 17}}));
}

TEST(Locus, SamplingLeavesEveryElementAsItWasBitForBit) {
    Builder b;
    Element* o = b.point(0, 0);
    Element* d = pointOn(b, b.circle(o, b.point(100, 0)), 0.3);
    Element* m = b.make(Method::Midpoint, d, b.point(250, 30));
    // Elements that keep numbers of their own: a circle given its centre keeps its radius, a line
    // through one point its direction, an undefined intersection its last numbers.
    b.req.value[0] = b.req.value[2] = m->value[0];
    b.req.value[1] = m->value[1];
    b.req.value[3] = m->value[1] + 37;
    Element* around = b.make(Method::CircleByCentre, m);
    b.req.value[2] = 1.7;
    b.req.value[3] = 0.9;
    Element* through = b.make(Method::LineThroughPoint, m);
    Element* cut = b.intersection(b.segment(b.point(210, -20), b.point(210, 60)), around, 8);
    EXPECT_EQ(cut->defined, 0); // defined only for some places of the driver
    Element* ax = axes(b, 0, 0);
    Element* dist = b.make(Method::DistancePointPoint, m, o);
    expression(b, Method::Calculation, "a*2", 0, {dist});
    Element* fn = expression(b, Method::Function, "a/1000*x^2", FunctionType::YofX, {dist});
    b.req.value[1] = -3;
    b.req.value[2] = 3;
    b.make(Method::FunctionGraph, fn, ax);
    b.make(Method::LineEquation, through, ax);
    b.make(Method::Conic, nullptr, nullptr, nullptr,
           {m, b.point(-50, 0), b.point(0, 60), b.point(60, -10), b.point(-10, -70)});
    // Loci and intersections that the sampling re-runs: a locus over the traced point, a point
    // on it and its crossings with a line.
    Element* d2 = pointOn(b, b.segment(b.point(-80, -80), b.point(80, -80)), 0.5);
    Element* inner = b.make(Method::Locus, b.make(Method::Midpoint, d2, m), d2);
    pointOn(b, inner, 0.25);
    b.intersection(inner, b.line(b.point(-200, -40), b.point(200, -30)), 42, 0);
    Element* locus = b.make(Method::Locus, m, d);
    Element* family = b.make(Method::Locus, around, d); // a family of circles, stored
    b.recalcAll();
    ASSERT_EQ(samples(locus).count, 80);
    ASSERT_GT(samples(family).count, 0);

    const std::string before = fullState(b.doc);
    sampleLocus(b.doc, *locus);
    EXPECT_EQ(fullState(b.doc), before);
    sampleLocus(b.doc, *family);
    EXPECT_EQ(fullState(b.doc), before);
    Point2 q;
    ASSERT_TRUE(pointOnLocusAt(b.doc, *locus, 2.0, q));
    EXPECT_EQ(fullState(b.doc), before);
    EXPECT_EQ(b.doc.partialPassDepth, 0);
    for (const Element* e = b.doc.head; e; e = e->next)
        EXPECT_EQ(e->work, 0);
}

TEST(Locus, APointOnALocusAtTheDriversParameterIsTheTracedPoint) {
    Builder b;
    Element* o = b.point(0, 0);
    Element* d = pointOn(b, b.circle(o, b.point(80, 0)), 1.1);
    Element* traced = b.make(Method::HomothetyPoint, d, b.point(20, 10), b.number(1.5));
    Element* locus = b.make(Method::Locus, traced, d);
    Element* on = pointOn(b, locus, d->value[3]);
    EXPECT_NEAR(on->value[0], traced->value[0], 1e-12);
    EXPECT_NEAR(on->value[1], traced->value[1], 1e-12);
    // Dragged along the locus it takes the parameter of the nearest sample.
    const auto& t = samples(locus);
    on->value[3] = nearestParameterOnElement(*locus, t.first[17]);
    recalcElement(b.doc, *on);
    EXPECT_NEAR(on->value[0], t.first[17].x, 1e-9);
    EXPECT_NEAR(on->value[1], t.first[17].y, 1e-9);
    // With a parameter driver the point's parameter is the fraction of the range.
    Element* k = parameter(b, 4, -2, 10);
    b.doc.pixelsPerUnit = 1;
    Element* p = pointOn(b, b.make(Method::CircleRadiusNumberCentre, o, k), 0.5);
    Element* plocus = b.make(Method::Locus, p, k);
    Element* pon = pointOn(b, plocus, 0.5);
    EXPECT_NEAR(pon->value[0], p->value[0], 1e-12);
    EXPECT_NEAR(pon->value[1], p->value[1], 1e-12);
}

TEST(Locus, ValidPairsAndWhenALocusIsDefined) {
    Builder b;
    Element* o = b.point(0, 0);
    Element* free = b.point(5, 5);
    Element* onCircle = pointOn(b, b.circle(o, b.point(10, 0)), 0);
    Element* grid = b.make(Method::Grid, axes(b, 0, 0));
    Element* node = b.make(Method::GridPoint, grid);
    Element* k = parameter(b, 1, 0, 5);
    Element* midOn = b.make(Method::Midpoint, onCircle, o);
    Element* midNode = b.make(Method::Midpoint, node, o);
    Element* polyOnNode = b.make(Method::Polygon, nullptr, nullptr, nullptr, {node, o, free});
    Element* byNumber = b.make(Method::CircleRadiusNumberCentre, o, k);
    struct Case {
        Element *traced, *driver;
        bool valid;
    };
    const Case cases[] = {
        {midOn, onCircle, true},     {midNode, node, true},   {polyOnNode, node, false},
        {byNumber, k, true},         {midOn, free, false},    {midNode, onCircle, false},
        {onCircle, onCircle, false}, {free, onCircle, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidLocusPair(b.doc, *c.traced, *c.driver), c.valid)
            << c.traced->method << " by " << c.driver->method;
    for (const Element* e = b.doc.head; e; e = e->next)
        EXPECT_EQ(e->mark, 0);
    // Undefined while the driver's carrier is; a parameter always runs.
    Element* locus = b.make(Method::Locus, midOn, onCircle);
    EXPECT_EQ(locus->defined, 1);
    onCircle->parent1->defined = 0;
    recalcElement(b.doc, *locus);
    EXPECT_EQ(locus->defined, 0);
    EXPECT_EQ(b.make(Method::Locus, byNumber, k)->defined, 1);
}

TEST(Locus, ADragOfItsOwnDriverKeepsTheSamples) {
    Builder b;
    Element* d = pointOn(b, b.circle(b.point(0, 0), b.point(50, 0)), 0);
    Element* fixed = b.point(100, 0);
    Element* locus = b.make(Method::Locus, b.make(Method::Midpoint, d, fixed), d);
    auto& t = *locus->tailAs<SampledCurveTail>();
    const Point2 kept{-7, -7};
    struct Case {
        const Element* dragged;
        bool keeps;
    };
    // The traced point itself keeps the first locus tracing it, not a second one.
    Element* second = b.make(Method::Locus, locus->parent1, d);
    const Case cases[] = {{d, true}, {fixed, false}, {locus->parent1, true}};
    for (const Case& c : cases) {
        t.first[3] = kept;
        second->tailAs<SampledCurveTail>()->first[3] = kept;
        b.doc.dragged = c.dragged;
        recalcElement(b.doc, *locus);
        recalcElement(b.doc, *second);
        EXPECT_EQ(t.first[3].x == kept.x, c.keeps) << c.dragged->method;
        EXPECT_EQ(second->tailAs<SampledCurveTail>()->first[3].x == kept.x, c.dragged == d);
    }
    b.doc.dragged = nullptr;
    recalcElement(b.doc, *locus);
    EXPECT_NEAR(t.first[3].x, (50 * std::cos(3 * 2 * Pi / 80) + 100) / 2, 1e-9);
}

TEST(Locus, AGridDriverSamplesEveryVisibleNode) {
    Builder b;
    b.doc.left = -100;
    b.doc.right = 100;
    b.doc.top = 100;
    b.doc.bottom = -100;
    Element* o = b.point(0, 0);
    Element* grid = b.make(Method::Grid, axes(b, 0, 0)); // unit 40: a node every 40
    b.req.value[0] = b.req.value[1] = 40;
    b.req.value[2] = b.req.value[3] = 1;
    Element* node = b.make(Method::GridPoint, grid);
    Element* locus = b.make(Method::Locus, b.make(Method::Midpoint, node, o), node);
    const auto& t = samples(locus);
    ASSERT_EQ(t.count, 36); // 6 columns (x = -100, -60 ... 100) and 6 rows
    EXPECT_EQ(t.first.size(), 36u);
    // (-100, 100) snaps to the node (-80, 80); the next column's (-60, 100) to (-40, 80).
    EXPECT_NEAR(t.first[0].x, -40, 1e-12);
    EXPECT_NEAR(t.first[0].y, 40, 1e-12);
    EXPECT_NEAR(t.first[1].x, -20, 1e-12);
    EXPECT_NEAR(t.first[35].x, 40, 1e-12);
    EXPECT_NEAR(t.first[35].y, -40, 1e-12);
    expectAt(node, 40, 40);
    EXPECT_EQ(node->value[2], 1.0);
    // A view of absurd size still gives a bounded number of nodes.
    b.doc.right = 1e300;
    recalcElement(b.doc, *locus);
    EXPECT_LE(samples(locus).count, MaxCurveSamples);
}

TEST(Locus, FamiliesAreReRunMemberByMember) {
    Builder b;
    Element* o = b.point(0, 0);
    Element* d = pointOn(b, b.segment(b.point(0, 0), b.point(100, 0)), 0.5);
    Element* tri = b.make(Method::Polygon, nullptr, nullptr, nullptr, {o, d, b.point(0, 50)});
    Element* family = b.make(Method::Locus, tri, d);
    ASSERT_EQ(family->defined, 1);
    EXPECT_EQ(samples(family).count, 0); // nothing stored
    EXPECT_EQ(samples(family).first.size(), 50u);
    // A family of loci: the locus of the midpoint of d and a point on a circle.
    Element* e = pointOn(b, b.circle(b.point(0, 100), b.point(10, 100)), 0);
    Element* innerLocus = b.make(Method::Locus, b.make(Method::Midpoint, d, e), e);
    Element* loci = b.make(Method::Locus, innerLocus, d);
    EXPECT_EQ(samples(loci).first.size(), 30u);
    b.recalcAll();
    const std::string before = fullState(b.doc);

    struct Collect : FamilyVisitor {
        std::vector<Point2> seen;
        bool visit(const Element& member) override {
            if (const auto* t = member.tailAs<PolygonTail>())
                seen.push_back(firstPointOf(*t->sides[1]));
            else
                seen.push_back(member.tailAs<SampledCurveTail>()->first[0]);
            return true;
        }
    };
    Collect triangles;
    runFamilyLocus(b.doc, *family, triangles);
    ASSERT_EQ(triangles.seen.size(), 50u);
    for (size_t i = 0; i < 50; ++i)
        EXPECT_NEAR(triangles.seen[i].x, 100.0 * double(i) / 49, 1e-9);
    Collect members;
    runFamilyLocus(b.doc, *loci, members);
    ASSERT_EQ(members.seen.size(), 30u);
    for (size_t i = 0; i < 30; ++i) // the inner locus starts at the midpoint of d and (10, 100)
        EXPECT_NEAR(members.seen[i].x, (100.0 * double(i) / 29 + 10) / 2, 1e-9);
    EXPECT_EQ(fullState(b.doc), before);
}

TEST(FunctionGraph, FourTypesSampleTheirFunction) {
    Builder b;
    Element* ax = axes(b, 10, 20, 40, 20);
    struct Case {
        int32_t type;
        const char* text;
        double a, b;
        Point2 (*at)(double v); // in axis units
    };
    const Case cases[] = {
        {FunctionType::YofX, "x^2-1", -2, 2,
         [](double v) {
             return Point2{v, v * v - 1};
         }},
        {FunctionType::XofY, "y^2", -1, 3,
         [](double v) {
             return Point2{v * v, v};
         }},
        {FunctionType::RofW, "w", 0, 6,
         [](double v) {
             return Point2{v * std::cos(v), v * std::sin(v)};
         }},
        {FunctionType::WofR, "r/2", 0, 4,
         [](double v) {
             return Point2{v * std::cos(v / 2), v * std::sin(v / 2)};
         }},
    };
    for (const Case& c : cases) {
        Element* fn = expression(b, Method::Function, c.text, c.type);
        b.req.value[1] = c.a;
        b.req.value[2] = c.b;
        Element* g = b.make(Method::FunctionGraph, fn, ax);
        ASSERT_EQ(g->defined, 1) << c.text;
        const auto& t = samples(g);
        ASSERT_EQ(t.count, 250) << c.text;
        for (int i : {0, 77, 249}) {
            const double v = c.a + i / 249.0 * (c.b - c.a);
            const Point2 p = c.at(v);
            EXPECT_NEAR(t.first[size_t(i)].x, 10 + 40 * p.x, 1e-9) << c.text << i;
            EXPECT_NEAR(t.first[size_t(i)].y, 20 + 20 * p.y, 1e-9) << c.text << i;
            EXPECT_NEAR(t.params[size_t(i)], i / 249.0, 1e-15);
        }
        Point2 q;
        ASSERT_TRUE(evaluatePointOnElement(b.doc, *g, 0.5, q));
        EXPECT_NEAR(q.x, 10 + 40 * c.at((c.a + c.b) / 2).x, 1e-9) << c.text;
        // The function's own numbers are not changed by its graph.
        EXPECT_EQ(fn->tailAs<ExpressionTail>()->exprValues[0], 0.0) << c.text;
    }
    // Where the function has no value the graph has a gap, narrowed to the boundary.
    Element* root = expression(b, Method::Function, "sqr(x)", FunctionType::YofX);
    b.req.value[1] = -1;
    b.req.value[2] = 1;
    const auto& t = samples(b.make(Method::FunctionGraph, root, ax));
    int first = 0;
    while (first < 250 && !isSampleDefined(t, first))
        ++first;
    ASSERT_GT(first, 100);
    EXPECT_NEAR(t.first[size_t(first)].x, 10, 1e-6); // x = 0
    EXPECT_EQ(t.first[size_t(first - 1)].y, 99999999.0);
    // Undefined parents leave the graph undefined.
    ax->defined = 0;
    Element* g = b.make(Method::FunctionGraph, root, ax);
    EXPECT_EQ(g->defined, 0);
}

TEST(FunctionGraph, RangesAtCreationFollowTheType) {
    Builder b;
    Element* ax = axes(b, 100, 50, 40, 20);
    b.doc.angleUnit = AngleUnit::Deg;
    struct Case {
        int32_t type;
        const char* text;
        double a, b;
    };
    // The visible area: x from -300 to 500, y from 250 down to -150.
    const Case cases[] = {
        {FunctionType::YofX, "x", -10, 10},
        {FunctionType::XofY, "y", -10, 10},
        {FunctionType::RofW, "w", 0, 360},
        {FunctionType::WofR, "r", 0, 10},
    };
    for (const Case& c : cases) {
        double lo = 0, hi = 0;
        ASSERT_TRUE(functionGraphRange(b.doc, *expression(b, Method::Function, c.text, c.type), *ax,
                                       -300, 250, 500, -150, lo, hi));
        EXPECT_NEAR(lo, c.a, 1e-12) << c.text;
        EXPECT_NEAR(hi, c.b, 1e-12) << c.text;
    }
}

TEST(FunctionGraph, CrossesTheXAxisAtPlusAndMinusOne) {
    Builder b;
    Element* ax = axes(b, 0, 0);
    Element* fn = expression(b, Method::Function, "x^2-1", FunctionType::YofX);
    b.req.value[1] = -3;
    b.req.value[2] = 3;
    Element* g = b.make(Method::FunctionGraph, fn, ax);
    Element* xAxis = ax->subElement(0);
    ASSERT_EQ(xAxis->method, Method::AxisX);
    Element* left = b.intersection(g, xAxis, 42, 0);
    Element* right = b.intersection(xAxis, g, 42, 1);
    expectAt(left, -40, 0, 40 * 1e-4);
    expectAt(right, 40, 0, 40 * 1e-4);
    EXPECT_EQ(b.intersection(g, xAxis, 42, 2)->defined, 0);
    // The graph has its own samples back afterwards.
    EXPECT_EQ(samples(g).count, 250);
    EXPECT_EQ(samples(g).first.size(), 250u);
    Point2 found;
    EXPECT_EQ(finerLocusCrossings(b.doc, *g, *xAxis, 0, found), 2);
}

TEST(Locus, CrossingsUseFinerSamplesAndGiveTheLocusItsOwnBack) {
    Builder b;
    // The locus of a midpoint over a circle of radius 100 about (100, 0): the circle of radius 50
    // about (50, 0); a line y = 30 crosses it at x = 50 -+ 40.
    Element* d = pointOn(b, b.circle(b.point(100, 0), b.point(200, 0)), 0);
    b.opts.locusPoints = 12;
    Element* locus = b.make(Method::Locus, b.make(Method::Midpoint, d, b.point(0, 0)), d);
    const SampledCurveTail own = samples(locus);
    Element* line = b.line(b.point(-100, 30), b.point(200, 30));
    Element* x0 = b.intersection(locus, line, 42, 0);
    Element* x1 = b.intersection(locus, line, 42, 1);
    // With 12 samples the chords stray by 50 (1 - cos 15 deg) = 1.7; with 500, by 0.002.
    EXPECT_NEAR(x0->value[1], 30, 1e-9);
    EXPECT_NEAR(std::fabs(x0->value[0] - 50), 40, 0.01);
    EXPECT_NEAR(std::fabs(x1->value[0] - 50), 40, 0.01);
    EXPECT_GT(std::fabs(x0->value[0] - x1->value[0]), 79);
    const auto& after = samples(locus);
    ASSERT_EQ(after.first.size(), 12u);
    ASSERT_EQ(after.count, own.count);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(after.first[i].x, own.first[i].x);
        EXPECT_EQ(after.first[i].y, own.first[i].y);
        EXPECT_EQ(after.params[i], own.params[i]);
    }
}

TEST(Locus, HostileSampleCountsAreRefusedOrClamped) {
    // A record asking for more samples than the editor allows is refused; the limit is taken.
    EXPECT_EQ(MaxCurveSamples, 50000);
    for (int32_t n : {MaxCurveSamples + 1, MaxCurveSamples}) {
        FileBytes f;
        f.i32(n).common(900, 1, -1, -1, -1, 0, 0, 0, false);
        ElementReadContext ctx;
        ByteReader in(f.bytes().data(), f.bytes().size());
        EXPECT_EQ(readElementRecord(in, Method::Locus, ctx) == nullptr, n > MaxCurveSamples) << n;
    }
    // The limit over a long chain is sampled more coarsely, in bounded time.
    Builder b;
    Element* d = pointOn(b, b.circle(b.point(0, 0), b.point(10, 0)), 0);
    Element* p = d;
    for (int i = 0; i < 2000; ++i)
        p = b.make(Method::Midpoint, p, d);
    b.opts.locusPoints = MaxCurveSamples;
    Element* locus = b.make(Method::Locus, p, d);
    EXPECT_GT(samples(locus).count, 1000);
    EXPECT_LT(samples(locus).count, MaxCurveSamples);
}

} // namespace
} // namespace qorv::testing
