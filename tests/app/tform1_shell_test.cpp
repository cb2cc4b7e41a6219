// The application shell: the menu table with its shortcuts and enabling rules, the selection
// commands of "Edición", full screen, the command-line viewer document and help.
#include "app/helpwindow.h"
#include "app/testwindow.h"
#include "dialogs/tmaccon.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "view/clickengine.h"
#include "view/qtexts.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>

#include <map>

using namespace qorv;
using qorv::testing::WindowTest;

namespace {

struct ItemState {
    bool shown = false;
    bool enabled = false;
};

// Every item reachable from the menu bar, shown only when it and all its menus are.
void collect(QMenu* menu, bool shown, std::map<QString, ItemState>& items) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        const bool here = shown && a->isVisible();
        items[a->objectName()] = {here, a->isEnabled()};
        if (a->menu()) collect(a->menu(), here, items);
    }
}

std::map<QString, ItemState> menuItems(TForm1& w) {
    std::map<QString, ItemState> items;
    for (QAction* a : w.menuBar()->actions()) {
        items[a->objectName()] = {a->isVisible(), a->isEnabled()};
        if (a->menu()) collect(a->menu(), a->isVisible(), items);
    }
    return items;
}

// The commands that need no document. The options of a document are not among them: without one
// there are none to edit or save.
const QStringList kWithoutDocument = {
    "M_archivo",        "M_nuevo", "M_abrir", "M_recientes",  "M_opciones",     "M_idioma",
    "M_elim_recientes", "M_salir", "M_ayuda", "M_contenidos", "M_paginaactual", "M_acerca"};
// Commands that other parts of the program provide: they only must not be reachable without a
// document.
const QStringList kProvidedElsewhere = {"M_traza_desactivar", "M_PasoaPaso", "M_lista"};

class Shell : public WindowTest {
  protected:
    // What every item should be in the current state, beside the items listed here as enabled.
    void expectStates(const char* state, const QStringList& enabledHere) {
        const std::map<QString, ItemState> items = menuItems(*w);
        for (const QString& name : TForm1::menuItemNames()) {
            SCOPED_TRACE(std::string(state) + ": " + name.toStdString());
            ASSERT_TRUE(items.count(name)) << "not in the menus";
            const ItemState s = items.at(name);
            if (kProvidedElsewhere.contains(name)) continue;
            const QVariant tool = w->menuAction(name)->property("tool");
            bool expected = kWithoutDocument.contains(name) || enabledHere.contains(name);
            if (tool.isValid()) expected = isToolAvailable(tool.toInt());
            EXPECT_TRUE(s.shown);
            EXPECT_EQ(s.enabled, expected);
        }
    }
    void segment() {
        w->chooseTool(Tool::Segment);
        click(0, 0);
        click(120, 0);
        w->chooseTool(Tool::Move);
    }
};

// Items always there in a document, whatever its contents.
const QStringList kInAnyDocument = {
    "M_edicion",     "M_ver",         "M_construccion", "M_medir",          "M_transformar",
    "M_macros_menu", "M_documento",   "M_trazas",       "M_guardar",        "M_guardar_como",
    "M_cerrar",      "M_cerrar_todo", "M_doc_cerrar",   "M_doc_cerrartodo", "M_op_Gen",
    "M_op_asp",      "M_op_Let",      "M_op_orig",      "M_op_save",        "M_pegar_imagen",
    "M_dibtodo",     "TodosElem1",    "MuePan1",        "PantallaCom",      "M_AA",
    "M_botprin",     "M_botedi",      "M_bardoc",       "M_barest",         "M_modovisor",
    "M_macros",      "M_siguiente",   "M_anterior",     "M_primero",        "M_ultimo",
    "M_lista_doc",   "M_cortar",      "M_copiar",       "M_export_dib",     "M_export_dxf",
    "M_export_svg",  "M_export_pdf",  "M_export_tikz",  "M_export_web",     "Imprimir1",
    "M_print_btm",   "M_confimp",     "M_copia_port"};

} // namespace

