// Animation steps: each animatable kind moves by its rule and turns back or wraps at its ends.
#include "geometry/animation.h"

#include "builder.h"

namespace qorv::testing {
namespace {

// A point on `host` at parameter t, in the animation list with the given settings.
AnimationRecord& animatePointOn(Builder& b, Element* host, double t, int direction, int speed) {
    Element* p = b.make(Method::PointOnElement, host);
    p->value[3] = t;
    recalcElement(b.doc, *p);
    toggleAnimation(b.doc, p);
    AnimationRecord& a = b.doc.animations.back();
    a.settings[AnimSetting::Direction] = direction;
    a.settings[AnimSetting::Speed] = speed;
    return a;
}

TEST(Animation, StepLengthGrowsWithTheSquareOfTheSpeed) {
    EXPECT_DOUBLE_EQ(animationStepLength(10, 0), 1.0);
    EXPECT_DOUBLE_EQ(animationStepLength(100, 0), 100.0);
    EXPECT_DOUBLE_EQ(animationStepLength(100, 1), -100.0);
    EXPECT_DOUBLE_EQ(animationStepLength(0, 1), 0.0);
}

TEST(Animation, PointOnSegmentBouncesAtItsEnds) {
    Builder b;
    Element* seg = b.segment(b.point(0, 0), b.point(100, 0));
    AnimationRecord& a = animatePointOn(b, seg, 0.95, 0, 100);
    Element* p = a.element;
    ASSERT_TRUE(animationStep(b.doc));
    EXPECT_DOUBLE_EQ(p->value[3], 0.9999);
    EXPECT_EQ(a.settings[AnimSetting::Direction], 1);
    // Backwards at speed 50 (s = -25): a quarter of the segment per step, down to the other end.
    a.settings[AnimSetting::Speed] = 50;
    for (int i = 0; i < 4; ++i)
        animationStep(b.doc);
    EXPECT_DOUBLE_EQ(p->value[3], 0.0001);
    EXPECT_EQ(a.settings[AnimSetting::Direction], 0);
    animationStep(b.doc);
    EXPECT_NEAR(p->value[3], 0.2501, 1e-12);
    recalcUpTo(b.doc);
    expectAt(p, 25.01, 0, 1e-9);
    EXPECT_EQ(b.doc.modified, 1);
}

TEST(Animation, SpeedZeroAndPausedEntriesStayWhereTheyAre) {
    Builder b;
    Element* seg = b.segment(b.point(0, 0), b.point(100, 0));
    Element* still = animatePointOn(b, seg, 0.5, 0, 0).element;
    animatePointOn(b, seg, 0.25, 0, 40).settings[AnimSetting::Playing] = 0;
    Element* paused = b.doc.animations.back().element;
    std::vector<Element*> moved;
    animationStep(b.doc, &moved);
    EXPECT_EQ(still->value[3], 0.5);
    EXPECT_EQ(paused->value[3], 0.25);
    EXPECT_EQ(moved, std::vector<Element*>{still});
}

TEST(Animation, PointsOnClosedCurvesWrapRound) {
    struct Case {
        const char* what;
        double t, expected;
        int direction, speed;
    };
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(100, 0);
    Element* d = b.point(100, 50);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, d});
    Element* circle = b.circle(a, c); // radius 100
    // Polygon: backwards past 0 continues on the last side; forwards past the side count wraps to
    // its start. Circle: an angle beyond a full turn starts again.
    const Case cases[] = {
        {"polygon backwards", 0.05, 3 - 0.0001, 1, 100},
        {"polygon forwards", 2.99, 0.0001, 0, 100},
        {"polygon inside a side", 0.5, 0.5 + 1.0 / 100, 0, 10},
        {"circle", 1.0, 1.0 + 1.0 / 100, 0, 10},
        {"circle past a turn", 6.28, 0.0001, 0, 100},
    };
    for (const Case& k : cases) {
        b.doc.animations.clear();
        Element* host = std::string(k.what).starts_with("circle") ? circle : poly;
        AnimationRecord& r = animatePointOn(b, host, k.t, k.direction, k.speed);
        animationStep(b.doc);
        EXPECT_NEAR(r.element->value[3], k.expected, 1e-12) << k.what;
        EXPECT_EQ(r.settings[AnimSetting::Direction], k.direction) << k.what;
    }
}

