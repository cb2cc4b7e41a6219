#include "geometry/iteration.h"

#include "geometry/recalc.h"
#include "geometry/workbudget.h"
#include "model/elementcopy.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace qorv {

namespace {

constexpr size_t Words = 5; // per initial element and branch: value[0..3], defined

bool participantDefined(const Element* p) {
    return p && p->defined;
}

// A number counts as defined only with a value.
bool hasPosition(const Element& e) {
    if (!e.defined) return false;
    return e.kind() != Kind::Number || e.option == HasValue;
}

// Recalculating a sampled curve costs about one pass per sample.
int64_t workOf(const Element& e) {
    if (const auto* t = e.tailAs<SampledCurveTail>()) return 1 + int64_t(t->first.size());
    return 1;
}

// Copies what recalculation and the style dialogs change, keeping the copy's marks and
// visibility. False when the two do not have the same shape (the copy is then of no use).
bool refreshFrom(const Element& live, Element& copy) {
    if (live.method != copy.method) return false;
    for (int i = 0; i < 4; ++i)
        copy.value[i] = live.value[i];
    copy.defined = live.defined;
    copy.option = live.option;
    copy.option2 = live.option2;
    copy.color = live.color;
    copy.shape = live.shape;
    copy.colorParamMode = live.colorParamMode;
    copy.colorParamFrom = live.colorParamFrom;
    copy.colorParamTo = live.colorParamTo;
    return true;
}

bool refreshCopy(const Document& live, Document& copy) {
    const Element* a = live.head;
    Element* b = copy.head;
    for (; a && b; a = a->next, b = b->next) {
        if (!refreshFrom(*a, *b)) return false;
        const int n = a->subElementCount();
        if (n != b->subElementCount()) return false;
        for (int i = 0; i < n; ++i)
            if (!refreshFrom(*a->subElement(i), *b->subElement(i))) return false;
    }
    return !a && !b;
}

void copySettings(const Document& from, Document& to) {
    to.background = from.background;
    to.hiddenColor = from.hiddenColor;
    to.selectedColor = from.selectedColor;
    to.fonts = from.fonts;
    to.lengthUnit = from.lengthUnit;
    to.angleUnit = from.angleUnit;
    to.pixelsPerUnit = from.pixelsPerUnit;
    to.coordinateSystem = from.coordinateSystem;
    to.left = from.left, to.top = from.top, to.right = from.right, to.bottom = from.bottom;
}

// Records the current positions of the elements of column `j` of the table as a branch.
void pushBranch(IterationCopy& c, int32_t level, int32_t column) {
    c.levels.push_back(level);
    const size_t columns = size_t(c.k) + 1;
    for (int32_t i = 0; i < c.w; ++i) {
        const Element* e = c.table[size_t(i) * columns + size_t(column)];
        for (int v = 0; v < 4; ++v)
            c.positions.push_back(e ? e->value[v] : 0.0);
        c.positions.push_back(e && hasPosition(*e) ? 1.0 : 0.0);
    }
}

} // namespace

int32_t effectiveIterations(const Element& e) {
    const auto* t = e.tailAs<IterationTail>();
    if (!t) return 0;
    int64_t n = std::max(t->iterations, 1);
    if (t->countFromElement) {
        const Element* count = t->participants.empty() ? nullptr : t->participants.back().ptr;
        if (!count || count->kind() != Kind::Number || !hasPosition(*count) ||
            !std::isfinite(count->value[0]) || count->value[0] < 0)
            return 0;
        n = count->value[0] >= 1e9 ? int64_t(1e9) : int64_t(std::trunc(count->value[0]));
    }
    return int32_t(std::min<int64_t>(n, iterationLimit(t->initialCount, t->destinationCount)));
}

