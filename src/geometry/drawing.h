// What a document draws, described without any drawing library: one list of shapes in world
// coordinates with their colours and styles, in the order the drawing paints them (fills, then
// everything but points, then points). Outputs that need no raster speed read this instead of
// walking the elements themselves, so that they cannot disagree with each other on what is drawn
// (where a locus breaks, which copies an iteration makes, what an undefined element shows).
#pragma once

#include "model/element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qorv {

class Document;

enum class Shape : uint8_t {
    Point,     // one position; `style` is the point shape
    Polyline,  // open; `count` positions
    Polygon,   // closed; `count` positions
    Segment,   // two positions, both ends drawn
    Line,      // through two positions, endless both ways
    Ray,       // from the first position through the second, endless
    Circle,    // centre and radius
    Arc,       // centre, radius, start angle and sweep (radians, counter-clockwise positive)
    AngleMark, // vertex (pixels: one right and down of it), radius, start, sweep; `style` the mark
    Text,      // top-left of the first line; lines separated by '\n'
};

struct DrawnShape {
    Shape shape = Shape::Point;
    int32_t element = -1; // id of the element drawn (of the iteration or locus it belongs to)
    Color color = 0;      // stroke or text colour (COLORREF)
    Color fill = -1;      // -1: none; for texts the opaque background
    int32_t style = 1;    // point shape, line style (1..6) or angle mark
    bool stroke = true;   // false: a fill alone (fills lie under every outline)
    uint32_t first = 0;   // index of the first number in Drawing::numbers
    uint32_t count = 0;   // positions (or numbers for circles, arcs and angle marks)
    uint32_t text = 0;    // index into Drawing::texts (texts only)
    float fontPixels = 0; // text height in pixels at scale 1
    bool bold = false, italic = false;
};

struct Drawing {
    std::vector<DrawnShape> shapes;
    std::vector<double> numbers; // positions as x, y pairs; circle: cx, cy, r; arcs: + from, sweep
    std::vector<std::string> texts;
    std::vector<std::string> fonts; // font name per text, parallel to `texts`
    Color background = 0xffffff;
    void clear() {
        shapes.clear();
        numbers.clear();
        texts.clear();
        fonts.clear();
    }
};

struct DrawingOptions {
    bool showHidden = false; // "Ver lo oculto"
    // The visible area (world): grids are drawn only there.
    double left = -2000, top = 2000, right = 2000, bottom = -2000;
};

// Describes the whole document (recalculated) into `out`, reusing its storage. Loci and graphs
// break where every output breaks them (forEachCurvePiece).
void describeDrawing(const Document& doc, const DrawingOptions& options, Drawing& out);

} // namespace qorv
