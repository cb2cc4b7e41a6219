// Macros in the main window: recording the circumcentre of three points with the mouse and the
// macro dialog, saving it, opening it in a new document and applying it there.
#include "app/testwindow.h"
#include "construction/builder.h"
#include "dialogs/tmaccon.h"
#include "macros/circumcentre.h"
#include "model/undo.h"
#include "settings/registry.h"
#include "view/tooltable.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace qorv;

namespace {

class Macros : public qorv::testing::WindowTest {
  protected:
    using WindowTest::click;
    void click(const Element* e) { click(e->value[0], e->value[1]); }
    // Opens the macro dialog with its tool button and presses its buttons in turn.
    void macroDialog(std::initializer_list<const char*> buttons) {
        w->macros().setDialogHook([&](TMacCon& d) {
            for (const char* name : buttons) {
                QPushButton* b = d.findChild<QPushButton*>(QString::fromLatin1(name));
                ASSERT_NE(b, nullptr) << name;
                EXPECT_TRUE(b->isEnabled()) << name;
                b->click();
            }
        });
        w->toolBars().toolButton(Tool::ApplyMacro)->click();
    }
};

} // namespace

TEST_F(Macros, RecordSaveOpenInANewDocumentAndApply) {
    ConstructionBuilder b(w->document());
    b.recalculate = true;
    const test::CircumcentreConstruction t(b, {-120, -60}, {90, -80}, {10, 110});
    Element* loose = b.point(200, 150);
    w->canvas().recalculateAndRedraw();

    macroDialog({"B_eini"});
    EXPECT_EQ(w->currentTool(), Tool::MacroInitial);
    EXPECT_TRUE(w->toolBars().toolButton(Tool::ApplyMacro)->isChecked());
    EXPECT_EQ(w->statusText(), QStringLiteral("Seleccionar los elementos iniciales"));
    for (const Element* e : {t.a, t.b, t.c})
        click(e);
    macroDialog({"B_efin"});
    EXPECT_EQ(w->currentTool(), Tool::MacroFinal);
    click(loose);
    EXPECT_EQ(messages, QStringList{QStringLiteral("No puede ser un elemento final")});
    click(t.centre);
    EXPECT_EQ(t.centre->selected, 1);

    const QString file = dir.filePath(QStringLiteral("circuncentro.mac"));
    dialogs.texts = {QStringLiteral("circuncentro")};
    dialogs.files = {file};
    macroDialog({"B_comp", "B_guarmac", "B_no"});
    EXPECT_EQ(dialogs.lastQuestion, QStringLiteral("Nombre para la macro"));
    EXPECT_EQ(w->currentTool(), Tool::Move);
    ASSERT_EQ(w->document().macroCount(), 1);
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(w->macros().folder(), QFileInfo(file).absolutePath());

    // In a new document, opened like any file: the macro goes into its table.
    ASSERT_TRUE(w->documents().newDocument());
    ASSERT_EQ(w->session().documents().count(), 2);
    ASSERT_TRUE(w->documents().openDocument(file));
    Document& doc = w->document();
    ASSERT_EQ(doc.macroCount(), 1);
    EXPECT_EQ(doc.macros[0].name, "circuncentro");
    EXPECT_EQ(doc.elementCount(), 0);

    macroDialog({"B_activar"});
    EXPECT_EQ(w->currentTool(), Tool::ApplyMacro);
    EXPECT_EQ(w->statusText(), QStringLiteral("circuncentro -> punto"));
    // Three clicks on empty ground: three free points, then the copies.
    click(-150, 40);
    click(130, 10);
    click(-20, -160);
    ASSERT_EQ(doc.elementCount(), 3 + 3);
    std::vector<Point2> made;
    for (const Element* e = doc.head; e && made.size() < 3; e = e->next) {
        EXPECT_EQ(e->method, Method::FreePoint);
        made.push_back({e->value[0], e->value[1]});
    }
    const Point2 expected = test::circumcentre(made[0], made[1], made[2]);
    const Element* copy = doc.tail;
    ASSERT_EQ(copy->method, Method::IntersectionPoint);
    EXPECT_EQ(copy->defined, 1);
    EXPECT_NEAR(copy->value[0], expected.x, 1e-6);
    EXPECT_NEAR(copy->value[1], expected.y, 1e-6);
    EXPECT_EQ(w->currentTool(), Tool::ApplyMacro); // ready for the next application

    // The points made and the copies are one undo step.
    w->edit().undo();
    EXPECT_EQ(doc.elementCount(), 0);
    EXPECT_FALSE(canUndo(doc));
}

TEST_F(Macros, TheMenuItemOpensTheDialogAndTheListsSurviveUndo) {
    ConstructionBuilder b(w->document());
    b.recalculate = true;
    Element* p = b.point(-100, 0);
    Element* q = b.point(100, 0);
    b.make(Method::Midpoint, p, q);
    w->canvas().recalculateAndRedraw();
    QAction* item = w->macrosAction();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Macros..."));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));

    int opened = 0;
    w->macros().setDialogHook([&](TMacCon& d) {
        ++opened;
        d.findChild<QPushButton*>(QStringLiteral("B_eini"))->click();
    });
    item->trigger();
    EXPECT_EQ(opened, 1);
    click(p);
    click(q);
    // The stored lists are found again after an undo step is undone.
    w->macros().setDialogHook([&](TMacCon& d) {
        ++opened;
        d.reject();
    });
    item->trigger(); // stores the initial list
    MacroSession& s = *w->canvas().interaction().macroSession();
    EXPECT_EQ(s.initialCount(), 2);
    w->chooseTool(Tool::Point);
    click(0, 80);
    w->edit().undo();
    item->trigger();
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(s.initial(), (std::vector<Element*>{w->document().head, w->document().head->next}));

    // Another document shown: the lists belong to the one before.
    w->documents().newDocument();
    EXPECT_EQ(s.initialCount(), 0);
}

// Until a macro file is used, the macro file dialogs start in the folder of documents, never in
// the program's own folder.
TEST_F(Macros, MacroFileDialogsStartInTheUsersFolder) {
    EXPECT_NE(w->macros().folder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(w->macros().folder(), QDir::homePath());
    ConstructionBuilder b(w->document());
    b.point(0, 0);
    dialogs.files = {dir.filePath(QStringLiteral("plano.qrv"))};
    ASSERT_TRUE(w->documents().saveDocumentAsAt(w->documents().currentDocumentIndex()));
    EXPECT_EQ(w->macros().folder(), dir.path());
}
