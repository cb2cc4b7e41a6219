// Pixel-exact one-pixel strokes, circles and discs written straight into the target image: the
// plain path's hot primitives, much cheaper than the general painter for thousands of elements.
#pragma once

#include <QRgb>

#include <array>
#include <cstdint>
#include <vector>

class QImage;
class QPainter;

namespace qorv {

class PixelWriter {
  public:
    // Direct writing is possible when the painter paints an unshared 32-bit image without a
    // transform, clip, opacity or composition other than plain copy-over. Pixels are kept within
    // the image and the first width x height pixels.
    bool attach(QPainter& painter, int width, int height);
    bool active() const { return bits_ != nullptr; }

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
        if (unsigned(x) < unsigned(width_) && unsigned(y) < unsigned(height_)) row(y)[x] = colour;
    }

  private:
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
};

} // namespace qorv
