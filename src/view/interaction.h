// The tool modes at work: mouse and keyboard events of the drawing area turned into hit tests,
// hover feedback, construction clicks, drags, rubber-band selection, panning, rotation of the
// selection, zoom and button actions. Plain C++ over a Document: the window supplies the view and
// the drawing through InteractionHost and answers the dialogs through ToolRequests, so all of it
// can be driven by tests.
#pragma once

#include "macros/macrosession.h"
#include "view/clickengine.h"
#include "view/dragengine.h"
#include "view/hittest.h"
#include "view/viewtransform.h"
#include "view/zoom.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qorv {

struct InteractionOptions {
    double detection = 8;         // pixels
    double maxNameDistance = 50;  // pixels
    bool labelTakesColour = true; // "Adaptar el mensaje del cursor a lo detectado"
};

// What the hover shows: the element under the pointer highlighted and a label beside the
// pointer (or the several-elements label), drawn over the drawing without redrawing it.
struct HoverFeedback {
    const Element* highlight = nullptr; // one element under the pointer
    bool several = false;
    std::string label;      // empty: no label
    Color labelColour = -1; // -1: the cursor-message font's colour
    ScreenPoint at;         // the pointer
    int below = 0;          // pixels the label sits below the pointer
    bool empty() const { return !highlight && label.empty(); }
};

enum class MouseButton { Left, Right, Middle };

namespace KeyCode {
enum : int { Other = 0, Escape, Plus, Minus, Left, Right, Up, Down, Control, Delete };
}

class InteractionHost {
  public:
    virtual ~InteractionHost() = default;
    virtual Document& document() = 0;
    virtual ViewTransform view() = 0;
    virtual int areaWidth() = 0;
    virtual int areaHeight() = 0;
    virtual double planeSize() = 0;
    virtual bool showHidden() = 0;
    virtual const CreationOptions& creationOptions() = 0;
    virtual bool elementBox(const Element& e, PixelBox& box) = 0;

    virtual void recordUndoStep() = 0;
    virtual void recalculateAndRedraw() = 0;
    virtual void recalculateMarkedAndRedraw() = 0;
    // A drag step: recalculates the drag's marked elements (the same as the marked pass, without
    // walking the whole list) and redraws.
    virtual void recalculateDragAndRedraw(const DragEngine& drag) = 0;
    virtual void redraw() = 0;
    // The view origin (x0, y0) changed: far corner, scroll bars, redraw.
    virtual void viewOriginChanged() = 0;
    // Scroll bars moved by the arrow keys.
    virtual void scrollBy(int horizontal, int vertical) = 0;

    virtual void setStatusText(const std::string& text) = 0;
    virtual void setCursorNumber(int cursor) = 0;
    virtual void showHover(const HoverFeedback& feedback) = 0;
    // The ambiguity menu: the chosen index, or -1.
    virtual int chooseAmong(const std::vector<Element*>& elements, ScreenPoint at) = 0;
    // The tool changed (tool-bar buttons follow).
    virtual void toolChosen(int tool) = 0;
    virtual void startButtonTimer() = 0;
    virtual bool buttonTimerRunning() = 0;
    virtual void captureMouse(bool on) { (void)on; }
    // The trace tool is about to redraw a changed trace list (what blinks follows it).
    virtual void traceListChanged() {}
    // A press, release, key or tool change changed which elements are selected.
    virtual void selectionChanged() {}
};

class Interaction : private SequenceHost {
  public:
    Interaction(InteractionHost& host, ToolRequests& requests);
    ~Interaction() override;

    // ---- tools
    // Chooses a tool; `ownButton` when the move tool is chosen with its own button (the
    // selection is then kept).
    void chooseTool(int tool, bool ownButton = false);
    int tool() const { return tool_; }
    // Chooses `tool` with `first` already chosen as its first element (see ClickEngine::begin).
    void chooseToolWith(int tool, Element& first);
    // The length tool in its length-assignment mode (see ClickEngine::setLengthTarget).
    void startLengthAssignment(double target);
    const ClickEngine& engine() const { return engine_; }
    ClickEngine& engine() { return engine_; }

