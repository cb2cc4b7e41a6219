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
    Table,     // top-left; the cells column by column, '\n' between cells (`style` per column)
    Button,    // top-left; the caption; `fill` the face
    Picture,   // anchor, then width and height (pixels); `style` the placement, see below
};

// What a shape's `variant` says: a table whose rows run across, a raised button.
constexpr uint8_t TableAcross = 1;
constexpr uint8_t ButtonRaised = 1;

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
    uint8_t variant = 0; // TableAcross, ButtonRaised
};

// A Windows bitmap shown by a picture shape: the element's own bytes (valid while the document
// is unchanged).
struct DrawnPicture {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

struct Drawing {
    std::vector<DrawnShape> shapes;
    std::vector<double> numbers; // positions as x, y pairs; circle: cx, cy, r; arcs: + from, sweep
    std::vector<std::string> texts;
    std::vector<std::string> fonts;     // font name per text, parallel to `texts`
    std::vector<DrawnPicture> pictures; // of picture shapes (their `text` indexes this)
    Color background = 0xffffff;
    void clear() {
        shapes.clear();
        numbers.clear();
        texts.clear();
        fonts.clear();
        pictures.clear();
    }
};

// Pictures are placed by their anchor: 0 with its top-left corner there; 1..9 with the anchor at
// the left, centre or right (1, 2, 3) of the top, middle or bottom row (1, 4, 7).
// A picture of more pixels than this is not shown; nor are those that, in list order, would take
// one drawing beyond MaxDrawingPicturePixels.
constexpr int64_t MaxPicturePixels = int64_t(1) << 24;
constexpr int64_t MaxDrawingPicturePixels = int64_t(1) << 25;

// The width and height a Windows bitmap's header declares; false when it is not one.
bool windowsBitmapSize(const uint8_t* bytes, size_t size, int32_t& width, int32_t& height);

// The text of a table cell holding `value`: fixed notation with `decimals` decimals (0..8).
std::string tableCellText(double value, int decimals);

// The step an axis label shows: fixed notation from 1e7 on, else the shortest general one.
std::string axisStepText(double step);

struct DrawingOptions {
    bool showHidden = false; // "Ver lo oculto"
    // Hidden elements that are shown take the document's hidden colour (else their own).
    bool hiddenColour = true;
    // The visible area (world): grids, ticks and axis labels are drawn only there.
    double left = -2000, top = 2000, right = 2000, bottom = -2000;
};

// How an element reached the description.
enum class DescribedAs : uint8_t {
    Element, // an element of the document
    Copy,    // an element of a copy an iteration draws
    Member,  // a member of a locus family, drawn as part of its locus
};

// Told of every element as it is described, with the shapes it added. Whatever it needs of them
// it takes at once: after an element or a copy the drawing is emptied (members stay until their
// locus is told), so a listener sees a large drawing a piece at a time.
class DrawingListener {
  public:
    virtual ~DrawingListener() = default;
    // `e` is drawn by drawing.shapes[first..]. False stops the description.
    virtual bool described(const Element& e, DescribedAs as, const Drawing& drawing,
                           size_t first) = 0;
};

// Describes the whole document (recalculated) into `out`, reusing its storage. Loci and graphs
// break where every output breaks them (forEachCurvePiece).
void describeDrawing(const Document& doc, const DrawingOptions& options, Drawing& out,
                     DrawingListener* listener = nullptr);

} // namespace qorv
