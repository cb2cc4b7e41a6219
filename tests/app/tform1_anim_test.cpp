// Traces, blinking, animation, the step-by-step replay and viewer mode in the main window,
// driven by QTest events on the offscreen platform.
#include "app/controllers/animationcontroller.h"
#include "app/testwindow.h"
#include "app/tform1.h"
#include "construction/builder.h"
#include "dialogs/tpap.h"
#include "dialogs/tv_animac.h"
#include "geometry/animation.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "view/tooltable.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace qorv;

namespace {

struct Window : qorv::testing::TestWindow {
    Window() : TestWindow(Options{QSize(1000, 760), true}) {}
    AnimationController& anim() { return w->animationFeatures(); }
    void click(double x, double y) { QTest::mouseClick(area(), Qt::LeftButton, {}, pixel(x, y)); }
    QRgb background() {
        const Color c = doc().background;
        return qRgb(colorRed(c), colorGreen(c), colorBlue(c));
    }
    // Pixels within 2 of world (x, y) that differ from the background.
    int inked(const QImage& image, double x, double y) {
        const QPoint p = pixel(x, y);
        int n = 0;
        for (int j = p.y() - 2; j <= p.y() + 2; ++j)
            for (int i = p.x() - 2; i <= p.x() + 2; ++i)
                n += image.valid(i, j) && image.pixel(i, j) != background();
        return n;
    }
    QAction* action(const char* name) { return w->findChild<QAction*>(QString::fromLatin1(name)); }
};

// Saved for the notes when QORV_SHOTS names a folder.
void keepShot(const QImage& image, const char* name) {
    const QByteArray folder = qgetenv("QORV_SHOTS");
    if (!folder.isEmpty()) image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name);
}

} // namespace

TEST(TForm1Anim, ATracedPointDraggedAlongAPathLeavesItsTrace) {
    Window win;
    Element* p = win.build().point(0, 0);
    win.done();
    win.action("M_traza")->trigger();
    EXPECT_EQ(win.w->currentTool(), Tool::Trace);
    win.click(0, 0);
    EXPECT_EQ(win.doc().traceList, std::vector<Element*>{p});
    EXPECT_EQ(win.w->canvas().toolUndoSteps(), 1);
    EXPECT_TRUE(win.w->canvas().blinking());
    win.w->chooseTool(Tool::Move);
    EXPECT_EQ(win.inked(win.shot(), 100, 0), 0);

    win.drag(win.pixel(0, 0), win.pixel(200, 0), 8);
    EXPECT_DOUBLE_EQ(p->value[0], 200);
    QImage traced = win.shot();
    keepShot(traced, "trace.png");
    for (double x : {25.0, 100.0, 175.0})
        EXPECT_GT(win.inked(traced, x, 0), 0) << x; // where the point went by
    EXPECT_EQ(win.inked(traced, 100, 60), 0);

    // "Redibujar" takes the traces away; the next move leaves new ones.
    win.action("M_dibtodo")->trigger();
    EXPECT_EQ(win.inked(win.shot(), 100, 0), 0);
    win.drag(win.pixel(200, 0), win.pixel(200, 120), 6);
    EXPECT_GT(win.inked(win.shot(), 200, 60), 0);
    EXPECT_EQ(win.inked(win.shot(), 100, 0), 0);

    // "Desactivar trazas": one undo step, the list empty, no trace from then on.
    const int before = win.w->canvas().toolUndoSteps();
    win.action("M_traza_desactivar")->trigger();
    EXPECT_TRUE(win.doc().traceList.empty());
    win.action("M_dibtodo")->trigger();
    win.drag(win.pixel(200, 120), win.pixel(0, 120), 6);
    EXPECT_EQ(win.inked(win.shot(), 100, 120), 0);
    win.w->edit().undo();
    win.w->edit().undo();
    EXPECT_EQ(win.doc().traceList.size(), 1u) << before;
}

