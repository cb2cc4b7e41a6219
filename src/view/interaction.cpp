#include "view/interaction.h"

#include "geometry/animation.h"
#include "geometry/locus.h"
#include "geometry/pointonelement.h"
#include "geometry/primitives.h"
#include "geometry/transforms.h"
#include "macros/macro.h"
#include "model/buttonaction.h"
#include "model/document.h"
#include "model/elementcodec.h"
#include "model/methodtable.h"
#include "model/uitext.h"

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

bool containsElement(const Document& doc, const Element* e) {
    for (const Element* x = doc.head; x; x = x->next)
        if (x == e) return true;
    return false;
}

bool drawable(const Element& e, bool showHidden) {
    return e.defined && e.visible != Internal && (e.visible != 0 || showHidden);
}

// The position a rotation centre takes from a clicked element: a point's own place, a circle's
// or an arc's centre.
bool centreOf(const Element& e, Point2& out) {
    switch (e.kind()) {
    case Kind::Point:
    case Kind::Circle:
        out = {e.value[0], e.value[1]};
        return isFinite(out);
    default:
        return false;
    }
}

constexpr int MinLocusSamples = 10;

} // namespace

// Tells the host when the selection differs after the event it watches from before it.
// Tells the host when the selection differs after the event it watches from before it; events
// nested in a watched one (a tool chosen by a click) leave the telling to the outer watch.
class Interaction::SelectionWatch {
  public:
    explicit SelectionWatch(Interaction& in)
        : in_(in), outer_(in.selectionWatches_++ == 0), before_(outer_ ? signature() : 0) {}
    ~SelectionWatch() {
        --in_.selectionWatches_;
        if (outer_ && signature() != before_) in_.host_.selectionChanged();
    }
    SelectionWatch(const SelectionWatch&) = delete;
    SelectionWatch& operator=(const SelectionWatch&) = delete;

  private:
    uint64_t signature() const {
        uint64_t h = 1469598103934665603ull;
        for (const Element* e = in_.host_.document().head; e; e = e->next)
            if (e->selected) h = (h ^ uint64_t(reinterpret_cast<uintptr_t>(e))) * 1099511628211ull;
        return h;
    }
    Interaction& in_;
    bool outer_;
    uint64_t before_;
};

Interaction::Interaction(InteractionHost& host, ToolRequests& requests)
    : host_(host), requests_(requests), engine_(*this, requests) {
    engine_.chooseTool(Tool::Move);
}

Interaction::~Interaction() = default;

// ---- tools --------------------------------------------------------------------------------------

int Interaction::toolCursor() const {
    if (tool_ == Tool::RotateSelection && centre_) return Cursor::Rotate;
    return toolInfo(tool_).cursor;
}

void Interaction::chooseTool(int tool, bool ownButton) {
    const SelectionWatch watch(*this);
    if (tool < 0 || tool >= ToolCount) tool = Tool::Move;
    wheelBurst_ = false;
    Document& doc = host_.document();
    const bool keepSelection = tool == Tool::RotateSelection || tool == Tool::ShowHideButton ||
                               (tool == Tool::Move && ownButton);
    if (!keepSelection) doc.selectNone();
    if (tool == Tool::Iteration && tool_ != Tool::Iteration && iteration_) iteration_->reset();
    tool_ = tool;
    attached_ = nullptr;
    traceUndoSaved_ = false;
    host_.toolChosen(tool);
    area_.reset();
    engine_.chooseTool(tool);
    host_.setStatusText(toolStatus());
    if (tool != Tool::RotateSelection) centre_.reset();
    endGesture();
    hover_.clear();
    host_.showHover(HoverFeedback{});
    host_.redraw();
}

void Interaction::chooseToolWith(int tool, Element& first) {
    chooseTool(tool);
    engine_.begin(first);
}

void Interaction::startLengthAssignment(double target) {
    chooseTool(Tool::LengthDistance);
    engine_.setLengthTarget(target);
}

