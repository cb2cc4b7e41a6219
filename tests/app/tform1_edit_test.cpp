#include "app/testwindow.h"
#include "app/tform1.h"
#include "construction/builder.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace qorv;
using qorv::testing::TestWindow;

namespace {

// A shown, active main window, so that its shortcuts reach it.
struct Window {
    TestWindow t;
    TForm1& w = *t.w;
    void key(int key) { QTest::keyClick(&w, Qt::Key(key), Qt::ControlModifier); }
};

QMenu* editMenu(TForm1& w) {
    for (QAction* a : w.menuBar()->actions())
        if (a->text() == QStringLiteral("&Edición")) return a->menu();
    return nullptr;
}

} // namespace

TEST(TForm1Edit, EditMenuHoldsTheCommandsWithTheirShortcuts) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    QMenu* edit = editMenu(w);
    ASSERT_NE(edit, nullptr);
    QStringList texts;
    for (QAction* a : edit->actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts.mid(0, 6),
              (QStringList{"Deshacer", "Rehacer", "Cortar", "Copiar", "Pegar", "Borrar"}));
    EXPECT_TRUE(texts.contains(QStringLiteral("Pegar imagen")));
    EXPECT_EQ(w.undoAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(w.redoAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    EXPECT_EQ(w.cutAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    EXPECT_EQ(w.copyAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    EXPECT_EQ(w.pasteAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    // A new document: nothing to undo, redo or paste.
    EXPECT_FALSE(w.undoAction()->isEnabled());
    EXPECT_FALSE(w.redoAction()->isEnabled());
    EXPECT_FALSE(w.pasteAction()->isEnabled());
    EXPECT_TRUE(w.pastePictureAction()->isEnabled());
}

TEST(TForm1Edit, UndoAndRedoShortcutsFollowTheHistory) {
    Window win;
    TForm1& w = win.w;
    QSignalSpy toolSwitch(&w, &TForm1::editCommandStarted);
    Document& doc = w.document();
    w.recordUndoStep();
    ConstructionBuilder(doc).point(10, 10);
    EXPECT_TRUE(w.undoAction()->isEnabled());
    EXPECT_FALSE(w.redoAction()->isEnabled());
    EXPECT_EQ(doc.modified, 1);

    win.key(Qt::Key_Z);
    EXPECT_EQ(w.document().head, nullptr);
    EXPECT_FALSE(w.undoAction()->isEnabled());
    EXPECT_TRUE(w.redoAction()->isEnabled());
    EXPECT_EQ(toolSwitch.count(), 1);
    win.key(Qt::Key_Z); // disabled: nothing happens
    EXPECT_EQ(toolSwitch.count(), 1);

    win.key(Qt::Key_Y);
    ASSERT_NE(w.document().head, nullptr);
    EXPECT_EQ(w.document().head->value[0], 10);
    EXPECT_TRUE(w.undoAction()->isEnabled());
    EXPECT_FALSE(w.redoAction()->isEnabled());
}

TEST(TForm1Edit, TwoUndosThenANewConstructionDisableRedo) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    Document& doc = w.document();
    ConstructionBuilder mk(doc);
    for (int i = 0; i < 3; ++i) {
        w.recordUndoStep();
        mk.point(i, i);
    }
    w.edit().undo();
    w.edit().undo();
    EXPECT_TRUE(w.redoAction()->isEnabled());
    w.recordUndoStep();
    mk.make(Method::Segment, doc.head, doc.head);
    EXPECT_FALSE(w.redoAction()->isEnabled());
    EXPECT_TRUE(w.undoAction()->isEnabled());
}

TEST(TForm1Edit, HeldReferencesAreFoundAgainAfterUndo) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    Document& doc = w.document();
    Element* edited = ConstructionBuilder(doc).point(1, 2);
    const int token = w.heldReferences().add([&](const HeldReferences::Visit& v) { v(edited); });
    w.recordUndoStep();
    edited->value[0] = 50;
    w.edit().undo();
    ASSERT_EQ(edited, w.document().head);
    EXPECT_EQ(edited->value[0], 1);
    w.heldReferences().remove(token);
}

TEST(TForm1Edit, CopyPutsTheTextOnTheSystemClipboardAndPasteAddsTheCopy) {
    Window win;
    TForm1& w = win.w;
    Document& doc = w.document();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    win.key(Qt::Key_C); // nothing selected: the system clipboard is left alone
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

    ConstructionBuilder mk(doc);
    mk.req.value[0] = 1;
    Element* n1 = mk.make(Method::Parameter);
    mk.req.value[0] = 2;
    Element* n2 = mk.make(Method::Parameter);
    Element* table = mk.make(Method::Table, nullptr, nullptr, nullptr, {n1, n2});
    auto* t = table->tailAs<TableTail>();
    t->rows = 3;
    t->columns[0].values = {1, 2, 3};
    t->columns[1].values = {4, 5, 6.5};
    table->decimals = 1;
    table->selected = 1;

    win.key(Qt::Key_C);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, QStringLiteral("1.0  4.0  \r2.0  5.0  \r3.0  6.5  \r"));
    EXPECT_EQ(copied.split(QLatin1Char('\r'), Qt::SkipEmptyParts).size(), 3);
    EXPECT_FALSE(w.session().clipboard().empty());
    EXPECT_TRUE(w.pasteAction()->isEnabled());

    QSignalSpy toolSwitch(&w, &TForm1::editCommandStarted);
    win.key(Qt::Key_V);
    EXPECT_EQ(toolSwitch.count(), 1);
    EXPECT_EQ(w.document().elementCount(), 6);
    EXPECT_EQ(w.document().tail->method, Method::Table);
    EXPECT_EQ(w.document().tail->selected, 1);
    EXPECT_EQ(table->selected, 0);
    EXPECT_TRUE(w.undoAction()->isEnabled());

    // Cut: the table goes to the clipboard and out of the document, in one undo step.
    w.document().selectNone();
    w.document().tail->selected = 1;
    win.key(Qt::Key_X);
    EXPECT_EQ(w.document().elementCount(), 5);
    win.key(Qt::Key_Z);
    EXPECT_EQ(w.document().elementCount(), 6);
}

TEST(TForm1Edit, PastePictureMakesABitmapFromTheSystemClipboard) {
    TestWindow t({.shown = false});
    TForm1& w = *t.w;
    Document& doc = w.document();
    QGuiApplication::clipboard()->clear();
    w.pastePictureAction()->trigger(); // no picture: nothing happens
    EXPECT_EQ(doc.head, nullptr);
    EXPECT_FALSE(w.undoAction()->isEnabled());

    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    image.setPixelColor(4, 2, QColor(0, 0, 255));
    QGuiApplication::clipboard()->setImage(image);
    Element* p = ConstructionBuilder(doc).point(0, 0);
    p->selected = 1;
    w.pastePictureAction()->trigger();
    Element* bitmap = doc.tail;
    ASSERT_EQ(bitmap->method, Method::Bitmap);
    EXPECT_EQ(bitmap->parent1, p);
    EXPECT_EQ(bitmap->selected, 1);
    const auto& bytes = bitmap->tailAs<BitmapTail>()->picture;
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    const QImage back = QImage::fromData(bytes.data(), int(bytes.size()), "BMP");
    ASSERT_EQ(back.size(), QSize(5, 3));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(4, 2), QColor(0, 0, 255));
    EXPECT_TRUE(w.undoAction()->isEnabled());
}

