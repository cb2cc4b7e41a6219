#include "construction/builder.h"
#include "geometry/paramcolor.h"
#include "geometry/ticks.h"
#include "view/clip.h"
#include "view/viewtransform.h"
#include "view/zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace qorv;

TEST(ViewTransform, OriginCornerAndOffsetsMapToPixels) {
    const ViewTransform v{-120.0, 75.0, 1.0};
    EXPECT_EQ(v.toScreen(-120.0, 75.0), (ScreenPoint{0, 0}));
    EXPECT_EQ(v.toScreen(-110.0, 65.0), (ScreenPoint{10, 10}));
    // y grows upwards in the world and downwards on the screen.
    EXPECT_EQ(v.toScreen(-120.0, 85.0), (ScreenPoint{0, -10}));
    // Rounded to the nearest pixel; halves go up on both axes.
    EXPECT_EQ(v.toScreen(-119.6, 74.4), (ScreenPoint{0, 1}));
    EXPECT_EQ(v.toScreen(-119.5, 74.5), (ScreenPoint{1, 1}));
    // A miniature scale shrinks distances.
    const ViewTransform mini{-2000.0, 2000.0, 340.0 / 4000.0};
    EXPECT_EQ(mini.toScreen(0, 0), (ScreenPoint{170, 170}));
    EXPECT_EQ(mini.toScreen(2000, -2000), (ScreenPoint{340, 340}));
}

TEST(ViewTransform, FarCoordinatesGiveTheFarPixelWithoutOverflow) {
    const ViewTransform v{0, 0, 1.0};
    EXPECT_EQ(v.toScreen(2e10, 5), (ScreenPoint{FarPixel, FarPixel}));
    EXPECT_EQ(v.toScreen(5, -2e10), (ScreenPoint{FarPixel, FarPixel}));
    EXPECT_EQ(v.toScreen(NAN, 0), (ScreenPoint{FarPixel, FarPixel}));
    EXPECT_EQ(v.toScreen(INFINITY, 0), (ScreenPoint{FarPixel, FarPixel}));
    // Within the limit but beyond what an int holds: also far, never a wrapped value.
    EXPECT_EQ(v.toScreen(9e9, 0), (ScreenPoint{FarPixel, FarPixel}));
    EXPECT_EQ(v.toScreen(1e8, -1e8), (ScreenPoint{100000000, 100000000}));
}

TEST(ViewTransform, ScreenToWorldIsTheUnroundedInverse) {
    const ViewTransform v{-300.5, 200.25, 0.5};
    const Point2 w = v.toWorld(11, 7);
    EXPECT_DOUBLE_EQ(w.x, 11 / 0.5 - 300.5);
    EXPECT_DOUBLE_EQ(w.y, -7 / 0.5 + 200.25);
    const Point2 back = v.toWorld(v.toScreenX(12.3), v.toScreenY(-4.7));
    EXPECT_NEAR(back.x, 12.3, 1e-12);
    EXPECT_NEAR(back.y, -4.7, 1e-12);
}

TEST(ViewTransform, FarCornerFollowsTheScreenNotTheWindow) {
    Document doc;
    doc.left = -100;
    doc.top = 50;
    updateFarCorner(doc, 1280, 1024);
    EXPECT_DOUBLE_EQ(doc.right, 1180);
    EXPECT_DOUBLE_EQ(doc.bottom, -974);
    updateFarCorner(doc, 1280, 1024, 0.5);
    EXPECT_DOUBLE_EQ(doc.right, 540);
    EXPECT_DOUBLE_EQ(doc.bottom, -462);
}

