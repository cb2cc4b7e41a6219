// A drag draws only the moving elements over a still layer; the frame after the release is the
// full drawing again, pixel for pixel, with a locus, a trace and an iteration in the scene.
#include "app/testwindow.h"
#include "view/renderer.h"
#include "view/scene.h"

#include <QApplication>
#include <QBackingStore>
#include <QTest>
#include <gtest/gtest.h>

using namespace qorv;

namespace {

// Pixels that differ between two images of one size.
int differingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// A window with what the drag tests look at.
struct DragWindow : qorv::testing::TestWindow {
    using TestWindow::TestWindow;
    // A move of the drag and the paint that follows it (a frame is drawn when it is shown).
    void dragTo(QPoint to) {
        QTest::mouseMove(area(), to);
        QApplication::processEvents();
    }
    // The visible part of the main bitmap, in its own pixels.
    QImage drawn() {
        const QImage& bitmap = w->canvas().mainBitmap();
        const QSize size = area()->size() * bitmap.devicePixelRatio();
        return bitmap.copy(0, 0, size.width(), size.height());
    }
    // Pixels within 2 of world (x, y) that differ from the background.
    int inked(const QImage& image, double x, double y) {
        const Color c = doc().background;
        const QRgb ground = qRgb(colorRed(c), colorGreen(c), colorBlue(c));
        const QPoint p = pixel(x, y);
        int n = 0;
        for (int j = p.y() - 2; j <= p.y() + 2; ++j)
            for (int i = p.x() - 2; i <= p.x() + 2; ++i)
                n += image.valid(i, j) && image.pixel(i, j) != ground;
        return n;
    }
};

struct DragScene : DragWindow {
    Element* a = nullptr;
    Element* still = nullptr;

    explicit DragScene(bool antialiased) : DragWindow(Options{QSize(1000, 760), true}) {
        doc().antialiased = antialiased ? 1 : 0;
        ConstructionBuilder b = build();
        b.recalculate = true;
        a = b.point(0, 0);
        Element* seg = b.make(Method::Segment, a, b.point(100, 0));
        seg->shape = 2; // thick, so that it covers the still point below
        // A locus of the midpoint of A and a point running round a circle.
        Element* circle = b.make(Method::CircleCentrePoint, b.point(-150, 0), b.point(-110, 0));
        Element* d = b.make(Method::PointOnElement, circle);
        b.make(Method::Locus, b.make(Method::Midpoint, d, a), d);
        // An iteration that puts A where the midpoint of A and C was.
        Element* m = b.make(Method::Midpoint, a, b.point(60, -120));
        b.make(Method::Segment, a, m);
        qorv::test::iterateOnto(doc(), a, m, 3, b.opts);
        // A still point drawn after the segment: where A ends, the moving segment crosses it.
        still = b.point(50, 30);
        still->shape = 2;
        still->color = rgb(255, 0, 0);
        doc().traceList.push_back(m);
        done();
    }

