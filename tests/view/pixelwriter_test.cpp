#include "view/pixelwriter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

using namespace qorv;

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);

struct Canvas {
    QImage image{60, 40, QImage::Format_RGB32};
    QPainter painter;
    PixelWriter w;
    Canvas() {
        image.fill(Black);
        painter.begin(&image);
        EXPECT_TRUE(w.attach(painter, 60, 40));
    }
    int count(QRgb c) {
        painter.end();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == c;
        return n;
    }
    QRgb at(int x, int y) {
        if (painter.isActive()) painter.end();
        return image.pixel(x, y);
    }
};

} // namespace

TEST(PixelWriter, AttachesOnlyWhereWritingDirectlyIsSafe) {
    QImage image(20, 20, QImage::Format_RGB32);
    PixelWriter w;
    {
        QPainter p(&image);
        EXPECT_TRUE(w.attach(p, 20, 20));
        p.translate(3, 0);
        EXPECT_FALSE(w.attach(p, 20, 20));
        p.resetTransform();
        p.setClipRect(0, 0, 5, 5);
        EXPECT_FALSE(w.attach(p, 20, 20));
    }
    QImage indexed(20, 20, QImage::Format_Indexed8);
    {
        QPainter p(&indexed);
        EXPECT_FALSE(w.attach(p, 20, 20));
    }
    QPainter none;
    EXPECT_FALSE(w.attach(none, 20, 20));
}

TEST(PixelWriter, LinesPaintBothEndsAndTheSamePixelsEitherWay) {
    Canvas a, b;
    a.w.line(3, 4, 50, 30, White);
    b.w.line(50, 30, 3, 4, White);
    EXPECT_EQ(a.at(3, 4), White);
    EXPECT_EQ(a.at(50, 30), White);
    // One pixel per column of an x-major line.
    EXPECT_EQ(a.count(White), 48);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
    // Steep lines: one per row; the middle pixel of a 45-degree line is on the diagonal.
    Canvas c;
    c.w.line(10, 0, 20, 30, White);
    EXPECT_EQ(c.count(White), 31);
    Canvas d;
    d.w.line(0, 0, 30, 30, White);
    EXPECT_EQ(d.at(15, 15), White);
    EXPECT_EQ(d.count(White), 31);
}

TEST(PixelWriter, BrokenPatternsAndClippingAtTheEdges) {
    Canvas dots;
    dots.w.line(0, 5, 29, 5, White, 3); // 3 on, 3 off over 30 pixels
    EXPECT_EQ(dots.count(White), 15);
    EXPECT_EQ(dots.at(2, 5), White);
    EXPECT_EQ(dots.at(3, 5), Black);
    EXPECT_EQ(dots.at(6, 5), White);
    Canvas dashDot;
    dashDot.w.line(0, 5, 23, 5, White, 4); // 9 on, 6 off, 3 on, 6 off
    EXPECT_EQ(dashDot.count(White), 12);
    EXPECT_EQ(dashDot.at(8, 5), White);
    EXPECT_EQ(dashDot.at(9, 5), Black);
    EXPECT_EQ(dashDot.at(15, 5), White);
    // Far outside, partly outside: only the pixels inside are written, nothing beyond.
    Canvas out;
    out.w.line(-500, -20, 700, 80, White);
    out.w.line(-5, 39, 70, 39, White);
    out.w.circle(30, 20, 500, White);
    out.w.disc(-100, -100, 20, White);
    out.w.pixel(60, 0, White);
    out.w.pixel(-1, 0, White);
    for (int x = 0; x < 60; ++x)
        ASSERT_EQ(out.at(x, 39), White) << x;
    EXPECT_EQ(out.at(59, 0), Black); // the pixel asked for at x = 60 went nowhere
    EXPECT_EQ(out.at(0, 0), Black);
    // The long line crosses the image near y = 21.7 at x = 0 and 26.6 at x = 59.
    EXPECT_EQ(out.at(0, 22), White);
    EXPECT_EQ(out.at(59, 27), White);
}

// The midpoint walk along the major axis from the end with the smaller coordinate (ties keep
// the minor coordinate), with a bounds test on every pixel: what the writer's clipped loops
// must reproduce.
void referenceLine(QImage& image, int x0, int y0, int x1, int y1, QRgb colour) {
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) std::swap(x0, y0), std::swap(x1, y1);
    if (x0 > x1) std::swap(x0, x1), std::swap(y0, y1);
    const int dx = x1 - x0, dy = std::abs(y1 - y0), step = y0 < y1 ? 1 : -1;
    for (int x = x0; x <= x1; ++x) {
        // The minor coordinate nearest the ideal line, rounding exact halves down the walk.
        const long long num = 2LL * dy * (x - x0) + dx - 1;
        const int y = y0 + step * int(dx == 0 ? 0 : num / (2LL * dx));
        const int px = steep ? y : x, py = steep ? x : y;
        if (px >= 0 && py >= 0 && px < image.width() && py < image.height())
            image.setPixel(px, py, colour);
    }
}