TEST(Plane, BoundsFollowTheScreenSize) {
    EXPECT_DOUBLE_EQ(planeMinimum(1280, 1024), 1281);
    EXPECT_DOUBLE_EQ(planeMaximum(1280, 1024), 21281);
    EXPECT_DOUBLE_EQ(planeMinimum(800, 600), 1000);
    EXPECT_DOUBLE_EQ(planeMaximum(800, 600), 21000);
    EXPECT_DOUBLE_EQ(planeMinimum(1080, 1920), 1921);
    EXPECT_DOUBLE_EQ(planeDefault(1280, 1024), 4000);
    EXPECT_DOUBLE_EQ(planeDefault(3840, 2160), 4841);
    const Plane p{4000};
    EXPECT_TRUE(p.contains(2000, -2000));
    EXPECT_FALSE(p.contains(2000.5, 0));
}

TEST(ScrollBars, EndsShowTheCornersOfThePlaneAndPositionsRoundTrip) {
    const double plane = 4000;
    EXPECT_DOUBLE_EQ(originXFromScroll(0, plane, 800), -2000);
    EXPECT_DOUBLE_EQ(originYFromScroll(0, plane, 600), 2000);
    // At the far end the window's right and bottom edges touch the plane's.
    EXPECT_DOUBLE_EQ(originXFromScroll(ScrollMax, plane, 800) + 800, 2000);
    EXPECT_DOUBLE_EQ(originYFromScroll(ScrollMax, plane, 600) - 600, -2000);
    EXPECT_DOUBLE_EQ(originXFromScroll(5000, plane, 800), -2000 + 3200 * 0.5);
    for (int p : {0, 1, 37, 5000, 9999, 10000}) {
        EXPECT_EQ(scrollFromOriginX(originXFromScroll(p, plane, 800), plane, 800), p);
        EXPECT_EQ(scrollFromOriginY(originYFromScroll(p, plane, 600), plane, 600), p);
    }
    // Views outside the plane stay within the bar's range; a window wider than the plane gives 0.
    EXPECT_EQ(scrollFromOriginX(-5000, plane, 800), 0);
    EXPECT_EQ(scrollFromOriginX(5000, plane, 800), ScrollMax);
    EXPECT_EQ(scrollFromOriginX(0, 1000, 1200), 0);
    EXPECT_EQ(scrollFromOriginY(NAN, plane, 600), 0);
}

TEST(Ticks, StepIsTheOneTwoFiveStepOfSixtyOverTheUnit) {
    // 60 / u = x; step = b * 10^c with b from x's leading digit.
    EXPECT_DOUBLE_EQ(tickStep(40), 1);        // x = 1.5
    EXPECT_DOUBLE_EQ(tickStep(25), 2);        // x = 2.4
    EXPECT_DOUBLE_EQ(tickStep(15), 2);        // x = 4
    EXPECT_DOUBLE_EQ(tickStep(10), 5);        // x = 6
    EXPECT_DOUBLE_EQ(tickStep(7), 5);         // x = 8.57
    EXPECT_DOUBLE_EQ(tickStep(0.5), 100);     // x = 120
    EXPECT_DOUBLE_EQ(tickStep(100), 0.5);     // x = 0.6
    EXPECT_DOUBLE_EQ(tickStep(250), 0.2);     // x = 0.24
    EXPECT_NEAR(tickStep(5000), 0.01, 1e-15); // x = 0.012
    EXPECT_DOUBLE_EQ(tickStep(60), 1);        // x = 1 exactly
    EXPECT_DOUBLE_EQ(tickStep(6), 10);        // x = 10 exactly
    EXPECT_NEAR(tickStep(600), 0.1, 1e-15);   // x = 0.1 exactly: not ten times denser
    EXPECT_EQ(tickStep(0), 0);
    EXPECT_EQ(tickStep(-40), 0);
    EXPECT_EQ(tickStep(NAN), 0);
    // The ticks are never less than 24 pixels apart (a 1-2-5 step below 60).
    for (double u = 0.37; u < 3000; u *= 1.37) {
        const double px = tickStep(u) * u;
        EXPECT_GE(px, 24 - 1e-9) << u;
        EXPECT_LE(px, 60 + 1e-9) << u;
    }
}

