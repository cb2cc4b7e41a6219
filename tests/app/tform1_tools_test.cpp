// The tool modes in the main window, driven by QTest mouse and key events on the offscreen
// platform: constructing, dragging, selecting, panning, the hover and the tool bars.
#include "app/controllers/animationcontroller.h"
#include "app/scripteddialogs.h"
#include "app/testwindow.h"
#include "app/tform1.h"
#include "construction/builder.h"
#include "construction/create.h"
#include "dialogs/tmaccon.h"
#include "dialogs/tpap.h"
#include "dialogs/tv_animac.h"
#include "dialogs/tv_calc.h"
#include "dialogs/tv_iterac.h"
#include "dialogs/tv_lista.h"
#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "view/clickengine.h"
#include "view/hoveroverlay.h"
#include "view/tooltable.h"
#include "view/viewtransform.h"

#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <tuple>
#include <utility>

using namespace qorv;

namespace {

struct Window : qorv::testing::TestWindow {
    Window() : TestWindow(Options{QSize(1000, 760), true}) {}
    void hover(QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), area()->mapToGlobal(QPointF(at)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(area(), &e);
    }
};

} // namespace

TEST(TForm1Tools, ClickNearTwoCrossingLinesWithThePointToolMakesAnIntersectionPoint) {
    Window win;
    Element* a = win.build().point(-100, -100);
    Element* b = win.build().point(100, 100);
    Element* c = win.build().point(-100, 100);
    Element* d = win.build().point(100, -100);
    Element* l1 = win.build().make(Method::LineThroughTwoPoints, a, b);
    Element* l2 = win.build().make(Method::LineThroughTwoPoints, c, d);
    win.done();
    win.w->toolBars().toolButton(Tool::Point)->click();
    EXPECT_EQ(win.w->currentTool(), Tool::Point);
    EXPECT_EQ(win.w->statusText(), QString::fromStdString(uiText().toolPrompt(Tool::Point)));
    QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(3, -2));
    Element* p = win.doc().tail;
    ASSERT_EQ(p->method, Method::IntersectionPoint);
    EXPECT_TRUE((p->parent1 == l1 && p->parent2 == l2) || (p->parent1 == l2 && p->parent2 == l1));
    EXPECT_NEAR(p->value[0], 0, 1e-9);
    EXPECT_NEAR(p->value[1], 0, 1e-9);
    EXPECT_EQ(win.w->canvas().toolUndoSteps(), 1);
    // Away from the crossing, on one line: a point on that line.
    QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(60, 62));
    ASSERT_EQ(win.doc().tail->method, Method::PointOnElement);
    EXPECT_EQ(win.doc().tail->parent1, l1);
}

TEST(TForm1Tools, DraggingAFreePointMovesItsDependentsInOneUndoStep) {
    Window win;
    Element* a = win.build().point(0, 0);
    Element* b = win.build().point(120, 0);
    Element* s = win.build().make(Method::Segment, a, b);
    Element* m = win.build().make(Method::Midpoint, a, b);
    win.done();
    const QImage before = win.w->canvas().mainBitmap().copy();
    win.drag(win.pixel(0, 0), win.pixel(40, 80), 8);
    EXPECT_DOUBLE_EQ(a->value[0], 40);
    EXPECT_DOUBLE_EQ(a->value[1], 80);
    EXPECT_DOUBLE_EQ(s->value[0], 40);
    EXPECT_DOUBLE_EQ(s->value[1], 80);
    EXPECT_DOUBLE_EQ(m->value[0], 80);
    EXPECT_DOUBLE_EQ(m->value[1], 40);
    EXPECT_EQ(win.w->canvas().toolUndoSteps(), 1);
    EXPECT_EQ(win.doc().modified, 1);
    EXPECT_NE(win.w->canvas().mainBitmap(), before); // the drawing followed

    // One "Deshacer" (Ctrl+Z) puts the point and everything built on it back.
    QTest::keyClick(win.w.get(), Qt::Key_Z, Qt::ControlModifier);
    const Element* a2 = win.doc().head;
    const Element* m2 = win.doc().tail;
    ASSERT_EQ(m2->method, Method::Midpoint);
    EXPECT_DOUBLE_EQ(a2->value[0], 0);
    EXPECT_DOUBLE_EQ(a2->value[1], 0);
    EXPECT_DOUBLE_EQ(m2->value[0], 60);
    EXPECT_DOUBLE_EQ(m2->value[1], 0);
    EXPECT_EQ(win.w->currentTool(), Tool::Move);
    // and "Rehacer" the drag.
    win.w->edit().redo();
    EXPECT_DOUBLE_EQ(win.doc().tail->value[0], 80);
    EXPECT_DOUBLE_EQ(win.doc().tail->value[1], 40);
}