TEST(PixelWriter, SolidLinesCutByTheImageKeepThePixelsOfTheWholeWalk) {
    // Ends inside, on the border and beyond every side, in every direction and slope.
    const int ends[] = {-37, -16, -1, 0, 7, 19, 39, 40, 59, 60, 75, 140};
    int compared = 0;
    for (int x0 : ends)
        for (int y0 : ends)
            for (int k = 0; k < 12; ++k) {
                const int x1 = ends[(k * 5 + 3) % 12] + k, y1 = ends[(k * 7 + 1) % 12] - k;
                if (y0 == y1) continue; // horizontal lines are spans, checked above
                Canvas w;
                w.w.line(x0, y0, x1, y1, White);
                w.painter.end();
                QImage reference(60, 40, QImage::Format_RGB32);
                reference.fill(Black);
                referenceLine(reference, x0, y0, x1, y1, White);
                ASSERT_EQ(w.image, reference) << x0 << "," << y0 << " - " << x1 << "," << y1;
                ++compared;
            }
    EXPECT_GT(compared, 1500);
}

TEST(PixelWriter, CirclesAreSymmetricAndTheirDiscsLeaveNoGap) {
    Canvas c;
    c.w.circle(30, 20, 12, White);
    EXPECT_EQ(c.at(42, 20), White);
    EXPECT_EQ(c.at(18, 20), White);
    EXPECT_EQ(c.at(30, 8), White);
    EXPECT_EQ(c.at(30, 32), White);
    EXPECT_EQ(c.at(30, 20), Black);
    for (int y = 1; y < 40; ++y)
        for (int x = 1; x < 60; ++x) {
            ASSERT_EQ(c.at(x, y), c.at(60 - x, y)) << x << "," << y;
            ASSERT_EQ(c.at(x, y), c.at(x, 40 - y)) << x << "," << y;
            // Every pixel of the circle lies close to the radius.
            if (c.at(x, y) == White) {
                ASSERT_LT(std::fabs(std::hypot(x - 30, y - 20) - 12), 0.75) << x << "," << y;
            }
        }
    // A disc under the same circle: no background pixel between the rim and the inside.
    Canvas d;
    d.w.disc(30, 20, 12, qRgb(0, 200, 0));
    d.w.circle(30, 20, 12, White);
    for (int y = 9; y <= 31; ++y) {
        int x = 30;
        while (d.at(x, y) == qRgb(0, 200, 0))
            ++x;
        ASSERT_EQ(d.at(x, y), White) << y;
    }
}

TEST(PixelWriter, ArcsKeepToTheirSector) {
    Canvas c;
    // The upper half, from angle 0 round to pi (counter-clockwise, y up).
    c.w.arc(30, 25, 10, 0.0, 3.141592653589793, White);
    EXPECT_EQ(c.at(30, 15), White);
    EXPECT_EQ(c.at(30, 35), Black);
    EXPECT_EQ(c.at(40, 25), White);
    EXPECT_EQ(c.at(20, 25), White);
    // A filled quarter pie: the inside of its sector only.
    Canvas p;
    p.w.arc(30, 20, 10, 0.0, 3.141592653589793 / 2, White, true, true, qRgb(0, 0, 200));
    EXPECT_EQ(p.at(34, 16), qRgb(0, 0, 200));
    EXPECT_EQ(p.at(26, 16), Black);
    EXPECT_EQ(p.at(34, 24), Black);
    EXPECT_EQ(p.at(30, 20), White); // the radii meet at the centre
}

