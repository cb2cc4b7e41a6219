// The main window's menu bar, built from one table that places the commands' actions (made in
// commands.cpp) in their menus; the enabled states the commands' rules give, recomputed when the
// document, the selection or the tool changes.
#include "app/tform1.h"

#include "app/commands.h"

#include "app/helpwindow.h"
#include "macros/macrosession.h"
#include "model/langfile.h"
#include "model/uitext.h"
#include "settings/datafolders.h"
#include "settings/language.h"
#include "view/clickengine.h"
#include "view/qtexts.h"

#include <QAction>
#include <QActionGroup>
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

struct TForm1::MenuRow {
    enum Type : uint8_t { Item, Menu, Separator };
    Type type;
    const char* menu; // the menu it goes in; empty for the menu bar
    CommandId command;
    const char* name; // of a menu
};

namespace {

using Row = TForm1::MenuRow;
using C = CommandId;

constexpr Row menu(const char* parent, const char* name) {
    return {Row::Menu, parent, C::Count, name};
}
constexpr Row separator(const char* parent) {
    return {Row::Separator, parent, C::Count, ""};
}
constexpr Row item(const char* parent, CommandId id) {
    return {Row::Item, parent, id, ""};
}
constexpr Row tool(const char* parent, int t) {
    return {Row::Item, parent, toolCommand(t), ""};
}

constexpr const char* File = "M_archivo";
constexpr const char* Options = "M_opciones";
constexpr const char* Recent = "M_recientes";
constexpr const char* Edit = "M_edicion";
constexpr const char* Groups = "M_selgrupo";
constexpr const char* Traces = "M_trazas";
constexpr const char* View = "M_ver";
constexpr const char* Build = "M_construccion";
constexpr const char* Measure = "M_medir";
constexpr const char* Transform = "M_transformar";
constexpr const char* Macros = "M_macros_menu";
constexpr const char* Docs = "M_documento";
constexpr const char* Help = "M_ayuda";

} // namespace

