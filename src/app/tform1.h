// The main window: owns the documents, the off-screen drawing bitmaps, the plane and the view
// toggles; every redraw goes to the main drawing bitmap and the drawing area only copies it.
#pragma once

#include "dialogs/tmuepan.h"
#include "model/clipboard.h"
#include "model/document.h"
#include "model/undo.h"
#include "view/hoveroverlay.h"
#include "view/interaction.h"
#include "view/renderer.h"

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QScrollBar;
class QTimer;
class QToolBar;
class QToolButton;
class QFrame;

namespace qorv {

class Document;
struct Element;
class ToolHost;

// The drawing area: its paint only copies the main drawing bitmap.
class DrawingArea : public QWidget {
    Q_OBJECT
  public:
    explicit DrawingArea(QWidget* parent = nullptr);
    void setSource(const QImage* image) { source_ = image; }

  signals:
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    const QImage* source_ = nullptr;
};

class TForm1 : public QMainWindow, public MuePanHost {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

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
    DrawingArea* drawingArea() const { return drawingArea_; }
    QScrollBar* horizontalBar() const { return SB_h; }
    QScrollBar* verticalBar() const { return SB_v; }
    const QImage& mainBitmap() const { return mainBitmap_; }
    QAction* showHiddenAction() const { return TodosElem1; }
    QAction* antialiasAction() const { return M_AA; }
    QAction* fullScreenAction() const { return PantallaCom; }

    // Recalculates up to `stop` (null: everything), redraws into the main bitmap and, when asked,
    // repaints the drawing area.
    void recalculateAndRedraw(Element* stop = nullptr, bool repaint = true);
    // Recalculates only the marked elements (a drag), then redraws everything.
    void recalculateMarkedAndRedraw(bool repaint = true);
    // Draws the list up to `stop` (null: all of it) into the main bitmap.
    void redraw(bool repaint = true, const Element* stop = nullptr);
    // Clears the trace bitmap: white on a light background, black on a dark one.
    void clearTrace();
    const QImage& traceBitmap() const { return traceBitmap_; }
    // Far corner from the screen size; scroll bars from the view origin when `setBars`.
    void synchronizeView(bool setBars);

    bool isFullScreenMode() const { return fullScreen_; }
    void setFullScreenMode(bool on);
    void setShowHidden(bool on);
    void setAntialiased(bool on);
    // "Mover la pantalla".
    void openMoveScreen();

    // ---- tool modes (tform1_tools.cpp)
    // Chooses a tool mode as its button or menu item does.
    void chooseTool(int tool, bool ownButton = false);
    int currentTool() const;
    Interaction& interaction() { return *interaction_; }
    // How many undo steps the tools recorded (each call of recordUndoStep from them counts).
    int toolUndoSteps() const { return toolUndoSteps_; }
    // The ambiguity menu, replaceable (tests choose without a pop-up): returns the index chosen,
    // or -1.
    void setAmbiguityChooser(std::function<int(const std::vector<Element*>&)> chooser) {
        ambiguityChooser_ = std::move(chooser);
    }
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
    CreationOptions& creationOptions() { return creation_; }
    // The colour the colour tools apply (and new elements take when so chosen).
    Color currentColour() const { return creation_.chosenColor; }
    void setCurrentColour(Color c);
    const QString& statusText() const;
    int cursorNumber() const { return cursorNumber_; }

    // ---- tool bars (tform1_toolbars.cpp)
    QToolBar* mainButtons() const { return B_principales; }
    QToolBar* editButtons() const { return B_edicion; }
    // The tool-bar button of a tool (a palette button for the tools of its panel).
    QToolButton* toolButton(int tool) const;
    QToolButton* buttonNamed(const QString& name) const;
    QFrame* palettePanel(const QString& name) const;
    // ---- undo, redo and the clipboard (tform1_edit.cpp)
    // Every operation that changes the document calls this first, before changing anything.
    // The working list stays the same objects, so references into it remain valid.
    void recordUndoStep();
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