TEST(TForm1Tools, ARubberBandOfOneByFiftySelectsNothing) {
    Window win;
    Element* a = win.build().point(10, 10);
    win.done();
    win.drag(win.pixel(10, -10), win.pixel(11, 40), 5);
    EXPECT_FALSE(win.w->canvas().interaction().areaDefined());
    EXPECT_EQ(a->selected, 0);
    EXPECT_EQ(win.doc().selectedCount(), 0);
    // A real band does select.
    win.drag(win.pixel(-10, -10), win.pixel(30, 30), 5);
    EXPECT_TRUE(win.w->canvas().interaction().areaDefined());
    EXPECT_EQ(a->selected, 1);
    EXPECT_EQ(win.w->canvas().toolUndoSteps(), 0);
}

TEST(TForm1Tools, TheMoveToolDragsTheNearestOfSeveralPoints) {
    Window win;
    Element* a = win.build().point(0, 0);
    Element* b = win.build().point(5, 0);
    Element* c = win.build().point(0, -5);
    win.done();
    win.drag(win.pixel(4, 0), win.pixel(4, 100), 5); // 1 from b, 4 from a, 6.4 from c
    EXPECT_DOUBLE_EQ(b->value[1], 100);
    EXPECT_DOUBLE_EQ(a->value[1], 0);
    EXPECT_DOUBLE_EQ(c->value[1], -5);
}

TEST(TForm1Tools, ANameLabelStopsFiftyPixelsFromItsPoint) {
    Window win;
    Element* a = win.build().point(0, 0);
    setName(win.doc(), a, "P", win.w->creationOptions());
    win.done();
    Element* name = a->nameElement;
    ASSERT_NE(name, nullptr);
    // Grab the label in its middle (its top-left is at 4, 4 from the point) and pull it 200
    // pixels to the right.
    const QPoint grab = win.pixel(name->value[0], name->value[1]) + QPoint(4, 6);
    win.drag(grab, grab + QPoint(200, 0), 10);
    EXPECT_NEAR(std::hypot(name->value[0] - a->value[0], name->value[1] - a->value[1]), 50, 1e-6);
    EXPECT_DOUBLE_EQ(a->value[0], 0);
    EXPECT_EQ(win.w->canvas().toolUndoSteps(), 1);
}

TEST(TForm1Tools, RightButtonPanningStopsAtThePlanesEdge) {
    Window win;
    const double half = win.w->canvas().planeSize() / 2;
    const QPoint mid(win.area()->width() / 2, win.area()->height() / 2);
    win.drag(mid, mid + QPoint(20000, 0), 4, Qt::RightButton);
    EXPECT_DOUBLE_EQ(win.doc().left, -half);
    EXPECT_EQ(win.w->canvas().horizontalBar()->value(), 0);
    win.drag(mid, mid - QPoint(40000, 0), 4, Qt::RightButton);
    EXPECT_DOUBLE_EQ(win.doc().left, half - win.area()->width() - 1);
    win.drag(mid, mid + QPoint(0, 40000), 4, Qt::RightButton);
    EXPECT_DOUBLE_EQ(win.doc().top, half);
    EXPECT_EQ(win.w->canvas().verticalBar()->value(), 0);
    win.drag(mid, mid - QPoint(0, 40000), 4, Qt::RightButton);
    EXPECT_DOUBLE_EQ(win.doc().top, win.area()->height() + 8 - half);
    EXPECT_DOUBLE_EQ(win.doc().right, win.doc().left + win.w->canvas().screenSize().width());
}

TEST(TForm1Tools, HoverDrawsOverASavedPatchAndPutsItBack) {
    Window win;
    Element* a = win.build().point(0, 0);
    setName(win.doc(), a, "A", win.w->creationOptions());
    win.done();
    const QImage clean = win.w->canvas().mainBitmap().copy();
    win.hover(win.pixel(2, 1));
    EXPECT_NE(win.w->canvas().mainBitmap(), clean); // highlight and label
    EXPECT_EQ(win.w->statusText(), QStringLiteral("Punto Libre"));
    EXPECT_EQ(win.w->canvas().cursorNumber(), 10);
    win.hover(win.pixel(150, 150));
    EXPECT_EQ(win.w->canvas().mainBitmap(), clean); // put back exactly, nothing redrawn
    EXPECT_EQ(win.w->statusText(), QString::fromStdString(uiText().toolPrompt(Tool::Move)));
    EXPECT_EQ(win.w->canvas().cursorNumber(), 4);
}

TEST(TForm1Tools, TheCursorLabelTakesTheCursorMessageFontAndCanBeRead) {
    Window win;
    Element* a = win.build().point(-150, 0);
    Element* b = win.build().point(150, 0);
    Element* s = win.build().make(Method::Segment, a, b);
    s->color = rgb(0, 0, 128); // dark blue, on the black background of a new document
    win.done();
    ASSERT_EQ(win.doc().background, 0);
    ProgramOptions& o = win.w->programOptions();
    o.cursorFont = FontRecord{"Arial", rgb(255, 0, 0), 28, 0, 0, 0, 0};
    win.w->options().optionsChanged(false);
    const QPoint at = win.pixel(40, 0);
    // The label's pixels: how well the best of them reads on the label's box, and the reddest.
    const auto label = [&] {
        win.hover(at);
        const QRect r = win.w->canvas().hoverLabelRect();
        const QImage shot = win.w->canvas().mainBitmap().copy(r);
        double contrast = 1;
        int red = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                contrast = std::max(contrast, contrastRatio(c, QColor(0, 0, 0)));
                red = std::max(red, c.red() - std::max(c.green(), c.blue()));
            }
        win.hover(win.pixel(0, 200)); // away: the label goes
        return std::tuple{r, contrast, red};
    };
    // Taking the segment's colour: lightened until it reads on black.
    const auto [r, contrast, red] = label();
    ASSERT_FALSE(r.isEmpty());
    EXPECT_GE(r.height(), QFontMetrics(QFont(QStringLiteral("Arial"), 28)).height());
    EXPECT_GE(contrast, 4.4);
    EXPECT_LT(red, 40);
    // Not taking it: the font's own colour.
    o.adaptCursorColour = 0;
    win.w->options().optionsChanged(false);
    EXPECT_GT(std::get<2>(label()), 150);
}

