// The method table: one row per construction method, in code order, with what the rest of the
// program needs to know of it: kind, built-in name and its language-file id, tail, whether it
// stands in the list, the kinds its parents take, the points it passes through, what the
// parameter of a point on it means, the value words undo rebuilds, how animation moves it and
// the dialog a double click opens. The row has one constructor with every column and no
// defaults, so a row that forgets a fact does not compile.
//
// What is not a column is keyed by the code and found from here:
// - recalculation: the row of the same code in geometry/recalctable.cpp, checked against this
//   table when it compiles (the geometry owns those functions; the model does not depend on them);
// - creation defaults: createElement (construction/create.cpp), which makes the row's tail;
// - file and snapshot body: transferBody (model/elementcodec.cpp), by the row's tail type;
// - tools that make it: the `makes` lists of view/tooltable.cpp, and view/toolsequences_*.cpp;
// - dragging: view/dragengine.cpp (free points, points on elements and grids, lines, rays and
//   circles through one point, polygons, conics, axes, grids, names, texts, coordinates,
//   bitmaps); images under transformations: view/toolsequences_transformations.cpp;
// - drawing and hit geometry: by kind, in view/renderer*.cpp and view/hitgeometry.cpp.
//
// A new method takes: its code in `Method` (model/element.h) and `Method::Count`, its row here,
// its row in geometry/recalctable.cpp (the build fails until the two tables agree) and its
// recalculation function, its name in both language files, creation defaults in createElement
// where it needs any, and the tool that makes it. A method with a new tail type also needs the
// tail struct (model/element.h), makeTail (model/element.cpp) and its body in transferBody,
// whose switch covers every type.
#pragma once

#include "model/element.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace qorv {

// A set of kinds as a bit mask (bit k = kind k).
using KindMask = uint32_t;
constexpr KindMask kindBit(int kind) {
    return kind >= 0 && kind < Kind::Count ? KindMask(1) << kind : 0;
}
constexpr KindMask kindBits(std::initializer_list<int> kinds) {
    KindMask m = 0;
    for (int k : kinds)
        m |= kindBit(k);
    return m;
}
constexpr bool hasKind(KindMask m, int kind) {
    return (m & kindBit(kind)) != 0;
}

// Kind groups that parents are taken from. Sub-elements count by their own kind: a polygon side
// is a segment, an axis line a line.
namespace ParentKinds {
constexpr KindMask None = 0;
constexpr KindMask Point = kindBit(Kind::Point);
constexpr KindMask Number = kindBit(Kind::Number);
constexpr KindMask Circle = kindBit(Kind::Circle);
constexpr KindMask Axes = kindBit(Kind::Axes);
// Lines, rays, segments, vectors.
constexpr KindMask Straight = kindBits({Kind::Line, Kind::Ray, Kind::Segment, Kind::Vector});
// Every curve a point can lie on or cross.
constexpr KindMask Curve =
    Straight | kindBits({Kind::Polygon, Kind::Circle, Kind::Arc, Kind::Locus, Kind::Conic});
// Curves taken one piece at a time: a polygon by one of its sides.
constexpr KindMask SingleCurve = Curve & ~kindBit(Kind::Polygon);
constexpr KindMask Any = (KindMask(1) << Kind::Count) - 1;
} // namespace ParentKinds

// The defining elements a curve passes through by construction, found without computing them
// (two curves through the same defining point meet there).
enum class ThroughPoints : uint8_t {
    None,
    P1,          // parent1: lines and rays through one point, axes (through their origin)
    P12,         // parent1 and parent2: lines, rays, segments and vectors through two points
    P2,          // parent2: parallels, perpendiculars, bisectors; circle by centre and point
    P123,        // parent1..3: arc through three points
    ConicPoints, // the five points of a conic
};

// What the parameter t of a point on the element means (see geometry/pointonelement.h).
enum class PointParameter : uint8_t {
    None,          // no point can lie on it
    Affine,        // A + t (B - A)
    Distance,      // signed distance from A along AB
    Fraction,      // 0..1 from A to B
    PolygonSides,  // 0..n, side floor(t) at the fraction t - side
    Angle,         // radians about the centre
    ArcFraction,   // 0..1 from the first point of the arc to its third
    ConicSamples,  // 0..120 along the conic's samples
    LocusDriver,   // the driver's parameter
    GraphVariable, // 0..1 over the function's variable range
};

