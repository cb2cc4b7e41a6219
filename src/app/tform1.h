// The main window: owns the open documents, the program's options, the actions and the menus, the
// tool bars, the status bar and the dialogs. The drawing canvas in its middle draws and edits the
// current document; showCurrentDocument (tform1_docs.cpp) is where the current document is
// swapped.
#pragma once

#include "app/bitmapbytes.h"
#include "app/documenttable.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "app/toolbars.h"
#include "app/userdialogs.h"
#include "model/clipboard.h"
#include "model/document.h"
#include "model/undo.h"
#include "settings/options.h"
#include "settings/optionsfile.h"
#include "settings/recentfiles.h"
#include "settings/registry.h"
#include "view/exportfile.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QPrinter;
class QTabBar;
class QToolBar;

namespace qorv {

class AnimationController;
class CalculatorController;
class Commands;
class ElementDialogsController;
class HelpWindow;
class IterationController;
class LanguageHost;
class MacroController;
class TMacCon;
class TV_calc;
class TV_iterac;
class TV_lista;
class WindowContext;
class WindowRequests;

class TForm1 : public QMainWindow, private CanvasOwner {
    Q_OBJECT
  public:
    // `startOptions`: the options file as start-up already read it (read afresh without).
    // `session`: the editor session the window shows (one of its own without).
    explicit TForm1(QWidget* parent = nullptr, const OptionsFileContent* startOptions = nullptr,
                    EditorSession* session = nullptr);
    ~TForm1() override;

    // ---- documents (tform1_docs.cpp)
    // Start-up: the whole command line names the document to open (surrounding double quotes
    // are removed). The document the window starts with gives way to it; without one, or when it
    // cannot be opened, that document stays.
    void openCommandLine(const QString& commandLine);
    // "&Nuevo": an empty document with the world origin at the centre of the drawing area, made
    // current. False, after the message, when 99 documents are open.
    bool newDocument();
    // "Abrir", a recent file, the command line: a document already open (the path compared as
    // the file system compares names) becomes current; another is read into a new document; a
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

    // Switching, closing and saving by index.
    QStringList documentNames() const;
    int currentDocumentIndex() const { return docs_.currentIndex(); }
    void switchTo(int index);
    bool closeDocumentAt(int index);
    // "&Guardar": to the document's file; without one, or when that fails, as "Guardar Como...".
    bool saveDocumentAt(int index);
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
    void setUserDialogs(UserDialogs* dialogs) { prompts_.setUserDialogs(dialogs); }

    // The document bar "Barra de documento": the tabs TC_doc, the combo box CB_doc and the
    // buttons of "&Nuevo", "&Guardar" and "Cerrar".
    QTabBar* documentTabs() const { return TC_doc; }
    QComboBox* documentCombo() const { return CB_doc; }
    QToolBar* documentBar() const { return documentBar_; }
    QMenu* documentMenu() const { return documentMenu_; }
    QMenu* recentMenu() const { return recentMenu_; }

    // ---- the parts
    EditorSession& session() { return session_; }
    // Every command's action (commands.h).
    Commands& commands() { return *commands_; }
    DrawingCanvas& canvas() { return *canvas_; }
    const DrawingCanvas& canvas() const { return *canvas_; }
    // What every dialog is given, and what answers the tools' requests.
    WindowContext& dialogContext() { return *context_; }
    WindowRequests& toolRequests() { return *requests_; }
    // The features (app/controllers).
    CalculatorController& calculator() { return *calc_; }
    IterationController& iteration() { return *iteration_; }
    ElementDialogsController& elementDialogs() { return *elementDialogs_; }
    MacroController& macros() { return *macros_; }
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
    void setElementDialogHook(std::function<void(int tool, Element&)> hook);
    // The font dialog of the font tool, replaceable (tests answer without a dialog): returns
    // whether a font was chosen.
    void setFontDialogHook(std::function<bool(FontRecord&)> hook);

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
    // ---- "&Macros" (MacroController)
    // Runs instead of the macro dialog's modal loop (tests press its buttons there).
    void setMacroDialogHook(std::function<void(TMacCon&)> hook);
    QAction* macrosAction() const { return M_macros; }

    // Where warnings go (a message box with the program's caption unless replaced, e.g. in tests).
    void setMessageSink(std::function<void(const QString&)> sink) {
        prompts_.setMessageSink(std::move(sink));
    }

