// The tool modes 0..83: what each tool may hit, how many points it still needs, its cursor, its
// tool-bar button, the construction methods it makes, its prompt, where the menus offer it and
// where the help explains it. One row per tool, filled once.
#pragma once

#include "model/methodtable.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qorv {

// The tool modes, by the numbers the menus, buttons and dialogs choose them with.
namespace Tool {
enum : int {
    Move = 0,
    Point = 1,
    Line = 2,
    Ray = 3,
    Conic = 4,
    Circle = 5,
    CircleRadius = 6,
    Parallel = 7,
    Perpendicular = 8,
    Segment = 9,
    Polygon = 10,
    RegularPolygon = 11,
    Vector = 12,
    VectorSum = 13,
    Arc = 14,
    Midpoint = 15,
    AngleBisector = 16,
    PerpendicularBisector = 17,
    Intersection = 18,
    Locus = 19,
    CentralSymmetry = 20,
    AxialSymmetry = 21,
    Translation = 22,
    Rotation = 23,
    Homothety = 24,
    Inversion = 25,
    ParallelCheck = 26,
    PerpendicularCheck = 27,
    MembershipCheck = 28,
    EquidistanceCheck = 29,
    AlignmentCheck = 30,
    DisplacedPoint = 31,
    PointWithCoordinates = 32,
    RepresentPoints = 33,
    LengthDistance = 34,
    AngleMeasure = 35,
    Area = 36,
    Slope = 37,
    Proportion = 38,
    Axes = 39,
    EquationOrCoordinates = 40,
    Grid = 41,
    Calculate = 42,
    Parameter = 43,
    Function = 44,
    FunctionGraph = 45,
    RedefinePoint = 46,
    Trace = 47,
    Animation = 48,
    RotateSelection = 49,
    Zoom = 50,
    Table = 51,
    ApplyMacro = 52,
    MacroInitial = 53,
    MacroFinal = 54,
    Text = 55,
    Angle = 56,
    ShowHideButton = 57,
    MotionButton = 58,
    Bitmap = 59,
    Iteration = 60,
    ToggleVisibility = 61,
    EditElement = 62,
    DeleteElement = 63,
    Font = 64,
    LineColour = 65,
    FillColour = 66,
    ParamLineColour = 67,
    ParamFillColour = 68,
    // The six point shapes, six line styles and three angle marks, in the order of their
    // palettes.
    FirstPointShape = 69,
    LastPointShape = 74,
    FirstLineStyle = 75,
    LastLineStyle = 80,
    FirstAngleMark = 81,
    LastAngleMark = 83,
};
}

constexpr int ToolCount = Tool::LastAngleMark + 1;

// The mouse cursors of the drawing area, by the numbers they are registered under (the resource
// of each in the comment).
namespace Cursor {
enum : int {
    Arrow = 0,            // the system's arrow (no cursor of our own)
    Construct = 1,        // "CON": the construction tools
    ArrowConstruct = 2,   // "ARRCON"
    Pan = 3,              // "ARR": panning with the right button
    Select = 4,           // "SELEC": the move tool
    Several = 5,          // "INTERR": several elements under the pointer
    Style = 6,            // "COLFOR": colours, shapes and styles
    ToggleVisibility = 7, // "VERNOVER"
    Text = 8,             // "TXT"
    Edit = 9,             // "EDIT"
    Draggable = 10,       // "SELARR": the move tool over an element it can drag
    Delete = 11,          // "ELIM"
    Press = 12,           // "MANOI": the move tool over a button with an action
    Animation = 13,       // "ANIM"
    Zoom = 14,            // "ZOOM"
    Button = 15,          // "BOTON"
    Table = 16,           // "TABLA"
    Bitmap = 17,          // "BITMAP"
    Trace = 18,           // "TRAZA"
    Redefine = 19,        // "REDEF"
    Check = 20,           // "COMPROB"
    Fill = 21,            // "RELLENO"
    Font = 22,            // "FUENTE"
    MacroInitial = 23,    // "MACINI"
    MacroFinal = 24,      // "MACFIN"
    RotationCentre = 25,  // "SELROTPT": the rotation tool placing its centre
    Rotate = 26,          // "SELROT": the rotation tool with its centre placed
};
constexpr int Count = Rotate;
} // namespace Cursor

