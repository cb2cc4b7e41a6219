#include "construction/builder.h"
#include "dialogs/fakecontext.h"
#include "dialogs/tmuepan.h"
#include "view/renderer.h"
#include "view/viewtransform.h"

#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace qorv;

namespace {

// The main window's side of the dialog: a 1280 x 1024 screen, a 640 x 480 drawing area.
struct FakeHost : test::FakeContext {
    double plane = 4000;
    int mainRedraws = 0;
    int viewChanges = 0;

    FakeHost() {
        doc.left = -320;
        doc.top = 240;
        updateFarCorner(doc, 1280, 1024);
        ConstructionBuilder(doc).point(0, 0)->shape = PointShape::Square;
    }
    double planeSize() override { return plane; }
    void setPlaneSize(double size) override { plane = size; }
    void redraw() override { ++mainRedraws; }
    void viewChanged() override { ++viewChanges; }
};

void drag(QWidget* w, QPoint from, QPoint to) {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
}

} // namespace

TEST(TMuePan, ShowsTheWholePlaneWithTheViewRectangle) {
    FakeHost host;
    TMuePan dialog(host);
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(344, 376));
    EXPECT_DOUBLE_EQ(dialog.previewScale(), 340.0 / 4000.0);
    // (-320, 240) is (1680, 1760) from the plane's top-left corner: times 0.085.
    EXPECT_EQ(dialog.rectangleOrigin(), QPoint(143, 150));
    EXPECT_EQ(dialog.rectangleSize(),
              QSize(int(std::lround(640 * 0.085)) + 1, int(std::lround(480 * 0.085)) + 1));
    // Track bar: round(1000 (4000 - 1281) / 20000).
    EXPECT_EQ(dialog.trackBar()->value(), 136);
    EXPECT_EQ(dialog.trackBar()->maximum(), 1000);
    // The miniature shows the plane's centre (the point) in the middle of the preview.
    const QImage& preview = dialog.previewImage();
    const QRgb centre = preview.pixel(170, 170);
    EXPECT_EQ(qRed(centre), 255);
    EXPECT_EQ(qGreen(centre), 0);
    // The rectangle is drawn over the preview: cyan inside, black one pixel out.
    const QImage shown = dialog.preview()->grab().toImage();
    EXPECT_EQ(shown.pixel(143, 160), qRgb(0, 255, 255));
    EXPECT_EQ(shown.pixel(142, 160), qRgb(0, 0, 0));
}

TEST(TMuePan, DraggingMovesTheViewLiveInWholePixelsAndStopsAtTheEdges) {
    FakeHost host;
    TMuePan dialog(host);
    dialog.show();
    QWidget* preview = dialog.preview();
    const QPoint inside = dialog.rectangleOrigin() + QPoint(10, 10);
    drag(preview, inside, inside + QPoint(20, -30));
    EXPECT_TRUE(dialog.moved());
    EXPECT_EQ(dialog.rectangleOrigin(), QPoint(163, 120));
    EXPECT_GT(host.mainRedraws, 0);
    EXPECT_DOUBLE_EQ(host.doc.left, std::round(163 / 0.085 - 2000));
    EXPECT_DOUBLE_EQ(host.doc.top, std::round(2000 - 120 / 0.085));
    EXPECT_DOUBLE_EQ(host.doc.right, host.doc.left + 1280);
    EXPECT_DOUBLE_EQ(host.doc.bottom, host.doc.top - 1024);
    // Far past the bottom-right edge: the rectangle stops inside the preview.
    const QPoint now = dialog.rectangleOrigin() + QPoint(5, 5);
    drag(preview, now, now + QPoint(900, 900));
    const QSize r = dialog.rectangleSize();
    EXPECT_EQ(dialog.rectangleOrigin(), QPoint(340 - r.width(), 340 - r.height()));
    const QPoint again = dialog.rectangleOrigin() + QPoint(5, 5);
    drag(preview, again, again - QPoint(900, 900));
    EXPECT_EQ(dialog.rectangleOrigin(), QPoint(0, 0));
    EXPECT_DOUBLE_EQ(host.doc.left, -2000);
    EXPECT_DOUBLE_EQ(host.doc.top, 2000);
}

TEST(TMuePan, PressesOutsideTheRectangleOrOnItsBorderDoNotDrag) {
    FakeHost host;
    TMuePan dialog(host);
    dialog.show();
    const QPoint origin = dialog.rectangleOrigin();
    drag(dialog.preview(), QPoint(10, 10), QPoint(60, 60));
    drag(dialog.preview(), origin + QPoint(1, 1), origin + QPoint(40, 40));
    EXPECT_EQ(dialog.rectangleOrigin(), origin);
    EXPECT_FALSE(dialog.moved());
    EXPECT_EQ(host.mainRedraws, 0);
}

TEST(TMuePan, CancelRestoresTheOriginAndThePlaneSize) {
    FakeHost host;
    const double left = host.doc.left, top = host.doc.top;
    TMuePan dialog(host);
    dialog.show();
    const QPoint inside = dialog.rectangleOrigin() + QPoint(10, 10);
    drag(dialog.preview(), inside, inside + QPoint(40, 40));
    dialog.trackBar()->setValue(1000);
    EXPECT_DOUBLE_EQ(host.plane, 21281);
    EXPECT_DOUBLE_EQ(dialog.previewScale(), 340 / 21281.0);
    dialog.reject();
    EXPECT_DOUBLE_EQ(host.doc.left, left);
    EXPECT_DOUBLE_EQ(host.doc.top, top);
    EXPECT_DOUBLE_EQ(host.plane, 4000);
    EXPECT_EQ(host.viewChanges, 1);
}

TEST(TMuePan, OkKeepsTheMovedViewAndTheNewPlane) {
    FakeHost host;
    // Shrinking the plane to its minimum pushes the rectangle back inside: a move.
    host.doc.left = 1500;
    host.doc.top = -1000;
    TMuePan far(host);
    far.trackBar()->setValue(0);
    EXPECT_DOUBLE_EQ(host.plane, 1281);
    EXPECT_TRUE(far.moved());
    const QSize r = far.rectangleSize();
    EXPECT_EQ(far.rectangleOrigin(), QPoint(340 - r.width(), 340 - r.height()));
    far.accept();
    EXPECT_DOUBLE_EQ(host.plane, 1281);
    // The view now lies within the smaller plane, in whole pixels.
    EXPECT_LE(host.doc.left + 640, 1281 / 2.0 + 1281 / 340.0);
    EXPECT_GE(host.doc.top - 480, -1281 / 2.0 - 1281 / 340.0);
    EXPECT_EQ(host.doc.left, std::round(host.doc.left));
    EXPECT_EQ(host.doc.top, std::round(host.doc.top));
    EXPECT_EQ(host.viewChanges, 1);
}
