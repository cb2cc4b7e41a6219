// Measuring and checking tools: length and distance, angle, area, slope, proportion, the five
// property checks, equations and coordinates, grids, tables of values and function graphs. They
// take existing elements only (no point is made for them), and a new text goes where the last
// click was.
#include "view/toolsequences_parts.h"

#include "construction/create.h"
#include "geometry/elementgeometry.h"
#include "geometry/locus.h"
#include "geometry/measure.h"
#include "geometry/primitives.h"

#include <cmath>

namespace qorv::sequences {

namespace {

// Measurement and check tools never make points: they measure what is there.
class MeasureSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

  protected:
    // Completes the element with its text at the click.
    static Element* finish(ClickEngine& engine, ConstructionMethod m, Point2 at) {
        placeTextAt(engine.request(), at);
        return engine.complete(m);
    }
};

// Length and distance (34): a segment or vector (30), a polygon (33), a circle (31), an arc (32)
// at once; a point followed by another point (28) or a straight element (29). In the
// length-assignment mode two points set the scale instead.
class LengthSequence : public MeasureSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (engine.lengthTarget() > 0) return assignLength(engine, e);
        if (engine.step() == 0) {
            ConstructionMethod m = -1;
            switch (e->kind()) {
            case Kind::Segment:
            case Kind::Vector:
                m = Method::SegmentLength;
                break;
            case Kind::Polygon:
                m = Method::PolygonPerimeter;
                break;
            case Kind::Circle:
                m = Method::CircleLength;
                break;
            case Kind::Arc:
                m = Method::ArcLength;
                break;
            case Kind::Point:
                engine.pick(e);
                setNeeds(engine, 1, clickableFor(parentKinds(Method::DistancePointLine, 1)));
                return;
            default:
                return;
            }
            setParents(engine, e);
            finish(engine, m, click.world);
            return;
        }
        Element* p = engine.picked().front();
        if (isPoint(e)) {
            setParents(engine, p, e);
            finish(engine, Method::DistancePointPoint, click.world);
            return;
        }
        Element* s = elementForCurveTools(click);
        if (!isStraight(s)) return;
        setParents(engine, p, s);
        finish(engine, Method::DistancePointLine, click.world);
    }

  private:
    // The pixels per unit become such that the two points' distance reads the target length;
    // one undo step, then the move tool.
    static void assignLength(ClickEngine& engine, Element* e) {
        if (!isPoint(e)) return;
        if (engine.step() == 0) {
            engine.pick(e);
            return;
        }
        Document& doc = engine.doc();
        const double shown =
            toLengthUnits(doc, distance(positionOf(*engine.picked().front()), positionOf(*e)));
        const double ppu = doc.pixelsPerUnit * shown / engine.lengthTarget();
        if (!std::isfinite(ppu) || ppu <= 0) return engine.setLengthTarget(engine.lengthTarget());
        engine.saveUndoOnce();
        doc.pixelsPerUnit = ppu;
        doc.modified = 1;
        engine.reset();
        engine.requestTool(Tool::Move, false);
    }
};

// Angle measure (35): three points; an arc; or an angle element, whose parents are copied (and
// whose full-turn choice with them).
class AngleMeasureSequence : public MeasureSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        ElementRequest& r = engine.request();
        if (engine.step() == 0 && e->kind() == Kind::Arc) {
            setParents(engine, e);
            finish(engine, Method::AngleValue, click.world);
            return;
        }
        if (engine.step() == 0 && e->kind() == Kind::Angle) {
            if (!isPoint(e->parent1) || !isPoint(e->parent2) || !isPoint(e->parent3)) return;
            setParents(engine, e->parent1, e->parent2, e->parent3);
            r.value[1] = e->value[3] == NotSet ? NotSet : 0.0;
            finish(engine, Method::AngleValue, click.world);
            return;
        }
        if (!isPoint(e)) return;
        engine.pick(e);
        clearNeeds(engine, {Kind::Arc, Kind::Angle});
        if (engine.needs().points() > 0) return;
        const auto& p = engine.picked();
        setParents(engine, p[0], p[1], p[2]);
        finish(engine, Method::AngleValue, click.world);
    }
};

