#include "view/clickengine.h"

#include "construction/create.h"
#include "geometry/elementgeometry.h"
#include "geometry/intersectionpoint.h"
#include "geometry/pointonelement.h"
#include "geometry/recalc.h"

#include <algorithm>

namespace qorv {

// ---- sequences ----------------------------------------------------------------------------------

bool ToolSequence::wantsPoint(const ClickEngine& engine, const Element* hit) const {
    const NeedsRow& needs = engine.needs();
    if (needs.points() <= 0) return false;
    if (!hit) return true;
    const int k = hit->kind();
    if (k == Kind::Point) return false;
    if (k == Kind::Intersection) return true;
    if (k >= 0 && needs[k] > 0) return false; // the tool takes this kind as it is
    return hasKind(PointHostKinds, k);
}

std::unique_ptr<Element> ToolSequence::previewElement(const ClickEngine& engine,
                                                      Point2 pointer) const {
    ElementRequest r;
    if (!preview(engine, pointer, r) || !isValidMethod(r.method)) return nullptr;
    auto e = std::make_unique<Element>();
    e->method = r.method;
    e->parent1 = r.parent1;
    for (int i = 0; i < 4; ++i)
        e->value[i] = r.value[i];
    return e;
}

void PointSequence::click(ClickEngine& engine, const Click& click) {
    if (!click.element || click.element->kind() != Kind::Point) return;
    engine.pick(click.element);
    if (engine.needs().points() <= 0 && finish_) finish_(engine);
}

// ---- the engine ---------------------------------------------------------------------------------

void ClickEngine::chooseTool(int tool) {
    tool_ = tool >= 0 && tool < ToolCount ? tool : Tool::Move;
    sequence_ = makeToolSequence(tool_);
    lengthTarget_ = 0;
    reset();
}

void ClickEngine::setLengthTarget(double target) {
    reset();
    lengthTarget_ = tool_ == Tool::LengthDistance && target > 0 ? target : 0;
    if (lengthTarget_ > 0) {
        needs_ = NeedsRow{};
        needs_[0] = 2;
    }
}

void ClickEngine::reset() {
    if (!picked_.empty()) changed_ = true; // their highlight goes
    needs_ = toolInfo(tool_).needs;
    picked_.clear();
    request_.reset();
    request_.method = 0;
    undoSaved_ = false;
    if (sequence_) sequence_->restart(*this);
}

void ClickEngine::saveUndoOnce() {
    changed_ = true; // the caller is about to change the document
    if (undoSaved_) return;
    undoSaved_ = true;
    host_.recordUndo();
}

void ClickEngine::saveUndo() {
    changed_ = true;
    undoSaved_ = true;
    host_.recordUndo();
}

void ClickEngine::requestTool(int tool, bool keepSelection, Element* attached) {
    toolRequest_.pending = true;
    toolRequest_.tool = tool;
    toolRequest_.keepSelection = keepSelection;
    toolRequest_.attached = attached;
}

void ClickEngine::settle() {
    if (changed_) {
        changed_ = false;
        host_.recalculateAndRedraw();
    }
    if (!toolRequest_.pending) return;
    const ToolRequest r = toolRequest_;
    toolRequest_ = ToolRequest{};
    host_.switchTool(r.tool, r.keepSelection, r.attached);
}

Element* ClickEngine::makePoint(const Hit* hit, Point2 world) {
    Element* target = hit ? hit->element : nullptr;
    ElementRequest req;
    if (!target) {
        req.method = Method::FreePoint;
        req.value[0] = world.x;
        req.value[1] = world.y;
    } else if (target->method == Method::Intersection) {
        req.method = Method::IntersectionPoint;
        req.parent1 = target->parent1;
        req.parent2 = target->parent2;
        req.option = target->option;
        req.option2 = target->option2;
        req.value[0] = target->value[0];
        req.value[1] = target->value[1];
        if (req.option == IntersectionCode::Locus && req.parent1 && req.parent2) {
            // The hover numbers the crossings of the stored samples; the point numbers those
            // of the finer samples it will be computed from: the one nearest to the crossing.
            const Point2 at{req.value[0], req.value[1]};
            Point2 found;
            int nearest = -1;
            const BusyCursor busy(requests_);
            finerLocusCrossings(doc(), *req.parent1, *req.parent2, 0, found, &at, &nearest);
            if (nearest >= 0) req.option2 = nearest;
        }
    } else if (target->kind() == Kind::Grid) {
        req.method = Method::GridPoint;
        req.parent1 = target;
        req.value[0] = hit->node.x;
        req.value[1] = hit->node.y;
        req.value[2] = hit->nodeAxes.x;
        req.value[3] = hit->nodeAxes.y;
    } else if (hasKind(PointHostKinds, target->kind()) && target->kind() != Kind::Axes) {
        req.method = Method::PointOnElement;
        req.parent1 = target;
        req.value[3] = nearestParameterOnElement(*target, world);
        req.value[0] = world.x;
        req.value[1] = world.y;
    } else {
        return nullptr;
    }
    saveUndoOnce();
    if ((req.method != Method::FreePoint && !req.parent1) ||
        (req.method == Method::IntersectionPoint && !req.parent2))
        return nullptr;
    Element* p = createElement(doc(), req, options());
    recalcElement(doc(), *p);
    return p;
}

void ClickEngine::pick(Element* e) {
    if (!e) return;
    if (!request_.parent1)
        request_.parent1 = e;
    else if (!request_.parent2)
        request_.parent2 = e;
    else if (!request_.parent3)
        request_.parent3 = e;
    else
        request_.extra.push_back(e);
    picked_.push_back(e);
    changed_ = true; // drawn highlighted from now on
    const int k = e->kind();
    if (k >= 0 && k < Kind::Count && needs_[k] > 0) --needs_[k];
}

Element* ClickEngine::create(ElementRequest& req) {
    saveUndoOnce();
    Element* e = createElement(doc(), req, options());
    recalcElement(doc(), *e);
    return e;
}

Element* ClickEngine::complete(ConstructionMethod m) {
    request_.method = m;
    Element* e = create(request_);
    reset();
    return e;
}

void ClickEngine::click(const Hit* hit, Point2 world, int modifiers) {
    if (!sequence_) return;
    changed_ = false;
    Click c;
    c.world = world;
    c.modifiers = modifiers;
    c.element = hit ? hit->element : nullptr;
    c.side = hit ? hit->side : -1;
    if (sequence_->wantsPoint(*this, c.element)) {
        c.element = makePoint(hit, world);
        if (!c.element) return settle();
        c.made = true;
        c.side = -1;
    } else if (c.element && c.element->method == Method::Intersection &&
               !sequence_->takesCrossings()) {
        return; // a crossing is only a place to make a point
    }
    sequence_->click(*this, c);
    settle();
}

void ClickEngine::begin(Element& first) {
    if (!sequence_) return;
    changed_ = false;
    Click c;
    c.element = &first;
    c.world = firstPointOf(first);
    sequence_->click(*this, c);
    settle();
}

void ClickEngine::doubleClick(const Hit* hit, Point2 world, int modifiers) {
    if (!sequence_) return;
    changed_ = false;
    Click c;
    c.world = world;
    c.modifiers = modifiers;
    c.element = hit ? hit->element : nullptr;
    c.side = hit ? hit->side : -1;
    sequence_->doubleClick(*this, c);
    settle();
}

} // namespace qorv
