#include "scene.h"

#include "construction/create.h"
#include "geometry/recalc.h"
#include "view/renderer.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

using namespace qorv;
using qorv::test::at;
using qorv::test::Scene;

namespace {

const Color White = rgb(255, 255, 255);
const Color Red = rgb(255, 0, 0);
const Color Green = rgb(0, 160, 0);

// Rows of column x (from y0 to y1) painted in colour c.
int countInColumn(const QImage& im, int x, int y0, int y1, Color c) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        n += at(im, x, y) == c;
    return n;
}

int countNot(const QImage& im, Color c) {
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            n += at(im, x, y) != c;
    return n;
}

} // namespace

TEST(Renderer, ClearsWithTheBackgroundAndDrawsNothingElseForAnEmptyDocument) {
    Scene s;
    const QImage im = s.render();
    EXPECT_EQ(countNot(im, s.doc.background), 0);
}

TEST(Renderer, PointCoversALineDrawnLaterInTheList) {
    Scene s;
    s.point(100, 100, 1, Red);
    s.straight(Method::LineThroughTwoPoints, 0, 100, 10, 100);
    const QImage im = s.render();
    EXPECT_EQ(at(im, 100, 100), Red);
    EXPECT_EQ(at(im, 99, 100), Red);
    EXPECT_EQ(at(im, 150, 100), White);
    EXPECT_EQ(at(im, 0, 100), White);
    EXPECT_EQ(at(im, 199, 100), White);
}

TEST(Renderer, FillNeverCoversAnEarlierSegment) {
    Scene s;
    s.straight(Method::Segment, 50, 100, 150, 100);
    s.polygon({{40, 40}, {160, 40}, {160, 160}, {40, 160}}, rgb(0, 0, 255), Green);
    const QImage im = s.render();
    EXPECT_EQ(at(im, 100, 100), White);         // the segment, above the later fill
    EXPECT_EQ(at(im, 100, 120), Green);         // inside the polygon
    EXPECT_EQ(at(im, 40, 100), rgb(0, 0, 255)); // its outline
    EXPECT_EQ(at(im, 20, 100), s.doc.background);
}

TEST(Renderer, SelectedThickLineGetsANinePixelHighlightOnlyOnTheMainBitmap) {
    Scene s;
    Element* e = s.straight(Method::Segment, 20, 100, 180, 100, LineStyle::Thick7);
    e->selected = 1;
    QImage im = s.render();
    // Rows 96..104 are covered: the 7-pixel line over a 9-pixel highlight.
    EXPECT_EQ(countInColumn(im, 100, 80, 120, White), 7);
    EXPECT_EQ(countInColumn(im, 100, 80, 120, s.doc.selectedColor), 2);
    EXPECT_EQ(at(im, 100, 96), s.doc.selectedColor);
    EXPECT_EQ(at(im, 100, 104), s.doc.selectedColor);
    EXPECT_EQ(at(im, 100, 97), White);
    EXPECT_EQ(at(im, 100, 103), White);
    // No highlight while dragging, nor on other targets.
    RenderOptions o = s.options();
    o.interacting = true;
    im = s.render(o);
    EXPECT_EQ(countInColumn(im, 100, 80, 120, s.doc.selectedColor), 0);
    EXPECT_EQ(countInColumn(im, 100, 80, 120, White), 7);
    o = s.options();
    o.target = RenderTarget::Export;
    EXPECT_EQ(countInColumn(s.render(o), 100, 80, 120, s.doc.selectedColor), 0);
}

TEST(Renderer, LineWidthsFollowTheStyles) {
    Scene s;
    const int widths[] = {1, 3, 1, 1, 5, 7};
    for (int style = 1; style <= 6; ++style)
        s.straight(Method::Segment, 30 * style - 20, 20, 30 * style - 20, 180, style);
    const QImage im = s.render();
    for (int style = 1; style <= 6; ++style) {
        int n = 0;
        for (int x = 30 * style - 30; x < 30 * style - 10; ++x)
            n += at(im, x, 60) == White;
        if (style == 3 || style == 4) {
            // Broken pens leave gaps along the line.
            int gaps = 0;
            for (int y = 20; y < 180; ++y)
                gaps += at(im, 30 * style - 20, y) != White;
            EXPECT_GT(gaps, 20) << style;
        } else {
            EXPECT_EQ(n, widths[style - 1]) << style;
        }
    }
}