TEST(Animation, ParameterStaysInItsRangeAndTurnsBack) {
    Builder b;
    Element* k = b.number(1.5);
    k->tailAs<ParameterTail>()->minimum = -2;
    k->tailAs<ParameterTail>()->maximum = 2;
    toggleAnimation(b.doc, k);
    AnimationRecord& a = b.doc.animations.back();
    a.settings[AnimSetting::Direction] = 0;
    a.settings[AnimSetting::Speed] = 100; // 100 x 4 / 999 per step
    bool turnedAtTop = false, turnedAtBottom = false;
    double previous = k->value[0];
    for (int i = 0; i < 100; ++i) {
        const int direction = a.settings[AnimSetting::Direction];
        animationStep(b.doc);
        ASSERT_GE(k->value[0], -2);
        ASSERT_LE(k->value[0], 2);
        if (a.settings[AnimSetting::Direction] != direction) {
            (direction == 0 ? turnedAtTop : turnedAtBottom) = true;
            EXPECT_EQ(k->value[0], direction == 0 ? 2.0 : -2.0);
        } else {
            EXPECT_NEAR(std::fabs(k->value[0] - previous), 400.0 / 999, 1e-12);
        }
        previous = k->value[0];
    }
    EXPECT_TRUE(turnedAtTop);
    EXPECT_TRUE(turnedAtBottom);
}

TEST(Animation, LinesTurnAndCirclesGrowWithinBounds) {
    Builder b;
    Element* o = b.point(10, 20);
    b.req.value[2] = 110;
    b.req.value[3] = 20;
    Element* line = b.make(Method::LineThroughPoint, o);
    line->value[2] = 110, line->value[3] = 20;
    recalcElement(b.doc, *line);
    Element* circle = b.make(Method::CircleByCentre, o);
    circle->value[2] = 10, circle->value[3] = 20 + 998;
    recalcElement(b.doc, *circle);
    toggleAnimation(b.doc, line);
    toggleAnimation(b.doc, circle);
    for (AnimationRecord& r : b.doc.animations)
        r.settings[AnimSetting::Direction] = 0, r.settings[AnimSetting::Speed] = 100;
    animationStep(b.doc);
    // The direction point turns by 0.01 x 100 = 1 radian about the base, 100 away from it.
    EXPECT_NEAR(line->value[2], 10 + 100 * std::cos(1.0), 1e-9);
    EXPECT_NEAR(line->value[3], 20 + 100 * std::sin(1.0), 1e-9);
    // The radius would pass 999: it stops there and shrinks from then on.
    EXPECT_NEAR(circle->value[3] - circle->value[1], 999, 1e-9);
    EXPECT_EQ(b.doc.animations[1].settings[AnimSetting::Direction], 1);
    animationStep(b.doc);
    EXPECT_NEAR(circle->value[3] - circle->value[1], 899, 1e-9);
}

TEST(Animation, PointOnLineThroughTwoPointsTurnsAtItsFarBound) {
    Builder b;
    Element* line = b.line(b.point(0, 0), b.point(10, 0));
    Element* ray = b.ray(b.point(0, 0), b.point(10, 0));
    Element* p = animatePointOn(b, line, 99.0, 0, 100).element;
    Element* q = animatePointOn(b, ray, 5.0, 1, 100).element;
    animationStep(b.doc);
    // (Entries are looked up again: adding one may move the others.)
    const AnimationRecord& onLine = *animationEntryOf(b.doc, p);
    const AnimationRecord& onRay = *animationEntryOf(b.doc, q);
    EXPECT_DOUBLE_EQ(onLine.element->value[3], 99.9); // 999 / 10
    EXPECT_EQ(onLine.settings[AnimSetting::Direction], 1);
    EXPECT_DOUBLE_EQ(onRay.element->value[3], 0.0);
    EXPECT_EQ(onRay.settings[AnimSetting::Direction], 0);
}

TEST(Animation, ListsTakeAtMostAHundredEntriesAndToggle) {
    Builder b;
    Element* seg = b.segment(b.point(0, 0), b.point(100, 0));
    std::vector<Element*> points;
    for (int i = 0; i < 101; ++i) {
        Element* p = b.make(Method::PointOnElement, seg);
        points.push_back(p);
        EXPECT_EQ(toggleAnimation(b.doc, p), i < 100);
        EXPECT_EQ(toggleTrace(b.doc, p), i < 100);
    }
    EXPECT_EQ(b.doc.animations.size(), 100u);
    EXPECT_EQ(b.doc.traceList.size(), 100u);
    EXPECT_EQ(b.doc.animations[0].settings[AnimSetting::Playing], 1);
    EXPECT_EQ(b.doc.animations[0].settings[AnimSetting::Direction], 1);
    EXPECT_EQ(b.doc.animations[0].settings[AnimSetting::Speed], 15);
    EXPECT_FALSE(toggleAnimation(b.doc, points[3]));
    EXPECT_FALSE(toggleTrace(b.doc, points[3]));
    EXPECT_EQ(animationEntryOf(b.doc, points[3]), nullptr);
    EXPECT_EQ(b.doc.traceList.size(), 99u);
    EXPECT_FALSE(isAnimatable(*seg));
    EXPECT_FALSE(isAnimatable(*seg->parent1)); // a free point is dragged, not animated
    EXPECT_TRUE(isAnimatable(*points[0]));
    EXPECT_TRUE(isAnimatable(*b.make(Method::CircleByCentre, seg->parent1)));
    EXPECT_TRUE(isAnimatable(*b.make(Method::RayThroughPoint, seg->parent1)));
}

} // namespace
} // namespace qorv::testing
