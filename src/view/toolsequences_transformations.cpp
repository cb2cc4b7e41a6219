// Transformation tools: central and axial symmetry, translation, rotation, homothety and
// inversion, of one element or of the selection.
//
// A point is transformed into one new point; any other element by transforming the points that
// define it and building the same kind of element on the images. The selection is taken as the
// list to transform when the first click is on a selected element; Shift+click on an element
// with one of these tools adds it to the selection or takes it out, so a selection can be made
// without leaving the tool.
#include "view/toolsequences_parts.h"

#include "construction/create.h"
#include "geometry/recalc.h"
#include "model/methodtable.h"

#include <algorithm>
#include <unordered_map>

namespace qorv::sequences {

namespace {

// The transformation: its point method and what it takes besides the point.
struct Transform {
    ConstructionMethod method = -1;
    Element* p2 = nullptr; // centre, axis, first point of the vector, circle of inversion
    Element* p3 = nullptr; // second point of the vector, number
};

// Builds the images, sharing the image of a point that several elements use.
class Transformer {
  public:
    Transformer(Document& doc, const CreationOptions& opts, const Transform& t)
        : doc_(doc), opts_(opts), t_(t) {}

    // The image of a point (made once; a hidden image becomes visible when asked for so).
    Element* imageOf(Element* p, bool hidden = false) {
        if (!isPoint(p)) return nullptr;
        auto it = images_.find(p);
        if (it != images_.end()) {
            if (!hidden) it->second->visible = 1;
            return it->second;
        }
        ElementRequest r;
        r.method = t_.method;
        if (t_.method == Method::InversePoint) {
            r.parent1 = t_.p2; // the circle of inversion comes first
            r.parent2 = p;
        } else {
            r.parent1 = p;
            r.parent2 = t_.p2;
            r.parent3 = t_.p3;
        }
        Element* img = make(r);
        img->color = p->color;
        img->shape = p->shape;
        img->visible = hidden ? 0 : 1;
        images_[p] = img;
        return img;
    }

    // The image of an element; null for kinds that are not transformed.
    Element* transform(Element& e) {
        Element* result = nullptr;
        switch (e.kind()) {
        case Kind::Point:
            return imageOf(&e);
        case Kind::Line:
        case Kind::Ray:
            result = transformStraightLine(e);
            break;
        case Kind::Segment:
        case Kind::Vector: {
            Element* a = imageOf(e.parent1);
            Element* b = imageOf(e.parent2);
            result = build(e.kind() == Kind::Vector ? Method::Vector : Method::Segment, a, b);
            break;
        }
        case Kind::Polygon: {
            const auto* t = e.tailAs<PolygonTail>();
            if (!t || t->sides.size() < 2) return nullptr;
            ElementRequest r;
            r.method = Method::Polygon;
            for (const SubElement& s : t->sides) {
                Element* v = imageOf(s->parent1);
                if (!v) return nullptr;
                r.extra.push_back(v);
            }
            result = make(r);
            break;
        }
        case Kind::Circle:
            result = transformCircle(e);
            break;
        case Kind::Arc: {
            Element* a = imageOf(e.parent1);
            Element* b = imageOf(e.parent2);
            Element* c = imageOf(e.parent3);
            result = build(Method::ArcThreePoints, a, b, c);
            break;
        }
        case Kind::Conic: {
            const auto* t = e.tailAs<ConicTail>();
            if (!t) return nullptr;
            ElementRequest r;
            r.method = Method::Conic;
            for (Element* p : t->points) {
                Element* v = imageOf(p);
                if (!v) return nullptr;
                r.extra.push_back(v);
            }
            result = make(r);
            break;
        }
        default:
            return nullptr;
        }
        if (!result) return nullptr;
        // The new element looks like the one it comes from.
        result->color = e.color;
        result->shape = e.shape;
        forEachSubElement(*result, [&](Element& s) {
            s.color = e.color;
            s.shape = e.shape;
        });
        return result;
    }

  private:
    Element* make(ElementRequest& r) {
        Element* e = createElement(doc_, r, opts_);
        recalcElement(doc_, *e);
        return e;
    }

    Element* build(ConstructionMethod m, Element* a, Element* b, Element* c = nullptr) {
        if (!a || !b || (m == Method::ArcThreePoints && !c)) return nullptr;
        ElementRequest r;
        r.method = m;
        r.parent1 = a;
        r.parent2 = b;
        r.parent3 = c;
        return make(r);
    }

    // A hidden point on e at parameter t (method 1).
    Element* hiddenPointOn(Element& e, double t) {
        ElementRequest r;
        r.method = Method::PointOnElement;
        r.parent1 = &e;
        r.value[3] = t;
        Element* p = make(r);
        p->visible = 0;
        return p;
    }

