// Several documents in the main window: new, open, save, close, quit, switching, the document
// list and the recent files.
#include "app/testwindow.h"
#include "app/windowcontext.h"
#include "construction/builder.h"
#include "dialogs/tv_listadoc.h"
#include "model/docfile.h"
#include "model/docfile_samples.h"
#include "model/undo.h"
#include "settings/paths.h"
#include "settings/registry.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>

using namespace qorv;
using Answer = UserDialogs::Answer;

namespace {

class Documents : public qorv::testing::WindowTest {
  protected:
    // A segment and a circle drawn with the mouse; `drawn` elements.
    void draw() {
        w->chooseTool(Tool::Segment);
        click(-120, -40);
        click(80, 60);
        w->chooseTool(Tool::Circle);
        click(20, -20);
        click(70, -20);
        w->chooseTool(Tool::Move);
        drawn = w->document().elementCount();
        ASSERT_GE(drawn, 5);
    }
    // A small saved document of its own.
    QString savedFile(const QString& name, double x = 0) {
        Document doc;
        ConstructionBuilder(doc).point(x, 1);
        EXPECT_TRUE(saveDocument(doc, QFile::encodeName(file(name)).toStdString()));
        return file(name);
    }
    QImage picture() const {
        return w->canvas().mainBitmap().copy(QRect(QPoint(), area()->size()));
    }
    QStringList tabs() const {
        QStringList l;
        for (int i = 0; i < w->documentTabs()->count(); ++i)
            l << w->documentTabs()->tabText(i);
        return l;
    }
    // The three lists of documents agree with the table, and each shows the current one.
    void expectInStep(const QStringList& names) {
        EXPECT_EQ(tabs(), names);
        QStringList combo, menu;
        for (int i = 0; i < w->documentCombo()->count(); ++i)
            combo << w->documentCombo()->itemText(i);
        EXPECT_EQ(combo, names);
        const QList<QAction*> items = w->documentMenu()->actions();
        ASSERT_EQ(items.size(), 10 + names.size()); // the documents from the eleventh item on
        int checked = -1;
        for (int i = 0; i < names.size(); ++i) {
            menu << items[10 + i]->text();
            if (items[10 + i]->isChecked()) checked = i;
        }
        EXPECT_EQ(menu, names);
        const int current = w->documents().currentDocumentIndex();
        EXPECT_EQ(w->documentTabs()->currentIndex(), current);
        EXPECT_EQ(w->documentCombo()->currentIndex(), current);
        EXPECT_EQ(checked, current);
        if (current >= 0) {
            EXPECT_EQ(w->windowTitle(), QStringLiteral("QORV - ") + names[current] + "[*]");
        } else {
            EXPECT_EQ(w->windowTitle(), QStringLiteral("QORV"));
        }
    }

