// The main window's menu bar, built from one table: every menu and item in order, with its
// shortcut, what it runs and when it is enabled. Commands made elsewhere (documents, edit,
// options, macros, language) are placed by their object names; items whose commands other parts
// of the program provide are made here, disabled, for them to take over through menuAction().
// Also here: the "&Edición" selection commands, the bars and viewer mode of "&Ver", and help.
#include "app/tform1.h"

#include "app/helpwindow.h"
#include "geometry/recalc.h"
#include "macros/macrosession.h"
#include "model/langfile.h"
#include "model/uitext.h"
#include "settings/datafolders.h"
#include "settings/language.h"
#include "view/clickengine.h"
#include "view/qtexts.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace qorv {

namespace {
// The help goes by the rule for the language's texts, not by the code of Qt's translations: a
// language without help pages of its own gets the English ones.
QString helpLanguage() {
    return isSpanish(uiText()) ? QStringLiteral("es") : QStringLiteral("en");
}
} // namespace

// When an item is enabled (every rule but Always also needs an open document).
enum class TForm1::When : uint8_t {
    Always,        // with or without a document
    Document,      // an open document
    Undo,          // the history can go back
    Redo,          // ... or forward
    Selection,     // something is selected
    MoveSelection, // the move tool, and something selected
    // Something is selected, as the open menu shows it; closed, the item stays enabled so that
    // its shortcut works for a selection made without a menu update.
    SelectionShown,
    NotEmpty,  // the construction has elements
    Clipboard, // the internal clipboard holds elements
    Tool,      // the item's tool exists
    Web,       // the web address is known
    Later,     // made for a command that is not there yet: disabled
};

struct TForm1::MenuRow {
    enum Type : uint8_t { Item, Menu, Separator };
    Type type;
    const char* menu; // the menu it goes in; empty for the menu bar
    const char* name; // the object name, by which its text is found
    const char* keys; // shortcuts in portable text, "; " between alternatives
    int tool;         // the tool it chooses, or -1
    void (TForm1::*run)();
    When when;
};

namespace {

using Row = TForm1::MenuRow;

constexpr Row menu(const char* parent, const char* name) {
    return {Row::Menu, parent, name, "", -1, nullptr, TForm1::When::Document};
}
constexpr Row separator(const char* parent) {
    return {Row::Separator, parent, "", "", -1, nullptr, TForm1::When::Always};
}
constexpr Row tool(const char* parent, const char* name, int t, const char* keys = "") {
    return {Row::Item, parent, name, keys, t, nullptr, TForm1::When::Tool};
}
// An action made by the part of the window it belongs to.
constexpr Row made(const char* parent, const char* name, const char* keys,
                   TForm1::When when = TForm1::When::Document) {
    return {Row::Item, parent, name, keys, -1, nullptr, when};
}
constexpr Row later(const char* parent, const char* name, const char* keys = "") {
    return {Row::Item, parent, name, keys, -1, nullptr, TForm1::When::Later};
}

constexpr const char* File = "M_archivo";
constexpr const char* Options = "M_opciones";
constexpr const char* Edit = "M_edicion";
constexpr const char* Traces = "M_trazas";
constexpr const char* View = "M_ver";
constexpr const char* Build = "M_construccion";
constexpr const char* Measure = "M_medir";
constexpr const char* Transform = "M_transformar";
constexpr const char* Macros = "M_macros_menu";
constexpr const char* Docs = "M_documento";
constexpr const char* Help = "M_ayuda";

// The kinds "Seleccionar grupo" offers, one item each (the intersection holder is never drawn).
constexpr int kSelectableKinds[] = {
    Kind::Point,  Kind::Line,   Kind::Ray,      Kind::Segment,  Kind::Vector,      Kind::Polygon,
    Kind::Circle, Kind::Arc,    Kind::Conic,    Kind::Angle,    Kind::Locus,       Kind::Axes,
    Kind::Grid,   Kind::Number, Kind::Function, Kind::Equation, Kind::Coordinates, Kind::Property,
    Kind::Table,  Kind::Text,   Kind::Name,     Kind::Button,   Kind::Bitmap,      Kind::Iteration};

} // namespace