const std::vector<TForm1::MenuRow>& TForm1::menuRows() {
    static const std::vector<Row> rows = {
        menu("", File),
        item(File, C::New),
        item(File, C::Open),
        menu(File, Recent),
        item(File, C::Save),
        item(File, C::SaveAs),
        separator(File),
        item(File, C::ExportDrawing),
        item(File, C::ExportDxf),
        item(File, C::ExportSvg),
        item(File, C::ExportPdf),
        item(File, C::ExportTikz),
        item(File, C::ExportWeb),
        separator(File),
        item(File, C::Close),
        item(File, C::CloseAll),
        separator(File),
        item(File, C::Print),
        item(File, C::PrintBitmap),
        item(File, C::PageSetup),
        separator(File),
        menu(File, Options),
        item(Options, C::GeneralOptions),
        item(Options, C::AppearanceOptions),
        item(Options, C::FontOptions),
        item(Options, C::Language),
        item(Options, C::OriginalOptions),
        item(Options, C::SaveOptions),
        separator(Options),
        item(Options, C::ClearRecent),
        separator(File),
        item(File, C::Exit),

        menu("", Edit),
        item(Edit, C::Undo),
        item(Edit, C::Redo),
        separator(Edit),
        item(Edit, C::Cut),
        item(Edit, C::Copy),
        item(Edit, C::Paste),
        item(Edit, C::DeleteSelection),
        separator(Edit),
        item(Edit, C::SelectAll),
        menu(Edit, Groups), // one item per kind, added after the table
        item(Edit, C::SelectKinds),
        item(Edit, C::SelectParents),
        item(Edit, C::SelectChildren),
        separator(Edit),
        item(Edit, C::CopyDrawing),
        item(Edit, C::PastePicture),
        separator(Edit),
        tool(Edit, Tool::Move),
        tool(Edit, Tool::EditElement),
        tool(Edit, Tool::DeleteElement),
        tool(Edit, Tool::ToggleVisibility),
        item(Edit, C::DeleteAll),
        separator(Edit),
        tool(Edit, Tool::RedefinePoint),
        tool(Edit, Tool::Angle),
        tool(Edit, Tool::Bitmap),
        tool(Edit, Tool::Text),
        tool(Edit, Tool::Table),
        tool(Edit, Tool::ShowHideButton),
        tool(Edit, Tool::MotionButton),
        separator(Edit),
        menu(Edit, Traces),
        tool(Traces, Tool::Trace),
        item(Traces, C::TracesOff),
        item(Traces, C::RedrawAll),

        menu("", View),
        item(View, C::ShowHidden),
        item(View, C::Replay),
        item(View, C::ConstructionList),
        item(View, C::MoveScreen),
        item(View, C::FullScreen),
        separator(View),
        tool(View, Tool::RotateSelection),
        tool(View, Tool::Zoom),
        tool(View, Tool::Animation),
        item(View, C::Antialias),
        separator(View),
        item(View, C::MainBar),
        item(View, C::EditBar),
        item(View, C::DocumentBar),
        item(View, C::StatusBar),
        separator(View),
        item(View, C::ViewerMode),

        menu("", Build),
        tool(Build, Tool::Point),
        tool(Build, Tool::Intersection),
        tool(Build, Tool::Midpoint),
        separator(Build),
        tool(Build, Tool::Segment),
        tool(Build, Tool::Polygon),
        tool(Build, Tool::RegularPolygon),
        separator(Build),
        tool(Build, Tool::Line),
        tool(Build, Tool::Ray),
        tool(Build, Tool::Vector),
        tool(Build, Tool::VectorSum),
        tool(Build, Tool::Parallel),
        tool(Build, Tool::Perpendicular),
        tool(Build, Tool::PerpendicularBisector),
        tool(Build, Tool::AngleBisector),
        separator(Build),
        tool(Build, Tool::Conic),
        tool(Build, Tool::Circle),
        tool(Build, Tool::CircleRadius),
        tool(Build, Tool::Arc),
        separator(Build),
        tool(Build, Tool::Locus),

        menu("", Measure),
        tool(Measure, Tool::LengthDistance),
        tool(Measure, Tool::AngleMeasure),
        tool(Measure, Tool::Area),
        tool(Measure, Tool::Slope),
        tool(Measure, Tool::Proportion),
        separator(Measure),
        tool(Measure, Tool::Axes),
        tool(Measure, Tool::Grid),
        tool(Measure, Tool::EquationOrCoordinates),
        tool(Measure, Tool::PointWithCoordinates),
        tool(Measure, Tool::RepresentPoints),
        separator(Measure),
        tool(Measure, Tool::Calculate),
        tool(Measure, Tool::Parameter),
        tool(Measure, Tool::Function),
        tool(Measure, Tool::FunctionGraph),

        menu("", Transform),
        tool(Transform, Tool::DisplacedPoint),
        tool(Transform, Tool::CentralSymmetry),
        tool(Transform, Tool::AxialSymmetry),
        tool(Transform, Tool::Translation),
        tool(Transform, Tool::Rotation),
        tool(Transform, Tool::Homothety),
        tool(Transform, Tool::Inversion),
        separator(Transform),
        tool(Transform, Tool::Iteration),
        separator(Transform),
        tool(Transform, Tool::ParallelCheck),
        tool(Transform, Tool::PerpendicularCheck),
        tool(Transform, Tool::MembershipCheck),
        tool(Transform, Tool::EquidistanceCheck),
        tool(Transform, Tool::AlignmentCheck),

        menu("", Macros),
        item(Macros, C::Macros),

        menu("", Docs),
        item(Docs, C::NextDocument),
        item(Docs, C::PreviousDocument),
        item(Docs, C::FirstDocument),
        item(Docs, C::LastDocument),
        separator(Docs),
        item(Docs, C::DocumentClose),
        item(Docs, C::DocumentCloseAll),
        separator(Docs),
        item(Docs, C::DocumentList),
        separator(Docs), // the open documents follow

        menu("", Help),
        item(Help, C::HelpContents),
        item(Help, C::HelpTopic),
        separator(Help),
        item(Help, C::WebPage),
        item(Help, C::About),
    };
    return rows;
}

QStringList TForm1::menuItemNames() {
    QStringList names;
    for (const MenuRow& row : menuRows()) {
        if (row.type == MenuRow::Menu) names << QString::fromLatin1(row.name);
        if (row.type == MenuRow::Item)
            names << QString::fromLatin1(Commands::row(row.command).name);
    }
    for (int kind : SelectionController::selectableKinds())
        names << QStringLiteral("M_selgrupo_%1").arg(kind);
    return names;
}