TEST(TForm1Anim, PickedAndTracedElementsBlinkInTheSelectionColour) {
    Window win;
    Element* a = win.build().point(-50, 0);
    win.build().point(50, 0);
    win.done();
    const QRgb selected =
        qRgb(colorRed(win.doc().selectedColor), colorGreen(win.doc().selectedColor),
             colorBlue(win.doc().selectedColor));
    auto selectedNear = [&](const QImage& image) {
        int n = 0;
        const QPoint c = win.pixel(a->value[0], a->value[1]);
        for (int j = -4; j <= 4; ++j)
            for (int i = -4; i <= 4; ++i)
                n += image.pixel(c + QPoint(i, j)) == selected;
        return n;
    };
    EXPECT_FALSE(win.w->canvas().blinking());
    // The segment tool's first point blinks: shown at once, then off and on every tick.
    win.w->chooseTool(Tool::Segment);
    win.click(-50, 0);
    ASSERT_TRUE(win.w->canvas().blinking());
    EXPECT_GT(selectedNear(win.shot()), 0);
    win.w->canvas().blinkTick();
    EXPECT_EQ(selectedNear(win.shot()), 0);
    win.w->canvas().blinkTick();
    EXPECT_GT(selectedNear(win.shot()), 0);
    // The timer does it by itself, every 180 ms.
    QTest::qWait(3 * DrawingCanvas::BlinkIntervalMs);
    EXPECT_TRUE(win.w->canvas().blinking());
    win.w->chooseTool(Tool::Move);
    EXPECT_FALSE(win.w->canvas().blinking());
    EXPECT_EQ(selectedNear(win.shot()), 0);
}

TEST(TForm1Anim, AnAnimatedPointRunsWithoutBlockingAndStopsWithEscapeAndSwitching) {
    Window win;
    Element* a = win.build().point(-100, 0);
    Element* b = win.build().point(100, 0);
    Element* seg = win.build().make(Method::Segment, a, b);
    ConstructionBuilder on = win.build();
    on.req.value[3] = 0.5;
    Element* p = on.make(Method::PointOnElement, seg);
    p->value[3] = 0.5;
    win.done();

    win.action("M_anim")->trigger();
    EXPECT_EQ(win.w->currentTool(), Tool::Animation);
    TV_animac& dialog = win.anim().animationDialog();
    EXPECT_TRUE(dialog.isVisible());
    win.click(0, 0); // the point on the segment (the segment cannot move by itself)
    ASSERT_EQ(win.doc().animations.size(), 1u);
    EXPECT_EQ(win.doc().animations[0].element, p);
    EXPECT_EQ(dialog.CB->count(), 1);
    EXPECT_FALSE(dialog.pacer().suspended());
    QTest::qWait(200);
    EXPECT_GT(dialog.pacer().stepsRun(), 1);
    EXPECT_LT(p->value[3], 0.5); // a new entry runs backwards
    EXPECT_NEAR(p->value[0], -100 + 200 * p->value[3], 1e-9);

    // Enter in the speed box takes the speed and leaves the window open.
    dialog.Ed_vel->setFocus();
    dialog.Ed_vel->setText(QString());
    QTest::keyClicks(dialog.Ed_vel, QStringLiteral("37"));
    QTest::keyClick(dialog.Ed_vel, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.TB->value(), 37);
    EXPECT_EQ(win.w->currentTool(), Tool::Animation);

    // Pause holds it; Escape (the window is live meanwhile) closes the dialog for the move tool.
    dialog.B_pausa->click();
    EXPECT_TRUE(dialog.pacer().suspended());
    dialog.B_pausa->click();
    EXPECT_FALSE(dialog.pacer().suspended());
    QTest::keyClick(dialog.B_cancel, Qt::Key_Escape);
    EXPECT_EQ(win.w->currentTool(), Tool::Move);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.pacer().suspended());
    const double stopped = p->value[3];
    QTest::qWait(100);
    EXPECT_EQ(p->value[3], stopped);

    // Running again, then another document: the animation stops before the document goes.
    win.action("M_anim")->trigger();
    EXPECT_FALSE(dialog.pacer().suspended());
    ASSERT_TRUE(win.w->documents().newDocument());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.pacer().suspended());
    win.w->documents().previousDocument();
    const double left = p->value[3];
    QTest::qWait(100);
    EXPECT_EQ(p->value[3], left);
    EXPECT_TRUE(dialog.pacer().suspended());
}

