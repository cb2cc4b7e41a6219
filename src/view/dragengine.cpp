#include "view/dragengine.h"

#include "geometry/elementgeometry.h"
#include "geometry/pointonelement.h"
#include "geometry/primitives.h"
#include "geometry/recalc.h"
#include "geometry/ticks.h"
#include "geometry/transforms.h"
#include "model/document.h"

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

// The regular polygon a polygon is (its second vertex is a rotated copy of the first): the
// centre and the first vertex; false for other polygons.
bool regularPolygonOf(const Element& poly, Element*& centre, Element*& first) {
    const auto* t = poly.tailAs<PolygonTail>();
    if (!t || t->sides.size() < 2) return false;
    const Element* v = t->sides[1]->parent1;
    if (!v || v->method != Method::RegularPolygonVertex || !v->parent1 || !v->parent2) return false;
    centre = v->parent1;
    first = v->parent2;
    return true;
}

// Where a text-like element keeps its position.
Point2 boxPosition(const Element& e) {
    if (e.kind() == Kind::Bitmap) return firstPointOf(e);
    return secondPointOf(e);
}

} // namespace

void placeNameLabel(Document& doc, Element& name, Point2 target, double maxDistance) {
    Element* named = name.parent1;
    auto* t = name.tailAs<NameTail>();
    if (!named || !t || !isFinite(target)) return;
    Point2 anchor;
    switch (named->kind()) {
    case Kind::Point:
        anchor = positionOf(*named);
        break;
    case Kind::Angle:
        if (!named->parent2) return;
        anchor = positionOf(*named->parent2);
        break;
    default: {
        const double param = nearestParameterOnElement(*named, target);
        if (!std::isfinite(param) || !evaluatePointOnElement(doc, *named, param, anchor)) return;
        name.value[3] = param;
        break;
    }
    }
    Point2 offset = target - anchor;
    const double d = std::hypot(offset.x, offset.y);
    if (d > maxDistance && d > 0) offset = (maxDistance / d) * offset;
    t->placement[0] = offset.x;
    t->placement[1] = offset.y;
    name.value[0] = anchor.x + offset.x;
    name.value[1] = anchor.y + offset.y;
}

std::vector<Element*> shiftFreeAncestors(Document& doc, Element& e, Point2 shift) {
    std::vector<Element*> moved;
    doc.markAncestors(&e);
    if (e.method == Method::FreePoint) e.mark = 1;
    for (Element* x = doc.head; x; x = x->next) {
        if (x->mark != 1 || x->method != Method::FreePoint) continue;
        x->value[0] += shift.x;
        x->value[1] += shift.y;
        moved.push_back(x);
    }
    doc.clearMarks();
    doc.renumber(); // the ancestor walk may leave ids in use as marks
    return moved;
}

void DragEngine::add(Element* e, How how, Point2 start, Element* centre) {
    for (const Mover& m : movers_)
        if (m.e == e) return; // moved once, however many selected elements share it
    movers_.push_back({e, how, start, centre});
    roots_.push_back(e);
}

// A point moved as part of something larger: only the points that can be set directly move.
void DragEngine::addPoint(Element* p) {
    if (!p) return;
    switch (p->method) {
    case Method::FreePoint:
        add(p, How::FreePoint, positionOf(*p));
        break;
    case Method::GridPoint:
        add(p, How::GridPoint, positionOf(*p));
        break;
    case Method::PointOnElement:
        add(p, How::PointOn, positionOf(*p));
        break;
    default:
        break;
    }
}

void DragEngine::addFor(Document& doc, Element* e, bool group) {
    if (!e) return;
    if (e->owner) {
        // An axis line moves its axes' origin; a polygon side its two vertices.
        addPoint(e->parent1);
        if (e->method == Method::PolygonSide) addPoint(e->parent2);
        return;
    }
    switch (e->method) {
    case Method::FreePoint:
    case Method::GridPoint:
    case Method::PointOnElement:
        addPoint(e);
        return;
    case Method::LineThroughPoint:
    case Method::RayThroughPoint:
        if (group)
            addPoint(e->parent1);
        else
            add(e, How::LineDirection, secondPointOf(*e));
        return;
    case Method::CircleByCentre:
        if (group)
            addPoint(e->parent1);
        else
            add(e, How::CircleRadius, secondPointOf(*e));
        return;
    case Method::Name:
        add(e, How::NameLabel, firstPointOf(*e));
        return;
    case Method::Text:
        if (const auto* t = e->tailAs<TextTail>())
            add(e, How::TextBlock, {double(t->x), double(t->y)});
        return;
    case Method::Coordinates:
        if (e->parent1) {
            const Point2 p = positionOf(*e->parent1);
            add(e, How::CoordinatesBox,
                p + e->value[0] * Point2{std::cos(e->value[1]), std::sin(e->value[1])});
        }
        return;
    case Method::Bitmap:
        if (!e->parent1) add(e, How::Box, boxPosition(*e));
        return;
    case Method::Polygon: {
        Element* centre = nullptr;
        Element* first = nullptr;
        if (!group && regularPolygonOf(*e, centre, first) && first->method == Method::FreePoint) {
            add(first, How::TurnAbout, positionOf(*first), centre);
            return;
        }
        if (const auto* t = e->tailAs<PolygonTail>())
            for (const auto& s : t->sides)
                addPoint(s->parent1);
        return;
    }
    case Method::Conic:
        if (const auto* t = e->tailAs<ConicTail>())
            for (Element* p : t->points)
                addPoint(p);
        return;
    case Method::Axes:
        addPoint(e->parent1);
        return;
    case Method::Grid:
        if (e->parent1) addPoint(e->parent1->parent1);
        return;
    default:
        break;
    }
    const ElementKind k = e->kind();
    if (isTextLike(k)) {
        add(e, How::Box, boxPosition(*e));
        return;
    }
    // Elements built on points move those points.
    for (Element* p : {e->parent1, e->parent2, e->parent3})
        if (p && p->kind() == Kind::Point) addPoint(p);
    (void)doc;
}

