// The main window's options: the "Opciones" menu, saving the options and starting again, the
// built-in options, the length assignment through the dialog, and the window's placement in the
// settings store.
#include "app/testwindow.h"
#include "app/tform1.h"
#include "construction/builder.h"
#include "construction/create.h"
#include "dialogs/top_general.h"
#include "dialogs/tv_selidioma.h"
#include "geometry/recalc.h"
#include "model/docfile_samples.h"
#include "settings/language.h"
#include "settings/optionsfile.h"
#include "settings/registry.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <fstream>

using namespace qorv;
using qorv::testing::TestWindow;

namespace {

// Every test starts without an options file and with an empty settings store, and leaves
// none behind for the tests after it.
class Options : public ::testing::Test {
  protected:
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
    static void clean() {
        const QString file = optionsFilePath();
        if (QFileInfo(file).isDir())
            QDir(file).removeRecursively();
        else
            QFile::remove(file);
        auto store = registry::open();
        const QString storeFile = store->fileName();
        store.reset();
        if (QFileInfo(storeFile).isDir()) QDir(storeFile).removeRecursively();
        registry::open()->clear();
        registry::forgetReportedFailure();
    }
    static void answerYes(TestWindow& t) {
        t.dialogs.onYesNo = [](const QString&) { return true; };
    }
};

} // namespace

TEST_F(Options, TheOptionsMenuSitsInTheFileMenu) {
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    ASSERT_NE(w.optionsMenu(), nullptr);
    EXPECT_EQ(w.optionsMenu()->title(), QStringLiteral("Opciones"));
    QStringList items;
    for (QAction* a : w.optionsMenu()->actions())
        if (!a->isSeparator()) items << a->text();
    EXPECT_EQ(items, (QStringList{QStringLiteral("Opciones generales..."),
                                  QStringLiteral("Aspecto de los elementos..."),
                                  QStringLiteral("Tipos de Letra..."), QStringLiteral("Idioma..."),
                                  QStringLiteral("Cargar opciones originales"),
                                  QStringLiteral("Guardar opciones"),
                                  QStringLiteral("Eliminar lista de recientes")}));
    // A submenu of "&Archivo", above "Salir".
    QStringList file;
    for (QAction* a : w.menuBar()->actions().front()->menu()->actions())
        if (!a->isSeparator()) file << a->text();
    const qsizetype at = file.indexOf(QStringLiteral("Opciones"));
    ASSERT_GE(at, 0);
    ASSERT_LT(at + 1, file.size());
    EXPECT_EQ(file.at(at + 1), QStringLiteral("Salir"));
}

TEST_F(Options, AMissingFileGivesTheBuiltInOptionsAndIsWrittenAtOnce) {
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    EXPECT_FALSE(w.options().fromFile());
    ASSERT_TRUE(QFileInfo::exists(w.options().filePath()));
    ProgramOptions read;
    EXPECT_EQ(readOptionsFile(QFile::encodeName(w.options().filePath()).toStdString(), read),
              OptionsFileStatus::Read);
    const QSize screen = w.canvas().screenSize();
    EXPECT_TRUE(read == builtInOptions(screen.width(), screen.height()));
    // A damaged file is replaced the same way.
    {
        std::ofstream f(QFile::encodeName(w.options().filePath()).toStdString(), std::ios::trunc);
        f << "QORV not an options file";
    }
    TestWindow againWindow({.shown = false, .freshSettings = false});
    TForm1& again = *againWindow.w;
    EXPECT_FALSE(again.options().fromFile());
    EXPECT_EQ(readOptionsFile(QFile::encodeName(w.options().filePath()).toStdString(), read),
              OptionsFileStatus::Read);
    TestWindow thirdWindow({.shown = false, .freshSettings = false});
    TForm1& third = *thirdWindow.w;
    EXPECT_TRUE(third.options().fromFile());
}

TEST_F(Options, TheWindowTakesTheOptionsStartUpReadWithoutReadingTheFileAgain) {
    ProgramOptions saved = builtInOptions(1024, 768);
    saved.decimals = 5;
    saved.language = "Castellano";
    ASSERT_TRUE(writeOptionsFile(QFile::encodeName(optionsFilePath()).toStdString(), saved));
    ProgramLanguageHost language(defaultLanguageDialogs(nullptr));
    ASSERT_TRUE(language.optionsFile().read);
    // Gone after the language was settled: a second read would find nothing.
    ASSERT_TRUE(QFile::remove(optionsFilePath()));
    TForm1 w(nullptr, &language.optionsFile());
    EXPECT_TRUE(w.options().fromFile());
    EXPECT_EQ(w.programOptions().decimals, 5);
    EXPECT_FALSE(QFileInfo::exists(optionsFilePath()));
}

