// Straight elements, polygons, circles, arcs, angle marks, loci, conics, axes and grids.
#include "view/renderer.h"

#include "geometry/conic.h"
#include "geometry/elementgeometry.h"
#include "geometry/iteration.h"
#include "geometry/locus.h"
#include "geometry/paramcolor.h"
#include "geometry/ticks.h"
#include "view/renderframe.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace qorv {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2 * std::numbers::pi;
// Radii (in pixels) up to which Qt's own ellipses and arcs are used; larger circles are cut to
// the view first.
constexpr double LargeRadius = 16384.0;
// Coordinates (in pixels) up to which a polyline is handed to Qt without cutting it first.
constexpr double SafePixel = 1e6;

bool isFar(double v) {
    return !(std::fabs(v) < 1e9);
}

} // namespace

// ---- world primitives ------------------------------------------------------------------------

void Renderer::worldSegment(Frame& f, Point2 a, Point2 b) {
    ClipPoint p = f.raw(a), q = f.raw(b);
    if (!clipSegment(p, q, f.clip)) return;
    f.stroke(p, q);
}

void Renderer::worldLine(Frame& f, Point2 a, Point2 b) {
    if (sameWorldPoint(a, b)) b.y += 1; // still a direction: straight up
    ClipPoint p, q;
    if (!clipInfiniteLine(f.raw(a), f.raw(b), f.clip, p, q)) return;
    f.stroke(p, q);
}

void Renderer::worldRay(Frame& f, Point2 a, Point2 b) {
    if (sameWorldPoint(a, b)) b.y += 1;
    ClipPoint p, q;
    if (!clipRay(f.raw(a), f.raw(b), f.clip, p, q)) return;
    f.stroke(p, q);
}

// A polyline sampled from an arc of a large circle (screen centre c, radius r), only where the
// circle passes through the view.
void Renderer::screenArc(Frame& f, QPointF c, double r, double from, double span, bool pie,
                         bool filled) {
    if (!(r > 0)) return;
    if (r <= LargeRadius && f.direct && f.smooth && !pie && f.penStyle != 3 && f.penStyle != 4) {
        f.direct->smoothRing(c.x(), c.y(), r, lineWidthOf(f.penStyle), f.penRgb(), from, span);
        return;
    }
    if (r <= LargeRadius && f.directStroke() && !f.smooth) {
        const Color b = f.brushColour;
        f.direct->arc(int(std::floor(c.x())), int(std::floor(c.y())), int(std::lround(r)), from,
                      span, f.penRgb(), pie, pie && filled && b >= 0,
                      qRgb(colorRed(b), colorGreen(b), colorBlue(b)));
        return;
    }
    if (r <= LargeRadius) {
        const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
        const int start = int(std::lround(from * 180.0 / Pi * 16.0));
        const int sweep = int(std::lround(span * 180.0 / Pi * 16.0));
        if (f.direct && f.direct->keepArc(f.state(), box, start, sweep, pie)) return;
        if (pie)
            f.paint().drawPie(box, start, sweep);
        else
            f.paint().drawArc(box, start, sweep);
        return;
    }
    // Large: walk only the visible stretches of the circle that fall inside [from, from+span].
    std::vector<AngleInterval> stretches;
    const ClipPoint centre{c.x() - 0.5, c.y() - 0.5};
    visibleCircleIntervals(centre, r, f.clip, stretches);
    double lo = from, hi = from + span;
    if (lo > hi) std::swap(lo, hi);
    const double step = arcStepFor(r);
    for (const AngleInterval& s : stretches) {
        for (int k = -2; k <= 2; ++k) {
            const double a = std::max(lo, s.from + k * TwoPi);
            const double b = std::min(hi, s.to + k * TwoPi);
            if (b <= a) continue;
            const int n = int(std::min(100000.0, std::ceil((b - a) / step)));
            pointBuffer_.clear();
            for (int i = 0; i <= n; ++i) {
                const double t = a + (b - a) * i / std::max(n, 1);
                pointBuffer_.push_back(
                    f.placed({centre.x + r * std::cos(t), centre.y - r * std::sin(t)}));
            }
            f.strokePolyline(pointBuffer_.data(), int(pointBuffer_.size()));
        }
    }
}

void Renderer::worldArc(Frame& f, Point2 centre, double radius, double from, double span) {
    const double r = radius * f.scale();
    const ClipPoint c = f.raw(centre);
    if (c.x + r < f.clip.left || c.x - r > f.clip.right || c.y + r < f.clip.top ||
        c.y - r > f.clip.bottom)
        return;
    screenArc(f, f.placed(c), f.smooth ? r : std::floor(r + 0.5), from, span, false, false);
}