bool DragEngine::begin(Document& doc, Element* e, Point2 press, bool group) {
    movers_.clear();
    roots_.clear();
    marked_.clear();
    markedDoc_ = nullptr;
    element_ = e;
    press_ = press;
    group_ = group;
    if (group) {
        std::vector<Element*> selected;
        for (Element* x = doc.head; x; x = x->next)
            if (x->selected) selected.push_back(x);
        // Names whose element moves as well follow it by themselves.
        for (Element* x : selected)
            if (!(x->method == Method::Name && x->parent1 && x->parent1->selected))
                addFor(doc, x, true);
    } else {
        addFor(doc, e, false);
    }
    active_ = !movers_.empty();
    return active_;
}

void DragEngine::apply(Document& doc, const Mover& m, Point2 pointer, Point2 shift) {
    Element& e = *m.e;
    // A single point goes to the pointer itself; in a group everything keeps its place relative
    // to the others.
    const Point2 target = group_ || &e != element_ ? m.start + shift : pointer;
    switch (m.how) {
    case How::FreePoint:
        e.value[0] = target.x;
        e.value[1] = target.y;
        break;
    case How::GridPoint: {
        Point2 node, axes;
        if (e.parent1 && nearestGridNode(doc, *e.parent1, target, node, axes)) {
            e.value[2] = axes.x;
            e.value[3] = axes.y;
            e.value[0] = node.x;
            e.value[1] = node.y;
        }
        break;
    }
    case How::PointOn:
        if (e.parent1) {
            const double t = nearestParameterOnElement(*e.parent1, target);
            if (std::isfinite(t)) e.value[3] = t;
        }
        break;
    case How::LineDirection:
        if (distance(pointer, firstPointOf(e)) >= Tol::Distinct) {
            e.value[2] = pointer.x;
            e.value[3] = pointer.y;
        }
        break;
    case How::CircleRadius: {
        const Point2 c = firstPointOf(e);
        const double r = distance(pointer, c);
        if (r >= Tol::Distinct && std::isfinite(r)) {
            e.value[2] = c.x;
            e.value[3] = c.y + r;
        }
        break;
    }
    case How::TurnAbout: {
        if (!m.centre) break;
        const Point2 c = positionOf(*m.centre);
        const Point2 a = press_ - c, b = pointer - c;
        if (!(std::hypot(a.x, a.y) > 0) || !(std::hypot(b.x, b.y) > 0)) break;
        const double turn = std::atan2(b.y, b.x) - std::atan2(a.y, a.x);
        const Point2 v = rotatePoint(m.start, c, turn);
        if (isFinite(v)) e.value[0] = v.x, e.value[1] = v.y;
        break;
    }
    case How::NameLabel:
        placeNameLabel(doc, e, m.start + shift, maxNameDistance_);
        break;
    case How::Box:
        if (e.kind() == Kind::Bitmap)
            e.value[0] = target.x, e.value[1] = target.y;
        else
            e.value[2] = m.start.x + shift.x, e.value[3] = m.start.y + shift.y;
        break;
    case How::TextBlock:
        if (auto* t = e.tailAs<TextTail>()) {
            const Point2 p = m.start + shift;
            if (std::fabs(p.x) < 1e9 && std::fabs(p.y) < 1e9) {
                t->x = int32_t(std::lround(p.x));
                t->y = int32_t(std::lround(p.y));
            }
        }
        break;
    case How::CoordinatesBox:
        if (e.parent1) {
            const Point2 d = m.start + shift - positionOf(*e.parent1);
            const double r = std::hypot(d.x, d.y);
            if (std::isfinite(r)) {
                e.value[0] = r;
                e.value[1] = r > 0 ? std::atan2(d.y, d.x) : 0.0;
            }
        }
        break;
    }
}

// The marks of the first move hold while the list keeps its ends (a new element is appended; undo
// and loading replace the whole list) and none of the marked elements lost its mark (something
// else marked the list meanwhile).
bool DragEngine::marksCurrent(const Document& doc) const {
    if (markedDoc_ != &doc || doc.head != markedHead_ || doc.tail != markedTail_) return false;
    for (const Element* e : marked_)
        if (e->mark != 1) return false;
    return true;
}

void DragEngine::move(Document& doc, Point2 pointer) {
    if (!active_ || !isFinite(pointer)) return;
    const Point2 shift = pointer - press_;
    for (const Mover& m : movers_)
        apply(doc, m, pointer, shift);
    if (marksCurrent(doc)) return;
    doc.markDescendantsOf(roots_);
    marked_.clear();
    for (Element* x = doc.head; x; x = x->next)
        if (x->mark == 1) marked_.push_back(x);
    markedDoc_ = &doc;
    markedHead_ = doc.head;
    markedTail_ = doc.tail;
}

void DragEngine::recalculate(Document& doc) const {
    recalcElements(doc, marked_);
}

void DragEngine::end() {
    active_ = false;
    movers_.clear();
    roots_.clear();
    marked_.clear();
    markedDoc_ = nullptr;
    element_ = nullptr;
}

} // namespace qorv