TEST_F(Shell, EveryMenuItemHasItsShortcut) {
    const std::pair<const char*, const char*> keys[] = {
        {"M_nuevo", "Ctrl+N"},      {"M_abrir", "Ctrl+O"},     {"M_guardar", "Ctrl+S"},
        {"M_cerrar", "Ctrl+F4"},    {"Imprimir1", "Ctrl+P"},   {"TodosElem1", "F8"},
        {"M_PasoaPaso", "F2"},      {"M_lista", "F3"},         {"M_anim", "Shift+A"},
        {"M_undo", "Ctrl+Z"},       {"M_redo", "Ctrl+Y"},      {"M_cortar", "Ctrl+X"},
        {"M_copiar", "Ctrl+C"},     {"M_pegar", "Ctrl+V"},     {"M_seltodo", "Ctrl+A"},
        {"M_editelem", "Ctrl+E"},   {"M_inbitmap", "Ctrl+B"},  {"M_Texto", "Ctrl+T"},
        {"M_dibtodo", "Ctrl+R"},    {"M_Lugar_G", "Ctrl+L"},   {"M_N_parametro", "Ctrl+Shift+P"},
        {"M_N_funcion", "Ctrl+F"},  {"M_iteracion", "Ctrl+I"}, {"M_macros", "Ctrl+M"},
        {"M_lista_doc", "F11"},     {"M_paginaactual", "F1"},  {"M_siguiente", "Ctrl+Tab"},
        {"M_primero", "Ctrl+Home"}, {"M_ultimo", "Ctrl+End"},  {"M_anterior", "Ctrl+Shift+Tab"}};
    for (const auto& [name, key] : keys) {
        QAction* a = w->menuAction(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(key))) << name;
    }
    // Every tool of the construction, measure and transformation menus is a menu item.
    for (int t : {Tool::Point, Tool::Segment, Tool::Conic, Tool::Locus, Tool::Slope, Tool::Grid,
                  Tool::Function, Tool::Inversion, Tool::Iteration, Tool::AlignmentCheck,
                  Tool::Zoom, Tool::Animation}) {
        int items = 0;
        for (QAction* a : w->findChildren<QAction*>())
            if (a->property("tool") == QVariant(t)) ++items;
        EXPECT_EQ(items, 1) << "tool " << t;
    }
    // Texts: tools without a text of their own show their prompt, the kinds their name.
    EXPECT_EQ(w->menuAction("M_Segmento")->text(), QStringLiteral("Segmento dados dos puntos"));
    EXPECT_EQ(w->menuAction("M_Lugar_G")->text(), QStringLiteral("Lugar Geométrico"));
    EXPECT_EQ(w->menuAction("Sel1")->text(), QStringLiteral("Mover, editar"));
    EXPECT_EQ(w->menuAction("M_selgrupo_3")->text(), QStringLiteral("segmento"));
    EXPECT_EQ(w->menuAction("M_construccion")->text(), QStringLiteral("&Construcción"));
}

