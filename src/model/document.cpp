#include "model/document.h"

#include "model/methodtable.h"
#include "model/uitext.h"
#include "model/undo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qorv {

// ---- defaults ---------------------------------------------------------------------------------

const DocumentDefaults& DocumentDefaults::builtIn() {
    static const DocumentDefaults d = [] {
        DocumentDefaults r;
        r.fonts[FontSlot::Cursor] = FontRecord{"System", rgb(255, 255, 0), 10, 0, 0, 0, 0};
        r.fonts[FontSlot::Names] = FontRecord{"Arial", rgb(0, 255, 0), 10, 0, 0, 0, 0};
        r.fonts[FontSlot::Numbers] = FontRecord{"Arial", rgb(192, 192, 192), 12, 0, 0, 0, 0};
        r.fonts[FontSlot::Texts] = FontRecord{"Arial", rgb(192, 192, 192), 11, 0, 0, 0, 0};
        // Red for points, grey for straight elements, blue for curves, R0 G128 B192 for the rest.
        const Color red = rgb(255, 0, 0), grey = rgb(192, 192, 192), blue = rgb(0, 0, 255),
                    steel = rgb(0, 128, 192);
        r.kindColors.fill(steel);
        r.kindColors[Kind::Point] = red;
        for (int k : {Kind::Line, Kind::Ray, Kind::Segment, Kind::Vector, Kind::Axes, Kind::Grid})
            r.kindColors[size_t(k)] = grey;
        for (int k : {Kind::Circle, Kind::Arc, Kind::Conic, Kind::Locus})
            r.kindColors[size_t(k)] = blue;
        r.kindShapes.fill(1);
        return r;
    }();
    return d;
}

// ---- requests and macro slots -------------------------------------------------------------------

void ElementRequest::reset() {
    parent1 = parent2 = parent3 = nullptr;
    value[0] = value[1] = value[2] = value[3] = 0.0;
    shape = -1;
    option = -1;
    option2 = 0;
    extra.clear();
    text.clear();
}

MacroSlot::~MacroSlot() {
    destroyElements(first);
}

void MacroSlot::clear() {
    destroyElements(first);
    first = nullptr;
    used = false;
    version = 900;
    head.clear();
    name.clear();
    texts.clear();
}

void MacroSlot::swap(MacroSlot& other) {
    std::swap(used, other.used);
    std::swap(version, other.version);
    std::swap(head, other.head);
    std::swap(name, other.name);
    std::swap(texts, other.texts);
    std::swap(first, other.first);
}

// ---- document ---------------------------------------------------------------------------------

Document::Document() : Document(DocumentDefaults::builtIn()) {}

Document::Document(const DocumentDefaults& d)
    : background(d.background), hiddenColor(d.hiddenColor), selectedColor(d.selectedColor),
      fonts(d.fonts), kindColors(d.kindColors), kindShapes(d.kindShapes), lengthUnit(d.lengthUnit),
      angleUnit(d.angleUnit), pixelsPerUnit(d.pixelsPerUnit),
      constantLengthsWithZoom(d.constantLengthsWithZoom), coordinateSystem(d.coordinateSystem),
      antialiased(d.antialiased) {}

Document::~Document() {
    destroyElements(head);
}

void Document::append(Element* e) {
    linkAtEnd(head, tail, e);
}

void Document::unlink(Element* e) {
    if (e->prev)
        e->prev->next = e->next;
    else
        head = e->next;
    if (e->next)
        e->next->prev = e->prev;
    else
        tail = e->prev;
    e->next = e->prev = nullptr;
}

void Document::clear() {
    if (head) ++removals;
    destroyElements(head);
    head = tail = nullptr;
    traceList.clear();
    animations.clear();
}

int Document::macroCount() const {
    int n = 0;
    while (n < MacroSlots && macros[size_t(n)].used)
        ++n;
    return n;
}

int32_t Document::elementCount() const {
    int32_t n = 0;
    for (const Element* e = head; e; e = e->next)
        ++n;
    return n;
}

void Document::renumber() {
    int32_t k = 1;
    for (Element* e = head; e; e = e->next) {
        e->id = k++;
        forEachSubElement(*e, [&](Element& s) { s.id = k++; });
    }
}

