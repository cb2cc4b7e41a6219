#include "view/pixelwriter.h"

#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <numeric>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qorv {

// One drawing call kept while batching, with its arguments.
struct PixelWriter::Command {
    enum Op : uint8_t {
        Line,
        Circle,
        FillRect,
        Disc,
        Arc,
        SmoothLine,
        SmoothRing,
        SmoothDisc,
        Coverage,
        Painter // painted_[i[0]]
    } op;
    int i[5] = {};
    double d[6] = {};
    QRgb colour = 0;
    QRgb fill = 0;
    const uint8_t* map = nullptr;
};

namespace {

// Rows of one band: few enough that a band of a 4K image stays in the cache while the strokes
// cross it, many enough that a long stroke is not begun too often.
constexpr int BandRows = 128;
// Below this many strokes a second thread costs more than it saves.
constexpr size_t SharedFrom = 64;

} // namespace

// A shape the painter draws, with the painter's state for it.
struct PixelWriter::Painted {
    QPen pen;
    QBrush brush;
    bool antialiased = false;
    Qt::BGMode background = Qt::TransparentMode;
    int count = 0; // polygon corners; 0: the arc or pie
    QPointF points[4];
    QRectF box;
    int start = 0, sweep = 0;
    bool pie = false;
};

// A painter of one writer's bands: over the whole image (as the one attached), clipped to the
// band being written.
struct PixelWriter::BandPainter {
    QImage image;
    QPainter painter;
    int top = -1, bottom = -1;
};

PixelWriter::PixelWriter() = default;

bool PixelWriter::attach(QPainter& painter, int width, int height) {
    flush();
    batching_ = false;
    bits_ = nullptr;
    if (!painter.isActive() || !painter.device() || painter.device()->devType() != QInternal::Image)
        return false;
    auto* image = static_cast<QImage*>(painter.device());
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
        f != QImage::Format_ARGB32_Premultiplied)
        return false;
    if (!image->isDetached() || !painter.deviceTransform().isIdentity() || painter.hasClipping() ||
        painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    bits_ = image->bits();
    stride_ = image->bytesPerLine();
    imageWidth_ = image->width();
    imageHeight_ = image->height();
    imageFormat_ = int(f);
    width_ = std::min(width, image->width());
    height_ = std::min(height, image->height());
    if (width_ <= 0 || height_ <= 0) bits_ = nullptr;
    top_ = 0;
    bottom_ = height_;
    if (bits_) {
        bandCount_ = (height_ + BandRows - 1) / BandRows;
        if (bandItems_.size() < size_t(bandCount_)) bandItems_.resize(size_t(bandCount_));
    }
    // A run of a row never reaches beyond the image's width or height; the blender reads whole
    // groups of four beyond it.
    if (bits_ && runCover_.size() < size_t(std::max(width_, height_)) + 8)
        runCover_.resize(size_t(std::max(width_, height_)) + 8);
    return bits_ != nullptr;
}

void PixelWriter::span(int x0, int x1, int y, QRgb colour) {
    if (y < top_ || y >= bottom_) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    if (x0 > x1) return;
    std::fill_n(row(y) + x0, x1 - x0 + 1, colour);
}

void PixelWriter::fillRect(int x, int y, int w, int h, QRgb colour) {
    if (batching_) return record({Command::FillRect, {x, y, w, h}, {}, colour});
    const int y1 = int(std::min<long long>(y + (long long)h, bottom_));
    for (int j = std::max(y, top_); j < y1; ++j)
        span(x, x + w - 1, j, colour);
}

namespace {

// The solid walk of line() along its major axis (`major` pixels, `minor` steps across, minor <=
// major): after k pixels it has stepped across (2 minor k + major - 1) / (2 major) times, its
// error starting at 2 minor - major and growing by 2 minor a pixel, less 2 major a step across.
struct WalkState {
    int along, across, err;
};
inline WalkState walkAfter(int along0, int across0, int acrossSign, long long major,
                           long long minor, long long k) {
    const long long j = (2 * minor * k + major - 1) / (2 * major);
    return {int(along0 + k), int(across0 + acrossSign * j),
            int(2 * minor - major + 2 * minor * k - 2 * major * j)};
}
// The fewest pixels after which the walk has stepped across `t` times; LLONG_MAX if never.
inline long long walkSteps(long long major, long long minor, long long t) {
    if (t <= 0) return 0;
    if (t > minor) return LLONG_MAX; // (it never steps across more often than that)
    return (2 * major * t - major + 1 + 2 * minor - 1) / (2 * minor);
}

} // namespace

