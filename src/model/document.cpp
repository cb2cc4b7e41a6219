#include "model/document.h"

#include "geometry/pointonelement.h"
#include "geometry/recalc.h"
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
    e->next = nullptr;
    e->prev = tail;
    if (tail)
        tail->next = e;
    else
        head = e;
    tail = e;
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

// ---- axes and names ---------------------------------------------------------------------------

Element* Document::findAxes(bool create, const CreationOptions& opts) {
    Element* first = nullptr;
    Element* visibleOne = nullptr;
    int visibleCount = 0;
    for (Element* e = head; e; e = e->next) {
        if (e->method != Method::Axes || !e->defined || e->visible == Internal) continue;
        if (!first) first = e;
        if (e->visible == 1) {
            ++visibleCount;
            visibleOne = e;
        }
    }
    if (visibleCount == 1) return visibleOne;
    if (first || !create) return first;

    // The origin goes to the world origin when it is in view, else to the centre of the view.
    Point2 o{0, 0};
    if (right > left && top > bottom && (o.x < left || o.x > right || o.y > top || o.y < bottom))
        o = Point2{(left + right) / 2, (top + bottom) / 2};
    ElementRequest req;
    req.method = Method::FreePoint;
    req.value[0] = o.x;
    req.value[1] = o.y;
    Element* origin = createElement(*this, req, opts);
    origin->visible = 0;
    req.method = Method::Axes;
    req.parent1 = origin;
    Element* axes = createElement(*this, req, opts);
    recalcElement(*this, *axes);
    return axes;
}

std::string Document::nameOf(const Element* e) const {
    if (!e) return {};
    const Element* n = e->method == Method::Name ? e : e->nameElement;
    if (!n) return {};
    const auto* t = n->tailAs<NameTail>();
    return t ? t->text : std::string();
}

void Document::setName(Element* e, const std::string& text, const CreationOptions& opts) {
    if (!e) return;
    Element* nameEl = e->method == Method::Name ? e : e->nameElement;
    if (text.empty()) {
        if (nameEl) deleteWithDescendants(nameEl);
        return;
    }
    if (nameEl) {
        if (auto* t = nameEl->tailAs<NameTail>()) t->text = text;
        modified = 1;
        return;
    }
    ElementRequest req;
    req.method = Method::Name;
    req.parent1 = e;
    req.text = text;
    createElement(*this, req, opts);
}

// ---- creation ---------------------------------------------------------------------------------

namespace {

std::unique_ptr<Element> makeSubElement(ConstructionMethod m, Element* owner) {
    auto s = std::make_unique<Element>();
    s->method = m;
    s->owner = owner;
    s->defined = 1;
    s->visible = 1;
    s->color = owner->color;
    s->shape = owner->shape;
    s->decimals = owner->decimals;
    return s;
}

// Whether a "Nombre" of e is drawn as a label beside it.
bool nameIsDrawnBeside(const Element& e) {
    switch (e.kind()) {
    case Kind::Number:
    case Kind::Function:
    case Kind::Table:
    case Kind::Coordinates:
    case Kind::Button:
    case Kind::Bitmap:
    case Kind::Iteration:
    case Kind::Axes:
    case Kind::Grid:
        return false;
    default:
        break;
    }
    if (e.method == Method::FunctionGraph) return false;
    if (e.method == Method::Locus) {
        if (!e.parent1 || e.parent1->kind() != Kind::Point) return false;
        if (e.parent2 && e.parent2->method == Method::GridPoint) return false;
    }
    return true;
}

void initName(Element& name, const Element& named, const CreationOptions& opts) {
    auto& t = *name.tailAs<NameTail>();
    t.placement[0] = t.placement[1] = 0.0;
    double param = 0.0;
    switch (named.kind()) {
    case Kind::Point:
    case Kind::Angle:
        t.placement[0] = t.placement[1] = 4.0;
        break;
    case Kind::Line:
    case Kind::Ray:
    case Kind::Polygon:
    case Kind::Conic:
        param = nearestParameterOnElement(named, opts.lastClick);
        break;
    case Kind::Locus:
        if (nameIsDrawnBeside(named)) param = nearestParameterOnElement(named, opts.lastClick);
        break;
    case Kind::Segment:
    case Kind::Arc:
    case Kind::Vector:
        param = 0.5;
        break;
    case Kind::Circle:
        param = std::atan2(opts.lastClick.y - named.value[1], opts.lastClick.x - named.value[0]);
        break;
    default:
        break;
    }
    name.value[3] = param;
    name.option = nameIsDrawnBeside(named) ? 1 : 0;
}

void splitLines(const std::string& text, std::vector<std::string>& lines) {
    lines.clear();
    size_t start = 0;
    for (;;) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? nl : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
}

} // namespace

