#include "app/demodocument.h"
#include "app/testwindow.h"
#include "app/tform1.h"
#include "app/windowcontext.h"
#include "construction/builder.h"
#include "dialogs/tmuepan.h"
#include "view/exportfile.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace qorv;
using qorv::testing::TestWindow;

namespace {

Color pixel(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

// A document whose only drawn element is a vertical white segment at world x = 0, y -100..100, with
// the world origin in the middle of the drawing area.
std::unique_ptr<Document> segmentDocument(const TForm1& w, Element** out = nullptr) {
    auto doc = std::make_unique<Document>();
    ConstructionBuilder mk(*doc);
    Element* a = mk.point(0, -100);
    Element* b = mk.point(0, 100);
    a->visible = b->visible = 0; // only the segment is drawn
    Element* s = mk.make(Method::Segment, a, b);
    s->value[0] = 0, s->value[1] = -100, s->value[2] = 0, s->value[3] = 100;
    s->color = rgb(255, 255, 255);
    doc->left = -w.canvas().drawingArea()->width() / 2;
    doc->top = w.canvas().drawingArea()->height() / 2;
    doc->modified = 0;
    if (out) *out = s;
    return doc;
}

} // namespace

TEST(TForm1, StartsWithAnEmptyDocumentCentredOnTheOrigin) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    w.show();
    ASSERT_NE(w.canvas().drawingArea(), nullptr);
    EXPECT_NE(w.statusBar(), nullptr);
    EXPECT_EQ(w.document().head, nullptr);
    EXPECT_EQ(w.document().modified, 0);
    // The off-screen bitmap is at least the size of the screen and of the drawing area.
    const QSize screen = w.canvas().screenSize();
    EXPECT_GE(w.canvas().mainBitmap().width(),
              std::max(screen.width(), w.canvas().drawingArea()->width()));
    EXPECT_GE(w.canvas().mainBitmap().height(),
              std::max(screen.height(), w.canvas().drawingArea()->height()));
    // The far corner is derived from the screen.
    EXPECT_DOUBLE_EQ(w.document().right, w.document().left + screen.width());
    EXPECT_DOUBLE_EQ(w.document().bottom, w.document().top - screen.height());
    EXPECT_EQ(w.canvas().horizontalBar()->maximum(), ScrollMax);
    EXPECT_EQ(w.canvas().verticalBar()->pageStep(), ScrollLargeStep);
}

TEST(TForm1, CommandLineThatCannotBeOpenedReportsAndLeavesANewDocument) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    QStringList& messages = t.messages;
    w.openCommandLine(QStringLiteral("\"/no/such/file.qrv\""));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("/no/such/file.qrv")));
    EXPECT_FALSE(messages[0].contains(QLatin1Char('"')));
    EXPECT_EQ(w.document().head, nullptr);
    messages.clear();
    w.openCommandLine(QString());
    EXPECT_TRUE(messages.isEmpty());
}

TEST(TForm1, PaintOnlyCopiesTheMainBitmap) {
    TestWindow t({QSize(640, 480)});
    TForm1& w = *t.w;
    Element* s = nullptr;
    w.documents().installDocument(segmentDocument(w, &s));
    const QImage shown = w.canvas().drawingArea()->grab().toImage();
    const int cx = w.canvas().drawingArea()->width() / 2,
              cy = w.canvas().drawingArea()->height() / 2;
    EXPECT_EQ(pixel(w.canvas().mainBitmap(), cx, cy), rgb(255, 255, 255));
    for (int y = 0; y < shown.height(); y += 7)
        for (int x = 0; x < shown.width(); x += 5)
            ASSERT_EQ(pixel(shown, x, y), pixel(w.canvas().mainBitmap(), x, y)) << x << "," << y;
    // Changing the document without a redraw changes nothing on the screen.
    s->color = rgb(255, 0, 0);
    EXPECT_EQ(pixel(w.canvas().drawingArea()->grab().toImage(), cx, cy), rgb(255, 255, 255));
    w.canvas().redraw();
    EXPECT_EQ(pixel(w.canvas().drawingArea()->grab().toImage(), cx, cy), rgb(255, 0, 0));
}

