// The click sequences of the tools: makeToolSequence asks each family in turn, and the helpers
// the families share.
#include "view/toolsequences_parts.h"

#include "geometry/elementgeometry.h"
#include "view/hitgeometry.h"

#include <unordered_map>

namespace qorv {

namespace sequences {

void setNeeds(ClickEngine& engine, int points, std::initializer_list<int> kinds) {
    NeedsRow& n = engine.needs();
    n = NeedsRow{};
    n[0] = int8_t(points);
    for (int k : kinds)
        if (k > 0 && k < Kind::Count) n[k] = 1;
}

void clearNeeds(ClickEngine& engine, std::initializer_list<int> kinds) {
    for (int k : kinds)
        if (k >= 0 && k < Kind::Count) engine.needs()[k] = 0;
}

void setNeeds(ClickEngine& engine, int points, KindMask kinds) {
    NeedsRow& n = engine.needs();
    n = NeedsRow{};
    n[0] = int8_t(points);
    for (int k = 1; k < Kind::Count; ++k)
        if (hasKind(kinds, k)) n[k] = 1;
}

void clearNeeds(ClickEngine& engine, KindMask kinds) {
    for (int k = 0; k < Kind::Count; ++k)
        if (hasKind(kinds, k)) engine.needs()[k] = 0;
}

bool isPoint(const Element* e) {
    return e && e->kind() == Kind::Point;
}

bool isNumber(const Element* e) {
    return e && e->kind() == Kind::Number;
}

bool isStraight(const Element* e) {
    return e && isStraightKind(e->kind());
}

Element* elementForCurveTools(const Click& click) {
    Element* e = click.element;
    if (!e) return nullptr;
    if (e->kind() == Kind::Polygon) {
        if (click.side >= 0 && click.side < e->subElementCount()) return e->subElement(click.side);
        int side = -1;
        distanceToElement(*e, click.world, &side);
        return side >= 0 && side < e->subElementCount() ? e->subElement(side) : nullptr;
    }
    if (e->kind() == Kind::Axes) {
        Element* best = nullptr;
        double bestD = FarAway;
        for (int i = 0; i < e->subElementCount(); ++i) {
            Element* line = e->subElement(i);
            if (!line || !line->defined) continue;
            const double d = distanceToElement(*line, click.world);
            if (d < bestD) bestD = d, best = line;
        }
        return best;
    }
    return e;
}

bool endPointsOf(const Element* e, Element*& a, Element*& b) {
    if (!e) return false;
    const int k = e->kind();
    if (k != Kind::Segment && k != Kind::Vector) return false;
    if (!isPoint(e->parent1) || !isPoint(e->parent2)) return false;
    a = e->parent1;
    b = e->parent2;
    return true;
}

Element* onlyAxes(Document& doc) {
    Element* found = nullptr;
    int count = 0;
    for (Element* e = doc.head; e; e = e->next) {
        if (e->method != Method::Axes || e->visible == Internal) continue;
        found = e;
        ++count;
    }
    return count == 1 ? found : nullptr;
}

bool hasAxes(const Document& doc) {
    for (const Element* e = doc.head; e; e = e->next)
        if (e->method == Method::Axes && e->visible != Internal) return true;
    return false;
}

void setParents(ClickEngine& engine, Element* p1, Element* p2, Element* p3) {
    ElementRequest& r = engine.request();
    r.parent1 = p1;
    r.parent2 = p2;
    r.parent3 = p3;
    r.extra.clear();
}

std::unique_ptr<Element> previewPolygon(const std::vector<Point2>& vertices) {
    if (vertices.size() < 2) return nullptr;
    auto polygon = std::make_unique<Element>();
    polygon->method = Method::Polygon;
    auto tail = std::make_unique<PolygonTail>();
    const size_t n = vertices.size();
    for (size_t i = 0; i < n; ++i) {
        auto side = std::make_unique<Element>();
        side->method = Method::PolygonSide;
        side->owner = polygon.get();
        const Point2 a = vertices[i], b = vertices[(i + 1) % n];
        side->value[0] = a.x;
        side->value[1] = a.y;
        side->value[2] = b.x;
        side->value[3] = b.y;
        tail->sides.emplace_back(std::move(side));
    }
    polygon->tail = std::move(tail);
    return polygon;
}

void restoreDependencyOrder(Document& doc) {
    std::vector<Element*> order;
    std::unordered_map<const Element*, size_t> index; // list element (or sub-element) -> slot
    for (Element* e = doc.head; e; e = e->next) {
        index[e] = order.size();
        forEachSubElement(*e, [&](Element& s) { index[&s] = order.size(); });
        order.push_back(e);
    }
    // Depth-first from each element in list order: its parents are emitted before it.
    std::vector<int> state(order.size(), 0); // 0 new, 1 on the stack, 2 emitted
    std::vector<Element*> sorted;
    sorted.reserve(order.size());
    std::vector<size_t> stack;
    auto parentsOf = [&](size_t i, std::vector<size_t>& out) {
        out.clear();
        auto add = [&](const Element* p) {
            if (!p) return;
            auto it = index.find(p);
            if (it != index.end() && it->second != i) out.push_back(it->second);
        };
        // Every reference of the element and of its sub-elements but the colour parameters,
        // which may stand anywhere.
        const auto addReferences = [&](const Element& x) {
            forEachReference(x, [&](const Ref& r) {
                if (&r != &x.colorParam) add(r);
            });
        };
        addReferences(*order[i]);
        forEachSubElement(*order[i], addReferences);
    };
    std::vector<size_t> parents;
    for (size_t start = 0; start < order.size(); ++start) {
        if (state[start] != 0) continue;
        stack.push_back(start);
        state[start] = 1;
        while (!stack.empty()) {
            const size_t top = stack.back();
            parentsOf(top, parents);
            bool pushed = false;
            for (size_t p : parents) {
                if (state[p] != 0) continue; // emitted, or a cycle (left as it is)
                state[p] = 1;
                stack.push_back(p);
                pushed = true;
                break;
            }
            if (pushed) continue;
            stack.pop_back();
            state[top] = 2;
            sorted.push_back(order[top]);
        }
    }
    doc.head = doc.tail = nullptr;
    for (Element* e : sorted)
        doc.append(e);
}

} // namespace sequences

std::unique_ptr<ToolSequence> makeToolSequence(int tool) {
    using namespace sequences;
    if (auto s = makeConstructionSequence(tool)) return s;
    if (auto s = makeTransformationSequence(tool)) return s;
    if (auto s = makeMeasureSequence(tool)) return s;
    if (auto s = makeMacroSequence(tool)) return s;
    if (auto s = makeIterationSequence(tool)) return s;
    return makeEditingSequence(tool);
}

bool isToolAvailable(int tool) {
    // Tools the interaction handles itself, without a click sequence.
    if (tool == Tool::Move || tool == Tool::RotateSelection || tool == Tool::Zoom ||
        tool == Tool::Trace || tool == Tool::Animation)
        return true;
    return makeToolSequence(tool) != nullptr;
}

} // namespace qorv
