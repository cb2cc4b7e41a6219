#include "view/glyphcache.h"
#include "view/pixelwriter.h"
#include "view/renderer.h"

#include "scene.h"

#include <QFontInfo>
#include <QPainter>
#include <QRawFont>
#include <QStaticText>
#include <gtest/gtest.h>

#include <cmath>

using namespace qorv;

namespace {

// A font made the way the renderer makes its fonts.
QFont rendererFont(const char* family, int pixels, bool bold = false, bool italic = false) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferNoShaping);
    f.setKerning(false);
    return f;
}

// A background of varied pixels, so that blending is checked against every kind of ground.
QImage patterned(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 37) & 255, (y * 53) & 255, ((x + y) * 11) & 255));
    return image;
}

QImage throughPainter(const QImage& ground, const QFont& font, const QString& text, QPointF at,
                      QRgb colour) {
    QImage image = ground.copy();
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(font);
    p.setPen(QColor(colour));
    QStaticText st(text);
    st.setTextFormat(Qt::PlainText);
    st.prepare(QTransform(), font);
    p.drawStaticText(at, st);
    return image;
}

} // namespace

// The families the tests install: Liberation Sans and Serif, which most Linux desktops give for
// "Arial" and "Times New Roman", and DejaVu Sans, what they fall back to without them. A family
// that is missing falls back too, and the cache must then match whatever Qt draws instead.
class GlyphCacheFonts : public testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(Families, GlyphCacheFonts,
                         testing::Values("Liberation Sans", "Liberation Serif", "DejaVu Sans"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             std::erase(name, ' ');
                             return name;
                         });

TEST_P(GlyphCacheFonts, WritesTheSamePixelsAsThePainterAndMeasuresTheSameSize) {
    GlyphCache cache;
    const QImage ground = patterned(260, 60);
    const char* family = GetParam();
    const QFont fonts[] = {rendererFont(family, 13),       rendererFont(family, 16),
                           rendererFont(family, 16, true), rendererFont(family, 12, false, true),
                           rendererFont(family, 27),       rendererFont(family, 44, true, true)};
    const char* texts[] = {"P12", "5.02 cm", "y = -0.53x + 2.10", "\xc3\x81rea = 12,5 cm\xc2\xb2",
                           "\xce\xb1\xce\xb2\xce\xb3 \xce\x94\xce\xa3 \xe2\x88\x9e",
                           "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", "AVATAR fi fl Te ",
                           "[0.5]",
                           // Signs that Liberation lacks, drawn from a fallback font.
                           "x \xe2\x88\x81 \xe2\x8a\x95 \xe2\x84\x98"};
    // Whole pixels, quarters, and fractions whose sums with the glyphs' offsets fall just
    // below and above 1/64 steps.
    const QPointF places[] = {
        {6, 5},       {10.25, 7.5},  {3.6, 12.2},      {-4, -3},      {74.2, 134.4 - 120},
        {-2.7, 8.49}, {15.99, 3.51}, {7.0001, 6.9999}, {-0.3, -2.51}, {-11.2031, 0.49}};
    const QRgb colours[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(200, 30, 90)};
    int compared = 0;
    for (size_t k = 0; k < std::size(fonts); ++k) {
        const std::string drawnBy = QFontInfo(fonts[k]).family().toStdString();
        const QRawFont own = QRawFont::fromFont(fonts[k]);
        for (const char* utf8 : texts) {
            const QString text = QString::fromUtf8(utf8);
            GlyphCache::Line line;
            // Lines that need another font may be left to the painter; lines of the font's own
            // glyphs may not.
            bool ownGlyphs = true;
            for (char32_t c : text.toUcs4())
                ownGlyphs = ownGlyphs && own.supportsCharacter(c);
            if (!cache.layout(k + 1, fonts[k], text, line)) {
                EXPECT_FALSE(ownGlyphs) << utf8 << " in " << drawnBy << " font " << k;
                continue;
            }
            QStaticText st(text);
            st.setTextFormat(Qt::PlainText);
            st.prepare(QTransform(), fonts[k]);
            EXPECT_EQ(line.extentWidth(), st.size().width()) << utf8 << " in " << drawnBy;
            EXPECT_EQ(line.extentHeight(), st.size().height()) << utf8 << " in " << drawnBy;
            for (QPointF at : places)
                for (QRgb colour : colours) {
                    const QImage expected = throughPainter(ground, fonts[k], text, at, colour);
                    QImage image = ground.copy();
                    {
                        QPainter p(&image);
                        PixelWriter w;
                        ASSERT_TRUE(w.attach(p, image.width(), image.height()));
                        cache.draw(w, line, at.x(), at.y(), colour);
                    }
                    ASSERT_EQ(image, expected) << utf8 << " in " << drawnBy << " font " << k
                                               << " at " << at.x() << "," << at.y();
                    ++compared;
                }
        }
    }
    // At least every text but the one with foreign signs, in every font.
    EXPECT_GE(compared, 6 * 8 * 10 * 3);
    EXPECT_EQ(cache.fontCount(), std::size(fonts));
}

