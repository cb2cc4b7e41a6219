// The drawing canvas of the main window: the drawing area with its two scroll bars, the off-screen
// bitmaps every redraw goes to (the area's paint only copies the main one), the hover overlay and
// the tool modes at work on the document shown. It is the host of the tool modes and of "Mover la
// pantalla"; what belongs to the window around it (the program's options, the status bar, the
// tool bars and the undo store) it reaches through CanvasOwner; the tools' dialogs are asked of
// the ToolRequests it is given.
//
// It lives beside the window rather than in view/: it is a widget tying the renderer, the
// overlay and the interaction of view/ to Qt's events, and it hosts a dialog of dialogs/.
#pragma once

#include "view/draglayers.h"
#include "view/hoveroverlay.h"
#include "view/interaction.h"
#include "view/renderer.h"

#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QScrollBar;
class QTimer;

namespace qorv {

class Document;
struct Element;

// What the canvas asks of the window that holds it.
class CanvasOwner {
  public:
    virtual ~CanvasOwner() = default;
    virtual const CreationOptions& creationOptions() = 0;
    // Records one undo step of the current document (the tools call it before changing it).
    virtual void recordUndoStep() = 0;
    virtual void setStatusText(const QString& text) = 0;
    // The tool changed: the tool bars follow.
    virtual void toolChosen(int tool) = 0;
    // The document was drawn again, after a change or not: the window's title follows its
    // modified flag.
    virtual void redrawn() = 0;
    // The drawing area took a new size (before the view follows it).
    virtual void drawingAreaResized() {}
};

class DrawingCanvas : public QWidget, public InteractionHost {
    Q_OBJECT
  public:
    static constexpr int BlinkIntervalMs = 180;
    // Shows `doc` until showDocument gives another one; the owner keeps the documents. The
    // tools' dialogs are asked of `requests`.
    DrawingCanvas(CanvasOwner& owner, ToolRequests& requests, Document& doc,
                  QWidget* parent = nullptr);
    ~DrawingCanvas() override;

    // Shows another document: the tools let go of the old one (which must still exist), the
    // trace is cleared, the scroll bars follow the new view and everything is recalculated and
    // drawn.
    void showDocument(Document& doc);
    // The document's elements are new objects (undo, redo, a cut): cached drawings go and the
    // drawing is made again.
    void elementsReplaced();

    QWidget* drawingArea() const { return area_; }
    QScrollBar* horizontalBar() const { return SB_h; }
    QScrollBar* verticalBar() const { return SB_v; }
    // The drawing as the area shows it (a drag frame drawn straight onto the window is drawn here
    // too first).
    const QImage& mainBitmap();
    const QImage& traceBitmap() const { return traceBitmap_; }
    // Frames of the drag in progress drawn over its still layer (none after it ends).
    int layeredFrames() const { return dragLayers_.layeredFrames(); }
    // Drag frames drawn straight onto the window instead of the main bitmap.
    int windowFrames() const { return windowFrames_; }
    Interaction& interaction() { return interaction_; }
    // How many undo steps the tools recorded.
    int toolUndoSteps() const { return toolUndoSteps_; }
    int cursorNumber() const { return cursorNumber_; }
    // The ambiguity menu, replaceable (tests choose without a pop-up): returns the index chosen,
    // or -1.
    void setAmbiguityChooser(std::function<int(const std::vector<Element*>&)> chooser) {
        ambiguityChooser_ = std::move(chooser);
    }

    // The bitmaps follow the screen's device pixel ratio; a ratio above 0 replaces the screen's
    // (tests), and the document is drawn again.
    void setDevicePixelRatio(qreal ratio);
    // Clears the trace bitmap: white on a light background, black on a dark one.
    void clearTrace();
    // Far corner from the screen size; scroll bars from the view origin when `setBars`.
    void synchronizeView(bool setBars);
    void setShowHidden(bool on);
    // Whether the selection-rotation tool marks its centre.
    void setMarkRotationCentre(bool on) { markRotationCentre_ = on; }
    // "Mensajes del cursor": the label's font and colour, and the colour of the box under it.
    void setCursorMessageStyle(const FontRecord& font, Color background) {
        cursorFont_ = font;
        cursorBackground_ = background;
    }
    // Where the cursor label was drawn last (empty when none).
    QRect hoverLabelRect() const { return overlay_.labelRect(); }

    // ---- traces, blinking, animation and the replay (drawingcanvas_anim.cpp)
    // While on (the animation dialog is open), every redraw leaves the traced elements' places
    // in the trace bitmap, as a drag does.
    void setTracing(bool on) { tracing_ = on; }
    bool tracing() const { return tracing_; }
    // "Redibujar": the traces go, the trace list stays.
    void redrawWithoutTraces();
    // One animation step: the playing entries move; unless a drag runs, what depends on them is
    // recalculated and drawn.
    void animate();
    // The replay shows the list up to and including `step` (the whole list when `whole`, or
    // when `step` is null), `step` blinking.
    void showReplayStep(Element* step, bool whole = false);
    Element* replayStep() const { return replayStep_; }
    // What blinks now: the step of the replay, the traced elements while the trace tool is
    // chosen, else the elements picked by the tool's sequence.
    std::vector<Element*> blinkElements();
    bool blinking() const;
    bool blinkPhaseOn() const { return blinkOn_; }
    // One tick of the blinking (the timer's; tests call it).
    void blinkTick();