// The open menu shows Cortar and Copiar disabled with nothing selected; closed, their shortcuts
// still work for a selection made since.
TEST(TForm1Edit, CutAndCopyShowDisabledWithNothingSelected) {
    Window win;
    TForm1& w = win.w;
    ConstructionBuilder(w.document()).point(10, 10);
    QMenu* edit = editMenu(w);
    ASSERT_NE(edit, nullptr);
    for (const bool selected : {false, true}) {
        if (selected) w.document().selectAll();
        edit->popup(w.mapToGlobal(QPoint(20, 20)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
        EXPECT_EQ(w.cutAction()->isEnabled(), selected);
        EXPECT_EQ(w.copyAction()->isEnabled(), selected);
        edit->hide();
    }
    w.document().selectNone();
    edit->popup(w.mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
    edit->hide();
    // Selected without any menu update: Ctrl+C copies all the same.
    w.document().selectAll();
    ASSERT_TRUE(w.session().clipboard().empty());
    win.key(Qt::Key_C);
    EXPECT_FALSE(w.session().clipboard().empty());
}

// Cut, "Borrar" and "Eliminar Todo" free elements: a reference held to one of them (the
// calculator's, a macro list's) is dropped with it, the others are kept.
TEST(TForm1Edit, CommandsThatDeleteDropTheReferencesHeldToWhatWent) {
    const std::pair<const char*, void (*)(TForm1&)> commands[] = {
        {"Cortar", [](TForm1& w) { w.edit().cutSelection(); }},
        {"Borrar", [](TForm1& w) { w.selection().deleteSelection(); }},
        {"Eliminar Todo", [](TForm1& w) { w.selection().deleteAll(); }},
    };
    for (const auto& [name, run] : commands) {
        TestWindow t({.shown = false});
        TForm1& w = *t.w;
        ConstructionBuilder build(w.document());
        Element* kept = build.point(1, 2);
        Element* gone = build.point(3, 4);
        Element* heldKept = kept;
        Element* heldGone = gone;
        const int token = w.heldReferences().add([&](const HeldReferences::Visit& visit) {
            visit(heldKept);
            visit(heldGone);
        });
        w.canvas().recalculateAndRedraw();
        gone->selected = 1;
        run(w);
        EXPECT_EQ(heldGone, nullptr) << name;
        if (w.document().head) {
            EXPECT_EQ(heldKept, kept) << name;
        }
        w.heldReferences().remove(token);
    }
}
