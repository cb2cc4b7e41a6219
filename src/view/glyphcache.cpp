#include "view/glyphcache.h"

#include "view/pixelwriter.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

// Characters that lay out one glyph each, left to right, whatever their neighbours: Latin,
// Greek, Cyrillic, and the common punctuation, currency, letter-like, arrow and mathematical
// signs. Controls, combining marks, invisible and direction marks and other scripts are left
// to Qt.
bool simpleCharacter(char32_t c) {
    if (c >= 0x20 && c <= 0x7e) return true;
    if (c >= 0xa0 && c <= 0x24f) return c != 0xad; // soft hyphen: invisible
    if (c >= 0x370 && c <= 0x3ff) return c < 0x374 || c > 0x375;
    if (c >= 0x400 && c <= 0x4ff) return c < 0x483 || c > 0x489;
    if (c >= 0x2010 && c <= 0x2027) return true;
    if (c >= 0x2030 && c <= 0x205e) return true;
    if (c >= 0x20a0 && c <= 0x20bf) return true;
    if (c >= 0x2100 && c <= 0x22ff) return true;
    return false;
}

int32_t toFixed(double v) {
    return int32_t(std::lround(v * 64.0));
}

} // namespace

double GlyphCache::Line::extentWidth() const {
    return (width + (glyphs.empty() ? 0 : glyphs.back().glyph->overhang)) / 64.0;
}

double GlyphCache::Line::extentHeight() const {
    return double((ascent + descent + std::max(0, leading) + 63) / 64);
}

GlyphCache::GlyphCache() = default;
GlyphCache::~GlyphCache() = default;

void GlyphCache::clear() {
    faces_.clear();
}

const GlyphCache::Glyph& GlyphCache::glyph(Face& face, char32_t c) {
    auto [it, inserted] = face.glyphs.try_emplace(c);
    Glyph& g = it->second;
    if (!inserted || !simpleCharacter(c)) return g;

    // The glyph, its advance and the line metrics of the font that draws it (which may be a
    // fallback font), as a layout of the character alone gives them.
    QTextLayout layout(QString::fromUcs4(&c, 1), face.font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return g;
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1) return g;
    g.advance = toFixed(line.horizontalAdvance());
    g.ascent = toFixed(line.ascent());
    g.descent = toFixed(line.descent());
    g.leading = toFixed(line.leading());
    g.overhang = std::max(0, toFixed(layout.boundingRect().width()) - g.advance);

    // The glyph painted 64 times, its origin at each 1/64 of a pixel, each copy in a cell with a
    // margin wide enough for overhangs, white on black: each channel is then the coverage.
    const int pad = std::max(8, face.font.pixelSize() / 2);
    const int cellW = (g.advance + 63) / 64 + 2 * pad;
    const int cellH = (g.ascent + 63) / 64 + (g.descent + 63) / 64 + 2 * pad;
    const int baseline = pad + (g.ascent + 63) / 64;
    QImage image(cellW * 64, cellH, QImage::Format_RGB32);
    if (image.isNull()) return g;
    image.fill(Qt::black);
    {
        QGlyphRun run = runs[0];
        QList<quint32> indexes(64, run.glyphIndexes()[0]);
        QList<QPointF> positions;
        positions.reserve(64);
        for (int k = 0; k < 64; ++k)
            positions.append(QPointF(pad + k * cellW + k / 64.0, baseline));
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setPen(Qt::white);
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    for (int k = 0; k < 64; ++k) {
        const int x0 = k * cellW;
        int left = cellW, right = -1, top = cellH, bottom = -1;
        for (int y = 0; y < cellH; ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y)) + x0;
            for (int x = 0; x < cellW; ++x) {
                const QRgb v = row[x];
                if ((v & 0xffffff) == 0) continue;
                // Coloured fringes (sub-pixel text) cannot be written as one coverage.
                if (qRed(v) != qGreen(v) || qGreen(v) != qBlue(v)) return g;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        Mask m;
        if (right >= 0) {
            // A glyph reaching the edge of its cell may have been cut: leave it to Qt.
            if (left == 0 || top == 0 || right == cellW - 1 || bottom == cellH - 1) return g;
            m.left = left - pad;
            m.top = top - baseline;
            // Rows padded with empty pixels to a multiple of four, which the writer blends
            // four at a time.
            const int used = right - left + 1;
            m.width = (used + 3) / 4 * 4;
            m.height = bottom - top + 1;
            m.coverage.assign(size_t(m.width) * size_t(m.height), 0);
            for (int y = 0; y < m.height; ++y) {
                const QRgb* row =
                    reinterpret_cast<const QRgb*>(image.constScanLine(top + y)) + x0 + left;
                for (int x = 0; x < used; ++x)
                    m.coverage[size_t(y) * size_t(m.width) + size_t(x)] = uint8_t(qRed(row[x]));
            }
        }
        auto same = std::find(g.masks.begin(), g.masks.end(), m);
        if (same == g.masks.end()) {
            g.masks.push_back(std::move(m));
            same = g.masks.end() - 1;
        }
        g.variant[size_t(k)] = uint8_t(same - g.masks.begin());
    }
    g.usable = true;
    return g;
}

bool GlyphCache::layout(uint64_t fontKey, const QFont& font, const QString& text, Line& out) {
    out.glyphs.clear();
    out.width = out.ascent = out.descent = out.leading = 0;
    if (font.underline() || font.strikeOut() || font.overline()) return false;
    // Large texts are few, and 64 copies of each of their glyphs would take much memory.
    if (font.pixelSize() <= 0 || font.pixelSize() > MaxPixelSize) return false;
    auto [it, inserted] = faces_.try_emplace(fontKey);
    Face& face = it->second;
    if (inserted) face.font = font;
    int32_t x = 0;
    for (const QChar ch : text) {
        if (ch.isSurrogate()) return false;
        const Glyph& g = glyph(face, ch.unicode());
        if (!g.usable) return false;
        // Qt's height and baseline for a line whose glyphs come from fonts of different
        // metrics follow no rule of the glyphs' own metrics (neither their largest ascent,
        // descent and leading, nor the largest ascent plus leading): leave such lines to Qt.
        if (out.glyphs.empty()) {
            out.ascent = g.ascent, out.descent = g.descent, out.leading = g.leading;
        } else if (g.ascent != out.ascent || g.descent != out.descent || g.leading != out.leading) {
            return false;
        }
        out.glyphs.push_back({&g, x});
        x += g.advance;
    }
    out.width = x;
    return true;
}

void GlyphCache::draw(PixelWriter& writer, const Line& line, double left, double top,
                      QRgb colour) const {
    // Each glyph's origin in 1/64 pixel as the raster engine gets it: the text's place cut
    // toward zero to 1/64, plus the glyph's offset. Its column is the floor of that, its row the
    // baseline rounded to the nearest.
    const int64_t x0 = int64_t(left * 64.0);
    const int64_t baseline = (int64_t(top * 64.0) + line.ascent + 32) >> 6;
    for (const Line::Placed& p : line.glyphs) {
        const int64_t x = x0 + p.x;
        const Mask& m = p.glyph->masks[p.glyph->variant[size_t(x & 63)]];
        if (m.width == 0) continue;
        writer.coverage(int((x >> 6) + m.left), int(baseline + m.top), m.coverage.data(), m.width,
                        m.height, colour);
    }
}

} // namespace qorv