TEST_F(Shell, ItemsAreEnabledByWhatTheDocumentAllows) {
    expectStates("empty document", kInAnyDocument);
    for (QAction* kind : w->menuAction("M_selgrupo")->menu()->actions())
        EXPECT_FALSE(kind->isEnabled());

    segment();
    Element* a = w->document().head;
    ASSERT_NE(a, nullptr);
    a->selected = 1;
    w->canvas().redraw();
    expectStates("selection",
                 kInAnyDocument + QStringList{"M_undo", "M_borrar", "M_seltodo", "M_selgrupo",
                                              "M_selgrupos", "M_selpadres", "M_selhijos",
                                              "M_elimtodo"});
    // The kinds with something left to select: the other point and the segment.
    emit w->menuAction("M_selgrupo")->menu()->aboutToShow();
    EXPECT_TRUE(w->menuAction(QStringLiteral("M_selgrupo_%1").arg(Kind::Point))->isEnabled());
    EXPECT_TRUE(w->menuAction(QStringLiteral("M_selgrupo_%1").arg(Kind::Segment))->isEnabled());
    EXPECT_FALSE(w->menuAction(QStringLiteral("M_selgrupo_%1").arg(Kind::Circle))->isEnabled());
    // "Borrar" only with the move tool.
    w->chooseTool(Tool::Point);
    a->selected = 1;
    w->canvas().redraw();
    EXPECT_FALSE(w->menuAction("M_borrar")->isEnabled());

    dialogs.answers = {UserDialogs::Answer::No};
    ASSERT_TRUE(w->documents().closeCurrent());
    const std::map<QString, ItemState> items = menuItems(*w);
    for (const QString& name : TForm1::menuItemNames()) {
        SCOPED_TRACE("no document: " + name.toStdString());
        const ItemState s = items.at(name);
        if (kWithoutDocument.contains(name))
            EXPECT_TRUE(s.shown && s.enabled);
        else
            EXPECT_FALSE(s.shown && s.enabled);
    }
}

TEST_F(Shell, SelectionCommandsAndDeleteAll) {
    segment();
    Document& doc = w->document();
    Element* a = doc.head;
    ASSERT_EQ(doc.elementCount(), 3);
    a->selected = 1;
    w->canvas().redraw(); // as a click that selects does
    w->menuAction("M_selhijos")->trigger();
    EXPECT_EQ(a->selected, 0);
    EXPECT_EQ(doc.tail->selected, 1); // the segment
    w->menuAction("M_selpadres")->trigger();
    EXPECT_EQ(a->selected, 1);
    EXPECT_EQ(doc.selectedCount(), 2);                       // its two points
    emit w->menuAction("M_selgrupo")->menu()->aboutToShow(); // as opening it does
    w->menuAction(QStringLiteral("M_selgrupo_%1").arg(Kind::Segment))->trigger();
    EXPECT_EQ(doc.selectedCount(), 3);

    // "Borrar": the selected point goes with the segment built on it.
    doc.selectNone();
    a->selected = 1;
    w->canvas().redraw();
    w->menuAction("M_borrar")->trigger();
    EXPECT_EQ(doc.elementCount(), 1);
    w->edit().undo();
    ASSERT_EQ(w->document().elementCount(), 3);

    // "Eliminar Todo": one undo step, the move tool, no traces left.
    w->chooseTool(Tool::Segment);
    w->document().traceList.push_back(w->document().tail);
    w->menuAction("M_elimtodo")->trigger();
    EXPECT_EQ(w->document().head, nullptr);
    EXPECT_TRUE(w->document().traceList.empty());
    EXPECT_EQ(w->currentTool(), Tool::Move);
    EXPECT_FALSE(w->menuAction("M_elimtodo")->isEnabled());
    w->edit().undo();
    EXPECT_EQ(w->document().elementCount(), 3);
}

TEST_F(Shell, FullScreenIsLeftWithEscapeAndTheBarsFollowTheirItems) {
    w->menuAction("PantallaCom")->trigger();
    ASSERT_TRUE(w->isFullScreenMode());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(w->isFullScreenMode());
    EXPECT_FALSE(w->menuAction("PantallaCom")->isChecked());

    w->menuAction("M_barest")->trigger();
    EXPECT_FALSE(w->statusBar()->isVisible());
    w->menuAction("M_barest")->trigger();
    EXPECT_TRUE(w->statusBar()->isVisible());
    w->menuAction("M_botprin")->trigger();
    EXPECT_FALSE(w->toolBars().mainBar()->isVisible());
}