    // ---- InteractionHost (and the drawing's own entry points)
    Document& document() override { return *document_; }
    ViewTransform view() override;
    int areaWidth() override;
    int areaHeight() override;
    double planeSize() override { return planeSize_; }
    bool showHidden() override { return showHidden_; }
    const CreationOptions& creationOptions() override { return owner_.creationOptions(); }
    bool elementBox(const Element& e, PixelBox& box) override;
    void recordUndoStep() override;
    // Recalculates the whole list and redraws.
    void recalculateAndRedraw() override;
    // Recalculates only the marked elements (a drag), then redraws everything.
    void recalculateMarkedAndRedraw() override;
    void recalculateDragAndRedraw(const DragEngine& drag) override;
    // Draws the document into the main bitmap and repaints the area.
    void redraw() override;
    void viewOriginChanged() override;
    void scrollBy(int horizontal, int vertical) override;
    void setStatusText(const std::string& text) override;
    void setCursorNumber(int cursor) override;
    void showHover(const HoverFeedback& feedback) override;
    void traceListChanged() override;
    void selectionChanged() override { emit selectionChangedByTools(); }
    int chooseAmong(const std::vector<Element*>& elements, ScreenPoint at) override;
    void toolChosen(int tool) override { owner_.toolChosen(tool); }
    void startButtonTimer() override;
    bool buttonTimerRunning() override;
    void captureMouse(bool on) override;

    // ---- the view, as "Mover la pantalla" and the print preview change it
    Document& currentDocument() { return *document_; }
    Renderer& renderer() { return renderer_; }
    QSize drawingAreaSize() const;
    QSize screenSize() const;
    double planeSize() const { return planeSize_; }
    void setPlaneSize(double size);
    bool showHidden() const { return showHidden_; }
    void redrawMainView() { redraw(); }
    void viewChanged();

  signals:
    // A click, key or tool change of the tools changed which elements are selected.
    void selectionChangedByTools();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Everything a drawing of the main view uses: view, area, path, hidden elements, plane, the
    // trace, the state of the tools (a gesture running, the elements picked) and the marks drawn
    // over the construction.
    RenderOptions renderOptions();
    void drawOverlay(QPainter& painter) const;
    // The marks of the macro tools: the initial and final elements of the macro being made.
    void drawMacroMarks(QPainter& painter);
    bool markAnchor(const Element& e, ScreenPoint& at);
    // An image of `size` in the area's coordinates, with `ratio` pixels of its own to each.
    static QImage deviceBitmap(QSize size, qreal ratio);
    void ensureBitmapSize();
    // The area's paint: a pending drag frame onto the window, else the bitmap's part under `r`.
    void paintArea(QWidget& area, const QRect& r);
    bool paintFrameOnWindow(QWidget& area);
    // Draws the pending drag frame into the main bitmap, if one waits.
    void catchUp();
    void drawFrame(QImage& target, const RenderOptions& options);
    void areaResized();
    void horizontalScrolled(int position);
    void verticalScrolled(int position);
    void afterScroll();
    // The traced elements drawn into the trace bitmap where they are now.
    void drawTraces();
    void updateBlinking();
    // The blinking elements in their "on" phase, over the drawing.
    void drawBlinkPhase();

    CanvasOwner& owner_;
    Document* document_;
    Renderer renderer_;
    DragLayers dragLayers_;     // while something is dragged or rotated
    QImage mainBitmap_;         // every redraw goes here first
    QImage traceBitmap_;        // traces of moving elements
    bool bitmapBehind_ = false; // a drag frame waits for the area's paint; the bitmap is older
    int windowFrames_ = 0;
    qreal pixelRatio_ = 1.0;    // of both bitmaps
    qreal ratioOverride_ = 0.0; // 0: the screen's
    double planeSize_ = 4000.0;
    bool showHidden_ = false;
    bool markRotationCentre_ = true;

    QWidget* area_ = nullptr;   // the drawing area: its paint copies the main bitmap
    QWidget* panelH_ = nullptr; // each scroll bar sits on a panel of its own
    QWidget* panelV_ = nullptr;
    QScrollBar* SB_h = nullptr;
    QScrollBar* SB_v = nullptr;

    Interaction interaction_;
    HoverOverlay overlay_;
    FontRecord cursorFont_{"Arial", 0xffffff, 11, 0, 0, 0, 0};
    Color cursorBackground_ = 0;
    HoverFeedback hover_;
    QTimer* buttonTimer_ = nullptr; // 150 ms: a motion button shows pressed
    // Traces, blinking and the replay.
    bool tracing_ = false;
    QTimer* blinkTimer_ = nullptr; // 180 ms
    bool blinkOn_ = false;
    Element* replayStep_ = nullptr;
    bool replayWhole_ = false;
    int toolUndoSteps_ = 0;
    QElapsedTimer wheelClock_; // since the last Ctrl + wheel step
    int cursorNumber_ = 0;
    std::function<int(const std::vector<Element*>&)> ambiguityChooser_;
};

} // namespace qorv
