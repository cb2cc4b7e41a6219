// The commands of the main window: one typed id and one QAction each, made here from one table
// with the action's object name (by which the language files give its text), shortcut, icon and
// the rule that enables it. Menus, tool bars and the viewer panel only place these actions; the
// feature that carries a command out connects to its action's triggered signal.
#pragma once

#include "view/tooltable.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <span>

class QAction;
class QActionGroup;

namespace qorv {

enum class CommandId : uint16_t {
    // "&Archivo"
    New,
    Open,
    Save,
    SaveAs,
    ExportDrawing,
    ExportDxf,
    ExportSvg,
    ExportPdf,
    ExportTikz,
    ExportWeb,
    Close,
    CloseAll,
    Print,
    PrintBitmap,
    PageSetup,
    Exit,
    // "Opciones"
    GeneralOptions,
    AppearanceOptions,
    FontOptions,
    Language,
    OriginalOptions,
    SaveOptions,
    ClearRecent,
    // "&Edición"
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    DeleteSelection,
    SelectAll,
    SelectKinds,
    SelectParents,
    SelectChildren,
    CopyDrawing,
    PastePicture,
    DeleteAll,
    TracesOff,
    RedrawAll,
    // "&Ver"
    ShowHidden,
    Replay,
    ConstructionList,
    MoveScreen,
    FullScreen,
    Antialias,
    MainBar,
    EditBar,
    DocumentBar,
    StatusBar,
    ViewerMode,
    // "&Macros"
    Macros,
    // "&Documento"
    NextDocument,
    PreviousDocument,
    FirstDocument,
    LastDocument,
    DocumentClose,
    DocumentCloseAll,
    DocumentList,
    // "A&yuda"
    HelpContents,
    HelpTopic,
    WebPage,
    About,
    // Choosing a tool, one per tool number: toolCommand(tool).
    FirstTool,
    LastTool = FirstTool + ToolCount - 1,
    Count
};

constexpr int CommandCount = int(CommandId::Count);

constexpr CommandId toolCommand(int tool) {
    return CommandId(int(CommandId::FirstTool) + tool);
}
// The tool a command chooses, or -1.
constexpr int toolOf(CommandId id) {
    return id >= CommandId::FirstTool && id <= CommandId::LastTool
               ? int(id) - int(CommandId::FirstTool)
               : -1;
}

// When a command can run. Every rule but Always also needs an open document.
enum class CommandRule : uint8_t {
    Always,
    Document,
    Undo,          // the history can go back
    Redo,          // ... or forward
    Selection,     // something is selected
    MoveSelection, // the move tool, and something selected
    // Something is selected, while the "&Edición" menu is open; closed, the command stays enabled
    // so that its shortcut works whatever the last update saw.
    SelectionShown,
    NotEmpty,  // the construction has elements
    Clipboard, // the internal clipboard holds elements
    Tool,      // the tool has a click sequence
    Web,       // the web address is known
};

// What the rules look at, gathered by whoever owns the facts.
struct CommandState {
    bool document = false;
    bool undo = false;
    bool redo = false;
    bool selection = false;
    bool moveTool = false;
    bool notEmpty = false;
    bool clipboard = false;
    bool web = false;
    bool editMenuOpen = false;
};

struct CommandRow {
    CommandId id;
    const char* name; // the object name, by which the language files find its text
    const char* keys; // shortcuts in portable text, "; " between alternatives
    CommandRule rule;
    bool checkable;
    const char* icon; // the tool-bar icon, or ""
    bool iconInMenu;  // menus show the icon too
    int textSlot;     // a message slot for the text when the component table has none, or -1
};

class Commands : public QObject {
    Q_OBJECT
  public:
    // The actions are children of `parent` (the main window), where shortcuts and the language's
    // texts find them.
    explicit Commands(QObject* parent);

    QAction* action(CommandId id) const { return actions_[size_t(id)]; }
    QAction* toolAction(int tool) const;
    // Every tool action, exclusive: the chosen tool's is checked.
    QActionGroup* tools() const { return tools_; }
    static std::span<const CommandRow> rows();
    static const CommandRow& row(CommandId id);
    // The command whose action has this object name; Count when none.
    static CommandId byName(const char* name);

    // The chosen tool's action shows checked (without choosing it again). The macro tools show on
    // "Aplicar macro", the parametric colours on their colours.
    void showTool(int tool);
    // Enabled states from the rules; only actions whose state differs are touched.
    void applyState(const CommandState& state);
    bool enabledBy(CommandRule rule, const CommandState& state, int tool) const;
    // Texts that the component table does not give: a tool's prompt (item and hint) and the
    // message slots. Runs after the language's component texts were applied.
    void applyTexts();

  private:
    std::array<QAction*, CommandCount> actions_{};
    QActionGroup* tools_ = nullptr;
};

} // namespace qorv