std::string Interaction::toolStatus() const {
    const Document& doc = host_.document();
    const int m = macros_ ? macros_->applying : -1;
    if (tool_ == Tool::ApplyMacro && m >= 0 && m < doc.macroCount())
        return macroPrompt(doc.macros[size_t(m)], engine_.picked().size());
    return uiText().toolPrompt(tool_);
}

void Interaction::switchTool(int tool, bool keepSelection, Element* attached) {
    chooseTool(tool, keepSelection);
    attached_ = attached;
}

void Interaction::endGesture() {
    gesture_ = Idle{};
    host_.document().dragged = nullptr;
    host_.captureMouse(false);
    host_.setCursorNumber(toolCursor());
}

void Interaction::documentReplaced() {
    attached_ = nullptr;
    wheelBurst_ = false;
    timedButton_ = nullptr;
    area_.reset();
    centre_.reset();
    endGesture();
    hover_.clear();
    engine_.reset();
    if (iteration_) iteration_->reset();
}

void Interaction::dragRemark() {
    if (auto* d = std::get_if<Dragging>(&gesture_)) d->drag.remark();
}

void Interaction::viewScrolled() {
    if (const auto* d = std::get_if<Dragging>(&gesture_); d && d->drag.active()) return;
    if (bandActive()) endGesture();
    area_.reset();
}

bool Interaction::interacting() const {
    if (const auto* d = std::get_if<Dragging>(&gesture_)) return d->drag.active();
    return std::holds_alternative<Band>(gesture_) || std::holds_alternative<Rotate>(gesture_);
}

bool Interaction::moving() const {
    if (const auto* d = std::get_if<Dragging>(&gesture_)) return d->drag.active();
    return std::holds_alternative<Rotate>(gesture_);
}

WorldRect Interaction::band() const {
    const auto* b = std::get_if<Band>(&gesture_);
    return b ? WorldRect::spanning(b->start, b->end) : WorldRect{};
}

// ---- undo ---------------------------------------------------------------------------------------

void Interaction::visibleArea(double& left, double& top, double& right, double& bottom) {
    const ViewTransform v = host_.view();
    const Point2 tl = v.toWorld(0, 0), br = v.toWorld(host_.areaWidth(), host_.areaHeight());
    left = tl.x, top = tl.y, right = br.x, bottom = br.y;
}

void Interaction::recordUndo() {
    host_.recordUndoStep(); // keeps the working list: references into it stay valid
    hover_.clear();
}

// ---- hit testing and hover ----------------------------------------------------------------------

HitQuery Interaction::query() const {
    HitQuery q;
    q.tool = tool_;
    q.needs = engine_.needs();
    q.showHidden = host_.showHidden();
    q.detection = options_.detection;
    q.picked = &engine_.picked();
    return q;
}

const std::vector<Hit>& Interaction::hitTestAt(ScreenPoint at) {
    const ViewTransform view = host_.view();
    BoxQuery boxes = [this](const Element& e, PixelBox& b) { return host_.elementBox(e, b); };
    return tester_.run(host_.document(), view, boxes, query(), view.toWorld(at.x, at.y));
}

void Interaction::clearHover() {
    if (!hover_.empty()) host_.setStatusText(toolStatus());
    hover_.clear();
    host_.showHover(HoverFeedback{});
}

