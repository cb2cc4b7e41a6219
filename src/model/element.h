// The element record: common fields, the construction methods, the kinds and the per-method tails.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace qorv {

// Windows COLORREF: 0x00BBGGRR.
using Color = int32_t;

constexpr Color rgb(int r, int g, int b) {
    return Color(r | (g << 8) | (b << 16));
}
constexpr int colorRed(Color c) {
    return c & 0xff;
}
constexpr int colorGreen(Color c) {
    return (c >> 8) & 0xff;
}
constexpr int colorBlue(Color c) {
    return (c >> 16) & 0xff;
}

using ConstructionMethod = int32_t;
using ElementKind = int32_t;

// Construction method codes 0..73; a code of 74 or more is invalid and is ignored.
namespace Method {
enum : int32_t {
    FreePoint = 0,
    PointOnElement = 1,
    IntersectionPoint = 2,
    CentralSymmetryPoint = 3,
    Midpoint = 4,
    LineThroughPoint = 5,
    LineThroughTwoPoints = 6,
    RayThroughPoint = 7,
    RayThroughTwoPoints = 8,
    ParallelLine = 9,
    PerpendicularLine = 10,
    AngleBisector = 11,
    PerpendicularBisector = 12,
    Segment = 13,
    Polygon = 14,
    PolygonSide = 15,
    CircleByCentre = 16,
    CircleCentrePoint = 17,
    CircleRadiusCentre = 18,
    ArcThreePoints = 19,
    Angle = 20,
    Locus = 21,
    AxialSymmetryPoint = 22,
    TranslationPoint = 23,
    RotationPoint = 24,
    HomothetyPoint = 25,
    InversePoint = 26,
    DisplacedPoint = 27,
    DistancePointPoint = 28,
    DistancePointLine = 29,
    SegmentLength = 30,
    CircleLength = 31,
    ArcLength = 32,
    PolygonPerimeter = 33,
    CircleArea = 34,
    PolygonArea = 35,
    AngleValue = 36,
    Calculation = 37,
    Table = 38,
    Axes = 39,
    AxisX = 40,
    AxisY = 41,
    Coordinates = 42,
    CoordinateX = 43,
    CoordinateY = 44,
    LineEquation = 45,
    CircleEquation = 46,
    Text = 47,
    Name = 48,
    PointWithCoordinates = 49,
    ParallelCheck = 50,
    PerpendicularCheck = 51,
    MembershipCheck = 52,
    EquidistanceCheck = 53,
    AlignmentCheck = 54,
    Conic = 55,
    Slope = 56,
    Intersection = 57,
    ConicEquation = 58,
    RegularPolygonVertex = 59,
    RepresentedPoint = 60,
    Grid = 61,
    GridPoint = 62,
    Parameter = 63,
    Function = 64,
    FunctionGraph = 65,
    ShowHideButton = 66,
    Bitmap = 67,
    Proportion = 68,
    Vector = 69,
    MotionButton = 70,
    Iteration = 71,
    VectorSumPoint = 72,
    CircleRadiusNumberCentre = 73,
};
constexpr int32_t Count = 74;
} // namespace Method

namespace Kind {
enum : int32_t {
    Point = 0,
    Line = 1,
    Ray = 2,
    Segment = 3,
    Polygon = 4,
    Circle = 5,
    Arc = 6,
    Angle = 7,
    Locus = 8,
    Text = 9,
    Name = 10,
    Number = 11,
    Function = 12,
    Axes = 13,
    Table = 14,
    Equation = 15,
    Coordinates = 16,
    Property = 17,
    Conic = 18,
    Intersection = 19,
    Grid = 20,
    Button = 21,
    Bitmap = 22,
    Vector = 23,
    Iteration = 24,
};
constexpr int32_t Count = 25;
} // namespace Kind

// Variant words shared by several fields.
constexpr int32_t HasValue = 100; // a number has a value; rectangular coordinates
constexpr int32_t NoValue = -100; // a number has none; polar coordinates
constexpr int32_t Internal = 100; // `visible` of an internal element: never drawn, never selectable
constexpr double NotSet = -1111.0; // a value not set, or a missing sample

// Valid method code?
constexpr bool isValidMethod(int32_t m) {
    return m >= 0 && m < Method::Count;
}

