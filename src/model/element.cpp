#include "model/element.h"

#include "model/methodtable.h"

namespace qorv {

namespace {
// The kind column of the method table, packed for the lookups of every pass.
constexpr auto kKindOf = [] {
    std::array<int8_t, Method::Count> k{};
    for (const MethodRow& row : methodTable())
        k[size_t(row.code)] = int8_t(row.kind);
    return k;
}();
} // namespace

ElementKind kindOf(ConstructionMethod m) {
    return isValidMethod(m) ? kKindOf[size_t(m)] : -1;
}

bool isTextLike(ElementKind k) {
    switch (k) {
    case Kind::Text:
    case Kind::Name:
    case Kind::Number:
    case Kind::Function:
    case Kind::Table:
    case Kind::Equation:
    case Kind::Coordinates:
    case Kind::Property:
    case Kind::Button:
        return true;
    default:
        return false;
    }
}

bool carriesFont(ElementKind k) {
    return k != Kind::Text && isTextLike(k);
}

const std::array<Color, 16> fixedPalette = {
    255,      65280,  0xffff00, 0xffff, 12632256, 0xffffff, 32896, 128,
    0xff0000, 0x8000, 8421504,  0,      0xff8080, 0xc08000, 33023, 0xff00ff};

std::unique_ptr<ElementTail> makeTail(TailType type) {
    switch (type) {
    case TailType::Polygon:
        return std::make_unique<PolygonTail>();
    case TailType::Axes:
        return std::make_unique<AxesTail>();
    case TailType::Coordinates:
        return std::make_unique<CoordinatesTail>();
    case TailType::SampledCurve:
        return std::make_unique<SampledCurveTail>();
    case TailType::Expression:
        return std::make_unique<ExpressionTail>();
    case TailType::Table:
        return std::make_unique<TableTail>();
    case TailType::Equation:
        return std::make_unique<EquationTail>();
    case TailType::Text:
        return std::make_unique<TextTail>();
    case TailType::Name:
        return std::make_unique<NameTail>();
    case TailType::Check:
        return std::make_unique<CheckTail>();
    case TailType::Conic:
        return std::make_unique<ConicTail>();
    case TailType::Parameter:
        return std::make_unique<ParameterTail>();
    case TailType::Button:
        return std::make_unique<ButtonTail>();
    case TailType::Bitmap:
        return std::make_unique<BitmapTail>();
    case TailType::Iteration:
        return std::make_unique<IterationTail>();
    case TailType::None:
        break;
    }
    return nullptr;
}

SubElement::SubElement(const SubElement& o) : ptr(o.ptr ? o.ptr->clone() : nullptr) {}
SubElement& SubElement::operator=(const SubElement& o) {
    if (this != &o) ptr = o.ptr ? o.ptr->clone() : nullptr;
    return *this;
}

std::unique_ptr<Element> Element::clone() const {
    auto c = std::make_unique<Element>();
    c->method = method;
    c->parent1 = parent1;
    c->parent2 = parent2;
    c->parent3 = parent3;
    c->id = id;
    for (int i = 0; i < 4; ++i)
        c->value[i] = value[i];
    c->defined = defined;
    c->visible = visible;
    c->mark = mark;
    c->selected = selected;
    c->work = work;
    c->option = option;
    c->option2 = option2;
    c->unitShown = unitShown;
    c->decimals = decimals;
    c->color = color;
    c->shape = shape;
    c->colorParam = colorParam;
    c->colorParamMode = colorParamMode;
    c->colorParamFrom = colorParamFrom;
    c->colorParamTo = colorParamTo;
    if (font) c->font = std::make_unique<FontRecord>(*font);
    c->nameElement = nameElement;
    if (tail) c->tail = tail->clone();
    // Sub-elements belong to the copy.
    for (int i = 0, n = c->subElementCount(); i < n; ++i)
        c->subElement(i)->owner = c.get();
    return c;
}

int Element::subElementCount() const {
    if (!tail) return 0;
    switch (tail->type) {
    case TailType::Polygon:
        return int(static_cast<const PolygonTail&>(*tail).sides.size());
    case TailType::Axes:
    case TailType::Coordinates:
        return 2;
    default:
        return 0;
    }
}

Element* Element::subElement(int i) const {
    if (!tail || i < 0) return nullptr;
    switch (tail->type) {
    case TailType::Polygon: {
        auto& sides = static_cast<const PolygonTail&>(*tail).sides;
        return size_t(i) < sides.size() ? sides[size_t(i)].get() : nullptr;
    }
    case TailType::Axes: {
        auto& t = static_cast<const AxesTail&>(*tail);
        return i == 0 ? t.xAxis.get() : i == 1 ? t.yAxis.get() : nullptr;
    }
    case TailType::Coordinates: {
        auto& t = static_cast<const CoordinatesTail&>(*tail);
        return i == 0 ? t.xCoord.get() : i == 1 ? t.yCoord.get() : nullptr;
    }
    default:
        return nullptr;
    }
}

void linkAtEnd(Element*& head, Element*& tail, Element* e) {
    e->next = nullptr;
    e->prev = tail;
    if (tail)
        tail->next = e;
    else
        head = e;
    tail = e;
}

void destroyElements(Element* first) {
    // Iterative: a long chain must not recurse.
    while (first) {
        Element* next = first->next;
        delete first;
        first = next;
    }
}

} // namespace qorv