void Interaction::hoverAt(ScreenPoint at) {
    hover_ = hitTestAt(at);
    HoverFeedback fb;
    fb.at = at;
    int cursor = toolCursor();
    std::string status = toolStatus();
    const Document& doc = host_.document();
    if (hover_.size() == 1) {
        const Element& e = *hover_.front().element;
        if (tool_ == Tool::Move) {
            if (e.kind() == Kind::Button && e.option != 0)
                cursor = Cursor::Press;
            else if (!isTextLike(e.kind()) || e.kind() == Kind::Name)
                cursor = Cursor::Draggable;
        }
        fb.highlight = tester_.isHolder(&e) ? nullptr : &e;
        fb.label = cursorLabelOf(doc, e);
        status = describeElement(doc, e);
        if (options_.labelTakesColour && !tester_.isHolder(&e))
            fb.labelColour = e.kind() == Kind::Button ? Color(e.shape) : e.color;
    } else if (hover_.size() > 1) {
        cursor = Cursor::Several;
        fb.several = true;
        fb.label = uiText().message(Msg::SeveralElements);
    }
    if (cursor == Cursor::Select || cursor == Cursor::Draggable || cursor == Cursor::Press ||
        isCheckTool(tool_))
        fb.below = 18;
    host_.showHover(fb);
    host_.setCursorNumber(cursor);
    host_.setStatusText(status);
}

void Interaction::refreshHover() {
    if (!pointerKnown_ || ctrlHeld_ || interacting() || panning()) {
        hover_.clear();
        host_.showHover(HoverFeedback{});
        return;
    }
    hoverAt(lastPointer_);
}

void Interaction::leave() {
    pointerKnown_ = false;
    clearHover();
}

bool Interaction::previewRequest(ElementRequest& out) const {
    const ToolSequence* s = engine_.sequence();
    if (!s || !pointerKnown_ || !engine_.running()) return false;
    const Point2 w = host_.view().toWorld(lastPointer_.x, lastPointer_.y);
    return s->preview(engine_, w, out);
}

std::unique_ptr<Element> Interaction::previewElement() const {
    const ToolSequence* s = engine_.sequence();
    if (!s || !pointerKnown_ || !engine_.running()) return nullptr;
    return s->previewElement(engine_, host_.view().toWorld(lastPointer_.x, lastPointer_.y));
}

// ---- mouse --------------------------------------------------------------------------------------

void Interaction::mouseMove(ScreenPoint at, bool leftHeld, bool rightHeld, int modifiers) {
    lastPointer_ = at;
    pointerKnown_ = true;
    const Motion m{at, toWorld(at), leftHeld, rightHeld, modifiers};
    std::visit([&](auto& g) { move(g, m); }, gesture_);
}

void Interaction::hoverUnlessHeld(const Motion& m) {
    if (m.leftHeld || m.rightHeld) return;
    if ((m.modifiers & Modifier::Ctrl) || ctrlHeld_) {
        clearHover();
        return;
    }
    hoverAt(m.at);
}

void Interaction::move(Idle&, const Motion& m) {
    if (attached_ && !m.leftHeld && !m.rightHeld) {
        // A new text follows the pointer: its top-left corner sits at the pointer.
        attached_->value[2] = m.world.x;
        attached_->value[3] = m.world.y;
        host_.redraw();
        return;
    }
    hoverUnlessHeld(m);
}

void Interaction::move(Pressed& g, const Motion& m) {
    if (!m.leftHeld) {
        hoverUnlessHeld(m);
        return;
    }
    if (m.at == g.pixel || (g.modifiers & Modifier::Shift)) return;
    // The pointer moved: the press becomes a drag, one undo step for all of it.
    clearHover();
    recordUndo();
    Element* pressed = g.element; // found again after the undo step
    const Point2 from = g.world;
    if (!pressed) {
        endGesture();
        return;
    }
    DragEngine drag(options_.maxNameDistance / host_.view().scale);
    drag.begin(host_.document(), pressed, from, pressed->selected != 0);
    gesture_ = Dragging{std::move(drag)};
    move(std::get<Dragging>(gesture_), m);
}

void Interaction::move(Dragging& g, const Motion& m) {
    if (!m.leftHeld) {
        hoverUnlessHeld(m);
        return;
    }
    if (!g.drag.active()) return;
    Document& doc = host_.document();
    // Loci that the drag of this one element cannot change keep their samples meanwhile.
    Element* dragged = g.drag.element();
    doc.dragged = dragged && !dragged->selected ? dragged : nullptr;
    g.drag.move(doc, m.world);
    host_.recalculateDragAndRedraw(g.drag);
}