TEST(Renderer, HiddenElementsShowOnlyWithShowHiddenAndInTheHiddenColour) {
    Scene s;
    Element* e = s.straight(Method::Segment, 20, 100, 180, 100, 1, Red);
    e->visible = 0;
    EXPECT_EQ(countNot(s.render(), s.doc.background), 0);
    RenderOptions o = s.options();
    o.showHidden = true;
    const QImage im = s.render(o);
    EXPECT_EQ(at(im, 100, 100), s.doc.hiddenColor);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_NE(at(im, x, y), Red);
    // Internal elements are never drawn, not even with "Ver lo oculto".
    e->visible = Internal;
    EXPECT_EQ(countNot(s.render(o), s.doc.background), 0);
    // Nor undefined ones.
    e->visible = 1;
    e->defined = 0;
    EXPECT_EQ(countNot(s.render(o), s.doc.background), 0);
}

TEST(Renderer, ParametricColoursOfThreeFourAndTwoAndAQuarter) {
    // Grey mode: value 1 - x; 3.0 gives x = 1 (black), 4.0 x = 0 (white), 2.25 x = 0.25.
    const struct {
        double value;
        Color expected;
    } cases[] = {{3.0, rgb(0, 0, 0)}, {4.0, rgb(255, 255, 255)}, {2.25, rgb(191, 191, 191)}};
    for (const auto& c : cases) {
        Scene s;
        s.doc.background = rgb(0, 0, 200);
        Element* n = s.number(c.value, 500, 500);
        Element* line = s.straight(Method::Segment, 20, 100, 180, 100, 1, Red);
        line->colorParam = n;
        line->colorParamMode = 2;
        Element* disc = s.circle(100, 40, 15, Red, rgb(0, 255, 0));
        disc->colorParam = n;
        disc->colorParamMode = -2;
        const QImage im = s.render();
        EXPECT_EQ(at(im, 100, 100), c.expected) << c.value;
        EXPECT_EQ(at(im, 100, 160), c.expected) << c.value; // the fill, at the circle's centre
        EXPECT_EQ(at(im, 115, 160), Red) << c.value;        // the outline keeps its colour
    }
}

TEST(Renderer, InfiniteLinesAreClippedToTheView) {
    Scene s;
    // The diagonal y = 200 - x reaches from the top-left pixel to the bottom-right one.
    s.straight(Method::LineThroughTwoPoints, 10, 190, 11, 189);
    QImage im = s.render();
    for (int k = 0; k < 200; ++k)
        ASSERT_EQ(at(im, k, k), White) << k;
    EXPECT_EQ(at(im, 10, 100), s.doc.background);

    // Defined by points far outside the view, horizontal at y = 50.
    Scene far;
    far.straight(Method::LineThroughTwoPoints, -1e7, 50, 3e7, 50);
    im = far.render();
    EXPECT_EQ(countInColumn(im, 0, 0, 199, White), 1);
    EXPECT_EQ(countInColumn(im, 199, 0, 199, White), 1);
    EXPECT_EQ(at(im, 0, 150), White);

    // Outside the view: nothing. Coincident points: a vertical line through them.
    Scene out;
    out.straight(Method::LineThroughTwoPoints, 0, 500, 10, 500);
    EXPECT_EQ(countNot(out.render(), out.doc.background), 0);
    Scene same;
    same.straight(Method::LineThroughTwoPoints, 70, 40, 70, 40);
    im = same.render();
    EXPECT_EQ(countInColumn(im, 70, 0, 199, White), 200);
    EXPECT_EQ(countNot(im, same.doc.background), 200);
}

TEST(Renderer, RaysStartAtTheirOriginAndSegmentsPaintBothEnds) {
    Scene s;
    s.straight(Method::RayThroughTwoPoints, 100, 150, 120, 150);
    s.straight(Method::Segment, 30, 40, 90, 40);
    const QImage im = s.render();
    EXPECT_EQ(at(im, 100, 50), White);
    EXPECT_EQ(at(im, 199, 50), White);
    EXPECT_EQ(at(im, 99, 50), s.doc.background);
    EXPECT_EQ(at(im, 30, 160), White);
    EXPECT_EQ(at(im, 90, 160), White);
    EXPECT_EQ(at(im, 29, 160), s.doc.background);
    EXPECT_EQ(at(im, 91, 160), s.doc.background);
}

TEST(Renderer, VectorsEndInAFilledHead) {
    Scene s;
    s.straight(Method::Vector, 20, 100, 180, 100, 1, rgb(255, 255, 0));
    const QImage im = s.render();
    const Color y = rgb(255, 255, 0);
    EXPECT_EQ(at(im, 180, 100), y);
    // A dart: solid near the tip, two barbs with a notch between them further back.
    EXPECT_EQ(at(im, 176, 99), y);
    EXPECT_EQ(at(im, 176, 101), y);
    EXPECT_EQ(at(im, 170, 98), y);
    EXPECT_EQ(at(im, 170, 103), y);
    EXPECT_EQ(at(im, 170, 101), s.doc.background); // the notch, beside the line
    EXPECT_EQ(at(im, 170, 100), y);                // the line itself
    EXPECT_EQ(at(im, 150, 97), s.doc.background);
    EXPECT_EQ(at(im, 182, 100), s.doc.background);
}

