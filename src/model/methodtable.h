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
    // code                              kind              name                       nameId tail           listed  parent1..3
    {Method::FreePoint,                Kind::Point,       "Punto Libre", 100,                   T::None,        true,  {}},
    {Method::PointOnElement,           Kind::Point,       "Punto en elemento", 101,             T::None,        true,  {P::Curve}},
    {Method::IntersectionPoint,        Kind::Point,       "Punto de intersección", 102,         T::None,        true,  {P::SingleCurve, P::SingleCurve}},
    {Method::CentralSymmetryPoint,     Kind::Point,       "Punto (simetría central)", 103,      T::None,        true,  {P::Point, P::Point}},
    {Method::Midpoint,                 Kind::Point,       "Punto medio", 104,                   T::None,        true,  {P::Point, P::Point}},
    {Method::LineThroughPoint,         Kind::Line,        "Recta por punto", 105,               T::None,        true,  {P::Point}},
    {Method::LineThroughTwoPoints,     Kind::Line,        "Recta por 2 puntos", 106,            T::None,        true,  {P::Point, P::Point}},
    {Method::RayThroughPoint,          Kind::Ray,         "Semirecta por 1 punto", 107,         T::None,        true,  {P::Point}},
    {Method::RayThroughTwoPoints,      Kind::Ray,         "Semirecta por 2 puntos", 108,        T::None,        true,  {P::Point, P::Point}},
    {Method::ParallelLine,             Kind::Line,        "Recta paralela", 109,                T::None,        true,  {P::Straight, P::Point}},
    {Method::PerpendicularLine,        Kind::Line,        "Recta perpendicular", 110,           T::None,        true,  {P::Straight, P::Point}},
    {Method::AngleBisector,            Kind::Line,        "Bisectriz", 111,                     T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::PerpendicularBisector,    Kind::Line,        "Mediatriz", 112,                     T::None,        true,  {P::Point, P::Point}},
    {Method::Segment,                  Kind::Segment,     "Segmento", 113,                      T::None,        true,  {P::Point, P::Point}},
    {Method::Polygon,                  Kind::Polygon,     "Polígono", 114,                      T::Polygon,     true,  {}},
    {Method::PolygonSide,              Kind::Segment,     "Lado de un poligono", 115,           T::None,        false, {P::Point, P::Point, Poly}},
    {Method::CircleByCentre,           Kind::Circle,      "Circunferencia dado el centro", 116, T::None,        true,  {P::Point}},
    {Method::CircleCentrePoint,        Kind::Circle,      "Circunferencia dados centro y punto", 117, T::None,  true,  {P::Point, P::Point}},
    {Method::CircleRadiusCentre,       Kind::Circle,      "Circunferencia dados el radio y el centro", 118, T::None, true, {P::Point, P::Point, P::Point}},
    {Method::ArcThreePoints,           Kind::Arc,         "Arco dados 3 puntos", 119,           T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::Angle,                    Kind::Angle,       "Angulo", 120,                        T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::Locus,                    Kind::Locus,       "Lugar geométrico", 121,              T::SampledCurve, true, {P::Point | P::Curve, P::Point | P::Number}},
    {Method::AxialSymmetryPoint,       Kind::Point,       "Punto (simetría axial)", 122,        T::None,        true,  {P::Point, P::Straight}},
    {Method::TranslationPoint,         Kind::Point,       "Punto (traslación)", 123,            T::None,        true,  {P::Point, P::Point, P::Point}},
    {Method::RotationPoint,            Kind::Point,       "Punto (giro)", 124,                  T::None,        true,  {P::Point, P::Point, P::Number}},
    {Method::HomothetyPoint,           Kind::Point,       "Punto homotetico", 125,              T::None,        true,  {P::Point, P::Point, P::Number}},
    {Method::InversePoint,             Kind::Point,       "Punto inverso", 126,                 T::None,        true,  {P::Circle, P::Point}},
    {Method::DisplacedPoint,           Kind::Point,       "Punto desplazado", 127,              T::None,        true,  {P::Point, P::Straight | P::Circle, P::Number}},
    {Method::DistancePointPoint,       Kind::Number,      "Distancia(punto a punto)", 128,      T::None,        true,  {P::Point, P::Point}},
    {Method::DistancePointLine,        Kind::Number,      "Distancia(punto a recta)", 129,      T::None,        true,  {P::Point, P::Straight}},
    {Method::SegmentLength,            Kind::Number,      "Longitud(segmento)", 130,            T::None,        true,  {Seg | Vec}},
    {Method::CircleLength,             Kind::Number,      "Longitud(circunferencia)", 131,      T::None,        true,  {P::Circle}},
    {Method::ArcLength,                Kind::Number,      "Longitud(arco)", 132,                T::None,        true,  {kindBit(Kind::Arc)}},
    {Method::PolygonPerimeter,         Kind::Number,      "Perímetro(polígono)", 133,           T::None,        true,  {Poly}},
    {Method::CircleArea,               Kind::Number,      "Area (circunferencia)", 134,         T::None,        true,  {P::Circle}},
    {Method::PolygonArea,              Kind::Number,      "Area (polígono)", 135,               T::None,        true,  {Poly}},
    {Method::AngleValue,               Kind::Number,      "ángulo(valor)", 136,                 T::None,        true,  {P::Point | kindBit(Kind::Arc), P::Point, P::Point}},
    {Method::Calculation,              Kind::Number,      "Cálculo", 137,                       T::Expression,  true,  {}},
    {Method::Table,                    Kind::Table,       "Tabla", 138,                         T::Table,       true,  {}},
    {Method::Axes,                     Kind::Axes,        "Ejes de coordenadas", 139,           T::Axes,        true,  {P::Point}},
    {Method::AxisX,                    Kind::Line,        "Eje x", 140,                         T::None,        false, {P::Point, P::Axes}},
    {Method::AxisY,                    Kind::Line,        "Eje y", 141,                         T::None,        false, {P::Point, P::Axes}},
    {Method::Coordinates,              Kind::Coordinates, "coordenadas de un punto", 142,       T::Coordinates, true,  {P::Point, P::Axes}},
    {Method::CoordinateX,              Kind::Number,      "coordenada x o r de un punto", 143,  T::None,        false, {P::Point, Coords}},
    {Method::CoordinateY,              Kind::Number,      "coordenada y o theta de un punto", 144, T::None,     false, {P::Point, Coords}},
    {Method::LineEquation,             Kind::Equation,    "ecuación (recta)", 145,              T::Equation,    true,  {Lines, P::Axes}},
    {Method::CircleEquation,           Kind::Equation,    "ecuación (circunferencia)", 146,     T::Equation,    true,  {P::Circle, P::Axes}},
    {Method::Text,                     Kind::Text,        "Texto", 147,                         T::Text,        true,  {}},
    {Method::Name,                     Kind::Name,        "Nombre", 148,                        T::Name,        true,  {P::Any}},
    {Method::PointWithCoordinates,     Kind::Point,       "Punto con coordenadas", 149,         T::None,        true,  {P::Number, P::Number, P::Axes}},
    {Method::ParallelCheck,            Kind::Property,    "comprobador de paralelismo", 150,    T::Check,       true,  {P::Straight, P::Straight}},
    {Method::PerpendicularCheck,       Kind::Property,    "comprobador de perpendicularidad", 151, T::Check,    true,  {P::Straight, P::Straight}},
    {Method::MembershipCheck,          Kind::Property,    "comprobador de pertenencia", 152,    T::Check,       true,  {P::Point, P::Curve}},
    {Method::EquidistanceCheck,        Kind::Property,    "comprobador de equidistancia", 153,  T::Check,       true,  {P::Point, P::Point, P::Point}},
    {Method::AlignmentCheck,           Kind::Property,    "comprobador de alineación", 154,     T::Check,       true,  {P::Point, P::Point, P::Point}},
    {Method::Conic,                    Kind::Conic,       "Cónica por 5 puntos", 155,           T::Conic,       true,  {}},
    {Method::Slope,                    Kind::Number,      "Pendiente", 156,                     T::None,        true,  {P::Straight}},
    {Method::Intersection,             Kind::Intersection, "intersección", 157,                 T::None,        true,  {P::SingleCurve, P::SingleCurve}},
    {Method::ConicEquation,            Kind::Equation,    "ecuación (cónica)", 158,             T::Equation,    true,  {kindBit(Kind::Conic), P::Axes}},
    {Method::RegularPolygonVertex,     Kind::Point,       "Vértice de polígono regular", 159,   T::None,        true,  {P::Point, P::Point}},
    {Method::RepresentedPoint,         Kind::Point,       "Punto representado", 160,            T::None,        true,  {P::Axes}},
    {Method::Grid,                     Kind::Grid,        "Cuadrícula", 161,                    T::None,        true,  {P::Axes}},
    {Method::GridPoint,                Kind::Point,       "Punto en cuadrícula", 162,           T::None,        true,  {kindBit(Kind::Grid)}},
    {Method::Parameter,                Kind::Number,      "Parámetro", 163,                     T::Parameter,   true,  {}},
    {Method::Function,                 Kind::Function,    "Función", 164,                       T::Expression,  true,  {}},
    {Method::FunctionGraph,            Kind::Locus,       "Representación de función", 165,     T::SampledCurve, true, {kindBit(Kind::Function), P::Axes}},
    {Method::ShowHideButton,           Kind::Button,      "Botón Ocultar/Ver", 166,             T::Button,      true,  {}},
    {Method::Bitmap,                   Kind::Bitmap,      "Bitmap", 167,                        T::Bitmap,      true,  {P::Point | Seg | Vec}},
    {Method::Proportion,               Kind::Number,      "Proporción", 168,                    T::None,        true,  {P::Point | Seg | Vec, P::Point | Seg | Vec, P::Point}},
    {Method::Vector,                   Kind::Vector,      "Vector", 169,                        T::None,        true,  {P::Point, P::Point}},
    {Method::MotionButton,             Kind::Button,      "Botón Movimiento", 170,              T::Button,      true,  {}},
    {Method::Iteration,                Kind::Iteration,   "Iteración", 171,                     T::Iteration,   true,  {}},
    {Method::VectorSumPoint,           Kind::Point,       "Punto (vector suma)", 172,           T::None,        true,  {Vec, Vec, P::Point}},
    {Method::CircleRadiusNumberCentre, Kind::Circle,      "Circunferencia dados el radio(numero) y el centro", 173, T::None, true, {P::Point, P::Number}},
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
