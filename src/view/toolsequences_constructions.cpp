// Construction tools: points, lines, rays, circles, polygons, regular polygons, conics, arcs,
// angles, parallels and perpendiculars, segments, vectors and their sum, midpoints, bisectors,
// intersections, loci, displaced points, points with coordinates, axes.
#include "view/toolsequences_parts.h"

#include "construction/create.h"
#include "geometry/elementgeometry.h"
#include "geometry/intersectionpoint.h"
#include "geometry/locus.h"
#include "geometry/measure.h"
#include "geometry/primitives.h"
#include "geometry/recalc.h"
#include "geometry/transforms.h"

#include <cmath>
#include <optional>

namespace qorv::sequences {

namespace {

// The point tool: the click alone makes the point (a free point, a point on the element under
// the pointer, an intersection point at a crossing, a point on a grid).
class PointToolSequence : public ToolSequence {
  public:
    void click(ClickEngine& engine, const Click&) override {
        // A click on an existing point makes nothing; a made point is the whole construction.
        engine.reset();
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
            if (isPoint(click.element)) engine.pick(click.element);
            return;
        }
        Element* first = engine.picked().front();
        if (!click.element) {
            // The same place twice gives no direction.
            if (distance(positionOf(*first), click.world) < Tol::Distinct) return;
            ElementRequest& r = engine.request();
            r.value[0] = first->value[0];
            r.value[1] = first->value[1];
            r.value[2] = click.world.x;
            r.value[3] = click.world.y;
            engine.complete(onePoint_);
            return;
        }
        if (!isPoint(click.element) || click.element == first) return;
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

// Circle by radius and centre: the radius from two points, from a segment (its end points) or
// from a number; the last click gives the centre. Parents: centre, then the radius points (18)
// or the number (73).
class CircleRadiusSequence : public ToolSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        Element *a = nullptr, *b = nullptr;
        if (engine.step() == 0 && (isNumber(e) || endPointsOf(e, a, b))) {
            engine.pick(e);
            setNeeds(engine, 1);
            return;
        }
        if (!isPoint(e)) return;
        engine.pick(e);
        clearNeeds(engine, {Kind::Segment, Kind::Number});
        if (engine.needs().points() > 0) return;
        const auto& p = engine.picked();
        if (isNumber(p[0])) {
            setParents(engine, p[1], p[0]);
            engine.complete(Method::CircleRadiusNumberCentre);
        } else if (endPointsOf(p[0], a, b)) {
            setParents(engine, p[1], a, b);
            engine.complete(Method::CircleRadiusCentre);
        } else {
            setParents(engine, p[2], p[0], p[1]);
            engine.complete(Method::CircleRadiusCentre);
        }
    }

    // Once the radius is known the circle follows the pointer as its centre.
    bool preview(const ClickEngine& engine, Point2 pointer, ElementRequest& out) const override {
        const auto& p = engine.picked();
        double r = -1;
        Element *a = nullptr, *b = nullptr;
        if (p.size() == 1 && isNumber(p[0])) {
            const double unit = toLengthUnits(engine.doc(), 1.0);
            if (p[0]->option != NoValue && unit > 0) r = p[0]->value[0] / unit;
        } else if (p.size() == 1 && endPointsOf(p[0], a, b)) {
            r = distance(positionOf(*a), positionOf(*b));
        } else if (p.size() == 2) {
            r = distance(positionOf(*p[0]), positionOf(*p[1]));
        }
        if (!(r >= Tol::Distinct) || !std::isfinite(r)) return false;
        out.method = Method::CircleCentrePoint;
        out.value[0] = pointer.x;
        out.value[1] = pointer.y;
        out.value[2] = pointer.x + r;
        out.value[3] = pointer.y;
        return true;
    }
};

// Parallel and perpendicular: a straight element and a point in either order; a click on another
// curve while the point is missing makes a point on it. Parents: the straight element, the point.
class ParallelSequence : public ToolSequence {
  public:
    explicit ParallelSequence(ConstructionMethod m) : method_(m) {}

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        Element* point = nullptr;
        Element* line = nullptr;
        find(engine, point, line);
        if (isPoint(e)) {
            if (point) return;
            point = e;
            engine.pick(e);
        } else {
            Element* s = elementForCurveTools(click);
            if (line || !isStraight(s)) return;
            line = s;
            engine.pick(s);
            clearNeeds(engine, clickableFor(parentKinds(method_, 0)));
        }
        if (!point || !line) return;
        setParents(engine, line, point);
        engine.complete(method_);
    }