TEST(PixelWriter, SmoothStrokesCoverPixelsByHowMuchTheyOverlap) {
    // A one-pixel line along the centres of row 10 covers that row fully and nothing else.
    Canvas c;
    c.w.smoothLine(5.5, 10.5, 50.5, 10.5, 1, White);
    EXPECT_EQ(c.at(20, 10), White);
    EXPECT_EQ(c.at(20, 9), Black);
    EXPECT_EQ(c.at(20, 11), Black);
    // On the boundary between rows 20 and 21 both get half.
    Canvas h;
    h.w.smoothLine(5.5, 21.0, 50.5, 21.0, 1, White);
    EXPECT_NEAR(qRed(h.at(20, 20)), 128, 2);
    EXPECT_NEAR(qRed(h.at(20, 21)), 128, 2);
    EXPECT_EQ(h.at(20, 19), Black);
    // Width 5 about row 30: rows 28..32 full, their neighbours untouched.
    Canvas w;
    w.w.smoothLine(5.5, 30.5, 50.5, 30.5, 5, White);
    for (int y = 28; y <= 32; ++y)
        EXPECT_EQ(w.at(25, y), White) << y;
    EXPECT_EQ(w.at(25, 27), Black);
    EXPECT_EQ(w.at(25, 33), Black);
    // Steep and reversed lines draw the same.
    Canvas s1, s2;
    s1.w.smoothLine(10.2, 3.7, 17.9, 36.1, 1, White);
    s2.w.smoothLine(17.9, 36.1, 10.2, 3.7, 1, White);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(s1.at(x, y), s2.at(x, y)) << x << "," << y;
    // A ring of width 1 on the pixel centres at radius 10 and a disc of radius 5.
    Canvas r;
    r.w.smoothRing(30.5, 20.5, 10, 1, White);
    EXPECT_EQ(r.at(40, 20), White);
    EXPECT_EQ(r.at(30, 20), Black);
    EXPECT_EQ(r.at(42, 20), Black);
    Canvas d;
    d.w.smoothDisc(30.5, 20.5, 5, White);
    EXPECT_EQ(d.at(30, 20), White);
    EXPECT_EQ(d.at(34, 20), White);
    EXPECT_EQ(d.at(36, 20), Black);
    EXPECT_GT(qRed(d.at(35, 20)), 100); // the rim is blended
    EXPECT_LT(qRed(d.at(35, 20)), 255);
}

TEST(PixelWriter, SmoothLinesPutTheirWidthIntoEveryColumn) {
    // Coverage falls off linearly from full within width / 2 - 1/2 of the line to nothing at
    // width / 2 + 1/2, so a column crossing the line at angle t gathers width / cos t in all.
    // Lines inside the image and lines reaching far beyond it, shallow and horizontal.
    struct Case {
        double x0, y0, x1, y1, width;
    };
    const Case cases[] = {{2.0, 8.3, 57.0, 30.1, 1},    {2.0, 30.6, 57.0, 11.2, 1},
                          {-1e5, 20.25, 1e5, 20.25, 1}, {-1e5, -3e4, 1e5, 3e4 + 41.0, 3},
                          {57.0, 19.7, 2.0, 21.1, 2.5}, {1.3, 5.5, 58.7, 34.4, 1.6}};
    for (const Case& k : cases) {
        Canvas c;
        c.w.smoothLine(k.x0, k.y0, k.x1, k.y1, k.width, White);
        const double t = std::atan2(k.y1 - k.y0, k.x1 - k.x0);
        const double expected = k.width / std::fabs(std::cos(t));
        for (int x = 5; x <= 54; x += 7) {
            double sum = 0;
            for (int y = 0; y < 40; ++y)
                sum += qRed(c.at(x, y)) / 255.0;
            EXPECT_NEAR(sum, expected, 0.06) << k.x0 << "," << k.y0 << " column " << x;
        }
    }
}

namespace {

// FNV-1a over the image's bytes.
uint64_t imageHash(const QImage& image) {
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int i = 0; i < image.width() * 4; ++i)
            h = (h ^ row[i]) * 1099511628211ull;
    }
    return h;
}

} // namespace

