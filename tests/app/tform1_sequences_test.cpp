// The tool sequences in the main window, driven by QTest mouse events on the drawing area: a
// whole figure built only by clicks, saved and read back; the transformation of a selection;
// the refused redefinition; which tool buttons are enabled.
#include "app/testwindow.h"
#include "app/tform1.h"
#include "construction/builder.h"
#include "geometry/measure.h"
#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "view/clickengine.h"
#include "view/tooltable.h"
#include "view/viewtransform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace qorv;

namespace {

struct FigureWindow : qorv::testing::TestWindow {
    FigureWindow() : TestWindow(Options{QSize(1000, 760), true}) {}
    void click(double x, double y, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseMove(area(), pixel(x, y));
        QTest::mouseClick(area(), Qt::LeftButton, mods, pixel(x, y));
    }
    void tool(int t) { w->chooseTool(t); }
    // A move of the pointer (delivered even when it does not change the position).
    void move(double x, double y) {
        const QPointF at(pixel(x, y));
        QMouseEvent e(QEvent::MouseMove, at, area()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(area(), &e);
    }
    // Pixels of colour c within `radius` pixels of world (x, y) on a shot.
    int pixelsOf(const QImage& image, Color c, double x, double y, int radius = 3) {
        const QPoint p = pixel(x, y);
        const QRgb want = qRgb(colorRed(c), colorGreen(c), colorBlue(c));
        int n = 0;
        for (int j = p.y() - radius; j <= p.y() + radius; ++j)
            for (int i = p.x() - radius; i <= p.x() + radius; ++i)
                n += image.valid(i, j) && image.pixel(i, j) == want;
        return n;
    }
    Element* last() { return doc().tail; }
    int count(ConstructionMethod m) {
        int n = 0;
        for (Element* e = doc().head; e; e = e->next)
            n += e->method == m;
        return n;
    }
};

Point2 at(const Element* e) {
    return {e->value[0], e->value[1]};
}

double dist(Point2 a, Point2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Two lists hold the same construction: methods, parents by position in the list, looks and
// numbers.
void expectSameConstruction(Document& a, Document& b) {
    a.renumber();
    b.renumber();
    ASSERT_EQ(a.elementCount(), b.elementCount());
    auto idOf = [](const Element* e) { return e ? e->id : -1; };
    for (Element *x = a.head, *y = b.head; x && y; x = x->next, y = y->next) {
        SCOPED_TRACE(x->id);
        EXPECT_EQ(x->method, y->method);
        EXPECT_EQ(idOf(x->parent1), idOf(y->parent1));
        EXPECT_EQ(idOf(x->parent2), idOf(y->parent2));
        EXPECT_EQ(idOf(x->parent3), idOf(y->parent3));
        EXPECT_EQ(x->visible, y->visible);
        EXPECT_EQ(x->defined, y->defined);
        EXPECT_EQ(x->color, y->color);
        EXPECT_EQ(x->shape, y->shape);
        EXPECT_EQ(x->option, y->option);
        EXPECT_EQ(x->option2, y->option2);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(x->value[i], y->value[i], 1e-9) << i;
        EXPECT_EQ(x->subElementCount(), y->subElementCount());
        for (int i = 0; i < x->subElementCount() && i < y->subElementCount(); ++i)
            EXPECT_EQ(idOf(x->subElement(i)->parent1), idOf(y->subElement(i)->parent1));
    }
}

} // namespace

// A triangle, its circumcircle through the perpendicular bisectors and their intersection, its
// angle bisectors and the incircle centre, measurements and a line equation: only by clicks.
TEST(TForm1Sequences, AWholeFigureBuiltByClicksSurvivesSavingAndReading) {
    FigureWindow win;
    const Point2 A{-150, -100}, B{150, -100}, C{-30, 140};

    win.tool(Tool::Polygon);
    win.click(A.x, A.y);
    win.click(B.x, B.y);
    win.click(C.x, C.y);
    win.click(A.x, A.y);
    Element* tri = win.last();
    ASSERT_EQ(tri->method, Method::Polygon);
    Element* pa = tri->subElement(0)->parent1;
    Element* pb = tri->subElement(1)->parent1;
    Element* pc = tri->subElement(2)->parent1;

    win.tool(Tool::PerpendicularBisector);
    win.click(A.x, A.y);
    win.click(B.x, B.y);
    Element* bisAB = win.last();
    win.click(B.x, B.y);
    win.click(C.x, C.y);
    Element* bisBC = win.last();
    ASSERT_EQ(bisAB->method, Method::PerpendicularBisector);
    ASSERT_EQ(bisBC->method, Method::PerpendicularBisector);
    EXPECT_EQ(bisBC->parent1, pb);
    EXPECT_EQ(bisBC->parent2, pc);

    win.tool(Tool::Intersection);
    win.click(0, 180);  // on the bisector of AB (x = 0)
    win.click(140, 80); // on the bisector of BC
    Element* o = win.last();
    ASSERT_EQ(o->method, Method::IntersectionPoint);
    EXPECT_EQ(o->parent1, bisAB);
    EXPECT_EQ(o->parent2, bisBC);

    win.tool(Tool::Circle);
    win.click(o->value[0], o->value[1]);
    win.click(A.x, A.y);
    Element* circum = win.last();
    ASSERT_EQ(circum->method, Method::CircleCentrePoint);
    EXPECT_EQ(circum->parent1, o);
    EXPECT_EQ(circum->parent2, pa);

    win.tool(Tool::AngleBisector);
    win.click(B.x, B.y);
    win.click(A.x, A.y);
    win.click(C.x, C.y);
    Element* bisA = win.last();
    win.click(A.x, A.y);
    win.click(B.x, B.y);
    win.click(C.x, C.y);
    Element* bisB = win.last();
    ASSERT_EQ(bisA->method, Method::AngleBisector);
    EXPECT_EQ(bisA->parent2, pa);
    EXPECT_EQ(bisB->parent2, pb);

    // The incentre by its own formula: the vertices weighted by the opposite sides.
    const double a = dist(B, C), b = dist(C, A), c = dist(A, B);
    const Point2 I{(a * A.x + b * B.x + c * C.x) / (a + b + c),
                   (a * A.y + b * B.y + c * C.y) / (a + b + c)};
    win.tool(Tool::Intersection);
    win.click(std::round((A.x + I.x) / 2), std::round((A.y + I.y) / 2));
    win.click(std::round((B.x + I.x) / 2), std::round((B.y + I.y) / 2));
    Element* in = win.last();
    ASSERT_EQ(in->method, Method::IntersectionPoint);
    EXPECT_NEAR(in->value[0], I.x, 1e-6);
    EXPECT_NEAR(in->value[1], I.y, 1e-6);

    // The circumcentre by its own formula, and the circle through all three vertices.
    const double d = 2 * (A.x * (B.y - C.y) + B.x * (C.y - A.y) + C.x * (A.y - B.y));
    const double a2 = A.x * A.x + A.y * A.y, b2 = B.x * B.x + B.y * B.y, c2 = C.x * C.x + C.y * C.y;
    const Point2 O{(a2 * (B.y - C.y) + b2 * (C.y - A.y) + c2 * (A.y - B.y)) / d,
                   (a2 * (C.x - B.x) + b2 * (A.x - C.x) + c2 * (B.x - A.x)) / d};
    EXPECT_NEAR(o->value[0], O.x, 1e-9);
    EXPECT_NEAR(o->value[1], O.y, 1e-9);
    const double r = dist(at(circum), {circum->value[2], circum->value[3]});
    EXPECT_NEAR(r, dist(O, C), 1e-9);

    // Measurements: |OA|, the perimeter, the angle at C, the area.
    win.tool(Tool::LengthDistance);
    win.click(o->value[0], o->value[1]);
    win.click(A.x, A.y);
    Element* oa = win.last();
    ASSERT_EQ(oa->method, Method::DistancePointPoint);
    EXPECT_NEAR(oa->value[0], dist(O, A) / 40, 1e-9);
    EXPECT_DOUBLE_EQ(oa->value[2], A.x);
    win.click(100, -100); // side AB
    Element* perimeter = win.last();
    ASSERT_EQ(perimeter->method, Method::PolygonPerimeter);
    EXPECT_NEAR(perimeter->value[0], (a + b + c) / 40, 1e-9);
    win.tool(Tool::AngleMeasure);
    win.click(A.x, A.y);
    win.click(C.x, C.y);
    win.click(B.x, B.y);
    Element* angleC = win.last();
    ASSERT_EQ(angleC->method, Method::AngleValue);
    const double cosC = ((A.x - C.x) * (B.x - C.x) + (A.y - C.y) * (B.y - C.y)) / (a * b);
    EXPECT_NEAR(angleC->value[0], std::acos(cosC), 1e-9);
    win.tool(Tool::Area);
    win.click(100, -100);
    Element* area = win.last();
    ASSERT_EQ(area->method, Method::PolygonArea);
    EXPECT_NEAR(area->value[0], 0.5 * 300 * 240 / 1600, 1e-9);

    // Axes on an empty place, and the equation of the bisector of AB in them: x = 6.25.
    win.tool(Tool::Axes);
    win.click(-250, 200);
    Element* axes = win.last();
    ASSERT_EQ(axes->method, Method::Axes);
    win.tool(Tool::EquationOrCoordinates);
    win.click(0, 170);
    Element* eq = win.last();
    ASSERT_EQ(eq->method, Method::LineEquation);
    EXPECT_EQ(eq->parent1, bisAB);
    EXPECT_EQ(eq->parent2, axes);
    EXPECT_EQ(lineEquationText(*eq), "x = 6.25");
    EXPECT_EQ(win.w->canvas().toolUndoSteps(), 14); // one per construction

    // Saved and read back: the same construction.
    const std::vector<uint8_t> bytes = encodeDocument(win.doc());
    Document copy;
    const ReadResult rr = readDocumentData(copy, bytes.data(), bytes.size(), FileType::Document);
    ASSERT_EQ(rr.kind, FileKind::Document);
    recalcUpTo(copy);
    expectSameConstruction(win.doc(), copy);
    // The incentre of the copy is where it should be.
    Element* inCopy = copy.findById(in->id);
    ASSERT_NE(inCopy, nullptr);
    EXPECT_NEAR(inCopy->value[0], I.x, 1e-6);
    EXPECT_NEAR(inCopy->value[1], I.y, 1e-6);
}

TEST(TForm1Sequences, ShiftClicksMakeASelectionThatASymmetryTransformsOnce) {
    FigureWindow win;
    win.tool(Tool::Segment);
    win.click(-200, 0);
    win.click(-100, 100);
    Element* ab = win.last();
    win.click(-100, 100);
    win.click(0, 0);
    Element* bc = win.last();
    Element* shared = bc->parent1;
    ASSERT_EQ(ab->parent2, shared);

    win.tool(Tool::CentralSymmetry);
    win.click(-150, 50, Qt::ShiftModifier);
    win.click(-50, 50, Qt::ShiftModifier);
    EXPECT_EQ(win.doc().selectedCount(), 2);
    win.click(-50, 50); // on a selected segment: the selection
    win.click(100, -100);
    EXPECT_EQ(win.count(Method::CentralSymmetryPoint), 3); // the shared point once
    Element* s2 = win.last();
    ASSERT_EQ(s2->method, Method::Segment);
    Element* s1 = s2->prev->prev;
    ASSERT_EQ(s1->method, Method::Segment);
    EXPECT_EQ(s1->parent2, s2->parent1);
    EXPECT_EQ(s1->parent2->parent1, shared);
    EXPECT_NEAR(s1->parent2->value[0], 300, 1e-9);
    EXPECT_NEAR(s1->parent2->value[1], -300, 1e-9);
    EXPECT_EQ(win.w->currentTool(), Tool::Move);
    EXPECT_EQ(s1->selected, 1);
    EXPECT_EQ(ab->selected, 0);
}

TEST(TForm1Sequences, AnInvalidRedefinitionIsReportedAndChangesNothing) {
    FigureWindow win;
    win.tool(Tool::Line);
    win.click(-100, 0);
    win.click(100, 0);
    Element* line = win.last();
    Element* p = line->parent1;
    win.tool(Tool::RedefinePoint);
    win.click(-100, 0);
    win.click(0, 0); // the line built on the point
    ASSERT_EQ(win.messages.size(), 1u);
    EXPECT_EQ(win.messages[0], QString::fromUtf8("Redefinición no válida"));
    EXPECT_EQ(p->method, Method::FreePoint);
    EXPECT_EQ(line->parent1, p);
    // A valid one: the point goes onto a circle made afterwards.
    win.tool(Tool::Circle);
    win.click(0, 150);
    win.click(0, 200);
    Element* circle = win.last();
    win.tool(Tool::RedefinePoint);
    win.click(-100, 0);
    win.click(50, 150);
    EXPECT_EQ(p->method, Method::PointOnElement);
    EXPECT_EQ(p->parent1, circle);
    EXPECT_NEAR(line->value[0], 50, 1e-9);
    EXPECT_EQ(win.messages.size(), 1u);
}

TEST(TForm1Sequences, RegularPolygonPreviewIsDrawnWhileThePointerMoves) {
    FigureWindow win;
    win.tool(Tool::RegularPolygon);
    win.click(0, 0);
    win.click(100, 0);
    const QImage before = win.w->canvas().mainBitmap().copy();
    QTest::mouseMove(win.area(), win.pixel(0, -90));
    EXPECT_NE(win.w->canvas().mainBitmap(), before); // the preview is on the drawing
    auto preview = win.w->canvas().interaction().previewElement();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->tailAs<PolygonTail>()->sides.size(), 4u); // a quarter turn: a square
    win.click(0, -90);
    EXPECT_EQ(win.count(Method::RegularPolygonVertex), 3);
    EXPECT_EQ(win.last()->method, Method::Polygon);
}

TEST(TForm1Sequences, ToolButtonsAreEnabledForTheToolsThatHaveSequences) {
    FigureWindow win;
    auto button = [&](int t) {
        return win.w->toolBars().buttonNamed(QString::fromLatin1(toolInfo(t).button));
    };
    for (int t :
         {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
          22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42,
          43, 44, 45, 46, 47, 48, 51, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68}) {
        QToolButton* b = button(t);
        ASSERT_NE(b, nullptr) << t;
        EXPECT_TRUE(b->isEnabled()) << t;
        EXPECT_TRUE(isToolAvailable(t)) << t;
    }
}

// Two circles crossing at (60, 80) and (60, -80), then the intersection tool, as a new user
// tries it: the first circle shows as picked, and the second click shows both points at once
// (not hidden under the picked or the hovered circle's highlight), without any other redraw.
TEST(TForm1Sequences, TheIntersectionToolShowsThePickedCircleAndTheNewPointsAtOnce) {
    FigureWindow win;
    win.tool(Tool::Circle);
    win.click(0, 0);
    win.click(100, 0);
    win.click(120, 0);
    win.click(220, 0);
    const Color highlight = win.doc().selectedColor;
    win.tool(Tool::Intersection);
    win.click(-100, 0); // the first circle
    win.move(0, 160);   // away from both
    EXPECT_GT(win.pixelsOf(win.shot(), highlight, 0, -100), 0) << "the picked circle";
    EXPECT_EQ(win.pixelsOf(win.shot(), highlight, 220, 0), 0);

    win.click(120, 100); // the second circle; the pointer stays on it
    const QImage after = win.shot();
    ASSERT_EQ(win.count(Method::IntersectionPoint), 2);
    for (Element* p : {win.last(), win.last()->prev}) {
        EXPECT_NEAR(p->value[0], 60, 1e-9);
        EXPECT_NEAR(std::fabs(p->value[1]), 80, 1e-9);
        EXPECT_EQ(after.pixel(win.pixel(p->value[0], p->value[1])),
                  qRgb(colorRed(p->color), colorGreen(p->color), colorBlue(p->color)))
            << p->value[1];
    }
    EXPECT_EQ(win.pixelsOf(after, highlight, 0, -100), 0) << "the sequence is over";
}

// After every click of every kind of tool, what the user sees is what a full redraw with the
// same pointer shows: nothing made, deleted, changed or picked waits for another redraw.
TEST(TForm1Sequences, EveryClickShowsWhatItLeft) {
    struct Case {
        const char* name;
        int tool;
        std::vector<Point2> clicks;
    };
    // A(-100, -50), B(100, -50), C(0, 0); segment AB; circle about C of radius 80.
    const Case cases[] = {
        {"point", Tool::Point, {{50, 150}}},
        {"segment", Tool::Segment, {{-100, -50}, {-50, 150}}},
        {"circle", Tool::Circle, {{0, 0}, {0, 150}}},
        {"intersection", Tool::Intersection, {{0, -50}, {0, 80}}},
        {"midpoint", Tool::Midpoint, {{-100, -50}, {100, -50}}},
        {"symmetry", Tool::CentralSymmetry, {{-100, -50}, {0, 0}}},
        {"distance", Tool::LengthDistance, {{-100, -50}, {100, -50}}},
        {"redefinition", Tool::RedefinePoint, {{-100, -50}, {-80, 0}}},
        {"hide", Tool::ToggleVisibility, {{0, 0}}},
        {"delete", Tool::DeleteElement, {{50, -50}}},
        {"colour", Tool::LineColour, {{0, 80}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FigureWindow win;
        ConstructionBuilder mk(win.doc());
        mk.opts = win.w->creationOptions();
        Element* a = mk.point(-100, -50);
        Element* b = mk.point(100, -50);
        Element* centre = mk.point(0, 0);
        mk.make(Method::Segment, a, b);
        mk.req.value[2] = 80;
        mk.make(Method::CircleByCentre, centre);
        win.w->canvas().recalculateAndRedraw();
        win.tool(c.tool);
        for (size_t i = 0; i < c.clicks.size(); ++i) {
            win.click(c.clicks[i].x, c.clicks[i].y);
            const QImage seen = win.shot();
            win.w->canvas().redraw();
            win.move(c.clicks[i].x, c.clicks[i].y); // the same hover again
            EXPECT_TRUE(seen == win.shot()) << "click " << i;
        }
        EXPECT_EQ(win.w->canvas().toolUndoSteps(), 1); // the tool did its work
    }
}