void Interaction::move(Band& g, const Motion& m) {
    if (!m.leftHeld) return;
    g.end = m.world;
    host_.redraw();
}

void Interaction::move(Pan& g, const Motion& m) {
    if (!m.rightHeld) return;
    Document& doc = host_.document();
    const double s = host_.view().scale > 0 ? host_.view().scale : 1.0;
    const double half = host_.planeSize() / 2;
    double x0 = g.origin.x - (m.at.x - g.press.x) / s;
    double y0 = g.origin.y + (m.at.y - g.press.y) / s;
    // Clamped to the plane: its edges stop at the window's edges.
    x0 = std::max(x0, -half);
    x0 = std::min(x0, half - host_.areaWidth() - 1);
    y0 = std::min(y0, half);
    y0 = std::max(y0, host_.areaHeight() + 8 - half);
    doc.view1 = x0;
    doc.view2 = y0;
    if (x0 == doc.left && y0 == doc.top) return;
    doc.left = x0;
    doc.top = y0;
    host_.viewOriginChanged();
}

void Interaction::move(Rotate& g, const Motion& m) {
    if (!m.leftHeld || !centre_) return;
    const Point2 c = *centre_;
    const double turn = std::atan2(m.world.y - c.y, m.world.x - c.x) - g.startAngle;
    std::vector<Element*> roots;
    for (auto& [e, start] : g.points) {
        const Point2 p = rotatePoint(start, c, turn);
        if (isFinite(p)) e->value[0] = p.x, e->value[1] = p.y;
        roots.push_back(e);
    }
    host_.document().markDescendantsOf(roots);
    host_.recalculateMarkedAndRedraw();
}

void Interaction::move(Zoom& g, const Motion& m) {
    if (m.leftHeld) g.drag.move(m.world);
}

void Interaction::mousePress(ScreenPoint at, MouseButton button, int modifiers) {
    const SelectionWatch watch(*this);
    lastPointer_ = at;
    wheelBurst_ = false;
    pointerKnown_ = true;
    if (button == MouseButton::Right) {
        // One gesture at a time: the right button pans only from rest.
        if (gestureActive()) return;
        if (hitTestAt(at).empty()) startPan(at);
        return;
    }
    if (button != MouseButton::Left || panning()) return;
    if (attached_) {
        // The click places the element that followed the pointer.
        const Point2 world = toWorld(at);
        attached_->value[2] = world.x;
        attached_->value[3] = world.y;
        attached_ = nullptr;
        host_.redraw();
        refreshHover();
        return;
    }
    pressLeft(at, modifiers, nullptr);
}

void Interaction::pressLeft(ScreenPoint at, int modifiers, const Hit* forced) {
    const Point2 world = toWorld(at);
    std::vector<Hit> hits;
    if (forced)
        hits.push_back(*forced);
    else
        hits = hitTestAt(at);
    Document& doc = host_.document();

    if (tool_ == Tool::Zoom) {
        recordUndo();
        Zoom zoom{ZoomDrag([this](Point2 centre, double factor) {
            scaleConstruction(host_.document(), centre, factor);
            host_.recalculateAndRedraw();
        })};
        zoom.drag.press(world);
        gesture_ = std::move(zoom);
        return;
    }
    if (hits.size() >= 2) {
        // The ambiguity menu: the move tool (and the rotation tool waiting for its element)
        // toggles the chosen element's selection; other tools take it as the hit.
        std::vector<Element*> list;
        for (const Hit& h : hits)
            list.push_back(h.element);
        const int chosen = host_.chooseAmong(list, at);
        if (chosen < 0 || chosen >= int(hits.size())) return;
        if (tool_ == Tool::Move || (tool_ == Tool::RotateSelection && centre_)) {
            Element* e = hits[size_t(chosen)].element;
            if (containsElement(doc, e) || e->owner) e->selected = e->selected ? 0 : 1;
            host_.redraw();
            refreshHover();
            return;
        }
        const Hit h = hits[size_t(chosen)];
        pressLeft(at, modifiers, &h);
        return;
    }
    const Hit* hit = hits.empty() ? nullptr : &hits.front();
    switch (tool_) {
    case Tool::Move:
        pressMoveTool(at, modifiers, hit);
        return;
    case Tool::RotateSelection:
        pressRotation(at, hit);
        return;
    case Tool::Trace:
        pressTrace(hit);
        return;
    case Tool::Animation:
        pressAnimation(hit);
        return;
    default:
        break;
    }
    engine_.click(hit, world, modifiers);
    refreshHover();
}