TEST_F(Options, SavedOptionsGiveTheNextStartsNewDocumentTheSameUnitsColoursAndFonts) {
    FontRecord numbers{"Courier New", rgb(10, 200, 30), 14, 1, 0, 0, 0};
    {
        TestWindow wWindow({.shown = false, .freshSettings = false});
        TForm1& w = *wWindow.w;
        answerYes(wWindow);
        Document& doc = w.document();
        doc.lengthUnit = LengthUnit::Mm;
        doc.angleUnit = AngleUnit::Deg;
        doc.pixelsPerUnit = 25;
        doc.coordinateSystem = 1;
        doc.background = rgb(255, 255, 255);
        doc.hiddenColor = rgb(1, 1, 1);
        doc.kindColors[Kind::Circle] = rgb(0, 99, 0);
        doc.kindShapes[Kind::Segment] = LineStyle::Dashed;
        doc.fonts[FontSlot::Numbers] = numbers;
        w.programOptions().decimals = 5;
        // "No" writes nothing.
        wWindow.dialogs.onYesNo = [](const QString& q) {
            EXPECT_EQ(q, QStringLiteral("¿ Guardar las opciones actuales ?"));
            return false;
        };
        EXPECT_FALSE(w.options().save());
        answerYes(wWindow);
        EXPECT_TRUE(w.options().save());
        // The document's options became the defaults for new documents at once.
        w.documents().newDocument();
        EXPECT_EQ(w.document().lengthUnit, LengthUnit::Mm);
    }
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    ASSERT_TRUE(w.options().fromFile());
    const Document& doc = w.document();
    EXPECT_EQ(doc.lengthUnit, LengthUnit::Mm);
    EXPECT_EQ(doc.angleUnit, AngleUnit::Deg);
    EXPECT_DOUBLE_EQ(doc.pixelsPerUnit, 25);
    EXPECT_EQ(doc.coordinateSystem, 1);
    EXPECT_EQ(doc.background, rgb(255, 255, 255));
    EXPECT_EQ(doc.hiddenColor, rgb(1, 1, 1));
    EXPECT_EQ(doc.kindColors[Kind::Circle], rgb(0, 99, 0));
    EXPECT_EQ(doc.kindShapes[Kind::Segment], LineStyle::Dashed);
    EXPECT_TRUE(doc.fonts[FontSlot::Numbers] == numbers);
    EXPECT_EQ(w.creationOptions().decimals, 5);
    // A new point takes the saved colour of its kind.
    ElementRequest r;
    r.method = Method::FreePoint;
    Element* p = createElement(w.document(), r, w.creationOptions());
    EXPECT_EQ(p->color, doc.kindColors[Kind::Point]);
}

TEST_F(Options, TheBuiltInOptionsComeBackForTheProgramAndTheDocument) {
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    answerYes(wWindow);
    w.programOptions().pickDistance = 15;
    w.document().background = rgb(255, 255, 255);
    w.document().pixelsPerUnit = 12;
    w.document().modified = 0;
    w.chooseTool(Tool::Segment);
    w.options().restoreOriginal();
    EXPECT_EQ(w.programOptions().pickDistance, 8);
    EXPECT_EQ(w.canvas().interaction().options().detection, 8);
    EXPECT_EQ(w.document().background, 0);
    EXPECT_DOUBLE_EQ(w.document().pixelsPerUnit, 40);
    EXPECT_EQ(w.document().modified, 1);
    EXPECT_EQ(w.currentTool(), Tool::Move);
}