TEST(Renderer, PointShapesArePixelExact) {
    Scene s;
    s.point(20, 100, PointShape::Normal, Red);
    s.point(50, 100, PointShape::Large, Red);
    s.point(80, 100, PointShape::Larger, Red);
    s.point(110, 100, PointShape::Cross, Red);
    s.point(140, 100, PointShape::Square, Red);
    s.point(170, 100, PointShape::Pixel, Red);
    const QImage im = s.render();
    auto box = [&](int cx, int half) {
        int n = 0;
        for (int y = 100 - half; y <= 100 + half; ++y)
            for (int x = cx - half; x <= cx + half; ++x)
                n += at(im, x, y) == Red;
        return n;
    };
    EXPECT_EQ(box(20, 4), 9);  // 3 x 3
    EXPECT_EQ(box(50, 4), 21); // disc: rows 3, 5, 5, 5, 3
    EXPECT_EQ(at(im, 48, 98), s.doc.background);
    EXPECT_EQ(box(80, 4), 12); // the ring around a 3 x 3 hole
    EXPECT_EQ(at(im, 80, 100), s.doc.background);
    EXPECT_EQ(box(110, 4), 9); // two diagonals of 5 crossing
    EXPECT_EQ(at(im, 112, 98), Red);
    EXPECT_EQ(at(im, 111, 100), s.doc.background);
    EXPECT_EQ(box(140, 4), 25); // 5 x 5
    EXPECT_EQ(box(170, 4), 1);
    EXPECT_EQ(at(im, 170, 100), Red);
}

TEST(Renderer, SelectedPointsShowADiscBehindThem) {
    Scene s;
    Element* p = s.point(100, 100, PointShape::Pixel, Red);
    p->selected = 1;
    const QImage im = s.render();
    EXPECT_EQ(at(im, 100, 100), Red);
    EXPECT_EQ(at(im, 97, 100), s.doc.selectedColor);
    EXPECT_EQ(at(im, 103, 100), s.doc.selectedColor);
    EXPECT_EQ(at(im, 104, 100), s.doc.background);
    EXPECT_EQ(at(im, 97, 97), s.doc.background); // a disc, not a square
}

TEST(Renderer, PointsOutsideTheViewOrFarAwayAreSkipped) {
    Scene s;
    s.point(-1, 100, PointShape::Square, Red); // one pixel left of the view
    s.point(2e10, 100, PointShape::Square, Red);
    s.point(NAN, 100, PointShape::Square, Red);
    EXPECT_EQ(countNot(s.render(), s.doc.background), 0);
}

TEST(Renderer, PrinterTurnsGreySilverAndWhiteBlack) {
    Scene s;
    s.straight(Method::Segment, 20, 150, 180, 150, 1, rgb(255, 255, 255));
    s.straight(Method::Segment, 20, 100, 180, 100, 1, rgb(192, 192, 192));
    s.straight(Method::Segment, 20, 50, 180, 50, 1, rgb(128, 128, 128));
    s.straight(Method::Segment, 20, 20, 180, 20, 1, Red);
    RenderOptions o = s.options();
    o.target = RenderTarget::Printer;
    QImage page(200, 200, QImage::Format_RGB32);
    page.fill(Qt::white); // the printer paints no background
    s.renderer.redraw(page, s.doc, o);
    EXPECT_EQ(at(page, 100, 50), rgb(0, 0, 0));
    EXPECT_EQ(at(page, 100, 100), rgb(0, 0, 0));
    EXPECT_EQ(at(page, 100, 150), rgb(0, 0, 0));
    EXPECT_EQ(at(page, 100, 180), Red);
    EXPECT_EQ(at(page, 100, 10), rgb(255, 255, 255));
}

TEST(Renderer, CirclesWithFillsAndHugeRadii) {
    Scene s;
    s.circle(100, 100, 40, Red, Green);
    QImage im = s.render();
    EXPECT_EQ(at(im, 100, 100), Green);
    EXPECT_EQ(at(im, 140, 100), Red);
    EXPECT_EQ(at(im, 60, 100), Red);
    EXPECT_EQ(at(im, 100, 60), Red);
    EXPECT_EQ(at(im, 145, 100), s.doc.background);

    // A circle of radius 1e7 whose left edge crosses x = 100: almost a vertical line.
    Scene big;
    big.circle(100 + 1e7, 100, 1e7, Red);
    im = big.render();
    EXPECT_EQ(at(im, 100, 100), Red);
    EXPECT_EQ(countInColumn(im, 100, 0, 199, Red), 200);
    EXPECT_EQ(at(im, 150, 100), big.doc.background);
    // Filled: everything right of the edge.
    Scene bigFill;
    bigFill.circle(100 + 1e7, 100, 1e7, Red, Green);
    im = bigFill.render();
    EXPECT_EQ(at(im, 150, 30), Green);
    EXPECT_EQ(at(im, 50, 30), bigFill.doc.background);
    // Enclosing the whole view without a fill: nothing to see.
    Scene around;
    around.circle(100, 100, 5000, Red);
    EXPECT_EQ(countNot(around.render(), around.doc.background), 0);
}