TEST(TForm1Anim, TheReplayShowsExactlyTheFirstStepsAndCutsInOneUndoStep) {
    Window win;
    const double xs[] = {-150, -50, 50, 150};
    std::vector<Element*> points;
    for (double x : xs)
        points.push_back(win.build().point(x, 0));
    win.done();
    const QImage whole = win.shot();
    for (double x : xs)
        ASSERT_GT(win.inked(whole, x, 0), 0);

    win.action("M_PasoaPaso")->trigger();
    TPaP& replay = win.anim().replayDialog();
    ASSERT_TRUE(replay.isVisible());
    // It opens in a corner of the drawing, not over its middle.
    const QWidget* drawing = win.area();
    const QRect drawn(drawing->mapToGlobal(QPoint(0, 0)), drawing->size());
    EXPECT_FALSE(replay.frameGeometry().contains(drawn.center()));
    EXPECT_TRUE(drawn.adjusted(-2, -2, 40, 40).contains(replay.geometry()));
    EXPECT_EQ(replay.stepCount(), 4);
    EXPECT_EQ(replay.currentStep(), 1);
    EXPECT_FALSE(replay.B_Primero->isEnabled());
    for (int k = 1; k <= 4; ++k) {
        replay.goTo(k);
        const QImage image = win.shot();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(win.inked(image, xs[i], 0) > 0, i < k) << "step " << k << ", point " << i;
    }
    EXPECT_FALSE(replay.B_Unoadel->isEnabled());
    // The timer moves one step a tick.
    replay.B_Primero->click();
    replay.B_anima->click();
    EXPECT_EQ(replay.Timer1->interval(), 500);
    replay.CB_vanim->setCurrentIndex(0);
    EXPECT_EQ(replay.Timer1->interval(), 100);
    QTest::qWait(450);
    EXPECT_GT(replay.currentStep(), 1);
    replay.B_anima->click();

    // Kept at step 2: the later points go, and one "Deshacer" brings them back.
    int asked = 0;
    win.anim().setKeepAnswer([&] {
        ++asked;
        return int(QMessageBox::Yes);
    });
    replay.goTo(2);
    replay.Aceptar->click();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(replay.isVisible());
    EXPECT_EQ(win.doc().elementCount(), 2);
    EXPECT_EQ(win.inked(win.shot(), 50, 0), 0);
    win.w->edit().undo();
    EXPECT_EQ(win.doc().elementCount(), 4);
    EXPECT_GT(win.inked(win.shot(), 150, 0), 0);

    // Accepting at the last step asks nothing and changes nothing.
    win.action("M_PasoaPaso")->trigger();
    replay.B_Ultimo->click();
    replay.Aceptar->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(win.doc().elementCount(), 4);
}

TEST(TForm1Anim, WithoutStepsTheReplayButtonsStayDisabled) {
    Window win;
    win.action("M_PasoaPaso")->trigger();
    TPaP& replay = win.anim().replayDialog();
    EXPECT_EQ(replay.stepCount(), 0);
    for (QWidget* b :
         {static_cast<QWidget*>(replay.B_Primero), static_cast<QWidget*>(replay.B_Unoatras),
          static_cast<QWidget*>(replay.B_Unoadel), static_cast<QWidget*>(replay.B_Ultimo),
          static_cast<QWidget*>(replay.B_anima)})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(replay.Label1->text(), QString::fromStdString(uiText().message(Msg::NoSteps)));
    replay.Cancelar->click();
}

TEST(TForm1Anim, ViewerModeHidesTheBarsShowsItsPanelAndIsSavedWithTheWindow) {
    Window win;
    win.build().point(0, 0);
    win.done();
    QToolBar* main = win.w->toolBars().mainBar();
    ASSERT_TRUE(main->isVisible());
    win.w->chooseTool(Tool::Segment);
    win.action("M_modovisor")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(win.w->viewerMode());
    EXPECT_EQ(win.w->currentTool(), Tool::Move);
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(win.w->toolBars().editBar()->isVisible());
    EXPECT_FALSE(win.w->documentBar()->isVisible());
    EXPECT_FALSE(win.w->statusBar()->isVisible());
    QFrame* panel = win.anim().viewerPanel();
    ASSERT_TRUE(panel->isVisible());
    // In the bottom-right corner of the drawing area.
    const QRect area = win.area()->rect();
    EXPECT_TRUE(area.contains(panel->geometry()));
    EXPECT_LT(area.right() - panel->geometry().right(), 8);
    EXPECT_LT(area.bottom() - panel->geometry().bottom(), 8);
    keepShot(win.w->grab().toImage(), "viewer.png");
    // Its buttons choose the tools.
    panel->findChild<QToolButton*>(QStringLiteral("B_visor_zoom"))->click();
    EXPECT_EQ(win.w->currentTool(), Tool::Zoom);

    // Saved now, the file keeps the window; opened from the command line it comes back so.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("visor.qrv"));
    ASSERT_TRUE(saveDocument(win.doc(), path.toStdString(), win.anim().saveOptions()));
    WindowRecord record;
    EXPECT_EQ(probeFile(path.toStdString(), &record), FileKind::DocumentWithWindow);
    EXPECT_EQ(record.width, win.w->width());

    panel->findChild<QToolButton*>(QStringLiteral("B_visor_salirvisor"))->click();
    QApplication::processEvents();
    EXPECT_FALSE(win.w->viewerMode());
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(win.w->statusBar()->isVisible());
    EXPECT_FALSE(panel->isVisible());

    Window other;
    other.w->openCommandLine(path);
    EXPECT_TRUE(other.w->viewerMode());
    EXPECT_EQ(other.doc().elementCount(), 1);
}