// The value words (bit i = value[i]) that recalculation writes from the parents alone whenever
// the element comes out defined; undo stores them as zeros and the next pass rebuilds them.
using ValueWords = uint8_t;
namespace RebuiltWords {
constexpr ValueWords None = 0;
constexpr ValueWords First = 0x1;
constexpr ValueWords XY = 0x3;
constexpr ValueWords Angle = 0x5; // value[1] is the mark size, the element's own
constexpr ValueWords All = 0xf;
} // namespace RebuiltWords

// How one animation step moves the element; None: it cannot be animated.
enum class AnimationMove : uint8_t {
    None,
    AlongHost, // a point on an element moves along its host
    Turn,      // a line or ray through a point turns about it
    Radius,    // a circle given its centre grows and shrinks
    Value,     // a parameter runs through its range
};

// The dialog a double click with the move tool opens on the element; None: none (its settings
// are in "Editar elemento").
enum class ElementDialog : uint8_t {
    None,
    Text,            // the text editor
    Calculator,      // the calculator, on the calculation
    Function,        // the calculator in its function mode
    Parameter,       // the parameter dialog
    RepresentPoints, // the point-by-coordinates dialog, on the represented point
};

// One row of the table. Every column is an argument of the one constructor, with no default:
// a row that leaves a column out does not compile.
struct MethodRow {
    ConstructionMethod code;
    ElementKind kind;
    // Built-in text of the method's name, and the language-file id that replaces it. Ids are
    // never reused or moved: files written for older versions name the same methods.
    const char* name;
    int nameId;
    TailType tail; // TailType::None: the record has no tail
    // False for sub-elements (sides, axis lines, coordinate numbers): they exist only inside
    // their owner and a file never holds them as list records.
    bool listed;
    // Kinds that parent1..parent3 take, as the tools supply them; None for an unused slot.
    // Extra parents kept in a tail are not listed.
    std::array<KindMask, 3> parents;
    ThroughPoints through;
    PointParameter pointParameter;
    ValueWords rebuiltByUndo;
    AnimationMove animation;
    ElementDialog dialog;

    constexpr MethodRow(ConstructionMethod code, ElementKind kind, const char* name, int nameId,
                        TailType tail, bool listed, std::array<KindMask, 3> parents,
                        ThroughPoints through, PointParameter pointParameter,
                        ValueWords rebuiltByUndo, AnimationMove animation, ElementDialog dialog)
        : code(code), kind(kind), name(name), nameId(nameId), tail(tail), listed(listed),
          parents(parents), through(through), pointParameter(pointParameter),
          rebuiltByUndo(rebuiltByUndo), animation(animation), dialog(dialog) {}
};