void prepareIteration(Document& doc, Element& e) {
    auto* t = e.tailAs<IterationTail>();
    if (!t) {
        e.defined = 0;
        return;
    }
    e.defined = std::any_of(t->participants.begin(), t->participants.end(),
                            [](const Ref& r) { return participantDefined(r.ptr); })
                    ? 1
                    : 0;
    const int32_t all = int32_t(t->participants.size());
    const int32_t w = std::clamp(t->initialCount, 0, all);
    const int32_t k = std::max(t->destinationCount, 1);
    if (!e.defined || w == 0 || t->images.size() < size_t(w) * size_t(k)) {
        t->copy.ptr.reset();
        if (w == 0) e.defined = 0;
        return;
    }
    // The copy costs about one unit per element and per sample copied: within a spent
    // operation (a hostile file with many iterations) there is none, and nothing is drawn.
    int64_t copyCost = 0;
    for (const Element* x = doc.head; x; x = x->next)
        copyCost += workOf(*x);
    if (workSpent(doc)) {
        t->copy.ptr.reset();
        return;
    }
    spendWork(doc, copyCost);
    if (!t->copy.ptr) t->copy.ptr = std::make_shared<IterationCopy>();
    IterationCopy& c = *t->copy.ptr;

    // A fresh deep copy of the whole construction, element for element in list order.
    std::vector<const Element*> originals;
    for (const Element* x = doc.head; x; x = x->next)
        originals.push_back(x);
    ElementChain chain = copyElements(originals);
    c.doc.clear();
    copySettings(doc, c.doc);
    std::unordered_map<const Element*, Element*> copyOf;
    Element* x = chain.release();
    for (const Element* o : originals) {
        Element* next = x->next;
        copyOf[o] = x;
        for (int i = 0, n = o->subElementCount(); i < n; ++i)
            copyOf[o->subElement(i)] = x->subElement(i);
        c.doc.append(x);
        x = next;
    }

    c.w = w;
    c.k = k;
    const size_t columns = size_t(k) + 1;
    c.table.assign(size_t(w) * columns, nullptr);
    const auto inCopy = [&](int32_t position) -> Element* {
        if (position < 0 || position >= all) return nullptr;
        const auto it = copyOf.find(t->participants[size_t(position)].ptr);
        return it == copyOf.end() ? nullptr : it->second;
    };
    for (int32_t i = 0; i < w; ++i) {
        c.table[size_t(i) * columns] = inCopy(i);
        for (int32_t j = 0; j < k; ++j)
            c.table[size_t(i) * columns + size_t(j) + 1] =
                inCopy(t->images[size_t(i) * size_t(k) + size_t(j)]);
    }

    // What depends on the initial elements is what each level recalculates.
    std::vector<Element*> initial;
    for (int32_t i = 0; i < w; ++i)
        if (Element* p = c.table[size_t(i) * columns]) initial.push_back(p);
    if (int32_t(initial.size()) != w) { // an initial element that is gone: nothing to iterate
        t->copy.ptr.reset();
        return;
    }
    c.doc.markDescendantsOf(initial);
    c.recompute.clear();
    for (Element* y = c.doc.head; y; y = y->next) {
        if (y->visible != Internal) y->visible = 0;
        const bool isInitial = std::find(initial.begin(), initial.end(), y) != initial.end();
        if (y->mark == 1 && !isInitial && y->method != Method::Iteration &&
            y->method != Method::Name)
            c.recompute.push_back(y);
    }
    // The participants beyond the initial ones are what a copy shows; text-like ones stay
    // hidden, and an iteration among them is never drawn inside another one.
    c.drawn.clear();
    for (int32_t p = w; p < all; ++p) {
        Element* y = inCopy(p);
        if (!y || y->visible == Internal || isTextLike(y->kind()) || y->kind() == Kind::Iteration)
            continue;
        y->visible = 1;
        if (std::find(c.drawn.begin(), c.drawn.end(), y) == c.drawn.end()) c.drawn.push_back(y);
    }
    // In list order, as the document draws.
    std::vector<Element*> ordered;
    c.moving.clear();
    for (Element* y = c.doc.head; y; y = y->next) {
        if (std::find(c.drawn.begin(), c.drawn.end(), y) == c.drawn.end()) continue;
        ordered.push_back(y);
        if (y->mark == 1) c.moving.push_back(y);
    }
    c.doc.clearMarks();
    c.drawn = std::move(ordered);
    c.shown = c.drawn;
}

int64_t walkIteration(const Document& doc, const Element& e, IterationVisitor* visitor) {
    const auto* t = e.tailAs<IterationTail>();
    if (!t || !e.defined || !t->copy.ptr) return 0;
    IterationCopy& c = *t->copy.ptr;
    if (!refreshCopy(doc, c.doc)) return 0;
    const int32_t n = effectiveIterations(e);
    const bool lastOnly = t->lastOnly != 0;
    const size_t frame = size_t(c.w) * Words;

    c.levels.clear();
    c.positions.clear();
    pushBranch(c, n, 0);
    int64_t copies = 0;
    int64_t work = 0;
    const size_t columns = size_t(c.k) + 1;
    // The copy's recalculations spend the walking operation's budget, and so does each copy
    // shown: one unit per element and per sample it draws.
    const WorkScope operation(doc);
    c.doc.work.left = doc.work.left;
    c.doc.work.depth = 1;
    const auto costOf = [](std::span<Element* const> elements) {
        int64_t cost = 0;
        for (const Element* y : elements)
            cost += workOf(*y);
        return cost;
    };
    const int64_t firstCost = costOf(c.drawn), movingCost = costOf(c.moving);
    c.shown = c.drawn;
    while (!c.levels.empty()) {
        const int32_t level = c.levels.back();
        c.levels.pop_back();
        const size_t base = c.positions.size() - frame;
        bool defined = true;
        for (int32_t i = 0; i < c.w && defined; ++i)
            defined = c.positions[base + size_t(i) * Words + 4] != 0.0;
        if (defined) {
            for (int32_t i = 0; i < c.w; ++i) {
                Element* p = c.table[size_t(i) * columns];
                const double* v = &c.positions[base + size_t(i) * Words];
                const int words = p->kind() == Kind::Point ? 2 : 4;
                for (int q = 0; q < words; ++q)
                    p->value[q] = v[q];
                p->defined = 1;
                if (p->kind() == Kind::Number) p->option = HasValue;
            }
        }
        c.positions.resize(base);
        if (!defined) continue;
        for (Element* y : c.recompute) {
            work += workOf(*y);
            recalcElement(c.doc, *y);
        }
        if (work > MaxIterationWork || workSpent(c.doc)) break;
        if (level < n && (!lastOnly || level == 0)) {
            ++copies;
            if (visitor) {
                spendWork(c.doc, copies == 1 ? firstCost : movingCost);
                const bool more = visitor->visit(c, level);
                c.shown = c.moving;
                if (!more) break;
            }
        }
        if (level == 0) continue;
        // The first destination list is walked first: its branch goes on top.
        for (int32_t j = c.k; j >= 1; --j)
            pushBranch(c, level - 1, j);
    }
    doc.work.left = c.doc.work.left;
    c.doc.work.depth = 0;
    c.shown = c.drawn;
    return copies;
}

} // namespace qorv