TEST_F(Options, AssignLengthMakesTwoPointsReadTheTarget) {
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    w.resize(900, 650);
    w.show();
    QApplication::processEvents();
    auto doc = std::make_unique<Document>();
    ConstructionBuilder mk(*doc);
    Element* a = mk.point(-100, 0);
    Element* b = mk.point(60, 0); // 160 world units
    doc->left = -300;
    doc->top = 200;
    w.documents().installDocument(std::move(doc));
    wWindow.dialogs.whenModal([](QDialog& d) {
        auto& g = static_cast<TOp_general&>(d);
        g.Ed_asiglon->setText(QStringLiteral("2*4"));
        g.But_asiglon->click();
    });
    w.options().openGeneral();
    EXPECT_EQ(w.currentTool(), Tool::LengthDistance);
    QWidget* area = w.canvas().drawingArea();
    for (const Element* e : {a, b}) {
        const ScreenPoint p = documentView(w.document()).toScreen(e->value[0], e->value[1]);
        const QPoint at(p.x, p.y);
        QMouseEvent move(QEvent::MouseMove, QPointF(at), area->mapToGlobal(QPointF(at)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(area, &move);
        QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, at);
    }
    EXPECT_DOUBLE_EQ(w.document().pixelsPerUnit, 20); // 160 world units read 8 cm
    EXPECT_EQ(w.currentTool(), Tool::Move);
    ConstructionBuilder(w.document()).make(Method::DistancePointPoint, a, b);
    recalcUpTo(w.document());
    EXPECT_NEAR(w.document().tail->value[0], 8, 1e-9);
    // One undo step brings the old scale back.
    w.edit().undo();
    EXPECT_DOUBLE_EQ(w.document().pixelsPerUnit, 40);
    EXPECT_EQ(w.document().elementCount(), 2);
}

TEST_F(Options, TheWindowPlacementIsWrittenOnClosingAndRestoredAtStart) {
    QRect placed;
    {
        TestWindow wWindow({.shown = false, .freshSettings = false});
        TForm1& w = *wWindow.w;
        w.show();
        w.setGeometry(120, 90, 700, 500);
        placed = w.normalGeometry();
        w.close();
    }
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    const registry::WindowPlacement& p = w.restoredPlacement();
    ASSERT_TRUE(p.hasRect);
    EXPECT_EQ(p.rect, placed);
    EXPECT_EQ(w.geometry(), placed);
    EXPECT_EQ(p.state, 0);
    EXPECT_FALSE(p.fullScreen);
    // In viewer mode nothing is written.
    w.setViewerMode(true);
    w.show();
    w.setGeometry(10, 20, 600, 400);
    w.close();
    TestWindow thirdWindow({.shown = false, .freshSettings = false});
    TForm1& third = *thirdWindow.w;
    EXPECT_EQ(third.restoredPlacement().rect, placed);
}

TEST_F(Options, MissingCoordinatesLeaveTheWindowAlone) {
    {
        auto store = registry::open();
        store->beginGroup(QLatin1String(registry::SettingsKey));
        store->setValue(QStringLiteral("mwLeft"), 5);
        store->setValue(QStringLiteral("mwTop"), 5);
        store->setValue(QStringLiteral("mwRight"), 505);
        store->endGroup();
    }
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    EXPECT_FALSE(w.restoredPlacement().hasRect);
    EXPECT_EQ(w.size(), QSize(900, 650));
}

TEST_F(Options, AStoreThatCannotBeWrittenIsReportedOnce) {
    // A folder where the store's file should be.
    const QString storeFile = registry::open()->fileName();
    QFile::remove(storeFile);
    ASSERT_TRUE(QDir().mkpath(storeFile));
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    QStringList& messages = wWindow.messages;
    w.saveWindowPlacement();
    w.saveWindowPlacement();
    w.close();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("error de escritura")));
}

TEST_F(Options, FilesOlderThanTheStoredFontsTakeThemFromTheOptions) {
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    w.prompts().setMessageSink([](const QString& m) { ADD_FAILURE() << m.toStdString(); });
    const FontRecord numbers{"Courier New", rgb(10, 200, 30), 14, 1, 0, 0, 0};
    w.programOptions().document.fonts[FontSlot::Numbers] = numbers;
    w.programOptions().document.kindColors[Kind::Circle] = rgb(0, 99, 0);
    w.programOptions().document.kindShapes[Kind::Segment] = LineStyle::Thick;
    QTemporaryDir dir;
    for (int32_t version : {500, 600}) {
        SCOPED_TRACE(version);
        const QString path = dir.filePath(QStringLiteral("v%1.qrv").arg(version));
        qorv::testing::FileBytes f;
        f.i32(version).i32(FileType::Document).section(version);
        std::ofstream(QFile::encodeName(path).toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(f.bytes().data()),
                   std::streamsize(f.bytes().size()));
        ASSERT_TRUE(w.documents().openDocument(path));
        const Document& doc = w.document();
        if (version < 600) {
            EXPECT_TRUE(doc.fonts[FontSlot::Numbers] == numbers);
            EXPECT_EQ(doc.kindColors[Kind::Circle], rgb(0, 99, 0));
            EXPECT_EQ(doc.kindShapes[Kind::Segment], LineStyle::Thick);
        } else { // the file's own
            EXPECT_EQ(doc.fonts[FontSlot::Numbers].name, "Arial");
            EXPECT_EQ(doc.kindColors[Kind::Circle], 4); // the fifth stored kind
        }
    }
}

