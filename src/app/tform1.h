// The main window: owns the document, the program's options, the actions and the menus, the
// tool bars, the status bar and the dialogs. The drawing canvas in its middle draws and edits the
// current document; installDocument is where the current document is swapped.
#pragma once

#include "app/drawingcanvas.h"
#include "app/toolbars.h"
#include "dialogs/optionshost.h"
#include "model/clipboard.h"
#include "model/document.h"
#include "model/undo.h"
#include "settings/options.h"
#include "settings/registry.h"

#include <QMainWindow>
#include <QRect>

#include <functional>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;

namespace qorv {

class TForm1 : public QMainWindow, private CanvasOwner, private OptionsHost {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- documents
    // Start-up: the whole command line names the document to open (surrounding double quotes
    // are removed). Without one, or when it cannot be opened, a new empty document is made.
    void openCommandLine(const QString& commandLine);
    // Reads a document file and makes it current; reports the problem and returns false when the
    // file cannot be read.
    bool openDocumentFile(const QString& path);
    // A new empty document with the world origin at the centre of the drawing area.
    void newDocument();
    // Makes `doc` the current document: recalculates, places the view and redraws.
    void installDocument(std::unique_ptr<Document> doc);
    Document& document() { return *document_; }

    // ---- the parts
    DrawingCanvas& canvas() { return *canvas_; }
    const DrawingCanvas& canvas() const { return *canvas_; }
    ToolBars& toolBars() { return *toolBars_; }

    // ---- tools
    // Chooses a tool mode as its button or menu item does.
    void chooseTool(int tool, bool ownButton = false);
    int currentTool() const;
    CreationOptions& creationOptions() override { return creation_; }
    // The colour the colour tools apply (and new elements take when so chosen).
    Color currentColour() const { return creation_.chosenColor; }
    void setCurrentColour(Color c);
    // The tool's prompt or the description of what lies under the pointer.
    QString statusText() const;
    // Dialogs opened by a double click with the move tool (calculator, function, parameter,
    // represented points) and by the editing tools; they hook in here.
    void setElementDialogHook(std::function<void(int tool, Element&)> hook) {
        elementDialogHook_ = std::move(hook);
    }
    // The font dialog of the font tool, replaceable (tests answer without a dialog): returns
    // whether a font was chosen.
    void setFontDialogHook(std::function<bool(FontRecord&)> hook) {
        fontDialogHook_ = std::move(hook);
    }

    // ---- "&Ver"
    bool isFullScreenMode() const { return fullScreen_; }
    void setFullScreenMode(bool on);
    void setShowHidden(bool on);
    void setAntialiased(bool on);
    // "Mover la pantalla".
    void openMoveScreen();
    QAction* showHiddenAction() const { return TodosElem1; }
    QAction* antialiasAction() const { return M_AA; }
    QAction* fullScreenAction() const { return PantallaCom; }

    // ---- "&Edición": undo, redo and the clipboard (tform1_edit.cpp)
    // Every operation that changes the document calls this first, before changing anything.
    // The working list stays the same objects, so references into it remain valid.
    void recordUndoStep() override;
    // "Deshacer" and "Rehacer": the references registered in heldReferences() are found again
    // by id in the list installed.
    void undo();
    void redo();
    // "Copiar": the selection's text to the system clipboard, the selection with its ancestors
    // to the internal clipboard. Nothing happens when nothing is selected.
    void copySelection();
    // "Cortar": "Copiar", then the selection is deleted (one undo step).
    void cutSelection();
    // "Pegar": a copy of the internal clipboard, selected, moved by the paste offset.
    void paste();
    // "Pegar imagen": the picture on the system clipboard as a "Bitmap".
    void pastePicture();
    HeldReferences& heldReferences() { return heldReferences_; }
    const InternalClipboard& internalClipboard() const { return clipboard_; }
    QAction* undoAction() const { return M_undo; }
    QAction* redoAction() const { return M_redo; }
    QAction* cutAction() const { return M_cortar; }
    QAction* copyAction() const { return M_copiar; }
    QAction* pasteAction() const { return M_pegar; }
    QAction* pastePictureAction() const { return M_pegar_imagen; }

    // The file dialog of "Abrir...", replaceable (tests answer without a dialog): the path
    // chosen, empty when cancelled.
    void setOpenDialogHook(std::function<QString()> hook) { openDialogHook_ = std::move(hook); }
    // Where warnings go (a message box with the program's caption unless replaced, e.g. in tests).
    void setMessageSink(std::function<void(const QString&)> sink) {
        messageSink_ = std::move(sink);
    }

    // ---- options (tform1_options.cpp)
    ProgramOptions& programOptions() override { return options_; }
    OptionsHost& optionsHost() { return *this; }
    // Where the options file is (read at start-up).
    const QString& optionsFilePath() const { return optionsPath_; }
    // Whether the options came from the file at start-up (false: the built-in ones, and the file
    // was written afresh).
    bool optionsFromFile() const { return optionsFromFile_; }
    // "Opciones generales...", "Aspecto de los elementos...", "Tipos de Letra...".
    void openGeneralOptions();
    void openAppearanceOptions();
    void openFontOptions();
    // "Guardar opciones": after the question, the options file is written with the current
    // document's options as the defaults of new documents. Returns whether it was written.
    bool saveOptions();
    // "Cargar opciones originales": after the question, the built-in options for the program
    // and the current document.
    void restoreOriginalOptions();
    // The length tool in its length-assignment mode.
    void startLengthAssignment(double target) override;
    // The dialogs of the options are shown through this (tests act on them without exec()).
    void setDialogHook(std::function<void(QDialog&)> hook) { dialogHook_ = std::move(hook); }
    // Yes/No questions, replaceable (tests answer without a box).
    void setQuestionHook(std::function<bool(const QString&)> hook) {
        questionHook_ = std::move(hook);
    }
    QMenu* optionsMenu() const { return optionsMenu_; }
    QAction* generalOptionsAction() const { return M_op_Gen; }
    QAction* appearanceAction() const { return M_op_asp; }
    QAction* fontsAction() const { return M_op_Let; }
    QAction* saveOptionsAction() const { return M_op_save; }
    QAction* originalOptionsAction() const { return M_op_orig; }