    int drawn = 0;
};

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST_F(Documents, ClosingTheOnlyDocumentLeavesNoDocumentAndNewStartsAgainAtOne) {
    expectInStep({"Documento 1"});
    action("M_nuevo")->trigger();
    expectInStep({"Documento 1", "Documento 2"});
    action("M_cerrar")->trigger();
    action("M_cerrar")->trigger();
    EXPECT_TRUE(dialogs.captions.isEmpty()); // nothing to save: no question
    EXPECT_TRUE(w->documents().noDocumentOpen());
    EXPECT_EQ(w->session().documents().count(), 0);
    expectInStep({});
    EXPECT_FALSE(w->toolBars().mainBar()->isVisible());
    EXPECT_FALSE(w->documentBar()->isVisible());
    EXPECT_FALSE(w->statusBar()->isVisible());
    EXPECT_FALSE(w->documentMenu()->menuAction()->isVisible());
    EXPECT_FALSE(w->undoAction()->isEnabled());
    EXPECT_FALSE(action("M_guardar")->isVisible());
    EXPECT_FALSE(w->canvas().isEnabled());
    EXPECT_NE(w->document().background, Document().background);

    QTest::keyClick(w.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(w->documents().noDocumentOpen());
    expectInStep({"Documento 1"});
    EXPECT_TRUE(w->toolBars().mainBar()->isVisible());
    EXPECT_TRUE(w->statusBar()->isVisible());
    EXPECT_TRUE(w->documentMenu()->menuAction()->isVisible());
    EXPECT_TRUE(action("M_guardar")->isVisible());
    EXPECT_TRUE(w->canvas().isEnabled());
    EXPECT_EQ(w->document().background, Document().background);
    // The world origin in the middle of the drawing area the panels leave.
    const ScreenPoint o = documentView(w->document()).toScreen(0, 0);
    EXPECT_NEAR(o.x, area()->width() / 2, 1);
    EXPECT_NEAR(o.y, area()->height() / 2, 1);
}

TEST_F(Documents, TheFirstDocumentIsCentredInTheWindowAsShown) {
    // Made before the window had its size.
    const auto expectCentred = [this] {
        const ScreenPoint o = documentView(w->document()).toScreen(0, 0);
        EXPECT_NEAR(o.x, area()->width() / 2.0, 1.0);
        EXPECT_NEAR(o.y, area()->height() / 2.0, 1.0);
    };
    expectCentred();
    action("M_nuevo")->trigger();
    expectCentred();
    // Once drawn on, the first one keeps its view when the window changes size.
    w->documents().switchTo(0);
    draw();
    const double left = w->document().left, top = w->document().top;
    w->resize(700, 520);
    QApplication::processEvents();
    EXPECT_EQ(w->document().left, left);
    EXPECT_EQ(w->document().top, top);
}

TEST_F(Documents, DrawSaveCloseReopenGivesTheSameBytesAndPicture) {
    draw();
    EXPECT_EQ(w->document().modified, 1);
    EXPECT_TRUE(w->isWindowModified());
    // Ctrl+S without a file asks for one, proposing the document's name; ".qrv" is added.
    dialogs.files = {file(QStringLiteral("drawing"))};
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    const QString saved = file(QStringLiteral("drawing.qrv"));
    EXPECT_TRUE(dialogs.proposed.endsWith(QStringLiteral("/Documento 1.qrv")));
    EXPECT_EQ(dialogs.filters, (QStringList{"Documentos (*.qrv)", "Todos los archivos (*)"}));
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(w->document().modified, 0);
    EXPECT_FALSE(w->isWindowModified());
    expectInStep({"drawing"});
    EXPECT_EQ(w->documents().recentFiles().paths().value(0), saved);
    EXPECT_EQ(w->documents().lastDocumentFolder(), dir.path());
    const QImage before = picture();

    QTest::keyClick(w.get(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_TRUE(w->documents().noDocumentOpen());
    dialogs.files = {saved};
    QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs.filters,
              (QStringList{"Documentos y macros (*.qrv *.mac)", "Documentos (*.qrv)",
                           "Macros (*.mac)", "Todos los archivos (*)"}));
    ASSERT_FALSE(w->documents().noDocumentOpen());
    expectInStep({"drawing"});
    EXPECT_EQ(w->document().elementCount(), drawn);
    EXPECT_EQ(w->document().modified, 0);
    const QImage after = picture();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before);
    // Saved again under another name: the same bytes.
    dialogs.files = {file(QStringLiteral("again.qrv"))};
    action("M_guardar_como")->trigger();
    EXPECT_EQ(bytes(file(QStringLiteral("again.qrv"))), bytes(saved));
    expectInStep({"again"});
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// Opening never closes anything: the modified document stays, with its work and its history.
TEST_F(Documents, OpeningAnotherFileKeepsTheModifiedDocumentAndItsHistory) {
    draw();
    dialogs.files = {QString()}; // the dialog cancelled
    action("M_abrir")->trigger();
    EXPECT_EQ(w->session().documents().count(), 1);
    dialogs.files = {QStringLiteral(QORV_SOURCE_DIR "/examples/triangle.qrv")};
    action("M_abrir")->trigger();
    EXPECT_EQ(dialogs.captions, (QStringList{"Abrir...", "Abrir..."})); // no question
    expectInStep({"Documento 1", "triangle"});
    EXPECT_FALSE(canUndo(w->document()));
    EXPECT_EQ(w->document().modified, 0);

    w->documents().switchTo(0);
    EXPECT_EQ(w->document().elementCount(), drawn);
    EXPECT_EQ(w->document().modified, 1);
    EXPECT_TRUE(w->isWindowModified());
    ASSERT_TRUE(w->undoAction()->isEnabled());
    w->edit().undo();
    EXPECT_LT(w->document().elementCount(), drawn);
    EXPECT_GT(w->session().documents().at(1).elementCount(), 0);

    // Closing it asks; Cancel keeps it open and current with its changes.
    dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(w->documents().closeCurrent());
    EXPECT_EQ(dialogs.captions.last(), QStringLiteral("Cerrar - Documento 1"));
    EXPECT_EQ(dialogs.lastQuestion,
              QStringLiteral("¿Guardar los cambios realizados al documento?"));
    expectInStep({"Documento 1", "triangle"});
    EXPECT_EQ(w->document().modified, 1);
    // No: closed without saving, and the last document becomes current.
    dialogs.answers = {Answer::No};
    EXPECT_TRUE(w->documents().closeCurrent());
    expectInStep({"triangle"});
}

TEST_F(Documents, QuittingAsksForEachModifiedDocumentAndCancelKeepsThemAll) {
    draw();
    action("M_nuevo")->trigger();
    draw();
    action("M_nuevo")->trigger(); // not modified: no question
    dialogs.answers = {Answer::No, Answer::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(dialogs.captions, (QStringList{"Cerrar - Documento 1", "Cerrar - Documento 2"}));
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(w->session().documents().count(), 3);
    EXPECT_EQ(w->session().documents().at(0).modified, 1);
    EXPECT_EQ(w->session().documents().at(1).modified, 1);

    // Yes, then the save dialog cancelled: still open.
    dialogs.captions.clear();
    dialogs.answers = {Answer::Yes};
    dialogs.files = {QString()};
    action("M_salir")->trigger();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dialogs.captions, (QStringList{"Cerrar - Documento 1", "Guardar Como..."}));

    // Yes saves the first; No lets the second go; the window closes and writes the recent files
    // and the folder.
    dialogs.answers = {Answer::Yes, Answer::No};
    dialogs.files = {file(QStringLiteral("first.qrv"))};
    action("M_salir")->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("first.qrv"))));
    const std::unique_ptr<QSettings> store = registry::open();
    EXPECT_EQ(store->value(QStringLiteral("Recent Files/File0")).toString(),
              file(QStringLiteral("first.qrv")));
    EXPECT_EQ(store->value(QStringLiteral("Last Dir/Default")).toString(), dir.path());
}