TEST(GlyphCache, LeavesOtherScriptsControlsAndDecorationsToThePainter) {
    GlyphCache cache;
    GlyphCache::Line line;
    const QFont plain = rendererFont("Arial", 13);
    EXPECT_FALSE(cache.layout(1, plain, QString::fromUtf8("\xd8\xb3\xd9\x84\xd8\xa7\xd9\x85"),
                              line)); // Arabic joins its letters
    EXPECT_FALSE(cache.layout(1, plain, QString::fromUtf8("e\xcc\x81"), line)); // combining mark
    EXPECT_FALSE(cache.layout(1, plain, QStringLiteral("a\tb"), line));
    EXPECT_FALSE(cache.layout(1, plain, QString::fromUtf8("\xf0\x9f\x98\x80"), line)); // surrogates
    QFont underlined = plain;
    underlined.setUnderline(true);
    EXPECT_FALSE(cache.layout(2, underlined, QStringLiteral("abc"), line));
    EXPECT_FALSE(cache.layout(3, rendererFont("Arial", GlyphCache::MaxPixelSize + 1),
                              QStringLiteral("abc"), line));
    EXPECT_TRUE(cache.layout(4, rendererFont("Arial", GlyphCache::MaxPixelSize),
                             QStringLiteral("abc"), line));
    EXPECT_TRUE(cache.layout(1, plain, QStringLiteral("abc"), line));
    EXPECT_EQ(line.glyphs.size(), 3u);
    EXPECT_GT(line.glyphs[1].x, 0);
    EXPECT_TRUE(cache.layout(1, plain, QString(), line));
    EXPECT_TRUE(line.glyphs.empty());
    EXPECT_EQ(line.width, 0);
}

// Measurement labels drawn by the renderer into an image (written glyph by glyph) and through a
// clipped painter (which the renderer must leave to QPainter) come out the same.
TEST_P(GlyphCacheFonts, RendererLabelsMatchThePainterPath) {
    test::Scene s;
    s.doc.fonts[FontSlot::Numbers].name = GetParam(); // numbers take it when made
    for (int i = 0; i < 6; ++i) {
        Element* n = s.number(1.0 / (i + 3) * 100, 5 + i * 17.3, 190 - i * 31.1);
        n->shape = i % 2 ? -1 : rgb(40, 40, 40); // opaque and transparent backgrounds
        n->decimals = i;
    }
    s.axes(100, 100, 37.5, 41.0);
    for (bool aa : {false, true}) {
        RenderOptions o = s.options();
        o.antialiased = aa;
        o.target = RenderTarget::Export;
        s.doc.fonts[FontSlot::Numbers].color = rgb(250, 250, 120);
        const QImage direct = s.render(o);
        QImage painted(o.width, o.height, QImage::Format_RGB32);
        painted.fill(Qt::magenta);
        {
            QPainter p(&painted);
            p.setClipRect(QRect(0, 0, o.width, o.height)); // no direct writing
            Renderer other;
            other.redraw(p, s.doc, o);
        }
        // The axes' lines and ticks are drawn differently by the two paths; compare the texts.
        int differing = 0, textPixels = 0;
        for (int y = 0; y < o.height; ++y)
            for (int x = 0; x < o.width; ++x) {
                if (std::abs(x - 100) <= 3 || std::abs(y - 100) <= 3) continue;
                differing += direct.pixel(x, y) != painted.pixel(x, y);
                textPixels += direct.pixel(x, y) != qRgb(0, 0, 64);
            }
        EXPECT_EQ(differing, 0) << "antialiased " << aa;
        EXPECT_GT(textPixels, 200);
    }
}
