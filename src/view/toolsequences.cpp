// The click sequences of the construction tools, one entry per tool in makeToolSequence.
#include "view/clickengine.h"

#include "geometry/primitives.h"
#include "view/paramcolor.h"

namespace qorv {

namespace {

// The point tool: the click alone makes the point (a free point, a point on the element under
// the pointer, an intersection point at a crossing, a point on a grid).
class PointToolSequence : public ToolSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        // A click on an existing point makes nothing; a made point is the whole construction.
        engine.reset();
        if (click.made) engine.host().refreshHover();
    }
};

// Line, ray and circle: the first point (the centre of a circle), then another point, or an
// empty place whose position gives the direction or the radius without making an element.
class TwoPointOrPlaceSequence : public ToolSequence {
  public:
    TwoPointOrPlaceSequence(ConstructionMethod twoPoints, ConstructionMethod onePoint)
        : twoPoints_(twoPoints), onePoint_(onePoint) {}

    bool wantsPoint(const ClickEngine& engine, const Element* hit) const override {
        if (engine.step() == 1 && !hit) return false;
        return ToolSequence::wantsPoint(engine, hit);
    }

    void click(ClickEngine& engine, const Click& click) override {
        if (engine.step() == 0) {
            if (click.element && click.element->kind() == Kind::Point) engine.pick(click.element);
            return;
        }
        Element* first = engine.picked().front();
        if (!click.element) {
            ElementRequest& r = engine.request();
            r.value[0] = first->value[0];
            r.value[1] = first->value[1];
            r.value[2] = click.world.x;
            r.value[3] = click.world.y;
            // The same place twice gives no direction.
            if (distance(positionOf(*first), click.world) < Tol::Distinct) return;
            engine.complete(onePoint_);
            return;
        }
        if (click.element->kind() != Kind::Point || click.element == first) return;
        engine.pick(click.element);
        engine.complete(twoPoints_);
    }

    bool preview(const ClickEngine& engine, Point2 pointer, ElementRequest& out) const override {
        if (engine.step() != 1) return false;
        const Element* first = engine.picked().front();
        out.method = onePoint_;
        out.parent1 = const_cast<Element*>(first);
        out.value[0] = first->value[0];
        out.value[1] = first->value[1];
        out.value[2] = pointer.x;
        out.value[3] = pointer.y;
        return distance(positionOf(*first), pointer) >= Tol::Distinct;
    }

  private:
    static Point2 positionOf(const Element& e) { return {e.value[0], e.value[1]}; }
    ConstructionMethod twoPoints_;
    ConstructionMethod onePoint_;
};

// Segment and vector: two points in order; the element follows the pointer after the first.
class TwoPointSequence : public PointSequence {
  public:
    explicit TwoPointSequence(ConstructionMethod m)
        : PointSequence([m](ClickEngine& e) { e.complete(m); }), method_(m) {}

    bool preview(const ClickEngine& engine, Point2 pointer, ElementRequest& out) const override {
        if (engine.step() != 1) return false;
        const Element* first = engine.picked().front();
        out.method = method_;
        out.value[0] = first->value[0];
        out.value[1] = first->value[1];
        out.value[2] = pointer.x;
        out.value[3] = pointer.y;
        return true;
    }

  private:
    ConstructionMethod method_;
};

// The style word each style tool gives (point shapes, line styles, angle marks).
int styleOfTool(int tool) {
    static constexpr int styles[] = {1, 6, 4, 2, 5, 3, 1, 3, 4, 5, 6, 2, 1, 2, 3};
    return tool >= Tool::FirstPointShape && tool <= Tool::LastAngleMark
               ? styles[tool - Tool::FirstPointShape]
               : 1;
}

void setLineColour(Element& e, Color c) {
    e.color = c;
    e.colorParam = nullptr;
    e.colorParamId = -1;
    e.colorParamMode = 0;
    if (auto* t = e.tailAs<TextTail>()) {
        t->font.color = c;
        for (FontRun& r : t->runs)
            r.font.color = c;
    }
    if (e.font) e.font->color = c;
    forEachSubElement(e, [c](Element& s) { s.color = c; });
}

// Editing tools: one click on an element applies the tool to it.
class EditSequence : public ToolSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e || e->method == Method::Intersection) return;
        engine.saveUndoOnce({&e});
        if (!e) return;
        apply(engine, *e);
        engine.reset();
        engine.host().recalculateAndRedraw();
        engine.host().refreshHover();
    }

  private:
    static void apply(ClickEngine& engine, Element& e) {
        const int tool = engine.tool();
        Element& target = e;
        switch (tool) {
        case Tool::ToggleVisibility:
            target.visible = target.visible ? 0 : 1;
            if (target.nameElement) target.nameElement->visible = target.visible;
            return;
        case Tool::DeleteElement:
            engine.doc().deleteWithDescendants(&target);
            return;
        case Tool::LineColour:
            setLineColour(target, engine.options().chosenColor);
            return;
        case Tool::FillColour: {
            const Color c = engine.options().chosenColor;
            if (hasFillColor(target)) {
                target.option = target.option == c ? -1 : c;
            } else if (isTextLike(target.kind())) {
                target.shape = target.shape == c ? -1 : c;
            }
            if (target.colorParamMode < 0) {
                target.colorParam = nullptr;
                target.colorParamMode = 0;
            }
            return;
        }
        default:
            if (tool >= Tool::FirstPointShape && tool <= Tool::LastAngleMark) {
                target.shape = styleOfTool(tool);
                forEachSubElement(target, [&](Element& s) { s.shape = target.shape; });
            }
            return;
        }
    }
};

} // namespace

std::unique_ptr<ToolSequence> makeToolSequence(int tool) {
    if (tool == Tool::ToggleVisibility || tool == Tool::DeleteElement || tool == Tool::LineColour ||
        tool == Tool::FillColour || (tool >= Tool::FirstPointShape && tool <= Tool::LastAngleMark))
        return std::make_unique<EditSequence>();
    switch (tool) {
    case Tool::Point:
        return std::make_unique<PointToolSequence>();
    case Tool::Line:
        return std::make_unique<TwoPointOrPlaceSequence>(Method::LineThroughTwoPoints,
                                                         Method::LineThroughPoint);
    case Tool::Ray:
        return std::make_unique<TwoPointOrPlaceSequence>(Method::RayThroughTwoPoints,
                                                         Method::RayThroughPoint);
    case Tool::Circle:
        return std::make_unique<TwoPointOrPlaceSequence>(Method::CircleCentrePoint,
                                                         Method::CircleByCentre);
    case Tool::Segment:
        return std::make_unique<TwoPointSequence>(Method::Segment);
    case Tool::Vector:
        return std::make_unique<TwoPointSequence>(Method::Vector);
    case Tool::Arc:
        return std::make_unique<PointSequence>(
            [](ClickEngine& e) { e.complete(Method::ArcThreePoints); });
    case Tool::Angle:
        return std::make_unique<PointSequence>([](ClickEngine& e) { e.complete(Method::Angle); });
    case Tool::Conic:
        return std::make_unique<PointSequence>([](ClickEngine& e) {
            // The five points live in the conic's own list.
            ElementRequest& r = e.request();
            r.extra = e.picked();
            r.parent1 = r.parent2 = r.parent3 = nullptr;
            e.complete(Method::Conic);
        });
    default:
        return nullptr;
    }
}

bool isToolAvailable(int tool) {
    if (tool == Tool::Move || tool == Tool::RotateSelection || tool == Tool::Zoom) return true;
    return makeToolSequence(tool) != nullptr;
}

} // namespace qorv
