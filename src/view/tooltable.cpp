#include "view/tooltable.h"

#include "model/uitext.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace qorv {

namespace {

using K = std::pair<int, int>; // kind, counter

constexpr int Many = 127; // a polygon takes points until it is closed

// The help pages.
constexpr const char* Start = "index.html";
constexpr const char* Build = "construir.html";
constexpr const char* Measure = "medir.html";
constexpr const char* Transform = "transformar.html";
constexpr const char* Edit = "editar.html";
constexpr const char* View = "ver.html";
constexpr const char* Macros = "macros.html";

// Where the user meets each tool: the menus, and the help. A row per tool, in tool order.
struct ToolPlace {
    int tool;
    MenuPlace menu;
    HelpTopic help;
};
constexpr MenuPlace item(const char* menu, const char* name) {
    return {ToolReach::MenuItem, menu, name};
}
constexpr MenuPlace editBar(const char* button) {
    return {ToolReach::EditBar, "B_edicion", button};
}
constexpr MenuPlace macroDialog = {ToolReach::Dialog, "M_macros_menu", "M_macros"};
constexpr const char* MBuild = "M_construccion";
constexpr const char* MMeasure = "M_medir";
constexpr const char* MTransform = "M_transformar";
constexpr const char* MEdit = "M_edicion";
constexpr const char* MView = "M_ver";

// clang-format off
constexpr std::array<ToolPlace, ToolCount> kPlaces = {{
    {Tool::Move,                  item(MEdit, "Sel1"),              {Start, ""}},
    {Tool::Point,                 item(MBuild, "M_Punto"),          {Build, "punto"}},
    {Tool::Line,                  item(MBuild, "M_Recta"),          {Build, "recta"}},
    {Tool::Ray,                   item(MBuild, "M_Rayo"),           {Build, "semirrecta"}},
    {Tool::Conic,                 item(MBuild, "M_Conica"),         {Build, "conica"}},
    {Tool::Circle,                item(MBuild, "M_Circunf"),        {Build, "circunferencia"}},
    {Tool::CircleRadius,          item(MBuild, "M_Circ2pr"),        {Build, "circunferencia"}},
    {Tool::Parallel,              item(MBuild, "M_Recta_Para"),     {Build, "paralela"}},
    {Tool::Perpendicular,         item(MBuild, "M_Recta_Perp"),     {Build, "paralela"}},
    {Tool::Segment,               item(MBuild, "M_Segmento"),       {Build, "segmento"}},
    {Tool::Polygon,               item(MBuild, "M_Poligono"),       {Build, "poligono"}},
    {Tool::RegularPolygon,        item(MBuild, "M_Polireg"),        {Build, "poligono"}},
    {Tool::Vector,                item(MBuild, "M_vector"),         {Build, "vector"}},
    {Tool::VectorSum,             item(MBuild, "M_vectorsuma"),     {Build, "vector"}},
    {Tool::Arc,                   item(MBuild, "M_arco3p"),         {Build, "arco"}},
    {Tool::Midpoint,              item(MBuild, "M_2_div_seg"),      {Build, "puntomedio"}},
    {Tool::AngleBisector,         item(MBuild, "M_2_Sectriz"),      {Build, "puntomedio"}},
    {Tool::PerpendicularBisector, item(MBuild, "M_Mediatriz"),      {Build, "puntomedio"}},
    {Tool::Intersection,          item(MBuild, "M_Punto_Inter"),    {Build, "interseccion"}},
    {Tool::Locus,                 item(MBuild, "M_Lugar_G"),        {Build, "lugar"}},
    {Tool::CentralSymmetry,       item(MTransform, "M_Punto_Sim"),  {Transform, "simetria"}},
    {Tool::AxialSymmetry,         item(MTransform, "M_simax"),      {Transform, "simetria"}},
    {Tool::Translation,           item(MTransform, "M_traslacion"), {Transform, "traslacion"}},
    {Tool::Rotation,              item(MTransform, "M_giro"),       {Transform, "traslacion"}},
    {Tool::Homothety,             item(MTransform, "M_homotecia"),  {Transform, "homotecia"}},
    {Tool::Inversion,             item(MTransform, "M_inversion"),  {Transform, "homotecia"}},
    {Tool::ParallelCheck,         item(MTransform, "M_comp_par"),   {Transform, "comprobar"}},
    {Tool::PerpendicularCheck,    item(MTransform, "M_comp_per"),   {Transform, "comprobar"}},
    {Tool::MembershipCheck,       item(MTransform, "M_comp_pert"),  {Transform, "comprobar"}},
    {Tool::EquidistanceCheck,     item(MTransform, "M_comp_eq"),    {Transform, "comprobar"}},
    {Tool::AlignmentCheck,        item(MTransform, "M_comp_3pa"),   {Transform, "comprobar"}},
    {Tool::DisplacedPoint,        item(MTransform, "M_punto_desp"), {Transform, "desplazado"}},
    {Tool::PointWithCoordinates,  item(MMeasure, "M_puncoord"),     {Measure, "coordenadas"}},
    {Tool::RepresentPoints,       item(MMeasure, "M_rep_pun"),      {Measure, "coordenadas"}},
    {Tool::LengthDistance,        item(MMeasure, "M_N_longdist"),   {Measure, "medidas"}},
    {Tool::AngleMeasure,          item(MMeasure, "M_N_angulo"),     {Measure, "medidas"}},
    {Tool::Area,                  item(MMeasure, "M_N_area"),       {Measure, "medidas"}},
    {Tool::Slope,                 item(MMeasure, "M_N_pend"),       {Measure, "medidas"}},
    {Tool::Proportion,            item(MMeasure, "M_N_prop"),       {Measure, "medidas"}},
    {Tool::Axes,                  item(MMeasure, "M_N_ejes"),       {Measure, "ejes"}},
    {Tool::EquationOrCoordinates, item(MMeasure, "M_N_ecoord"),     {Measure, "ejes"}},
    {Tool::Grid,                  item(MMeasure, "M_N_cuadricula"), {Measure, "ejes"}},
    {Tool::Calculate,             item(MMeasure, "M_N_calcular"),   {Measure, "calcular"}},
    {Tool::Parameter,             item(MMeasure, "M_N_parametro"),  {Measure, "calcular"}},
    {Tool::Function,              item(MMeasure, "M_N_funcion"),    {Measure, "calcular"}},
    {Tool::FunctionGraph,         item(MMeasure, "M_N_rep_fun"),    {Measure, "calcular"}},
    {Tool::RedefinePoint,         item(MEdit, "M_redefpun"),        {Edit, "redefinir"}},
    {Tool::Trace,                 item("M_trazas", "M_traza"),      {View, "traza"}},
    {Tool::Animation,             item(MView, "M_anim"),            {View, "traza"}},
    {Tool::RotateSelection,       item(MView, "M_SelRot"),          {View, "zoom"}},
    {Tool::Zoom,                  item(MView, "M_zoom"),            {View, "zoom"}},
    {Tool::Table,                 item(MEdit, "M_N_tabla"),         {Measure, "tabla"}},
    {Tool::ApplyMacro,            macroDialog,                      {Macros, ""}},
    {Tool::MacroInitial,          macroDialog,                      {Macros, ""}},
    {Tool::MacroFinal,            macroDialog,                      {Macros, ""}},
    {Tool::Text,                  item(MEdit, "M_Texto"),           {Edit, "texto"}},
    {Tool::Angle,                 item(MEdit, "M_Angulo"),          {Build, "angulo"}},
    {Tool::ShowHideButton,        item(MEdit, "M_vernoverbot"),     {Edit, "botones"}},
    {Tool::MotionButton,          item(MEdit, "M_movbot"),          {Edit, "botones"}},
    {Tool::Bitmap,                item(MEdit, "M_inbitmap"),        {Edit, "botones"}},
    {Tool::Iteration,             item(MTransform, "M_iteracion"),  {Transform, "iteracion"}},
    {Tool::ToggleVisibility,      item(MEdit, "M_vernover"),        {Edit, "herramientas"}},
    {Tool::EditElement,           item(MEdit, "M_editelem"),        {Edit, "herramientas"}},
    {Tool::DeleteElement,         item(MEdit, "M_elimelem"),        {Edit, "herramientas"}},
    {Tool::Font,                  editBar("B_font"),                {Edit, "aspecto"}},
    {Tool::LineColour,            editBar("B_color"),               {Edit, "aspecto"}},
    {Tool::FillColour,            editBar("B_color_relleno"),       {Edit, "aspecto"}},
    {Tool::ParamLineColour,       editBar("B_colorpar"),            {Edit, "aspecto"}},
    {Tool::ParamFillColour,       editBar("B_colorpar"),            {Edit, "aspecto"}},
    {Tool::FirstPointShape,        editBar("B_edit_forma_punto"),    {Edit, "aspecto"}},
    {Tool::FirstPointShape + 1,    editBar("B_edit_forma_punto"),    {Edit, "aspecto"}},
    {Tool::FirstPointShape + 2,    editBar("B_edit_forma_punto"),    {Edit, "aspecto"}},
    {Tool::FirstPointShape + 3,    editBar("B_edit_forma_punto"),    {Edit, "aspecto"}},
    {Tool::FirstPointShape + 4,    editBar("B_edit_forma_punto"),    {Edit, "aspecto"}},
    {Tool::FirstPointShape + 5,    editBar("B_edit_forma_punto"),    {Edit, "aspecto"}},
    {Tool::FirstLineStyle,         editBar("B_edit_forma_linea"),    {Edit, "aspecto"}},
    {Tool::FirstLineStyle + 1,     editBar("B_edit_forma_linea"),    {Edit, "aspecto"}},
    {Tool::FirstLineStyle + 2,     editBar("B_edit_forma_linea"),    {Edit, "aspecto"}},
    {Tool::FirstLineStyle + 3,     editBar("B_edit_forma_linea"),    {Edit, "aspecto"}},
    {Tool::FirstLineStyle + 4,     editBar("B_edit_forma_linea"),    {Edit, "aspecto"}},
    {Tool::FirstLineStyle + 5,     editBar("B_edit_forma_linea"),    {Edit, "aspecto"}},
    {Tool::FirstAngleMark,         editBar("B_edit_forma_angulo"),   {Edit, "aspecto"}},
    {Tool::FirstAngleMark + 1,     editBar("B_edit_forma_angulo"),   {Edit, "aspecto"}},
    {Tool::FirstAngleMark + 2,     editBar("B_edit_forma_angulo"),   {Edit, "aspecto"}},
}};
// clang-format on

// A row for every tool, in order, each with a menu place and a help page: a new tool does not
// build until it has them.
constexpr bool everyToolPlaced() {
    for (size_t t = 0; t < kPlaces.size(); ++t)
        if (kPlaces[t].tool != int(t) || !kPlaces[t].menu.menu || !kPlaces[t].menu.item ||
            !kPlaces[t].help.page)
            return false;
    return true;
}
static_assert(everyToolPlaced(), "every tool needs its row in kPlaces, in tool order");
// Every tool has a prompt in the UI text table (model/uitexts.inc checks one per tool).
static_assert(ToolCount == UiTextTable::ToolPromptSlots, "every tool needs a prompt");

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
        info.prompt = toolPromptId(number);
        info.menu = kPlaces[size_t(number)].menu;
        info.help = kPlaces[size_t(number)].help;
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
        auto r = row(Tool::Move, Cursor::Select, "Sel").all();
        set(r);
    }
    auto pts = [&](int number, const char* button, int n, std::initializer_list<int> methods) {
        auto r = row(number, Cursor::Construct, button).points(n).makes(methods);
        set(r);
    };
    pts(Tool::Point, "B_Punto", 1,
        {Method::FreePoint, Method::PointOnElement, Method::IntersectionPoint});
    pts(Tool::Line, "B_Recta", 2, {Method::LineThroughTwoPoints, Method::LineThroughPoint});
    pts(Tool::Ray, "B_Rayo", 2, {Method::RayThroughTwoPoints, Method::RayThroughPoint});
    pts(Tool::Conic, "B_Conica_5p", 5, {Method::Conic});
    pts(Tool::Circle, "B_Circunf", 2, {Method::CircleCentrePoint, Method::CircleByCentre});
    {
        auto r = row(Tool::CircleRadius, Cursor::Construct, "B_Circ2pr")
                     .points(3)
                     .kind(Kind::Segment)
                     .mask(parentKinds(Method::CircleRadiusNumberCentre, 1))
                     .makes({Method::CircleRadiusCentre, Method::CircleRadiusNumberCentre});
        set(r);
    }
    for (int tool : {Tool::Parallel, Tool::Perpendicular}) {
        const bool parallel = tool == Tool::Parallel;
        const ConstructionMethod m = parallel ? Method::ParallelLine : Method::PerpendicularLine;
        auto r = row(tool, Cursor::Construct, parallel ? "B_Recta_Para" : "B_Recta_Perp")
                     .points(1)
                     .mask(clickableFor(parentKinds(m, 0)))
                     .makes({m});
        set(r);
    }
    pts(Tool::Segment, "B_Segmento", 2, {Method::Segment});
    pts(Tool::Polygon, "B_Poligono", Many, {Method::Polygon});
    pts(Tool::RegularPolygon, "B_Polireg", 2, {Method::RegularPolygonVertex, Method::Polygon});
    pts(Tool::Vector, "B_vector", 2, {Method::Vector});
    {
        auto r = row(Tool::VectorSum, Cursor::Construct, "B_vectorsuma")
                     .points(1)
                     .mask(parentKinds(Method::VectorSumPoint, 0), 2)
                     .makes({Method::VectorSumPoint, Method::Vector});
        set(r);
    }
    pts(Tool::Arc, "B_arco3p", 3, {Method::ArcThreePoints});
    {
        auto r = row(Tool::Midpoint, Cursor::Construct, "B_2_div_seg")
                     .points(2)
                     .kind(Kind::Segment)
                     .makes({Method::Midpoint});
        set(r);
        auto b = row(Tool::AngleBisector, Cursor::Construct, "B_2_Sectriz")
                     .points(3)
                     .kind(Kind::Angle)
                     .makes({Method::AngleBisector});
        set(b);
        auto m = row(Tool::PerpendicularBisector, Cursor::Construct, "B_Mediatriz")
                     .points(2)
                     .kind(Kind::Segment)
                     .makes({Method::PerpendicularBisector});
        set(m);
    }
    {
        auto r = row(Tool::Intersection, Cursor::Construct, "B_Punto_Inter")
                     .mask(clickableFor(parentKinds(Method::IntersectionPoint, 0)), 2)
                     .makes({Method::IntersectionPoint});
        set(r);
    }
    {
        auto r = row(Tool::Locus, Cursor::Construct, "B_Lugar_G")
                     .mask(parentKinds(Method::Locus, 0) | parentKinds(Method::Locus, 1))
                     .makes({Method::Locus});
        set(r);
    }
    // Transformations: the element to transform, then what defines the transformation.
    {
        auto r = row(Tool::CentralSymmetry, Cursor::Construct, "B_Punto_Sim")
                     .kinds(kGeometric)
                     .makes({Method::CentralSymmetryPoint});
        set(r);
        auto a = row(Tool::AxialSymmetry, Cursor::Construct, "B_sim_ax")
                     .kinds(kGeometric)
                     .mask(clickableFor(parentKinds(Method::AxialSymmetryPoint, 1)));
        a.makes({Method::AxialSymmetryPoint});
        set(a);
        auto tr = row(Tool::Translation, Cursor::Construct, "B_traslac")
                      .kinds(kGeometric)
                      .makes({Method::TranslationPoint});
        set(tr);
        auto g = row(Tool::Rotation, Cursor::Construct, "B_giro")
                     .kinds(kGeometric)
                     .mask(parentKinds(Method::RotationPoint, 2));
        g.makes({Method::RotationPoint, Method::AngleValue});
        set(g);
        auto h = row(Tool::Homothety, Cursor::Construct, "B_homotec")
                     .kinds(kGeometric)
                     .mask(parentKinds(Method::HomothetyPoint, 2));
        h.makes({Method::HomothetyPoint});
        set(h);
        auto i = row(Tool::Inversion, Cursor::Construct, "B_inversion")
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
            auto r = row(Tool::ParallelCheck + c, Cursor::Check, names[c]).makes({m});
            if (c < 2) r.mask(clickableFor(parentKinds(m, 1)), 2);
            if (c == 2) r.points(1).mask(clickableFor(parentKinds(m, 1)));
            if (c == 3) r.points(3).kinds(kStraight);
            if (c == 4) r.points(3);
            set(r);
        }
    }
    {
        auto r = row(Tool::DisplacedPoint, Cursor::Construct, "B_punto_desp")
                     .points(1)
                     .mask(parentKinds(Method::DisplacedPoint, 1))
                     .mask(parentKinds(Method::DisplacedPoint, 2))
                     .makes({Method::DisplacedPoint});
        set(r);
        auto c = row(Tool::PointWithCoordinates, Cursor::ArrowConstruct, "B_puncoord")
                     .kind(Kind::Number, 2)
                     .kind(Kind::Coordinates)
                     .kind(Kind::Axes)
                     .makes({Method::PointWithCoordinates});
        set(c);
        auto rp = row(Tool::RepresentPoints, Cursor::ArrowConstruct, "B_rep_pun")
                      .mask(parentKinds(Method::RepresentedPoint, 0))
                      .makes({Method::RepresentedPoint});
        set(rp);
        auto ld =
            row(Tool::LengthDistance, Cursor::ArrowConstruct, "B_N_longdist")
                .points(2)
                .mask(parentKinds(Method::SegmentLength, 0) |
                      parentKinds(Method::PolygonPerimeter, 0) |
                      parentKinds(Method::CircleLength, 0) | parentKinds(Method::ArcLength, 0) |
                      clickableFor(parentKinds(Method::DistancePointLine, 1)))
                .makes({Method::DistancePointPoint, Method::DistancePointLine,
                        Method::SegmentLength, Method::PolygonPerimeter, Method::CircleLength,
                        Method::ArcLength});
        set(ld);
        auto an = row(Tool::AngleMeasure, Cursor::ArrowConstruct, "B_N_angulo")
                      .points(3)
                      .kind(Kind::Angle)
                      .kind(Kind::Arc);
        an.makes({Method::AngleValue});
        set(an);
        auto ar =
            row(Tool::Area, Cursor::ArrowConstruct, "B_N_area")
                .mask(parentKinds(Method::PolygonArea, 0) | parentKinds(Method::CircleArea, 0));
        ar.makes({Method::PolygonArea, Method::CircleArea});
        set(ar);
        auto sl = row(Tool::Slope, Cursor::ArrowConstruct, "B_N_pend")
                      .mask(parentKinds(Method::Slope, 0));
        sl.makes({Method::Slope});
        set(sl);
        auto pr = row(Tool::Proportion, Cursor::ArrowConstruct, "B_N_prop")
                      .points(3)
                      .kind(Kind::Segment, 2)
                      .kind(Kind::Vector, 2);
        pr.makes({Method::Proportion});
        set(pr);
        auto ax = row(Tool::Axes, Cursor::Construct, "B_N_ejes").points(1).makes({Method::Axes});
        set(ax);
        auto eq =
            row(Tool::EquationOrCoordinates, Cursor::ArrowConstruct, "B_N_ecoord")
                .mask(parentKinds(Method::Coordinates, 0) | parentKinds(Method::LineEquation, 0) |
                      parentKinds(Method::CircleEquation, 0) |
                      parentKinds(Method::ConicEquation, 0) | parentKinds(Method::LineEquation, 1))
                .makes({Method::LineEquation, Method::CircleEquation, Method::ConicEquation,
                        Method::Coordinates});
        set(eq);
        auto gr = row(Tool::Grid, Cursor::ArrowConstruct, "B_N_cuadricula")
                      .mask(parentKinds(Method::Grid, 0))
                      .makes({Method::Grid});
        set(gr);
        // Numbers and functions to call; coordinates give their x or y number.
        auto ca = row(Tool::Calculate, Cursor::ArrowConstruct, "B_N_calcular")
                      .kinds({Kind::Number, Kind::Function});
        ca.makes({Method::Calculation});
        set(ca);
        auto pa = row(Tool::Parameter, Cursor::ArrowConstruct, "B_N_parametro")
                      .makes({Method::Parameter});
        set(pa);
        auto fu = row(Tool::Function, Cursor::ArrowConstruct, "B_N_funcion")
                      .kinds({Kind::Number, Kind::Function});
        fu.makes({Method::Function});
        set(fu);
        auto rf = row(Tool::FunctionGraph, Cursor::ArrowConstruct, "B_N_rep_fun")
                      .mask(parentKinds(Method::FunctionGraph, 0) |
                            parentKinds(Method::FunctionGraph, 1));
        rf.makes({Method::FunctionGraph});
        set(rf);
    }
    {
        auto r = row(Tool::RedefinePoint, Cursor::Redefine, "B_redefpun").points(1);
        set(r);
        auto tr = row(Tool::Trace, Cursor::Trace, "B_traza").kinds(kGeometric).kind(Kind::Locus);
        set(tr);
        // What can move by itself: points on elements, lines and rays through a point, circles
        // given their centre, parameters (the hit test keeps only those).
        auto an = row(Tool::Animation, Cursor::Animation, "B_anim")
                      .kinds({Kind::Point, Kind::Line, Kind::Ray, Kind::Circle, Kind::Number});
        set(an);
        auto rot = row(Tool::RotateSelection, Cursor::RotationCentre, "B_SelRot").all();
        set(rot);
        auto z = row(Tool::Zoom, Cursor::Zoom, "B_zoom");
        set(z);
        auto tb = row(Tool::Table, Cursor::Table, "B_N_tabla")
                      .kind(Kind::Number)
                      .kind(Kind::Table)
                      .kind(Kind::Coordinates);
        tb.makes({Method::Table});
        set(tb);
        for (auto [m, cursor] : {std::pair{Tool::ApplyMacro, Cursor::Construct},
                                 std::pair{Tool::MacroInitial, Cursor::MacroInitial},
                                 std::pair{Tool::MacroFinal, Cursor::MacroFinal}}) {
            auto mc = row(m, cursor, "B_MacCon").all();
            set(mc);
        }
        // A click on an existing text opens its wording.
        auto tx = row(Tool::Text, Cursor::Text, "B_Texto").kind(Kind::Text).makes({Method::Text});
        set(tx);
        auto ang = row(Tool::Angle, Cursor::Construct, "B_Angulo").points(3).makes({Method::Angle});
        set(ang);
        auto sh = row(Tool::ShowHideButton, Cursor::Button, "B_vernoverbot")
                      .all()
                      .makes({Method::ShowHideButton});
        set(sh);
        auto mv =
            row(Tool::MotionButton, Cursor::Button, "B_movbot").all().makes({Method::MotionButton});
        set(mv);
        auto bm = row(Tool::Bitmap, Cursor::Bitmap, "B_inbitmap")
                      .kind(Kind::Point)
                      .makes({Method::Bitmap});
        set(bm);
        auto it =
            row(Tool::Iteration, Cursor::Construct, "B_iteracion").all().makes({Method::Iteration});
        set(it);
    }
    {
        auto v = row(Tool::ToggleVisibility, Cursor::ToggleVisibility, "B_vernover").all();
        set(v);
        auto e = row(Tool::EditElement, Cursor::Edit, "B_editelem").all();
        set(e);
        auto d = row(Tool::DeleteElement, Cursor::Delete, "B_elimelem").all();
        set(d);
        auto f = row(Tool::Font, Cursor::Font, "B_font").kinds(kTextLike);
        set(f);
        auto c = row(Tool::LineColour, Cursor::Style, "B_color").all();
        set(c);
        auto fill = row(Tool::FillColour, Cursor::Fill, "B_color_relleno")
                        .kinds({Kind::Polygon, Kind::Circle, Kind::Angle, Kind::Iteration})
                        .kinds(kTextLike);
        set(fill);
        auto pc = row(Tool::ParamLineColour, Cursor::Style, "B_color").all();
        set(pc);
        auto pf = row(Tool::ParamFillColour, Cursor::Fill, "B_color_relleno").all();
        set(pf);
        const char* shapes[] = {"B_edit_pnor",  "B_edit_p1p",   "B_edit_pcruz",
                                "B_edit_pgran", "B_edit_pcuad", "B_edit_pgran2"};
        for (int i = 0; i < 6; ++i) {
            auto s = row(Tool::FirstPointShape + i, Cursor::Style, shapes[i]).kind(Kind::Point);
            set(s);
        }
        const char* lines[] = {"B_edit_linor",   "B_edit_lipun",   "B_edit_lipray",
                               "B_edit_ligran5", "B_edit_ligran7", "B_edit_ligran"};
        for (int i = 0; i < 6; ++i) {
            auto s = row(Tool::FirstLineStyle + i, Cursor::Style, lines[i]).kinds(kLineStyled);
            set(s);
        }
        const char* marks[] = {"B_edit_ang1", "B_edit_ang2", "B_edit_ang3"};
        for (int i = 0; i < 3; ++i) {
            auto s = row(Tool::FirstAngleMark + i, Cursor::Style, marks[i]).kind(Kind::Angle);
            set(s);
        }
    }
    return t;
}

} // namespace

std::vector<const char*> toolHelpPages() {
    std::vector<const char*> pages;
    for (const ToolPlace& p : kPlaces)
        if (std::find_if(pages.begin(), pages.end(), [&](const char* q) {
                return std::string_view(q) == p.help.page;
            }) == pages.end())
            pages.push_back(p.help.page);
    return pages;
}

const ToolInfo& toolInfo(int tool) {
    static const std::array<ToolInfo, ToolCount> table = buildTable();
    return table[size_t(tool >= 0 && tool < ToolCount ? tool : Tool::Move)];
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
