#include "builder.h"

#include "geometry/intersectionpoint.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qorv;
using namespace qorv::testing;

namespace {

// An arc through three points, its numbers set by hand (the arc construction is computed
// elsewhere): centre, a point on it, its sense and its straight flag.
Element* handArc(Builder& b, Element* p1, Element* p2, Element* p3, Point2 centre, bool ccw,
                 bool straight = false) {
    Element* arc = b.make(Method::ArcThreePoints, p1, p2, p3);
    if (straight) {
        arc->value[0] = p1->value[0];
        arc->value[1] = p1->value[1];
        arc->value[2] = p3->value[0];
        arc->value[3] = p3->value[1];
    } else {
        arc->value[0] = centre.x;
        arc->value[1] = centre.y;
        arc->value[2] = p2->value[0];
        arc->value[3] = p2->value[1];
    }
    arc->option = ccw ? 1 : 0;
    arc->option2 = straight ? 1 : 0;
    arc->defined = 1;
    return arc;
}

Element* handConic(Builder& b) {
    std::vector<Element*> pts;
    for (int i = 0; i < 5; ++i)
        pts.push_back(b.point(100 + i, 100));
    Element* c = b.make(Method::Conic, nullptr, nullptr, nullptr, pts);
    return c;
}

} // namespace

TEST(IntersectionPoint, LineCircleVariantsFollowTheLine) {
    Builder b;
    Element* o = b.point(0, 0);
    Element* top = b.point(0, 5);
    Element* c = b.circle(o, top);
    Element* l = b.line(b.point(-10, 3), b.point(10, 3));
    expectAt(b.intersection(l, c, 6), 4, 3);
    expectAt(b.intersection(l, c, 7), -4, 3);
    Element* miss = b.line(b.point(-10, 6), b.point(10, 6));
    EXPECT_EQ(b.intersection(miss, c, 6)->defined, 0);
    EXPECT_EQ(b.intersection(miss, c, 7)->defined, 0);
}

TEST(IntersectionPoint, SharedPointIsAvoided) {
    // The circle through A and a line through A: both variants give the other crossing.
    Builder b;
    Element* o = b.point(0, 0);
    Element* a = b.point(5, 0);
    Element* c = b.circle(o, a);
    Element* far = b.point(0, 10);
    // Line A -> (0, 10) meets the circle again at (3, 4).
    for (Element* l : {b.line(a, far), b.line(far, a)}) {
        expectAt(b.intersection(l, c, 6), 3, 4);
        expectAt(b.intersection(l, c, 7), 3, 4);
    }
    // A line merely passing through the same place (not through A itself) is not avoided.
    Element* other = b.line(b.point(5, 0), far);
    expectAt(b.intersection(other, c, 7), 5, 0);
    // Two circles through A meet at A = (5, 0) and (0, 5): both variants avoid A.
    Element* c1 = b.circle(o, a);
    Element* c2 = b.circle(b.point(5, 5), a);
    expectAt(b.intersection(c1, c2, 12), 0, 5);
    expectAt(b.intersection(c1, c2, 13), 0, 5);
    // A circle through a point on the first circle: that point is the one avoided.
    Element* onC = b.make(Method::PointOnElement, c1);
    onC->value[3] = Pi / 2; // (0, 5)
    recalcElement(b.doc, *onC);
    Element* c3 = b.circle(b.point(5, 5), onC);
    expectAt(b.intersection(c1, c3, 12), 5, 0);
    expectAt(b.intersection(c1, c3, 13), 5, 0);
    // Two known common points (the line through onC and A with the circle): the variants keep
    // their own candidates, ordered along the line from onC towards A.
    Element* chord = b.line(onC, a);
    expectAt(b.intersection(chord, c1, 6), 5, 0);
    expectAt(b.intersection(chord, c1, 7), 0, 5);
}