void PixelWriter::line(int x0, int y0, int x1, int y1, QRgb colour, int pattern) {
    if (batching_) return record({Command::Line, {x0, y0, x1, y1, pattern}, {}, colour});
    static constexpr int dotted[] = {3, 3};
    static constexpr int dashDot[] = {9, 6, 3, 6};
    if (pattern == 3 || pattern == 4) {
        // Bresenham, with the pattern counted along the line.
        const int* dashes = pattern == 3 ? dotted : dashDot;
        const int dashCount = pattern == 3 ? 2 : 4;
        int dash = 0, left = dashes[0];
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            if ((dash % 2) == 0) plot(x0, y0, colour);
            if (--left == 0) {
                dash = (dash + 1) % dashCount;
                left = dashes[dash];
            }
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
        return;
    }
    if (y0 == y1) {
        span(std::min(x0, x1), std::max(x0, x1), y0, colour);
        return;
    }
    // Solid: the same pixels as the Bresenham walk above, in one loop per major axis. Both
    // coordinates move monotonically, so the pixels inside the image form one stretch: the walk
    // first skips to it, then writes without per-pixel bounds tests until it leaves.
    const int adx = std::abs(x1 - x0), ady = std::abs(y1 - y0);
    if (adx >= ady) {
        if (x0 > x1) std::swap(x0, x1), std::swap(y0, y1);
        const int sy = y0 < y1 ? 1 : -1;
        int err = 2 * ady - adx, y = y0, x = x0;
        // Straight to the first pixel within the image's columns and the rows written.
        const long long steps = std::max(
            x < 0 ? -(long long)x : 0LL,
            walkSteps(adx, ady, sy > 0 ? top_ - (long long)y0 : y0 - (long long)bottom_ + 1));
        if (steps > (long long)x1 - x0) return;
        if (steps > 0) {
            const WalkState w = walkAfter(x0, y0, sy, adx, ady, steps);
            x = w.along, y = w.across, err = w.err;
        }
        const int xEnd = std::min(x1, width_ - 1);
        if (x > xEnd || y < top_ || y >= bottom_) return;
        uint32_t* p = row(y) + x;
        const long long rowStep = sy * (stride_ / 4);
        if (adx >= 4 * ady) {
            // Flat lines: whole runs of a row at once. The run goes on while the error stays
            // at or below zero, and ends with the pixel after which it turns positive.
            const long long up = 2LL * ady;
            long long e = err;
            while (x <= xEnd) {
                const long long run = e > 0 ? 1 : 2 + (-e) / up;
                const int n = int(std::min<long long>(run, xEnd - x + 1));
                std::fill_n(p, n, colour);
                if (n < run) return;
                x += n;
                e += (run - 1) * up - 2LL * adx + up;
                y += sy;
                if (y < top_ || y >= bottom_) return;
                p += rowStep + n;
            }
            return;
        }
        // Diagonal lines: a new row every pixel or few; as for steep lines below, the row some
        // rows ahead is asked for early (as an address only: a prefetch beyond the image is
        // harmless).
        const intptr_t ahead = (16 * rowStep + 16LL * adx / ady) * 4;
        for (; x <= xEnd; ++x) {
            *p++ = colour;
            if (err > 0) {
                y += sy;
                if (y < top_ || y >= bottom_) return;
                p += rowStep;
                __builtin_prefetch(reinterpret_cast<const void*>(uintptr_t(p) + ahead), 1);
                err -= 2 * adx;
            }
            err += 2 * ady;
        }
    } else {
        if (y0 > y1) std::swap(x0, x1), std::swap(y0, y1);
        const int sx = x0 < x1 ? 1 : -1;
        int err = 2 * adx - ady, x = x0, y = y0;
        const long long steps =
            std::max(std::max(top_ - (long long)y0, 0LL),
                     walkSteps(ady, adx, sx > 0 ? -(long long)x0 : x0 - (long long)width_ + 1));
        if (steps > (long long)y1 - y0) return;
        if (steps > 0) {
            const WalkState w = walkAfter(y0, x0, sx, ady, adx, steps);
            y = w.along, x = w.across, err = w.err;
        }
        const int yEnd = std::min(y1, bottom_ - 1);
        if (y > yEnd || unsigned(x) >= unsigned(width_)) return;
        uint32_t* p = row(y) + x;
        const long long rowStep = stride_ / 4;
        for (; y <= yEnd; ++y) {
            // Every row is another cache line: ask for the ones some rows ahead early (a prefetch
            // beyond the image is harmless).
            __builtin_prefetch(p + 16 * rowStep, 1);
            *p = colour;
            p += rowStep;
            if (err > 0) {
                x += sx;
                if (unsigned(x) >= unsigned(width_)) return;
                p += sx;
                err -= 2 * ady;
            }
            err += 2 * adx;
        }
    }
}

namespace {

// Every channel of a 32-bit pixel times a / 255, rounded to the nearest (Qt's BYTE_MUL).
inline uint32_t byteMul(uint32_t x, uint32_t a) {
    uint64_t t = ((uint64_t(x) | (uint64_t(x) << 24)) & 0x00ff00ff00ff00ffull) * a;
    t = (t + ((t >> 8) & 0x00ff00ff00ff00ffull) + 0x0080008000800080ull) >> 8;
    t &= 0x00ff00ff00ff00ffull;
    return uint32_t(t) | uint32_t(t >> 24);
}

} // namespace

void PixelWriter::coverage(int x, int y, const uint8_t* map, int width, int height, QRgb colour) {
    if (batching_) {
        Command c{Command::Coverage, {x, y, width, height}, {}, colour};
        c.map = map;
        return record(c);
    }
    const int x0 = std::max(x, 0), x1 = std::min(x + width, width_);
    const int y0 = std::max(y, top_), y1 = std::min(y + height, bottom_);
    if (x0 >= x1 || y0 >= y1) return;
    // The colour's share at each coverage, kept while texts of one colour follow each other.
    const uint32_t c = colour | 0xff000000u;
    if (c != shadedColour_) { // (the colour alone at full coverage)
        shadedColour_ = c;
        for (uint32_t a = 0; a < 256; ++a)
            shaded_[a] = byteMul(c, a);
    }
    // d = share(a) + d * (255 - a) / 255 needs no special case: a = 0 keeps d, a = 255 gives
    // the colour.
    for (int j = y0; j < y1; ++j) {
        const uint8_t* cov = map + size_t(j - y) * size_t(width) + size_t(x0 - x);
        uint32_t* d = row(j);
        int i = x0;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255),
                      half = _mm_set1_epi16(0x80);
        for (; i + 4 <= x1; i += 4, cov += 4) {
            uint32_t four;
            std::memcpy(&four, cov, 4);
            if (four == 0) continue;
            // The complements 255 - a, each spread over its pixel's four channels.
            const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(four)), zero);
            const __m128i inv = _mm_sub_epi16(full, a16);
            const __m128i invLo =
                _mm_unpacklo_epi64(_mm_shufflelo_epi16(inv, _MM_SHUFFLE(0, 0, 0, 0)),
                                   _mm_shufflelo_epi16(inv, _MM_SHUFFLE(1, 1, 1, 1)));
            const __m128i invHi =
                _mm_unpacklo_epi64(_mm_shufflelo_epi16(inv, _MM_SHUFFLE(2, 2, 2, 2)),
                                   _mm_shufflelo_epi16(inv, _MM_SHUFFLE(3, 3, 3, 3)));
            const __m128i ground = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            // Each channel times its complement / 255, rounded as byteMul rounds.
            auto times = [&](__m128i channels, __m128i weight) {
                __m128i t = _mm_mullo_epi16(channels, weight);
                t = _mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half);
                return _mm_srli_epi16(t, 8);
            };
            const __m128i kept = _mm_packus_epi16(times(_mm_unpacklo_epi8(ground, zero), invLo),
                                                  times(_mm_unpackhi_epi8(ground, zero), invHi));
            const __m128i share = _mm_set_epi32(int(shaded_[cov[3]]), int(shaded_[cov[2]]),
                                                int(shaded_[cov[1]]), int(shaded_[cov[0]]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_add_epi32(kept, share));
        }