TEST(Renderer, ArcsRunBetweenTheirEndsOnTheRightSide) {
    Scene s;
    Element* p1 = s.point(50, 100);
    Element* p2 = s.point(100, 150);
    Element* p3 = s.point(150, 100);
    for (Element* p : {p1, p2, p3})
        p->visible = 0;
    Element* arc = s.make(Method::ArcThreePoints, p1, p2, p3);
    arc->value[0] = 100, arc->value[1] = 100, arc->value[2] = 100, arc->value[3] = 150;
    arc->option = 0; // clockwise from p1 over the top to p3
    arc->color = Red;
    QImage im = s.render();
    EXPECT_EQ(at(im, 100, 50), Red);               // the top of the circle
    EXPECT_EQ(at(im, 100, 150), s.doc.background); // not the bottom
    arc->option = 1;                               // counter-clockwise: the lower half
    im = s.render();
    EXPECT_EQ(at(im, 100, 150), Red);
    EXPECT_EQ(at(im, 100, 50), s.doc.background);
    // Straight arcs: the segment, or the rest of the line.
    arc->option2 = 1;
    arc->value[0] = 50, arc->value[1] = 100, arc->value[2] = 150, arc->value[3] = 100;
    arc->option = 0;
    im = s.render();
    EXPECT_EQ(at(im, 100, 100), Red);
    EXPECT_EQ(at(im, 20, 100), s.doc.background);
    arc->option = 1;
    im = s.render();
    EXPECT_EQ(at(im, 100, 100), s.doc.background);
    EXPECT_EQ(at(im, 20, 100), Red);
    EXPECT_EQ(at(im, 180, 100), Red);
}

TEST(Renderer, AngleMarksNeedLongArmsAndShowTheSmallerAngle) {
    Scene s;
    Element* a1 = s.point(150, 100);
    Element* v = s.point(100, 100);
    Element* a3 = s.point(100, 150);
    for (Element* p : {a1, v, a3})
        p->visible = 0;
    Element* angle = s.make(Method::Angle, a1, v, a3);
    angle->value[0] = std::numbers::pi / 2;
    angle->value[2] = 20;
    angle->color = Red;
    angle->option = Green; // fill
    QImage im = s.render();
    // The sector lies between the arms (up and right of the vertex at pixel (101, 101)).
    EXPECT_EQ(at(im, 111, 91), Green);
    EXPECT_EQ(at(im, 91, 111), s.doc.background);
    // The oriented angle from the vertical arm round to the horizontal one is 3pi/2: drawn as
    // the smaller angle, on the same side as before.
    angle->parent1 = a3;
    angle->parent3 = a1;
    angle->value[0] = 3 * std::numbers::pi / 2;
    im = s.render();
    EXPECT_EQ(at(im, 111, 91), Green);
    EXPECT_EQ(at(im, 91, 111), s.doc.background);
    // With the full range asked for, the 3pi/2 sector is drawn.
    angle->value[3] = NotSet;
    im = s.render();
    EXPECT_EQ(at(im, 91, 111), Green);
    // An arm shorter than 3 or a value below 0.01: nothing.
    angle->value[3] = 0;
    a1->value[0] = 102;
    EXPECT_EQ(countNot(s.render(), s.doc.background), 0);
    a1->value[0] = 150;
    angle->value[0] = 0.005;
    EXPECT_EQ(countNot(s.render(), s.doc.background), 0);
}