TEST(IntersectionPoint, SegmentEndTolerances) {
    Builder b;
    Element* s = b.segment(b.point(0, 0), b.point(10, 0));
    Element* near = b.line(b.point(10.00009, -1), b.point(10.00009, 1));
    Element* far = b.line(b.point(10.0002, -1), b.point(10.0002, 1));
    expectAt(b.intersection(near, s, 1), 10.00009, 0);
    EXPECT_EQ(b.intersection(far, s, 1)->defined, 0);
    // Segment with segment: both must hold the candidate.
    Element* shortSeg = b.segment(b.point(10.00009, -1), b.point(10.00009, -0.5));
    EXPECT_EQ(b.intersection(s, shortSeg, 3)->defined, 0);
    // Ray with a line: behind the origin there is nothing.
    Element* r = b.ray(b.point(0, 0), b.point(1, 1));
    Element* anti = b.line(b.point(-4, 0), b.point(0, -4)); // meets y = x at (-2, -2)
    EXPECT_EQ(b.intersection(anti, r, 2)->defined, 0);
    Element* pro = b.line(b.point(4, 0), b.point(0, 4));
    expectAt(b.intersection(pro, r, 2), 2, 2);
}

TEST(IntersectionPoint, ClippedCircleCandidatesAndTheKeepOwnToggle) {
    Builder b;
    Element* c = b.circle(b.point(0, 0), b.point(0, 5));
    Element* s = b.segment(b.point(0, 0), b.point(10, 0)); // crosses at (5, 0) only
    expectAt(b.intersection(s, c, 8), 5, 0);
    expectAt(b.intersection(s, c, 9), 5, 0); // the other one survives and is taken
    EXPECT_EQ(b.intersection(s, c, 9, KeepOwnCandidate)->defined, 0);
    expectAt(b.intersection(s, c, 8, KeepOwnCandidate), 5, 0);
    // Curved pairs allow 0.001 beyond the end.
    Element* shortSeg = b.segment(b.point(0, 0), b.point(4.9995, 0));
    expectAt(b.intersection(shortSeg, c, 8), 5, 0);
    Element* tooShort = b.segment(b.point(0, 0), b.point(4.998, 0));
    EXPECT_EQ(b.intersection(tooShort, c, 8)->defined, 0);
    // Ray from the centre.
    Element* r = b.ray(b.point(0, 0), b.point(0, -1));
    expectAt(b.intersection(r, c, 10), 0, -5);
    expectAt(b.intersection(r, c, 11), 0, -5);
    // A tangent counts as the first candidate.
    Element* t = b.line(b.point(-3, 5), b.point(3, 5));
    expectAt(b.intersection(t, c, 6), 0, 5);
    expectAt(b.intersection(t, c, 7), 0, 5);
    EXPECT_EQ(b.intersection(t, c, 7, KeepOwnCandidate)->defined, 0);
}

TEST(IntersectionPoint, ArcsUseTheirCircleAndTheirSweep) {
    Builder b;
    Element* p1 = b.point(5, 0);
    Element* top = b.point(0, 5);
    Element* p3 = b.point(-5, 0);
    Element* upper = handArc(b, p1, top, p3, {0, 0}, true);
    Element* lower = handArc(b, p1, b.point(0, -5), p3, {0, 0}, false);
    Element* above = b.line(b.point(-10, 3), b.point(10, 3));
    expectAt(b.intersection(upper, above, 14), 4, 3);
    expectAt(b.intersection(upper, above, 15), -4, 3);
    EXPECT_EQ(b.intersection(lower, above, 14)->defined, 0);
    Element* below = b.line(b.point(-10, -3), b.point(10, -3));
    expectAt(b.intersection(lower, below, 15), -4, -3);
    // A quarter arc from (5, 0) counter-clockwise to (0, 5) keeps only one crossing with y = 3.
    Element* quarter =
        handArc(b, p1, b.point(5 * std::cos(0.7), 5 * std::sin(0.7)), top, {0, 0}, true);
    expectAt(b.intersection(quarter, above, 15), 4, 3); // the other candidate, taken
    EXPECT_EQ(b.intersection(quarter, above, 15, KeepOwnCandidate)->defined, 0);
    // Arc with circle: the circle of radius 5 about (5, 5) meets the full circle at (5, 0) and
    // (0, 5), both ends of the quarter arc.
    Element* c = b.circle(b.point(5, 5), b.point(10, 5));
    // Nothing is shared; the chord direction (0,0)-(5,5) turned clockwise puts (0, 5) first.
    expectAt(b.intersection(quarter, c, 22), 0, 5);
    expectAt(b.intersection(quarter, c, 23), 5, 0);
}