#endif
        for (; i < x1; ++i, ++cov) {
            const uint32_t a = *cov;
            if (a != 0) d[i] = shaded_[a] + byteMul(d[i], 255 - a);
        }
    }
}

void PixelWriter::circle(int cx, int cy, int r, QRgb colour) {
    if (batching_) return record({Command::Circle, {cx, cy, r}, {}, colour});
    if (r <= 0) {
        plot(cx, cy, colour);
        return;
    }
    // Whole circle off the rows written: nothing to do.
    if (cx + r < 0 || cx - r >= width_ || cy + r < top_ || cy - r >= bottom_) return;
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        plot(cx + x, cy + y, colour);
        plot(cx - x, cy + y, colour);
        plot(cx + x, cy - y, colour);
        plot(cx - x, cy - y, colour);
        plot(cx + y, cy + x, colour);
        plot(cx - y, cy + x, colour);
        plot(cx + y, cy - x, colour);
        plot(cx - y, cy - x, colour);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

namespace {

// Whether the screen offset (dx, dy) lies in the sector from `from` sweeping `span` (0..2 pi)
// counter-clockwise, angles measured with y up.
struct Sector {
    double ux, uy, vx, vy;
    bool wide;
    Sector(double from, double span) {
        ux = std::cos(from), uy = std::sin(from);
        vx = std::cos(from + span), vy = std::sin(from + span);
        wide = span > 3.141592653589793;
    }
    bool contains(double dx, double dy) const {
        const double wx = dx, wy = -dy;
        const double eps = 1e-9 * (std::fabs(wx) + std::fabs(wy)); // the ends belong to it
        if (!wide) return ux * wy - uy * wx >= -eps && wx * vy - wy * vx >= -eps;
        return !(vx * wy - vy * wx > eps && wx * uy - wy * ux > eps);
    }
};

} // namespace

void PixelWriter::arc(int cx, int cy, int r, double from, double span, QRgb colour, bool pie,
                      bool filled, QRgb fill) {
    if (batching_) {
        Command c{Command::Arc, {cx, cy, r, int(pie), int(filled)}, {from, span}, colour};
        c.fill = fill;
        return record(c);
    }
    if (span < 0) {
        from += span;
        span = -span;
    }
    if (r <= 0 || !std::isfinite(from) || !std::isfinite(span)) return;
    if (cx + r < 0 || cx - r >= width_ || cy + r < top_ || cy - r >= bottom_) return;
    const bool whole = span >= 2 * 3.141592653589793;
    const Sector sector(from, whole ? 0.0 : span);
    if (filled) {
        const int top = std::max(cy - r, top_), bottom = std::min(cy + r, bottom_ - 1);
        const double r2 = double(r) * r + r;
        for (int y = top; y <= bottom; ++y) {
            const double dy = y - cy;
            const int half = int(std::floor(std::sqrt(std::max(0.0, r2 - dy * dy))));
            for (int x = std::max(cx - half, 0); x <= std::min(cx + half, width_ - 1); ++x)
                if (whole || sector.contains(x - cx, y - cy)) row(y)[x] = fill;
        }
    }
    if (whole) {
        circle(cx, cy, r, colour);
        return;
    }
    auto put = [&](int dx, int dy) {
        if (sector.contains(dx, dy)) plot(cx + dx, cy + dy, colour);
    };
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        put(x, y), put(-x, y), put(x, -y), put(-x, -y);
        put(y, x), put(-y, x), put(y, -x), put(-y, -x);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
    if (pie) {
        line(cx, cy, cx + int(std::lround(r * std::cos(from))),
             cy - int(std::lround(r * std::sin(from))), colour);
        line(cx, cy, cx + int(std::lround(r * std::cos(from + span))),
             cy - int(std::lround(r * std::sin(from + span))), colour);
    }
}

void PixelWriter::disc(int cx, int cy, int r, QRgb colour) {
    if (batching_) return record({Command::Disc, {cx, cy, r}, {}, colour});
    if (r < 0) return;
    const int top = std::max(cy - r, top_), bottom = std::min(cy + r, bottom_ - 1);
    const double r2 = double(r) * r + r;
    for (int y = top; y <= bottom; ++y) {
        const double dy = y - cy;
        const int half = int(std::floor(std::sqrt(std::max(0.0, r2 - dy * dy))));
        span(cx - half, cx + half, y, colour);
    }
}

namespace {

// floor and ceil of coordinates, inline (without SSE 4.1 the library's are calls); the callers
// clamp the results to the image, so far values only need to stay far.
inline int floorInt(double v) {
    v = std::clamp(v, -1e9, 1e9);
    const int i = int(v);
    return i - (v < double(i));
}
inline int ceilInt(double v) {
    v = std::clamp(v, -1e9, 1e9);
    const int i = int(v);
    return i + (v > double(i));
}

// An opacity of a run that leaves its pixel as it is (0 still makes the pixel opaque, as mix()
// does).
constexpr uint16_t Untouched = 0xffff;

// std::llround (halves away from zero) without the library call; |v| < 2^52. Adding the double
// just below 1/2 then truncating rounds every such v: a fraction of exactly 1/2 reaches the next
// integer through the sum's rounding, a smaller one never does.
inline int64_t roundToInt64(double v) {
    return int64_t(v + std::copysign(0.49999999999999994, v));
}

// The colour laid over one pixel with opacity a / 256 (a <= 256).
inline void mix(uint32_t& d, QRgb colour, uint32_t a) {
    if (a >= 256) {
        d = colour;
        return;
    }
    const uint32_t rb = (((colour & 0xff00ff) * a) + ((d & 0xff00ff) * (256 - a))) >> 8;
    const uint32_t g = (((colour & 0x00ff00) * a) + ((d & 0x00ff00) * (256 - a))) >> 8;
    d = 0xff000000u | (rb & 0xff00ff) | (g & 0x00ff00);
}

// The colour laid over one pixel with opacity `coverage` (> 0).
inline void mix(uint32_t& d, QRgb colour, double coverage) {
    mix(d, colour, coverage >= 1 ? 256u : uint32_t(coverage * 256));
}

} // namespace

void PixelWriter::blendRun(int x, int y, int count, QRgb colour) {
    uint16_t* cover = runCover_.data();
    uint32_t* p = row(y) + x;
    int i = 0;
#if defined(__SSE2__)
    // Four pixels at a time, each channel (colour a + ground (256 - a)) / 256 rounded down in
    // 16-bit lanes, exactly as mix() computes it; the last group may reach past the run (its
    // pixels are left untouched there) as long as it stays within the row. mix() writes an opaque
    // colour as it is at full opacity, which the lanes give only for opaque colours.
    if (qAlpha(colour) == 255) {
        cover[count] = cover[count + 1] = cover[count + 2] = Untouched;
        const int groups = std::min(count + 3, width_ - x) / 4;
        const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(256),
                      untouched = _mm_set1_epi16(-1);
        const __m128i opaque = _mm_set1_epi32(int(0xff000000u));
        const __m128i c16 = _mm_unpacklo_epi8(_mm_set1_epi32(int(colour)), zero);
        for (int g = 0; g < groups; ++g, i += 4) {
            const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cover + i));
            const __m128i none = _mm_cmpeq_epi16(a, untouched);
            if ((_mm_movemask_epi8(none) & 0xff) == 0xff) continue;
            // The fully covered middle of a wide line: the colour itself.
            if ((_mm_movemask_epi8(_mm_cmpeq_epi16(a, full)) & 0xff) == 0xff) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_set1_epi32(int(colour)));
                continue;
            }
            const __m128i inv = _mm_sub_epi16(full, a);
            const __m128i a2 = _mm_unpacklo_epi16(a, a), inv2 = _mm_unpacklo_epi16(inv, inv);
            const __m128i ground = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            auto mixTwo = [&](__m128i d16, __m128i a4, __m128i inv4) {
                return _mm_srli_epi16(
                    _mm_add_epi16(_mm_mullo_epi16(c16, a4), _mm_mullo_epi16(d16, inv4)), 8);
            };
            const __m128i lo = mixTwo(_mm_unpacklo_epi8(ground, zero), _mm_unpacklo_epi32(a2, a2),
                                      _mm_unpacklo_epi32(inv2, inv2));
            const __m128i hi = mixTwo(_mm_unpackhi_epi8(ground, zero), _mm_unpackhi_epi32(a2, a2),
                                      _mm_unpackhi_epi32(inv2, inv2));
            const __m128i mixed = _mm_or_si128(_mm_packus_epi16(lo, hi), opaque);
            const __m128i keep = _mm_unpacklo_epi16(none, none);
            const __m128i out =
                _mm_or_si128(_mm_and_si128(keep, ground), _mm_andnot_si128(keep, mixed));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), out);
        }
    }