// The trace tool: the element clicked starts or stops leaving traces (one undo step for the
// tool's whole run).
void Interaction::pressTrace(const Hit* hit) {
    if (!hit || !hit->element) return;
    if (!traceUndoSaved_) {
        recordUndo();
        traceUndoSaved_ = true;
    }
    toggleTrace(host_.document(), hit->element);
    host_.document().modified = 1;
    host_.traceListChanged();
    host_.redraw();
    refreshHover();
}

// The animation tool: the element clicked joins the animation list or leaves it.
void Interaction::pressAnimation(const Hit* hit) {
    if (!hit || !hit->element || !isAnimatable(*hit->element)) return;
    Document& doc = host_.document();
    if (doc.animations.empty()) recordUndo();
    toggleAnimation(doc, hit->element);
    doc.modified = 1;
    requests_.animationEntryClicked(hit->element);
    host_.redraw();
    refreshHover();
}

void Interaction::pressMoveTool(ScreenPoint at, int modifiers, const Hit* hit) {
    const Point2 world = toWorld(at);
    Document& doc = host_.document();
    if (!hit) {
        // A rubber band from the pressed point; with Shift the selection stays.
        Band band{world, world, {}};
        area_.reset();
        if (modifiers & Modifier::Shift) {
            for (Element* e = doc.head; e; e = e->next)
                if (e->selected) band.kept.push_back(e);
        } else {
            doc.selectNone();
        }
        gesture_ = std::move(band);
        clearHover();
        host_.redraw();
        return;
    }
    Element* e = hit->element;
    if (e->kind() == Kind::Button && e->option != 0) {
        pressButtonElement(*e);
        return;
    }
    gesture_ = Pressed{e, world, at, modifiers};
}

void Interaction::mouseRelease(ScreenPoint at, MouseButton button, int modifiers) {
    const SelectionWatch watch(*this);
    lastPointer_ = at;
    if (button == MouseButton::Right) {
        if (panning()) endGesture();
        return;
    }
    if (button != MouseButton::Left) return;
    std::visit([&](auto& g) { release(g, at, modifiers); }, gesture_);
}

void Interaction::release(Pressed& g, ScreenPoint, int) {
    // A click: the element's selection toggles.
    Element* e = g.element;
    e->selected = e->selected ? 0 : 1;
    endGesture();
    host_.redraw();
    refreshHover();
}

void Interaction::release(Dragging& g, ScreenPoint, int) {
    const bool moved = g.drag.active();
    endGesture();
    // The loci that may have kept their samples during the drag sample again (the marks of the
    // last move are still set).
    bool loci = false;
    for (const Element* e = host_.document().head; e && moved && !loci; e = e->next)
        loci = e->mark == 1 && e->method == Method::Locus;
    if (loci)
        host_.recalculateMarkedAndRedraw();
    else
        host_.redraw();
    refreshHover();
}

void Interaction::release(Rotate&, ScreenPoint, int) {
    // The centre stays for the next rotation.
    endGesture();
    host_.recalculateAndRedraw();
    refreshHover();
}

void Interaction::release(Zoom&, ScreenPoint, int) {
    endGesture();
}