    bool preview(const ClickEngine& engine, Point2 pointer, ElementRequest& out) const override {
        Element* point = nullptr;
        Element* line = nullptr;
        find(engine, point, line);
        if (!line || point) return false;
        Point2 a, b, first, second;
        if (!straightPointsOf(*line, a, b)) return false;
        const bool ok = method_ == Method::ParallelLine
                            ? parallelThrough(a, b, pointer, first, second)
                            : perpendicularThrough(a, b, pointer, first, second);
        if (!ok) return false;
        out.method = method_;
        out.value[0] = first.x;
        out.value[1] = first.y;
        out.value[2] = second.x;
        out.value[3] = second.y;
        return true;
    }

  private:
    static void find(const ClickEngine& engine, Element*& point, Element*& line) {
        for (Element* p : engine.picked())
            (isPoint(p) ? point : line) = p;
    }
    ConstructionMethod method_;
};

// Polygon: every click adds a vertex; a click on the first vertex with three or more chosen, or
// a double click with more than two, closes it.
class PolygonSequence : public ToolSequence {
  public:
    bool takesDoubleClick() const override { return true; }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!isPoint(e)) return;
        const auto& p = engine.picked();
        if (!p.empty() && e == p.front()) {
            if (p.size() >= 3) close(engine); // earlier it is ignored
            return;
        }
        engine.pick(e);
    }

    void doubleClick(ClickEngine& engine, const Click&) override {
        if (engine.step() > 2) close(engine);
    }

    std::unique_ptr<Element> previewElement(const ClickEngine& engine,
                                            Point2 pointer) const override {
        std::vector<Point2> v;
        for (const Element* p : engine.picked())
            v.push_back(positionOf(*p));
        v.push_back(pointer);
        return previewPolygon(v);
    }

  private:
    static void close(ClickEngine& engine) {
        ElementRequest& r = engine.request();
        r.extra = engine.picked();
        r.parent1 = r.parent2 = r.parent3 = nullptr;
        engine.complete(Method::Polygon);
    }
};

// Regular and star polygons: the centre, the first vertex, then the pointer chooses the number
// of sides (shown live) and a third click creates it.
class RegularPolygonSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine& engine, const Element* hit) const override {
        return engine.step() < 2 && ToolSequence::wantsPoint(engine, hit);
    }

    void click(ClickEngine& engine, const Click& click) override {
        if (engine.step() < 2) {
            if (isPoint(click.element) &&
                (engine.step() == 0 || click.element != engine.picked().front()))
                engine.pick(click.element);
            return;
        }
        const auto& p = engine.picked();
        const PolygonShape shape =
            regularPolygonSides(positionOf(*p[0]), positionOf(*p[1]), click.world);
        engine.saveUndoOnce();
        Element* centre = engine.picked()[0];
        Element* first = engine.picked()[1];
        if (Element* polygon =
                createRegularPolygon(engine.doc(), centre, first, shape, engine.options()))
            recalcElement(engine.doc(), *polygon);
        engine.reset();
    }

    std::unique_ptr<Element> previewElement(const ClickEngine& engine,
                                            Point2 pointer) const override {
        const auto& p = engine.picked();
        if (p.size() == 1) {
            // A dotted circle about the centre through the pointer.
            const Point2 c = positionOf(*p[0]);
            if (distance(c, pointer) < Tol::Distinct) return nullptr;
            auto circle = std::make_unique<Element>();
            circle->method = Method::CircleCentrePoint;
            circle->value[0] = c.x;
            circle->value[1] = c.y;
            circle->value[2] = pointer.x;
            circle->value[3] = pointer.y;
            return circle;
        }
        if (p.size() != 2) return nullptr;
        const Point2 c = positionOf(*p[0]), v = positionOf(*p[1]);
        const PolygonShape shape = regularPolygonSides(c, v, pointer);
        std::vector<Point2> vertices{v};
        for (int i = 1; i < shape.sides; ++i)
            vertices.push_back(rotatePoint(v, c, regularVertexAngle(i, shape)));
        return previewPolygon(vertices);
    }
};