// Every tool row names a prompt that both shipped language files give, its place in the window
// (a menu item that chooses it, an edit-bar button, or the item that opens the macro dialog) and
// a help page whose anchor is there in both help folders.
TEST(TForm1Tools, EveryToolHasItsPromptMenuPlaceAndHelpTopic) {
    std::vector<QString> languageFiles;
    for (const char* name : {"Español", "English"}) {
        QFile f(QString::fromUtf8(QORV_SOURCE_DIR "/languages/") + QString::fromUtf8(name) +
                QStringLiteral(".lng"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        languageFiles.push_back(QString::fromLatin1(f.readAll()));
    }
    Window win;
    for (int t = 0; t < ToolCount; ++t) {
        const ToolInfo& info = toolInfo(t);
        ASSERT_NE(info.prompt, 0) << t;
        for (const QString& file : languageFiles)
            EXPECT_TRUE(file.contains(QStringLiteral("\n%1=").arg(info.prompt))) << t;

        ASSERT_TRUE(info.menu.menu && info.menu.item) << t;
        const QString where = QString::fromLatin1(info.menu.menu);
        const QString item = QString::fromLatin1(info.menu.item);
        if (info.menu.reach == ToolReach::EditBar) {
            EXPECT_NE(win.w->findChild<QToolBar*>(where), nullptr) << t;
            EXPECT_NE(win.w->findChild<QToolButton*>(item), nullptr) << t;
        } else {
            QAction* a = win.w->menuAction(item);
            ASSERT_NE(a, nullptr) << t;
            auto* menu = win.w->findChild<QMenu*>(where);
            ASSERT_NE(menu, nullptr) << t;
            EXPECT_TRUE(menu->actions().contains(a)) << t;
            if (info.menu.reach == ToolReach::MenuItem) {
                if (t != Tool::Move) win.w->toolBars().toolButton(Tool::Move)->click();
                a->trigger();
                EXPECT_EQ(win.w->currentTool(), t) << info.menu.item;
                QApplication::processEvents();
            }
        }

        ASSERT_TRUE(info.help.page) << t;
        for (const char* code : {"es", "en"}) {
            QFile page(QStringLiteral(QORV_SOURCE_DIR "/help/%1/%2")
                           .arg(QLatin1String(code), QLatin1String(info.help.page)));
            ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << code << " " << info.help.page;
            if (*info.help.anchor) {
                EXPECT_TRUE(QString::fromUtf8(page.readAll())
                                .contains(QStringLiteral("name=\"%1\"").arg(info.help.anchor)))
                    << code << " tool " << t << " " << info.help.page << "#" << info.help.anchor;
            }
        }
    }
}

TEST(TForm1Tools, ToolBarsHaveIconsTooltipsAndPalettes) {
    Window win;
    for (int t = 0; t < ToolCount; ++t) {
        QToolButton* b = win.w->toolBars().toolButton(t);
        ASSERT_NE(b, nullptr) << t;
        EXPECT_FALSE(b->icon().isNull()) << t;
        EXPECT_FALSE(b->toolTip().isEmpty()) << t;
    }
    EXPECT_TRUE(win.w->toolBars().toolButton(Tool::Segment)->isEnabled());
    EXPECT_TRUE(win.w->toolBars().toolButton(Tool::Parallel)->isEnabled());
    EXPECT_TRUE(win.w->toolBars().toolButton(Tool::Locus)->isEnabled());
    EXPECT_EQ(win.w->toolBars().toolButton(Tool::Segment)->toolTip(),
              QString::fromStdString(uiText().toolPrompt(Tool::Segment)));
    EXPECT_EQ(win.w->toolBars().mainBar()->windowTitle(), QStringLiteral("Botones Principales"));
    EXPECT_EQ(win.w->toolBars().editBar()->windowTitle(), QStringLiteral("Botones de edición"));

    // A quick click on a palette button chooses its tool; held, it opens its panel.
    QToolButton* colour = win.w->toolBars().buttonNamed(QStringLiteral("B_color"));
    ASSERT_NE(colour, nullptr);
    QFrame* panel = win.w->toolBars().palettePanel(QStringLiteral("Panel_color"));
    ASSERT_NE(panel, nullptr);
    QTest::mouseClick(colour, Qt::LeftButton);
    EXPECT_EQ(win.w->currentTool(), Tool::LineColour);
    EXPECT_FALSE(panel->isVisible());
    QTest::mousePress(colour, Qt::LeftButton);
    QTest::qWait(260);
    EXPECT_TRUE(panel->isVisible());
    QTest::mouseRelease(colour, Qt::LeftButton);
    QToolButton* red = panel->findChild<QToolButton*>(QStringLiteral("B_rojo"));
    ASSERT_NE(red, nullptr);
    red->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(win.w->currentColour(), rgb(255, 0, 0));
    EXPECT_EQ(win.w->currentTool(), Tool::LineColour);
    EXPECT_EQ(panel->findChildren<QToolButton*>().size(), 18); // 16 colours, RGB, parametric

    // The point-shape palette: its panel's buttons choose their tools.
    QFrame* shapes = win.w->toolBars().palettePanel(QStringLiteral("Panel_forma_punto"));
    ASSERT_NE(shapes, nullptr);
    QToolButton* cross = shapes->findChild<QToolButton*>(QStringLiteral("B_edit_pcruz"));
    ASSERT_NE(cross, nullptr);
    cross->click();
    EXPECT_EQ(win.w->currentTool(), 71);
    Element* p = win.build().point(0, 0);
    win.done();
    QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(0, 0));
    EXPECT_EQ(p->shape, 4);
}

// A command is one action wherever it is placed: the tool buttons, the menu items and the viewer
// panel's buttons share it, so choosing a tool anywhere shows it chosen everywhere, and a
// disabled command is disabled in every place.
TEST(TForm1Tools, MenusBarsAndTheViewerPanelPlaceTheSameActions) {
    Window win;
    TForm1* w = win.w.get();
    const std::pair<int, const char*> toolItems[] = {{Tool::Segment, "M_Segmento"},
                                                     {Tool::Locus, "M_Lugar_G"},
                                                     {Tool::Zoom, "M_zoom"},
                                                     {Tool::EditElement, "M_editelem"},
                                                     {Tool::Move, "Sel1"}};
    for (const auto& [tool, item] : toolItems) {
        SCOPED_TRACE(item);
        QAction* a = w->menuAction(QString::fromLatin1(item));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(w->toolBars().toolButton(tool)->defaultAction(), a);
        w->toolBars().toolButton(tool)->click();
        EXPECT_EQ(w->currentTool(), tool);
        EXPECT_TRUE(a->isChecked());
        // The other tools' items show unchecked.
        EXPECT_FALSE(w->menuAction(QStringLiteral("M_Circunf"))->isChecked());
    }
    // The menu item chooses the tool, and its button shows it.
    w->menuAction(QStringLiteral("M_Circunf"))->trigger();
    EXPECT_EQ(w->currentTool(), Tool::Circle);
    EXPECT_TRUE(w->toolBars().toolButton(Tool::Circle)->isChecked());
    EXPECT_FALSE(w->toolBars().toolButton(Tool::Segment)->isChecked());

    const QFrame* viewer = w->animationFeatures().viewerPanel();
    const std::pair<const char*, const char*> panelButtons[] = {
        {"B_visor_movsel", "Sel1"},           {"B_visor_anima", "M_anim"},
        {"B_visor_rotsel", "M_SelRot"},       {"B_visor_zoom", "M_zoom"},
        {"B_visor_undo", "M_undo"},           {"B_visor_redo", "M_redo"},
        {"B_visor_todoelem", "TodosElem1"},   {"B_visor_muepan", "MuePan1"},
        {"B_visor_salirvisor", "M_modovisor"}};
    for (const auto& [button, item] : panelButtons) {
        SCOPED_TRACE(button);
        const auto* b = viewer->findChild<QToolButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->defaultAction(), w->menuAction(QString::fromLatin1(item)));
    }
    // Nothing to undo: "Deshacer" is disabled in the menu and on the viewer's button alike.
    EXPECT_FALSE(w->menuAction(QStringLiteral("M_undo"))->isEnabled());
    EXPECT_FALSE(viewer->findChild<QToolButton*>(QStringLiteral("B_visor_undo"))->isEnabled());
}