#endif
    for (; i < count; ++i)
        if (cover[i] != Untouched) mix(p[i], colour, uint32_t(cover[i]));
}

void PixelWriter::blend(int x, int y, QRgb colour, double coverage) {
    if (unsigned(x) >= unsigned(width_) || y < top_ || y >= bottom_ || !(coverage > 0)) return;
    mix(row(y)[x], colour, coverage);
}

void PixelWriter::smoothLine(double x0, double y0, double x1, double y1, double width, QRgb colour,
                             int pattern) {
    if (batching_) return record({Command::SmoothLine, {pattern}, {x0, y0, x1, y1, width}, colour});
    static constexpr double stipple3[] = {4, 4};
    static constexpr double stipple4[] = {4, 8, 12, 8};
    const double* dashes = pattern == 3 ? stipple3 : pattern == 4 ? stipple4 : nullptr;
    const int dashCount = pattern == 3 ? 2 : 4;
    const double period = pattern == 3 ? 8 : 32;
    const double h = std::max(width, 1.0) / 2;
    const double reach = h + 0.5; // coverage is zero from here on
    // Work along the major axis: swap the axes for steep lines.
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    double a0 = steep ? y0 : x0, b0 = steep ? x0 : y0;
    double a1 = steep ? y1 : x1, b1 = steep ? x1 : y1;
    if (a0 > a1) std::swap(a0, a1), std::swap(b0, b1);
    const double da = a1 - a0, db = b1 - b0;
    const double len = std::sqrt(da * da + db * db);
    if (!std::isfinite(len)) return;
    const double ua = len > 0 ? da / len : 1, ub = len > 0 ? db / len : 0;
    const int majorLimit = steep ? height_ : width_, minorLimit = steep ? width_ : height_;
    // The pixels written along each axis: the rows are those of the band being drawn.
    const int majorLow = steep ? top_ : 0, majorHigh = steep ? bottom_ - 1 : width_ - 1;
    const int minorLow = steep ? 0 : top_, minorHigh = steep ? width_ - 1 : bottom_ - 1;
    auto put = [&](int major, int minor, double c) {
        if (steep)
            blend(minor, major, colour, c);
        else
            blend(major, minor, colour, c);
    };
    auto dashed = [&](double s) {
        if (!dashes || s < 0 || s > len) return false;
        double phase = std::fmod(s, period);
        int i = 0;
        while (i < dashCount - 1 && phase >= dashes[i])
            phase -= dashes[i++];
        return i % 2 == 1;
    };
    const int m0 = std::max(floorInt(a0 - reach), majorLow);
    const int m1 = std::min(floorInt(a1 + reach), majorHigh);
    const double slope = da > 0 ? db / da : 0;
    // Minor extent of the band of half-width `reach` about the line, per major step.
    const double ext = reach * len / std::max(da, 1e-12) + 0.5;
    // Solid x-major lines leave the columns between their ends to a pass by rows below.
    const bool byRows = !steep && !dashes;
    int inner0 = -1, inner1 = -2; // (the interior columns follow each other)
    constexpr int Ahead = 12;
    const intptr_t prefetchOffset = Ahead * stride_ + intptr_t(Ahead * slope) * 4;
    // The last column from m on (m within the segment's span) that is still within it.
    auto interiorEnd = [&](int m) {
        int last = floorInt(std::min(a1 - 0.5, double(m1)));
        while (last < m1 && last + 1.5 <= a1)
            ++last;
        while (last > m && last + 0.5 > a1)
            --last;
        return last;
    };
    for (int m = m0; m <= m1; ++m) {
        const double pa = m + 0.5;
        const bool cap = pa < a0 || pa > a1;
        if (byRows && !cap) {
            // The interior is one stretch of columns, left to the pass by rows.
            inner0 = m;
            inner1 = m = interiorEnd(m);
            continue;
        }
        if (!dashes && !cap) {
            // Steep solid lines: each row's few pixels, through a pointer that walks down the
            // rows. Each row is another cache line (and often another page): the one some rows
            // ahead is asked for early (as an address only: a prefetch beyond the image is
            // harmless).
            const int last = interiorEnd(m);
            unsigned char* line = bits_ + stride_ * m;
            for (; m <= last; ++m, line += stride_) {
                const double qa = m + 0.5 - a0;
                const double bc = b0 + qa * slope;
                // The pixels from f0 = floor(bc - ext) to f1 = floor(bc + ext) are those the
                // line may reach; across is (bc - n - 1/2) ua, so f0 and f1 lie at reach or
                // beyond and are skipped (within the image), the distance still carried from f0.
                // Truncation serves as the floor: below 0 only f0's sign matters, and f1 < 0
                // leaves no pixel either way.
                const double v0 = bc - ext, v1 = std::clamp(bc + ext, -1e9, 1e9);
                const int f0 = v0 < 0 ? -1 : int(std::min(v0, 1e9)), f1 = int(v1);
                const int n0 = std::max(f0 + 1, 0);
                const int n1 = f1 <= minorLimit - 1 ? f1 - 1 : minorLimit - 1;
                double across = qa * ub - (std::max(f0, 0) + 0.5 - b0) * ua;
                if (f0 >= 0) across -= ua;
                uint32_t* p = reinterpret_cast<uint32_t*>(line) + n0;
                __builtin_prefetch(reinterpret_cast<const void*>(uintptr_t(p) + prefetchOffset), 1);
                for (int n = n0; n <= n1; ++n, across -= ua, ++p) {
                    const double d = std::fabs(across);
                    if (d < reach) mix(*p, colour, reach - d);
                }
            }
            m = last;
            continue;
        }
        const double bc = cap ? (pa < a0 ? b0 : b1) : b0 + (pa - a0) * slope;
        // (from the image's first pixel, not the band's: the distance across below is
        // carried from pixel to pixel, and must be carried the same way in every band)
        const int n0 = std::max(floorInt(bc - (cap ? reach : ext)), 0);
        const int n1 = std::min(floorInt(bc + (cap ? reach : ext)), minorHigh);
        const double qa = pa - a0;
        if (cap) {
            const double ea = pa < a0 ? a0 : a1, eb = pa < a0 ? b0 : b1;
            for (int n = std::max(n0, minorLow); n <= n1; ++n) {
                const double dx = pa - ea, dy = n + 0.5 - eb;
                const double d = std::sqrt(dx * dx + dy * dy);
                // Round ends, except for broken lines whose pattern starts or ends off.
                if (dashes && dashed(pa < a0 ? 0.0 : len)) continue;
                put(m, n, reach - d);
            }
            continue;
        }
        // Broken lines from here on. Blending reads the image: fetch the memory a little ahead
        // along the line, or every new cache line costs a full trip to memory.
        if (!steep && (m & 7) == 0) {
            const int ahead = std::min(m + 128, majorLimit - 1);
            const int nb = std::clamp(int(bc + (ahead - m) * slope), 0, minorLimit - 1);
            for (int k = -2; k <= 2; ++k)
                if (unsigned(nb + k) < unsigned(minorLimit))
                    __builtin_prefetch(row(nb + k) + ahead, 1);
        }
        // Inside the segment's span: the distance across changes linearly along the column.
        const double s0 = qa * ua + (n0 + 0.5 - b0) * ub;
        double across = qa * ub - (n0 + 0.5 - b0) * ua;
        for (int n = n0; n <= n1; ++n, across -= ua) {
            const double d = std::fabs(across);
            if (d >= reach || n < minorLow) continue;
            const double s = s0 + (n - n0) * ub;
            if (s < 0 || s > len) {
                const double ex = s < 0 ? a0 : a1, ey = s < 0 ? b0 : b1;
                const double dx = pa - ex, dy = n + 0.5 - ey;
                put(m, n, reach - std::sqrt(dx * dx + dy * dy));
                continue;
            }
            if (dashed(s)) continue;
            put(m, n, reach - d);
        }
    }
    if (inner0 > inner1) return;
    // The columns between the ends of a solid x-major line, row by row so that memory is walked
    // in order (by columns every pixel is a new cache line). Along a row the distance across
    // changes by ub per pixel; it is kept in 32.32 fixed point, so the coverage in 1/256ths is
    // its top bits.
    constexpr double one = 4294967296.0;
    const double cA = b0 + (inner0 + 0.5 - a0) * slope, cB = b0 + (inner1 + 0.5 - a0) * slope;
    const int r0 = std::max(floorInt(std::min(cA, cB) - ext), minorLow);
    const int r1 = std::min(floorInt(std::max(cA, cB) + ext), minorHigh);
    const int64_t reachFixed = int64_t(reach * one), step = roundToInt64(ub * one);
    // How far along the line the row Ahead rows on lies (only an address to fetch early).
    const double aheadAlong = ub != 0 ? Ahead * ua / ub : 0;
    for (int n = r0; n <= r1; ++n) {
        // across(m) = (m + 0.5 - a0) ub - c, below reach in size over an interval of m.
        const double c = (n + 0.5 - b0) * ua;
        int lo = inner0, hi = inner1;
        if (ub != 0) {
            const double t0 = (c - reach) / ub + a0 - 0.5, t1 = (c + reach) / ub + a0 - 0.5;
            lo = std::max(lo, floorInt(std::min(t0, t1)));
            hi = std::min(hi, ceilInt(std::max(t0, t1)));
        } else if (std::fabs(c) >= reach) {
            continue;
        }
        if (lo > hi) continue;
        int64_t across = roundToInt64(((lo + 0.5 - a0) * ub - c) * one);
        if (hi - lo < 8) {
            // Short runs (lines far from horizontal) pixel by pixel, with the row some rows
            // ahead asked for early as for steep lines.
            if (n + Ahead <= r1 && ub != 0) {
                const double ahead = std::clamp(lo + aheadAlong, 0.0, majorLimit - 1.0);
                __builtin_prefetch(row(n + Ahead) + int(ahead), 1);
            }
            uint32_t* p = row(n) + lo;
            for (int m = lo; m <= hi; ++m, ++p, across += step) {
                const int64_t cover = reachFixed - (across < 0 ? -across : across);
                if (cover > 0) mix(*p, colour, uint32_t(std::min<int64_t>(cover >> 24, 256)));
            }
            continue;
        }
        uint16_t* cover = runCover_.data();
        int m = lo;
#if defined(__SSE2__)
        {
            // Four at a time in doubles: every value is an integer below 2^53, so the sums are
            // exact, and scaling by 2^-24 then truncating is the shift for what is positive.
            const __m128d reachD = _mm_set1_pd(double(reachFixed)), sign = _mm_set1_pd(-0.0);
            const __m128d scale = _mm_set1_pd(1.0 / 16777216.0), zero = _mm_setzero_pd();
            const __m128d step4 = _mm_set1_pd(double(4 * step));
            const __m128i fullCover = _mm_set1_epi16(256), none = _mm_set1_epi16(-1);
            __m128d acrossLo = _mm_set_pd(double(across + step), double(across));
            __m128d acrossHi = _mm_set_pd(double(across + 3 * step), double(across + 2 * step));
            for (; m + 3 <= hi; m += 4, cover += 4, across += 4 * step) {
                const __m128d lo2 = _mm_sub_pd(reachD, _mm_andnot_pd(sign, acrossLo));
                const __m128d hi2 = _mm_sub_pd(reachD, _mm_andnot_pd(sign, acrossHi));
                const __m128i shifted =
                    _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_mul_pd(lo2, scale)),
                                       _mm_cvttpd_epi32(_mm_mul_pd(hi2, scale)));
                const __m128i positive =
                    _mm_unpacklo_epi64(_mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpgt_pd(lo2, zero)),
                                                         _MM_SHUFFLE(2, 0, 2, 0)),
                                       _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpgt_pd(hi2, zero)),
                                                         _MM_SHUFFLE(2, 0, 2, 0)));
                const __m128i a = _mm_min_epi16(_mm_packs_epi32(shifted, shifted), fullCover);
                const __m128i covered = _mm_packs_epi32(positive, positive);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(cover),
                                 _mm_or_si128(a, _mm_andnot_si128(covered, none)));
                acrossLo = _mm_add_pd(acrossLo, step4);
                acrossHi = _mm_add_pd(acrossHi, step4);
            }
        }