    // ---- window placement (tform1_options.cpp)
    // Shows the window as the placement read at start-up says: full screen, maximised or at the
    // stored rectangle.
    void showPlaced();
    const registry::WindowPlacement& restoredPlacement() const { return placement_; }
    // Writes the placement to the settings store (not in viewer mode); a store that cannot be
    // written is reported once.
    void saveWindowPlacement();
    bool viewerMode() const { return viewerMode_; }
    void setViewerMode(bool on) { viewerMode_ = on; }

  signals:
    // Undo, redo and paste switch to the move/edit tool; the tool machine listens to this.
    void editCommandStarted();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // CanvasOwner.
    void setStatusText(const QString& text) override;
    void toolChosen(int tool) override;
    void openElementDialog(int tool, Element& e) override;
    void showMessage(int msgSlot) override;
    bool chooseFont(FontRecord& font) override;
    // OptionsHost (tform1_options.cpp).
    Document& currentDocument() override { return *document_; }
    QSize screenSize() const override;
    void optionsChanged(bool toolBarsChanged) override;
    void warnField(const QString& caption, const QString& text) override;
    bool chooseColour(Color& colour) override;

    // Every action of the window is made here, with its text, shortcut and handler; the menus
    // and the tool bars only place them.
    void createActions();
    void createEditActions(); // tform1_edit.cpp
    // The menu bar, one menu after the other.
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu(); // tform1_edit.cpp
    void buildViewMenu();
    void createOptionActions();
    void buildOptionsMenu();
    // Start-up: the options file (or the built-in options) and the placement of the window.
    void loadProgramOptions();
    void restoreWindowPlacement();
    // The program options reach the tools, the canvas and (with `toolBars`) the tool bars.
    void applyProgramOptions(bool toolBars);
    // The options as the window shows them now: plane size, bars, view flags, window.
    void takeWindowOptions();
    void runDialog(QDialog& dialog);
    bool ask(const QString& question);
    void updateEditActions();
    void updateStatusUnits();
    void updateSizeGrip();
    void warn(const QString& text);

    std::unique_ptr<Document> document_;
    CreationOptions creation_;
    ProgramOptions options_;
    QString optionsPath_;
    bool optionsFromFile_ = false;
    registry::WindowPlacement placement_;
    bool viewerMode_ = false;
    DrawingCanvas* canvas_ = nullptr;
    ToolBars* toolBars_ = nullptr;
    QLabel* statusText_ = nullptr;  // the tool's prompt, what lies under the pointer
    QLabel* statusUnits_ = nullptr; // the document's length and angle units

    // "&Archivo"
    QMenu* fileMenu_ = nullptr;
    QAction* M_abrir = nullptr; // "&Abrir..."
    QAction* M_salir = nullptr; // "Salir"
    // "&Edición"
    QMenu* editMenu_ = nullptr;
    QAction* M_undo = nullptr;         // "Deshacer"
    QAction* M_redo = nullptr;         // "Rehacer"
    QAction* M_cortar = nullptr;       // "Cortar"
    QAction* M_copiar = nullptr;       // "Copiar"
    QAction* M_pegar = nullptr;        // "Pegar"
    QAction* M_pegar_imagen = nullptr; // "Pegar imagen"
    // "&Ver"
    QMenu* viewMenu_ = nullptr;
    QAction* TodosElem1 = nullptr;  // "Ver lo oculto"
    QAction* MuePan1 = nullptr;     // "Mover la Pantalla..."
    QAction* PantallaCom = nullptr; // "Pantalla Completa"
    QAction* M_AA = nullptr;        // "AA": the anti-aliased drawing
    // "Opciones"
    QMenu* optionsMenu_ = nullptr;
    QAction* M_op_Gen = nullptr;  // "Opciones generales..."
    QAction* M_op_asp = nullptr;  // "Aspecto de los elementos..."
    QAction* M_op_Let = nullptr;  // "Tipos de Letra..."
    QAction* M_op_orig = nullptr; // "Cargar opciones originales"
    QAction* M_op_save = nullptr; // "Guardar opciones"

    // Full screen: the flag and the window as it was.
    bool fullScreen_ = false;
    QRect savedGeometry_;
    Qt::WindowStates savedState_;

    std::function<void(const QString&)> messageSink_;
    std::function<QString()> openDialogHook_;
    std::function<void(int, Element&)> elementDialogHook_;
    std::function<bool(FontRecord&)> fontDialogHook_;
    std::function<void(QDialog&)> dialogHook_;
    std::function<bool(const QString&)> questionHook_;

    InternalClipboard clipboard_; // one for the program; outlives the documents
    HeldReferences heldReferences_;
};

} // namespace qorv
