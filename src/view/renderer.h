// Drawing of a document's elements onto any QPainter target: the main drawing bitmap, the trace
// bitmap, a miniature, an export file or the printer.
//
// Two paths share all decisions (order, colours, styles, culling): the plain path paints with
// antialiasing off and pixel-exact shapes; the smooth path ("AA") paints antialiased. Vector
// targets (SVG, PDF) use the smooth geometry so that shapes come out as curves.
//
// What each kind is drawn from (the numbers recalculation leaves in the element):
//   points: value[0..1]. Lines, rays, segments, vectors: value = (x1, y1, x2, y2).
//   Polygons: the positions of their vertices (the sides' first parents). Circles: centre
//   value[0..1] and a point on the circle value[2..3]; fill colour in `option` (-1 none), as for
//   angles. Arcs: centre value[0..1], radius to value[2..3], ends at parent1 and parent3, sense
//   in `option`, straight when `option2` != 0 (then value holds the two ends). Angles: arms at
//   parent1 and parent3, vertex parent2, value[0] the oriented angle, value[2] the mark radius,
//   value[3] == -1111 for the full 0..2pi range. Loci and graphs: SampledCurveTail (words hold
//   each sample's colour, -1111 undefined). Conics: ConicTail samples by conicType. Axes: origin
//   at the x axis line's first point, units AxesTail::scaleX/scaleY. Grids: their axes.
//   Text-like elements: top-left of the text at value[2..3] (world), except names (value[0..1],
//   drawn only when `option` != 0), coordinates (their point plus the polar offset value[0],
//   value[1]) and texts (TextTail x, y). Bitmaps: anchored to parent1 by `option` 1..9 (the
//   point at the left/centre/right of the top/middle/bottom row), else top-left at value[0..1].
#pragma once

#include "model/element.h"
#include "view/glyphcache.h"
#include "view/pixelwriter.h"
#include "view/viewtransform.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QStaticText>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class QPainter;

namespace qorv {

class Document;

enum class RenderTarget {
    MainBitmap, // the editor's off-screen image: the only target that shows selection highlights
    Trace,
    Miniature, // previews: texts become boxes, no axis labels, sparse grids
    Export,    // image files, SVG, PDF and the clipboard
    Printer,   // no background; grey, silver and white print as black
};

// A drag draws in two layers: what stays still is drawn once, the moving elements at each step.
enum class RenderLayer {
    All,
    Still,  // every drawable element but the marked ones; no traces, marks or overlay
    Moving, // only `RenderOptions::moving`, over what the target holds, then traces and marks
};

struct RenderOptions {
    ViewTransform view;
    int width = 0; // pixels of the target area that is cleared and drawn
    int height = 0;
    RenderTarget target = RenderTarget::MainBitmap;
    bool antialiased = false; // the "AA" path
    bool vector = false;      // SVG/PDF: curves and text stay vectors
    bool showHidden = false;  // "Ver lo oculto"
    bool interacting = false; // a drag or rubber band runs: no selection highlight
    // Elements picked by the tool sequence in progress: highlighted like the selection.
    const std::vector<Element*>* picked = nullptr;
    double planeSize = 4000.0; // names are drawn only inside the plane
    int printerDotsPerInch = 0;
    // Draw the list up to, not including, this element (null: the whole list), and the names
    // of what is drawn, which come later in the list.
    const Element* stop = nullptr;
    // Trace bitmap combined over the drawing when the document has traced elements.
    const QImage* trace = nullptr;
    // Drawn after the points and before the traces (marks of the macro and iteration tools),
    // and last of all on the main bitmap (the rotation centre of the selection-rotation tool).
    std::function<void(QPainter&)> marks;
    std::function<void(QPainter&)> overlay;
    RenderLayer layer = RenderLayer::All;
    // The elements of the moving layer, in list order.
    const std::vector<Element*>* moving = nullptr;
};

// Style words passed to drawElement besides the element's own codes: -1..-4 are the selection
// highlights (pens of width 3, 5, 7, 9; for points a larger disc).
constexpr int highlightStyle(int ownStyle) {
    return ownStyle == 2 ? -2 : ownStyle == 5 ? -3 : ownStyle == 6 ? -4 : -1;
}

// Pen width of a line style (1..6 and the highlights -1..-4).
int lineWidthOf(int style);

class Renderer {
  public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Clears the target with the document's background (not on the printer), then the fill
    // pass, the main pass (everything but points, in list order) and the point pass, then the
    // traces. Sets the painter's render hints itself. The moving layer does not clear.
    void redraw(QPainter& painter, const Document& doc, const RenderOptions& options);
    // Convenience: paints into an image (opening and closing the painter).
    void redraw(QImage& target, const Document& doc, const RenderOptions& options);

