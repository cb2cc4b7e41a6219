#include "view/hittest.h"

#include "geometry/animation.h"
#include "geometry/elementgeometry.h"
#include "geometry/intersectionpoint.h"
#include "geometry/locus.h"
#include "geometry/primitives.h"
#include "geometry/ticks.h"
#include "model/document.h"
#include "model/uitext.h"

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

// Tools that take a clicked polygon side as a straight element of its own.
bool takesSides(int tool) {
    return tool == Tool::Parallel || tool == Tool::Perpendicular || tool == Tool::Intersection;
}

// Tools that want a straight element and so take an axis line rather than the whole axes.
bool takesAxisLines(int tool) {
    switch (tool) {
    case Tool::Parallel:
    case Tool::Perpendicular:
    case Tool::Intersection:
    case Tool::AxialSymmetry:
    case Tool::ParallelCheck:
    case Tool::PerpendicularCheck:
    case Tool::EquidistanceCheck:
    case Tool::DisplacedPoint:
    case Tool::LengthDistance:
    case Tool::Slope:
        return true;
    default:
        return false;
    }
}

// Text-like kinds that win over curves under the pointer.
bool winsOverCurves(const Element& e) {
    switch (e.kind()) {
    case Kind::Name:
    case Kind::Number:
    case Kind::Function:
    case Kind::Coordinates:
    case Kind::Property:
    case Kind::Button:
        return true;
    default:
        return false;
    }
}

// Kinds tested by their boxes only as a last resort.
bool lastResortKind(int k) {
    return k == Kind::Table || k == Kind::Text || k == Kind::Bitmap;
}

// Tools for which two crossing elements under the pointer stand for their intersection.
bool snapsToIntersections(int tool, const NeedsRow& needs) {
    if (tool != Tool::Point && needs.points() <= 0) return false;
    if (tool == Tool::Move || (tool >= Tool::Locus && tool <= Tool::Inversion) ||
        tool == Tool::DisplacedPoint || tool == Tool::LengthDistance || tool >= Tool::Trace)
        return false;
    return true;
}

bool drawnNow(const Element& e, const HitQuery& q) {
    if (e.visible == Internal || !e.defined) return false;
    if (e.visible == 0 && (!q.showHidden || q.onlyShown)) return false;
    return true;
}

// The element that stands for a hit in intersections: a polygon hit stands for its side.
Element* intersectable(const Hit& h) {
    if (h.element && h.element->kind() == Kind::Polygon && h.side >= 0)
        return h.element->subElement(h.side);
    return h.element;
}

} // namespace

HitTester::HitTester() : holder_(std::make_unique<Element>()) {
    holder_->method = Method::Intersection;
    hits_.reserve(MaxHits);
}

HitTester::~HitTester() = default;