// Vector sum: two vectors, then the start point; a point of method 72 and the vector to it.
class VectorSumSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine& engine, const Element* hit) const override {
        return engine.step() >= 2 && ToolSequence::wantsPoint(engine, hit);
    }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (engine.step() < 2) {
            if (e->kind() == Kind::Vector) engine.pick(e);
            return;
        }
        if (!isPoint(e)) return;
        engine.pick(e);
        engine.saveUndoOnce();
        const auto& p = engine.picked();
        ElementRequest sum;
        sum.method = Method::VectorSumPoint;
        sum.parent1 = p[0];
        sum.parent2 = p[1];
        sum.parent3 = p[2];
        Element* start = p[2];
        Element* end = engine.create(sum);
        ElementRequest vector;
        vector.method = Method::Vector;
        vector.parent1 = start;
        vector.parent2 = end;
        engine.create(vector);
        engine.reset();
    }
};

// Midpoint and perpendicular bisector (two points or a segment) and angle bisector (three
// points or an angle, whose parents are copied in their order).
class PointsOrElementSequence : public ToolSequence {
  public:
    PointsOrElementSequence(ConstructionMethod m, int wholeKind) : method_(m), whole_(wholeKind) {}

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (engine.step() == 0 && e->kind() == whole_) {
            Element *a = nullptr, *b = nullptr;
            if (whole_ == Kind::Angle) {
                if (!isPoint(e->parent1) || !isPoint(e->parent2) || !isPoint(e->parent3)) return;
                setParents(engine, e->parent1, e->parent2, e->parent3);
            } else {
                if (!endPointsOf(e, a, b)) return;
                setParents(engine, a, b);
            }
            engine.complete(method_);
            return;
        }
        if (!isPoint(e)) return;
        engine.pick(e);
        clearNeeds(engine, {whole_});
        if (engine.needs().points() <= 0) engine.complete(method_);
    }

  private:
    ConstructionMethod method_;
    int whole_;
};

// Intersection: two elements; one point per intersection found (straight pairs one, curved
// pairs as many as exist, conic pairs every candidate, loci every crossing), in an undo step of
// its own.
class IntersectionSequence : public ToolSequence {
  public:
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = elementForCurveTools(click);
        if (!e || e->method == Method::Intersection) return;
        if (engine.step() == 0) {
            engine.pick(e);
            return;
        }
        Element* a = engine.picked().front();
        Element* b = e;
        if (a == b) return;
        bool swap = false;
        const int32_t code = intersectionBaseCode(*a, *b, swap);
        if (code < 0) return; // no intersection routine for this pair
        if (swap) std::swap(a, b);