TEST_F(Shell, ADocumentSavedInViewerModeStartsInViewerModeAtItsSize) {
    Document doc;
    SaveOptions options;
    options.viewerMode = true;
    options.window = {10, 10, 420, 560, 0};
    ASSERT_TRUE(saveDocument(doc, file("viewer.qrv").toStdString(), options));
    TForm1 viewer;
    viewer.openCommandLine(QLatin1Char('"') + file("viewer.qrv") + QLatin1Char('"'));
    EXPECT_TRUE(viewer.viewerMode());
    EXPECT_TRUE(viewer.menuAction("M_modovisor")->isChecked());
    EXPECT_EQ(viewer.geometry().size(), QSize(560, 420));
    EXPECT_EQ(viewer.session().documents().count(), 1);
    // An ordinary document does not.
    ASSERT_TRUE(saveDocument(doc, file("plain.qrv").toStdString()));
    TForm1 plain;
    plain.openCommandLine(file("plain.qrv"));
    EXPECT_FALSE(plain.viewerMode());
}

// Every tool has a page, and its anchor is on that page, in both languages.
TEST(Help, EveryToolHasAPageWithItsAnchorInBothLanguages) {
    for (const char* code : {"es", "en"}) {
        for (int tool = 0; tool < ToolCount; ++tool) {
            const HelpTopic topic = helpTopic(tool);
            QFile page(QStringLiteral(QORV_SOURCE_DIR "/help/%1/%2")
                           .arg(QLatin1String(code), QLatin1String(topic.page)));
            ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << code << " " << topic.page;
            const QString html = QString::fromUtf8(page.readAll());
            if (*topic.anchor) {
                EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(topic.anchor)))
                    << code << " tool " << tool << " " << topic.page << "#" << topic.anchor;
            }
        }
        for (const QString& page : helpPages())
            EXPECT_TRUE(QFile::exists(QStringLiteral(QORV_SOURCE_DIR "/help/%1/").arg(code) + page))
                << code << " " << page.toStdString();
    }
    EXPECT_EQ(QString::fromLatin1(helpTopic(Tool::Move).page), QStringLiteral("index.html"));
    EXPECT_EQ(QString::fromLatin1(helpTopic(Tool::Segment).anchor), QStringLiteral("segmento"));
}

TEST_F(Shell, F1InTheSegmentToolOpensTheSegmentPageInTheLanguageShown) {
    struct BuiltInTextsAfter {
        ~BuiltInTextsAfter() { uiText().fillBuiltInTexts(); }
    } restore;
    w->help().setFolder(QStringLiteral(QORV_SOURCE_DIR "/help"));
    w->chooseTool(Tool::Segment);
    QTest::keyClick(w.get(), Qt::Key_F1);
    ASSERT_NE(w->help().window(), nullptr);
    QTextBrowser* b = w->help().window()->browser();
    EXPECT_TRUE(w->help().window()->isVisible());
    EXPECT_TRUE(b->source().path().endsWith(QStringLiteral("/es/construir.html")));
    EXPECT_EQ(b->source().fragment(), QStringLiteral("segmento"));
    EXPECT_EQ(b->documentTitle(), QStringLiteral("Construcción"));
    EXPECT_EQ(w->help().window()->windowTitle(), QStringLiteral("Ayuda de QORV"));

    ASSERT_TRUE(
        loadLanguage(QStringLiteral("English"), QStringLiteral(QORV_SOURCE_DIR "/languages")));
    w->applyLanguageTexts();
    w->chooseTool(Tool::Segment);
    QTest::keyClick(w.get(), Qt::Key_F1);
    EXPECT_TRUE(b->source().path().endsWith(QStringLiteral("/en/construir.html")));
    EXPECT_EQ(b->source().fragment(), QStringLiteral("segmento"));
    EXPECT_EQ(b->documentTitle(), QStringLiteral("Construction"));
    EXPECT_EQ(w->help().window()->windowTitle(), QStringLiteral("QORV Help"));
    EXPECT_EQ(w->menuAction("M_Segmento")->text(), QStringLiteral("Segment between two points"));

    // The move tool: the getting-started page; no pages at all: the message.
    w->chooseTool(Tool::Move);
    w->menuAction("M_paginaactual")->trigger();
    EXPECT_TRUE(b->source().path().endsWith(QStringLiteral("/en/index.html")));

    // A third-party language takes the English help, whatever Qt language it names; kind names
    // that read "Punto" and "Recta" take the Spanish one.
    const std::pair<const char*, const char*> languages[] = {
        {"1=point\n2=droite\n2064=fr\n", "/en/index.html"},
        {"1= Punto \n2=RECTA\n2064=en\n", "/es/index.html"}};
    for (const auto& [file, page] : languages) {
        QFile lng(dir.filePath(QStringLiteral("Otro.lng")));
        ASSERT_TRUE(lng.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lng.write(file);
        lng.close();
        ASSERT_TRUE(loadLanguage(QStringLiteral("Otro"), dir.path()));
        w->applyLanguageTexts();
        w->menuAction("M_paginaactual")->trigger();
        EXPECT_TRUE(b->source().path().endsWith(QString::fromLatin1(page))) << file;
    }
    TForm1 other;
    other.prompts().setMessageSink([this](const QString& m) { messages << m; });
    other.help().setFolder(dir.filePath(QStringLiteral("nothing")));
    other.help().showCurrentTopic();
    EXPECT_EQ(other.help().window(), nullptr);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], text(Msg::NoHelpFile));
}