const std::vector<TForm1::MenuRow>& TForm1::menuRows() {
    using W = When;
    auto item = [](const char* parent, const char* name, const char* keys, void (TForm1::*run)(),
                   W when) { return Row{Row::Item, parent, name, keys, -1, run, when}; };
    static const std::vector<Row> rows = {
        menu("", File),
        made(File, "M_nuevo", "Ctrl+N", W::Always),
        made(File, "M_abrir", "Ctrl+O", W::Always),
        made(File, "M_recientes", "", W::Always),
        made(File, "M_guardar", "Ctrl+S"),
        made(File, "M_guardar_como", ""),
        separator(File),
        made(File, "M_export_dib", ""),
        made(File, "M_export_dxf", ""),
        made(File, "M_export_svg", ""),
        made(File, "M_export_pdf", ""),
        made(File, "M_export_tikz", ""),
        made(File, "M_export_web", ""),
        separator(File),
        made(File, "M_cerrar", "Ctrl+F4"),
        made(File, "M_cerrar_todo", ""),
        separator(File),
        made(File, "Imprimir1", "Ctrl+P"),
        made(File, "M_print_btm", ""),
        item(File, "M_confimp", "", &TForm1::pageSetup, W::Document),
        separator(File),
        menu(File, Options),
        // The options of the current document: without one there are none to edit or save.
        made(Options, "M_op_Gen", ""),
        made(Options, "M_op_asp", ""),
        made(Options, "M_op_Let", ""),
        made(Options, "M_idioma", "", W::Always),
        made(Options, "M_op_orig", ""),
        made(Options, "M_op_save", ""),
        separator(Options),
        made(Options, "M_elim_recientes", "", W::Always),
        separator(File),
        made(File, "M_salir", "", W::Always),

        menu("", Edit),
        made(Edit, "M_undo", "Ctrl+Z", W::Undo),
        made(Edit, "M_redo", "Ctrl+Y", W::Redo),
        separator(Edit),
        made(Edit, "M_cortar", "Ctrl+X", W::SelectionShown),
        made(Edit, "M_copiar", "Ctrl+C", W::SelectionShown),
        made(Edit, "M_pegar", "Ctrl+V", W::Clipboard),
        item(Edit, "M_borrar", "", &TForm1::deleteSelection, W::MoveSelection),
        separator(Edit),
        item(Edit, "M_seltodo", "Ctrl+A", &TForm1::selectAllElements, W::NotEmpty),
        menu(Edit, "M_selgrupo"), // one item per kind, added after the table
        item(Edit, "M_selgrupos", "", &TForm1::selectKindsDialog, W::NotEmpty),
        item(Edit, "M_selpadres", "", &TForm1::selectParentElements, W::Selection),
        item(Edit, "M_selhijos", "", &TForm1::selectChildElements, W::Selection),
        separator(Edit),
        made(Edit, "M_copia_port", ""),
        made(Edit, "M_pegar_imagen", ""),
        separator(Edit),
        tool(Edit, "Sel1", Tool::Move),
        tool(Edit, "M_editelem", Tool::EditElement, "Ctrl+E"),
        tool(Edit, "M_elimelem", Tool::DeleteElement),
        tool(Edit, "M_vernover", Tool::ToggleVisibility),
        item(Edit, "M_elimtodo", "", &TForm1::deleteAllElements, W::NotEmpty),
        separator(Edit),
        tool(Edit, "M_redefpun", Tool::RedefinePoint),
        tool(Edit, "M_Angulo", Tool::Angle),
        tool(Edit, "M_inbitmap", Tool::Bitmap, "Ctrl+B"),
        tool(Edit, "M_Texto", Tool::Text, "Ctrl+T"),
        tool(Edit, "M_N_tabla", Tool::Table),
        tool(Edit, "M_vernoverbot", Tool::ShowHideButton),
        tool(Edit, "M_movbot", Tool::MotionButton),
        separator(Edit),
        menu(Edit, Traces),
        tool(Traces, "M_traza", Tool::Trace),
        made(Traces, "M_traza_desactivar", ""),
        item(Traces, "M_dibtodo", "Ctrl+R", &TForm1::redrawAll, W::Document),

        menu("", View),
        made(View, "TodosElem1", "F8"),
        made(View, "M_PasoaPaso", "F2"),
        item(View, "M_lista", "F3", &TForm1::showConstructionList, W::Document),
        made(View, "MuePan1", ""),
        made(View, "PantallaCom", ""),
        separator(View),
        tool(View, "M_SelRot", Tool::RotateSelection),
        tool(View, "M_zoom", Tool::Zoom),
        tool(View, "M_anim", Tool::Animation, "Shift+A"),
        made(View, "M_AA", ""),
        separator(View),
        made(View, "M_botprin", ""),
        made(View, "M_botedi", ""),
        made(View, "M_bardoc", ""),
        made(View, "M_barest", ""),
        separator(View),
        made(View, "M_modovisor", ""),

        menu("", Build),
        tool(Build, "M_Punto", Tool::Point),
        tool(Build, "M_Punto_Inter", Tool::Intersection),
        tool(Build, "M_2_div_seg", Tool::Midpoint),
        separator(Build),
        tool(Build, "M_Segmento", Tool::Segment),
        tool(Build, "M_Poligono", Tool::Polygon),
        tool(Build, "M_Polireg", Tool::RegularPolygon),
        separator(Build),
        tool(Build, "M_Recta", Tool::Line),
        tool(Build, "M_Rayo", Tool::Ray),
        tool(Build, "M_vector", Tool::Vector),
        tool(Build, "M_vectorsuma", Tool::VectorSum),
        tool(Build, "M_Recta_Para", Tool::Parallel),
        tool(Build, "M_Recta_Perp", Tool::Perpendicular),
        tool(Build, "M_Mediatriz", Tool::PerpendicularBisector),
        tool(Build, "M_2_Sectriz", Tool::AngleBisector),
        separator(Build),
        tool(Build, "M_Conica", Tool::Conic),
        tool(Build, "M_Circunf", Tool::Circle),
        tool(Build, "M_Circ2pr", Tool::CircleRadius),
        tool(Build, "M_arco3p", Tool::Arc),
        separator(Build),
        tool(Build, "M_Lugar_G", Tool::Locus, "Ctrl+L"),

        menu("", Measure),
        tool(Measure, "M_N_longdist", Tool::LengthDistance),
        tool(Measure, "M_N_angulo", Tool::AngleMeasure),
        tool(Measure, "M_N_area", Tool::Area),
        tool(Measure, "M_N_pend", Tool::Slope),
        tool(Measure, "M_N_prop", Tool::Proportion),
        separator(Measure),
        tool(Measure, "M_N_ejes", Tool::Axes),
        tool(Measure, "M_N_cuadricula", Tool::Grid),
        tool(Measure, "M_N_ecoord", Tool::EquationOrCoordinates),
        tool(Measure, "M_puncoord", Tool::PointWithCoordinates),
        tool(Measure, "M_rep_pun", Tool::RepresentPoints),
        separator(Measure),
        tool(Measure, "M_N_calcular", Tool::Calculate),
        tool(Measure, "M_N_parametro", Tool::Parameter, "Ctrl+Shift+P"),
        tool(Measure, "M_N_funcion", Tool::Function, "Ctrl+F"),
        tool(Measure, "M_N_rep_fun", Tool::FunctionGraph),

        menu("", Transform),
        tool(Transform, "M_punto_desp", Tool::DisplacedPoint),
        tool(Transform, "M_Punto_Sim", Tool::CentralSymmetry),
        tool(Transform, "M_simax", Tool::AxialSymmetry),
        tool(Transform, "M_traslacion", Tool::Translation),
        tool(Transform, "M_giro", Tool::Rotation),
        tool(Transform, "M_homotecia", Tool::Homothety),
        tool(Transform, "M_inversion", Tool::Inversion),
        separator(Transform),
        tool(Transform, "M_iteracion", Tool::Iteration, "Ctrl+I"),
        separator(Transform),
        tool(Transform, "M_comp_par", Tool::ParallelCheck),
        tool(Transform, "M_comp_per", Tool::PerpendicularCheck),
        tool(Transform, "M_comp_pert", Tool::MembershipCheck),
        tool(Transform, "M_comp_eq", Tool::EquidistanceCheck),
        tool(Transform, "M_comp_3pa", Tool::AlignmentCheck),

        menu("", Macros),
        made(Macros, "M_macros", "Ctrl+M"),

        menu("", Docs),
        made(Docs, "M_siguiente", "Ctrl+Tab"),
        // With Shift held the platform reports the tab key as a back-tab.
        made(Docs, "M_anterior", "Ctrl+Shift+Tab; Ctrl+Shift+Backtab"),
        made(Docs, "M_primero", "Ctrl+Home"),
        made(Docs, "M_ultimo", "Ctrl+End"),
        separator(Docs),
        made(Docs, "M_doc_cerrar", ""),
        made(Docs, "M_doc_cerrartodo", ""),
        separator(Docs),
        made(Docs, "M_lista_doc", "F11"),
        separator(Docs), // the open documents follow

        menu("", Help),
        item(Help, "M_contenidos", "", &TForm1::showHelpContents, W::Always),
        item(Help, "M_paginaactual", "F1", &TForm1::showHelpTopic, W::Always),
        separator(Help),
        item(Help, "M_web", "", &TForm1::openWebPage, W::Web),
        item(Help, "M_acerca", "", &TForm1::showAbout, W::Always),
    };
    return rows;
}