        struct Variant {
            int32_t option, option2;
        };
        std::vector<Variant> variants;
        const int slots = intersectionCandidateSlots(code);
        // Crossings of loci and the points on them sample the loci again: it may take a while.
        std::optional<BusyCursor> busy;
        if (code == IntersectionCode::Locus) busy.emplace(engine.requests());
        if (code == IntersectionCode::Locus) {
            // Every crossing of the finer samples the points are computed from.
            Point2 found;
            const int crossings = finerLocusCrossings(engine.doc(), *a, *b, 0, found);
            for (int i = 0; i < crossings && i < MaxLocusCrossingPoints; ++i)
                variants.push_back({code, i});
        } else if (slots <= 1 || code >= IntersectionCode::ConicLine) {
            for (int i = 0; i < std::max(1, slots); ++i)
                variants.push_back({code + i, 0});
        } else {
            // Circles and lines: only the intersections that exist, and not where a point that
            // defines both elements already lies.
            IntersectionCandidates cand;
            Point2 shared[2];
            const int nShared = sharedDefiningPoints(*a, *b, shared);
            if (intersectionCandidates(*a, *b, code, cand)) {
                for (int i = 0; i < cand.count && i < slots; ++i) {
                    if (!cand.kept[i] || !isFinite(cand.point[i])) continue;
                    bool atShared = false;
                    for (int s = 0; s < nShared; ++s)
                        atShared = atShared || distance(cand.point[i], shared[s]) < Tol::Distinct;
                    if (!atShared) variants.push_back({code + i, 0});
                }
            }
        }
        if (variants.empty()) return engine.reset(); // they do not meet
        engine.saveUndoOnce();
        if (!a || !b) return engine.reset();
        Document& doc = engine.doc();
        for (const Variant& v : variants) {
            ElementRequest r;
            r.method = Method::IntersectionPoint;
            r.parent1 = a;
            r.parent2 = b;
            r.option = v.option;
            r.option2 = v.option2;
            Element* p = createElement(doc, r, engine.options());
            recalcElement(doc, *p);
        }
        engine.reset();
    }

  private:
    static constexpr int MaxLocusCrossingPoints = 1000;
};

// Locus: the element to trace (a point or a curve), then the element that drives it (a point on
// an element or on a grid, or a parameter); made only when the engine accepts the pair.
class LocusSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        if (engine.step() == 0) {
            if (!hasKind(parentKinds(Method::Locus, 0), e->kind())) return;
            engine.pick(e);
            setNeeds(engine, 1, parentKinds(Method::Locus, 1)); // a point or a number
            return;
        }
        Element* traced = engine.picked().front();
        if (!hasKind(parentKinds(Method::Locus, 1), e->kind()) ||
            !isValidLocusPair(engine.doc(), *traced, *e))
            return engine.reset();
        setParents(engine, traced, e);
        engine.complete(Method::Locus);
    }
};

// A point displaced by a number: the point, the element that guides it (line, ray, segment,
// vector or circle), the number. Made only when the point may move along that element.
class DisplacedPointSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine& engine, const Element* hit) const override {
        if (engine.step() != 0) return false;
        if (!hit) return true;
        const int k = hit->kind();
        return k != Kind::Point && (k == Kind::Intersection || hasKind(PointHostKinds, k));
    }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        switch (engine.step()) {
        case 0:
            if (!isPoint(e)) return;
            engine.pick(e);
            setNeeds(engine, 0, parentKinds(Method::DisplacedPoint, 1));
            return;
        case 1: {
            Element* g = elementForCurveTools(click);
            if (!g || !(isStraight(g) || g->kind() == Kind::Circle)) return;
            engine.pick(g);
            setNeeds(engine, 0, parentKinds(Method::DisplacedPoint, 2));
            return;
        }
        default: {
            if (!isNumber(e)) return;
            Element* p = engine.picked()[0];
            Element* g = engine.picked()[1];
            if (!accepts(*p, *g)) return engine.reset();
            setParents(engine, p, g, e);
            engine.complete(Method::DisplacedPoint);
            return;
        }
        }
    }

  private:
    // On a circle the point must lie on it by construction; on a line, ray or segment it must
    // belong to it; along a vector any point moves.
    static bool accepts(const Element& p, const Element& g) {
        if (!p.defined || !g.defined) return false;
        const int k = g.kind();
        if (k == Kind::Vector) return true;
        if (liesOnByConstruction(p, g)) return true;
        if (k == Kind::Circle) return false;
        Point2 a, b;
        if (!straightPointsOf(g, a, b) || distance(a, b) < Tol::Distinct) return false;
        const Point2 x = positionOf(p);
        if (distanceToLine(x, a, b) >= Tol::Distinct) return false;
        if (k == Kind::Ray) return !isBeyondOrigin(a, b, x);
        if (k == Kind::Segment)
            return std::fabs(distance(a, x) + distance(x, b) - distance(a, b)) < Tol::Distinct;
        return true;
    }
};