TEST_F(Documents, AnOpenFileIsFoundAgainAsTheFileSystemComparesNames) {
    const QString tri = savedFile(QStringLiteral("Tri.qrv"));
    ASSERT_TRUE(w->documents().openDocument(tri));
    action("M_nuevo")->trigger();
    expectInStep({"Documento 1", "Tri", "Documento 2"});
    EXPECT_TRUE(w->documents().openDocument(dir.path() + QStringLiteral("/./Tri.qrv")));
    EXPECT_EQ(w->session().documents().count(), 3);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 1);
    if (fileNameCaseSensitivity() == Qt::CaseInsensitive) {
        // One file whatever the letters: it is not opened twice.
        EXPECT_TRUE(w->documents().openDocument(file(QStringLiteral("TRI.QRV"))));
        EXPECT_EQ(w->session().documents().count(), 3);
        EXPECT_EQ(w->documents().recentFiles().count(), 1);
        return;
    }
    // Two files that differ only in letter case are two documents and two recent entries.
    const QString lower = savedFile(QStringLiteral("tri.qrv"), 50);
    ASSERT_TRUE(w->documents().openDocument(lower));
    EXPECT_EQ(w->session().documents().count(), 4);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 3);
    ASSERT_NE(w->document().head, nullptr);
    EXPECT_EQ(w->document().head->value[0], 50.0); // its own construction, not Tri's
    EXPECT_EQ(w->documents().recentFiles().paths(), (QStringList{lower, tri}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Documents, RecentFilesKeepTheTenLatestAndAnEntryMovesToTheTopWhenOpened) {
    QStringList files;
    for (int i = 0; i <= 10; ++i) {
        files << savedFile(QStringLiteral("f%1.qrv").arg(i), i);
        ASSERT_TRUE(w->documents().openDocument(files.last()));
    }
    QStringList expected;
    for (int i = 10; i >= 1; --i)
        expected << files[i];
    EXPECT_EQ(w->documents().recentFiles().paths(), expected);
    QList<QAction*> entries = w->recentMenu()->actions();
    ASSERT_GE(entries.size(), 10);
    EXPECT_EQ(entries[3]->text(), QStringLiteral("&4 ") + files[7]); // numbered from 1
    // The fourth entry: its document is open, so it becomes current and moves to the top.
    w->documents().switchTo(0);
    entries[3]->trigger();
    QApplication::processEvents(); // the old entries go
    EXPECT_EQ(w->documents().documentName(w->documents().currentDocumentIndex()),
              QStringLiteral("f7"));
    expected.move(3, 0);
    EXPECT_EQ(w->documents().recentFiles().paths(), expected);
    EXPECT_EQ(w->recentMenu()->actions()[0]->text(), QStringLiteral("&1 ") + files[7]);

    // Written when the window closes, read by the next one.
    ASSERT_TRUE(w->close());
    w = std::make_unique<TForm1>();
    EXPECT_EQ(w->documents().recentFiles().paths(), expected);
    EXPECT_EQ(w->documents().lastDocumentFolder(), dir.path());

    // "Eliminar lista de recientes": only Yes clears.
    w->prompts().setUserDialogs(&dialogs);
    dialogs.answers = {Answer::No, Answer::Yes};
    action("M_elim_recientes")->trigger();
    EXPECT_EQ(w->documents().recentFiles().count(), 10);
    action("M_elim_recientes")->trigger();
    EXPECT_EQ(w->documents().recentFiles().count(), 0);
    EXPECT_FALSE(registry::open()->childGroups().contains(QStringLiteral("Recent Files")));
    QApplication::processEvents();
    QStringList texts;
    for (QAction* a : w->recentMenu()->actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{"(vacía)"}));
}