TEST(Ticks, SnappingMovesAwayFromZeroOnlyPastOneHalf) {
    EXPECT_EQ(snapIndex(2.4), 2);
    EXPECT_EQ(snapIndex(2.5), 2);
    EXPECT_EQ(snapIndex(2.50000002), 3);
    EXPECT_EQ(snapIndex(2.6), 3);
    EXPECT_EQ(snapIndex(-2.4), -2);
    EXPECT_EQ(snapIndex(-2.6), -3);
    EXPECT_EQ(snapIndex(0.0), 0);
    EXPECT_EQ(snapIndex(-0.7), -1);
    EXPECT_EQ(snapIndex(NAN), 0);
}

TEST(Ticks, WorldPointsSnapToTheNearestGridNode) {
    // Units of 40: a node every 40 world units from the origin (100, 50).
    Point2 s = snapToRectangularGrid({161, 69}, {100, 50}, 40, 40);
    EXPECT_DOUBLE_EQ(s.x, 180); // d = 1.525: past one half, away from zero
    EXPECT_DOUBLE_EQ(s.y, 50);  // d = 0.475
    s = snapToRectangularGrid({60, 29.9}, {100, 50}, 40, 10);
    EXPECT_DOUBLE_EQ(s.x, 60); // d = -1
    EXPECT_DOUBLE_EQ(s.y, 50); // unit 10: step 5, nodes 50 apart; d = -0.402
    // Polar: ring 2 (radius 80) at the angle pi/6 steps; a point at radius 85, angle 50 deg.
    const double a = 50 * std::numbers::pi / 180;
    s = snapToPolarGrid({85 * std::cos(a), 85 * std::sin(a)}, {0, 0}, 40, 40);
    EXPECT_NEAR(std::hypot(s.x, s.y), 80, 1e-9);
    EXPECT_NEAR(std::atan2(s.y, s.x), std::numbers::pi / 3, 1e-9); // 50/30 = 1.67 -> 2
    EXPECT_DOUBLE_EQ(polarNodeAngle(80), std::numbers::pi / 6);
    EXPECT_DOUBLE_EQ(polarNodeAngle(200), std::numbers::pi / 12); // 200 pi/6 > 60 >= 200 pi/12
    EXPECT_DOUBLE_EQ(polarNodeAngle(500), std::numbers::pi / 48);
    s = snapToPolarGrid({10, -7}, {0, 0}, 40, 40);
    EXPECT_DOUBLE_EQ(s.x, 0); // the centre node
    EXPECT_DOUBLE_EQ(s.y, 0);
}

TEST(Clip, InfiniteLineMeetsTheRectangleAtTheRightPlaces) {
    const ClipRect r{0, 0, 100, 50};
    ClipPoint p, q;
    // y = x / 2 through the rectangle: from (0, 0) to (100, 50).
    ASSERT_TRUE(clipInfiniteLine({-10, -5}, {-8, -4}, r, p, q));
    EXPECT_NEAR(p.x, 0, 1e-12);
    EXPECT_NEAR(p.y, 0, 1e-12);
    EXPECT_NEAR(q.x, 100, 1e-12);
    EXPECT_NEAR(q.y, 50, 1e-12);
    // A line given by points far away.
    ASSERT_TRUE(clipInfiniteLine({-1e9, 25}, {1e9, 25}, r, p, q));
    EXPECT_NEAR(p.y, 25, 1e-6);
    EXPECT_NEAR(std::fabs(q.x - p.x), 100, 1e-6);
    // Missing the rectangle, touching only a corner, or without a direction: nothing.
    EXPECT_FALSE(clipInfiniteLine({0, 60}, {1, 60}, r, p, q));
    EXPECT_FALSE(clipInfiniteLine({-1, 1}, {1, -1}, r, p, q));
    EXPECT_FALSE(clipInfiniteLine({3, 3}, {3, 3}, r, p, q));
}