void Interaction::release(Band& g, ScreenPoint at, int modifiers) {
    g.end = toWorld(at);
    const WorldRect r = WorldRect::spanning(g.start, g.end);
    const std::vector<Element*> kept = std::move(g.kept);
    endGesture(); // `g` is gone from here on
    Document& doc = host_.document();
    if (r.right - r.left >= 2 && r.top - r.bottom >= 2) {
        area_ = Area{r, host_.view().toScreen(r.left, r.top)};
        if (!(modifiers & Modifier::Ctrl)) {
            const ViewTransform view = host_.view();
            const bool showHidden = host_.showHidden();
            BoxQuery boxes = [this](const Element& e, PixelBox& b) {
                return host_.elementBox(e, b);
            };
            for (Element* e = doc.head; e; e = e->next) {
                if (e->method == Method::Name || !drawable(*e, showHidden)) continue;
                const bool isKept = std::find(kept.begin(), kept.end(), e) != kept.end();
                const bool inside = isFamilyLocus(*e)
                                        ? familyLocusLiesInRectangle(doc, *e, r, view, boxes)
                                        : liesInRectangle(*e, r, view, boxes);
                e->selected = (isKept || inside) ? 1 : 0;
            }
            // A name label follows its element.
            for (Element* e = doc.head; e; e = e->next)
                if (e->method == Method::Name && e->parent1) e->selected = e->parent1->selected;
        }
    } else {
        area_.reset();
    }
    host_.redraw();
    refreshHover();
}

void Interaction::doubleClick(ScreenPoint at, MouseButton button, int modifiers) {
    const SelectionWatch watch(*this);
    if (button != MouseButton::Left) return;
    // The second press of a double click is a press like any other, unless the sequence takes
    // the double click as its own gesture.
    const ToolSequence* s = engine_.sequence();
    if (tool_ == Tool::Move || !s || !s->takesDoubleClick()) pressLeft(at, modifiers, nullptr);
    if (tool_ == Tool::Move) {
        mouseRelease(at, MouseButton::Left, modifiers);
        const std::vector<Hit>& hits = hitTestAt(at);
        if (hits.size() != 1) return;
        Element& e = *hits.front().element;
        int dialogTool = -1;
        switch (isValidMethod(e.method) ? methodRow(e.method).dialog : ElementDialog::None) {
        case ElementDialog::None:
            return; // its settings are in "Editar elemento"
        case ElementDialog::Text:
            if (editExistingText(*this, requests_, e)) host_.recalculateAndRedraw();
            refreshHover();
            return;
        case ElementDialog::Calculator:
            dialogTool = Tool::Calculate;
            break;
        case ElementDialog::Function:
            dialogTool = Tool::Function;
            break;
        case ElementDialog::Parameter:
            dialogTool = Tool::Parameter;
            break;
        case ElementDialog::RepresentPoints:
            dialogTool = Tool::RepresentPoints;
            break;
        }
        requests_.openElementDialog(dialogTool, e);
        // The calculator stays open on the element in its own tool; the other dialogs are modal.
        if (dialogTool != Tool::Calculate && dialogTool != Tool::Function)
            chooseTool(Tool::Move, true);
        return;
    }
    const std::vector<Hit>& hits = hitTestAt(at);
    const Hit* hit = hits.size() == 1 ? &hits.front() : nullptr;
    engine_.doubleClick(hit, toWorld(at), modifiers);
    refreshHover();
}

// ---- panning ------------------------------------------------------------------------------------

void Interaction::startPan(ScreenPoint at) {
    Document& doc = host_.document();
    gesture_ = Pan{at, {doc.left, doc.top}};
    doc.savedOriginX = doc.left;
    doc.savedOriginY = doc.top;
    clearHover();
    host_.captureMouse(true);
    host_.setCursorNumber(Cursor::Pan);
}

// ---- rotation of the selection ------------------------------------------------------------------