TEST_F(Documents, AFailedSaveSaysSoAndKeepsTheDocumentModified) {
    draw();
    // A folder nobody may write in. Permissions do not stop the superuser; /proc stops everyone.
    const QString locked = file(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(locked));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(locked + QStringLiteral("/probe"));
    const QString folder = probe.open(QIODevice::WriteOnly) ? QStringLiteral("/proc") : locked;
    const QString target = folder + QStringLiteral("/drawing.qrv");
    dialogs.files = {target};
    EXPECT_FALSE(w->documents().saveDocumentAsAt(0));
    EXPECT_EQ(messages, QStringList{QStringLiteral("error de escritura: ") + target});
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(w->document().modified, 1);
    EXPECT_TRUE(w->document().fileName.empty());
    EXPECT_TRUE(w->isWindowModified());
    expectInStep({"Documento 1"});

    // "&Guardar" to a file whose folder has gone: the error, then another name is asked for.
    const QString sub = file(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkdir(sub));
    dialogs.files = {sub + QStringLiteral("/d.qrv")};
    ASSERT_TRUE(w->documents().saveDocumentAsAt(0));
    w->chooseTool(Tool::Point);
    click(5, 5);
    ASSERT_TRUE(QDir(sub).removeRecursively());
    messages.clear();
    dialogs.captions.clear();
    dialogs.files = {QString()};
    EXPECT_FALSE(w->documents().saveDocumentAt(0));
    EXPECT_EQ(messages, QStringList{QStringLiteral("error de escritura: ") + sub + "/d.qrv"});
    EXPECT_EQ(dialogs.captions, QStringList{"Guardar Como..."});
    EXPECT_EQ(w->document().modified, 1);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(Documents, NavigationWrapsAndTheTabsComboAndMenuSwitch) {
    action("M_nuevo")->trigger();
    action("M_nuevo")->trigger();
    const QStringList names{"Documento 1", "Documento 2", "Documento 3"};
    expectInStep(names);
    const struct {
        const char* action;
        int current;
    } steps[] = {{"M_siguiente", 0}, {"M_anterior", 2}, {"M_primero", 0},
                 {"M_anterior", 2},  {"M_ultimo", 2},   {"M_siguiente", 0}};
    for (const auto& s : steps) {
        action(s.action)->trigger();
        EXPECT_EQ(w->documents().currentDocumentIndex(), s.current) << s.action;
        expectInStep(names);
    }
    QTest::keyClick(w.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 2);
    QTest::keyClick(w.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 0);
    QTest::keyClick(w.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 2);
    QTest::keyClick(w.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 0);

    w->documentTabs()->setCurrentIndex(1);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 1);
    expectInStep(names);
    emit w->documentCombo()->activated(2);
    EXPECT_EQ(w->documents().currentDocumentIndex(), 2);
    expectInStep(names);
    w->documentMenu()->actions()[10]->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w->documents().currentDocumentIndex(), 0);
    expectInStep(names);
}