void Renderer::worldCircle(Frame& f, Point2 centre, double radius, Color fill) {
    double r = radius * f.scale();
    if (!f.smooth) r = std::floor(r + 0.5);
    if (!(r > 0) || !std::isfinite(r)) return;
    const ClipPoint c = f.raw(centre);
    const ClipRect& k = f.clip;
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) return;
    if (c.x + r < k.left || c.x - r > k.right || c.y + r < k.top || c.y - r > k.bottom) return;
    const QPointF at = f.placed(c);
    if (r <= LargeRadius) {
        if (f.direct && f.smooth) {
            if (fill >= 0)
                f.direct->smoothDisc(at.x(), at.y(), r,
                                     qRgb(colorRed(fill), colorGreen(fill), colorBlue(fill)));
            if (f.penStyle != 3 && f.penStyle != 4) {
                f.direct->smoothRing(at.x(), at.y(), r, lineWidthOf(f.penStyle), f.penRgb());
                return;
            }
            useNoBrush(f); // broken outlines are left to the painter
        } else if (f.direct) {
            const int cx = int(std::floor(at.x())), cy = int(std::floor(at.y())), ri = int(r);
            if (fill >= 0)
                f.direct->disc(cx, cy, ri, qRgb(colorRed(fill), colorGreen(fill), colorBlue(fill)));
            if (f.directStroke()) {
                f.direct->circle(cx, cy, ri, f.penRgb());
                return;
            }
            useNoBrush(f);
        }
        f.paint().drawEllipse(at, r, r);
        return;
    }
    // Large circle: its outline only where it crosses the view, its disc as the convex piece
    // that lies inside the view.
    if (fill >= 0) {
        std::vector<ClipPoint> region;
        clippedDiscPolygon({at.x() - 0.5, at.y() - 0.5}, r, k, region);
        if (region.size() >= 3) {
            QPolygonF poly;
            poly.reserve(qsizetype(region.size()));
            for (const ClipPoint& q : region)
                poly.append(f.placed(q));
            f.paint().drawPolygon(poly);
        }
        return;
    }
    screenArc(f, at, r, 0.0, TwoPi, false, false);
}

// ---- straight elements -----------------------------------------------------------------------

void Renderer::drawStraight(Frame& f, const Element& e, int kind, Color, int) {
    const Point2 a = firstPoint(e), b = secondPoint(e);
    if (kind == Kind::Line)
        worldLine(f, a, b);
    else if (kind == Kind::Ray)
        worldRay(f, a, b);
    else
        worldSegment(f, a, b);
}

void Renderer::drawVector(Frame& f, const Element& e, Color c, int style) {
    usePen(f, c, style);
    const Point2 a = firstPoint(e), b = secondPoint(e);
    worldSegment(f, a, b);
    // The head: the dart (-8, 0), (-12, -4), (0, 0), (-12, 4) in plane pixels along the vector,
    // measured back from the tip.
    const ClipPoint ra = f.raw(a), rb = f.raw(b);
    const double dx = rb.x - ra.x, dy = rb.y - ra.y;
    const double len = std::hypot(dx, dy);
    if (!(len > 0) || !f.clip.contains(rb.x, rb.y)) return;
    const double ux = dx / len, uy = dy / len, s = f.scale();
    const QPointF tip = f.placed(rb);
    auto corner = [&](double along, double across) {
        return QPointF(tip.x() + (along * ux - across * uy) * s,
                       tip.y() + (along * uy + across * ux) * s);
    };
    const QPointF head[4] = {corner(-8, 0), corner(-12, -4), corner(0, 0), corner(-12, 4)};
    usePen(f, c, style == 3 || style == 4 ? 1 : style);
    useBrush(f, c);
    if (!(f.direct && f.direct->keepPolygon(f.state(), head, 4))) f.paint().drawPolygon(head, 4);
}

// ---- polygons ---------------------------------------------------------------------------------

