#include "construction/create.h"

#include "geometry/pointonelement.h"
#include "geometry/recalc.h"
#include "geometry/transforms.h"
#include "model/iteration.h"
#include "model/methodtable.h"
#include "model/uitext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qorv {

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

// ---- axes and names -----------------------------------------------------------------------------

Element* findAxes(Document& doc, bool create, const CreationOptions& opts) {
    Element* first = nullptr;
    Element* visibleOne = nullptr;
    int visibleCount = 0;
    for (Element* e = doc.head; e; e = e->next) {
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
    if (doc.right > doc.left && doc.top > doc.bottom &&
        (o.x < doc.left || o.x > doc.right || o.y > doc.top || o.y < doc.bottom))
        o = Point2{(doc.left + doc.right) / 2, (doc.top + doc.bottom) / 2};
    ElementRequest req;
    req.method = Method::FreePoint;
    req.value[0] = o.x;
    req.value[1] = o.y;
    Element* origin = createElement(doc, req, opts);
    origin->visible = 0;
    req.method = Method::Axes;
    req.parent1 = origin;
    Element* axes = createElement(doc, req, opts);
    recalcElement(doc, *axes);
    return axes;
}

void setName(Document& doc, Element* e, const std::string& text, const CreationOptions& opts) {
    if (!e) return;
    Element* nameEl = e->method == Method::Name ? e : e->nameElement;
    if (text.empty()) {
        if (nameEl) doc.deleteWithDescendants(nameEl);
        return;
    }
    if (nameEl) {
        if (auto* t = nameEl->tailAs<NameTail>()) t->text = text;
        doc.modified = 1;
        return;
    }
    ElementRequest req;
    req.method = Method::Name;
    req.parent1 = e;
    req.text = text;
    createElement(doc, req, opts);
}

// ---- elements made of several ------------------------------------------------------------------

Element* createRegularPolygon(Document& doc, Element* centre, Element* first, PolygonShape shape,
                              const CreationOptions& opts) {
    if (!centre || !first || shape.sides < 3) return nullptr;
    std::vector<Element*> vertices{first};
    ElementRequest req;
    for (int i = 1; i < shape.sides; ++i) {
        req.method = Method::RegularPolygonVertex;
        req.parent1 = centre;
        req.parent2 = first;
        req.value[3] = regularVertexAngle(i, shape);
        Element* v = createElement(doc, req, opts);
        recalcRegularPolygonVertex(doc, *v);
        vertices.push_back(v);
    }
    req.method = Method::Polygon;
    req.extra = std::move(vertices);
    return createElement(doc, req, opts);
}

Element* createIteration(Document& doc, const IterationWorkspace& ws, const CreationOptions& opts) {
    if (!ws.canCreate(doc)) return nullptr;
    const auto& initial = ws.lists[0];
    const int32_t w = int32_t(initial.size());
    const int32_t k = int32_t(ws.listCount() - 1);

    std::vector<Element*> participants(initial.begin(), initial.end());
    const auto listed = [&](const Element* e) {
        return std::find(participants.begin(), participants.end(), e) != participants.end();
    };
    for (int j = 1; j <= k; ++j)
        for (Element* e : ws.lists[size_t(j)])
            if (!listed(e)) participants.push_back(e);
    doc.markDescendantsOf(initial);
    for (Element* e = doc.head; e; e = e->next)
        if (e->mark == 1 && e->defined && e->visible != 0 && e->visible != Internal &&
            e->method != Method::Iteration && !listed(e))
            participants.push_back(e);
    doc.clearMarks();
    Element* count =
        ws.countElement && ws.countElement->kind() == Kind::Number && !listed(ws.countElement)
            ? ws.countElement
            : nullptr;
    if (count) participants.push_back(count);

    std::vector<int32_t> images(size_t(w) * size_t(k), 0);
    for (int j = 1; j <= k; ++j)
        for (int32_t i = 0; i < w; ++i) {
            const Element* e = ws.lists[size_t(j)][size_t(i)];
            images[size_t(i) * size_t(k) + size_t(j - 1)] = int32_t(
                std::find(participants.begin(), participants.end(), e) - participants.begin());
        }

    ElementRequest req;
    req.method = Method::Iteration;
    Element* e = createElement(doc, req, opts);
    auto& t = *e->tailAs<IterationTail>();
    t.iterations = std::max(ws.pendingIterations, 1);
    t.countFromElement = count ? 1 : 0;
    t.destinationCount = k;
    t.lastOnly = 0;
    t.drawPoints = 1;
    t.ownColour = 1;
    t.initialCount = w;
    t.participants.clear();
    for (Element* p : participants)
        t.participants.emplace_back(p);
    t.images = std::move(images);
    return e;
}

} // namespace qorv