    // The whole drawing made from scratch as the canvas would make it at rest.
    QImage full(qreal ratio = 1) {
        RenderOptions o;
        o.view = documentView(doc());
        o.width = area()->width();
        o.height = area()->height();
        o.antialiased = doc().antialiased != 0;
        o.planeSize = w->canvas().planeSize();
        o.trace = &w->canvas().traceBitmap();
        QImage image(QSize(o.width, o.height) * int(ratio), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        Renderer().redraw(image, doc(), o);
        return image;
    }
};

TEST(DrawingCanvasDrag, TheFrameAfterTheReleaseIsTheFullDrawing) {
    for (const bool aa : {false, true}) {
        SCOPED_TRACE(aa ? "AA" : "plain");
        DragScene s(aa);
        const QPoint from = s.pixel(0, 0), to = s.pixel(0, 60);
        QTest::mousePress(s.area(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= 6; ++i)
            s.dragTo(from + (to - from) * i / 6);
        EXPECT_DOUBLE_EQ(s.a->value[1], 60);
        // During the drag the steps were layered, and the moving segment lies over the still
        // point that the full drawing puts above it.
        EXPECT_GE(s.w->canvas().layeredFrames(), 5);
        EXPECT_NE(s.drawn(), s.full());
        QTest::mouseRelease(s.area(), Qt::LeftButton, {}, to);
        EXPECT_EQ(s.w->canvas().layeredFrames(), 0);
        // The pointer leaves the point: its hover highlight and label go. (A move to where the
        // pointer already is would not reach the window.)
        QTest::mouseMove(s.area(), s.pixel(-300, aa ? 200 : 180));
        const QImage released = s.drawn(), full = s.full();
        ASSERT_EQ(released.size(), full.size());
        EXPECT_EQ(differingPixels(released, full), 0);

        // The trace of the midpoint (between y -60 and -30) and the locus (about (-75, 30),
        // radius 20) are in it.
        EXPECT_GT(s.inked(full, 30, -50), 0);
        EXPECT_GT(s.inked(full, -55, 30), 0);
        EXPECT_EQ(s.inked(full, -75, 30), 0);
    }
}

// On a screen at twice the pixels the still layer has the bitmap's pixels too: a layered step
// differs from the full drawing only where the moving segment lies over the still point.
TEST(DrawingCanvasDrag, AtTwiceThePixelsTheStillLayerHasTheScreensPixels) {
    DragScene s(false);
    s.w->canvas().setDevicePixelRatio(2);
    const QPoint from = s.pixel(0, 0), to = s.pixel(0, 60);
    QTest::mousePress(s.area(), Qt::LeftButton, {}, from);
    for (int i = 1; i <= 6; ++i)
        s.dragTo(from + (to - from) * i / 6);
    ASSERT_GE(s.w->canvas().layeredFrames(), 5);
    const QImage layered = s.drawn(), full = s.full(2);
    ASSERT_EQ(layered.size(), full.size());
    const int differing = differingPixels(layered, full);
    EXPECT_GT(differing, 0);
    EXPECT_LT(differing, 400);
    QTest::mouseRelease(s.area(), Qt::LeftButton, {}, to);
}

// What the window's own pixels show under the drawing area.
QImage shownOnWindow(qorv::testing::TestWindow& t) {
    auto* window = dynamic_cast<QImage*>(t.w->backingStore()->paintDevice());
    if (!window) return {};
    const QRect place(t.area()->mapTo(t.w.get(), QPoint()), t.area()->size());
    return window->copy(place).convertToFormat(QImage::Format_RGB32);
}

// A drag frame is drawn straight onto the window's pixels, in the area's place there: what the
// window shows is the frame that the main bitmap then gives, layered (few elements move) or
// whole (most of them move).
// Drags `dragged` 60 pixels down, a paint after each move, and compares the window's pixels
// with the main bitmap's frame.
void checkFramesOnTheWindow(DragWindow& s, Element* dragged, bool layered) {
    const QPoint from = s.pixel(dragged->value[0], dragged->value[1]);
    const QPoint to = from + QPoint(0, 60);
    QTest::mousePress(s.area(), Qt::LeftButton, {}, from);
    for (int i = 1; i <= 6; ++i)
        s.dragTo(from + (to - from) * i / 6);
    ASSERT_GE(s.w->canvas().windowFrames(), 5);
    EXPECT_EQ(s.w->canvas().layeredFrames() > 0, layered);
    const QImage shown = shownOnWindow(s);
    const QImage drawn = s.drawn();
    ASSERT_EQ(shown.size(), drawn.size());
    EXPECT_EQ(differingPixels(shown, drawn), 0);
    // The window shows the point where the last move took it.
    EXPECT_EQ(s.pixel(dragged->value[0], dragged->value[1]), to);
    EXPECT_GT(s.inked(shown, dragged->value[0], dragged->value[1]), 0);
    QTest::mouseRelease(s.area(), Qt::LeftButton, {}, to);
}

// A drag frame is drawn straight onto the window's pixels, in the area's place there: what the
// window shows is the frame that the main bitmap then gives, layered (few elements move) or
// whole (most of them move).
TEST(DrawingCanvasDrag, AFrameDrawnOntoTheWindowIsTheFrameOfTheBitmap) {
    {
        SCOPED_TRACE("layered");
        DragScene s(true);
        checkFramesOnTheWindow(s, s.a, true);
    }
    {
        SCOPED_TRACE("whole");
        // Four of the five elements follow the point.
        DragWindow s(DragWindow::Options{QSize(1000, 760), true});
        s.doc().antialiased = 1;
        ConstructionBuilder b = s.build();
        b.recalculate = true;
        Element* dragged = b.point(0, 0);
        Element* mid = b.make(Method::Midpoint, dragged, b.point(80, 0));
        b.make(Method::Segment, dragged, mid);
        b.make(Method::CircleCentrePoint, mid, dragged);
        s.done();
        checkFramesOnTheWindow(s, dragged, false);
    }
}

} // namespace