// One click on an element of the right kind: area (36), slope (37), grid (41).
class OneElementSequence : public MeasureSequence {
  public:
    explicit OneElementSequence(int tool) : tool_(tool) {}

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        ConstructionMethod m = -1;
        switch (tool_) {
        case Tool::Area:
            m = e->kind() == Kind::Polygon  ? Method::PolygonArea
                : e->kind() == Kind::Circle ? Method::CircleArea
                                            : -1;
            break;
        case Tool::Slope:
            e = elementForCurveTools(click);
            m = isStraight(e) ? Method::Slope : -1;
            break;
        case Tool::Grid:
            m = e->kind() == Kind::Axes ? Method::Grid : -1;
            break;
        default:
            break;
        }
        if (m < 0) return;
        setParents(engine, e);
        if (tool_ == Tool::Grid)
            engine.complete(m);
        else
            finish(engine, m, click.world);
    }

  private:
    int tool_;
};

// Proportion (38): two segments or vectors, or three collinear points; then the move tool.
class ProportionSequence : public MeasureSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        const auto& p = engine.picked();
        const bool straightPair = !p.empty() && !isPoint(p.front());
        const int k = e->kind();
        if (k == Kind::Segment || k == Kind::Vector) {
            if (!p.empty() && !straightPair) return;
            if (p.empty()) {
                engine.pick(e);
                setNeeds(engine, 0, {Kind::Segment, Kind::Vector});
                return;
            }
            setParents(engine, p.front(), e);
        } else if (isPoint(e)) {
            if (straightPair) return;
            engine.pick(e);
            setNeeds(engine, 3 - int(engine.picked().size()));
            if (engine.picked().size() < 3) return;
            const auto& q = engine.picked();
            if (!areCollinear(positionOf(*q[0]), positionOf(*q[1]), positionOf(*q[2])))
                return engine.reset();
            setParents(engine, q[0], q[1], q[2]);
        } else {
            return;
        }
        finish(engine, Method::Proportion, click.world);
        engine.requestTool(Tool::Move, false);
    }
};

// The property checks (26-30). Parallelism and perpendicularity: two straight elements.
// Membership: a point, then a curve. Equidistance: the point whose distances are compared, then
// the two other points, or a segment or vector whose end points they are (the segment may also
// come first). Alignment: three points. The check goes to the last click and then follows the
// pointer with the move tool until a click places it.
class CheckSequence : public MeasureSequence {
  public:
    explicit CheckSequence(int tool) : tool_(tool) {}

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        const ConstructionMethod m = Method::ParallelCheck + (tool_ - Tool::ParallelCheck);
        const auto& p = engine.picked();
        switch (tool_) {
        case Tool::ParallelCheck:
        case Tool::PerpendicularCheck: {
            Element* s = elementForCurveTools(click);
            if (!isStraight(s)) return;
            if (p.empty()) {
                engine.pick(s);
                return;
            }
            setParents(engine, p.front(), s);
            break;
        }
        case Tool::MembershipCheck: {
            if (p.empty()) {
                if (!isPoint(e)) return;
                engine.pick(e);
                setNeeds(engine, 0, clickableFor(parentKinds(Method::MembershipCheck, 1)));
                return;
            }
            Element* c = elementForCurveTools(click);
            if (!c || isPoint(c)) return;
            setParents(engine, p.front(), c);
            break;
        }
        case Tool::EquidistanceCheck: {
            Element* s = elementForCurveTools(click);
            Element *a = nullptr, *b = nullptr;
            const bool pair = endPointsOf(s, a, b);
            if (!pair && !isPoint(e)) return;
            Element* reference = nullptr;
            bool havePair = false;
            for (Element* x : p) {
                Element *u = nullptr, *v = nullptr;
                if (endPointsOf(x, u, v))
                    havePair = true;
                else if (!reference)
                    reference = x;
            }
            if (pair) {
                // The segment gives the two compared points; only while none of them is chosen.
                if (havePair || p.size() > 1) return;
                engine.pick(s);
                setNeeds(engine, reference ? 0 : 1);
                if (!reference) return;
                setParents(engine, reference, a, b);
                break;
            }
            engine.pick(e);
            if (havePair) {
                Element* seg = p.front();
                endPointsOf(seg, a, b);
                setParents(engine, e, a, b);
                break;
            }
            clearNeeds(engine, {Kind::Line, Kind::Ray, Kind::Segment, Kind::Polygon, Kind::Vector,
                                Kind::Axes});
            if (p.size() == 1) setNeeds(engine, 2, {Kind::Segment, Kind::Vector, Kind::Polygon});
            if (p.size() < 3) return;
            setParents(engine, p[0], p[1], p[2]);
            break;
        }
        case Tool::AlignmentCheck:
            if (!isPoint(e)) return;
            engine.pick(e);
            if (p.size() < 3) return;
            setParents(engine, p[0], p[1], p[2]);
            break;
        default:
            return;
        }
        Element* check = finish(engine, m, click.world);
        engine.requestTool(Tool::Move, false, check);
    }

  private:
    int tool_;
};