TEST(TForm1, AtADevicePixelRatioOfTwoTheBitmapHasTheScreensPixels) {
    // Shown without waiting until it is active, as this test has always run.
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    w.resize(640, 480);
    w.show();
    QApplication::processEvents();
    w.documents().installDocument(segmentDocument(w));
    DrawingCanvas& canvas = w.canvas();
    canvas.setDevicePixelRatio(2);
    const QImage& image = canvas.mainBitmap();
    const QSize screen = canvas.screenSize();
    const int cw = canvas.drawingArea()->width(), ch = canvas.drawingArea()->height();
    EXPECT_EQ(image.devicePixelRatio(), 2.0);
    EXPECT_GE(image.width(), 2 * std::max(screen.width(), cw));
    EXPECT_GE(image.height(), 2 * std::max(screen.height(), ch));
    EXPECT_EQ(canvas.traceBitmap().size(), image.size());

    // The white segment at the middle of the area is one pixel of the screen wide, where the
    // area's coordinates put it.
    const Color ground = w.document().background;
    const auto whiteRun = [&](int y, int& first) {
        int n = 0;
        first = -1;
        for (int x = 0; x < 2 * cw; ++x) {
            if (pixel(canvas.mainBitmap(), x, y) != ground) {
                if (first < 0) first = x;
                ++n;
            }
        }
        return n;
    };
    const int cx = cw / 2, cy = ch / 2;
    int first = -1;
    EXPECT_EQ(whiteRun(2 * cy, first), 1);
    EXPECT_NEAR(first, 2 * cx, 1);
    EXPECT_EQ(pixel(canvas.mainBitmap(), first, 2 * cy), rgb(255, 255, 255));

    // The pointer is still read in the area's coordinates: over the segment it is highlighted
    // (three pixels of the area, six of the screen), and taken away when the pointer leaves.
    QTest::mouseMove(canvas.drawingArea(), QPoint(cx + 2, cy + 20));
    QApplication::processEvents();
    EXPECT_GE(whiteRun(2 * (cy + 20), first), 5);
    QTest::mouseMove(canvas.drawingArea(), QPoint(cx - 60, cy + 20));
    QApplication::processEvents();
    EXPECT_EQ(whiteRun(2 * (cy + 20), first), 1);

    // Without the test's ratio, the screen's (2 under QT_SCALE_FACTOR=2).
    canvas.setDevicePixelRatio(0);
    EXPECT_EQ(canvas.mainBitmap().devicePixelRatio(), canvas.drawingArea()->devicePixelRatioF());
    EXPECT_EQ(canvas.mainBitmap().deviceIndependentSize().toSize().expandedTo(screen),
              canvas.mainBitmap().deviceIndependentSize().toSize());
}

TEST(TForm1, ScrollBarsMoveTheViewOverThePlane) {
    TestWindow t({QSize(640, 480)});
    TForm1& w = *t.w;
    w.documents().installDocument(segmentDocument(w));
    const double plane = w.canvas().planeSize();
    const int cw = w.canvas().drawingArea()->width(), ch = w.canvas().drawingArea()->height();
    w.canvas().horizontalBar()->setValue(0);
    EXPECT_DOUBLE_EQ(w.document().left, -plane / 2);
    w.canvas().horizontalBar()->setValue(ScrollMax);
    EXPECT_DOUBLE_EQ(w.document().left, plane / 2 - cw);
    w.canvas().verticalBar()->setValue(0);
    EXPECT_DOUBLE_EQ(w.document().top, plane / 2);
    w.canvas().verticalBar()->setValue(ScrollMax);
    EXPECT_DOUBLE_EQ(w.document().top, -plane / 2 + ch);
    EXPECT_DOUBLE_EQ(w.document().right, w.document().left + w.canvas().screenSize().width());
    // The segment at world x = 0 is off screen at the far right, and back in the middle.
    const QImage image = w.canvas().mainBitmap();
    for (int y = 0; y < ch; y += 9)
        EXPECT_NE(pixel(image, 0, y), rgb(255, 255, 255));
    w.canvas().horizontalBar()->setValue(ScrollMax / 2);
    w.canvas().verticalBar()->setValue(ScrollMax / 2);
    const ScreenPoint p = ViewTransform{w.document().left, w.document().top, 1}.toScreen(0, 0);
    EXPECT_EQ(pixel(w.canvas().mainBitmap(), p.x, p.y), rgb(255, 255, 255));
}