// One counter per element kind. Column 0 counts the points the tool still needs; a non-zero
// entry in another column means that an element of that kind may be clicked (for the
// intersection tool: how many such elements).
struct NeedsRow {
    std::array<int8_t, Kind::Count> n{};

    int8_t& operator[](int kind) { return n[size_t(kind)]; }
    int8_t operator[](int kind) const { return n[size_t(kind)]; }
    int points() const { return n[0]; }
    bool empty() const {
        for (int8_t v : n)
            if (v > 0) return false;
        return true;
    }
};

// Kinds on which a point can be made (the curve-like kinds; axes stand for their lines, a grid
// for its nodes).
constexpr KindMask PointHostKinds =
    kindBits({Kind::Line, Kind::Ray, Kind::Segment, Kind::Polygon, Kind::Circle, Kind::Arc,
              Kind::Locus, Kind::Axes, Kind::Conic, Kind::Grid, Kind::Vector});
// The kinds a click may hit to give a parent of one of the kinds in `m`: a polygon stands for its
// sides (segments), axes for their lines.
constexpr KindMask clickableFor(KindMask m) {
    if (hasKind(m, Kind::Segment)) m |= kindBit(Kind::Polygon);
    if (hasKind(m, Kind::Line)) m |= kindBit(Kind::Axes);
    return m;
}
// The kinds a method takes as its parent1 (slot 0) .. parent3 (slot 2), from the method table.
constexpr KindMask parentKinds(ConstructionMethod m, int slot) {
    return methodRow(m).parents[slot];
}
// Every kind that is drawn (the intersection holder never is).
constexpr KindMask AllDrawnKinds =
    ((KindMask(1) << Kind::Count) - 1) & ~kindBit(Kind::Intersection);

// Where a tool is explained: a page of the help folder and an anchor in it (empty: the top).
struct HelpTopic {
    const char* page = nullptr;
    const char* anchor = "";
};

// Where the menus offer a tool: most tools have an item of their own in a menu. The style tools
// are only on the edit tool bar, and the macro tools are chosen by the macro dialog.
enum class ToolReach : uint8_t {
    MenuItem, // `item` is the tool's item in the menu `menu`
    EditBar,  // `item` is its button or palette button on the tool bar `menu`
    Dialog,   // `item` is the item of the menu `menu` that opens the dialog
};
struct MenuPlace {
    ToolReach reach = ToolReach::MenuItem;
    const char* menu = nullptr; // object names
    const char* item = nullptr;
};

struct ToolInfo {
    int number = 0;
    NeedsRow needs; // the row reloaded whenever the tool is chosen or completes
    int cursor = Cursor::Construct;
    const char* button = "";                                // the tool-bar button that chooses it
    std::array<int16_t, 6> methods{-1, -1, -1, -1, -1, -1}; // construction methods it makes
    int prompt = 0;                                         // language-file id of its prompt
    MenuPlace menu;
    HelpTopic help;
};

// Every help page the tool rows name, once each, in tool order.
std::vector<const char*> toolHelpPages();

// The row of a tool; tool 0 for a number outside 0..83.
const ToolInfo& toolInfo(int tool);

// The hit filter of a needs row: the kinds with a non-zero counter, plus the kinds a point can be
// made on while the row still needs points.
KindMask hitFilter(const NeedsRow& needs);

// Whether the tool builds elements by clicking points (its row asks for points at the start).
bool toolNeedsPoints(int tool);

// Check tools (26..30) show the cursor label lower, like the selection cursors.
constexpr bool isCheckTool(int tool) {
    return tool >= Tool::ParallelCheck && tool <= Tool::AlignmentCheck;
}

} // namespace qorv