void TForm1::bindShellCommands() {
    connect(commands_->tools(), &QActionGroup::triggered, this, [this](QAction* a) {
        const int t = a->property("tool").toInt();
        if (t == Tool::ApplyMacro)
            macros_->openDialog(); // which chooses the macro tools
        else if (t == Tool::FillColour && toolBars_->parametric())
            chooseTool(Tool::ParamFillColour, true);
        else
            chooseTool(t, true);
    });

    // The bars follow their items, and their items the bars (viewer mode hides them).
    QAction* statusItem = commands_->action(C::StatusBar);
    statusItem->setChecked(true);
    connect(statusItem, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    const std::pair<CommandId, QToolBar*> bars[] = {{C::MainBar, toolBars_->mainBar()},
                                                    {C::EditBar, toolBars_->editBar()},
                                                    {C::DocumentBar, documentBar_}};
    for (const auto& [id, bar] : bars) {
        // The bar's own toggle follows every way the bar is shown or hidden, also before the
        // window is shown; the item follows that toggle.
        QAction* a = commands_->action(id);
        setCheckedQuietly(a, bar->toggleViewAction()->isChecked());
        connect(a, &QAction::toggled, bar, &QWidget::setVisible);
        connect(bar->toggleViewAction(), &QAction::toggled, a,
                [a](bool on) { setCheckedQuietly(a, on); });
    }
    connect(commands_->action(C::ViewerMode), &QAction::toggled, this, &TForm1::setViewerMode);
}

void TForm1::buildMenus() {
    QHash<QString, QMenu*> menus;
    for (const MenuRow& row : menuRows()) {
        QMenu* parent = *row.menu ? menus.value(QString::fromLatin1(row.menu)) : nullptr;
        Q_ASSERT(*row.menu == 0 || parent);
        if (row.type == MenuRow::Separator) {
            parent->addSeparator();
        } else if (row.type == MenuRow::Item) {
            parent->addAction(commands_->action(row.command));
        } else {
            const QString name = QString::fromLatin1(row.name);
            // A submenu made elsewhere ("Abrir recientes") is taken as it is.
            QMenu* m = name == QLatin1String(Recent) ? documents_->recentMenu() : nullptr;
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
            if (name == QLatin1String(Edit)) {
                connect(m, &QMenu::aboutToShow, this, [this] { editMenuOpen_ = true; });
                connect(m, &QMenu::aboutToHide, this, [this] {
                    editMenuOpen_ = false;
                    updateMenuStates();
                });
            }
            // The items look at the document once more as their menu opens.
            connect(m, &QMenu::aboutToShow, this, &TForm1::updateMenuStates);
        }
    }

    QMenu* groups = menus.value(QString::fromLatin1(Groups));
    connect(groups, &QMenu::aboutToShow, this, &TForm1::updateKindItems);
    for (int kind : SelectionController::selectableKinds()) {
        QAction* a = groups->addAction(qtext(uiText().kindName(kind)));
        a->setObjectName(QStringLiteral("M_selgrupo_%1").arg(kind));
        a->setProperty("kind", kind);
        connect(a, &QAction::triggered, selection_, [this, kind] { selection_->selectKind(kind); });
    }
    menus_ = menus;
    bindShellCommands();

    optionsMenu_ = menus.value(QString::fromLatin1(Options));
    documentMenu_ = menus.value(QString::fromLatin1(Docs));
}

QAction* TForm1::menuAction(const QString& objectName) const {
    const QByteArray name = objectName.toLatin1();
    if (const CommandId id = Commands::byName(name.constData()); id != CommandId::Count)
        return commands_->action(id);
    if (QMenu* m = menus_.value(objectName)) return m->menuAction();
    if (objectName.isEmpty()) return nullptr;
    return findChild<QAction*>(objectName); // an entry of "Seleccionar grupo"
}

void TForm1::updateMenuStates() {
    if (menus_.isEmpty()) return; // still being built
    const bool open = !noDocumentOpen();
    const Document& doc = document();
    CommandState s;
    s.document = open;
    s.undo = open && canUndo(doc);
    s.redo = open && canRedo(doc);
    s.selection = open && doc.selectedCount() > 0;
    s.moveTool = currentTool() == Tool::Move;
    s.notEmpty = open && doc.head != nullptr;
    s.clipboard = !session_.clipboard().empty();
    s.web = HelpController::webPageKnown();
    s.editMenuOpen = editMenuOpen_;
    commands_->applyState(s);

    // Without a document a menu shows only its items that need none, and only when it has some.
    QSet<QString> menusShown;
    if (open) menusShown << QString::fromLatin1(Groups); // its items are the kinds
    for (const MenuRow& row : menuRows())
        if (row.type == MenuRow::Item &&
            (open || Commands::row(row.command).rule == CommandRule::Always))
            menusShown << QString::fromLatin1(row.menu);
    menus_.value(QString::fromLatin1(Groups))->menuAction()->setEnabled(s.notEmpty);
    // Its kinds are looked at when it opens; with nothing to select there is nothing to look at.
    if (!s.notEmpty) updateKindItems();
    for (auto it = menus_.cbegin(); it != menus_.cend(); ++it) {
        const bool shown = menusShown.contains(it.key()) || it.key() == QLatin1String(Recent);
        if (it.value()->menuAction()->isVisible() != shown)
            it.value()->menuAction()->setVisible(shown);
    }
}

void TForm1::updateKindItems() {
    QMenu* groups = menus_.value(QString::fromLatin1(Groups));
    const bool open = !noDocumentOpen();
    for (QAction* a : groups->actions())
        a->setEnabled(open && selection_->kindSelectable(a->property("kind").toInt()));
}

// ---- the texts ----------------------------------------------------------------------------------

void TForm1::applyMenuTexts() {
    commands_->applyTexts();
    if (QMenu* groups = findChild<QMenu*>(QStringLiteral("M_selgrupo")))
        for (QAction* a : groups->actions())
            a->setText(qtext(uiText().kindName(a->property("kind").toInt())));
}

} // namespace qorv