// Kind of the element a method makes (the method table's column); -1 for an invalid code.
ElementKind kindOf(ConstructionMethod m);
// Kinds 9, 10, 11, 12, 14, 15, 16, 17, 21: no shape.
bool isTextLike(ElementKind k);
// Text-like kinds except texts carry a FontRecord in `font`.
bool carriesFont(ElementKind k);

struct FontRecord {
    std::string name = "Arial";
    Color color = 12632256;
    int32_t size = 10;
    int32_t bold = 0;
    int32_t italic = 0;
    int32_t underline = 0;
    int32_t strikeout = 0;
    bool operator==(const FontRecord&) const = default;
};

struct Point2 {
    double x = 0, y = 0;
};

struct Element;

// T, const when E is.
template <class E, class T> using CopyConst = std::conditional_t<std::is_const_v<E>, const T, T>;

// A reference to another element, with the id that stands for it in a record: reading a file or
// a snapshot fills the id and resolves it to the element; refreshStoredIds sets it from the
// element before writing. It reads as the element pointer, and assigning a pointer leaves the
// id as it is. Made from a pointer only explicitly, so that `c ? ptr : ref` is a pointer.
struct Ref {
    Element* ptr = nullptr;
    int32_t id = -1;
    Ref() = default;
    explicit Ref(Element* p) : ptr(p) {}
    Ref(Element* p, int32_t i) : ptr(p), id(i) {}
    Ref& operator=(Element* p) {
        ptr = p;
        return *this;
    }
    operator Element*() const { return ptr; }
    Element* operator->() const { return ptr; }
    Element& operator*() const { return *ptr; }
};

// ---- per-method tails ----------------------------------------------------------------------

enum class TailType : int32_t {
    Polygon,
    Axes,
    Coordinates,
    SampledCurve, // locus (21) and function graph (65)
    Expression,   // calculation (37) and function (64)
    Table,
    Equation,
    Text,
    Name,
    Check,
    Conic,
    Parameter,
    Button,
    Bitmap,
    Iteration,
    None, // in the method table: a method whose record has no tail
};

struct ElementTail {
    explicit ElementTail(TailType t) : type(t) {}
    virtual ~ElementTail() = default;
    // Deep copy; references to other elements are copied as they are and re-linked by id later.
    virtual std::unique_ptr<ElementTail> clone() const = 0;
    const TailType type;
};

template <class Derived, TailType T> struct TailBase : ElementTail {
    static constexpr TailType kType = T;
    TailBase() : ElementTail(T) {}
    std::unique_ptr<ElementTail> clone() const override {
        return std::make_unique<Derived>(static_cast<const Derived&>(*this));
    }
};

// An empty tail of the given type; null for TailType::None.
std::unique_ptr<ElementTail> makeTail(TailType type);

// Owned sub-element: deep-copied with its owner.
struct SubElement {
    std::unique_ptr<Element> ptr;
    SubElement() = default;
    explicit SubElement(std::unique_ptr<Element> p) : ptr(std::move(p)) {}
    SubElement(const SubElement& o);
    SubElement& operator=(const SubElement& o);
    SubElement(SubElement&&) noexcept = default;
    SubElement& operator=(SubElement&&) noexcept = default;
    Element* get() const { return ptr.get(); }
    Element* operator->() const { return ptr.get(); }
    Element& operator*() const { return *ptr; }
    explicit operator bool() const { return bool(ptr); }
};

// Polygon: side i joins vertex i (its parent1) to vertex i+1 (its parent2); the last closes to 0.
struct PolygonTail : TailBase<PolygonTail, TailType::Polygon> {
    std::vector<SubElement> sides;
};

struct AxesTail : TailBase<AxesTail, TailType::Axes> {
    double scaleX = 40.0;
    double scaleY = 40.0;
    SubElement xAxis; // method 40
    SubElement yAxis; // method 41
};

struct CoordinatesTail : TailBase<CoordinatesTail, TailType::Coordinates> {
    SubElement xCoord; // method 43, x or r
    SubElement yCoord; // method 44, y or theta
};