TEST(Renderer, AxesHaveTicksAtEachStepAndOneLabelEach) {
    Scene s;
    s.doc.background = rgb(255, 255, 255);
    const Color grey = rgb(90, 90, 90);
    s.axes(60, 60, 40, 40, grey); // origin at pixel (60, 140)
    const QImage im = s.render();
    EXPECT_EQ(at(im, 10, 140), grey); // the x axis across the view
    EXPECT_EQ(at(im, 60, 10), grey);  // the y axis
    // A tick at x = 100 and 140: one pixel above to two below the axis.
    for (int x : {100, 140, 20}) {
        EXPECT_EQ(at(im, x, 139), grey) << x;
        EXPECT_EQ(at(im, x, 142), grey) << x;
        EXPECT_EQ(at(im, x, 143), rgb(255, 255, 255)) << x;
    }
    EXPECT_EQ(at(im, 120, 139), rgb(255, 255, 255)); // between ticks
    EXPECT_EQ(at(im, 59, 100), grey);                // a y tick at y = 100
    EXPECT_EQ(at(im, 62, 100), grey);
    // The x label "1" near (O.x + 40 - 2, O.y - 4): red text on a white background.
    int red = 0;
    for (int y = 140; y < 165; ++y)
        for (int x = 95; x < 115; ++x)
            red += qRed(im.pixel(x, y)) > 200 && qGreen(im.pixel(x, y)) < 100;
    EXPECT_GT(red, 3);
    // Miniatures get no labels.
    RenderOptions o = s.options();
    o.target = RenderTarget::Miniature;
    const QImage mini = s.render(o);
    int miniRed = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            miniRed += qRed(mini.pixel(x, y)) > 200 && qGreen(mini.pixel(x, y)) < 100;
    EXPECT_EQ(miniRed, 0);
}

TEST(Renderer, GridNodesSitAtTheTickSteps) {
    Scene s;
    Element* axes = s.axes(60, 60, 40, 40);
    axes->visible = 0;
    Element* grid = s.make(Method::Grid, axes);
    grid->color = Red;
    QImage im = s.render();
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(at(im, 20 + 40 * i, 20 + 40 * j), Red);
    EXPECT_EQ(at(im, 40, 20), s.doc.background);
    EXPECT_EQ(at(im, 20, 40), s.doc.background);
    // Polar: rings about the origin, the first node of each ring at angle 0.
    s.doc.coordinateSystem = 1;
    im = s.render();
    EXPECT_EQ(at(im, 60, 140), Red);
    EXPECT_EQ(at(im, 100, 140), Red);
    EXPECT_EQ(at(im, 140, 140), Red);
    EXPECT_EQ(at(im, 60, 100), Red); // angle pi/2 on the first ring
    EXPECT_EQ(at(im, 80, 120), s.doc.background);
}

TEST(Renderer, LocusSamplesJoinUnlessUndefinedOrFarApart) {
    Scene s;
    Element* traced = s.point(0, 0);
    traced->visible = 0;
    Element* locus = s.make(Method::Locus, traced);
    locus->color = Red;
    auto* t = locus->tailAs<SampledCurveTail>();
    t->resize(6);
    t->count = 6;
    const Point2 pts[6] = {{10, 100}, {60, 100}, {70, 150}, {75, 150}, {120, 30}, {125, 30}};
    for (int i = 0; i < 6; ++i) {
        t->first[size_t(i)] = pts[i];
        t->words[size_t(i)] = Red;
    }
    t->words[3] = int32_t(NotSet); // undefined: no piece to or from it
    QImage im = s.render();
    EXPECT_EQ(at(im, 35, 100), Red);             // joined
    EXPECT_EQ(at(im, 72, 50), s.doc.background); // from an undefined sample: not joined
    // Make sample 4 a jump of 200 or more from sample 3.
    t->words[3] = Red;
    t->first[4] = {75, -130};
    im = s.render();
    EXPECT_EQ(at(im, 72, 50), Red); // 2 -> 3 joined now
    EXPECT_EQ(at(im, 75, 199), s.doc.background);
}

TEST(Renderer, LongConicsPassWithinAPixelOfTheirPoints) {
    // A long ellipse (semi-axes 9000 and 1500, turned by 0.3) and a hyperbola, each through five
    // points: drawn plain, antialiased and as vector geometry, in a view centred on each point,
    // the curve has a pixel within one pixel of it.
    auto ellipse = [](int i) {
        const double t = 6.25 + 1.1 * i, x = 9000 * std::cos(t), y = 1500 * std::sin(t);
        return Point2{500 + x * std::cos(0.3) - y * std::sin(0.3),
                      200 + x * std::sin(0.3) + y * std::cos(0.3)};
    };
    auto hyperbola = [](int i) { // x y = 4e6 about (-300, 100), on both branches
        const double x = std::array{300.0, 900.0, 7000.0, -2500.0, -600.0}[size_t(i)];
        return Point2{-300 + x, 100 + 4e6 / x};
    };
    for (auto curve :
         {std::function<Point2(int)>(ellipse), std::function<Point2(int)>(hyperbola)}) {
        Scene s;
        std::vector<Element*> pts;
        for (int i = 0; i < 5; ++i) {
            pts.push_back(s.point(curve(i).x, curve(i).y));
            pts.back()->visible = 0;
        }
        s.req.method = Method::Conic;
        s.req.extra = pts;
        Element* conic = createElement(s.doc, s.req, s.opts);
        recalcElement(s.doc, *conic);
        ASSERT_EQ(conic->defined, 1);
        conic->color = Red;
        conic->shape = 1;
        for (int i = 0; i < 5; ++i) {
            const Point2 p = curve(i);
            s.doc.left = p.x - 200;
            s.doc.top = p.y + 150;
            RenderOptions o = s.options(400, 300);
            for (int path = 0; path < 3; ++path) {
                o.antialiased = path == 1;
                o.vector = path == 2;
                const QImage im = s.render(o);
                bool near = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        near = near || colorRed(at(im, 200 + dx, 150 + dy)) >= (path ? 100 : 255);
                EXPECT_TRUE(near) << "point " << i << " path " << path;
            }
        }
    }
}