const std::vector<Hit>& HitTester::run(Document& doc, const ViewTransform& view,
                                       const BoxQuery& boxes, const HitQuery& q, Point2 world) {
    hits_.clear();
    const double scale = view.scale > 0 ? view.scale : 1.0;
    const double reach = q.detection / scale; // world units
    const KindMask filter = hitFilter(q.needs);
    const bool numbers = q.needs[Kind::Number] > 0;
    const double sx = view.toScreenX(world.x), sy = view.toScreenY(world.y);
    auto add = [&](Element* e, double worldDistance, int side = -1) {
        Hit h;
        h.element = e;
        h.side = side;
        h.pixels = worldDistance * scale;
        hits_.push_back(h);
    };

    // 1-2: every element the filter accepts, by the rule of its kind.
    for (Element* e = doc.head; e && int(hits_.size()) < MaxHits; e = e->next) {
        const int k = e->kind();
        if (k < 0 || !drawnNow(*e, q)) continue;
        const bool accepted = hasKind(filter, k) || (k == Kind::Coordinates && numbers);
        if (!accepted || lastResortKind(k)) continue;
        switch (k) {
        case Kind::Point:
        case Kind::Line:
        case Kind::Ray:
        case Kind::Segment:
        case Kind::Vector:
        case Kind::Circle:
        case Kind::Arc:
        case Kind::Angle:
        case Kind::Locus:
        case Kind::Conic: {
            const double d = isFamilyLocus(*e) ? familyLocusDistance(doc, *e, world, reach)
                                               : distanceToElement(*e, world);
            if (d < reach) add(e, d);
            break;
        }
        case Kind::Iteration: {
            const double d = iterationDistance(doc, *e, world, reach);
            if (d < reach) add(e, d);
            break;
        }
        case Kind::Polygon: {
            int side = -1;
            const double d = distanceToElement(*e, world, &side);
            if (!(d < reach) || side < 0) break;
            if (takesSides(q.tool))
                add(e->subElement(side), d);
            else
                add(e, d, side);
            break;
        }
        case Kind::Axes: {
            Element* best = nullptr;
            double bestD = FarAway;
            for (int i = 0; i < e->subElementCount(); ++i) {
                Element* line = e->subElement(i);
                if (!line || !line->defined) continue;
                const double d = distanceToElement(*line, world);
                if (d < bestD) bestD = d, best = line;
            }
            if (!best || !(bestD < reach)) break;
            const bool whole = q.needs[Kind::Axes] > 0 && !takesAxisLines(q.tool);
            add(whole ? e : best, bestD);
            break;
        }
        case Kind::Grid: {
            Hit h;
            if (!nearestGridNode(doc, *e, world, h.node, h.nodeAxes)) break;
            const double d = distance(world, h.node);
            if (!(d < reach)) break;
            h.element = e;
            h.pixels = d * scale;
            hits_.push_back(h);
            break;
        }
        case Kind::Name:
        case Kind::Number:
        case Kind::Function:
        case Kind::Equation:
        case Kind::Coordinates:
        case Kind::Property:
        case Kind::Button: {
            PixelBox b;
            if (!boxes || !boxes(*e, b) || !b.contains(sx, sy)) break;
            if (k == Kind::Coordinates && numbers && !hasKind(filter, Kind::Coordinates)) {
                // Tools that take numbers take the x or the y part of coordinates.
                const int part = sx < b.x + b.w / 2 ? 0 : 1;
                if (Element* sub = e->subElement(part)) add(sub, 0);
                break;
            }
            add(e, 0);
            break;
        }
        default:
            break;
        }
    }

    // 3: the animation tool only moves what can be animated.
    if (q.tool == Tool::Animation)
        std::erase_if(hits_, [](const Hit& h) { return !isAnimatable(*h.element); });

    // 4: points first; the move tool drags the single nearest draggable point.
    const bool anyPoint = std::any_of(
        hits_.begin(), hits_.end(), [](const Hit& h) { return h.element->kind() == Kind::Point; });
    if (anyPoint) {
        std::erase_if(hits_, [](const Hit& h) { return h.element->kind() != Kind::Point; });
        if (q.tool == Tool::Move && hits_.size() > 1) {
            int best = -1;
            bool bestDraggable = false;
            for (int i = 0; i < int(hits_.size()); ++i) {
                const bool draggable = isDraggablePoint(*hits_[size_t(i)].element);
                // On equal distance the later one in the list wins.
                if (best < 0 || (draggable && !bestDraggable) ||
                    (draggable == bestDraggable &&
                     hits_[size_t(i)].pixels <= hits_[size_t(best)].pixels)) {
                    best = i;
                    bestDraggable = draggable;
                }
            }
            const Hit keep = hits_[size_t(best)];
            hits_.assign(1, keep);
        }
    } else if (std::any_of(hits_.begin(), hits_.end(),
                           [](const Hit& h) { return winsOverCurves(*h.element); })) {
        // 5: text-like elements before curves.
        std::erase_if(hits_, [](const Hit& h) { return !winsOverCurves(*h.element); });
    }

    // 6: tables, texts and bitmaps by their boxes, as a last resort.
    if (hits_.empty() || hits_.front().element->kind() == Kind::Locus) {
        for (Element* e = doc.head; e && int(hits_.size()) < MaxHits; e = e->next) {
            const int k = e->kind();
            if (!lastResortKind(k) || !hasKind(filter, k) || !drawnNow(*e, q)) continue;
            PixelBox b;
            if (boxes && boxes(*e, b) && b.contains(sx, sy)) add(e, 0);
        }
    }

    // 7: when some of the hits are selected, only those.
    if (q.tool != Tool::MacroInitial && q.tool != Tool::MacroFinal &&
        q.tool != Tool::ShowHideButton &&
        std::any_of(hits_.begin(), hits_.end(), [](const Hit& h) { return h.element->selected; }))
        std::erase_if(hits_, [](const Hit& h) { return !h.element->selected; });

    // 8: two crossing elements: their intersection under the pointer.
    if (hits_.size() >= 2 && snapsToIntersections(q.tool, q.needs))
        snapToIntersection(view, q.detection, world);

    // 9: what the sequence already picked cannot be picked again (except the polygon's first
    // point, a click on which closes the polygon).
    if (q.picked && !q.picked->empty() && q.tool != Tool::Trace) {
        const Element* reopen = q.tool == Tool::Polygon ? q.picked->front() : nullptr;
        std::erase_if(hits_, [&](const Hit& h) {
            return h.element != reopen &&
                   std::find(q.picked->begin(), q.picked->end(), h.element) != q.picked->end();
        });
    }
    return hits_;
}