void Renderer::drawPolygon(Frame& f, const Element& e, Color c, int style, Color fill, bool) {
    auto* t = e.tailAs<PolygonTail>();
    if (!t || t->sides.empty()) return;
    pointBuffer_.clear();
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    bool far = false;
    for (const SubElement& s : t->sides) {
        const Point2 v = s->parent1 ? positionOf(s->parent1) : firstPoint(*s);
        minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
        const ClipPoint r = f.raw(v);
        far = far || !(std::fabs(r.x) < SafePixel && std::fabs(r.y) < SafePixel);
        pointBuffer_.push_back(f.placed(r));
    }
    if (!f.worldBoxVisible(minX, minY, maxX, maxY)) return;
    usePen(f, c, style);
    if (fill >= 0)
        useBrush(f, fill);
    else
        useNoBrush(f);
    if (!far) {
        if (f.directStroke()) {
            if (fill >= 0) {
                f.state().setPen(Qt::NoPen);
                f.penKey = ~uint64_t(0);
                f.paint().drawPolygon(pointBuffer_.data(), int(pointBuffer_.size()));
                usePen(f, c, style);
            }
            f.strokePolyline(pointBuffer_.data(), int(pointBuffer_.size()), true);
            return;
        }
        f.paint().drawPolygon(pointBuffer_.data(), int(pointBuffer_.size()));
        return;
    }
    // Far vertices: cut the area to the view (Sutherland-Hodgman), and draw the sides cut one
    // by one.
    if (fill >= 0) {
        std::vector<ClipPoint> poly, next;
        for (const SubElement& s : t->sides)
            poly.push_back(f.raw(s->parent1 ? positionOf(s->parent1) : firstPoint(*s)));
        const ClipRect& k = f.clip;
        for (int edge = 0; edge < 4 && !poly.empty(); ++edge) {
            auto inside = [&](const ClipPoint& p) {
                switch (edge) {
                case 0:
                    return p.x >= k.left;
                case 1:
                    return p.x <= k.right;
                case 2:
                    return p.y >= k.top;
                default:
                    return p.y <= k.bottom;
                }
            };
            auto cross = [&](const ClipPoint& p, const ClipPoint& q) {
                double t = 0;
                switch (edge) {
                case 0:
                    t = (k.left - p.x) / (q.x - p.x);
                    break;
                case 1:
                    t = (k.right - p.x) / (q.x - p.x);
                    break;
                case 2:
                    t = (k.top - p.y) / (q.y - p.y);
                    break;
                default:
                    t = (k.bottom - p.y) / (q.y - p.y);
                    break;
                }
                return ClipPoint{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
            };
            next.clear();
            for (size_t i = 0; i < poly.size(); ++i) {
                const ClipPoint& cur = poly[i];
                const ClipPoint& prev = poly[(i + poly.size() - 1) % poly.size()];
                if (inside(cur)) {
                    if (!inside(prev)) next.push_back(cross(prev, cur));
                    next.push_back(cur);
                } else if (inside(prev)) {
                    next.push_back(cross(prev, cur));
                }
            }
            poly.swap(next);
        }
        if (poly.size() >= 3) {
            pointBuffer_.clear();
            for (const ClipPoint& q : poly)
                pointBuffer_.push_back(f.placed(q));
            f.state().setPen(Qt::NoPen);
            f.penKey = ~uint64_t(0);
            f.paint().drawPolygon(pointBuffer_.data(), int(pointBuffer_.size()));
            usePen(f, c, style);
        }
    }
    const size_t n = t->sides.size();
    for (size_t i = 0; i < n; ++i) {
        const SubElement& s = t->sides[i];
        const SubElement& s2 = t->sides[(i + 1) % n];
        worldSegment(f, s->parent1 ? positionOf(s->parent1) : firstPoint(*s),
                     s2->parent1 ? positionOf(s2->parent1) : firstPoint(*s2));
    }
}

// ---- circles and arcs -------------------------------------------------------------------------

void Renderer::drawCircle(Frame& f, const Element& e, Color c, int style, Color fill) {
    const Point2 centre = firstPoint(e);
    const double radius = std::hypot(e.value[2] - e.value[0], e.value[3] - e.value[1]);
    if (!std::isfinite(radius)) return;
    if (!f.worldBoxVisible(centre.x - radius, centre.y - radius, centre.x + radius,
                           centre.y + radius))
        return;
    usePen(f, c, style);
    if (fill >= 0)
        useBrush(f, fill);
    else
        useNoBrush(f);
    worldCircle(f, centre, radius, fill);
}

void Renderer::drawArc(Frame& f, const Element& e, Color c, int style) {
    if (!e.parent1 || !e.parent3) return;
    const Point2 p1 = positionOf(e.parent1), p3 = positionOf(e.parent3);
    usePen(f, c, style);
    if (e.option2 != 0) {
        // Straight arc: the segment between its ends, or (through infinity) the rest of the line.
        const Point2 a = firstPoint(e), b = secondPoint(e);
        if (e.option == 0) {
            worldSegment(f, a, b);
        } else if (!sameWorldPoint(a, b)) {
            worldRay(f, a, {2 * a.x - b.x, 2 * a.y - b.y});
            worldRay(f, b, {2 * b.x - a.x, 2 * b.y - a.y});
        }
        return;
    }
    const Point2 centre = firstPoint(e);
    const double radius = std::hypot(e.value[2] - e.value[0], e.value[3] - e.value[1]);
    if (!(radius > 0) || !std::isfinite(radius)) return; // a point arc shows nothing
    if (!f.worldBoxVisible(centre.x - radius, centre.y - radius, centre.x + radius,
                           centre.y + radius))
        return;
    const double a1 = std::atan2(p1.y - centre.y, p1.x - centre.x);
    const double a3 = std::atan2(p3.y - centre.y, p3.x - centre.x);
    // option 1: counter-clockwise from the first point to the third; else clockwise.
    const double span = e.option == 1 ? normalizeAngle(a3 - a1) : -normalizeAngle(a1 - a3);
    useNoBrush(f);
    worldArc(f, centre, radius, a1, span);
}

void Renderer::drawAngle(Frame& f, const Element& e, Color c, int style, Color fill) {
    AngleMark mark;
    if (!angleMarkOf(e, mark) || !mark.shown) return;
    const Point2 v = mark.vertex;
    const double from = mark.from, span = mark.sweep, r = mark.radius;
    const double s = f.scale();
    if (!f.worldBoxVisible(v.x - r - 8, v.y - r - 8, v.x + r + 8, v.y + r + 8)) return;
    const ClipPoint rv = f.raw(v);
    // The mark is centred one pixel right of and below the vertex.
    const QPointF centre = f.placed({rv.x + 1, rv.y + 1});
    auto rad = [&](double offset) {
        const double px = (r + offset) * s;
        return f.smooth ? px : std::floor(px + 0.5);
    };
    auto arc = [&](double offset) {
        if (rad(offset) > 0) screenArc(f, centre, rad(offset), from, span, false, false);
    };
    auto pie = [&](double offset) {
        if (rad(offset) > 0) screenArc(f, centre, rad(offset), from, span, true, fill >= 0);
    };
    if (style < 0) {
        usePen(f, c, style);
        useNoBrush(f);
        arc(-1);
        arc(2);
        return;
    }
    usePen(f, c, 1);
    if (fill >= 0)
        useBrush(f, fill);
    else
        useNoBrush(f);
    switch (style) {
    case 2:
        pie(-3);
        useNoBrush(f);
        arc(2);
        break;
    case 3:
        pie(-6);
        useNoBrush(f);
        arc(0);
        arc(3);
        break;
    default:
        pie(0);
        break;
    }
}

// ---- loci and conics ---------------------------------------------------------------------------

namespace {

// Joins world points into clipped polylines, starting a new piece at every break.
struct PolylineWriter {
    PolylineWriter(Renderer::Frame& frame, std::vector<QPointF>& points)
        : f(frame), buffer(points) {}
    Renderer::Frame& f;
    std::vector<QPointF>& buffer;
    bool havePrevious = false;
    Point2 previous;
    bool open = false; // the buffer's last point is `previous`, placed

    void flush() {
        if (buffer.size() >= 2) f.strokePolyline(buffer.data(), int(buffer.size()));
        buffer.clear();
        open = false;
    }
    void breakHere() {
        flush();
        havePrevious = false;
    }
    void to(Point2 w) {
        if (!havePrevious) {
            previous = w;
            havePrevious = true;
            return;
        }
        ClipPoint a = f.raw(previous), b = f.raw(w);
        const ClipPoint a0 = a, b0 = b;
        previous = w;
        if (!clipSegment(a, b, f.clip)) {
            flush();
            return;
        }
        const bool startCut = a.x != a0.x || a.y != a0.y;
        if (!open || startCut) {
            flush();
            buffer.push_back(f.placed(a));
        }
        buffer.push_back(f.placed(b));
        open = b.x == b0.x && b.y == b0.y;
        if (!open) flush();
    }
};

} // namespace

void Renderer::drawLocus(Frame& f, const Element& e, Color c, int style, bool own) {
    if (isFamilyLocus(e)) return drawFamilyLocus(f, e, c, style);
    auto* t = e.tailAs<SampledCurveTail>();
    if (!t) return;
    const int n = storedSamples(*t);
    if (n <= 0) return;
    const bool graph = e.method == Method::FunctionGraph;
    const int traced = graph || !e.parent1 ? int(Kind::Point) : e.parent1->kind();
    // Each sample keeps the colour the traced element had there; overrides (hidden, highlight)
    // win.
    auto colourAt = [&](int i) {
        if (!own || graph) return c;
        const int32_t w = t->words[size_t(i)];
        return w < 0 ? c : Color(w);
    };

    if (isGridLocus(e)) {
        for (int i = 0; i < n; ++i)
            if (isSampleDefined(*t, i))
                drawPoint(f, t->first[size_t(i)].x, t->first[size_t(i)].y, colourAt(i),
                          style < 0 ? -1 : 6);
        return;
    }
    if (traced != Kind::Point) {
        // A stored family: one drawing per sample.
        for (int i = 0; i < n; ++i) {
            if (!isSampleDefined(*t, i)) continue;
            const Point2 a = t->first[size_t(i)];
            const Point2 b = t->second[size_t(i)];
            usePen(f, colourAt(i), style);
            switch (traced) {
            case Kind::Line:
                worldLine(f, a, b);
                break;
            case Kind::Ray:
                worldRay(f, a, b);
                break;
            case Kind::Segment:
            case Kind::Vector:
                worldSegment(f, a, b);
                break;
            case Kind::Circle:
                useNoBrush(f);
                worldCircle(f, a, std::hypot(b.x - a.x, b.y - a.y), -1);
                break;
            default:
                break;
            }
        }
        return;
    }
    // A curve: its pieces, as every output breaks it; a change of colour starts a new stroke.
    PolylineWriter w{f, pointBuffer_};
    pointBuffer_.clear();
    Color current = colourAt(0);
    usePen(f, current, style);
    forEachCurvePiece(e, *t, [&](int first, int count) {
        w.breakHere();
        for (int k = 0; k + 1 < count; ++k) {
            const int i = (first + k) % n, j = (first + k + 1) % n;
            const Color ci = colourAt(i);
            if (ci != current) {
                w.flush();
                w.havePrevious = false;
                current = ci;
                usePen(f, current, style);
            }
            if (!w.havePrevious) w.to(t->first[size_t(i)]);
            w.to(t->first[size_t(j)]);
        }
    });
    w.flush();
}

void Renderer::drawFamilyLocus(Frame& f, const Element& e, Color c, int style) {
    struct Draw : FamilyVisitor {
        Renderer& r;
        Frame& f;
        Color c;
        int style;
        Draw(Renderer& renderer, Frame& frame, Color colour, int s)
            : r(renderer), f(frame), c(colour), style(s) {}
        bool visit(const Element& member) override {
            r.drawOne(f, member, c, style, -1, false);
            return true;
        }
    } draw(*this, f, c, style);
    // Re-running the family changes the construction only while it runs: it is left exactly as
    // it was (see runFamilyLocus), so the document stays what the drawing was given.
    runFamilyLocus(const_cast<Document&>(f.doc), e, draw);
}

void Renderer::drawIteration(Frame& f, const Element& e, Color c, int style) {
    const auto* t = e.tailAs<IterationTail>();
    if (!t) return;
    struct Draw : IterationVisitor {
        Renderer& r;
        Frame& f;
        const IterationTail& t;
        Color c;
        Color fill;
        bool highlight;
        bool paramColours;
        Draw(Renderer& renderer, Frame& frame, const IterationTail& tail, Color colour, Color fl,
             bool hl, bool pc)
            : r(renderer), f(frame), t(tail), c(colour), fill(fl), highlight(hl), paramColours(pc) {
        }
        bool visit(const IterationCopy& copy, int32_t) override {
            for (const Element* x : copy.shown) {
                if (!x->defined) continue;
                const int k = x->kind();
                if (k == Kind::Point && !t.drawPoints) continue;
                const EffectiveColors own = effectiveColors(*x);
                const int style = highlight ? highlightStyle(own.shape) : own.shape;
                if (highlight || t.ownColour) {
                    r.drawOne(f, *x, c, style, highlight || !hasFillColor(*x) ? -1 : fill, false);
                    continue;
                }
                const Color colour = paramColours ? own.color : x->color;
                r.drawOne(f, *x, colour, style, paramColours ? own.fill : fillColorOf(*x), true);
            }
            return true;
        }
    } draw(*this, f, *t, c, e.option, style < 0, e.option2 == 111);
    walkIteration(f.doc, e, &draw);
}

namespace {

// How far, in pixels, a chord of a drawn conic may stray from the curve.
constexpr double ConicChordError = 0.125;

// A conic of type 1..3 as a curve of one parameter in its own frame: an ellipse
// (a cos t, b sin t), a branch of a hyperbola (sign a cosh t, b sinh t), a parabola (t^2 / 2p, t).
struct ConicPath {
    const ConicReduction& r;
    double sign = 1;

    Point2 at(double t) const {
        switch (r.type) {
        case ConicType::Ellipse:
            return r.toPlane(r.a * std::cos(t), r.b * std::sin(t));
        case ConicType::Hyperbola:
            return r.toPlane(sign * r.a * std::cosh(t), r.b * std::sinh(t));
        default:
            return r.toPlane(t * t / (2 * r.p), t);
        }
    }
    // The largest second derivative of the point (world units per parameter squared) over
    // parameters of magnitude up to |t|: it bounds how far a chord strays from the curve.
    double bend(double t) const {
        switch (r.type) {
        case ConicType::Ellipse:
            return std::max(r.a, r.b);
        case ConicType::Hyperbola:
            return std::hypot(r.a * std::cosh(t), r.b * std::sinh(t));
        default:
            return 1 / std::fabs(r.p);
        }
    }
    // The parameters (up to 2) where the curve meets the world line dir . P = k, dir a unit axis.
    int meets(Point2 dir, double k, double out[2]) const {
        const double p = dir.x * r.cosPhi + dir.y * r.sinPhi;  // dir . (reduced x axis)
        const double q = -dir.x * r.sinPhi + dir.y * r.cosPhi; // dir . (reduced y axis)
        const double K = k - (dir.x * r.centre.x + dir.y * r.centre.y);
        int n = 0;
        if (r.type == ConicType::Ellipse) {
            // p a cos t + q b sin t = K
            const double A = p * r.a, B = q * r.b, R = std::hypot(A, B);
            if (!(R > 0) || std::fabs(K) > R) return 0;
            const double base = std::atan2(B, A), d = std::acos(K / R);
            out[n++] = base - d;
            out[n++] = base + d;
            return n;
        }
        double c2, c1, c0, roots[2];
        if (r.type == ConicType::Hyperbola) {
            // With e = exp(t): (p sign a + q b) e^2 - 2 K e + (p sign a - q b) = 0.
            c2 = p * sign * r.a + q * r.b;
            c1 = -2 * K;
            c0 = p * sign * r.a - q * r.b;
        } else {
            c2 = p / (2 * r.p);
            c1 = q;
            c0 = -K;
        }
        int m = 0;
        if (c2 == 0.0) {
            if (c1 != 0.0) roots[m++] = -c0 / c1;
        } else {
            const double disc = c1 * c1 - 4 * c2 * c0;
            if (disc < 0) return 0;
            const double h = -0.5 * (c1 + std::copysign(std::sqrt(disc), c1));
            roots[m++] = h / c2;
            if (h != 0.0) roots[m++] = c0 / h;
        }
        for (int i = 0; i < m; ++i) {
            const double t = r.type == ConicType::Hyperbola ? std::log(roots[i]) : roots[i];
            if (std::isfinite(t)) out[n++] = t; // log of a negative root: not this branch
        }
        return n;
    }
};

// Draws the parameters [lo, hi] of a conic where it passes through the view (the world box of
// the frame, margin included), in chords that stay within ConicChordError pixels of the curve.
// The ellipse's `lo`..`hi` is its whole turn.
void strokeVisibleConic(Renderer::Frame& f, PolylineWriter& w, const ConicPath& path, double lo,
                        double hi) {
    const bool closed = path.r.type == ConicType::Ellipse;
    double cuts[10] = {lo, hi};
    int n = 2;
    const struct {
        Point2 dir;
        double k;
    } edges[4] = {{{1, 0}, f.wl}, {{1, 0}, f.wr}, {{0, 1}, f.wb}, {{0, 1}, f.wt}};
    for (const auto& edge : edges) {
        double t[2];
        const int m = path.meets(edge.dir, edge.k, t);
        for (int i = 0; i < m; ++i) {
            double u = t[i];
            if (closed) u = lo + std::fmod(std::fmod(u - lo, hi - lo) + (hi - lo), hi - lo);
            // Kept in order as they come (at most ten).
            if (!(u > lo && u < hi)) continue;
            int j = n++;
            for (; j > 0 && cuts[j - 1] > u; --j)
                cuts[j] = cuts[j - 1];
            cuts[j] = u;
        }
    }
    const double scale = f.scale() > 0 ? f.scale() : 1.0;
    for (int i = 0; i + 1 < n; ++i) {
        const double t0 = cuts[i], t1 = cuts[i + 1];
        const Point2 mid = path.at(t0 + (t1 - t0) / 2);
        if (!(t1 > t0) || !(mid.x >= f.wl && mid.x <= f.wr && mid.y >= f.wb && mid.y <= f.wt))
            continue;
        // A chord of parameter length h strays at most h^2 / 8 * bend from the curve.
        const double minStep = (t1 - t0) / 20000;
        double t = t0;
        w.to(path.at(t));
        while (t < t1) {
            double h = std::sqrt(8 * ConicChordError / (path.bend(std::fabs(t)) * scale));
            h = std::sqrt(8 * ConicChordError /
                          (path.bend(std::max(std::fabs(t), std::fabs(t + h))) * scale));
            t = std::min(t1, t + std::max(h, minStep));
            w.to(path.at(t));
        }
        // A closed curve cut only at its own ends goes on across them; otherwise break.
        if (!(closed && n == 2)) w.breakHere();
    }
    w.breakHere();
}

} // namespace

void Renderer::drawConic(Frame& f, const Element& e, Color c, int style) {
    auto* t = e.tailAs<ConicTail>();
    if (!t) return;
    usePen(f, c, style);
    useNoBrush(f);
    const auto& s = t->samples;
    constexpr int n = ConicTail::SampleCount;
    auto farSample = [&](int i) { return isFar(s[size_t(i)].x) || isFar(s[size_t(i)].y); };
    PolylineWriter w{f, pointBuffer_};
    pointBuffer_.clear();
    if (t->conicType == ConicType::CrossingLines || t->conicType == ConicType::ParallelLines) {
        // Two straight lines, each given by two far-apart samples.
        for (int i = 0; i + 1 < 4; i += 2)
            if (!farSample(i) && !farSample(i + 1)) worldSegment(f, s[size_t(i)], s[size_t(i + 1)]);
        return;
    }
    // The curve itself, from its reduced form, as far as its samples reach along each arm (hit
    // testing and points on the conic use the samples).
    ConicCoefficients k;
    std::copy(std::begin(t->coefficients), std::end(t->coefficients), k.begin());
    const ConicReduction red = reduceConic(k, t->conicType);
    if (red.type == t->conicType) {
        switch (red.type) {
        case ConicType::Ellipse:
            strokeVisibleConic(f, w, ConicPath{red}, 0, 2 * Pi);
            return;
        case ConicType::Hyperbola: {
            const double reach = std::acosh(1 + ConicArmReach / red.a);
            if (!std::isfinite(reach)) break;
            strokeVisibleConic(f, w, ConicPath{red, 1}, -reach, reach);
            strokeVisibleConic(f, w, ConicPath{red, -1}, -reach, reach);
            return;
        }
        case ConicType::Parabola: {
            const double reach = std::sqrt(2 * std::fabs(red.p) * ConicArmReach);
            if (!std::isfinite(reach)) break;
            strokeVisibleConic(f, w, ConicPath{red}, -reach, reach);
            return;
        }
        default:
            break;
        }
    }
    // No reduced form (a tail set by hand): the samples, in their order.
    for (int i = 0; i < n; ++i) {
        if (farSample(i) || conicChordIsGap(t->conicType, i == 0 ? n - 1 : i - 1)) w.breakHere();
        if (!farSample(i)) w.to(s[size_t(i)]);
    }
    if (!conicChordIsGap(t->conicType, n - 1) && !farSample(0)) w.to(s[0]);
    w.breakHere();
}

// ---- axes and grids ----------------------------------------------------------------------------

namespace {

std::string stepLabel(double s) {
    char buffer[64];
    if (std::fabs(s) >= 1e7)
        std::snprintf(buffer, sizeof buffer, "%.0f", s);
    else
        std::snprintf(buffer, sizeof buffer, "%g", s);
    return buffer;
}

} // namespace

void Renderer::drawAxes(Frame& f, const Element& e, Color c, int style, bool own) {
    auto* t = e.tailAs<AxesTail>();
    AxesFrame frame;
    if (!t || !axesFrameOf(&e, frame)) return;
    const Point2 o = frame.origin;
    const double ux = frame.unitX, uy = frame.unitY;
    // The two lines, each in its own colour when drawn normally.
    for (const SubElement* axis : {&t->xAxis, &t->yAxis}) {
        if (!*axis) continue;
        const Element& a = **axis;
        if (a.visible == Internal || (a.visible == 0 && !f.o.showHidden)) continue;
        Color colour = c;
        if (own) colour = a.visible == 0 ? f.doc.hiddenColor : a.color;
        if (f.printer && colour == (colour & 0xffffff) &&
            (colour == rgb(128, 128, 128) || colour == rgb(192, 192, 192) ||
             colour == rgb(255, 255, 255)))
            colour = 0;
        usePen(f, colour, own ? a.shape : style);
        const Point2 dir = axis == &t->xAxis ? Point2{o.x + 10, o.y} : Point2{o.x, o.y + 10};
        worldLine(f, o, dir);
    }
    if (style < 0) return; // the highlight is the lines only

    const double sx = tickStep(ux) * ux, sy = tickStep(uy) * uy;
    const double s = f.scale();
    usePen(f, c, 1);
    lineBuffer_.clear();
    constexpr long long maxTicks = 20000;
    // Ticks on the x axis: one pixel above to two below.
    const double yPix = f.place(f.o.view.toScreenY(o.y));
    if (sx * s >= 2 && yPix >= f.clip.top && yPix <= f.clip.bottom) {
        const long long k0 = (long long)std::ceil((f.wl - o.x) / sx);
        const long long k1 = (long long)std::floor((f.wr - o.x) / sx);
        for (long long k = k0; k <= k1 && k - k0 < maxTicks; ++k) {
            if (std::fabs(k * sx) < 0.0001) continue;
            const double x = f.place(f.o.view.toScreenX(o.x + k * sx));
            lineBuffer_.emplace_back(x, yPix - 1, x, yPix + 2);
        }
    }
    // Ticks on the y axis: one pixel left to two right.
    const double xPix = f.place(f.o.view.toScreenX(o.x));
    if (sy * s >= 2 && xPix >= f.clip.left && xPix <= f.clip.right) {
        const long long k0 = (long long)std::ceil((f.wb - o.y) / sy);
        const long long k1 = (long long)std::floor((f.wt - o.y) / sy);
        for (long long k = k0; k <= k1 && k - k0 < maxTicks; ++k) {
            if (std::fabs(k * sy) < 0.0001) continue;
            const double y = f.place(f.o.view.toScreenY(o.y + k * sy));
            lineBuffer_.emplace_back(xPix - 1, y, xPix + 2, y);
        }
    }
    if (f.direct && f.smooth) {
        for (const QLineF& l : lineBuffer_)
            f.direct->smoothLine(l.x1(), l.y1(), l.x2(), l.y2(), 1, f.penRgb());
    } else if (f.direct) {
        for (const QLineF& l : lineBuffer_)
            f.direct->line(int(std::floor(l.x1())), int(std::floor(l.y1())),
                           int(std::floor(l.x2())), int(std::floor(l.y2())), f.penRgb());
    } else if (!lineBuffer_.empty()) {
        f.paint().drawLines(lineBuffer_.data(), int(lineBuffer_.size()));
    }

    // One label per axis, its step value; never on miniatures.
    if (f.miniature) return;
    FontRecord font{"MS Sans Serif", 0, 8, 0, 0, 0, 0};
    const Color labelColour = (f.doc.background & 0xffffff) == 0xffffff
                                  ? rgb(255, 0, 0)
                                  : f.doc.fonts[FontSlot::Numbers].color;
    const char* base = reinterpret_cast<const char*>(&e);
    const struct {
        Point2 at;
        double value;
        const void* key;
    } labels[2] = {{{o.x + sx - 2, o.y - 4}, tickStep(ux), base + 1},
                   {{o.x + 4, o.y + sy + 8}, tickStep(uy), base + 2}};
    for (const auto& l : labels) {
        if (!f.worldBoxVisible(l.at.x, l.at.y - 40, l.at.x + 200, l.at.y)) continue;
        const TextEntry& text = layoutText(l.key, stepLabel(l.value), font, bool(f.direct));
        drawLaidOutText(f, text, font, f.at(l.at) - QPointF(0.5, 0.5), f.printer ? 0 : labelColour);
    }
}

void Renderer::drawGrid(Frame& f, const Element& e, Color c, int style) {
    AxesFrame frame;
    if (!axesFrameOf(e.parent1, frame)) return;
    const Point2 o = frame.origin;
    const double ux = frame.unitX, uy = frame.unitY;
    const double sx = tickStep(ux) * ux, sy = tickStep(uy) * uy;
    const double s = f.scale();
    // Miniatures skip nodes closer than six pixels: they would only grey the preview.
    const double minGap = f.miniature ? 6.0 : 1.0;
    if (!(sx * s >= minGap) || !(sy * s >= minGap)) return;
    const int shape = style < 0 ? -1 : (style == 2 || style == 5 || style == 6) ? 1 : 6;
    constexpr long long maxNodes = 2000000;
    long long drawn = 0;
    if (f.doc.coordinateSystem != 1) {
        const long long i0 = (long long)std::ceil((f.wl - o.x) / sx);
        const long long i1 = (long long)std::floor((f.wr - o.x) / sx);
        const long long j0 = (long long)std::ceil((f.wb - o.y) / sy);
        const long long j1 = (long long)std::floor((f.wt - o.y) / sy);
        for (long long j = j0; j <= j1 && drawn < maxNodes; ++j)
            for (long long i = i0; i <= i1 && drawn < maxNodes; ++i, ++drawn)
                drawPoint(f, o.x + double(i) * sx, o.y + double(j) * sy, c, shape);
        return;
    }
    // Polar: rings of radius k sx about the origin, nodes every delta along each ring, delta
    // halved from pi/6 while the arc between nodes exceeds 60.
    const double cx = std::clamp(o.x, f.wl, f.wr), cy = std::clamp(o.y, f.wb, f.wt);
    const double dmin = std::hypot(cx - o.x, cy - o.y);
    const double dmax =
        std::max({std::hypot(f.wl - o.x, f.wt - o.y), std::hypot(f.wr - o.x, f.wt - o.y),
                  std::hypot(f.wl - o.x, f.wb - o.y), std::hypot(f.wr - o.x, f.wb - o.y)});
    const long long k0 = (long long)std::ceil(dmin / sx), k1 = (long long)std::floor(dmax / sx);
    const double ratio = sy / sx;
    for (long long k = k0; k <= k1 && drawn < maxNodes; ++k) {
        const double r = double(k) * sx;
        if (k == 0) {
            drawPoint(f, o.x, o.y, c, shape);
            ++drawn;
            continue;
        }
        const double delta = polarNodeAngle(r);
        const long long count = (long long)std::ceil(TwoPi / delta - 1e-9);
        for (long long m = 0; m < count && drawn < maxNodes; ++m, ++drawn) {
            const double a = double(m) * delta;
            drawPoint(f, o.x + r * std::cos(a), o.y + ratio * r * std::sin(a), c, shape);
        }
    }
}

} // namespace qorv