// A tool the window ends by itself (undo goes back to moving) leaves one tool checked: the one
// in use, in the menus and on the bars alike.
TEST(TForm1Tools, AToolTheWindowEndsShowsUncheckedEverywhere) {
    Window win;
    TForm1* w = win.w.get();
    w->toolBars().toolButton(Tool::Point)->click();
    win.click(2, 2);
    ASSERT_EQ(w->document().elementCount(), 1);
    w->menuAction(QStringLiteral("M_undo"))->trigger();
    const int tool = w->currentTool();
    ASSERT_NE(tool, Tool::Point);
    int checked = 0;
    for (const QAction* a : w->commands().tools()->actions())
        checked += a->isChecked();
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(w->commands().toolAction(tool)->isChecked());
    EXPECT_FALSE(w->toolBars().toolButton(Tool::Point)->isChecked());
    EXPECT_FALSE(w->menuAction(QStringLiteral("M_Punto"))->isChecked());
}

// "Ver lo oculto" (its button and F8) and "AA" keep their icons when toggled, so the editing
// bar keeps its width and the drawing its place.
TEST(TForm1Tools, TheViewTogglesKeepTheirIcons) {
    Window win;
    QToolButton* hidden = win.w->toolBars().buttonNamed(QStringLiteral("B_todoelem"));
    QToolButton* aa = win.w->toolBars().buttonNamed(QStringLiteral("M_AA"));
    ASSERT_TRUE(hidden && aa);
    const int barWidth = win.w->toolBars().editBar()->width();
    const QPoint areaAt = win.area()->mapTo(win.w.get(), QPoint(0, 0));
    const std::pair<QToolButton*, std::function<void()>> toggles[] = {
        {hidden, [&] { hidden->click(); }},
        {hidden, [&] { QTest::keyClick(win.area(), Qt::Key_F8); }},
        {aa, [&] { aa->click(); }},
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto& [button, toggle] : toggles) {
            SCOPED_TRACE(button->objectName().toStdString());
            const bool was = button->isChecked();
            toggle();
            QApplication::processEvents();
            EXPECT_NE(button->isChecked(), was);
            EXPECT_FALSE(button->icon().isNull());
            EXPECT_EQ(win.w->toolBars().editBar()->width(), barWidth);
            EXPECT_EQ(win.area()->mapTo(win.w.get(), QPoint(0, 0)), areaAt);
        }
    }
    EXPECT_EQ(win.w->showHiddenAction()->isChecked(), false); // toggled four times
    EXPECT_EQ(win.w->antialiasAction()->isChecked(), false);
}