    // Parts of redraw, also usable alone.
    void fillPass(QPainter& painter, const Document& doc, const RenderOptions& options);
    void namePass(QPainter& painter, const Document& doc, const RenderOptions& options);
    // The point pass alone: every drawable point with its highlight, as redraw draws them
    // above everything else (put back over a hover highlight drawn on the finished drawing).
    void pointPass(QPainter& painter, const Document& doc, const RenderOptions& options);

    // One element in the given colour and style (its own codes, or a highlight -1..-4; for
    // text-like elements the style is the background colour, negative for none); `fill` is the
    // fill colour of polygons, circles and angles, -1 for none.
    void drawElement(QPainter& painter, const Document& doc, const Element& e, Color colour,
                     int style, Color fill, const RenderOptions& options);

    // The screen rectangle (pixels of a target drawn with `view`) that a text-like element, text,
    // table, button or bitmap covers; false for other kinds and for those that show nothing.
    // Uses the same layout as the drawing, so hit testing and drawing agree.
    bool elementBox(const Document& doc, const Element& e, const ViewTransform& view, QRectF& box);

    // Forget cached texts and decoded pictures (after a document is closed or replaced).
    void clearCaches();

    // Number of text layouts and pictures currently cached (for tests of the cache bounds).
    size_t cachedTextCount() const { return texts_.size(); }
    // Pixels of the decoded pictures kept.
    int64_t cachedPicturePixels() const;

    // Pictures are Windows bitmaps; one of more pixels than this is not shown.
    static constexpr int64_t MaxPicturePixels = int64_t(1) << 24;
    // Pixels of pictures one drawing of a document shows: beyond them, in list order, pictures
    // are not shown (a small file may declare huge ones).
    static constexpr int64_t MaxDrawingPicturePixels = int64_t(1) << 25;
    // Pixels of decoded pictures kept between drawings; the least recently drawn go first.
    static constexpr int64_t MaxCachedPicturePixels = int64_t(1) << 25;

    struct Frame; // per-call state, defined in renderer.cpp
    struct TextBlock;
    struct TableLayout;

  private:
    struct TextEntry {
        std::string text;
        uint64_t fontKey = 0;
        QStaticText layout; // for the painter: vector targets, other scripts
        bool layoutReady = false;
        GlyphCache::Line line; // for writing into the image directly
        bool lineReady = false;
        bool lineTried = false; // the direct layout was tried (and may have failed)
        QSizeF size;
        uint64_t frame = 0;
    };
    struct PictureEntry {
        const void* data = nullptr;
        size_t bytes = 0;
        uint64_t sample = 0;
        QImage image;
        int64_t pixels = -1; // as the header declares; 0 when it cannot be read
        bool failed = false; // decoding gave nothing
        uint64_t frame = 0;
    };

    void passes(Frame& f);
    // Every drawable element of one kind, highlight first, in list order.
    void kindPass(QPainter& painter, const Document& doc, const RenderOptions& options, int kind);
    void fills(Frame& f);
    void attachDirect(Frame& f);
    void drawOne(Frame& f, const Element& e, Color colour, int style, Color fill, bool ownColour);
    void drawHighlightThenElement(Frame& f, const Element& e);