Element* Document::findById(int32_t id) {
    if (id < 1) return nullptr;
    renumber();
    for (Element* e = head; e; e = e->next) {
        if (e->id == id) return e;
        const int n = e->subElementCount();
        if (id > e->id && id <= e->id + n) return e->subElement(id - e->id - 1);
        if (e->id > id) break;
    }
    return nullptr;
}

bool dependsOn(const Element& e, const Element* other) {
    if (!other) return false;
    bool found = false;
    forEachParent(e, [&](const Element* r) { found = found || r == other; });
    return found;
}

namespace {

void setMarkWithSubs(Element& e, int32_t m) {
    e.mark = m;
    forEachSubElement(e, [m](Element& s) { s.mark = m; });
}

bool isMarked(const Element* e) {
    return e && e->mark == 1;
}

} // namespace

static bool dependsOnMarked(const Element& e) {
    bool found = false;
    forEachParent(e, [&](const Element* r) { found = found || isMarked(r); });
    return found;
}

void Document::clearMarks() {
    forEachWithSubs([](Element& e) { e.mark = 0; });
}

// Marks the descendants of e on top of the marks already set; e itself is left as it was.
static void accumulateDescendants(Document& doc, Element* e) {
    const int32_t previous = e->mark;
    Element* start = e->owner ? e->owner : e;
    setMarkWithSubs(*e, 1);
    auto sweep = [&](Element* from) {
        for (Element* x = from; x; x = x->next)
            if (x->mark != 1 && dependsOnMarked(*x)) setMarkWithSubs(*x, 1);
    };
    sweep(start->next);
    // An element coloured by a marked number (or with a sub-element so coloured) is a descendant
    // too, wherever it stands; its own dependents follow it, so the walk starts again from the
    // head after each such find.
    for (bool again = true; again;) {
        again = false;
        for (Element* x = doc.head; x; x = x->next) {
            bool coloured = isMarked(x->colorParam);
            forEachSubElement(
                *x, [&](const Element& s) { coloured = coloured || isMarked(s.colorParam); });
            if (x->mark != 1 && coloured) {
                setMarkWithSubs(*x, 1);
                sweep(x->next);
                again = true;
                break;
            }
        }
    }
    e->mark = previous;
}

void Document::markDescendants(Element* e) {
    if (!e) return;
    const int32_t previous = e->mark;
    clearMarks();
    e->mark = previous;
    accumulateDescendants(*this, e);
}

void Document::markDescendantsOf(const std::vector<Element*>& roots) {
    clearMarks();
    for (Element* e : roots) {
        if (!e) continue;
        accumulateDescendants(*this, e);
        setMarkWithSubs(*e, 1);
    }
}

// Marks every element that the roots depend on, directly or indirectly, on top of existing
// marks: one walk, each element's references visited once.
static void accumulateAncestors(const std::vector<Element*>& roots) {
    std::vector<Element*> stack;
    auto push = [&](Element* p) {
        if (p && p->mark != 1) {
            p->mark = 1;
            stack.push_back(p);
        }
    };
    auto visitParents = [&](Element* x) {
        forEachParent(*x, push);
        // A sub-element depends on what its owner depends on.
        if (x->owner) push(x->owner);
    };
    for (Element* e : roots) {
        if (!e) continue;
        visitParents(e);
        while (!stack.empty()) {
            Element* x = stack.back();
            stack.pop_back();
            visitParents(x);
        }
    }
}

void Document::markAncestors(Element* e) {
    if (!e) return;
    clearMarks();
    accumulateAncestors({e});
    if (e->mark == 1 && !e->owner) e->mark = 0; // a cycle through colour parameters
}

void Document::markAncestorsOf(const std::vector<Element*>& roots) {
    clearMarks();
    accumulateAncestors(roots);
    for (Element* e : roots)
        if (e) setMarkWithSubs(*e, 1);
}

// ---- deletion ---------------------------------------------------------------------------------

void Document::forgetMarked() {
    std::erase_if(traceList, [](const Element* t) { return isMarked(t); });
    std::erase_if(animations, [](const AnimationRecord& a) { return isMarked(a.element); });
    forEachWithSubs([](Element& x) {
        if (x.mark != 1) return;
        if (Element* name = x.nameElement; name && name->parent1 == &x && name->mark != 1)
            name->parent1 = nullptr;
        if (x.method == Method::Name && x.parent1 && x.parent1->nameElement == &x &&
            x.parent1->mark != 1)
            x.parent1->nameElement = nullptr;
    });
}