// Equation (line 45, circle 46, conic 58) or coordinates (point 42): the element, whose click
// gives the text position, then the axes, taken without a click when there is only one.
class EquationSequence : public MeasureSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (engine.step() > 0) {
            if (e->kind() != Kind::Axes) return;
            finishWith(engine, e);
            return;
        }
        if (methodFor(e) < 0) return;
        engine.pick(e);
        placeTextAt(engine.request(), click.world);
        setNeeds(engine, 0, {Kind::Axes});
        Element* axes = onlyAxes(engine.doc());
        if (!axes && !hasAxes(engine.doc())) {
            // Without any axes the text refers to new ones (made inside the same undo step).
            engine.saveUndoOnce();
            axes = findAxes(engine.doc(), true, engine.options());
        }
        if (axes) finishWith(engine, axes);
    }

  private:
    static ConstructionMethod methodFor(const Element* e) {
        switch (e->kind()) {
        case Kind::Point:
            return Method::Coordinates;
        case Kind::Line:
        case Kind::Ray:
        case Kind::Segment:
            return Method::LineEquation;
        case Kind::Circle:
            return Method::CircleEquation;
        case Kind::Conic:
            return Method::ConicEquation;
        default:
            return -1;
        }
    }
    static void finishWith(ClickEngine& engine, Element* axes) {
        Element* element = engine.picked().front();
        ElementRequest& r = engine.request();
        r.parent1 = element;
        r.parent2 = axes;
        r.parent3 = nullptr;
        engine.complete(methodFor(element));
    }
};

// Function graph (45): a function, then the axes, taken without a click when there is only one.
// The variable's range starts as what the drawing area shows (see functionGraphRange).
class FunctionGraphSequence : public MeasureSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (engine.step() > 0) {
            if (e->kind() == Kind::Axes) finish(engine, e);
            return;
        }
        if (e->method != Method::Function) return;
        engine.pick(e);
        setNeeds(engine, 0, {Kind::Axes});
        if (Element* axes = onlyAxes(engine.doc())) finish(engine, axes);
    }

  private:
    static void finish(ClickEngine& engine, Element* axes) {
        Element* function = engine.picked().front();
        double left, top, right, bottom, a, b;
        engine.host().visibleArea(left, top, right, bottom);
        if (!functionGraphRange(engine.doc(), *function, *axes, left, top, right, bottom, a, b))
            return engine.reset();
        setParents(engine, function, axes);
        ElementRequest& r = engine.request();
        r.value[1] = a;
        r.value[2] = b;
        engine.complete(Method::FunctionGraph);
    }
};