TEST_F(Documents, EachDocumentKeepsItsOwnHistoryViewAndToolState) {
    draw();
    Document& first = w->document();
    first.left -= 37; // the view moved
    const double left = first.left;
    action("M_nuevo")->trigger();
    Document& second = w->document();
    EXPECT_NE(&second, &first);
    EXPECT_FALSE(w->undoAction()->isEnabled());
    w->edit().undo(); // nothing to undo here; the first document is left alone
    EXPECT_EQ(first.elementCount(), drawn);

    // A segment begun in the second document: its first point is picked.
    w->chooseTool(Tool::Segment);
    click(10, 10);
    ASSERT_EQ(w->canvas().interaction().engine().picked().size(), 1u);
    // A pan running as the document changes ends with it and moves neither view.
    w->chooseTool(Tool::Move);
    const QPoint from = pixel(-200, -150);
    QTest::mousePress(area(), Qt::RightButton, {}, from);
    QTest::mouseMove(area(), from + QPoint(20, 20));
    ASSERT_TRUE(w->canvas().interaction().gestureActive());
    const double secondLeft = second.left;
    w->documents().switchTo(0);
    EXPECT_FALSE(w->canvas().interaction().gestureActive());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(w->currentTool(), Tool::Move);
    EXPECT_TRUE(w->canvas().interaction().engine().picked().empty());
    QTest::mouseMove(area(), from + QPoint(60, 60));
    QTest::mouseRelease(area(), Qt::RightButton, {}, from + QPoint(60, 60));
    EXPECT_EQ(first.left, left);
    EXPECT_EQ(second.left, secondLeft);
    EXPECT_EQ(w->canvas().horizontalBar()->value(),
              scrollFromOriginX(left, w->canvas().planeSize(), area()->width()));

    EXPECT_TRUE(w->undoAction()->isEnabled());
    w->edit().undo();
    EXPECT_LT(first.elementCount(), drawn);
    EXPECT_EQ(second.elementCount(), 1); // the point of the segment begun there
}