    // Kinds.
    void drawPoint(Frame& f, double wx, double wy, Color c, int style);
    void drawStraight(Frame& f, const Element& e, int kind, Color c, int style);
    void drawVector(Frame& f, const Element& e, Color c, int style);
    void drawPolygon(Frame& f, const Element& e, Color c, int style, Color fill, bool own);
    void drawCircle(Frame& f, const Element& e, Color c, int style, Color fill);
    void drawArc(Frame& f, const Element& e, Color c, int style);
    void drawAngle(Frame& f, const Element& e, Color c, int style, Color fill);
    void drawLocus(Frame& f, const Element& e, Color c, int style, bool own);
    // A family locus: the construction re-run for each sample and each member drawn.
    void drawFamilyLocus(Frame& f, const Element& e, Color c, int style);
    void drawConic(Frame& f, const Element& e, Color c, int style);
    // The copies of an iteration, each element of a copy in its own style.
    void drawIteration(Frame& f, const Element& e, Color c, int style);
    void drawAxes(Frame& f, const Element& e, Color c, int style, bool own);
    void drawGrid(Frame& f, const Element& e, Color c, int style);
    void drawText(Frame& f, const Element& e, Color c, int background, bool own);
    void drawLabelElement(Frame& f, const Element& e, Color c, int background);
    void drawTable(Frame& f, const Element& e, Color c);
    void drawButton(Frame& f, const Element& e, Color c, int face);
    void drawBitmap(Frame& f, const Element& e, Color c, int style);

    // Primitives in world coordinates.
    void worldSegment(Frame& f, Point2 a, Point2 b);
    void worldLine(Frame& f, Point2 a, Point2 b);
    void worldRay(Frame& f, Point2 a, Point2 b);
    void worldCircle(Frame& f, Point2 centre, double radius, Color fill);
    void worldArc(Frame& f, Point2 centre, double radius, double from, double span);
    void screenArc(Frame& f, QPointF centre, double radius, double from, double span, bool pie,
                   bool filled);

    // State helpers.
    void usePen(Frame& f, Color c, int style);
    void useBrush(Frame& f, Color c);
    void useNoBrush(Frame& f);
    const QFont& fontFor(const FontRecord& r, uint64_t* key = nullptr);
    // The cached layout of a text drawn for `owner`; with `direct`, a line of glyphs that
    // drawLaidOutText can write straight into the image, when the text allows it.
    const TextEntry& layoutText(const void* owner, const std::string& text, const FontRecord& font,
                                bool direct = false);
    // Draws a laid-out text with its top-left at `topLeft` in the given colour.
    void drawLaidOutText(Frame& f, const TextEntry& text, const FontRecord& font, QPointF topLeft,
                         Color c);
    const QImage* pictureOf(const Element& e);
    bool layoutTextBlock(const Element& e, TextBlock& block);
    bool layoutTable(const Document& doc, const Element& e, TableLayout& layout);
    void trimCaches();

    std::unordered_map<uint64_t, QPen> pens_;
    std::unordered_map<uint64_t, QFont> fonts_;
    std::unordered_map<const void*, TextEntry> texts_;
    std::unordered_map<const void*, PictureEntry> pictures_;
    // The drawable elements of the current redraw, in list order, with their kinds.
    struct Drawable {
        const Element* element;
        int kind;
    };
    std::vector<Drawable> drawables_;
    // A drawing cut at RenderOptions::stop: the elements drawn before the cut.
    std::unordered_set<const Element*> beforeStop_;
    std::vector<QLineF> lineBuffer_;   // batched strokes of one colour and style
    std::vector<QPointF> pointBuffer_; // polylines
    PixelWriter pixels_;
    GlyphCache glyphs_;
    uint64_t frame_ = 0;
    uint64_t trimmedAt_ = 0;         // the frame of the last scan of the caches
    int64_t framePicturePixels_ = 0; // of the pictures shown by the current drawing
};

} // namespace qorv