// Samples of a locus or a function graph. Capacity n = first.size(); `count` are stored.
struct SampledCurveTail : TailBase<SampledCurveTail, TailType::SampledCurve> {
    int32_t count = 0;
    std::vector<Point2> first;
    std::vector<Point2> second;
    std::vector<double> params;
    std::vector<int32_t> words;
    void resize(int32_t n) {
        first.assign(size_t(n), Point2{});
        second.assign(size_t(n), Point2{});
        params.assign(size_t(n), 0.0);
        words.assign(size_t(n), 0);
        count = 0;
    }
};

// Compiled expression of a calculation or a function.
struct ExpressionTail : TailBase<ExpressionTail, TailType::Expression> {
    std::string exprText;
    std::vector<int32_t> exprCode;  // postfix program, zero-terminated
    int32_t exprVarCount = 0;       // V
    std::vector<Ref> exprArgs;      // V variables then F functions
    std::vector<double> exprValues; // value table: result, variables, reserved, constants
};

struct TableColumn {
    Ref element;
    std::vector<double> values; // up to MaxTableRows
};

struct TableTail : TailBase<TableTail, TailType::Table> {
    static constexpr int32_t MaxRows = 100;
    int32_t rows = 1;
    std::vector<TableColumn> columns;
};

struct EquationTail : TailBase<EquationTail, TailType::Equation> {
    double labelPosition = 0.0;
    std::string text;
};

struct FontRun {
    FontRecord font;
    int32_t length = 0; // characters covered; a line break counts as two
};

struct TextTail : TailBase<TextTail, TailType::Text> {
    int32_t x = 0;
    int32_t y = 0;
    int32_t flag = 0;
    std::vector<std::string> lines; // their number is also kept in the element's `option`
    FontRecord font;
    std::vector<FontRun> runs;
};

struct NameTail : TailBase<NameTail, TailType::Name> {
    std::string text;
    double placement[4] = {0, 0, 0, 0};
};

struct CheckTail : TailBase<CheckTail, TailType::Check> {
    std::string trueText;
    std::string falseText;
};

struct ConicTail : TailBase<ConicTail, TailType::Conic> {
    static constexpr int SampleCount = 120;
    Ref points[5];
    // A y^2 + B x y + C x^2 + D y + E x + F = 0
    double coefficients[6] = {0, 0, 0, 0, 0, 0};
    int32_t conicType = 0;
    std::array<Point2, SampleCount> samples{};
};

struct ParameterTail : TailBase<ParameterTail, TailType::Parameter> {
    double minimum = 0.0;
    double maximum = 0.0;
    double step = 0.01;
};

struct ButtonTail : TailBase<ButtonTail, TailType::Button> {
    std::string caption;
    std::vector<Ref> elements;
    std::vector<int32_t> states;
};

// The picture is kept as the bytes of a Windows bitmap file; the view decodes and caches it.
struct BitmapTail : TailBase<BitmapTail, TailType::Bitmap> {
    std::vector<uint8_t> picture;
};

// The private copy of the construction an iteration draws its copies from (geometry/iteration).
struct IterationCopy;
// Holds it at runtime; a copied element starts without one and makes its own when recalculated.
struct IterationCopyHolder {
    std::shared_ptr<IterationCopy> ptr;
    IterationCopyHolder() = default;
    IterationCopyHolder(const IterationCopyHolder&) {}
    IterationCopyHolder& operator=(const IterationCopyHolder&) {
        ptr.reset();
        return *this;
    }
};

struct IterationTail : TailBase<IterationTail, TailType::Iteration> {
    int32_t iterations = 1;
    int32_t countFromElement = 0;
    int32_t destinationCount = 1;
    int32_t lastOnly = 0;
    int32_t drawPoints = 1;
    int32_t ownColour = 1;
    int32_t initialCount = 0;
    std::vector<Ref> participants;
    std::vector<int32_t> images; // initialCount x destinationCount, row i at i * destinationCount
    // Runtime: drawing and hit testing walk it through a const element.
    mutable IterationCopyHolder copy;
};

// ---- the element record ----------------------------------------------------------------------