#endif
        for (; m <= hi; ++m, across += step) {
            const int64_t c = reachFixed - (across < 0 ? -across : across);
            *cover++ = c > 0 ? uint16_t(std::min<int64_t>(c >> 24, 256)) : Untouched;
        }
        blendRun(lo, n, hi - lo + 1, colour);
    }
}

void PixelWriter::smoothRing(double cx, double cy, double r, double width, QRgb colour, double from,
                             double span) {
    if (batching_) return record({Command::SmoothRing, {}, {cx, cy, r, width, from, span}, colour});
    if (!(r > 0) || !std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r)) return;
    const double reach = std::max(width, 1.0) / 2 + 0.5; // coverage is zero from here on
    const double outer = r + reach, inner = std::max(0.0, r - reach);
    if (cx + outer < 0 || cx - outer > width_ || cy + outer < 0 || cy - outer > height_) return;
    if (span < 0) {
        from += span;
        span = -span;
    }
    const bool whole = span >= 2 * 3.141592653589793;
    const Sector sector(from, whole ? 0.0 : span);
    const int top = std::max(int(std::ceil(cy - outer - 0.5)), top_);
    const int bottom = std::min(int(std::floor(cy + outer - 0.5)), bottom_ - 1);
    auto stretch = [&](double a, double b, int y, double py) { // pixel centres in [a, b]
        const int c0 = std::max(ceilInt(a - 0.5), 0);
        const int c1 = std::min(floorInt(b - 0.5), width_ - 1);
        uint32_t* line = row(y); // (the row and the columns lie within the image)
        for (int x = c0; x <= c1; ++x) {
            const double px = x + 0.5 - cx;
            if (!whole && !sector.contains(px, py)) continue;
            const double d = std::fabs(std::sqrt(px * px + py * py) - r);
            if (d < reach) mix(line[x], colour, reach - d);
        }
    };
    for (int y = top; y <= bottom; ++y) {
        const double py = y + 0.5 - cy;
        if (std::fabs(py) >= outer) continue;
        const double xo = std::sqrt(outer * outer - py * py);
        if (std::fabs(py) < inner) {
            const double xi = std::sqrt(inner * inner - py * py);
            stretch(cx - xo, cx - xi, y, py);
            stretch(cx + xi, cx + xo, y, py);
        } else {
            stretch(cx - xo, cx + xo, y, py);
        }
    }
}