// An edit command or "Abrir" while a gesture runs (a pan with the right button, a rubber band,
// a zoom drag) ends it: the mouse is let go (the open dialog would get no clicks otherwise),
// the tool's cursor comes back, and the rest of the gesture changes nothing.
TEST(TForm1Tools, EditCommandsAndOpeningEndTheGestureAndLetTheMouseGo) {
    enum Gesture { Pan, Band, Zoom };
    struct Case {
        Gesture gesture;
        Qt::Key key;
    };
    // A zoom drag records an undo step as it starts: nothing is left to redo then.
    const Case cases[] = {{Pan, Qt::Key_Z},  {Pan, Qt::Key_Y},  {Pan, Qt::Key_V},
                          {Pan, Qt::Key_O},  {Band, Qt::Key_Z}, {Band, Qt::Key_Y},
                          {Band, Qt::Key_V}, {Band, Qt::Key_O}, {Zoom, Qt::Key_Z},
                          {Zoom, Qt::Key_V}, {Zoom, Qt::Key_O}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        SCOPED_TRACE(c.gesture);
        Window win;
        // Something to undo, redo and paste.
        win.w->chooseTool(Tool::Point);
        QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(100, 100));
        QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(150, 100));
        win.w->chooseTool(c.gesture == Zoom ? Tool::Zoom : Tool::Move);
        win.doc().tail->selected = 1;
        win.w->edit().copySelection();
        if (c.key == Qt::Key_Y) win.w->edit().undo();
        bool grabbedDuringDialog = true;
        qorv::testing::ScriptedDialogs& dialogs = win.dialogs;
        dialogs.files = {QStringLiteral(QORV_SOURCE_DIR "/examples/triangle.qrv")};
        dialogs.onDialog = [&] { grabbedDuringDialog = QWidget::mouseGrabber() != nullptr; };
        const Document* before = &win.doc();
        const QPoint from = win.pixel(-200, -150), to = win.pixel(-100, -50); // empty places
        const Qt::MouseButton button = c.gesture == Pan ? Qt::RightButton : Qt::LeftButton;
        QTest::mousePress(win.area(), button, {}, from);
        QTest::mouseMove(win.area(), (from + to) / 2);
        ASSERT_TRUE(win.w->canvas().interaction().gestureActive());
        EXPECT_EQ(QWidget::mouseGrabber() == win.area(), c.gesture == Pan);

        QTest::keyClick(win.w.get(), c.key, Qt::ControlModifier);
        EXPECT_FALSE(win.w->canvas().interaction().gestureActive());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
        EXPECT_EQ(win.w->canvas().cursorNumber(), toolInfo(win.w->currentTool()).cursor);
        if (c.key == Qt::Key_O) {
            EXPECT_FALSE(grabbedDuringDialog);
            EXPECT_NE(&win.doc(), before);
        }
        const double left = win.doc().left, top = win.doc().top;
        const int selected = win.doc().selectedCount();
        std::vector<double> values;
        for (const Element* e = win.doc().head; e; e = e->next)
            values.insert(values.end(), e->value, e->value + 4);
        QTest::mouseMove(win.area(), to);
        QTest::mouseRelease(win.area(), button, {}, to);
        EXPECT_EQ(win.doc().left, left);
        EXPECT_EQ(win.doc().top, top);
        EXPECT_EQ(win.doc().selectedCount(), selected);
        std::vector<double> after;
        for (const Element* e = win.doc().head; e; e = e->next)
            after.insert(after.end(), e->value, e->value + 4);
        EXPECT_TRUE(after == values);
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    }
}