QStringList TForm1::menuItemNames() {
    QStringList names;
    for (const MenuRow& row : menuRows())
        if (row.type != MenuRow::Separator && !names.contains(QString::fromLatin1(row.name)))
            names << QString::fromLatin1(row.name);
    for (int kind : kSelectableKinds)
        names << QStringLiteral("M_selgrupo_%1").arg(kind);
    return names;
}

void TForm1::createShellActions() {
    M_barest = new QAction(componentText(QStringLiteral("M_barest")), this);
    M_barest->setObjectName(QStringLiteral("M_barest"));
    M_barest->setCheckable(true);
    M_barest->setChecked(true);
    connect(M_barest, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    M_modovisor = new QAction(componentText(QStringLiteral("M_modovisor")), this);
    M_modovisor->setObjectName(QStringLiteral("M_modovisor"));
    M_modovisor->setCheckable(true);
    connect(M_modovisor, &QAction::toggled, this, &TForm1::setViewerMode);
}

void TForm1::buildMenus() {
    QHash<QString, QMenu*> menus;
    for (const MenuRow& row : menuRows()) {
        const QString name = QString::fromLatin1(row.name);
        QMenu* parent = *row.menu ? menus.value(QString::fromLatin1(row.menu)) : nullptr;
        Q_ASSERT(*row.menu == 0 || parent);
        if (row.type == MenuRow::Separator) {
            parent->addSeparator();
            continue;
        }
        if (row.type == MenuRow::Menu) {
            // A submenu made elsewhere ("Abrir recientes") is taken as it is.
            QMenu* m = findChild<QMenu*>(name, Qt::FindDirectChildrenOnly);
            if (!m) {
                m = new QMenu(componentText(name),
                              parent ? static_cast<QWidget*>(parent) : menuBar());
                m->setObjectName(name);
            }
            if (parent)
                parent->addMenu(m);
            else
                menuBar()->addMenu(m);
            m->menuAction()->setObjectName(name);
            menus.insert(name, m);
            menuActions_.insert(name, m->menuAction());
            if (name == QLatin1String(Edit)) {
                connect(m, &QMenu::aboutToShow, this, [this] { editMenuOpen_ = true; });
                connect(m, &QMenu::aboutToHide, this, [this] {
                    editMenuOpen_ = false;
                    updateMenuStates();
                });
            }
            // Items enabled by the selection follow it when the menu opens.
            connect(m, &QMenu::aboutToShow, this, &TForm1::updateMenuStates);
            continue;
        }
        if (QMenu* sub = findChild<QMenu*>(name, Qt::FindDirectChildrenOnly)) {
            parent->addMenu(sub);
            sub->menuAction()->setObjectName(name);
            menuActions_.insert(name, sub->menuAction());
            continue;
        }
        QAction* a = menuAction(name);
        if (!a) {
            a = new QAction(componentText(name), this);
            a->setObjectName(name);
            if (row.tool >= 0) {
                a->setProperty("tool", row.tool);
                a->setProperty("available", isToolAvailable(row.tool));
                const int t = row.tool;
                connect(a, &QAction::triggered, this,
                        [this, t] { chooseTool(t, t == Tool::Move); });
            } else if (row.run) {
                connect(a, &QAction::triggered, this, row.run);
            } else if (row.when == When::Later) {
                a->setEnabled(false); // until the part that provides it takes it over
            }
        }
        if (*row.keys) {
            a->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(row.keys)));
            // The shortcuts work in the whole window, the drawing area included.
            a->setShortcutContext(Qt::WindowShortcut);
        }
        parent->addAction(a);
        menuActions_.insert(name, a);
    }

    QMenu* groups = menus.value(QStringLiteral("M_selgrupo"));
    connect(groups, &QMenu::aboutToShow, this, &TForm1::updateKindItems);
    for (int kind : kSelectableKinds) {
        QAction* a = groups->addAction(qtext(uiText().kindName(kind)));
        a->setObjectName(QStringLiteral("M_selgrupo_%1").arg(kind));
        a->setProperty("kind", kind);
        connect(a, &QAction::triggered, this, [this, kind] {
            document().selectKind(ElementKind(kind), canvas_->showHidden());
            canvas_->redraw();
        });
    }

    fileMenu_ = menus.value(QString::fromLatin1(File));
    optionsMenu_ = menus.value(QString::fromLatin1(Options));
    editMenu_ = menus.value(QString::fromLatin1(Edit));
    viewMenu_ = menus.value(QString::fromLatin1(View));
    macrosMenu_ = menus.value(QString::fromLatin1(Macros));
    documentMenu_ = menus.value(QString::fromLatin1(Docs));
}