// Table of values (51): numbers (or coordinates, both of their numbers) collect the columns; a
// click on an empty place makes the table there; a click on a table adds a row of the current
// values (with Shift removes the last row). Each table change is an undo step of its own.
class TableSequence : public MeasureSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) {
            if (engine.picked().empty()) return;
            engine.saveUndoOnce();
            ElementRequest& r = engine.request();
            r.parent1 = r.parent2 = r.parent3 = nullptr;
            r.extra.clear();
            for (Element* c : engine.picked()) {
                if (c->kind() == Kind::Coordinates) {
                    for (int i = 0; i < c->subElementCount(); ++i)
                        r.extra.push_back(c->subElement(i));
                } else {
                    r.extra.push_back(c);
                }
            }
            placeTextAt(r, click.world);
            r.option = engine.options().horizontalTables ? NoValue : HasValue;
            Element* table = engine.complete(Method::Table);
            if (auto* t = table ? table->tailAs<TableTail>() : nullptr) {
                // The first row holds the values of the moment.
                for (TableColumn& c : t->columns)
                    c.values.assign(1, currentValue(c.element));
                t->rows = 1;
            }
            return;
        }
        if (e->kind() == Kind::Table) {
            const auto* before = e->tailAs<TableTail>();
            const bool remove = (click.modifiers & Modifier::Shift) != 0;
            if (!before || (remove ? before->rows <= 1 : before->rows >= TableTail::MaxRows))
                return; // nothing would change
            engine.saveUndo();
            auto* t = e ? e->tailAs<TableTail>() : nullptr;
            if (!t) return;
            if (remove) {
                if (t->rows > 1) --t->rows;
            } else if (t->rows < TableTail::MaxRows) {
                for (TableColumn& c : t->columns) {
                    c.values.resize(size_t(t->rows));
                    c.values.push_back(currentValue(c.element));
                }
                ++t->rows;
            }
            for (TableColumn& c : t->columns)
                if (c.values.size() > size_t(t->rows)) c.values.resize(size_t(t->rows));
            engine.doc().modified = 1;
            return;
        }
        if (isNumber(e) || e->kind() == Kind::Coordinates) {
            engine.pick(e);
            engine.needs() = toolInfo(engine.tool()).needs; // more columns may follow
        }
    }

  private:
    static double currentValue(const Element* c) {
        return c && c->defined && c->option != NoValue ? c->value[0] : 0.0;
    }
};

// Calculator (42, 43, 44) and represented points (33): each click hands the element to the
// window's dialog; nothing is picked, so the same number can be clicked again.
class DialogSequence : public MeasureSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (engine.tool() == Tool::RepresentPoints) {
            if (e->owner) e = e->owner; // an axis line stands for its axes
            if (e->kind() != Kind::Axes) return;
        }
        engine.requests().dialogElementClicked(engine.tool(), *e);
    }
};

} // namespace

std::unique_ptr<ToolSequence> makeMeasureSequence(int tool) {
    switch (tool) {
    case Tool::LengthDistance:
        return std::make_unique<LengthSequence>();
    case Tool::AngleMeasure:
        return std::make_unique<AngleMeasureSequence>();
    case Tool::Area:
    case Tool::Slope:
    case Tool::Grid:
        return std::make_unique<OneElementSequence>(tool);
    case Tool::Proportion:
        return std::make_unique<ProportionSequence>();
    case Tool::ParallelCheck:
    case Tool::PerpendicularCheck:
    case Tool::MembershipCheck:
    case Tool::EquidistanceCheck:
    case Tool::AlignmentCheck:
        return std::make_unique<CheckSequence>(tool);
    case Tool::EquationOrCoordinates:
        return std::make_unique<EquationSequence>();
    case Tool::Table:
        return std::make_unique<TableSequence>();
    case Tool::FunctionGraph:
        return std::make_unique<FunctionGraphSequence>();
    case Tool::RepresentPoints:
    case Tool::Calculate:
    case Tool::Parameter:
    case Tool::Function:
        return std::make_unique<DialogSequence>();
    default:
        return nullptr;
    }
}

} // namespace qorv::sequences
