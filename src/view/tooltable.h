// The tool modes 0..83: what each tool may hit, how many points it still needs, its cursor, its
// tool-bar button and the construction methods it makes. One row per tool, filled once.
#pragma once

#include "model/methodtable.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace qorv {

constexpr int ToolCount = 84;

// Tool numbers that the interaction code names.
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
    LengthDistance = 34,
    AngleMeasure = 35,
    Area = 36,
    Slope = 37,
    Proportion = 38,
    Axes = 39,
    EquationOrCoordinates = 40,
    Grid = 41,
    Calculate = 42,
    Function = 44,
    RedefinePoint = 46,
    Trace = 47,
    Animation = 48,
    RotateSelection = 49,
    Zoom = 50,
    Table = 51,
    ApplyMacro = 52,
    MacroInitial = 53,
    MacroFinal = 54,
    Angle = 56,
    ShowHideButton = 57,
    MotionButton = 58,
    ToggleVisibility = 61,
    EditElement = 62,
    DeleteElement = 63,
    Font = 64,
    LineColour = 65,
    FillColour = 66,
    ParamLineColour = 67,
    ParamFillColour = 68,
    FirstPointShape = 69,
    LastPointShape = 74,
    FirstLineStyle = 75,
    LastLineStyle = 80,
    FirstAngleMark = 81,
    LastAngleMark = 83,
};
}

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

struct ToolInfo {
    int number = 0;
    NeedsRow needs;          // the row reloaded whenever the tool is chosen or completes
    int cursor = 1;          // cursor number 1..26
    const char* button = ""; // the tool-bar button that chooses it
    std::array<int16_t, 6> methods{-1, -1, -1, -1, -1, -1}; // construction methods it makes
};

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