QAction* TForm1::menuAction(const QString& objectName) const {
    if (QAction* a = menuActions_.value(objectName)) return a;
    if (objectName.isEmpty()) return nullptr;
    for (QAction* a : findChildren<QAction*>(objectName))
        return a;
    if (auto* m = findChild<QMenu*>(objectName)) return m->menuAction();
    return nullptr;
}

void TForm1::updateMenuStates() {
    if (menuActions_.isEmpty()) return; // still being built
    const bool open = !noDocument_;
    const Document& doc = document();
    const bool selection = open && doc.selectedCount() > 0;
    auto enabled = [&](const MenuRow& row, const QAction* a) {
        if (row.when == When::Always) return true;
        if (!open) return false;
        switch (row.when) {
        case When::Undo:
            return canUndo(doc);
        case When::Redo:
            return canRedo(doc);
        case When::Selection:
            return selection;
        case When::MoveSelection:
            return selection && currentTool() == Tool::Move;
        case When::SelectionShown:
            return selection || !editMenuOpen_;
        case When::NotEmpty:
            return doc.head != nullptr;
        case When::Clipboard:
            return !clipboard_.empty();
        case When::Tool:
            return a->property("available").toBool();
        case When::Web:
            return !text(Msg::WebAddress).trimmed().isEmpty();
        case When::Later:
            return false;
        default:
            return true;
        }
    };
    // Without a document a menu shows only its items that need none, and only when it has some.
    QSet<QString> menusShown;
    if (open) menusShown << QStringLiteral("M_selgrupo"); // its items are the kinds
    for (const MenuRow& row : menuRows()) {
        if (row.type != MenuRow::Item) continue;
        QAction* a = menuAction(QString::fromLatin1(row.name));
        if (!a) continue;
        a->setVisible(open || row.when == When::Always);
        if (open || row.when == When::Always) menusShown << QString::fromLatin1(row.menu);
        // What other parts provide they enable themselves.
        if (row.when != When::Later) a->setEnabled(enabled(row, a));
    }
    menuActions_.value(QStringLiteral("M_selgrupo"))->setEnabled(open && doc.head != nullptr);
    // Its kinds are looked at when it opens; with nothing to select there is nothing to look at.
    if (!open || !doc.head) updateKindItems();
    for (const MenuRow& row : menuRows())
        if (row.type == MenuRow::Menu) {
            const QString name = QString::fromLatin1(row.name);
            menuAction(name)->setVisible(menusShown.contains(name));
        }
}