void Interaction::pressRotation(ScreenPoint at, const Hit* hit) {
    const Point2 world = toWorld(at);
    Document& doc = host_.document();
    if (!centre_) {
        Point2 centre = world;
        if (hit) centreOf(*hit->element, centre);
        centre_ = centre;
        host_.setCursorNumber(toolCursor());
        host_.redraw();
        return;
    }
    if (!hit || tester_.isHolder(hit->element)) return;
    Element* pressed = hit->element;
    const bool anySelected = doc.selectedCount() > 0;
    if (anySelected && !pressed->selected) return;
    recordUndo();
    std::vector<Element*> chosen;
    if (anySelected) {
        for (Element* e = doc.head; e; e = e->next)
            if (e->selected) chosen.push_back(e);
    } else {
        chosen.push_back(pressed);
    }
    // The selected elements turn with the free points they are built on.
    std::vector<Element*> freePoints;
    for (Element* c : chosen) {
        doc.markAncestors(c);
        if (c->method == Method::FreePoint) c->mark = 1;
        for (Element* e = doc.head; e; e = e->next)
            if (e->mark == 1 && e->method == Method::FreePoint &&
                std::find(freePoints.begin(), freePoints.end(), e) == freePoints.end())
                freePoints.push_back(e);
    }
    doc.clearMarks();
    doc.renumber();
    if (freePoints.empty()) return;
    Rotate rotate;
    rotate.startAngle = std::atan2(world.y - centre_->y, world.x - centre_->x);
    for (Element* p : freePoints)
        rotate.points.push_back({p, Point2{p->value[0], p->value[1]}});
    gesture_ = std::move(rotate);
    clearHover();
}

// ---- buttons ------------------------------------------------------------------------------------

void Interaction::pressButtonElement(Element& pressed) {
    if (host_.buttonTimerRunning()) return;
    Element* button = &pressed;
    recordUndo();
    button->option2 = button->option2 ? 0 : 1;
    const int flag = button->option2;
    if (button->method == Method::ShowHideButton) {
        applyShowHideButton(*button, flag);
    } else if (button->method == Method::MotionButton) {
        host_.startButtonTimer();
        timedButton_ = button;
        if (flag == 0) runMotionPairs(*button);
    }
    host_.recalculateAndRedraw();
}

void Interaction::runMotionPairs(Element& button) {
    auto* t = button.tailAs<ButtonTail>();
    if (!t) return;
    Document& doc = host_.document();
    for (size_t i = 0; i + 1 < t->elements.size(); i += 2) {
        Element* a = t->elements[i];
        Element* b = t->elements[i + 1];
        if (!a || !b || !a->defined || !b->defined) continue;
        const Point2 target{b->value[0], b->value[1]};
        if (!isFinite(target)) continue;
        if (a->method == Method::FreePoint) {
            a->value[0] = target.x;
            a->value[1] = target.y;
        } else if (a->method == Method::PointOnElement && a->parent1) {
            const double p = nearestParameterOnElement(*a->parent1, target);
            if (std::isfinite(p)) a->value[3] = p;
        } else {
            const Point2 shift = target - Point2{a->value[0], a->value[1]};
            if (isFinite(shift)) shiftFreeAncestors(doc, *a, shift);
        }
    }
}

void Interaction::buttonTimerFired() {
    Document& doc = host_.document();
    if (timedButton_ && containsElement(doc, timedButton_)) timedButton_->option2 = 1;
    timedButton_ = nullptr;
    host_.redraw();
}

// ---- keyboard -----------------------------------------------------------------------------------

void Interaction::wheelZoom(ScreenPoint at, double notches, bool continuing) {
    // A tenth larger per notch; a flung wheel counts as ten notches at most.
    constexpr double NotchFactor = 1.1;
    notches = std::clamp(notches, -10.0, 10.0);
    if (!std::isfinite(notches) || notches == 0 || gestureActive()) return;
    if (!continuing || !wheelBurst_) {
        recordUndo();
        wheelBurst_ = true;
    }
    scaleConstruction(host_.document(), toWorld(at), std::pow(NotchFactor, notches));
    host_.recalculateAndRedraw();
    refreshHover();
}