void PixelWriter::smoothDisc(double cx, double cy, double r, QRgb colour) {
    if (batching_) return record({Command::SmoothDisc, {}, {cx, cy, r}, colour});
    if (!(r > 0) || !std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r)) return;
    const double outer = r + 0.5, inner = std::max(0.0, r - 0.5);
    const int top = std::max(int(std::floor(cy - outer)), top_);
    const int bottom = std::min(int(std::floor(cy + outer)), bottom_ - 1);
    for (int y = top; y <= bottom; ++y) {
        const double py = y + 0.5 - cy;
        if (std::fabs(py) > outer) continue;
        const double xo = std::sqrt(outer * outer - py * py);
        const double xi = std::fabs(py) < inner ? std::sqrt(inner * inner - py * py) : 0.0;
        // Pixels whose centre lies within inner are fully covered.
        const int f0 = int(std::ceil(cx - xi - 0.5)), f1 = int(std::floor(cx + xi - 0.5));
        if (xi > 0 && f0 <= f1) span(f0, f1, y, colour);
        const int c0 = std::max(int(std::floor(cx - xo)), 0);
        const int c1 = std::min(int(std::floor(cx + xo)), width_ - 1);
        for (int x = c0; x <= c1; ++x) {
            if (xi > 0 && x >= f0 && x <= f1) {
                x = f1;
                continue;
            }
            const double px = x + 0.5 - cx;
            const double d = std::sqrt(px * px + py * py);
            blend(x, y, colour, std::clamp(r + 0.5 - d, 0.0, 1.0));
        }
    }
}