namespace detail {
using T = TailType;
namespace P = ParentKinds;
using Through = ThroughPoints;
using At = PointParameter;
namespace W = RebuiltWords;
using A = AnimationMove;
using D = ElementDialog;
constexpr KindMask Seg = kindBit(Kind::Segment);
constexpr KindMask Vec = kindBit(Kind::Vector);
constexpr KindMask Poly = kindBit(Kind::Polygon);
constexpr KindMask Coords = kindBit(Kind::Coordinates);
constexpr KindMask Lines = kindBits({Kind::Line, Kind::Ray, Kind::Segment});

// clang-format off
constexpr std::array<MethodRow, Method::Count> kMethodTable = {{
    // code                              kind              name                            name id  tail           listed  parent1..3  through  point parameter  rebuilt by undo  animation  double-click dialog
    {Method::FreePoint,                Kind::Point,       "Punto Libre", 100,                   T::None,        true,  {}, Through::None, At::None, W::None, A::None, D::None},
    {Method::PointOnElement,           Kind::Point,       "Punto en elemento", 101,             T::None,        true,  {P::Curve}, Through::None, At::None, W::None, A::AlongHost, D::None},
    {Method::IntersectionPoint,        Kind::Point,       "Punto de intersección", 102,         T::None,        true,  {P::SingleCurve, P::SingleCurve}, Through::None, At::None, W::XY, A::None, D::None},
    {Method::CentralSymmetryPoint,     Kind::Point,       "Punto (simetría central)", 103,      T::None,        true,  {P::Point, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Midpoint,                 Kind::Point,       "Punto medio", 104,                   T::None,        true,  {P::Point, P::Point}, Through::None, At::None, W::XY, A::None, D::None},
    {Method::LineThroughPoint,         Kind::Line,        "Recta por punto", 105,               T::None,        true,  {P::Point}, Through::P1, At::Distance, W::None, A::Turn, D::None},
    {Method::LineThroughTwoPoints,     Kind::Line,        "Recta por 2 puntos", 106,            T::None,        true,  {P::Point, P::Point}, Through::P12, At::Affine, W::All, A::None, D::None},
    {Method::RayThroughPoint,          Kind::Ray,         "Semirecta por 1 punto", 107,         T::None,        true,  {P::Point}, Through::P1, At::Distance, W::None, A::Turn, D::None},
    {Method::RayThroughTwoPoints,      Kind::Ray,         "Semirecta por 2 puntos", 108,        T::None,        true,  {P::Point, P::Point}, Through::P12, At::Affine, W::All, A::None, D::None},
    {Method::ParallelLine,             Kind::Line,        "Recta paralela", 109,                T::None,        true,  {P::Straight, P::Point}, Through::P2, At::Distance, W::All, A::None, D::None},
    {Method::PerpendicularLine,        Kind::Line,        "Recta perpendicular", 110,           T::None,        true,  {P::Straight, P::Point}, Through::P2, At::Distance, W::All, A::None, D::None},
    {Method::AngleBisector,            Kind::Line,        "Bisectriz", 111,                     T::None,        true,  {P::Point, P::Point, P::Point}, Through::P2, At::Distance, W::None, A::None, D::None},
    {Method::PerpendicularBisector,    Kind::Line,        "Mediatriz", 112,                     T::None,        true,  {P::Point, P::Point}, Through::None, At::Distance, W::None, A::None, D::None},
    {Method::Segment,                  Kind::Segment,     "Segmento", 113,                      T::None,        true,  {P::Point, P::Point}, Through::P12, At::Fraction, W::All, A::None, D::None},
    {Method::Polygon,                  Kind::Polygon,     "Polígono", 114,                      T::Polygon,     true,  {}, Through::None, At::PolygonSides, W::None, A::None, D::None},
    {Method::PolygonSide,              Kind::Segment,     "Lado de un poligono", 115,           T::None,        false, {P::Point, P::Point, Poly}, Through::P12, At::Fraction, W::None, A::None, D::None},
    {Method::CircleByCentre,           Kind::Circle,      "Circunferencia dado el centro", 116, T::None,        true,  {P::Point}, Through::None, At::Angle, W::None, A::Radius, D::None},
    {Method::CircleCentrePoint,        Kind::Circle,      "Circunferencia dados centro y punto", 117, T::None,  true,  {P::Point, P::Point}, Through::P2, At::Angle, W::All, A::None, D::None},
    {Method::CircleRadiusCentre,       Kind::Circle,      "Circunferencia dados el radio y el centro", 118, T::None, true, {P::Point, P::Point, P::Point}, Through::None, At::Angle, W::None, A::None, D::None},
    {Method::ArcThreePoints,           Kind::Arc,         "Arco dados 3 puntos", 119,           T::None,        true,  {P::Point, P::Point, P::Point}, Through::P123, At::ArcFraction, W::None, A::None, D::None},
    {Method::Angle,                    Kind::Angle,       "Angulo", 120,                        T::None,        true,  {P::Point, P::Point, P::Point}, Through::None, At::None, W::Angle, A::None, D::None},
    {Method::Locus,                    Kind::Locus,       "Lugar geométrico", 121,              T::SampledCurve, true, {P::Point | P::Curve, P::Point | P::Number}, Through::None, At::LocusDriver, W::None, A::None, D::None},
    {Method::AxialSymmetryPoint,       Kind::Point,       "Punto (simetría axial)", 122,        T::None,        true,  {P::Point, P::Straight}, Through::None, At::None, W::None, A::None, D::None},
    {Method::TranslationPoint,         Kind::Point,       "Punto (traslación)", 123,            T::None,        true,  {P::Point, P::Point, P::Point}, Through::None, At::None, W::XY, A::None, D::None},
    {Method::RotationPoint,            Kind::Point,       "Punto (giro)", 124,                  T::None,        true,  {P::Point, P::Point, P::Number}, Through::None, At::None, W::None, A::None, D::None},
    {Method::HomothetyPoint,           Kind::Point,       "Punto homotetico", 125,              T::None,        true,  {P::Point, P::Point, P::Number}, Through::None, At::None, W::None, A::None, D::None},
    {Method::InversePoint,             Kind::Point,       "Punto inverso", 126,                 T::None,        true,  {P::Circle, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::DisplacedPoint,           Kind::Point,       "Punto desplazado", 127,              T::None,        true,  {P::Point, P::Straight | P::Circle, P::Number}, Through::None, At::None, W::None, A::None, D::None},
    {Method::DistancePointPoint,       Kind::Number,      "Distancia(punto a punto)", 128,      T::None,        true,  {P::Point, P::Point}, Through::None, At::None, W::First, A::None, D::None},
    {Method::DistancePointLine,        Kind::Number,      "Distancia(punto a recta)", 129,      T::None,        true,  {P::Point, P::Straight}, Through::None, At::None, W::None, A::None, D::None},
    {Method::SegmentLength,            Kind::Number,      "Longitud(segmento)", 130,            T::None,        true,  {Seg | Vec}, Through::None, At::None, W::None, A::None, D::None},
    {Method::CircleLength,             Kind::Number,      "Longitud(circunferencia)", 131,      T::None,        true,  {P::Circle}, Through::None, At::None, W::None, A::None, D::None},
    {Method::ArcLength,                Kind::Number,      "Longitud(arco)", 132,                T::None,        true,  {kindBit(Kind::Arc)}, Through::None, At::None, W::None, A::None, D::None},
    {Method::PolygonPerimeter,         Kind::Number,      "Perímetro(polígono)", 133,           T::None,        true,  {Poly}, Through::None, At::None, W::None, A::None, D::None},
    {Method::CircleArea,               Kind::Number,      "Area (circunferencia)", 134,         T::None,        true,  {P::Circle}, Through::None, At::None, W::None, A::None, D::None},
    {Method::PolygonArea,              Kind::Number,      "Area (polígono)", 135,               T::None,        true,  {Poly}, Through::None, At::None, W::First, A::None, D::None},
    {Method::AngleValue,               Kind::Number,      "ángulo(valor)", 136,                 T::None,        true,  {P::Point | kindBit(Kind::Arc), P::Point, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Calculation,              Kind::Number,      "Cálculo", 137,                       T::Expression,  true,  {}, Through::None, At::None, W::None, A::None, D::Calculator},
    {Method::Table,                    Kind::Table,       "Tabla", 138,                         T::Table,       true,  {}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Axes,                     Kind::Axes,        "Ejes de coordenadas", 139,           T::Axes,        true,  {P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::AxisX,                    Kind::Line,        "Eje x", 140,                         T::None,        false, {P::Point, P::Axes}, Through::P1, At::Distance, W::None, A::None, D::None},
    {Method::AxisY,                    Kind::Line,        "Eje y", 141,                         T::None,        false, {P::Point, P::Axes}, Through::P1, At::Distance, W::None, A::None, D::None},
    {Method::Coordinates,              Kind::Coordinates, "coordenadas de un punto", 142,       T::Coordinates, true,  {P::Point, P::Axes}, Through::None, At::None, W::None, A::None, D::None},
    {Method::CoordinateX,              Kind::Number,      "coordenada x o r de un punto", 143,  T::None,        false, {P::Point, Coords}, Through::None, At::None, W::None, A::None, D::None},
    {Method::CoordinateY,              Kind::Number,      "coordenada y o theta de un punto", 144, T::None,     false, {P::Point, Coords}, Through::None, At::None, W::None, A::None, D::None},
    {Method::LineEquation,             Kind::Equation,    "ecuación (recta)", 145,              T::Equation,    true,  {Lines, P::Axes}, Through::None, At::None, W::None, A::None, D::None},
    {Method::CircleEquation,           Kind::Equation,    "ecuación (circunferencia)", 146,     T::Equation,    true,  {P::Circle, P::Axes}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Text,                     Kind::Text,        "Texto", 147,                         T::Text,        true,  {}, Through::None, At::None, W::None, A::None, D::Text},
    {Method::Name,                     Kind::Name,        "Nombre", 148,                        T::Name,        true,  {P::Any}, Through::None, At::None, W::None, A::None, D::None},
    {Method::PointWithCoordinates,     Kind::Point,       "Punto con coordenadas", 149,         T::None,        true,  {P::Number, P::Number, P::Axes}, Through::None, At::None, W::None, A::None, D::None},
    {Method::ParallelCheck,            Kind::Property,    "comprobador de paralelismo", 150,    T::Check,       true,  {P::Straight, P::Straight}, Through::None, At::None, W::None, A::None, D::None},
    {Method::PerpendicularCheck,       Kind::Property,    "comprobador de perpendicularidad", 151, T::Check,    true,  {P::Straight, P::Straight}, Through::None, At::None, W::None, A::None, D::None},
    {Method::MembershipCheck,          Kind::Property,    "comprobador de pertenencia", 152,    T::Check,       true,  {P::Point, P::Curve}, Through::None, At::None, W::None, A::None, D::None},
    {Method::EquidistanceCheck,        Kind::Property,    "comprobador de equidistancia", 153,  T::Check,       true,  {P::Point, P::Point, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::AlignmentCheck,           Kind::Property,    "comprobador de alineación", 154,     T::Check,       true,  {P::Point, P::Point, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Conic,                    Kind::Conic,       "Cónica por 5 puntos", 155,           T::Conic,       true,  {}, Through::ConicPoints, At::ConicSamples, W::None, A::None, D::None},
    {Method::Slope,                    Kind::Number,      "Pendiente", 156,                     T::None,        true,  {P::Straight}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Intersection,             Kind::Intersection, "intersección", 157,                 T::None,        true,  {P::SingleCurve, P::SingleCurve}, Through::None, At::None, W::None, A::None, D::None},
    {Method::ConicEquation,            Kind::Equation,    "ecuación (cónica)", 158,             T::Equation,    true,  {kindBit(Kind::Conic), P::Axes}, Through::None, At::None, W::None, A::None, D::None},
    {Method::RegularPolygonVertex,     Kind::Point,       "Vértice de polígono regular", 159,   T::None,        true,  {P::Point, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::RepresentedPoint,         Kind::Point,       "Punto representado", 160,            T::None,        true,  {P::Axes}, Through::None, At::None, W::None, A::None, D::RepresentPoints},
    {Method::Grid,                     Kind::Grid,        "Cuadrícula", 161,                    T::None,        true,  {P::Axes}, Through::None, At::None, W::None, A::None, D::None},
    {Method::GridPoint,                Kind::Point,       "Punto en cuadrícula", 162,           T::None,        true,  {kindBit(Kind::Grid)}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Parameter,                Kind::Number,      "Parámetro", 163,                     T::Parameter,   true,  {}, Through::None, At::None, W::None, A::Value, D::Parameter},
    {Method::Function,                 Kind::Function,    "Función", 164,                       T::Expression,  true,  {}, Through::None, At::None, W::None, A::None, D::Function},
    {Method::FunctionGraph,            Kind::Locus,       "Representación de función", 165,     T::SampledCurve, true, {kindBit(Kind::Function), P::Axes}, Through::None, At::GraphVariable, W::None, A::None, D::None},
    {Method::ShowHideButton,           Kind::Button,      "Botón Ocultar/Ver", 166,             T::Button,      true,  {}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Bitmap,                   Kind::Bitmap,      "Bitmap", 167,                        T::Bitmap,      true,  {P::Point | Seg | Vec}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Proportion,               Kind::Number,      "Proporción", 168,                    T::None,        true,  {P::Point | Seg | Vec, P::Point | Seg | Vec, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Vector,                   Kind::Vector,      "Vector", 169,                        T::None,        true,  {P::Point, P::Point}, Through::P12, At::Fraction, W::All, A::None, D::None},
    {Method::MotionButton,             Kind::Button,      "Botón Movimiento", 170,              T::Button,      true,  {}, Through::None, At::None, W::None, A::None, D::None},
    {Method::Iteration,                Kind::Iteration,   "Iteración", 171,                     T::Iteration,   true,  {}, Through::None, At::None, W::None, A::None, D::None},
    {Method::VectorSumPoint,           Kind::Point,       "Punto (vector suma)", 172,           T::None,        true,  {Vec, Vec, P::Point}, Through::None, At::None, W::None, A::None, D::None},
    {Method::CircleRadiusNumberCentre, Kind::Circle,      "Circunferencia dados el radio(numero) y el centro", 173, T::None, true, {P::Point, P::Number}, Through::None, At::Angle, W::None, A::None, D::None},
}};
// clang-format on

// Row i is the row of code i, for every row.
constexpr bool codesInOrder() {
    for (size_t i = 0; i < kMethodTable.size(); ++i)
        if (kMethodTable[i].code != ConstructionMethod(i)) return false;
    return true;
}
static_assert(codesInOrder(), "the method table must list the codes 0..73 in order");
} // namespace detail

// The row of a valid method code (see isValidMethod).
constexpr const MethodRow& methodRow(ConstructionMethod m) {
    return detail::kMethodTable[size_t(m)];
}

// The whole table, for walks over every method.
constexpr const std::array<MethodRow, Method::Count>& methodTable() {
    return detail::kMethodTable;
}

// The tail type of a method's record; None for methods without one and for invalid codes.
constexpr TailType tailTypeOf(ConstructionMethod m) {
    return isValidMethod(m) ? methodRow(m).tail : TailType::None;
}

} // namespace qorv