TEST(TForm1, ResizingRedrawsAndSetsTheBarsFromTheView) {
    TestWindow t({QSize(500, 400)});
    TForm1& w = *t.w;
    w.documents().installDocument(segmentDocument(w));
    w.document().left = -100;
    w.document().top = 100;
    w.resize(800, 600);
    QApplication::processEvents();
    const int cw = w.canvas().drawingArea()->width(), ch = w.canvas().drawingArea()->height();
    EXPECT_GT(cw, 600);
    EXPECT_EQ(w.canvas().horizontalBar()->value(),
              scrollFromOriginX(-100, w.canvas().planeSize(), cw));
    EXPECT_EQ(w.canvas().verticalBar()->value(),
              scrollFromOriginY(100, w.canvas().planeSize(), ch));
    // The newly exposed part is drawn: the right edge shows the background.
    EXPECT_EQ(pixel(w.canvas().mainBitmap(), cw - 1, ch - 1), w.document().background);
    EXPECT_EQ(pixel(w.canvas().mainBitmap(), 100, 100), rgb(255, 255, 255));
}

TEST(TForm1, ShowHiddenAndAntialiasingToggles) {
    TestWindow t({QSize(640, 480)});
    TForm1& w = *t.w;
    Element* s = nullptr;
    w.documents().installDocument(segmentDocument(w, &s));
    s->visible = 0;
    w.canvas().redraw();
    const int cx = w.canvas().drawingArea()->width() / 2,
              cy = w.canvas().drawingArea()->height() / 2;
    EXPECT_EQ(pixel(w.canvas().mainBitmap(), cx, cy), w.document().background);
    w.showHiddenAction()->trigger();
    EXPECT_TRUE(w.canvas().showHidden());
    EXPECT_EQ(pixel(w.canvas().mainBitmap(), cx, cy), w.document().hiddenColor);
    w.showHiddenAction()->trigger();
    EXPECT_EQ(pixel(w.canvas().mainBitmap(), cx, cy), w.document().background);

    EXPECT_EQ(w.document().antialiased, 0);
    w.antialiasAction()->trigger();
    EXPECT_EQ(w.document().antialiased, 1);
    EXPECT_EQ(w.document().modified, 1);
    EXPECT_TRUE(w.antialiasAction()->isChecked());
}

TEST(TForm1, FullScreenSavesAndRestoresTheWindow) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    w.setGeometry(40, 50, 600, 420);
    w.show();
    QApplication::processEvents();
    const QRect before = w.geometry();
    w.fullScreenAction()->trigger();
    EXPECT_TRUE(w.isFullScreenMode());
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.width(), w.canvas().screenSize().width());
    w.fullScreenAction()->trigger();
    EXPECT_FALSE(w.isFullScreenMode());
    EXPECT_FALSE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.geometry().size(), before.size());
}

// Not a check of pixels: leaves a picture of the editor with the demonstration construction
// for a person to look at (QORV_SNAPSHOT_DIR names the folder).
TEST(TForm1, SnapshotOfTheDemonstrationConstruction) {
    TestWindow t({QSize(1000, 720)});
    TForm1& w = *t.w;
    auto doc = std::make_unique<Document>();
    buildDemoDocument(*doc);
    w.documents().installDocument(std::move(doc));
    const QImage shot = w.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // Something of the construction reached the window: many colours besides the background.
    int differing = 0;
    for (int y = 0; y < w.canvas().mainBitmap().height() && y < w.canvas().drawingArea()->height();
         y += 3)
        for (int x = 0; x < w.canvas().drawingArea()->width(); x += 3)
            differing += pixel(w.canvas().mainBitmap(), x, y) != w.document().background;
    EXPECT_GT(differing, 1000);
    if (const char* dir = std::getenv("QORV_SNAPSHOT_DIR")) {
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/qorv_editor.png")));
        const std::string base = std::string(dir) + "/qorv_demo";
        std::string error;
        EXPECT_TRUE(renderDocumentToFile(w.document(), base + ".svg", 900, 600, true, &error));
        EXPECT_TRUE(renderDocumentToFile(w.document(), base + ".pdf", 900, 600, true, &error));
        EXPECT_TRUE(renderDocumentToFile(w.document(), base + ".png", 900, 600, false, &error));
        {
            TMuePan dialog(w.dialogContext(), &w);
            dialog.show();
            EXPECT_TRUE(dialog.grab().toImage().save(QString::fromLocal8Bit(dir) +
                                                     QStringLiteral("/qorv_muepan.png")));
            dialog.reject();
        }
        w.antialiasAction()->trigger();
        EXPECT_TRUE(w.grab().toImage().save(QString::fromLocal8Bit(dir) +
                                            QStringLiteral("/qorv_editor_aa.png")));
    }
}

