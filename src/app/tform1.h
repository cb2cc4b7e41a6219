// The main window: owns the open documents, the program's options, the actions and the menus, the
// tool bars, the status bar and the dialogs. The drawing canvas in its middle draws and edits the
// current document; showCurrentDocument (tform1_docs.cpp) is where the current document is
// swapped.
#pragma once

#include "app/documenttable.h"
#include "app/drawingcanvas.h"
#include "app/toolbars.h"
#include "app/userdialogs.h"
#include "dialogs/optionshost.h"
#include "dialogs/tmaccon.h"
#include "dialogs/tv_listadoc.h"
#include "model/clipboard.h"
#include "model/document.h"
#include "model/undo.h"
#include "settings/options.h"
#include "settings/recentfiles.h"
#include "settings/registry.h"

#include <QList>
#include <QMainWindow>
#include <QRect>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QTabBar;
class QToolBar;

namespace qorv {

class AnimationFeatures;
class LanguageHost;

class TForm1 : public QMainWindow,
               public DocumentListHost,
               private CanvasOwner,
               private OptionsHost,
               private MacroDialogHost {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- documents (tform1_docs.cpp)
    // Start-up: the whole command line names the document to open (surrounding double quotes
    // are removed). The document the window starts with gives way to it; without one, or when it
    // cannot be opened, that document stays.
    void openCommandLine(const QString& commandLine);
    // "&Nuevo": an empty document with the world origin at the centre of the drawing area, made
    // current. False, after the message, when 99 documents are open.
    bool newDocument();
    // "Abrir", a recent file, the command line: a document already open (the path compared
    // without regard to letter case) becomes current; another is read into a new document; a
    // macro file goes to the next free macro slot of the current document. Reports the problem
    // and returns false when the file cannot be read.
    bool openDocument(const QString& path);
    // Puts `doc` in the place of the current document (a new one when none is open) and shows it.
    void installDocument(std::unique_ptr<Document> doc);
    // The current document; an empty stand-in while no document is open.
    Document& document() { return docs_.current(); }
    int documentCount() const { return docs_.count(); }
    Document& documentAt(int i) { return docs_.at(i); }
    QString documentName(int i) const { return docs_.name(i); }
    // After the last document was closed, until "&Nuevo" or "Abrir".
    bool noDocumentOpen() const { return noDocument_; }

    // DocumentListHost: switching, closing and saving by index.
    QStringList documentNames() const override;
    int currentDocumentIndex() const override { return docs_.currentIndex(); }
    void switchTo(int index) override;
    bool closeDocumentAt(int index) override;
    // "&Guardar": to the document's file; without one, or when that fails, as "Guardar Como...".
    bool saveDocumentAt(int index) override;
    // "Guardar Como...": asks for a file, saves, and the document takes the file's name.
    bool saveDocumentAsAt(int index);

    // "Cerrar" and "Cerrar todo": false when a question was cancelled (or a save failed).
    bool closeCurrent();
    bool closeAll();
    void nextDocument();
    void previousDocument();
    void firstDocument();
    void lastDocument();
    // "Lista documentos...".
    void openDocumentList();

    // "Abrir recientes".
    const RecentFiles& recentFiles() const { return recent_; }
    void addRecent(const QString& path);
    // "Eliminar lista de recientes", after a Yes to its question.
    void clearRecent();
    QString lastDocumentFolder() const { return folders_.documents; }
    // The folder of macro files: the last one used, or the program's own.
    QString lastMacroFolder() const;

    // The questions and file dialogs; null gives back the platform's (the object is not owned).
    void setUserDialogs(UserDialogs* dialogs) { dialogs_ = dialogs; }

    // The document bar "Barra de documento": the tabs TC_doc, the combo box CB_doc and the
    // buttons of "&Nuevo", "&Guardar" and "Cerrar".
    QTabBar* documentTabs() const { return TC_doc; }
    QComboBox* documentCombo() const { return CB_doc; }
    QToolBar* documentBar() const { return documentBar_; }
    QMenu* documentMenu() const { return documentMenu_; }
    QMenu* recentMenu() const { return recentMenu_; }

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
    // ---- "&Macros" (tform1_macros.cpp)
    // "Macros..." and B_MacCon: the macro dialog on the current document. Opened in a macro
    // selection mode, it first takes the elements chosen in the drawing as the initial or final
    // list; when it closes, the tool mode it chose is taken, or the move tool after B_no.
    void openMacroDialog();
    // Runs instead of the dialog's modal loop (tests press its buttons there).
    void setMacroDialogHook(std::function<void(TMacCon&)> hook) {
        macroDialogHook_ = std::move(hook);
    }
    QAction* macrosAction() const { return M_macros; }

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

    // ---- traces, animation, step-by-step replay and viewer mode (tform1_anim.cpp)
    AnimationFeatures& animationFeatures() { return *anim_; }

  signals:
    // Undo, redo and paste switch to the move/edit tool; the tool machine listens to this.
    void editCommandStarted();

  protected:
    void changeEvent(QEvent* event) override;
    // The window's close box, Alt+F4 and "Salir": every modified document is asked about first.
    void closeEvent(QCloseEvent* event) override;

  private:
    // CanvasOwner.
    void setStatusText(const QString& text) override;
    void toolChosen(int tool) override;
    void openElementDialog(int tool, Element& e) override;
    void showMessage(int msgSlot) override;
    bool chooseFont(FontRecord& font) override;
    void redrawn() override;
    void animationEntryClicked(Element* e) override; // tform1_anim.cpp
    // OptionsHost (tform1_options.cpp).
    Document& currentDocument() override { return document(); }
    QSize screenSize() const override;
    void optionsChanged(bool toolBarsChanged) override;
    void warnField(const QString& caption, const QString& text) override;
    bool chooseColour(Color& colour) override;

    // MacroDialogHost (tform1_macros.cpp).
    Document& macroDocument() override { return document(); }
    MacroSession& macroSession() override;
    int macroTool() const override { return currentTool(); }
    std::vector<std::pair<QString, Document*>> otherDocuments() override;
    std::optional<QString> askText(const QString& prompt, const QString& initial) override;
    void warnUser(const QString& message) override { warn(message); }
    QString macroFileToSave(const QString& proposed) override;
    QString macroFileToOpen() override;
    QString macroFolder() const override { return lastMacroFolder(); }
    void setMacroFolder(const QString& folder) override;
    void macroListsReleased() override { canvas_->redraw(); }

    // Every action of the window is made here, with its text, shortcut and handler; the menus
    // and the tool bars only place them.
    void createActions();
    void createEditActions(); // tform1_edit.cpp
    // The menu bar, one menu after the other.
    void buildMenus();
    void buildFileMenu();
    void createDocumentActions(); // tform1_docs.cpp
    void buildDocumentMenu();     // tform1_docs.cpp
    void buildDocumentBar();      // tform1_docs.cpp
    void buildEditMenu();         // tform1_edit.cpp
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
    void createLanguageAction(); // tform1_language.cpp
    // Object names by which the language's component texts find the menus and actions.
    void nameComponents();     // tform1_language.cpp
    void createMacroActions(); // tform1_macros.cpp
    void buildMacroMenu();     // tform1_macros.cpp
    void updateEditActions();
    void updateStatusUnits();
    void updateSizeGrip();
    void warn(const QString& text);

    // ---- documents (tform1_docs.cpp)
    // The one place where documents come into being, new or to be read into: what every new
    // document starts with is set here.
    std::unique_ptr<Document> createDocument() const;
    // Appends a document to the table and shows it.
    void addDocument(std::unique_ptr<Document> doc, int number);
    // Shows the current document: canvas, move tool, title, tabs, combo box and menu.
    void showCurrentDocument();
    // Tabs, combo box and menu entries again from the table.
    void showDocumentList();
    void updateTitle();
    bool openMacroFile(const QString& path);
    // Asks whether to save a modified document: false on Cancel or when the save failed.
    bool askToSave(int index);
    // Every modified document asked about in turn, as closing the window does.
    bool confirmQuit();
    bool writeDocument(int index, const QString& path);
    void enterNoDocumentState();
    void leaveNoDocumentState();
    void showDocumentCommands(bool on);
    void showRecentFiles();
    void storeDocumentSettings();
    UserDialogs& dialogs();
    // A modal dialog comes: the gesture running ends (it would hold the mouse).
    void beforeDialog();

    DocumentTable docs_;
    bool noDocument_ = false;
    RecentFiles recent_;
    LastFolders folders_;
    std::unique_ptr<UserDialogs> nativeDialogs_;
    UserDialogs* dialogs_ = nullptr;
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
    QAction* M_nuevo = nullptr;          // "&Nuevo"
    QAction* M_abrir = nullptr;          // "&Abrir..."
    QMenu* recentMenu_ = nullptr;        // "Abrir recientes"
    QAction* M_guardar = nullptr;        // "&Guardar"
    QAction* M_guardar_como = nullptr;   // "Guardar Como..."
    QAction* M_cerrar = nullptr;         // "Cerrar"
    QAction* M_cerrar_todo = nullptr;    // "Cerrar todo"
    QAction* M_elim_recientes = nullptr; // "Eliminar lista de recientes"
    QAction* M_salir = nullptr;          // "Salir"
    QAction* M_idioma = nullptr;         // "Idioma..."
    LanguageHost* languageHost_ = nullptr;
    // "&Documento"
    QMenu* documentMenu_ = nullptr;
    QAction* M_siguiente = nullptr;           // "&Siguiente"
    QAction* M_anterior = nullptr;            // "&Anterior"
    QAction* M_primero = nullptr;             // "Primero"
    QAction* M_ultimo = nullptr;              // "Ultimo"
    QAction* M_lista_doc = nullptr;           // "Lista documentos..."
    QActionGroup* documentEntries_ = nullptr; // one radio entry per open document
    // "Barra de documento"
    QToolBar* documentBar_ = nullptr;
    QTabBar* TC_doc = nullptr;
    QComboBox* CB_doc = nullptr;
    // What the no-document state hid, to be shown again.
    QList<QWidget*> hiddenPanels_;
    // "&Edición"
    QMenu* editMenu_ = nullptr;
    QAction* M_undo = nullptr;         // "Deshacer"
    QAction* M_redo = nullptr;         // "Rehacer"
    QAction* M_cortar = nullptr;       // "Cortar"
    QAction* M_copiar = nullptr;       // "Copiar"
    QAction* M_pegar = nullptr;        // "Pegar"
    QAction* M_pegar_imagen = nullptr; // "Pegar imagen"
    // "&Macros"
    QMenu* macrosMenu_ = nullptr;
    QAction* M_macros = nullptr; // "Macros..."
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
    std::function<void(int, Element&)> elementDialogHook_;
    std::function<bool(FontRecord&)> fontDialogHook_;
    std::function<void(QDialog&)> dialogHook_;
    std::function<bool(const QString&)> questionHook_;
    std::function<void(TMacCon&)> macroDialogHook_;

    // Traces, animation, step-by-step replay and viewer mode (tform1_anim.cpp).
    void setupAnimActions();
    AnimationFeatures* anim_ = nullptr; // a child of the window

    InternalClipboard clipboard_; // one for the program; outlives the documents
    HeldReferences heldReferences_;
};

} // namespace qorv