    // ---- options (tform1_options.cpp)
    ProgramOptions& programOptions() { return options_; }
    // The options or the current document's options changed: the drawing, the tools, the status
    // bar (and the tool bars when `toolBarsChanged`) follow.
    void optionsChanged(bool toolBarsChanged);
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
    void startLengthAssignment(double target);
    // The dialogs of the options are shown through this (tests act on them without exec()).
    void setDialogHook(std::function<void(QDialog&)> hook) {
        prompts_.setDialogHook(std::move(hook));
    }
    // Yes/No questions, replaceable (tests answer without a box).
    void setQuestionHook(std::function<bool(const QString&)> hook) {
        prompts_.setQuestionHook(std::move(hook));
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
    bool viewerMode() const { return session_.viewerMode(); }
    // "Modo visor": the flag and its menu item; the viewer's panel follows viewerModeChanged.
    void setViewerMode(bool on);

    // ---- the menu bar and help (tform1_menus.cpp)
    // One table gives every menu and item of the menu bar; this is the order of its items (one
    // entry per item, submenus included; the kinds of "Seleccionar grupo" last).
    static QStringList menuItemNames();
    // A menu item (or a submenu's own action) by its component name; null when there is none.
    QAction* menuAction(const QString& objectName) const;
    // Enables and shows the items as the current document (or the lack of one) allows.
    void updateMenuStates();
    // "Borrar", "Seleccionar todo", "Seleccionar grupo...", "Seleccionar padres", "Seleccionar
    // hijos", "Eliminar Todo" (one undo step; the move tool; the traces cleared), "Redibujar".
    void deleteSelection();
    void selectAllElements();
    void selectKindsDialog();
    void selectParentElements();
    void selectChildElements();
    void deleteAllElements();
    void redrawAll();
    // "Contenidos" and "Página actual" (F1: the page of the current tool). Without help pages the
    // user is told so. The pages are looked for in the folder set here (by default the
    // program's "help" folder), in the language of the UI texts.
    void showHelpContents();
    void showHelpTopic();
    HelpWindow* helpWindow() const { return helpWindow_; }
    void setHelpFolder(const QString& folder);
    QString helpFolder() const;
    void showAbout();
    void openWebPage();

    // A row of the menu table (tform1_menus.cpp).
    struct MenuRow;

    // ---- export and print (tform1_export.cpp)
    // "Exportar a DXF...", "Exportar dibujo..." (a BMP file at the export scale), "Exportar a
    // SVG...", "Exportar a PDF..." and "Exportar a LaTeX (TikZ)..." ("svg", "pdf", "tex"): a save
    // dialog, then the file; a file that cannot be written is reported.
    void exportDxf();
    void exportDrawing();
    void exportVector(const QString& suffix);
    void exportWebPage();
    // "Copiar al portapapeles": the drawing, or its rubber-band area, as a picture.
    void copyDrawingToClipboard();
    // The picture the clipboard gets.
    QImage drawingImage();
    // "Imprimir...": the print dialog TV_imp. "Imprimir bitmap": the screen bitmap after a
    // question.
    void printDocument();
    void printBitmap();
    void pageSetup();
    void runPageSetup(QPrinter& device);
    // Printing goes to this PDF file instead of the default printer ("" for the printer).
    void setPrintFile(const QString& pdf) { printFile_ = pdf; }

    // ---- traces, animation, step-by-step replay and viewer mode
    AnimationController& animationFeatures() { return *anim_; }

  signals:
    void viewerModeChanged(bool on);
    // Undo, redo and paste switch to the move/edit tool; the tool machine listens to this.
    void editCommandStarted();
    // Another document became current (`otherDocument`: switch, close, open, new), or elements
    // of the current one may have been freed (undo, redo, cut, delete, "Eliminar Todo", a save
    // that drops internal elements). A window that stays open lets go of every element it
    // holds, or finds it again, and shows the current document afresh.
    void documentChanged(bool otherDocument);

  protected:
    void changeEvent(QEvent* event) override;
    // The window's close box, Alt+F4 and "Salir": every modified document is asked about first.
    void closeEvent(QCloseEvent* event) override;

  private:
    // The session: the window's own unless one was given. The names below are the session's.
    std::unique_ptr<EditorSession> ownSession_;
    EditorSession& session_;
    DocumentTable& docs_;
    CreationOptions& creation_;
    ProgramOptions& options_;
    InternalClipboard& clipboard_;
    HeldReferences& heldReferences_;
    LastFolders& folders_;

    // The dialogs' ways of asking and telling the user, one for the window (tests replace them).
    Prompts prompts_;

    // CanvasOwner.
    void setStatusText(const QString& text) override;
    void toolChosen(int tool) override;
    void redrawn() override;
    void drawingAreaResized() override; // tform1_docs.cpp
    QSize screenSize() const;

    // Every action of the window is made here, with its text, shortcut and handler; the menus
    // and the tool bars only place them.
    void createActions();
    void createEditActions(); // tform1_edit.cpp
    // The menu bar from its table (tform1_menus.cpp).
    static const std::vector<MenuRow>& menuRows();
    void buildMenus();
    void createShellActions(); // "Barra de Estado", "Modo visor"
    // Connects the commands carried out in tform1_menus.cpp, the tools and the bars' items.
    void bindShellCommands();
    void applyMenuTexts(); // tool prompts and kind names as item texts
    HelpWindow* openHelp();
    void updateKindItems(); // the items of "Seleccionar grupo"
    // A toggle item shows a state without running its command again.
    static void setCheckedQuietly(QAction* action, bool on);
    void createDocumentActions(); // tform1_docs.cpp
    void buildDocumentBar();      // tform1_docs.cpp
    void createOptionActions();
    // Start-up: the options file (or the built-in options) and the placement of the window.
    void loadProgramOptions(const OptionsFileContent* known);
    void restoreWindowPlacement();
    // The program options reach the tools, the canvas and (with `toolBars`) the tool bars.
    void applyProgramOptions(bool toolBars);
    // The options as the window shows them now: plane size, bars, view flags, window.
    void takeWindowOptions();
    void runDialog(QDialog& dialog);
    bool ask(const QString& question);
    void createLanguageAction(); // tform1_language.cpp
    void updateStatusUnits();
    void updateSizeGrip();
    void warn(const QString& text);
    // A message with the information icon (through the message sink when one is set).
    void inform(const QString& text);
    // Export and print (tform1_export.cpp).
    void setupExportActions();
    void beforeExport();
    ExportRequest drawingRequest(QSize whole);
    // A file to export to, of the types of the text-table `filters` (the first chosen first).
    QString askExportFile(const QAction* item, const std::vector<int>& filters,
                          const QString& suffix);
    void writeExport(const QString& path, const ExportRequest& request);
    // The printer, or without one a PDF file's page: for a print job (`forJob`) the user is
    // asked whether to print to a PDF file, and which. Null when there is nothing to print on.
    QPrinter* printer(bool forJob);

    // ---- documents (tform1_docs.cpp)
    // The one place where documents come into being, new or to be read into: what every new
    // document starts with is set here.
    std::unique_ptr<Document> createDocument() const;
    // Appends a document to the table and shows it.
    void addDocument(std::unique_ptr<Document> doc, int number);
    // Shows the current document: canvas, move tool, title, tabs, combo box and menu.
    void showCurrentDocument();
    // The session's signals reach the window's parts.
    void followSession();
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
    UserDialogs& dialogs() { return prompts_.dialogs(); }
    // A modal dialog comes: the gesture running ends (it would hold the mouse).
    void beforeDialog();

    bool noDocument_ = false;
    // The document the window starts with is made before the window has its size: until it is
    // touched or its view moved, its origin follows the centre of the drawing area.
    const Document* startDocument_ = nullptr;
    double startLeft_ = 0, startTop_ = 0;
    RecentFiles recent_;
    QString optionsPath_;
    bool optionsFromFile_ = false;
    registry::WindowPlacement placement_;
    Commands* commands_ = nullptr;
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
    QAction* M_doc_cerrar = nullptr;          // "Cerrar"
    QAction* M_doc_cerrartodo = nullptr;      // "Cerrar todo"
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

    // Application shell: the bars and viewer mode of "&Ver", help.
    QAction* M_barest = nullptr;    // "Barra de Estado"
    QAction* M_modovisor = nullptr; // "Modo visor"
    HelpWindow* helpWindow_ = nullptr;
    bool editMenuOpen_ = false; // "&Edición" is open: its items show what they can do now
    QString helpFolder_;
    QHash<QString, QMenu*> menus_; // the menus of the menu table by name

    // Full screen: the flag and the window as it was.
    bool fullScreen_ = false;
    QRect savedGeometry_;
    Qt::WindowStates savedState_;
    // The normal rectangle of a window maximised again on leaving full screen.
    QRect maximisedNormal_;
    // The window's normal (restored) rectangle, also while it is maximised.
    QRect normalRect() const;

    // Export and print.
    QAction* M_export_dib = nullptr;  // "Exportar dibujo..."
    QAction* M_export_dxf = nullptr;  // "Exportar a DXF..."
    QAction* M_export_svg = nullptr;  // "Exportar a SVG..."
    QAction* M_export_pdf = nullptr;  // "Exportar a PDF..."
    QAction* M_export_tikz = nullptr; // "Exportar a LaTeX (TikZ)..."
    QAction* M_export_web = nullptr;  // "Exportar a página web..."
    QAction* Imprimir1 = nullptr;     // "Imprimir..."
    QAction* M_print_btm = nullptr;   // "Imprimir bitmap"
    QAction* M_copia_port = nullptr;  // "Copiar al portapapeles"
    std::unique_ptr<QPrinter> printer_;
    QString printFile_;
    QImage areaTrace_; // the trace under the rubber-band area of an export

    // The dialogs' context, the tools' requests and the features, made after the canvas.
    void createFeatures();
    std::unique_ptr<WindowContext> context_;
    WindowRequests* requests_ = nullptr;
    CalculatorController* calc_ = nullptr;
    IterationController* iteration_ = nullptr;
    ElementDialogsController* elementDialogs_ = nullptr;
    MacroController* macros_ = nullptr;
    AnimationController* anim_ = nullptr;

  public:
    // The calculator window (null until a calculator tool was first chosen).
    TV_calc* calculatorWindow() const;
    // The iteration dialog while the iteration tool is active (null before its first use).
    TV_iterac* iterationDialog() const;
    // Element dialogs: see ElementDialogsController.
    void editElement(Element& e);
    void startParametricColour(Element& e);
    void editParameter(Element& e);
    void showConstructionList();
    TV_lista* constructionList() const;
    void openMacroDialog();
};

} // namespace qorv