// ---- batching ----------------------------------------------------------------------------------

namespace {

// Rows from lo to hi (inclusive, widened by one for rounding); every row when they are not
// numbers.
std::pair<int, int> rowsBetween(double lo, double hi) {
    if (!std::isfinite(lo) || !std::isfinite(hi)) return {INT_MIN, INT_MAX};
    return {floorInt(lo) - 1, floorInt(hi) + 1};
}

std::pair<int, int> rowsBetween(long long lo, long long hi) {
    return {int(std::clamp<long long>(lo, INT_MIN, INT_MAX)),
            int(std::clamp<long long>(hi, INT_MIN, INT_MAX))};
}

} // namespace

// A second thread that replays the kept strokes into the bands it takes, beside the one that
// flushes.
struct PixelWriter::Helper {
    enum class State { Idle, Posted, Running };
    PixelWriter writer; // its own rows of opacities and colour shares
    std::mutex mutex;
    std::condition_variable changed;
    State state = State::Idle;
    PixelWriter* job = nullptr;
    bool quit = false;
    std::thread thread{[this] { run(); }}; // last: it runs as soon as it exists

    ~Helper() {
        {
            std::lock_guard lock(mutex);
            quit = true;
        }
        changed.notify_all();
        thread.join();
    }

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return quit || state == State::Posted; });
            if (quit) return;
            state = State::Running;
            lock.unlock();
            job->replayBands(writer);
            lock.lock();
            state = State::Idle;
            changed.notify_all();
        }
    }

    void post(PixelWriter& source) {
        writer.bits_ = source.bits_;
        writer.stride_ = source.stride_;
        writer.width_ = source.width_;
        writer.height_ = source.height_;
        writer.imageWidth_ = source.imageWidth_;
        writer.imageHeight_ = source.imageHeight_;
        writer.imageFormat_ = source.imageFormat_;
        if (writer.runCover_.size() < source.runCover_.size())
            writer.runCover_.resize(source.runCover_.size());
        {
            std::lock_guard lock(mutex);
            job = &source;
            state = State::Posted;
        }
        changed.notify_all();
    }

    // Waits for the bands the helper took; a job it has not started yet is taken back.
    void finish() {
        std::unique_lock lock(mutex);
        if (state == State::Posted) state = State::Idle;
        changed.wait(lock, [&] { return state == State::Idle; });
        job = nullptr;
    }
};

PixelWriter::~PixelWriter() = default;

void PixelWriter::setBatching(bool on) {
    if (!on) flush();
    batching_ = on && bits_ != nullptr;
}

void PixelWriter::record(const Command& c) {
    std::pair<int, int> rows;
    switch (c.op) {
    case Command::Line:
        rows =
            rowsBetween(std::min<long long>(c.i[1], c.i[3]), std::max<long long>(c.i[1], c.i[3]));
        break;
    case Command::Circle:
    case Command::Disc:
    case Command::Arc:
        rows = rowsBetween((long long)c.i[1] - std::max(c.i[2], 0),
                           (long long)c.i[1] + std::max(c.i[2], 0));
        break;
    case Command::FillRect:
    case Command::Coverage:
        rows = rowsBetween((long long)c.i[1], (long long)c.i[1] + c.i[3] - 1);
        break;
    case Command::SmoothLine: {
        const double reach = std::max(c.d[4], 1.0) / 2 + 0.5;
        rows = rowsBetween(std::min(c.d[1], c.d[3]) - reach, std::max(c.d[1], c.d[3]) + reach);
        break;
    }
    case Command::SmoothRing: {
        const double reach = c.d[2] + std::max(c.d[3], 1.0) / 2 + 0.5;
        rows = rowsBetween(c.d[1] - reach, c.d[1] + reach);
        break;
    }
    case Command::SmoothDisc:
        rows = rowsBetween(c.d[1] - c.d[2] - 0.5, c.d[1] + c.d[2] + 0.5);
        break;
    case Command::Painter:
        rows = {c.i[1], c.i[2]};
        break;
    }
    if (rows.second < 0 || rows.first >= height_ || rows.first > rows.second) return;
    const auto index = uint32_t(commands_.size());
    commands_.push_back(c);
    const int last = std::min(rows.second, height_ - 1) / BandRows;
    for (int band = std::max(rows.first, 0) / BandRows; band <= last; ++band)
        bandItems_[size_t(band)].push_back(index);
}

void PixelWriter::replay(const Command& c, const std::vector<Painted>& painted) {
    switch (c.op) {
    case Command::Line:
        return line(c.i[0], c.i[1], c.i[2], c.i[3], c.colour, c.i[4]);
    case Command::Circle:
        return circle(c.i[0], c.i[1], c.i[2], c.colour);
    case Command::FillRect:
        return fillRect(c.i[0], c.i[1], c.i[2], c.i[3], c.colour);
    case Command::Disc:
        return disc(c.i[0], c.i[1], c.i[2], c.colour);
    case Command::Arc:
        return arc(c.i[0], c.i[1], c.i[2], c.d[0], c.d[1], c.colour, c.i[3] != 0, c.i[4] != 0,
                   c.fill);
    case Command::SmoothLine:
        return smoothLine(c.d[0], c.d[1], c.d[2], c.d[3], c.d[4], c.colour, c.i[0]);
    case Command::SmoothRing:
        return smoothRing(c.d[0], c.d[1], c.d[2], c.d[3], c.colour, c.d[4], c.d[5]);
    case Command::SmoothDisc:
        return smoothDisc(c.d[0], c.d[1], c.d[2], c.colour);
    case Command::Coverage:
        return coverage(c.i[0], c.i[1], c.map, c.i[2], c.i[3], c.colour);
    case Command::Painter:
        return paintInBand(painted[size_t(c.i[0])]);
    }
}

