#include "app/commands.h"

#include "model/uitext.h"
#include "settings/language.h"
#include "view/clickengine.h"
#include "view/qtexts.h"
#include "view/resources.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>

#include <cstring>
#include <vector>

namespace qorv {

namespace {

using C = CommandId;
using R = CommandRule;

constexpr CommandRow command(C id, const char* name, const char* keys = "", R rule = R::Document) {
    return {id, name, keys, rule, false, "", false, -1};
}
constexpr CommandRow toggle(C id, const char* name, const char* keys = "", const char* icon = "") {
    return {id, name, keys, R::Document, true, icon, false, -1};
}
constexpr CommandRow withIcon(CommandRow row, const char* icon, bool inMenu) {
    row.icon = icon;
    row.iconInMenu = inMenu;
    return row;
}
constexpr CommandRow withText(CommandRow row, int slot) {
    row.textSlot = slot;
    return row;
}

// The shortcuts of the tools that have one. A tool's item name is its menu place in the tool
// table; every other tool has an action without a name, placed by the tool bars only.
struct ToolKeys {
    int tool;
    const char* keys;
};
constexpr ToolKeys kToolKeys[] = {
    {Tool::EditElement, "Ctrl+E"}, {Tool::Bitmap, "Ctrl+B"},    {Tool::Text, "Ctrl+T"},
    {Tool::Animation, "Shift+A"},  {Tool::Locus, "Ctrl+L"},     {Tool::Parameter, "Ctrl+Shift+P"},
    {Tool::Function, "Ctrl+F"},    {Tool::Iteration, "Ctrl+I"},
};

std::vector<CommandRow> makeRows() {
    std::vector<CommandRow> rows = {
        withIcon(command(C::New, "M_nuevo", "Ctrl+N", R::Always), "B_doc_nuevo", true),
        command(C::Open, "M_abrir", "Ctrl+O", R::Always),
        withIcon(command(C::Save, "M_guardar", "Ctrl+S"), "B_doc_guardar", true),
        command(C::SaveAs, "M_guardar_como"),
        command(C::ExportDrawing, "M_export_dib"),
        command(C::ExportDxf, "M_export_dxf"),
        withText(command(C::ExportSvg, "M_export_svg"), Msg::ExportSvgItem),
        withText(command(C::ExportPdf, "M_export_pdf"), Msg::ExportPdfItem),
        withText(command(C::ExportTikz, "M_export_tikz"), Msg::ExportTikzItem),
        withText(command(C::ExportWeb, "M_export_web"), Msg::ExportWebItem),
        withIcon(command(C::Close, "M_cerrar", "Ctrl+F4"), "B_doc_cerrar", true),
        command(C::CloseAll, "M_cerrar_todo"),
        command(C::Print, "Imprimir1", "Ctrl+P"),
        command(C::PrintBitmap, "M_print_btm"),
        command(C::PageSetup, "M_confimp"),
        command(C::Exit, "M_salir", "", R::Always),
        // The options of the current document: without one there are none to edit or save.
        command(C::GeneralOptions, "M_op_Gen"),
        command(C::AppearanceOptions, "M_op_asp"),
        command(C::FontOptions, "M_op_Let"),
        command(C::Language, "M_idioma", "", R::Always),
        command(C::OriginalOptions, "M_op_orig"),
        command(C::SaveOptions, "M_op_save"),
        command(C::ClearRecent, "M_elim_recientes", "", R::Always),

        withIcon(command(C::Undo, "M_undo", "Ctrl+Z", R::Undo), "B_visor_undo", false),
        withIcon(command(C::Redo, "M_redo", "Ctrl+Y", R::Redo), "B_visor_redo", false),
        command(C::Cut, "M_cortar", "Ctrl+X", R::SelectionShown),
        command(C::Copy, "M_copiar", "Ctrl+C", R::SelectionShown),
        command(C::Paste, "M_pegar", "Ctrl+V", R::Clipboard),
        command(C::DeleteSelection, "M_borrar", "", R::MoveSelection),
        command(C::SelectAll, "M_seltodo", "Ctrl+A", R::NotEmpty),
        command(C::SelectKinds, "M_selgrupos", "", R::NotEmpty),
        command(C::SelectParents, "M_selpadres", "", R::Selection),
        command(C::SelectChildren, "M_selhijos", "", R::Selection),
        command(C::CopyDrawing, "M_copia_port"),
        command(C::PastePicture, "M_pegar_imagen"),
        command(C::DeleteAll, "M_elimtodo", "", R::NotEmpty),
        command(C::TracesOff, "M_traza_desactivar"),
        command(C::RedrawAll, "M_dibtodo", "Ctrl+R"),

        toggle(C::ShowHidden, "TodosElem1", "F8", "B_todoelem"),
        command(C::Replay, "M_PasoaPaso", "F2"),
        command(C::ConstructionList, "M_lista", "F3"),
        command(C::MoveScreen, "MuePan1"),
        toggle(C::FullScreen, "PantallaCom"),
        toggle(C::Antialias, "M_AA", "", "M_AA"),
        toggle(C::MainBar, "M_botprin"),
        toggle(C::EditBar, "M_botedi"),
        toggle(C::DocumentBar, "M_bardoc"),
        toggle(C::StatusBar, "M_barest"),
        toggle(C::ViewerMode, "M_modovisor"),

        command(C::Macros, "M_macros", "Ctrl+M"),

        command(C::NextDocument, "M_siguiente", "Ctrl+Tab"),
        // With Shift held the platform reports the tab key as a back-tab.
        command(C::PreviousDocument, "M_anterior", "Ctrl+Shift+Tab; Ctrl+Shift+Backtab"),
        command(C::FirstDocument, "M_primero", "Ctrl+Home"),
        command(C::LastDocument, "M_ultimo", "Ctrl+End"),
        // "&Documento" has items of its own for closing, so that a language can name them apart
        // from those of "&Archivo".
        command(C::DocumentClose, "M_doc_cerrar"),
        command(C::DocumentCloseAll, "M_doc_cerrartodo"),
        command(C::DocumentList, "M_lista_doc", "F11"),

        command(C::HelpContents, "M_contenidos", "", R::Always),
        command(C::HelpTopic, "M_paginaactual", "F1", R::Always),
        command(C::WebPage, "M_web", "", R::Web),
        command(C::About, "M_acerca", "", R::Always),
    };
    Q_ASSERT(rows.size() == size_t(C::FirstTool));
    for (int tool = 0; tool < ToolCount; ++tool) {
        CommandRow row{toolCommand(tool), "", "", R::Tool, true, toolInfo(tool).button, false, -1};
        const MenuPlace& place = toolInfo(tool).menu;
        if (place.reach == ToolReach::MenuItem) row.name = place.item;
        for (const ToolKeys& keys : kToolKeys)
            if (keys.tool == tool) row.keys = keys.keys;
        rows.push_back(row);
    }
    return rows;
}

// The tool whose action stands for `tool`: the macro modes are chosen through "Aplicar macro",
// the parametric colours through the colour buttons.
int shownTool(int tool) {
    switch (tool) {
    case Tool::MacroInitial:
    case Tool::MacroFinal:
        return Tool::ApplyMacro;
    case Tool::ParamLineColour:
        return Tool::LineColour;
    case Tool::ParamFillColour:
        return Tool::FillColour;
    default:
        return tool;
    }
}

} // namespace

std::span<const CommandRow> Commands::rows() {
    static const std::vector<CommandRow> rows = makeRows();
    return rows;
}

const CommandRow& Commands::row(CommandId id) {
    return rows()[size_t(id)];
}

CommandId Commands::byName(const char* name) {
    for (const CommandRow& r : rows())
        if (*r.name && std::strcmp(r.name, name) == 0) return r.id;
    return CommandId::Count;
}

Commands::Commands(QObject* parent) : QObject(parent) {
    tools_ = new QActionGroup(this);
    tools_->setExclusive(true);
    for (const CommandRow& r : rows()) {
        // Children of the window, where shortcuts and the language's texts look for them.
        auto* a = new QAction(parent);
        const QString name = QString::fromLatin1(r.name);
        a->setObjectName(name);
        a->setText(r.textSlot >= 0 ? text(r.textSlot) : componentText(name));
        a->setCheckable(r.checkable);
        if (*r.keys) {
            a->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(r.keys)));
            // The shortcuts work in the whole window, the drawing area included.
            a->setShortcutContext(Qt::WindowShortcut);
        }
        if (*r.icon) {
            a->setIcon(toolIcon(QString::fromLatin1(r.icon)));
            a->setIconVisibleInMenu(r.iconInMenu);
        }
        if (const int tool = toolOf(r.id); tool >= 0) {
            a->setProperty("tool", tool);
            a->setEnabled(isToolAvailable(tool));
            tools_->addAction(a);
        }
        actions_[size_t(r.id)] = a;
    }
    showTool(Tool::Move);
    applyTexts();
}

