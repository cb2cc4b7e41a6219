// Short texts of simple scripts written straight into an image, glyph by glyph. Laying out and
// painting a text through QPainter costs tens of microseconds, which thousands of measurement
// labels cannot afford on every frame of a drag. Each glyph's coverage is taken once from Qt's
// own raster engine, at every 1/64-pixel position of its origin, and blended the way that
// engine blends it, so the pixels are the ones QPainter would paint for fonts without shaping
// (the renderer's fonts prefer no shaping: no kerning, no ligatures).
#pragma once

#include <QFont>
#include <QRgb>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace qorv {

class PixelWriter;

class GlyphCache {
  public:
    // Coverage of a glyph whose origin lies at some fraction of a pixel: `left` and `top` are
    // relative to the pixel column holding the origin and the pixel row of the baseline.
    struct Mask {
        int left = 0, top = 0, width = 0, height = 0;
        std::vector<uint8_t> coverage; // width x height, 0..255
        bool operator==(const Mask&) const = default;
    };
    struct Glyph {
        bool usable = false; // false: the character needs Qt's own layout
        int32_t advance = 0; // 1/64 pixel
        int32_t ascent = 0;  // 1/64 pixel, of the font that draws the character
        int32_t descent = 0;
        int32_t leading = 0;               // 1/64 pixel, counted in the height of a line
        int32_t overhang = 0;              // 1/64 pixel beyond the advance, when it ends a line
        std::array<uint8_t, 64> variant{}; // mask by the 1/64 fraction of the origin
        std::vector<Mask> masks;
    };
    // A laid-out line of text: each glyph with its origin, in 1/64 pixel from the left edge.
    struct Line {
        struct Placed {
            const Glyph* glyph;
            int32_t x;
        };
        std::vector<Placed> glyphs;
        int32_t width = 0, ascent = 0, descent = 0, leading = 0; // 1/64 pixel
        // The extent a layout of the line by Qt reports: the width with the last glyph's
        // overhang, the height with the font's leading rounded up to whole pixels.
        double extentWidth() const;
        double extentHeight() const;
    };

    GlyphCache();
    ~GlyphCache();
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    // Fonts up to this pixel size are written glyph by glyph.
    static constexpr int MaxPixelSize = 64;

    // Lays out one line of `text` in `font` (identified by `fontKey`, sized in pixels). False when
    // some character must be laid out by Qt (other scripts, controls, marks), when the line mixes
    // fonts of different line metrics (fallback fonts), or the font is underlined or struck out or
    // larger than MaxPixelSize; `out` is then unusable. Glyph pointers stay valid until clear().
    bool layout(uint64_t fontKey, const QFont& font, const QString& text, Line& out);

    // Blends a line into the writer's image, its top-left at (left, top) in pixels.
    void draw(PixelWriter& writer, const Line& line, double left, double top, QRgb colour) const;

    size_t fontCount() const { return faces_.size(); }
    void clear();

  private:
    struct Face {
        QFont font;
        std::unordered_map<char32_t, Glyph> glyphs;
    };
    const Glyph& glyph(Face& face, char32_t c);
    std::unordered_map<uint64_t, Face> faces_;
};

} // namespace qorv
