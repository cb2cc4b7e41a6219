#include "view/tooltable.h"

#include <utility>

namespace qorv {

namespace {

using K = std::pair<int, int>; // kind, counter

constexpr int Many = 127; // a polygon takes points until it is closed

// Kind groups used by several rows.
constexpr std::initializer_list<int> kStraight = {Kind::Line,    Kind::Ray,    Kind::Segment,
                                                  Kind::Polygon, Kind::Vector, Kind::Axes};
constexpr std::initializer_list<int> kGeometric = {Kind::Point,   Kind::Line,    Kind::Ray,
                                                   Kind::Segment, Kind::Polygon, Kind::Circle,
                                                   Kind::Arc,     Kind::Conic,   Kind::Vector};
constexpr std::initializer_list<int> kTextLike = {Kind::Text,        Kind::Name,     Kind::Number,
                                                  Kind::Function,    Kind::Table,    Kind::Equation,
                                                  Kind::Coordinates, Kind::Property, Kind::Button};
constexpr std::initializer_list<int> kLineStyled = {
    Kind::Line,  Kind::Ray,  Kind::Segment, Kind::Polygon, Kind::Circle,   Kind::Arc,
    Kind::Locus, Kind::Axes, Kind::Conic,   Kind::Vector,  Kind::Iteration};

struct RowBuilder {
    ToolInfo info;
    RowBuilder(int number, int cursor, const char* button) {
        info.number = number;
        info.cursor = cursor;
        info.button = button;
    }
    RowBuilder& points(int n) {
        info.needs[0] = int8_t(n);
        return *this;
    }
    RowBuilder& kinds(std::initializer_list<int> ks, int n = 1) {
        for (int k : ks)
            info.needs[k] = int8_t(n);
        return *this;
    }
    // Every kind of the mask (a method's parent kinds).
    RowBuilder& mask(KindMask m, int n = 1) {
        for (int k = 0; k < Kind::Count; ++k)
            if (hasKind(m, k)) info.needs[k] = int8_t(n);
        return *this;
    }
    RowBuilder& kind(int k, int n = 1) {
        info.needs[k] = int8_t(n);
        return *this;
    }
    RowBuilder& all() {
        for (int k = 0; k < Kind::Count; ++k)
            if (k != Kind::Intersection) info.needs[k] = 1;
        return *this;
    }
    RowBuilder& makes(std::initializer_list<int> ms) {
        size_t i = 0;
        for (int m : ms)
            if (i < info.methods.size()) info.methods[i++] = int16_t(m);
        return *this;
    }
};

std::array<ToolInfo, ToolCount> buildTable() {
    std::array<ToolInfo, ToolCount> t{};
    auto set = [&](RowBuilder& b) { t[size_t(b.info.number)] = b.info; };
    auto row = [&](int number, int cursor, const char* button) {
        return RowBuilder(number, cursor, button);
    };
    {
        auto r = row(0, 4, "Sel").all();
        set(r);
    }
    auto pts = [&](int number, const char* button, int n, std::initializer_list<int> methods) {
        auto r = row(number, 1, button).points(n).makes(methods);
        set(r);
    };
    pts(1, "B_Punto", 1, {Method::FreePoint, Method::PointOnElement, Method::IntersectionPoint});
    pts(2, "B_Recta", 2, {Method::LineThroughTwoPoints, Method::LineThroughPoint});
    pts(3, "B_Rayo", 2, {Method::RayThroughTwoPoints, Method::RayThroughPoint});
    pts(4, "B_Conica_5p", 5, {Method::Conic});
    pts(5, "B_Circunf", 2, {Method::CircleCentrePoint, Method::CircleByCentre});
    {
        auto r = row(6, 1, "B_Circ2pr")
                     .points(3)
                     .kind(Kind::Segment)
                     .mask(parentKinds(Method::CircleRadiusNumberCentre, 1))
                     .makes({Method::CircleRadiusCentre, Method::CircleRadiusNumberCentre});
        set(r);
    }
    for (int tool : {7, 8}) {
        const ConstructionMethod m = tool == 7 ? Method::ParallelLine : Method::PerpendicularLine;
        auto r = row(tool, 1, tool == 7 ? "B_Recta_Para" : "B_Recta_Perp")
                     .points(1)
                     .mask(clickableFor(parentKinds(m, 0)))
                     .makes({m});
        set(r);
    }
    pts(9, "B_Segmento", 2, {Method::Segment});
    pts(10, "B_Poligono", Many, {Method::Polygon});
    pts(11, "B_Polireg", 2, {Method::RegularPolygonVertex, Method::Polygon});
    pts(12, "B_vector", 2, {Method::Vector});
    {
        auto r = row(13, 1, "B_vectorsuma")
                     .points(1)
                     .mask(parentKinds(Method::VectorSumPoint, 0), 2)
                     .makes({Method::VectorSumPoint, Method::Vector});
        set(r);
    }
    pts(14, "B_arco3p", 3, {Method::ArcThreePoints});
    {
        auto r = row(15, 1, "B_2_div_seg").points(2).kind(Kind::Segment).makes({Method::Midpoint});
        set(r);
        auto b =
            row(16, 1, "B_2_Sectriz").points(3).kind(Kind::Angle).makes({Method::AngleBisector});
        set(b);
        auto m = row(17, 1, "B_Mediatriz")
                     .points(2)
                     .kind(Kind::Segment)
                     .makes({Method::PerpendicularBisector});
        set(m);
    }
    {
        auto r = row(18, 1, "B_Punto_Inter")
                     .mask(clickableFor(parentKinds(Method::IntersectionPoint, 0)), 2)
                     .makes({Method::IntersectionPoint});
        set(r);
    }
    {
        auto r = row(19, 1, "B_Lugar_G")
                     .mask(parentKinds(Method::Locus, 0) | parentKinds(Method::Locus, 1))
                     .makes({Method::Locus});
        set(r);
    }
    // Transformations: the element to transform, then what defines the transformation.
    {
        auto r = row(20, 1, "B_Punto_Sim").kinds(kGeometric).makes({Method::CentralSymmetryPoint});
        set(r);
        auto a = row(21, 1, "B_sim_ax")
                     .kinds(kGeometric)
                     .mask(clickableFor(parentKinds(Method::AxialSymmetryPoint, 1)));
        a.makes({Method::AxialSymmetryPoint});
        set(a);
        auto tr = row(22, 1, "B_traslac").kinds(kGeometric).makes({Method::TranslationPoint});
        set(tr);
        auto g = row(23, 1, "B_giro").kinds(kGeometric).mask(parentKinds(Method::RotationPoint, 2));
        g.makes({Method::RotationPoint, Method::AngleValue});
        set(g);
        auto h =
            row(24, 1, "B_homotec").kinds(kGeometric).mask(parentKinds(Method::HomothetyPoint, 2));
        h.makes({Method::HomothetyPoint});
        set(h);
        auto i = row(25, 1, "B_inversion")
                     .points(1)
                     .mask(parentKinds(Method::InversePoint, 0))
                     .makes({Method::InversePoint});
        set(i);
    }
    {
        const char* names[] = {"B_comp_par", "B_comp_per", "B_comp_pert", "B_comp_eq",
                               "B_comp_3pa"};
        for (int c = 0; c < 5; ++c) {
            const ConstructionMethod m = Method::ParallelCheck + c;
            auto r = row(26 + c, 20, names[c]).makes({m});
            if (c < 2) r.mask(clickableFor(parentKinds(m, 1)), 2);
            if (c == 2) r.points(1).mask(clickableFor(parentKinds(m, 1)));
            if (c == 3) r.points(3).kinds(kStraight);
            if (c == 4) r.points(3);
            set(r);
        }
    }
    {
        auto r = row(31, 1, "B_punto_desp")
                     .points(1)
                     .mask(parentKinds(Method::DisplacedPoint, 1))
                     .mask(parentKinds(Method::DisplacedPoint, 2))
                     .makes({Method::DisplacedPoint});
        set(r);
        auto c = row(32, 2, "B_puncoord")
                     .kind(Kind::Number, 2)
                     .kind(Kind::Coordinates)
                     .kind(Kind::Axes)
                     .makes({Method::PointWithCoordinates});
        set(c);
        auto rp = row(33, 2, "B_rep_pun")
                      .mask(parentKinds(Method::RepresentedPoint, 0))
                      .makes({Method::RepresentedPoint});
        set(rp);
        auto ld =
            row(34, 2, "B_N_longdist")
                .points(2)
                .mask(parentKinds(Method::SegmentLength, 0) |
                      parentKinds(Method::PolygonPerimeter, 0) |
                      parentKinds(Method::CircleLength, 0) | parentKinds(Method::ArcLength, 0) |
                      clickableFor(parentKinds(Method::DistancePointLine, 1)))
                .makes({Method::DistancePointPoint, Method::DistancePointLine,
                        Method::SegmentLength, Method::PolygonPerimeter, Method::CircleLength,
                        Method::ArcLength});
        set(ld);
        auto an = row(35, 2, "B_N_angulo").points(3).kind(Kind::Angle).kind(Kind::Arc);
        an.makes({Method::AngleValue});
        set(an);
        auto ar =
            row(36, 2, "B_N_area")
                .mask(parentKinds(Method::PolygonArea, 0) | parentKinds(Method::CircleArea, 0));
        ar.makes({Method::PolygonArea, Method::CircleArea});
        set(ar);
        auto sl = row(37, 2, "B_N_pend").mask(parentKinds(Method::Slope, 0));
        sl.makes({Method::Slope});
        set(sl);
        auto pr = row(38, 2, "B_N_prop").points(3).kind(Kind::Segment, 2).kind(Kind::Vector, 2);
        pr.makes({Method::Proportion});
        set(pr);
        auto ax = row(39, 1, "B_N_ejes").points(1).makes({Method::Axes});
        set(ax);
        auto eq =
            row(40, 2, "B_N_ecoord")
                .mask(parentKinds(Method::Coordinates, 0) | parentKinds(Method::LineEquation, 0) |
                      parentKinds(Method::CircleEquation, 0) |
                      parentKinds(Method::ConicEquation, 0) | parentKinds(Method::LineEquation, 1))
                .makes({Method::LineEquation, Method::CircleEquation, Method::ConicEquation,
                        Method::Coordinates});
        set(eq);
        auto gr =
            row(41, 2, "B_N_cuadricula").mask(parentKinds(Method::Grid, 0)).makes({Method::Grid});
        set(gr);
        auto ca = row(42, 2, "B_N_calcular").kinds({Kind::Number, Kind::Coordinates});
        ca.makes({Method::Calculation});
        set(ca);
        auto pa = row(43, 2, "B_N_parametro").makes({Method::Parameter});
        set(pa);
        auto fu =
            row(44, 2, "B_N_funcion").kinds({Kind::Number, Kind::Function, Kind::Coordinates});
        fu.makes({Method::Function});
        set(fu);
        auto rf = row(45, 2, "B_N_rep_fun")
                      .mask(parentKinds(Method::FunctionGraph, 0) |
                            parentKinds(Method::FunctionGraph, 1));
        rf.makes({Method::FunctionGraph});
        set(rf);
    }
    {
        auto r = row(46, 19, "B_redefpun").points(1);
        set(r);
        auto tr = row(47, 18, "B_traza").kinds(kGeometric).kind(Kind::Locus);
        set(tr);
        auto an = row(48, 13, "B_anim").kind(Kind::Point).kind(Kind::Number);
        set(an);
        auto rot = row(49, 25, "B_SelRot").all();
        set(rot);
        auto z = row(50, 14, "B_zoom");
        set(z);
        auto tb =
            row(51, 16, "B_N_tabla").kind(Kind::Number).kind(Kind::Table).kind(Kind::Coordinates);
        tb.makes({Method::Table});
        set(tb);
        for (int m = 52; m <= 54; ++m) {
            auto mc = row(m, m == 52 ? 1 : m == 53 ? 23 : 24, "B_MacCon").all();
            set(mc);
        }
        auto tx = row(55, 8, "B_Texto").makes({Method::Text});
        set(tx);
        auto ang = row(56, 1, "B_Angulo").points(3).makes({Method::Angle});
        set(ang);
        auto sh = row(57, 15, "B_vernoverbot").all().makes({Method::ShowHideButton});
        set(sh);
        auto mv = row(58, 15, "B_movbot").all().makes({Method::MotionButton});
        set(mv);
        auto bm = row(59, 17, "B_inbitmap").kind(Kind::Point).makes({Method::Bitmap});
        set(bm);
        auto it = row(60, 1, "B_iteracion").all().makes({Method::Iteration});
        set(it);
    }
    {
        auto v = row(61, 7, "B_vernover").all();
        set(v);
        auto e = row(62, 9, "B_editelem").all();
        set(e);
        auto d = row(63, 11, "B_elimelem").all();
        set(d);
        auto f = row(64, 22, "B_font").kinds(kTextLike);
        set(f);
        auto c = row(65, 6, "B_color").all();
        set(c);
        auto fill = row(66, 21, "B_color_relleno")
                        .kinds({Kind::Polygon, Kind::Circle, Kind::Angle, Kind::Iteration})
                        .kinds(kTextLike);
        set(fill);
        auto pc = row(67, 6, "B_color").all();
        set(pc);
        auto pf = row(68, 21, "B_color_relleno").all();
        set(pf);
        const char* shapes[] = {"B_edit_pnor",  "B_edit_p1p",   "B_edit_pcruz",
                                "B_edit_pgran", "B_edit_pcuad", "B_edit_pgran2"};
        for (int i = 0; i < 6; ++i) {
            auto s = row(69 + i, 6, shapes[i]).kind(Kind::Point);
            set(s);
        }
        const char* lines[] = {"B_edit_linor",   "B_edit_lipun",   "B_edit_lipray",
                               "B_edit_ligran5", "B_edit_ligran7", "B_edit_ligran"};
        for (int i = 0; i < 6; ++i) {
            auto s = row(75 + i, 6, lines[i]).kinds(kLineStyled);
            set(s);
        }
        const char* marks[] = {"B_edit_ang1", "B_edit_ang2", "B_edit_ang3"};
        for (int i = 0; i < 3; ++i) {
            auto s = row(81 + i, 6, marks[i]).kind(Kind::Angle);
            set(s);
        }
    }
    return t;
}

} // namespace

const ToolInfo& toolInfo(int tool) {
    static const std::array<ToolInfo, ToolCount> table = buildTable();
    return table[size_t(tool >= 0 && tool < ToolCount ? tool : 0)];
}

KindMask hitFilter(const NeedsRow& needs) {
    KindMask m = 0;
    for (int k = 0; k < Kind::Count; ++k)
        if (needs[k] > 0) m |= kindBit(k);
    if (needs.points() > 0) m |= PointHostKinds;
    return m;
}

bool toolNeedsPoints(int tool) {
    return tool != Tool::Move && toolInfo(tool).needs.points() > 0;
}

} // namespace qorv
