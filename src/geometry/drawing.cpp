#include "geometry/drawing.h"

#include "geometry/conic.h"
#include "geometry/elementgeometry.h"
#include "geometry/iteration.h"
#include "geometry/locus.h"
#include "geometry/measure.h"
#include "geometry/paramcolor.h"
#include "geometry/ticks.h"
#include "geometry/workbudget.h"
#include "model/document.h"
#include "model/uitext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace qorv {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2 * Pi;

// Beyond this a coordinate is off every view: the drawing leaves it out.
bool isFar(double v) {
    return !(std::fabs(v) < 1e9);
}

bool isDrawable(const Element& e, bool showHidden) {
    if (!isValidMethod(e.method) || !e.defined || e.visible == Internal) return false;
    return e.visible != 0 || showHidden;
}

// Point sizes are for 96 dots per inch: pixel height = size * 96 / 72.
float fontPixelsOf(const FontRecord& r) {
    const int64_t size = std::clamp<int64_t>(std::abs(int64_t(r.size)), 1, 750);
    return float(std::max<long>(1, std::lround(double(size) * 96.0 / 72.0)));
}

uint32_t readLittle(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

class Describer {
  public:
    Describer(const Document& doc, const DrawingOptions& o, Drawing& out, DrawingListener* listener)
        : doc_(doc), o_(o), out_(out), listener_(listener) {}

    void run() {
        out_.clear();
        out_.background = doc_.background;
        drawables_.clear();
        for (const Element* e = doc_.head; e; e = e->next)
            if (isDrawable(*e, o_.showHidden)) drawables_.push_back(e);
        // Fills first, so that they lie under every outline.
        for (const Element* e : drawables_) {
            const int k = e->kind();
            if (k != Kind::Polygon && k != Kind::Circle && k != Kind::Angle) continue;
            if (e->option < 0 && !(e->colorParam && e->colorParamMode < 0)) continue;
            const EffectiveColors c = effectiveColors(*e);
            if (c.fill < 0) continue;
            fillOnly_ = true;
            element(*e, k == Kind::Angle ? doc_.background : 0, c.shape, c.fill, false);
            fillOnly_ = false;
        }
        for (int pass = 0; pass < 2 && !stopped_; ++pass)
            for (const Element* e : drawables_) {
                if (stopped_) break;
                if ((e->kind() == Kind::Point) != (pass == 1)) continue;
                const EffectiveColors c = effectiveColors(*e);
                const bool own = e->visible != 0 || !o_.hiddenColour;
                owner_ = e->id;
                element(*e, own ? c.color : doc_.hiddenColor, c.shape, -1, own);
            }
    }

  private:
    DrawnShape& add(Shape s, Color c, int style, Color fill, uint32_t count) {
        DrawnShape d;
        d.shape = s;
        d.element = owner_;
        d.color = c & 0xffffff;
        d.fill = fill < 0 ? -1 : (fill & 0xffffff);
        d.style = style;
        d.stroke = !fillOnly_;
        d.first = uint32_t(out_.numbers.size());
        d.count = count;
        out_.shapes.push_back(d);
        return out_.shapes.back();
    }
    void put(Point2 p) {
        out_.numbers.push_back(p.x);
        out_.numbers.push_back(p.y);
    }
    bool usable(Point2 p) const { return !isFar(p.x) && !isFar(p.y); }

    void twoPoints(Shape s, Point2 a, Point2 b, Color c, int style) {
        if (!usable(a) || !usable(b)) return;
        if (s != Shape::Segment && a.x == b.x && a.y == b.y) b.y += 1; // a direction all the same
        add(s, c, style, -1, 2);
        put(a);
        put(b);
    }

    void point(Point2 p, Color c, int style) {
        if (!usable(p)) return;
        add(Shape::Point, c, style, -1, 1);
        put(p);
    }

    void circle(Point2 centre, double r, Color c, int style, Color fill) {
        if (!usable(centre) || !(r > 0) || !std::isfinite(r)) return;
        add(Shape::Circle, c, style, fill, 3);
        put(centre);
        out_.numbers.push_back(r);
    }

    bool text(const Element& e, Point2 topLeft, const std::string& s, Color c, int background,
              const FontRecord& font, Shape shape = Shape::Text) {
        if (s.empty() || !usable(topLeft)) return false;
        DrawnShape& d = add(shape, c, 0, background, 1);
        put(topLeft);
        d.text = uint32_t(out_.texts.size());
        d.fontPixels = fontPixelsOf(font);
        d.bold = font.bold == 1;
        d.italic = font.italic == 1;
        out_.texts.push_back(s);
        out_.fonts.push_back(font.name);
        return true;
    }

    // One element in the given colour and style (`style`: for text-like kinds the background,
    // negative for none). `own`: the element is drawn in its own colours (loci keep the colour
    // of each sample).
    void element(const Element& e, Color c, int style, Color fill, bool own) {
        const size_t first = out_.shapes.size();
        shapesOf(e, c, style, fill, own);
        if (!listener_ || fillOnly_ || stopped_) return;
        // A copy's shapes were taken (and emptied) before its iteration is told.
        if (!listener_->described(e, as_, out_, std::min(first, out_.shapes.size())))
            stopped_ = true;
        if (as_ != DescribedAs::Member) out_.clear();
    }

    void shapesOf(const Element& e, Color c, int style, Color fill, bool own) {
        switch (e.kind()) {
        case Kind::Point:
            point(positionOf(e), c, style);
            return;
        case Kind::Line:
            twoPoints(Shape::Line, firstPointOf(e), secondPointOf(e), c, style);
            return;
        case Kind::Ray:
            twoPoints(Shape::Ray, firstPointOf(e), secondPointOf(e), c, style);
            return;
        case Kind::Segment:
            twoPoints(Shape::Segment, firstPointOf(e), secondPointOf(e), c, style);
            return;
        case Kind::Vector:
            vector(e, c, style);
            return;
        case Kind::Polygon:
            polygon(e, c, style, fill);
            return;
        case Kind::Circle:
            circle(firstPointOf(e), std::hypot(e.value[2] - e.value[0], e.value[3] - e.value[1]), c,
                   style, fill);
            return;
        case Kind::Arc:
            arc(e, c, style);
            return;
        case Kind::Angle:
            angle(e, c, style, fill);
            return;
        case Kind::Locus:
            locus(e, c, style, own);
            return;
        case Kind::Conic:
            conic(e, c, style);
            return;
        case Kind::Axes:
            axes(e, c, style, own);
            return;
        case Kind::Grid:
            grid(e, c, style);
            return;
        case Kind::Iteration:
            iteration(e, c, style, fill);
            return;
        case Kind::Text:
            if (const auto* t = e.tailAs<TextTail>()) {
                std::string joined;
                for (const std::string& line : t->lines)
                    joined += (&line == t->lines.data() ? "" : "\n") + line;
                text(e, {double(t->x), double(t->y)}, joined, c, style, t->font);
            }
            return;
        case Kind::Table:
            table(e, c);
            return;
        case Kind::Button:
            button(e, c, style);
            return;
        case Kind::Bitmap:
            picture(e, c);
            return;
        default:
            if (isTextLike(e.kind())) label(e, c, style);
            return;
        }
    }

    const FontRecord& fontOf(const Element& e) {
        static const FontRecord fallback;
        return e.font ? *e.font : fallback;
    }

    // Cells column by column: a header naming the column's element, then its values; the page
    // measures them with its own fonts, as the desktop does with its own.
    void table(const Element& e, Color c) {
        const auto* t = e.tailAs<TableTail>();
        if (!t || t->columns.empty()) return;
        const int rows = std::clamp(t->rows, 0, TableTail::MaxRows);
        std::string cells;
        for (const TableColumn& col : t->columns) {
            std::string head = col.element ? doc_.nameOf(col.element) : std::string();
            if (head.empty() && col.element) head = uiText().kindName(col.element->kind());
            // A cell is one line: its own line breaks would run into the next cell.
            std::replace(head.begin(), head.end(), '\n', ' ');
            cells += (&col == t->columns.data() ? "" : "\n") + head;
            for (int r = 0; r < rows; ++r) {
                cells += '\n';
                if (size_t(r) < col.values.size())
                    cells += tableCellText(col.values[size_t(r)], e.decimals);
            }
        }
        if (!text(e, secondPointOf(e), cells, c, -1, fontOf(e), Shape::Table)) return;
        out_.shapes.back().style = rows + 1;
        out_.shapes.back().variant = e.option == NoValue ? TableAcross : 0;
    }

    // A face of the colour in `shape` (grey without one), raised while the state word is set.
    void button(const Element& e, Color c, int face) {
        const std::string caption = displayText(doc_, e);
        if (!text(e, secondPointOf(e), caption.empty() ? std::string(" ") : caption, c,
                  face >= 0 ? face : rgb(192, 192, 192), fontOf(e), Shape::Button))
            return;
        out_.shapes.back().variant = e.option2 != 0 ? ButtonRaised : 0;
    }

    // Free, with its top-left corner at its first two values; anchored to a point, placed by
    // `option` 1..9.
    void picture(const Element& e, Color c) {
        const auto* t = e.tailAs<BitmapTail>();
        int32_t w = 0, h = 0;
        if (!t || !windowsBitmapSize(t->picture.data(), t->picture.size(), w, h)) return;
        const int64_t pixels = int64_t(w) * h;
        if (pixels > MaxPicturePixels || picturePixels_ + pixels > MaxDrawingPicturePixels) return;
        picturePixels_ += pixels;
        const Point2 anchor = e.parent1 ? positionOf(*e.parent1) : firstPointOf(e);
        if (!usable(anchor)) return;
        DrawnShape& d = add(Shape::Picture, c,
                            e.parent1 && e.option >= 1 && e.option <= 9 ? e.option : 0, -1, 2);
        put(anchor);
        put({double(w), double(h)});
        d.text = uint32_t(out_.pictures.size());
        out_.pictures.push_back({t->picture.data(), t->picture.size()});
    }

    // Where a text-like element keeps the top-left of its text (world): the third and fourth
    // values, except for names (first and second) and coordinates (a polar offset from their
    // point).
    void label(const Element& e, Color c, int background) {
        Point2 at = secondPointOf(e);
        if (e.kind() == Kind::Name) {
            if (e.option == 0) return; // shown inside its element's own text
            at = firstPointOf(e);
        } else if (e.kind() == Kind::Coordinates) {
            if (!e.parent1) return;
            at = {e.parent1->value[0] + e.value[0] * std::cos(e.value[1]),
                  e.parent1->value[1] + e.value[0] * std::sin(e.value[1])};
        }
        static const FontRecord fallback;
        text(e, at, displayText(doc_, e), c, background, e.font ? *e.font : fallback);
    }

    // The segment, then a filled head: (-8, 0), (-12, -4), (0, 0), (-12, 4) along the vector,
    // measured back from its tip.
    void vector(const Element& e, Color c, int style) {
        const Point2 a = firstPointOf(e), b = secondPointOf(e);
        twoPoints(Shape::Segment, a, b, c, style);
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (!(len > 0) || !usable(a) || !usable(b)) return;
        const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
        add(Shape::Polygon, c, 1, c, 4);
        for (const auto& [along, across] : {std::pair{-8.0, 0.0}, std::pair{-12.0, -4.0},
                                            std::pair{0.0, 0.0}, std::pair{-12.0, 4.0}})
            put({b.x + along * ux - across * uy, b.y + along * uy + across * ux});
    }

    void polygon(const Element& e, Color c, int style, Color fill) {
        const auto* t = e.tailAs<PolygonTail>();
        if (!t || t->sides.empty()) return;
        for (const SubElement& side : t->sides)
            if (!side->parent1 || !usable(positionOf(*side->parent1))) return;
        add(Shape::Polygon, c, style, fill, uint32_t(t->sides.size()));
        for (const SubElement& side : t->sides)
            put(positionOf(*side->parent1));
    }

    void arc(const Element& e, Color c, int style) {
        if (!e.parent1 || !e.parent3) return;
        if (e.option2 != 0) {
            // Straight: the segment between its ends, or (through infinity) the rest of the line.
            const Point2 a = firstPointOf(e), b = secondPointOf(e);
            if (e.option == 0) {
                twoPoints(Shape::Segment, a, b, c, style);
            } else if (a.x != b.x || a.y != b.y) {
                twoPoints(Shape::Ray, a, {2 * a.x - b.x, 2 * a.y - b.y}, c, style);
                twoPoints(Shape::Ray, b, {2 * b.x - a.x, 2 * b.y - a.y}, c, style);
            }
            return;
        }
        const Point2 centre = firstPointOf(e), p1 = positionOf(*e.parent1),
                     p3 = positionOf(*e.parent3);
        const double radius = std::hypot(e.value[2] - e.value[0], e.value[3] - e.value[1]);
        if (!(radius > 0) || !std::isfinite(radius) || !usable(centre)) return;
        const double a1 = std::atan2(p1.y - centre.y, p1.x - centre.x);
        const double a3 = std::atan2(p3.y - centre.y, p3.x - centre.x);
        // option 1: counter-clockwise from the first point to the third; else clockwise.
        const double sweep = e.option == 1 ? normalizeAngle(a3 - a1) : -normalizeAngle(a1 - a3);
        add(Shape::Arc, c, style, -1, 5);
        put(centre);
        for (const double v : {radius, a1, sweep})
            out_.numbers.push_back(v);
    }

    void angle(const Element& e, Color c, int style, Color fill) {
        AngleMark mark;
        if (!angleMarkOf(e, mark) || !mark.shown || !usable(mark.vertex)) return;
        const Point2 v = mark.vertex;
        const double r = mark.radius, from = mark.from, sweep = mark.sweep;
        add(Shape::AngleMark, c, style, fill, 5);
        put(v);
        for (const double x : {r, from, sweep})
            out_.numbers.push_back(x);
    }

    void locus(const Element& e, Color c, int style, bool own) {
        if (isFamilyLocus(e)) {
            struct Members : FamilyVisitor {
                Describer& d;
                Color c;
                int style;
                Members(Describer& describer, Color colour, int s)
                    : d(describer), c(colour), style(s) {}
                bool visit(const Element& member) override {
                    d.element(member, c, style, -1, false);
                    return !d.stopped_;
                }
            } members(*this, c, style);
            // The family is re-run and the construction left exactly as it was.
            const DescribedAs saved = as_;
            as_ = DescribedAs::Member;
            runFamilyLocus(const_cast<Document&>(doc_), e, members);
            as_ = saved;
            return;
        }
        const auto* t = e.tailAs<SampledCurveTail>();
        if (!t) return;
        const int n = storedSamples(*t);
        const bool graph = e.method == Method::FunctionGraph;
        auto colourAt = [&](int i) {
            if (!own || graph) return c;
            const int32_t w = t->words[size_t(i)];
            return w < 0 ? c : Color(w);
        };
        if (isGridLocus(e)) {
            for (int i = 0; i < n; ++i)
                if (isSampleDefined(*t, i)) point(t->first[size_t(i)], colourAt(i), 6);
            return;
        }
        const int traced = graph || !e.parent1 ? int(Kind::Point) : e.parent1->kind();
        if (traced == Kind::Point) {
            // Its pieces, as every output breaks it; a change of colour starts a new polyline
            // (each join in the colour of its first sample).
            forEachCurvePiece(e, *t, [&](int first, int count) {
                for (int k0 = 0; k0 + 1 < count;) {
                    const Color ci = colourAt((first + k0) % n);
                    int k1 = k0 + 1;
                    while (k1 + 1 < count && colourAt((first + k1) % n) == ci)
                        ++k1;
                    add(Shape::Polyline, ci, style, -1, uint32_t(k1 - k0 + 1));
                    for (int k = k0; k <= k1; ++k)
                        put(t->first[size_t((first + k) % n)]);
                    k0 = k1;
                }
            });
            return;
        }
        // A stored family: one drawing per sample.
        for (int i = 0; i < n; ++i) {
            if (!isSampleDefined(*t, i)) continue;
            const Point2 a = t->first[size_t(i)], b = t->second[size_t(i)];
            const Color ci = colourAt(i);
            switch (traced) {
            case Kind::Line:
                twoPoints(Shape::Line, a, b, ci, style);
                break;
            case Kind::Ray:
                twoPoints(Shape::Ray, a, b, ci, style);
                break;
            case Kind::Segment:
            case Kind::Vector:
                twoPoints(Shape::Segment, a, b, ci, style);
                break;
            case Kind::Circle:
                circle(a, std::hypot(b.x - a.x, b.y - a.y), ci, style, -1);
                break;
            default:
                break;
            }
        }
    }

    void conic(const Element& e, Color c, int style) {
        const auto* t = e.tailAs<ConicTail>();
        if (!t) return;
        if (isLinePairConic(e)) {
            Point2 a[2], b[2];
            if (conicLines(e, a, b))
                for (int i = 0; i < 2; ++i)
                    twoPoints(Shape::Line, a[i], b[i], c, style);
            return;
        }
        // The samples in curve order, broken where a chord is a jump between arms.
        const int n = ConicTail::SampleCount;
        int start = 0;
        for (int i = 0; i < n; ++i) {
            const bool last = i == n - 1;
            const bool gap = conicChordIsGap(t->conicType, i);
            if (gap || last) {
                const bool closed = last && !gap && start == 0;
                const int end = i; // inclusive
                const int count = end - start + 1 + (closed ? 1 : 0);
                bool ok = count >= 2;
                for (int k = start; k <= end && ok; ++k)
                    ok = usable(t->samples[size_t(k)]);
                if (ok) {
                    add(Shape::Polyline, c, style, -1, uint32_t(count));
                    for (int k = start; k <= end; ++k)
                        put(t->samples[size_t(k)]);
                    if (closed) put(t->samples[0]);
                }
                start = i + 1;
            }
        }
    }

    void axes(const Element& e, Color c, int style, bool own) {
        const auto* t = e.tailAs<AxesTail>();
        AxesFrame frame;
        if (!t || !axesFrameOf(&e, frame)) return;
        const Point2 o = frame.origin;
        for (const SubElement* axis : {&t->xAxis, &t->yAxis}) {
            if (!*axis) continue;
            const Element& a = **axis;
            if (a.visible == Internal || (a.visible == 0 && !o_.showHidden)) continue;
            const Color colour = own ? (a.visible == 0 ? doc_.hiddenColor : a.color) : c;
            const Point2 dir = axis == &t->xAxis ? Point2{o.x + 10, o.y} : Point2{o.x, o.y + 10};
            twoPoints(Shape::Line, o, dir, colour, own ? a.shape : style);
        }
        // Ticks at every multiple of the step within the visible area, but at the origin.
        const double sx = tickStep(frame.unitX) * frame.unitX,
                     sy = tickStep(frame.unitY) * frame.unitY;
        constexpr int MaxTicks = 20000;
        if (sx >= 2 && o.y <= o_.top && o.y >= o_.bottom) {
            const double k0 = std::ceil((o_.left - o.x) / sx),
                         k1 = std::floor((o_.right - o.x) / sx);
            for (double k = k0; k <= k1 && k - k0 < MaxTicks; ++k)
                if (std::fabs(k * sx) >= 0.0001)
                    twoPoints(Shape::Segment, {o.x + k * sx, o.y + 1}, {o.x + k * sx, o.y - 2}, c,
                              1);
        }
        if (sy >= 2 && o.x >= o_.left && o.x <= o_.right) {
            const double k0 = std::ceil((o_.bottom - o.y) / sy),
                         k1 = std::floor((o_.top - o.y) / sy);
            for (double k = k0; k <= k1 && k - k0 < MaxTicks; ++k)
                if (std::fabs(k * sy) >= 0.0001)
                    twoPoints(Shape::Segment, {o.x - 1, o.y + k * sy}, {o.x + 2, o.y + k * sy}, c,
                              1);
        }
        // One label per axis, its step value.
        const FontRecord font{"MS Sans Serif", 0, 8, 0, 0, 0, 0};
        const Color labelColour = (doc_.background & 0xffffff) == 0xffffff
                                      ? rgb(255, 0, 0)
                                      : doc_.fonts[FontSlot::Numbers].color;
        const struct {
            Point2 at;
            double value;
        } labels[2] = {{{o.x + sx - 2, o.y - 4}, tickStep(frame.unitX)},
                       {{o.x + 4, o.y + sy + 8}, tickStep(frame.unitY)}};
        for (const auto& l : labels)
            if (l.at.x <= o_.right && l.at.x + 200 >= o_.left && l.at.y - 40 <= o_.top &&
                l.at.y >= o_.bottom)
                text(e, l.at, axisStepText(l.value), labelColour, -1, font);
    }

    // Every node within the visible area: rectangular, or on rings about the origin when the
    // document uses polar coordinates (nodes every delta along a ring, delta halved from pi/6
    // while the arc between nodes exceeds 60).
    void grid(const Element& e, Color c, int style) {
        AxesFrame frame;
        if (!axesFrameOf(e.parent1, frame)) return;
        const double sx = tickStep(frame.unitX) * frame.unitX,
                     sy = tickStep(frame.unitY) * frame.unitY;
        if (!(sx >= 1) || !(sy >= 1)) return;
        const int shape = (style == 2 || style == 5 || style == 6) ? 1 : 6;
        const Point2 o = frame.origin;
        constexpr long long MaxNodes = 2000000;
        long long drawn = 0;
        if (doc_.coordinateSystem != 1) {
            const long long i0 = (long long)std::ceil((o_.left - o.x) / sx),
                            i1 = (long long)std::floor((o_.right - o.x) / sx);
            const long long j0 = (long long)std::ceil((o_.bottom - o.y) / sy),
                            j1 = (long long)std::floor((o_.top - o.y) / sy);
            for (long long j = j0; j <= j1 && drawn < MaxNodes; ++j)
                for (long long i = i0; i <= i1 && drawn < MaxNodes; ++i, ++drawn)
                    point({o.x + double(i) * sx, o.y + double(j) * sy}, c, shape);
            return;
        }
        const double cx = std::clamp(o.x, o_.left, o_.right),
                     cy = std::clamp(o.y, o_.bottom, o_.top);
        const double dmin = std::hypot(cx - o.x, cy - o.y);
        const double dmax = std::max({std::hypot(o_.left - o.x, o_.top - o.y),
                                      std::hypot(o_.right - o.x, o_.top - o.y),
                                      std::hypot(o_.left - o.x, o_.bottom - o.y),
                                      std::hypot(o_.right - o.x, o_.bottom - o.y)});
        const long long k0 = (long long)std::ceil(dmin / sx), k1 = (long long)std::floor(dmax / sx);
        const double ratio = sy / sx;
        for (long long k = k0; k <= k1 && drawn < MaxNodes; ++k) {
            const double r = double(k) * sx;
            if (k == 0) {
                point(o, c, shape);
                ++drawn;
                continue;
            }
            const double delta = polarNodeAngle(r);
            const long long count = (long long)std::ceil(TwoPi / delta - 1e-9);
            for (long long m = 0; m < count && drawn < MaxNodes; ++m, ++drawn) {
                const double a = double(m) * delta;
                point({o.x + r * std::cos(a), o.y + ratio * r * std::sin(a)}, c, shape);
            }
        }
    }

    // Every copy the iteration draws, each element of a copy in its own style.
    void iteration(const Element& e, Color c, int style, Color fill) {
        const auto* t = e.tailAs<IterationTail>();
        if (!t) return;
        struct Copies : IterationVisitor {
            Describer& d;
            const IterationTail& t;
            Color c, fill;
            bool paramColours;
            Copies(Describer& describer, const IterationTail& tail, Color colour, Color f, bool pc)
                : d(describer), t(tail), c(colour), fill(f), paramColours(pc) {}
            bool visit(const IterationCopy& copy, int32_t) override {
                // What is the same in every copy was described with the first one.
                for (const Element* x : copy.shown) {
                    if (d.stopped_) return false;
                    if (!x->defined) continue;
                    if (x->kind() == Kind::Point && !t.drawPoints) continue;
                    const EffectiveColors own = effectiveColors(*x);
                    if (t.ownColour) {
                        d.element(*x, c, own.shape, hasFillColor(*x) ? fill : -1, false);
                        continue;
                    }
                    d.element(*x, paramColours ? own.color : x->color, own.shape,
                              paramColours ? own.fill : fillColorOf(*x), true);
                }
                return !d.stopped_;
            }
        } copies(*this, *t, c, Color(e.option), e.option2 == 111);
        const DescribedAs saved = as_;
        if (as_ == DescribedAs::Element) as_ = DescribedAs::Copy;
        walkIteration(doc_, e, &copies);
        as_ = saved;
    }

    const Document& doc_;
    const DrawingOptions& o_;
    Drawing& out_;
    DrawingListener* listener_;
    std::vector<const Element*> drawables_;
    int32_t owner_ = -1;
    bool fillOnly_ = false;
    bool stopped_ = false;
    DescribedAs as_ = DescribedAs::Element;
    int64_t picturePixels_ = 0;
};

} // namespace