// The help window opens below the menu bar and the tool bars, and closes with its own button.
TEST_F(Shell, HelpOpensBelowTheMenusAndClosesWithItsButton) {
    w->help().setFolder(QStringLiteral(QORV_SOURCE_DIR "/help"));
    w->move(w->screen()->availableGeometry().topLeft());
    w->menuAction("M_contenidos")->trigger();
    HelpWindow* help = w->help().window();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    const int menusBottom = w->centralWidget()->mapToGlobal(QPoint(0, 0)).y();
    EXPECT_GE(help->frameGeometry().top(), menusBottom);
    EXPECT_TRUE(w->screen()->availableGeometry().contains(help->frameGeometry().topLeft()));
    auto* close = help->findChild<QPushButton*>(QStringLiteral("B_cerrar"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), text(Msg::CloseCaption));
    close->click();
    EXPECT_FALSE(help->isVisible());
}

// The macro window has a help button, and F1 in it opens the page on macros, usable while the
// window is open; the help stays when it closes.
TEST_F(Shell, TheMacroWindowsHelpButtonAndF1OpenTheMacroPage) {
    w->help().setFolder(QStringLiteral(QORV_SOURCE_DIR "/help"));
    bool ran = false;
    w->macros().setDialogHook([&](TMacCon& d) {
        ran = true;
        d.show();
        auto* help = d.findChild<QPushButton*>(QStringLiteral("B_ayuda"));
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->text(), text(Msg::HelpButton));
        help->click();
        ASSERT_NE(w->help().window(), nullptr);
        EXPECT_TRUE(w->help().window()->isVisible());
        EXPECT_TRUE(w->help().window()->browser()->source().path().endsWith(
            QStringLiteral("/macros.html")));
        // A modal dialog leaves only its own windows usable: the help is one of them.
        EXPECT_EQ(w->help().window()->parentWidget(), &d);
        w->help().window()->close();
        QApplication::setActiveWindow(&d);
        ASSERT_EQ(QApplication::activeWindow(), &d);
        QTest::keyClick(&d, Qt::Key_F1);
        EXPECT_TRUE(w->help().window()->isVisible());
        d.hide();
    });
    w->menuAction("M_macros")->trigger();
    ASSERT_TRUE(ran);
    ASSERT_NE(w->help().window(), nullptr);
    EXPECT_EQ(w->help().window()->parentWidget(), w.get());
    EXPECT_TRUE(w->help().window()->isVisible());
}