QAction* Commands::toolAction(int tool) const {
    return tool >= 0 && tool < ToolCount ? action(toolCommand(tool)) : nullptr;
}

void Commands::showTool(int tool) {
    // Checking shows the tool without choosing it (tools are chosen by `triggered`); the action's
    // signals must flow, or the group would keep the tool before it checked too.
    if (QAction* a = toolAction(shownTool(tool)); a && !a->isChecked()) a->setChecked(true);
}

bool Commands::enabledBy(CommandRule rule, const CommandState& s, int tool) const {
    if (rule == R::Always) return true;
    if (!s.document) return false;
    switch (rule) {
    case R::Undo:
        return s.undo;
    case R::Redo:
        return s.redo;
    case R::Selection:
        return s.selection;
    case R::MoveSelection:
        return s.selection && s.moveTool;
    case R::SelectionShown:
        return s.selection || !s.editMenuOpen;
    case R::NotEmpty:
        return s.notEmpty;
    case R::Clipboard:
        return s.clipboard;
    case R::Tool:
        return isToolAvailable(tool);
    case R::Web:
        return s.web;
    default:
        return true;
    }
}

void Commands::applyState(const CommandState& s) {
    for (const CommandRow& r : rows()) {
        QAction* a = actions_[size_t(r.id)];
        const bool shown = s.document || r.rule == R::Always;
        const bool enabled = enabledBy(r.rule, s, toolOf(r.id));
        if (a->isVisible() != shown) a->setVisible(shown);
        if (a->isEnabled() != enabled) a->setEnabled(enabled);
    }
}

void Commands::applyTexts() {
    for (const CommandRow& r : rows()) {
        QAction* a = actions_[size_t(r.id)];
        if (r.textSlot >= 0) a->setText(text(r.textSlot));
        const int tool = toolOf(r.id);
        if (tool < 0) continue;
        // A tool's hint is its prompt; its item shows the prompt when the language gives the
        // item no text of its own.
        const QString prompt = qtext(uiText().toolPrompt(tool));
        if (!*r.name || !uiText().componentText(r.name)) a->setText(prompt);
        a->setToolTip(tool == Tool::ApplyMacro ? componentText(QStringLiteral("B_MacCon"))
                                               : prompt);
    }
}

} // namespace qorv