TEST(TForm1Tools, TheAmbiguityMenuListsTheElementsInColumnsOfTwenty) {
    Window win;
    win.w->canvas().setAmbiguityChooser(nullptr); // the real menu
    for (int i = 0; i < 25; ++i)
        win.build().point(0, 0);
    win.done();
    win.w->chooseTool(Tool::Segment); // keeps every point under the pointer
    int items = 0, columns = 0;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        const auto buttons = menu->findChildren<QToolButton*>();
        items = int(buttons.size());
        int maxX = 0, minX = 1 << 20;
        for (QToolButton* b : buttons)
            maxX = std::max(maxX, b->x()), minX = std::min(minX, b->x());
        columns = maxX > minX ? 2 : 1;
        // The 22nd item (second column) is chosen.
        QToolButton* pick = nullptr;
        for (QToolButton* b : buttons)
            if (b->x() == maxX && (!pick || b->y() < pick->y())) pick = b;
        ASSERT_NE(pick, nullptr);
        pick->click();
    });
    QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(0, 0));
    EXPECT_EQ(items, 25);
    EXPECT_EQ(columns, 2);
    // The point chosen is the first of the segment.
    ASSERT_EQ(win.w->canvas().interaction().engine().picked().size(), 1u);
    Element* chosen = win.w->canvas().interaction().engine().picked().front();
    int index = 0;
    for (Element* e = win.doc().head; e && e != chosen; e = e->next)
        ++index;
    EXPECT_EQ(index, 20);
}

TEST(TForm1Tools, EscapeAndKeysReachTheTools) {
    Window win;
    win.w->chooseTool(Tool::Segment);
    QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(-50, 0));
    EXPECT_TRUE(win.w->canvas().interaction().engine().running());
    QTest::keyClick(win.area(), Qt::Key_Escape);
    EXPECT_EQ(win.w->currentTool(), Tool::Move);
    EXPECT_FALSE(win.w->canvas().interaction().engine().running());
    Element* p = win.doc().tail;
    QTest::mouseClick(win.area(), Qt::LeftButton, {}, win.pixel(-50, 0));
    ASSERT_EQ(p->selected, 1);
    QTest::keyClick(win.area(), Qt::Key_Right);
    EXPECT_DOUBLE_EQ(p->value[0], -49);
    const int h = win.w->canvas().horizontalBar()->value();
    p->selected = 0;
    QTest::keyClick(win.area(), Qt::Key_Right);
    EXPECT_EQ(win.w->canvas().horizontalBar()->value(), h + 50);
}