TEST_F(Options, TheBarsAreSavedAndNoDocumentLeavesNothingToSave) {
    {
        TestWindow wWindow({.shown = false, .freshSettings = false});
        TForm1& w = *wWindow.w;
        answerYes(wWindow);
        w.show();
        w.menuAction(QStringLiteral("M_bardoc"))->trigger();
        w.menuAction(QStringLiteral("M_botedi"))->trigger();
        ASSERT_TRUE(w.documentBar()->isHidden());
        ASSERT_TRUE(w.options().save());
    }
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    answerYes(wWindow);
    w.show();
    EXPECT_TRUE(w.documentBar()->isHidden());
    EXPECT_TRUE(w.toolBars().editBar()->isHidden());
    EXPECT_FALSE(w.toolBars().mainBar()->isHidden());
    EXPECT_FALSE(w.menuAction(QStringLiteral("M_bardoc"))->isChecked());
    const QByteArray saved = [] {
        QFile f(optionsFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(saved.isEmpty());

    // Without a document: the grey stand-in and the bars hidden with it are nobody's options.
    ASSERT_TRUE(w.documents().closeCurrent());
    ASSERT_TRUE(w.documents().noDocumentOpen());
    for (const char* item : {"M_op_Gen", "M_op_asp", "M_op_Let", "M_op_orig", "M_op_save"}) {
        const QAction* a = w.menuAction(QString::fromLatin1(item));
        EXPECT_FALSE(a->isVisible() && a->isEnabled()) << item;
    }
    EXPECT_FALSE(w.options().save());
    QFile f(optionsFilePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), saved);
    // The bars come back with a document and are saved as the user left them.
    w.documents().newDocument();
    EXPECT_FALSE(w.toolBars().mainBar()->isHidden());
    ASSERT_TRUE(w.options().save());
    ProgramOptions read;
    ASSERT_EQ(readOptionsFile(QFile::encodeName(optionsFilePath()).toStdString(), read),
              OptionsFileStatus::Read);
    EXPECT_EQ(read.mainBarShown, 1);
    EXPECT_EQ(read.statusBarShown, 1);
    EXPECT_EQ(read.documentBarShown, 0);
    EXPECT_EQ(read.editBarShown, 0);
    EXPECT_EQ(read.document.background, 0);
}

TEST_F(Options, FullScreenGivesBackTheWindowAndThePlacementFromBeforeIt) {
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect normal(work.left() + 60, work.top() + 40, 500, 400);
    {
        TestWindow wWindow({.shown = false, .freshSettings = false});
        TForm1& w = *wWindow.w;
        w.show();
        w.setGeometry(normal);
        ASSERT_EQ(w.normalGeometry(), normal);
        w.setFullScreenMode(true);
        EXPECT_LT(w.geometry().top(), work.top()); // the menu bar above the screen
        w.setFullScreenMode(false);
        EXPECT_EQ(w.geometry(), normal);

        // Maximised: the placement written meanwhile and the window after are the ones before.
        w.showMaximized();
        QApplication::processEvents();
        w.setFullScreenMode(true);
        w.saveWindowPlacement();
        registry::WindowPlacement p =
            registry::readWindowPlacement(*registry::open(), work.topLeft());
        EXPECT_EQ(p.rect, normal);
        EXPECT_EQ(p.state, 2);
        EXPECT_TRUE(p.fullScreen);
        w.setFullScreenMode(false);
        QApplication::processEvents();
        EXPECT_GE(w.geometry().top(), work.top());
        // Closed in full screen once more.
        w.setFullScreenMode(true);
        w.close();
    }
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    EXPECT_EQ(w.restoredPlacement().rect, normal);
    EXPECT_TRUE(w.restoredPlacement().fullScreen);
}

TEST_F(Options, AStoredPlacementAboveTheScreenIsBroughtBack) {
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    {
        auto store = registry::open();
        registry::writeWindowPlacement(*store, QRect(work.left() + 30, work.top() - 17, 400, 300),
                                       0, false, work.topLeft());
    }
    TestWindow wWindow({.shown = false, .freshSettings = false});
    TForm1& w = *wWindow.w;
    ASSERT_TRUE(w.restoredPlacement().hasRect);
    EXPECT_EQ(w.restoredPlacement().rect, QRect(work.left() + 30, work.top(), 400, 300));
    w.showPlaced();
    EXPECT_GE(w.geometry().top(), work.top());
}