TEST(TForm1, MoveScreenDialogMovesTheMainViewAndTheBarsFollow) {
    TestWindow t({QSize(640, 480)});
    TForm1& w = *t.w;
    w.documents().installDocument(segmentDocument(w));
    const double left = w.document().left;
    {
        TMuePan dialog(w.dialogContext(), &w);
        dialog.show();
        const QPoint inside = dialog.rectangleOrigin() + QPoint(5, 5);
        QTest::mousePress(dialog.preview(), Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mouseMove(dialog.preview(), inside + QPoint(30, 0));
        QTest::mouseRelease(dialog.preview(), Qt::LeftButton, Qt::NoModifier,
                            inside + QPoint(30, 0));
        // Live: the main view moved while the dialog is open.
        EXPECT_NEAR(w.document().left, left + 30 / dialog.previewScale(),
                    1 / dialog.previewScale() + 1);
        dialog.accept();
    }
    EXPECT_EQ(w.canvas().horizontalBar()->value(),
              scrollFromOriginX(w.document().left, w.canvas().planeSize(),
                                w.canvas().drawingArea()->width()));
    // The segment at world x = 0 left the window.
    const int cy = w.canvas().drawingArea()->height() / 2;
    for (int x = 0; x < w.canvas().drawingArea()->width(); ++x)
        ASSERT_NE(pixel(w.canvas().mainBitmap(), x, cy), rgb(255, 255, 255)) << x;
}

TEST(TForm1, TraceBitmapIsClearedToMatchTheBackground) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    w.document().background = rgb(250, 250, 240);
    w.canvas().clearTrace();
    EXPECT_EQ(pixel(w.canvas().traceBitmap(), 3, 3), rgb(255, 255, 255));
    w.document().background = rgb(20, 0, 60);
    w.canvas().clearTrace();
    EXPECT_EQ(pixel(w.canvas().traceBitmap(), 3, 3), rgb(0, 0, 0));
}

TEST(TForm1, OpensAnExampleDocumentAndDrawsIt) {
    TestWindow t({QSize(960, 700)});
    TForm1& w = *t.w;
    QStringList& messages = t.messages;
    ASSERT_TRUE(
        w.documents().openDocument(QStringLiteral(QORV_SOURCE_DIR "/examples/intersections.qrv")));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(w.document().elementCount(), 31);
    EXPECT_EQ(w.document().modified, 0);
    // Every intersection point was recalculated on opening.
    for (Element* e = w.document().head; e; e = e->next) {
        if (e->method == Method::IntersectionPoint) {
            EXPECT_EQ(e->defined, 1);
        }
    }
    int lit = 0;
    const QImage shown = w.canvas().drawingArea()->grab().toImage();
    for (int y = 0; y < shown.height(); y += 2)
        for (int x = 0; x < shown.width(); x += 2)
            if (pixel(shown, x, y) != w.document().background) ++lit;
    EXPECT_GT(lit, 200);

    // A file that is not a document is refused and the open one stays.
    const std::string bad = std::string(QORV_SOURCE_DIR) + "/README.md";
    EXPECT_FALSE(w.documents().openDocument(QString::fromStdString(bad)));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(w.document().elementCount(), 31);
}