bool HitTester::snapToIntersection(const ViewTransform& view, double detection, Point2 world) {
    Element* a = intersectable(hits_[0]);
    Element* b = intersectable(hits_[1]);
    if (!a || !b || a == b) return false;
    bool swap = false;
    const int32_t code = intersectionBaseCode(*a, *b, swap);
    if (code < 0) return false;
    if (swap) std::swap(a, b);
    const double scale = view.scale > 0 ? view.scale : 1.0;
    const double reach = detection / scale;
    double best = FarAway;
    Point2 at;
    int32_t option = -1, option2 = 0;
    if (code == IntersectionCode::Locus) {
        Point2 found;
        const int total = locusCrossings(*a, *b, 0, found);
        for (int i = 0; i < total && i < 1000; ++i) {
            if (i > 0) locusCrossings(*a, *b, i, found);
            const double d = distance(world, found);
            if (d < best) best = d, at = found, option = code, option2 = i;
        }
    } else {
        IntersectionCandidates cand;
        if (!intersectionCandidates(*a, *b, code, cand, scale)) return false;
        for (int i = 0; i < cand.count; ++i) {
            if (!cand.kept[i] || !isFinite(cand.point[i])) continue;
            const double d = distance(world, cand.point[i]);
            if (d < best) best = d, at = cand.point[i], option = code + i, option2 = 0;
        }
    }
    if (!(best < reach)) return false;
    Element& h = *holder_;
    h.method = Method::Intersection;
    h.parent1 = a;
    h.parent2 = b;
    h.option = option;
    h.option2 = option2;
    h.value[0] = at.x;
    h.value[1] = at.y;
    h.defined = 1;
    h.visible = 1;
    Hit hit;
    hit.element = holder_.get();
    hit.pixels = best * scale;
    hits_.assign(1, hit);
    return true;
}

std::string describeElement(const Document&, const Element& e) {
    std::string s = uiText().methodName(e.method);
    if (const auto* t = e.tailAs<ExpressionTail>()) s += ": " + t->exprText;
    if (const auto* t = e.tailAs<IterationTail>()) s += ": n=" + std::to_string(t->iterations);
    return s;
}

std::string cursorLabelOf(const Document& doc, const Element& e) {
    std::string s = uiText().kindName(e.kind());
    const std::string name = doc.nameOf(&e);
    if (!name.empty() && e.method != Method::Name) s += " " + name;
    return s;
}

} // namespace qorv
