// The main window, a shell: it builds the window (menu bar, tool bars, document bar, status bar
// and the drawing canvas in the middle), makes the feature controllers and wires them to the
// editor session, whose signals say what changed. The state lives in the session and the
// controllers; the window keeps only how it is shown (bars, full screen, placement).
#pragma once

#include "app/commands.h"
#include "app/controllers/animationcontroller.h"
#include "app/controllers/calculatorcontroller.h"
#include "app/controllers/documentscontroller.h"
#include "app/controllers/editcontroller.h"
#include "app/controllers/elementdialogscontroller.h"
#include "app/controllers/exportcontroller.h"
#include "app/controllers/helpcontroller.h"
#include "app/controllers/iterationcontroller.h"
#include "app/controllers/languagecontroller.h"
#include "app/controllers/macrocontroller.h"
#include "app/controllers/optionscontroller.h"
#include "app/controllers/selectioncontroller.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "app/toolbars.h"
#include "app/windowcontext.h"
#include "app/windowframe.h"
#include "app/windowrequests.h"
#include "settings/registry.h"
#include "view/qtexts.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTabBar;
class QToolBar;

namespace qorv {

class TForm1 : public QMainWindow, private CanvasOwner {
    Q_OBJECT
  public:
    // `startOptions`: the options file as start-up already read it (read afresh without).
    // `session`: the editor session the window shows (one of its own without).
    explicit TForm1(QWidget* parent = nullptr, const OptionsFileContent* startOptions = nullptr,
                    EditorSession* session = nullptr);
    ~TForm1() override;

    // ---- the parts
    EditorSession& session() { return session_; }
    // Every command's action (commands.h).
    Commands& commands() { return *commands_; }
    Prompts& prompts() { return *prompts_; }
    DrawingCanvas& canvas() { return *canvas_; }
    const DrawingCanvas& canvas() const { return *canvas_; }
    ToolBars& toolBars() { return *toolBars_; }
    DocumentsController& documents() { return *documents_; }
    EditController& edit() { return *edit_; }
    SelectionController& selection() { return *selection_; }
    ExportController& exporter() { return *export_; }
    OptionsController& options() { return *optionsCtl_; }
    LanguageController& language() { return *language_; }
    HelpController& help() { return *help_; }
    CalculatorController& calculator() { return *calc_; }
    IterationController& iteration() { return *iteration_; }
    ElementDialogsController& elementDialogs() { return *elementDialogs_; }
    MacroController& macros() { return *macros_; }
    AnimationController& animationFeatures() { return *anim_; }
    // What every dialog is given, and what answers the tools' requests.
    WindowContext& dialogContext() { return *context_; }
    WindowRequests& toolRequests() { return *requests_; }

    // The current document; an empty stand-in while no document is open.
    Document& document() { return session_.document(); }
    ProgramOptions& programOptions() { return session_.programOptions(); }
    CreationOptions& creationOptions() override { return session_.creationOptions(); }
    HeldReferences& heldReferences() { return session_.heldReferences(); }
    // Start-up: the document named on the command line (a viewer document takes its window).
    void openCommandLine(const QString& commandLine);

    // ---- tools
    // Chooses a tool mode as its button or menu item does.
    void chooseTool(int tool, bool ownButton = false);
    int currentTool() const;
    // The colour the colour tools apply (and new elements take when so chosen).
    Color currentColour() const { return session_.creationOptions().chosenColor; }
    void setCurrentColour(Color c);
    // The tool's prompt or the description of what lies under the pointer.
    QString statusText() const;

    // ---- how the window shows ("&Ver", the placement)
    bool isFullScreenMode() const { return frame_->fullScreen(); }
    void setFullScreenMode(bool on);
    void setShowHidden(bool on);
    void setAntialiased(bool on);
    // "Mover la pantalla".
    void openMoveScreen();
    bool viewerMode() const { return session_.viewerMode(); }
    // "Modo visor": the flag and its menu item; the viewer's panel follows viewerModeChanged.
    void setViewerMode(bool on) { session_.setViewerMode(on); }
    // Shows the window as the placement read at start-up says: full screen, maximised or at the
    // stored rectangle.
    void showPlaced() { frame_->showPlaced(); }
    const registry::WindowPlacement& restoredPlacement() const { return frame_->placement(); }
    // Writes the placement to the settings store (not in viewer mode); a store that cannot be
    // written is reported once.
    void saveWindowPlacement();
    // Shows the texts of the UI text table again: menus, hints, status bar, caption.
    void applyLanguageTexts();
    void recordUndoStep() override { session_.recordUndoStep(); }

