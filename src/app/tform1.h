// The main window: owns the document, the program's options, the actions and the menus, the
// tool bars, the status bar and the dialogs. The drawing canvas in its middle draws and edits the
// current document; installDocument is where the current document is swapped.
#pragma once

#include "app/drawingcanvas.h"
#include "app/toolbars.h"
#include "model/clipboard.h"
#include "model/document.h"
#include "model/undo.h"

#include <QMainWindow>
#include <QRect>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;

namespace qorv {

class LanguageHost;

class TForm1 : public QMainWindow, private CanvasOwner {
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
    // ---- language (tform1_language.cpp)
    // What "Idioma..." chooses with and where the choice is remembered; without one the item
    // does nothing.
    void setLanguageHost(LanguageHost* host) { languageHost_ = host; }
    // "Idioma...": a language chosen becomes the remembered one; the language (new or old) is
    // loaded again and the move tool is chosen.
    void chooseLanguageFromMenu();
    // Shows the texts of the UI text table again: menus, hints, status bar, caption.
    void applyLanguageTexts();
    QAction* languageAction() const { return M_idioma; }

    // Where warnings go (a message box with the program's caption unless replaced, e.g. in tests).
    void setMessageSink(std::function<void(const QString&)> sink) {
        messageSink_ = std::move(sink);
    }

  signals:
    // Undo, redo and paste switch to the move/edit tool; the tool machine listens to this.
    void editCommandStarted();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // CanvasOwner.
    void setStatusText(const QString& text) override;
    void toolChosen(int tool) override;
    void openElementDialog(int tool, Element& e) override;
    void showMessage(int msgSlot) override;
    bool chooseFont(FontRecord& font) override;

    // Every action of the window is made here, with its text, shortcut and handler; the menus
    // and the tool bars only place them.
    void createActions();
    void createEditActions(); // tform1_edit.cpp
    // The menu bar, one menu after the other.
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu(); // tform1_edit.cpp
    void buildViewMenu();
    void buildOptionsMenu(); // tform1_language.cpp
    // Object names by which the language's component texts find the menus and actions.
    void nameComponents(); // tform1_language.cpp
    void updateEditActions();
    void updateStatusUnits();
    void updateSizeGrip();
    void warn(const QString& text);

    std::unique_ptr<Document> document_;
    CreationOptions creation_;
    DrawingCanvas* canvas_ = nullptr;
    ToolBars* toolBars_ = nullptr;
    QLabel* statusText_ = nullptr;  // the tool's prompt, what lies under the pointer
    QLabel* statusUnits_ = nullptr; // the document's length and angle units

    // "&Archivo"
    QMenu* fileMenu_ = nullptr;
    QAction* M_abrir = nullptr;     // "&Abrir..."
    QAction* M_salir = nullptr;     // "Salir"
    QMenu* opcionesMenu_ = nullptr; // "Opciones"
    QAction* M_idioma = nullptr;    // "Idioma..."
    LanguageHost* languageHost_ = nullptr;
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

    // Full screen: the flag and the window as it was.
    bool fullScreen_ = false;
    QRect savedGeometry_;
    Qt::WindowStates savedState_;

    std::function<void(const QString&)> messageSink_;
    std::function<QString()> openDialogHook_;
    std::function<void(int, Element&)> elementDialogHook_;
    std::function<bool(FontRecord&)> fontDialogHook_;

    InternalClipboard clipboard_; // one for the program; outlives the documents
    HeldReferences heldReferences_;
};

} // namespace qorv