TEST(Renderer, DrawingStopsBeforeTheStopElement) {
    Scene s;
    s.straight(Method::Segment, 20, 100, 180, 100);
    Element* later = s.straight(Method::Segment, 100, 20, 100, 180, 1, Red);
    RenderOptions o = s.options();
    o.stop = later;
    const QImage im = s.render(o);
    EXPECT_EQ(at(im, 50, 100), White);
    EXPECT_EQ(at(im, 100, 50), s.doc.background);
    // The stop element's own points (created before it) are hidden; nothing red at all.
    for (int y = 0; y < 200; ++y)
        ASSERT_NE(at(im, 100, y), Red);
}

// The replay cuts the list after a step: the names of the elements shown so far still show,
// though each comes after its element (A, name of A, B, name of B, segment AB).
TEST(Renderer, ACutDrawingShowsTheNamesOfWhatItDraws) {
    Scene s;
    const auto named = [&](double x, const char* name) {
        Element* p = s.point(x, 100);
        s.req.text = name;
        Element* n = s.make(Method::Name, p);
        n->option = 1;
        n->color = Green;
        n->value[0] = x + 6, n->value[1] = 130; // the label's top-left corner
        return p;
    };
    Element* a = named(40, "AAA");
    Element* b = named(130, "BBB");
    s.make(Method::Segment, a, b);
    // Green pixels (smoothed text at least half green) in the box of the label to the upper
    // right of the point at x.
    const auto label = [&](const QImage& im, double x) {
        int n = 0;
        for (int y = 60; y < 100; ++y)
            for (int dx = 0; dx < 60; ++dx)
                n += colorGreen(at(im, int(x) + dx, y)) >= 80;
        return n;
    };
    const QImage whole = s.render(s.options());
    ASSERT_GT(label(whole, 40), 5);
    ASSERT_GT(label(whole, 130), 5);
    struct Step {
        const Element* stop;
        bool nameA, nameB;
    };
    for (const Step& k : {Step{a->next, true, false}, Step{b->next, true, true}}) {
        RenderOptions o = s.options();
        o.stop = k.stop;
        const QImage im = s.render(o);
        EXPECT_EQ(label(im, 40) > 5, k.nameA) << label(im, 40);
        EXPECT_EQ(label(im, 130) > 5, k.nameB) << label(im, 130);
        EXPECT_EQ(label(im, 40), k.nameA ? label(whole, 40) : 0);
    }
}

TEST(Renderer, AntialiasedPathBlendsEdges) {
    Scene s;
    s.straight(Method::Segment, 10, 20, 190, 170, 2, White);
    RenderOptions o = s.options();
    QImage plain = s.render(o);
    o.antialiased = true;
    QImage smooth = s.render(o);
    auto partial = [&](const QImage& im) {
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) {
                const Color c = at(im, x, y);
                n += c != White && c != s.doc.background;
            }
        return n;
    };
    EXPECT_EQ(partial(plain), 0);
    EXPECT_GT(partial(smooth), 100);
}

TEST(Renderer, TextLikeElementsWriteAtTheirPositionAndMiniaturesShowBoxes) {
    Scene s;
    Element* n = s.number(12.5, 40, 160); // top-left at pixel (40, 40)
    n->color = White;
    n->decimals = 2;
    QImage im = s.render();
    int lit = 0;
    for (int y = 40; y < 60; ++y)
        for (int x = 40; x < 100; ++x)
            lit += at(im, x, y) != s.doc.background;
    EXPECT_GT(lit, 20);
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(at(im, x, y), s.doc.background);
    // An opaque background fills the text's box.
    n->shape = Green;
    im = s.render();
    EXPECT_EQ(at(im, 41, 41), Green);
    // On a miniature the text becomes a box outlined in its colour.
    RenderOptions o = s.options();
    o.target = RenderTarget::Miniature;
    o.view.scale = 0.5;
    im = s.render(o);
    EXPECT_EQ(at(im, 20, 20), White); // top-left corner of the box at world (40, 160)
    EXPECT_EQ(at(im, 21, 21), Green); // filled with the background colour
}