    // ---- events of the drawing area (pixel coordinates of the area)
    void mouseMove(ScreenPoint at, bool leftHeld, bool rightHeld, int modifiers);
    void mousePress(ScreenPoint at, MouseButton button, int modifiers);
    void mouseRelease(ScreenPoint at, MouseButton button, int modifiers);
    void doubleClick(ScreenPoint at, MouseButton button, int modifiers);
    void keyPress(int key, int modifiers, bool autoRepeat = false);
    // Ctrl + wheel: `notches` wheel steps (positive: away from the user, larger) scale the
    // construction about the pointer as the zoom tool does. The steps of one burst (each
    // `continuing` the one before) make one undo step; a press or another tool ends a burst.
    void wheelZoom(ScreenPoint at, double notches, bool continuing);
    void keyRelease(int key, int modifiers);
    void leave(); // the pointer left the drawing area
    // The 150 ms button timer fired.
    void buttonTimerFired();
    // Hover state again at the last pointer position (after a construction, a key ...).
    void refreshHover();
    // Ends whatever gesture runs (a drag, rubber band, pan, rotation or zoom drag) without
    // finishing it: the mouse is let go and the tool's cursor comes back. The tool, its
    // sequence and the rotation centre stay. The caller redraws.
    void endGesture();
    // The document was replaced: the gesture ends and everything held is dropped.
    void documentReplaced();
    // Elements moved outside a drag in progress (an animation step): its next move marks again.
    void dragRemark();
    // The view scrolled: the rubber-band area is cancelled (unless a drag is running).
    void viewScrolled();

    // ---- state for the drawing and for tests
    // A drag that moves something, a rubber band or a rotation: the drawing leaves out the
    // selection highlights and the hover waits.
    bool interacting() const;
    // The trace tool has saved its undo step since it was chosen.
    bool traceRunSaved() const { return traceUndoSaved_; }
    // A drag that moves something or a rotation of the selection: traced elements leave traces.
    bool moving() const;
    bool bandActive() const { return std::holds_alternative<Band>(gesture_); }
    // The rubber band being drawn (empty when none).
    WorldRect band() const;
    bool areaDefined() const { return area_.has_value(); }
    WorldRect area() const { return area_ ? area_->rect : WorldRect{}; }
    ScreenPoint areaPixelOffset() const { return area_ ? area_->pixelOffset : ScreenPoint{}; }
    bool panning() const { return std::holds_alternative<Pan>(gesture_); }
    // Whether a gesture runs: a press or drag of the move tool, a rubber band, a pan, a
    // rotation or a zoom drag.
    bool gestureActive() const { return !std::holds_alternative<Idle>(gesture_); }
    bool hasRotationCentre() const { return centre_.has_value(); }
    Point2 rotationCentre() const { return centre_.value_or(Point2{}); }
    const std::vector<Hit>& hoverHits() const { return hover_; }
    // The element under construction that follows the pointer, if the sequence shows one.
    bool previewRequest(ElementRequest& out) const;
    // The same as an element to draw (a regular polygon's preview is a whole polygon).
    std::unique_ptr<Element> previewElement() const;
    // A new text-like element that follows the pointer until the next click (a new check).
    const Element* attachedElement() const { return attached_; }
    InteractionOptions& options() { return options_; }
    HitTester& hitTester() { return tester_; }
    ToolRequests& requests() { return requests_; }
    // The macro work of the macro tools (lists chosen in the drawing, the macro applied) and the
    // lists of the iteration tool belong to their features, which lend them here; without them
    // those tools do nothing. The iteration lists are emptied whenever the tool is chosen from
    // another one.
    void lendMacroSession(MacroSession* session) { macros_ = session; }
    void lendIterationWorkspace(IterationWorkspace* lists) { iteration_ = lists; }
    MacroSession* macroSession() override { return macros_; }
    const MacroSession* macroSession() const { return macros_; }
    IterationWorkspace* iterationWorkspace() override { return iteration_; }
    // The tool's status text: its prompt, or while a macro is applied, the macro's name and the
    // kind of element it expects next.
    std::string toolStatus() const;

    // The hit test at a pixel with the current tool's row.
    const std::vector<Hit>& hitTestAt(ScreenPoint at);