// Thousands of random strokes of every kind, slope, width and pattern, with ends inside, on and
// far beyond the image, on dark and light grounds. The checksums were taken from the plain
// per-pixel writer that came before the span blending and the run-wise line walk: those are
// only faster ways to the same pixels, so every byte must stay as it was.
TEST(PixelWriter, RandomStrokesKeepTheirPixelsByteForByte) {
    struct Kind {
        const char* name;
        uint64_t hash;
    };
    const Kind kinds[] = {{"smooth lines, dark ground", 14072428158241800884ull},
                          {"smooth lines, light ground", 9314639395854903307ull},
                          {"smooth rings and discs", 12452011577914530263ull},
                          {"one-pixel lines", 13446088636406594158ull},
                          {"circles, discs, arcs and coverage maps", 17178634900271012601ull}};
    const QRgb colours[] = {qRgb(255, 255, 255), qRgb(200, 30, 60), qRgb(0, 128, 192),
                            qRgb(10, 250, 5)};
    const double widths[] = {1, 1, 1, 3, 5, 7, 9, 2.5, 1.6};
    for (int k = 0; k < 5; ++k) {
        const int W = 240, H = 160;
        std::mt19937 rng(1000 + k);
        std::uniform_real_distribution<double> inX(-20, W + 20), inY(-20, H + 20), far(-3e5, 3e5),
            frac(0, 1);
        QImage image(W, H, QImage::Format_RGB32);
        image.fill(k == 1 ? qRgb(250, 250, 240) : Black);
        QPainter painter(&image);
        PixelWriter w;
        ASSERT_TRUE(w.attach(painter, W, H));
        for (int i = 0; i < 2500; ++i) {
            double x0 = inX(rng), y0 = inY(rng), x1 = inX(rng), y1 = inY(rng);
            switch (rng() % 10) {
            case 0: // one end far away
                x0 = far(rng), y0 = far(rng);
                break;
            case 1: // both
                x0 = far(rng), y0 = far(rng), x1 = far(rng), y1 = far(rng);
                break;
            case 2:
                y1 = y0;
                break;
            case 3:
                x1 = x0;
                break;
            case 4:
                y1 = y0 + (x1 - x0);
                break;
            case 5: // short
                x1 = x0 + 3 * frac(rng), y1 = y0 + 3 * frac(rng);
                break;
            case 6: // on pixel centres, as the plain path places them
                x0 = std::floor(x0) + 0.5, y0 = std::floor(y0) + 0.5;
                x1 = std::floor(x1) + 0.5, y1 = std::floor(y1) + 0.5;
                break;
            default:
                break;
            }
            const QRgb c = colours[rng() % 4];
            const double width = widths[rng() % 9];
            const int pattern = rng() % 6 == 0 ? (rng() % 2 ? 3 : 4) : 1;
            // (drawn apart: the order in which arguments are evaluated is the compiler's)
            const double u = frac(rng), v = frac(rng), t = frac(rng);
            if (k <= 1) {
                w.smoothLine(x0, y0, x1, y1, width, c, pattern);
            } else if (k == 2) {
                if (i % 3 == 0)
                    w.smoothRing(x0, y0, 60 * u, width, c, i % 2 ? 0 : 6 * v,
                                 i % 2 ? 7 : 6 * t - 3);
                else
                    w.smoothDisc(x0, y0, 5 * u, c);
            } else if (k == 3) {
                auto clamped = [](double v) { return int(std::clamp(std::floor(v), -1e6, 1e6)); };
                w.line(clamped(x0), clamped(y0), clamped(x1), clamped(y1), c, pattern);
            } else if (i % 4 == 0) {
                w.circle(int(x0), int(y0), int(50 * u), c);
            } else if (i % 4 == 1) {
                w.disc(int(x0), int(y0), int(8 * u), c);
            } else if (i % 4 == 2) {
                w.arc(int(x0), int(y0), int(40 * u), 6 * v, 8 * t - 4, c, i % 8 == 2, i % 16 == 2,
                      qRgb(5, 6, 7));
            } else {
                uint8_t map[13 * 9];
                for (uint8_t& m : map) {
                    const uint32_t r = rng();
                    m = uint8_t(r % 3 == 0 ? 0 : r % 7 == 0 ? 255 : r >> 8);
                }
                w.coverage(int(x0), int(y0), map, 13, 9, c);
            }
        }
        painter.end();
        EXPECT_EQ(imageHash(image), kinds[k].hash) << kinds[k].name;
    }
}