    // The document bar "Barra de documento" and the "&Documento" menu.
    QTabBar* documentTabs() const { return documents_->tabs(); }
    QComboBox* documentCombo() const { return documents_->combo(); }
    QToolBar* documentBar() const { return documentBar_; }
    QMenu* documentMenu() const { return documentMenu_; }
    QMenu* recentMenu() const { return documents_->recentMenu(); }
    QMenu* optionsMenu() const { return optionsMenu_; }
    QAction* showHiddenAction() const { return act(CommandId::ShowHidden); }
    QAction* antialiasAction() const { return act(CommandId::Antialias); }
    QAction* fullScreenAction() const { return act(CommandId::FullScreen); }
    QAction* undoAction() const { return act(CommandId::Undo); }
    QAction* redoAction() const { return act(CommandId::Redo); }
    QAction* cutAction() const { return act(CommandId::Cut); }
    QAction* copyAction() const { return act(CommandId::Copy); }
    QAction* pasteAction() const { return act(CommandId::Paste); }
    QAction* pastePictureAction() const { return act(CommandId::PastePicture); }
    QAction* languageAction() const { return act(CommandId::Language); }
    QAction* macrosAction() const { return act(CommandId::Macros); }
    QAction* generalOptionsAction() const { return act(CommandId::GeneralOptions); }
    QAction* appearanceAction() const { return act(CommandId::AppearanceOptions); }
    QAction* fontsAction() const { return act(CommandId::FontOptions); }
    QAction* saveOptionsAction() const { return act(CommandId::SaveOptions); }
    QAction* originalOptionsAction() const { return act(CommandId::OriginalOptions); }

    // ---- the menu bar (tform1_menus.cpp)
    // One table gives every menu and item of the menu bar; this is the order of its items (one
    // entry per item, submenus included; the kinds of "Seleccionar grupo" last).
    static QStringList menuItemNames();
    // A menu item (or a submenu's own action) by its component name; null when there is none.
    QAction* menuAction(const QString& objectName) const;
    // Enables and shows the items as the current document (or the lack of one) allows.
    void updateMenuStates();
    // A row of the menu table (tform1_menus.cpp).
    struct MenuRow;

  signals:
    // Undo, redo and paste switch to the move/edit tool; the tool machine listens to this.
    void editCommandStarted();

  protected:
    // The window's close box, Alt+F4 and "Salir": every modified document is asked about first.
    void closeEvent(QCloseEvent* event) override;

  private:
    // The session: the window's own unless one was given.
    std::unique_ptr<EditorSession> ownSession_;
    EditorSession& session_;
    std::unique_ptr<Prompts> prompts_;

    // The session's signals reach the window's parts.
    void followSession();
    // The window's own commands: "Salir", the view toggles, "Redibujar", "Macros...".
    void bindCommands();
    QAction* act(CommandId id) const { return commands_->action(id); }
    void buildDocumentBar();
    // The options read at start-up reach the bars.
    void applyStartOptions();
    // The options as the window shows them now: bars, full screen, window.
    void takeWindowOptions(ProgramOptions& options);
    // Without a document the bars, the menus that need one and the drawing area go.
    void showNoDocument(bool none);
    void updateTitle();
    void updateStatusUnits();
    // A toggle item shows a state without running its command again.
    static void setCheckedQuietly(QAction* action, bool on);
    bool noDocumentOpen() const { return documents_->noDocumentOpen(); }

    // CanvasOwner.
    void setStatusText(const QString& text) override;
    void toolChosen(int tool) override;
    void redrawn() override;
    void drawingAreaResized() override { documents_->drawingAreaResized(); }

    Commands* commands_ = nullptr;
    DrawingCanvas* canvas_ = nullptr;
    ToolBars* toolBars_ = nullptr;
    DocumentsController* documents_ = nullptr;
    EditController* edit_ = nullptr;
    SelectionController* selection_ = nullptr;
    ExportController* export_ = nullptr;
    OptionsController* optionsCtl_ = nullptr;
    LanguageController* language_ = nullptr;
    HelpController* help_ = nullptr;
    std::unique_ptr<WindowContext> context_;
    WindowRequests* requests_ = nullptr;
    CalculatorController* calc_ = nullptr;
    IterationController* iteration_ = nullptr;
    ElementDialogsController* elementDialogs_ = nullptr;
    MacroController* macros_ = nullptr;
    AnimationController* anim_ = nullptr;
    QLabel* statusText_ = nullptr;  // the tool's prompt, what lies under the pointer
    QLabel* statusUnits_ = nullptr; // the document's length and angle units
    QToolBar* documentBar_ = nullptr;
    QList<QWidget*> hiddenPanels_; // what the no-document state hid, to be shown again
    WindowFrame* frame_ = nullptr; // full screen and the placement

    // The menu bar (tform1_menus.cpp).
    static const std::vector<MenuRow>& menuRows();
    void buildMenus();
    // Connects the commands carried out in tform1_menus.cpp, the tools and the bars' items.
    void bindShellCommands();
    void applyMenuTexts();  // tool prompts and kind names as item texts
    void updateKindItems(); // the items of "Seleccionar grupo"
    QMenu* documentMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    bool editMenuOpen_ = false;    // "&Edición" is open: its items show what they can do now
    QHash<QString, QMenu*> menus_; // the menus of the menu table by name
};

} // namespace qorv