// Point with coordinates: the number for x, the number for y (or a coordinates element for
// both), then the axes, taken without a click when there is only one.
class PointWithCoordinatesSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e) return;
        const int numbers = int(engine.picked().size());
        if (numbers < 2) {
            if (e->kind() == Kind::Coordinates && numbers == 0 && e->subElementCount() == 2) {
                engine.saveUndoOnce();
                if (!e) return;
                engine.pick(e->subElement(0));
                engine.pick(e->subElement(1));
            } else if (isNumber(e)) {
                engine.saveUndoOnce();
                if (!e) return;
                engine.pick(e);
            } else {
                return;
            }
            if (engine.picked().size() < 2) return;
            setNeeds(engine, 0, {Kind::Axes});
            Element* axes = onlyAxes(engine.doc());
            // Without any axes the point is placed on new ones.
            if (!axes && !hasAxes(engine.doc()))
                axes = findAxes(engine.doc(), true, engine.options());
            if (axes) finish(engine, axes);
            return;
        }
        if (e->kind() == Kind::Axes) finish(engine, e);
    }

  private:
    static void finish(ClickEngine& engine, Element* axes) {
        const auto& p = engine.picked();
        setParents(engine, p[0], p[1], axes);
        engine.complete(Method::PointWithCoordinates);
    }
};

} // namespace

std::unique_ptr<ToolSequence> makeConstructionSequence(int tool) {
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
    case Tool::CircleRadius:
        return std::make_unique<CircleRadiusSequence>();
    case Tool::Parallel:
        return std::make_unique<ParallelSequence>(Method::ParallelLine);
    case Tool::Perpendicular:
        return std::make_unique<ParallelSequence>(Method::PerpendicularLine);
    case Tool::Segment:
        return std::make_unique<TwoPointSequence>(Method::Segment);
    case Tool::Vector:
        return std::make_unique<TwoPointSequence>(Method::Vector);
    case Tool::Polygon:
        return std::make_unique<PolygonSequence>();
    case Tool::RegularPolygon:
        return std::make_unique<RegularPolygonSequence>();
    case Tool::VectorSum:
        return std::make_unique<VectorSumSequence>();
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
    case Tool::Midpoint:
        return std::make_unique<PointsOrElementSequence>(Method::Midpoint, Kind::Segment);
    case Tool::PerpendicularBisector:
        return std::make_unique<PointsOrElementSequence>(Method::PerpendicularBisector,
                                                         Kind::Segment);
    case Tool::AngleBisector:
        return std::make_unique<PointsOrElementSequence>(Method::AngleBisector, Kind::Angle);
    case Tool::Intersection:
        return std::make_unique<IntersectionSequence>();
    case Tool::Locus:
        return std::make_unique<LocusSequence>();
    case Tool::DisplacedPoint:
        return std::make_unique<DisplacedPointSequence>();
    case Tool::PointWithCoordinates:
        return std::make_unique<PointWithCoordinatesSequence>();
    case Tool::Axes:
        return std::make_unique<PointSequence>([](ClickEngine& e) { e.complete(Method::Axes); });
    default:
        return nullptr;
    }
}

} // namespace qorv::sequences