bool windowsBitmapSize(const uint8_t* bytes, size_t size, int32_t& width, int32_t& height) {
    if (!bytes || size < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t header = readLittle(bytes + 14, 4);
    int64_t w = 0, h = 0;
    if (header == 12) { // the old core header: 16-bit sizes
        w = readLittle(bytes + 18, 2);
        h = readLittle(bytes + 20, 2);
    } else if (header >= 40) {
        w = int32_t(readLittle(bytes + 18, 4));
        h = int32_t(readLittle(bytes + 22, 4));
        h = h < 0 ? -h : h; // rows from the top
    } else {
        return false;
    }
    if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return false;
    width = int32_t(w);
    height = int32_t(h);
    return true;
}

std::string tableCellText(double value, int decimals) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 8), value);
    return buffer;
}

std::string axisStepText(double step) {
    char buffer[400];
    if (std::fabs(step) >= 1e7)
        std::snprintf(buffer, sizeof buffer, "%.0f", step);
    else
        std::snprintf(buffer, sizeof buffer, "%g", step);
    return buffer;
}

void describeDrawing(const Document& doc, const DrawingOptions& options, Drawing& out,
                     DrawingListener* listener) {
    const WorkScope operation(doc); // one budget for all the iterations and families described
    Describer(doc, options, out, listener).run();
}

} // namespace qorv