    Element* transformStraightLine(Element& e) {
        const bool ray = e.kind() == Kind::Ray;
        switch (e.method) {
        case Method::LineThroughTwoPoints:
        case Method::RayThroughTwoPoints: {
            Element* a = imageOf(e.parent1);
            Element* b = imageOf(e.parent2, true);
            return build(e.method, a, b);
        }
        case Method::PerpendicularBisector: {
            Element* h1 = hiddenPointOn(e, 10);
            Element* h2 = hiddenPointOn(e, -10);
            Element* a = imageOf(h1, true);
            Element* b = imageOf(h2, true);
            return build(Method::LineThroughTwoPoints, a, b);
        }
        case Method::LineThroughPoint:
        case Method::RayThroughPoint:
        case Method::AxisX:
        case Method::AxisY:
        case Method::ParallelLine:
        case Method::PerpendicularLine:
        case Method::AngleBisector: {
            // The point it passes through (its first parent, or the second for the lines built
            // through a given point) and a hidden point of it.
            Element* own = methodRow(e.method).through == ThroughPoints::P1 ? e.parent1 : e.parent2;
            if (!isPoint(own)) return nullptr;
            Element* h = hiddenPointOn(e, 10);
            Element* a = imageOf(own);
            Element* b = imageOf(h, true);
            return build(ray ? Method::RayThroughTwoPoints : Method::LineThroughTwoPoints, a, b);
        }
        default:
            return nullptr;
        }
    }

    Element* transformCircle(Element& e) {
        switch (e.method) {
        case Method::CircleCentrePoint: {
            Element* a = imageOf(e.parent1);
            Element* b = imageOf(e.parent2, true);
            return build(Method::CircleCentrePoint, a, b);
        }
        case Method::CircleByCentre:
        case Method::CircleRadiusCentre:
        case Method::CircleRadiusNumberCentre: {
            Element* centre = isPoint(e.parent1) ? e.parent1 : e.parent2;
            if (!isPoint(centre)) return nullptr;
            Element* h = hiddenPointOn(e, 1.0);
            Element* a = imageOf(centre);
            Element* b = imageOf(h, true);
            return build(Method::CircleCentrePoint, a, b);
        }
        default:
            return nullptr;
        }
    }

    Document& doc_;
    const CreationOptions& opts_;
    Transform t_;
    std::unordered_map<Element*, Element*> images_;
};

bool transformable(const Element* e) {
    if (!e) return false;
    switch (e->kind()) {
    case Kind::Point:
    case Kind::Line:
    case Kind::Ray:
    case Kind::Segment:
    case Kind::Vector:
    case Kind::Polygon:
    case Kind::Circle:
    case Kind::Arc:
    case Kind::Conic:
        return true;
    default:
        return false;
    }
}

// Central symmetry (20): element, centre. Axial symmetry (21): element, axis. Translation (22):
// element, a vector or two points. Rotation (23): element, centre, a number or three points (an
// internal angle measurement of them is the angle). Homothety (24): element, centre, number.
// Inversion (25): a point and a circle in either order.
class TransformSequence : public ToolSequence {
  public:
    explicit TransformSequence(int tool) : tool_(tool) {}

