// Pixel-exact one-pixel strokes, circles and discs written straight into the target image: the
// plain path's hot primitives, much cheaper than the general painter for thousands of elements.
#pragma once

#include <QRgb>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class QImage;
class QPainter;
class QPointF;
class QRectF;

namespace qorv {

class PixelWriter {
  public:
    PixelWriter();
    ~PixelWriter();
    PixelWriter(const PixelWriter&) = delete;
    PixelWriter& operator=(const PixelWriter&) = delete;

    // Direct writing is possible when the painter paints an unshared 32-bit image without a
    // transform, clip, opacity or composition other than plain copy-over. Pixels are kept within
    // the image and the first width x height pixels.
    bool attach(QPainter& painter, int width, int height);
    bool active() const { return bits_ != nullptr; }

    // While batching, the drawing calls below are kept and written at flush(): the image is
    // then walked in bands of rows that stay in the cache, shared with a helper thread, each
    // band taking the strokes that reach it in the order they came, so every pixel ends as if
    // written at once. Anything else that paints the image must flush first. attach() flushes
    // what was kept for the image before.
    void setBatching(bool on);
    void flush();
    // While batching, a polygon (up to four corners), an arc or a pie that `painter` (the one
    // attached) would draw now with its pen, brush and hints, kept in turn with the strokes;
    // false when not batching (the caller paints it); one wholly outside the image is taken
    // and dropped. Each band paints it through its own painter clipped to the band's rows,
    // which gives the same pixels as painting it whole.
    bool keepPolygon(const QPainter& painter, const QPointF* points, int count);
    bool keepArc(const QPainter& painter, const QRectF& box, int start, int sweep, bool pie);

    // Both end pixels included. `pattern`: 1 solid, 3 dotted (3 on, 3 off), 4 dash-dot
    // (9 on, 6 off, 3 on, 6 off).
    void line(int x0, int y0, int x1, int y1, QRgb colour, int pattern = 1);
    // The pixels nearest a circle of radius r about (cx, cy).
    void circle(int cx, int cy, int r, QRgb colour);
    // The pixels of the rectangle from (x, y), w wide and h high.
    void fillRect(int x, int y, int w, int h, QRgb colour);
    // Every pixel within r + 1/2 of (cx, cy): a disc that the circle's pixels just cover.
    void disc(int cx, int cy, int r, QRgb colour);
    // The part of circle() from world angle `from` sweeping `span` radians (counter-clockwise on
    // the screen when positive); with `pie` also the two radii, and with `fill` >= 0 the sector
    // filled first.
    void arc(int cx, int cy, int r, double from, double span, QRgb colour, bool pie = false,
             bool filled = false, QRgb fill = 0);

    // Antialiased drawing. Coordinates are continuous: pixel (i, j) covers [i, i+1) x [j, j+1).
    // Each pixel takes the colour in proportion to how much of it lies within width / 2 of the
    // stroke (round ends). `pattern` as above with the stipples 3: 4 on, 4 off and
    // 4: 4 on, 8 off, 12 on, 8 off.
    void smoothLine(double x0, double y0, double x1, double y1, double width, QRgb colour,
                    int pattern = 1);
    // A ring of the given width about radius r, restricted to the sector when span < 2 pi.
    void smoothRing(double cx, double cy, double r, double width, QRgb colour, double from = 0,
                    double span = 7);
    void smoothDisc(double cx, double cy, double r, QRgb colour);

    // A coverage map (0..255 per pixel, `width` x `height`) blended in: where the coverage is a,
    // the colour is laid over the ground with opacity a / 255, rounded exactly as Qt's raster
    // engine rounds when it paints a glyph into a 32-bit image.
    void coverage(int x, int y, const uint8_t* map, int width, int height, QRgb colour);

    void pixel(int x, int y, QRgb colour) {
        if (batching_)
            fillRect(x, y, 1, 1, colour);
        else
            plot(x, y, colour);
    }

  private:
    struct Command;
    struct Helper;
    struct Painted;
    struct BandPainter;

    void plot(int x, int y, QRgb colour) {
        if (unsigned(x) < unsigned(width_) && y >= top_ && y < bottom_) row(y)[x] = colour;
    }
    void record(const Command& c);
    // (the painter's shapes are those of the writer whose strokes are replayed)
    void replay(const Command& c, const std::vector<Painted>& painted);
    bool keepShape(const QPainter& painter, const Painted& shape, const QRectF& area);
    // Paints a kept shape within the band being written.
    void paintInBand(const Painted& shape);
    void endBandPainter();
    // Writes band b's strokes through `writer`'s rows.
    void replayBand(PixelWriter& writer, int band);
    // Writes the bands taken from bandNext_ until none is left.
    void replayBands(PixelWriter& writer);
    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(bits_ + stride_ * y); }
    void span(int x0, int x1, int y, QRgb colour);
    void blend(int x, int y, QRgb colour, double coverage);
    // Lays the colour over `count` pixels of row y from column x with the opacities in runCover_
    // (in 1/256ths, or Untouched). The pixels lie within the image.
    void blendRun(int x, int y, int count, QRgb colour);

    uint32_t shadedColour_ = 0; // coverage() keeps its colour's 256 shares
    std::array<uint32_t, 256> shaded_{};
    std::vector<uint16_t> runCover_; // one row's opacities, with room to spare
    unsigned char* bits_ = nullptr;
    long long stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    // The rows written: all of them, or the band being replayed.
    int top_ = 0;
    int bottom_ = 0;

    bool batching_ = false;
    std::vector<Command> commands_;
    std::vector<Painted> painted_; // the painter's shapes among them
    std::unique_ptr<BandPainter> bandPainter_;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int imageFormat_ = 0;
    int bandCount_ = 0;
    std::vector<std::vector<uint32_t>> bandItems_; // each band's strokes, in order
    std::vector<int> bandOrder_;                   // the order in which bands are taken
    std::atomic<int> bandNext_{0};
    std::unique_ptr<Helper> helper_;
};

} // namespace qorv
