// The click-sequence engine shared by every construction tool: a click is resolved into an
// element (making a point first where the tool needs one), stored as the next parent of the
// element under construction and added to the picked list; once the tool's needs are met the
// element is created and the sequence starts again.
//
// Sequences never redraw: whatever a click changed (an undo step recorded, an element made, the
// picked list grown or emptied) makes the engine recalculate and redraw once, after the
// sequence has handled the click, so the picture always shows the state the click left.
//
// Adding a tool: write a ToolSequence (usually a PointSequence with a `finish` function, or a
// class of its own for sequences that take other kinds) and return it from the maker of its
// family (toolsequences_constructions.cpp, _transformations, _measures, _editing, _macros), which
// makeToolSequence in toolsequences.cpp asks in turn. The tool's row in the tool table says what
// it may hit and how many points it needs; a sequence may set the row for its next step. The
// button is enabled as soon as makeToolSequence returns a sequence for the tool.
#pragma once

#include "model/document.h"
#include "model/iteration.h"
#include "view/hittest.h"
#include "view/toolrequests.h"
#include "view/tooltable.h"

#include <functional>
#include <memory>
#include <vector>

namespace qorv {

class ClickEngine;
class MacroSession;

// What the engine needs from the program: the document, the creation options, the undo store,
// the redraw and the state of the features some tools fill (macros, iteration). The dialogs a
// click opens are asked through ToolRequests.
class SequenceHost {
  public:
    virtual ~SequenceHost() = default;
    virtual Document& document() = 0;
    virtual const CreationOptions& creationOptions() = 0;
    // Records one undo step; references into the list must be looked up again by id afterwards
    // (the engine does so for everything it holds).
    virtual void recordUndo() = 0;
    // Called by the engine once per click that changed the document or the picked list.
    virtual void recalculateAndRedraw() = 0;
    // After a sequence: choose `tool` (the move tool after a transformation of the selection, a
    // proportion or a check), keeping the selection when asked; `attached` then follows the
    // pointer until the next click places it.
    virtual void switchTool(int tool, bool keepSelection, Element* attached) {
        (void)tool;
        (void)keepSelection;
        (void)attached;
    }
    // The macro work of the macro tools (none: those tools do nothing).
    virtual MacroSession* macroSession() { return nullptr; }
    // The lists of the iteration tool (none: the tool does nothing).
    virtual IterationWorkspace* iterationWorkspace() { return nullptr; }
    // The part of the plane the drawing area shows (world coordinates).
    virtual void visibleArea(double& left, double& top, double& right, double& bottom) {
        const Document& d = document();
        left = d.left, top = d.top, right = d.right, bottom = d.bottom;
    }
};

// The click, as the engine hands it to a sequence.
struct Click {
    Element* element = nullptr; // what was clicked (or the point made there); null: empty place
    bool made = false;          // the engine made the point at this click
    Point2 world;               // where (world)
    int modifiers = 0;          // Modifier bits
    int side = -1;              // polygon side under the pointer
};

namespace Modifier {
enum : int { Shift = 1, Ctrl = 2, Alt = 4 };
}

class ToolSequence {
  public:
    virtual ~ToolSequence() = default;
    // Whether the click on `hit` (null: an empty place) must first be turned into a point. By
    // default: while the needs row still asks for points and the hit's kind has no counter of
    // its own (an empty place, a curve, a crossing, a grid).
    virtual bool wantsPoint(const ClickEngine& engine, const Element* hit) const;
    // The click with its element resolved. Store parents with engine.pick(), finish with
    // engine.complete() or engine.create(); ignore clicks the step cannot use.
    virtual void click(ClickEngine& engine, const Click& click) = 0;
    // A double click while the sequence runs (the polygon closes on it).
    virtual void doubleClick(ClickEngine& engine, const Click& click) {
        (void)engine;
        (void)click;
    }
    // The element that follows the pointer while the sequence waits (line, circle ...): fill
    // the request and return true to have it drawn as a preview.
    virtual bool preview(const ClickEngine& engine, Point2 pointer, ElementRequest& out) const {
        (void)engine;
        (void)pointer;
        (void)out;
        return false;
    }
    // The preview as an element to draw (not in any list): by default the one of preview(),
    // computed from its request. Sequences whose preview is more than one request (the regular
    // polygon) build it here.
    virtual std::unique_ptr<Element> previewElement(const ClickEngine& engine,
                                                    Point2 pointer) const;
    // The sequence starts again (the tool was chosen, or a sequence ended or was abandoned):
    // the needs row has been reloaded from the tool table; a sequence whose row depends on more
    // than the tool sets it here.
    virtual void restart(ClickEngine& engine) { (void)engine; }
    // Whether a double click is the sequence's own gesture: its second press is then not a
    // click (the polygon closes on it instead of taking a point there).
    virtual bool takesDoubleClick() const { return false; }
    // Whether a click at a crossing reaches the sequence as the intersection holder itself
    // instead of making an intersection point first (redefinition checks the crossing first).
    virtual bool takesCrossings() const { return false; }
};

// Points in order; `finish` builds the element once the needs row is empty (the picked points
// are the parents).
class PointSequence : public ToolSequence {
  public:
    using Finish = std::function<void(ClickEngine&)>;
    explicit PointSequence(Finish finish) : finish_(std::move(finish)) {}
    void click(ClickEngine& engine, const Click& click) override;