  private:
    class SelectionWatch;
    // ---- the gesture: what the held mouse button is doing, one of these at a time.
    struct Idle {};
    // The move tool pressed on an element: a click (its selection toggles) until the pointer
    // moves, a drag from then on.
    struct Pressed {
        Element* element = nullptr;
        Point2 world; // where it was pressed
        ScreenPoint pixel;
        int modifiers = 0;
    };
    // The drag of the pressed element (or of the selection it belongs to); the engine is idle
    // when nothing of it can move.
    struct Dragging {
        DragEngine drag;
    };
    // A rubber band of the move tool from `start`; the elements kept selected with Shift.
    struct Band {
        Point2 start, end;
        std::vector<Element*> kept;
    };
    // The view follows the pointer with the right button held.
    struct Pan {
        ScreenPoint press;
        Point2 origin; // the view origin at the press
    };
    // The selection-rotation tool turning the free points about the centre.
    struct Rotate {
        double startAngle = 0;
        std::vector<std::pair<Element*, Point2>> points; // with their places at the press
    };
    struct Zoom {
        ZoomDrag drag;
    };
    using Gesture = std::variant<Idle, Pressed, Dragging, Band, Pan, Rotate, Zoom>;

    // One mouse move, as every state sees it.
    struct Motion {
        ScreenPoint at;
        Point2 world;
        bool leftHeld = false;
        bool rightHeld = false;
        int modifiers = 0;
    };
    void move(Idle&, const Motion& m);
    void move(Pressed& g, const Motion& m);
    void move(Dragging& g, const Motion& m);
    void move(Band& g, const Motion& m);
    void move(Pan& g, const Motion& m);
    void move(Rotate& g, const Motion& m);
    void move(Zoom& g, const Motion& m);
    // Releases of the left button.
    void release(Idle&, ScreenPoint, int) {}
    void release(Pressed& g, ScreenPoint at, int modifiers);
    void release(Dragging& g, ScreenPoint at, int modifiers);
    void release(Band& g, ScreenPoint at, int modifiers);
    void release(Pan&, ScreenPoint, int) {}
    void release(Rotate& g, ScreenPoint at, int modifiers);
    void release(Zoom& g, ScreenPoint at, int modifiers);

    // SequenceHost.
    Document& document() override { return host_.document(); }
    const CreationOptions& creationOptions() override { return host_.creationOptions(); }
    void recordUndo() override;
    void recalculateAndRedraw() override { host_.recalculateAndRedraw(); }
    void switchTool(int tool, bool keepSelection, Element* attached) override;
    void visibleArea(double& left, double& top, double& right, double& bottom) override;

    Point2 toWorld(ScreenPoint p) { return host_.view().toWorld(p.x, p.y); }
    HitQuery query() const;
    void clearHover();
    void hoverAt(ScreenPoint at);
    void hoverUnlessHeld(const Motion& m);
    int toolCursor() const;

    void pressLeft(ScreenPoint at, int modifiers, const Hit* forced);
    void pressMoveTool(ScreenPoint at, int modifiers, const Hit* hit);
    void pressRotation(ScreenPoint at, const Hit* hit);
    void startPan(ScreenPoint at);
    void pressButtonElement(Element& button);
    void pressTrace(const Hit* hit);
    void pressAnimation(const Hit* hit);
    void runMotionPairs(Element& button);
    void stepSelection(int direction);
    void moveSelectionBy(Point2 shift);

    InteractionHost& host_;
    ToolRequests& requests_;
    InteractionOptions options_;
    MacroSession* macros_ = nullptr;
    IterationWorkspace* iteration_ = nullptr;
    ClickEngine engine_;
    HitTester tester_;
    int tool_ = Tool::Move;
    Gesture gesture_;

    std::vector<Hit> hover_;
    ScreenPoint lastPointer_;
    bool pointerKnown_ = false;
    bool ctrlHeld_ = false;

    // The area a rubber band left, until a tool is chosen, the view scrolls or another band
    // starts.
    struct Area {
        WorldRect rect;
        ScreenPoint pixelOffset; // its top-left corner on the screen, for exports
    };
    std::optional<Area> area_;
    // The centre of the selection-rotation tool, kept from one rotation to the next.
    std::optional<Point2> centre_;

    // A new element that follows the pointer until the next click.
    Element* attached_ = nullptr;

    // The trace tool saved its undo step since it was chosen.
    bool traceUndoSaved_ = false;
    bool wheelBurst_ = false; // a Ctrl + wheel burst has recorded its undo step

    // Button timer and key runs.
    Element* timedButton_ = nullptr;
    bool keyRunActive_ = false;
    int selectionWatches_ = 0; // SelectionWatch objects alive
};

} // namespace qorv