struct Element {
    ConstructionMethod method = 0;
    int32_t id = 0;
    Ref parent1;
    Ref parent2;
    Ref parent3;
    double value[4] = {0, 0, 0, 0};
    int32_t defined = 1;
    int32_t visible = 1;
    int32_t mark = 0;     // runtime: dependency walks, marked pass
    int32_t selected = 0; // runtime
    int32_t work = 0;     // runtime: a second working mark (loci)
    int32_t option = 0;
    int32_t option2 = 0;
    int32_t unitShown = 0;
    int32_t decimals = 2;
    Color color = 0;
    int32_t shape = 1;
    Ref colorParam;
    int32_t colorParamMode = 0;
    Color colorParamFrom = 0;
    Color colorParamTo = 0;
    std::unique_ptr<FontRecord> font;
    Element* nameElement = nullptr;
    Element* next = nullptr;

    // Not part of the record: list back link and, for sub-elements, their owner.
    Element* prev = nullptr;
    Element* owner = nullptr;

    std::unique_ptr<ElementTail> tail;

    Element() = default;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    ElementKind kind() const { return kindOf(method); }

    template <class T> T* tailAs() {
        return tail && tail->type == T::kType ? static_cast<T*>(tail.get()) : nullptr;
    }
    template <class T> const T* tailAs() const {
        return tail && tail->type == T::kType ? static_cast<const T*>(tail.get()) : nullptr;
    }

    // Copy of every field, font and tail (with sub-elements); list links are cleared and
    // references to other elements are kept as they are, to be re-linked by id.
    std::unique_ptr<Element> clone() const;

    // Owned sub-elements (polygon sides, axis lines, coordinate numbers), in id order.
    int subElementCount() const;
    Element* subElement(int i) const;
};

// Visits an element's owned sub-elements in id order.
template <class F> void forEachSubElement(const Element& e, F&& f) {
    const int n = e.subElementCount();
    for (int i = 0; i < n; ++i)
        f(*e.subElement(i));
}

// Visits every reference an element keeps, as `Ref&` (`const Ref&` for a const element): the
// three parents, the colour parameter, then those of the tail (calculation and function
// arguments, table columns, conic points, button elements, iteration participants). The
// references of sub-elements (the vertices of a polygon's sides) are their own.
template <class E, class F> void forEachReference(E& e, F&& f) {
    f(e.parent1);
    f(e.parent2);
    f(e.parent3);
    f(e.colorParam);
    if (!e.tail) return;
    const auto each = [&](auto& refs) {
        for (auto& r : refs)
            f(r);
    };
    switch (e.tail->type) {
    case TailType::Expression:
        each(static_cast<CopyConst<E, ExpressionTail>&>(*e.tail).exprArgs);
        break;
    case TailType::Table:
        for (auto& c : static_cast<CopyConst<E, TableTail>&>(*e.tail).columns)
            f(c.element);
        break;
    case TailType::Conic:
        each(static_cast<CopyConst<E, ConicTail>&>(*e.tail).points);
        break;
    case TailType::Button:
        each(static_cast<CopyConst<E, ButtonTail>&>(*e.tail).elements);
        break;
    case TailType::Iteration:
        each(static_cast<CopyConst<E, IterationTail>&>(*e.tail).participants);
        break;
    default:
        break;
    }
}

// Visits every element `e` depends on directly: what it references, and what its sub-elements
// reference other than `e` itself. A file may give a sub-element a parent that its owner does not
// list (a side that does not start where the one before it ends, an axis line on another point);
// the owner depends on it all the same.
template <class F> void forEachParent(const Element& e, F&& f) {
    forEachReference(e, [&](const Ref& r) { f(r.ptr); });
    forEachSubElement(e, [&](const Element& s) {
        forEachReference(s, [&](const Ref& r) {
            if (r.ptr != &e) f(r.ptr);
        });
    });
}

// Style codes (`shape`).
namespace PointShape {
enum : int32_t { Normal = 1, Large = 2, Larger = 3, Cross = 4, Square = 5, Pixel = 6 };
}
namespace LineStyle {
enum : int32_t { Normal = 1, Thick = 2, Dashed = 3, Dashed2 = 4, Thick5 = 5, Thick7 = 6 };
}

// The fixed colour palette of the property dialog.
extern const std::array<Color, 16> fixedPalette;

// Frees a chain of elements linked by `next`, each with its tail, sub-elements and font.
void destroyElements(Element* first);
// Links `e` after `tail` of the chain from `head` to `tail` (both null when it is empty).
void linkAtEnd(Element*& head, Element*& tail, Element* e);

} // namespace qorv