TEST(Clip, SegmentsAndRaysAreCutOrRejected) {
    const ClipRect r{0, 0, 100, 100};
    ClipPoint a{-50, 50}, b{50, 50};
    ASSERT_TRUE(clipSegment(a, b, r));
    EXPECT_DOUBLE_EQ(a.x, 0);
    EXPECT_DOUBLE_EQ(b.x, 50);
    ClipPoint c{150, 0}, d{250, 100};
    EXPECT_FALSE(clipSegment(c, d, r));
    ClipPoint p, q;
    // A ray pointing away from the rectangle shows nothing; towards it, from where it enters.
    EXPECT_FALSE(clipRay({150, 50}, {200, 50}, r, p, q));
    ASSERT_TRUE(clipRay({150, 50}, {140, 50}, r, p, q));
    EXPECT_DOUBLE_EQ(p.x, 100);
    EXPECT_DOUBLE_EQ(q.x, 0);
    ASSERT_TRUE(clipRay({50, 50}, {50, 60}, r, p, q));
    EXPECT_DOUBLE_EQ(p.y, 50);
    EXPECT_DOUBLE_EQ(q.y, 100);
}

TEST(Clip, VisibleStretchesOfACircle) {
    const ClipRect r{0, 0, 100, 100};
    std::vector<AngleInterval> s;
    visibleCircleIntervals({50, 50}, 20, r, s);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_NEAR(s[0].to - s[0].from, 2 * std::numbers::pi, 1e-12);
    // Centred on the left edge: the right half is visible, world angles -pi/2 .. pi/2.
    visibleCircleIntervals({0, 50}, 20, r, s);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_NEAR(s[0].to - s[0].from, std::numbers::pi, 1e-9);
    EXPECT_NEAR(std::cos(s[0].from + std::numbers::pi / 2), 1, 1e-9);
    // Enclosing the whole rectangle, or far away: nothing to draw.
    visibleCircleIntervals({50, 50}, 1000, r, s);
    EXPECT_TRUE(s.empty());
    visibleCircleIntervals({500, 50}, 20, r, s);
    EXPECT_TRUE(s.empty());
    // The disc piece inside the rectangle: the full rectangle when it lies inside the disc.
    std::vector<ClipPoint> poly;
    clippedDiscPolygon({50, 50}, 1000, r, poly);
    EXPECT_EQ(poly.size(), 4u);
    clippedDiscPolygon({0, 50}, 20, r, poly);
    ASSERT_GE(poly.size(), 3u);
    for (const ClipPoint& p : poly) {
        EXPECT_GE(p.x, -1e-9);
        EXPECT_LE(std::hypot(p.x, p.y - 50), 20 + 1e-9);
    }
}

TEST(ParametricColour, FractionOfTheDrivingNumber) {
    Element n;
    n.method = Method::Calculation;
    n.option = HasValue;
    n.value[0] = 3.0;
    EXPECT_DOUBLE_EQ(parametricFraction(&n), 1.0); // odd integer
    n.value[0] = 4.0;
    EXPECT_DOUBLE_EQ(parametricFraction(&n), 0.0); // even integer
    n.value[0] = 2.25;
    EXPECT_DOUBLE_EQ(parametricFraction(&n), 0.25);
    n.value[0] = -2.25;
    EXPECT_DOUBLE_EQ(parametricFraction(&n), 0.25);
    n.value[0] = 7.00005; // below 0.0001 counts as the integer 7
    EXPECT_DOUBLE_EQ(parametricFraction(&n), 1.0);
    n.option = NoValue;
    EXPECT_DOUBLE_EQ(parametricFraction(&n), 0.0);
    n.option = HasValue;
    n.defined = 0;
    EXPECT_DOUBLE_EQ(parametricFraction(&n), 0.0);
    EXPECT_DOUBLE_EQ(parametricFraction(nullptr), 0.0);
}