void Document::deleteWithDescendants(Element* e) {
    if (!e) return;
    if (e->owner) e = e->owner; // a side or an axis line goes with its owner
    markDescendants(e);
    setMarkWithSubs(*e, 1);
    deleteMarked();
}

void Document::deleteMarked() {
    // Every reference to what goes is dropped while all of it still exists: a name or a trace
    // entry may point at a sub-element, which is freed with its owner.
    forgetMarked();
    for (Element* x = head; x;) {
        Element* next = x->next;
        if (x->mark == 1) {
            unlink(x);
            delete x;
            ++removals;
        }
        x = next;
    }
    modified = 1;
}

void Document::deleteSelected() {
    for (;;) {
        Element* found = nullptr;
        for (Element* x = head; x && !found; x = x->next) {
            if (x->selected) found = x;
            forEachSubElement(*x, [&](Element& s) {
                if (!found && s.selected) found = x;
            });
        }
        if (!found) break;
        deleteWithDescendants(found);
    }
}

void Document::deleteAll() {
    if (!head) return;
    clear();
    modified = 1;
}

// ---- selection --------------------------------------------------------------------------------

void Document::selectAll() {
    forEachWithSubs([](Element& e) { e.selected = 1; });
}

void Document::selectNone() {
    forEachWithSubs([](Element& e) { e.selected = 0; });
}

bool Document::isListable(const Element* e, bool showHidden) const {
    return e->method != Method::Name && e->defined && e->visible != Internal &&
           (e->visible != 0 || showHidden);
}

bool Document::isSelectableByKind(const Element* e, ElementKind k, bool showHidden) const {
    if (e->kind() != k || !e->defined || e->visible == Internal) return false;
    if (e->visible == 0 && !showHidden) return false;
    if (k == Kind::Name && e->option == 0) return false;
    return true;
}

void Document::selectKind(ElementKind k, bool showHidden) {
    for (Element* e = head; e; e = e->next)
        if (isSelectableByKind(e, k, showHidden)) e->selected = 1;
}

void Document::selectKinds(const std::vector<ElementKind>& kinds, bool showHidden) {
    for (ElementKind k : kinds)
        selectKind(k, showHidden);
}

bool Document::hasUnselectedSelectable(ElementKind k, bool showHidden) const {
    for (const Element* e = head; e; e = e->next)
        if (!e->selected && isSelectableByKind(e, k, showHidden)) return true;
    return false;
}

int32_t Document::selectedCount() const {
    int32_t n = 0;
    for (const Element* e = head; e; e = e->next)
        if (e->selected && !(e->method == Method::Name && e->option == 0)) ++n;
    return n;
}

bool Document::selectionHasTextLike() const {
    for (const Element* e = head; e; e = e->next)
        if (e->selected && isTextLike(e->kind())) return true;
    return false;
}

// Replaces the selection by the marked elements; reports whether any was marked.
static bool selectMarked(Document& doc) {
    bool any = false;
    doc.forEachWithSubs([&](Element& e) {
        e.selected = e.mark == 1 ? 1 : 0;
        any = any || e.mark == 1;
    });
    return any;
}

bool Document::selectChildren() {
    clearMarks();
    std::vector<Element*> chosen;
    forEachWithSubs([&](Element& e) {
        if (e.selected) chosen.push_back(&e);
    });
    for (Element* e : chosen)
        if (e->mark != 1) accumulateDescendants(*this, e);
    return selectMarked(*this);
}

bool Document::selectParents() {
    clearMarks();
    std::vector<Element*> chosen;
    forEachWithSubs([&](Element& e) {
        if (e.selected) chosen.push_back(&e);
    });
    accumulateAncestors(chosen);
    return selectMarked(*this);
}

// ---- names -------------------------------------------------------------------------------------

std::string Document::nameOf(const Element* e) const {
    if (!e) return {};
    const Element* n = e->method == Method::Name ? e : e->nameElement;
    if (!n) return {};
    const auto* t = n->tailAs<NameTail>();
    return t ? t->text : std::string();
}

} // namespace qorv
