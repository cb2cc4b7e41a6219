// The method table: one row per construction method, in code order, with what the model knows of
// it: kind, built-in name, tail, whether it stands in the list, and the kinds its parents take.
//
// Everything else about a method is keyed by its code and found from here:
// - recalculation: the row of the same code in geometry/recalctable.cpp, checked against this
//   table when it compiles (the geometry owns those functions; the model does not depend on them);
// - creation defaults: createElement (model/document.cpp), which makes the row's tail;
// - file and snapshot body: transferBody (model/elementcodec.cpp), by the row's tail type;
// - tools that make it: the `makes` lists of view/tooltable.cpp, and view/toolsequences_*.cpp;
// - dragging: view/dragengine.cpp (free points, points on elements and grids, lines, rays and
//   circles through one point, polygons, conics, axes, grids, names, texts, coordinates,
//   bitmaps);
// - drawing and hit geometry: by kind, in view/renderer*.cpp and view/hitgeometry.cpp; the
//   geometry of straight elements and curves by method in geometry/elementgeometry.cpp and
//   geometry/pointonelement.cpp.
//
// A new method takes: its code in `Method` (model/element.h) and `Method::Count`, its row here,
// its row in geometry/recalctable.cpp (the build fails until the two tables agree) and its
// recalculation function, creation defaults in createElement where it needs any, and the tool
// that makes it. A method with a new tail type also needs the tail struct (model/element.h),
// makeTail (model/element.cpp) and its body in transferBody, whose switch covers every type.
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

struct MethodRow {
    ConstructionMethod code;
    ElementKind kind;
    // Built-in text of the method's UI text slot (slot = code); a language file replaces it.
    const char* name;
    TailType tail; // TailType::None: the record has no tail
    // False for sub-elements (sides, axis lines, coordinate numbers): they exist only inside
    // their owner and a file never holds them as list records.
    bool listed;
    // Kinds that parent1..parent3 take, as the tools supply them; None for an unused slot.
    // Extra parents kept in a tail are not listed.
    KindMask parents[3];
};