  private:
    Finish finish_;
};

// The text editor on the text `e`: OK replaces its lines and fonts in one undo step (an editor
// left empty changes nothing). True when the text changed; the caller recalculates and redraws.
bool editExistingText(SequenceHost& host, ToolRequests& requests, Element& e);

// The sequence of a tool (null for tools whose clicks are handled elsewhere or not built).
std::unique_ptr<ToolSequence> makeToolSequence(int tool);
// Whether the tool can be used: construction tools with a sequence, and the tools the
// interaction handles itself (move, rotation, zoom).
bool isToolAvailable(int tool);

class ClickEngine {
  public:
    ClickEngine(SequenceHost& host, ToolRequests& requests) : host_(host), requests_(requests) {}

    // Loads the tool's row and sequence; abandons any sequence in progress.
    void chooseTool(int tool);
    // Abandons the sequence in progress (points already made stay).
    void reset();

    // A left click resolved by the hit test: `hit` is null for an empty place, may be the
    // intersection holder of the hit tester, a grid (with its node), a polygon (with its side).
    void click(const Hit* hit, Point2 world, int modifiers);
    void doubleClick(const Hit* hit, Point2 world, int modifiers);
    // The sequence starts with `first` already chosen, as a dialog asks it (the point whose
    // parents are redefined, the element to colour): the sequence takes it as it takes a click
    // on it at its first point.
    void begin(Element& first);

    // ---- for sequences
    Document& doc() { return host_.document(); }
    const Document& doc() const { return host_.document(); }
    const CreationOptions& options() { return host_.creationOptions(); }
    SequenceHost& host() { return host_; }
    ToolRequests& requests() { return requests_; }
    int tool() const { return tool_; }
    int step() const { return int(picked_.size()); }
    NeedsRow& needs() { return needs_; }
    const NeedsRow& needs() const { return needs_; }
    const std::vector<Element*>& picked() const { return picked_; }
    ElementRequest& request() { return request_; }
    const ElementRequest& request() const { return request_; }
    bool undoSaved() const { return undoSaved_; }
    bool running() const { return !picked_.empty(); }

    // Makes the point a click needs: a free point (no hit), a point on a curve, an intersection
    // point (the holder), a point on a grid. Saves the sequence's undo step first.
    Element* makePoint(const Hit* hit, Point2 world);
    // Stores e as the next parent (parent1, 2, 3, then the request's extra list), appends it to
    // the picked list and counts it off the needs row.
    void pick(Element* e);
    // Creates the element of the request with method m (undo step unless one was saved) and
    // resets the sequence. Returns the new element.
    Element* complete(ConstructionMethod m);
    // Creates one element without ending the sequence (undo step unless one was saved).
    Element* create(ElementRequest& request);
    // Records the sequence's undo step once. Recording keeps the working list, so every
    // reference into it stays valid.
    void saveUndoOnce();
    // Records an undo step even when the sequence saved one (a table changes once per click).
    void saveUndo();
    // The click changed what is drawn without an undo step (the selection).
    void markChanged() { changed_ = true; }
    // Asks for another tool once the current click has been handled (the sequence that asks is
    // replaced then, not while it runs).
    void requestTool(int tool, bool keepSelection, Element* attached = nullptr);

    ToolSequence* sequence() const { return sequence_.get(); }

    // The length-assignment mode of the length tool: the distance between the next two points
    // clicked sets the document's pixels per unit so that it reads `target` (in the document's
    // length unit). Only points are taken meanwhile. Choosing a tool ends the mode.
    void setLengthTarget(double target);
    double lengthTarget() const { return lengthTarget_; }

  private:
    // After a click: one recalculation and redraw if the click changed anything, then the
    // tool asked for.
    void settle();

    struct ToolRequest {
        bool pending = false;
        int tool = Tool::Move;
        bool keepSelection = false;
        Element* attached = nullptr;
    };

    SequenceHost& host_;
    ToolRequests& requests_;
    int tool_ = Tool::Move;
    NeedsRow needs_;
    std::vector<Element*> picked_;
    ElementRequest request_;
    bool undoSaved_ = false;
    bool changed_ = false; // by the click being handled
    std::unique_ptr<ToolSequence> sequence_;
    ToolRequest toolRequest_;
    double lengthTarget_ = 0; // 0: no length assignment
};

} // namespace qorv