TEST(IntersectionPoint, StraightArcsActAsStraightElements) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* m = b.point(5, 0);
    Element* e = b.point(10, 0);
    Element* seg = handArc(b, a, m, e, {}, false, true); // option 0: the segment a..e
    Element* c = b.circle(b.point(0, 0), b.point(0, 5));
    // Code 22 (arc, circle) becomes 8 (segment, circle): only (5, 0) survives.
    expectAt(b.intersection(seg, c, 22), 5, 0);
    EXPECT_EQ(b.intersection(seg, c, 23, KeepOwnCandidate)->defined, 0);
    // With option set the straight arc is the rest of the line: code 6, both crossings.
    Element* beyond = handArc(b, a, b.point(20, 0), e, {}, true, true);
    expectAt(b.intersection(beyond, c, 22), 5, 0);
    expectAt(b.intersection(beyond, c, 23), -5, 0);
    // Arc with line becomes line with line.
    Element* v = b.line(b.point(3, -1), b.point(3, 1));
    expectAt(b.intersection(seg, v, 15), 3, 0);
    // Arc with arc where the first is straight: the parents are swapped.
    Element* upper = handArc(b, b.point(5, 0), b.point(0, 5), b.point(-5, 0), {0, 0}, true);
    Element* diag = handArc(b, b.point(-10, -10), b.point(0, 0), b.point(10, 10), {}, false, true);
    // The diagonal y = x (as a segment) meets the upper half circle at (5/sqrt2, 5/sqrt2).
    const double h = 5 / std::sqrt(2.0);
    expectAt(b.intersection(diag, upper, 20), h, h);
    expectAt(b.intersection(upper, diag, 21), h, h);
}

TEST(IntersectionPoint, ConicWithLinesCirclesAndConics) {
    Builder b;
    Element* k = handConic(b);
    makeEllipse(k, 0, 0, 6, 4);
    Element* l = b.line(b.point(0, 0), b.point(1, 0));
    expectAt(b.intersection(k, l, 24), 6, 0);
    expectAt(b.intersection(k, l, 25), -6, 0);
    Element* s = b.segment(b.point(0, 0), b.point(10, 0));
    expectAt(b.intersection(k, s, 27), 6, 0);
    EXPECT_EQ(b.intersection(k, s, 27, KeepOwnCandidate)->defined, 0);

    // Four crossings with the circle of radius 5: every variant is a distinct one of them.
    Element* c = b.circle(b.point(0, 0), b.point(5, 0));
    const double x = std::sqrt(81.0 / 5), y = std::sqrt(44.0 / 5);
    Point2 seen[4];
    for (int i = 0; i < 4; ++i) {
        Element* p = b.intersection(k, c, 34 + i);
        ASSERT_EQ(p->defined, 1) << i;
        EXPECT_NEAR(std::fabs(p->value[0]), x, 1e-9);
        EXPECT_NEAR(std::fabs(p->value[1]), y, 1e-9);
        seen[i] = pos(p);
        for (int j = 0; j < i; ++j)
            EXPECT_GT(distance(seen[i], seen[j]), 1);
    }
    // Two crossings with a circle of radius 3 about (5, 0): variants 2 and 3 are undefined.
    Element* c2 = b.circle(b.point(5, 0), b.point(8, 0));
    EXPECT_EQ(b.intersection(k, c2, 34)->defined, 1);
    EXPECT_EQ(b.intersection(k, c2, 35)->defined, 1);
    EXPECT_EQ(b.intersection(k, c2, 36)->defined, 0);
    EXPECT_EQ(b.intersection(k, c2, 37)->defined, 0);

    // Conic with conic: the ellipse and a narrower ellipse x^2/4 + y^2/25 = 1.
    Element* k2 = handConic(b);
    makeEllipse(k2, 0, 0, 2, 5);
    // 16 x^2 + 36 y^2 = 576 and 25 x^2 + 4 y^2 = 100.
    const double yy = (576.0 / 16 - 100.0 / 25) / (36.0 / 16 - 4.0 / 25);
    const double xx = (100 - 4 * yy) / 25;
    for (int i = 0; i < 4; ++i) {
        Element* p = b.intersection(k, k2, 30 + i);
        ASSERT_EQ(p->defined, 1) << i;
        EXPECT_NEAR(p->value[0] * p->value[0], xx, 1e-8);
        EXPECT_NEAR(p->value[1] * p->value[1], yy, 1e-8);
    }
    // The same curve twice: no intersection.
    Element* k3 = handConic(b);
    makeEllipse(k3, 0, 0, 6, 4);
    EXPECT_EQ(b.intersection(k, k3, 30)->defined, 0);
    // Conic with an arc: only the crossings on the upper half arc of radius 5 remain.
    Element* upper = handArc(b, b.point(5, 0), b.point(0, 5), b.point(-5, 0), {0, 0}, true);
    int onArc = 0;
    for (int i = 0; i < 4; ++i) {
        Element* p = b.intersection(k, upper, 38 + i);
        if (p->defined) {
            ++onArc;
            EXPECT_GT(p->value[1], 0);
        }
    }
    EXPECT_EQ(onArc, 2);
}