namespace {

// The rows that `painter` reaches when it draws within `area` (its pen widens the shape); false
// when they are not numbers or lie far beyond any image.
bool rowsReached(const QPainter& painter, const QRectF& area, int& top, int& bottom) {
    const double margin = 2 * std::max(painter.pen().widthF(), 1.0) + 2;
    const double t = std::floor(area.top() - margin), b = std::ceil(area.bottom() + margin);
    if (!(t > -1e9 && b < 1e9)) return false;
    top = int(t), bottom = int(b);
    return true;
}

} // namespace

bool PixelWriter::keepShape(const QPainter& painter, const Painted& shape, const QRectF& area) {
    // A shape wholly outside the image draws nothing: it is dropped, rather than left to the
    // painter, which would write everything kept first (off-view angle marks did, several
    // times a frame). One wholly below the rows written (an image taller than the drawing) is
    // left to the painter; one that reaches below them is painted with the last band, whose
    // painter's clip reaches the image's foot.
    int top = 0, bottom = 0;
    if (!batching_ || !rowsReached(painter, area, top, bottom)) return false;
    if (bottom < 0 || top >= imageHeight_) return true;
    if (top >= height_) return false;
    Command c{Command::Painter, {int(painted_.size()), top, bottom}};
    painted_.push_back(shape);
    Painted& kept = painted_.back();
    kept.pen = painter.pen();
    kept.brush = painter.brush();
    kept.antialiased = painter.testRenderHint(QPainter::Antialiasing);
    kept.background = painter.backgroundMode();
    record(c);
    return true;
}

bool PixelWriter::keepPolygon(const QPainter& painter, const QPointF* points, int count) {
    if (!batching_ || count < 1 || count > 4) return false;
    Painted shape;
    shape.count = count;
    double top = points[0].y(), bottom = top;
    for (int k = 0; k < count; ++k) {
        shape.points[k] = points[k];
        top = std::min(top, points[k].y());
        bottom = std::max(bottom, points[k].y());
    }
    return keepShape(painter, shape, QRectF(points[0].x(), top, 0, bottom - top));
}

bool PixelWriter::keepArc(const QPainter& painter, const QRectF& box, int start, int sweep,
                          bool pie) {
    if (!batching_) return false;
    Painted shape;
    shape.box = box;
    shape.start = start;
    shape.sweep = sweep;
    shape.pie = pie;
    return keepShape(painter, shape, box);
}

void PixelWriter::paintInBand(const Painted& shape) {
    if (!bandPainter_) bandPainter_ = std::make_unique<BandPainter>();
    BandPainter& b = *bandPainter_;
    if (!b.painter.isActive()) {
        b.image = QImage(bits_, imageWidth_, imageHeight_, stride_, QImage::Format(imageFormat_));
        b.painter.begin(&b.image);
        b.top = b.bottom = -1;
    }
    // The band's rows; the last band's reach to the image's foot, as the painter's would.
    const int bottom = bottom_ == height_ ? imageHeight_ : bottom_;
    if (b.top != top_ || b.bottom != bottom) {
        b.painter.setClipRect(QRect(0, top_, imageWidth_, bottom - top_));
        b.top = top_;
        b.bottom = bottom;
    }
    b.painter.setRenderHint(QPainter::Antialiasing, shape.antialiased);
    b.painter.setBackgroundMode(shape.background);
    b.painter.setPen(shape.pen);
    b.painter.setBrush(shape.brush);
    if (shape.count > 0)
        b.painter.drawPolygon(shape.points, shape.count);
    else if (shape.pie)
        b.painter.drawPie(shape.box, shape.start, shape.sweep);
    else
        b.painter.drawArc(shape.box, shape.start, shape.sweep);
}

void PixelWriter::endBandPainter() {
    if (bandPainter_ && bandPainter_->painter.isActive()) {
        bandPainter_->painter.end();
        bandPainter_->image = QImage();
    }
}

void PixelWriter::replayBand(PixelWriter& writer, int band) {
    writer.top_ = band * BandRows;
    writer.bottom_ = std::min(height_, writer.top_ + BandRows);
    for (const uint32_t item : bandItems_[size_t(band)])
        writer.replay(commands_[item], painted_);
    writer.top_ = 0;
    writer.bottom_ = writer.height_;
}

void PixelWriter::replayBands(PixelWriter& writer) {
    for (int next; (next = bandNext_.fetch_add(1, std::memory_order_relaxed)) < bandCount_;)
        replayBand(writer, bandOrder_[size_t(next)]);
    writer.endBandPainter();
}

void PixelWriter::flush() {
    if (commands_.empty()) return;
    const bool wasBatching = batching_;
    batching_ = false;
    if (bits_) {
        // The bands with the most strokes first, so that the last ones taken are short and
        // neither thread waits long for the other at the end.
        bandOrder_.resize(size_t(bandCount_));
        std::iota(bandOrder_.begin(), bandOrder_.end(), 0);
        std::stable_sort(bandOrder_.begin(), bandOrder_.end(), [&](int a, int b) {
            return bandItems_[size_t(a)].size() > bandItems_[size_t(b)].size();
        });
        bandNext_.store(0, std::memory_order_relaxed);
        static const bool twoCores = std::thread::hardware_concurrency() > 1;
        const bool shared = twoCores && bandCount_ > 1 && commands_.size() >= SharedFrom;
        if (shared) {
            if (!helper_) helper_ = std::make_unique<Helper>();
            helper_->post(*this);
        }
        replayBands(*this);
        if (shared) helper_->finish();
    }
    commands_.clear();
    painted_.clear();
    for (size_t band = 0; band < size_t(bandCount_); ++band)
        bandItems_[band].clear();
    batching_ = wasBatching;
}

} // namespace qorv