Element* createElement(Document& doc, ElementRequest& req, const CreationOptions& opts) {
    doc.modified = 1;
    auto owned = std::make_unique<Element>();
    Element& e = *owned;
    const ConstructionMethod m = req.method;
    const ElementKind k = kindOf(m);
    const size_t kindIndex = k >= 0 ? size_t(k) : 0;

    e.method = m;
    e.parent1 = req.parent1;
    e.parent2 = req.parent2;
    e.parent3 = req.parent3;
    for (int i = 0; i < 4; ++i)
        e.value[i] = req.value[i];
    e.defined = 1;
    e.mark = 0;
    e.selected = 0;
    e.color = opts.applyChosenColor ? opts.chosenColor : doc.kindColors[kindIndex];
    e.shape = isTextLike(k) ? -1 : doc.kindShapes[kindIndex];
    e.visible = 1;
    e.option = req.option;
    e.option2 = (m == Method::IntersectionPoint && req.option == 42) ? req.option2 : 0;
    e.colorParam = nullptr;
    e.colorParamMode = 0;
    e.colorParamFrom = e.colorParamTo = 0;
    e.nameElement = nullptr;
    if (carriesFont(k))
        e.font = std::make_unique<FontRecord>(
            doc.fonts[m == Method::Name ? FontSlot::Names : FontSlot::Numbers]);
    e.decimals = opts.decimals;
    const Color numbersColor = doc.fonts[FontSlot::Numbers].color;
    e.tail = makeTail(tailTypeOf(m));

    // What each method starts with beyond the common fields.
    switch (m) {
    case Method::Polygon: {
        auto& t = *e.tailAs<PolygonTail>();
        const size_t n = req.extra.size();
        t.sides.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            auto s = makeSubElement(Method::PolygonSide, &e);
            s->parent1 = req.extra[i];
            s->parent2 = req.extra[(i + 1) % n];
            s->parent3 = &e;
            t.sides.emplace_back(std::move(s));
        }
        break;
    }
    case Method::Axes: {
        auto& t = *e.tailAs<AxesTail>();
        t.xAxis = SubElement(makeSubElement(Method::AxisX, &e));
        t.yAxis = SubElement(makeSubElement(Method::AxisY, &e));
        for (Element* s : {t.xAxis.get(), t.yAxis.get()}) {
            s->parent1 = e.parent1;
            s->parent2 = &e;
        }
        break;
    }
    case Method::Coordinates: {
        auto& t = *e.tailAs<CoordinatesTail>();
        t.xCoord = SubElement(makeSubElement(Method::CoordinateX, &e));
        t.yCoord = SubElement(makeSubElement(Method::CoordinateY, &e));
        for (Element* s : {t.xCoord.get(), t.yCoord.get()}) {
            s->parent1 = e.parent1;
            s->parent2 = &e;
            s->visible = 1;
            s->option = HasValue;
            s->unitShown = 0;
            s->shape = -1;
        }
        e.option = doc.coordinateSystem == 1 ? NoValue : HasValue;
        e.option2 = HasValue;
        e.value[0] = 5.0;
        e.value[1] = 7.0 * std::numbers::pi / 4.0;
        e.color = numbersColor;
        break;
    }
    case Method::Locus:
    case Method::FunctionGraph: {
        int32_t n = 250;
        if (m == Method::Locus) {
            const ElementKind traced = e.parent1 ? e.parent1->kind() : Kind::Point;
            if (traced == Kind::Point)
                n = opts.locusPoints;
            else if (traced == Kind::Locus || traced == Kind::Conic)
                n = 30;
            else
                n = 50;
            if (e.parent2 && e.parent2->method == Method::GridPoint) {
                e.color = doc.kindColors[Kind::Point];
                e.shape = doc.kindShapes[Kind::Point];
            }
        }
        e.tailAs<SampledCurveTail>()->resize(std::max<int32_t>(n, 1));
        break;
    }
    case Method::Calculation:
    case Method::Function: {
        // The calculator compiles the text and fills the program, values and unit class.
        auto& t = *e.tailAs<ExpressionTail>();
        t.exprText = req.text;
        t.exprArgs.assign(req.extra.begin(), req.extra.end());
        e.color = numbersColor;
        break;
    }
    case Method::Table: {
        auto& t = *e.tailAs<TableTail>();
        for (Element* c : req.extra)
            t.columns.push_back(TableColumn{Ref(c), {0.0}});
        e.color = numbersColor;
        break;
    }
    case Method::LineEquation:
    case Method::CircleEquation:
    case Method::ConicEquation:
        e.color = numbersColor;
        e.option = e.option2 = HasValue;
        break;
    case Method::Text: {
        auto& t = *e.tailAs<TextTail>();
        t.x = int32_t(std::trunc(req.value[2]));
        t.y = int32_t(std::trunc(req.value[3]));
        t.flag = req.option2;
        splitLines(req.text, t.lines);
        t.font = doc.fonts[FontSlot::Texts];
        int32_t chars = 0;
        for (size_t i = 0; i < t.lines.size(); ++i)
            chars += int32_t(t.lines[i].size()) + (i + 1 < t.lines.size() ? 2 : 0);
        t.runs.push_back(FontRun{t.font, chars});
        e.option = int32_t(t.lines.size());
        break;
    }
    case Method::Name: {
        e.tailAs<NameTail>()->text = req.text;
        e.color = doc.fonts[FontSlot::Names].color;
        if (e.parent1) {
            initName(e, *e.parent1, opts);
            e.parent1->nameElement = &e;
        }
        break;
    }
    case Method::ParallelCheck:
    case Method::PerpendicularCheck:
    case Method::MembershipCheck:
    case Method::EquidistanceCheck:
    case Method::AlignmentCheck: {
        auto& t = *e.tailAs<CheckTail>();
        t.trueText = uiText().checkWord(m, true);
        t.falseText = uiText().checkWord(m, false);
        e.color = numbersColor;
        break;
    }
    case Method::Conic: {
        auto& t = *e.tailAs<ConicTail>();
        for (size_t i = 0; i < 5 && i < req.extra.size(); ++i)
            t.points[i] = req.extra[i];
        for (auto& s : t.samples)
            s = Point2{1e9, 1e9};
        e.color = doc.kindColors[Kind::Circle];
        e.shape = doc.kindShapes[Kind::Circle];
        break;
    }
    case Method::Grid:
        e.color = doc.kindColors[Kind::Grid];
        e.shape = doc.kindShapes[Kind::Grid];
        break;
    case Method::Parameter: {
        auto& t = *e.tailAs<ParameterTail>();
        t.minimum = std::trunc(e.value[0] - 10.0);
        t.maximum = std::trunc(e.value[0] + 10.0);
        t.step = opts.parameterStep;
        e.color = numbersColor;
        break;
    }
    case Method::ShowHideButton:
    case Method::MotionButton: {
        auto& t = *e.tailAs<ButtonTail>();
        t.caption = uiText().message(m == Method::ShowHideButton ? Msg::ShowHideButtonCaption
                                                                 : Msg::MotionButtonCaption);
        const bool keepState = opts.redefiningButton && opts.redefiningButton->option2 != 0;
        for (Element* c : req.extra) {
            t.elements.emplace_back(c);
            const int32_t vis = c ? c->visible : 0;
            t.states.push_back(keepState ? vis : (vis ? 0 : 1));
        }
        e.color = 0;
        e.shape = 12632256;
        e.option2 = 1;
        break;
    }
    case Method::Bitmap:
        e.color = doc.kindColors[Kind::Point];
        e.shape = -1;
        e.option = (e.parent1 && e.parent1->kind() == Kind::Point) ? 1 : 0;
        break;
    case Method::Proportion:
        e.option = HasValue;
        e.option2 = NoValue;
        e.color = numbersColor;
        break;
    case Method::Angle:
        e.value[1] = opts.angleMarkFactor;
        break;
    case Method::Slope:
        e.color = numbersColor;
        e.option = e.option2 = HasValue;
        break;
    default:
        if (m >= Method::DistancePointPoint && m <= Method::AngleValue) {
            e.color = numbersColor;
            e.option = e.option2 = HasValue;
        }
        break;
    }

    if (k == Kind::Number) {
        if (m >= Method::DistancePointPoint && m <= Method::PolygonPerimeter)
            e.unitShown = 1;
        else if (m == Method::CircleArea || m == Method::PolygonArea)
            e.unitShown = 2;
        else if (m == Method::AngleValue)
            e.unitShown = 3;
        else
            e.unitShown = 0;
    }

    Element* result = owned.release();
    doc.append(result);
    req.reset();
    return result;
}

} // namespace qorv