TEST(IntersectionPoint, ConicNearTangencyGivesNoCoincidentPoints) {
    // The ellipse ((x - 100) / 60)^2 + ((y - 50) / 40)^2 = 1 through five of its points, and
    // circles about its centre: radius 60.00005 and 39.99995 miss it by 5e-5 near its vertices;
    // radius 59.99995 crosses it in two close pairs near (100 +- 60, 50).
    Builder b;
    std::vector<Element*> pts;
    for (int i = 0; i < 5; ++i)
        pts.push_back(
            b.point(100 + 60 * std::cos(0.3 + 1.2 * i), 50 + 40 * std::sin(0.3 + 1.2 * i)));
    Element* k = b.make(Method::Conic, nullptr, nullptr, nullptr, pts);
    ASSERT_EQ(k->defined, 1);
    for (double r : {60.00005, 39.99995, 59.99995}) {
        Element* circle = b.circle(b.point(100, 50), b.point(100 + r, 50));
        IntersectionCandidates cand;
        ASSERT_TRUE(intersectionCandidates(*k, *circle, 34, cand));
        for (int i = 0; i < cand.count; ++i) {
            EXPECT_NEAR(distance(cand.point[i], {100, 50}), r, 1e-4) << r;
            for (int j = 0; j < i; ++j)
                EXPECT_GT(distance(cand.point[i], cand.point[j]), 1e-3) << r;
        }
        if (r != 59.99995) {
            EXPECT_LE(cand.count, 2) << r; // at most one point where the curves nearly touch
            continue;
        }
        // (x - 100)^2 = r^2 - (y - 50)^2 in the ellipse's equation.
        const double dy = std::sqrt((1 - r * r / 3600) / (1.0 / 1600 - 1.0 / 3600));
        ASSERT_EQ(cand.count, 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(std::fabs(cand.point[i].y - 50), dy, 1e-7);
            EXPECT_NEAR(std::fabs(cand.point[i].x - 100), std::sqrt(r * r - dy * dy), 1e-9);
        }
    }
}

TEST(IntersectionPoint, LinePairConicUsesItsLines) {
    Builder b;
    Element* k = handConic(b);
    auto* t = k->tailAs<ConicTail>();
    // x y = 0: the two axes.
    for (double& v : t->coefficients)
        v = 0;
    t->coefficients[1] = 1;
    t->conicType = 4;
    t->samples[0] = {-10000, 0};
    t->samples[1] = {10000, 0};
    t->samples[2] = {0, -10000};
    t->samples[3] = {0, 10000};
    k->defined = 1;
    Element* c = b.circle(b.point(0, 0), b.point(5, 0));
    expectAt(b.intersection(k, c, 34), 5, 0, 1e-7);
    expectAt(b.intersection(k, c, 35), -5, 0, 1e-7);
    expectAt(b.intersection(k, c, 36), 0, 5, 1e-7);
    expectAt(b.intersection(k, c, 37), 0, -5, 1e-7);
    Element* k2 = handConic(b);
    makeEllipse(k2, 0, 0, 6, 4);
    expectAt(b.intersection(k, k2, 30), 6, 0, 1e-7);
    expectAt(b.intersection(k, k2, 32), 0, 4, 1e-7);
}