void Interaction::keyPress(int key, int modifiers, bool autoRepeat) {
    const SelectionWatch watch(*this);
    (void)autoRepeat;
    Document& doc = host_.document();
    switch (key) {
    case KeyCode::Escape:
        chooseTool(Tool::Move);
        refreshHover();
        return;
    case KeyCode::Control:
        ctrlHeld_ = true;
        clearHover();
        return;
    case KeyCode::Plus:
    case KeyCode::Minus:
        if (tool_ == Tool::Move && doc.selectedCount() > 0)
            stepSelection(key == KeyCode::Plus ? 1 : -1);
        return;
    case KeyCode::Left:
    case KeyCode::Right:
    case KeyCode::Up:
    case KeyCode::Down: {
        const int dx = key == KeyCode::Left ? -1 : key == KeyCode::Right ? 1 : 0;
        const int dy = key == KeyCode::Up ? 1 : key == KeyCode::Down ? -1 : 0;
        bool movable = false;
        if (tool_ == Tool::Move) {
            for (Element* e = doc.head; e && !movable; e = e->next)
                movable = e->selected && (e->method == Method::FreePoint || isTextLike(e->kind()));
        }
        if (movable) {
            moveSelectionBy({double(dx), double(dy)});
            return;
        }
        const int step = (modifiers & Modifier::Ctrl) ? 10 : 50;
        host_.scrollBy(dx * step, -dy * step);
        return;
    }
    case KeyCode::Delete:
        if (tool_ != Tool::Move || doc.selectedCount() == 0) return;
        endGesture(); // a drag holds the elements that are about to go
        recordUndo();
        doc.deleteSelected();
        hover_.clear();
        host_.recalculateAndRedraw();
        refreshHover();
        return;
    default:
        return;
    }
}

void Interaction::keyRelease(int key, int modifiers) {
    (void)modifiers;
    if (key == KeyCode::Control) {
        ctrlHeld_ = false;
        refreshHover();
        return;
    }
    if (key == KeyCode::Plus || key == KeyCode::Minus || key == KeyCode::Left ||
        key == KeyCode::Right || key == KeyCode::Up || key == KeyCode::Down) {
        keyRunActive_ = false;
        refreshHover();
    }
}

void Interaction::stepSelection(int direction) {
    Document& doc = host_.document();
    if (!keyRunActive_) {
        keyRunActive_ = true;
        recordUndo();
    }
    for (Element* e = doc.head; e; e = e->next) {
        if (!e->selected) continue;
        if (e->method == Method::Locus) {
            auto* t = e->tailAs<SampledCurveTail>();
            if (!t || (e->parent2 && e->parent2->method == Method::GridPoint)) continue;
            const int n =
                std::clamp(int(t->first.size()) + 5 * direction, MinLocusSamples, MaxCurveSamples);
            t->resize(n);
            e->selected = 0;
        } else if (auto* it = e->tailAs<IterationTail>()) {
            it->iterations = limitedIterations(*it, int64_t(it->iterations) + direction);
        } else if (e->method == Method::Parameter) {
            const auto* p = e->tailAs<ParameterTail>();
            const double step = p ? std::fabs(p->step) : 0.01;
            e->value[0] += direction * step;
        }
    }
    host_.recalculateAndRedraw();
}

void Interaction::moveSelectionBy(Point2 shift) {
    if (!keyRunActive_) {
        keyRunActive_ = true;
        recordUndo();
    }
    Document& doc = host_.document();
    DragEngine step(options_.maxNameDistance);
    if (step.begin(doc, nullptr, {0, 0}, true)) {
        step.move(doc, shift);
        step.end();
        host_.recalculateMarkedAndRedraw();
    }
}

} // namespace qorv