    bool wantsPoint(const ClickEngine& engine, const Element* hit) const override {
        if (tool_ != Tool::Inversion && engine.step() == 0) return false;
        return ToolSequence::wantsPoint(engine, hit);
    }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (tool_ == Tool::Inversion) return clickInversion(engine, e);
        if (engine.step() == 0) {
            if (click.modifiers & Modifier::Shift) return toggleSelection(engine, *e);
            if (!transformable(e)) return;
            selection_ = e->selected != 0;
            engine.pick(e);
            switch (tool_) {
            case Tool::AxialSymmetry:
                setNeeds(engine, 0, clickableFor(parentKinds(Method::AxialSymmetryPoint, 1)));
                break;
            case Tool::Translation:
                setNeeds(engine, 2, {Kind::Vector});
                break;
            default: // the centre
                setNeeds(engine, 1);
                break;
            }
            return;
        }
        const auto& p = engine.picked();
        switch (tool_) {
        case Tool::CentralSymmetry:
            if (!isPoint(e)) return;
            engine.pick(e);
            return finish(engine, {Method::CentralSymmetryPoint, e, nullptr});
        case Tool::AxialSymmetry: {
            Element* axis = elementForCurveTools(click);
            if (!isStraight(axis)) return;
            engine.pick(axis);
            return finish(engine, {Method::AxialSymmetryPoint, axis, nullptr});
        }
        case Tool::Translation: {
            Element *a = nullptr, *b = nullptr;
            if (p.size() == 1 && e->kind() == Kind::Vector && endPointsOf(e, a, b)) {
                engine.pick(e);
                return finish(engine, {Method::TranslationPoint, a, b});
            }
            if (!isPoint(e)) return;
            engine.pick(e);
            clearNeeds(engine, {Kind::Vector});
            if (p.size() < 3) return;
            return finish(engine, {Method::TranslationPoint, p[1], p[2]});
        }
        case Tool::Rotation:
        case Tool::Homothety: {
            const ConstructionMethod m =
                tool_ == Tool::Rotation ? Method::RotationPoint : Method::HomothetyPoint;
            if (p.size() == 1) {
                if (!isPoint(e)) return;
                engine.pick(e);
                setNeeds(engine, tool_ == Tool::Rotation ? 3 : 0, parentKinds(m, 2));
                return;
            }
            if (isNumber(e) && p.size() == 2) {
                engine.pick(e);
                return finish(engine, {m, p[1], e});
            }
            if (tool_ != Tool::Rotation || !isPoint(e)) return;
            engine.pick(e);
            clearNeeds(engine, parentKinds(m, 2));
            if (p.size() < 5) return;
            return finish(engine, {m, p[1], nullptr}); // the angle is measured in finish
        }
        default:
            return;
        }
    }

  private:
    void toggleSelection(ClickEngine& engine, Element& e) {
        if (!transformable(&e)) return;
        e.selected = e.selected ? 0 : 1;
        if (e.nameElement) e.nameElement->selected = e.selected;
        engine.markChanged();
    }

    void clickInversion(ClickEngine& engine, Element* e) {
        Element* point = nullptr;
        Element* circle = nullptr;
        for (Element* x : engine.picked())
            (isPoint(x) ? point : circle) = x;
        if (isPoint(e) && !point) {
            point = e;
        } else if (e->kind() == Kind::Circle && !circle) {
            circle = e;
        } else {
            return;
        }
        engine.pick(e);
        if (!point || !circle) return;
        engine.saveUndoOnce();
        if (!point || !circle) return engine.reset();
        Transformer t(engine.doc(), engine.options(), {Method::InversePoint, circle, nullptr});
        t.imageOf(point);
        done(engine, false);
    }

    void finish(ClickEngine& engine, Transform t) {
        engine.saveUndoOnce();
        Document& doc = engine.doc();
        const auto& p = engine.picked();
        Element* first = p.front();
        if (!first || !t.p2) return engine.reset();
        if (t.method == Method::RotationPoint && !t.p3) {
            // Three points give the angle: an internal measurement, oriented from the first
            // arm to the second.
            if (p.size() < 5) return engine.reset();
            ElementRequest r;
            r.method = Method::AngleValue;
            r.parent1 = p[2];
            r.parent2 = p[3];
            r.parent3 = p[4];
            r.value[1] = NotSet;
            Element* angle = createElement(doc, r, engine.options());
            angle->visible = Internal;
            recalcElement(doc, *angle);
            t.p3 = angle;
        }
        // The list: the selection (without what defines the transformation), or the element.
        std::vector<Element*> list;
        if (selection_) {
            for (Element* e = doc.head; e; e = e->next)
                if (e->selected && transformable(e) && e != t.p2 && e != t.p3 &&
                    std::find(p.begin() + 1, p.end(), e) == p.end())
                    list.push_back(e);
        }
        if (list.empty()) list.push_back(first);
        Element* previousTail = doc.tail;
        Transformer tr(doc, engine.options(), t);
        // Elements first, then the points not transformed with them.
        for (Element* e : list)
            if (!isPoint(e)) tr.transform(*e);
        for (Element* e : list)
            if (isPoint(e)) tr.imageOf(e);
        if (selection_) {
            doc.selectNone();
            for (Element* e = previousTail ? previousTail->next : doc.head; e; e = e->next)
                e->selected = 1;
            doc.renumber();
        }
        done(engine, selection_);
    }

    void done(ClickEngine& engine, bool selection) {
        engine.reset();
        selection_ = false;
        if (selection) engine.requestTool(Tool::Move, true);
    }

    int tool_;
    bool selection_ = false; // the first click took the selection
};

} // namespace

std::unique_ptr<ToolSequence> makeTransformationSequence(int tool) {
    if (tool >= Tool::CentralSymmetry && tool <= Tool::Inversion)
        return std::make_unique<TransformSequence>(tool);
    return nullptr;
}

} // namespace qorv::sequences