    // MuePanHost.
    Document& currentDocument() override { return *document_; }
    Renderer& renderer() override { return renderer_; }
    QSize drawingAreaSize() const override;
    QSize screenSize() const override;
    double planeSize() const override { return planeSize_; }
    void setPlaneSize(double size) override;
    bool showHidden() const override { return showHidden_; }
    void redrawMainView() override;
    void viewChanged() override;

  signals:
    // Undo, redo and paste switch to the move/edit tool; the tool machine listens to this.
    void editCommandStarted();

  protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class ToolHost;
    void setupTools();
    void buildToolBars();
    void toolChosenOnBars(int tool);
    void paletteTimerFired();
    int chooseAmong(const std::vector<Element*>& elements, QPoint at);
    void showHover(const HoverFeedback& feedback);
    // What every drawing of the main view shares: view, area, path, hidden elements, plane,
    // and the state of the tools (a gesture running, the elements picked).
    RenderOptions viewOptions() const;
    void drawOverlay(QPainter& painter);
    void setCursorNumber(int cursor);
    void buildMenus();
    // "&Edición" and its enabled states (tform1_edit.cpp).
    void buildEditMenu();
    void updateEditActions();
    void ensureCanvasSize();
    void drawingAreaResized();
    void horizontalScrolled(int position);
    void verticalScrolled(int position);
    void afterScroll();
    void updateStatusUnits();
    void updateSizeGrip();
    void warn(const QString& text);

    std::unique_ptr<Document> document_;
    Renderer renderer_;
    QImage mainBitmap_;  // every redraw goes here first
    QImage traceBitmap_; // traces of moving elements
    double planeSize_ = 4000.0;
    bool showHidden_ = false;

    DrawingArea* drawingArea_ = nullptr;
    QWidget* panelH_ = nullptr;
    QWidget* panelV_ = nullptr;
    QScrollBar* SB_h = nullptr;
    QScrollBar* SB_v = nullptr;
    QLabel* statusText_ = nullptr;
    QLabel* statusUnits_ = nullptr;

    QAction* M_abrir = nullptr;
    QAction* M_salir = nullptr;
    QAction* TodosElem1 = nullptr;
    QAction* MuePan1 = nullptr;
    QAction* PantallaCom = nullptr;
    QAction* M_AA = nullptr;

    // Full screen: the flag and the window as it was.
    bool fullScreen_ = false;
    QRect savedGeometry_;
    Qt::WindowStates savedState_;

    std::function<void(const QString&)> messageSink_;
    std::function<QString()> openDialogHook_;

    // Tool modes.
    std::unique_ptr<InteractionHost> toolHost_;
    std::unique_ptr<Interaction> interaction_;
    CreationOptions creation_;
    HoverOverlay overlay_;
    HoverFeedback hover_;
    QTimer* buttonTimer_ = nullptr;  // 150 ms: a motion button shows pressed
    QTimer* paletteTimer_ = nullptr; // 200 ms: a held palette button opens its panel
    QToolButton* pendingPalette_ = nullptr;
    int toolUndoSteps_ = 0;
    int cursorNumber_ = 0;
    std::function<int(const std::vector<Element*>&)> ambiguityChooser_;
    std::function<void(int, Element&)> elementDialogHook_;
    std::function<bool(FontRecord&)> fontDialogHook_;

    // Tool bars: one button per tool (palette buttons stand for the tools of their panel).
    QToolBar* B_principales = nullptr;
    QToolBar* B_edicion = nullptr;
    std::vector<QToolButton*> toolButtons_; // by tool number
    QList<QToolButton*> allButtons_;
    QHash<QString, QFrame*> panels_;
    // Undo, redo and the clipboard.
    QAction* M_undo = nullptr;
    QAction* M_redo = nullptr;
    QAction* M_cortar = nullptr;
    QAction* M_copiar = nullptr;
    QAction* M_pegar = nullptr;
    QAction* M_pegar_imagen = nullptr;
    InternalClipboard clipboard_; // one for the program; outlives the documents
    HeldReferences heldReferences_;
};

} // namespace qorv