TEST(Renderer, TextsUseTheirRunsAndBitmapsDecodeTheirPicture) {
    Scene s;
    s.req.text = "AAAA\nBBBB";
    s.req.value[2] = 20;
    s.req.value[3] = 180;
    Element* text = s.make(Method::Text);
    auto* t = text->tailAs<TextTail>();
    FontRecord red = t->font;
    red.color = Red;
    red.size = 14;
    FontRecord green = t->font;
    green.color = Green;
    green.size = 14;
    t->runs = {FontRun{red, 6}, FontRun{green, 4}}; // first line and break red, second green
    // A 10 x 6 picture, blue, anchored by its centre (option 5) to a point.
    QImage picture(10, 6, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "BMP"));
    Element* anchor = s.point(150, 50);
    anchor->visible = 0;
    Element* bitmap = s.make(Method::Bitmap, anchor);
    bitmap->option = 5;
    bitmap->tailAs<BitmapTail>()->picture.assign(bytes.begin(), bytes.end());

    const QImage im = s.render();
    int reds = 0, greens = 0;
    for (int y = 20; y < 60; ++y)
        for (int x = 20; x < 120; ++x) {
            reds += at(im, x, y) == Red;
            greens += at(im, x, y) == Green;
        }
    EXPECT_GT(reds, 10);
    EXPECT_GT(greens, 10);
    // The red line is above the green one.
    int firstGreenRow = 1000, lastRedRow = -1;
    for (int y = 20; y < 60; ++y)
        for (int x = 20; x < 120; ++x) {
            if (at(im, x, y) == Red) lastRedRow = std::max(lastRedRow, y);
            if (at(im, x, y) == Green) firstGreenRow = std::min(firstGreenRow, y);
        }
    EXPECT_LT(lastRedRow, firstGreenRow);
    // Picture centred on pixel (150, 150): 10 x 6 from (145, 147).
    EXPECT_EQ(at(im, 145, 147), rgb(0, 0, 255));
    EXPECT_EQ(at(im, 154, 152), rgb(0, 0, 255));
    EXPECT_EQ(at(im, 144, 147), s.doc.background);
    EXPECT_EQ(at(im, 155, 152), s.doc.background);
    // Broken picture bytes are skipped without harm.
    bitmap->tailAs<BitmapTail>()->picture.resize(20);
    const QImage broken = s.render();
    EXPECT_EQ(at(broken, 150, 150), s.doc.background);
}

TEST(Renderer, HighlightOfATextIsABoxInTheSelectionColour) {
    Scene s;
    Element* n = s.number(7, 40, 160);
    n->color = White;
    n->selected = 1;
    const QImage im = s.render();
    EXPECT_EQ(at(im, 39, 39), s.doc.selectedColor); // the box reaches around the text
    int white = 0;
    for (int y = 40; y < 60; ++y)
        for (int x = 40; x < 70; ++x)
            white += at(im, x, y) == White;
    EXPECT_GT(white, 5);
}

TEST(Renderer, TextCacheStaysBoundedWhenElementsComeAndGo) {
    Renderer renderer;
    QImage image(100, 100, QImage::Format_RGB32);
    for (int round = 0; round < 200; ++round) {
        Scene s;
        for (int i = 0; i < 10; ++i)
            s.number(i, 10, 90 - i);
        renderer.redraw(image, s.doc, s.options(100, 100));
    }
    EXPECT_LE(renderer.cachedTextCount(), 512u + 10u);
}

TEST(Renderer, TracesCombineByTheLightnessOfTheBackgroundThenMarksAndOverlay) {
    Scene s;
    Element* p = s.point(100, 100, 1, Red);
    s.doc.traceList.push_back(p);
    // Light background: the trace (white with a dark pixel) is ANDed in.
    s.doc.background = rgb(230, 230, 230);
    QImage trace(200, 200, QImage::Format_RGB32);
    trace.fill(Qt::white);
    trace.setPixel(20, 20, qRgb(0, 0, 255));
    RenderOptions o = s.options();
    o.trace = &trace;
    int calls = 0;
    o.marks = [&](QPainter& painter) {
        EXPECT_EQ(calls++, 0);
        painter.fillRect(150, 150, 2, 2, Qt::green);
    };
    o.overlay = [&](QPainter&) { EXPECT_EQ(calls++, 1); };
    QImage im = s.render(o);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(at(im, 20, 20), rgb(0, 0, 230)); // background AND blue
    EXPECT_EQ(at(im, 100, 100), Red);          // AND white keeps the drawing
    EXPECT_EQ(at(im, 150, 150), rgb(0, 255, 0));
    // Dark background: ORed in, so a light trace pixel shows and black keeps the drawing.
    s.doc.background = rgb(0, 0, 40);
    trace.fill(Qt::black);
    trace.setPixel(20, 20, qRgb(200, 0, 0));
    o.marks = nullptr;
    o.overlay = nullptr;
    im = s.render(o);
    EXPECT_EQ(at(im, 20, 20), rgb(200, 0, 40));
    EXPECT_EQ(at(im, 100, 100), Red);
    // Without traced elements the trace bitmap is ignored.
    s.doc.traceList.clear();
    im = s.render(o);
    EXPECT_EQ(at(im, 20, 20), s.doc.background);
}