TEST(ParametricColour, ModesGiveTheirColours) {
    // Grey: value 1 - x.
    EXPECT_EQ(parametricColor(2, 1.0, 0, 0), rgb(0, 0, 0));
    EXPECT_EQ(parametricColor(2, 0.0, 0, 0), rgb(255, 255, 255));
    EXPECT_EQ(parametricColor(2, 0.25, 0, 0), rgb(191, 191, 191));
    // Hue: x * 360 * 0.84; x = 0 is red, x = 0.25 a hue of 75.6 degrees (yellow-green).
    EXPECT_EQ(parametricColor(1, 0.0, 0, 0), rgb(255, 0, 0));
    EXPECT_EQ(parametricColor(-1, 0.25, 0, 0), rgb(188, 255, 0));
    // Blend from red to blue.
    EXPECT_EQ(parametricColor(1000, 0.25, rgb(255, 0, 0), rgb(0, 0, 255)), rgb(191, 0, 63));
    // Slider modes: fixed hue with saturation x, or with value x. Mode 3 is hue 0 (red).
    EXPECT_EQ(parametricColor(3, 0.5, 0, 0), rgb(255, 127, 127));
    EXPECT_EQ(parametricColor(103, 0.5, 0, 0), rgb(127, 0, 0));
    // Mode 101 is the last hue, 0.84 * 360 = 302.4 degrees.
    EXPECT_EQ(parametricColor(101, 1.0, 0, 0), hsvToColor(302.4, 1, 1));
    EXPECT_EQ(hsvToColor(120, 1, 1), rgb(0, 255, 0));
    EXPECT_EQ(hsvToColor(240, 1, 0.5), rgb(0, 0, 127));
}

TEST(ParametricColour, PositiveModesDriveTheLineNegativeTheFill) {
    Document doc;
    ConstructionBuilder mk(doc);
    Element* n = mk.make(Method::Calculation);
    n->option = HasValue;
    n->value[0] = 2.25;
    Element* c = mk.make(Method::CircleCentrePoint);
    c->color = rgb(1, 2, 3);
    c->option = -1;
    c->colorParam = n;
    c->colorParamMode = -2;
    EffectiveColors e = effectiveColors(*c);
    EXPECT_EQ(e.color, rgb(1, 2, 3));
    EXPECT_EQ(e.fill, rgb(191, 191, 191));
    c->colorParamMode = 2;
    e = effectiveColors(*c);
    EXPECT_EQ(e.color, rgb(191, 191, 191));
    EXPECT_EQ(e.fill, -1);
    // On a text-like element a negative mode colours the background, kept in `shape`.
    n->value[0] = 3.0;
    Element* label = mk.make(Method::Calculation);
    label->colorParam = n;
    label->colorParamMode = -2;
    EXPECT_EQ(effectiveColors(*label).shape, rgb(0, 0, 0));
    applyParametricColours(doc);
    EXPECT_EQ(c->color, rgb(0, 0, 0)); // value 3: x = 1, grey value 0
    EXPECT_EQ(label->shape, rgb(0, 0, 0));
}

TEST(Zoom, VerticalMovesScaleAboutThePressedPointHorizontalOnesDoNothing) {
    std::vector<std::pair<Point2, double>> calls;
    ZoomDrag zoom([&](Point2 c, double k) { calls.push_back({c, k}); });
    EXPECT_EQ(zoom.move({5, 5}), 1.0); // no drag yet
    zoom.press({10, 20});
    EXPECT_EQ(zoom.move({60, 20}), 1.0); // purely horizontal
    EXPECT_TRUE(calls.empty());
    EXPECT_NEAR(zoom.move({60, 30}), 1.03, 1e-12); // up enlarges
    EXPECT_NEAR(zoom.move({60, 20}), 0.97, 1e-12); // down reduces
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].first.x, 10);
    EXPECT_EQ(calls[0].first.y, 20);
    // A move that would collapse everything to the centre is not applied.
    EXPECT_EQ(zoom.move({60, 20 - 1000.0 / 3.0}), 1.0);
    EXPECT_EQ(calls.size(), 2u);
    zoom.release();
    EXPECT_EQ(zoom.move({60, 90}), 1.0);
    EXPECT_NEAR(zoomFactor({0, 0}, {0, -500}), 0.5, 1e-12);
}