void TForm1::updateKindItems() {
    QMenu* groups = findChild<QMenu*>(QStringLiteral("M_selgrupo"));
    const bool open = !noDocument_;
    for (QAction* a : groups->actions())
        a->setEnabled(open && document().hasUnselectedSelectable(
                                  ElementKind(a->property("kind").toInt()), canvas_->showHidden()));
}

// ---- the texts ----------------------------------------------------------------------------------

void TForm1::applyMenuTexts() {
    // A tool item without a text of its own shows the tool's prompt.
    for (const MenuRow& row : menuRows())
        if (row.tool >= 0 && !uiText().componentText(row.name))
            if (QAction* a = menuAction(QString::fromLatin1(row.name)))
                a->setText(qtext(uiText().toolPrompt(row.tool)));
    // Items beyond the component table take their text from a message slot.
    const std::pair<const char*, int> slotItems[] = {{"M_export_svg", Msg::ExportSvgItem},
                                                     {"M_export_pdf", Msg::ExportPdfItem},
                                                     {"M_export_tikz", Msg::ExportTikzItem},
                                                     {"M_export_web", Msg::ExportWebItem}};
    for (const auto& [name, slot] : slotItems)
        if (QAction* a = menuAction(QString::fromLatin1(name))) a->setText(text(slot));
    if (QMenu* groups = findChild<QMenu*>(QStringLiteral("M_selgrupo")))
        for (QAction* a : groups->actions())
            a->setText(qtext(uiText().kindName(a->property("kind").toInt())));
    if (helpWindow_) {
        helpWindow_->applyTexts();
        helpWindow_->setFolder(helpFolder(), helpLanguage());
    }
}