namespace detail {
using T = TailType;
namespace P = ParentKinds;
constexpr KindMask Seg = kindBit(Kind::Segment);
constexpr KindMask Vec = kindBit(Kind::Vector);
constexpr KindMask Poly = kindBit(Kind::Polygon);
constexpr KindMask Coords = kindBit(Kind::Coordinates);
constexpr KindMask Lines = kindBits({Kind::Line, Kind::Ray, Kind::Segment});

// clang-format off
constexpr std::array<MethodRow, Method::Count> kMethodTable = {{
    // code                              kind              name                            tail           listed  parent1..3
    {Method::FreePoint,                Kind::Point,       "Punto Libre",                   T::None,        true,  {}},
    {Method::PointOnElement,           Kind::Point,       "Punto en elemento",             T::None,        true,  {P::Curve}},
    {Method::IntersectionPoint,        Kind::Point,       "Punto de intersección",         T::None,        true,  {P::SingleCurve, P::SingleCurve}},
    {Method::CentralSymmetryPoint,     Kind::Point,       "Punto (simetría central)",      T::None,        true,  {P::Point, P::Point}},
    {Method::Midpoint,                 Kind::Point,       "Punto medio",                   T::None,        true,  {P::Point, P::Point}},
    {Method::LineThroughPoint,         Kind::Line,        "Recta por punto",               T::None,        true,  {P::Point}},
    {Method::LineThroughTwoPoints,     Kind::Line,        "Recta por 2 puntos",            T::None,        true,  {P::Point, P::Point}},
    {Method::RayThroughPoint,          Kind::Ray,         "Semirecta por 1 punto",         T::None,        true,  {P::Point}},
    {Method::RayThroughTwoPoints,      Kind::Ray,         "Semirecta por 2 puntos",        T::None,        true,  {P::Point, P::Point}},
    {Method::ParallelLine,             Kind::Line,        "Recta paralela",                T::None,        true,  {P::Straight, P::Point}},
    {Method::PerpendicularLine,        Kind::Line,        "Recta perpendicular",           T::None,        true,  {P::Straight, P::Point}},
    {Method::AngleBisector,            Kind::Line,        "Bisectriz",                     T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::PerpendicularBisector,    Kind::Line,        "Mediatriz",                     T::None,        true,  {P::Point, P::Point}},
    {Method::Segment,                  Kind::Segment,     "Segmento",                      T::None,        true,  {P::Point, P::Point}},
    {Method::Polygon,                  Kind::Polygon,     "Polígono",                      T::Polygon,     true,  {}},
    {Method::PolygonSide,              Kind::Segment,     "Lado de un poligono",           T::None,        false, {P::Point, P::Point, Poly}},
    {Method::CircleByCentre,           Kind::Circle,      "Circunferencia dado el centro", T::None,        true,  {P::Point}},
    {Method::CircleCentrePoint,        Kind::Circle,      "Circunferencia dados centro y punto", T::None,  true,  {P::Point, P::Point}},
    {Method::CircleRadiusCentre,       Kind::Circle,      "Circunferencia dados el radio y el centro", T::None, true, {P::Point, P::Point, P::Point}},
    {Method::ArcThreePoints,           Kind::Arc,         "Arco dados 3 puntos",           T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::Angle,                    Kind::Angle,       "Angulo",                        T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::Locus,                    Kind::Locus,       "Lugar geométrico",              T::SampledCurve, true, {P::Point | P::Curve, P::Point | P::Number}},
    {Method::AxialSymmetryPoint,       Kind::Point,       "Punto (simetría axial)",        T::None,        true,  {P::Point, P::Straight}},
    {Method::TranslationPoint,         Kind::Point,       "Punto (traslación)",            T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::RotationPoint,            Kind::Point,       "Punto (giro)",                  T::None,        true,  {P::Point, P::Point, P::Number}},
    {Method::HomothetyPoint,           Kind::Point,       "Punto homotetico",              T::None,        true,  {P::Point, P::Point, P::Number}},
    {Method::InversePoint,             Kind::Point,       "Punto inverso",                 T::None,        true,  {P::Circle, P::Point}},
    {Method::DisplacedPoint,           Kind::Point,       "Punto desplazado",              T::None,        true,  {P::Point, P::Straight | P::Circle, P::Number}},
    {Method::DistancePointPoint,       Kind::Number,      "Distancia(punto a punto)",      T::None,        true,  {P::Point, P::Point}},
    {Method::DistancePointLine,        Kind::Number,      "Distancia(punto a recta)",      T::None,        true,  {P::Point, P::Straight}},
    {Method::SegmentLength,            Kind::Number,      "Longitud(segmento)",            T::None,        true,  {Seg | Vec}},
    {Method::CircleLength,             Kind::Number,      "Longitud(circunferencia)",      T::None,        true,  {P::Circle}},
    {Method::ArcLength,                Kind::Number,      "Longitud(arco)",                T::None,        true,  {kindBit(Kind::Arc)}},
    {Method::PolygonPerimeter,         Kind::Number,      "Perímetro(polígono)",           T::None,        true,  {Poly}},
    {Method::CircleArea,               Kind::Number,      "Area (circunferencia)",         T::None,        true,  {P::Circle}},
    {Method::PolygonArea,              Kind::Number,      "Area (polígono)",               T::None,        true,  {Poly}},
    {Method::AngleValue,               Kind::Number,      "ángulo(valor)",                 T::None,        true,  {P::Point | kindBit(Kind::Arc), P::Point, P::Point}},
    {Method::Calculation,              Kind::Number,      "Cálculo",                       T::Expression,  true,  {}},
    {Method::Table,                    Kind::Table,       "Tabla",                         T::Table,       true,  {}},
    {Method::Axes,                     Kind::Axes,        "Ejes de coordenadas",           T::Axes,        true,  {P::Point}},
    {Method::AxisX,                    Kind::Line,        "Eje x",                         T::None,        false, {P::Point, P::Axes}},
    {Method::AxisY,                    Kind::Line,        "Eje y",                         T::None,        false, {P::Point, P::Axes}},
    {Method::Coordinates,              Kind::Coordinates, "coordenadas de un punto",       T::Coordinates, true,  {P::Point, P::Axes}},
    {Method::CoordinateX,              Kind::Number,      "coordenada x o r de un punto",  T::None,        false, {P::Point, Coords}},
    {Method::CoordinateY,              Kind::Number,      "coordenada y o theta de un punto", T::None,     false, {P::Point, Coords}},
    {Method::LineEquation,             Kind::Equation,    "ecuación (recta)",              T::Equation,    true,  {Lines, P::Axes}},
    {Method::CircleEquation,           Kind::Equation,    "ecuación (circunferencia)",     T::Equation,    true,  {P::Circle, P::Axes}},
    {Method::Text,                     Kind::Text,        "Texto",                         T::Text,        true,  {}},
    {Method::Name,                     Kind::Name,        "Nombre",                        T::Name,        true,  {P::Any}},
    {Method::PointWithCoordinates,     Kind::Point,       "Punto con coordenadas",         T::None,        true,  {P::Number, P::Number, P::Axes}},
    {Method::ParallelCheck,            Kind::Property,    "comprobador de paralelismo",    T::Check,       true,  {P::Straight, P::Straight}},
    {Method::PerpendicularCheck,       Kind::Property,    "comprobador de perpendicularidad", T::Check,    true,  {P::Straight, P::Straight}},
    {Method::MembershipCheck,          Kind::Property,    "comprobador de pertenencia",    T::Check,       true,  {P::Point, P::Curve}},
    {Method::EquidistanceCheck,        Kind::Property,    "comprobador de equidistancia",  T::Check,       true,  {P::Point, P::Point, P::Point}},
    {Method::AlignmentCheck,           Kind::Property,    "comprobador de alineación",     T::Check,       true,  {P::Point, P::Point, P::Point}},
    {Method::Conic,                    Kind::Conic,       "Cónica por 5 puntos",           T::Conic,       true,  {}},
    {Method::Slope,                    Kind::Number,      "Pendiente",                     T::None,        true,  {P::Straight}},
    {Method::Intersection,             Kind::Intersection, "intersección",                 T::None,        true,  {P::SingleCurve, P::SingleCurve}},
    {Method::ConicEquation,            Kind::Equation,    "ecuación (cónica)",             T::Equation,    true,  {kindBit(Kind::Conic), P::Axes}},
    {Method::RegularPolygonVertex,     Kind::Point,       "Vértice de polígono regular",   T::None,        true,  {P::Point, P::Point}},
    {Method::RepresentedPoint,         Kind::Point,       "Punto representado",            T::None,        true,  {P::Axes}},
    {Method::Grid,                     Kind::Grid,        "Cuadrícula",                    T::None,        true,  {P::Axes}},
    {Method::GridPoint,                Kind::Point,       "Punto en cuadrícula",           T::None,        true,  {kindBit(Kind::Grid)}},
    {Method::Parameter,                Kind::Number,      "Parámetro",                     T::Parameter,   true,  {}},
    {Method::Function,                 Kind::Function,    "Función",                       T::Expression,  true,  {}},
    {Method::FunctionGraph,            Kind::Locus,       "Representación de función",     T::SampledCurve, true, {kindBit(Kind::Function), P::Axes}},
    {Method::ShowHideButton,           Kind::Button,      "Botón Ocultar/Ver",             T::Button,      true,  {}},
    {Method::Bitmap,                   Kind::Bitmap,      "Bitmap",                        T::Bitmap,      true,  {P::Point | Seg | Vec}},
    {Method::Proportion,               Kind::Number,      "Proporción",                    T::None,        true,  {P::Point | Seg | Vec, P::Point | Seg | Vec, P::Point}},
    {Method::Vector,                   Kind::Vector,      "Vector",                        T::None,        true,  {P::Point, P::Point}},
    {Method::MotionButton,             Kind::Button,      "Botón Movimiento",              T::Button,      true,  {}},
    {Method::Iteration,                Kind::Iteration,   "Iteración",                     T::Iteration,   true,  {}},
    {Method::VectorSumPoint,           Kind::Point,       "Punto (vector suma)",           T::None,        true,  {Vec, Vec, P::Point}},
    {Method::CircleRadiusNumberCentre, Kind::Circle,      "Circunferencia dados el radio(numero) y el centro", T::None, true, {P::Point, P::Number}},
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