TEST(IntersectionPoint, BaseCodesOfPairs) {
    Builder b;
    Element* p = b.point(0, 0);
    Element* q = b.point(1, 0);
    Element* l = b.line(p, q);
    Element* s = b.segment(p, q);
    Element* r = b.ray(p, q);
    Element* c = b.circle(p, q);
    Element* k = handConic(b);
    Element* arc = handArc(b, q, b.point(0, 1), b.point(-1, 0), {0, 0}, true);
    bool swap = false;
    EXPECT_EQ(intersectionBaseCode(*l, *s, swap), 1);
    EXPECT_FALSE(swap);
    EXPECT_EQ(intersectionBaseCode(*s, *l, swap), 1);
    EXPECT_TRUE(swap);
    EXPECT_EQ(intersectionBaseCode(*r, *r, swap), 5);
    EXPECT_EQ(intersectionBaseCode(*c, *r, swap), 10);
    EXPECT_TRUE(swap);
    EXPECT_EQ(intersectionBaseCode(*arc, *s, swap), 16);
    EXPECT_EQ(intersectionBaseCode(*c, *k, swap), 34);
    EXPECT_TRUE(swap);
    EXPECT_EQ(intersectionBaseCode(*k, *arc, swap), 38);
    EXPECT_EQ(intersectionBaseCode(*p, *l, swap), -1);
    EXPECT_EQ(intersectionCandidateSlots(3), 1);
    EXPECT_EQ(intersectionCandidateSlots(27), 2);
    EXPECT_EQ(intersectionCandidateSlots(41), 4);
    // A code that does not fit its parents is undefined, not a crash.
    EXPECT_EQ(b.intersection(p, l, 0)->defined, 0);
    EXPECT_EQ(b.intersection(c, l, 0)->defined, 0);
    EXPECT_EQ(b.intersection(l, c, 77)->defined, 0);
    EXPECT_EQ(b.intersection(l, c, -3)->defined, 0);
}

TEST(IntersectionPoint, LocusCrossingsOverStoredSamples) {
    Builder b;
    Element* driver = b.make(Method::PointOnElement, b.line(b.point(0, 0), b.point(1, 0)));
    Element* traced = b.make(Method::Midpoint, driver, b.point(0, 0));
    Element* locus = b.make(Method::Locus, traced, driver);
    auto* t = locus->tailAs<SampledCurveTail>();
    // y = x^2 / 10 for x = -10 .. 10 in steps of 0.5; x = +-5 are samples themselves.
    t->resize(41);
    t->count = 41;
    for (int i = 0; i < 41; ++i) {
        const double x = -10 + 0.5 * i;
        t->first[size_t(i)] = {x, x * x / 10};
        t->params[size_t(i)] = i;
        t->words[size_t(i)] = 0;
    }
    locus->defined = 1;
    // Intersection points sample the locus afresh; the crossings of the samples as they are
    // stored are what the hover of the tools uses.
    Element* l = b.line(b.point(-20, 2.5), b.point(20, 2.5));
    Point2 x0, x1, x2;
    EXPECT_EQ(locusCrossings(*locus, *l, 0, x0), 2);
    locusCrossings(*locus, *l, 1, x1);
    EXPECT_EQ(locusCrossings(*locus, *l, 2, x2), 2);
    EXPECT_NEAR(x0.x, -5, 1e-9);
    EXPECT_NEAR(x0.y, 2.5, 1e-9);
    EXPECT_NEAR(x1.x, 5, 1e-9);
    // The crossing nearest to a place is numbered too.
    const Point2 near{4, 3};
    int nearest = -1;
    locusCrossings(*locus, *l, 0, x2, &near, &nearest);
    EXPECT_EQ(nearest, 1);
    // A gap in the samples removes the crossings in it.
    t->words[25] = -1111; // x = 2.5
    t->words[30] = -1111; // x = 5
    EXPECT_EQ(locusCrossings(*locus, *l, 0, x0), 1);
    EXPECT_NEAR(x0.x, -5, 1e-9);
    // The circle of radius 4 about (0, 6) stays clear of the curve: with u = x^2,
    // u + (u/10 - 6)^2 = 16 gives u^2 - 20u + 2000 = 0, which has no real root.
    t->words[25] = t->words[30] = 0;
    Element* c = b.circle(b.point(0, 6), b.point(0, 10));
    EXPECT_EQ(locusCrossings(*locus, *c, 0, x0), 0);
    Element* c2 = b.circle(b.point(0, 0), b.point(0, 5));
    // x^2 + x^4/100 = 25: u^2 + 100u - 2500 = 0.
    const double u = (-100 + std::sqrt(10000 + 10000)) / 2;
    Point2 y0, y1;
    ASSERT_EQ(locusCrossings(*locus, *c2, 0, y0), 2);
    locusCrossings(*locus, *c2, 1, y1);
    // The polyline's chords sit slightly above the curve; within 0.05 of the true crossings.
    EXPECT_NEAR(y0.x, -std::sqrt(u), 0.05);
    EXPECT_NEAR(y1.x, std::sqrt(u), 0.05);
    EXPECT_NEAR(distance(y0, {0, 0}), 5, 1e-9);
}