// Random events with random tools, while the windows that stay open (construction list,
// calculator, iteration, animation, the replay) are open, with the macro dialog, and with
// documents opened, switched and closed and elements deleted, cut, pasted, undone and redone
// under them. Afterwards the document still saves, reads back and recalculates. The seed and the
// number of events come from QORV_RANDOM_SEED and QORV_RANDOM_EVENTS (the sanitized soak runs
// many seeds; the default is a fixed slice).
TEST(TForm1Tools, RandomEventsWithTheWindowsOpenLeaveADocumentThatSavesAndReadsBack) {
    const auto fromEnvironment = [](const char* name, unsigned long long fallback) {
        const QByteArray v = qgetenv(name);
        return v.isEmpty() ? fallback : v.toULongLong();
    };
    const unsigned seed = unsigned(fromEnvironment("QORV_RANDOM_SEED", 20261208));
    const int events = int(fromEnvironment("QORV_RANDOM_EVENTS", 4000));
    SCOPED_TRACE("seed " + std::to_string(seed));
    Window win;
    std::mt19937 rng(seed);
    const auto chance = [&rng](int percent) { return int(rng() % 100) < percent; };
    std::vector<int> tools;
    for (int t = 0; t < ToolCount; ++t)
        if (isToolAvailable(t) && t != Tool::Zoom) tools.push_back(t);
    tools.push_back(Tool::Zoom);
    win.w->canvas().setAmbiguityChooser(
        [&rng](const std::vector<Element*>& list) { return int(rng() % (list.size() + 1)) - 1; });
    // Double clicks open the element dialogs: each is closed as the user's Escape would, or the
    // element is deleted from its properties dialog.
    int dialogs = 0;
    win.dialogs.whenModal([&](QDialog& d) {
        ++dialogs;
        if (auto* b = d.findChild<QPushButton*>(QStringLiteral("Bborrar")); b && chance(30))
            b->click();
        else
            d.reject();
    });
    // The macro dialog: one of its buttons, then closed.
    int macroDialogs = 0;
    win.w->macros().setDialogHook([&](TMacCon& d) {
        ++macroDialogs;
        static const char* const names[] = {"B_eini", "B_efin",     "B_comp",  "B_activar",
                                            "B_no",   "B_eliminar", "B_MacUp", "B_MacDw"};
        auto* b = d.findChild<QPushButton*>(QString::fromLatin1(names[rng() % 8]));
        if (b && b->isEnabled() && b->isVisible() && d.isVisible()) b->click();
        if (d.isVisible()) d.reject();
    });
    win.w->animationFeatures().setKeepAnswer([&rng] {
        static const int answers[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        return answers[rng() % 3];
    });
    // "Insertar bitmap" asks for a picture: a small one, or the dialog is cancelled. Questions
    // (save the changes?) are answered No or Cancel, names are given.
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("p.png"));
    const QString saved = dir.filePath(QStringLiteral("d.qrv"));
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(picture));
    qorv::testing::ScriptedDialogs& files = win.dialogs;
    int asked = 0;
    files.onDialog = [&] {
        if (files.files.empty()) files.files.push_back(++asked % 2 ? picture : QString());
        if (files.answers.empty())
            files.answers.push_back(chance(80) ? UserDialogs::Answer::No
                                               : UserDialogs::Answer::Cancel);
        if (files.texts.empty()) files.texts.push_back(QStringLiteral("m"));
    };
    const int w = win.area()->width(), h = win.area()->height();
    auto somewhere = [&] {
        // Mostly near a few spots, so that clicks meet earlier elements.
        if (rng() % 3 == 0) return QPoint(int(rng() % w), int(rng() % h));
        const int spot = int(rng() % 5);
        return QPoint(w / 2 + (spot - 2) * 60 + int(rng() % 11) - 5,
                      h / 2 + (spot % 2) * 50 + int(rng() % 11) - 5);
    };
    // A button of an open window, as a click on it.
    const auto clickSomeButton = [&](QWidget* window) {
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled() && b->objectName() != QLatin1String("B_font") &&
                b->objectName() != QLatin1String("B_colfon"))
                buttons << b;
        if (!buttons.isEmpty()) buttons[int(rng() % buttons.size())]->click();
    };
    // A number of the document clicked with a calculator tool: its letter goes in.
    const auto clickNumber = [&] {
        std::vector<Element*> numbers;
        for (Element* e = win.doc().head; e; e = e->next)
            if (e->kind() == Kind::Number && e->visible) numbers.push_back(e);
        PixelBox b;
        if (numbers.empty() || !win.w->canvas().elementBox(*numbers[rng() % numbers.size()], b))
            return;
        QTest::mouseClick(win.area(), Qt::LeftButton, {},
                          QPoint(int(b.x + b.w / 2), int(b.y + b.h / 2)));
    };
    // The result field dragged onto the drawing and released there.
    const auto placeResult = [&](TV_calc* calc, QPoint to) {
        ResultField* r = calc->resultField();
        const QPoint global = win.area()->mapToGlobal(to);
        QTest::mousePress(r, Qt::LeftButton, {}, r->rect().center());
        QMouseEvent move(QEvent::MouseMove, QPointF(r->mapFromGlobal(global)), QPointF(global),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(r, &move);
        QTest::mouseRelease(r, Qt::LeftButton, {}, r->mapFromGlobal(global));
    };
    // A parameter made, clicked into a calculation and evaluated; everything cut; the result
    // placed: it must not name what the cut freed.
    const auto resultOverACutNumber = [&] {
        win.w->chooseTool(Tool::Parameter);
        TV_calc* calc = win.w->calculator().window();
        if (!calc || !calc->isVisible()) return;
        calc->expressionField()->setText(QStringLiteral("3"));
        calc->evaluateExpression();
        placeResult(calc, somewhere());
        win.w->chooseTool(Tool::Calculate);
        calc->expressionField()->clear();
        clickNumber();
        calc->expressionField()->setText(calc->expressionField()->text() + QStringLiteral("*2"));
        calc->evaluateExpression();
        win.w->selection().selectAll();
        win.w->edit().cutSelection();
        placeResult(calc, somewhere());
    };
    static const char* const expressions[] = {"a*2", "a+b", "2.5", "f1(a)", "x^2", "a"};
    int listOpened = 0, calcOpened = 0, replayOpened = 0, switched = 0, closed = 0, removed = 0;
    int biggest = 0;
    for (int i = 0; i < events; ++i) {
        biggest = std::max(biggest, win.doc().elementCount());
        TV_lista* list = win.w->elementDialogs().constructionList();
        TV_calc* calc = win.w->calculator().window();
        TPaP& replay = win.w->animationFeatures().replayDialog();
        // The replay is modal: while it is open only it gets events.
        if (replay.isVisible()) {
            if (chance(70))
                replay.goTo(1 + int(rng() % std::max(1, replay.stepCount())));
            else
                clickSomeButton(&replay);
            continue;
        }
        const int action = int(rng() % 200);
        const QPoint at = somewhere();
        if (action < 8) {
            win.w->chooseTool(tools[rng() % tools.size()], rng() % 2 == 0);
        } else if (action < 60) {
            win.hover(at);
        } else if (action < 110) {
            QTest::mouseClick(win.area(), Qt::LeftButton,
                              rng() % 5 == 0 ? Qt::ShiftModifier : Qt::NoModifier, at);
        } else if (action < 135) {
            win.drag(at, somewhere(), 1 + int(rng() % 4));
        } else if (action < 140) {
            win.drag(at, somewhere(), 2, Qt::RightButton);
        } else if (action < 146) {
            QTest::mouseDClick(win.area(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(win.area(), Qt::LeftButton, {}, at);
        } else if (action < 152) {
            static const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Plus, Qt::Key_Minus,
                                           Qt::Key_Left,   Qt::Key_Up,   Qt::Key_Control,
                                           Qt::Key_Delete};
            QTest::keyClick(win.area(), keys[rng() % 7]);
        } else if (action < 156) {
            // The windows that stay open.
            switch (rng() % 6) {
            case 0:
                win.w->elementDialogs().showConstructionList();
                ++listOpened;
                break;
            case 1:
                win.w->chooseTool(rng() % 3 == 0 ? Tool::Parameter : Tool::Calculate);
                ++calcOpened;
                if (chance(40)) resultOverACutNumber();
                break;
            case 2:
                win.w->chooseTool(Tool::Iteration);
                break;
            case 3:
                win.w->chooseTool(Tool::Animation);
                break;
            case 4:
                win.w->macros().openDialog();
                break;
            default:
                win.w->animationFeatures().openReplay();
                ++replayOpened;
                break;
            }
        } else if (action < 166) {
            // Inside them.
            if (list && list->isVisible() && chance(50)) {
                QTreeWidget* lines = list->list();
                if (lines->topLevelItemCount() > 0 && chance(70)) {
                    QTreeWidgetItem* item =
                        lines->topLevelItem(int(rng() % lines->topLevelItemCount()));
                    emit lines->itemDoubleClicked(item, 0);
                } else {
                    clickSomeButton(list);
                }
            } else if (calc && calc->isVisible()) {
                switch (rng() % 4) {
                case 0:
                    clickNumber();
                    break;
                case 1:
                    calc->expressionField()->setText(
                        QString::fromLatin1(expressions[rng() % std::size(expressions)]));
                    calc->evaluateExpression();
                    break;
                case 2: {
                    ResultField* r = calc->resultField();
                    QTest::mousePress(r, Qt::LeftButton, {}, r->rect().center());
                    QTest::mouseRelease(r, Qt::LeftButton, {}, r->rect().center());
                    break;
                }
                default:
                    clickSomeButton(calc);
                    break;
                }
            } else if (win.w->iteration().dialog() && win.w->iteration().dialog()->isVisible()) {
                clickSomeButton(win.w->iteration().dialog());
            } else if (win.w->animationFeatures().animationDialog().isVisible()) {
                clickSomeButton(&win.w->animationFeatures().animationDialog());
            }
        } else if (action < 184) {
            // Edits that delete or replace elements.
            const int before = win.doc().removals;
            switch (rng() % 9) {
            case 0:
            case 1:
                win.w->edit().undo();
                break;
            case 2:
                win.w->edit().redo();
                break;
            case 3:
                if (chance(50)) win.w->selection().selectAll();
                win.w->edit().cutSelection();
                break;
            case 4:
                win.w->edit().copySelection();
                break;
            case 5:
                win.w->edit().paste();
                break;
            case 6:
                win.w->selection().deleteSelection();
                break;
            case 7:
                if (chance(30)) win.w->selection().deleteAll();
                break;
            default:
                win.w->selection().selectAll();
                break;
            }
            removed += win.doc().removals != unsigned(before);
        } else if (action < 194) {
            // Documents.
            switch (rng() % 5) {
            case 0:
                if (win.w->session().documents().count() < 4) win.w->documents().newDocument();
                break;
            case 1:
            case 2:
                win.w->documents().switchTo(
                    int(rng() % std::max(1, win.w->session().documents().count())));
                ++switched;
                break;
            case 3:
                if (win.w->session().documents().count() > 1 || chance(20))
                    closed += win.w->documents().closeCurrent();
                break;
            default:
                if (chance(50)) {
                    files.files.push_front(saved);
                    win.w->documents().saveDocumentAsAt(win.w->documents().currentDocumentIndex());
                } else if (QFile::exists(saved)) {
                    win.w->documents().openDocument(saved);
                }
                break;
            }
            if (win.w->documents().noDocumentOpen()) win.w->documents().newDocument();
        } else {
            // Timers: animation, replay, blinking, deferred deletions.
            QTest::qWait(1);
        }
    }
    QTest::qWait(1);
    if (events >= 2000) {
        EXPECT_GT(biggest, 20);
        EXPECT_GT(dialogs, 0);
        EXPECT_GT(macroDialogs, 0);
        EXPECT_GT(listOpened, 0);
        EXPECT_GT(calcOpened, 0);
        EXPECT_GT(replayOpened, 0);
        EXPECT_GT(switched, 0);
        EXPECT_GT(closed, 0);
        EXPECT_GT(removed, 0);
    }
    Document& doc = win.doc();
    std::vector<uint8_t> bytes = encodeDocument(doc);
    ASSERT_FALSE(bytes.empty());
    Document back;
    const ReadResult r = readDocumentData(back, bytes.data(), bytes.size(), FileType::Document);
    ASSERT_EQ(r.kind, FileKind::Document);
    EXPECT_EQ(back.elementCount(), doc.elementCount());
    recalcUpTo(back);
}