TEST(Renderer, TablesShowHeadersAndValuesAndShrinkToABoxOnMiniatures) {
    Scene s;
    Element* a = s.number(1.5, 500, 500);
    Element* b = s.number(2.5, 500, 500);
    a->visible = b->visible = Internal;
    Element* table = s.make(Method::Table, nullptr, nullptr, nullptr, {a, b});
    table->value[2] = 20;
    table->value[3] = 180; // top-left at pixel (20, 20)
    table->color = White;
    auto* t = table->tailAs<TableTail>();
    t->rows = 2;
    t->columns[0].values = {1.0, 2.0};
    t->columns[1].values = {3.0, 4.0};
    QImage im = s.render();
    EXPECT_EQ(at(im, 20, 20), White); // the frame's corner
    int right = 0, bottom = 0;
    for (int x = 20; x < 200; ++x)
        if (at(im, x, 20) == White) right = x;
    for (int y = 20; y < 200; ++y)
        if (at(im, 20, y) == White) bottom = y;
    EXPECT_GT(right, 60);   // two columns side by side
    EXPECT_GT(bottom, 60);  // a header and two rows
    EXPECT_LT(bottom, 150); // but no more
    EXPECT_EQ(at(im, 10, 10), s.doc.background);
    // On a miniature at half scale: a box from (10, 10) half as large, nothing else.
    RenderOptions o = s.options();
    o.target = RenderTarget::Miniature;
    o.view.scale = 0.5;
    im = s.render(o);
    EXPECT_EQ(at(im, 10, 10), White);
    EXPECT_EQ(at(im, 10 + (right - 20) / 2, 10), White);
    int lit = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            lit += at(im, x, y) == White;
    EXPECT_LT(lit, 2 * (right - 20) + 2 * (bottom - 20));
    EXPECT_EQ(at(im, 5, 5), s.doc.background);
    EXPECT_EQ(at(im, 150, 150), s.doc.background);
}

// A closed locus joins its last sample to its first; a family of triangles is drawn member by
// member; a function graph is its polyline.
TEST(Renderer, LociFamiliesAndGraphsAreDrawn) {
    Scene s;
    s.recalculate = true;
    const Color green = rgb(0, 255, 0), blue = rgb(0, 0, 255);
    // Triangles from (20, 20) to a point running from (20, 100) to (180, 100) and to (100, 180).
    Element* o = s.point(20, 20);
    Element* apex = s.point(100, 180);
    Element* seg = s.make(Method::Segment, s.point(20, 100), s.point(180, 100));
    s.req.value[3] = 0.5;
    Element* d = s.make(Method::PointOnElement, seg);
    Element* tri = s.make(Method::Polygon, nullptr, nullptr, nullptr, {o, d, apex});
    for (Element* e :
         std::initializer_list<Element*>{o, apex, seg->parent1, seg->parent2, seg, d, tri})
        e->visible = 0;
    Element* family = s.make(Method::Locus, tri, d);
    family->color = green;
    QImage im = s.render();
    EXPECT_EQ(at(im, 20, 140), green); // first member: (20, 20) to (20, 100)
    EXPECT_EQ(at(im, 140, 60), green); // last member: (180, 100) to (100, 180)
    EXPECT_EQ(at(im, 190, 10), s.doc.background);
    EXPECT_DOUBLE_EQ(d->value[3], 0.5);
    family->visible = 0;

    // The midpoint of (100, 100) and a point on the circle of radius 80 about it, in 4 samples:
    // the square (140, 100), (100, 140), (60, 100), (100, 60), closed.
    Element* c = s.make(Method::CircleCentrePoint, s.point(100, 100), s.point(180, 100));
    c->visible = 0;
    s.req.value[3] = 0;
    Element* on = s.make(Method::PointOnElement, c);
    s.opts.locusPoints = 4;
    Element* mid = s.make(Method::Midpoint, on, c->parent1);
    mid->color = blue; // each piece takes the colour its traced point had at its sample
    Element* square = s.make(Method::Locus, mid, on);
    square->color = green;
    im = s.render();
    EXPECT_EQ(at(im, 120, 200 - 120), blue); // (140, 100) to (100, 140)
    EXPECT_EQ(at(im, 120, 200 - 80), blue);  // (100, 60) back to (140, 100)
}