TEST_F(Documents, AMacroFileGoesToTheCurrentDocument) {
    qorv::testing::SampleDocument sample;
    const QString mac = file(QStringLiteral("m.mac"));
    ASSERT_TRUE(writeMacroFile(sample.doc.macros[0], QFile::encodeName(mac).toStdString()));
    ASSERT_TRUE(w->documents().openDocument(mac));
    EXPECT_EQ(w->session().documents().count(), 1);
    EXPECT_TRUE(w->document().macros[0].used);
    EXPECT_EQ(w->document().macros[0].name, "punto medio");
    EXPECT_EQ(w->document().modified, 1);
    EXPECT_TRUE(w->isWindowModified());
    EXPECT_EQ(w->macros().folder(), dir.path());
    EXPECT_EQ(w->documents().recentFiles().count(), 0);

    // With no document open, a new one takes it.
    dialogs.answers = {Answer::No};
    ASSERT_TRUE(w->documents().closeAll());
    ASSERT_TRUE(w->documents().noDocumentOpen());
    ASSERT_TRUE(w->documents().openDocument(mac));
    expectInStep({"Documento 1"});
    EXPECT_TRUE(w->document().macros[0].used);
    // A file of neither kind is refused, and nothing is added.
    EXPECT_FALSE(w->documents().openDocument(QStringLiteral(QORV_SOURCE_DIR "/README.md")));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(w->session().documents().count(), 1);
    EXPECT_FALSE(w->document().macros[1].used);
}

TEST_F(Documents, TheCommandLineDocumentReplacesTheStartDocument) {
    w->openCommandLine(QStringLiteral("\"") + savedFile(QStringLiteral("start.qrv")) + "\"");
    expectInStep({"start"});
    action("M_nuevo")->trigger();
    expectInStep({"start", "Documento 1"});
}

TEST_F(Documents, NinetyNineDocumentsAtMost) {
    while (w->session().documents().count() < 99)
        ASSERT_TRUE(w->documents().newDocument());
    EXPECT_FALSE(w->documents().newDocument());
    EXPECT_FALSE(w->documents().openDocument(savedFile(QStringLiteral("one.qrv"))));
    EXPECT_EQ(messages, (QStringList{"Existen muchos documentos abiertos",
                                     "Existen muchos documentos abiertos"}));
    EXPECT_EQ(w->session().documents().count(), 99);
    EXPECT_EQ(w->documentMenu()->actions().size(), 10 + 99);
}

TEST_F(Documents, TheDocumentListClosesSavesAndSwitches) {
    action("M_nuevo")->trigger();
    draw();
    action("M_nuevo")->trigger();
    TV_listadoc list(w->dialogContext(), w.get());
    DocumentsController* docs = &w->documents();
    QObject::connect(&list, &TV_listadoc::switchAsked, docs, &DocumentsController::switchTo);
    QObject::connect(&list, &TV_listadoc::closeAsked, docs, &DocumentsController::closeDocumentAt);
    QObject::connect(&list, &TV_listadoc::saveAsked, docs, &DocumentsController::saveDocumentAt);
    ASSERT_EQ(list.chosen(), 2);
    list.findChild<QPushButton*>(QStringLiteral("B_anterior"))->click();
    dialogs.files = {file(QStringLiteral("listed.qrv"))};
    list.findChild<QPushButton*>(QStringLiteral("B_guardar"))->click();
    expectInStep({"Documento 1", "listed", "Documento 3"});
    list.findChild<QPushButton*>(QStringLiteral("B_primero"))->click();
    list.findChild<QPushButton*>(QStringLiteral("B_cerrar"))->click();
    expectInStep({"listed", "Documento 3"});
    list.findChild<QPushButton*>(QStringLiteral("B_primero"))->click();
    list.findChild<QPushButton*>(QStringLiteral("B_ok"))->click();
    EXPECT_EQ(w->documents().currentDocumentIndex(), 0);
    EXPECT_EQ(w->document().elementCount(), drawn);
}