// ---- "&Edición": selection and deletion -----------------------------------------------------

void TForm1::deleteSelection() {
    // As the Delete key does: the move tool, with something selected.
    if (currentTool() != Tool::Move || document().selectedCount() == 0) return;
    recordUndoStep();
    session_.replaceElements(ElementsChange::Delete, [](Document& doc) {
        doc.deleteSelected();
        recalcUpTo(doc);
        return true;
    });
}

void TForm1::selectAllElements() {
    document().selectAll();
    canvas_->redraw();
}

void TForm1::selectParentElements() {
    document().selectParents();
    canvas_->redraw();
}

void TForm1::selectChildElements() {
    document().selectChildren();
    canvas_->redraw();
}

void TForm1::selectKindsDialog() {
    beforeDialog();
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("TV_selgrupo"));
    dialog.setWindowTitle(QString(text(Msg::SelectGroup)).remove(QStringLiteral("...")));
    auto* layout = new QVBoxLayout(&dialog);
    std::vector<std::pair<int, QCheckBox*>> boxes;
    for (int kind : kSelectableKinds) {
        auto* box = new QCheckBox(qtext(uiText().kindName(kind)), &dialog);
        box->setObjectName(QStringLiteral("CB_kind_%1").arg(kind));
        layout->addWidget(box);
        boxes.emplace_back(kind, box);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(text(Msg::OkButton), QDialogButtonBox::AcceptRole);
    buttons->addButton(text(Msg::CancelButton), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    runDialog(dialog);
    if (dialog.result() != QDialog::Accepted) return;
    std::vector<ElementKind> kinds;
    for (const auto& [kind, box] : boxes)
        if (box->isChecked()) kinds.push_back(ElementKind(kind));
    document().selectKinds(kinds, canvas_->showHidden());
    canvas_->redraw();
}

void TForm1::deleteAllElements() {
    Document& doc = document();
    if (!doc.head) return;
    chooseTool(Tool::Move);
    recordUndoStep();
    canvas_->clearTrace();
    session_.replaceElements(ElementsChange::Delete, [](Document& d) {
        d.deleteAll(); // with the trace and animation lists
        return true;
    });
}

void TForm1::redrawAll() {
    canvas_->redrawWithoutTraces();
}

// ---- "&Ver": viewer mode ------------------------------------------------------------------------

void TForm1::setViewerMode(bool on) {
    session_.setViewerMode(on);
}

// ---- "A&yuda" -----------------------------------------------------------------------------------

QString TForm1::helpFolder() const {
    return helpFolder_.isEmpty() ? programDataFolder(QStringLiteral("help")) : helpFolder_;
}

void TForm1::setHelpFolder(const QString& folder) {
    helpFolder_ = folder;
    if (helpWindow_) helpWindow_->setFolder(helpFolder(), helpLanguage());
}

HelpWindow* TForm1::openHelp() {
    if (!helpWindow_) {
        helpWindow_ = new HelpWindow(this);
        if (!helpWindow_->setFolder(helpFolder(), helpLanguage())) {
            delete helpWindow_;
            helpWindow_ = nullptr;
        }
    }
    if (!helpWindow_) warn(text(Msg::NoHelpFile));
    return helpWindow_;
}

void TForm1::showHelpTopic() {
    const HelpTopic topic = helpTopic(currentTool());
    if (HelpWindow* w = openHelp())
        w->showTopic(QString::fromLatin1(topic.page), QString::fromLatin1(topic.anchor));
}

void TForm1::showHelpContents() {
    if (HelpWindow* w = openHelp()) w->showTopic(QStringLiteral("index.html"));
}

void TForm1::openWebPage() {
    const QString address = text(Msg::WebAddress).trimmed();
    if (!address.isEmpty()) QDesktopServices::openUrl(QUrl(address));
}

void TForm1::showAbout() {
    beforeDialog();
    QMessageBox box(
        QMessageBox::Information, text(Msg::AboutCaption),
        QStringLiteral("<b>QORV %1</b><p>%2</p>")
            .arg(QCoreApplication::applicationVersion(), text(Msg::AboutText).toHtmlEscaped()),
        QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("TV_acerca"));
    box.setIconPixmap(windowIcon().pixmap(64, 64));
    box.button(QMessageBox::Ok)->setText(text(Msg::OkButton));
    if (dialogHook_)
        dialogHook_(box);
    else
        box.exec();
}

} // namespace qorv