// Batching keeps the strokes and the painter's shapes and writes them band by band (two threads
// where there are two cores); every pixel must end as when each call is written at once, also
// where the painter draws by itself in between, after a flush.
TEST(PixelWriter, BatchedDrawingEndsAsDrawingAtOnce) {
    const int W = 300, H = 600; // several bands
    auto draw = [&](QImage& image, bool batched) {
        image.fill(qRgb(20, 20, 30));
        QPainter painter(&image);
        painter.setBackgroundMode(Qt::TransparentMode);
        PixelWriter w;
        EXPECT_TRUE(w.attach(painter, W, H));
        w.setBatching(batched);
        std::mt19937 rng(77);
        std::uniform_real_distribution<double> inX(-30, W + 30), inY(-30, H + 30), frac(0, 1);
        std::vector<std::array<uint8_t, 7 * 5>> maps(400);
        for (auto& map : maps)
            for (uint8_t& m : map)
                m = uint8_t(rng());
        const QRgb colours[] = {qRgb(255, 255, 255), qRgb(200, 30, 60), qRgb(0, 128, 192)};
        // Lines where a coordinate was not a number (the conversion gives the extremes).
        w.line(INT_MIN, 10, INT_MIN, 500, colours[0]);
        w.line(INT_MAX, -5, INT_MAX, 700, colours[0]);
        w.line(10, INT_MIN, 200, INT_MIN, colours[0]);
        for (int i = 0; i < 3000; ++i) {
            const double x0 = inX(rng), y0 = inY(rng), x1 = inX(rng), y1 = inY(rng), u = frac(rng);
            const QRgb c = colours[rng() % 3];
            switch (i % 11) {
            case 0:
                w.smoothLine(x0, y0, x1, y1, 1 + 6 * u, c, i % 3 == 0 ? 3 + i % 2 : 1);
                break;
            case 1:
                w.line(int(x0), int(y0), int(x1), int(y1), c, i % 5 == 1 ? 4 : 1);
                break;
            case 2:
                w.smoothRing(x0, y0, 80 * u, 2, c, 1, i % 2 ? 7 : 2);
                break;
            case 3:
                w.smoothDisc(x0, y0, 6 * u, c);
                break;
            case 4:
                w.circle(int(x0), int(y0), int(90 * u), c);
                break;
            case 5:
                w.arc(int(x0), int(y0), int(40 * u), 1, 3, c, true, i % 2 == 0, qRgb(5, 6, 7));
                break;
            case 6:
                w.coverage(int(x0), int(y0), maps[size_t(i / 11) % maps.size()].data(), 7, 5, c);
                break;
            case 7:
                w.disc(int(x0), int(y0), int(9 * u), c);
                break;
            case 8: {
                painter.setRenderHint(QPainter::Antialiasing, i % 2 == 0);
                painter.setPen(QPen(QColor(c), i % 3));
                painter.setBrush(QColor(c).darker());
                const QPointF head[4] = {
                    {x0, y0}, {x0 + 12 * u, y0 + 5}, {x0 + 3, y0 + 14 * u}, {x0 - 4, y0 + 6}};
                if (!w.keepPolygon(painter, head, 4)) painter.drawPolygon(head, 4);
                const QRectF box(x1, y1, 40 * u, 40 * u);
                if (!w.keepArc(painter, box, 320, 1500, i % 2 == 0))
                    i % 2 ? painter.drawArc(box, 320, 1500) : painter.drawPie(box, 320, 1500);
                break;
            }
            case 9: // the painter's own drawing over some rows, after what they were given
                if (i % 4 == 0) {
                    w.flush();
                    painter.fillRect(QRectF(x0, y0, 30, 20), QColor(c).lighter());
                }
                break;
            default:
                w.fillRect(int(x0), int(y0), 25, 3, c);
                break;
            }
        }
        w.setBatching(false);
    };
    QImage once(W, H, QImage::Format_RGB32), batched(W, H, QImage::Format_RGB32);
    draw(once, false);
    draw(batched, true);
    int differing = 0, drawn = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            differing += once.pixel(x, y) != batched.pixel(x, y);
            drawn += once.pixel(x, y) != qRgb(20, 20, 30);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(drawn, W * H / 4);
}

// A shape the painter would draw wholly outside the image is dropped, without writing what was
// kept before it; one inside the image is kept.
TEST(PixelWriter, ShapesOutsideTheImageAreDroppedWithoutWritingTheList) {
    const QRgb ground = qRgb(20, 20, 30);
    QImage image(200, 300, QImage::Format_RGB32);
    image.fill(ground);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::white, 3));
    PixelWriter w;
    ASSERT_TRUE(w.attach(painter, 200, 300));
    w.setBatching(true);
    w.smoothLine(10, 10, 190, 290, 1, qRgb(255, 255, 255));
    const QPointF above[3] = {{50, -40}, {60, -12}, {70, -30}};
    EXPECT_TRUE(w.keepPolygon(painter, above, 3));
    EXPECT_TRUE(w.keepArc(painter, QRectF(20, 310, 40, 40), 0, 5760, true));
    EXPECT_EQ(image.pixel(100, 150), ground); // still kept
    EXPECT_TRUE(w.keepArc(painter, QRectF(20, 250, 40, 40), 0, 5760, true));
    w.flush();
    EXPECT_NE(image.pixel(100, 150), ground);
    EXPECT_NE(image.pixel(40, 250), ground);
}
